#include "kickbuttonqv.h"

using namespace VSTGUI;

CKickButtonQV::CKickButtonQV(const CRect& size, IControlListener* pListener, int32_t nTag,
                             CBitmap* pBackground, const CPoint& offset)
    : CKickButton(size, pListener, nTag, pBackground, offset)
    , m_nMode(0)
{}

CMouseEventResult CKickButtonQV::onMouseDown(CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton())
		return kMouseEventNotHandled;
	showValue(1.0f);
	beginEdit();
	if (m_nMode == 0 || m_nMode == 2)
		valueChanged();
	// From here on as the stock button: pressed while the pointer is inside.
	return CKickButton::onMouseMoved(where, buttons);
}

CMouseEventResult CKickButtonQV::onMouseUp(CPoint& where, const CButtonState& buttons)
{
	if (!isEditing())
		return kMouseEventNotHandled;
	// The release itself is the event: the value at rest, wherever the pointer is.
	showValue(getMin());
	if (m_nMode == 0 || m_nMode == 1)
		valueChanged();
	endEdit();
	return kMouseEventHandled;
}
