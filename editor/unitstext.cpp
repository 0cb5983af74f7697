#include "unitstext.h"

namespace {
bool isBlank(char c)
{
	return c == ' ' || c == '\t' || c == '\n';
}
} // namespace

std::string trimmedUnits(const char* szUnits)
{
	std::string sUnits = szUnits ? szUnits : "";
	size_t nFirst = 0;
	while (nFirst < sUnits.size() && isBlank(sUnits[nFirst]))
		++nFirst;
	if (nFirst == sUnits.size())
		return sUnits;
	size_t nEnd = sUnits.size();
	while (nEnd > nFirst && isBlank(sUnits[nEnd - 1]))
		--nEnd;
	sUnits.resize(nEnd);
	return sUnits;
}

std::string withUnits(const std::string& sText, const std::string& sUnits)
{
	return sUnits.empty() ? sText : sText + " " + sUnits;
}
