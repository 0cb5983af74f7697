#include "conoffbutton.h"

#include "cdrawcontext.h"

namespace VSTGUI {

COnOffButton::COnOffButton (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
    : CControl (size, listener, tag, background)
{
	setDefaultValue (0);
}

void COnOffButton::draw (CDrawContext* context)
{
	if (CBitmap* bitmap = getDrawBackground ())
	{
		bool on = getValue () > (getMin () + getMax ()) / 2;
		CPoint where (m_Offset.x, m_Offset.y + (on ? getHeight () : 0));
		context->drawBitmap (*bitmap, m_Size, where);
	}
	setDirty (false);
}

CMouseEventResult COnOffButton::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	m_bPressed = true;
	return kMouseEventHandled;
}

CMouseEventResult COnOffButton::onMouseMoved (CPoint&, const CButtonState&)
{
	return m_bPressed ? kMouseEventHandled : kMouseEventNotHandled;
}

CMouseEventResult COnOffButton::onMouseUp (CPoint& where, const CButtonState&)
{
	if (!m_bPressed)
		return kMouseEventNotHandled;
	m_bPressed = false;
	// Released outside: no change, as with any push-to-toggle control.
	if (!m_Size.pointInside (where))
		return kMouseEventHandled;
	bool on = getValue () > (getMin () + getMax ()) / 2;
	beginEdit ();
	setValue (on ? getMin () : getMax ());
	invalid ();
	valueChanged ();
	endEdit ();
	return kMouseEventHandled;
}

CMouseEventResult COnOffButton::onMouseCancel ()
{
	m_bPressed = false;
	return kMouseEventHandled;
}

} // namespace VSTGUI
