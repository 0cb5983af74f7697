// A tiny effect on our SingleComponentEffect, and a factory offering it, for the sdk tests.
//
// Parameters: 0 "Gain" (0..2, default 1), 1 "Mode" (list A/B/C), 2 "Bypass", 100 "Program" (the
// program change, three programs setting Gain to 1, 2 and 0.5). process multiplies by the gain
// (or copies when bypassed) and counts note-ons. State: Gain as double, bypass as int8.
#pragma once

#include "pluginfactory.h"
#include "singlecomponenteffect.h"

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

class TestEffect : public SingleComponentEffect
{
public:
	TestEffect ();
	~TestEffect () override;

	static FUnknown* create (void* context);
	static std::atomic<int> s_nLiveInstances;
	static TestEffect* s_pLastCreated; // the most recent instance create() made

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

	OBJ_METHODS (TestEffect, SingleComponentEffect)
	FUnknown* getHostContext () const { return hostContext; }

	// What the tests look at.
	double m_dGain = 1.0;            // linear
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
