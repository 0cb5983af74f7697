// A two-axis pad: one value carries both positions (x in the thousandths, y in the
// ten-millionths, 1001 steps each). The handle is a circle of the round-rect radius's
// diameter, filled with the font colour over the display's background; a left-button drag
// moves it, inside one edit gesture.
#pragma once

#include "ctextlabel.h"

namespace VSTGUI {

class CXYPad : public CParamDisplay
{
public:
	explicit CXYPad (const CRect& size = CRect (0, 0, 0, 0));

	/** Both positions (0..1 each, y = 0 at the top) as one value, in single precision. */
	static float calculateValue (float x, float y);
	static void calculateXY (float value, float& x, float& y);

	/** Ends the drag when the pointer leaves the pad. */
	void setStopTrackingOnMouseExit (bool state) { m_bStopTrackingOnMouseExit = state; }
	bool getStopTrackingOnMouseExit () const { return m_bStopTrackingOnMouseExit; }

	void setValue (float value) override;
	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;

protected:
	/** The handle's rectangle for the current value. */
	CRect handleRect () const;
	static void boundValues (float& x, float& y);

	CPoint m_MouseStartPoint; // of the drag, relative to the handle's range
	CPoint m_LastMousePoint;
	bool m_bStopTrackingOnMouseExit = false;
};

} // namespace VSTGUI
