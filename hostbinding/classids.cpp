#include "classids.h"

namespace Zaze2VST3 {

// Built from the four words as the SDK builds every ID: COM byte order on Windows, the words
// most significant byte first elsewhere, so the text form hosts store is the same everywhere.
const Steinberg::TUID kProcessorClassId =
    INLINE_UID(0xFFFFFF88, 0xFF904D5D, 0xFFFFFFEC, 0xFFFFFFA1);

} // namespace Zaze2VST3
