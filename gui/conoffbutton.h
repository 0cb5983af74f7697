// A two-state button: its bitmap holds the off image above the on image. A click (press and
// release inside) toggles between min and max.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

class COnOffButton : public CControl
{
public:
	COnOffButton (const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
	              CBitmap* background = nullptr);

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;

	void setBackgroundOffset (const CPoint& p) { m_Offset = p; }

private:
	CPoint m_Offset;
	bool m_bPressed = false;
};

} // namespace VSTGUI
