#include "uiviewfactory.h"

#include "canimknob.h"
#include "ckickbutton.h"
#include "conoffbutton.h"
#include "ctextedit.h"
#include "ctextlabel.h"
#include "cviewcontainer.h"
#include "cvumeter.h"
#include "cxypad.h"
#include "uidescription.h"

namespace VSTGUI {

namespace {

const CRect kDefaultRect (0, 0, 100, 20);

// Attribute readers shared by the classes.
bool readColor (const UIAttributes& a, const char* name, const IUIDescription* d, CColor& c)
{
	const std::string* v = a.getAttributeValue (name);
	return v && !v->empty () && d && d->getColor (*v, c);
}

CBitmap* readBitmap (const UIAttributes& a, const char* name, const IUIDescription* d)
{
	const std::string* v = a.getAttributeValue (name);
	return (v && !v->empty () && d) ? d->getBitmap (*v) : nullptr;
}

void applyView (CView* view, const UIAttributes& a, const IUIDescription* d)
{
	CPoint origin = view->getViewSize ().getTopLeft (), size = view->getViewSize ().getSize ();
	bool b;
	a.getPointAttribute ("origin", origin);
	a.getPointAttribute ("size", size);
	view->setViewSize (CRect (origin, size), false);
	if (a.getBooleanAttribute ("transparent", b))
		view->setTransparency (b);
	if (a.getBooleanAttribute ("mouse-enabled", b))
		view->setMouseEnabled (b);
	if (a.getBooleanAttribute ("visible", b))
		view->setVisible (b);
	if (a.getBooleanAttribute ("wants-focus", b))
		view->setWantsFocus (b);
	// An empty name clears the bitmap; a name the description does not know keeps the one the
	// view has (a custom view may have loaded it itself).
	if (const std::string* v = a.getAttributeValue ("bitmap"))
	{
		if (v->empty ())
			view->setBackground (nullptr);
		else if (CBitmap* bitmap = readBitmap (a, "bitmap", d))
			view->setBackground (bitmap);
	}
}

void applyContainer (CView* view, const UIAttributes& a, const IUIDescription* d)
{
	auto* c = dynamic_cast<CViewContainer*> (view);
	if (!c)
		return;
	CColor color;
	if (readColor (a, "background-color", d, color))
		c->setBackgroundColor (color);
	CPoint p;
	if (a.getPointAttribute ("background-offset", p))
		c->setBackgroundOffset (p);
}

void applyControl (CView* view, const UIAttributes& a, const IUIDescription* d)
{
	auto* c = dynamic_cast<CControl*> (view);
	if (!c)
		return;
	double v;
	if (a.getDoubleAttribute ("min-value", v))
		c->setMin (static_cast<float> (v));
	if (a.getDoubleAttribute ("max-value", v))
		c->setMax (static_cast<float> (v));
	if (a.getDoubleAttribute ("default-value", v))
		c->setDefaultValue (static_cast<float> (v));
	if (a.getDoubleAttribute ("wheel-inc-value", v))
		c->setWheelInc (static_cast<float> (v));
	const std::string* tag = a.getAttributeValue ("control-tag");
	if (tag && !tag->empty () && d)
	{
		int32_t n = d->getTagForName (*tag);
		if (n != -1)
		{
			c->setTag (n);
			c->setListener (d->getControlListener (*tag));
		}
	}
	c->bounceValue ();
}

void applyParamDisplay (CView* view, const UIAttributes& a, const IUIDescription* d)
{
	auto* p = dynamic_cast<CParamDisplay*> (view);
	if (!p)
		return;
	CColor color;
	if (readColor (a, "font-color", d, color))
		p->setFontColor (color);
	if (readColor (a, "back-color", d, color))
		p->setBackColor (color);
	if (readColor (a, "frame-color", d, color))
		p->setFrameColor (color);
	if (readColor (a, "shadow-color", d, color))
		p->setShadowColor (color);
	if (const std::string* f = a.getAttributeValue ("font"))
	{
		CFontDesc font;
		if (d && d->getFont (*f, font))
			p->setFont (font);
	}
	CPoint pt;
	if (a.getPointAttribute ("text-inset", pt))
		p->setTextInset (pt);
	if (a.getPointAttribute ("background-offset", pt))
		p->setBackgroundOffset (pt);
	double v;
	if (a.getDoubleAttribute ("frame-width", v))
		p->setFrameWidth (v);
	if (a.getDoubleAttribute ("round-rect-radius", v))
		p->setRoundRectRadius (v);
	int32_t n;
	if (a.getIntegerAttribute ("value-precision", n))
		p->setPrecision (n);
	bool b;
	if (a.getBooleanAttribute ("font-antialias", b))
		p->setAntialias (b);
	struct StyleFlag
	{
		const char* name;
		int32_t bit;
	};
	static const StyleFlag kStyles[] = {
	    {"style-3D-in", k3DIn},
	    {"style-3D-out", k3DOut},
	    {"style-no-frame", kNoFrame},
	    {"style-no-text", kNoTextStyle},
	    {"style-no-draw", kNoDrawStyle},
	    {"style-shadow-text", kShadowText},
	    {"style-round-rect", kRoundRectStyle},
	};
	int32_t style = p->getStyle ();
	for (const auto& s : kStyles)
		if (a.getBooleanAttribute (s.name, b))
			style = b ? (style | s.bit) : (style & ~s.bit);
	p->setStyle (style);
	// An empty or unknown alignment reads as centred.
	if (const std::string* align = a.getAttributeValue ("text-alignment"))
		p->setHoriAlign (*align == "left" ? kLeftText : *align == "right" ? kRightText : kCenterText);
}

void applyTextLabel (CView* view, const UIAttributes& a, const IUIDescription*)
{
	if (auto* l = dynamic_cast<CTextLabel*> (view))
		if (const std::string* t = a.getAttributeValue ("title"))
			l->setText (*t);
}

void applyKnobBase (CView* view, const UIAttributes& a, const IUIDescription*)
{
	auto* k = dynamic_cast<CKnobBase*> (view);
	if (!k)
		return;
	double v;
	if (a.getDoubleAttribute ("angle-start", v))
		k->setStartAngle (static_cast<float> (v));
	if (a.getDoubleAttribute ("angle-range", v))
		k->setRangeAngle (static_cast<float> (v));
	if (a.getDoubleAttribute ("zoom-factor", v))
		k->setZoomFactor (static_cast<float> (v));
	if (a.getDoubleAttribute ("value-inset", v))
		k->setInsetValue (v);
}

void applyAnimKnob (CView* view, const UIAttributes& a, const IUIDescription*)
{
	auto* k = dynamic_cast<CAnimKnob*> (view);
	if (!k)
		return;
	int32_t n;
	double v;
	bool b;
	if (a.getDoubleAttribute ("height-of-one-image", v))
		k->setHeightOfOneImage (v);
	else if (k->getBackground ())
		k->setHeightOfOneImage (k->getHeight ());
	if (a.getIntegerAttribute ("sub-pixmaps", n))
		k->setNumSubPixmaps (n);
	else if (CBitmap* bitmap = k->getBackground ())
		if (k->getHeightOfOneImage () > 0)
			k->setNumSubPixmaps (static_cast<int32_t> (bitmap->getHeight () / k->getHeightOfOneImage ()));
	if (a.getBooleanAttribute ("inverse-bitmap", b))
		k->setInverseBitmap (b);
}

void applyOnOffButton (CView* view, const UIAttributes& a, const IUIDescription*)
{
	if (auto* button = dynamic_cast<COnOffButton*> (view))
	{
		CPoint p;
		if (a.getPointAttribute ("background-offset", p))
			button->setBackgroundOffset (p);
	}
}

void applyKickButton (CView* view, const UIAttributes& a, const IUIDescription*)
{
	auto* button = dynamic_cast<CKickButton*> (view);
	if (!button)
		return;
	CPoint p;
	if (a.getPointAttribute ("background-offset", p))
		button->setBackgroundOffset (p);
	double v;
	if (a.getDoubleAttribute ("height-of-one-image", v))
		button->setHeightOfOneImage (v);
}

void applyVuMeter (CView* view, const UIAttributes& a, const IUIDescription* d)
{
	auto* meter = dynamic_cast<CVuMeter*> (view);
	if (!meter)
		return;
	if (const std::string* v = a.getAttributeValue ("off-bitmap"))
	{
		if (v->empty ())
			meter->setOffBitmap (nullptr);
		else if (CBitmap* bitmap = readBitmap (a, "off-bitmap", d))
			meter->setOffBitmap (bitmap);
	}
	int32_t n;
	if (a.getIntegerAttribute ("num-led", n))
		meter->setNbLed (n);
	if (const std::string* o = a.getAttributeValue ("orientation"))
	{
		if (*o == "horizontal")
			meter->setStyle ((meter->getStyle () & ~kVertical) | kHorizontal);
		else if (*o == "vertical")
			meter->setStyle ((meter->getStyle () & ~kHorizontal) | kVertical);
	}
	double v;
	if (a.getDoubleAttribute ("decrease-step-value", v))
		meter->setDecreaseStepValue (static_cast<float> (v));
}

void applyXYPad (CView* view, const UIAttributes& a, const IUIDescription*)
{
	auto* pad = dynamic_cast<CXYPad*> (view);
	bool b;
	if (pad && a.getBooleanAttribute ("stop-tracking-on-mouse-exit", b))
		pad->setStopTrackingOnMouseExit (b);
}

const UIViewCreator kViewCreators[] = {
    {"CView",
     nullptr,
     [] (const UIAttributes&, const IUIDescription*) -> CView* { return new CView (kDefaultRect); },
     applyView,
     {"origin", "size", "transparent", "mouse-enabled", "visible", "wants-focus", "bitmap"}},
    {"CViewContainer",
     "CView",
     [] (const UIAttributes&, const IUIDescription*) -> CView* { return new CViewContainer (kDefaultRect); },
     applyContainer,
     {"background-color", "background-color-draw-style", "background-offset"}},
    {"CControl",
     "CView",
     nullptr,
     applyControl,
     {"control-tag", "default-value", "min-value", "max-value", "wheel-inc-value"}},
    {"CParamDisplay",
     "CControl",
     [] (const UIAttributes&, const IUIDescription*) -> CView* { return new CParamDisplay (kDefaultRect); },
     applyParamDisplay,
     {"font", "font-color", "back-color", "frame-color", "shadow-color", "text-inset", "background-offset",
      "frame-width", "round-rect-radius", "value-precision", "font-antialias", "style-3D-in", "style-3D-out",
      "style-no-frame", "style-no-text", "style-no-draw", "style-shadow-text", "style-round-rect",
      "text-alignment"}},
    {"CTextLabel",
     "CParamDisplay",
     [] (const UIAttributes&, const IUIDescription*) -> CView* { return new CTextLabel (kDefaultRect); },
     applyTextLabel,
     {"title"}},
    {"CTextEdit",
     "CTextLabel",
     [] (const UIAttributes&, const IUIDescription*) -> CView* {
	     return new CTextEdit (kDefaultRect, nullptr, -1);
     },
     nullptr,
     {}},
    {"CKnobBase",
     "CControl",
     nullptr,
     applyKnobBase,
     {"angle-start", "angle-range", "zoom-factor", "value-inset"}},
    {"CAnimKnob",
     "CKnobBase",
     [] (const UIAttributes&, const IUIDescription*) -> CView* {
	     return new CAnimKnob (kDefaultRect, nullptr, -1, nullptr);
     },
     applyAnimKnob,
     {"height-of-one-image", "sub-pixmaps", "inverse-bitmap"}},
    {"COnOffButton",
     "CControl",
     [] (const UIAttributes&, const IUIDescription*) -> CView* { return new COnOffButton (kDefaultRect); },
     applyOnOffButton,
     {"background-offset"}},
    {"CKickButton",
     "CControl",
     [] (const UIAttributes&, const IUIDescription*) -> CView* { return new CKickButton (kDefaultRect); },
     applyKickButton,
     {"background-offset", "height-of-one-image"}},
    {"CVuMeter",
     "CControl",
     [] (const UIAttributes&, const IUIDescription*) -> CView* {
	     return new CVuMeter (kDefaultRect, nullptr, nullptr, 100, kVertical);
     },
     applyVuMeter,
     {"off-bitmap", "num-led", "orientation", "decrease-step-value"}},
    {"CXYPad",
     "CParamDisplay",
     [] (const UIAttributes&, const IUIDescription*) -> CView* { return new CXYPad (kDefaultRect); },
     applyXYPad,
     {"stop-tracking-on-mouse-exit"}},
};

} // namespace

const UIViewCreator* findViewCreator (const std::string& className)
{
	for (const auto& c : kViewCreators)
		if (className == c.className)
			return &c;
	return nullptr;
}

void applyViewAttributes (CView* view, const std::string& className, const UIAttributes& attributes,
                          const IUIDescription* description)
{
	// Root class first, so that a derived class's reading wins.
	std::vector<const UIViewCreator*> chain;
	for (const UIViewCreator* c = findViewCreator (className); c && chain.size () < 16;
	     c = c->baseClassName ? findViewCreator (c->baseClassName) : nullptr)
		chain.push_back (c);
	for (auto it = chain.rbegin (); it != chain.rend (); ++it)
		if ((*it)->apply)
			(*it)->apply (view, attributes, description);
}

CView* createViewOfClass (const std::string& className, const UIAttributes& attributes,
                          const IUIDescription* description)
{
	const UIViewCreator* creator = findViewCreator (className);
	if (!creator || !creator->create)
		return nullptr;
	CView* view = creator->create (attributes, description);
	if (view)
		applyViewAttributes (view, className, attributes, description);
	return view;
}

} // namespace VSTGUI
