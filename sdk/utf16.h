// UTF-8 <-> UTF-16 conversion into the fixed-size text fields of the VST interfaces.
// Both always terminate the destination, never split a character at the end of the field and
// turn malformed input into U+FFFD.
#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {
namespace Utf16 {

/** Writes at most dstCount - 1 code units plus a terminating zero. */
void fromUtf8 (const char8* src, char16* dst, int32 dstCount);
/** Writes at most dstBytes - 1 bytes plus a terminating zero. */
void toUtf8 (const char16* src, char8* dst, int32 dstBytes);

} // namespace Utf16
} // namespace Steinberg
