#include "cdrawcontext.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cmath>

namespace VSTGUI {

CDrawContext::CDrawContext (cairo_t* cr, double scaleFactor)
    : m_pCairo (cr)
    , m_dScale (scaleFactor)
{
	cairo_save (m_pCairo);
}

CDrawContext::~CDrawContext ()
{
	cairo_restore (m_pCairo);
}

void CDrawContext::saveGlobalState ()
{
	cairo_save (m_pCairo);
}

void CDrawContext::restoreGlobalState ()
{
	cairo_restore (m_pCairo);
}

void CDrawContext::translate (CCoord dx, CCoord dy)
{
	cairo_translate (m_pCairo, dx, dy);
}

void CDrawContext::clipRect (const CRect& r)
{
	cairo_rectangle (m_pCairo, r.left, r.top, r.getWidth (), r.getHeight ());
	cairo_clip (m_pCairo);
}

void CDrawContext::setSource (const CColor& c)
{
	cairo_set_source_rgba (m_pCairo, c.normRed (), c.normGreen (), c.normBlue (), c.normAlpha ());
}

void CDrawContext::finish (CDrawStyle style)
{
	if (style != kDrawStroked)
	{
		setSource (m_FillColor);
		if (style == kDrawFilledAndStroked)
			cairo_fill_preserve (m_pCairo);
		else
			cairo_fill (m_pCairo);
	}
	if (style != kDrawFilled)
	{
		setSource (m_FrameColor);
		cairo_set_line_width (m_pCairo, m_dLineWidth);
		cairo_stroke (m_pCairo);
	}
}

void CDrawContext::drawRect (const CRect& r, CDrawStyle style)
{
	// Strokes run along pixel centres so that a 1-pixel frame stays sharp.
	double inset = style == kDrawFilled ? 0 : m_dLineWidth / 2;
	cairo_rectangle (m_pCairo, r.left + inset, r.top + inset, r.getWidth () - 2 * inset,
	                 r.getHeight () - 2 * inset);
	finish (style);
}

void CDrawContext::drawRoundRect (const CRect& r, CCoord radius, CDrawStyle style)
{
	double inset = style == kDrawFilled ? 0 : m_dLineWidth / 2;
	double x0 = r.left + inset, y0 = r.top + inset, x1 = r.right - inset, y1 = r.bottom - inset;
	radius = std::min (radius, std::min ((x1 - x0) / 2, (y1 - y0) / 2));
	cairo_new_sub_path (m_pCairo);
	cairo_arc (m_pCairo, x1 - radius, y0 + radius, radius, -M_PI / 2, 0);
	cairo_arc (m_pCairo, x1 - radius, y1 - radius, radius, 0, M_PI / 2);
	cairo_arc (m_pCairo, x0 + radius, y1 - radius, radius, M_PI / 2, M_PI);
	cairo_arc (m_pCairo, x0 + radius, y0 + radius, radius, M_PI, 3 * M_PI / 2);
	cairo_close_path (m_pCairo);
	finish (style);
}

void CDrawContext::drawLine (const CPoint& from, const CPoint& to)
{
	cairo_move_to (m_pCairo, from.x, from.y);
	cairo_line_to (m_pCairo, to.x, to.y);
	finish (kDrawStroked);
}

void CDrawContext::drawEllipse (const CRect& r, CDrawStyle style)
{
	cairo_save (m_pCairo);
	cairo_translate (m_pCairo, r.left + r.getWidth () / 2, r.top + r.getHeight () / 2);
	cairo_scale (m_pCairo, r.getWidth () / 2, r.getHeight () / 2);
	cairo_arc (m_pCairo, 0, 0, 1, 0, 2 * M_PI);
	cairo_restore (m_pCairo);
	finish (style);
}

void CDrawContext::drawPolygon (const CPoint* points, int32_t count, CDrawStyle style)
{
	if (!points || count < 2)
		return;
	cairo_move_to (m_pCairo, points[0].x, points[0].y);
	for (int32_t i = 1; i < count; ++i)
		cairo_line_to (m_pCairo, points[i].x, points[i].y);
	if (points[count - 1] == points[0])
		cairo_close_path (m_pCairo);
	finish (style);
}

void CDrawContext::drawBitmap (const CBitmap& bitmap, const CRect& dest, const CPoint& offset, double alpha)
{
	double variantScale = 1;
	cairo_surface_t* surface = bitmap.surfaceFor (m_dScale, variantScale);
	if (!surface || dest.isEmpty ())
		return;
	cairo_save (m_pCairo);
	cairo_rectangle (m_pCairo, dest.left, dest.top, dest.getWidth (), dest.getHeight ());
	cairo_clip (m_pCairo);
	cairo_translate (m_pCairo, dest.left - offset.x, dest.top - offset.y);
	cairo_scale (m_pCairo, 1 / variantScale, 1 / variantScale);
	cairo_set_source_surface (m_pCairo, surface, 0, 0);
	// A variant drawn at its own resolution maps pixel to pixel: no resampling blur.
	if (std::fabs (variantScale - m_dScale) < 1e-9)
		cairo_pattern_set_filter (cairo_get_source (m_pCairo), CAIRO_FILTER_NEAREST);
	cairo_paint_with_alpha (m_pCairo, alpha);
	cairo_restore (m_pCairo);
}

namespace {
PangoLayout* makeLayout (cairo_t* cr, const CFontDesc& font, const std::string& text, bool antialias)
{
	PangoLayout* layout = pango_cairo_create_layout (cr);
	cairo_font_options_t* options = cairo_font_options_create ();
	cairo_font_options_set_antialias (options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
	cairo_font_options_set_hint_metrics (options, CAIRO_HINT_METRICS_OFF);
	pango_cairo_context_set_font_options (pango_layout_get_context (layout), options);
	cairo_font_options_destroy (options);
	pango_layout_context_changed (layout);

	PangoFontDescription* desc = pango_font_description_new ();
	pango_font_description_set_family (desc, font.name.c_str ());
	pango_font_description_set_absolute_size (desc, font.size * PANGO_SCALE);
	pango_font_description_set_weight (desc,
	                                   (font.style & kBoldFace) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
	pango_font_description_set_style (desc,
	                                  (font.style & kItalicFace) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
	pango_layout_set_font_description (layout, desc);
	pango_font_description_free (desc);
	pango_layout_set_text (layout, text.c_str (), -1);
	return layout;
}
} // namespace

void CDrawContext::drawString (const std::string& text, const CRect& r, CHoriTxtAlign align, bool antialias)
{
	if (text.empty ())
		return;
	PangoLayout* layout = makeLayout (m_pCairo, m_Font, text, antialias);
	PangoRectangle ink, logical;
	pango_layout_get_pixel_extents (layout, &ink, &logical);
	double x = r.left;
	if (align == kCenterText)
		x = r.left + (r.getWidth () - logical.width) / 2;
	else if (align == kRightText)
		x = r.right - logical.width;
	double y = r.top + (r.getHeight () - logical.height) / 2;
	cairo_save (m_pCairo);
	cairo_rectangle (m_pCairo, r.left, r.top, r.getWidth (), r.getHeight ());
	cairo_clip (m_pCairo);
	setSource (m_FontColor);
	cairo_move_to (m_pCairo, x, y);
	pango_cairo_show_layout (m_pCairo, layout);
	cairo_restore (m_pCairo);
	g_object_unref (layout);
}

CCoord CDrawContext::getStringWidth (const std::string& text)
{
	PangoLayout* layout = makeLayout (m_pCairo, m_Font, text, true);
	PangoRectangle logical;
	pango_layout_get_pixel_extents (layout, nullptr, &logical);
	g_object_unref (layout);
	return logical.width;
}

} // namespace VSTGUI
