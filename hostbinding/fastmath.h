// Fast single-precision base-2 logarithm and power of two.
// The volt/octave parameter and the processor's cooking of host values both use these, so the
// value a host shows and the value the plug-in receives come from the same approximation.
#pragma once

#include <cstdint>
#include <cstring>

namespace Zaze2VST3 {

// log2(x) for x > 0, good to a few thousandths of an octave.
inline float fastLog2(float x)
{
	uint32_t uBits;
	std::memcpy(&uBits, &x, sizeof uBits);
	const float fY = static_cast<float>(uBits) * 1.1920929e-07f;
	const uint32_t uMantissaBits = (uBits & 0x007FFFFFu) | 0x3F000000u;
	float fM;
	std::memcpy(&fM, &uMantissaBits, sizeof fM);
	return fY - 124.22552f - 1.4980303f * fM - 1.72588f / (0.35208872f + fM);
}

// 2^p. Arguments below -126 are raised to -126; NaN is passed through and arguments above 128
// are held at 128 so the integer conversion below stays defined.
inline float fastPow2(float p)
{
	if (p != p)
		return p;
	const float fOffset = (p < 0.0f) ? 1.0f : 0.0f;
	float fQ = (p < -126.0f) ? -126.0f : p;
	if (fQ > 128.0f)
		fQ = 128.0f;
	const float fZ = fQ - static_cast<float>(static_cast<int32_t>(fQ)) + fOffset;
	const int64_t nT = static_cast<int64_t>(
	    8388608.0f * (fQ + 121.274055f + 27.728024f / (4.8425255f - fZ) - 1.4901291f * fZ));
	const uint32_t uBits = static_cast<uint32_t>(static_cast<uint64_t>(nT) & 0xFFFFFFFFu);
	float fResult;
	std::memcpy(&fResult, &uBits, sizeof fResult);
	return fResult;
}

} // namespace Zaze2VST3
