// The framework's meter: an LED bar (normal or inverted, vertical or horizontal) or an analog
// needle drawn from a filmstrip, both smoothed by a CMeterDetector, one step per repaint.
// UI thread.
#pragma once

#include "meterdetector.h"

#include "gui/cvumeter.h"

class CVuMeterQV : public VSTGUI::CVuMeter
{
public:
	CVuMeterQV(const VSTGUI::CRect& size, VSTGUI::CBitmap* pOnBitmap, VSTGUI::CBitmap* pOffBitmap,
	           int32_t nNbLed, bool bInverted, bool bAnalog, int32_t nStyle);
	~CVuMeterQV() override;

	void setZeroFrame(double d) { m_dZeroFrame = d; }
	void setFrameHeight(double d) { m_dFrameHeight = d; }
	void setFrameCount(double d) { m_dFrameCount = d; }

	void draw(VSTGUI::CDrawContext* pContext) override;

	// Where an LED meter showing the value v draws its two bitmaps: into which rectangle,
	// from which offset of the bitmap.
	struct CLedLayout
	{
		VSTGUI::CRect offRect, onRect;
		VSTGUI::CPoint offOffset, onOffset;
	};
	CLedLayout ledLayout(float fShown) const;
	// The offset into the analog filmstrip (top of the frame shown) for the envelope e.
	double analogOffset(float fEnvelope) const;
	// One repaint's step of the shown value: the fall-back, then the detector (LED meters of
	// two LEDs switch at one half instead).
	float nextShownValue();

	bool m_bInverted;          // LED: lit from the top or the right; analog: the needle rests at Z
	bool m_bAnalog;            // analog filmstrip instead of an LED bar
	double m_dZeroFrame;       // Z: frame an inverted analog meter rests on
	double m_dFrameHeight;     // H: height of one analog frame, pixels
	double m_dFrameCount;      // N: analog frames in the filmstrip
	CMeterDetector m_detector; // smooths the shown value
};
