// The envelope follower of the meter views: one step per repaint, a fast attack and a slow
// release, peak, mean-square or root-mean-square detection, and an optional -60..0 dB scale.
#pragma once

#include <cstdint>

class CMeterDetector
{
public:
	// Stores the settings and computes both coefficients; the envelope starts at 0.
	void init(float fSampleRate, float fAttackMs, float fReleaseMs, bool bAnalogTC, int32_t uMode,
	          bool bLogOutput);
	void reset() { m_fEnvelope = 0.0f; }
	// One step: the input's level into the envelope; answers the value to show (0..1).
	float detect(float fInput);

	int32_t m_uMode = 0;            // 0 peak, 1 mean square, 2 root mean square
	float m_fAttackCoef = 0.0f;     // pole while the level rises above the envelope
	float m_fReleaseCoef = 0.0f;    // pole otherwise
	float m_fAttackMs = 0.0f;       // attack time, ms
	float m_fReleaseMs = 0.0f;      // release time, ms
	float m_fSampleRate = 44100.0f; // steps per second
	float m_fEnvelope = 0.0f;       // state, 0..1
	bool m_bAnalogTC = false;       // time constant to 36.7 % instead of 1 %
	bool m_bLogOutput = false;      // output mapped from -60..0 dB to 0..1
};
