// Sample-accurate values of one control: wraps the host's parameter queue of the current block
// and hands the plug-in the values on the line between its points, at the update granularity.
#pragma once

#include "plugincore/hostrecords.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

namespace Zaze2VST3 {

class CVSTParamUpdateQueue : public IParamUpdateQueue
{
public:
	// pGranularity: the processor's update granularity in samples, read on every evaluation.
	explicit CVSTParamUpdateQueue(const Steinberg::int32* pGranularity);
	virtual ~CVSTParamUpdateQueue() = default;

	// Binds the host queue of this block. Audio thread.
	void attach(Steinberg::Vst::IParamValueQueue* pHostQueue, Steinberg::int32 nBlockSize);
	// Forgets the host queue once its block is over. Audio thread.
	void detach() { m_pHostQueue = nullptr; }
	bool isAttached() const { return m_pHostQueue != nullptr; }

	// IParamUpdateQueue, audio thread.
	int32_t getParameterIndex() override;
	bool getValueAtOffset(int32_t nSampleOffset, double dPreviousValue, double* pValue) override;
	bool getNextValue(double* pValue) override;

private:
	bool evaluate(Steinberg::int32 nOffset, double* pValue);
	void advanceSegment();

	Steinberg::int32 m_nBlockSize = 0;      // samples of the block it was last attached in
	double m_dLastValue = 0.0;              // last value delivered, normalized
	double m_dSlope = 1.0;                  // current segment: value = offset + sample × slope
	double m_dOffset = 0.0;
	const Steinberg::int32* m_pGranularity; // update granularity, samples
	Steinberg::int32 m_nPointIndex = 0;     // next host point to read
	Steinberg::Vst::IParamValueQueue* m_pHostQueue = nullptr; // this block's host queue
	Steinberg::int32 m_nX1 = 0;             // segment start, sample offset
	Steinberg::int32 m_nX2 = 0;             // segment end, sample offset
	double m_dY1 = 0.0;                     // value at the segment start
	double m_dY2 = 0.0;                     // value at the segment end
	bool m_bLastSegment = false;            // the segment ends on the block's last sample
	Steinberg::int32 m_nSampleIndex = 0;    // running offset of getNextValue
};

} // namespace Zaze2VST3
