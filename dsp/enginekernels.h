// The convolution engine's inner loops on spectra stored as separate real and imaginary
// arrays: the partition product sum, the radix-2 transform stages and the product of a block
// with a constant. Each has a baseline (SSE2) build and builds for AVX2 and AVX-512, chosen
// once for the processor. They use no fused multiply-add and keep the same operations in the
// same order for every element, so all builds give identical results.
#pragma once

struct TSpectralKernels
{
    // acc += x * h over n complex bins (acc = x * h when bFirst); bin 0 is packed (DC in the
    // real part, Nyquist in the imaginary part) and its two parts are multiplied apart.
    void (*multiplyAccumulate)(double* pAccRe, double* pAccIm, const double* pXRe,
                               const double* pXIm, const double* pHRe, const double* pHIm, int n,
                               bool bFirst);
    // One decimation-in-frequency stage of span nSpan over nCount complex values in place:
    // a, b = x[j], x[j + nSpan/2] of each group; x[j] = a + b, x[j + nSpan/2] = (a - b) w[j].
    void (*frequencyStage)(double* pRe, double* pIm, const double* pWRe, const double* pWIm,
                           int nCount, int nSpan);
    // One decimation-in-time stage: b = x[j + nSpan/2] w[j]; x[j] = a + b, x[j + nSpan/2] = a - b.
    void (*timeStage)(double* pRe, double* pIm, const double* pWRe, const double* pWIm,
                      int nCount, int nSpan);

    // The baseline build and the one chosen for this processor.
    static const TSpectralKernels& baseline();
    static const TSpectralKernels& selected();
    // Name of the chosen build: "sse2", "avx2" or "avx512".
    static const char* selectedName();
};
