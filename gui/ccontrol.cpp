#include "ccontrol.h"

#include <cmath>

namespace VSTGUI {

CControl::CControl (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
    : CView (size)
    , m_pListener (listener)
    , m_nTag (tag)
{
	if (background)
		setBackground (background);
}

void CControl::setValue (float value)
{
	if (!std::isfinite (value))
		return;
	if (value != m_fValue)
	{
		m_fValue = value;
		invalid ();
	}
}

void CControl::setValueNormalized (float value)
{
	if (!std::isfinite (value))
		return;
	value = std::min (1.f, std::max (0.f, value));
	setValue (m_fMin + value * getRange ());
}

float CControl::getValueNormalized () const
{
	float range = getRange ();
	if (range == 0)
		return 0;
	return (m_fValue - m_fMin) / range;
}

void CControl::bounceValue ()
{
	float lo = std::min (m_fMin, m_fMax), hi = std::max (m_fMin, m_fMax);
	if (m_fValue > hi)
		m_fValue = hi;
	else if (m_fValue < lo)
		m_fValue = lo;
}

void CControl::valueChanged ()
{
	if (m_pListener)
		m_pListener->valueChanged (this);
}

void CControl::beginEdit ()
{
	if (m_nEditing++ == 0 && m_pListener)
		m_pListener->controlBeginEdit (this);
}

void CControl::endEdit ()
{
	if (m_nEditing == 0)
		return;
	if (--m_nEditing == 0 && m_pListener)
		m_pListener->controlEndEdit (this);
}

} // namespace VSTGUI
