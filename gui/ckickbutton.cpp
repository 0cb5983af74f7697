#include "ckickbutton.h"

#include "cdrawcontext.h"

namespace VSTGUI {

CKickButton::CKickButton (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                          const CPoint& offset)
    : CControl (size, listener, tag, background)
    , m_Offset (offset)
{
	setDefaultValue (0);
}

void CKickButton::draw (CDrawContext* context)
{
	if (CBitmap* bitmap = getDrawBackground ())
	{
		CPoint where (m_Offset.x, m_Offset.y + (getValue () == getMax () ? getHeightOfOneImage () : 0));
		context->drawBitmap (*bitmap, m_Size, where);
	}
	setDirty (false);
}

void CKickButton::showValue (float value)
{
	if (value == getValue ())
		return;
	setValue (value);
	invalid ();
}

CMouseEventResult CKickButton::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	beginEdit ();
	return onMouseMoved (where, buttons);
}

CMouseEventResult CKickButton::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton () || !isEditing ())
		return kMouseEventNotHandled;
	showValue (m_Size.pointInside (where) ? getMax () : getMin ());
	return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	if (!isEditing ())
		return kMouseEventNotHandled;
	// A release inside reports the press first, then the return to rest.
	if (getValue () != getMin ())
		valueChanged ();
	showValue (getMin ());
	valueChanged ();
	endEdit ();
	return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseCancel ()
{
	if (!isEditing ())
		return kMouseEventNotHandled;
	showValue (getMin ());
	endEdit ();
	return kMouseEventHandled;
}

} // namespace VSTGUI
