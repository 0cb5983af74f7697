// A small VST 3 host for the tests: loads the built bundle as a DAW does (through the shared
// ModuleLoader: dlopen, ModuleEntry, GetPluginFactory), creates instances through the factory and drives them through
// the VST 3 interfaces only.
#pragma once

#include "hosting/moduleloader.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <string>
#include <vector>

namespace hosttest {

// The loaded module: loaded on first use, kept for the whole test program.
class CModule
{
public:
	static CModule& get();
	void* symbol(const char* szName) const;
	// A factory reference from GetPluginFactory (the caller releases it).
	Steinberg::IPluginFactory* factory() const;
	const std::string& path() const { return m_Loader.path(); }

private:
	CModule();
	Steinberg::Vst::ModuleLoader m_Loader;
};

// Records what the plug-in tells its host.
class CComponentHandler : public Steinberg::Vst::IComponentHandler
{
public:
	Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID) override;
	Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID uId,
	                                          Steinberg::Vst::ParamValue dValue) override;
	Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID) override;
	Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 nFlags) override;
	Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** ppObject) override;
	Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
	Steinberg::uint32 PLUGIN_API release() override { return 1; }

	std::vector<Steinberg::int32> m_Restarts;
};

// One instance of the module's class with every interface a host asks for, initialized with a
// host context that offers IHostApplication; terminated and released on destruction.
class CInstance
{
public:
	explicit CInstance(bool bInitialize = true);
	~CInstance();
	CInstance(const CInstance&) = delete;
	CInstance& operator=(const CInstance&) = delete;

	// setupProcessing (32-bit, real-time) and setActive(true).
	void activate(double dSampleRate = 48000.0, Steinberg::int32 nMaxBlock = 4096);

	// Component state as bytes, and restoring one (component or controller side).
	std::vector<Steinberg::uint8> state();
	Steinberg::tresult setState(const std::vector<Steinberg::uint8>& bytes, bool bController);

	Steinberg::Vst::IComponent* m_pComponent = nullptr;
	Steinberg::Vst::IAudioProcessor* m_pProcessor = nullptr;
	Steinberg::Vst::IEditController* m_pController = nullptr;
	Steinberg::Vst::IUnitInfo* m_pUnits = nullptr;
	Steinberg::Vst::IMidiMapping* m_pMidi = nullptr;
	Steinberg::Vst::HostApplication m_HostContext;
	CComponentHandler m_Handler;

private:
	bool m_bActive = false;
};

// The stream's values as the effect stores them: 20 controls (float or uint), bypass, joystick.
struct CEffectState
{
	double m_adControl[20];
	bool m_bBypass;
	float m_fJoystickX;
	float m_fJoystickY;
};
bool decodeEffectState(const std::vector<Steinberg::uint8>& bytes, CEffectState& state);

std::u16string str16(const Steinberg::Vst::TChar* szText);

} // namespace hosttest
