// The X11 window of a frame: a child of the host's window on a connection of our own, drawn
// through an offscreen cairo image (no flicker), its events read through the host's run loop.
#include "iplatformframe.h"

#include "../cdrawcontext.h"
#include "../runloophandler.h"

#include "pluginterfaces/gui/iplugview.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo-xlib.h>
#include <cairo.h>

#include <chrono>
#include <cmath>

namespace VSTGUI {

namespace {

constexpr long kXEmbedMapped = 1 << 0;
constexpr int kDoubleClickMs = 300;

class X11Frame;

// The run loop's view of the window: reads the connection when the host says it is readable.
class EventHandler : public RunLoopHandler<Steinberg::Linux::IEventHandler, X11Frame>
{
public:
	using RunLoopHandler::RunLoopHandler;
	void PLUGIN_API onFDIsSet (Steinberg::Linux::FileDescriptor) override;
};

class X11Frame : public IPlatformFrame
{
public:
	X11Frame (CFrame* frame, Display* display, Window window, Steinberg::Linux::IRunLoop* runLoop)
	    : m_pFrame (frame)
	    , m_pDisplay (display)
	    , m_Window (window)
	    , m_pRunLoop (runLoop)
	{
		m_pHandler = new EventHandler (this);
		if (m_pRunLoop->registerEventHandler (m_pHandler, ConnectionNumber (m_pDisplay)) !=
		    Steinberg::kResultOk)
		{
			m_pHandler->detach ();
			m_pHandler->release ();
			m_pHandler = nullptr;
		}
	}

	~X11Frame () override
	{
		if (m_pHandler)
		{
			m_pRunLoop->unregisterEventHandler (m_pHandler);
			m_pHandler->detach ();
			m_pHandler->release ();
		}
		destroySurfaces ();
		XDestroyWindow (m_pDisplay, m_Window);
		XFlush (m_pDisplay);
		XCloseDisplay (m_pDisplay);
	}

	bool isRegistered () const { return m_pHandler != nullptr; }

	void invalidate () override
	{
		if (m_bExposePending)
			return;
		// An exposure of our own window wakes the run loop's handler, which repaints.
		m_bExposePending = true;
		XClearArea (m_pDisplay, m_Window, 0, 0, 1, 1, True);
		XFlush (m_pDisplay);
	}

	void resize (int width, int height) override
	{
		if (width <= 0 || height <= 0)
			return;
		XResizeWindow (m_pDisplay, m_Window, static_cast<unsigned> (width), static_cast<unsigned> (height));
		destroySurfaces ();
		XFlush (m_pDisplay);
		invalidate ();
	}

	void flush () override
	{
		if (m_pFrame->needsRepaint ())
			paint ();
	}

	unsigned long getNativeWindow () const override { return m_Window; }

	void readEvents ()
	{
		while (XPending (m_pDisplay) > 0)
		{
			XEvent e;
			XNextEvent (m_pDisplay, &e);
			handle (e);
		}
		if (m_pFrame->needsRepaint ())
			paint ();
	}

private:
	void destroySurfaces ()
	{
		if (m_pWindowSurface)
			cairo_surface_destroy (m_pWindowSurface);
		if (m_pBackBuffer)
			cairo_surface_destroy (m_pBackBuffer);
		m_pWindowSurface = m_pBackBuffer = nullptr;
	}

	void paint ()
	{
		double scale = m_pFrame->getScaleFactor ();
		int w = static_cast<int> (std::lround (m_pFrame->getWidth () * scale));
		int h = static_cast<int> (std::lround (m_pFrame->getHeight () * scale));
		if (w <= 0 || h <= 0)
			return;
		if (!m_pWindowSurface)
		{
			XWindowAttributes wa;
			XGetWindowAttributes (m_pDisplay, m_Window, &wa);
			m_pWindowSurface = cairo_xlib_surface_create (m_pDisplay, m_Window, wa.visual, w, h);
			m_pBackBuffer = cairo_image_surface_create (CAIRO_FORMAT_RGB24, w, h);
		}
		m_pFrame->repaintDone ();
		cairo_t* cr = cairo_create (m_pBackBuffer);
		cairo_scale (cr, scale, scale);
		{
			CDrawContext context (cr, scale);
			m_pFrame->drawFrame (&context);
		}
		cairo_destroy (cr);
		cairo_surface_flush (m_pBackBuffer);
		cairo_t* out = cairo_create (m_pWindowSurface);
		cairo_set_operator (out, CAIRO_OPERATOR_SOURCE);
		cairo_set_source_surface (out, m_pBackBuffer, 0, 0);
		cairo_paint (out);
		cairo_destroy (out);
		cairo_surface_flush (m_pWindowSurface);
		XFlush (m_pDisplay);
		m_pFrame->countRepaint ();
	}

	static int32_t modifiersOf (unsigned state)
	{
		int32_t m = 0;
		if (state & ShiftMask)
			m |= kShift;
		if (state & ControlMask)
			m |= kControl;
		if (state & Mod1Mask)
			m |= kAlt;
		return m;
	}

	static int32_t buttonsOf (unsigned state)
	{
		int32_t b = modifiersOf (state);
		if (state & Button1Mask)
			b |= kLButton;
		if (state & Button2Mask)
			b |= kMButton;
		if (state & Button3Mask)
			b |= kRButton;
		return b;
	}

	CPoint toFrame (int x, int y) const
	{
		double s = m_pFrame->getScaleFactor ();
		return CPoint (x / s, y / s);
	}

	void handle (XEvent& e)
	{
		// Views may be removed while an event is handled; the frame stays alive meanwhile.
		m_pFrame->remember ();
		switch (e.type)
		{
			case Expose:
				if (e.xexpose.count == 0)
				{
					// Marks the frame for the repaint after this batch without asking for
					// another exposure.
					m_bExposePending = true;
					m_pFrame->invalid ();
					m_bExposePending = false;
				}
				break;
			case ButtonPress:
			{
				CPoint where = toFrame (e.xbutton.x, e.xbutton.y);
				int32_t mods = modifiersOf (e.xbutton.state);
				unsigned button = e.xbutton.button;
				if (button >= 4 && button <= 7)
				{
					CMouseWheelAxis axis = button <= 5 ? kMouseWheelAxisY : kMouseWheelAxisX;
					float distance = (button == 4 || button == 6) ? 1.f : -1.f;
					m_pFrame->platformWheel (where, axis, distance, mods);
					break;
				}
				int32_t b = mods | (button == 1 ? kLButton : button == 2 ? kMButton : kRButton);
				auto now = std::chrono::steady_clock::now ();
				if (button == m_uLastButton &&
				    now - m_LastPress < std::chrono::milliseconds (kDoubleClickMs) &&
				    std::fabs (where.x - m_LastPoint.x) < 4 && std::fabs (where.y - m_LastPoint.y) < 4)
				{
					b |= kDoubleClick;
					m_uLastButton = 0;
				}
				else
				{
					m_uLastButton = button;
					m_LastPress = now;
					m_LastPoint = where;
				}
				m_pFrame->platformMouseDown (where, b);
				if (m_pFrame->getFocusView ())
					XSetInputFocus (m_pDisplay, m_Window, RevertToParent, CurrentTime);
				break;
			}
			case ButtonRelease:
				if (e.xbutton.button >= 1 && e.xbutton.button <= 3)
				{
					int32_t b = modifiersOf (e.xbutton.state) | (e.xbutton.button == 1   ? kLButton
					                                             : e.xbutton.button == 2 ? kMButton
					                                                                     : kRButton);
					m_pFrame->platformMouseUp (toFrame (e.xbutton.x, e.xbutton.y), b);
				}
				break;
			case MotionNotify:
			{
				// Only the latest position of a burst of motion matters.
				XEvent next;
				while (XCheckTypedWindowEvent (m_pDisplay, m_Window, MotionNotify, &next))
					e = next;
				m_pFrame->platformMouseMoved (toFrame (e.xmotion.x, e.xmotion.y),
				                              buttonsOf (e.xmotion.state));
				break;
			}
			case KeyPress:
			{
				char text[16] = {};
				KeySym sym = 0;
				int n = XLookupString (&e.xkey, text, sizeof text - 1, &sym, nullptr);
				VstKeyCode key;
				key.modifier = modifiersOf (e.xkey.state);
				switch (sym)
				{
					case XK_Return: key.virt = VKEY_RETURN; break;
					case XK_KP_Enter: key.virt = VKEY_ENTER; break;
					case XK_Escape: key.virt = VKEY_ESCAPE; break;
					case XK_BackSpace: key.virt = VKEY_BACK; break;
					case XK_Tab: key.virt = VKEY_TAB; break;
					case XK_Delete: key.virt = VKEY_DELETE; break;
					case XK_Left: key.virt = VKEY_LEFT; break;
					case XK_Right: key.virt = VKEY_RIGHT; break;
					case XK_Up: key.virt = VKEY_UP; break;
					case XK_Down: key.virt = VKEY_DOWN; break;
					default:
						if (n > 0 && static_cast<unsigned char> (text[0]) >= 0x20 && text[0] != 0x7f)
							key.character.assign (text, static_cast<size_t> (n));
				}
				m_pFrame->platformKeyDown (key);
				break;
			}
			default: break;
		}
		m_pFrame->forget ();
	}

	CFrame* m_pFrame;    // not owned; owns this window
	Display* m_pDisplay; // our own connection
	Window m_Window;
	Steinberg::Linux::IRunLoop* m_pRunLoop;      // the host's
	EventHandler* m_pHandler = nullptr;          // one reference held while registered
	cairo_surface_t* m_pWindowSurface = nullptr; // the window, device pixels
	cairo_surface_t* m_pBackBuffer = nullptr;    // drawn first, then copied in one go
	bool m_bExposePending = false;
	unsigned m_uLastButton = 0; // for double clicks
	std::chrono::steady_clock::time_point m_LastPress;
	CPoint m_LastPoint;
};

void PLUGIN_API EventHandler::onFDIsSet (Steinberg::Linux::FileDescriptor)
{
	if (owner ())
		owner ()->readEvents ();
}

} // namespace

std::unique_ptr<IPlatformFrame> createPlatformFrame (CFrame* frame, void* parent, PlatformType type,
                                                     IPlatformFrameConfig* config)
{
	if (type != kX11EmbedWindowID || !parent || !config || !config->runLoop)
		return nullptr;
	Display* display = XOpenDisplay (nullptr);
	if (!display)
		return nullptr;
	Window parentWindow = static_cast<Window> (reinterpret_cast<uintptr_t> (parent));
	double scale = frame->getScaleFactor ();
	unsigned w = static_cast<unsigned> (std::max (1L, std::lround (frame->getWidth () * scale)));
	unsigned h = static_cast<unsigned> (std::max (1L, std::lround (frame->getHeight () * scale)));

	XSetWindowAttributes attrs = {};
	attrs.background_pixmap = None; // the server never clears it: no flicker before a repaint
	attrs.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
	                   StructureNotifyMask | FocusChangeMask;
	attrs.bit_gravity = NorthWestGravity;
	Window window = XCreateWindow (display, parentWindow, 0, 0, w, h, 0, CopyFromParent, InputOutput,
	                               CopyFromParent, CWBackPixmap | CWEventMask | CWBitGravity, &attrs);
	Atom xembedInfo = XInternAtom (display, "_XEMBED_INFO", False);
	long info[2] = {0, kXEmbedMapped};
	XChangeProperty (display, window, xembedInfo, xembedInfo, 32, PropModeReplace,
	                 reinterpret_cast<unsigned char*> (info), 2);
	XMapWindow (display, window);
	XSync (display, False);

	auto platform = std::make_unique<X11Frame> (frame, display, window, config->runLoop);
	if (!platform->isRegistered ())
		return nullptr;
	platform->invalidate ();
	return platform;
}

} // namespace VSTGUI
