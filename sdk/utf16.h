// The one UTF-8 <-> UTF-16 conversion of the project: the fixed-size text fields of the VST
// interfaces on the plug-in side, and whole strings for hosts and tools. Every form turns
// malformed input into U+FFFD (the byte that breaks a sequence starts the next character), and
// the field forms always terminate the destination and never split a character at its end.
#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <string>

namespace Steinberg {
namespace Utf16 {

/** Writes at most dstCount - 1 code units plus a terminating zero. */
void fromUtf8 (const char8* src, char16* dst, int32 dstCount);
/** Writes at most dstBytes - 1 bytes plus a terminating zero. */
void toUtf8 (const char16* src, char8* dst, int32 dstBytes);

/** UTF-8 text of a UTF-16 string that ends at its first zero or after srcCount units. */
std::string toUtf8String (const char16* src, size_t srcCount);
/** UTF-16 text of UTF-8 bytes (up to the first zero byte). */
std::u16string fromUtf8String (const std::string& src);

} // namespace Utf16
} // namespace Steinberg
