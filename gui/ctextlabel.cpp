#include "ctextlabel.h"

#include <cstdio>

namespace VSTGUI {

CParamDisplay::CParamDisplay (const CRect& size, CBitmap* background, int32_t style)
    : CControl (size, nullptr, -1, background)
    , m_nStyle (style)
{
	CFontDesc::fromBuiltInName ("~ SystemFont", m_Font);
}

std::string CParamDisplay::textToDraw () const
{
	std::string text;
	if (m_ValueToString && m_ValueToString (getValue (), text))
		return text;
	char buffer[64];
	std::snprintf (buffer, sizeof buffer, "%.*f", std::max (0, std::min (m_nPrecision, 12)), getValue ());
	return buffer;
}

void CParamDisplay::drawBack (CDrawContext* context)
{
	if (!getTransparency ())
	{
		context->setFillColor (m_BackColor);
		context->setFrameColor (m_FrameColor);
		context->setLineWidth (m_dFrameWidth);
		CDrawStyle style = (m_nStyle & kNoFrame) ? kDrawFilled : kDrawFilledAndStroked;
		if (m_nStyle & kRoundRectStyle)
			context->drawRoundRect (m_Size, m_dRoundRectRadius, style);
		else
			context->drawRect (m_Size, style);
	}
	if (CBitmap* bitmap = getDrawBackground ())
		context->drawBitmap (*bitmap, m_Size, m_BackgroundOffset);
}

void CParamDisplay::drawText (CDrawContext* context, const std::string& text)
{
	if (m_nStyle & kNoTextStyle)
		return;
	CRect r (m_Size);
	r.inset (m_TextInset.x, m_TextInset.y);
	context->setFont (m_Font);
	if (m_nStyle & kShadowText)
	{
		CRect shadow (r);
		shadow.offset (1, 1);
		context->setFontColor (m_ShadowColor);
		context->drawString (text, shadow, m_HoriAlign, m_bAntialias);
	}
	context->setFontColor (m_FontColor);
	context->drawString (text, r, m_HoriAlign, m_bAntialias);
}

void CParamDisplay::draw (CDrawContext* context)
{
	if (!(m_nStyle & kNoDrawStyle))
	{
		drawBack (context);
		drawText (context, textToDraw ());
	}
	setDirty (false);
}

CTextLabel::CTextLabel (const CRect& size, const std::string& text, CBitmap* background, int32_t style)
    : CParamDisplay (size, background, style)
    , m_Text (text)
{}

void CTextLabel::setText (const std::string& text)
{
	if (text == m_Text)
		return;
	m_Text = text;
	invalid ();
}

} // namespace VSTGUI
