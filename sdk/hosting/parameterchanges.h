// Host-side parameter change lists for one processing block.
//
// A host keeps one ParameterChanges per direction and reuses it every block: clear() it, add the
// block's points, hand it to IAudioProcessor::process. All storage is reserved in the constructor,
// so filling and clearing never allocates; a list or queue that is full refuses further entries.
//
// Lifetime: these objects belong to the host that made them. addRef/release keep a count for the
// plug-in's benefit but never delete, so they can live as members or on the stack.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "hostowned.h"

#include <vector>

namespace Steinberg {
namespace Vst {

/** The points of one parameter within a block, kept in sample-offset order. */
class ParameterValueQueue : public HostOwned<IParamValueQueue>
{
public:
	explicit ParameterValueQueue (int32 maxPoints = 64);
	virtual ~ParameterValueQueue () = default;

	/** Empties the queue and gives it a new parameter ID. Any thread; never allocates. */
	void setParamID (ParamID id);
	/** Empties the queue, keeping its ID and its storage. */
	void clear () { m_nPointCount = 0; }
	int32 getMaxPoints () const { return static_cast<int32> (m_Points.size ()); }

	// IParamValueQueue
	ParamID PLUGIN_API getParameterId () SMTG_OVERRIDE { return m_uParamId; }
	int32 PLUGIN_API getPointCount () SMTG_OVERRIDE { return m_nPointCount; }
	tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, ParamValue& value) SMTG_OVERRIDE;
	/** Inserts in offset order; a point at an offset already present replaces that point's value.
	    Refuses a negative offset (kInvalidArgument) and a full queue (kResultFalse). */
	tresult PLUGIN_API addPoint (int32 sampleOffset, ParamValue value, int32& index) SMTG_OVERRIDE;


private:
	struct Point
	{
		int32 nOffset;     // samples from the block start
		ParamValue dValue; // normalized 0..1
	};

	std::vector<Point> m_Points; // fixed capacity, first m_nPointCount in use
	int32 m_nPointCount = 0;
	ParamID m_uParamId = 0;
};

/** The changed parameters of one block: one queue per parameter, in the order they were added. */
class ParameterChanges : public HostOwned<IParameterChanges>
{
public:
	explicit ParameterChanges (int32 maxParameters = 128, int32 maxPointsPerQueue = 64);
	virtual ~ParameterChanges () = default;

	/** Empties the list (queues keep their storage). Any thread; never allocates. */
	void clear () { m_nUsed = 0; }
	/** Re-reserves storage for another capacity; allocates, so not on the audio thread. */
	void setMaxParameters (int32 maxParameters, int32 maxPointsPerQueue = 64);
	int32 getMaxParameters () const { return static_cast<int32> (m_Queues.size ()); }

	/** Convenience for hosts: adds one point for a parameter, creating its queue if needed. */
	tresult addPoint (ParamID id, int32 sampleOffset, ParamValue value);

	// IParameterChanges
	int32 PLUGIN_API getParameterCount () SMTG_OVERRIDE { return m_nUsed; }
	IParamValueQueue* PLUGIN_API getParameterData (int32 index) SMTG_OVERRIDE;
	/** Answers the existing queue of that ID if there is one, else the next free queue;
	    null (index -1) when the list is full. */
	IParamValueQueue* PLUGIN_API addParameterData (const ParamID& id, int32& index) SMTG_OVERRIDE;


private:
	std::vector<ParameterValueQueue> m_Queues; // fixed capacity, first m_nUsed in use
	int32 m_nUsed = 0;
};

} // namespace Vst
} // namespace Steinberg
