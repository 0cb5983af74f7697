#include "circuitfilter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

namespace
{
bool isPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}
}

// ---------------------------------------------------------------------------------------
// CSpectralDelayLine

namespace
{
// The engine's inner loop: re + i im = sum over n of x[n] * h[n], complex, or with bPacked the
// DC parts (real) and Nyquist parts (imaginary) multiplied apart. Term n goes to running sum
// n mod 8 (eight short dependency chains instead of one long one); the sums are combined as
// ((s0 + s4) + (s2 + s6)) + ((s1 + s5) + (s3 + s7)), then any tail of n mod 8 terms follows in
// order. The SSE2 and AVX versions keep exactly this order and use no fused multiply-add, so
// they give identical results.
void multiplyAccumulateTail(const double* xr, const double* xi, const double* hr,
                            const double* hi, int m, int n, bool bPacked, double& re, double& im)
{
    if (!bPacked)
    {
        for (; m < n; ++m)
        {
            re += xr[m] * hr[m] - xi[m] * hi[m];
            im += xr[m] * hi[m] + xi[m] * hr[m];
        }
    }
    else
    {
        for (; m < n; ++m)
        {
            re += xr[m] * hr[m];
            im += xi[m] * hi[m];
        }
    }
}

#if defined(__SSE2__)
// lane 0 + lane 1, kept in registers.
inline double horizontalSum(__m128d v)
{
    return _mm_cvtsd_f64(v) + _mm_cvtsd_f64(_mm_unpackhi_pd(v, v));
}

// Complex products of two lanes: x * h written out, added to the running sums.
inline void complexLanes(const double* xr, const double* xi, const double* hr, const double* hi,
                         __m128d& r, __m128d& i)
{
    const __m128d a = _mm_loadu_pd(xr), b = _mm_loadu_pd(xi);
    const __m128d c = _mm_loadu_pd(hr), d = _mm_loadu_pd(hi);
    r = _mm_add_pd(r, _mm_sub_pd(_mm_mul_pd(a, c), _mm_mul_pd(b, d)));
    i = _mm_add_pd(i, _mm_add_pd(_mm_mul_pd(a, d), _mm_mul_pd(b, c)));
}

inline void packedLanes(const double* xr, const double* xi, const double* hr, const double* hi,
                        __m128d& r, __m128d& i)
{
    r = _mm_add_pd(r, _mm_mul_pd(_mm_loadu_pd(xr), _mm_loadu_pd(hr)));
    i = _mm_add_pd(i, _mm_mul_pd(_mm_loadu_pd(xi), _mm_loadu_pd(hi)));
}
#endif

std::complex<double> multiplyAccumulateSse2(const double* xr, const double* xi,
                                           const double* hr, const double* hi, int n,
                                           bool bPacked)
{
    int m = 0;
    double re = 0.0, im = 0.0;
#if defined(__SSE2__)
    // r0..r3 hold sums (s0,s1), (s2,s3), (s4,s5), (s6,s7).
    __m128d r0 = _mm_setzero_pd(), r1 = r0, r2 = r0, r3 = r0;
    __m128d i0 = r0, i1 = r0, i2 = r0, i3 = r0;
    if (!bPacked)
    {
        for (; m + 8 <= n; m += 8)
        {
            complexLanes(xr + m, xi + m, hr + m, hi + m, r0, i0);
            complexLanes(xr + m + 2, xi + m + 2, hr + m + 2, hi + m + 2, r1, i1);
            complexLanes(xr + m + 4, xi + m + 4, hr + m + 4, hi + m + 4, r2, i2);
            complexLanes(xr + m + 6, xi + m + 6, hr + m + 6, hi + m + 6, r3, i3);
        }
    }
    else
    {
        for (; m + 8 <= n; m += 8)
        {
            packedLanes(xr + m, xi + m, hr + m, hi + m, r0, i0);
            packedLanes(xr + m + 2, xi + m + 2, hr + m + 2, hi + m + 2, r1, i1);
            packedLanes(xr + m + 4, xi + m + 4, hr + m + 4, hi + m + 4, r2, i2);
            packedLanes(xr + m + 6, xi + m + 6, hr + m + 6, hi + m + 6, r3, i3);
        }
    }
    re = horizontalSum(_mm_add_pd(_mm_add_pd(r0, r2), _mm_add_pd(r1, r3)));
    im = horizontalSum(_mm_add_pd(_mm_add_pd(i0, i2), _mm_add_pd(i1, i3)));
#else
    // The same eight sums without vector registers.
    double sr[8] = {0, 0, 0, 0, 0, 0, 0, 0}, si[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    for (; m + 8 <= n; m += 8)
        for (int l = 0; l < 8; ++l)
        {
            const int j = m + l;
            if (!bPacked)
            {
                sr[l] += xr[j] * hr[j] - xi[j] * hi[j];
                si[l] += xr[j] * hi[j] + xi[j] * hr[j];
            }
            else
            {
                sr[l] += xr[j] * hr[j];
                si[l] += xi[j] * hi[j];
            }
        }
    re = ((sr[0] + sr[4]) + (sr[2] + sr[6])) + ((sr[1] + sr[5]) + (sr[3] + sr[7]));
    im = ((si[0] + si[4]) + (si[2] + si[6])) + ((si[1] + si[5]) + (si[3] + si[7]));
#endif
    multiplyAccumulateTail(xr, xi, hr, hi, m, n, bPacked, re, im);
    return std::complex<double>(re, im);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define KORVESSA_HAVE_AVX_PATH 1
__attribute__((target("avx"))) std::complex<double>
multiplyAccumulateAvx(const double* xr, const double* xi, const double* hr, const double* hi,
                      int n, bool bPacked)
{
    int m = 0;
    // ra holds sums s0..s3, rb s4..s7.
    __m256d ra = _mm256_setzero_pd(), rb = ra, ia = ra, ib = ra;
    if (!bPacked)
    {
        for (; m + 8 <= n; m += 8)
        {
            const __m256d a0 = _mm256_loadu_pd(xr + m), b0 = _mm256_loadu_pd(xi + m);
            const __m256d c0 = _mm256_loadu_pd(hr + m), d0 = _mm256_loadu_pd(hi + m);
            const __m256d a1 = _mm256_loadu_pd(xr + m + 4), b1 = _mm256_loadu_pd(xi + m + 4);
            const __m256d c1 = _mm256_loadu_pd(hr + m + 4), d1 = _mm256_loadu_pd(hi + m + 4);
            ra = _mm256_add_pd(ra, _mm256_sub_pd(_mm256_mul_pd(a0, c0), _mm256_mul_pd(b0, d0)));
            ia = _mm256_add_pd(ia, _mm256_add_pd(_mm256_mul_pd(a0, d0), _mm256_mul_pd(b0, c0)));
            rb = _mm256_add_pd(rb, _mm256_sub_pd(_mm256_mul_pd(a1, c1), _mm256_mul_pd(b1, d1)));
            ib = _mm256_add_pd(ib, _mm256_add_pd(_mm256_mul_pd(a1, d1), _mm256_mul_pd(b1, c1)));
        }
    }
    else
    {
        for (; m + 8 <= n; m += 8)
        {
            ra = _mm256_add_pd(ra, _mm256_mul_pd(_mm256_loadu_pd(xr + m), _mm256_loadu_pd(hr + m)));
            ia = _mm256_add_pd(ia, _mm256_mul_pd(_mm256_loadu_pd(xi + m), _mm256_loadu_pd(hi + m)));
            rb = _mm256_add_pd(rb, _mm256_mul_pd(_mm256_loadu_pd(xr + m + 4), _mm256_loadu_pd(hr + m + 4)));
            ib = _mm256_add_pd(ib, _mm256_mul_pd(_mm256_loadu_pd(xi + m + 4), _mm256_loadu_pd(hi + m + 4)));
        }
    }
    // (s0+s4, s1+s5, s2+s6, s3+s7), then low half + high half, then lane 0 + lane 1.
    const __m256d r = _mm256_add_pd(ra, rb);
    const __m256d i = _mm256_add_pd(ia, ib);
    double re = horizontalSum(_mm_add_pd(_mm256_castpd256_pd128(r), _mm256_extractf128_pd(r, 1)));
    double im = horizontalSum(_mm_add_pd(_mm256_castpd256_pd128(i), _mm256_extractf128_pd(i, 1)));
    // Clear the upper register halves before returning to SSE code, which would otherwise
    // pay a transition penalty on every instruction.
    _mm256_zeroupper();
    multiplyAccumulateTail(xr, xi, hr, hi, m, n, bPacked, re, im);
    return std::complex<double>(re, im);
}
#endif

CSpectralDelayLine::MultiplyAccumulate selectMultiplyAccumulate()
{
#if defined(KORVESSA_HAVE_AVX_PATH)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx"))
        return multiplyAccumulateAvx;
#endif
    return multiplyAccumulateSse2;
}
}

CSpectralDelayLine::MultiplyAccumulate CSpectralDelayLine::baselineMultiplyAccumulate()
{
    return multiplyAccumulateSse2;
}

CSpectralDelayLine::MultiplyAccumulate CSpectralDelayLine::selectedMultiplyAccumulate()
{
    return selectMultiplyAccumulate();
}

CSpectralDelayLine::CSpectralDelayLine(int nRingLength, int nPartitionSize)
    : m_pStorage(new double[6 * nRingLength + 8]())
    , m_pBins(nullptr)
    , m_cAccumulator(0.0, 0.0)
    , m_nLength(nRingLength)
    , m_nPartition(nPartitionSize)
    , m_nPartitions(nRingLength / nPartitionSize)
    , m_pMultiplyAccumulate(selectMultiplyAccumulate())
{
    // Start the bins on a cache line.
    const std::uintptr_t nAddress = reinterpret_cast<std::uintptr_t>(m_pStorage.get());
    m_pBins = m_pStorage.get() + ((64 - nAddress % 64) % 64) / sizeof(double);
}

void CSpectralDelayLine::storeInput(int nPartition, int k, const Complex& cInput)
{
    const int P = m_nPartitions;
    double* pBin = m_pBins + k * 6 * P;
    const int nPos = P - 1 - nPartition;
    pBin[nPos] = pBin[nPos + P] = cInput.real();
    pBin[2 * P + nPos] = pBin[3 * P + nPos] = cInput.imag();
}

CSpectralDelayLine::Complex CSpectralDelayLine::sumPartitions(int nPartition, int k)
{
    const int P = m_nPartitions;
    const double* pBin = m_pBins + k * 6 * P;
    const int nPos = P - 1 - nPartition;
    m_cAccumulator = m_pMultiplyAccumulate(pBin + nPos, pBin + 2 * P + nPos, pBin + 4 * P,
                                           pBin + 5 * P, P, k == 0);
    return m_cAccumulator;
}

CSpectralDelayLine::Complex CSpectralDelayLine::accumulate(int nIndex, const Complex& cInput,
                                                           const Complex& cResponse)
{
    const int nSlot = nIndex & (m_nLength - 1);
    const int nPartition = nSlot / m_nPartition;
    const int k = nSlot & (m_nPartition - 1);
    storeInput(nPartition, k, cInput);
    const int P = m_nPartitions;
    double* pBin = m_pBins + k * 6 * P;
    const int nPos = (nPartition + P - 1) & (P - 1);
    pBin[4 * P + nPos] = cResponse.real();
    pBin[5 * P + nPos] = cResponse.imag();
    return sumPartitions(nPartition, k);
}

void CSpectralDelayLine::storeInputBins(int nIndex, const Complex* pBins, int nCount)
{
    for (int i = 0; i < nCount; ++i)
    {
        const int nSlot = (nIndex + i) & (m_nLength - 1);
        storeInput(nSlot / m_nPartition, nSlot & (m_nPartition - 1), pBins[i]);
    }
}

void CSpectralDelayLine::storeResponseBins(int nIndex, const Complex* pBins, int nCount)
{
    const int P = m_nPartitions;
    for (int i = 0; i < nCount; ++i)
    {
        const int nSlot = (nIndex + i) & (m_nLength - 1);
        const int nPartition = nSlot / m_nPartition;
        double* pBin = m_pBins + (nSlot & (m_nPartition - 1)) * 6 * P;
        const int nPos = (nPartition + P - 1) & (P - 1);
        pBin[4 * P + nPos] = pBins[i].real();
        pBin[5 * P + nPos] = pBins[i].imag();
    }
}

CSpectralDelayLine::Complex CSpectralDelayLine::sumBin(int nIndex)
{
    const int nSlot = nIndex & (m_nLength - 1);
    return sumPartitions(nSlot / m_nPartition, nSlot & (m_nPartition - 1));
}

// ---------------------------------------------------------------------------------------
// CCircuitFilter

CCircuitFilter::Config CCircuitFilter::checkedConfig(int nDesignLength, int nConvolvedLength,
                                                     int nBlockSize, int nResponseOffset)
{
    const bool bValid = isPowerOfTwo(nDesignLength) && nDesignLength >= 4
                        && isPowerOfTwo(nBlockSize) && nBlockSize >= 2
                        && isPowerOfTwo(nConvolvedLength) && nConvolvedLength >= nBlockSize
                        && nResponseOffset >= 0
                        && static_cast<long long>(nResponseOffset) + nConvolvedLength
                               <= nDesignLength;
    if (bValid)
        return Config{nDesignLength, nConvolvedLength, nBlockSize, nResponseOffset};
    return Config{2048, 2048, 64, 0};
}

CCircuitFilter::CCircuitFilter(int nSampleRate, int nDesignLength, int nConvolvedLength,
                               int nBlockSize, int nResponseOffset)
    : CCircuitFilter(checkedConfig(nDesignLength, nConvolvedLength, nBlockSize, nResponseOffset))
{
}

CCircuitFilter::CCircuitFilter(const Config& c)
    : m_nDesignLength(c.nDesignLength)
    , m_nPartitions(c.nConvolvedLength / c.nBlockSize)
    , m_nBlockSize(c.nBlockSize)
    , m_nFftSize(2 * c.nBlockSize)
    , m_nResponseOffset(c.nResponseOffset)
    , m_nResponseEnd(c.nResponseOffset + c.nConvolvedLength)
    , m_nBlockPos(0)
    , m_nReadPos(c.nResponseOffset)
    , m_pWorkingResponse(new std::atomic<double>[c.nDesignLength])
    , m_pDesignedResponse(new double[c.nDesignLength]())
    , m_pWindow(new double[c.nDesignLength]())
    , m_dGain(1.0)
    , m_pResponseBlock(new double[m_nFftSize]())
    , m_pTransformedTaps(new double[c.nDesignLength])
    , m_bStoreResponse(true)
    , m_pInputBlock(new double[m_nFftSize]())
    , m_pOutputBlock(new double[m_nFftSize]())
    , m_pOverlap(new double[m_nBlockSize]())
    , m_pOutputSpectrum(new Complex[m_nFftSize]())
    , m_responseTransform(m_nFftSize)
    , m_inputTransform(m_nFftSize)
    , m_outputTransform(m_nFftSize)
    , m_delayLine(c.nConvolvedLength, c.nBlockSize)
    , m_pDesignSpectrum(new Complex[c.nDesignLength]())
    , m_designTransform(c.nDesignLength)
{
    for (int i = 0; i < m_nDesignLength; ++i)
        m_pWorkingResponse[i].store(0.0, std::memory_order_relaxed);
    // No partition has been transformed yet: NaN never compares equal bit for bit to a tap
    // collected from a finite response.
    std::fill_n(m_pTransformedTaps.get(), m_nDesignLength,
                std::numeric_limits<double>::quiet_NaN());
    reset();
}

CCircuitFilter::~CCircuitFilter() = default;

void CCircuitFilter::reset()
{
    std::fill_n(m_pResponseBlock.get(), m_nFftSize, 0.0);
    std::fill_n(m_pOutputBlock.get(), m_nFftSize, 0.0);
    std::fill_n(m_pInputBlock.get(), m_nFftSize, 0.0);
    std::fill_n(m_pOutputSpectrum.get(), m_nFftSize, Complex(0.0, 0.0));
    std::fill_n(m_pOverlap.get(), m_nBlockSize, 0.0);
    std::fill_n(m_pWindow.get(), m_nDesignLength, 0.0);
    clearDesignSpectrum();
}

void CCircuitFilter::clearDesignSpectrum()
{
    std::fill_n(m_pDesignSpectrum.get(), m_nDesignLength, Complex(0.0, 0.0));
}

void CCircuitFilter::processSample(double x)
{
    const int k = m_nBlockPos;
    const int B = m_nBlockSize;
    m_pInputBlock[k] = x;
    m_pResponseBlock[k] = m_pWorkingResponse[m_nReadPos + k].load(std::memory_order_relaxed);
    m_pResponseBlock[B + k] = 0.0;

    // The bins of this block's ring partition were stored at the end of the previous block
    // (what accumulate would store bin by bin); only the sum remains per sample.
    const Complex cAcc = m_delayLine.sumBin(k - m_nResponseOffset + m_nReadPos);
    if (k == 0)
    {
        m_pOutputSpectrum[0] = Complex(cAcc.real(), 0.0);
        m_pOutputSpectrum[B] = Complex(cAcc.imag(), 0.0);
    }
    else
    {
        m_pOutputSpectrum[k] = cAcc;
        m_pOutputSpectrum[m_nFftSize - k] = std::conj(cAcc);
    }

    m_nBlockPos = k + 1;
    if (m_nBlockPos < B)
        return;
    endOfBlock();
}

void CCircuitFilter::endOfBlock()
{
    const int B = m_nBlockSize;
    const int F = m_nFftSize;
    double* pTransformed = &m_pTransformedTaps[m_nReadPos];
    m_bStoreResponse = std::memcmp(pTransformed, m_pResponseBlock.get(), B * sizeof(double)) != 0;
    if (m_bStoreResponse)
    {
        std::memcpy(pTransformed, m_pResponseBlock.get(), B * sizeof(double));
        m_responseTransform.forward(m_pResponseBlock.get());
    }
    m_inputTransform.forward(m_pInputBlock.get());

    for (int i = 0; i < B; ++i)
        m_pOverlap[i] = m_pOutputBlock[B + i];

    m_outputTransform.inverse(m_pOutputSpectrum.get());
    std::fill_n(m_pOutputSpectrum.get(), F, Complex(0.0, 0.0));

    // The real part of the scaled inverse: what scale() would leave, (re/F - im*0), taken
    // in the same pass that copies it out.
    const Complex* pTime = m_outputTransform.output();
    const double dScale = 1.0 / F;
    for (int i = 0; i < F; ++i)
        m_pOutputBlock[i] = pTime[i].real() * dScale - pTime[i].imag() * 0.0;
    for (int i = 0; i < B; ++i)
        m_pOutputBlock[i] += m_pOverlap[i];

    m_nBlockPos = 0;
    std::fill_n(m_pInputBlock.get(), F, 0.0);
    std::fill_n(m_pOverlap.get(), B, 0.0);

    m_nReadPos += B;
    if (m_nReadPos >= m_nResponseEnd)
        m_nReadPos = m_nResponseOffset;

    // Store the new spectra into the ring partition of the next block at once, the real
    // Nyquist bin packed into bin 0's imaginary part. Storing them here rather than one bin
    // per sample gives the same rings at every sum, and the sums never have to wait for a
    // store just made. An unchanged response partition is already in the ring.
    Complex* pInputSpectrum = m_inputTransform.spectrum();
    pInputSpectrum[0] = Complex(pInputSpectrum[0].real(), pInputSpectrum[B].real());
    const int nIndex = m_nReadPos - m_nResponseOffset;
    m_delayLine.storeInputBins(nIndex, pInputSpectrum, B);
    if (m_bStoreResponse)
    {
        Complex* pResponseSpectrum = m_responseTransform.spectrum();
        pResponseSpectrum[0] = Complex(pResponseSpectrum[0].real(), pResponseSpectrum[B].real());
        m_delayLine.storeResponseBins(nIndex, pResponseSpectrum, B);
    }
}

void CCircuitFilter::setGain(double dGain)
{
    m_dGain = dGain;
    applyResponse();
}

void CCircuitFilter::setDecayWindow(double dRate, int nSampleRate)
{
    for (int i = m_nResponseOffset; i < m_nResponseEnd; ++i)
    {
        const double dExponent = -(i * dRate / nSampleRate);
        // A rate of 0 with a sample rate of 0 (0/0), or a NaN rate, has no decay to offer:
        // such taps keep a factor of one instead of poisoning the response with NaN.
        m_pWindow[i] = std::isnan(dExponent) ? 1.0 : std::exp(dExponent);
    }
    applyResponse();
}

void CCircuitFilter::applyResponse()
{
    for (int i = m_nResponseOffset; i < m_nResponseEnd; ++i)
        m_pWorkingResponse[i].store(m_pWindow[i] * m_dGain * m_pDesignedResponse[i],
                                    std::memory_order_relaxed);
}

CCircuitFilter::Complex CCircuitFilter::evaluateResponse(int k, double b3, double b2, double b1,
                                                         double b0, double a3, double a2,
                                                         double a1, double a0,
                                                         int nSampleRate) const
{
    const double dOmega = (nSampleRate * 0.5 / (m_nDesignLength * 0.5)) * 6.283185307179586 * k;
    const Complex s(0.0, dOmega);
    const Complex s2 = s * s;
    const Complex s3 = s2 * s;
    const Complex cNum = b3 * s3 + b2 * s2 + b1 * s + b0;
    const Complex cDen = a3 * s3 + a2 * s2 + a1 * s + a0;
    return cNum / cDen;
}

void CCircuitFilter::evaluateBin(int k, double b3, double b2, double b1, double b0, double a3,
                                 double a2, double a1, double a0, int N, int nSampleRate)
{
    if (N != m_nDesignLength || k < 0 || k >= N / 2)
        return;
    if (k >= 1)
    {
        const Complex S = evaluateResponse(k, b3, b2, b1, b0, a3, a2, a1, a0, nSampleRate)
                          * Complex(0.0004, 0.0);
        m_pDesignSpectrum[k] = S;
        m_pDesignSpectrum[N - k] = std::conj(S);
    }
    else
    {
        const Complex cDc = evaluateResponse(0, b3, b2, b1, b0, a3, a2, a1, a0, nSampleRate);
        const Complex cNyquist =
            evaluateResponse(N / 2, b3, b2, b1, b0, a3, a2, a1, a0, nSampleRate);
        m_pDesignSpectrum[0] = Complex(0.0004 * cDc.real(), 0.0);
        m_pDesignSpectrum[N / 2] = Complex(0.0004 * cNyquist.imag(), 0.0);
    }
}

void CCircuitFilter::designFromSpectrum(int N, double dScale)
{
    if (N != m_nDesignLength)
        return;
    Complex* S = m_pDesignSpectrum.get();
    S[0] = Complex(S[0].real(), S[N / 2].real());
    S[N / 2] = S[0];
    m_designTransform.inverse(S);

    // A circuit driven with non-finite or absurd values (a zero cut, a NaN knob from a
    // damaged state) would leave NaN or infinite taps that never leave the output; such a
    // design is dropped and the previous response stays.
    const Complex* pTime = m_designTransform.output();
    for (int n = 0; n < N / 2; ++n)
        if (!std::isfinite(dScale * pTime[n].real()))
            return;

    for (int n = 0; n < N / 2; ++n)
        m_pDesignedResponse[n] = dScale * pTime[n].real();
    for (int n = N / 2 + 1; n < N; ++n)
        m_pDesignedResponse[n] = 0.0;
}

void CCircuitFilter::designCircuit(double b3, double b2, double b1, double b0, double a3,
                                   double a2, double a1, double a0, int nSampleRate,
                                   double dScale)
{
    const int N = m_nDesignLength;
    for (int k = 0; k < N / 2; ++k)
        evaluateBin(k, b3, b2, b1, b0, a3, a2, a1, a0, N, nSampleRate);
    designFromSpectrum(N, dScale);
}
