// A small radix-2 FFT and an averaged magnitude spectrum, only for the renderer's pictures.
#pragma once

#include <complex>
#include <vector>

namespace korvessa {
namespace render {

/** In-place forward DFT, X[k] = Σ x[n]·e^(−2πi·kn/N); the size must be a power of two. */
void fft (std::vector<std::complex<double>>& data);

/** Welch average of Hann-windowed frames of nSize samples (a power of two), hop nSize/2.
    Answers nSize/2 + 1 levels in dB relative to a full-scale sine (0 dB), floored at −160 dB.
    Signals shorter than one frame are zero-padded. */
std::vector<double> averageSpectrumDb (const std::vector<float>& samples, int nSize);

} // namespace render
} // namespace korvessa
