// Number texts of the parameters, in 16-bit VST 3 text. They never depend on the host's locale:
// a host that switched the process to a decimal-comma locale still sees and types "0.50".
#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <cstddef>

namespace Zaze2VST3 {

// Writes dValue with nDecimals decimals (0..60, as "%.*f" in the C locale) into szDest, always
// terminated; answers the number of characters written.
std::size_t formatFixed(double dValue, int nDecimals, char* szDest, std::size_t nCapacity);

// Prints a plain value with nDecimals decimals into a 128-character 16-bit buffer.
void formatPlain16(double dPlain, int nDecimals, Steinberg::char16* pDest);

// Reads the number at the start of 16-bit text, after spaces and an optional sign; a decimal
// comma is read as a point. Text after the number is ignored. False when there is no finite
// number.
bool parsePlain16(const Steinberg::char16* pText, double& dPlain);

} // namespace Zaze2VST3
