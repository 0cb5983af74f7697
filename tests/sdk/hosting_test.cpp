#include "allocationcount.h"
#include "hosting/eventlist.h"
#include "hosting/hostprocessdata.h"
#include "hosting/parameterchanges.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<std::pair<int32, ParamValue>> pointsOf (IParamValueQueue& queue)
{
	std::vector<std::pair<int32, ParamValue>> points;
	for (int32 i = 0; i < queue.getPointCount (); ++i)
	{
		int32 offset = -1;
		ParamValue value = -1;
		EXPECT_EQ (queue.getPoint (i, offset, value), kResultOk);
		points.emplace_back (offset, value);
	}
	return points;
}

} // namespace

TEST (ParameterValueQueue, KeepsPointsInOffsetOrderAndReplacesSameOffset)
{
	ParameterValueQueue queue (4);
	struct Add { int32 offset; ParamValue value; tresult result; int32 index; };
	const Add adds[] = {
	    {10, 0.1, kResultOk, 0},
	    {0, 0.2, kResultOk, 0},
	    {5, 0.3, kResultOk, 1},
	    {5, 0.4, kResultOk, 1},           // same offset: value replaced, no new point
	    {-1, 0.5, kInvalidArgument, -7},  // negative offset refused
	    {20, 0.6, kResultOk, 3},
	    {30, 0.7, kResultFalse, -7},      // capacity 4 reached
	};
	for (const auto& add : adds)
	{
		int32 index = -7;
		EXPECT_EQ (queue.addPoint (add.offset, add.value, index), add.result) << add.offset;
		EXPECT_EQ (index, add.index) << add.offset;
	}
	const std::vector<std::pair<int32, ParamValue>> expected = {{0, 0.2}, {5, 0.4}, {10, 0.1}, {20, 0.6}};
	EXPECT_EQ (pointsOf (queue), expected);

	int32 offset = 0;
	ParamValue value = 0;
	EXPECT_EQ (queue.getPoint (4, offset, value), kInvalidArgument);
	EXPECT_EQ (queue.getPoint (-1, offset, value), kInvalidArgument);
}

TEST (ParameterChanges, OneQueuePerIdReusedAfterClear)
{
	ParameterChanges changes (2, 8);
	int32 index = -1;
	IParamValueQueue* a = changes.addParameterData (7, index);
	ASSERT_NE (a, nullptr);
	EXPECT_EQ (index, 0);
	EXPECT_EQ (a->getParameterId (), 7u);
	EXPECT_EQ (changes.addParameterData (7, index), a);
	EXPECT_EQ (index, 0);
	IParamValueQueue* b = changes.addParameterData (9, index);
	EXPECT_EQ (index, 1);
	EXPECT_EQ (changes.addParameterData (11, index), nullptr) << "full list";
	EXPECT_EQ (index, -1);
	EXPECT_EQ (changes.getParameterCount (), 2);
	EXPECT_EQ (changes.getParameterData (1), b);
	EXPECT_EQ (changes.getParameterData (2), nullptr);
	EXPECT_EQ (changes.getParameterData (-1), nullptr);

	EXPECT_EQ (changes.addPoint (9, 3, 0.25), kResultOk);
	EXPECT_EQ (b->getPointCount (), 1);

	changes.clear ();
	EXPECT_EQ (changes.getParameterCount (), 0);
	IParamValueQueue* reused = changes.addParameterData (42, index);
	ASSERT_NE (reused, nullptr);
	EXPECT_EQ (reused->getParameterId (), 42u);
	EXPECT_EQ (reused->getPointCount (), 0) << "a reused queue starts empty";
}

TEST (ParameterChanges, FillingAndClearingNeverAllocates)
{
	ParameterChanges changes (64, 16);
	EventList events (64);
	CAllocationCount scope;
	for (int round = 0; round < 3; ++round)
	{
		changes.clear ();
		events.clear ();
		for (ParamID id = 0; id < 64; ++id)
			for (int32 offset = 15; offset >= 0; --offset)
				changes.addPoint (id, offset, offset / 16.0);
		Event e {};
		for (int i = 0; i < 64; ++i)
			events.addEvent (e);
	}
	EXPECT_EQ (scope.count (), 0u);
	EXPECT_EQ (changes.getParameterCount (), 64);
	EXPECT_EQ (changes.getParameterData (63)->getPointCount (), 16);
}

TEST (EventList, CopiesEventsUpToCapacity)
{
	EventList list (2);
	Event e {};
	e.type = Event::kNoteOnEvent;
	e.sampleOffset = 5;
	e.noteOn.pitch = 60;
	EXPECT_EQ (list.addEvent (e), kResultOk);
	e.sampleOffset = 9;
	EXPECT_EQ (list.addEvent (e), kResultOk);
	EXPECT_EQ (list.addEvent (e), kResultFalse);
	EXPECT_EQ (list.getEventCount (), 2);

	Event out {};
	ASSERT_EQ (list.getEvent (0, out), kResultOk);
	EXPECT_EQ (out.sampleOffset, 5);
	EXPECT_EQ (out.noteOn.pitch, 60);
	EXPECT_EQ (list.getEvent (2, out), kInvalidArgument);
	EXPECT_EQ (list.getEvent (-1, out), kInvalidArgument);
	list.clear ();
	EXPECT_EQ (list.getEventCount (), 0);
}

TEST (HostHelpers, AnswerTheirInterfacesAndSurviveRelease)
{
	ParameterChanges changes;
	EventList events;
	ParameterValueQueue queue;
	struct Case { FUnknown* object; const TUID& iid; const TUID& foreignIid; };
	const Case cases[] = {{&changes, IParameterChanges::iid, IEventList::iid},
	                      {&events, IEventList::iid, IParameterChanges::iid},
	                      {&queue, IParamValueQueue::iid, IEventList::iid}};
	for (const auto& c : cases)
	{
		void* obj = nullptr;
		EXPECT_EQ (c.object->queryInterface (c.iid, &obj), kResultOk);
		EXPECT_EQ (obj, static_cast<void*> (c.object));
		c.object->release ();
		EXPECT_EQ (c.object->queryInterface (FUnknown::iid, &obj), kResultOk);
		c.object->release ();
		EXPECT_EQ (c.object->queryInterface (c.foreignIid, &obj), kNoInterface);
		EXPECT_EQ (obj, nullptr);
		// The host owns these: dropping every reference must not delete a stack object.
		c.object->release ();
		c.object->release ();
	}
}

TEST (HostProcessData, SizesBusesAndBuffers)
{
	HostProcessData data;
	struct Case { int32 ins, outs, expectInputs, expectOutputs; };
	const Case cases[] = {{2, 2, 1, 1}, {1, 1, 1, 1}, {0, 2, 0, 1}, {8, 8, 1, 1}};
	for (const auto& c : cases)
	{
		ASSERT_TRUE (data.prepare (c.ins, c.outs, 37));
		EXPECT_EQ (data.numInputs, c.expectInputs);
		EXPECT_EQ (data.numOutputs, c.expectOutputs);
		EXPECT_EQ (data.symbolicSampleSize, kSample32);
		if (c.ins > 0)
		{
			EXPECT_EQ (data.inputs[0].numChannels, c.ins);
			for (int32 ch = 0; ch < c.ins; ++ch)
				EXPECT_EQ (data.inputs[0].channelBuffers32[ch], data.inputChannel (0, ch));
		}
		else
			EXPECT_EQ (data.inputs, nullptr);
		EXPECT_EQ (data.outputs[0].numChannels, c.outs);
		EXPECT_EQ (data.inputChannel (0, c.ins), nullptr);
		EXPECT_EQ (data.outputChannel (1, 0), nullptr);
		// Every sample of every channel is writable (the sanitizer build checks the bounds).
		for (int32 ch = 0; ch < c.outs; ++ch)
			for (int32 i = 0; i < 37; ++i)
				EXPECT_EQ (data.outputChannel (0, ch)[i], 0.f);
	}

	data.setNumSamples (100);
	EXPECT_EQ (data.numSamples, 37);
	data.setNumSamples (-3);
	EXPECT_EQ (data.numSamples, 0);

	float external[4] = {};
	EXPECT_TRUE (data.setOutputChannel (0, 1, external));
	EXPECT_EQ (data.outputs[0].channelBuffers32[1], external);
	EXPECT_FALSE (data.setOutputChannel (0, 8, external));
	data.useOwnBuffers ();
	EXPECT_EQ (data.outputs[0].channelBuffers32[1], data.outputChannel (0, 1));
	EXPECT_NE (data.outputChannel (0, 1), external);

	data.unprepare ();
	EXPECT_EQ (data.numOutputs, 0);
	EXPECT_EQ (data.outputs, nullptr);
}
