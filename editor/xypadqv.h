// The framework's pad: a track pad, or a vector joystick whose handle stays inside the
// diamond through the middles of the four edges. Its listener sees the vertical axis growing
// upwards (y' = 1 - y), while the pad itself keeps the screen form (0 at the top). UI thread.
#pragma once

#include "gui/cxypad.h"

class CXYPadQV : public VSTGUI::CXYPad
{
public:
	explicit CXYPadQV(const VSTGUI::CRect& size);

	void draw(VSTGUI::CDrawContext* pContext) override;
	VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
	                                      const VSTGUI::CButtonState& buttons) override;
	VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
	VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where,
	                                       const VSTGUI::CButtonState& buttons) override;
	VSTGUI::CMouseEventResult onMouseCancel() override;
	// A value from the parameters (y growing upwards) unless a drag is in progress.
	void setValue(float fValue) override;

	// Even-odd crossing test of (x, y), in pad units with y = 0 at the top, against the diamond.
	bool isInside(float x, float y) const;

	bool m_bTracking;  // a left-button drag is in progress
	bool m_bJoystick;  // joystick drawing and the diamond limit
	float m_fPolyX[4]; // the diamond's vertices, pad units
	float m_fPolyY[4];
	float m_fLastX; // last position accepted inside the diamond
	float m_fLastY;
};
