// Meter images: the LED column (all off, all lit) and the needle VU meter filmstrip.
#include "artwork.h"
#include "paint.h"

#include <cmath>
#include <cstdio>

namespace korvessa {
namespace artwork {

namespace {

constexpr int kLedCount = 17;        // segments of the LED column, bottom to top
constexpr double kLedPitch = 5.0;    // 1x pixels per segment: 17 x 5 = the column's 85 pixels
constexpr CRgb kLedGreen = rgb (0x3ee45a);
constexpr CRgb kLedAmber = rgb (0xffb320);
constexpr CRgb kLedRed = rgb (0xff3a28);

CRgb ledColour (int i)
{
	if (i < 11)
		return kLedGreen;
	if (i < 14)
		return kLedAmber;
	return kLedRed;
}

void ledColumn (cairo_t* cr, bool bLit)
{
	// housing
	roundedRect (cr, 0.0, 0.0, 17.0, 85.0, 2.5);
	cairo_pattern_t* h = cairo_pattern_create_linear (0.0, 0.0, 17.0, 0.0);
	addStop (h, 0.0, rgb (0x26272a));
	addStop (h, 0.5, rgb (0x121214));
	addStop (h, 1.0, rgb (0x1c1d20));
	cairo_set_source (cr, h);
	cairo_fill (cr);
	cairo_pattern_destroy (h);

	for (int i = 0; i < kLedCount; ++i)
	{
		const double y = 85.0 - (i + 1) * kLedPitch + 0.8;
		const CRgb c = ledColour (i);
		if (bLit)
		{
			roundedRect (cr, 2.0, y - 0.7, 13.0, 4.8, 1.6);
			setColour (cr, c, 0.28);
			cairo_fill (cr);
		}
		roundedRect (cr, 3.0, y, 11.0, 3.4, 0.9);
		cairo_pattern_t* p = cairo_pattern_create_linear (0.0, y, 0.0, y + 3.4);
		if (bLit)
		{
			addStop (p, 0.0, shade (c, 1.55));
			addStop (p, 0.5, c);
			addStop (p, 1.0, shade (c, 0.8));
		}
		else
		{
			addStop (p, 0.0, shade (c, 0.34));
			addStop (p, 1.0, shade (c, 0.17));
		}
		cairo_set_source (cr, p);
		cairo_fill (cr);
		cairo_pattern_destroy (p);
	}
}

// Needle meter geometry, 1x pixels: the pivot sits below the face, hidden by the lower plate.
constexpr double kPivotX = 61.0;
constexpr double kPivotY = 84.0;
constexpr double kScaleRadius = 60.0;
constexpr double kSweep = 84.0;  // degrees from the left end of the scale to the right end

/** Needle direction (screen degrees) for a scale position 0 (left end) .. 1 (right end). */
double meterDegrees (double dPosition)
{
	return 270.0 - kSweep / 2.0 + kSweep * dPosition;
}

/** Scale position of a VU reading: the needle follows the voltage, +3 VU at the right end. */
double vuPosition (double dVu)
{
	return std::pow (10.0, (dVu - 3.0) / 20.0);
}

void arc (cairo_t* cr, double r, double p0, double p1)
{
	cairo_new_path (cr);
	cairo_arc (cr, kPivotX, kPivotY, r, meterDegrees (p0) * M_PI / 180.0, meterDegrees (p1) * M_PI / 180.0);
}

void tick (cairo_t* cr, double p, double r0, double r1)
{
	double x0, y0, x1, y1;
	polar (kPivotX, kPivotY, r0, meterDegrees (p), x0, y0);
	polar (kPivotX, kPivotY, r1, meterDegrees (p), x1, y1);
	cairo_move_to (cr, x0, y0);
	cairo_line_to (cr, x1, y1);
}

} // namespace

void drawLedColumnOff (cairo_t* cr, const CFrame&)
{
	ledColumn (cr, false);
}

void drawLedColumnOn (cairo_t* cr, const CFrame&)
{
	ledColumn (cr, true);
}

void drawAnalogMeter (cairo_t* cr, const CFrame& frame)
{
	// black bezel and the warm, back-lit face
	roundedRect (cr, 0.0, 0.0, 122.0, 65.0, 4.0);
	cairo_pattern_t* b = cairo_pattern_create_linear (0.0, 0.0, 0.0, 65.0);
	addStop (b, 0.0, rgb (0x3a3b3f));
	addStop (b, 1.0, rgb (0x111113));
	cairo_set_source (cr, b);
	cairo_fill (cr);
	cairo_pattern_destroy (b);

	cairo_save (cr);
	roundedRect (cr, 4.0, 4.0, 114.0, 57.0, 2.0);
	cairo_clip (cr);
	cairo_pattern_t* f = cairo_pattern_create_radial (61.0, 70.0, 5.0, 61.0, 50.0, 80.0);
	addStop (f, 0.0, rgb (0xfff4cc));
	addStop (f, 0.6, rgb (0xf2e2a8));
	addStop (f, 1.0, rgb (0xc9b47a));
	cairo_set_source (cr, f);
	cairo_paint (cr);
	cairo_pattern_destroy (f);

	// the scale: a black arc up to 0 VU, a red band above it, ticks and numbers
	const double p0 = vuPosition (0.0);
	cairo_set_line_width (cr, 0.8);
	setColour (cr, rgb (0x1a1a1a));
	arc (cr, kScaleRadius, 0.0, p0);
	cairo_stroke (cr);
	cairo_set_line_width (cr, 2.6);
	setColour (cr, rgb (0xc8281e));
	arc (cr, kScaleRadius + 1.3, p0, 1.0);
	cairo_stroke (cr);

	static const struct
	{
		double dVu;
		const char* szLabel;
	} kMarks[] = {{-20, "20"}, {-10, "10"}, {-7, "7"}, {-5, "5"}, {-3, "3"}, {-2, "2"},
	              {-1, "1"},   {0, "0"},    {1, "1"},  {2, "2"},  {3, "3"}};
	const CTextStyle numbers {"DejaVu Sans", true, 6.0, 0.0, 0.9};
	for (const auto& m : kMarks)
	{
		const double p = vuPosition (m.dVu);
		const CRgb c = m.dVu > 0.0 ? rgb (0xc8281e) : rgb (0x1a1a1a);
		setColour (cr, c);
		cairo_set_line_width (cr, 0.9);
		tick (cr, p, kScaleRadius, kScaleRadius + 4.0);
		cairo_stroke (cr);
		double x, y;
		polar (kPivotX, kPivotY, kScaleRadius + 8.5, meterDegrees (p), x, y);
		drawCentredText (cr, m.szLabel, numbers, x, y);
	}
	for (double vu = -20.0; vu < -10.0; vu += 2.5)  // minor ticks in the long low end
	{
		setColour (cr, rgb (0x1a1a1a));
		cairo_set_line_width (cr, 0.6);
		tick (cr, vuPosition (vu), kScaleRadius, kScaleRadius + 2.5);
		cairo_stroke (cr);
	}
	setColour (cr, rgb (0x1a1a1a));
	drawCentredText (cr, "\u2212", numbers, 11.0, 14.0);
	setColour (cr, rgb (0xc8281e));
	drawCentredText (cr, "+", numbers, 111.0, 14.0);
	setColour (cr, rgb (0x1a1a1a));
	drawCentredText (cr, "VU", {"DejaVu Serif", true, 11.0, 0.5, 1.0}, 61.0, 41.0);

	// the needle, from the left end (first frame) to the right end (last frame)
	double nx, ny;
	polar (kPivotX, kPivotY, kScaleRadius + 3.0, meterDegrees (frame.value ()), nx, ny);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	cairo_set_line_width (cr, 1.2);
	cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.18);
	cairo_move_to (cr, kPivotX + 1.2, kPivotY + 1.0);
	cairo_line_to (cr, nx + 1.2, ny + 1.0);
	cairo_stroke (cr);
	cairo_set_line_width (cr, 0.9);
	setColour (cr, rgb (0x121212));
	cairo_move_to (cr, kPivotX, kPivotY);
	cairo_line_to (cr, nx, ny);
	cairo_stroke (cr);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_BUTT);

	// the lower plate over the needle's pivot, and the glass
	cairo_new_path (cr);
	cairo_arc (cr, kPivotX, kPivotY, 31.0, M_PI, 2.0 * M_PI);
	cairo_line_to (cr, 118.0, 61.0);
	cairo_line_to (cr, 4.0, 61.0);
	cairo_close_path (cr);
	cairo_pattern_t* plate = cairo_pattern_create_linear (0.0, 53.0, 0.0, 61.0);
	addStop (plate, 0.0, rgb (0x35363a));
	addStop (plate, 1.0, rgb (0x141416));
	cairo_set_source (cr, plate);
	cairo_fill (cr);
	cairo_pattern_destroy (plate);

	cairo_pattern_t* g = cairo_pattern_create_linear (0.0, 4.0, 40.0, 60.0);
	addStop (g, 0.0, rgb (0xffffff), 0.22);
	addStop (g, 0.45, rgb (0xffffff), 0.04);
	addStop (g, 1.0, rgb (0xffffff), 0.0);
	cairo_set_source (cr, g);
	cairo_paint (cr);
	cairo_pattern_destroy (g);
	cairo_restore (cr);

	// inner edge of the bezel
	roundedRect (cr, 4.0, 4.0, 114.0, 57.0, 2.0);
	setColour (cr, rgb (0x000000), 0.7);
	cairo_set_line_width (cr, 1.0);
	cairo_stroke (cr);
}

} // namespace artwork
} // namespace korvessa
