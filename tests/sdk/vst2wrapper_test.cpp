#include "allocationcount.h"
#include "testeffect.h"
#include "vst2wrapper.h"

#include "base/source/fstreamer.h"
#include "public.sdk/source/vst/vstcomponent.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <atomic>
#include <limits>
#include <string>
#include <vector>

using namespace korvessa_test;

namespace {

/** A VST 2 host as far as the adapter asks one: records what it is told. */
struct FakeHost
{
	static FakeHost* s_pCurrent;
	std::vector<int32_t> opcodes;
	std::vector<std::pair<int32_t, float>> automated;
	int32_t updateDisplays = 0;
	VstTimeInfo time {};
	std::pair<int32_t, int32_t> windowSize {0, 0};

	static intptr_t callback (AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
	{
		FakeHost* host = s_pCurrent;
		if (!host)
			return 0;
		host->opcodes.push_back (opcode);
		switch (opcode)
		{
			case audioMasterVersion: return 2400;
			case audioMasterGetProductString: std::strcpy (static_cast<char*> (ptr), "Fake Host"); return 1;
			case audioMasterAutomate: host->automated.emplace_back (index, opt); return 0;
			case audioMasterUpdateDisplay: ++host->updateDisplays; return 1;
			case audioMasterGetTime: return reinterpret_cast<intptr_t> (&host->time);
			case audioMasterSizeWindow: host->windowSize = {index, static_cast<int32_t> (value)}; return 1;
			default: return 0;
		}
	}
};
FakeHost* FakeHost::s_pCurrent = nullptr;

struct Vst2Fixture : ::testing::Test
{
	void SetUp () override
	{
		FakeHost::s_pCurrent = &host;
		host.opcodes.reserve (100000); // the fake host itself must not allocate while recording
		host.time.tempo = 120.0;
		host.time.flags = kVstTempoValid | kVstTransportPlaying;
		factory = createTestFactory ();
		effect = Vst2Wrapper::create (factory, kTestEffectUid.toTUID (), kTestVst2UniqueId, &FakeHost::callback);
		ASSERT_NE (effect, nullptr);
		plugin = TestEffect::s_pLastCreated;
	}
	void TearDown () override
	{
		if (effect)
			dispatch (effClose);
		EXPECT_EQ (TestEffect::s_nLiveInstances, 0) << "effClose releases the effect";
		factory->release ();
		FakeHost::s_pCurrent = nullptr;
	}
	intptr_t dispatch (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.f)
	{
		return effect->dispatcher (effect, opcode, index, value, ptr, opt);
	}
	std::string text (int32_t opcode, int32_t index = 0)
	{
		char buffer[256];
		std::memset (buffer, 'x', sizeof (buffer));
		dispatch (opcode, index, 0, buffer);
		return buffer;
	}
	void resume (float rate = 48000.f, intptr_t block = 64)
	{
		dispatch (effSetSampleRate, 0, 0, nullptr, rate);
		dispatch (effSetBlockSize, 0, block);
		dispatch (effMainsChanged, 0, 1);
	}
	/** Runs one block of a constant input; answers the first output channel. */
	std::vector<float> run (int32_t frames, float input = 1.f)
	{
		in.assign (2, std::vector<float> (static_cast<size_t> (frames), input));
		out.assign (2, std::vector<float> (static_cast<size_t> (frames), -9.f));
		float* inputs[] = {in[0].data (), in[1].data ()};
		float* outputs[] = {out[0].data (), out[1].data ()};
		effect->processReplacing (effect, inputs, outputs, frames);
		return out[0];
	}

	FakeHost host;
	CPluginFactory* factory = nullptr;
	AEffect* effect = nullptr;
	TestEffect* plugin = nullptr;
	std::vector<std::vector<float>> in, out;
};

} // namespace

TEST_F (Vst2Fixture, EffectRecordAndIdentity)
{
	EXPECT_EQ (effect->magic, kEffectMagic);
	EXPECT_EQ (effect->magic, 0x56737450);
	EXPECT_EQ (effect->uniqueID, kTestVst2UniqueId);
	EXPECT_EQ (effect->numParams, 3) << "the program change is not a VST 2 parameter";
	EXPECT_EQ (effect->numPrograms, 3);
	EXPECT_EQ (effect->numInputs, 2);
	EXPECT_EQ (effect->numOutputs, 2);
	EXPECT_EQ (effect->initialDelay, 7);
	EXPECT_EQ (effect->version, 1234);
	EXPECT_EQ (effect->flags, effFlagsCanReplacing | effFlagsProgramChunks);
	EXPECT_NE (effect->processReplacing, nullptr);
	EXPECT_EQ (effect->processDoubleReplacing, nullptr);

	EXPECT_EQ (text (effGetEffectName), "Test Effect");
	EXPECT_EQ (text (effGetProductString), "Test Effect");
	EXPECT_EQ (text (effGetVendorString), "Test Vendor") << "empty class vendor falls back to the factory's";
	EXPECT_EQ (dispatch (effGetVendorVersion), 1234);
	EXPECT_EQ (dispatch (effGetVstVersion), 2400);
	EXPECT_EQ (dispatch (effGetPlugCategory), kPlugCategEffect);
	EXPECT_EQ (dispatch (effGetTailSize), 123);
	EXPECT_EQ (dispatch (effGetNumMidiInputChannels), 16);
	EXPECT_EQ (dispatch (effSetProcessPrecision, 0, kVstProcessPrecision64), 0);
	EXPECT_EQ (dispatch (effSetProcessPrecision, 0, kVstProcessPrecision32), 1);

	struct CanDo { const char* what; intptr_t answer; };
	const CanDo cases[] = {{"receiveVstEvents", 1}, {"receiveVstMidiEvent", 1}, {"plugAsChannelInsert", 1},
	                       {"plugAsSend", 1}, {"mixDryWet", 1}, {"bypass", 1}, {"sendVstEvents", -1},
	                       {"sendVstMidiEvent", -1}, {"offline", -1}, {"somethingNew", 0}};
	for (const auto& c : cases)
		EXPECT_EQ (dispatch (effCanDo, 0, 0, const_cast<char*> (c.what)), c.answer) << c.what;
	EXPECT_EQ (dispatch (effCanDo), 0);

	// The effect was initialized with the adapter as host application.
	FUnknownPtr<IHostApplication> app (plugin->getHostContext ());
	ASSERT_TRUE (app);
	String128 name {};
	app->getName (name);
	EXPECT_EQ (name[0], 'F');
	IMessage* message = nullptr;
	TUID messageIid;
	std::memcpy (messageIid, IMessage::iid, sizeof (TUID));
	ASSERT_EQ (app->createInstance (messageIid, messageIid, reinterpret_cast<void**> (&message)), kResultOk);
	message->release ();
}

TEST (Vst2Wrapper, RefusesWhatItCannotServe)
{
	CPluginFactory* factory = createTestFactory ();
	const FUID unknown (1, 2, 3, 4);
	EXPECT_EQ (Vst2Wrapper::create (factory, unknown.toTUID (), 1, nullptr), nullptr);
	EXPECT_EQ (Vst2Wrapper::create (nullptr, kTestEffectUid.toTUID (), 1, nullptr), nullptr);
	EXPECT_EQ (TestEffect::s_nLiveInstances, 0);
	EXPECT_EQ (Vst2Wrapper::fromEffect (nullptr), nullptr);
	AEffect foreign {};
	foreign.object = &foreign;
	EXPECT_EQ (Vst2Wrapper::fromEffect (&foreign), nullptr) << "no magic, not ours";

	// A null host callback is tolerated: the adapter simply has no one to tell.
	AEffect* effect = Vst2Wrapper::create (factory, kTestEffectUid.toTUID (), 1, nullptr);
	ASSERT_NE (effect, nullptr);
	effect->setParameter (effect, 0, 0.5f);
	effect->dispatcher (effect, effClose, 0, 0, nullptr, 0.f);
	EXPECT_EQ (TestEffect::s_nLiveInstances, 0);
	factory->release ();
}

TEST_F (Vst2Fixture, ParametersByIndex)
{
	struct Case { int32_t index; const char* name; const char* label; const char* display; float value; };
	const Case cases[] = {{0, "Gain", "x", "1.00", 0.5f}, {1, "Mode", "", "A", 0.f}, {2, "Bypass", "", "Off", 0.f}};
	for (const auto& c : cases)
	{
		EXPECT_EQ (text (effGetParamName, c.index), c.name);
		EXPECT_EQ (text (effGetParamLabel, c.index), c.label);
		EXPECT_EQ (text (effGetParamDisplay, c.index), c.display);
		EXPECT_FLOAT_EQ (effect->getParameter (effect, c.index), c.value);
		EXPECT_EQ (dispatch (effCanBeAutomated, c.index), 1);
	}

	effect->setParameter (effect, 0, 0.25f);
	EXPECT_FLOAT_EQ (effect->getParameter (effect, 0), 0.25f);
	EXPECT_EQ (text (effGetParamDisplay, 0), "0.50");
	effect->setParameter (effect, 0, 7.f);
	EXPECT_FLOAT_EQ (effect->getParameter (effect, 0), 1.f) << "clamped to 0..1";
	effect->setParameter (effect, 0, std::numeric_limits<float>::quiet_NaN ());
	EXPECT_FLOAT_EQ (effect->getParameter (effect, 0), 1.f) << "NaN ignored";
	effect->setParameter (effect, 1, 1.f);
	EXPECT_EQ (text (effGetParamDisplay, 1), "C");
	EXPECT_EQ (dispatch (effString2Parameter, 0, 0, const_cast<char*> ("0.5")), 1);
	EXPECT_FLOAT_EQ (effect->getParameter (effect, 0), 0.25f);

	// Unknown indices answer nothing and touch nothing.
	for (int32_t index : {-1, 3, 100})
	{
		effect->setParameter (effect, index, 0.5f);
		EXPECT_EQ (effect->getParameter (effect, index), 0.f);
		EXPECT_EQ (dispatch (effGetParamName, index, 0, nullptr), 0);
		char buffer[16] = "untouched";
		EXPECT_EQ (dispatch (effGetParamDisplay, index, 0, buffer), 0);
		EXPECT_STREQ (buffer, "untouched");
		VstParameterProperties props {};
		EXPECT_EQ (dispatch (effGetParameterProperties, index, 0, &props), 0);
	}

	VstParameterProperties props {};
	ASSERT_EQ (dispatch (effGetParameterProperties, 1, 0, &props), 1);
	EXPECT_STREQ (props.label, "Mode");
	EXPECT_EQ (props.flags, kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep);
	EXPECT_EQ (props.maxInteger, 2);
	ASSERT_EQ (dispatch (effGetParameterProperties, 2, 0, &props), 1);
	EXPECT_EQ (props.flags, kVstParameterIsSwitch);
}

TEST_F (Vst2Fixture, TextFieldsNeverOverrun)
{
	// Texts are cut to the VST 2 field sizes and terminated, never written past them.
	char buffer[32];
	std::memset (buffer, 'x', sizeof (buffer));
	dispatch (effGetParamName, 0, 0, buffer);
	EXPECT_LT (std::strlen (buffer), static_cast<size_t> (kVstMaxParamStrLen));
	for (size_t i = kVstMaxParamStrLen; i < sizeof (buffer); ++i)
		EXPECT_EQ (buffer[i], 'x') << "written past the field at " << i;
	char program[32];
	std::memset (program, 'x', sizeof (program));
	dispatch (effGetProgramNameIndexed, 0, 0, program);
	for (size_t i = kVstMaxProgNameLen; i < sizeof (program); ++i)
		EXPECT_EQ (program[i], 'x');
}

TEST_F (Vst2Fixture, ResumeSetsUpAndProcessesTheHostBuffers)
{
	resume (48000.f, 64);
	EXPECT_TRUE (plugin->m_bActive);
	EXPECT_EQ (plugin->m_LastSetup.sampleRate, 48000.0);
	EXPECT_EQ (plugin->m_LastSetup.maxSamplesPerBlock, 64);
	EXPECT_EQ (plugin->m_LastSetup.symbolicSampleSize, kSample32);
	EXPECT_FALSE (plugin->m_bSetupWhileActive);

	// A parameter set between blocks reaches the processor at the next block.
	effect->setParameter (effect, 0, 0.25f);
	for (float sample : run (37))
		EXPECT_EQ (sample, 0.5f);
	EXPECT_EQ (out[1][36], 0.5f);
	EXPECT_EQ (plugin->m_dLastTempo, 120.0) << "host time reaches the process context";

	// The sample rate changes while running: suspended, set up again, resumed.
	dispatch (effSetSampleRate, 0, 0, nullptr, 96000.f);
	EXPECT_EQ (plugin->m_LastSetup.sampleRate, 96000.0);
	EXPECT_TRUE (plugin->m_bActive);
	EXPECT_FALSE (plugin->m_bSetupWhileActive);

	// A channel without buffer: silence on the others, the effect is not handed a null channel.
	const int32 before = plugin->m_nProcessCalls;
	std::vector<float> input (16, 1.f), output (16, 5.f);
	float* missingInput[] = {input.data (), nullptr};
	float* outputs[] = {output.data (), output.data ()};
	effect->processReplacing (effect, missingInput, outputs, 16);
	EXPECT_EQ (output[0], 0.f);
	effect->processReplacing (effect, nullptr, outputs, 16);
	EXPECT_EQ (plugin->m_nProcessCalls, before);

	dispatch (effMainsChanged, 0, 0);
	EXPECT_FALSE (plugin->m_bActive);
	const int32 calls = plugin->m_nProcessCalls;
	for (float sample : run (16))
		EXPECT_EQ (sample, 0.f) << "suspended: silence, the effect is not called";
	EXPECT_EQ (plugin->m_nProcessCalls, calls);
}

TEST_F (Vst2Fixture, LongBlocksAreSplitWithEventsInTheirPiece)
{
	resume (44100.f, 64);
	std::vector<char> storage (sizeof (VstEvents) + sizeof (VstEvent*));
	auto* events = reinterpret_cast<VstEvents*> (storage.data ());
	VstMidiEvent note {};
	note.type = kVstMidiType;
	note.byteSize = sizeof (VstMidiEvent);
	note.deltaFrames = 70;
	note.midiData[0] = static_cast<char> (0x90);
	note.midiData[1] = 64;
	note.midiData[2] = 100;
	events->numEvents = 1;
	events->events[0] = reinterpret_cast<VstEvent*> (&note);
	EXPECT_EQ (dispatch (effProcessEvents, 0, 0, events), 1);

	effect->setParameter (effect, 0, 0.75f);
	const int32 calls = plugin->m_nProcessCalls;
	for (float sample : run (150))
		EXPECT_EQ (sample, 1.5f);
	EXPECT_EQ (plugin->m_nProcessCalls - calls, 3) << "64 + 64 + 22";
	EXPECT_EQ (plugin->m_nLastBlockSamples, 22);
	EXPECT_EQ (plugin->m_nNoteOns, 1);
	EXPECT_EQ (plugin->m_nLastPitch, 64);
	EXPECT_EQ (plugin->m_nLastNoteOffset, 6) << "frame 70 is frame 6 of the second piece";

	// A note-on with velocity 0 is a note-off; bad event lists are ignored.
	note.midiData[2] = 0;
	dispatch (effProcessEvents, 0, 0, events);
	events->events[0] = nullptr;
	dispatch (effProcessEvents, 0, 0, events);
	events->numEvents = -3;
	EXPECT_EQ (dispatch (effProcessEvents, 0, 0, events), 0);
	EXPECT_EQ (dispatch (effProcessEvents, 0, 0, nullptr), 0);
	run (8);
	EXPECT_EQ (plugin->m_nNoteOns, 1);
}

TEST_F (Vst2Fixture, MidiControllersReachTheirMappedParameters)
{
	resume (44100.f, 64);
	// Cases run in order; each sees the values the one before left.
	struct Case { unsigned char status, data1, data2; double gain, mode; };
	const Case cases[] = {
	    {0xB0, 7, 127, 2.0, 0.0},               // controller 7 -> Gain 1.0 normalized
	    {0xB3, 7, 0, 0.0, 0.0},                 // any channel
	    {0xB0, 8, 100, 0.0, 0.0},               // unmapped controller: nothing
	    {0xE0, 0x00, 0x40, 0.0, 8192 / 16383.0}, // pitch bend centre
	    {0xE0, 0x7F, 0x7F, 0.0, 1.0},
	};
	for (const auto& c : cases)
	{
		VstMidiEvent midi {};
		midi.type = kVstMidiType;
		midi.deltaFrames = 3;
		midi.midiData[0] = static_cast<char> (c.status);
		midi.midiData[1] = static_cast<char> (c.data1);
		midi.midiData[2] = static_cast<char> (c.data2);
		VstEvents events {1, 0, {reinterpret_cast<VstEvent*> (&midi), nullptr}};
		dispatch (effProcessEvents, 0, 0, &events);
		run (16);
		EXPECT_DOUBLE_EQ (plugin->m_dGain, c.gain) << std::hex << int (c.status) << " " << int (c.data1);
		EXPECT_DOUBLE_EQ (plugin->m_dMode, c.mode) << std::hex << int (c.status) << " " << int (c.data1);
	}
}

TEST_F (Vst2Fixture, ProcessingAllocatesNothing)
{
	resume (48000.f, 256);
	run (256); // warm up
	std::vector<float> input (300, 1.f), output (300, 0.f);
	float* inputs[] = {input.data (), input.data ()};
	float* outputs[] = {output.data (), output.data ()};
	VstMidiEvent note {};
	note.type = kVstMidiType;
	note.midiData[0] = static_cast<char> (0x90);
	note.midiData[1] = 60;
	note.midiData[2] = 1;
	VstEvents events {1, 0, {reinterpret_cast<VstEvent*> (&note), nullptr}};

	CAllocationCount scope;
	for (int i = 0; i < 4; ++i)
	{
		effect->setParameter (effect, 0, 0.1f * static_cast<float> (i));
		dispatch (effProcessEvents, 0, 0, &events);
		effect->processReplacing (effect, inputs, outputs, 256);
		effect->processReplacing (effect, inputs, outputs, 300); // split into pieces
		effect->process (effect, inputs, outputs, 100);
	}
	EXPECT_EQ (scope.count (), 0u);
}

TEST_F (Vst2Fixture, AccumulatingProcessAddsToTheOutput)
{
	resume (44100.f, 32);
	effect->setParameter (effect, 0, 0.25f);
	std::vector<float> input (40, 2.f), left (40, 1.f), right (40, -1.f);
	float* inputs[] = {input.data (), input.data ()};
	float* outputs[] = {left.data (), right.data ()};
	effect->process (effect, inputs, outputs, 40);
	for (size_t i = 0; i < 40; ++i)
	{
		EXPECT_EQ (left[i], 2.f) << "1 + 2 * 0.5";
		EXPECT_EQ (right[i], 0.f) << "-1 + 2 * 0.5";
	}
}

TEST_F (Vst2Fixture, ProgramsThroughTheProgramChangeParameter)
{
	const char* const names[] = {"Clean", "Loud", "Quiet"};
	for (int32_t i = 0; i < 3; ++i)
		EXPECT_EQ (text (effGetProgramNameIndexed, i), names[i]);
	EXPECT_EQ (dispatch (effGetProgramNameIndexed, 3, 0, nullptr), 0);
	EXPECT_EQ (dispatch (effGetProgram), 0);
	EXPECT_EQ (text (effGetProgramName), "Clean");

	resume ();
	dispatch (effSetProgram, 0, 1);
	EXPECT_EQ (dispatch (effGetProgram), 1);
	EXPECT_EQ (text (effGetProgramName), "Loud");
	EXPECT_EQ (plugin->m_dGain, kProgramGains[1]);
	EXPECT_FLOAT_EQ (effect->getParameter (effect, 0), 1.f) << "gain 2 of 0..2";
	EXPECT_GE (host.updateDisplays, 1) << "restartComponent reaches the host";

	dispatch (effSetProgram, 0, 7);
	dispatch (effSetProgram, 0, -1);
	EXPECT_EQ (dispatch (effGetProgram), 1) << "out-of-range programs are ignored";
}

TEST_F (Vst2Fixture, ChunkIsTheComponentStateAndRoundTrips)
{
	resume ();
	effect->setParameter (effect, 0, 0.25f);
	run (8);
	ASSERT_EQ (plugin->m_dGain, 0.5);

	void* data = nullptr;
	const intptr_t size = dispatch (effGetChunk, 0, 0, &data);
	ASSERT_EQ (size, 9) << "double gain + int8 bypass";
	ASSERT_NE (data, nullptr);
	const std::vector<char> saved (static_cast<char*> (data), static_cast<char*> (data) + size);
	double stored = 0;
	std::memcpy (&stored, saved.data (), sizeof (stored));
	EXPECT_EQ (stored, 0.5);

	effect->setParameter (effect, 0, 1.f);
	run (8);
	ASSERT_EQ (plugin->m_dGain, 2.0);

	EXPECT_EQ (dispatch (effSetChunk, 0, size, const_cast<char*> (saved.data ())), 1);
	EXPECT_EQ (plugin->m_dGain, 0.5) << "component state restored";
	EXPECT_FLOAT_EQ (effect->getParameter (effect, 0), 0.25f) << "controller state restored";
	for (float sample : run (8))
		EXPECT_EQ (sample, 0.5f) << "no stale edit overrides the restored state";

	EXPECT_EQ (dispatch (effSetChunk, 0, 5, const_cast<char*> (saved.data ())), 0) << "truncated";
	EXPECT_EQ (dispatch (effSetChunk, 0, 9, nullptr), 0);
	EXPECT_EQ (dispatch (effSetChunk, 0, 0, const_cast<char*> (saved.data ())), 0);
	EXPECT_EQ (dispatch (effGetChunk, 0, 0, nullptr), 0);
}

TEST_F (Vst2Fixture, EditsFromTheEffectReachHostAndProcessor)
{
	resume ();
	IComponentHandler* handler = plugin->getComponentHandler ();
	ASSERT_NE (handler, nullptr);
	handler->beginEdit (kGainId);
	handler->performEdit (kGainId, 0.75);
	handler->endEdit (kGainId);
	EXPECT_EQ (handler->performEdit (12345, 0.5), kInvalidArgument);

	const std::vector<int32_t> expected = {audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit};
	std::vector<int32_t> edits;
	for (int32_t opcode : host.opcodes)
		if (opcode == audioMasterBeginEdit || opcode == audioMasterAutomate || opcode == audioMasterEndEdit)
			edits.push_back (opcode);
	EXPECT_EQ (edits, expected);
	ASSERT_EQ (host.automated.size (), 1u);
	EXPECT_EQ (host.automated[0].first, 0);
	EXPECT_FLOAT_EQ (host.automated[0].second, 0.75f);
	for (float sample : run (8))
		EXPECT_EQ (sample, 1.5f);

	EXPECT_EQ (dispatch (effSetBypass, 0, 1), 1);
	for (float sample : run (8))
		EXPECT_EQ (sample, 1.f) << "bypassed";
}

TEST_F (Vst2Fixture, SpeakerArrangements)
{
	VstSpeakerArrangementHead mono {0, 1}, stereo {1, 2}, five {2, 5};
	EXPECT_EQ (dispatch (effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t> (&mono), &mono), 1);
	EXPECT_EQ (effect->numInputs, 1);
	EXPECT_EQ (effect->numOutputs, 1);
	EXPECT_EQ (dispatch (effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t> (&five), &five), 0);
	EXPECT_EQ (dispatch (effSetSpeakerArrangement, 0, 0, &stereo), 0) << "no input arrangement";
	EXPECT_EQ (effect->numInputs, 1);

	resume ();
	std::vector<float> input (16, 1.f), output (16, 0.f);
	float* inputs[] = {input.data ()};
	float* outputs[] = {output.data ()};
	effect->processReplacing (effect, inputs, outputs, 16);
	EXPECT_EQ (output[15], 1.f);
	EXPECT_EQ (dispatch (effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t> (&stereo), &stereo), 0)
	    << "refused while running";

	VstPinProperties pin {};
	ASSERT_EQ (dispatch (effGetInputProperties, 0, 0, &pin), 1);
	EXPECT_STREQ (pin.label, "AudioInput 1");
	EXPECT_EQ (pin.flags, kVstPinIsActive);
	EXPECT_EQ (dispatch (effGetOutputProperties, 1, 0, &pin), 0);
}

TEST (Vst2Wrapper, EditorEmbedsAndRunsOnTheHostIdle)
{
	FakeHost host;
	FakeHost::s_pCurrent = &host;
	TestEffect::s_bOfferEditor = true;
	CPluginFactory* factory = createTestFactory ();
	AEffect* effect = Vst2Wrapper::create (factory, kTestEffectUid.toTUID (), 1, &FakeHost::callback);
	ASSERT_NE (effect, nullptr);
	auto dispatch = [effect] (int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
		return effect->dispatcher (effect, opcode, 0, value, ptr, 0.f);
	};
	EXPECT_TRUE (effect->flags & effFlagsHasEditor);
	EXPECT_EQ (TestView::s_nLiveViews, 0) << "the view made to check for an editor is gone";

	ERect* rect = nullptr;
	ASSERT_EQ (dispatch (effEditGetRect, 0, &rect), 1);
	ASSERT_NE (rect, nullptr);
	EXPECT_EQ (rect->right - rect->left, 306);
	EXPECT_EQ (rect->bottom - rect->top, 426);

	EXPECT_EQ (dispatch (effEditOpen, 0, nullptr), 0) << "no parent window";
	int parentWindow = 0;
	ASSERT_EQ (dispatch (effEditOpen, 0, &parentWindow), 1);
	TestView* view = TestView::s_pLast;
	ASSERT_NE (view, nullptr);
	EXPECT_EQ (view->parent (), &parentWindow);
	ASSERT_TRUE (view->m_pRunLoop) << "the frame offers the run loop";

	// Timers and file descriptors run from the host's idle calls.
	usleep (3000);
	dispatch (effEditIdle);
	EXPECT_GE (view->m_nTimerCalls, 1);
	EXPECT_EQ (view->m_nFdCalls, 0);
	ASSERT_EQ (write (view->m_nPipe[1], "x", 1), 1);
	dispatch (effEditIdle);
	EXPECT_EQ (view->m_nFdCalls, 1);

	ViewRect bigger (0, 0, 400, 500);
	EXPECT_EQ (view->frame ()->resizeView (view, &bigger), kResultTrue);
	EXPECT_EQ (host.windowSize, std::make_pair (400, 500));
	ViewRect size;
	view->getSize (&size);
	EXPECT_EQ (size.getWidth (), 400);

	dispatch (effEditClose);
	EXPECT_EQ (TestView::s_nLiveViews, 0);
	dispatch (effEditIdle); // nothing registered any more
	effect->dispatcher (effect, effClose, 0, 0, nullptr, 0.f);
	TestEffect::s_bOfferEditor = false;
	factory->release ();
	FakeHost::s_pCurrent = nullptr;
}

namespace {

const FUID kSplitComponentUid (1, 0, 0, 1);
const FUID kSplitControllerUid (1, 0, 0, 2);
std::atomic<int> g_nSplitObjects {0};

/** An effect whose controller is a class of its own; its state is one double. */
class SplitComponent : public Component, public IAudioProcessor
{
public:
	SplitComponent () { ++g_nSplitObjects; setControllerClass (kSplitControllerUid); }
	~SplitComponent () override { --g_nSplitObjects; }
	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE
	{
		const tresult result = Component::initialize (context);
		audioInputs.emplace_back (new AudioBus (STR16 ("In"), kMain, BusInfo::kDefaultActive, SpeakerArr::kStereo), false);
		audioOutputs.emplace_back (new AudioBus (STR16 ("Out"), kMain, BusInfo::kDefaultActive, SpeakerArr::kStereo), false);
		return result;
	}
	tresult PLUGIN_API getState (IBStream* state) SMTG_OVERRIDE
	{
		IBStreamer s (state, kLittleEndian);
		return s.writeDouble (0.75) ? kResultOk : kResultFalse;
	}
	tresult PLUGIN_API connect (IConnectionPoint* other) SMTG_OVERRIDE
	{
		m_bConnected = true;
		return Component::connect (other);
	}
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement*, int32, SpeakerArrangement*, int32) SMTG_OVERRIDE { return kResultFalse; }
	tresult PLUGIN_API getBusArrangement (BusDirection, int32, SpeakerArrangement& arr) SMTG_OVERRIDE { arr = SpeakerArr::kStereo; return kResultOk; }
	tresult PLUGIN_API canProcessSampleSize (int32 size) SMTG_OVERRIDE { return size == kSample32 ? kResultTrue : kResultFalse; }
	uint32 PLUGIN_API getLatencySamples () SMTG_OVERRIDE { return 0; }
	tresult PLUGIN_API setupProcessing (ProcessSetup&) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API setProcessing (TBool) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API process (ProcessData&) SMTG_OVERRIDE { return kResultOk; }
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE { return 0; }
	static FUnknown* create (void*) { return static_cast<IAudioProcessor*> (new SplitComponent); }

	OBJ_METHODS (SplitComponent, Component)
	DEFINE_INTERFACES
		DEF_INTERFACE (IAudioProcessor)
	END_DEFINE_INTERFACES (Component)
	REFCOUNT_METHODS (Component)
	static bool m_bConnected;
};
bool SplitComponent::m_bConnected = false;

class SplitController : public EditController
{
public:
	SplitController () { ++g_nSplitObjects; }
	~SplitController () override { --g_nSplitObjects; }
	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE
	{
		const tresult result = EditController::initialize (context);
		parameters.addParameter (STR16 ("Level"), nullptr, 0, 0.0, ParameterInfo::kCanAutomate, 5);
		return result;
	}
	tresult PLUGIN_API setComponentState (IBStream* state) SMTG_OVERRIDE
	{
		IBStreamer s (state, kLittleEndian);
		double level = 0;
		if (!s.readDouble (level))
			return kResultFalse;
		return EditController::setParamNormalized (5, level);
	}
	static FUnknown* create (void*) { return static_cast<IEditController*> (new SplitController); }
};

} // namespace

TEST (Vst2Wrapper, ServesAnEffectWithASeparateController)
{
	CPluginFactory factory (PFactoryInfo ("V", "", "", 0));
	PClassInfo component (kSplitComponentUid.toTUID (), 1, kVstAudioEffectClass, "Split");
	PClassInfo controller (kSplitControllerUid.toTUID (), 1, kVstComponentControllerClass, "Split C");
	factory.registerClass (&component, &SplitComponent::create);
	factory.registerClass (&controller, &SplitController::create);

	AEffect* effect = Vst2Wrapper::create (&factory, kSplitComponentUid.toTUID (), 1, nullptr);
	ASSERT_NE (effect, nullptr);
	EXPECT_EQ (g_nSplitObjects, 2);
	EXPECT_TRUE (SplitComponent::m_bConnected);
	EXPECT_EQ (effect->numParams, 1);
	EXPECT_FLOAT_EQ (effect->getParameter (effect, 0), 0.75f) << "the controller got the component state";
	effect->dispatcher (effect, effClose, 0, 0, nullptr, 0.f);
	EXPECT_EQ (g_nSplitObjects, 0);
	factory.addRef (); // a stack factory: keep the count from reaching zero at scope end
}
