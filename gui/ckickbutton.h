// A momentary button: its bitmap holds the released image above the pressed one. Pressing
// shows the maximum while the pointer stays inside; releasing returns to the minimum and
// reports both values, inside one edit gesture.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

class CKickButton : public CControl
{
public:
	CKickButton (const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
	             CBitmap* background = nullptr, const CPoint& offset = CPoint ());

	void setBackgroundOffset (const CPoint& p) { m_Offset = p; }
	const CPoint& getBackgroundOffset () const { return m_Offset; }
	/** Height of one of the two images; 0 means the view's height. */
	void setHeightOfOneImage (CCoord h) { m_dHeightOfOneImage = h; }
	CCoord getHeightOfOneImage () const
	{
		return m_dHeightOfOneImage > 0 ? m_dHeightOfOneImage : getHeight ();
	}

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;

protected:
	/** Sets a value and repaints when it changed. */
	void showValue (float value);

	CPoint m_Offset;
	CCoord m_dHeightOfOneImage = 0;
};

} // namespace VSTGUI
