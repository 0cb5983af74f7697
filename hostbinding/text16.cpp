#include "text16.h"

#include <cstdio>

namespace Zaze2VST3 {

void copyUtf8To16(const char* szSource, Steinberg::char16* pDest, int nCapacity)
{
	if (!pDest || nCapacity <= 0)
		return;
	int nOut = 0;
	const unsigned char* p = reinterpret_cast<const unsigned char*>(szSource ? szSource : "");
	while (*p && nOut < nCapacity - 1)
	{
		unsigned int uCode = '?';
		int nMore = 0;
		if (*p < 0x80)
			uCode = *p;
		else if ((*p & 0xE0) == 0xC0)
			uCode = *p & 0x1F, nMore = 1;
		else if ((*p & 0xF0) == 0xE0)
			uCode = *p & 0x0F, nMore = 2;
		else if ((*p & 0xF8) == 0xF0)
			uCode = 0, nMore = 3;
		++p;
		for (int i = 0; i < nMore; ++i)
		{
			if ((*p & 0xC0) != 0x80)
			{
				uCode = '?';
				break;
			}
			uCode = (uCode << 6) | (*p & 0x3F);
			++p;
		}
		if (uCode > 0xFFFF || (nMore == 3))
			uCode = '?';
		pDest[nOut++] = static_cast<Steinberg::char16>(uCode);
	}
	pDest[nOut] = 0;
}

void copy16ToAscii(const Steinberg::char16* pSource, char* szDest, int nCapacity)
{
	if (!szDest || nCapacity <= 0)
		return;
	int nOut = 0;
	if (pSource)
	{
		for (; pSource[nOut] && nOut < nCapacity - 1; ++nOut)
			szDest[nOut] = pSource[nOut] < 0x80 ? static_cast<char>(pSource[nOut]) : '?';
	}
	szDest[nOut] = 0;
}

void formatPlain16(double dPlain, int nDecimals, Steinberg::char16* pDest)
{
	if (nDecimals < 0)
		nDecimals = 0;
	if (nDecimals > 60)
		nDecimals = 60;
	char szText[400];
	std::snprintf(szText, sizeof szText, "%.*lf", nDecimals, dPlain);
	copyUtf8To16(szText, pDest, 128);
}

bool parsePlain16(const Steinberg::char16* pText, double& dPlain)
{
	if (!pText)
		return false;
	char szText[256];
	copy16ToAscii(pText, szText, sizeof szText);
	double dValue = 0.0;
	if (std::sscanf(szText, "%lf", &dValue) != 1)
		return false;
	dPlain = dValue;
	return true;
}

} // namespace Zaze2VST3
