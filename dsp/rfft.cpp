#include "rfft.h"

#include <cmath>
#include <iostream>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
const double kTwoPi = 6.283185307179586;

// Complex product (ac - bd, ad + bc): the standard library's formula for finite values,
// without its recovery of infinities, which no caller here needs.
inline RFFT::Complex mul(const RFFT::Complex& a, const RFFT::Complex& b)
{
    return RFFT::Complex(a.real() * b.real() - a.imag() * b.imag(),
                         a.real() * b.imag() + a.imag() * b.real());
}
}

RFFT::RFFT(int nSize)
    : m_nSize(nSize > 0 ? nSize : 1)
    , m_nHalf(m_nSize / 2)
    , m_nStages(0)
    , m_pTwiddle(new Complex[m_nHalf + 1]())
    , m_pOutput(new Complex[m_nSize]())
    , m_pSpectrum(new Complex[m_nSize]())
    , m_pStageTwiddle(new Complex[m_nHalf > 0 ? m_nHalf : 1]())
    , m_dSize(m_nSize)
    , m_dAngleUnit(kTwoPi / m_nSize)
{
    for (int m = m_nHalf; m > 1; m /= 2)
        ++m_nStages;
    for (int j = 0; j <= m_nHalf; ++j)
    {
        const double dTheta = -(j * m_dAngleUnit);
        m_pTwiddle[j] = Complex(std::cos(dTheta), std::sin(dTheta));
    }
}

RFFT::~RFFT() = default;

void RFFT::complexTransform(const Complex*, int) {}
void RFFT::print(int, int) {}
void RFFT::printAll() {}
void RFFT::forward(const double*) {}
void RFFT::inverse(Complex*) {}

void RFFT::bitReverse(int nCount, Complex* pData)
{
    int j = 0;
    for (int i = 0; i < nCount; ++i)
    {
        if (j > i)
            std::swap(pData[i], pData[j]);
        int m = nCount / 2;
        while (j >= m && m > 0)
        {
            j -= m;
            m /= 2;
        }
        j += m;
    }
}

void RFFT::scale()
{
    // Complex product with (1/N, 0), written out.
    const double dFactor = 1.0 / m_dSize;
    for (int i = 0; i < m_nSize; ++i)
    {
        const double re = m_pOutput[i].real(), im = m_pOutput[i].imag();
        m_pOutput[i] = Complex(re * dFactor - im * 0.0, re * 0.0 + im * dFactor);
    }
}

void RFFT::prepareStageTwiddles(double dSign)
{
    Complex* pTwiddle = m_pStageTwiddle.get();
    int nSpan = m_nHalf;
    for (int s = 1; s <= m_nStages; ++s)
    {
        if (s > 1)
            nSpan /= 2;
        const double dPhi = dSign * kTwoPi / nSpan;
        const Complex cStep(std::cos(dPhi), std::sin(dPhi));
        Complex w(1.0, 0.0);
        for (int j = 0; j < nSpan / 2; ++j)
        {
            *pTwiddle++ = w;
            w = w * cStep;
        }
    }
}

void RFFT::transformInPlace(Complex* x, int nCount)
{
    // The stage count is fixed at construction; a count that does not match the object's
    // half size would run the wrong number of stages, so it is refused.
    if (nCount != m_nHalf)
        return;
    const Complex* pTwiddle = m_pStageTwiddle.get();
    int nSpan = nCount;
    for (int s = 1; s <= m_nStages; ++s)
    {
        if (s > 1)
            nSpan /= 2;
        const int nHalfSpan = nSpan / 2;
        for (int j = 0; j < nHalfSpan; ++j)
        {
#if defined(__SSE2__)
            // Each complex value is one register (re, im). d * w is (dr wr - di wi,
            // di wr + dr wi): the same products and sums as the scalar form.
            double* p = reinterpret_cast<double*>(x);
            const __m128d wr = _mm_set1_pd(pTwiddle[j].real());
            const __m128d wi = _mm_set1_pd(pTwiddle[j].imag());
            const __m128d negateRe = _mm_set_pd(0.0, -0.0);
            for (int idx = j; idx < nCount; idx += nSpan)
            {
                const __m128d a = _mm_loadu_pd(p + 2 * idx);
                const __m128d b = _mm_loadu_pd(p + 2 * (idx + nHalfSpan));
                const __m128d d = _mm_sub_pd(a, b);
                const __m128d t1 = _mm_mul_pd(d, wr);
                const __m128d t2 = _mm_mul_pd(_mm_shuffle_pd(d, d, 1), wi);
                _mm_storeu_pd(p + 2 * (idx + nHalfSpan), _mm_add_pd(t1, _mm_xor_pd(t2, negateRe)));
                _mm_storeu_pd(p + 2 * idx, _mm_add_pd(a, b));
            }
#else
            const double wr = pTwiddle[j].real();
            const double wi = pTwiddle[j].imag();
            for (int idx = j; idx < nCount; idx += nSpan)
            {
                const double ar = x[idx].real(), ai = x[idx].imag();
                const double br = x[idx + nHalfSpan].real(), bi = x[idx + nHalfSpan].imag();
                const double dr = ar - br, di = ai - bi;
                x[idx + nHalfSpan] = Complex(dr * wr - di * wi, dr * wi + di * wr);
                x[idx] = Complex(ar + br, ai + bi);
            }
#endif
        }
        pTwiddle += nHalfSpan;
    }
    bitReverse(nCount, x);
}

void RFFT::printEntries(const Complex* pData, char cLetter, int nStart, int nCount)
{
    if (nStart < 0 || nCount <= 0 || static_cast<long long>(nStart) + nCount > m_nSize)
        return;
    for (int i = nStart; i < nStart + nCount; ++i)
        std::cout << cLetter << "[" << i << "] = " << pData[i] << std::endl;
}

// ---------------------------------------------------------------------------------------

ARFFT::ARFFT(int nSize)
    : RFFT(nSize)
    , m_pStaging(new Complex[m_nHalf > 0 ? m_nHalf : 1]())
{
    prepareStageTwiddles(-1.0);
}

ARFFT::~ARFFT()
{
    m_pStaging.reset();
}

void ARFFT::complexTransform(const Complex* pSource, int nCount)
{
    if (nCount != m_nHalf)
        return;
    for (int i = 0; i < nCount; ++i)
        m_pSpectrum[i] = pSource[i];
    transformInPlace(m_pSpectrum.get(), nCount);
}

void ARFFT::print(int nStart, int nCount)
{
    printEntries(m_pSpectrum.get(), 'F', nStart, nCount);
}

void ARFFT::printAll()
{
    print(0, m_nSize);
}

void ARFFT::forward(const double* pInput)
{
    const int M = m_nHalf;
    if (M < 1)
        return;
    for (int n = 0; n < M; ++n)
        m_pStaging[n] = Complex(pInput[2 * n], pInput[2 * n + 1]);
    complexTransform(m_pStaging.get(), M);

    Complex* X = m_pSpectrum.get();
    const Complex* W = m_pTwiddle.get();
    const Complex cHalf(0.5, 0.0);
    const Complex cI(0.0, 1.0);
    X[M] = X[0];
    for (int k = 0; k <= M / 2; ++k)
    {
        const int m = M - k;
        const Complex zk = X[k];
        const Complex zm = X[m];
        const Complex xk = mul(cHalf, zk + std::conj(zm) - mul(mul(W[k], cI), zk - std::conj(zm)));
        const Complex xm = mul(cHalf, zm + std::conj(zk) - mul(mul(W[m], cI), zm - std::conj(zk)));
        X[k] = xk;
        X[m] = xm;
    }
    for (int k = 1; k < M; ++k)
        X[m_nSize - k] = std::conj(X[k]);
}

// ---------------------------------------------------------------------------------------

BRFFT::BRFFT(int nSize)
    : RFFT(nSize)
{
    prepareStageTwiddles(+1.0);
}

void BRFFT::complexTransform(const Complex* pSource, int nCount)
{
    if (nCount != m_nHalf)
        return;
    for (int i = 0; i < nCount; ++i)
        m_pOutput[i] = pSource[i];
    transformInPlace(m_pOutput.get(), nCount);
}

void BRFFT::print(int nStart, int nCount)
{
    printEntries(m_pOutput.get(), 'f', nStart, nCount);
}

void BRFFT::printAll()
{
    print(0, m_nSize);
}

void BRFFT::inverse(Complex* P)
{
    const int M = m_nHalf;
    if (M < 1)
        return;
    const Complex* W = m_pTwiddle.get();
    const Complex cHalf(0.5, 0.0);
    const Complex cI(0.0, 1.0);
    for (int k = 0; k <= M / 2; ++k)
    {
        const int m = M - k;
        const Complex pk = P[k];
        const Complex pm = P[m];
        const Complex yk =
            mul(cHalf, pk + std::conj(pm) + mul(mul(std::conj(W[k]), cI), pk - std::conj(pm)));
        const Complex ym =
            mul(cHalf, pm + std::conj(pk) + mul(mul(std::conj(W[m]), cI), pm - std::conj(pk)));
        P[k] = yk;
        P[m] = ym;
    }
    complexTransform(P, M);
    for (int n = M - 1; n >= 0; --n)
    {
        const Complex z = m_pOutput[n];
        m_pOutput[2 * n + 1] = Complex(2.0 * z.imag(), 0.0);
        m_pOutput[2 * n] = Complex(2.0 * z.real(), 0.0);
    }
}
