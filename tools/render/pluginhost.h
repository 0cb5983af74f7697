// The renderer's side of the VST 3 conversation: loading a module (through the shared
// ModuleLoader: dlopen and ModuleEntry, or LoadLibraryW and InitDll) and driving one effect instance through IComponent, IAudioProcessor and
// IEditController the way a host does. Everything here runs on the renderer's one thread.
#pragma once

#include "hosting/hostprocessdata.h"
#include "hosting/moduleloader.h"
#include "hosting/parameterchanges.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Steinberg {
namespace Vst {
class HostApplication;
}
}

namespace korvessa {
namespace render {

/** Where the renderer looks for its plug-in when no --plugin is given. */
std::string defaultPluginPath ();

/** A loaded VST 3 module and its factory. Unloads on destruction. */
class CPluginModule
{
public:
	CPluginModule () = default;
	~CPluginModule () = default;
	CPluginModule (const CPluginModule&) = delete;
	CPluginModule& operator= (const CPluginModule&) = delete;

	/** Loads a bundle folder (NAME.vst3) or a module file directly. */
	bool load (const std::string& szPath, std::string& szError);
	Steinberg::IPluginFactory* factory () const { return m_Loader.factory (); }
	const std::string& path () const { return m_Loader.path (); }

	/** The first audio effect class of the factory. */
	bool findEffectClass (Steinberg::TUID cid, std::string& szName, std::string& szError) const;
	/** Factory and class information as readable lines (--info). */
	std::string describe () const;

private:
	Steinberg::Vst::ModuleLoader m_Loader;
};

/** What the renderer knows of one host parameter. */
struct CParamInfo
{
	Steinberg::Vst::ParamID uId = 0;
	std::string szTitle;
	std::string szUnits;
	int32_t nStepCount = 0;  // 0: continuous
	double dDefault = 0.0;   // normalized
	int32_t nFlags = 0;      // ParameterInfo::ParameterFlags
};

/** One instance of the effect class: component, controller and processor, with the
    host-side objects it needs. Released (stopped, terminated) on destruction. */
class CPluginInstance
{
public:
	explicit CPluginInstance (CPluginModule& module);
	~CPluginInstance ();
	CPluginInstance (const CPluginInstance&) = delete;
	CPluginInstance& operator= (const CPluginInstance&) = delete;

	/** Creates and initializes the component and its controller; reads the parameter list. */
	bool create (std::string& szError);

	const std::vector<CParamInfo>& parameters () const { return m_Params; }
	/** Factory preset names, in program-change order (empty when the plug-in has none). */
	std::vector<std::string> presetNames () const;

	/** Loads a .vstpreset file into component and controller, as a host loads a preset; the
	    file must be of this plug-in's class. */
	bool loadPresetFile (const std::string& szPath, std::string& szError);
	/** Selects a factory preset through the program-change parameter, by name
	    (case-insensitive) or by index. */
	bool selectPreset (const std::string& szNameOrIndex, std::string& szError);
	bool selectPresetIndex (int nIndex, std::string& szError);
	/** Sets a parameter by title from text in the parameter's own units (its string
	    conversion); the value reaches the processor with the first block. */
	bool setParameter (const std::string& szTitle, const std::string& szValue, std::string& szError);

	/** Draws the plug-in's editor, as its parameters stand, into a PNG (our own editors only:
	    they offer a window-less picture). */
	bool writeEditorPicture (const std::string& szPath, double dScale, std::string& szError);
	/** True when the controller offers an editor view. */
	bool hasEditor () const;

	/** The controller's current normalized value and its text. */
	double value (Steinberg::Vst::ParamID uId) const;
	std::string valueText (Steinberg::Vst::ParamID uId, double dNormalized) const;

	/** Bus arrangement, processing set-up and activation for nChannels (1 or 2). */
	bool start (double dSampleRate, int nChannels, int nMaxBlock, std::string& szError);
	/** Processes nFrames (≤ nMaxBlock) of planar audio. The audio is copied in and out of the
	    host's own buffers, so ppIn and ppOut may be the same. */
	bool process (const float* const* ppIn, float* const* ppOut, int nFrames);
	/** The plug-in's tail in samples at the started rate (kInfiniteTail passes through). */
	uint32_t tailSamples () const;
	/** setProcessing(false) and setActive(false); start() may follow again. */
	void stop ();

private:
	class CComponentHandler;

	const CParamInfo* findByTitle (const std::string& szTitle) const;
	const CParamInfo* programChangeParameter () const;
	bool isBypass (Steinberg::Vst::ParamID uId) const;
	void releaseAll ();

	CPluginModule& m_Module;
	std::unique_ptr<Steinberg::Vst::HostApplication> m_pHostApp;  // context for initialize (not reference-counted)
	CComponentHandler* m_pHandler = nullptr;                      // the controller's handler
	Steinberg::Vst::IComponent* m_pComponent = nullptr;
	Steinberg::Vst::IAudioProcessor* m_pProcessor = nullptr;
	Steinberg::Vst::IEditController* m_pController = nullptr;
	bool m_bSeparateController = false; // controller is its own object, initialized by us
	bool m_bInitialized = false;
	bool m_bActive = false;
	bool m_bProcessing = false;
	std::vector<CParamInfo> m_Params;

	// Changes a host sends with the first block after set-up: the preset and each --set value.
	std::vector<std::pair<Steinberg::Vst::ParamID, double>> m_Pending;

	std::unique_ptr<Steinberg::Vst::HostProcessData> m_pData;
	std::unique_ptr<Steinberg::Vst::ParameterChanges> m_pInChanges;
	std::unique_ptr<Steinberg::Vst::ParameterChanges> m_pOutChanges;
	Steinberg::Vst::ProcessContext m_Context {};
	int m_nChannels = 0;
	int m_nMaxBlock = 0;       // samples
	int64_t m_nPosition = 0;   // samples processed since start
	double m_dSampleRate = 0;  // Hz
};

} // namespace render
} // namespace korvessa
