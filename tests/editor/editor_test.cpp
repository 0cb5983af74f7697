// The editor as a host gets it from the Processor, built offscreen from the shipped description:
// which editor is made, its layout, its pixels, its input and its messages to the plug-in.
#include "editorfixture.h"

#include "editor/kestcustomview.h"

#include "../common/allocationcount.h"
#include "../hostbinding/testplugin.h"

#include "gui/conoffbutton.h"
#include "gui/ctextlabel.h"
#include "gui/cvstguitimer.h"
#include "sdk/hosting/hostprocessdata.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <typeinfo>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace VSTGUI;
using namespace editortest;
using Zaze2VST3::Processor;

namespace {

const std::vector<CTestControl> kTwoControls = {
    {kKindParameter, kValueFloat, "Gain", 0.0f, 1.0f, 0.75f},
    {kKindParameter, kValueFloat, "Tone", 0.0f, 10.0f, 5.0f},
};

// A test plug-in that offers an editor with a chosen knob mode, and follows a change of its
// first control with a change of an unknown control and of its second control (ID 77).
class CEditorPlugIn : public CTestPlugIn
{
public:
	explicit CEditorPlugIn (int32_t nKnobMode = 2, bool bUseEditor = true)
	    : CTestPlugIn (kTwoControls)
	{
		m_bUseEditor = bUseEditor;
		m_nKnobMode = nKnobMode;
		m_controls.at (1)->m_uId = 77;
	}
	bool linkedChanges (uint32_t uId, float fValue, CLinkedChange*& list, bool bFlag) override
	{
		m_LinkedAsks.push_back ({uId, fValue});
		if (!m_bLink)
			return false;
		list = new CLinkedChange{1234, 3.0f, new CLinkedChange{77, 2.5f, nullptr}};
		return true;
	}
	void freeLinkedChanges (CLinkedChange*& list) override
	{
		++m_nFrees;
		CPlugIn::freeLinkedChanges (list);
	}
	std::vector<std::pair<uint32_t, float>> m_LinkedAsks;
	bool m_bLink = false;
	int m_nFrees = 0;
};

void tick (VST3Editor& editor)
{
	editor.notify (nullptr, CVSTGUITimer::kMsgTimer);
}

IPtr<IPlugView> editorOf (Processor& processor, const char* szType = "editor")
{
	return Steinberg::owned (processor.createView (szType));
}

VST3EditorQV* asQV (IPlugView* view)
{
	return dynamic_cast<VST3EditorQV*> (view);
}

} // namespace

TEST (EditorCreation, OnlyTheEditorTypeWithAnEditorOfferingPlugIn)
{
	ProcessorPtr pedal = makePedalProcessor ();
	EXPECT_NE (asQV (editorOf (*pedal)), nullptr);
	for (const char* szType : {"Editor", "editor ", "", "view"})
		EXPECT_EQ (editorOf (*pedal, szType), nullptr) << szType;
	EXPECT_EQ (pedal->createView (nullptr), nullptr);

	ProcessorPtr none = makeProcessorWith (nullptr);
	EXPECT_EQ (editorOf (*none), nullptr);

	auto* pNoEditor = new CEditorPlugIn (2, false);
	ProcessorPtr plain = makeProcessorWith (pNoEditor);
	EXPECT_EQ (editorOf (*plain), nullptr);
	EXPECT_TRUE (pNoEditor->m_GuiMessages.empty ()) << "no code 5 without an editor";

	auto* pPlugIn = new CEditorPlugIn ();
	ProcessorPtr processor = makeProcessorWith (pPlugIn);
	IPtr<IPlugView> view = editorOf (*processor);
	ASSERT_NE (asQV (view), nullptr);
	ASSERT_EQ (pPlugIn->m_GuiMessages.size (), 1u);
	EXPECT_EQ (pPlugIn->m_GuiMessages[0].m_uCode, kGuiQueryCustomEditor);
	EXPECT_FALSE (pPlugIn->m_GuiMessages[0].m_bCustomEditor);
	EXPECT_EQ (asQV (view)->m_pPlugIn, pPlugIn);
	EXPECT_EQ (asQV (view)->m_controlsCopy.count (), 2);
	EXPECT_EQ (asQV (view)->indexOfId (77), 1);
	EXPECT_EQ (asQV (view)->indexOfId (1), -1);
}

TEST (EditorCreation, KnobModeFollowsThePlugInOrTheHost)
{
	struct Case
	{
		int32_t nPlugInMode;
		int32 nHostMode; // -1: the host never set one
		int32_t nExpected;
	};
	// The host's mode is one setting for every controller: the unset cases run first.
	const Case cases[] = {
	    {0, -1, VSTGUI::kCircularMode},
	    {1, -1, VSTGUI::kRelativCircularMode},
	    {2, -1, VSTGUI::kLinearMode},
	    {3, -1, VSTGUI::kCircularMode},
	    {7, -1, VSTGUI::kLinearMode},
	    {-1, -1, VSTGUI::kLinearMode},
	    {3, Vst::kLinearMode, VSTGUI::kLinearMode},
	    {3, Vst::kRelativCircularMode, VSTGUI::kRelativCircularMode},
	    {3, Vst::kCircularMode, VSTGUI::kCircularMode},
	};
	for (const Case& c : cases)
	{
		ProcessorPtr processor = makeProcessorWith (new CEditorPlugIn (c.nPlugInMode));
		if (c.nHostMode >= 0)
			processor->setKnobMode (c.nHostMode);
		IPtr<IPlugView> view = editorOf (*processor);
		ASSERT_NE (asQV (view), nullptr);
		EXPECT_EQ (asQV (view)->m_nKnobMode, c.nPlugInMode);
		EXPECT_EQ (asQV (view)->getKnobMode (), c.nExpected) << c.nPlugInMode << " host " << c.nHostMode;
	}
	ProcessorPtr reset = makeProcessorWith (nullptr);
	reset->setKnobMode (Vst::kCircularMode);
}

TEST (EditorLayout, FixedSizeAtEveryScale)
{
	ProcessorPtr pedal = makePedalProcessor ();
	IPtr<IPlugView> view = editorOf (*pedal);
	ViewRect size;
	ASSERT_EQ (view->getSize (&size), kResultOk);
	EXPECT_EQ (size.getWidth (), 306);
	EXPECT_EQ (size.getHeight (), 426);
	EXPECT_EQ (view->canResize (), kResultFalse);
	ViewRect wish (10, 20, 500, 600);
	EXPECT_EQ (view->checkSizeConstraint (&wish), kResultTrue);
	EXPECT_EQ (std::make_tuple (wish.left, wish.top, wish.right, wish.bottom),
	           std::make_tuple (10, 20, 316, 446));
	EXPECT_EQ (view->onSize (&wish), kResultTrue);
	ViewRect other (0, 0, 400, 426);
	EXPECT_EQ (view->onSize (&other), kResultFalse);
	EXPECT_EQ (view->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID), kResultTrue);
	EXPECT_EQ (view->isPlatformTypeSupported (kPlatformTypeHWND), kResultFalse);

	FUnknownPtr<IPlugViewContentScaleSupport> scaling (view);
	ASSERT_TRUE (scaling);
	for (auto [fScale, nWidth, nHeight] :
	     {std::tuple<float, int, int>{2.f, 612, 852}, {1.5f, 459, 639}, {1.f, 306, 426}})
	{
		EXPECT_EQ (scaling->setContentScaleFactor (fScale), kResultTrue);
		view->getSize (&size);
		EXPECT_EQ (size.getWidth (), nWidth);
		EXPECT_EQ (size.getHeight (), nHeight);
	}
	EXPECT_EQ (scaling->setContentScaleFactor (0.f), kResultFalse);
}

TEST (EditorLayout, ControlsSitWhereThePanelPutsThem)
{
	ProcessorPtr pedal = makePedalProcessor ();
	IPtr<IPlugView> view = editorOf (*pedal);
	VST3EditorQV* editor = asQV (view);
	ASSERT_TRUE (editor->openOffscreen ());
	CFrame* frame = editor->getFrame ();
	EXPECT_EQ (frame->getViewSize (), CRect (0, 0, 306, 426));

	struct Case
	{
		int32_t nTag;
		bool bKnob;
		const char* szBitmap;
		CRect rect; // frame coordinates
	};
	const Case cases[] = {
	    {5, true, "sslblue", CRect (46, 57, 88, 99)},               // Trim
	    {4, true, "sslblue", CRect (131, 57, 173, 99)},             // Tone -> Mids
	    {3, true, "sslblue", CRect (211, 57, 253, 99)},             // Volume
	    {15, true, "whitedust", CRect (90, 125, 132, 167)},         // NG Threshold
	    {0, true, "sslblue", CRect (171, 122, 213, 164)},           // Distortion
	    {19, true, "sslblue", CRect (46, 187, 88, 229)},            // LowCut -> Incap Cut
	    {7, true, "sslblue", CRect (211, 187, 253, 229)},           // Peak2 Cap -> VariCap
	    {9, false, "medtoggleswitch", CRect (49, 286, 91, 328)},    // StereoMono
	    {10, false, "medtoggleswitch", CRect (214, 286, 256, 328)}, // LeftRight
	    {6, false, "medtoggleswitch", CRect (134, 347, 176, 389)},  // Guitar Type
	    {18, false, "medprophetbutton", CRect (28, 352, 53, 387)},  // LowCut On -> IncapFilter
	    {8, false, "medprophetbutton", CRect (253, 349, 278, 384)}, // Peak2
	};
	for (const Case& c : cases)
	{
		CControl* control = findControl (frame, c.nTag);
		ASSERT_NE (control, nullptr) << c.nTag;
		EXPECT_EQ (frameRect (control), c.rect) << c.nTag;
		EXPECT_EQ (dynamic_cast<CAnimKnob*> (control) != nullptr, c.bKnob) << c.nTag;
		EXPECT_EQ (dynamic_cast<COnOffButton*> (control) != nullptr, !c.bKnob) << c.nTag;
		ASSERT_NE (control->getBackground (), nullptr) << c.nTag;
		EXPECT_EQ (control->getBackground ()->getName (), c.szBitmap) << c.nTag;
		EXPECT_EQ (control->getListener (), editor) << c.nTag;
		if (auto* knob = dynamic_cast<CAnimKnob*> (control))
		{
			EXPECT_EQ (knob->getNumSubPixmaps (), 80);
			EXPECT_FLOAT_EQ (knob->getZoomFactor (), 10.f);
		}
		// The toggles reach above their group, which clips them.
		if (std::strcmp (c.szBitmap, "medtoggleswitch") == 0)
		{
			EXPECT_LT (control->getViewSize ().top, 0) << c.nTag;
			EXPECT_TRUE (control->getParentView ()->isContainer ());
		}
	}
	EXPECT_EQ (editor->getBoundControlCount (), 12u);

	// The seven captions are plain labels with their titles, bound to nothing.
	for (const char* szTitle : {"Stereo", "Mono", "Left", "Right", "Guitar", "Bass", "v.0.0.1.0"})
	{
		auto* label = dynamic_cast<CTextLabel*> (findView (frame, [szTitle] (CView* v) {
			auto* l = dynamic_cast<CTextLabel*> (v);
			return l && l->getText () == szTitle;
		}));
		ASSERT_NE (label, nullptr) << szTitle;
		EXPECT_EQ (typeid (*label), typeid (CTextLabel)) << szTitle;
		EXPECT_EQ (label->getTag (), -1) << szTitle;
		EXPECT_TRUE (label->getTransparency ());
	}
	editor->close ();
}

namespace {
// The pixels of a rectangle of an image, as 32-bit words.
std::vector<uint32_t> pixels (cairo_surface_t* s, const CRect& r)
{
	cairo_surface_flush (s);
	std::vector<uint32_t> out;
	const unsigned char* data = cairo_image_surface_get_data (s);
	int stride = cairo_image_surface_get_stride (s);
	for (int y = static_cast<int> (r.top); y < r.bottom; ++y)
		for (int x = static_cast<int> (r.left); x < r.right; ++x)
			out.push_back (*reinterpret_cast<const uint32_t*> (data + y * stride + 4 * x));
	return out;
}

// Largest difference of one colour channel between two equally sized pixel runs.
int maxChannelDifference (const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
	int worst = 0;
	for (size_t i = 0; i < a.size () && i < b.size (); ++i)
		for (int shift = 0; shift < 32; shift += 8)
			worst = std::max (worst, std::abs (static_cast<int> ((a[i] >> shift) & 0xff) -
			                                   static_cast<int> ((b[i] >> shift) & 0xff)));
	return worst;
}

// The panel artwork under a rectangle with one frame of a knob filmstrip over it.
cairo_surface_t* expectedKnob (const CRect& r, const char* szStrip, int nFrame)
{
	cairo_surface_t* out = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, static_cast<int> (r.right),
	                                                   static_cast<int> (r.bottom));
	cairo_t* cr = cairo_create (out);
	cairo_surface_t* panel =
	    cairo_image_surface_create_from_png ((resourceFolder () + "korvessa.png").c_str ());
	cairo_surface_t* strip =
	    cairo_image_surface_create_from_png ((resourceFolder () + szStrip + ".png").c_str ());
	cairo_set_source_surface (cr, panel, 0, 0);
	cairo_paint (cr);
	cairo_rectangle (cr, r.left, r.top, r.getWidth (), r.getHeight ());
	cairo_clip (cr);
	cairo_set_source_surface (cr, strip, r.left, r.top - r.getHeight () * nFrame);
	cairo_paint (cr);
	cairo_destroy (cr);
	cairo_surface_destroy (panel);
	cairo_surface_destroy (strip);
	return out;
}
} // namespace

TEST (EditorPixels, KnobShowsTheFrameOfItsParameter)
{
	ProcessorPtr pedal = makePedalProcessor ();
	IPtr<IPlugView> view = editorOf (*pedal);
	VST3EditorQV* editor = asQV (view);
	ASSERT_TRUE (editor->openOffscreen ());
	// The Trim knob, below its label's line.
	const CRect knob (46, 61, 88, 99);
	for (int nFrame : {0, 13, 40, 79})
	{
		// A host-side change reaches the knob with the next tick.
		pedal->setParamNormalized (5, nFrame / 79.0);
		tick (*editor);
		auto* control = dynamic_cast<CAnimKnob*> (findControl (editor->getFrame (), 5));
		ASSERT_NE (control, nullptr);
		EXPECT_EQ (control->getFrameIndex (), nFrame);
		cairo_surface_t* drawn = editor->getFrame ()->renderOffscreen (1.0);
		cairo_surface_t* expected = expectedKnob (CRect (46, 57, 88, 99), "sslblue", nFrame);
		EXPECT_LE (maxChannelDifference (pixels (drawn, knob), pixels (expected, knob)), 2)
		    << "frame " << nFrame;
		// ...and differs from the neighbouring frame's picture.
		cairo_surface_t* other = expectedKnob (CRect (46, 57, 88, 99), "sslblue", nFrame == 79 ? 0 : 79);
		EXPECT_GT (maxChannelDifference (pixels (drawn, knob), pixels (other, knob)), 40);
		cairo_surface_destroy (other);
		cairo_surface_destroy (expected);
		cairo_surface_destroy (drawn);
	}
	editor->close ();
}

namespace {
struct COpenPedal
{
	COpenPedal ()
	{
		processor->setComponentHandler (&recorder);
		view = editorOf (*processor);
		editor = asQV (view);
		EXPECT_TRUE (editor && editor->openOffscreen ());
	}
	~COpenPedal ()
	{
		if (editor)
			editor->close ();
	}
	CPoint centreOf (int32_t nTag)
	{
		return frameRect (findControl (editor->getFrame (), nTag)).getCenter ();
	}
	void drag (int32_t nTag, double dUp, int32_t nModifiers)
	{
		CFrame* frame = editor->getFrame ();
		CPoint c = centreOf (nTag);
		frame->platformMouseDown (c, kLButton | nModifiers);
		for (int i = 1; i <= 4; ++i)
			frame->platformMouseMoved (CPoint (c.x, c.y - dUp * i / 4), kLButton | nModifiers);
		frame->platformMouseUp (CPoint (c.x, c.y - dUp), kLButton | nModifiers);
	}
	CEditRecorder recorder; // outlives the processor, which releases it
	ProcessorPtr processor = makePedalProcessor ();
	IPtr<IPlugView> view;
	VST3EditorQV* editor = nullptr;
};
} // namespace

TEST (EditorInput, DraggingToneEditsMidsLinearlyAndShiftIsTenTimesFiner)
{
	COpenPedal pedal;
	ASSERT_EQ (pedal.editor->getKnobMode (), VSTGUI::kLinearMode);
	struct Case
	{
		int32_t nModifiers;
		double dStep; // normalized change of a 20-pixel drag upwards
	};
	for (const Case& c : {Case{0, 0.1}, Case{kShift, 0.01}})
	{
		pedal.recorder.m_Edits.clear ();
		const double dBefore = pedal.processor->getParamNormalized (4);
		pedal.drag (4, 20, c.nModifiers);
		const auto& edits = pedal.recorder.m_Edits;
		ASSERT_GE (edits.size (), 3u);
		EXPECT_EQ (edits.front (), (CEdit{'b', 4, 0}));
		EXPECT_EQ (edits.back (), (CEdit{'e', 4, 0}));
		EXPECT_EQ (pedal.recorder.editedParameters (), std::vector<ParamID>{4});
		EXPECT_NEAR (edits[edits.size () - 2].dValue, dBefore + c.dStep, 1e-6);
		EXPECT_NEAR (pedal.processor->getParamNormalized (4), dBefore + c.dStep, 1e-6);
	}
}

TEST (EditorInput, ClickOnLowCutOnTogglesIncapFilter)
{
	COpenPedal pedal;
	const double dBefore = pedal.processor->getParamNormalized (18);
	CPoint c = pedal.centreOf (18);
	CFrame* frame = pedal.editor->getFrame ();
	for (double dExpected : {1.0 - dBefore, dBefore})
	{
		pedal.recorder.m_Edits.clear ();
		frame->platformMouseDown (c, kLButton);
		frame->platformMouseUp (c, kLButton);
		ASSERT_EQ (pedal.recorder.m_Edits.size (), 3u);
		EXPECT_EQ (pedal.recorder.m_Edits[0], (CEdit{'b', 18, 0}));
		EXPECT_EQ (pedal.recorder.m_Edits[1].uId, 18u);
		EXPECT_DOUBLE_EQ (pedal.recorder.m_Edits[1].dValue, dExpected);
		EXPECT_EQ (pedal.recorder.m_Edits[2], (CEdit{'e', 18, 0}));
	}
	// A press released outside the button changes nothing.
	pedal.recorder.m_Edits.clear ();
	frame->platformMouseDown (c, kLButton);
	frame->platformMouseUp (CPoint (c.x + 100, c.y), kLButton);
	EXPECT_TRUE (pedal.recorder.m_Edits.empty ());
}

TEST (EditorInput, LinkedChangesEditOnlyKnownControls)
{
	auto* pPlugIn = new CEditorPlugIn ();
	ProcessorPtr processor = makeProcessorWith (pPlugIn);
	CEditRecorder recorder;
	processor->setComponentHandler (&recorder);
	IPtr<IPlugView> view = editorOf (*processor);
	VST3EditorQV* editor = asQV (view);
	ASSERT_NE (editor, nullptr);

	auto control = VSTGUI::owned (new CControl (CRect (0, 0, 10, 10), editor, 0));
	control->setValueNormalized (0.5f);

	// The base answer (false): the change reaches its own parameter only.
	editor->valueChanged (control);
	ASSERT_EQ (pPlugIn->m_LinkedAsks.size (), 1u);
	EXPECT_EQ (pPlugIn->m_LinkedAsks[0].first, 0u);
	EXPECT_FLOAT_EQ (pPlugIn->m_LinkedAsks[0].second, 0.5f);
	EXPECT_TRUE (recorder.m_Edits.empty ());
	EXPECT_EQ (pPlugIn->m_nFrees, 0);

	// A list with an unknown ID and ID 77 (position 1): only position 1 changes.
	pPlugIn->m_bLink = true;
	editor->valueChanged (control);
	const double dExpected = processor->plainParamToNormalized (1, 2.5);
	ASSERT_EQ (recorder.m_Edits.size (), 1u);
	EXPECT_EQ (recorder.m_Edits[0], (CEdit{'p', 1, 0}));
	EXPECT_DOUBLE_EQ (recorder.m_Edits[0].dValue, dExpected);
	EXPECT_DOUBLE_EQ (processor->getParamNormalized (1), dExpected);
	EXPECT_EQ (pPlugIn->m_nFrees, 1);
	processor->setComponentHandler (nullptr);
}

TEST (EditorMessages, TimerPingsAndRepaintsRecreationReopens)
{
	auto* pPlugIn = new CEditorPlugIn ();
	ProcessorPtr processor = makeProcessorWith (pPlugIn);
	IPtr<IPlugView> view = editorOf (*processor);
	VST3EditorQV* editor = asQV (view);
	ASSERT_TRUE (editor->openOffscreen ());
	auto codes = [&] () {
		std::vector<uint32_t> c;
		for (const auto& m : pPlugIn->m_GuiMessages)
			c.push_back (m.m_uCode);
		return c;
	};
	EXPECT_EQ (codes (), (std::vector<uint32_t>{kGuiQueryCustomEditor, kGuiEditorOpened}));
	for (int i = 0; i < 3; ++i)
	{
		editor->getFrame ()->repaintDone ();
		tick (*editor);
		EXPECT_TRUE (editor->getFrame ()->needsRepaint ());
	}
	EXPECT_EQ (codes ().size (), 5u);
	EXPECT_EQ (codes ().back (), kGuiTimerTick);

	editor->requestRecreateView ();
	tick (*editor);
	EXPECT_EQ (codes ().back (), kGuiEditorOpened);
	EXPECT_EQ (codes ()[codes ().size () - 2], kGuiTimerTick);
	EXPECT_FALSE (editor->isRecreateViewPending ());
	EXPECT_GT (editor->getFrame ()->getNbViews (), 0);
	const CGuiMessageRecord& reopened = pPlugIn->m_GuiMessages.back ();
	EXPECT_STREQ (reopened.m_szViewName, "");
	EXPECT_EQ (reopened.m_pListener, nullptr);

	editor->close ();
	EXPECT_EQ (codes ().back (), kGuiEditorClosing);

	// Without a plug-in the tick still repaints.
	ProcessorPtr bare = makeProcessorWith (nullptr);
	auto lone = Steinberg::owned (new VST3EditorQV (bare.get (), "Editor", "kest.uidesc"));
	ASSERT_TRUE (lone->openOffscreen ());
	lone->getFrame ()->repaintDone ();
	tick (*lone);
	EXPECT_TRUE (lone->getFrame ()->needsRepaint ());
	lone->close ();
}

TEST (EditorMessages, MissingDescriptionGivesNoEditorWindow)
{
	ProcessorPtr pedal = makePedalProcessor ();
	auto editor = Steinberg::owned (new VST3EditorQV (pedal.get (), "Editor", "no-such.uidesc"));
	EXPECT_FALSE (editor->isDescriptionLoaded ());
	EXPECT_FALSE (editor->openOffscreen ());
	auto wrongTemplate = Steinberg::owned (new VST3EditorQV (pedal.get (), "NoTemplate", "kest.uidesc"));
	EXPECT_FALSE (wrongTemplate->openOffscreen ());
}

TEST (EditorRealTime, ProcessAllocatesNothingWhileTheEditorTicks)
{
	COpenPedal pedal;
	HostProcessData data;
	ASSERT_TRUE (data.prepare (*pedal.processor, 256));
	data.setNumSamples (256);
	for (int nBlock = 0; nBlock < 20; ++nBlock)
	{
		for (int c = 0; c < 2; ++c)
			for (int i = 0; i < 256; ++i)
				data.inputChannel (0, c)[i] = 0.3f * std::sin (0.01f * (i + 256 * nBlock));
		{
			CAllocationCount count;
			ASSERT_EQ (pedal.processor->process (data), kResultOk);
			EXPECT_EQ (count.count (), 0u) << "block " << nBlock;
		}
		// The UI thread's share between blocks: a tick, a knob turn, a repaint.
		tick (*pedal.editor);
		pedal.drag (0, 3, 0);
		cairo_surface_destroy (pedal.editor->getFrame ()->renderOffscreen (1.0));
	}
}

namespace {
// A plug-in that draws its own editor: it asks for the shell and builds "its editor" on code 6.
class CDrawingPlugIn : public CEditorPlugIn
{
public:
	void* editorMessage (CGuiMessageRecord* message) override
	{
		CTestPlugIn::editorMessage (message);
		if (message->m_uCode == kGuiQueryCustomEditor)
			message->m_bCustomEditor = true;
		if (message->m_uCode == kGuiOpenCustomEditor)
			return m_bBuild ? this : nullptr;
		return nullptr;
	}
	bool m_bBuild = true;
};
} // namespace

TEST (EditorCreation, PlugInDrawnEditorShell)
{
	for (bool bBuild : {true, false})
	{
		auto* pPlugIn = new CDrawingPlugIn ();
		pPlugIn->m_bBuild = bBuild;
		ProcessorPtr processor = makeProcessorWith (pPlugIn);
		IPtr<IPlugView> view = editorOf (*processor);
		auto* shell = dynamic_cast<Zaze2VST3::CKestCustomView*> (view.get ());
		ASSERT_NE (shell, nullptr);
		EXPECT_EQ (shell->m_pPlugIn, pPlugIn);
		ViewRect size;
		view->getSize (&size);
		EXPECT_EQ (size.getWidth (), 100);
		int nHostWindow = 0; // the shell only hands the host's window on
		EXPECT_EQ (view->attached (&nHostWindow, kPlatformTypeX11EmbedWindowID),
		           bBuild ? kResultOk : kResultFalse);
		std::vector<uint32_t> codes;
		for (const auto& m : pPlugIn->m_GuiMessages)
			codes.push_back (m.m_uCode);
		const int32 nParameters = processor->getParameterCount ();
		std::vector<uint32_t> expected{kGuiQueryCustomEditor, kGuiOpenCustomEditor};
		if (bBuild)
			expected.insert (expected.end (), static_cast<size_t> (nParameters), kGuiParameterChanged);
		EXPECT_EQ (codes, expected);
		EXPECT_EQ (pPlugIn->m_GuiMessages[1].m_pParentWindow, &nHostWindow);
		EXPECT_EQ (pPlugIn->m_GuiMessages[1].m_pParamConnector,
		           static_cast<Zaze2VST3::CVSTParameterConnector*> (shell));
		if (!bBuild)
			continue;
		EXPECT_EQ (pPlugIn->m_GuiMessages.back ().m_nIndex, nParameters - 1);
		ASSERT_NE (shell->getFrame (), nullptr);
		EXPECT_EQ (shell->getFrame ()->getViewSize (), CRect (0, 0, 0, 0));
		EXPECT_EQ (view->removed (), kResultOk);
		EXPECT_EQ (pPlugIn->m_GuiMessages.back ().m_uCode, kGuiCloseCustomEditor);
		EXPECT_EQ (pPlugIn->m_GuiMessages.back ().m_pParentWindow, &nHostWindow);
	}
}
