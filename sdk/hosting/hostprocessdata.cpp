#include "hostprocessdata.h"

#include "pluginterfaces/vst/ivstcomponent.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

HostProcessData::HostProcessData ()
{
	processMode = kRealtime;
	symbolicSampleSize = kSample32;
}

bool HostProcessData::prepare (int32 numInputChannels, int32 numOutputChannels, int32 maxSamples)
{
	std::vector<int32> ins;
	if (numInputChannels > 0)
		ins.push_back (numInputChannels);
	std::vector<int32> outs;
	if (numOutputChannels > 0)
		outs.push_back (numOutputChannels);
	return build (ins, outs, maxSamples);
}

bool HostProcessData::prepare (IComponent& component, int32 maxSamples)
{
	auto channelsOf = [&component] (BusDirection dir) {
		std::vector<int32> counts;
		const int32 numBuses = component.getBusCount (kAudio, dir);
		for (int32 i = 0; i < numBuses; ++i)
		{
			BusInfo info {};
			counts.push_back (component.getBusInfo (kAudio, dir, i, info) == kResultOk
			                      ? std::max<int32> (info.channelCount, 0)
			                      : 0);
		}
		return counts;
	};
	return build (channelsOf (kInput), channelsOf (kOutput), maxSamples);
}

bool HostProcessData::build (const std::vector<int32>& inChannels,
                             const std::vector<int32>& outChannels, int32 maxSamples)
{
	unprepare ();
	if (maxSamples < 0)
		return false;
	m_nMaxSamples = maxSamples;

	// Every channel gets at least one sample so its pointer is valid even for 0-sample blocks.
	auto fill = [maxSamples] (const std::vector<int32>& counts, std::vector<BusStore>& store,
	                          std::vector<AudioBusBuffers>& buses) {
		store.resize (counts.size ());
		buses.resize (counts.size ());
		for (size_t b = 0; b < counts.size (); ++b)
		{
			store[b].samples.assign (static_cast<size_t> (counts[b]),
			                         std::vector<Sample32> (static_cast<size_t> (std::max<int32> (maxSamples, 1)), 0.f));
			store[b].pointers.resize (static_cast<size_t> (counts[b]));
			for (int32 c = 0; c < counts[b]; ++c)
				store[b].pointers[c] = store[b].samples[c].data ();
			buses[b].numChannels = counts[b];
			buses[b].silenceFlags = 0;
			buses[b].channelBuffers32 = store[b].pointers.empty () ? nullptr : store[b].pointers.data ();
		}
	};
	fill (inChannels, m_InputStore, m_InputBuses);
	fill (outChannels, m_OutputStore, m_OutputBuses);

	numInputs = static_cast<int32> (m_InputBuses.size ());
	numOutputs = static_cast<int32> (m_OutputBuses.size ());
	inputs = m_InputBuses.empty () ? nullptr : m_InputBuses.data ();
	outputs = m_OutputBuses.empty () ? nullptr : m_OutputBuses.data ();
	symbolicSampleSize = kSample32;
	numSamples = 0;
	return true;
}

void HostProcessData::unprepare ()
{
	m_InputBuses.clear ();
	m_OutputBuses.clear ();
	m_InputStore.clear ();
	m_OutputStore.clear ();
	m_nMaxSamples = 0;
	numInputs = numOutputs = 0;
	inputs = outputs = nullptr;
	numSamples = 0;
}

void HostProcessData::setNumSamples (int32 n)
{
	numSamples = std::clamp<int32> (n, 0, m_nMaxSamples);
}

Sample32* HostProcessData::channelOf (std::vector<BusStore>& store, int32 bus, int32 channel)
{
	if (bus < 0 || bus >= static_cast<int32> (store.size ()))
		return nullptr;
	auto& pointers = store[bus].pointers;
	if (channel < 0 || channel >= static_cast<int32> (pointers.size ()))
		return nullptr;
	return pointers[channel];
}

bool HostProcessData::pointChannel (std::vector<BusStore>& store, int32 bus, int32 channel,
                                    Sample32* buffer)
{
	if (bus < 0 || bus >= static_cast<int32> (store.size ()))
		return false;
	auto& pointers = store[bus].pointers;
	if (channel < 0 || channel >= static_cast<int32> (pointers.size ()))
		return false;
	pointers[channel] = buffer;
	return true;
}

Sample32* HostProcessData::inputChannel (int32 bus, int32 channel)
{
	return channelOf (m_InputStore, bus, channel);
}

Sample32* HostProcessData::outputChannel (int32 bus, int32 channel)
{
	return channelOf (m_OutputStore, bus, channel);
}

bool HostProcessData::setInputChannel (int32 bus, int32 channel, Sample32* buffer)
{
	return pointChannel (m_InputStore, bus, channel, buffer);
}

bool HostProcessData::setOutputChannel (int32 bus, int32 channel, Sample32* buffer)
{
	return pointChannel (m_OutputStore, bus, channel, buffer);
}

void HostProcessData::useOwnBuffers ()
{
	for (auto* store : {&m_InputStore, &m_OutputStore})
		for (auto& bus : *store)
			for (size_t c = 0; c < bus.pointers.size (); ++c)
				bus.pointers[c] = bus.samples[c].data ();
}

void HostProcessData::clearBuffers ()
{
	for (auto* store : {&m_InputStore, &m_OutputStore})
		for (auto& bus : *store)
			for (auto& channel : bus.samples)
				std::fill (channel.begin (), channel.end (), 0.f);
	for (auto* buses : {&m_InputBuses, &m_OutputBuses})
		for (auto& bus : *buses)
			bus.silenceFlags = 0;
}

void HostProcessData::attach (IParameterChanges* inParams, IEventList* inEvents,
                              ProcessContext* context, IParameterChanges* outParams,
                              IEventList* outEvents)
{
	inputParameterChanges = inParams;
	inputEvents = inEvents;
	processContext = context;
	outputParameterChanges = outParams;
	outputEvents = outEvents;
}

} // namespace Vst
} // namespace Steinberg
