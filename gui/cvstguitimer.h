// A repeating timer on the host's run loop: every period it sends kMsgTimer to its target's
// notify, on the UI thread.
#pragma once

#include "cbaseobject.h"

#include <cstdint>

namespace Steinberg {
namespace Linux {
class IRunLoop;
}
} // namespace Steinberg

namespace VSTGUI {

class CVSTGUITimer : public CBaseObject
{
public:
	// An array, so that every translation unit compares against the same address.
	static constexpr char kMsgTimer[] = "timer fired";

	/** Registers with the run loop at once; isRunning() tells whether it could. */
	CVSTGUITimer (CBaseObject* target, uint32_t periodMs, Steinberg::Linux::IRunLoop* runLoop);
	~CVSTGUITimer () override;

	bool isRunning () const { return m_pHandler != nullptr; }
	void stop ();
	uint32_t getPeriod () const { return m_uPeriodMs; }
	/** Sends the timer message now (the run loop's callback). */
	void fire ();

private:
	class Handler;
	CBaseObject* m_pTarget;                 // not owned
	uint32_t m_uPeriodMs;                   // ms
	Steinberg::Linux::IRunLoop* m_pRunLoop; // not owned; the host's
	Handler* m_pHandler = nullptr;          // one reference held while registered
};

} // namespace VSTGUI
