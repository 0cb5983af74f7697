// The view toolkit on its own: the description loader, clipping, value texts and the stock
// controls' mouse, wheel and key handling.
#include "gui/canimknob.h"
#include "gui/cbitmap.h"
#include "gui/cframe.h"
#include "gui/ctextedit.h"
#include "gui/uidescription.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>

using namespace VSTGUI;

namespace {

// Counts what a control reports.
struct CListener : IController
{
	void valueChanged (CControl* c) override { values.push_back (c->getValueNormalized ()); }
	void controlBeginEdit (CControl*) override { ++begins; }
	void controlEndEdit (CControl*) override { ++ends; }
	std::vector<float> values;
	int begins = 0;
	int ends = 0;
};

const char* const kDescription = R"(<?xml version="1.0"?>
<vstgui-ui-description version="1">
  <colors><color name="OD" rgba="#B2C929ff"/></colors>
  <control-tags><control-tag name="Gain" tag="7"/><control-tag name="Bad" tag="x"/></control-tags>
  <template name="Main" class="CViewContainer" origin="0, 0" size="100 ,80" background-color="OD" transparent="false">
    <view class="CViewContainer" template="Group" origin="10, 20" size="40, 30" designer-note="kept"/>
    <view class="NoSuchClass" origin="0, 0" size="5, 5"/>
    <view class="CViewContainer" template="Loop" origin="0, 0" size="5, 5"/>
  </template>
  <template name="Group" class="CViewContainer" size="99, 99" background-color="~ RedCColor" transparent="false">
    <view class="CViewContainer" template="Inner" origin="0, -5" size="20, 10"/>
    <view class="CTextLabel" origin="0, 15" size="40, 15" title="Hi" control-tag="Gain" text-alignment=""/>
  </template>
  <template name="Inner" class="CViewContainer" size="1, 1" background-color="~ BlueCColor" transparent="false"/>
  <template name="Loop" class="CViewContainer" size="5, 5">
    <view class="CViewContainer" template="Loop" origin="0, 0" size="5, 5"/>
  </template>
</vstgui-ui-description>)";

uint32_t pixelAt (cairo_surface_t* s, int x, int y)
{
	cairo_surface_flush (s);
	return *reinterpret_cast<const uint32_t*> (cairo_image_surface_get_data (s) +
	                                           y * cairo_image_surface_get_stride (s) + 4 * x);
}

} // namespace

TEST (Description, TemplatesInsideTemplatesWithTheNodesAttributesOnTop)
{
	UIDescription description ("inline");
	ASSERT_TRUE (description.parseText (kDescription));
	CPoint size;
	ASSERT_TRUE (description.getTemplateSize ("Main", size));
	EXPECT_EQ (size, CPoint (100, 80));
	EXPECT_EQ (description.getTagForName ("Gain"), 7);
	EXPECT_EQ (description.getTagForName ("Bad"), -1);
	CColor c;
	EXPECT_TRUE (description.getColor ("OD", c));
	EXPECT_EQ (c, CColor (0xB2, 0xC9, 0x29, 0xff));
	EXPECT_TRUE (description.getColor ("~ BlueCColor", c));
	EXPECT_EQ (c, kBlueCColor);
	EXPECT_FALSE (description.getColor ("nope", c));

	CListener controller;
	CView* main = description.createView ("Main", &controller);
	ASSERT_NE (main, nullptr);
	auto* root = dynamic_cast<CViewContainer*> (main);
	ASSERT_NE (root, nullptr);
	// The unknown class is skipped; the self-instantiating template ends.
	ASSERT_EQ (root->getNbViews (), 2);
	CView* group = root->getView (0);
	EXPECT_EQ (group->getViewSize (), CRect (10, 20, 50, 50)); // the node's origin and size win
	std::string note;
	EXPECT_TRUE (group->getAttribute ("designer-note", note));
	EXPECT_EQ (note, "kept");
	auto* groupContainer = dynamic_cast<CViewContainer*> (group);
	ASSERT_EQ (groupContainer->getNbViews (), 2);
	EXPECT_EQ (groupContainer->getView (0)->getViewSize (), CRect (0, -5, 20, 5));
	auto* label = dynamic_cast<CTextLabel*> (groupContainer->getView (1));
	ASSERT_NE (label, nullptr);
	EXPECT_EQ (label->getText (), "Hi");
	EXPECT_EQ (label->getTag (), 7);
	EXPECT_EQ (label->getListener (), &controller);
	EXPECT_EQ (label->getHoriAlign (), kCenterText);
	main->forget ();

	EXPECT_EQ (description.createView ("Missing", &controller), nullptr);
	UIDescription broken ("inline");
	EXPECT_FALSE (broken.parseText ("<vstgui-ui-description"));
	EXPECT_FALSE (broken.parseText ("<other/>"));
	UIDescription missing ("/no/such/file.uidesc");
	EXPECT_FALSE (missing.parse ());
}

TEST (Description, PointTexts)
{
	struct Case
	{
		const char* text;
		bool ok;
		CPoint p;
	};
	for (const Case& c :
	     {Case{"155 ,100", true, {155, 100}}, Case{"0 ,0", true, {0, 0}}, Case{"1.5, 2", true, {1.5, 2}},
	      Case{" 12,7", true, {12, 7}}, Case{"100", false, {}}, Case{"a, b", false, {}}, Case{"", false, {}}})
	{
		CPoint p;
		EXPECT_EQ (UIAttributes::parsePoint (c.text, p), c.ok) << c.text;
		if (c.ok)
		{
			EXPECT_EQ (p, c.p) << c.text;
		}
	}
}

TEST (Drawing, ContainersClipTheirChildren)
{
	UIDescription description ("inline");
	ASSERT_TRUE (description.parseText (kDescription));
	CListener controller;
	auto frame = owned (new CFrame (CRect (0, 0, 100, 80)));
	frame->addView (description.createView ("Main", &controller));
	cairo_surface_t* image = frame->renderOffscreen (1.0);
	const uint32_t kBlue = 0xff0000ff, kRed = 0xffff0000, kOD = 0xffb2c929;
	// The inner view reaches 5 pixels above its group (y 15..19): the group clips that part.
	EXPECT_EQ (pixelAt (image, 15, 17), kOD);
	EXPECT_EQ (pixelAt (image, 15, 22), kBlue);
	EXPECT_EQ (pixelAt (image, 35, 22), kRed);
	cairo_surface_destroy (image);
	// Twice the pixels at scale 2, the same picture.
	image = frame->renderOffscreen (2.0);
	EXPECT_EQ (cairo_image_surface_get_width (image), 200);
	EXPECT_EQ (pixelAt (image, 30, 34), kOD);
	EXPECT_EQ (pixelAt (image, 30, 44), kBlue);
	cairo_surface_destroy (image);
}

namespace {
struct CKnobEditor : VSTGUIEditorInterface
{
	int32_t mode = kCircularMode;
	int32_t getKnobMode () const override { return mode; }
};

struct CKnobFixture
{
	CKnobFixture (int32_t mode)
	{
		editor.mode = mode;
		frame->setEditor (&editor);
		knob = new CAnimKnob (CRect (0, 0, 100, 100), &listener, 1, nullptr);
		knob->setZoomFactor (10);
		frame->addView (knob);
	}
	SharedPointer<CFrame> frame = owned (new CFrame (CRect (0, 0, 200, 200)));
	CKnobEditor editor;
	CListener listener;
	CAnimKnob* knob;
};
} // namespace

TEST (Knob, CircularModeTakesTheValueFromTheAngle)
{
	struct Case
	{
		CPoint click;
		float value;
	};
	// 135 degrees (7:30) is 0, straight up 0.5, 45 degrees (4:30) 1; the gap below snaps.
	const Case cases[] = {{{50, 0}, 0.5f}, {{0, 50}, 1.f / 6}, {{99, 50}, 5.f / 6}, {{15, 85}, 0.f},
	                      {{85, 85}, 1.f}, {{45, 99}, 0.f},    {{55, 99}, 1.f}};
	for (const Case& c : cases)
	{
		CKnobFixture f (kCircularMode);
		f.frame->platformMouseDown (c.click, kLButton);
		f.frame->platformMouseUp (c.click, kLButton);
		EXPECT_NEAR (f.knob->getValueNormalized (), c.value, 1e-3) << c.click.x << "," << c.click.y;
		EXPECT_EQ (f.listener.begins, 1);
		EXPECT_EQ (f.listener.ends, 1);
	}
}

TEST (Knob, RelativeCircularLinearWheelAndDefault)
{
	{
		CKnobFixture f (kRelativCircularMode);
		f.knob->setValueNormalized (0.5f);
		f.frame->platformMouseDown (CPoint (50, 0), kLButton); // no jump on the press
		EXPECT_FLOAT_EQ (f.knob->getValueNormalized (), 0.5f);
		f.frame->platformMouseMoved (CPoint (100, 50), kLButton); // a quarter turn clockwise
		EXPECT_NEAR (f.knob->getValueNormalized (), 0.5f + 90.f / 270.f, 1e-4);
		f.frame->platformMouseUp (CPoint (100, 50), kLButton);
	}
	{
		CKnobFixture f (kLinearMode);
		f.knob->setValueNormalized (0.5f);
		f.frame->platformMouseDown (CPoint (50, 50), kLButton);
		f.frame->platformMouseMoved (CPoint (50, 10), kLButton);
		EXPECT_NEAR (f.knob->getValueNormalized (), 0.7f, 1e-5);
		// Shift held from here on: ten times finer, without a jump.
		f.frame->platformMouseMoved (CPoint (50, 10), kLButton | kShift);
		f.frame->platformMouseMoved (CPoint (50, -30), kLButton | kShift);
		EXPECT_NEAR (f.knob->getValueNormalized (), 0.72f, 1e-5);
		f.frame->platformMouseMoved (CPoint (50, -3000), kLButton | kShift);
		EXPECT_FLOAT_EQ (f.knob->getValueNormalized (), 1.f);
		f.frame->platformMouseUp (CPoint (50, -3000), kLButton);
		EXPECT_EQ (f.listener.begins, 1);
		EXPECT_EQ (f.listener.ends, 1);

		f.knob->setValueNormalized (0.5f);
		f.frame->platformWheel (CPoint (50, 50), kMouseWheelAxisY, 1, 0);
		EXPECT_NEAR (f.knob->getValueNormalized (), 0.6f, 1e-6);
		f.frame->platformWheel (CPoint (50, 50), kMouseWheelAxisY, -1, kShift);
		EXPECT_NEAR (f.knob->getValueNormalized (), 0.59f, 1e-6);
		f.knob->setDefaultValue (0.25f);
		f.frame->platformMouseDown (CPoint (50, 50), kLButton | kControl);
		EXPECT_FLOAT_EQ (f.knob->getValue (), 0.25f);
	}
}

TEST (Knob, FilmstripFrameRoundsTheValue)
{
	CAnimKnob knob (CRect (0, 0, 42, 42), nullptr, 0, nullptr);
	knob.setNumSubPixmaps (80);
	for (auto [value, frame] :
	     {std::pair<float, int>{0.f, 0}, {1.f, 79}, {40.f / 79, 40}, {0.5f, 40}, {0.49f, 39}})
	{
		knob.setValueNormalized (value);
		EXPECT_EQ (knob.getFrameIndex (), frame) << value;
	}
}

TEST (TextEdit, ReturnCommitsEscapeDrops)
{
	auto frame = owned (new CFrame (CRect (0, 0, 100, 20)));
	CListener listener;
	auto* edit = new CTextEdit (CRect (0, 0, 100, 20), &listener, 3, "1.0");
	frame->addView (edit);
	frame->platformMouseDown (CPoint (5, 5), kLButton);
	ASSERT_TRUE (edit->isEditingText ());
	for (const char* key : {"x", "2"})
	{
		VstKeyCode code;
		code.character = key;
		frame->platformKeyDown (code);
	}
	VstKeyCode back;
	back.virt = VKEY_BACK;
	frame->platformKeyDown (back);
	VstKeyCode enter;
	enter.virt = VKEY_RETURN;
	frame->platformKeyDown (enter);
	EXPECT_FALSE (edit->isEditingText ());
	EXPECT_EQ (edit->getText (), "1.0x");
	EXPECT_EQ (listener.values.size (), 1u);

	frame->platformMouseDown (CPoint (5, 5), kLButton);
	VstKeyCode z;
	z.character = "z";
	frame->platformKeyDown (z);
	VstKeyCode escape;
	escape.virt = VKEY_ESCAPE;
	frame->platformKeyDown (escape);
	EXPECT_EQ (edit->getText (), "1.0x");
	EXPECT_EQ (listener.values.size (), 1u);
}

TEST (Bitmap, HighResolutionVariantForScaledDrawing)
{
	CBitmap::setResourceFolder (std::string (KORVESSA_BUNDLE_DIR) + "/Contents/Resources");
	auto knob = owned (new CBitmap ("sslblue"));
	ASSERT_TRUE (knob->isLoaded ());
	EXPECT_EQ (knob->getSize (), CPoint (42, 3360));
	double scale = 0;
	ASSERT_NE (knob->surfaceFor (2.0, scale), nullptr);
	EXPECT_EQ (scale, 2.0);
	knob->surfaceFor (1.0, scale);
	EXPECT_EQ (scale, 1.0);
	EXPECT_FALSE (owned (new CBitmap ("no-such-bitmap"))->isLoaded ());
}
