// The processor driven directly, bound to small test plug-ins: parameter layout, processing,
// MIDI, state and presets, each checked against what the plug-in receives.
#include "testplugin.h"

#include "hostbinding/processor.h"

#include "hosting/eventlist.h"
#include "hosting/hostprocessdata.h"
#include "hosting/parameterchanges.h"

#include "base/source/fstreamer.h"
#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include <xmmintrin.h>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Zaze2VST3;

namespace {

struct CProcessorDeleter
{
	void operator()(Processor* pProcessor) const
	{
		pProcessor->terminate();
		pProcessor->release();
	}
};
using ProcessorPtr = std::unique_ptr<Processor, CProcessorDeleter>;

// A processor bound to the plug-in, initialized and set up at 48 kHz for blocks up to 4096.
ProcessorPtr makeProcessor(CTestPlugIn* pPlugIn, FUnknown* pContext = nullptr)
{
	setNextTestPlugIn(pPlugIn);
	ProcessorPtr processor(new Processor(&takeTestPlugIn));
	EXPECT_EQ(processor->initialize(pContext), kResultOk);
	ProcessSetup setup = {kRealtime, kSample32, 4096, 48000.0};
	EXPECT_EQ(processor->setupProcessing(setup), kResultOk);
	EXPECT_EQ(processor->setActive(true), kResultOk);
	return processor;
}

std::u16string str(const TChar* szText)
{
	return std::u16string(reinterpret_cast<const char16_t*>(szText));
}

std::u16string paramText(Processor& processor, ParamID uId, double dNormalized)
{
	String128 szText = {};
	processor.getParamStringByValue(uId, dNormalized, szText);
	return str(szText);
}

// Records restartComponent and edits.
class CRecordingHandler : public IComponentHandler
{
public:
	tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
	tresult PLUGIN_API performEdit(ParamID uId, ParamValue dValue) override
	{
		m_Edits.emplace_back(uId, dValue);
		return kResultOk;
	}
	tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
	tresult PLUGIN_API restartComponent(int32 nFlags) override
	{
		m_Restarts.push_back(nFlags);
		return kResultOk;
	}
	tresult PLUGIN_API queryInterface(const TUID iid, void** ppObject) override
	{
		QUERY_INTERFACE(iid, ppObject, FUnknown::iid, IComponentHandler)
		QUERY_INTERFACE(iid, ppObject, IComponentHandler::iid, IComponentHandler)
		*ppObject = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef() override { return 1; }
	uint32 PLUGIN_API release() override { return 1; }

	std::vector<int32> m_Restarts;
	std::vector<std::pair<ParamID, double>> m_Edits;
};

// One block of nSamples with the given changes and events; input channel c holds c + 1 + i/1000.
struct CBlock
{
	HostProcessData data;
	ParameterChanges changes;
	EventList events;
	ParameterChanges outChanges;

	CBlock(int32 nInChannels, int32 nOutChannels, int32 nSamples)
	{
		data.prepare(nInChannels, nOutChannels, nSamples);
		data.setNumSamples(nSamples);
		for (int32 c = 0; c < nInChannels; ++c)
			for (int32 i = 0; i < nSamples; ++i)
				data.inputChannel(0, c)[i] = static_cast<float>(c + 1) + i / 1000.0f;
		data.attach(&changes, &events, nullptr, &outChanges);
	}
	void add(ParamID uId, int32 nOffset, double dValue) { changes.addPoint(uId, nOffset, dValue); }
};

const std::vector<CTestControl> kTwoControls = {
    {kKindParameter, kValueFloat, "Gain", 0.0f, 1.0f, 0.75f},
    {kKindParameter, kValueUint, "Mode", 0.0f, 2.0f, 2.0f, "A,B,C"},
};

std::vector<uint8_t> stateOf(Processor& processor)
{
	MemoryStream stream;
	EXPECT_EQ(processor.getState(&stream), kResultOk);
	const auto* pBytes = reinterpret_cast<const uint8_t*>(stream.getData());
	return std::vector<uint8_t>(pBytes, pBytes + stream.getSize());
}

tresult setStateBytes(Processor& processor, const std::vector<uint8_t>& bytes, bool bController)
{
	MemoryStream stream;
	int32 nWritten = 0;
	if (!bytes.empty())
		stream.write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &nWritten);
	stream.seek(0, IBStream::kIBSeekSet, nullptr);
	return bController ? processor.setComponentState(&stream) : processor.setState(&stream);
}

} // namespace

// ----------------------------------------------------------------------------------------------

TEST(ProcessorParameters, ControlsBecomeParametersByPositionWithGapsAndMeters)
{
	auto* pPlugIn = new CTestPlugIn({
	    {kKindParameter, kValueFloat, "Gain", 0.0f, 10.0f, 2.5f, "", "dB"},
	    {kKindParameter, kValueUint, "Switch", 0.0f, 1.0f, 1.0f, "SWITCH_OFF,SWITCH_ON"},
	    {kKindParameter, kValueInt, "Count", 0.0f, 10.0f, 3.0f},
	    {kKindMeter, kValueFloat, "Level", 0.0f, 1.0f, 0.0f},
	    {104, kValueUint, "Three", 0.0f, 2.0f, 0.0f, "a,,c"},
	    {7, kValueFloat, "Hidden", 0.0f, 1.0f, 0.0f},
	    {kKindParameter, kValueFloat, "Freq", 20.0f, 20000.0f, 632.46f, "", "Hz", true},
	});
	ProcessorPtr processor = makeProcessor(pPlugIn);

	struct Expected { ParamID uId; const char16_t* szTitle; int32 nSteps; int32 nFlags; };
	const Expected expected[] = {
	    {0, u"Gain", 0, ParameterInfo::kCanAutomate},
	    {1, u"Switch", 1, ParameterInfo::kCanAutomate | ParameterInfo::kIsList},
	    {2, u"Count", 0, ParameterInfo::kCanAutomate},
	    {3, u"Level", 0, ParameterInfo::kIsReadOnly},
	    {4, u"Three", 2, ParameterInfo::kCanAutomate | ParameterInfo::kIsList},
	    {6, u"Freq", 0, ParameterInfo::kCanAutomate},
	    {32773, u"VectorJoystick X", 0, ParameterInfo::kCanAutomate},
	    {32774, u"VectorJoystick Y", 0, ParameterInfo::kCanAutomate},
	    {32768, u"B1", 0, ParameterInfo::kCanAutomate},
	    {32769, u"B2", 0, ParameterInfo::kCanAutomate},
	    {32770, u"B3", 0, ParameterInfo::kCanAutomate},
	    {2056, u"Bypass", 0, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass},
	    {2048, u"PitchBend", 0, ParameterInfo::kCanAutomate},
	    {2050, u"MIDI Vol", 0, ParameterInfo::kCanAutomate},
	    {2051, u"MIDI Pan", 0, ParameterInfo::kCanAutomate},
	    {2049, u"MIDI Mod Wheel", 0, ParameterInfo::kCanAutomate},
	    {2052, u"MIDI Expression", 0, ParameterInfo::kCanAutomate},
	    {2054, u"MIDI Channel Pressure", 0, ParameterInfo::kCanAutomate},
	    {2053, u"MIDI Sustain Pedal", 0, ParameterInfo::kCanAutomate},
	    {2055, u"All Notes Off", 0, ParameterInfo::kCanAutomate},
	};
	ASSERT_EQ(processor->getParameterCount(), static_cast<int32>(std::size(expected)));
	for (int32 i = 0; i < processor->getParameterCount(); ++i)
	{
		ParameterInfo info = {};
		ASSERT_EQ(processor->getParameterInfo(i, info), kResultOk);
		EXPECT_EQ(info.id, expected[i].uId) << i;
		EXPECT_EQ(str(info.title), expected[i].szTitle) << i;
		EXPECT_EQ(info.stepCount, expected[i].nSteps) << i;
		EXPECT_EQ(info.flags, expected[i].nFlags) << i;
		EXPECT_EQ(info.unitId, kRootUnitId) << i;
	}

	ParameterInfo gain = {};
	processor->getParameterInfo(0, gain);
	EXPECT_EQ(str(gain.units), u"dB");
	EXPECT_DOUBLE_EQ(gain.defaultNormalizedValue, 0.25);
	EXPECT_EQ(paramText(*processor, 0, 0.25), u"2.50");
	EXPECT_EQ(paramText(*processor, 1, 0.0), u"OFF");
	EXPECT_EQ(paramText(*processor, 1, 1.0), u"ON");
	EXPECT_EQ(paramText(*processor, 2, 0.3), u"3"); // integer controls show no decimals
	EXPECT_EQ(paramText(*processor, 4, 0.5), u"");
	EXPECT_EQ(paramText(*processor, 4, 1.0), u"c");
	EXPECT_DOUBLE_EQ(processor->getParamNormalized(1), 1.0); // a list shows the current index
	EXPECT_DOUBLE_EQ(processor->getParamNormalized(3), 0.0); // meters start at zero
	EXPECT_NEAR(processor->getParamNormalized(6), 0.5, 1e-3);  // volt/octave default

	// Without preset names there is no program list.
	EXPECT_EQ(processor->getProgramListCount(), 0);
	ASSERT_EQ(processor->getUnitCount(), 1);
	UnitInfo unit = {};
	ASSERT_EQ(processor->getUnitInfo(0, unit), kResultOk);
	EXPECT_EQ(unit.id, kRootUnitId);
	EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
	EXPECT_EQ(unit.programListId, kNoProgramListId);
	EXPECT_EQ(processor->getUnitInfo(1, unit), kResultFalse);
}

TEST(ProcessorParameters, MidiControllersMapToFixedParametersThenToTheLastClaimingControl)
{
	std::vector<CTestControl> controls(6, {kKindParameter, kValueFloat, "C", 0.0f, 1.0f, 0.0f});
	controls[1].m_uMidiController = 7;
	controls[2].m_uMidiController = 20;
	controls[5].m_uMidiController = 20;
	ProcessorPtr processor = makeProcessor(new CTestPlugIn(controls));
	struct Case { int32 nBus; CtrlNumber nController; tresult nResult; ParamID uId; };
	const Case cases[] = {
	    {0, 1, kResultOk, 2049},   {0, 7, kResultOk, 2050},    {0, 10, kResultOk, 2051},
	    {0, 11, kResultOk, 2052},  {0, 64, kResultOk, 2053},   {0, 123, kResultOk, 2055},
	    {0, 128, kResultOk, 2054}, {0, 129, kResultOk, 2048},  {0, 20, kResultOk, 5},
	    {0, 21, kResultFalse, 0},  {1, 7, kResultFalse, 1234}, {0, -5, kResultFalse, 0},
	};
	for (const Case& c : cases)
	{
		ParamID uId = 1234;
		EXPECT_EQ(processor->getMidiControllerAssignment(c.nBus, 3, c.nController, uId), c.nResult)
		    << c.nController;
		EXPECT_EQ(uId, c.uId) << c.nController;
	}
}

TEST(ProcessorSetup, BusArrangementsSampleSizesAndTail)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	pPlugIn->m_fTailMsec = 500.0f;
	ProcessorPtr processor = makeProcessor(pPlugIn);
	SpeakerArrangement mono = SpeakerArr::kMono;
	SpeakerArrangement stereo = SpeakerArr::kStereo;
	EXPECT_EQ(processor->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
	EXPECT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
	SpeakerArrangement arrangement = 0;
	processor->getBusArrangement(kOutput, 0, arrangement);
	EXPECT_EQ(arrangement, SpeakerArr::kMono);
	EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
	SpeakerArrangement two[2] = {stereo, stereo};
	EXPECT_EQ(processor->setBusArrangements(two, 2, &stereo, 1), kResultFalse);
	EXPECT_EQ(processor->setBusArrangements(nullptr, 1, nullptr, 1), kResultFalse);

	EXPECT_EQ(processor->canProcessSampleSize(kSample32), kResultTrue);
	EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultFalse);
	ProcessSetup setup64 = {kRealtime, kSample64, 512, 96000.0};
	EXPECT_EQ(processor->setupProcessing(setup64), kResultFalse);
	EXPECT_EQ(pPlugIn->m_nSampleRate, 48000); // a refused set-up leaves the plug-in alone
	EXPECT_EQ(processor->getTailSamples(), 24000u);
	EXPECT_EQ(processor->getLatencySamples(), 0u);
	pPlugIn->m_nInfiniteTail = 1;
	EXPECT_EQ(processor->getTailSamples(), kInfiniteTail);

	// Terminated and initialized again, the processor declares everything once.
	const int32 nParameters = processor->getParameterCount();
	ASSERT_EQ(processor->terminate(), kResultOk);
	ASSERT_EQ(processor->initialize(nullptr), kResultOk);
	EXPECT_EQ(processor->getParameterCount(), nParameters);
	EXPECT_EQ(processor->getUnitCount(), 1);
	EXPECT_EQ(processor->getBusCount(kAudio, kInput), 1);
	EXPECT_EQ(processor->getBusCount(kEvent, kInput), 1);
}

// ----------------------------------------------------------------------------------------------

TEST(ProcessorProcess, LastPointOfAQueueWinsAndVoltOctaveIsCooked)
{
	auto* pPlugIn = new CTestPlugIn({
	    {kKindParameter, kValueFloat, "Gain", 0.0f, 1.0f, 0.0f},
	    {kKindParameter, kValueFloat, "Freq", 20.0f, 20000.0f, 20.0f, "", "", true},
	});
	ProcessorPtr processor = makeProcessor(pPlugIn);
	CBlock block(2, 2, 64);
	block.add(0, 10, 0.2);
	block.add(0, 63, 0.6);
	block.add(1, 0, 0.5);
	ASSERT_EQ(processor->process(block.data), kResultOk);
	EXPECT_FLOAT_EQ(pPlugIn->m_afFloat[0], 0.6f);
	EXPECT_NEAR(pPlugIn->m_afFloat[1], std::sqrt(20.0 * 20000.0), 632.46 * 0.003);
	const auto changed = pPlugIn->calls("controlChanged");
	ASSERT_EQ(changed.size(), 2u);
	EXPECT_EQ(changed[0].m_nFrame, 0); // applied at the block start
}

TEST(ProcessorProcess, LogTaperAndListControlsReceiveWhatTheHostShows)
{
	auto* pPlugIn = new CTestPlugIn({
	    {kKindParameter, kValueFloat, "Level", 0.0f, 100.0f, 50.0f, "", "", false, true},
	    {kKindParameter, kValueUint, "Pick", 0.0f, 2.0f, 0.0f, "a,b,c", "", true},
	});
	ProcessorPtr processor = makeProcessor(pPlugIn);
	for (double dValue : {1.0, 0.5, 0.1, 0.001})
	{
		CBlock block(2, 2, 4);
		block.add(0, 0, dValue);
		block.add(1, 0, 0.5);
		ASSERT_EQ(processor->process(block.data), kResultOk);
		// The log parameter's plain value, never below the control's low limit.
		const double dShown = processor->normalizedParamToPlain(0, dValue);
		EXPECT_NEAR(pPlugIn->m_afFloat[0], dShown < 0.0 ? 0.0 : dShown, 1e-3) << dValue;
		EXPECT_EQ(pPlugIn->m_auUint[1], 1u); // linear for a list, whatever its mapping flags
	}
	// A preset recall gives the host the normalized value that shows the preset's plain value.
	auto* pWithPresets = new CTestPlugIn({{kKindParameter, kValueFloat, "Level", 0.0f, 100.0f,
	                                       50.0f, "", "", false, true}});
	pWithPresets->m_szPresetNames[0] = "Zero";
	pWithPresets->m_szPresetNames[1] = "One";
	ProcessorPtr withPresets = makeProcessor(pWithPresets);
	ASSERT_EQ(withPresets->setParamNormalized(0x70727374, 1.0), kResultOk);
	const double dPreset = 100.0 / 15.0; // slot 1 of the test plug-in
	EXPECT_NEAR(pWithPresets->m_afFloat[0], dPreset, 1e-4);
	EXPECT_NEAR(withPresets->normalizedParamToPlain(0, withPresets->getParamNormalized(0)), dPreset,
	            1e-3);
}

TEST(ProcessorProcess, FixedParametersReachThePlugIn)
{
	struct Case { ParamID uId; double dValue; const char* szCall; std::vector<double> args; };
	const Case cases[] = {
	    {2048, 0.0, "pitchBendMoved", {0, -8192, -1.0}},
	    {2048, 0.5, "pitchBendMoved", {0, 0, 0.0}},
	    {2048, 1.0, "pitchBendMoved", {0, 8191, 1.0}},
	    {2049, 0.5, "modWheelMoved", {0, 63}},
	    {2050, 1.0, "rawMidi", {0, 7, 127, 0}},
	    {2051, 0.25, "rawMidi", {0, 10, 31, 0}},
	    {2052, 0.1, "rawMidi", {0, 11, 12, 0}},
	    {2053, 0.6, "rawMidi", {0, 64, 127, 0}},
	    {2053, 0.5, "rawMidi", {0, 64, 0, 0}},
	    {2054, 0.75, "rawMidi", {0, 208, 95, 0}},
	    {2055, 1.0, "noteOff", {0, 0, 0, 1}},
	    {32768, 1.0, "controlChanged", {50}},
	    {32770, 0.0, "controlChanged", {52}},
	};
	for (const Case& c : cases)
	{
		auto* pPlugIn = new CTestPlugIn(kTwoControls);
		ProcessorPtr processor = makeProcessor(pPlugIn);
		CBlock block(2, 2, 16);
		block.add(c.uId, 3, c.dValue);
		ASSERT_EQ(processor->process(block.data), kResultOk);
		const auto calls = pPlugIn->calls(c.szCall);
		ASSERT_EQ(calls.size(), 1u) << c.uId << " " << c.dValue;
		ASSERT_EQ(calls[0].m_Args.size(), c.args.size());
		for (size_t i = 0; i < c.args.size(); ++i)
			EXPECT_DOUBLE_EQ(calls[0].m_Args[i], c.args[i]) << c.uId << " " << c.dValue << " #" << i;
	}
}

TEST(ProcessorProcess, JoystickAxesAndBadValues)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	ProcessorPtr processor = makeProcessor(pPlugIn);
	CBlock block(2, 2, 8);
	int32 nIndex = 0;
	block.changes.addParameterData(1, nIndex); // a queue without points: skipped, scan goes on
	block.add(32773, 0, 0.75);
	block.add(32774, 0, 0.25);
	block.add(0, 0, NAN);     // no value: ignored
	block.add(1, 0, 7.0);     // held at 1
	block.add(99999, 0, 0.5); // unknown: ignored
	ASSERT_EQ(processor->process(block.data), kResultOk);
	float fX = 0.0f, fY = 0.0f;
	pPlugIn->getJoystick(fX, fY);
	EXPECT_FLOAT_EQ(fX, 0.5f);
	EXPECT_FLOAT_EQ(fY, -0.5f);
	EXPECT_FLOAT_EQ(pPlugIn->m_afFloat[0], 0.75f);
	EXPECT_EQ(pPlugIn->m_auUint[1], 2u);

	EXPECT_EQ(processor->setParamNormalized(0, NAN), kResultFalse);
	EXPECT_EQ(processor->setParamNormalized(0, -3.0), kResultOk);
	EXPECT_DOUBLE_EQ(processor->getParamNormalized(0), 0.0);
	EXPECT_EQ(processor->setParamNormalized(0, 3.0), kResultOk);
	EXPECT_DOUBLE_EQ(processor->getParamNormalized(0), 1.0);
	EXPECT_EQ(processor->setParamNormalized(4242, 0.5), kResultFalse);
}

TEST(ProcessorProcess, BypassCopiesInputExactlyAndSkipsThePlugIn)
{
	auto* pPlugIn = new CTestPlugIn({{kKindMeter, kValueFloat, "Level", 0.0f, 1.0f, 0.0f},
	                                  {kKindMeter, kValueFloat, "Level2", 0.0f, 1.0f, 0.0f}});
	pPlugIn->m_afMeter[0] = 0.7f;
	pPlugIn->m_afMeter[1] = 0.3f;
	ProcessorPtr processor = makeProcessor(pPlugIn);
	CBlock block(2, 2, 37);
	block.add(2056, 0, 1.0);
	block.add(0x8005, 0, 1.0); // after bypass in the same block: still applied
	Event note = {};
	note.type = Event::kNoteOnEvent;
	note.sampleOffset = 2;
	note.noteOn.velocity = 1.0f;
	block.events.addEvent(note);
	ASSERT_EQ(processor->process(block.data), kResultOk);
	EXPECT_TRUE(processor->isBypassed());
	for (int c = 0; c < 2; ++c)
		EXPECT_EQ(std::memcmp(block.data.inputChannel(0, c), block.data.outputChannel(0, c),
		                      37 * sizeof(float)), 0) << c;
	EXPECT_EQ(pPlugIn->m_nFrames, 0);
	EXPECT_TRUE(pPlugIn->calls("noteOn").empty());
	float fX = 0.0f, fY = 0.0f;
	pPlugIn->getJoystick(fX, fY);
	EXPECT_FLOAT_EQ(fX, 1.0f);
	// Meters read zero while bypassed, at offsets 0 and 1.
	ASSERT_EQ(block.outChanges.getParameterCount(), 2);
	for (int32 k = 0; k < 2; ++k)
	{
		IParamValueQueue* pQueue = block.outChanges.getParameterData(k);
		int32 nOffset = -1;
		ParamValue dValue = -1.0;
		ASSERT_EQ(pQueue->getPoint(0, nOffset, dValue), kResultOk);
		EXPECT_EQ(pQueue->getParameterId(), static_cast<ParamID>(k));
		EXPECT_EQ(nOffset, k);
		EXPECT_EQ(dValue, 0.0);
	}

	// Released, the plug-in runs again and its meters are published.
	CBlock next(2, 2, 4);
	next.add(2056, 0, 0.0);
	ASSERT_EQ(processor->process(next.data), kResultOk);
	EXPECT_EQ(pPlugIn->m_nFrames, 4);
	EXPECT_FLOAT_EQ(next.data.outputChannel(0, 1)[3], 2.0f * (2.0f + 0.003f));
	int32 nOffset = 0;
	ParamValue dValue = 0.0;
	next.outChanges.getParameterData(0)->getPoint(0, nOffset, dValue);
	EXPECT_FLOAT_EQ(static_cast<float>(dValue), 0.7f);
}

TEST(ProcessorProcess, MidiEventsArriveBeforeTheirFrame)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	pPlugIn->m_bWantAllMidi = true;
	ProcessorPtr processor = makeProcessor(pPlugIn);
	CBlock block(2, 2, 16);
	static const TChar szMarker[] = {'K', 'E', 'S', 'T', 'M', 'I', 'D', 'I', 0};
	static const TChar szOther[] = {'C', 'm', 'a', 'j', 0};
	auto chord = [&](int32 nOffset, int16 nStatus, int16 nData1, uint16 nData2, const TChar* szText) {
		Event event = {};
		event.type = Event::kChordEvent;
		event.sampleOffset = nOffset;
		event.chord.root = 3;
		event.chord.bassNote = nStatus;
		event.chord.mask = nData1;
		event.chord.textLen = nData2;
		event.chord.text = szText;
		block.events.addEvent(event);
	};
	Event event = {};
	event.type = Event::kNoteOnEvent;
	event.sampleOffset = 5;
	event.noteOn.channel = 1;
	event.noteOn.pitch = 60;
	event.noteOn.velocity = 0.5f;
	block.events.addEvent(event);
	chord(6, 224, 0, 64, szMarker);
	chord(6, 224, 127, 127, szMarker);
	chord(7, 224, 0, 0, szMarker);
	chord(7, 176, 1, 99, szMarker);
	chord(8, 176, 123, 0, szMarker);
	chord(8, 248, 0, 0, szMarker);
	chord(9, 144, 60, 100, szMarker);
	chord(9, 224, 5, 5, szOther); // not tunnelled
	event = {};
	event.type = Event::kPolyPressureEvent;
	event.sampleOffset = 10;
	event.polyPressure.channel = 2;
	event.polyPressure.pitch = 64;
	event.polyPressure.pressure = 1.0f;
	block.events.addEvent(event);
	ASSERT_EQ(processor->process(block.data), kResultOk);

	const auto noteOn = pPlugIn->calls("noteOn");
	ASSERT_EQ(noteOn.size(), 1u);
	EXPECT_EQ(noteOn[0].m_nFrame, 5);
	EXPECT_EQ(noteOn[0].m_Args, (std::vector<double>{1, 60, 63}));
	const auto bends = pPlugIn->calls("pitchBendMoved");
	ASSERT_EQ(bends.size(), 3u);
	EXPECT_EQ(bends[0].m_Args, (std::vector<double>{3, 0, 0.0}));
	EXPECT_EQ(bends[1].m_Args, (std::vector<double>{3, 8191, 1.0}));
	EXPECT_EQ(bends[2].m_Args[1], -8192);
	EXPECT_FLOAT_EQ(static_cast<float>(bends[2].m_Args[2]), -1.0f);
	EXPECT_EQ(bends[2].m_nFrame, 7);
	EXPECT_EQ(pPlugIn->calls("modWheelMoved")[0].m_Args, (std::vector<double>{3, 99}));
	EXPECT_EQ(pPlugIn->calls("noteOff")[0].m_Args, (std::vector<double>{3, 0, 0, 1}));
	EXPECT_EQ(pPlugIn->calls("clockTick").size(), 1u);
	const auto raw = pPlugIn->calls("rawMidi");
	ASSERT_EQ(raw.size(), 2u);
	EXPECT_EQ(raw[0].m_Args, (std::vector<double>{3, 144, 60, 100}));
	EXPECT_EQ(raw[1].m_Args, (std::vector<double>{2, 160, 64, 127}));
	EXPECT_EQ(raw[1].m_nFrame, 10);
	EXPECT_EQ(pPlugIn->m_nTimeMessages, 16); // one per frame (no block context)
}

TEST(ProcessorProcess, LateEventsArePlayedNotDroppedWithTheRest)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	ProcessorPtr processor = makeProcessor(pPlugIn);
	CBlock block(2, 2, 8);
	for (int32 nOffset : {3, 1, 6, 20})
	{
		Event event = {};
		event.type = Event::kNoteOnEvent;
		event.sampleOffset = nOffset;
		event.noteOn.pitch = static_cast<int16>(nOffset);
		block.events.addEvent(event);
	}
	ASSERT_EQ(processor->process(block.data), kResultOk);
	const auto notes = pPlugIn->calls("noteOn");
	ASSERT_EQ(notes.size(), 3u); // offset 20 lies beyond the block
	EXPECT_EQ(notes[1].m_Args[1], 1);
	EXPECT_EQ(notes[1].m_nFrame, 3);
	EXPECT_EQ(notes[2].m_nFrame, 6);
}

TEST(ProcessorProcess, MidiEventListServesBlockPlugIns)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	pPlugIn->m_bProcessBuffers = true;
	ProcessorPtr processor = makeProcessor(pPlugIn);
	ASSERT_NE(pPlugIn->m_pEventList, nullptr);
	CBlock block(2, 2, 32);
	for (int32 nOffset : {4, 4, 9})
	{
		Event event = {};
		event.type = nOffset == 9 ? Event::kNoteOffEvent : Event::kNoteOnEvent;
		event.sampleOffset = nOffset;
		block.events.addEvent(event);
	}
	ASSERT_EQ(processor->process(block.data), kResultOk);
	EXPECT_EQ(pPlugIn->calls("processBuffers")[0].m_Args, (std::vector<double>{2, 32}));
	EXPECT_FLOAT_EQ(block.data.outputChannel(0, 1)[31], 3.0f * (2.0f + 0.031f));
	// The list stays bound to the last block; the plug-in pulls events by offset.
	IMidiEventList& list = *pPlugIn->m_pEventList;
	EXPECT_EQ(list.getEventCount(), 3);
	EXPECT_FALSE(list.fireMidiEvents(0));
	EXPECT_TRUE(list.fireMidiEvents(4));
	EXPECT_EQ(pPlugIn->calls("noteOn").size(), 2u);
	EXPECT_TRUE(list.fireMidiEvents(9));
	EXPECT_FALSE(list.fireMidiEvents(9));
	EXPECT_EQ(pPlugIn->calls("noteOff").size(), 1u);
}

TEST(ProcessorProcess, MonoAndOddChannelCounts)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	ProcessorPtr processor = makeProcessor(pPlugIn);
	SpeakerArrangement mono = SpeakerArr::kMono;
	ASSERT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
	CBlock block(1, 1, 5);
	ASSERT_EQ(processor->process(block.data), kResultOk);
	EXPECT_EQ(pPlugIn->m_uLastInChannels, 1u);
	EXPECT_EQ(pPlugIn->m_uLastOutChannels, 1u);
	EXPECT_FLOAT_EQ(block.data.outputChannel(0, 0)[4], 2.0f * (1.0f + 0.004f));

	// Buffers narrower or wider than the arrangement: only channels both sides have are touched.
	SpeakerArrangement stereo = SpeakerArr::kStereo;
	ASSERT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
	for (int32 nChannels : {1, 8})
	{
		CBlock odd(nChannels, nChannels, 16);
		EXPECT_EQ(processor->process(odd.data), kResultOk) << nChannels;
		EXPECT_FLOAT_EQ(odd.data.outputChannel(0, 0)[1], 2.0f * (1.0f + 0.001f));
		if (nChannels == 8)
		{
			EXPECT_EQ(odd.data.outputChannel(0, 2)[1], 0.0f);
		}
	}
}

TEST(ProcessorProcess, MissingBuffersStillApplyParameterChanges)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	ProcessorPtr processor = makeProcessor(pPlugIn);
	CBlock flush(0, 0, 0);
	flush.add(0, 0, 0.125);
	EXPECT_EQ(processor->process(flush.data), kResultOk);
	EXPECT_FLOAT_EQ(pPlugIn->m_afFloat[0], 0.125f);
	EXPECT_EQ(pPlugIn->m_nFrames, 0);

	ProcessData empty;
	EXPECT_EQ(processor->process(empty), kResultOk);
	CBlock wide(2, 2, 8);
	wide.data.symbolicSampleSize = kSample64;
	EXPECT_EQ(processor->process(wide.data), kResultFalse);
}

TEST(ProcessorProcess, ProcessFlushesDenormalsAndRestoresTheCallersMode)
{
	struct CDenormalProbe : CTestPlugIn
	{
		using CTestPlugIn::CTestPlugIn;
		bool processFrame(float* in, float* out, uint32_t a, uint32_t b) override
		{
			m_uCsr = _mm_getcsr();
			return CTestPlugIn::processFrame(in, out, a, b);
		}
		unsigned int m_uCsr = 0;
	};
	auto* pPlugIn = new CDenormalProbe(kTwoControls);
	ProcessorPtr processor = makeProcessor(pPlugIn);
	const unsigned int uBefore = _mm_getcsr();
	_mm_setcsr(uBefore & ~0x8040u);
	CBlock block(2, 2, 4);
	ASSERT_EQ(processor->process(block.data), kResultOk);
	EXPECT_EQ(pPlugIn->m_uCsr & 0x8040u, 0x8040u);
	EXPECT_EQ(_mm_getcsr() & 0x8040u, 0u);
	_mm_setcsr(uBefore);
}

TEST(ProcessorProcess, SampleAccurateQueuesAreDetachedAfterTheirBlock)
{
	struct CSampleAccurate : CTestPlugIn
	{
		using CTestPlugIn::CTestPlugIn;
		bool processFrame(float* in, float* out, uint32_t a, uint32_t b) override
		{
			applySampleAccurateValues();
			return CTestPlugIn::processFrame(in, out, a, b);
		}
	};
	auto* pPlugIn = new CSampleAccurate(kTwoControls);
	pPlugIn->m_nSampleAccurate = 1;
	pPlugIn->m_nGranularity = 16;
	ProcessorPtr processor = makeProcessor(pPlugIn);
	CBlock block(2, 2, 64);
	block.add(0, 0, 0.0);
	block.add(0, 63, 1.0);
	ASSERT_EQ(processor->process(block.data), kResultOk);
	const auto changed = pPlugIn->calls("controlChanged");
	ASSERT_EQ(changed.size(), 5u); // block start, then 16, 32, 48 and 63
	EXPECT_EQ(changed[1].m_nFrame, 16);
	EXPECT_EQ(changed[4].m_nFrame, 63);
	EXPECT_FLOAT_EQ(pPlugIn->m_afFloat[0], 1.0f);
	EXPECT_EQ(pPlugIn->m_ppControlTable[0]->m_pConnector, nullptr);
	// A later block without a change for the control leaves it alone.
	CBlock next(2, 2, 64);
	ASSERT_EQ(processor->process(next.data), kResultOk);
	EXPECT_EQ(pPlugIn->calls("controlChanged").size(), 5u);
}

// ----------------------------------------------------------------------------------------------

TEST(ProcessorState, TwoControlLayoutIsTwentySixBytes)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	ProcessorPtr processor = makeProcessor(pPlugIn);
	const std::vector<uint8_t> expected = {1, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x40, 0x3F, 2, 0, 0,
	                                       0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
	EXPECT_EQ(stateOf(*processor), expected);

	// Another plug-in of the same layout takes it over, controller side included.
	auto* pOther = new CTestPlugIn({{kKindParameter, kValueFloat, "Gain", 0.0f, 1.0f, 0.0f},
	                                {kKindParameter, kValueUint, "Mode", 0.0f, 2.0f, 0.0f, "A,B,C"}});
	ProcessorPtr other = makeProcessor(pOther);
	std::vector<uint8_t> bytes = expected;
	bytes[16] = 1;                    // bypass on
	bytes[20] = 0x80; bytes[21] = 0xBF; // joystick X = -1.0
	EXPECT_EQ(setStateBytes(*other, bytes, false), kResultOk);
	EXPECT_FLOAT_EQ(pOther->m_afFloat[0], 0.75f);
	EXPECT_EQ(pOther->m_auUint[1], 2u);
	EXPECT_TRUE(other->isBypassed());
	EXPECT_EQ(setStateBytes(*other, bytes, true), kResultOk);
	EXPECT_DOUBLE_EQ(other->getParamNormalized(0), 0.75);
	EXPECT_DOUBLE_EQ(other->getParamNormalized(1), 1.0);
	EXPECT_DOUBLE_EQ(other->getParamNormalized(2056), 1.0);
	EXPECT_DOUBLE_EQ(other->getParamNormalized(32773), 0.0);
	EXPECT_DOUBLE_EQ(other->getParamNormalized(32774), 0.5);
}

TEST(ProcessorState, DoubleAndIntControlsUseTheirWidths)
{
	auto* pPlugIn = new CTestPlugIn({{kKindParameter, kValueDouble, "D", 0.0f, 1.0f, 0.1f},
	                                 {kKindParameter, kValueInt, "I", -10.0f, 10.0f, -7.0f},
	                                 {kKindParameter, kValueNone, "N", 0.0f, 1.0f, 0.0f}});
	ProcessorPtr processor = makeProcessor(pPlugIn);
	const std::vector<uint8_t> bytes = stateOf(*processor);
	ASSERT_EQ(bytes.size(), 8u + 8 + 4 + 2 + 8);
	double dStored = 0.0;
	std::memcpy(&dStored, bytes.data() + 8, 8);
	EXPECT_EQ(dStored, static_cast<double>(0.1f));
	int32_t nStored = 0;
	std::memcpy(&nStored, bytes.data() + 16, 4);
	EXPECT_EQ(nStored, -7);
}

TEST(ProcessorState, DamagedStreamsFailCleanly)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	ProcessorPtr processor = makeProcessor(pPlugIn);
	const std::vector<uint8_t> good = stateOf(*processor);

	// Ends after the control values: the controls are set, the bypass is not.
	std::vector<uint8_t> truncated(good.begin(), good.begin() + 16);
	std::memcpy(truncated.data() + 8, "\x00\x00\x80\x3E", 4); // 0.25
	EXPECT_EQ(setStateBytes(*processor, truncated, false), kResultFalse);
	EXPECT_FLOAT_EQ(pPlugIn->m_afFloat[0], 0.25f);
	EXPECT_FALSE(processor->isBypassed());
	EXPECT_EQ(setStateBytes(*processor, truncated, true), kResultFalse);
	EXPECT_DOUBLE_EQ(processor->getParamNormalized(0), 0.25);

	EXPECT_EQ(setStateBytes(*processor, {}, false), kResultFalse);
	EXPECT_EQ(setStateBytes(*processor, {}, true), kResultFalse);
	EXPECT_EQ(processor->setState(nullptr), kResultFalse);

	// Values outside a control's limits are held at the limits; NaN is refused.
	std::vector<uint8_t> wild = good;
	std::memcpy(wild.data() + 8, "\x00\x00\x80\x7F", 4);    // +inf
	EXPECT_EQ(setStateBytes(*processor, wild, false), kResultFalse);
	std::memcpy(wild.data() + 8, "\x00\x00\x20\x41", 4);    // 10.0
	std::memcpy(wild.data() + 12, "\xFF\xFF\xFF\xFF", 4);   // index 4294967295
	wild.insert(wild.end(), {1, 2, 3, 4, 5});               // overlong
	EXPECT_EQ(setStateBytes(*processor, wild, false), kResultOk);
	EXPECT_FLOAT_EQ(pPlugIn->m_afFloat[0], 1.0f);
	EXPECT_EQ(pPlugIn->m_auUint[1], 2u);
	EXPECT_EQ(setStateBytes(*processor, wild, true), kResultOk);
	EXPECT_DOUBLE_EQ(processor->getParamNormalized(1), 1.0);
}

// ----------------------------------------------------------------------------------------------

TEST(ProcessorPresets, ListEntriesRecallTheirNamedSlots)
{
	auto* pPlugIn = new CTestPlugIn({{kKindParameter, kValueFloat, "Gain", 0.0f, 15.0f, 0.0f},
	                                 {kKindParameter, kValueFloat, "Freq", 20.0f, 20000.0f, 20.0f,
	                                  "", "", true}});
	pPlugIn->m_szPresetNames[0] = "Zero";
	pPlugIn->m_szPresetNames[1] = "One";
	pPlugIn->m_szPresetNames[3] = "Three";
	pPlugIn->m_joystickX.m_dPresets[3] = 0.5;
	pPlugIn->m_joystickY.m_dPresets[3] = 0.5;
	CRecordingHandler handler;
	ProcessorPtr processor = makeProcessor(pPlugIn);
	processor->setComponentHandler(&handler);

	ASSERT_EQ(processor->getProgramListCount(), 1);
	ProgramListInfo list = {};
	ASSERT_EQ(processor->getProgramListInfo(0, list), kResultOk);
	EXPECT_EQ(list.id, 0x70727374);
	EXPECT_EQ(str(list.name), u"Presets");
	EXPECT_EQ(list.programCount, 3);
	String128 szName = {};
	ASSERT_EQ(processor->getProgramName(list.id, 2, szName), kResultOk);
	EXPECT_EQ(str(szName), u"Three");
	EXPECT_EQ(processor->getProgramName(list.id, 3, szName), kResultFalse);
	EXPECT_EQ(processor->getProgramName(list.id, -1, szName), kResultFalse);
	EXPECT_EQ(processor->getProgramName(5, 0, szName), kResultFalse);
	EXPECT_EQ(processor->getProgramListInfo(1, list), kResultFalse);
	UnitInfo unit = {};
	ASSERT_EQ(processor->getUnitInfo(0, unit), kResultOk);
	EXPECT_EQ(unit.programListId, 0x70727374);
	ParameterInfo info = {};
	processor->getParameterInfo(processor->getParameterCount() - 1, info);
	EXPECT_EQ(info.id, 0x70727374u);
	EXPECT_EQ(info.flags, ParameterInfo::kIsProgramChange | ParameterInfo::kIsList);
	EXPECT_EQ(info.unitId, unit.id);

	pPlugIn->m_GuiMessages.clear();
	ASSERT_EQ(processor->setParamNormalized(0x70727374, 1.0), kResultOk);
	EXPECT_FLOAT_EQ(pPlugIn->m_afFloat[0], 3.0f); // slot 3, not slot 2
	EXPECT_NEAR(pPlugIn->m_afFloat[1], 20.0f + 19980.0f * 3 / 15, 0.1);
	EXPECT_NEAR(processor->getParamNormalized(0), 0.2, 1e-6);
	EXPECT_NEAR(processor->getParamNormalized(1),
	            std::log2((20.0 + 19980.0 * 3 / 15) / 20.0) / std::log2(1000.0), 2e-3);
	// Stored pair (a, b) = (0.5, 0.5): X = (a - b) / r / 1.414 = 0, Y = (a + b) / r / 1.414.
	const double dY = 1.0 / 1.41421356 / 1.414;
	EXPECT_NEAR(processor->getParamNormalized(32773), 0.5, 1e-9);
	EXPECT_NEAR(processor->getParamNormalized(32774), dY * 0.5 + 0.5, 1e-9);
	float fX = 1.0f, fY = 0.0f;
	pPlugIn->getJoystick(fX, fY);
	EXPECT_FLOAT_EQ(fX, 0.0f);
	EXPECT_FLOAT_EQ(fY, static_cast<float>(dY));
	EXPECT_EQ(handler.m_Restarts, std::vector<int32>{kParamValuesChanged});
	// The editor hears of the selector and of every control it moved.
	ASSERT_GE(pPlugIn->m_GuiMessages.size(), 5u);
	EXPECT_EQ(pPlugIn->m_GuiMessages[0].m_uCode, kGuiParameterChanged);
	EXPECT_EQ(pPlugIn->m_GuiMessages[0].m_nIndex, static_cast<int32_t>(0x70727374));
	EXPECT_EQ(pPlugIn->m_GuiMessages[1].m_nIndex, 0);
	EXPECT_NEAR(pPlugIn->m_GuiMessages[1].m_dValue, 0.2, 1e-6);
	processor->setComponentHandler(nullptr);
}

TEST(ProcessorEditorHooks, TextMessagesReachThePlugIn)
{
	auto* pPlugIn = new CTestPlugIn(kTwoControls);
	ProcessorPtr processor = makeProcessor(pPlugIn);
	EXPECT_EQ(processor->receiveText("VSTGUITimerPing"), kResultOk);
	ASSERT_EQ(pPlugIn->m_GuiMessages.size(), 1u);
	const CGuiMessageRecord& tick = pPlugIn->m_GuiMessages[0];
	EXPECT_EQ(tick.m_uCode, kGuiTimerTick);
	EXPECT_EQ(tick.m_nIndex, 0);
	EXPECT_EQ(tick.m_pEditor, nullptr);
	EXPECT_EQ(processor->receiveText("RecreateView"), kResultOk);
	EXPECT_EQ(processor->receiveText("anything"), kResultOk);
	EXPECT_EQ(processor->receiveText(nullptr), kResultOk);
	ASSERT_EQ(pPlugIn->m_GuiMessages.size(), 2u);
	EXPECT_EQ(pPlugIn->m_GuiMessages[1].m_uCode, kGuiEditorOpened);
	EXPECT_EQ(processor->createView("editor"), nullptr);
}

TEST(ProcessorWithoutPlugIn, AnswersFailureCodes)
{
	ProcessorPtr processor(new Processor(&takeTestPlugIn)); // nothing queued: no plug-in
	ASSERT_EQ(processor->initialize(nullptr), kResultOk);
	EXPECT_EQ(processor->getPlugIn(), nullptr);
	EXPECT_EQ(processor->getParameterCount(), 9); // bypass and the MIDI parameters
	EXPECT_EQ(processor->getUnitCount(), 1);
	CBlock block(2, 2, 8);
	EXPECT_EQ(processor->process(block.data), kResultFalse);
	MemoryStream stream;
	EXPECT_EQ(processor->getState(&stream), kResultFalse);
	EXPECT_EQ(processor->setState(&stream), kResultFalse);
	EXPECT_EQ(processor->setComponentState(&stream), kResultFalse);
	ParamID uId = 0;
	EXPECT_EQ(processor->getMidiControllerAssignment(0, 0, 7, uId), kResultFalse);
	EXPECT_EQ(processor->getTailSamples(), 0u);
}
