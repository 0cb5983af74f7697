#include "pluginfactory.h"

#include "utf16.h"

#include <cstring>

namespace Steinberg {

IPluginFactory* gPluginFactory = nullptr;

namespace {

/** Copies a terminated text into a field of N bytes, zero-filling the rest. */
template <size_t N>
void copy8 (char8 (&dst)[N], const char8* src)
{
	size_t n = 0;
	for (; src && n + 1 < N && src[n]; ++n)
		dst[n] = src[n];
	for (; n < N; ++n)
		dst[n] = 0;
}

} // namespace

CPluginFactory::CPluginFactory (const PFactoryInfo& info) : m_FactoryInfo (info)
{
}

CPluginFactory::~CPluginFactory ()
{
	if (gPluginFactory == this)
		gPluginFactory = nullptr;
	if (m_pHostContext)
		m_pHostContext->release ();
}

bool CPluginFactory::isClassRegistered (const FUID& cid) const
{
	for (const auto& entry : m_Classes)
		if (FUnknownPrivate::iidEqual (entry.info2.cid, cid.toTUID ()))
			return true;
	return false;
}


bool CPluginFactory::addEntry (const PClassInfo2& info2, const PClassInfoW& infoW,
                               CreateInstanceFunc createFunc, void* context)
{
	if (!createFunc || isClassRegistered (FUID::fromTUID (info2.cid)))
		return false;
	m_Classes.push_back ({info2, infoW, createFunc, context});
	return true;
}

bool CPluginFactory::registerClass (const PClassInfo* info, CreateInstanceFunc createFunc,
                                    void* context)
{
	if (!info)
		return false;
	PClassInfo2 info2; // value-initialised: every field zero
	std::memcpy (info2.cid, info->cid, sizeof (TUID));
	info2.cardinality = info->cardinality;
	std::memcpy (info2.category, info->category, sizeof (info2.category));
	std::memcpy (info2.name, info->name, sizeof (info2.name));
	info2.category[sizeof (info2.category) - 1] = 0;
	info2.name[sizeof (info2.name) - 1] = 0;
	return registerClass (&info2, createFunc, context);
}

bool CPluginFactory::registerClass (const PClassInfo2* info, CreateInstanceFunc createFunc,
                                    void* context)
{
	if (!info)
		return false;
	PClassInfo2 info2 = *info;
	// Texts from a caller may fill their field: keep every one terminated.
	info2.category[sizeof (info2.category) - 1] = 0;
	info2.name[sizeof (info2.name) - 1] = 0;
	info2.subCategories[sizeof (info2.subCategories) - 1] = 0;
	info2.vendor[sizeof (info2.vendor) - 1] = 0;
	info2.version[sizeof (info2.version) - 1] = 0;
	info2.sdkVersion[sizeof (info2.sdkVersion) - 1] = 0;

	PClassInfoW infoW; // value-initialised: every field zero
	std::memcpy (infoW.cid, info2.cid, sizeof (TUID));
	infoW.cardinality = info2.cardinality;
	std::memcpy (infoW.category, info2.category, sizeof (infoW.category));
	infoW.classFlags = info2.classFlags;
	std::memcpy (infoW.subCategories, info2.subCategories, sizeof (infoW.subCategories));
	Utf16::fromUtf8 (info2.name, infoW.name, PClassInfo::kNameSize);
	Utf16::fromUtf8 (info2.vendor, infoW.vendor, PClassInfoW::kVendorSize);
	Utf16::fromUtf8 (info2.version, infoW.version, PClassInfoW::kVersionSize);
	Utf16::fromUtf8 (info2.sdkVersion, infoW.sdkVersion, PClassInfoW::kVersionSize);
	return addEntry (info2, infoW, createFunc, context);
}

bool CPluginFactory::registerClass (const PClassInfoW* info, CreateInstanceFunc createFunc,
                                    void* context)
{
	if (!info)
		return false;
	PClassInfoW infoW = *info;
	infoW.category[sizeof (infoW.category) - 1] = 0;
	infoW.subCategories[sizeof (infoW.subCategories) - 1] = 0;
	infoW.name[PClassInfo::kNameSize - 1] = 0;
	infoW.vendor[PClassInfoW::kVendorSize - 1] = 0;
	infoW.version[PClassInfoW::kVersionSize - 1] = 0;
	infoW.sdkVersion[PClassInfoW::kVersionSize - 1] = 0;

	PClassInfo2 info2; // value-initialised: every field zero
	std::memcpy (info2.cid, infoW.cid, sizeof (TUID));
	info2.cardinality = infoW.cardinality;
	std::memcpy (info2.category, infoW.category, sizeof (info2.category));
	info2.classFlags = infoW.classFlags;
	std::memcpy (info2.subCategories, infoW.subCategories, sizeof (info2.subCategories));
	Utf16::toUtf8 (infoW.name, info2.name, sizeof (info2.name));
	Utf16::toUtf8 (infoW.vendor, info2.vendor, sizeof (info2.vendor));
	Utf16::toUtf8 (infoW.version, info2.version, sizeof (info2.version));
	Utf16::toUtf8 (infoW.sdkVersion, info2.sdkVersion, sizeof (info2.sdkVersion));
	return addEntry (info2, infoW, createFunc, context);
}

void CPluginFactory::removeAllClasses ()
{
	m_Classes.clear ();
}

const CPluginFactory::ClassEntry* CPluginFactory::entryAt (int32 index) const
{
	if (index < 0 || index >= static_cast<int32> (m_Classes.size ()))
		return nullptr;
	return &m_Classes[static_cast<size_t> (index)];
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo (PFactoryInfo* info)
{
	if (!info)
		return kInvalidArgument;
	*info = m_FactoryInfo;
	return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses ()
{
	return static_cast<int32> (m_Classes.size ());
}

tresult PLUGIN_API CPluginFactory::getClassInfo (int32 index, PClassInfo* info)
{
	const ClassEntry* entry = entryAt (index);
	if (!info || !entry)
		return kInvalidArgument;
	*info = PClassInfo ();
	std::memcpy (info->cid, entry->info2.cid, sizeof (TUID));
	info->cardinality = entry->info2.cardinality;
	copy8 (info->category, entry->info2.category);
	copy8 (info->name, entry->info2.name);
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2 (int32 index, PClassInfo2* info)
{
	const ClassEntry* entry = entryAt (index);
	if (!info || !entry)
		return kInvalidArgument;
	*info = entry->info2;
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode (int32 index, PClassInfoW* info)
{
	const ClassEntry* entry = entryAt (index);
	if (!info || !entry)
		return kInvalidArgument;
	*info = entry->infoW;
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance (FIDString cid, FIDString iid, void** obj)
{
	if (!obj)
		return kInvalidArgument;
	*obj = nullptr;
	if (!cid || !iid)
		return kInvalidArgument;

	for (const auto& entry : m_Classes)
	{
		if (!FUnknownPrivate::iidEqual (entry.info2.cid, cid))
			continue;
		FUnknown* instance = entry.createFunc (entry.context);
		if (!instance)
			return kOutOfMemory;
		const tresult result = instance->queryInterface (iid, obj);
		instance->release ();
		if (result != kResultOk)
		{
			*obj = nullptr;
			return kNoInterface;
		}
		return kResultOk;
	}
	return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext (FUnknown* context)
{
	if (context)
		context->addRef ();
	if (m_pHostContext)
		m_pHostContext->release ();
	m_pHostContext = context;
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IPluginFactory)
	QUERY_INTERFACE (iid, obj, IPluginFactory::iid, IPluginFactory)
	QUERY_INTERFACE (iid, obj, IPluginFactory2::iid, IPluginFactory2)
	QUERY_INTERFACE (iid, obj, IPluginFactory3::iid, IPluginFactory3)
	*obj = nullptr;
	return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef ()
{
	return static_cast<uint32> (FUnknownPrivate::atomicAdd (m_nRefCount, 1));
}

uint32 PLUGIN_API CPluginFactory::release ()
{
	const int32 count = FUnknownPrivate::atomicAdd (m_nRefCount, -1);
	if (count == 0)
	{
		delete this;
		return 0;
	}
	return static_cast<uint32> (count);
}

} // namespace Steinberg
