// A level meter of LEDs: the on bitmap (the view's background) shows the lit LEDs, the off
// bitmap the dark ones; the value is shown in whole LEDs and falls back by at most the
// decrease step per repaint, so peaks stay visible for a moment.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

/** Orientation styles of bar controls. */
enum CControlStyle : int32_t
{
	kHorizontal = 1 << 0,
	kVertical = 1 << 1,
};

class CVuMeter : public CControl
{
public:
	CVuMeter (const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, int32_t nbLed,
	          int32_t style = kVertical);
	~CVuMeter () override;

	void setOnBitmap (CBitmap* bitmap) { setBackground (bitmap); }
	CBitmap* getOnBitmap () const { return getBackground (); }
	void setOffBitmap (CBitmap* bitmap);
	CBitmap* getOffBitmap () const { return m_pOffBitmap; }
	void setNbLed (int32_t n) { m_nNbLed = n; }
	int32_t getNbLed () const { return m_nNbLed; }
	void setStyle (int32_t style) { m_nStyle = style; }
	int32_t getStyle () const { return m_nStyle; }
	/** Largest fall of the shown value per repaint, in value units. */
	void setDecreaseStepValue (float v) { m_fDecreaseValue = v; }
	float getDecreaseStepValue () const { return m_fDecreaseValue; }
	/** The value shown at the last repaint. */
	float getOldValue () const { return m_fOldValue; }
	void setOldValue (float v) { m_fOldValue = v; }

	void draw (CDrawContext* context) override;

protected:
	CBitmap* m_pOffBitmap = nullptr; // one reference held
	int32_t m_nNbLed;
	int32_t m_nStyle;
	float m_fDecreaseValue = 0.1f;
	float m_fOldValue = 0;
};

} // namespace VSTGUI
