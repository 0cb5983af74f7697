// The two knob filmstrips: 80 frames of 42 x 42, the pointer turning with the frame while the
// light stays where it is (above, slightly left).
#include "artwork.h"
#include "paint.h"

#include <cmath>

namespace korvessa {
namespace artwork {

namespace {

constexpr double kCx = 21.0;  // knob centre, 1x pixels
constexpr double kCy = 21.0;

void circle (cairo_t* cr, double r)
{
	cairo_new_path (cr);
	cairo_arc (cr, kCx, kCy, r, 0.0, 2.0 * M_PI);
}

void fillVertical (cairo_t* cr, double r, CRgb top, CRgb bottom)
{
	cairo_pattern_t* p = cairo_pattern_create_linear (0.0, kCy - r, 0.0, kCy + r);
	addStop (p, 0.0, top);
	addStop (p, 1.0, bottom);
	circle (cr, r);
	cairo_set_source (cr, p);
	cairo_fill (cr);
	cairo_pattern_destroy (p);
}

/** A lit dome: bright towards the upper left, falling off to the rim. */
void fillDome (cairo_t* cr, double r, CRgb light, CRgb mid, CRgb rim)
{
	cairo_pattern_t* p = cairo_pattern_create_radial (kCx - r * 0.3, kCy - r * 0.45, r * 0.1, kCx, kCy, r);
	addStop (p, 0.0, light);
	addStop (p, 0.55, mid);
	addStop (p, 1.0, rim);
	circle (cr, r);
	cairo_set_source (cr, p);
	cairo_fill (cr);
	cairo_pattern_destroy (p);
}

void strokeCircle (cairo_t* cr, double r, CRgb c, double dAlpha, double dWidth)
{
	circle (cr, r);
	setColour (cr, c, dAlpha);
	cairo_set_line_width (cr, dWidth);
	cairo_stroke (cr);
}

/** Grip ridges on a skirt, turning with the knob. */
void ridges (cairo_t* cr, double dDegrees, int nCount, double r0, double r1, double dAlpha)
{
	cairo_set_line_width (cr, 0.7);
	for (int k = 0; k < nCount; ++k)
	{
		const double a = dDegrees + 360.0 * k / nCount;
		double x0, y0, x1, y1;
		polar (kCx, kCy, r0, a, x0, y0);
		polar (kCx, kCy, r1, a, x1, y1);
		// ridges facing the light catch it, the others fall into shade
		const double facing = -std::sin ((a - 20.0) * M_PI / 180.0);
		if (facing > 0.0)
			cairo_set_source_rgba (cr, 1.0, 1.0, 1.0, dAlpha * facing);
		else
			cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, dAlpha * (0.5 - 0.5 * facing));
		cairo_move_to (cr, x0, y0);
		cairo_line_to (cr, x1, y1);
		cairo_stroke (cr);
	}
}

void pointer (cairo_t* cr, double dDegrees, double r0, double r1, CRgb c, double dWidth)
{
	double x0, y0, x1, y1;
	polar (kCx, kCy, r0, dDegrees, x0, y0);
	polar (kCx, kCy, r1, dDegrees, x1, y1);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	cairo_set_line_width (cr, dWidth + 0.6);
	cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.28);
	cairo_move_to (cr, x0 + 0.3, y0 + 0.5);
	cairo_line_to (cr, x1 + 0.3, y1 + 0.5);
	cairo_stroke (cr);
	cairo_set_line_width (cr, dWidth);
	setColour (cr, c);
	cairo_move_to (cr, x0, y0);
	cairo_line_to (cr, x1, y1);
	cairo_stroke (cr);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_BUTT);
}

} // namespace

void drawSslBlueKnob (cairo_t* cr, const CFrame& frame)
{
	const double a = knobDegrees (frame.value ());
	roundShadow (cr, kCx + 0.3, kCy + 1.6, 15.5, 20.8, 0.55);

	// the charcoal skirt with its chamfered top edge
	fillVertical (cr, 18.2, rgb (0x55585f), rgb (0x18191c));
	ridges (cr, a, 36, 15.6, 18.0, 0.22);
	strokeCircle (cr, 18.2, rgb (0x0a0a0b), 0.9, 0.8);
	fillVertical (cr, 15.2, rgb (0x74777f), rgb (0x1e1f23));
	fillDome (cr, 14.2, rgb (0x45484f), rgb (0x2c2e33), rgb (0x232428));

	// the blue cap
	cairo_save (cr);
	cairo_translate (cr, 0.0, 0.5);
	strokeCircle (cr, 11.6, rgb (0x000000), 0.35, 1.2);
	cairo_restore (cr);
	fillDome (cr, 11.2, rgb (0x8cc0f7), rgb (0x2f6fc6), rgb (0x173f80));
	strokeCircle (cr, 11.2, rgb (0x0b2247), 0.8, 0.6);
	cairo_save (cr);
	cairo_translate (cr, kCx - 3.2, kCy - 5.0);
	cairo_scale (cr, 1.0, 0.55);
	cairo_pattern_t* pGloss = cairo_pattern_create_radial (0.0, 0.0, 0.0, 0.0, 0.0, 6.5);
	addStop (pGloss, 0.0, {1, 1, 1}, 0.45);
	addStop (pGloss, 1.0, {1, 1, 1}, 0.0);
	cairo_set_source (cr, pGloss);
	cairo_arc (cr, 0.0, 0.0, 6.5, 0.0, 2.0 * M_PI);
	cairo_fill (cr);
	cairo_pattern_destroy (pGloss);
	cairo_restore (cr);

	pointer (cr, a, 3.0, 17.4, rgb (0xf6f6f2), 1.9);
}

void drawWhiteDustKnob (cairo_t* cr, const CFrame& frame)
{
	const double a = knobDegrees (frame.value ());
	roundShadow (cr, kCx + 0.3, kCy + 1.6, 15.5, 20.8, 0.5);

	// the knurled cream skirt
	fillVertical (cr, 18.2, rgb (0xf3eedf), rgb (0xa39b84));
	ridges (cr, a, 40, 14.8, 18.0, 0.30);
	strokeCircle (cr, 18.2, rgb (0x4f4a3d), 0.85, 0.8);

	// the domed dust cap
	cairo_save (cr);
	cairo_translate (cr, 0.0, 0.6);
	strokeCircle (cr, 13.9, rgb (0x000000), 0.22, 1.4);
	cairo_restore (cr);
	fillDome (cr, 13.6, rgb (0xffffff), rgb (0xeee8d6), rgb (0xc4bca4));
	strokeCircle (cr, 13.6, rgb (0x6f6857), 0.6, 0.6);
	strokeCircle (cr, 9.0, rgb (0x000000), 0.07, 0.8);

	pointer (cr, a, 4.0, 17.4, rgb (0x1b1b1b), 2.2);
}

} // namespace artwork
} // namespace korvessa
