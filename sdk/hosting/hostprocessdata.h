// A ProcessData with its audio buses and sample buffers, sized once and reused per block.
//
// prepare() allocates (UI thread, before processing starts); everything else only sets numbers
// and pointers, so a host may call it on its audio thread. 32-bit samples only.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class HostProcessData : public ProcessData
{
public:
	HostProcessData ();
	~HostProcessData () = default;
	HostProcessData (const HostProcessData&) = delete;
	HostProcessData& operator= (const HostProcessData&) = delete;

	/** One input bus of numInputChannels (no input bus when 0) and one output bus of
	    numOutputChannels, each channel with its own zeroed buffer of maxSamples. */
	bool prepare (int32 numInputChannels, int32 numOutputChannels, int32 maxSamples);
	/** Buses and channel counts as the component declares its audio buses (all of them,
	    active or not, as process expects), each channel with a zeroed buffer of maxSamples. */
	bool prepare (IComponent& component, int32 maxSamples);
	/** Drops buses and buffers; ProcessData then describes no audio at all. */
	void unprepare ();

	int32 getMaxSamples () const { return m_nMaxSamples; }
	/** Sets numSamples, clamped to 0..getMaxSamples(). */
	void setNumSamples (int32 numSamples);

	/** The buffer of a channel of an input or output bus, null when out of range. */
	Sample32* inputChannel (int32 bus, int32 channel);
	Sample32* outputChannel (int32 bus, int32 channel);
	/** Points a channel at a caller's buffer (it must hold numSamples samples per block). */
	bool setInputChannel (int32 bus, int32 channel, Sample32* buffer);
	bool setOutputChannel (int32 bus, int32 channel, Sample32* buffer);
	/** Points every channel back at the object's own buffers. */
	void useOwnBuffers ();
	/** Zeroes the own buffers of every bus and clears the silence flags. */
	void clearBuffers ();

	/** Hands the block's parameter changes, events and context to the plug-in (any may be null). */
	void attach (IParameterChanges* inParams, IEventList* inEvents = nullptr,
	             ProcessContext* context = nullptr, IParameterChanges* outParams = nullptr,
	             IEventList* outEvents = nullptr);

private:
	struct BusStore
	{
		std::vector<std::vector<Sample32>> samples; // one buffer per channel
		std::vector<Sample32*> pointers;            // what AudioBusBuffers hands out
	};

	bool build (const std::vector<int32>& inChannels, const std::vector<int32>& outChannels,
	            int32 maxSamples);
	static Sample32* channelOf (std::vector<BusStore>& store, int32 bus, int32 channel);
	static bool pointChannel (std::vector<BusStore>& store, int32 bus, int32 channel,
	                          Sample32* buffer);

	std::vector<AudioBusBuffers> m_InputBuses;
	std::vector<AudioBusBuffers> m_OutputBuses;
	std::vector<BusStore> m_InputStore;
	std::vector<BusStore> m_OutputStore;
	int32 m_nMaxSamples = 0; // samples per channel buffer
};

} // namespace Vst
} // namespace Steinberg
