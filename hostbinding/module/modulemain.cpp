// The module's exports besides ModuleEntry/ModuleExit: the VST 3 factory, InitDll/ExitDll and
// the VST 2 entry. Everything else in the module is hidden.
#include "hostbinding/classids.h"
#include "hostbinding/factoryinfo.h"
#include "hostbinding/processor.h"

#include "sdk/pluginfactory.h"
#include "sdk/vst2wrapper.h"

#include "korvessaplatform.h"

#include <new>

using namespace Steinberg;

namespace {

// The module keeps no state that needs setting up or tearing down beyond the factory.
bool moduleInit()
{
	return true;
}

} // namespace

// The module's single plug-in factory; a later call adds a reference to the same object.
// UI thread.
KORVESSA_EXPORT IPluginFactory* PLUGIN_API GetPluginFactory()
{
	if (gPluginFactory)
	{
		gPluginFactory->addRef();
		return gPluginFactory;
	}
	auto* pFactory = new (std::nothrow) CPluginFactory(Zaze2VST3::moduleFactoryInfo());
	if (!pFactory)
		return nullptr;
	gPluginFactory = pFactory;
	pFactory->registerClass(&Zaze2VST3::processorClassInfo(), &Zaze2VST3::Processor::createInstance,
	                        nullptr);
	return pFactory;
}

KORVESSA_EXPORT bool InitDll()
{
	return moduleInit();
}

KORVESSA_EXPORT bool ExitDll()
{
	return moduleInit();
}

// VST 2 entry: serves the same class through the VST 2 adapter. Null for a host that answers 0
// to the version request or when the adapter cannot be made. UI thread.
KORVESSA_EXPORT AEffect* VSTPluginMain(audioMasterCallback pHostCallback)
{
	if (!pHostCallback || pHostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
		return nullptr;
	moduleInit();
	IPluginFactory* pFactory = GetPluginFactory();
	if (!pFactory)
		return nullptr;
	AEffect* pEffect = Vst::Vst2Wrapper::create(pFactory, Zaze2VST3::kProcessorClassId,
	                                           Zaze2VST3::kVst2UniqueId, pHostCallback);
	pFactory->release(); // the adapter keeps its instance, not the factory
	return pEffect;
}
