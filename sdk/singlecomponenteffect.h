// An edit controller that is also the audio component and the audio processor: one object that a
// host obtains IComponent, IAudioProcessor and IEditController from.
//
// Derived effects declare their buses in initialize (addAudioInput, addAudioOutput, addEventInput)
// and override process; bus lists, bus activation, arrangements and the processing set-up are
// kept here. terminate removes every bus, so initialize may run again after it.
#pragma once

#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

namespace Steinberg {
namespace Vst {

class SingleComponentEffect : public EditController, public IComponent, public IAudioProcessor
{
public:
	SingleComponentEffect ();
	~SingleComponentEffect () override;

	// IPluginBase (UI thread)
	/** kResultFalse when already initialized (also for a null context). */
	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	/** Removes every bus, then terminates the controller (parameters, handler, host context). */
	tresult PLUGIN_API terminate () SMTG_OVERRIDE;

	// IComponent (UI thread)
	/** kNotImplemented: there is no separate controller class. */
	tresult PLUGIN_API getControllerClassId (TUID classId) SMTG_OVERRIDE;
	tresult PLUGIN_API setIoMode (IoMode mode) SMTG_OVERRIDE;
	int32 PLUGIN_API getBusCount (MediaType type, BusDirection dir) SMTG_OVERRIDE;
	tresult PLUGIN_API getBusInfo (MediaType type, BusDirection dir, int32 index,
	                               BusInfo& info) SMTG_OVERRIDE;
	tresult PLUGIN_API getRoutingInfo (RoutingInfo& inInfo, RoutingInfo& outInfo) SMTG_OVERRIDE;
	tresult PLUGIN_API activateBus (MediaType type, BusDirection dir, int32 index,
	                                TBool state) SMTG_OVERRIDE;
	tresult PLUGIN_API setActive (TBool state) SMTG_OVERRIDE;
	/** Component and controller share these two; both answer kNotImplemented unless overridden. */
	tresult PLUGIN_API setState (IBStream* state) SMTG_OVERRIDE;
	tresult PLUGIN_API getState (IBStream* state) SMTG_OVERRIDE;

	// IAudioProcessor (UI thread, except process: audio thread)
	/** Accepts exactly one arrangement per declared audio bus, stores them in the buses and
	    answers kResultTrue; a request with other counts changes nothing (kResultFalse). */
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
	                                       SpeakerArrangement* outputs,
	                                       int32 numOuts) SMTG_OVERRIDE;
	tresult PLUGIN_API getBusArrangement (BusDirection dir, int32 index,
	                                      SpeakerArrangement& arr) SMTG_OVERRIDE;
	/** 32-bit samples only. */
	tresult PLUGIN_API canProcessSampleSize (int32 symbolicSampleSize) SMTG_OVERRIDE;
	uint32 PLUGIN_API getLatencySamples () SMTG_OVERRIDE { return 0; }
	/** Stores the set-up; any sample size but 32-bit is refused (kResultFalse, nothing stored). */
	tresult PLUGIN_API setupProcessing (ProcessSetup& setup) SMTG_OVERRIDE;
	tresult PLUGIN_API setProcessing (TBool state) SMTG_OVERRIDE { return kNotImplemented; }
	tresult PLUGIN_API process (ProcessData& data) SMTG_OVERRIDE { return kNotImplemented; }
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE { return kNoTail; }

	// IEditController: the base one indexes its list unchecked, so an index from the host is
	// range-checked here first.
	tresult PLUGIN_API getParameterInfo (int32 paramIndex, ParameterInfo& info) SMTG_OVERRIDE;

	// Bus declaration (UI thread, normally from initialize). The list keeps the bus.
	AudioBus* addAudioInput (const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
	                         int32 flags = BusInfo::kDefaultActive);
	AudioBus* addAudioOutput (const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
	                          int32 flags = BusInfo::kDefaultActive);
	EventBus* addEventInput (const TChar* name, int32 channels = 16, BusType busType = kMain,
	                         int32 flags = BusInfo::kDefaultActive);
	EventBus* addEventOutput (const TChar* name, int32 channels = 16, BusType busType = kMain,
	                          int32 flags = BusInfo::kDefaultActive);
	tresult removeAudioBusses ();
	tresult removeEventBusses ();

	/** The stored processing set-up (defaults: real-time, 32-bit, 1024 samples, 44100 Hz). */
	const ProcessSetup& getProcessSetup () const { return processSetup; }

	OBJ_METHODS (SingleComponentEffect, EditController)
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	REFCOUNT_METHODS (EditController)

protected:
	BusList* getBusList (MediaType type, BusDirection dir);
	Bus* getBus (MediaType type, BusDirection dir, int32 index);
	tresult removeAllBusses ();

	ProcessSetup processSetup;
	BusList audioInputs;
	BusList audioOutputs;
	BusList eventInputs;
	BusList eventOutputs;

private:
	bool m_bInitialized = false; // between a successful initialize and terminate
};

} // namespace Vst
} // namespace Steinberg
