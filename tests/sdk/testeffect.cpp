#include "testeffect.h"

#include "base/source/fstreamer.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace korvessa_test {

const double kProgramGains[3] = {1.0, 2.0, 0.5};
const FUID kTestEffectUid (0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00);
const int32 kTestVst2UniqueId = 0x54657374; // "Test"

std::atomic<int> TestEffect::s_nLiveInstances {0};
TestEffect* TestEffect::s_pLastCreated = nullptr;
bool TestEffect::s_bOfferEditor = false;
std::atomic<int> TestView::s_nLiveViews {0};
TestView* TestView::s_pLast = nullptr;

TestView::TestView ()
{
	ViewRect size (0, 0, 306, 426);
	rect = size;
	++s_nLiveViews;
	s_pLast = this;
}

TestView::~TestView ()
{
	--s_nLiveViews;
	if (s_pLast == this)
		s_pLast = nullptr;
}

tresult PLUGIN_API TestView::isPlatformTypeSupported (FIDString type)
{
	return std::strcmp (type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultTrue : kResultFalse;
}

void TestView::attachedToParent ()
{
	m_pRunLoop = FUnknownPtr<Linux::IRunLoop> (plugFrame);
	if (!m_pRunLoop || pipe (m_nPipe) != 0)
		return;
	m_pRunLoop->registerTimer (this, 1);
	m_pRunLoop->registerEventHandler (this, m_nPipe[0]);
}

void TestView::removedFromParent ()
{
	if (m_pRunLoop)
	{
		m_pRunLoop->unregisterTimer (this);
		m_pRunLoop->unregisterEventHandler (this);
		m_pRunLoop = nullptr;
	}
	for (int& fd : m_nPipe)
		if (fd >= 0)
			close (fd);
	m_nPipe[0] = m_nPipe[1] = -1;
}

void PLUGIN_API TestView::onFDIsSet (Linux::FileDescriptor fd)
{
	char byte = 0;
	if (read (fd, &byte, 1) == 1)
		++m_nFdCalls;
}

IPlugView* PLUGIN_API TestEffect::createView (FIDString name)
{
	if (!s_bOfferEditor || !name || std::strcmp (name, ViewType::kEditor) != 0)
		return nullptr;
	return new TestView;
}

TestEffect::TestEffect () { ++s_nLiveInstances; }
TestEffect::~TestEffect () { --s_nLiveInstances; }

FUnknown* TestEffect::create (void*)
{
	s_pLastCreated = new TestEffect;
	return static_cast<IAudioProcessor*> (s_pLastCreated);
}

tresult PLUGIN_API TestEffect::initialize (FUnknown* context)
{
	const tresult result = SingleComponentEffect::initialize (context);
	if (result != kResultOk)
		return result;
	addAudioInput (STR16 ("AudioInput"), SpeakerArr::kStereo);
	addAudioOutput (STR16 ("Audio Output"), SpeakerArr::kStereo);
	addEventInput (STR16 ("Event Input"), 16);

	auto* gain = new RangeParameter (STR16 ("Gain"), kGainId, STR16 ("x"), 0.0, 2.0, 1.0);
	gain->setPrecision (2);
	parameters.addParameter (gain);
	auto* mode = new StringListParameter (STR16 ("Mode"), kModeId);
	mode->appendString (STR16 ("A"));
	mode->appendString (STR16 ("B"));
	mode->appendString (STR16 ("C"));
	parameters.addParameter (mode);
	parameters.addParameter (STR16 ("Bypass"), nullptr, 1, 0,
	                         ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, kBypassId);
	auto* program = new StringListParameter (STR16 ("Program"), kProgramId, nullptr,
	                                         ParameterInfo::kIsProgramChange | ParameterInfo::kIsList);
	program->appendString (STR16 ("Clean"));
	program->appendString (STR16 ("Loud"));
	program->appendString (STR16 ("Quiet"));
	parameters.addParameter (program);
	return kResultOk;
}

tresult PLUGIN_API TestEffect::setActive (TBool state)
{
	m_bActive = state != 0;
	return kResultOk;
}

tresult PLUGIN_API TestEffect::setupProcessing (ProcessSetup& setup)
{
	if (m_bActive)
		m_bSetupWhileActive = true;
	const tresult result = SingleComponentEffect::setupProcessing (setup);
	if (result == kResultOk)
		m_LastSetup = setup;
	return result;
}

tresult PLUGIN_API TestEffect::process (ProcessData& data)
{
	++m_nProcessCalls;
	m_nLastBlockSamples = data.numSamples;
	if (IParameterChanges* changes = data.inputParameterChanges)
	{
		for (int32 i = 0; i < changes->getParameterCount (); ++i)
		{
			IParamValueQueue* queue = changes->getParameterData (i);
			if (!queue || queue->getPointCount () <= 0)
				continue;
			int32 offset = 0;
			ParamValue value = 0;
			queue->getPoint (queue->getPointCount () - 1, offset, value);
			if (queue->getParameterId () == kGainId)
				m_dGain = 2.0 * value;
			else if (queue->getParameterId () == kModeId)
				m_dMode = value;
			else if (queue->getParameterId () == kBypassId)
				m_bBypass = value > 0.5;
		}
	}
	if (IEventList* events = data.inputEvents)
	{
		for (int32 i = 0; i < events->getEventCount (); ++i)
		{
			Event e {};
			if (events->getEvent (i, e) == kResultOk && e.type == Event::kNoteOnEvent)
			{
				++m_nNoteOns;
				m_nLastNoteOffset = e.sampleOffset;
				m_nLastPitch = e.noteOn.pitch;
			}
		}
	}
	m_dLastTempo = data.processContext && (data.processContext->state & ProcessContext::kTempoValid)
	                   ? data.processContext->tempo
	                   : 0.0;

	if (data.numInputs < 1 || data.numOutputs < 1 || data.numSamples <= 0)
		return kResultOk;
	const AudioBusBuffers& in = data.inputs[0];
	const AudioBusBuffers& out = data.outputs[0];
	const int32 channels = std::min (in.numChannels, out.numChannels);
	const float gain = m_bBypass ? 1.f : static_cast<float> (m_dGain);
	for (int32 c = 0; c < channels; ++c)
		for (int32 i = 0; i < data.numSamples; ++i)
			out.channelBuffers32[c][i] = in.channelBuffers32[c][i] * gain;
	return kResultOk;
}

tresult PLUGIN_API TestEffect::getMidiControllerAssignment (int32 busIndex, int16, CtrlNumber number,
                                                            ParamID& id)
{
	if (busIndex != 0)
		return kResultFalse;
	if (number == 7)
		id = kGainId;
	else if (number == kPitchBend)
		id = kModeId;
	else
		return kResultFalse;
	return kResultOk;
}

tresult PLUGIN_API TestEffect::getState (IBStream* state)
{
	IBStreamer s (state, kLittleEndian);
	if (!s.writeDouble (m_dGain) || !s.writeInt8 (m_bBypass ? 1 : 0))
		return kResultFalse;
	return kResultOk;
}

tresult PLUGIN_API TestEffect::setState (IBStream* state)
{
	IBStreamer s (state, kLittleEndian);
	double gain = 0;
	int8 bypass = 0;
	if (!s.readDouble (gain) || !s.readInt8 (bypass))
		return kResultFalse;
	m_dGain = gain;
	m_bBypass = bypass != 0;
	return kResultOk;
}

tresult PLUGIN_API TestEffect::setComponentState (IBStream* state)
{
	IBStreamer s (state, kLittleEndian);
	double gain = 0;
	int8 bypass = 0;
	if (!s.readDouble (gain) || !s.readInt8 (bypass))
		return kResultFalse;
	EditController::setParamNormalized (kGainId, gain / 2.0);
	EditController::setParamNormalized (kBypassId, bypass ? 1.0 : 0.0);
	return kResultOk;
}

tresult PLUGIN_API TestEffect::setParamNormalized (ParamID tag, ParamValue value)
{
	const tresult result = SingleComponentEffect::setParamNormalized (tag, value);
	if (result == kResultOk && tag == kProgramId)
	{
		const auto program = static_cast<int32> (normalizedParamToPlain (kProgramId, value));
		const double gain = kProgramGains[std::clamp (program, 0, 2)];
		m_dGain = gain;
		EditController::setParamNormalized (kGainId, gain / 2.0);
		if (componentHandler)
			componentHandler->restartComponent (kParamValuesChanged);
	}
	return result;
}

CPluginFactory* createTestFactory ()
{
	PFactoryInfo info ("Test Vendor", "https://example.invalid", "test 1.0", PFactoryInfo::kUnicode);
	auto* factory = new CPluginFactory (info);
	PClassInfo2 cls (kTestEffectUid.toTUID (), PClassInfo::kManyInstances, kVstAudioEffectClass,
	                 "Test Effect", 0, "Fx|Distortion", "", "1.2.3.4", "VST 3.6.6");
	factory->registerClass (&cls, &TestEffect::create);
	return factory;
}

} // namespace korvessa_test
