// The built bundle as a host sees it: loaded with dlopen, driven only through VST 3 interfaces.
#include "allocationcount.h"
#include "effecttables.h"
#include "testhost.h"

#include "hosting/eventlist.h"
#include "hosting/hostprocessdata.h"
#include "hosting/parameterchanges.h"

#include "base/source/fstring.h"
#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace hosttest;

namespace {

// The class ID in memory on Linux (each word most significant byte first) and its text form,
// which the Windows module, with its COM byte order, shares.
const uint8 kClassIdBytes[16] = {0xFF, 0xFF, 0xFF, 0x88, 0xFF, 0x90, 0x4D, 0x5D,
                                 0xFF, 0xFF, 0xFF, 0xEC, 0xFF, 0xFF, 0xFF, 0xA1};
constexpr const char* kClassIdText = "FFFFFF88FF904D5DFFFFFFECFFFFFFA1";
constexpr ParamID kPresetParam = 0x70727374;

std::string runCommand(const std::string& sCommand)
{
	std::string sOutput;
	if (FILE* pPipe = popen(sCommand.c_str(), "r"))
	{
		char acBuffer[512];
		while (std::fgets(acBuffer, sizeof acBuffer, pPipe))
			sOutput += acBuffer;
		pclose(pPipe);
	}
	return sOutput;
}

std::string readFile(const std::string& sPath)
{
	std::ifstream file(sPath, std::ios::binary);
	std::stringstream content;
	content << file.rdbuf();
	return content.str();
}

// Normalized value a host should see for a plain value of a control.
double expectedNormalized(const CControlRow& row, double dPlain)
{
	if (row.m_eMapping == kVoltOctave)
		return std::log2(dPlain / row.m_fLow) / std::log2(double(row.m_fHigh) / row.m_fLow);
	return (dPlain - row.m_fLow) / (double(row.m_fHigh) - row.m_fLow);
}

std::u16string display(IEditController& controller, ParamID uId, double dNormalized)
{
	String128 szText = {};
	controller.getParamStringByValue(uId, dNormalized, szText);
	return str16(szText);
}

std::u16string ascii16(const std::string& s)
{
	return std::u16string(s.begin(), s.end());
}

void selectPreset(CInstance& instance, int nEntry)
{
	ASSERT_EQ(instance.m_pController->setParamNormalized(kPresetParam, nEntry / 15.0), kResultOk);
}

} // namespace

// ----------------------------------------------------------------------------------------------

TEST(Bundle, ExportsExactlyTheEntryPoints)
{
	const std::string sSymbols =
	    runCommand("nm -D --defined-only '" + CModule::get().path() + "' | awk '{print $3}'");
	std::set<std::string> exported;
	std::istringstream lines(sSymbols);
	for (std::string sName; std::getline(lines, sName);)
		if (!sName.empty())
			exported.insert(sName);
	const std::set<std::string> expected = {"GetPluginFactory", "ModuleEntry", "ModuleExit",
	                                        "InitDll",          "ExitDll",     "VSTPluginMain"};
	EXPECT_EQ(exported, expected);
	using BoolFunc = bool (*)();
	auto pInit = reinterpret_cast<BoolFunc>(CModule::get().symbol("InitDll"));
	auto pExit = reinterpret_cast<BoolFunc>(CModule::get().symbol("ExitDll"));
	ASSERT_TRUE(pInit && pExit);
	EXPECT_TRUE(pInit());
	EXPECT_TRUE(pExit());
}

TEST(Bundle, FactoryAndClassInformation)
{
	IPluginFactory* pFactory = CModule::get().factory();
	ASSERT_NE(pFactory, nullptr);
	PFactoryInfo factoryInfo;
	ASSERT_EQ(pFactory->getFactoryInfo(&factoryInfo), kResultOk);
	EXPECT_STREQ(factoryInfo.vendor, "Quillonix");
	EXPECT_STREQ(factoryInfo.email, "Korvessa 0.0.1.0");
	EXPECT_EQ(factoryInfo.flags, PFactoryInfo::kUnicode);
	ASSERT_EQ(pFactory->countClasses(), 1);

	PClassInfo info;
	ASSERT_EQ(pFactory->getClassInfo(0, &info), kResultOk);
	EXPECT_EQ(std::memcmp(info.cid, kClassIdBytes, 16), 0);
	char8 szCid[33] = {};
	FUID::fromTUID(info.cid).toString(szCid);
	EXPECT_STREQ(szCid, kClassIdText);
	EXPECT_EQ(info.cardinality, PClassInfo::kManyInstances);
	EXPECT_STREQ(info.category, "Audio Module Class");
	EXPECT_STREQ(info.name, "Korvessa");

	FUnknownPtr<IPluginFactory2> factory2(pFactory);
	ASSERT_TRUE(factory2);
	PClassInfo2 info2;
	ASSERT_EQ(factory2->getClassInfo2(0, &info2), kResultOk);
	EXPECT_EQ(std::memcmp(info2.cid, kClassIdBytes, 16), 0);
	EXPECT_EQ(info2.classFlags, 0u);
	EXPECT_STREQ(info2.subCategories, "Fx|Distortion");
	EXPECT_STREQ(info2.vendor, "");
	EXPECT_STREQ(info2.version, "0.0.1.0");
	EXPECT_STREQ(info2.sdkVersion, "VST 3.6.6");

	FUnknownPtr<IPluginFactory3> factory3(pFactory);
	ASSERT_TRUE(factory3);
	PClassInfoW infoW;
	ASSERT_EQ(factory3->getClassInfoUnicode(0, &infoW), kResultOk);
	EXPECT_EQ(str16(infoW.name), u"Korvessa");
	EXPECT_EQ(str16(infoW.vendor), u"");
	EXPECT_EQ(str16(infoW.version), u"0.0.1.0");
	EXPECT_STREQ(infoW.subCategories, "Fx|Distortion");

	// A second GetPluginFactory answers the same object with one more reference.
	const uint32 uBefore = pFactory->addRef();
	pFactory->release();
	IPluginFactory* pSecond = CModule::get().factory();
	EXPECT_EQ(pSecond, pFactory);
	EXPECT_EQ(pFactory->addRef(), uBefore + 1);
	pFactory->release();
	pSecond->release();

	// An unknown class or interface is refused.
	void* pObject = reinterpret_cast<void*>(1);
	TUID unknown = {};
	EXPECT_NE(pFactory->createInstance(unknown, IComponent::iid, &pObject), kResultOk);
	EXPECT_EQ(pObject, nullptr);
	pFactory->release();
}

TEST(Bundle, ModuleInfoDescribesTheFactory)
{
	const std::string sJson = readFile(std::string(KORVESSA_BUNDLE_DIR) +
	                                   "/Contents/Resources/moduleinfo.json");
	ASSERT_FALSE(sJson.empty());
	for (const char* szExpected :
	     {"\"Name\": \"Korvessa\"", "\"Vendor\": \"Quillonix\"", "\"E-Mail\": \"Korvessa 0.0.1.0\"",
	      "\"CID\": \"FFFFFF88FF904D5DFFFFFFECFFFFFFA1\"", "\"Category\": \"Audio Module Class\"",
	      "\"Fx\"", "\"Distortion\"", "\"SDKVersion\": \"VST 3.6.6\"", "\"Cardinality\": 2147483647",
	      "\"Version\": \"0.0.1.0\"", "\"Unicode\": true"})
		EXPECT_NE(sJson.find(szExpected), std::string::npos) << szExpected;
}

// ----------------------------------------------------------------------------------------------

TEST(BundleParameters, TheTwentyControlsComeFirstInOrder)
{
	CInstance instance;
	IEditController& controller = *instance.m_pController;
	ASSERT_EQ(controller.getParameterCount(), 35);
	for (int32 i = 0; i < 20; ++i)
	{
		const CControlRow& row = kControls[i];
		ParameterInfo info = {};
		ASSERT_EQ(controller.getParameterInfo(i, info), kResultOk);
		EXPECT_EQ(info.id, static_cast<ParamID>(i));
		EXPECT_EQ(str16(info.title), row.m_szTitle) << i;
		EXPECT_EQ(str16(info.units), row.m_szUnits) << i;
		EXPECT_EQ(info.unitId, kRootUnitId) << i;
		if (row.m_eMapping == kList)
		{
			EXPECT_EQ(info.stepCount, 1) << i;
			EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList) << i;
			EXPECT_EQ(display(controller, i, 0.0), row.m_szFirstEntry) << i;
			EXPECT_EQ(display(controller, i, 1.0), row.m_szLastEntry) << i;
			EXPECT_EQ(info.defaultNormalizedValue, 0.0) << i;
			continue;
		}
		EXPECT_EQ(info.stepCount, 0) << i;
		EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate) << i;
		EXPECT_NEAR(info.defaultNormalizedValue, expectedNormalized(row, row.m_fInitial), 2e-3) << i;
		EXPECT_NEAR(controller.normalizedParamToPlain(i, info.defaultNormalizedValue), row.m_fInitial,
		            std::fabs(row.m_fInitial) * 2e-3 + 1e-6) << i;
		// Two decimals.
		char szText[32];
		std::snprintf(szText, sizeof szText, "%.2f", static_cast<double>(row.m_fInitial));
		EXPECT_EQ(display(controller, i, info.defaultNormalizedValue), ascii16(szText)) << i;
	}
	// Volume and Trim are volt/octave: the middle of the knob is the geometric middle.
	EXPECT_NEAR(controller.normalizedParamToPlain(3, 0.5), std::sqrt(0.01 * 0.5), 0.0714 * 0.003);
	EXPECT_NEAR(controller.normalizedParamToPlain(5, 0.5), 1.0, 0.003);
	EXPECT_NEAR(controller.plainParamToNormalized(5, 4.0), 1.0, 1e-3);
}

TEST(BundleParameters, FixedParametersFollowTheControls)
{
	CInstance instance;
	IEditController& controller = *instance.m_pController;
	struct Row { ParamID uId; const char16_t* szTitle; int32 nFlags; double dDefault; };
	const Row rows[] = {
	    {32773, u"VectorJoystick X", ParameterInfo::kCanAutomate, 0.5},
	    {32774, u"VectorJoystick Y", ParameterInfo::kCanAutomate, 0.5},
	    {32768, u"B1", ParameterInfo::kCanAutomate, 0.0},
	    {32769, u"B2", ParameterInfo::kCanAutomate, 0.0},
	    {32770, u"B3", ParameterInfo::kCanAutomate, 0.0},
	    {2056, u"Bypass", ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, 0.0},
	    {2048, u"PitchBend", ParameterInfo::kCanAutomate, 0.0},
	    {2050, u"MIDI Vol", ParameterInfo::kCanAutomate, 0.0},
	    {2051, u"MIDI Pan", ParameterInfo::kCanAutomate, 0.0},
	    {2049, u"MIDI Mod Wheel", ParameterInfo::kCanAutomate, 0.0},
	    {2052, u"MIDI Expression", ParameterInfo::kCanAutomate, 0.0},
	    {2054, u"MIDI Channel Pressure", ParameterInfo::kCanAutomate, 0.0},
	    {2053, u"MIDI Sustain Pedal", ParameterInfo::kCanAutomate, 0.0},
	    {2055, u"All Notes Off", ParameterInfo::kCanAutomate, 0.0},
	    {kPresetParam, u"Factory Presets", ParameterInfo::kIsProgramChange | ParameterInfo::kIsList, 0.0},
	};
	for (int32 k = 0; k < static_cast<int32>(std::size(rows)); ++k)
	{
		ParameterInfo info = {};
		ASSERT_EQ(controller.getParameterInfo(20 + k, info), kResultOk);
		EXPECT_EQ(info.id, rows[k].uId) << k;
		EXPECT_EQ(str16(info.title), rows[k].szTitle) << k;
		EXPECT_EQ(info.flags, rows[k].nFlags) << k;
		EXPECT_EQ(info.defaultNormalizedValue, rows[k].dDefault) << k;
		EXPECT_EQ(str16(info.units), u"") << k;
		EXPECT_EQ(info.unitId, kRootUnitId) << k;
		EXPECT_EQ(info.stepCount, rows[k].uId == kPresetParam ? 15 : 0) << k;
	}
	EXPECT_EQ(display(controller, 32773, 0.5), u"0.50");
	EXPECT_EQ(display(controller, 2048, 0.5), u"0.5");
	ParameterInfo outOfRange = {};
	EXPECT_NE(controller.getParameterInfo(35, outOfRange), kResultOk);
	EXPECT_NE(controller.getParameterInfo(-1, outOfRange), kResultOk);
}

TEST(BundleParameters, UnitsProgramListAndMidiMapping)
{
	CInstance instance;
	IUnitInfo& units = *instance.m_pUnits;
	ASSERT_EQ(units.getUnitCount(), 1);
	UnitInfo unit = {};
	ASSERT_EQ(units.getUnitInfo(0, unit), kResultOk);
	EXPECT_EQ(unit.id, kRootUnitId);
	EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
	EXPECT_EQ(str16(unit.name), u"RootUnit");
	EXPECT_EQ(unit.programListId, static_cast<ProgramListID>(kPresetParam));

	ASSERT_EQ(units.getProgramListCount(), 1);
	ProgramListInfo list = {};
	ASSERT_EQ(units.getProgramListInfo(0, list), kResultOk);
	EXPECT_EQ(list.id, static_cast<ProgramListID>(kPresetParam));
	EXPECT_EQ(str16(list.name), u"Presets");
	ASSERT_EQ(list.programCount, 16);
	for (int32 k = 0; k < 16; ++k)
	{
		String128 szName = {};
		ASSERT_EQ(units.getProgramName(list.id, k, szName), kResultOk);
		EXPECT_EQ(str16(szName), kPresetNames[k]) << k;
		EXPECT_EQ(display(*instance.m_pController, kPresetParam, k / 15.0), kPresetNames[k]) << k;
	}
	String128 szName = {};
	EXPECT_EQ(units.getProgramName(1234, 0, szName), kResultFalse);
	EXPECT_EQ(units.getProgramInfo(list.id, 0, "Name", szName), kResultFalse);
	EXPECT_EQ(units.selectUnit(0), kResultOk);
	EXPECT_EQ(units.getSelectedUnit(), 0);

	IMidiMapping& midi = *instance.m_pMidi;
	const std::pair<CtrlNumber, ParamID> mapped[] = {{1, 2049},   {7, 2050},  {10, 2051},
	                                                  {11, 2052},  {64, 2053}, {123, 2055},
	                                                  {128, 2054}, {129, 2048}};
	for (const auto& pair : mapped)
	{
		ParamID uId = 0;
		EXPECT_EQ(midi.getMidiControllerAssignment(0, 5, pair.first, uId), kResultOk);
		EXPECT_EQ(uId, pair.second) << pair.first;
	}
	ParamID uId = 99;
	EXPECT_EQ(midi.getMidiControllerAssignment(0, 0, 2, uId), kResultFalse);
	EXPECT_EQ(midi.getMidiControllerAssignment(1, 0, 7, uId), kResultFalse);
}

TEST(BundleSetup, BusesArrangementsLatencyAndTail)
{
	CInstance instance;
	IComponent& component = *instance.m_pComponent;
	IAudioProcessor& processor = *instance.m_pProcessor;
	ASSERT_EQ(component.getBusCount(kAudio, kInput), 1);
	ASSERT_EQ(component.getBusCount(kAudio, kOutput), 1);
	ASSERT_EQ(component.getBusCount(kEvent, kInput), 1);
	BusInfo bus = {};
	ASSERT_EQ(component.getBusInfo(kAudio, kInput, 0, bus), kResultOk);
	EXPECT_EQ(str16(bus.name), u"AudioInput");
	EXPECT_EQ(bus.channelCount, 2);
	ASSERT_EQ(component.getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
	EXPECT_EQ(str16(bus.name), u"Audio Output");
	ASSERT_EQ(component.getBusInfo(kEvent, kInput, 0, bus), kResultOk);
	EXPECT_EQ(str16(bus.name), u"Event Input");
	EXPECT_EQ(bus.channelCount, 16);

	SpeakerArrangement mono = SpeakerArr::kMono;
	SpeakerArrangement stereo = SpeakerArr::kStereo;
	EXPECT_EQ(processor.setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
	EXPECT_EQ(processor.setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
	EXPECT_EQ(processor.setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
	EXPECT_EQ(processor.canProcessSampleSize(kSample64), kResultFalse);
	instance.activate(48000.0, 512);
	EXPECT_EQ(processor.getLatencySamples(), 0u);
	EXPECT_EQ(processor.getTailSamples(), 24000u);
}

// ----------------------------------------------------------------------------------------------

TEST(BundleProcess, BlocksOfAnySizeProcessWithoutAllocating)
{
	CInstance instance;
	instance.activate(48000.0, 4096);
	HostProcessData data;
	ASSERT_TRUE(data.prepare(*instance.m_pComponent, 4096));
	ParameterChanges changes;
	ParameterChanges outChanges;
	EventList events;
	ProcessContext context = {};
	context.sampleRate = 48000.0;
	context.tempo = 120.0;
	data.attach(&changes, &events, &context, &outChanges);
	ASSERT_EQ(instance.m_pProcessor->setProcessing(true) == kResultOk ||
	              instance.m_pProcessor->setProcessing(true) == kNotImplemented,
	          true);
	for (int32 nSamples : {0, 1, 37, 4096, 64})
	{
		changes.clear();
		outChanges.clear();
		events.clear();
		changes.addPoint(0, 0, 0.5);
		changes.addPoint(3, nSamples ? nSamples - 1 : 0, 0.25);
		changes.addPoint(32773, 0, 0.75);
		changes.addPoint(2048, 0, 0.6);
		Event note = {};
		note.type = Event::kNoteOnEvent;
		note.sampleOffset = nSamples / 2;
		note.noteOn.velocity = 0.5f;
		events.addEvent(note);
		data.setNumSamples(nSamples);
		for (int32 c = 0; c < 2; ++c)
			for (int32 i = 0; i < nSamples; ++i)
				data.inputChannel(0, c)[i] = 0.1f * std::sin(0.05f * i + c);
		tresult nResult;
		size_t uAllocations;
		{
			CAllocationCount counter;
			nResult = instance.m_pProcessor->process(data);
			uAllocations = counter.count();
		}
		EXPECT_EQ(nResult, kResultOk) << nSamples;
		EXPECT_EQ(uAllocations, 0u) << nSamples;
		for (int32 c = 0; c < 2; ++c)
			for (int32 i = 0; i < nSamples; ++i)
				ASSERT_TRUE(std::isfinite(data.outputChannel(0, c)[i])) << nSamples << " " << c << " " << i;
	}
	// The changes reached the plug-in's variables.
	CEffectState state = {};
	ASSERT_TRUE(decodeEffectState(instance.state(), state));
	EXPECT_FLOAT_EQ(static_cast<float>(state.m_adControl[0]), 0.04f + 0.96f * 0.5f);
	EXPECT_NEAR(state.m_adControl[3], 0.01 * std::pow(50.0, 0.25), 0.0224 * 0.003);
	EXPECT_FLOAT_EQ(state.m_fJoystickX, 0.5f);
}

TEST(BundleProcess, BypassCopiesInputToOutputExactly)
{
	CInstance instance;
	instance.activate();
	for (SpeakerArrangement arrangement : {SpeakerArr::kStereo, SpeakerArr::kMono})
	{
		ASSERT_EQ(instance.m_pProcessor->setBusArrangements(&arrangement, 1, &arrangement, 1), kResultTrue);
		const int32 nChannels = SpeakerArr::getChannelCount(arrangement);
		HostProcessData data;
		ASSERT_TRUE(data.prepare(*instance.m_pComponent, 256));
		ASSERT_EQ(data.inputs[0].numChannels, nChannels);
		ParameterChanges changes;
		changes.addPoint(2056, 0, 1.0);
		data.attach(&changes);
		data.setNumSamples(256);
		std::mt19937 random(7);
		std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
		for (int32 c = 0; c < nChannels; ++c)
			for (int32 i = 0; i < 256; ++i)
				data.inputChannel(0, c)[i] = sample(random);
		ASSERT_EQ(instance.m_pProcessor->process(data), kResultOk);
		for (int32 c = 0; c < nChannels; ++c)
			EXPECT_EQ(std::memcmp(data.inputChannel(0, c), data.outputChannel(0, c), 256 * sizeof(float)), 0)
			    << nChannels << " " << c;
	}
	CEffectState state = {};
	ASSERT_TRUE(decodeEffectState(instance.state(), state));
	EXPECT_TRUE(state.m_bBypass);
}

TEST(BundleProcess, BadBlocksAnswerWithoutHarm)
{
	CInstance instance;
	instance.activate(44100.0, 512);
	ProcessData empty;
	empty.symbolicSampleSize = kSample32;
	empty.numSamples = 512;
	EXPECT_EQ(instance.m_pProcessor->process(empty), kResultOk); // no buffers at all
	for (int32 nChannels : {1, 8})
	{
		HostProcessData data;
		ASSERT_TRUE(data.prepare(nChannels, nChannels, 128));
		data.setNumSamples(128);
		EXPECT_EQ(instance.m_pProcessor->process(data), kResultOk) << nChannels;
	}
	HostProcessData data;
	ASSERT_TRUE(data.prepare(2, 2, 64));
	data.setNumSamples(64);
	ParameterChanges changes;
	for (ParamID uId : {ParamID(77777), ParamID(20), ParamID(0x80000000), kPresetParam})
		changes.addPoint(uId, 0, 0.5);
	changes.addPoint(1, 0, std::nan(""));
	changes.addPoint(2, 0, -4.0);
	changes.addPoint(4, 0, 9.0);
	data.attach(&changes);
	EXPECT_EQ(instance.m_pProcessor->process(data), kResultOk);
	CEffectState state = {};
	ASSERT_TRUE(decodeEffectState(instance.state(), state));
	EXPECT_FLOAT_EQ(static_cast<float>(state.m_adControl[1]), 0.6f); // NaN ignored
	EXPECT_FLOAT_EQ(static_cast<float>(state.m_adControl[2]), 0.05f); // held at 0
	EXPECT_FLOAT_EQ(static_cast<float>(state.m_adControl[4]), 1.0f);  // held at 1
	data.symbolicSampleSize = kSample64;
	EXPECT_EQ(instance.m_pProcessor->process(data), kResultFalse);

	IEditController& controller = *instance.m_pController;
	EXPECT_NE(controller.setParamNormalized(77777, 0.5), kResultOk);
	EXPECT_NE(controller.setParamNormalized(0, std::nan("")), kResultOk);
	EXPECT_EQ(controller.setParamNormalized(0, 2.0), kResultOk);
	EXPECT_EQ(controller.getParamNormalized(0), 1.0);
}

// ----------------------------------------------------------------------------------------------

TEST(BundleState, RoundTripAndBothSidesOfARestore)
{
	CInstance source;
	source.activate();
	HostProcessData data;
	ASSERT_TRUE(data.prepare(*source.m_pComponent, 16));
	ParameterChanges changes;
	changes.addPoint(0, 0, 0.5);
	changes.addPoint(6, 0, 1.0);
	changes.addPoint(13, 0, 0.25);
	changes.addPoint(32773, 0, 1.0);
	changes.addPoint(32774, 0, 0.25);
	data.attach(&changes);
	data.setNumSamples(16);
	ASSERT_EQ(source.m_pProcessor->process(data), kResultOk);
	const std::vector<uint8> bytes = source.state();
	ASSERT_EQ(bytes.size(), 98u);
	CEffectState state = {};
	ASSERT_TRUE(decodeEffectState(bytes, state));
	EXPECT_EQ(state.m_adControl[6], 1.0);
	EXPECT_FLOAT_EQ(state.m_fJoystickX, 1.0f);
	EXPECT_FLOAT_EQ(state.m_fJoystickY, -0.5f);

	CInstance target;
	EXPECT_EQ(target.setState(bytes, false), kResultOk);
	EXPECT_EQ(target.setState(bytes, true), kResultOk);
	EXPECT_EQ(target.state(), bytes);
	IEditController& controller = *target.m_pController;
	EXPECT_FLOAT_EQ(static_cast<float>(controller.getParamNormalized(0)), 0.5f);
	EXPECT_EQ(controller.getParamNormalized(6), 1.0);
	EXPECT_NEAR(controller.getParamNormalized(13), 0.25, 1e-6);
	EXPECT_NEAR(controller.getParamNormalized(3), expectedNormalized(kControls[3], 0.39), 2e-3);
	EXPECT_DOUBLE_EQ(controller.getParamNormalized(32773), 1.0);
	EXPECT_DOUBLE_EQ(controller.getParamNormalized(32774), 0.25);
	EXPECT_DOUBLE_EQ(controller.getParamNormalized(2056), 0.0);
}

TEST(BundleState, DamagedStreamsAnswerFalse)
{
	CInstance instance;
	const std::vector<uint8> good = instance.state();
	ASSERT_EQ(good.size(), 98u);
	// A truncated stream keeps the controls read before the cut.
	std::vector<uint8> truncated(good.begin(), good.begin() + 8 + 4 * 3);
	const float fDistortion = 0.5f;
	std::memcpy(truncated.data() + 8, &fDistortion, 4);
	CInstance target;
	for (bool bController : {false, true})
	{
		EXPECT_EQ(target.setState(truncated, bController), kResultFalse);
		EXPECT_EQ(target.setState({}, bController), kResultFalse);
		EXPECT_EQ(target.setState({1, 0, 0}, bController), kResultFalse);
	}
	CEffectState state = {};
	ASSERT_TRUE(decodeEffectState(target.state(), state));
	EXPECT_EQ(state.m_adControl[0], 0.5);
	EXPECT_NEAR(target.m_pController->getParamNormalized(0), (0.5 - 0.04) / 0.96, 1e-6);

	std::vector<uint8> overlong = good;
	overlong.resize(good.size() + 100, 0xAB);
	EXPECT_EQ(target.setState(overlong, false), kResultOk);
	EXPECT_EQ(target.setState(overlong, true), kResultOk);
	EXPECT_EQ(target.state(), good);

	// Random streams: a clear answer, and the plug-in still processes finite audio after them.
	std::mt19937 random(1234);
	target.activate(48000.0, 64);
	HostProcessData data;
	ASSERT_TRUE(data.prepare(*target.m_pComponent, 64));
	data.setNumSamples(64);
	for (int nTrial = 0; nTrial < 40; ++nTrial)
	{
		std::vector<uint8> noise(random() % 140);
		for (uint8& byte : noise)
			byte = static_cast<uint8>(random());
		if (nTrial % 2 == 0 && noise.size() >= 8)
			std::memcpy(noise.data(), good.data(), 8); // a plausible version
		const tresult nAudio = target.setState(noise, false);
		const tresult nController = target.setState(noise, true);
		EXPECT_TRUE(nAudio == kResultOk || nAudio == kResultFalse);
		EXPECT_TRUE(nController == kResultOk || nController == kResultFalse);
		for (int32 i = 0; i < 64; ++i)
			data.inputChannel(0, 0)[i] = data.inputChannel(0, 1)[i] = 0.2f * std::sin(0.1f * i);
		ASSERT_EQ(target.m_pProcessor->process(data), kResultOk);
		for (int32 i = 0; i < 64; ++i)
			ASSERT_TRUE(std::isfinite(data.outputChannel(0, 0)[i])) << nTrial;
		CEffectState restored = {};
		ASSERT_TRUE(decodeEffectState(target.state(), restored));
		for (int c = 0; c < 20; ++c)
		{
			ASSERT_GE(restored.m_adControl[c], kControls[c].m_fLow - 1e-6) << nTrial << " " << c;
			ASSERT_LE(restored.m_adControl[c], kControls[c].m_fHigh + 1e-6) << nTrial << " " << c;
		}
	}
}

// ----------------------------------------------------------------------------------------------

TEST(BundlePresets, EveryFactoryPresetReachesPlugInAndController)
{
	CInstance instance;
	for (int nEntry = 0; nEntry < 16; ++nEntry)
	{
		instance.m_Handler.m_Restarts.clear();
		selectPreset(instance, nEntry);
		EXPECT_EQ(instance.m_Handler.m_Restarts, std::vector<int32>{kParamValuesChanged}) << nEntry;
		CEffectState state = {};
		ASSERT_TRUE(decodeEffectState(instance.state(), state));
		for (int c = 0; c < 20; ++c)
		{
			const double dPreset = kPresetValues[nEntry][c];
			EXPECT_NEAR(state.m_adControl[c], dPreset, std::fabs(dPreset) * 1e-5 + 1e-6)
			    << kPresetNames[nEntry][0] << " slot " << nEntry << " control " << c;
			EXPECT_NEAR(instance.m_pController->getParamNormalized(c),
			            expectedNormalized(kControls[c], dPreset),
			            kControls[c].m_eMapping == kVoltOctave ? 2e-3 : 1e-5)
			    << "slot " << nEntry << " control " << c;
		}
		EXPECT_EQ(state.m_fJoystickX, 0.0f);
		EXPECT_EQ(state.m_fJoystickY, 0.0f);
		EXPECT_DOUBLE_EQ(instance.m_pController->getParamNormalized(32773), 0.5);
		EXPECT_DOUBLE_EQ(instance.m_pController->getParamNormalized(32774), 0.5);
	}
}

TEST(BundlePresets, PresetFilesLoadBackAsTheirPresets)
{
	const FUID classId = FUID::fromTUID(reinterpret_cast<const char*>(kClassIdBytes));
	for (int nEntry = 0; nEntry < 16; ++nEntry)
	{
		String name(reinterpret_cast<const TChar*>(kPresetNames[nEntry]));
		name.toMultiByte(kCP_Utf8);
		const std::string sPath = std::string(KORVESSA_PRESET_DIR) + "/" + name.text8() + ".vstpreset";
		const std::string sFile = readFile(sPath);
		ASSERT_GT(sFile.size(), 48u) << sPath;
		EXPECT_EQ(sFile.substr(0, 4), "VST3") << sPath;
		EXPECT_EQ(sFile.substr(8, 32), kClassIdText) << sPath;

		CInstance reference;
		selectPreset(reference, nEntry);
		CInstance loaded;
		MemoryStream stream;
		int32 nWritten = 0;
		stream.write(const_cast<char*>(sFile.data()), static_cast<int32>(sFile.size()), &nWritten);
		stream.seek(0, IBStream::kIBSeekSet, nullptr);
		ASSERT_TRUE(PresetFile::loadPreset(&stream, classId, loaded.m_pComponent, loaded.m_pController))
		    << sPath;
		EXPECT_EQ(loaded.state(), reference.state()) << sPath;
		for (int c = 0; c < 20; ++c)
			EXPECT_NEAR(loaded.m_pController->getParamNormalized(c),
			            reference.m_pController->getParamNormalized(c), 1e-6) << sPath << " " << c;
	}
}

namespace {

void putBytes(std::string& sOut, const void* pData, size_t nSize)
{
	sOut.append(static_cast<const char*>(pData), nSize);
}

template <typename T>
void putLittleEndian(std::string& sOut, T value)
{
	for (size_t i = 0; i < sizeof(T); ++i)
		sOut += static_cast<char>((static_cast<uint64>(value) >> (8 * i)) & 0xFF);
}

// A .vstpreset as the file format lays it out: "VST3", version 1, the class ID's 32 characters,
// the offset of the chunk list; the component state ("Comp"); the list of one chunk.
std::string presetFile(const std::string& sClassIdText, const std::vector<uint8>& state)
{
	std::string sFile = "VST3";
	putLittleEndian<int32>(sFile, 1);
	sFile += sClassIdText;
	const int64 nStateOffset = 4 + 4 + 32 + 8;
	putLittleEndian<int64>(sFile, nStateOffset + static_cast<int64>(state.size()));
	putBytes(sFile, state.data(), state.size());
	sFile += "List";
	putLittleEndian<int32>(sFile, 1);
	sFile += "Comp";
	putLittleEndian<int64>(sFile, nStateOffset);
	putLittleEndian<int64>(sFile, static_cast<int64>(state.size()));
	return sFile;
}

// Loads a preset as a host does: its class must be the one the factory offers.
bool loadPresetFile(const std::string& sFile, CInstance& instance)
{
	IPluginFactory* pFactory = CModule::get().factory();
	PClassInfo info = {};
	const bool bHaveClass = pFactory && pFactory->getClassInfo(0, &info) == kResultOk;
	if (pFactory)
		pFactory->release();
	if (!bHaveClass)
		return false;
	MemoryStream stream;
	int32 nWritten = 0;
	stream.write(const_cast<char*>(sFile.data()), static_cast<int32>(sFile.size()), &nWritten);
	stream.seek(0, IBStream::kIBSeekSet, nullptr);
	return PresetFile::loadPreset(&stream, FUID::fromTUID(info.cid), instance.m_pComponent,
	                              instance.m_pController);
}

} // namespace

TEST(BundlePresets, APresetFromTheWindowsModuleLoadsAndOtherClassesAreRefused)
{
	CInstance reference;
	selectPreset(reference, 5);
	const std::vector<uint8> state = reference.state();
	ASSERT_FALSE(state.empty());

	CInstance loaded;
	ASSERT_TRUE(loadPresetFile(presetFile(kClassIdText, state), loaded));
	EXPECT_EQ(loaded.state(), state);
	for (int c = 0; c < 20; ++c)
		EXPECT_NEAR(loaded.m_pController->getParamNormalized(c),
		            reference.m_pController->getParamNormalized(c), 1e-6) << c;

	// The Windows byte order read as text, a neighbouring ID and a blank one: all other classes.
	for (const char* szOther : {"88FFFFFF90FF5D4DFFFFFFECFFFFFFA1", "FFFFFF88FF904D5DFFFFFFECFFFFFFA0",
	                            "00000000000000000000000000000000"})
	{
		CInstance other;
		const std::vector<uint8> before = other.state();
		EXPECT_FALSE(loadPresetFile(presetFile(szOther, state), other)) << szOther;
		EXPECT_EQ(other.state(), before) << szOther;
	}
}
