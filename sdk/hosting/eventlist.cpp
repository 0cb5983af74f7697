#include "eventlist.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

EventList::EventList (int32 maxEvents)
: m_Events (static_cast<size_t> (std::max<int32> (maxEvents, 0)))
{
}

tresult PLUGIN_API EventList::getEvent (int32 index, Event& e)
{
	if (index < 0 || index >= m_nCount)
		return kInvalidArgument;
	e = m_Events[index];
	return kResultOk;
}

tresult PLUGIN_API EventList::addEvent (Event& e)
{
	if (m_nCount >= getMaxEvents ())
		return kResultFalse;
	m_Events[m_nCount++] = e;
	return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
