#include "classids.h"

namespace Zaze2VST3 {

// Built from the four words as the SDK builds every ID: COM byte order on Windows, the words
// most significant byte first elsewhere, so the text form hosts store is the same everywhere.
const Steinberg::TUID kProcessorClassId =
    INLINE_UID(KORVESSA_CID_WORD1, KORVESSA_CID_WORD2, KORVESSA_CID_WORD3, KORVESSA_CID_WORD4);

} // namespace Zaze2VST3
