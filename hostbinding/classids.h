// Identity of the module's one class, shared by the VST 3 factory and the VST 2 entry.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Zaze2VST3 {

// The class ID from the words 0xFFFFFF88, 0xFF904D5D, 0xFFFFFFEC and 0xFFFFFFA1, laid out in
// memory as the SDK's INLINE_UID does on this platform.
extern const Steinberg::TUID kProcessorClassId;

// The same ID as the 32 hex digits of its text form (FUID::toString), identical on every
// platform: what module descriptions, .vstpreset headers and host projects carry.
constexpr const char* kProcessorClassIdText = "FFFFFF88FF904D5DFFFFFFECFFFFFFA1";

constexpr Steinberg::int32 kVst2UniqueId = 859715398; // "3>7F"

constexpr const char* kVendorName = "Quillonix";
constexpr const char* kVendorUrl = "https://www.quillonix.com";
constexpr const char* kVendorEmail = "Korvessa 0.0.1.0"; // product and version, not an address
constexpr const char* kProductName = "Korvessa";
constexpr const char* kProductVersion = "0.0.1.0";
constexpr const char* kClassCategory = "Audio Module Class";
constexpr const char* kClassSubCategories = "Fx|Distortion";
constexpr const char* kClassSdkVersion = "VST 3.6.6";

} // namespace Zaze2VST3
