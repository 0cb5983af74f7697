#include "cvumeter.h"

#include "cdrawcontext.h"

#include <cmath>

namespace VSTGUI {

CVuMeter::CVuMeter (const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed, int32_t style)
    : CControl (size, nullptr, -1, onBitmap)
    , m_nNbLed (nbLed)
    , m_nStyle (style)
{
	setOffBitmap (offBitmap);
	setMouseEnabled (false);
}

CVuMeter::~CVuMeter ()
{
	if (m_pOffBitmap)
		m_pOffBitmap->forget ();
}

void CVuMeter::setOffBitmap (CBitmap* bitmap)
{
	if (bitmap)
		bitmap->remember ();
	if (m_pOffBitmap)
		m_pOffBitmap->forget ();
	m_pOffBitmap = bitmap;
	invalid ();
}

void CVuMeter::draw (CDrawContext* context)
{
	CBitmap* on = getOnBitmap ();
	if (!on)
	{
		setDirty (false);
		return;
	}
	bounceValue ();
	float shown = std::max (getValue (), m_fOldValue - m_fDecreaseValue);
	m_fOldValue = shown;
	// Whole LEDs only.
	if (m_nNbLed > 0)
		shown = std::floor (shown * m_nNbLed + 0.5f) / m_nNbLed;
	float range = getRange ();
	float lit = range != 0 ? (shown - getMin ()) / range : 0;
	lit = std::min (1.f, std::max (0.f, lit));

	CRect offRect (m_Size), onRect (m_Size);
	CPoint onOffset;
	if (m_nStyle & kHorizontal)
	{
		// Lit from the left.
		CCoord p = std::floor (getWidth () * lit + 0.5);
		onRect.right = onRect.left + p;
		offRect.left += p;
		if (m_pOffBitmap)
			context->drawBitmap (*m_pOffBitmap, offRect, CPoint (p, 0));
		context->drawBitmap (*on, onRect, onOffset);
	}
	else
	{
		// Lit from the bottom.
		CCoord p = std::floor (getHeight () * (1 - lit) + 0.5);
		offRect.bottom = offRect.top + p;
		onRect.top += p;
		if (m_pOffBitmap)
			context->drawBitmap (*m_pOffBitmap, offRect);
		context->drawBitmap (*on, onRect, CPoint (0, p));
	}
	setDirty (false);
}

} // namespace VSTGUI
