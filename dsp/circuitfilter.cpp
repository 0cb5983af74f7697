#include "circuitfilter.h"

#include <algorithm>
#include <cmath>

namespace
{
bool isPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}
}

// ---------------------------------------------------------------------------------------
// CSpectralDelayLine

CSpectralDelayLine::CSpectralDelayLine(int nRingLength, int nPartitionSize)
    : m_pInputRing(new Complex[nRingLength]())
    , m_pResponseRing(new Complex[nRingLength]())
    , m_cAccumulator(0.0, 0.0)
    , m_nLength(nRingLength)
    , m_nPartition(nPartitionSize)
{
}

// The engine's inner loop: one output bin as the sum over all partitions of input-history bin
// times response-partition bin. The input ring is walked backwards in time while the response
// ring is walked forwards, so partition m of the response meets the input of m blocks ago.
void CSpectralDelayLine::accumulate(int nIndex, const Complex& cInput, const Complex& cResponse)
{
    const int nMask = m_nLength - 1;
    const int nSlot = nIndex & nMask;
    m_pInputRing[nSlot] = cInput;
    m_pResponseRing[nSlot] = cResponse;

    const int k = nIndex & (m_nPartition - 1);
    int e = k + m_nPartition;
    int f = m_nLength + nIndex;
    double dRe = 0.0;
    double dIm = 0.0;
    const int nCount = m_nLength / m_nPartition;
    if (k != 0)
    {
        for (int n = 0; n < nCount; ++n)
        {
            const Complex x = m_pInputRing[f & nMask];
            const Complex h = m_pResponseRing[e & nMask];
            dRe += x.real() * h.real() - x.imag() * h.imag();
            dIm += x.real() * h.imag() + x.imag() * h.real();
            f -= m_nPartition;
            e += m_nPartition;
        }
    }
    else
    {
        // Packed bin: DC and Nyquist are real and multiply separately.
        for (int n = 0; n < nCount; ++n)
        {
            const Complex x = m_pInputRing[f & nMask];
            const Complex h = m_pResponseRing[e & nMask];
            dRe += x.real() * h.real();
            dIm += x.imag() * h.imag();
            f -= m_nPartition;
            e += m_nPartition;
        }
    }
    m_cAccumulator = Complex(dRe, dIm);
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

    Complex* pInputSpectrum = m_inputTransform.spectrum();
    Complex* pResponseSpectrum = m_responseTransform.spectrum();
    if (k == 0)
    {
        // Pack the real Nyquist bin into bin 0's imaginary part.
        pInputSpectrum[0] = Complex(pInputSpectrum[0].real(), pInputSpectrum[B].real());
        pResponseSpectrum[0] = Complex(pResponseSpectrum[0].real(), pResponseSpectrum[B].real());
    }

    m_delayLine.accumulate(k - m_nResponseOffset + m_nReadPos, pInputSpectrum[k],
                           pResponseSpectrum[k]);
    const Complex cAcc = m_delayLine.getAccumulator();
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
    m_responseTransform.forward(m_pResponseBlock.get());
    m_inputTransform.forward(m_pInputBlock.get());

    for (int i = 0; i < B; ++i)
        m_pOverlap[i] = m_pOutputBlock[B + i];

    m_outputTransform.inverse(m_pOutputSpectrum.get());
    m_outputTransform.scale();
    std::fill_n(m_pOutputSpectrum.get(), F, Complex(0.0, 0.0));

    const Complex* pTime = m_outputTransform.output();
    for (int i = 0; i < F; ++i)
        m_pOutputBlock[i] = pTime[i].real();
    for (int i = 0; i < B; ++i)
        m_pOutputBlock[i] += m_pOverlap[i];

    m_nBlockPos = 0;
    std::fill_n(m_pInputBlock.get(), F, 0.0);
    std::fill_n(m_pOverlap.get(), B, 0.0);

    m_nReadPos += B;
    if (m_nReadPos >= m_nResponseEnd)
        m_nReadPos = m_nResponseOffset;
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
