// The Processor as the editor's factory of the framework's own views and pad sub-controllers.
// A description names them by custom-view name ("KestKickButton", "TrackPad", "UnitsLabel",
// "...AnalogMeterView_H65_Z52", "MeterView" ...) and by sub-controller name ("VectorJoystick",
// "Joystick_X3_Y4", "TrackPad_X0_Y1"); other custom-view names are offered to the plug-in.
// A view whose name is known but whose attributes are incomplete is still made, with the
// missing attributes at their defaults (the view's class then applies what the node has).
// UI thread, while the editor builds its views.
#include "hostbinding/processor.h"

#include "kickbuttonqv.h"
#include "padcontrollerqv.h"
#include "texteditqv.h"
#include "textlabelqv.h"
#include "vumeterqv.h"
#include "xypadqv.h"

#include "gui/uiattributes.h"
#include "gui/uidescription.h"
#include "plugincore/plugin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace Zaze2VST3 {

using namespace VSTGUI;

namespace {

constexpr float kMeterRate = 20.0f; // detector steps per second: one per editor repaint

const std::string* textOf(const UIAttributes& a, const char* szName)
{
	return a.getAttributeValue(szName);
}

bool hasText(const UIAttributes& a, const char* szName)
{
	const std::string* s = textOf(a, szName);
	return s && !s->empty();
}

std::string textOr(const UIAttributes& a, const char* szName, const char* szDefault = "")
{
	const std::string* s = textOf(a, szName);
	return s ? *s : szDefault;
}

// A decimal integer at the start of the text (leading blanks skipped, an optional sign, then
// digits up to the first other character); 0 without digits, saturated to 32 bits.
int32_t decimalAt(const char* s)
{
	while (std::isspace(static_cast<unsigned char>(*s)))
		++s;
	bool bNegative = *s == '-';
	if (*s == '-' || *s == '+')
		++s;
	int64_t n = 0;
	for (; std::isdigit(static_cast<unsigned char>(*s)); ++s)
		n = std::min<int64_t>(n * 10 + (*s - '0'), int64_t(1) << 32);
	n = bNegative ? -n : n;
	return static_cast<int32_t>(std::max<int64_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max()),
	                                              std::numeric_limits<int32_t>::min()));
}

int32_t integerOf(const UIAttributes& a, const char* szName)
{
	const std::string* s = textOf(a, szName);
	return s ? decimalAt(s->c_str()) : 0;
}

// "x, y": x at the start, y right after the first comma; (0, 0) without a comma.
CPoint pointOf(const UIAttributes& a, const char* szName)
{
	const std::string* s = textOf(a, szName);
	if (!s)
		return CPoint();
	size_t nComma = s->find(',');
	if (nComma == std::string::npos)
		return CPoint();
	return CPoint(decimalAt(s->c_str()), decimalAt(s->c_str() + nComma + 1));
}

CRect rectOf(const UIAttributes& a)
{
	return CRect(pointOf(a, "origin"), pointOf(a, "size"));
}

// The bitmap of a base name, loaded from the resource "name.png" itself (not through the
// description's bitmap table); null for an empty name or a missing resource.
SharedPointer<CBitmap> bitmapOf(const UIAttributes& a, const char* szName)
{
	if (!hasText(a, szName))
		return nullptr;
	auto bitmap = owned(new CBitmap(*textOf(a, szName) + ".png"));
	return bitmap->isLoaded() ? bitmap : nullptr;
}

// A colour of the description, starting from opaque white (kept when the text is unknown).
CColor colorOf(const UIAttributes& a, const char* szName, const IUIDescription* pDescription)
{
	CColor color(255, 255, 255, 255);
	if (hasText(a, szName) && pDescription)
		pDescription->getColor(*textOf(a, szName), color);
	return color;
}

struct CTagAndListener
{
	int32_t nTag = -1;
	IControlListener* pListener = nullptr;
};

CTagAndListener tagOf(const UIAttributes& a, const IUIDescription* pDescription)
{
	CTagAndListener t;
	if (hasText(a, "control-tag") && pDescription)
	{
		t.nTag = pDescription->getTagForName(*textOf(a, "control-tag"));
		t.pListener = pDescription->getControlListener(*textOf(a, "control-tag"));
	}
	return t;
}

bool contains(const std::string& s, const char* szPart)
{
	return s.find(szPart) != std::string::npos;
}

// A decimal number at the start of the text; false when it starts with no number.
bool numberAt(const std::string& s, double& d)
{
	const char* p = s.c_str();
	char* pEnd = nullptr;
	double v = std::strtod(p, &pEnd);
	if (pEnd == p || !std::isfinite(v))
		return false;
	d = v;
	return true;
}

// The parameter ID of a pad sub-controller's axis: the digits at the start of the text.
bool parameterIdAt(const std::string& s, Steinberg::Vst::ParamID& uId)
{
	if (s.empty() || !std::isdigit(static_cast<unsigned char>(s[0])))
		return false;
	uint64_t n = 0;
	for (size_t i = 0; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i)
	{
		n = n * 10 + static_cast<uint64_t>(s[i] - '0');
		if (n > std::numeric_limits<uint32_t>::max())
			return false;
	}
	uId = static_cast<Steinberg::Vst::ParamID>(n);
	return true;
}

// The X and Y parameter IDs of "…_X<x>_Y<y>…"; false when a marker is missing, out of order or
// not followed by a number.
bool padParameterIds(const std::string& sName, Steinberg::Vst::ParamID& uX, Steinberg::Vst::ParamID& uY)
{
	size_t nX = sName.find("_X"), nY = sName.find("_Y");
	if (nX == std::string::npos || nY == std::string::npos || nX >= nY)
		return false;
	return parameterIdAt(sName.substr(nX + 2, nY - nX - 2), uX) && parameterIdAt(sName.substr(nY + 2), uY);
}

} // namespace

CView* Processor::createCustomView(UTF8StringPtr szName, const UIAttributes& attributes,
                                   const IUIDescription* pDescription, VST3Editor* pEditor)
{
	if (!m_pPlugIn || !szName)
		return nullptr;
	const std::string sName = szName;

	// Kick buttons.
	int32_t nKickMode = sName == "KestKickButton"     ? 1
	                    : sName == "KestKickButtonDU" ? 0
	                    : sName == "KestKickButtonU"  ? 1
	                    : sName == "KestKickButtonD"  ? 2
	                                                  : -1;
	if (nKickMode >= 0)
	{
		CTagAndListener tag = tagOf(attributes, pDescription);
		auto bitmap = bitmapOf(attributes, "bitmap");
		auto* pButton = new CKickButtonQV(rectOf(attributes), tag.pListener, tag.nTag, bitmap,
		                                  pointOf(attributes, "background-offset"));
		pButton->m_nMode = nKickMode;
		return pButton;
	}

	// Pads.
	if (sName == "TrackPad" || sName == "Joystick")
	{
		auto* pPad = new CXYPadQV(rectOf(attributes));
		pPad->m_bJoystick = sName == "Joystick";
		pPad->setBackColor(colorOf(attributes, "back-color", pDescription));
		pPad->setFrameColor(colorOf(attributes, "frame-color", pDescription));
		pPad->setFontColor(colorOf(attributes, "font-color", pDescription));
		// Without a width or a radius the pad keeps its own (a radius of 0 hides the handle).
		if (hasText(attributes, "frame-width"))
			pPad->setFrameWidth(integerOf(attributes, "frame-width"));
		if (hasText(attributes, "round-rect-radius"))
			pPad->setRoundRectRadius(integerOf(attributes, "round-rect-radius"));
		int32_t nStyle = pPad->getStyle();
		nStyle = textOr(attributes, "style-round-rect") == "true" ? (nStyle | kRoundRectStyle)
		                                                          : (nStyle & ~kRoundRectStyle);
		nStyle = textOr(attributes, "style-no-frame") == "true" ? (nStyle | kNoFrame) : (nStyle & ~kNoFrame);
		pPad->setStyle(nStyle);
		return pPad;
	}

	// Units views: only for a control tag that is a position of the plug-in's control list.
	if (m_bUnitsViewsEnabled && (sName == "UnitsEdit" || sName == "UnitsLabel"))
	{
		CTagAndListener tag = tagOf(attributes, pDescription);
		if (const CControlDescriptor* pControl = m_pPlugIn->m_controls.at(tag.nTag))
		{
			auto bitmap = bitmapOf(attributes, "bitmap");
			std::string sTitle = textOr(attributes, "title");
			if (sName == "UnitsEdit")
			{
				auto* pEdit = new CTextEditQV(rectOf(attributes), tag.pListener, tag.nTag, sTitle, bitmap, 0);
				pEdit->setUnits(pControl->m_szUnits);
				return pEdit;
			}
			auto* pLabel = new CTextLabelQV(rectOf(attributes), sTitle, bitmap, 0);
			pLabel->setUnits(pControl->m_szUnits);
			return pLabel;
		}
		// No such control (an empty tag among them): the node's own class is made.
		return nullptr;
	}

	// Meters: made only when the node has all five attributes a meter draws from.
	bool bAnalog = contains(sName, "AnalogMeterView");
	bool bLed = sName == "MeterView" || sName == "InvertedMeterView";
	if ((bAnalog || bLed) && attributes.hasAttribute("size") && attributes.hasAttribute("origin") &&
	    attributes.hasAttribute("bitmap") && attributes.hasAttribute("off-bitmap") &&
	    attributes.hasAttribute("num-led"))
	{
		bool bInverted = bAnalog ? contains(sName, "InvertedAnalogMeterView") : sName == "InvertedMeterView";
		auto on = bitmapOf(attributes, "bitmap");
		auto off = bitmapOf(attributes, "off-bitmap");
		auto* pMeter = new CVuMeterQV(rectOf(attributes), on, off, integerOf(attributes, "num-led"),
		                              bInverted, bAnalog, kVertical);
		if (bAnalog)
		{
			// Frame height and zero frame from the name ("…_H65_Z52"); a name without them,
			// or with no number after a marker, keeps the meter's own.
			size_t nH = sName.find("_H"), nZ = sName.find("_Z");
			double d;
			if (nH != std::string::npos && nZ != std::string::npos && nH < nZ)
			{
				if (numberAt(sName.substr(nH + 2, nZ - nH - 2), d))
					pMeter->setFrameHeight(d);
				if (numberAt(sName.substr(nZ + 2), d))
					pMeter->setZeroFrame(d);
			}
			if (numberAt(textOr(attributes, "num-led"), d))
				pMeter->setFrameCount(d);
		}
		// The detector of the control the tag names (the last match wins).
		const std::string sTag = textOr(attributes, "control-tag");
		for (int32_t i = 0; i < m_pPlugIn->m_controls.count(); ++i)
		{
			const CControlDescriptor* pControl = m_pPlugIn->m_controls.at(i);
			if (!pControl || !pControl->m_szName || sTag != pControl->m_szName ||
			    (bAnalog && !pControl->m_pMeter))
				continue;
			pMeter->m_detector.init(kMeterRate, pControl->m_fMeterAttackMsec, pControl->m_fMeterReleaseMsec,
			                        true, static_cast<int32_t>(pControl->m_uMeterMode),
			                        pControl->m_bMeterLog);
			pMeter->m_detector.reset();
		}
		return pMeter;
	}

	if (sName.empty())
		return nullptr;

	// Any other name: the plug-in may make a view of its own.
	CGuiMessageRecord& message = m_GuiMessage;
	message.m_uCode = kGuiCustomView;
	message.m_szViewName = szName;
	message.m_szText = "";
	if (hasText(attributes, "control-tag") && pDescription)
	{
		CTagAndListener tag = tagOf(attributes, pDescription);
		message.m_nTag = tag.nTag;
		message.m_pListener = tag.pListener;
	}
	else
	{
		message.m_pListener = nullptr;
	}
	CPoint origin = pointOf(attributes, "origin"), size = pointOf(attributes, "size");
	auto sum = [](double a, double b) {
		return static_cast<int32_t>(
		    std::max<double>(std::min<double>(a + b, std::numeric_limits<int32_t>::max()),
		                     std::numeric_limits<int32_t>::min()));
	};
	message.m_nLeft = static_cast<int32_t>(origin.x);
	message.m_nTop = static_cast<int32_t>(origin.y);
	message.m_nBottom = sum(origin.y, size.y);
	message.m_nRight = sum(origin.x, size.x);
	CPoint offset = pointOf(attributes, "background-offset");
	message.m_nOffsetX = static_cast<int32_t>(offset.x);
	message.m_nOffsetY = static_cast<int32_t>(offset.y);
	// Texts and colours the record points to live until the plug-in has answered.
	std::string sBitmap = hasText(attributes, "bitmap") ? *textOf(attributes, "bitmap") + ".png" : "";
	std::string sHandle =
	    hasText(attributes, "handle-bitmap") ? *textOf(attributes, "handle-bitmap") + ".png" : "";
	std::string sOff = sHandle.empty() && hasText(attributes, "off-bitmap")
	                       ? *textOf(attributes, "off-bitmap") + ".png"
	                       : "";
	std::string sOrientation = textOr(attributes, "orientation");
	CColor backColor = colorOf(attributes, "back-color", pDescription);
	CColor frameColor = colorOf(attributes, "frame-color", pDescription);
	CColor fontColor = colorOf(attributes, "font-color", pDescription);
	message.m_szBitmap = sBitmap.c_str();
	message.m_szHandleBitmap = sHandle.c_str();
	message.m_szOffBitmap = sOff.c_str();
	message.m_szOrientation = sOrientation.c_str();
	message.m_pBackColor = hasText(attributes, "back-color") ? &backColor : nullptr;
	message.m_pFrameColor = hasText(attributes, "frame-color") ? &frameColor : nullptr;
	message.m_pFontColor = hasText(attributes, "font-color") ? &fontColor : nullptr;
	message.m_nFrameWidth = integerOf(attributes, "frame-width");
	message.m_nRoundRectRadius = integerOf(attributes, "round-rect-radius");
	message.m_bNoFrame = textOr(attributes, "style-no-frame") == "true";
	message.m_bRoundRect = textOr(attributes, "style-round-rect") == "true";
	message.m_nHeightOfOneImage = integerOf(attributes, "height-of-one-image");
	message.m_nSubPixmaps = integerOf(attributes, "sub-pixmaps");
	message.m_pEditor = nullptr;
	message.m_pParentWindow = nullptr;
	message.m_pModule = nullptr;
	message.m_bCustomEditor = false;
	message.m_nWidth = 0;
	message.m_nHeight = 0;

	void* pAnswer = m_pPlugIn->editorMessage(&message);

	// The record outlives this call: leave no pointer into what goes out of scope now.
	message.m_szViewName = "";
	message.m_szBitmap = message.m_szHandleBitmap = message.m_szOffBitmap = message.m_szOrientation = "";
	message.m_pBackColor = message.m_pFrameColor = message.m_pFontColor = nullptr;
	return static_cast<CView*>(pAnswer);
}

IController* Processor::createSubController(UTF8StringPtr szName, const IUIDescription* pDescription,
                                            VST3Editor* pEditor)
{
	if (!m_pPlugIn || !szName)
		return nullptr;
	const std::string sName = szName;
	// Both parameters must exist: a name whose numbers name no parameter gets no controller,
	// and the pad below it stays a plain, unbound pad.
	auto make = [&](Steinberg::Vst::ParamID uX, Steinberg::Vst::ParamID uY, bool bStock) -> IController* {
		Steinberg::Vst::Parameter* pX = getParameterObject(uX);
		Steinberg::Vst::Parameter* pY = getParameterObject(uY);
		if (!pX || !pY)
			return nullptr;
		if (bStock)
			return new PadController(pEditor, this, pX, pY);
		return new CPadControllerQV(pEditor, this, pX, pY);
	};
	if (sName == "VectorJoystick")
		return make(kParamJoystickX, kParamJoystickY, true);
	Steinberg::Vst::ParamID uX = 0, uY = 0;
	if (contains(sName, "Joystick_"))
	{
		size_t nX = sName.find("_X"), nY = sName.find("_Y");
		if (nX == std::string::npos || nY == std::string::npos)
			return nullptr;
		if (nX < nY)
			return padParameterIds(sName, uX, uY) ? make(uX, uY, false) : nullptr;
	}
	if (contains(sName, "TrackPad_"))
		return padParameterIds(sName, uX, uY) ? make(uX, uY, false) : nullptr;
	return nullptr;
}

} // namespace Zaze2VST3
