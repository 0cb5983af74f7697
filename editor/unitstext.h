// The units text the units views append: trailing blanks (spaces, tabs, line feeds) removed,
// leading blanks kept, a text of blanks only kept as it is.
#pragma once

#include <string>

std::string trimmedUnits(const char* szUnits);
// The text a units view shows: the text, a space and the units (the text alone without units).
std::string withUnits(const std::string& sText, const std::string& sUnits);
