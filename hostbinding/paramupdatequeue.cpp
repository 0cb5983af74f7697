#include "paramupdatequeue.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

CVSTParamUpdateQueue::CVSTParamUpdateQueue(const int32* pGranularity)
: m_pGranularity(pGranularity)
{
}

void CVSTParamUpdateQueue::attach(IParamValueQueue* pHostQueue, int32 nBlockSize)
{
	m_nBlockSize = nBlockSize;
	m_pHostQueue = pHostQueue;
	m_nPointIndex = 0;
	m_nSampleIndex = 0;
}

int32_t CVSTParamUpdateQueue::getParameterIndex()
{
	return m_pHostQueue ? static_cast<int32_t>(m_pHostQueue->getParameterId()) : -1;
}

bool CVSTParamUpdateQueue::getValueAtOffset(int32_t nSampleOffset, double, double* pValue)
{
	m_nSampleIndex = nSampleOffset;
	return evaluate(nSampleOffset, pValue);
}

bool CVSTParamUpdateQueue::getNextValue(double* pValue)
{
	const bool bDelivered = evaluate(m_nSampleIndex, pValue);
	++m_nSampleIndex;
	return bDelivered;
}

bool CVSTParamUpdateQueue::evaluate(int32 nOffset, double* pValue)
{
	// Outside the block that attached it (or with nothing in it) the queue has no values.
	if (!m_pHostQueue || m_pHostQueue->getPointCount() < 1)
		return false;
	const int64 nGranularity = m_pGranularity ? *m_pGranularity : 0;
	double dY;
	if (nOffset == m_nX1)
		dY = m_dY1;
	else if (nOffset == m_nX2)
		dY = m_dY2;
	else
		dY = nOffset * m_dSlope + m_dOffset;

	if (nOffset == 0 || nOffset == m_nX2)
		advanceSegment();

	if (m_dSlope == 0.0)
		return false;
	const bool bOnGrid = nGranularity != 0 && static_cast<int64>(nOffset) % nGranularity == 0;
	if (!bOnGrid && nOffset != m_nX1 && nOffset != m_nX2)
		return false;
	if (dY == m_dLastValue)
		return false;
	m_dLastValue = dY;
	if (pValue)
		*pValue = dY;
	return true;
}

void CVSTParamUpdateQueue::advanceSegment()
{
	if (!m_pHostQueue)
		return;
	int32 nPointOffset = 0;
	ParamValue dPointValue = 0.0;
	if (m_pHostQueue->getPoint(m_nPointIndex, nPointOffset, dPointValue) != kResultOk)
		return;

	if (m_nPointIndex == 0 && nPointOffset == 0)
	{
		m_nX1 = 0;
		m_dY1 = dPointValue;
		if (m_pHostQueue->getPointCount() < 2)
		{
			m_nX2 = m_nBlockSize;
			m_dY2 = dPointValue;
		}
		else
		{
			++m_nPointIndex;
			int32 nNextOffset = 0;
			ParamValue dNextValue = 0.0;
			if (m_pHostQueue->getPoint(m_nPointIndex, nNextOffset, dNextValue) == kResultOk)
			{
				m_nX2 = nNextOffset;
				m_dY2 = dNextValue;
			}
		}
	}
	else
	{
		if (m_bLastSegment)
		{
			m_nX1 = 0;
			m_bLastSegment = false;
		}
		else
		{
			m_nX1 = m_nX2;
		}
		m_dY1 = m_dY2;
		m_nX2 = nPointOffset;
		m_dY2 = dPointValue;
	}

	if (static_cast<int64>(m_nX2) == static_cast<int64>(m_nBlockSize) - 1)
		m_bLastSegment = true;
	++m_nPointIndex;

	// A segment without length (two points at one offset) is a step, not a ramp: no slope.
	const float fWidth = static_cast<float>(static_cast<int64>(m_nX2) - m_nX1);
	m_dSlope = (fWidth != 0.0f) ? (m_dY2 - m_dY1) / fWidth : 0.0;
	m_dOffset = m_dY1 - m_nX1 * m_dSlope;
}

} // namespace Zaze2VST3
