#include "meterdetector.h"

#include <algorithm>
#include <cmath>

namespace {
// ln 0.367 and ln 0.01, in single precision.
constexpr double kAnalogTC = -1.0023934841156006;
constexpr double kDigitalTC = -4.605170249938965;
constexpr float kSmallestNormal = 1.175494351e-38f;
} // namespace

void CMeterDetector::init(float fSampleRate, float fAttackMs, float fReleaseMs, bool bAnalogTC, int32_t uMode,
                          bool bLogOutput)
{
	m_fSampleRate = fSampleRate;
	m_fAttackMs = fAttackMs;
	m_fReleaseMs = fReleaseMs;
	m_bAnalogTC = bAnalogTC;
	m_uMode = uMode;
	m_bLogOutput = bLogOutput;
	double dTC = bAnalogTC ? kAnalogTC : kDigitalTC;
	// Steps per time constant in single precision; a time of 0 gives a coefficient of 0.
	float fAttackSteps = fSampleRate * fAttackMs * 0.001f;
	float fReleaseSteps = fSampleRate * fReleaseMs * 0.001f;
	m_fAttackCoef = static_cast<float>(std::exp(dTC / fAttackSteps));
	m_fReleaseCoef = static_cast<float>(std::exp(dTC / fReleaseSteps));
	m_fEnvelope = 0.0f;
}

float CMeterDetector::detect(float fInput)
{
	float fLevel = std::isfinite(fInput) ? std::fabs(fInput) : 0.0f;
	if (m_uMode == 1 || m_uMode == 2)
		fLevel *= fLevel;
	float fCoef = fLevel > m_fEnvelope ? m_fAttackCoef : m_fReleaseCoef;
	float fEnvelope = fLevel + fCoef * (m_fEnvelope - fLevel);
	if (fEnvelope != 0.0f && fEnvelope > -kSmallestNormal && fEnvelope < kSmallestNormal)
		fEnvelope = 0.0f;
	if (!(fEnvelope > 0.0f))
		fEnvelope = 0.0f; // also a NaN from a coefficient out of range
	m_fEnvelope = std::min(1.0f, fEnvelope);

	float fOut = m_fEnvelope;
	if (m_uMode == 2)
		fOut = std::sqrt(fOut);
	if (!m_bLogOutput)
		return fOut;
	if (fOut <= 0.0f)
		return 0.0f;
	double dDb = std::max(20.0 * std::log10(fOut), -60.0);
	return static_cast<float>((dDb + 60.0) / 60.0);
}
