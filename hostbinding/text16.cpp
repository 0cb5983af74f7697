#include "text16.h"

#include "utf16.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace Zaze2VST3 {

std::size_t formatFixed(double dValue, int nDecimals, char* szDest, std::size_t nCapacity)
{
	if (!szDest || nCapacity == 0)
		return 0;
	if (nDecimals < 0)
		nDecimals = 0;
	if (nDecimals > 60)
		nDecimals = 60;
	char acText[400];
	auto result = std::to_chars(acText, acText + sizeof acText, dValue, std::chars_format::fixed,
	                            nDecimals);
	if (result.ec != std::errc())
		result = std::to_chars(acText, acText + sizeof acText, dValue, std::chars_format::scientific,
		                       nDecimals);
	std::size_t nLength = result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - acText) : 0;
	if (nLength > nCapacity - 1)
		nLength = nCapacity - 1;
	std::memcpy(szDest, acText, nLength);
	szDest[nLength] = 0;
	return nLength;
}

void formatPlain16(double dPlain, int nDecimals, Steinberg::char16* pDest)
{
	char szText[400];
	formatFixed(dPlain, nDecimals, szText, sizeof szText);
	Steinberg::Utf16::fromUtf8(szText, pDest, 128);
}

bool parsePlain16(const Steinberg::char16* pText, double& dPlain)
{
	if (!pText)
		return false;
	// The ASCII prefix of the text; a number has no other characters.
	char szText[256];
	std::size_t n = 0;
	for (; pText[n] > 0 && pText[n] < 0x80 && n < sizeof szText - 1; ++n)
		szText[n] = static_cast<char>(pText[n]);
	szText[n] = 0;

	const char* p = szText;
	while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
		++p;
	const bool bNegative = *p == '-';
	if (*p == '+' || *p == '-')
		++p;
	if (*p == '+' || *p == '-')
		return false;
	// A decimal comma (as a user of such a locale types it) reads as the point.
	if (!std::strchr(p, '.'))
		if (char* pComma = std::strchr(szText + (p - szText), ','))
			*pComma = '.';
	double dValue = 0.0;
	const auto result = std::from_chars(p, szText + n, dValue, std::chars_format::general);
	// No number, one beyond double's range, or an infinity or NaN: no value a control can take.
	if (result.ec != std::errc() || result.ptr == p || !std::isfinite(dValue))
		return false;
	dPlain = bNegative ? -dValue : dValue;
	return true;
}

} // namespace Zaze2VST3
