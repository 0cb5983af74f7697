// A tiny effect on our SingleComponentEffect, and a factory offering it, for the sdk tests.
//
// Parameters: 0 "Gain" (0..2, default 1), 1 "Mode" (list A/B/C), 2 "Bypass", 100 "Program" (the
// program change, three programs setting Gain to 1, 2 and 0.5). process multiplies by the gain
// (or copies when bypassed) and counts note-ons. State: Gain as double, bypass as int8.
#pragma once

#include "pluginfactory.h"
#include "singlecomponenteffect.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/common/pluginview.h"

#include <atomic>

namespace korvessa_test {

using namespace Steinberg;
using namespace Steinberg::Vst;

enum TestParamIds : ParamID
{
	kGainId = 0,
	kModeId = 1,
	kBypassId = 2,
	kProgramId = 100
};

extern const double kProgramGains[3];
extern const FUID kTestEffectUid;
extern const int32 kTestVst2UniqueId;

/** A 306 x 426 editor for X11 that, once attached, asks its frame for the host's run loop and
    registers a 1 ms timer and a pipe's read end with it. */
class TestView : public CPluginView, public Linux::ITimerHandler, public Linux::IEventHandler
{
public:
	TestView ();
	~TestView () override;
	static std::atomic<int> s_nLiveViews;
	static TestView* s_pLast;

	tresult PLUGIN_API isPlatformTypeSupported (FIDString type) SMTG_OVERRIDE;
	void attachedToParent () SMTG_OVERRIDE;
	void removedFromParent () SMTG_OVERRIDE;
	void PLUGIN_API onTimer () SMTG_OVERRIDE { ++m_nTimerCalls; }
	void PLUGIN_API onFDIsSet (Linux::FileDescriptor fd) SMTG_OVERRIDE;
	IPlugFrame* frame () const { return plugFrame; }
	void* parent () const { return systemWindow; }

	DEFINE_INTERFACES
		DEF_INTERFACE (Linux::ITimerHandler)
		DEF_INTERFACE (Linux::IEventHandler)
	END_DEFINE_INTERFACES (CPluginView)
	REFCOUNT_METHODS (CPluginView)

	int m_nPipe[2] = {-1, -1};
	int m_nTimerCalls = 0;
	int m_nFdCalls = 0;
	IPtr<Linux::IRunLoop> m_pRunLoop;
};

class TestEffect : public SingleComponentEffect, public IMidiMapping
{
public:
	TestEffect ();
	~TestEffect () override;

	static FUnknown* create (void* context);
	static std::atomic<int> s_nLiveInstances;
	static TestEffect* s_pLastCreated; // the most recent instance create() made
	static bool s_bOfferEditor;        // createView answers a TestView

	IPlugView* PLUGIN_API createView (FIDString name) SMTG_OVERRIDE;

	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	tresult PLUGIN_API setActive (TBool state) SMTG_OVERRIDE;
	tresult PLUGIN_API setupProcessing (ProcessSetup& setup) SMTG_OVERRIDE;
	tresult PLUGIN_API process (ProcessData& data) SMTG_OVERRIDE;
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE { return 123; }
	uint32 PLUGIN_API getLatencySamples () SMTG_OVERRIDE { return 7; }
	tresult PLUGIN_API setState (IBStream* state) SMTG_OVERRIDE;
	tresult PLUGIN_API getState (IBStream* state) SMTG_OVERRIDE;
	tresult PLUGIN_API setComponentState (IBStream* state) SMTG_OVERRIDE;
	tresult PLUGIN_API setParamNormalized (ParamID tag, ParamValue value) SMTG_OVERRIDE;

	/** Controller 7 drives Gain, pitch bend drives Mode. */
	tresult PLUGIN_API getMidiControllerAssignment (int32 busIndex, int16 channel,
	                                                CtrlNumber midiControllerNumber,
	                                                ParamID& id) SMTG_OVERRIDE;

	OBJ_METHODS (TestEffect, SingleComponentEffect)
	DEFINE_INTERFACES
		DEF_INTERFACE (IMidiMapping)
	END_DEFINE_INTERFACES (SingleComponentEffect)
	REFCOUNT_METHODS (SingleComponentEffect)
	FUnknown* getHostContext () const { return hostContext; }

	// What the tests look at.
	double m_dGain = 1.0;            // linear
	double m_dMode = 0.0;            // normalized, as last processed
	bool m_bBypass = false;
	bool m_bActive = false;
	int32 m_nNoteOns = 0;
	int32 m_nLastNoteOffset = -1;    // samples
	int16 m_nLastPitch = -1;
	int32 m_nProcessCalls = 0;
	int32 m_nLastBlockSamples = -1;
	double m_dLastTempo = 0.0;       // beats per minute, 0 without a context
	ProcessSetup m_LastSetup {};
	bool m_bSetupWhileActive = false;
};

/** A factory with the test effect registered, as a module would build it. */
CPluginFactory* createTestFactory ();

} // namespace korvessa_test
