#include "cvstguitimer.h"

#include "pluginterfaces/gui/iplugview.h"

#include <atomic>

namespace VSTGUI {

// The run loop's view of the timer. Reference counted, since the host may hold it briefly
// beyond unregisterTimer; after stop() it no longer reaches the timer.
class CVSTGUITimer::Handler : public Steinberg::Linux::ITimerHandler
{
public:
	explicit Handler (CVSTGUITimer* timer)
	    : m_pTimer (timer)
	{}
	void detach () { m_pTimer = nullptr; }

	void PLUGIN_API onTimer () override
	{
		if (m_pTimer)
			m_pTimer->fire ();
	}
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override
	{
		if (Steinberg::FUnknownPrivate::iidEqual (iid, Steinberg::FUnknown::iid) ||
		    Steinberg::FUnknownPrivate::iidEqual (iid, Steinberg::Linux::ITimerHandler::iid))
		{
			addRef ();
			*obj = this;
			return Steinberg::kResultOk;
		}
		*obj = nullptr;
		return Steinberg::kNoInterface;
	}
	Steinberg::uint32 PLUGIN_API addRef () override { return ++m_nRefs; }
	Steinberg::uint32 PLUGIN_API release () override
	{
		Steinberg::uint32 n = --m_nRefs;
		if (n == 0)
			delete this;
		return n;
	}

private:
	virtual ~Handler () = default;
	CVSTGUITimer* m_pTimer;
	std::atomic<Steinberg::uint32> m_nRefs{1};
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
