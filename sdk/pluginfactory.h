// The module's plug-in factory: describes the classes a module offers and creates their
// instances (IPluginFactory, IPluginFactory2, IPluginFactory3).
//
// Every class is kept in all three descriptions (PClassInfo, PClassInfo2, PClassInfoW), whichever
// form it was registered in; 8-bit texts are UTF-8, 16-bit texts UTF-16. Reference counted: the
// last release deletes the factory and clears gPluginFactory if it points at it.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <vector>

namespace Steinberg {

/** Creates one instance with a creation reference; context is what registerClass was given. */
using CreateInstanceFunc = FUnknown* (*)(void* context);

class CPluginFactory : public IPluginFactory3
{
public:
	explicit CPluginFactory (const PFactoryInfo& info);
	virtual ~CPluginFactory ();

	/** Registration (UI thread, before the factory is handed out). Each answers false for a null
	    info or function or an already registered class ID. */
	bool registerClass (const PClassInfo* info, CreateInstanceFunc createFunc, void* context = nullptr);
	bool registerClass (const PClassInfo2* info, CreateInstanceFunc createFunc, void* context = nullptr);
	bool registerClass (const PClassInfoW* info, CreateInstanceFunc createFunc, void* context = nullptr);
	bool isClassRegistered (const FUID& cid) const;
	void removeAllClasses ();
	/** The context given to setHostContext (not reference-held beyond the factory's life). */
	FUnknown* getHostContext () const { return m_pHostContext; }

	// IPluginFactory
	tresult PLUGIN_API getFactoryInfo (PFactoryInfo* info) SMTG_OVERRIDE;
	int32 PLUGIN_API countClasses () SMTG_OVERRIDE;
	tresult PLUGIN_API getClassInfo (int32 index, PClassInfo* info) SMTG_OVERRIDE;
	/** Creates the class's object and answers its interface iid (with one reference, which the
	    caller owns); the creation reference is dropped either way, so an object that lacks the
	    interface is destroyed again and kNoInterface is answered. */
	tresult PLUGIN_API createInstance (FIDString cid, FIDString iid, void** obj) SMTG_OVERRIDE;

	// IPluginFactory2
	tresult PLUGIN_API getClassInfo2 (int32 index, PClassInfo2* info) SMTG_OVERRIDE;

	// IPluginFactory3
	tresult PLUGIN_API getClassInfoUnicode (int32 index, PClassInfoW* info) SMTG_OVERRIDE;
	tresult PLUGIN_API setHostContext (FUnknown* context) SMTG_OVERRIDE;

	// FUnknown
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE;
	uint32 PLUGIN_API release () SMTG_OVERRIDE;

private:
	struct ClassEntry
	{
		PClassInfo2 info2;
		PClassInfoW infoW;
		CreateInstanceFunc createFunc;
		void* context;
	};

	bool addEntry (const PClassInfo2& info2, const PClassInfoW& infoW, CreateInstanceFunc createFunc,
	               void* context);
	const ClassEntry* entryAt (int32 index) const;

	PFactoryInfo m_FactoryInfo;
	std::vector<ClassEntry> m_Classes; // in registration order
	FUnknown* m_pHostContext = nullptr; // held with one reference
	int32 m_nRefCount = 1;
};

/** The module's factory while it exists (set by whoever creates it, cleared on its deletion). */
extern IPluginFactory* gPluginFactory;

} // namespace Steinberg
