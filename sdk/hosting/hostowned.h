// FUnknown for the host-side helper objects, which belong to the host that made them (members or
// stack values): addRef/release keep a count for the plug-in's sake but never delete, and
// queryInterface answers FUnknown and the one interface the object implements.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {
namespace Vst {

template <class Interface>
class HostOwned : public Interface
{
public:
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE
	{
		QUERY_INTERFACE (iid, obj, FUnknown::iid, Interface)
		QUERY_INTERFACE (iid, obj, Interface::iid, Interface)
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE
	{
		return static_cast<uint32> (FUnknownPrivate::atomicAdd (m_nRefCount, 1));
	}
	uint32 PLUGIN_API release () SMTG_OVERRIDE
	{
		return static_cast<uint32> (FUnknownPrivate::atomicAdd (m_nRefCount, -1));
	}

private:
	int32 m_nRefCount = 1;
};

} // namespace Vst
} // namespace Steinberg
