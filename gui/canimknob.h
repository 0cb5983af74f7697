// A knob drawn from a filmstrip: frame = value x (frames - 1), rounded. Dragging follows the
// editor's knob mode (circular, relative circular, linear); the zoom factor slows a drag made
// with Shift held; the wheel steps by the wheel increment; Ctrl-click (or a double click)
// returns to the default value.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

class CKnobBase : public CControl
{
public:
	CKnobBase (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background);

	void setStartAngle (float degrees) { m_fStartAngle = degrees; }
	float getStartAngle () const { return m_fStartAngle; }
	void setRangeAngle (float degrees) { m_fRangeAngle = degrees; }
	float getRangeAngle () const { return m_fRangeAngle; }
	void setZoomFactor (float f) { m_fZoomFactor = f > 0 ? f : 1; }
	float getZoomFactor () const { return m_fZoomFactor; }
	void setInsetValue (CCoord v) { m_dInsetValue = v; }

	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;

	/** Pixels of drag for the whole range in linear mode. */
	static constexpr CCoord kLinearRange = 200;

protected:
	/** Normalized value of a point's angle around the centre (circular mode). */
	float valueFromPoint (const CPoint& where) const;
	/** The angle, in degrees clockwise from 3 o'clock, of a point around the centre. */
	double angleOf (const CPoint& where) const;
	int32_t knobMode () const;

	float m_fStartAngle = 135; // degrees clockwise from 3 o'clock, value 0
	float m_fRangeAngle = 270; // degrees clockwise
	float m_fZoomFactor = 1.5f;
	CCoord m_dInsetValue = 0;

	// Drag state.
	CPoint m_FirstPoint;
	float m_fEntryValue = 0; // normalized, at the start of the drag (or modifier change)
	float m_fStartValue = 0; // normalized, at the mouse-down (for cancel)
	double m_dLastAngle = 0; // relative circular mode
	int32_t m_nModeAtDown = 0;
	int32_t m_nOldModifiers = 0;
	bool m_bDragging = false;
};

class CAnimKnob : public CKnobBase
{
public:
	CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
	           const CPoint& offset = CPoint ());

	void setNumSubPixmaps (int32_t n) { m_nSubPixmaps = n > 0 ? n : 1; }
	int32_t getNumSubPixmaps () const { return m_nSubPixmaps; }
	void setHeightOfOneImage (CCoord h) { m_dHeightOfOneImage = h; }
	CCoord getHeightOfOneImage () const { return m_dHeightOfOneImage; }
	void setInverseBitmap (bool b) { m_bInverseBitmap = b; }
	/** The filmstrip frame the current value shows. */
	int32_t getFrameIndex () const;

	void draw (CDrawContext* context) override;

private:
	int32_t m_nSubPixmaps = 1;
	CCoord m_dHeightOfOneImage = 0; // 0: the view's height
	bool m_bInverseBitmap = false;
	CPoint m_Offset;
};

} // namespace VSTGUI
