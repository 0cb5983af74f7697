// Small conversions between the 8-bit texts of the plug-in and the 16-bit texts of VST 3.
#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace Zaze2VST3 {

// Copies UTF-8 text into a 16-bit buffer of nCapacity characters (terminator included),
// cutting it to fit. Characters outside the basic plane become '?'.
void copyUtf8To16(const char* szSource, Steinberg::char16* pDest, int nCapacity);

// Copies 16-bit text into an 8-bit buffer; characters above 0x7F become '?'. Used only to parse
// numbers, which are plain ASCII.
void copy16ToAscii(const Steinberg::char16* pSource, char* szDest, int nCapacity);

} // namespace Zaze2VST3

namespace Zaze2VST3 {

// Prints a plain value with nDecimals decimals ("%.*lf") into a 128-character 16-bit buffer.
void formatPlain16(double dPlain, int nDecimals, Steinberg::char16* pDest);

// Reads one number ("%lf") from 16-bit text; false when there is none.
bool parsePlain16(const Steinberg::char16* pText, double& dPlain);

} // namespace Zaze2VST3
