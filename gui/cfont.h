// Font descriptions and the built-in fonts ("~ NormalFont" ...).
#pragma once

#include <string>

namespace VSTGUI {

enum CTxtFace
{
	kNormalFace = 0,
	kBoldFace = 1 << 1,
	kItalicFace = 1 << 2,
	kUnderlineFace = 1 << 3,
};

struct CFontDesc
{
	std::string name = "DejaVu Sans"; // family handed to pango
	double size = 12;                 // pixels
	int style = kNormalFace;          // CTxtFace bits

	CFontDesc () = default;
	CFontDesc (std::string family, double pixels, int faceStyle = kNormalFace)
	    : name (std::move (family))
	    , size (pixels)
	    , style (faceStyle)
	{}

	/** The built-in font of a "~ " name; false for other names. */
	static bool fromBuiltInName (const std::string& builtInName, CFontDesc& font);
};

/** The family the built-in fonts use (installed by the bootstrap script). */
extern const char* const kBuiltInFontFamily;

} // namespace VSTGUI
