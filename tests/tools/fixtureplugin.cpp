// A tiny VST 3 effect whose sound is known in closed form, so the renderer's own behaviour
// (parameter timing, blocks, tail, channels, presets) can be checked sample by sample:
//   out = float (in × gain × polarity), gain 0..2 (normalized × 2), polarity +1 or −1,
//   or out = in while bypassed.
// Three factory presets through a program-change parameter; a tail of kTailSamples. Like some
// plug-ins, it reads no further changes of a block after a bypass change.
// Built twice: as one object that is component and controller at once, and (FIXTURE_SPLIT) as a
// component and a separate controller class, the way most plug-ins are made.
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kGain = 0;
constexpr ParamID kPolarity = 1;
constexpr ParamID kProgram = 7;
constexpr ParamID kBypass = 9;
constexpr uint32 kTailSamples = 1000;

struct CPresetRow
{
	const char* szName;
	double dGain;  // plain
	bool bInvert;
};
constexpr CPresetRow kPresets[] = {{"Unity", 1.0, false}, {"Half Gain", 0.5, false}, {"Inverted Quarter", 0.25, true}};

const FUID kFixtureCid (0x4B525446, 0x49585455, 0x52450000, 0x00000001);
const FUID kControllerCid (0x4B525446, 0x49585455, 0x52450000, 0x00000002);
#ifdef FIXTURE_SPLIT
constexpr bool kSplit = true;
#else
constexpr bool kSplit = false;
#endif

void copy16 (TChar* pDst, const char* pSrc, int nMax = 128)
{
	int i = 0;
	for (; pSrc[i] && i < nMax - 1; ++i)
		pDst[i] = static_cast<TChar> (pSrc[i]);
	pDst[i] = 0;
}

std::string narrow (const TChar* p)
{
	std::string s;
	for (; *p; ++p)
		s += static_cast<char> (*p);
	return s;
}

class CFixtureEffect final : public IComponent, public IAudioProcessor, public IEditController
{
public:
	/** bComponentOnly: the split build's component, which leaves IEditController to its own class. */
	explicit CFixtureEffect (bool bComponentOnly) : m_bComponentOnly (bComponentOnly) {}
	virtual ~CFixtureEffect () = default;

	// FUnknown
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE
	{
		if (FUnknownPrivate::iidEqual (iid, IComponent::iid) || FUnknownPrivate::iidEqual (iid, IPluginBase::iid) ||
		    FUnknownPrivate::iidEqual (iid, FUnknown::iid))
			*obj = static_cast<IComponent*> (this);
		else if (FUnknownPrivate::iidEqual (iid, IAudioProcessor::iid))
			*obj = static_cast<IAudioProcessor*> (this);
		else if (FUnknownPrivate::iidEqual (iid, IEditController::iid) && !m_bComponentOnly)
			*obj = static_cast<IEditController*> (this);
		else
		{
			*obj = nullptr;
			return kNoInterface;
		}
		addRef ();
		return kResultOk;
	}
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return ++m_nRefs; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE
	{
		const uint32 n = --m_nRefs;
		if (n == 0)
			delete this;
		return n;
	}

	// IPluginBase (shared by the component and the controller)
	tresult PLUGIN_API initialize (FUnknown*) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API terminate () SMTG_OVERRIDE { return kResultOk; }

	// IComponent
	tresult PLUGIN_API getControllerClassId (TUID cid) SMTG_OVERRIDE
	{
		if (!m_bComponentOnly)
			return kNotImplemented;
		kControllerCid.toTUID (cid);
		return kResultOk;
	}
	tresult PLUGIN_API setIoMode (IoMode) SMTG_OVERRIDE { return kNotImplemented; }
	int32 PLUGIN_API getBusCount (MediaType type, BusDirection) SMTG_OVERRIDE { return type == kAudio ? 1 : 0; }
	tresult PLUGIN_API getBusInfo (MediaType type, BusDirection dir, int32 index, BusInfo& bus) SMTG_OVERRIDE
	{
		if (type != kAudio || index != 0)
			return kInvalidArgument;
		bus.mediaType = kAudio;
		bus.direction = dir;
		bus.channelCount = m_nChannels;
		copy16 (bus.name, dir == kInput ? "In" : "Out");
		bus.busType = kMain;
		bus.flags = BusInfo::kDefaultActive;
		return kResultOk;
	}
	tresult PLUGIN_API getRoutingInfo (RoutingInfo&, RoutingInfo&) SMTG_OVERRIDE { return kNotImplemented; }
	tresult PLUGIN_API activateBus (MediaType, BusDirection, int32, TBool) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API setActive (TBool) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API setState (IBStream*) SMTG_OVERRIDE { return kNotImplemented; }
	tresult PLUGIN_API getState (IBStream*) SMTG_OVERRIDE { return kNotImplemented; }

	// IAudioProcessor
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement* ins, int32 nIns, SpeakerArrangement* outs,
	                                       int32 nOuts) SMTG_OVERRIDE
	{
		if (nIns != 1 || nOuts != 1 || ins[0] != outs[0] ||
		    (ins[0] != SpeakerArr::kMono && ins[0] != SpeakerArr::kStereo))
			return kResultFalse;
		m_nChannels = ins[0] == SpeakerArr::kMono ? 1 : 2;
		return kResultOk;
	}
	tresult PLUGIN_API getBusArrangement (BusDirection, int32, SpeakerArrangement& arr) SMTG_OVERRIDE
	{
		arr = m_nChannels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
		return kResultOk;
	}
	tresult PLUGIN_API canProcessSampleSize (int32 size) SMTG_OVERRIDE
	{
		return size == kSample32 ? kResultTrue : kResultFalse;
	}
	uint32 PLUGIN_API getLatencySamples () SMTG_OVERRIDE { return 0; }
	tresult PLUGIN_API setupProcessing (ProcessSetup&) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API setProcessing (TBool) SMTG_OVERRIDE { return kNotImplemented; }
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE { return kTailSamples; }
	tresult PLUGIN_API process (ProcessData& data) SMTG_OVERRIDE
	{
		if (IParameterChanges* pChanges = data.inputParameterChanges)
			for (int32 i = 0; i < pChanges->getParameterCount (); ++i)
			{
				IParamValueQueue* q = pChanges->getParameterData (i);
				int32 nOffset = 0;
				ParamValue v = 0;
				if (!q || q->getPointCount () < 1 || q->getPoint (q->getPointCount () - 1, nOffset, v) != kResultOk)
					continue;
				if (q->getParameterId () == kGain)
					m_dAudioGain = 2.0 * v;
				else if (q->getParameterId () == kPolarity)
					m_bAudioInvert = v >= 0.5;
				else if (q->getParameterId () == kProgram && m_bComponentOnly)
					recallPreset (v); // the split component learns of the preset only here
				else if (q->getParameterId () == kBypass)
				{
					m_bAudioBypass = v >= 0.5;
					break;
				}
			}
		if (data.numInputs < 1 || data.numOutputs < 1)
			return kResultOk;
		const double g = m_bAudioBypass ? 1.0 : m_dAudioGain * (m_bAudioInvert ? -1.0 : 1.0);
		for (int32 c = 0; c < data.outputs[0].numChannels; ++c)
			for (int32 i = 0; i < data.numSamples; ++i)
				data.outputs[0].channelBuffers32[c][i] =
				    static_cast<float> (data.inputs[0].channelBuffers32[c][i] * g);
		return kResultOk;
	}

	// IEditController
	tresult PLUGIN_API setComponentState (IBStream*) SMTG_OVERRIDE { return kResultOk; }
	int32 PLUGIN_API getParameterCount () SMTG_OVERRIDE { return 4; }
	tresult PLUGIN_API getParameterInfo (int32 index, ParameterInfo& info) SMTG_OVERRIDE
	{
		std::memset (&info, 0, sizeof info);
		switch (index)
		{
		case 0:
			info.id = kGain;
			copy16 (info.title, "Gain");
			copy16 (info.units, "x");
			info.defaultNormalizedValue = 0.5;
			info.flags = ParameterInfo::kCanAutomate;
			return kResultOk;
		case 1:
			info.id = kPolarity;
			copy16 (info.title, "Polarity");
			info.stepCount = 1;
			info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList;
			return kResultOk;
		case 2:
			info.id = kProgram;
			copy16 (info.title, "Presets");
			info.stepCount = 2;
			info.flags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsList;
			return kResultOk;
		case 3:
			info.id = kBypass;
			copy16 (info.title, "Bypass");
			info.stepCount = 1;
			info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass;
			return kResultOk;
		}
		return kInvalidArgument;
	}
	tresult PLUGIN_API getParamStringByValue (ParamID id, ParamValue v, String128 s) SMTG_OVERRIDE
	{
		char buf[64];
		if (id == kGain)
			std::snprintf (buf, sizeof buf, "%.3f", 2.0 * v);
		else if (id == kPolarity)
			std::snprintf (buf, sizeof buf, "%s", v >= 0.5 ? "Invert" : "Normal");
		else if (id == kProgram)
			std::snprintf (buf, sizeof buf, "%s", kPresets[static_cast<int> (v * 2 + 0.5) % 3].szName);
		else if (id == kBypass)
			std::snprintf (buf, sizeof buf, "%d", v >= 0.5 ? 1 : 0);
		else
			return kInvalidArgument;
		copy16 (s, buf);
		return kResultOk;
	}
	tresult PLUGIN_API getParamValueByString (ParamID id, TChar* s, ParamValue& v) SMTG_OVERRIDE
	{
		const std::string text = narrow (s);
		if (id == kGain)
		{
			char* pEnd = nullptr;
			const double d = std::strtod (text.c_str (), &pEnd);
			if (text.empty () || *pEnd)
				return kResultFalse;
			v = d / 2.0; // unclamped: the host judges the range
			return kResultOk;
		}
		if (id == kBypass && (text == "0" || text == "1"))
		{
			v = text == "1" ? 1.0 : 0.0;
			return kResultOk;
		}
		if (id == kPolarity && (text == "Normal" || text == "Invert"))
		{
			v = text == "Invert" ? 1.0 : 0.0;
			return kResultOk;
		}
		return kResultFalse;
	}
	ParamValue PLUGIN_API normalizedParamToPlain (ParamID id, ParamValue v) SMTG_OVERRIDE
	{
		return id == kGain ? 2.0 * v : id == kProgram ? v * 2 : v;
	}
	ParamValue PLUGIN_API plainParamToNormalized (ParamID id, ParamValue p) SMTG_OVERRIDE
	{
		return id == kGain ? p / 2.0 : id == kProgram ? p / 2 : p;
	}
	ParamValue PLUGIN_API getParamNormalized (ParamID id) SMTG_OVERRIDE
	{
		return id == kGain ? m_dGainNorm : id == kPolarity ? m_dPolarityNorm : id == kProgram ? m_dProgramNorm
		                                                                      : id == kBypass ? m_dBypassNorm : 0.0;
	}
	tresult PLUGIN_API setParamNormalized (ParamID id, ParamValue v) SMTG_OVERRIDE
	{
		if (id == kGain)
			m_dGainNorm = v;
		else if (id == kPolarity)
			m_dPolarityNorm = v;
		else if (id == kBypass)
			m_dBypassNorm = v;
		else if (id == kProgram)
		{
			// A single-component effect recalls the preset into its audio values at once.
			m_dProgramNorm = v;
			recallPreset (v);
			if (m_pHandler)
				m_pHandler->restartComponent (kParamValuesChanged);
		}
		else
			return kInvalidArgument;
		return kResultOk;
	}
	tresult PLUGIN_API setComponentHandler (IComponentHandler* h) SMTG_OVERRIDE
	{
		m_pHandler = h;
		return kResultOk;
	}
	IPlugView* PLUGIN_API createView (FIDString) SMTG_OVERRIDE { return nullptr; }

private:
	void recallPreset (double v)
	{
		const CPresetRow& p = kPresets[static_cast<int> (v * 2 + 0.5) % 3];
		m_dGainNorm = p.dGain / 2.0;
		m_dPolarityNorm = p.bInvert ? 1.0 : 0.0;
		m_dAudioGain = p.dGain;
		m_bAudioInvert = p.bInvert;
	}

	const bool m_bComponentOnly;
	std::atomic<uint32> m_nRefs {1};
	int32 m_nChannels = 2;
	double m_dGainNorm = 0.5, m_dPolarityNorm = 0.0, m_dProgramNorm = 0.0, m_dBypassNorm = 0.0; // controller values
	double m_dAudioGain = 1.0;  // plain gain the audio uses
	bool m_bAudioInvert = false;
	bool m_bAudioBypass = false;
	IComponentHandler* m_pHandler = nullptr; // not owned
};

class CFixtureFactory final : public IPluginFactory
{
public:
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE
	{
		if (FUnknownPrivate::iidEqual (iid, IPluginFactory::iid) || FUnknownPrivate::iidEqual (iid, FUnknown::iid))
		{
			addRef ();
			*obj = this;
			return kResultOk;
		}
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }
	tresult PLUGIN_API getFactoryInfo (PFactoryInfo* info) SMTG_OVERRIDE
	{
		*info = PFactoryInfo ("Fixture Vendor", "", "", PFactoryInfo::kNoFlags);
		return kResultOk;
	}
	int32 PLUGIN_API countClasses () SMTG_OVERRIDE { return kSplit ? 2 : 1; }
	tresult PLUGIN_API getClassInfo (int32 index, PClassInfo* info) SMTG_OVERRIDE
	{
		TUID cid;
		if (index == 1 && kSplit)
		{
			kControllerCid.toTUID (cid);
			*info = PClassInfo (cid, PClassInfo::kManyInstances, kVstComponentControllerClass, "Render Fixture Controller");
			return kResultOk;
		}
		if (index != 0)
			return kInvalidArgument;
		kFixtureCid.toTUID (cid);
		*info = PClassInfo (cid, PClassInfo::kManyInstances, kVstAudioEffectClass, "Render Fixture");
		return kResultOk;
	}
	tresult PLUGIN_API createInstance (FIDString cid, FIDString iid, void** obj) SMTG_OVERRIDE
	{
		*obj = nullptr;
		const bool bController = kSplit && FUnknownPrivate::iidEqual (cid, kControllerCid.toTUID ());
		if (!bController && !FUnknownPrivate::iidEqual (cid, kFixtureCid.toTUID ()))
			return kNoInterface;
		auto* p = new CFixtureEffect (kSplit && !bController);
		const tresult r = p->queryInterface (iid, obj);
		p->release ();
		return r;
	}
};

CFixtureFactory g_Factory;

} // namespace

extern "C" {
__attribute__ ((visibility ("default"))) IPluginFactory* GetPluginFactory ()
{
	return &g_Factory;
}
__attribute__ ((visibility ("default"))) bool ModuleEntry (void*)
{
	return true;
}
__attribute__ ((visibility ("default"))) bool ModuleExit ()
{
	return true;
}
}
