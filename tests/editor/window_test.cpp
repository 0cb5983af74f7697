// The editor in a real X11 window, as a Linux host shows it: a small host with its own window,
// IPlugFrame and run loop (a poll loop over the registered descriptors and timers) embeds the
// editor, and synthetic input through the X server (XTest) turns a knob and presses a button.
// The same through the VST 2 entry. Runs under a virtual X server (xvfb-run).
#include "../hostbinding/testhost.h"

#include <gtest/gtest.h>

#include "vst2/aeffect.h"

#include "pluginterfaces/gui/iplugview.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace hosttest;

namespace {

uint64_t nowMs ()
{
	return static_cast<uint64_t> (std::chrono::duration_cast<std::chrono::milliseconds> (
	                                  std::chrono::steady_clock::now ().time_since_epoch ())
	                                  .count ());
}

// The host side: a top-level window the editor embeds in, the plug-in frame and the run loop.
class CX11Host : public IPlugFrame, public Linux::IRunLoop
{
public:
	CX11Host ()
	{
		m_pDisplay = XOpenDisplay (nullptr);
		if (!m_pDisplay)
			return;
		m_Window = XCreateSimpleWindow (m_pDisplay, DefaultRootWindow (m_pDisplay), 0, 0, 320, 440, 0, 0, 0);
		XMapWindow (m_pDisplay, m_Window);
		XSync (m_pDisplay, False);
	}
	~CX11Host ()
	{
		if (!m_pDisplay)
			return;
		XDestroyWindow (m_pDisplay, m_Window);
		XCloseDisplay (m_pDisplay);
	}
	bool ok () const { return m_pDisplay != nullptr; }
	void* parent () const { return reinterpret_cast<void*> (m_Window); }

	/** Children of the host's window, as the X server sees them. */
	unsigned childCount ()
	{
		Window root, parent, *children = nullptr;
		unsigned n = 0;
		XSync (m_pDisplay, False);
		XQueryTree (m_pDisplay, m_Window, &root, &parent, &children, &n);
		if (children)
			XFree (children);
		return n;
	}

	/** Serves the registered descriptors and timers for a while. */
	void pump (uint64_t uMs)
	{
		const uint64_t uEnd = nowMs () + uMs;
		while (nowMs () < uEnd)
		{
			std::vector<pollfd> fds;
			for (auto& h : m_Handlers)
				fds.push_back ({h.second, POLLIN, 0});
			poll (fds.data (), fds.size (), 5);
			for (size_t i = 0; i < fds.size () && i < m_Handlers.size (); ++i)
				if (fds[i].revents & POLLIN)
					m_Handlers[i].first->onFDIsSet (m_Handlers[i].second);
			const uint64_t now = nowMs ();
			for (size_t i = 0; i < m_Timers.size (); ++i)
				if (now >= m_Timers[i].uNext)
				{
					m_Timers[i].uNext = now + m_Timers[i].uPeriod;
					++m_nTicks;
					m_Timers[i].pHandler->onTimer ();
				}
		}
	}

	/** Pointer input through the X server, at a point of the host's window. */
	void press (int x, int y) { fake (x, y, true); }
	void release (int x, int y) { fake (x, y, false); }
	void moveTo (int x, int y)
	{
		XTestFakeMotionEvent (m_pDisplay, DefaultScreen (m_pDisplay), x, y, CurrentTime);
		XFlush (m_pDisplay);
	}

	// IPlugFrame
	tresult PLUGIN_API resizeView (IPlugView*, ViewRect*) override { return kResultFalse; }
	// Linux::IRunLoop
	tresult PLUGIN_API registerEventHandler (Linux::IEventHandler* h, Linux::FileDescriptor fd) override
	{
		m_Handlers.push_back ({h, fd});
		return kResultOk;
	}
	tresult PLUGIN_API unregisterEventHandler (Linux::IEventHandler* h) override
	{
		for (auto it = m_Handlers.begin (); it != m_Handlers.end (); ++it)
			if (it->first == h)
			{
				m_Handlers.erase (it);
				return kResultOk;
			}
		return kResultFalse;
	}
	tresult PLUGIN_API registerTimer (Linux::ITimerHandler* h, Linux::TimerInterval ms) override
	{
		m_Timers.push_back ({h, ms, nowMs () + ms});
		return kResultOk;
	}
	tresult PLUGIN_API unregisterTimer (Linux::ITimerHandler* h) override
	{
		for (auto it = m_Timers.begin (); it != m_Timers.end (); ++it)
			if (it->pHandler == h)
			{
				m_Timers.erase (it);
				return kResultOk;
			}
		return kResultFalse;
	}
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override
	{
		QUERY_INTERFACE (iid, obj, FUnknown::iid, IPlugFrame)
		QUERY_INTERFACE (iid, obj, IPlugFrame::iid, IPlugFrame)
		QUERY_INTERFACE (iid, obj, Linux::IRunLoop::iid, Linux::IRunLoop)
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

	struct Timer
	{
		Linux::ITimerHandler* pHandler;
		uint64_t uPeriod;
		uint64_t uNext;
	};
	std::vector<std::pair<Linux::IEventHandler*, int>> m_Handlers;
	std::vector<Timer> m_Timers;
	int m_nTicks = 0;

private:
	void fake (int x, int y, bool bDown)
	{
		moveTo (x, y);
		XTestFakeButtonEvent (m_pDisplay, 1, bDown ? True : False, CurrentTime);
		XFlush (m_pDisplay);
	}

	Display* m_pDisplay = nullptr;
	Window m_Window = 0;
};

// The Tone knob's centre and the LowCut On button's centre, in editor pixels.
constexpr int kToneX = 152, kToneY = 78;
constexpr int kLowCutOnX = 40, kLowCutOnY = 369;

// A vertical drag of the Tone knob, then a click on LowCut On, served between the steps by
// the given idle function.
template <class Idle>
void turnToneAndPressLowCut (CX11Host& host, Idle idle)
{
	host.moveTo (kToneX, kToneY);
	idle (100);
	host.press (kToneX, kToneY);
	idle (50);
	for (int dy = 5; dy <= 30; dy += 5)
	{
		host.moveTo (kToneX, kToneY - dy);
		idle (20);
	}
	host.release (kToneX, kToneY - 30);
	idle (50);
	host.press (kLowCutOnX, kLowCutOnY);
	idle (30);
	host.release (kLowCutOnX, kLowCutOnY);
	idle (150);
}

} // namespace

TEST (EditorWindow, EmbedsFollowsTheMouseAndLeavesNothingBehind)
{
	CX11Host host;
	ASSERT_TRUE (host.ok ()) << "no X display (run under xvfb-run)";
	CInstance instance;
	IEditController* controller = instance.m_pController;
	IPlugView* view = controller->createView (ViewType::kEditor);
	ASSERT_NE (view, nullptr);
	ASSERT_EQ (view->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID), kResultTrue);
	ASSERT_EQ (view->setFrame (&host), kResultTrue);
	ASSERT_EQ (view->attached (host.parent (), kPlatformTypeX11EmbedWindowID), kResultOk);
	EXPECT_EQ (host.childCount (), 1u);
	EXPECT_EQ (host.m_Handlers.size (), 1u);
	ASSERT_EQ (host.m_Timers.size (), 1u);
	EXPECT_EQ (host.m_Timers[0].uPeriod, 50u);

	const double dMids = controller->getParamNormalized (4);
	const double dIncap = controller->getParamNormalized (18);
	turnToneAndPressLowCut (host, [&] (uint64_t ms) { host.pump (ms); });
	EXPECT_NEAR (controller->getParamNormalized (4), std::min (1.0, dMids + 30.0 / 200.0), 1e-6);
	EXPECT_DOUBLE_EQ (controller->getParamNormalized (18), 1.0 - dIncap);
	EXPECT_GT (host.m_nTicks, 5);

	EXPECT_EQ (view->removed (), kResultOk);
	EXPECT_TRUE (host.m_Handlers.empty ());
	EXPECT_TRUE (host.m_Timers.empty ());
	EXPECT_EQ (host.childCount (), 0u);
	view->setFrame (nullptr);
	view->release ();
}

namespace {
intptr_t vst2Host (AEffect*, int32_t nOpcode, int32_t, intptr_t, void*, float)
{
	switch (nOpcode)
	{
		case audioMasterVersion: return 2400;
		case audioMasterGetSampleRate: return 48000;
		case audioMasterGetBlockSize: return 256;
		default: return 0;
	}
}
} // namespace

TEST (EditorWindow, TheVst2EntryOffersTheSameEditor)
{
	CX11Host host;
	ASSERT_TRUE (host.ok ()) << "no X display (run under xvfb-run)";
	using MainFunc = AEffect* (*)(audioMasterCallback);
	auto vstMain = reinterpret_cast<MainFunc> (CModule::get ().symbol ("VSTPluginMain"));
	ASSERT_NE (vstMain, nullptr);
	AEffect* effect = vstMain (&vst2Host);
	ASSERT_NE (effect, nullptr);
	auto dispatch = [effect] (int32_t op, intptr_t value = 0, void* ptr = nullptr) {
		return effect->dispatcher (effect, op, 0, value, ptr, 0.f);
	};
	dispatch (effOpen);
	EXPECT_NE (effect->flags & effFlagsHasEditor, 0);
	ERect* rect = nullptr;
	EXPECT_NE (dispatch (effEditGetRect, 0, &rect), 0);
	ASSERT_NE (rect, nullptr);
	EXPECT_EQ (rect->right - rect->left, 306);
	EXPECT_EQ (rect->bottom - rect->top, 426);

	ASSERT_NE (dispatch (effEditOpen, 0, host.parent ()), 0);
	EXPECT_EQ (host.childCount (), 1u);
	const float fMids = effect->getParameter (effect, 4);
	const float fIncap = effect->getParameter (effect, 18);
	auto idle = [&] (uint64_t ms) {
		const uint64_t uEnd = nowMs () + ms;
		while (nowMs () < uEnd)
		{
			dispatch (effEditIdle);
			std::this_thread::sleep_for (std::chrono::milliseconds (5));
		}
	};
	turnToneAndPressLowCut (host, idle);
	EXPECT_NEAR (effect->getParameter (effect, 4), std::min (1.f, fMids + 0.15f), 1e-5);
	EXPECT_FLOAT_EQ (effect->getParameter (effect, 18), 1.f - fIncap);

	dispatch (effEditClose);
	EXPECT_EQ (host.childCount (), 0u);
	dispatch (effClose);
}
