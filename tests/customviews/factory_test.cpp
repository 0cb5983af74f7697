// The custom view factory's answer for every name case, the attribute reading rules, the
// code 3 request, and the pad sub-controller names.
#include "customviewsfixture.h"

#include "editor/kickbuttonqv.h"
#include "editor/padcontrollerqv.h"
#include "editor/texteditqv.h"
#include "editor/textlabelqv.h"
#include "editor/vumeterqv.h"
#include "editor/xypadqv.h"

#include "gui/uiattributes.h"
#include "gui/uidescription.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace VSTGUI;
using namespace customviewstest;

namespace {

const char* const kDescription = R"(<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
  <colors><color name="Back" rgba="#102030ff"/></colors>
  <control-tags>
    <control-tag name="Delay" tag="0"/><control-tag name="Gain" tag="1"/><control-tag name="Pan" tag="2"/>
    <control-tag name="Level" tag="3"/><control-tag name="Far" tag="40"/>
  </control-tags>
</vstgui-ui-description>)";

class CustomViewFactory : public ::testing::Test
{
protected:
	void SetUp () override
	{
		m_pPlugIn = new CViewPlugIn ();
		m_Processor = makeProcessor (m_pPlugIn);
		ASSERT_TRUE (m_Description.parseText (kDescription));
	}
	// A view for the name and attributes; the answer is owned by the test.
	SharedPointer<CView> make (const char* szName, UIAttributes::Map attributes)
	{
		return owned (m_Processor->createCustomView (szName, UIAttributes (std::move (attributes)),
		                                             &m_Description, nullptr));
	}

	CViewPlugIn* m_pPlugIn = nullptr; // owned by the processor
	ProcessorPtr m_Processor;
	UIDescription m_Description{""};
};

const UIAttributes::Map kMeterAttributes = {{"origin", "5, 6"},    {"size", "17, 85"},
                                            {"bitmap", "vuledon"}, {"off-bitmap", "vuledoff"},
                                            {"num-led", "80"},     {"control-tag", "Level"}};

UIAttributes::Map without (UIAttributes::Map m, const char* szName)
{
	m.erase (szName);
	return m;
}

} // namespace

TEST_F (CustomViewFactory, EveryNameGetsItsViewOrGoesToThePlugIn)
{
	const UIAttributes::Map kick = {{"origin", "1, 2"},
	                                {"size", "34, 34"},
	                                {"bitmap", "bigrubberbutton"},
	                                {"control-tag", "Gain"},
	                                {"background-offset", "0, 0"}};
	const UIAttributes::Map pad = {{"origin", "0, 0"}, {"size", "100, 100"}};
	const UIAttributes::Map units = {
	    {"origin", "0, 0"}, {"size", "80, 20"}, {"title", "T"}, {"control-tag", "Delay"}};
	struct Case
	{
		const char* szName;
		UIAttributes::Map attributes;
		const std::type_info* pType; // null: no view
		size_t nRequests;            // code 3 messages it causes
	} cases[] = {
	    {"KestKickButton", kick, &typeid (CKickButtonQV), 0},
	    {"KestKickButtonU", kick, &typeid (CKickButtonQV), 0},
	    {"KestKickButtonDU", kick, &typeid (CKickButtonQV), 0},
	    {"KestKickButtonD", kick, &typeid (CKickButtonQV), 0},
	    {"kestkickbutton", kick, nullptr, 1},
	    {"TrackPad", pad, &typeid (CXYPadQV), 0},
	    {"Joystick", pad, &typeid (CXYPadQV), 0},
	    {"UnitsLabel", units, &typeid (CTextLabelQV), 0},
	    {"UnitsEdit", units, &typeid (CTextEditQV), 0},
	    {"UnitsLabel", {{"title", "Stereo"}, {"control-tag", ""}}, nullptr, 0},
	    {"UnitsLabel", {{"title", "Far"}, {"control-tag", "Far"}}, nullptr, 0},
	    {"MyAnalogMeterView_H94_Z60", kMeterAttributes, &typeid (CVuMeterQV), 0},
	    {"InvertedAnalogMeterView_H65_Z52", kMeterAttributes, &typeid (CVuMeterQV), 0},
	    {"MeterView", kMeterAttributes, &typeid (CVuMeterQV), 0},
	    {"InvertedMeterView", kMeterAttributes, &typeid (CVuMeterQV), 0},
	    {"MeterView", without (kMeterAttributes, "num-led"), nullptr, 1},
	    {"AnalogMeterView_H65_Z52", without (kMeterAttributes, "off-bitmap"), nullptr, 1},
	    {"MyMeterView", kMeterAttributes, nullptr, 1},
	    {"", kick, nullptr, 0},
	};
	for (const Case& c : cases)
	{
		size_t nBefore = m_pPlugIn->m_Requests.size ();
		SharedPointer<CView> view = make (c.szName, c.attributes);
		if (c.pType)
		{
			ASSERT_TRUE (view) << c.szName;
			EXPECT_EQ (typeid (*view.get ()), *c.pType) << c.szName;
		}
		else
			EXPECT_FALSE (view) << c.szName;
		EXPECT_EQ (m_pPlugIn->m_Requests.size () - nBefore, c.nRequests) << c.szName;
	}
	EXPECT_TRUE (m_pPlugIn->m_Other.empty ());
}

TEST_F (CustomViewFactory, ViewsAreConfiguredByTheirNames)
{
	const UIAttributes::Map kick = {{"origin", "0, 0"}, {"size", "34, 34"}};
	const std::pair<const char*, int32_t> modes[] = {
	    {"KestKickButton", 1}, {"KestKickButtonU", 1}, {"KestKickButtonDU", 0}, {"KestKickButtonD", 2}};
	for (const auto& mode : modes)
	{
		auto view = make (mode.first, kick);
		auto* pButton = dynamic_cast<CKickButtonQV*> (view.get ());
		ASSERT_TRUE (pButton) << mode.first;
		EXPECT_EQ (pButton->m_nMode, mode.second) << mode.first;
	}

	struct Meter
	{
		const char* szName;
		bool bAnalog, bInverted;
		double dHeight, dZero;
	} meters[] = {
	    {"MyAnalogMeterView_H94_Z60", true, false, 94, 60},
	    {"InvertedAnalogMeterView_H65_Z52", true, true, 65, 52},
	    {"AnalogMeterView_H32_Z40", true, false, 32, 40},
	    // Without the numbers in its name a meter keeps the geometry of "medanalogvumeter".
	    {"AnalogMeterView", true, false, 65, 52},
	    {"MeterView", false, false, 65, 52},
	    {"InvertedMeterView", false, true, 65, 52},
	};
	for (const Meter& m : meters)
	{
		auto view = make (m.szName, kMeterAttributes);
		auto* pMeter = dynamic_cast<CVuMeterQV*> (view.get ());
		ASSERT_TRUE (pMeter) << m.szName;
		EXPECT_EQ (pMeter->m_bAnalog, m.bAnalog) << m.szName;
		EXPECT_EQ (pMeter->m_bInverted, m.bInverted) << m.szName;
		EXPECT_EQ (pMeter->getNbLed (), 80) << m.szName;
		EXPECT_EQ (pMeter->m_dFrameHeight, m.dHeight) << m.szName;
		EXPECT_EQ (pMeter->m_dZeroFrame, m.dZero) << m.szName;
		EXPECT_EQ (pMeter->m_dFrameCount, 80.0) << m.szName;
		EXPECT_TRUE (pMeter->getOnBitmap () && pMeter->getOffBitmap ()) << m.szName;
		EXPECT_EQ (pMeter->getOnBitmap ()->getHeight (), 85) << m.szName; // "vuledon", loaded by name
		// The detector of the control named by the tag, at one step per repaint.
		EXPECT_EQ (pMeter->m_detector.m_fSampleRate, 20.0f) << m.szName;
		EXPECT_EQ (pMeter->m_detector.m_fReleaseMs, 250.0f) << m.szName;
		EXPECT_TRUE (pMeter->m_detector.m_bAnalogTC) << m.szName;
	}
	// A tag that names no control keeps the default detector.
	auto view = make ("MeterView", [] {
		UIAttributes::Map m = kMeterAttributes;
		m["control-tag"] = "Delayed";
		return m;
	}());
	EXPECT_EQ (dynamic_cast<CVuMeterQV*> (view.get ())->m_detector.m_fSampleRate, 44100.0f);
}

TEST_F (CustomViewFactory, UnitsViewsShowTheUnitsOfTheControlAtTheTagsPosition)
{
	auto label = make (
	    "UnitsLabel", {{"origin", "0, 0"}, {"size", "80, 20"}, {"title", "Delay"}, {"control-tag", "Delay"}});
	auto* pLabel = dynamic_cast<CTextLabelQV*> (label.get ());
	ASSERT_TRUE (pLabel);
	EXPECT_EQ (pLabel->m_units, "msec");
	EXPECT_EQ (pLabel->getText (), "Delay"); // the units show from the next text on
	EXPECT_EQ (pLabel->getTag (), -1);       // the label's class gives it its tag
	auto edit = make ("UnitsEdit",
	                  {{"origin", "0, 0"}, {"size", "80, 20"}, {"title", "Pan"}, {"control-tag", "Pan"}});
	auto* pEdit = dynamic_cast<CTextEditQV*> (edit.get ());
	ASSERT_TRUE (pEdit);
	EXPECT_EQ (pEdit->m_units, " dB");
	EXPECT_EQ (pEdit->getTag (), kPan);
	// The plug-in's own text is left as it is.
	EXPECT_STREQ (m_pPlugIn->m_controls.at (kGain)->m_szUnits, "dB \t");
}

TEST_F (CustomViewFactory, PointsColoursAndFlagsAreReadByTheFactorysRules)
{
	struct Point
	{
		const char* szText;
		CPoint expected;
	} points[] = {
	    {"12, 7", {12, 7}}, {"155 ,100", {155, 100}}, {"1.5, 2", {1, 2}}, {"100", {0, 0}}, {" 3,4", {3, 4}}};
	for (const Point& p : points)
	{
		auto view = make ("KestKickButton",
		                  {{"origin", p.szText}, {"size", "10, 20"}, {"background-offset", p.szText}});
		auto* pButton = dynamic_cast<CKickButtonQV*> (view.get ());
		ASSERT_TRUE (pButton) << p.szText;
		EXPECT_EQ (pButton->getViewSize (), CRect (p.expected, CPoint (10, 20))) << p.szText;
		EXPECT_EQ (pButton->getBackgroundOffset (), p.expected) << p.szText;
	}

	auto view = make ("TrackPad", {{"origin", "1, 2"},
	                               {"size", "50, 40"},
	                               {"back-color", "Back"},
	                               {"frame-color", "~ RedCColor"},
	                               {"font-color", "no such colour"},
	                               {"frame-width", "3"},
	                               {"round-rect-radius", "8"},
	                               {"style-round-rect", "true"},
	                               {"style-no-frame", "yes"}});
	auto* pPad = dynamic_cast<CXYPadQV*> (view.get ());
	ASSERT_TRUE (pPad);
	EXPECT_FALSE (pPad->m_bJoystick);
	EXPECT_EQ (pPad->getViewSize (), CRect (1, 2, 51, 42));
	EXPECT_EQ (pPad->getBackColor (), CColor (0x10, 0x20, 0x30, 0xff));
	EXPECT_EQ (pPad->getFrameColor (), kRedCColor);
	EXPECT_EQ (pPad->getFontColor (), kWhiteCColor); // unresolved: opaque white
	EXPECT_EQ (pPad->getFrameWidth (), 3);
	EXPECT_EQ (pPad->getRoundRectRadius (), 8);
	EXPECT_EQ (pPad->getStyle () & (kRoundRectStyle | kNoFrame), kRoundRectStyle);
}

TEST_F (CustomViewFactory, AViewWithoutItsAttributesIsStillMadeWithDefaults)
{
	auto kick = make ("KestKickButtonD", {});
	auto* pButton = dynamic_cast<CKickButtonQV*> (kick.get ());
	ASSERT_TRUE (pButton);
	EXPECT_EQ (pButton->getViewSize (), CRect ());
	EXPECT_EQ (pButton->getBackground (), nullptr);
	EXPECT_EQ (pButton->getTag (), -1);
	EXPECT_EQ (pButton->m_nMode, 2);

	// A pad keeps its own frame width and handle size; its colours start from opaque white.
	auto pad = make ("Joystick", {{"size", "60, 60"}});
	auto* pPad = dynamic_cast<CXYPadQV*> (pad.get ());
	ASSERT_TRUE (pPad);
	EXPECT_TRUE (pPad->m_bJoystick);
	EXPECT_GT (pPad->getRoundRectRadius (), 0);
	EXPECT_EQ (pPad->getBackColor (), kWhiteCColor);
	EXPECT_EQ (pPad->getStyle () & (kRoundRectStyle | kNoFrame), 0);

	// A bitmap that is not in the resources leaves the view without one.
	auto missing = make ("KestKickButton", {{"bitmap", "nosuchbitmap"}});
	EXPECT_EQ (dynamic_cast<CKickButtonQV*> (missing.get ())->getBackground (), nullptr);
}

TEST_F (CustomViewFactory, AnUnknownNameAsksThePlugInWithEveryMemberOfTheRequest)
{
	make ("PlugInKnob", {{"origin", "10, 20"},
	                     {"size", "30, 40"},
	                     {"control-tag", "Pan"},
	                     {"background-offset", "3, 4"},
	                     {"bitmap", "knob"},
	                     {"handle-bitmap", "handle"},
	                     {"off-bitmap", "off"},
	                     {"orientation", "vertical"},
	                     {"back-color", "Back"},
	                     {"font-color", "nonsense"},
	                     {"frame-width", "2"},
	                     {"round-rect-radius", "5"},
	                     {"style-no-frame", "true"},
	                     {"style-round-rect", "false"},
	                     {"height-of-one-image", "42"},
	                     {"sub-pixmaps", "80"}});
	ASSERT_EQ (m_pPlugIn->m_Requests.size (), 1u);
	const CViewRequest& r = m_pPlugIn->m_Requests[0];
	EXPECT_EQ (r.m_Record.m_uCode, kGuiCustomView);
	EXPECT_EQ (r.m_sViewName, "PlugInKnob");
	EXPECT_EQ (r.m_sText, "");
	EXPECT_EQ (r.m_Record.m_nTag, kPan);
	EXPECT_EQ (r.m_Record.m_nLeft, 10);
	EXPECT_EQ (r.m_Record.m_nTop, 20);
	EXPECT_EQ (r.m_Record.m_nBottom, 60);
	EXPECT_EQ (r.m_Record.m_nRight, 40);
	EXPECT_EQ (r.m_Record.m_nOffsetX, 3);
	EXPECT_EQ (r.m_Record.m_nOffsetY, 4);
	EXPECT_EQ (r.m_sBitmap, "knob.png");
	EXPECT_EQ (r.m_sHandleBitmap, "handle.png");
	EXPECT_EQ (r.m_sOffBitmap, ""); // only without a handle bitmap
	EXPECT_EQ (r.m_sOrientation, "vertical");
	EXPECT_TRUE (r.m_bBackColor);
	EXPECT_EQ (r.m_BackColor, CColor (0x10, 0x20, 0x30, 0xff));
	EXPECT_FALSE (r.m_bFrameColor);
	EXPECT_TRUE (r.m_bFontColor);
	EXPECT_EQ (r.m_FontColor, kWhiteCColor);
	EXPECT_EQ (r.m_Record.m_nFrameWidth, 2);
	EXPECT_EQ (r.m_Record.m_nRoundRectRadius, 5);
	EXPECT_TRUE (r.m_Record.m_bNoFrame);
	EXPECT_FALSE (r.m_Record.m_bRoundRect);
	EXPECT_EQ (r.m_Record.m_nHeightOfOneImage, 42);
	EXPECT_EQ (r.m_Record.m_nSubPixmaps, 80);
	EXPECT_EQ (r.m_Record.m_pEditor, nullptr);
	EXPECT_EQ (r.m_Record.m_pParentWindow, nullptr);
	EXPECT_EQ (r.m_Record.m_pModule, nullptr);
	EXPECT_FALSE (r.m_Record.m_bCustomEditor);
	EXPECT_EQ (r.m_Record.m_nWidth, 0);
	EXPECT_EQ (r.m_Record.m_nHeight, 0);

	// Missing attributes: zeros and empty texts; the tag keeps the last request's number.
	make ("PlugInKnob", {{"off-bitmap", "off"}});
	ASSERT_EQ (m_pPlugIn->m_Requests.size (), 2u);
	const CViewRequest& s = m_pPlugIn->m_Requests[1];
	EXPECT_EQ (s.m_Record.m_nTag, kPan);
	EXPECT_EQ (s.m_Record.m_pListener, nullptr);
	EXPECT_EQ (s.m_Record.m_nLeft + s.m_Record.m_nTop + s.m_Record.m_nBottom + s.m_Record.m_nRight, 0);
	EXPECT_EQ (s.m_sBitmap, "");
	EXPECT_EQ (s.m_sOffBitmap, "off.png");
	EXPECT_EQ (s.m_sOrientation, "");
	EXPECT_FALSE (s.m_bBackColor || s.m_bFrameColor || s.m_bFontColor);
	EXPECT_EQ (s.m_Record.m_nFrameWidth + s.m_Record.m_nSubPixmaps + s.m_Record.m_nHeightOfOneImage, 0);

	// The texts of a request are gone once it is answered; a later message points at none of them.
	m_Processor->receiveText ("VSTGUITimerPing");
	ASSERT_EQ (m_pPlugIn->m_Other.size (), 1u);
	EXPECT_EQ (m_pPlugIn->m_Other[0].m_uCode, kGuiTimerTick);
	EXPECT_EQ (m_pPlugIn->m_OtherBitmaps[0], "");
}

TEST_F (CustomViewFactory, PadSubControllersBindTheParametersTheirNamesGive)
{
	struct Case
	{
		const char* szName;
		bool bMade, bStock = false;
		Steinberg::Vst::ParamID uX = 0, uY = 0;
	} cases[] = {
	    {"VectorJoystick", true, true, 32773, 32774},
	    {"Joystick_X3_Y4", true, false, 3, 4},
	    {"MyJoystick_X4_Y5", true, false, 4, 5},
	    {"TrackPad_X0_Y1", true, false, 0, 1},
	    {"Joystick_Y4_X3", false}, // tried as a track pad name, which it is not
	    {"TrackPad_Y1_X0", false},
	    {"Joystick_X3", false},
	    {"VectorJoystick2", false},
	    {"Joystick_X3_Y99", false}, // no parameter 99
	    {"TrackPad_Xa_Y1", false},  // no number
	    {"", false},
	};
	for (const Case& c : cases)
	{
		std::unique_ptr<IController> controller (
		    m_Processor->createSubController (c.szName, &m_Description, nullptr));
		if (!c.bMade)
		{
			EXPECT_FALSE (controller) << c.szName;
			continue;
		}
		auto* pPad = dynamic_cast<PadController*> (controller.get ());
		ASSERT_TRUE (pPad) << c.szName;
		EXPECT_EQ (dynamic_cast<CPadControllerQV*> (pPad) == nullptr, c.bStock) << c.szName;
		EXPECT_EQ (pPad->getXParameterId (), c.uX) << c.szName;
		EXPECT_EQ (pPad->getYParameterId (), c.uY) << c.szName;
	}
}

TEST (CustomViewFactoryWithoutPlugIn, AnswersNothing)
{
	ProcessorPtr processor = makeProcessor (nullptr);
	UIDescription description ("");
	ASSERT_TRUE (description.parseText (kDescription));
	UIAttributes attributes (UIAttributes::Map{{"origin", "0, 0"}, {"size", "10, 10"}});
	EXPECT_EQ (processor->createCustomView ("KestKickButton", attributes, &description, nullptr), nullptr);
	EXPECT_EQ (processor->createSubController ("VectorJoystick", &description, nullptr), nullptr);
}
