// Processor::process: parameter changes, time information, bypass, and the plug-in called once
// per sample frame (with MIDI at its sample offsets) or once per block. Audio thread only:
// nothing here allocates, locks or throws.
#include "processor.h"

#include "korvessaplatform.h"
#include "midieventlist.h"
#include "paramupdatequeue.h"
#include "valuecooking.h"

#include "plugincore/plugin.h"

#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

namespace {

// A host value of 0..1 as a 7-bit MIDI value, truncated.
uint32 midi7(double dValue)
{
	return static_cast<uint32>(static_cast<float>(dValue) * 127.0f);
}

// Channel c of a bus, or null when the bus does not have it.
Sample32* channelOf(const AudioBusBuffers& bus, int32 nChannel)
{
	if (!bus.channelBuffers32 || nChannel >= bus.numChannels)
		return nullptr;
	return bus.channelBuffers32[nChannel];
}

bool hasAudio(const AudioBusBuffers* pBuses, int32 nBuses)
{
	return pBuses && nBuses > 0 && pBuses[0].numChannels > 0 && pBuses[0].channelBuffers32 &&
	       pBuses[0].channelBuffers32[0];
}

} // namespace

tresult PLUGIN_API Processor::process(ProcessData& data)
{
	if (!m_pPlugIn)
		return kResultFalse;
	if (data.symbolicSampleSize != kSample32)
		return kResultFalse;
	korvessa::platform::CDenormalGuard flushDenormals;

	SpeakerArrangement outArrangement = SpeakerArr::kStereo;
	getBusArrangement(kOutput, 0, outArrangement);
	const int32 nBusChannels = SpeakerArr::getChannelCount(outArrangement);
	// The frames carry two samples, so the plug-in is never told of more than two channels.
	const uint32 uFrameChannels = static_cast<uint32>(nBusChannels < 2 ? nBusChannels : 2);
	const int32 nSamples = data.numSamples > 0 ? data.numSamples : 0;
	const bool bOutputOnly = m_pPlugIn->m_bOutputOnly;

	// Parameter changes come first: a host flushes them with blocks that carry no audio.
	applyParameterChanges(data);

	const bool bHasOutput = hasAudio(data.outputs, data.numOutputs);
	const bool bHasInput = hasAudio(data.inputs, data.numInputs);
	if (!bHasOutput || (!bOutputOnly && !bHasInput))
	{
		detachQueues();
		return kResultOk;
	}
	const AudioBusBuffers& out = data.outputs[0];

	CHostTimeInfo timeInfo;
	CHostMessage timeMessage;
	const double dSecondsPerSample = 1.0 / (m_pPlugIn->m_nSampleRate > 0 ? m_pPlugIn->m_nSampleRate : 1);
	if (data.processContext)
	{
		const ProcessContext& context = *data.processContext;
		timeInfo.m_dTempo = context.tempo;
		timeInfo.m_fTimeSigNumerator = static_cast<float>(context.timeSigNumerator);
		timeInfo.m_uTimeSigDenominator = static_cast<uint32>(context.timeSigDenominator);
		timeInfo.m_uSamplePosition = static_cast<uint32>(static_cast<uint64>(context.projectTimeSamples));
		timeInfo.m_dSeconds = timeInfo.m_uSamplePosition * dSecondsPerSample;
		timeMessage.m_pTime = &timeInfo;
		m_pPlugIn->hostMessage(kHostMessageTimeInfo, &timeMessage);
	}

	if (!bOutputOnly && m_bBypass)
	{
		const AudioBusBuffers& in = data.inputs[0];
		const int32 nCopied = nBusChannels == 2 ? 2 : 1;
		for (int32 c = 0; c < nCopied; ++c)
		{
			const Sample32* pIn = channelOf(in, c);
			Sample32* pOut = channelOf(out, c);
			if (pIn && pOut && pIn != pOut)
				std::memmove(pOut, pIn, sizeof(Sample32) * static_cast<size_t>(nSamples));
		}
		publishMeters(data, true);
		detachQueues();
		return kResultOk;
	}

	IEventList* pEvents = data.inputEvents;
	if (m_pMidiEvents)
		m_pMidiEvents->bind(pEvents);
	const int32 nEvents = pEvents ? pEvents->getEventCount() : 0;

	if (m_pPlugIn->m_bProcessBuffers)
	{
		const bool bSideChainActive = m_bSideChain && data.numInputs > 1 && data.inputs &&
		                              data.inputs[1].channelBuffers32 && isAudioInputActive(1);
		if (bSideChainActive)
		{
			CSideChainRecord sideChain;
			sideChain.m_ppBuffers = data.inputs[1].channelBuffers32;
			sideChain.m_uChannels = static_cast<uint32>(data.inputs[1].numChannels);
			m_pPlugIn->sideChainInput(&sideChain);
		}
		float* apSilent[2] = {nullptr, nullptr};
		float** ppIn = nullptr;
		int32 nChannels = nBusChannels < out.numChannels ? nBusChannels : out.numChannels;
		if (bOutputOnly)
		{
			if (nSamples > m_nSilentSamples)
			{
				detachQueues();
				return kResultFalse; // larger than the block size the host promised
			}
			apSilent[0] = m_SilentInput.data();
			apSilent[1] = m_SilentInput.data() + m_nSilentSamples;
			ppIn = apSilent;
			nChannels = nChannels < 2 ? nChannels : 2;
		}
		else
		{
			ppIn = data.inputs[0].channelBuffers32;
			nChannels = nChannels < data.inputs[0].numChannels ? nChannels : data.inputs[0].numChannels;
		}
		m_pPlugIn->processBuffers(ppIn, out.channelBuffers32, static_cast<uint32>(nChannels),
		                          static_cast<uint32>(nSamples));
		publishMeters(data, true);
		detachQueues();
		return kResultOk;
	}

	// Frame mode.
	const Sample32* apIn[2] = {nullptr, nullptr};
	Sample32* apOut[2] = {channelOf(out, 0), nullptr};
	if (!bOutputOnly)
		apIn[0] = channelOf(data.inputs[0], 0);
	if (nBusChannels == 2)
	{
		apOut[1] = channelOf(out, 1);
		if (!bOutputOnly)
			apIn[1] = channelOf(data.inputs[0], 1);
	}
	const bool bSideChainActive = m_bSideChain && data.numInputs > 1 && data.inputs &&
	                              data.inputs[1].channelBuffers32 && isAudioInputActive(1);
	const Sample32* apSide[2] = {nullptr, nullptr};
	if (bSideChainActive)
	{
		apSide[0] = channelOf(data.inputs[1], 0);
		if (data.inputs[1].numChannels == 2)
			apSide[1] = channelOf(data.inputs[1], 1);
	}

	Event event = {};
	int32 nNextEvent = 0;
	bool bPending = nEvents >= 1 && pEvents->getEvent(0, event) == kResultOk;
	float afIn[2] = {0.0f, 0.0f};
	float afOut[2] = {0.0f, 0.0f};
	float afSide[2] = {0.0f, 0.0f};
	for (int32 i = 0; i < nSamples; ++i)
	{
		if (bSideChainActive)
		{
			afSide[0] = apSide[0] ? apSide[0][i] : 0.0f;
			afSide[1] = apSide[1] ? apSide[1][i] : 0.0f;
			CSideChainRecord sideChain;
			sideChain.m_pFrame = afSide;
			sideChain.m_uChannels = static_cast<uint32>(data.inputs[1].numChannels);
			m_pPlugIn->sideChainInput(&sideChain);
		}
		// Events are sorted by offset; one that is late (an offset already passed) is played now
		// rather than holding back every event after it.
		while (bPending && event.sampleOffset <= i)
		{
			dispatchMidiEvent(*m_pPlugIn, event, true);
			++nNextEvent;
			bPending = pEvents->getEvent(nNextEvent, event) == kResultOk;
		}
		if (apIn[0])
			afIn[0] = apIn[0][i];
		if (apIn[1])
			afIn[1] = apIn[1][i];
		m_pPlugIn->processFrame(afIn, afOut, uFrameChannels, uFrameChannels);
		if (apOut[0])
			apOut[0][i] = afOut[0];
		if (apOut[1])
			apOut[1][i] = afOut[1];
		timeInfo.m_uSamplePosition += 1;
		timeInfo.m_dSeconds = timeInfo.m_uSamplePosition * dSecondsPerSample;
		m_pPlugIn->hostMessage(kHostMessageTimeInfo, &timeMessage);
	}
	publishMeters(data, false);
	detachQueues();
	return kResultOk;
}

void Processor::applyParameterChanges(ProcessData& data)
{
	IParameterChanges* pChanges = data.inputParameterChanges;
	if (!pChanges)
		return;
	const int32 nQueues = pChanges->getParameterCount();
	for (int32 k = 0; k < nQueues; ++k)
	{
		IParamValueQueue* pQueue = pChanges->getParameterData(k);
		if (!pQueue)
			continue;
		const int32 nPoints = pQueue->getPointCount();
		if (nPoints <= 0)
			continue; // nothing to apply; the changes after it still count
		const ParamID uId = pQueue->getParameterId();
		int32 nOffset = 0;
		ParamValue dValue = 0.0;
		if (pQueue->getPoint(nPoints - 1, nOffset, dValue) != kResultOk)
			continue;
		if (dValue != dValue)
			continue; // NaN carries no value
		dValue = dValue < 0.0 ? 0.0 : (dValue > 1.0 ? 1.0 : dValue);

		CControlDescriptor* pControl = descriptorAt(uId);
		if (!pControl)
		{
			applyFixedParameter(uId, dValue);
			continue;
		}
		const float fCooked = cookHostValue(*pControl, dValue);
		if (m_bSampleAccurate && uId < static_cast<uint32>(m_nQueueCount) && m_pQueues[uId])
		{
			m_pQueues[uId]->attach(pQueue, data.numSamples > 0 ? data.numSamples : 0);
			pControl->m_pConnector = m_pQueues[uId].get();
		}
		else
		{
			pControl->m_pConnector = nullptr;
		}
		m_pPlugIn->setNormalized(static_cast<int32_t>(uId), fCooked, false);
	}
}

void Processor::applyFixedParameter(ParamID uId, double dValue)
{
	switch (uId)
	{
		case kParamButton1:
		case kParamButton2:
		case kParamButton3:
			m_pPlugIn->controlChanged(50 + (uId - kParamButton1));
			break;
		case kParamJoystickX:
			m_pPlugIn->setJoystickX(static_cast<float>(2.0 * dValue - 1.0), true);
			break;
		case kParamJoystickY:
			m_pPlugIn->setJoystickY(static_cast<float>(2.0 * dValue - 1.0), true);
			break;
		case kParamBypass:
			m_bBypass = dValue != 0.0;
			break;
		case kParamPitchBend:
		{
			const double dBend = 2.0 * dValue - 1.0;
			const int32 nBend = dBend == -1.0 ? -8192 : static_cast<int32>(dBend * 8191.0);
			m_pPlugIn->pitchBendMoved(0, nBend, static_cast<float>(dBend));
			break;
		}
		case kParamModWheel: m_pPlugIn->modWheelMoved(0, midi7(dValue)); break;
		case kParamMidiVolume: m_pPlugIn->rawMidi(0, 7, midi7(dValue), 0); break;
		case kParamMidiPan: m_pPlugIn->rawMidi(0, 10, midi7(dValue), 0); break;
		case kParamExpression: m_pPlugIn->rawMidi(0, 11, midi7(dValue), 0); break;
		case kParamSustain: m_pPlugIn->rawMidi(0, 64, dValue > 0.5 ? 127 : 0, 0); break;
		case kParamChannelPressure: m_pPlugIn->rawMidi(0, 208, midi7(dValue), 0); break;
		case kParamAllNotesOff: m_pPlugIn->noteOff(0, 0, 0, true); break;
		default: break; // the preset selector acts through setParamNormalized
	}
}

void Processor::publishMeters(ProcessData& data, bool bZero)
{
	IParameterChanges* pOut = data.outputParameterChanges;
	if (!pOut)
		return;
	for (size_t k = 0; k < m_MeterParameterIDs.size(); ++k)
	{
		const int32 nId = m_MeterParameterIDs[k];
		const CControlDescriptor* pControl = descriptorAt(nId);
		if (!pControl)
			continue;
		int32 nIndex = 0;
		IParamValueQueue* pQueue = pOut->addParameterData(static_cast<ParamID>(nId), nIndex);
		if (pQueue && pControl->m_pMeter)
			pQueue->addPoint(static_cast<int32>(k), bZero ? 0.0 : *pControl->m_pMeter, nIndex);
	}
}

void Processor::detachQueues()
{
	if (!m_pQueues)
		return;
	for (int32 i = 0; i < m_nQueueCount; ++i)
	{
		if (!m_pQueues[i] || !m_pQueues[i]->isAttached())
			continue;
		m_pQueues[i]->detach();
		CControlDescriptor* pControl = descriptorAt(i);
		if (pControl && pControl->m_pConnector == m_pQueues[i].get())
			pControl->m_pConnector = nullptr;
	}
}

} // namespace Zaze2VST3
