// The framework's views on their own: kick-button reports under mouse input, the meter
// detector and the meters' geometry, the pad's encoding and diamond, the units texts.
#include "customviewsfixture.h"

#include "editor/kickbuttonqv.h"
#include "editor/meterdetector.h"
#include "editor/texteditqv.h"
#include "editor/textlabelqv.h"
#include "editor/vumeterqv.h"
#include "editor/xypadqv.h"

#include "gui/cframe.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace VSTGUI;
using namespace customviewstest;

namespace {

// A bitmap of one colour.
SharedPointer<CBitmap> solidBitmap (int nWidth, int nHeight, double r, double g, double b)
{
	cairo_surface_t* s = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, nWidth, nHeight);
	cairo_t* cr = cairo_create (s);
	cairo_set_source_rgb (cr, r, g, b);
	cairo_paint (cr);
	cairo_destroy (cr);
	return owned (new CBitmap (s, 1.0));
}

// The pixel (x, y) of an image as 0xRRGGBB.
uint32_t pixelAt (cairo_surface_t* s, int x, int y)
{
	cairo_surface_flush (s);
	auto* row = cairo_image_surface_get_data (s) + y * cairo_image_surface_get_stride (s);
	return reinterpret_cast<uint32_t*> (row)[x] & 0xffffff;
}

} // namespace

TEST (KickButton, ReportsByModeOnPressAndReleaseInsideOrOutside)
{
	struct Case
	{
		int32_t nMode;
		bool bReleaseInside;
		std::vector<float> reports;
	} cases[] = {
	    {0, true, {1, 0}}, {0, false, {1, 0}}, {1, true, {0}},
	    {1, false, {0}},   {2, true, {1}},     {2, false, {1}},
	};
	for (const Case& c : cases)
	{
		CRecordingListener listener;
		auto button = owned (new CKickButtonQV (CRect (0, 0, 20, 20), &listener, 7, nullptr, CPoint ()));
		button->m_nMode = c.nMode;
		CPoint press (10, 10), drag (30, 30), release = c.bReleaseInside ? CPoint (10, 10) : CPoint (30, 30);
		EXPECT_EQ (button->onMouseDown (press, kLButton), kMouseEventHandled);
		EXPECT_EQ (button->getValue (), 1.0f);
		button->onMouseMoved (drag, kLButton); // shows the rest state, reports nothing
		EXPECT_EQ (button->getValue (), 0.0f);
		EXPECT_EQ (button->onMouseUp (release, kLButton), kMouseEventHandled);
		EXPECT_EQ (listener.m_Values, c.reports)
		    << "mode " << c.nMode << (c.bReleaseInside ? " inside" : " outside");
		EXPECT_EQ (listener.m_Log, "be") << "mode " << c.nMode;
		EXPECT_EQ (button->getValue (), 0.0f);
	}
	CRecordingListener listener;
	auto button = owned (new CKickButtonQV (CRect (0, 0, 20, 20), &listener, 7, nullptr, CPoint ()));
	CPoint where (5, 5);
	EXPECT_EQ (button->onMouseDown (where, kRButton), kMouseEventNotHandled);
	EXPECT_EQ (button->onMouseUp (where, kLButton), kMouseEventNotHandled);
	EXPECT_TRUE (listener.m_Values.empty () && listener.m_Log.empty ());
}

TEST (MeterDetector, CoefficientsAndModes)
{
	CMeterDetector peak;
	peak.init (20.0f, 10.0f, 500.0f, false, 0, false);
	EXPECT_NEAR (peak.m_fAttackCoef, std::exp (-4.605170249938965 / 0.2), 1e-16);
	EXPECT_NEAR (peak.m_fReleaseCoef, std::exp (-4.605170249938965 / 10.0), 1e-6);
	EXPECT_NEAR (peak.m_fReleaseCoef, 0.631, 0.001);
	EXPECT_NEAR (peak.detect (-0.8f), 0.8f, 1e-6); // practically instant attack
	EXPECT_NEAR (peak.detect (0.0f), 0.8f * peak.m_fReleaseCoef, 1e-6);

	CMeterDetector analog;
	analog.init (20.0f, 10.0f, 500.0f, true, 0, false);
	EXPECT_NEAR (analog.m_fReleaseCoef, std::exp (-1.0023934841156006 / 10.0), 1e-6);

	CMeterDetector rms; // default coefficients 0: follows at once
	rms.m_uMode = 2;
	EXPECT_FLOAT_EQ (rms.detect (0.25f), 0.25f);
	CMeterDetector meanSquare;
	meanSquare.m_uMode = 1;
	EXPECT_FLOAT_EQ (meanSquare.detect (0.25f), 0.0625f);
	CMeterDetector clipped;
	EXPECT_EQ (clipped.detect (3.0f), 1.0f);
	EXPECT_EQ (clipped.detect (NAN), 0.0f);

	struct Log
	{
		float fIn, fOut;
	} logs[] = {{0.001f, 0.0f}, {0.0005f, 0.0f}, {0.0f, 0.0f}, {1.0f, 1.0f}, {0.1f, 2.0f / 3.0f}};
	for (const Log& l : logs)
	{
		CMeterDetector log;
		log.m_bLogOutput = true;
		EXPECT_NEAR (log.detect (l.fIn), l.fOut, 1e-5) << l.fIn;
	}
}

TEST (VuMeter, LedGeometryInEveryOrientation)
{
	auto on = solidBitmap (100, 100, 1, 0, 0);
	struct Case
	{
		bool bInverted;
		int32_t nStyle;
		CRect offRect, onRect;
		CPoint offOffset, onOffset;
	} cases[] = {
	    // 10 LEDs, 100 pixels, v = 0.25: 7.5 dark LEDs round up to 8.
	    {false, kVertical, {0, 0, 100, 80}, {0, 80, 100, 100}, {0, 0}, {0, 80}},
	    {true, kVertical, {0, 30, 100, 100}, {0, 0, 100, 30}, {0, 30}, {0, 0}},
	    {false, kHorizontal, {30, 0, 100, 100}, {0, 0, 30, 100}, {30, 0}, {0, 0}},
	    {true, kHorizontal, {0, 0, 80, 100}, {80, 0, 100, 100}, {0, 0}, {80, 0}},
	};
	for (const Case& c : cases)
	{
		auto meter =
		    owned (new CVuMeterQV (CRect (0, 0, 100, 100), on, nullptr, 10, c.bInverted, false, c.nStyle));
		CVuMeterQV::CLedLayout layout = meter->ledLayout (0.25f);
		EXPECT_EQ (layout.offRect, c.offRect) << c.bInverted << c.nStyle;
		EXPECT_EQ (layout.onRect, c.onRect) << c.bInverted << c.nStyle;
		EXPECT_EQ (layout.offOffset, c.offOffset) << c.bInverted << c.nStyle;
		EXPECT_EQ (layout.onOffset, c.onOffset) << c.bInverted << c.nStyle;
	}
}

TEST (VuMeter, DrawsTheLitPartFromTheOnBitmap)
{
	auto on = solidBitmap (17, 100, 1, 0, 0), off = solidBitmap (17, 100, 0, 0, 1);
	auto frame = owned (new CFrame (CRect (0, 0, 17, 100)));
	auto* pMeter = new CVuMeterQV (CRect (0, 0, 17, 100), on, off, 10, false, false, kVertical);
	frame->addView (pMeter);
	pMeter->setValue (0.25f);
	cairo_surface_t* s = frame->renderOffscreen (1.0);
	EXPECT_EQ (pixelAt (s, 8, 75), 0x0000ffu); // dark
	EXPECT_EQ (pixelAt (s, 8, 85), 0xff0000u); // lit
	cairo_surface_destroy (s);
	frame->removeAll ();
}

TEST (VuMeter, TwoLedsSwitchAtOneHalfWithoutDecay)
{
	auto meter = owned (new CVuMeterQV (CRect (0, 0, 17, 85), nullptr, nullptr, 2, false, false, kVertical));
	const std::pair<float, float> steps[] = {{0.5f, 1.0f}, {0.49f, 0.0f}, {1.0f, 1.0f}, {0.0f, 0.0f}};
	for (const auto& step : steps)
	{
		meter->setValue (step.first);
		EXPECT_EQ (meter->nextShownValue (), step.second) << step.first;
	}
	// With more LEDs the shown value falls by at most the decrease step per repaint.
	auto ten = owned (new CVuMeterQV (CRect (0, 0, 17, 85), nullptr, nullptr, 10, false, false, kVertical));
	ten->setValue (1.0f);
	EXPECT_EQ (ten->nextShownValue (), 1.0f);
	ten->setValue (0.0f);
	EXPECT_NEAR (ten->nextShownValue (), 0.9f, 1e-6);
}

TEST (VuMeter, AnalogFrameOffsets)
{
	struct Case
	{
		bool bInverted;
		float fEnvelope;
		double dOffset;
	} cases[] = {
	    {false, 0.0f, 0}, {false, 1.0f, 5135}, {false, 0.5f, 39 * 65}, {true, 0.0f, 3315}, {true, 1.0f, 0}};
	for (const Case& c : cases)
	{
		auto meter = owned (
		    new CVuMeterQV (CRect (0, 0, 122, 65), nullptr, nullptr, 80, c.bInverted, true, kVertical));
		EXPECT_EQ (meter->analogOffset (c.fEnvelope), c.dOffset) << c.bInverted << " " << c.fEnvelope;
	}
	auto flat = owned (new CVuMeterQV (CRect (0, 0, 122, 65), nullptr, nullptr, 80, false, true, kVertical));
	flat->setFrameHeight (0);
	EXPECT_EQ (flat->analogOffset (1.0f), 0);
}

TEST (XYPad, EncodingAndTheUpwardGrowingVerticalAxis)
{
	float x, y;
	CXYPad::calculateXY (CXYPad::calculateValue (0.25f, 0.75f), x, y);
	EXPECT_FLOAT_EQ (x, 0.25f);
	EXPECT_FLOAT_EQ (y, 0.75f);
	EXPECT_FLOAT_EQ (CXYPad::calculateValue (0.5f, 0.5f), 0.5f + 500 * 0.0000001f);

	// From the parameters the pad takes y' = 1 - y; the track pad clips, the joystick keeps
	// to its diamond.
	auto pad = owned (new CXYPadQV (CRect (0, 0, 100, 100)));
	pad->setValue (CXYPad::calculateValue (0.2f, 0.7f));
	CXYPad::calculateXY (pad->getValue (), x, y);
	EXPECT_FLOAT_EQ (x, 0.2f);
	EXPECT_NEAR (y, 0.3f, 0.0015f);

	auto stick = owned (new CXYPadQV (CRect (0, 0, 100, 100)));
	stick->m_bJoystick = true;
	stick->setValue (CXYPad::calculateValue (0.5f, 0.5f));
	float fCentre = stick->getValue ();
	CXYPad::calculateXY (fCentre, x, y);
	EXPECT_NEAR (x, 0.5f, 0.0015f);
	EXPECT_NEAR (y, 0.5f, 0.0015f);
	stick->setValue (CXYPad::calculateValue (0.9f, 0.9f)); // (0.9, 0.1) on screen: outside
	EXPECT_EQ (stick->getValue (), fCentre);

	const struct
	{
		float x, y;
		bool bInside;
	} points[] = {{0.5f, 0.5f, true},   {0.1f, 0.5f, true},    {0.2f, 0.2f, false},
	              {0.74f, 0.74f, true}, {0.76f, 0.76f, false}, {0.0f, 0.0f, false}};
	for (const auto& p : points)
		EXPECT_EQ (stick->isInside (p.x, p.y), p.bInside) << p.x << ", " << p.y;
}

TEST (XYPad, ACentredValueDrawsItsHandleInTheMiddle)
{
	auto frame = owned (new CFrame (CRect (0, 0, 100, 100)));
	auto* pPad = new CXYPadQV (CRect (0, 0, 100, 100));
	pPad->setRoundRectRadius (10);
	pPad->setBackColor (kBlackCColor);
	pPad->setFontColor (kRedCColor);
	frame->addView (pPad);
	pPad->setValue (0.5f + 500 * 0.0000001f);
	cairo_surface_t* s = frame->renderOffscreen (1.0);
	EXPECT_EQ (pixelAt (s, 50, 50), 0xff0000u);
	EXPECT_NE (pixelAt (s, 50, 40), 0xff0000u);
	EXPECT_NE (pixelAt (s, 40, 50), 0xff0000u);
	cairo_surface_destroy (s);
	frame->removeAll ();
}

TEST (XYPad, AJoystickDragStopsAtTheDiamond)
{
	CRecordingListener listener;
	auto stick = owned (new CXYPadQV (CRect (0, 0, 110, 110)));
	stick->m_bJoystick = true;
	stick->setRoundRectRadius (10);
	stick->setListener (&listener);
	CPoint centre (55, 55);
	ASSERT_EQ (stick->onMouseDown (centre, kLButton), kMouseEventHandled);
	EXPECT_EQ (listener.m_Log, "b"); // the gesture opens before the first report
	for (int i = 55; i >= 0; --i)
	{
		CPoint p (i, i);
		stick->onMouseMoved (p, kLButton);
	}
	CPoint corner (0, 0);
	stick->onMouseUp (corner, kLButton);
	EXPECT_EQ (listener.m_Log, "be");
	ASSERT_FALSE (listener.m_Values.empty ());
	float x, y;
	for (float v : listener.m_Values)
	{
		CXYPad::calculateXY (v, x, y);
		EXPECT_LE (std::fabs (x - 0.5f) + std::fabs (y - 0.5f), 0.5f + 1e-3f) << x << ", " << y;
	}
	// Towards the top-left corner: x falls, the reported y grows (upwards).
	CXYPad::calculateXY (listener.m_Values.back (), x, y);
	EXPECT_LT (x, 0.5f);
	EXPECT_GT (y, 0.5f);
	EXPECT_NEAR (x + (1 - y), 0.5f, 0.021f); // on the diamond's edge, within one drag step
	// The pad shows the screen position of the last report.
	float sx, sy;
	CXYPad::calculateXY (stick->getValue (), sx, sy);
	EXPECT_FLOAT_EQ (sx, x);
	EXPECT_NEAR (sy, 1 - y, 0.0015f);
}

TEST (UnitsViews, TrimmingAndDisplay)
{
	struct Case
	{
		const char* szUnits;
		const char* szShown;
	} cases[] = {{"msec", "10.00 msec"}, {"", "10.00"},      {"dB \t", "10.00 dB"}, {" dB", "10.00  dB"},
	             {"dB\n", "10.00 dB"},   {"  ", "10.00   "}, {nullptr, "10.00"}};
	for (const Case& c : cases)
	{
		auto label = owned (new CTextLabelQV (CRect (0, 0, 80, 20), "Title", nullptr, 0));
		label->setUnits (c.szUnits);
		EXPECT_EQ (label->getText (), "Title"); // no change until the next text
		label->setText ("10.00");
		EXPECT_EQ (label->getText (), c.szShown) << (c.szUnits ? c.szUnits : "(null)");
		auto edit = owned (new CTextEditQV (CRect (0, 0, 80, 20), nullptr, 1, "", nullptr, 0));
		edit->setUnits (c.szUnits);
		edit->setText ("10.00");
		EXPECT_EQ (edit->getText (), c.szShown) << (c.szUnits ? c.szUnits : "(null)");
	}
}
