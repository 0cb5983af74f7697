#include "testeffect.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <string>

using namespace korvessa_test;

namespace {

std::string narrow (const TChar* text)
{
	std::string out;
	for (; text && *text; ++text)
		out += static_cast<char> (*text);
	return out;
}

uint32 refCountOf (FUnknown* unknown)
{
	unknown->addRef ();
	return unknown->release ();
}

struct EffectFixture : ::testing::Test
{
	void SetUp () override { ASSERT_EQ (effect->initialize (nullptr), kResultOk); }
	void TearDown () override
	{
		effect->terminate ();
		effect->release ();
	}
	TestEffect* effect = new TestEffect;
};

} // namespace

TEST (SingleComponentEffect, ProcessingSetupDefaults)
{
	TestEffect* effect = new TestEffect;
	const ProcessSetup& setup = effect->getProcessSetup ();
	EXPECT_EQ (setup.processMode, kRealtime);
	EXPECT_EQ (setup.symbolicSampleSize, kSample32);
	EXPECT_EQ (setup.maxSamplesPerBlock, 1024);
	EXPECT_EQ (setup.sampleRate, 44100.0);
	effect->release ();
}

TEST_F (EffectFixture, BusCountsAndInfos)
{
	struct Case { MediaType type; BusDirection dir; int32 count; };
	const Case counts[] = {{kAudio, kInput, 1}, {kAudio, kOutput, 1}, {kEvent, kInput, 1},
	                       {kEvent, kOutput, 0}, {7, kInput, 0}, {kAudio, 5, 0}};
	for (const auto& c : counts)
		EXPECT_EQ (effect->getBusCount (c.type, c.dir), c.count) << c.type << "/" << c.dir;

	struct Info { MediaType type; BusDirection dir; const char* name; int32 channels; };
	const Info infos[] = {{kAudio, kInput, "AudioInput", 2},
	                      {kAudio, kOutput, "Audio Output", 2},
	                      {kEvent, kInput, "Event Input", 16}};
	for (const auto& c : infos)
	{
		BusInfo info {};
		ASSERT_EQ (effect->getBusInfo (c.type, c.dir, 0, info), kResultTrue) << c.name;
		EXPECT_EQ (info.mediaType, c.type);
		EXPECT_EQ (info.direction, c.dir);
		EXPECT_EQ (narrow (info.name), c.name);
		EXPECT_EQ (info.channelCount, c.channels);
		EXPECT_EQ (info.busType, kMain);
		EXPECT_EQ (info.flags, static_cast<uint32> (BusInfo::kDefaultActive));
	}

	struct Bad { MediaType type; BusDirection dir; int32 index; };
	const Bad bad[] = {{kAudio, kInput, 1}, {kAudio, kInput, -1}, {kEvent, kOutput, 0}, {9, kInput, 0}};
	for (const auto& c : bad)
	{
		BusInfo info {};
		EXPECT_EQ (effect->getBusInfo (c.type, c.dir, c.index, info), kInvalidArgument);
		EXPECT_EQ (effect->activateBus (c.type, c.dir, c.index, true), kInvalidArgument);
	}
	EXPECT_EQ (effect->activateBus (kAudio, kOutput, 0, false), kResultTrue);
	EXPECT_EQ (effect->activateBus (kEvent, kInput, 0, true), kResultTrue);
}

TEST_F (EffectFixture, ArrangementsAreStoredInTheBuses)
{
	SpeakerArrangement mono = SpeakerArr::kMono;
	SpeakerArrangement mono2 = SpeakerArr::kMono;
	EXPECT_EQ (effect->setBusArrangements (&mono, 1, &mono2, 1), kResultTrue);
	for (BusDirection dir : {kInput, kOutput})
	{
		SpeakerArrangement arr = 0;
		ASSERT_EQ (effect->getBusArrangement (dir, 0, arr), kResultTrue);
		EXPECT_EQ (arr, SpeakerArr::kMono);
		BusInfo info {};
		effect->getBusInfo (kAudio, dir, 0, info);
		EXPECT_EQ (info.channelCount, 1);
	}

	// Counts that do not match the declared buses change nothing.
	SpeakerArrangement two[] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
	EXPECT_EQ (effect->setBusArrangements (two, 2, two, 1), kResultFalse);
	EXPECT_EQ (effect->setBusArrangements (two, 1, two, 0), kResultFalse);
	EXPECT_EQ (effect->setBusArrangements (two, -1, two, 1), kInvalidArgument);
	EXPECT_EQ (effect->setBusArrangements (nullptr, 1, two, 1), kInvalidArgument);
	SpeakerArrangement arr = 0;
	effect->getBusArrangement (kOutput, 0, arr);
	EXPECT_EQ (arr, SpeakerArr::kMono);
	EXPECT_EQ (effect->getBusArrangement (kOutput, 1, arr), kInvalidArgument);
}

TEST_F (EffectFixture, OnlyThirtyTwoBitSamples)
{
	EXPECT_EQ (effect->canProcessSampleSize (kSample32), kResultTrue);
	EXPECT_EQ (effect->canProcessSampleSize (kSample64), kResultFalse);
	EXPECT_EQ (effect->canProcessSampleSize (-1), kResultFalse);

	ProcessSetup setup {kOffline, kSample64, 256, 96000.0};
	EXPECT_EQ (effect->setupProcessing (setup), kResultFalse);
	EXPECT_EQ (effect->getProcessSetup ().sampleRate, 44100.0) << "a refused set-up is not stored";
	EXPECT_EQ (effect->getProcessSetup ().maxSamplesPerBlock, 1024);

	setup.symbolicSampleSize = kSample32;
	EXPECT_EQ (effect->setupProcessing (setup), kResultOk);
	EXPECT_EQ (effect->getProcessSetup ().sampleRate, 96000.0);
	EXPECT_EQ (effect->getProcessSetup ().maxSamplesPerBlock, 256);
	EXPECT_EQ (effect->getProcessSetup ().processMode, kOffline);
}

TEST_F (EffectFixture, InterfacesShareOneObjectAndOneCount)
{
	FUnknown* identity = nullptr;
	ASSERT_EQ (effect->queryInterface (FUnknown::iid, reinterpret_cast<void**> (&identity)), kResultOk);
	const uint32 base = refCountOf (identity);

	struct Case { const char* name; const TUID& iid; };
	const Case cases[] = {{"IPluginBase", IPluginBase::iid},
	                      {"IComponent", IComponent::iid},
	                      {"IAudioProcessor", IAudioProcessor::iid},
	                      {"IEditController", IEditController::iid},
	                      {"IEditController2", IEditController2::iid},
	                      {"IConnectionPoint", IConnectionPoint::iid},
	                      {"IDependent", IDependent::iid}};
	for (const auto& c : cases)
	{
		FUnknown* iface = nullptr;
		ASSERT_EQ (effect->queryInterface (c.iid, reinterpret_cast<void**> (&iface)), kResultOk) << c.name;
		ASSERT_NE (iface, nullptr);
		EXPECT_EQ (refCountOf (identity), base + 1) << c.name;
		// Every interface leads back to the same identity.
		FUnknown* again = nullptr;
		ASSERT_EQ (iface->queryInterface (FUnknown::iid, reinterpret_cast<void**> (&again)), kResultOk);
		EXPECT_EQ (again, identity) << c.name;
		again->release ();
		iface->release ();
		EXPECT_EQ (refCountOf (identity), base) << c.name;
	}

	void* obj = reinterpret_cast<void*> (1);
	EXPECT_EQ (effect->queryInterface (IMessage::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	identity->release ();

	EXPECT_TRUE (effect->isTypeOf ("TestEffect"));
	for (const char* base : {"SingleComponentEffect", "EditController", "ComponentBase", "FObject"})
		EXPECT_TRUE (effect->isTypeOf (base)) << base;
	EXPECT_FALSE (effect->isTypeOf ("SingleComponentEffect", false));
}

TEST_F (EffectFixture, SingleComponentAnswers)
{
	TUID cid {};
	RoutingInfo in {}, out {};
	EXPECT_EQ (effect->getControllerClassId (cid), kNotImplemented);
	EXPECT_EQ (effect->setIoMode (kSimple), kNotImplemented);
	EXPECT_EQ (effect->getRoutingInfo (in, out), kNotImplemented);
	EXPECT_EQ (effect->SingleComponentEffect::setProcessing (true), kNotImplemented);
	EXPECT_EQ (effect->SingleComponentEffect::getState (nullptr), kNotImplemented);
	EXPECT_EQ (effect->SingleComponentEffect::getTailSamples (), kNoTail);
	EXPECT_EQ (effect->SingleComponentEffect::getLatencySamples (), 0u);

	// Parameter indices from a host are checked, never passed on unchecked.
	ParameterInfo info {};
	EXPECT_EQ (effect->getParameterCount (), 4);
	EXPECT_EQ (effect->getParameterInfo (3, info), kResultTrue);
	EXPECT_EQ (info.id, kProgramId);
	EXPECT_EQ (effect->getParameterInfo (4, info), kInvalidArgument);
	EXPECT_EQ (effect->getParameterInfo (-1, info), kInvalidArgument);
}

TEST_F (EffectFixture, TerminateDropsBusesSoInitializeCanRunAgain)
{
	EXPECT_EQ (effect->initialize (nullptr), kResultFalse) << "already initialized";
	EXPECT_EQ (effect->getBusCount (kAudio, kInput), 1);

	EXPECT_EQ (effect->terminate (), kResultOk);
	EXPECT_EQ (effect->getBusCount (kAudio, kInput), 0);
	EXPECT_EQ (effect->getBusCount (kEvent, kInput), 0);
	EXPECT_EQ (effect->getParameterCount (), 0);

	ASSERT_EQ (effect->initialize (nullptr), kResultOk);
	EXPECT_EQ (effect->getBusCount (kAudio, kOutput), 1);
	EXPECT_EQ (effect->getParameterCount (), 4);
}
