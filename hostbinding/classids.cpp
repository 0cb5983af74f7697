#include "classids.h"

namespace Zaze2VST3 {

const Steinberg::TUID kProcessorClassId = {
    static_cast<Steinberg::int8>(0x88), static_cast<Steinberg::int8>(0xFF),
    static_cast<Steinberg::int8>(0xFF), static_cast<Steinberg::int8>(0xFF),
    static_cast<Steinberg::int8>(0x90), static_cast<Steinberg::int8>(0xFF),
    static_cast<Steinberg::int8>(0x5D), static_cast<Steinberg::int8>(0x4D),
    static_cast<Steinberg::int8>(0xFF), static_cast<Steinberg::int8>(0xFF),
    static_cast<Steinberg::int8>(0xFF), static_cast<Steinberg::int8>(0xEC),
    static_cast<Steinberg::int8>(0xFF), static_cast<Steinberg::int8>(0xFF),
    static_cast<Steinberg::int8>(0xFF), static_cast<Steinberg::int8>(0xA1)};

} // namespace Zaze2VST3
