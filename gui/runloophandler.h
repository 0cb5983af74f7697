// The run loop's side of a timer or a window's event handler: a reference-counted VST 3 object
// that reaches its owner until the owner detaches it (a host may hold it briefly after
// unregistering it).
#pragma once

#include "pluginterfaces/gui/iplugview.h"

#include <atomic>

namespace VSTGUI {

template <class Interface, class Owner>
class RunLoopHandler : public Interface
{
public:
	explicit RunLoopHandler (Owner* owner)
	    : m_pOwner (owner)
	{}
	void detach () { m_pOwner = nullptr; }
	Owner* owner () const { return m_pOwner; }

	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override
	{
		if (Steinberg::FUnknownPrivate::iidEqual (iid, Steinberg::FUnknown::iid) ||
		    Steinberg::FUnknownPrivate::iidEqual (iid, Interface::iid))
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

protected:
	virtual ~RunLoopHandler () = default;

private:
	Owner* m_pOwner;
	std::atomic<Steinberg::uint32> m_nRefs{1};
};

} // namespace VSTGUI
