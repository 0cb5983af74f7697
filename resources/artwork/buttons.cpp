// Two-state images: the toggle switch (lever up, lever down), the push button (up, pressed
// and lit) and the rubber button (up, pressed). State 0 is the upper image.
#include "artwork.h"
#include "paint.h"

#include <cmath>

namespace korvessa {
namespace artwork {

namespace {

/** Polished metal: a diagonal sweep of light and dark bands across (x0, y0)-(x1, y1). */
cairo_pattern_t* chrome (double x0, double y0, double x1, double y1)
{
	cairo_pattern_t* p = cairo_pattern_create_linear (x0, y0, x1, y1);
	addStop (p, 0.0, rgb (0xfbfbfb));
	addStop (p, 0.35, rgb (0xc4c6c9));
	addStop (p, 0.52, rgb (0x7d8085));
	addStop (p, 0.7, rgb (0xb9bbbf));
	addStop (p, 1.0, rgb (0x5e6166));
	return p;
}

void fillWith (cairo_t* cr, cairo_pattern_t* p)
{
	cairo_set_source (cr, p);
	cairo_fill (cr);
	cairo_pattern_destroy (p);
}

void hexagon (cairo_t* cr, double cx, double cy, double r)
{
	cairo_new_path (cr);
	for (int k = 0; k < 6; ++k)
	{
		double x, y;
		polar (cx, cy, r, 60.0 * k, x, y);
		if (k == 0)
			cairo_move_to (cr, x, y);
		else
			cairo_line_to (cr, x, y);
	}
	cairo_close_path (cr);
}

/** The lever of a bat toggle from its pivot towards (tx, ty), seen from above. */
void lever (cairo_t* cr, double cx, double cy, double tx, double ty)
{
	const double dx = tx - cx;
	const double dy = ty - cy;
	const double len = std::sqrt (dx * dx + dy * dy);
	const double ux = dx / len, uy = dy / len;  // along the lever
	const double nx = -uy, ny = ux;              // across it
	auto shape = [&] (double ox, double oy) {
		cairo_new_path (cr);
		cairo_move_to (cr, cx + nx * 2.9 + ox, cy + ny * 2.9 + oy);
		cairo_line_to (cr, tx + nx * 1.9 + ox, ty + ny * 1.9 + oy);
		cairo_line_to (cr, tx - nx * 1.9 + ox, ty - ny * 1.9 + oy);
		cairo_line_to (cr, cx - nx * 2.9 + ox, cy - ny * 2.9 + oy);
		cairo_close_path (cr);
	};

	// shadow on the nut and the panel, thrown to the lower right
	for (int k = 3; k >= 1; --k)
	{
		shape (0.8 * k, 1.0 * k);
		cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.12);
		cairo_fill (cr);
		cairo_arc (cr, tx + 0.8 * k, ty + 1.0 * k, 3.4, 0.0, 2.0 * M_PI);
		cairo_fill (cr);
	}

	// the bat: a tapered cylinder, light running along its upper left side
	shape (0.0, 0.0);
	cairo_pattern_t* p = cairo_pattern_create_linear (cx + nx * 3.0, cy + ny * 3.0, cx - nx * 3.0, cy - ny * 3.0);
	const bool bLightFirst = nx < 0.0;
	addStop (p, 0.0, rgb (bLightFirst ? 0xf4f5f7 : 0x55585d));
	addStop (p, 0.3, rgb (bLightFirst ? 0xd6d8dc : 0x9a9da2));
	addStop (p, 0.6, rgb (bLightFirst ? 0x8d9095 : 0xe6e8eb));
	addStop (p, 1.0, rgb (bLightFirst ? 0x4c4f54 : 0xbfc1c5));
	fillWith (cr, p);

	// the ball tip
	cairo_arc (cr, tx, ty, 3.3, 0.0, 2.0 * M_PI);
	cairo_pattern_t* b = cairo_pattern_create_radial (tx - 1.1, ty - 1.2, 0.2, tx, ty, 3.3);
	addStop (b, 0.0, rgb (0xffffff));
	addStop (b, 0.5, rgb (0xc2c4c8));
	addStop (b, 1.0, rgb (0x55585d));
	fillWith (cr, b);
	cairo_arc (cr, tx, ty, 3.3, 0.0, 2.0 * M_PI);
	cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.45);
	cairo_set_line_width (cr, 0.5);
	cairo_stroke (cr);
}

} // namespace

void drawToggleSwitch (cairo_t* cr, const CFrame& frame)
{
	// The pivot sits a little low: the switch groups hide the image's top 2 to 4 pixels.
	const double cx = 21.0, cy = 22.5;
	roundShadow (cr, cx + 0.5, cy + 1.5, 11.0, 16.5, 0.45);

	// washer
	cairo_arc (cr, cx, cy, 13.5, 0.0, 2.0 * M_PI);
	fillWith (cr, chrome (cx - 12, cy - 12, cx + 12, cy + 12));
	cairo_arc (cr, cx, cy, 13.5, 0.0, 2.0 * M_PI);
	cairo_set_source_rgba (cr, 0.15, 0.15, 0.17, 0.85);
	cairo_set_line_width (cr, 0.7);
	cairo_stroke (cr);

	// hex nut with a chamfered top
	hexagon (cr, cx + 0.3, cy + 0.6, 10.8);
	cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.35);
	cairo_fill (cr);
	hexagon (cr, cx, cy, 10.5);
	fillWith (cr, chrome (cx - 8, cy - 10, cx + 8, cy + 10));
	hexagon (cr, cx, cy, 10.5);
	cairo_set_source_rgba (cr, 0.12, 0.12, 0.14, 0.8);
	cairo_set_line_width (cr, 0.6);
	cairo_stroke (cr);
	cairo_arc (cr, cx, cy, 8.6, 0.0, 2.0 * M_PI);
	fillWith (cr, chrome (cx + 7, cy - 8, cx - 7, cy + 8));

	// threaded bushing around the lever's pivot
	cairo_arc (cr, cx, cy, 5.6, 0.0, 2.0 * M_PI);
	cairo_pattern_t* t = cairo_pattern_create_radial (cx - 1.0, cy - 1.0, 0.5, cx, cy, 5.6);
	addStop (t, 0.0, rgb (0x2a2b2e));
	addStop (t, 0.75, rgb (0x4a4c50));
	addStop (t, 1.0, rgb (0xa0a3a8));
	fillWith (cr, t);
	cairo_set_line_width (cr, 0.35);
	for (double r = 4.3; r < 5.6; r += 0.6)
	{
		cairo_arc (cr, cx, cy, r, 0.0, 2.0 * M_PI);
		cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.35);
		cairo_stroke (cr);
	}

	const bool bDown = frame.nIndex == 1;
	lever (cr, cx, cy, cx, bDown ? cy + 11.5 : cy - 11.5);

	// the collar at the pivot
	cairo_arc (cr, cx, cy, 3.4, 0.0, 2.0 * M_PI);
	cairo_pattern_t* c = cairo_pattern_create_radial (cx - 1.0, cy - 1.2, 0.3, cx, cy, 3.4);
	addStop (c, 0.0, rgb (0xffffff));
	addStop (c, 0.6, rgb (0xaeb1b5));
	addStop (c, 1.0, rgb (0x4c4f54));
	fillWith (cr, c);
}

void drawProphetButton (cairo_t* cr, const CFrame& frame)
{
	const bool bPressed = frame.nIndex == 1;

	// black bezel
	roundedRect (cr, 0.5, 0.5, 24.0, 34.0, 3.5);
	cairo_pattern_t* b = cairo_pattern_create_linear (0.0, 0.0, 0.0, 35.0);
	addStop (b, 0.0, rgb (0x34353a));
	addStop (b, 1.0, rgb (0x0c0c0e));
	fillWith (cr, b);
	roundedRect (cr, 0.5, 0.5, 24.0, 34.0, 3.5);
	setColour (cr, rgb (0x000000), 0.9);
	cairo_set_line_width (cr, 1.0);
	cairo_stroke (cr);
	roundedRect (cr, 2.0, 1.8, 21.0, 31.4, 2.4);
	setColour (cr, rgb (0x050506));
	cairo_fill (cr);

	// the cap: standing up with a shadow below it, or pushed in, a pixel lower and in shade
	const double x = bPressed ? 3.4 : 3.0;
	const double y = bPressed ? 3.6 : 2.6;
	const double w = bPressed ? 18.2 : 19.0;
	const double h = bPressed ? 28.2 : 28.6;
	if (!bPressed)
	{
		roundedRect (cr, x, y + 1.2, w, h, 2.0);
		setColour (cr, rgb (0x000000), 0.6);
		cairo_fill (cr);
	}
	roundedRect (cr, x, y, w, h, 2.0);
	cairo_pattern_t* c = cairo_pattern_create_linear (0.0, y, 0.0, y + h);
	addStop (c, 0.0, rgb (bPressed ? 0xcfc9b9 : 0xeeeadf));
	addStop (c, 0.5, rgb (bPressed ? 0xbdb7a6 : 0xd9d4c5));
	addStop (c, 1.0, rgb (bPressed ? 0xa29c8b : 0xb8b2a1));
	fillWith (cr, c);
	if (bPressed)
	{
		// the bezel's edge shades the top of the sunken cap
		cairo_save (cr);
		roundedRect (cr, x, y, w, h, 2.0);
		cairo_clip (cr);
		cairo_pattern_t* s = cairo_pattern_create_linear (0.0, y, 0.0, y + 4.0);
		addStop (s, 0.0, rgb (0x000000), 0.45);
		addStop (s, 1.0, rgb (0x000000), 0.0);
		cairo_set_source (cr, s);
		cairo_paint (cr);
		cairo_pattern_destroy (s);
		cairo_restore (cr);
	}
	else
	{
		cairo_move_to (cr, x + 2.0, y + 0.6);
		cairo_line_to (cr, x + w - 2.0, y + 0.6);
		setColour (cr, rgb (0xffffff), 0.8);
		cairo_set_line_width (cr, 0.8);
		cairo_stroke (cr);
	}
	roundedRect (cr, x, y, w, h, 2.0);
	setColour (cr, rgb (0x3b372e), 0.7);
	cairo_set_line_width (cr, 0.6);
	cairo_stroke (cr);

	// the LED window near the top of the cap
	const double lx = x + w / 2.0 - 5.0, ly = y + 4.0;
	if (bPressed)
	{
		cairo_save (cr);
		roundedRect (cr, x, y, w, h, 2.0);
		cairo_clip (cr);
		cairo_pattern_t* g = cairo_pattern_create_radial (lx + 5.0, ly + 1.8, 1.0, lx + 5.0, ly + 1.8, 11.0);
		addStop (g, 0.0, rgb (0xff5030), 0.55);
		addStop (g, 1.0, rgb (0xff5030), 0.0);
		cairo_set_source (cr, g);
		cairo_paint (cr);
		cairo_pattern_destroy (g);
		cairo_restore (cr);
	}
	roundedRect (cr, lx - 0.6, ly - 0.6, 11.2, 4.8, 1.4);
	setColour (cr, rgb (0x2a0c08), 0.9);
	cairo_fill (cr);
	roundedRect (cr, lx, ly, 10.0, 3.6, 1.0);
	cairo_pattern_t* l = cairo_pattern_create_linear (0.0, ly, 0.0, ly + 3.6);
	if (bPressed)
	{
		addStop (l, 0.0, rgb (0xffd2b8));
		addStop (l, 0.45, rgb (0xff4a26));
		addStop (l, 1.0, rgb (0xd21e0c));
	}
	else
	{
		addStop (l, 0.0, rgb (0x8a3a30));
		addStop (l, 0.45, rgb (0x5a1a12));
		addStop (l, 1.0, rgb (0x3c0f0a));
	}
	fillWith (cr, l);
}

void drawRubberButton (cairo_t* cr, const CFrame& frame)
{
	const bool bPressed = frame.nIndex == 1;
	const double cx = 17.0, cy = 17.0;

	// metal bezel ring and the dark well
	cairo_arc (cr, cx, cy, 16.4, 0.0, 2.0 * M_PI);
	cairo_pattern_t* r = cairo_pattern_create_linear (0.0, 1.0, 0.0, 33.0);
	addStop (r, 0.0, rgb (0x8a8c90));
	addStop (r, 0.5, rgb (0x404246));
	addStop (r, 1.0, rgb (0x1a1b1d));
	fillWith (cr, r);
	cairo_arc (cr, cx, cy, 16.4, 0.0, 2.0 * M_PI);
	setColour (cr, rgb (0x000000), 0.8);
	cairo_set_line_width (cr, 0.8);
	cairo_stroke (cr);
	cairo_arc (cr, cx, cy, 14.2, 0.0, 2.0 * M_PI);
	setColour (cr, rgb (0x060607));
	cairo_fill (cr);

	// the rubber dome: raised and lit, or pushed flat into the well
	const double d = bPressed ? 0.6 : 0.0;
	const double rd = bPressed ? 12.4 : 12.8;
	if (!bPressed)
		roundShadow (cr, cx, cy + 1.0, rd - 1.0, rd + 1.6, 0.7);
	cairo_arc (cr, cx, cy + d, rd, 0.0, 2.0 * M_PI);
	cairo_pattern_t* g = cairo_pattern_create_radial (cx - 3.5, cy - 4.5 + d, 0.5, cx, cy + d, rd);
	addStop (g, 0.0, rgb (bPressed ? 0x45464a : 0x7a7b80));
	addStop (g, 0.55, rgb (bPressed ? 0x2d2e31 : 0x3c3d41));
	addStop (g, 1.0, rgb (bPressed ? 0x1d1e20 : 0x232427));
	fillWith (cr, g);
	if (bPressed)
	{
		cairo_save (cr);
		cairo_arc (cr, cx, cy + d, rd, 0.0, 2.0 * M_PI);
		cairo_clip (cr);
		cairo_pattern_t* s = cairo_pattern_create_linear (0.0, cy + d - rd, 0.0, cy + d - rd + 6.0);
		addStop (s, 0.0, rgb (0x000000), 0.55);
		addStop (s, 1.0, rgb (0x000000), 0.0);
		cairo_set_source (cr, s);
		cairo_paint (cr);
		cairo_pattern_destroy (s);
		cairo_restore (cr);
	}
	cairo_arc (cr, cx, cy + d, rd, 0.0, 2.0 * M_PI);
	setColour (cr, rgb (0x000000), 0.6);
	cairo_set_line_width (cr, 0.6);
	cairo_stroke (cr);
}

} // namespace artwork
} // namespace korvessa
