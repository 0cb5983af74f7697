#include "paint.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <cstdint>

namespace korvessa {
namespace artwork {

CRgb mix (CRgb a, CRgb b, double t)
{
	return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

CRgb shade (CRgb c, double f)
{
	if (f >= 1.0)
		return mix (c, {1.0, 1.0, 1.0}, f - 1.0);
	return {c.r * f, c.g * f, c.b * f};
}

void setColour (cairo_t* cr, CRgb c, double dAlpha)
{
	cairo_set_source_rgba (cr, c.r, c.g, c.b, dAlpha);
}

void addStop (cairo_pattern_t* p, double dOffset, CRgb c, double dAlpha)
{
	cairo_pattern_add_color_stop_rgba (p, dOffset, c.r, c.g, c.b, dAlpha);
}

void roundedRect (cairo_t* cr, double x, double y, double w, double h, double r)
{
	const double kQuarter = M_PI / 2.0;
	cairo_new_sub_path (cr);
	cairo_arc (cr, x + w - r, y + r, r, -kQuarter, 0.0);
	cairo_arc (cr, x + w - r, y + h - r, r, 0.0, kQuarter);
	cairo_arc (cr, x + r, y + h - r, r, kQuarter, 2.0 * kQuarter);
	cairo_arc (cr, x + r, y + r, r, 2.0 * kQuarter, 3.0 * kQuarter);
	cairo_close_path (cr);
}

void polar (double cx, double cy, double dRadius, double dDegrees, double& x, double& y)
{
	const double a = dDegrees * M_PI / 180.0;
	x = cx + dRadius * std::cos (a);
	y = cy + dRadius * std::sin (a);
}

double knobDegrees (double dValue)
{
	return 135.0 + 270.0 * dValue;
}

void roundShadow (cairo_t* cr, double cx, double cy, double dInner, double dOuter, double dAlpha)
{
	cairo_pattern_t* p = cairo_pattern_create_radial (cx, cy, dInner, cx, cy, dOuter);
	addStop (p, 0.0, {0, 0, 0}, dAlpha);
	addStop (p, 0.5, {0, 0, 0}, dAlpha * 0.35);
	addStop (p, 1.0, {0, 0, 0}, 0.0);
	cairo_set_source (cr, p);
	cairo_arc (cr, cx, cy, dOuter, 0.0, 2.0 * M_PI);
	cairo_fill (cr);
	cairo_pattern_destroy (p);
}

namespace {

/** A layout on a context of its own with fixed font options (gray anti-aliasing, no hinting,
    unrounded positions), so the text is the same whatever the desktop's settings are. */
PangoLayout* makeLayout (cairo_t* cr, const char* szText, const CTextStyle& style)
{
	PangoContext* pContext = pango_font_map_create_context (pango_cairo_font_map_get_default ());
	cairo_font_options_t* pOptions = cairo_font_options_create ();
	cairo_font_options_set_antialias (pOptions, CAIRO_ANTIALIAS_GRAY);
	cairo_font_options_set_hint_style (pOptions, CAIRO_HINT_STYLE_NONE);
	cairo_font_options_set_hint_metrics (pOptions, CAIRO_HINT_METRICS_OFF);
	pango_cairo_context_set_font_options (pContext, pOptions);
	cairo_font_options_destroy (pOptions);
	pango_context_set_round_glyph_positions (pContext, FALSE);
	pango_cairo_update_context (cr, pContext);

	PangoLayout* pLayout = pango_layout_new (pContext);
	g_object_unref (pContext);

	PangoFontDescription* pFont = pango_font_description_new ();
	pango_font_description_set_family (pFont, style.szFamily);
	pango_font_description_set_weight (pFont, style.bBold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
	pango_font_description_set_absolute_size (pFont, style.dSize * PANGO_SCALE);
	pango_layout_set_font_description (pLayout, pFont);
	pango_font_description_free (pFont);

	if (style.dLetterSpacing != 0.0)
	{
		PangoAttrList* pAttrs = pango_attr_list_new ();
		pango_attr_list_insert (pAttrs, pango_attr_letter_spacing_new (int (style.dLetterSpacing * PANGO_SCALE)));
		pango_layout_set_attributes (pLayout, pAttrs);
		pango_attr_list_unref (pAttrs);
	}
	pango_layout_set_text (pLayout, szText, -1);
	return pLayout;
}

/** Moves the origin so that the layout's ink box is centred on (cx, cy); returns the ink width
    in user units. The width scale is applied around the centre. */
double centreLayout (cairo_t* cr, PangoLayout* pLayout, const CTextStyle& style, double cx, double cy)
{
	PangoRectangle ink;
	pango_layout_get_extents (pLayout, &ink, nullptr);
	const double w = double (ink.width) / PANGO_SCALE;
	const double h = double (ink.height) / PANGO_SCALE;
	cairo_translate (cr, cx, cy);
	cairo_scale (cr, style.dWidthScale, 1.0);
	cairo_translate (cr, -w / 2.0 - double (ink.x) / PANGO_SCALE, -h / 2.0 - double (ink.y) / PANGO_SCALE);
	return w * style.dWidthScale;
}

} // namespace

double drawCentredText (cairo_t* cr, const char* szText, const CTextStyle& style, double cx, double cy)
{
	cairo_save (cr);
	PangoLayout* pLayout = makeLayout (cr, szText, style);
	const double w = centreLayout (cr, pLayout, style, cx, cy);
	pango_cairo_update_layout (cr, pLayout);
	pango_cairo_show_layout (cr, pLayout);
	g_object_unref (pLayout);
	cairo_restore (cr);
	return w;
}

void textPath (cairo_t* cr, const char* szText, const CTextStyle& style, double cx, double cy)
{
	cairo_save (cr);
	PangoLayout* pLayout = makeLayout (cr, szText, style);
	centreLayout (cr, pLayout, style, cx, cy);
	pango_cairo_update_layout (cr, pLayout);
	pango_cairo_layout_path (cr, pLayout);
	g_object_unref (pLayout);
	cairo_restore (cr);  // the path survives the restore, in device space
}

void paintGrain (cairo_t* cr, double dWidth, double dHeight, double dScale, double dAmount, unsigned int nSeed)
{
	const int w = int (std::ceil (dWidth * dScale));
	const int h = int (std::ceil (dHeight * dScale));
	cairo_surface_t* pGrain = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
	const int nStride = cairo_image_surface_get_stride (pGrain);
	unsigned char* pData = cairo_image_surface_get_data (pGrain);
	std::uint32_t nState = nSeed;
	for (int y = 0; y < h; ++y)
	{
		auto* pRow = reinterpret_cast<std::uint32_t*> (pData + y * nStride);
		for (int x = 0; x < w; ++x)
		{
			nState = nState * 1664525u + 1013904223u;
			const double r = double ((nState >> 8) & 0xffff) / 65535.0 * 2.0 - 1.0;  // -1..1
			const auto a = std::uint32_t (std::lround (std::fabs (r) * dAmount * 255.0));
			const std::uint32_t c = r > 0.0 ? a : 0;  // premultiplied white or black
			pRow[x] = (a << 24) | (c << 16) | (c << 8) | c;
		}
	}
	cairo_surface_mark_dirty (pGrain);
	cairo_save (cr);
	cairo_scale (cr, 1.0 / dScale, 1.0 / dScale);
	cairo_set_source_surface (cr, pGrain, 0.0, 0.0);
	cairo_pattern_set_filter (cairo_get_source (cr), CAIRO_FILTER_NEAREST);
	cairo_paint (cr);
	cairo_restore (cr);
	cairo_surface_destroy (pGrain);
}

} // namespace artwork
} // namespace korvessa
