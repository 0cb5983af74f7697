#include "parameterchanges.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

//------------------------------------------------------------------------
// ParameterValueQueue
//------------------------------------------------------------------------
ParameterValueQueue::ParameterValueQueue (int32 maxPoints)
: m_Points (static_cast<size_t> (std::max<int32> (maxPoints, 1)))
{
}

void ParameterValueQueue::setParamID (ParamID id)
{
	m_uParamId = id;
	m_nPointCount = 0;
}

tresult PLUGIN_API ParameterValueQueue::getPoint (int32 index, int32& sampleOffset, ParamValue& value)
{
	if (index < 0 || index >= m_nPointCount)
		return kInvalidArgument;
	sampleOffset = m_Points[index].nOffset;
	value = m_Points[index].dValue;
	return kResultOk;
}

tresult PLUGIN_API ParameterValueQueue::addPoint (int32 sampleOffset, ParamValue value, int32& index)
{
	if (sampleOffset < 0)
		return kInvalidArgument;

	// Find the first point at or after the new offset.
	int32 pos = 0;
	while (pos < m_nPointCount && m_Points[pos].nOffset < sampleOffset)
		++pos;
	if (pos < m_nPointCount && m_Points[pos].nOffset == sampleOffset)
	{
		m_Points[pos].dValue = value;
		index = pos;
		return kResultOk;
	}
	if (m_nPointCount >= getMaxPoints ())
		return kResultFalse;

	for (int32 i = m_nPointCount; i > pos; --i)
		m_Points[i] = m_Points[i - 1];
	m_Points[pos] = {sampleOffset, value};
	++m_nPointCount;
	index = pos;
	return kResultOk;
}

//------------------------------------------------------------------------
// ParameterChanges
//------------------------------------------------------------------------
ParameterChanges::ParameterChanges (int32 maxParameters, int32 maxPointsPerQueue)
{
	setMaxParameters (maxParameters, maxPointsPerQueue);
}

void ParameterChanges::setMaxParameters (int32 maxParameters, int32 maxPointsPerQueue)
{
	m_Queues.assign (static_cast<size_t> (std::max<int32> (maxParameters, 0)),
	                 ParameterValueQueue (maxPointsPerQueue));
	m_nUsed = 0;
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData (int32 index)
{
	if (index < 0 || index >= m_nUsed)
		return nullptr;
	return &m_Queues[index];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData (const ParamID& id, int32& index)
{
	for (int32 i = 0; i < m_nUsed; ++i)
	{
		if (m_Queues[i].getParameterId () == id)
		{
			index = i;
			return &m_Queues[i];
		}
	}
	if (m_nUsed >= getMaxParameters ())
	{
		index = -1;
		return nullptr;
	}
	index = m_nUsed++;
	m_Queues[index].setParamID (id);
	return &m_Queues[index];
}

tresult ParameterChanges::addPoint (ParamID id, int32 sampleOffset, ParamValue value)
{
	int32 index = 0;
	IParamValueQueue* queue = addParameterData (id, index);
	if (!queue)
		return kResultFalse;
	int32 pointIndex = 0;
	return queue->addPoint (sampleOffset, value, pointIndex);
}

} // namespace Vst
} // namespace Steinberg
