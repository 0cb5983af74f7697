#include "ccolor.h"

#include <cstring>

namespace VSTGUI {

namespace {

struct NamedColor
{
	const char* name;
	CColor color;
};

// The toolkit's built-in colours, by the names descriptions use.
const NamedColor kBuiltInColors[] = {
    {"~ TransparentCColor", kTransparentCColor},
    {"~ BlackCColor", kBlackCColor},
    {"~ WhiteCColor", kWhiteCColor},
    {"~ GreyCColor", kGreyCColor},
    {"~ RedCColor", kRedCColor},
    {"~ GreenCColor", kGreenCColor},
    {"~ BlueCColor", kBlueCColor},
    {"~ YellowCColor", kYellowCColor},
    {"~ CyanCColor", kCyanCColor},
    {"~ MagentaCColor", kMagentaCColor},
};

int hexDigit (char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

} // namespace

bool CColor::fromString (const std::string& text, CColor& color)
{
	if ((text.size () != 7 && text.size () != 9) || text[0] != '#')
		return false;
	uint8_t parts[4] = {0, 0, 0, 255};
	for (size_t i = 0; i < (text.size () - 1) / 2; ++i)
	{
		int hi = hexDigit (text[1 + 2 * i]);
		int lo = hexDigit (text[2 + 2 * i]);
		if (hi < 0 || lo < 0)
			return false;
		parts[i] = static_cast<uint8_t> (hi * 16 + lo);
	}
	color = CColor (parts[0], parts[1], parts[2], parts[3]);
	return true;
}

bool CColor::fromBuiltInName (const std::string& name, CColor& color)
{
	for (const auto& entry : kBuiltInColors)
	{
		if (name == entry.name)
		{
			color = entry.color;
			return true;
		}
	}
	return false;
}

} // namespace VSTGUI
