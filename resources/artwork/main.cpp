// korvessa-artwork <folder>: draws every bitmap of the editor and writes <name>.png (1x) and
// <name>#2x.png (2x, drawn at twice the resolution) into the folder. The output depends only
// on this program and the cairo, pango and DejaVu versions, never on the machine's settings.
#include "artwork.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

using namespace korvessa::artwork;

// Sizes at 1x; filmstrips and two-state images stack their frames vertically (state 0 on top).
constexpr CBitmapEntry kBitmaps[] = {
	{"korvessa", 306, 426, 1, drawPanel},
	{"sslblue", 42, 42, 80, drawSslBlueKnob},
	{"whitedust", 42, 42, 80, drawWhiteDustKnob},
	{"medtoggleswitch", 42, 42, 2, drawToggleSwitch},
	{"medprophetbutton", 25, 35, 2, drawProphetButton},
	{"bigrubberbutton", 34, 34, 2, drawRubberButton},
	{"vuledoff", 17, 85, 1, drawLedColumnOff},
	{"vuledon", 17, 85, 1, drawLedColumnOn},
	{"medanalogvumeter", 122, 65, 80, drawAnalogMeter},
};

bool writeBitmap (const CBitmapEntry& entry, int nScale, const std::filesystem::path& file)
{
	const int w = entry.nWidth * nScale;
	const int h = entry.nFrameHeight * entry.nFrames * nScale;
	cairo_surface_t* pSurface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
	cairo_t* cr = cairo_create (pSurface);
	for (int i = 0; i < entry.nFrames; ++i)
	{
		cairo_save (cr);
		cairo_translate (cr, 0.0, double (i * entry.nFrameHeight * nScale));
		cairo_scale (cr, nScale, nScale);
		cairo_rectangle (cr, 0.0, 0.0, entry.nWidth, entry.nFrameHeight);
		cairo_clip (cr);
		entry.draw (cr, CFrame {i, entry.nFrames, double (nScale)});
		cairo_restore (cr);
	}
	cairo_status_t status = cairo_status (cr);
	cairo_destroy (cr);
	if (status == CAIRO_STATUS_SUCCESS)
		status = cairo_surface_write_to_png (pSurface, file.c_str ());
	cairo_surface_destroy (pSurface);
	if (status != CAIRO_STATUS_SUCCESS)
	{
		std::fprintf (stderr, "korvessa-artwork: %s: %s\n", file.c_str (), cairo_status_to_string (status));
		return false;
	}
	return true;
}

} // namespace

int main (int argc, char** argv)
{
	if (argc != 2 || argv[1][0] == '\0')
	{
		std::fprintf (stderr, "usage: korvessa-artwork <output folder>\n");
		return 2;
	}
	const std::filesystem::path folder (argv[1]);
	std::error_code error;
	std::filesystem::create_directories (folder, error);
	if (error || !std::filesystem::is_directory (folder))
	{
		std::fprintf (stderr, "korvessa-artwork: cannot create %s\n", folder.c_str ());
		return 1;
	}

	int nResult = 0;
	for (const CBitmapEntry& entry : kBitmaps)
	{
		const std::string szName = entry.szName;
		if (!writeBitmap (entry, 1, folder / (szName + ".png")) || !writeBitmap (entry, 2, folder / (szName + "#2x.png")))
		{
			nResult = 1;
			break;
		}
	}

	// Hand back the font caches, so leak checkers see only what the libraries keep for good.
	pango_cairo_font_map_set_default (nullptr);
	cairo_debug_reset_static_data ();
	FcFini ();
	return nResult;
}
