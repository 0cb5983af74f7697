#include "cxypad.h"

#include "cdrawcontext.h"

#include <cmath>

namespace VSTGUI {

CXYPad::CXYPad (const CRect& size)
    : CParamDisplay (size)
{
	// The encoded value reaches 1.0001 at the bottom-right corner.
	setMax (2.f);
}

float CXYPad::calculateValue (float x, float y)
{
	x = std::floor (x * 1000.f + 0.5f) * 0.001f;
	y = std::floor (y * 1000.f + 0.5f) * 0.0000001f;
	return x + y;
}

void CXYPad::calculateXY (float value, float& x, float& y)
{
	x = std::floor (value * 1000.f + 0.5f) * 0.001f;
	y = std::floor ((value - x) * 10000000.f + 0.5f) * 0.001f;
}

void CXYPad::boundValues (float& x, float& y)
{
	x = std::min (1.f, std::max (0.f, x));
	y = std::min (1.f, std::max (0.f, y));
}

void CXYPad::setValue (float value)
{
	if (!std::isfinite (value))
		return;
	CParamDisplay::setValue (std::min (getMax (), std::max (getMin (), value)));
}

CRect CXYPad::handleRect () const
{
	float x, y;
	calculateXY (getValue (), x, y);
	CCoord r = getRoundRectRadius ();
	CRect handle (0, 0, r, r);
	handle.offset (m_Size.left + x * (getWidth () - r), m_Size.top + y * (getHeight () - r));
	return handle;
}

void CXYPad::draw (CDrawContext* context)
{
	drawBack (context);
	context->setFillColor (getFontColor ());
	context->drawEllipse (handleRect (), kDrawFilled);
	setDirty (false);
}

CMouseEventResult CXYPad::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	CCoord r = getRoundRectRadius ();
	m_MouseStartPoint = where - CPoint (m_Size.left + r / 2, m_Size.top + r / 2);
	beginEdit ();
	return onMouseMoved (where, buttons);
}

CMouseEventResult CXYPad::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton () || !isEditing ())
		return kMouseEventNotHandled;
	if (m_bStopTrackingOnMouseExit && !m_Size.pointInside (where))
	{
		endEdit ();
		return kMouseMoveEventHandledButDontNeedMoreEvents;
	}
	CCoord r = getRoundRectRadius ();
	CPoint p = where - CPoint (m_Size.left + r / 2, m_Size.top + r / 2);
	float x = static_cast<float> (p.x / (getWidth () - r));
	float y = static_cast<float> (p.y / (getHeight () - r));
	boundValues (x, y);
	float before = getValue ();
	setValue (calculateValue (x, y));
	if (m_pListener && getValue () != before)
		m_pListener->valueChanged (this);
	invalid ();
	m_LastMousePoint = p;
	return kMouseEventHandled;
}

CMouseEventResult CXYPad::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	endEdit ();
	return kMouseEventHandled;
}

CMouseEventResult CXYPad::onMouseCancel ()
{
	endEdit ();
	return kMouseEventHandled;
}

} // namespace VSTGUI
