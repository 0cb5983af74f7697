#include "cvstguitimer.h"

#include "runloophandler.h"

namespace VSTGUI {

// The run loop's view of the timer; after stop() it no longer reaches the timer.
class CVSTGUITimer::Handler : public RunLoopHandler<Steinberg::Linux::ITimerHandler, CVSTGUITimer>
{
public:
	using RunLoopHandler::RunLoopHandler;
	void PLUGIN_API onTimer () override
	{
		if (owner ())
			owner ()->fire ();
	}
};

CVSTGUITimer::CVSTGUITimer (CBaseObject* target, uint32_t periodMs, Steinberg::Linux::IRunLoop* runLoop)
    : m_pTarget (target)
    , m_uPeriodMs (periodMs)
    , m_pRunLoop (runLoop)
{
	if (!m_pRunLoop || periodMs == 0)
		return;
	m_pHandler = new Handler (this);
	if (m_pRunLoop->registerTimer (m_pHandler, periodMs) != Steinberg::kResultOk)
	{
		m_pHandler->detach ();
		m_pHandler->release ();
		m_pHandler = nullptr;
	}
}

CVSTGUITimer::~CVSTGUITimer ()
{
	stop ();
}

void CVSTGUITimer::stop ()
{
	if (!m_pHandler)
		return;
	m_pRunLoop->unregisterTimer (m_pHandler);
	m_pHandler->detach ();
	m_pHandler->release ();
	m_pHandler = nullptr;
}

void CVSTGUITimer::fire ()
{
	if (m_pTarget)
		m_pTarget->notify (this, kMsgTimer);
}

} // namespace VSTGUI
