#include "text.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvessa {
namespace render {

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
