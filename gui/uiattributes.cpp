#include "uiattributes.h"

#include <cerrno>
#include <cstdlib>

namespace VSTGUI {

const std::string* UIAttributes::getAttributeValue (const std::string& name) const
{
	auto it = m_Values.find (name);
	return it == m_Values.end () ? nullptr : &it->second;
}

namespace {
bool parseNumber (const char*& s, double& d)
{
	char* end = nullptr;
	errno = 0;
	d = std::strtod (s, &end);
	if (end == s || errno == ERANGE)
		return false;
	s = end;
	return true;
}
void skipBlanks (const char*& s)
{
	while (*s == ' ' || *s == '\t')
		++s;
}
} // namespace

bool UIAttributes::parsePoint (const std::string& text, CPoint& p)
{
	const char* s = text.c_str ();
	double x, y;
	skipBlanks (s);
	if (!parseNumber (s, x))
		return false;
	skipBlanks (s);
	if (*s++ != ',')
		return false;
	skipBlanks (s);
	if (!parseNumber (s, y))
		return false;
	p = CPoint (x, y);
	return true;
}

bool UIAttributes::getPointAttribute (const std::string& name, CPoint& p) const
{
	const std::string* v = getAttributeValue (name);
	return v && parsePoint (*v, p);
}

bool UIAttributes::getDoubleAttribute (const std::string& name, double& d) const
{
	const std::string* v = getAttributeValue (name);
	if (!v)
		return false;
	const char* s = v->c_str ();
	skipBlanks (s);
	return parseNumber (s, d);
}

bool UIAttributes::getIntegerAttribute (const std::string& name, int32_t& n) const
{
	double d;
	if (!getDoubleAttribute (name, d) || d < -2147483648.0 || d > 2147483647.0)
		return false;
	n = static_cast<int32_t> (d);
	return true;
}

bool UIAttributes::getBooleanAttribute (const std::string& name, bool& b) const
{
	const std::string* v = getAttributeValue (name);
	if (!v)
		return false;
	if (*v == "true")
		b = true;
	else if (*v == "false")
		b = false;
	else
		return false;
	return true;
}

} // namespace VSTGUI
