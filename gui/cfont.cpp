#include "cfont.h"

namespace VSTGUI {

const char* const kBuiltInFontFamily = "DejaVu Sans";

namespace {

struct BuiltInFont
{
	const char* name;
	double size; // pixels
	int style;
};

const BuiltInFont kBuiltInFonts[] = {
    {"~ SystemFont", 12, kNormalFace},         {"~ NormalFontVeryBig", 18, kNormalFace},
    {"~ NormalFontBig", 14, kNormalFace},      {"~ NormalFont", 12, kNormalFace},
    {"~ NormalFontSmall", 11, kNormalFace},    {"~ NormalFontSmaller", 10, kNormalFace},
    {"~ NormalFontVerySmall", 9, kNormalFace}, {"~ SymbolFont", 12, kNormalFace},
};

} // namespace

bool CFontDesc::fromBuiltInName (const std::string& builtInName, CFontDesc& font)
{
	for (const auto& entry : kBuiltInFonts)
	{
		if (builtInName == entry.name)
		{
			font = CFontDesc (kBuiltInFontFamily, entry.size, entry.style);
			return true;
		}
	}
	return false;
}

} // namespace VSTGUI
