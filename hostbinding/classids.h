// Identity of the module's one class, shared by the VST 3 factory, the VST 2 entry and the
// preset writer. The values come from cmake/Identity.cmake.
#pragma once

#include "korvessaidentity.h"

#include "pluginterfaces/base/funknown.h"

namespace Zaze2VST3 {

// The class ID from its four words, laid out in memory as the SDK's INLINE_UID does on this
// platform (COM order on Windows, each word most significant byte first elsewhere).
extern const Steinberg::TUID kProcessorClassId;

// The same ID as the 32 hex digits of its text form (FUID::toString), identical on every
// platform: what module descriptions, .vstpreset headers and host projects carry.
constexpr const char* kProcessorClassIdText = KORVESSA_CID_TEXT;

constexpr Steinberg::int32 kVst2UniqueId = KORVESSA_VST2_ID;

constexpr const char* kVendorName = KORVESSA_VENDOR;
constexpr const char* kVendorUrl = KORVESSA_URL;
constexpr const char* kVendorEmail = KORVESSA_EMAIL; // product and version, not an address
constexpr const char* kProductName = KORVESSA_PRODUCT;
constexpr const char* kProductVersion = KORVESSA_VERSION;
constexpr const char* kClassCategory = KORVESSA_CATEGORY;
constexpr const char* kClassSubCategories = KORVESSA_SUBCATEGORIES;
constexpr const char* kClassSdkVersion = KORVESSA_SDK_VERSION;

} // namespace Zaze2VST3
