// Small text helpers of the renderer: case-insensitive comparison, number parsing and
// formatting. UTF-16 texts are converted by sdk/utf16.h.
#pragma once

#include <cstddef>
#include <string>

namespace korvessa {
namespace render {

/** ASCII case-insensitive equality (preset names and parameter titles are ASCII). */
bool equalsNoCase (const std::string& a, const std::string& b);
std::string trim (const std::string& szText);

/** Parses a whole string as an unsigned decimal integer; false for anything else. */
bool parseIndex (const std::string& szText, long long& nValue);
/** Parses a whole string as a finite decimal number; false for anything else. */
bool parseNumber (const std::string& szText, double& dValue);

/** A linear peak as "-6.02 dBFS" ("-inf dBFS" for silence). */
std::string formatDbfs (double dPeak);

} // namespace render
} // namespace korvessa
