#include "text.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvessa {
namespace render {

std::string fromUtf16 (const char16_t* pText, std::size_t nMax)
{
	std::string out;
	for (std::size_t i = 0; i < nMax && pText[i] != 0; ++i)
	{
		char32_t c = pText[i];
		if (c >= 0xD800 && c < 0xDC00 && i + 1 < nMax && pText[i + 1] >= 0xDC00 && pText[i + 1] < 0xE000)
		{
			c = 0x10000 + ((c - 0xD800) << 10) + (pText[i + 1] - 0xDC00);
			++i;
		}
		else if (c >= 0xD800 && c < 0xE000)
			c = 0xFFFD; // unpaired surrogate
		if (c < 0x80)
			out += static_cast<char> (c);
		else if (c < 0x800)
		{
			out += static_cast<char> (0xC0 | (c >> 6));
			out += static_cast<char> (0x80 | (c & 0x3F));
		}
		else if (c < 0x10000)
		{
			out += static_cast<char> (0xE0 | (c >> 12));
			out += static_cast<char> (0x80 | ((c >> 6) & 0x3F));
			out += static_cast<char> (0x80 | (c & 0x3F));
		}
		else
		{
			out += static_cast<char> (0xF0 | (c >> 18));
			out += static_cast<char> (0x80 | ((c >> 12) & 0x3F));
			out += static_cast<char> (0x80 | ((c >> 6) & 0x3F));
			out += static_cast<char> (0x80 | (c & 0x3F));
		}
	}
	return out;
}

std::u16string toUtf16 (const std::string& szText)
{
	std::u16string out;
	const auto* p = reinterpret_cast<const unsigned char*> (szText.data ());
	const std::size_t n = szText.size ();
	std::size_t i = 0;
	while (i < n)
	{
		char32_t c = p[i];
		int nMore = 0;
		if (c < 0x80)
			nMore = 0;
		else if ((c & 0xE0) == 0xC0)
			c &= 0x1F, nMore = 1;
		else if ((c & 0xF0) == 0xE0)
			c &= 0x0F, nMore = 2;
		else if ((c & 0xF8) == 0xF0)
			c &= 0x07, nMore = 3;
		else
			c = 0xFFFD, nMore = -1;
		++i;
		for (int k = 0; k < nMore; ++k, ++i)
		{
			if (i >= n || (p[i] & 0xC0) != 0x80)
			{
				c = 0xFFFD;
				break;
			}
			c = (c << 6) | (p[i] & 0x3F);
		}
		if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
			c = 0xFFFD;
		if (c >= 0x10000)
		{
			c -= 0x10000;
			out += static_cast<char16_t> (0xD800 + (c >> 10));
			out += static_cast<char16_t> (0xDC00 + (c & 0x3FF));
		}
		else
			out += static_cast<char16_t> (c);
	}
	return out;
}

bool equalsNoCase (const std::string& a, const std::string& b)
{
	if (a.size () != b.size ())
		return false;
	for (std::size_t i = 0; i < a.size (); ++i)
		if (std::tolower (static_cast<unsigned char> (a[i])) !=
		    std::tolower (static_cast<unsigned char> (b[i])))
			return false;
	return true;
}

std::string trim (const std::string& szText)
{
	std::size_t b = 0, e = szText.size ();
	while (b < e && std::isspace (static_cast<unsigned char> (szText[b])))
		++b;
	while (e > b && std::isspace (static_cast<unsigned char> (szText[e - 1])))
		--e;
	return szText.substr (b, e - b);
}

bool parseIndex (const std::string& szText, long long& nValue)
{
	if (szText.empty () || szText.size () > 9)
		return false;
	nValue = 0;
	for (char c : szText)
	{
		if (c < '0' || c > '9')
			return false;
		nValue = nValue * 10 + (c - '0');
	}
	return true;
}

bool parseNumber (const std::string& szText, double& dValue)
{
	const std::string s = trim (szText);
	if (s.empty ())
		return false;
	char* pEnd = nullptr;
	errno = 0;
	dValue = std::strtod (s.c_str (), &pEnd);
	return pEnd == s.c_str () + s.size () && errno == 0 && std::isfinite (dValue);
}

std::string formatDbfs (double dPeak)
{
	if (!(dPeak > 0.0))
		return "-inf dBFS";
	char buf[32];
	std::snprintf (buf, sizeof buf, "%.2f dBFS", 20.0 * std::log10 (dPeak));
	return buf;
}

} // namespace render
} // namespace korvessa
