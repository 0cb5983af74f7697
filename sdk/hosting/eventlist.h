// Host-side event list for one processing block (Steinberg::Vst::IEventList).
//
// Storage is reserved in the constructor; addEvent and clear never allocate, and a full list
// refuses further events. Owned by the host: addRef/release count but never delete.
#pragma once

#include "pluginterfaces/vst/ivstevents.h"
#include "hostowned.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class EventList : public HostOwned<IEventList>
{
public:
	explicit EventList (int32 maxEvents = 512);
	virtual ~EventList () = default;

	/** Empties the list, keeping its storage. Any thread. */
	void clear () { m_nCount = 0; }
	int32 getMaxEvents () const { return static_cast<int32> (m_Events.size ()); }

	// IEventList
	int32 PLUGIN_API getEventCount () SMTG_OVERRIDE { return m_nCount; }
	tresult PLUGIN_API getEvent (int32 index, Event& e) SMTG_OVERRIDE;
	/** Appends a copy of the event; kResultFalse when the list is full. */
	tresult PLUGIN_API addEvent (Event& e) SMTG_OVERRIDE;


private:
	std::vector<Event> m_Events; // fixed capacity, first m_nCount in use
	int32 m_nCount = 0;
};

} // namespace Vst
} // namespace Steinberg
