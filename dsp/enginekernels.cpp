#include "enginekernels.h"

// The loops are written once, as plain element-wise code that the compiler vectorizes for
// each instruction set it is built for. Floating-point contraction is off for this library
// (see CMakeLists.txt), so a product and a sum never fuse in one build and not in another.

namespace
{
#if defined(__GNUC__)
#define KORVESSA_INLINE inline __attribute__((always_inline))
#else
#define KORVESSA_INLINE inline
#endif

KORVESSA_INLINE void multiplyAccumulateBody(double* __restrict ar, double* __restrict ai,
                                            const double* __restrict xr,
                                            const double* __restrict xi,
                                            const double* __restrict hr,
                                            const double* __restrict hi, int n, bool bFirst)
{
    // Bin 0: DC and Nyquist apart.
    const double dDc = xr[0] * hr[0];
    const double dNyquist = xi[0] * hi[0];
    const double dDcBefore = bFirst ? 0.0 : ar[0];
    const double dNyquistBefore = bFirst ? 0.0 : ai[0];
    if (bFirst)
    {
        for (int k = 0; k < n; ++k)
        {
            ar[k] = xr[k] * hr[k] - xi[k] * hi[k];
            ai[k] = xr[k] * hi[k] + xi[k] * hr[k];
        }
    }
    else
    {
        for (int k = 0; k < n; ++k)
        {
            ar[k] = ar[k] + (xr[k] * hr[k] - xi[k] * hi[k]);
            ai[k] = ai[k] + (xr[k] * hi[k] + xi[k] * hr[k]);
        }
    }
    ar[0] = dDcBefore + dDc;
    ai[0] = dNyquistBefore + dNyquist;
}

KORVESSA_INLINE void frequencyStageBody(double* __restrict re, double* __restrict im,
                                        const double* __restrict wr,
                                        const double* __restrict wi, int nCount, int nSpan)
{
    const int h = nSpan / 2;
    if (h == 1)
    {
        for (int g = 0; g < nCount; g += 2)
        {
            const double ar = re[g], ai = im[g], br = re[g + 1], bi = im[g + 1];
            re[g] = ar + br;
            im[g] = ai + bi;
            re[g + 1] = ar - br;
            im[g + 1] = ai - bi;
        }
        return;
    }
    for (int g = 0; g < nCount; g += nSpan)
    {
        double* __restrict r0 = re + g;
        double* __restrict i0 = im + g;
        double* __restrict r1 = re + g + h;
        double* __restrict i1 = im + g + h;
        for (int j = 0; j < h; ++j)
        {
            const double dr = r0[j] - r1[j], di = i0[j] - i1[j];
            r0[j] = r0[j] + r1[j];
            i0[j] = i0[j] + i1[j];
            r1[j] = dr * wr[j] - di * wi[j];
            i1[j] = dr * wi[j] + di * wr[j];
        }
    }
}

KORVESSA_INLINE void timeStageBody(double* __restrict re, double* __restrict im,
                                   const double* __restrict wr, const double* __restrict wi,
                                   int nCount, int nSpan)
{
    const int h = nSpan / 2;
    if (h == 1)
    {
        for (int g = 0; g < nCount; g += 2)
        {
            const double ar = re[g], ai = im[g], br = re[g + 1], bi = im[g + 1];
            re[g] = ar + br;
            im[g] = ai + bi;
            re[g + 1] = ar - br;
            im[g + 1] = ai - bi;
        }
        return;
    }
    for (int g = 0; g < nCount; g += nSpan)
    {
        double* __restrict r0 = re + g;
        double* __restrict i0 = im + g;
        double* __restrict r1 = re + g + h;
        double* __restrict i1 = im + g + h;
        for (int j = 0; j < h; ++j)
        {
            const double br = r1[j] * wr[j] - i1[j] * wi[j];
            const double bi = r1[j] * wi[j] + i1[j] * wr[j];
            const double ar = r0[j], ai = i0[j];
            r0[j] = ar + br;
            i0[j] = ai + bi;
            r1[j] = ar - br;
            i1[j] = ai - bi;
        }
    }
}

#define KORVESSA_KERNELS(NAME, TARGET)                                                          \
    TARGET void multiplyAccumulate##NAME(double* ar, double* ai, const double* xr,              \
                                         const double* xi, const double* hr, const double* hi,  \
                                         int n, bool bFirst)                                    \
    {                                                                                           \
        if (n == 64) /* the engine's block: a constant count vectorizes without remainder */    \
            multiplyAccumulateBody(ar, ai, xr, xi, hr, hi, 64, bFirst);                         \
        else                                                                                    \
            multiplyAccumulateBody(ar, ai, xr, xi, hr, hi, n, bFirst);                          \
    }                                                                                           \
    TARGET void frequencyStage##NAME(double* re, double* im, const double* wr, const double* wi, \
                                     int nCount, int nSpan)                                     \
    {                                                                                           \
        if (nCount == 64)                                                                       \
            frequencyStageBody(re, im, wr, wi, 64, nSpan);                                      \
        else if (nCount == 32)                                                                  \
            frequencyStageBody(re, im, wr, wi, 32, nSpan);                                      \
        else                                                                                    \
            frequencyStageBody(re, im, wr, wi, nCount, nSpan);                                  \
    }                                                                                           \
    TARGET void timeStage##NAME(double* re, double* im, const double* wr, const double* wi,     \
                                int nCount, int nSpan)                                          \
    {                                                                                           \
        if (nCount == 64)                                                                       \
            timeStageBody(re, im, wr, wi, 64, nSpan);                                           \
        else if (nCount == 32)                                                                  \
            timeStageBody(re, im, wr, wi, 32, nSpan);                                           \
        else                                                                                    \
            timeStageBody(re, im, wr, wi, nCount, nSpan);                                       \
    }                                                                                           \
    const TSpectralKernels k##NAME = {multiplyAccumulate##NAME, frequencyStage##NAME,           \
                                      timeStage##NAME};

KORVESSA_KERNELS(Baseline, )

#if defined(__GNUC__) && defined(__x86_64__)
#define KORVESSA_HAVE_WIDE_KERNELS 1
KORVESSA_KERNELS(Avx2, __attribute__((target("avx2"))))
KORVESSA_KERNELS(Avx512, __attribute__((target("avx512f,prefer-vector-width=512"))))
#endif

struct TChoice
{
    const TSpectralKernels* pKernels;
    const char* pName;
};

TChoice choose()
{
#if defined(KORVESSA_HAVE_WIDE_KERNELS)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f"))
        return {&kAvx512, "avx512"};
    if (__builtin_cpu_supports("avx2"))
        return {&kAvx2, "avx2"};
#endif
    return {&kBaseline, "sse2"};
}

const TChoice& chosen()
{
    static const TChoice choice = choose();
    return choice;
}
}

const TSpectralKernels& TSpectralKernels::baseline()
{
    return kBaseline;
}

const TSpectralKernels& TSpectralKernels::selected()
{
    return *chosen().pKernels;
}

const char* TSpectralKernels::selectedName()
{
    return chosen().pName;
}
