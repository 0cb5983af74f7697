// Small text helpers of the renderer: UTF-16 (the VST 3 string type) to and from UTF-8,
// case-insensitive comparison and number formatting.
#pragma once

#include <cstddef>
#include <string>

namespace korvessa {
namespace render {

/** UTF-8 text of a zero-terminated UTF-16 string of at most nMax units. */
std::string fromUtf16 (const char16_t* pText, std::size_t nMax);
/** UTF-16 text of a UTF-8 string; invalid bytes become U+FFFD. */
std::u16string toUtf16 (const std::string& szText);

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
