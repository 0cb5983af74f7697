#include "vstguieditor.h"

#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {
// The VST 3 virtual key codes and modifier bits hosts pass to onKeyDown.
enum : int16
{
	kVKeyBack = 1,
	kVKeyTab = 2,
	kVKeyReturn = 4,
	kVKeyEscape = 6,
	kVKeyLeft = 11,
	kVKeyUp = 12,
	kVKeyRight = 13,
	kVKeyDown = 14,
	kVKeyEnter = 19,
	kVKeyDelete = 22,
};
enum : int16
{
	kModShift = 1 << 0,
	kModAlternate = 1 << 1,
	kModCommand = 1 << 2,
	kModControl = 1 << 3,
};

void appendUtf8 (std::string& out, char16 c)
{
	uint32 u = static_cast<uint16> (c);
	if (u < 0x80)
		out += static_cast<char> (u);
	else if (u < 0x800)
	{
		out += static_cast<char> (0xC0 | (u >> 6));
		out += static_cast<char> (0x80 | (u & 0x3F));
	}
	else if (u < 0xD800 || u > 0xDFFF)
	{
		out += static_cast<char> (0xE0 | (u >> 12));
		out += static_cast<char> (0x80 | ((u >> 6) & 0x3F));
		out += static_cast<char> (0x80 | (u & 0x3F));
	}
}
} // namespace

VSTGUIEditor::VSTGUIEditor (EditController* controller, ViewRect* size)
    : EditorView (controller, size)
{
	if (size)
		m_BaseSize = *size;
}

VSTGUIEditor::~VSTGUIEditor ()
{
	stopTimer ();
}

void VSTGUIEditor::setBaseSize (const ViewRect& r)
{
	m_BaseSize = r;
	rect = ViewRect (0, 0, static_cast<int32> (std::lround (r.getWidth () * m_dScale)),
	                 static_cast<int32> (std::lround (r.getHeight () * m_dScale)));
}

void VSTGUIEditor::close ()
{
	if (frame)
	{
		frame->close ();
		frame = nullptr;
	}
}

void VSTGUIEditor::setIdleRate (int32 milliseconds)
{
	m_nIdleRate = milliseconds > 0 ? milliseconds : 0;
	if (m_pTimer)
	{
		stopTimer ();
		startTimer ();
	}
}

Linux::IRunLoop* VSTGUIEditor::getRunLoop () const
{
	if (!plugFrame)
		return nullptr;
	Linux::IRunLoop* runLoop = nullptr;
	if (plugFrame->queryInterface (Linux::IRunLoop::iid, reinterpret_cast<void**> (&runLoop)) != kResultOk)
		return nullptr;
	// The frame holds the run loop for as long as the view is attached.
	runLoop->release ();
	return runLoop;
}

void VSTGUIEditor::startTimer ()
{
	if (m_pTimer || m_nIdleRate <= 0)
		return;
	m_pTimer = new VSTGUI::CVSTGUITimer (this, static_cast<uint32_t> (m_nIdleRate), getRunLoop ());
}

void VSTGUIEditor::stopTimer ()
{
	if (!m_pTimer)
		return;
	m_pTimer->stop ();
	m_pTimer->forget ();
	m_pTimer = nullptr;
}

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported (FIDString type)
{
	return (type && std::strcmp (type, kPlatformTypeX11EmbedWindowID) == 0) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::attached (void* parent, FIDString type)
{
	if (frame || isPlatformTypeSupported (type) != kResultTrue || !parent)
		return kResultFalse;
	if (!open (parent, VSTGUI::kX11EmbedWindowID))
		return kResultFalse;
	if (frame)
	{
		frame->setEditor (this);
		frame->setScaleFactor (m_dScale);
	}
	startTimer ();
	return EditorView::attached (parent, type);
}

tresult PLUGIN_API VSTGUIEditor::removed ()
{
	stopTimer ();
	close ();
	return EditorView::removed ();
}

tresult PLUGIN_API VSTGUIEditor::onKeyDown (char16 key, int16 keyCode, int16 modifiers)
{
	if (!frame)
		return kResultFalse;
	VSTGUI::VstKeyCode code;
	switch (keyCode)
	{
		case kVKeyBack: code.virt = VSTGUI::VKEY_BACK; break;
		case kVKeyTab: code.virt = VSTGUI::VKEY_TAB; break;
		case kVKeyReturn: code.virt = VSTGUI::VKEY_RETURN; break;
		case kVKeyEscape: code.virt = VSTGUI::VKEY_ESCAPE; break;
		case kVKeyLeft: code.virt = VSTGUI::VKEY_LEFT; break;
		case kVKeyUp: code.virt = VSTGUI::VKEY_UP; break;
		case kVKeyRight: code.virt = VSTGUI::VKEY_RIGHT; break;
		case kVKeyDown: code.virt = VSTGUI::VKEY_DOWN; break;
		case kVKeyEnter: code.virt = VSTGUI::VKEY_ENTER; break;
		case kVKeyDelete: code.virt = VSTGUI::VKEY_DELETE; break;
		default:
			if (key >= 0x20)
				appendUtf8 (code.character, key);
	}
	if (modifiers & kModShift)
		code.modifier |= VSTGUI::kShift;
	if (modifiers & (kModControl | kModCommand))
		code.modifier |= VSTGUI::kControl;
	if (modifiers & kModAlternate)
		code.modifier |= VSTGUI::kAlt;
	return frame->platformKeyDown (code) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onWheel (float distance)
{
	// The host's wheel has no position: it goes to the view that has the focus, if any.
	return kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::getSize (ViewRect* size)
{
	if (!size)
		return kInvalidArgument;
	*size = rect;
	return kResultOk;
}

tresult PLUGIN_API VSTGUIEditor::onSize (ViewRect* newSize)
{
	if (!newSize)
		return kInvalidArgument;
	// The editor has one size at each scale.
	return (newSize->getWidth () == rect.getWidth () && newSize->getHeight () == rect.getHeight ())
	           ? kResultTrue
	           : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::checkSizeConstraint (ViewRect* r)
{
	if (!r)
		return kInvalidArgument;
	r->right = r->left + rect.getWidth ();
	r->bottom = r->top + rect.getHeight ();
	return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::setContentScaleFactor (ScaleFactor factor)
{
	if (!(factor >= 0.5f && factor <= 8.f))
		return kResultFalse;
	m_dScale = factor;
	setBaseSize (m_BaseSize);
	if (frame)
	{
		frame->setScaleFactor (m_dScale);
		if (plugFrame)
		{
			ViewRect r = rect;
			plugFrame->resizeView (this, &r);
		}
	}
	return kResultTrue;
}

int32_t VSTGUIEditor::getKnobMode () const
{
	return static_cast<int32_t> (EditController::getHostKnobMode ());
}

tresult PLUGIN_API VSTGUIEditor::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, IPlugViewContentScaleSupport::iid, IPlugViewContentScaleSupport)
	return EditorView::queryInterface (iid, obj);
}

} // namespace Vst
} // namespace Steinberg
