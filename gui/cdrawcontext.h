// The one drawing context every view draws through: a cairo context at a scale factor (1 for
// editor pixels, 2 for a high-resolution screen), with the bitmap and text operations the
// views need. Windows and offscreen images use the same code.
#pragma once

#include "cbitmap.h"
#include "ccolor.h"
#include "cfont.h"
#include "cgeometry.h"

#include <string>

typedef struct _cairo cairo_t;

namespace VSTGUI {

enum CHoriTxtAlign
{
	kLeftText = 0,
	kCenterText,
	kRightText,
};

enum CDrawStyle
{
	kDrawStroked = 0,
	kDrawFilled,
	kDrawFilledAndStroked,
};

class CDrawContext
{
public:
	/** Draws into cr, whose user space is already scaled by scaleFactor. Does not own cr. */
	CDrawContext (cairo_t* cr, double scaleFactor);
	~CDrawContext ();

	cairo_t* getCairo () const { return m_pCairo; }
	double getScaleFactor () const { return m_dScale; }

	void saveGlobalState ();
	void restoreGlobalState ();
	/** Moves the origin (the next operations are relative to it). */
	void translate (CCoord dx, CCoord dy);
	/** Intersects the clip with r. */
	void clipRect (const CRect& r);

	void setFillColor (const CColor& c) { m_FillColor = c; }
	void setFrameColor (const CColor& c) { m_FrameColor = c; }
	void setLineWidth (CCoord w) { m_dLineWidth = w; }
	void setFont (const CFontDesc& f) { m_Font = f; }
	void setFontColor (const CColor& c) { m_FontColor = c; }

	void drawRect (const CRect& r, CDrawStyle style = kDrawStroked);
	void drawRoundRect (const CRect& r, CCoord radius, CDrawStyle style = kDrawStroked);
	void drawLine (const CPoint& from, const CPoint& to);
	void drawEllipse (const CRect& r, CDrawStyle style = kDrawStroked);
	/** A polygon through the points; closed when the last point equals the first. */
	void drawPolygon (const CPoint* points, int32_t count, CDrawStyle style = kDrawStroked);
	/** Draws the part of the bitmap that starts at offset into dest (clipped to dest). */
	void drawBitmap (const CBitmap& bitmap, const CRect& dest, const CPoint& offset = CPoint (),
	                 double alpha = 1.0);
	/** One line of text inside r, centred vertically, aligned horizontally. */
	void drawString (const std::string& text, const CRect& r, CHoriTxtAlign align = kCenterText,
	                 bool antialias = true);
	/** Width of a text in the current font, editor pixels. */
	CCoord getStringWidth (const std::string& text);

private:
	void setSource (const CColor& c);
	void finish (CDrawStyle style);

	cairo_t* m_pCairo;
	double m_dScale;
	CColor m_FillColor = kWhiteCColor;
	CColor m_FrameColor = kBlackCColor;
	CColor m_FontColor = kBlackCColor;
	CCoord m_dLineWidth = 1;
	CFontDesc m_Font;
};

} // namespace VSTGUI
