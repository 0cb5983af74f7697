// "korvessa": the pedal's front panel, 306 x 426, under the editor's controls and labels.
// The editor draws the labels as black text on top, so every area under a label stays plain
// enamel; decorations are drawn with those areas cut out of the clip.
#include "artwork.h"
#include "paint.h"

#include <cmath>
#include <initializer_list>

namespace korvessa {
namespace artwork {

namespace {

constexpr double kWidth = 306.0;
constexpr double kHeight = 426.0;
constexpr CRgb kEnamel = rgb (0xb2c929);
constexpr CRgb kInk = rgb (0x161a0c);  // printed legends and marks

struct CRect
{
	double x, y, w, h;
};

// Where the editor draws text: group labels, switch and button captions, the version.
constexpr CRect kTextAreas[] = {
	{30, 45, 75, 15},    {115, 45, 75, 15},   {195, 45, 75, 15},   {75, 111, 75, 15},
	{155, 110, 75, 15},  {30, 175, 75, 15},   {195, 175, 75, 15},  {20, 275, 100, 16},
	{20, 320, 100, 16},  {185, 275, 100, 16}, {185, 320, 100, 16}, {105, 335, 100, 16},
	{105, 380, 100, 16}, {5, 386, 75, 15},    {230, 383, 75, 18},  {67, 402, 100, 16},
};

struct CKnobSite
{
	double x, y;  // top left of the 42 x 42 knob
};
constexpr CKnobSite kKnobs[] = {
	{46, 57}, {131, 57}, {211, 57}, {90, 125}, {171, 122}, {46, 187}, {211, 187},
};

constexpr CKnobSite kToggles[] = {{49, 286}, {214, 286}, {134, 347}};   // 42 x 42
constexpr CKnobSite kButtons[] = {{28, 352}, {253, 349}};               // 25 x 35

/** Clips to the panel minus the text areas (with a pixel of margin). */
void clipOutText (cairo_t* cr)
{
	cairo_set_fill_rule (cr, CAIRO_FILL_RULE_EVEN_ODD);
	cairo_rectangle (cr, 0.0, 0.0, kWidth, kHeight);
	for (const CRect& r : kTextAreas)
		cairo_rectangle (cr, r.x - 1.0, r.y - 1.0, r.w + 2.0, r.h + 2.0);
	cairo_clip (cr);
	cairo_set_fill_rule (cr, CAIRO_FILL_RULE_WINDING);
}

void enclosure (cairo_t* cr, const CFrame& frame)
{
	// what shows past the rounded corners
	setColour (cr, rgb (0x141415));
	cairo_paint (cr);

	// the die-cast edge, curving down and away from the flat top: nested outlines from
	// the dark rim to the enamel of the face
	constexpr int kSteps = 7;
	for (int i = 0; i <= kSteps; ++i)
	{
		const double t = double (i) / kSteps;
		const double inset = 0.5 + 6.0 * t;
		roundedRect (cr, inset, inset, kWidth - 2.0 * inset, kHeight - 2.0 * inset, 18.0 - 5.0 * t);
		setColour (cr, mix (shade (kEnamel, 0.45), kEnamel, std::sqrt (t)));
		cairo_fill (cr);
	}

	// light from above: the upper rim catches it, the lower one falls into shade
	cairo_save (cr);
	cairo_set_fill_rule (cr, CAIRO_FILL_RULE_EVEN_ODD);
	roundedRect (cr, 0.5, 0.5, kWidth - 1.0, kHeight - 1.0, 18.0);
	roundedRect (cr, 6.5, 6.5, kWidth - 13.0, kHeight - 13.0, 13.0);
	cairo_clip (cr);
	cairo_pattern_t* pRim = cairo_pattern_create_linear (0.0, 0.0, 0.0, kHeight);
	addStop (pRim, 0.0, {1, 1, 1}, 0.42);
	addStop (pRim, 0.05, {1, 1, 1}, 0.12);
	addStop (pRim, 0.5, {1, 1, 1}, 0.0);
	addStop (pRim, 0.95, {0, 0, 0}, 0.15);
	addStop (pRim, 1.0, {0, 0, 0}, 0.35);
	cairo_set_source (cr, pRim);
	cairo_paint (cr);
	cairo_pattern_destroy (pRim);
	cairo_restore (cr);

	// the face: enamel with a faint sheen and a fine grain
	cairo_save (cr);
	roundedRect (cr, 6.5, 6.5, kWidth - 13.0, kHeight - 13.0, 13.0);
	cairo_clip (cr);
	cairo_pattern_t* pFace = cairo_pattern_create_linear (0.0, 6.0, 0.0, kHeight - 6.0);
	addStop (pFace, 0.0, shade (kEnamel, 1.07));
	addStop (pFace, 0.5, kEnamel);
	addStop (pFace, 1.0, shade (kEnamel, 0.93));
	cairo_set_source (cr, pFace);
	cairo_paint (cr);
	cairo_pattern_destroy (pFace);
	cairo_pattern_t* pSheen = cairo_pattern_create_radial (90.0, 70.0, 10.0, 110.0, 120.0, 300.0);
	addStop (pSheen, 0.0, {1, 1, 1}, 0.16);
	addStop (pSheen, 1.0, {1, 1, 1}, 0.0);
	cairo_set_source (cr, pSheen);
	cairo_paint (cr);
	cairo_pattern_destroy (pSheen);
	paintGrain (cr, kWidth, kHeight, frame.dScale, 0.035, 0x4b0e55a1u);
	cairo_restore (cr);

	// the crease where the face meets the edge
	roundedRect (cr, 6.5, 6.5, kWidth - 13.0, kHeight - 13.0, 13.0);
	cairo_pattern_t* pCrease = cairo_pattern_create_linear (0.0, 0.0, 0.0, kHeight);
	addStop (pCrease, 0.0, {1, 1, 1}, 0.5);
	addStop (pCrease, 0.5, {1, 1, 1}, 0.12);
	addStop (pCrease, 1.0, {0, 0, 0}, 0.25);
	cairo_set_source (cr, pCrease);
	cairo_set_line_width (cr, 0.8);
	cairo_stroke (cr);
	cairo_pattern_destroy (pCrease);
}

void screw (cairo_t* cr, double cx, double cy, double dSlotDegrees)
{
	roundShadow (cr, cx + 0.4, cy + 0.9, 3.5, 6.2, 0.45);
	cairo_arc (cr, cx, cy, 4.6, 0.0, 2.0 * M_PI);
	cairo_pattern_t* p = cairo_pattern_create_radial (cx - 1.6, cy - 1.8, 0.4, cx, cy, 4.6);
	addStop (p, 0.0, rgb (0xffffff));
	addStop (p, 0.5, rgb (0xbcbec2));
	addStop (p, 1.0, rgb (0x6a6d72));
	cairo_set_source (cr, p);
	cairo_fill (cr);
	cairo_pattern_destroy (p);
	cairo_arc (cr, cx, cy, 4.6, 0.0, 2.0 * M_PI);
	setColour (cr, rgb (0x2a2c30), 0.8);
	cairo_set_line_width (cr, 0.6);
	cairo_stroke (cr);

	// a cross-head recess, its lower edges catching light
	for (int k = 0; k < 2; ++k)
	{
		double x0, y0, x1, y1;
		polar (cx, cy, 3.0, dSlotDegrees + 90.0 * k, x0, y0);
		polar (cx, cy, 3.0, dSlotDegrees + 90.0 * k + 180.0, x1, y1);
		cairo_set_line_width (cr, 1.2);
		setColour (cr, rgb (0x2b2d31), 0.9);
		cairo_move_to (cr, x0, y0);
		cairo_line_to (cr, x1, y1);
		cairo_stroke (cr);
		cairo_set_line_width (cr, 0.4);
		setColour (cr, rgb (0xffffff), 0.5);
		cairo_move_to (cr, x0 + 0.35, y0 + 0.6);
		cairo_line_to (cr, x1 + 0.35, y1 + 0.6);
		cairo_stroke (cr);
	}
}

/** The printed scale round a knob: a thin arc along the pointer's sweep and eleven ticks,
    heavier at both ends. */
void knobScale (cairo_t* cr, double cx, double cy)
{
	setColour (cr, kInk, 0.85);
	cairo_set_line_width (cr, 0.9);
	cairo_new_path (cr);
	cairo_arc (cr, cx, cy, 22.5, knobDegrees (0.0) * M_PI / 180.0, knobDegrees (1.0) * M_PI / 180.0);
	cairo_stroke (cr);
	for (int k = 0; k <= 10; ++k)
	{
		const bool bEnd = k == 0 || k == 10;
		double x0, y0, x1, y1;
		polar (cx, cy, 22.5, knobDegrees (k / 10.0), x0, y0);
		polar (cx, cy, bEnd ? 27.5 : 25.8, knobDegrees (k / 10.0), x1, y1);
		cairo_set_line_width (cr, bEnd ? 1.6 : 1.1);
		cairo_move_to (cr, x0, y0);
		cairo_line_to (cr, x1, y1);
		cairo_stroke (cr);
	}
}

/** A slightly sunken, darker disc where a knob sits: the knob's shadow falls on it. */
void knobPlate (cairo_t* cr, double cx, double cy)
{
	cairo_pattern_t* p = cairo_pattern_create_radial (cx, cy - 2.0, 16.0, cx, cy, 21.0);
	addStop (p, 0.0, {0, 0, 0}, 0.0);
	addStop (p, 0.8, {0, 0, 0}, 0.08);
	addStop (p, 1.0, {0, 0, 0}, 0.0);
	cairo_set_source (cr, p);
	cairo_arc (cr, cx, cy, 21.0, 0.0, 2.0 * M_PI);
	cairo_fill (cr);
	cairo_pattern_destroy (p);
}

/** A printed ring round a toggle switch's washer, with a stop mark at each lever position. */
void toggleMarks (cairo_t* cr, double cx, double cy)
{
	setColour (cr, kInk, 0.8);
	cairo_set_line_width (cr, 1.0);
	cairo_new_path (cr);
	cairo_arc (cr, cx, cy, 17.5, 0.0, 2.0 * M_PI);
	cairo_stroke (cr);
	for (double dir : {-1.0, 1.0})
	{
		cairo_move_to (cr, cx - 2.6, cy + dir * 17.5);
		cairo_line_to (cr, cx, cy + dir * 21.5);
		cairo_line_to (cr, cx + 2.6, cy + dir * 17.5);
		cairo_close_path (cr);
		cairo_fill (cr);
	}
}

/** The dark opening a push button sits in. */
void buttonWell (cairo_t* cr, double x, double y)
{
	roundedRect (cr, x - 1.5, y - 1.0, 28.0, 38.0, 4.5);
	setColour (cr, rgb (0x000000), 0.18);
	cairo_fill (cr);
	roundedRect (cr, x - 1.5, y - 1.0, 28.0, 38.0, 4.5);
	cairo_pattern_t* p = cairo_pattern_create_linear (0.0, y - 1.0, 0.0, y + 37.0);
	addStop (p, 0.0, {0, 0, 0}, 0.35);
	addStop (p, 1.0, {1, 1, 1}, 0.45);
	cairo_set_source (cr, p);
	cairo_set_line_width (cr, 0.9);
	cairo_stroke (cr);
	cairo_pattern_destroy (p);
}

void title (cairo_t* cr)
{
	// a black stripe across the free band between the knobs and the switches, the name
	// lettered in the enamel colour
	const double y = 237.0, h = 29.0;
	roundedRect (cr, 22.0, y + 0.8, 262.0, h, 3.0);
	setColour (cr, {1, 1, 1}, 0.25);
	cairo_fill (cr);
	roundedRect (cr, 22.0, y, 262.0, h, 3.0);
	cairo_pattern_t* p = cairo_pattern_create_linear (0.0, y, 0.0, y + h);
	addStop (p, 0.0, rgb (0x24261f));
	addStop (p, 1.0, rgb (0x0d0e0a));
	cairo_set_source (cr, p);
	cairo_fill (cr);
	cairo_pattern_destroy (p);

	// a soft gloss on the upper half of the stripe
	roundedRect (cr, 22.0, y, 262.0, h, 3.0);
	cairo_pattern_t* g = cairo_pattern_create_linear (0.0, y, 0.0, y + h * 0.55);
	addStop (g, 0.0, {1, 1, 1}, 0.16);
	addStop (g, 1.0, {1, 1, 1}, 0.0);
	cairo_set_source (cr, g);
	cairo_fill (cr);
	cairo_pattern_destroy (g);

	const CTextStyle name {"DejaVu Serif", true, 23.0, 5.0, 1.0};
	textPath (cr, "KORVESSA", name, kWidth / 2.0, y + h / 2.0 + 0.7);
	setColour (cr, {0, 0, 0}, 0.6);
	cairo_fill (cr);
	setColour (cr, shade (kEnamel, 1.08));
	drawCentredText (cr, "KORVESSA", name, kWidth / 2.0, y + h / 2.0);

	setColour (cr, shade (kEnamel, 1.05), 0.9);
	cairo_set_line_width (cr, 0.8);
	roundedRect (cr, 24.5, y + 2.5, 257.0, h - 5.0, 1.8);
	cairo_stroke (cr);
}

void maker (cairo_t* cr)
{
	const CTextStyle style {"DejaVu Sans", true, 10.5, 3.0, 1.0};
	setColour (cr, kInk, 0.88);
	const double w = drawCentredText (cr, "Quillonix", style, kWidth / 2.0, 19.0);
	cairo_set_line_width (cr, 0.9);
	for (double side : {-1.0, 1.0})
	{
		const double x0 = kWidth / 2.0 + side * (w / 2.0 + 8.0);
		cairo_move_to (cr, x0, 19.0);
		cairo_line_to (cr, x0 + side * 34.0, 19.0);
		cairo_stroke (cr);
	}
}

} // namespace

void drawPanel (cairo_t* cr, const CFrame& frame)
{
	enclosure (cr, frame);

	cairo_save (cr);
	clipOutText (cr);
	for (const CKnobSite& k : kKnobs)
	{
		knobPlate (cr, k.x + 21.0, k.y + 21.0);
		knobScale (cr, k.x + 21.0, k.y + 21.0);
	}
	for (const CKnobSite& t : kToggles)
		toggleMarks (cr, t.x + 21.0, t.y + 22.5);
	for (const CKnobSite& b : kButtons)
		buttonWell (cr, b.x, b.y);
	cairo_restore (cr);

	screw (cr, 16.0, 16.0, 20.0);
	screw (cr, kWidth - 16.0, 16.0, 65.0);
	screw (cr, 16.0, kHeight - 16.0, 40.0);
	screw (cr, kWidth - 16.0, kHeight - 16.0, 5.0);

	title (cr);
	maker (cr);
}

} // namespace artwork
} // namespace korvessa
