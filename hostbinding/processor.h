// The one object a host sees: a VST 3 single-component effect (processor and edit controller at
// once) that owns the plug-in, turns its control list into host parameters, processes audio
// through it, saves and restores its state and recalls its factory presets.
#pragma once

#include "sdk/singlecomponenteffect.h"

#include "plugincore/guimessage.h"

#include "gui/plugin-bindings/vst3editordelegate.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <map>
#include <memory>
#include <vector>

class CPlugIn;
class CControlDescriptor;

namespace Zaze2VST3 {

class CVSTParamUpdateQueue;
class CVSTMidiEventList;

// Fixed parameter IDs next to the controls' positions.
enum EFixedParameter : Steinberg::Vst::ParamID
{
	kParamPitchBend = 2048,
	kParamModWheel = 2049,
	kParamMidiVolume = 2050,
	kParamMidiPan = 2051,
	kParamExpression = 2052,
	kParamSustain = 2053,
	kParamChannelPressure = 2054,
	kParamAllNotesOff = 2055,
	kParamBypass = 2056,
	kParamButton1 = 32768,
	kParamButton2 = 32769,
	kParamButton3 = 32770,
	kParamJoystickX = 32773,
	kParamJoystickY = 32774,
	kParamFactoryPresets = 0x70727374, // "prst": the program-change parameter
};

constexpr Steinberg::Vst::ProgramListID kFactoryProgramListId = 0x70727374;

class Processor : public Steinberg::Vst::SingleComponentEffect,
                  public Steinberg::Vst::IMidiMapping,
                  public Steinberg::Vst::IUnitInfo,
                  public VSTGUI::VST3EditorDelegate
{
public:
	using PlugInMaker = CPlugIn* (*)();

	// Creates the module's plug-in with createPlugIn.
	Processor();
	// Creates the plug-in with another maker (tests bind their own plug-ins this way).
	explicit Processor(PlugInMaker pMakePlugIn);
	~Processor() override;

	// The factory's instance creation: a new Processor as its IAudioProcessor.
	static Steinberg::FUnknown* createInstance(void* pContext);

	// IPluginBase / IEditController, UI thread.
	Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* pContext) override;
	Steinberg::tresult PLUGIN_API terminate() override;

	// IComponent, UI thread.
	Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) override;
	Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) override;
	Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
	                                             Steinberg::Vst::RoutingInfo& outInfo) override;
	Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool bState) override;
	Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* pState) override;
	Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* pState) override;

	// IAudioProcessor: set-up on the UI thread, process on the audio thread.
	Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* pInputs,
	                                                 Steinberg::int32 nInputs,
	                                                 Steinberg::Vst::SpeakerArrangement* pOutputs,
	                                                 Steinberg::int32 nOutputs) override;
	Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 nSymbolicSize) override;
	Steinberg::uint32 PLUGIN_API getLatencySamples() override;
	Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
	Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool bState) override;
	Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
	Steinberg::uint32 PLUGIN_API getTailSamples() override;

	// IEditController, UI thread.
	Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* pState) override;
	Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID uId,
	                                                 Steinberg::Vst::ParamValue dValue) override;
	Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString szName) override;

	// IMidiMapping, UI thread.
	Steinberg::tresult PLUGIN_API getMidiControllerAssignment(
	    Steinberg::int32 nBusIndex, Steinberg::int16 nChannel,
	    Steinberg::Vst::CtrlNumber nController, Steinberg::Vst::ParamID& uId) override;

	// IUnitInfo, UI thread.
	Steinberg::int32 PLUGIN_API getUnitCount() override;
	Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 nUnitIndex,
	                                          Steinberg::Vst::UnitInfo& info) override;
	Steinberg::int32 PLUGIN_API getProgramListCount() override;
	Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 nListIndex,
	                                                 Steinberg::Vst::ProgramListInfo& info) override;
	Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID nListId,
	                                             Steinberg::int32 nProgramIndex,
	                                             Steinberg::Vst::String128 szName) override;
	Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID nListId,
	                                             Steinberg::int32 nProgramIndex,
	                                             Steinberg::Vst::CString szAttributeId,
	                                             Steinberg::Vst::String128 szValue) override;
	Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID nListId,
	                                                   Steinberg::int32 nProgramIndex) override;
	Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID nListId,
	                                                  Steinberg::int32 nProgramIndex,
	                                                  Steinberg::int16 nMidiPitch,
	                                                  Steinberg::Vst::String128 szName) override;
	Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override;
	Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID nUnitId) override;
	Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType nType,
	                                           Steinberg::Vst::BusDirection nDir,
	                                           Steinberg::int32 nBusIndex,
	                                           Steinberg::int32 nChannel,
	                                           Steinberg::Vst::UnitID& nUnitId) override;
	Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32 nListOrUnitId,
	                                                 Steinberg::int32 nProgramIndex,
	                                                 Steinberg::IBStream* pData) override;

	// Kept from the SDK's unit protocol. UI thread.
	virtual Steinberg::tresult setProgramName(Steinberg::Vst::ProgramListID nListId,
	                                          Steinberg::int32 nProgramIndex,
	                                          const Steinberg::Vst::String128 szName);
	virtual Steinberg::tresult notifyUnitSelection();
	void PLUGIN_API update(Steinberg::FUnknown* pChanged, Steinberg::int32 nMessage) override;

	// Text messages from the editor ("VSTGUITimerPing", "RecreateView"). UI thread.
	Steinberg::tresult receiveText(const char* szText) override;

	// The editor's delegate: custom views, sub-controllers and the editor's life cycle. UI thread.
	VSTGUI::CView* createCustomView(VSTGUI::UTF8StringPtr szName, const VSTGUI::UIAttributes& attributes,
	                                const VSTGUI::IUIDescription* pDescription,
	                                VSTGUI::VST3Editor* pEditor) override;
	VSTGUI::IController* createSubController(VSTGUI::UTF8StringPtr szName,
	                                         const VSTGUI::IUIDescription* pDescription,
	                                         VSTGUI::VST3Editor* pEditor) override;
	void didOpen(VSTGUI::VST3Editor* pEditor) override;
	void willClose(VSTGUI::VST3Editor* pEditor) override;

	// The plug-in object (null only if its creation failed).
	CPlugIn* getPlugIn() const { return m_pPlugIn; }
	bool isBypassed() const { return m_bBypass; }
	bool m_bUnitsViewsEnabled;   // read by the editor's view factory

	OBJ_METHODS(Processor, SingleComponentEffect)
	Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** ppObject) override;
	REFCOUNT_METHODS(SingleComponentEffect)

private:
	void createPlugInObject(bool bCopyAll);
	void sendParameterChanged(Steinberg::Vst::ParamID uId, double dValue);
	// Codes 0 and 1 through m_GuiMessage (empty texts, no editor, no listener).
	void sendEditorLifeCycle(uint32_t uCode);
	const CControlDescriptor* descriptorAt(Steinberg::int64 nPosition) const;
	CControlDescriptor* descriptorAt(Steinberg::int64 nPosition);
	Steinberg::int32 controlCount() const;
	// Reads a component state stream and hands each value to the sink as it is read; false
	// when the stream ends early or holds an unusable value (what was handed on stays).
	struct StateSink;
	bool readState(Steinberg::IBStream* pState, StateSink& sink);
	void addControlParameters();
	void addFixedParameters();
	void addPresetParameter();
	void applyParameterChanges(Steinberg::Vst::ProcessData& data);
	void applyFixedParameter(Steinberg::Vst::ParamID uId, double dValue);
	void publishMeters(Steinberg::Vst::ProcessData& data, bool bZero);
	void detachQueues();
	void recallFactoryPreset(double dNormalized);
	void syncLinkedControls();
	Steinberg::int32 presetSlotOfEntry(Steinberg::int32 nEntry) const;
	void sizeSilentBuffers(Steinberg::int32 nMaxSamples);
	bool isAudioInputActive(Steinberg::int32 nBus);

	PlugInMaker m_pMakePlugIn;               // makes the plug-in object

	Steinberg::int32 m_nLatencySamples;      // reported latency, samples
	CPlugIn* m_pPlugIn;                      // owned
	bool m_bBypass;                          // bypass: input copied to output
	std::vector<Steinberg::int32> m_MeterParameterIDs; // read-only meter parameters
	bool m_bSideChain;                       // the plug-in wants a side-chain input
	std::unique_ptr<std::unique_ptr<CVSTParamUpdateQueue>[]> m_pQueues; // one per control
	Steinberg::int32 m_nQueueCount;          // entries of m_pQueues
	Steinberg::int32 m_nUpdateGranularity;   // sample-accurate granularity, samples
	bool m_bSampleAccurate;                  // the plug-in wants sample-accurate values
	std::unique_ptr<CVSTMidiEventList> m_pMidiEvents; // MIDI handed to the plug-in
	std::vector<Steinberg::IPtr<Steinberg::Vst::Unit>> m_Units; // declared units
	std::map<Steinberg::Vst::ProgramListID, Steinberg::IPtr<Steinberg::Vst::ProgramList>>
	    m_ProgramLists;                      // SDK protocol only; stays empty
	Steinberg::Vst::UnitID m_nSelectedUnit;  // unit last selected by the host
	CGuiMessageRecord m_GuiMessage;          // reused for editor messages 0..3
	std::vector<float> m_SilentInput;        // zero input of an output-only plug-in, 2 channels
	Steinberg::int32 m_nSilentSamples;       // samples per channel in m_SilentInput
};

} // namespace Zaze2VST3
