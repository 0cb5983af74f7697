// A description that places each of the framework's views, built by the real loader through
// the Processor's factory, driven through its parameters and rendered offscreen.
#include "customviewsfixture.h"

#include "editor/kickbuttonqv.h"
#include "editor/padcontrollerqv.h"
#include "editor/texteditqv.h"
#include "editor/textlabelqv.h"
#include "editor/vst3editorqv.h"
#include "editor/vumeterqv.h"
#include "editor/xypadqv.h"

#include "gui/cframe.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

using namespace VSTGUI;
using namespace customviewstest;

namespace {

CView* findView (CViewContainer* pRoot, const std::function<bool (CView*)>& test)
{
	for (int32_t i = 0; i < pRoot->getNbViews (); ++i)
	{
		CView* v = pRoot->getView (i);
		if (test (v))
			return v;
		if (auto* c = dynamic_cast<CViewContainer*> (v))
			if (CView* found = findView (c, test))
				return found;
	}
	return nullptr;
}

template <class T>
std::vector<T*> viewsOf (CViewContainer* pRoot)
{
	std::vector<T*> found;
	findView (pRoot, [&] (CView* v) {
		if (typeid (*v) == typeid (T))
			found.push_back (static_cast<T*> (v));
		return false;
	});
	return found;
}

class CEditRecorder : public Steinberg::Vst::IComponentHandler
{
public:
	Steinberg::tresult PLUGIN_API beginEdit (Steinberg::Vst::ParamID uId) override
	{
		return log ('b', uId, 0);
	}
	Steinberg::tresult PLUGIN_API performEdit (Steinberg::Vst::ParamID uId,
	                                           Steinberg::Vst::ParamValue d) override
	{
		return log ('p', uId, d);
	}
	Steinberg::tresult PLUGIN_API endEdit (Steinberg::Vst::ParamID uId) override { return log ('e', uId, 0); }
	Steinberg::tresult PLUGIN_API restartComponent (Steinberg::int32) override
	{
		return Steinberg::kResultOk;
	}
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID, void** obj) override
	{
		*obj = nullptr;
		return Steinberg::kNoInterface;
	}
	Steinberg::uint32 PLUGIN_API addRef () override { return 1; }
	Steinberg::uint32 PLUGIN_API release () override { return 1; }

	std::string m_Log; // kind and ID of every call: "b4 b5 p4 ..."
	std::vector<std::pair<Steinberg::Vst::ParamID, double>> m_Performed;

private:
	Steinberg::tresult log (char c, Steinberg::Vst::ParamID uId, double d)
	{
		m_Log += c + std::to_string (uId) + " ";
		if (c == 'p')
			m_Performed.emplace_back (uId, d);
		return Steinberg::kResultOk;
	}
};

class CustomViewLayout : public ::testing::Test
{
protected:
	void SetUp () override
	{
		m_pPlugIn = new CViewPlugIn ();
		m_Processor = makeProcessor (m_pPlugIn);
		m_Processor->setComponentHandler (&m_Edits);
		m_pEditor = new VST3EditorQV (m_Processor.get (), "Editor", KORVESSA_CUSTOMVIEWS_DESCRIPTION);
		m_pEditor->setPlugIn (m_pPlugIn);
		ASSERT_TRUE (m_pEditor->openOffscreen ());
		m_pFrame = m_pEditor->getFrame ();
	}
	void TearDown () override
	{
		m_pEditor->close ();
		m_pEditor->release ();
	}

	CEditRecorder m_Edits;
	CViewPlugIn* m_pPlugIn = nullptr;
	ProcessorPtr m_Processor;
	VST3EditorQV* m_pEditor = nullptr;
	CFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F (CustomViewLayout, EveryCustomViewIsBuiltAndBound)
{
	ASSERT_EQ (viewsOf<CKickButtonQV> (m_pFrame).size (), 1u);
	auto meters = viewsOf<CVuMeterQV> (m_pFrame);
	ASSERT_EQ (meters.size (), 3u);
	for (CVuMeterQV* pMeter : meters)
		EXPECT_EQ (pMeter->getTag (), kLevel); // given by the meter's class
	EXPECT_TRUE (meters[2]->m_bAnalog);
	auto pads = viewsOf<CXYPadQV> (m_pFrame);
	ASSERT_EQ (pads.size (), 2u);
	EXPECT_TRUE (pads[0]->m_bJoystick);
	EXPECT_FALSE (pads[1]->m_bJoystick);
	for (CXYPadQV* pPad : pads)
	{
		auto* pController = dynamic_cast<CPadControllerQV*> (pPad->getListener ());
		ASSERT_TRUE (pController);
		EXPECT_EQ (pController->getPad (), pPad);
		EXPECT_EQ (pController->getXParameterId (), static_cast<Steinberg::Vst::ParamID> (kPadX));
	}
	ASSERT_EQ (viewsOf<CTextLabelQV> (m_pFrame).size (), 1u);
	ASSERT_EQ (viewsOf<CTextEditQV> (m_pFrame).size (), 1u);
	// The units label with an empty tag is a plain label with its title.
	auto* pPlain = dynamic_cast<CTextLabel*> (findView (m_pFrame, [] (CView* v) {
		auto* l = dynamic_cast<CTextLabel*> (v);
		return l && l->getText () == "Plain title";
	}));
	ASSERT_TRUE (pPlain);
	EXPECT_EQ (typeid (*pPlain), typeid (CTextLabel));

	// The one unknown name went to the plug-in, with the editor as the listener of its tag.
	ASSERT_EQ (m_pPlugIn->m_Requests.size (), 1u);
	EXPECT_EQ (m_pPlugIn->m_Requests[0].m_sViewName, "PlugInView");
	EXPECT_EQ (m_pPlugIn->m_Requests[0].m_Record.m_nTag, kGain);
	EXPECT_EQ (m_pPlugIn->m_Requests[0].m_Record.m_pListener, static_cast<IControlListener*> (m_pEditor));
}

TEST_F (CustomViewLayout, ViewsFollowTheirParameters)
{
	m_Processor->setParamNormalized (kDelay, 0.25);
	m_Processor->setParamNormalized (kPan, 0.5);
	m_Processor->setParamNormalized (kPadX, 0.4);
	m_Processor->setParamNormalized (kPadY, 0.7);
	m_pEditor->updateControlsFromParameters ();

	Steinberg::Vst::String128 szText = {};
	m_Processor->getParamStringByValue (kDelay, 0.25, szText);
	std::string sDelay;
	for (int i = 0; szText[i]; ++i)
		sDelay += static_cast<char> (szText[i]);
	EXPECT_EQ (viewsOf<CTextLabelQV> (m_pFrame)[0]->getText (), sDelay + " msec");
	const std::string sPan = viewsOf<CTextEditQV> (m_pFrame)[0]->getText ();
	EXPECT_EQ (sPan.substr (sPan.size () - 4), "  dB");

	// Both pads show (0.4, 0.7) with y growing upwards: 0.3 from the top on screen.
	for (CXYPadQV* pPad : viewsOf<CXYPadQV> (m_pFrame))
	{
		float x, y;
		CXYPad::calculateXY (pPad->getValue (), x, y);
		EXPECT_FLOAT_EQ (x, 0.4f);
		EXPECT_NEAR (y, 0.3f, 0.0015f);
	}
}

TEST_F (CustomViewLayout, ATrackPadDragEditsBothParametersInOneGesture)
{
	CXYPadQV* pPad = viewsOf<CXYPadQV> (m_pFrame)[1];
	// Its container is at (140, 110); with a handle of 14 pixels the handle's centre moves over
	// 106 pixels from 7 pixels in.
	CPoint press (140 + 7 + 53, 110 + 7 + 53), to (140 + 7 + 26.5, 110 + 7 + 79.5);
	m_pFrame->platformMouseDown (press, kLButton);
	m_pFrame->platformMouseMoved (to, kLButton);
	m_pFrame->platformMouseUp (to, kLButton);
	EXPECT_FALSE (pPad->isEditing ());
	ASSERT_GE (m_Edits.m_Log.size (), 6u);
	EXPECT_EQ (m_Edits.m_Log.substr (0, 6), "b4 b5 ");
	EXPECT_EQ (m_Edits.m_Log.substr (m_Edits.m_Log.size () - 6), "e4 e5 ");
	EXPECT_NEAR (m_Processor->getParamNormalized (kPadX), 0.25, 0.002);
	EXPECT_NEAR (m_Processor->getParamNormalized (kPadY), 0.25, 0.002); // 3/4 down on screen
}

TEST_F (CustomViewLayout, RendersEveryView)
{
	m_pPlugIn->m_afMeter[kLevel] = 0.7f;
	m_Processor->setParamNormalized (kLevel, 0.7);
	m_Processor->setParamNormalized (kPadX, 0.3);
	m_Processor->setParamNormalized (kPadY, 0.6);
	m_pEditor->updateControlsFromParameters ();
	std::string sPath = std::string (KORVESSA_CUSTOMVIEWS_OUTPUT) + "/customviews.png";
	EXPECT_EQ (m_pEditor->writePng (sPath.c_str (), 2.0), Steinberg::kResultOk);
	// The LED meter lit 7 of 10 LEDs from the bottom: its top is dark, its bottom lit, and the
	// two differ.
	cairo_surface_t* s = m_pFrame->renderOffscreen (1.0);
	cairo_surface_flush (s);
	auto pixel = [s] (int x, int y) {
		return reinterpret_cast<uint32_t*> (cairo_image_surface_get_data (s) +
		                                    y * cairo_image_surface_get_stride (s))[x];
	};
	EXPECT_NE (pixel (68, 20), pixel (68, 85));
	cairo_surface_destroy (s);
}
