// Feeds arbitrary bytes to the component state restore of both sides (setState on the audio
// side, setComponentState on the controller side) of one initialized processor, then saves the
// state, restores and saves it again, and processes a short block. A crash, a sanitizer report,
// a failed save, a saved state that does not read back to the same bytes, a control outside its
// limits or a non-finite output sample ends the run.
#include "hostbinding/processor.h"

#include "plugincore/plugin.h"

#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

struct CFuzzHost
{
	CFuzzHost()
	: m_pProcessor(new Zaze2VST3::Processor())
	{
		m_pProcessor->initialize(nullptr);
		ProcessSetup setup = {kRealtime, kSample32, 64, 48000.0};
		m_pProcessor->setupProcessing(setup);
		m_pProcessor->setActive(true);
		for (int c = 0; c < 2; ++c)
		{
			m_apIn[c] = m_afIn[c];
			m_apOut[c] = m_afOut[c];
			for (int i = 0; i < 32; ++i)
				m_afIn[c][i] = 0.25f * std::sin(0.2f * i + c);
		}
	}

	void run(const uint8_t* pData, size_t uSize)
	{
		for (bool bController : {false, true})
		{
			MemoryStream stream;
			int32 nWritten = 0;
			if (uSize > 0)
				stream.write(const_cast<uint8_t*>(pData), static_cast<int32>(uSize), &nWritten);
			stream.seek(0, IBStream::kIBSeekSet, nullptr);
			const tresult nResult = bController ? m_pProcessor->setComponentState(&stream)
			                                    : m_pProcessor->setState(&stream);
			if (nResult != kResultOk && nResult != kResultFalse)
				__builtin_trap();
		}
		// What getState writes, setState must read back, and a second save must give the
		// same bytes.
		MemoryStream saved;
		if (m_pProcessor->getState(&saved) != kResultOk)
			__builtin_trap();
		saved.seek(0, IBStream::kIBSeekSet, nullptr);
		if (m_pProcessor->setState(&saved) != kResultOk)
			__builtin_trap();
		MemoryStream again;
		if (m_pProcessor->getState(&again) != kResultOk)
			__builtin_trap();
		int64 nSaved = 0, nAgain = 0;
		saved.seek(0, IBStream::kIBSeekEnd, &nSaved);
		again.seek(0, IBStream::kIBSeekEnd, &nAgain);
		if (nSaved != nAgain || std::memcmp(saved.getData(), again.getData(), static_cast<size_t>(nSaved)) != 0)
			__builtin_trap();

		CPlugIn* pPlugIn = m_pProcessor->getPlugIn();
		for (int32_t i = 0; i < pPlugIn->m_nControlCount; ++i)
		{
			const CControlDescriptor* pControl = pPlugIn->m_ppControlTable[i];
			const float fValue = pPlugIn->getValue(i);
			if (!(fValue >= pControl->m_fLow && fValue <= pControl->m_fHigh))
				__builtin_trap();
		}
		for (int32 nId = 0; nId < pPlugIn->m_nControlCount; ++nId)
		{
			const double dNormalized = m_pProcessor->getParamNormalized(static_cast<ParamID>(nId));
			if (!(dNormalized >= 0.0 && dNormalized <= 1.0))
				__builtin_trap();
		}

		AudioBusBuffers in = {};
		AudioBusBuffers out = {};
		in.numChannels = out.numChannels = 2;
		in.channelBuffers32 = m_apIn;
		out.channelBuffers32 = m_apOut;
		ProcessData data;
		data.symbolicSampleSize = kSample32;
		data.numSamples = 32;
		data.numInputs = data.numOutputs = 1;
		data.inputs = &in;
		data.outputs = &out;
		if (m_pProcessor->process(data) != kResultOk)
			__builtin_trap();
		for (int c = 0; c < 2; ++c)
			for (int i = 0; i < 32; ++i)
				if (!std::isfinite(m_afOut[c][i]))
					__builtin_trap();
	}

	Zaze2VST3::Processor* m_pProcessor;
	float m_afIn[2][32] = {};
	float m_afOut[2][32] = {};
	float* m_apIn[2];
	float* m_apOut[2];
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uSize)
{
	static CFuzzHost host; // one instance, as a host keeps one across many restores
	host.run(pData, uSize);
	return 0;
}
