#include "circuitfilter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>


namespace
{
bool isPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}
}

namespace
{
// Start of the first 64-byte boundary in p.
double* alignToCacheLine(double* p)
{
    const std::uintptr_t nAddress = reinterpret_cast<std::uintptr_t>(p);
    return p + ((64 - nAddress % 64) % 64) / sizeof(double);
}

// Doubles needed for n values rounded up to whole cache lines.
int cacheLines(int n)
{
    return (n + 7) / 8 * 8;
}

const double kTwoPi = 6.283185307179586;
}

// ---------------------------------------------------------------------------------------
// CSpectralDelayLine

CSpectralDelayLine::CSpectralDelayLine(int nRingLength, int nPartitionSize)
    : m_pStorage(new double[2 * cacheLines(2 * nRingLength) + 8]())
    , m_pInput(nullptr)
    , m_pResponse(nullptr)
    , m_cAccumulator(0.0, 0.0)
    , m_nLength(nRingLength)
    , m_nPartition(nPartitionSize)
    , m_nPartitions(nRingLength / nPartitionSize)
{
    m_pInput = alignToCacheLine(m_pStorage.get());
    m_pResponse = m_pInput + cacheLines(2 * nRingLength);
}

CSpectralDelayLine::Complex CSpectralDelayLine::accumulate(int nIndex, const Complex& cInput,
                                                           const Complex& cResponse)
{
    const int B = m_nPartition;
    const int P = m_nPartitions;
    const int nSlot = nIndex & (m_nLength - 1);
    const int p = nSlot / B;
    const int k = nSlot & (B - 1);
    double* pInput = inputSlot(p);
    pInput[k] = cInput.real();
    pInput[B + k] = cInput.imag();
    double* pResponse = responsePartition((p + P - 1) % P);
    pResponse[k] = cResponse.real();
    pResponse[B + k] = cResponse.imag();

    double re = 0.0, im = 0.0;
    for (int m = 0; m < P; ++m)
    {
        const double* x = inputSlot((p - m + P) % P);
        const double* h = responsePartition(m);
        if (k == 0)
        {
            re += x[0] * h[0];
            im += x[B] * h[B];
        }
        else
        {
            re += x[k] * h[k] - x[B + k] * h[B + k];
            im += x[k] * h[B + k] + x[B + k] * h[k];
        }
    }
    m_cAccumulator = Complex(re, im);
    return m_cAccumulator;
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
    , m_nCollecting(0)
    , m_nLastPartition(-1)
    , m_nInputSlot(0)
    , m_bResponseChanged(false)
    , m_pWorkingResponse(new std::atomic<double>[c.nDesignLength])
    , m_pDesignedResponse(new double[c.nDesignLength]())
    , m_pWindow(new double[c.nDesignLength]())
    , m_dGain(1.0)
    , m_pTransformedTaps(new double[c.nDesignLength])
    , m_nPieces(0)
    , m_kernels(TSpectralKernels::selected())
    , m_delayLine(c.nConvolvedLength, c.nBlockSize)
    , m_pDesignSpectrum(new Complex[c.nDesignLength]())
    , m_designTransform(c.nDesignLength)
{
    const int B = m_nBlockSize;
    for (int i = 0; i < m_nDesignLength; ++i)
        m_pWorkingResponse[i].store(0.0, std::memory_order_relaxed);
    // No partition has been transformed yet: NaN never compares equal bit for bit to a tap
    // collected from a finite response.
    std::fill_n(m_pTransformedTaps.get(), m_nDesignLength,
                std::numeric_limits<double>::quiet_NaN());

    const int nLine = cacheLines(B);
    m_pBuffers.reset(new double[10 * nLine + 8]());
    double* p = alignToCacheLine(m_pBuffers.get());
    for (int i = 0; i < 2; ++i)
    {
        m_apInput[i] = p;
        p += nLine;
        m_apResponse[i] = p;
        p += nLine;
    }
    m_pWorkRe = p;
    m_pWorkIm = p + nLine;
    m_pSumRe = p + 2 * nLine;
    m_pSumIm = p + 3 * nLine;
    m_pOutputBlock = p + 4 * nLine;
    m_pTail = p + 5 * nLine;

    // Twiddles and bit-reversed positions.
    m_pTwiddles.reset(new double[4 * B + 2 * (B + 1)]());
    double* t = m_pTwiddles.get();
    double* pForwardRe = t;
    double* pForwardIm = t + B;
    double* pInverseRe = t + 2 * B;
    double* pInverseIm = t + 3 * B;
    double* pSplitRe = t + 4 * B;
    double* pSplitIm = t + 5 * B + 1;
    for (int nSpan = 2; nSpan <= B; nSpan *= 2)
        for (int j = 0; j < nSpan / 2; ++j)
        {
            const double dAngle = kTwoPi * j / nSpan;
            pForwardRe[nSpan / 2 - 1 + j] = std::cos(dAngle);
            pForwardIm[nSpan / 2 - 1 + j] = -std::sin(dAngle);
            pInverseRe[nSpan / 2 - 1 + j] = std::cos(dAngle);
            pInverseIm[nSpan / 2 - 1 + j] = std::sin(dAngle);
        }
    for (int k = 0; k <= B; ++k)
    {
        const double dAngle = kTwoPi * k / m_nFftSize;
        pSplitRe[k] = std::cos(dAngle);
        pSplitIm[k] = -std::sin(dAngle);
    }
    m_pForwardRe = pForwardRe;
    m_pForwardIm = pForwardIm;
    m_pInverseRe = pInverseRe;
    m_pInverseIm = pInverseIm;
    m_pSplitRe = pSplitRe;
    m_pSplitIm = pSplitIm;
    m_pBitReversed.reset(new int[B]);
    int nBits = 0;
    while ((1 << nBits) < B)
        ++nBits;
    for (int k = 0; k < B; ++k)
    {
        int r = 0;
        for (int b = 0; b < nBits; ++b)
            if (k & (1 << b))
                r |= 1 << (nBits - 1 - b);
        m_pBitReversed[k] = r;
    }

    // The design's half-size inverse transform.
    const int M = m_nDesignLength / 2;
    const int nDesignLine = cacheLines(M);
    m_pDesignBuffers.reset(new double[4 * nDesignLine + 8]());
    m_pDesignRe = alignToCacheLine(m_pDesignBuffers.get());
    m_pDesignIm = m_pDesignRe + nDesignLine;
    m_pDesignTwiddleRe = m_pDesignIm + nDesignLine;
    m_pDesignTwiddleIm = m_pDesignTwiddleRe + nDesignLine;
    for (int nSpan = 2; nSpan <= M; nSpan *= 2)
        for (int j = 0; j < nSpan / 2; ++j)
        {
            const double dAngle = kTwoPi * j / nSpan;
            m_pDesignTwiddleRe[nSpan / 2 - 1 + j] = std::cos(dAngle);
            m_pDesignTwiddleIm[nSpan / 2 - 1 + j] = std::sin(dAngle);
        }
    m_pDesignBitReversed.reset(new int[M > 0 ? M : 1]());
    int nDesignBits = 0;
    while ((1 << nDesignBits) < M)
        ++nDesignBits;
    for (int k = 0; k < M; ++k)
    {
        int r = 0;
        for (int b = 0; b < nDesignBits; ++b)
            if (k & (1 << b))
                r |= 1 << (nDesignBits - 1 - b);
        m_pDesignBitReversed[k] = r;
    }

    buildSchedule();
    reset();
}

CCircuitFilter::~CCircuitFilter() = default;

void CCircuitFilter::buildSchedule()
{
    const int B = m_nBlockSize;
    const int P = m_nPartitions;
    // Relative costs of the pieces, roughly in units of B/4 complex multiply-adds, as measured
    // (the stages of the shortest spans and the first stage vectorize least).
    struct TCosted
    {
        TPiece piece;
        int nCost;
    };
    int nStages = 0;  // stages of the B-point transform
    while ((1 << nStages) < B)
        ++nStages;
    const int nMax = 2 * (2 * nStages + kSplitParts) + P + kSplitParts + 2 * nStages + 1;
    std::unique_ptr<TCosted[]> pList(new TCosted[nMax]);
    int n = 0;
    const auto add = [&](EPiece e, int nArg, int nCost) {
        pList[n++] = TCosted{TPiece{e, nArg}, nCost};
    };
    const auto addStage = [&](EPiece e, int nSpan) { add(e, nSpan, nSpan <= 4 ? 5 : 3); };
    for (bool bResponse : {false, true})
    {
        add(bResponse ? kResponseFirstStage : kInputFirstStage, B, 6);
        for (int nSpan = B / 2; nSpan >= 2; nSpan /= 2)
            addStage(bResponse ? kResponseStage : kInputStage, nSpan);
        for (int nPart = 0; nPart < kSplitParts; ++nPart)
            add(bResponse ? kResponseSplit : kInputSplit, nPart, 4);
    }
    for (int m = 0; m < P; ++m)
        add(kPartitionSum, m, 4);
    for (int nPart = 0; nPart < kSplitParts; ++nPart)
        add(kInverseSplit, nPart, 4);
    for (int nSpan = 4; nSpan <= B; nSpan *= 2)  // span 2 is done by the split
        addStage(kInverseStage, nSpan);
    add(kOverlapAdd, 0, 2);

    // Spread the pieces over the B samples by their cost, in order, the last one on the last
    // sample: going backwards from there, a sample takes pieces until the next would take it
    // past its share; the share grows a little until every piece has found a place.
    long long nTotal = 0;
    for (int i = 0; i < n; ++i)
        nTotal += pList[i].nCost;
    std::unique_ptr<int[]> pSample(new int[n]);
    for (double dShare = static_cast<double>(nTotal) / B;; dShare *= 1.05)
    {
        int k = B - 1;
        double dLoad = 0.0;
        bool bFits = true;
        for (int i = n - 1; i >= 0; --i)
        {
            if (dLoad > 0.0 && dLoad + pList[i].nCost > dShare)
            {
                if (k == 0)
                {
                    bFits = false;
                    break;
                }
                --k;
                dLoad = 0.0;
            }
            pSample[i] = k;
            dLoad += pList[i].nCost;
        }
        if (bFits)
            break;
    }
    m_pPieces.reset(new TPiece[n]);
    m_pPieceStart.reset(new int[B + 1]);
    m_nPieces = n;
    int i = 0;
    for (int k = 0; k < B; ++k)
    {
        m_pPieceStart[k] = i;
        while (i < n && pSample[i] == k)
        {
            m_pPieces[i] = pList[i].piece;
            ++i;
        }
    }
    m_pPieceStart[B] = n;
}

void CCircuitFilter::reset()
{
    const int B = m_nBlockSize;
    std::fill_n(m_apResponse[m_nCollecting], B, 0.0);
    std::fill_n(m_apInput[m_nCollecting], B, 0.0);
    std::fill_n(m_pOutputBlock, B, 0.0);
    std::fill_n(m_pTail, B, 0.0);
    std::fill_n(m_pSumRe, B, 0.0);
    std::fill_n(m_pSumIm, B, 0.0);
    std::fill_n(m_pWindow.get(), m_nDesignLength, 0.0);
    clearDesignSpectrum();
}

void CCircuitFilter::clearDesignSpectrum()
{
    m_bLastDesignValid = false;
    std::fill_n(m_pDesignSpectrum.get(), m_nDesignLength, Complex(0.0, 0.0));
}

void CCircuitFilter::processSample(double x)
{
    const int k = m_nBlockPos;
    m_apInput[m_nCollecting][k] = x;
    m_apResponse[m_nCollecting][k] =
        m_pWorkingResponse[m_nReadPos + k].load(std::memory_order_relaxed);

    for (int i = m_pPieceStart[k], nEnd = m_pPieceStart[k + 1]; i < nEnd; ++i)
        runPiece(m_pPieces[i]);

    m_nBlockPos = k + 1;
    if (m_nBlockPos == m_nBlockSize)
        endOfBlock();
}

void CCircuitFilter::endOfBlock()
{
    m_nBlockPos = 0;
    m_nLastPartition = (m_nReadPos - m_nResponseOffset) / m_nBlockSize;
    m_nCollecting ^= 1;
    m_nInputSlot = (m_nInputSlot + 1) & (m_nPartitions - 1);
    m_nReadPos += m_nBlockSize;
    if (m_nReadPos >= m_nResponseEnd)
        m_nReadPos = m_nResponseOffset;
}

void CCircuitFilter::firstStage(const double* pBlock)
{
    // The block's B samples are B/2 complex values x[2n] + i x[2n+1]; the upper half of the
    // B-point input is zero, so the first stage is a copy and a product with the twiddle.
    const int h = m_nBlockSize / 2;
    const double* wr = m_pForwardRe + h - 1;
    const double* wi = m_pForwardIm + h - 1;
    double* re = m_pWorkRe;
    double* im = m_pWorkIm;
    for (int j = 0; j < h; ++j)
    {
        const double ar = pBlock[2 * j], ai = pBlock[2 * j + 1];
        re[j] = ar;
        im[j] = ai;
        re[j + h] = ar * wr[j] - ai * wi[j];
        im[j + h] = ar * wi[j] + ai * wr[j];
    }
}

void CCircuitFilter::splitSpectrum(double* pSpectrum, double dScale, int nBegin, int nEnd)
{
    // Z (bit-reversed in the work area) is the B-point transform of the sample pairs; the
    // 2B-point spectrum is X[k] = (Z[k] + conj Z[B-k]) / 2 - i W^k (Z[k] - conj Z[B-k]) / 2.
    const int M = m_nBlockSize;
    const int* rev = m_pBitReversed.get();
    const double* re = m_pWorkRe;
    const double* im = m_pWorkIm;
    double* xr = pSpectrum;
    double* xi = pSpectrum + M;
    const double dHalf = 0.5 * dScale;
    // Bin 0 packs DC (Re Z0 + Im Z0) and Nyquist (Re Z0 - Im Z0).
    if (nBegin == 0)
    {
        xr[0] = (re[0] + im[0]) * dScale;
        xi[0] = (re[0] - im[0]) * dScale;
        nBegin = 1;
    }
    for (int k = nBegin; k < nEnd; ++k)
    {
        const int m = M - k;
        const double zkr = re[rev[k]], zki = im[rev[k]];
        const double zmr = re[rev[m]], zmi = im[rev[m]];
        // E = (Zk + conj Zm)/2 and D = (Zk - conj Zm)/2; X[k] = E - i W^k D, and for bin m
        // the same with E' = conj E, D' = -conj D.
        const double er = (zkr + zmr) * dHalf, ei = (zki - zmi) * dHalf;
        const double dr = (zkr - zmr) * dHalf, di = (zki + zmi) * dHalf;
        const double wkr = m_pSplitRe[k], wki = m_pSplitIm[k];
        const double wmr = m_pSplitRe[m], wmi = m_pSplitIm[m];
        // -i W D = -i (wr + i wi)(dr + i di) = (wr di + wi dr) - i (wr dr - wi di)
        const double xmr = er + (wmr * di - wmi * dr);
        const double xmi = -ei - (wmr * -dr - wmi * di);
        xr[k] = er + (wkr * di + wki * dr);
        xi[k] = ei - (wkr * dr - wki * di);
        xr[m] = xmr;
        xi[m] = xmi;
    }
}

void CCircuitFilter::inverseSplit(int nBegin, int nEnd)
{
    // Z'[k] = (A[k] + conj A[B-k]) + i conj(W^k) (A[k] - conj A[B-k]) (A[0] and A[B] are the
    // packed DC and Nyquist values), in bit-reversed order for the decimation-in-time stages,
    // with their first stage (span 2) done here: positions 2g and 2g+1 hold Z'[k] + Z'[k + B/2]
    // and Z'[k] - Z'[k + B/2] for k = rev(2g). Groups g in [nBegin, nEnd) of 0..B/2-1.
    const int M = m_nBlockSize;
    const int* rev = m_pBitReversed.get();
    const double* ar = m_pSumRe;
    const double* ai = m_pSumIm;
    const double* pWr = m_pSplitRe;
    const double* pWi = m_pSplitIm;
    const auto value = [=](int k, double& zr, double& zi) {
        if (k == 0)
        {
            zr = ar[0] + ai[0];
            zi = ar[0] - ai[0];
            return;
        }
        const int m = M - k;
        const double sr = ar[k] + ar[m], si = ai[k] - ai[m];
        const double dr = ar[k] - ar[m], di = ai[k] + ai[m];
        // i conj(W) D = i (wr - i wi)(dr + i di) = -(wr di - wi dr) + i (wr dr + wi di)
        const double wr = pWr[k], wi = pWi[k];
        zr = sr - (wr * di - wi * dr);
        zi = si + (wr * dr + wi * di);
    };
    double* re = m_pWorkRe;
    double* im = m_pWorkIm;
    for (int g = nBegin; g < nEnd; ++g)
    {
        double ar0, ai0, ar1, ai1;
        value(rev[2 * g], ar0, ai0);
        value(rev[2 * g + 1], ar1, ai1);
        re[2 * g] = ar0 + ar1;
        im[2 * g] = ai0 + ai1;
        re[2 * g + 1] = ar0 - ar1;
        im[2 * g + 1] = ai0 - ai1;
    }
}

void CCircuitFilter::runPiece(const TPiece& piece)
{
    const int B = m_nBlockSize;
    const int nPrevious = m_nCollecting ^ 1;
    switch (piece.eKind)
    {
    case kInputFirstStage:
        firstStage(m_apInput[nPrevious]);
        break;
    case kResponseFirstStage:
    {
        m_bResponseChanged = false;
        if (m_nLastPartition < 0)
            break;
        double* pTransformed = &m_pTransformedTaps[m_nLastPartition * B + m_nResponseOffset];
        const double* pCollected = m_apResponse[nPrevious];
        if (std::memcmp(pTransformed, pCollected, B * sizeof(double)) == 0)
            break;
        std::memcpy(pTransformed, pCollected, B * sizeof(double));
        m_bResponseChanged = true;
        firstStage(pCollected);
        break;
    }
    case kInputStage:
    case kResponseStage:
    case kInverseStage:
    {
        if (piece.eKind == kResponseStage && !m_bResponseChanged)
            break;
        // Span, and which half of the groups (0 for all of them).
        const int nSpan = piece.nArg & 0xffff;
        const int nHalf = piece.nArg >> 16;
        const int nOffset = nHalf == 2 ? B / 2 : 0;
        const int nCount = nHalf == 0 ? B : B / 2;
        if (piece.eKind == kInverseStage)
            m_kernels.timeStage(m_pWorkRe + nOffset, m_pWorkIm + nOffset,
                                m_pInverseRe + nSpan / 2 - 1, m_pInverseIm + nSpan / 2 - 1,
                                nCount, nSpan);
        else
            m_kernels.frequencyStage(m_pWorkRe + nOffset, m_pWorkIm + nOffset,
                                     m_pForwardRe + nSpan / 2 - 1, m_pForwardIm + nSpan / 2 - 1,
                                     nCount, nSpan);
        break;
    }
    case kInputSplit:
        splitSpectrum(m_delayLine.inputSlot(m_nInputSlot), 1.0,
                      (B / 2 + 1) * piece.nArg / kSplitParts,
                      (B / 2 + 1) * (piece.nArg + 1) / kSplitParts);
        break;
    case kResponseSplit:
        // The inverse transform's 1/F is carried by the response spectra (a power of two, so
        // the factor itself rounds nothing).
        if (m_bResponseChanged)
            splitSpectrum(m_delayLine.responsePartition(m_nLastPartition), 1.0 / m_nFftSize,
                          (B / 2 + 1) * piece.nArg / kSplitParts,
                          (B / 2 + 1) * (piece.nArg + 1) / kSplitParts);
        break;
    case kPartitionSum:
    {
        const int m = piece.nArg;
        const double* x = m_delayLine.inputSlot((m_nInputSlot - m) & (m_nPartitions - 1));
        const double* h = m_delayLine.responsePartition(m);
        m_kernels.multiplyAccumulate(m_pSumRe, m_pSumIm, x, x + B, h, h + B, B, m == 0);
        break;
    }
    case kInverseSplit:
        inverseSplit(B / 2 * piece.nArg / kSplitParts, B / 2 * (piece.nArg + 1) / kSplitParts);
        break;
    case kOverlapAdd:
    {
        // Time samples 2n and 2n+1 are the real and imaginary parts of z[n]; the first B
        // overlap the previous block's tail, the last B are the next tail.
        const double* re = m_pWorkRe;
        const double* im = m_pWorkIm;
        const int h = B / 2;
        for (int n = 0; n < h; ++n)
        {
            m_pOutputBlock[2 * n] = re[n] + m_pTail[2 * n];
            m_pOutputBlock[2 * n + 1] = im[n] + m_pTail[2 * n + 1];
        }
        for (int n = 0; n < h; ++n)
        {
            m_pTail[2 * n] = re[h + n];
            m_pTail[2 * n + 1] = im[h + n];
        }
        break;
    }
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

namespace
{
// H(i w) of (b3 s^3 + b2 s^2 + b1 s + b0) / (a3 s^3 + a2 s^2 + a1 s + a0) in real arithmetic:
// with s = i w, s^2 = -w^2 and s^3 = -i w^3, so each polynomial is (c0 - c2 w^2) + i (c1 w -
// c3 w^3); the quotient by Smith's method, which neither overflows nor underflows on the way.
inline CCircuitFilter::Complex circuitResponse(double w, double b3, double b2, double b1,
                                               double b0, double a3, double a2, double a1,
                                               double a0)
{
    const double w2 = w * w;
    const double w3 = w2 * w;
    const double nr = b0 - b2 * w2, ni = b1 * w - b3 * w3;
    const double dr = a0 - a2 * w2, di = a1 * w - a3 * w3;
    if (std::fabs(dr) >= std::fabs(di))
    {
        const double r = di / dr;
        const double t = 1.0 / (dr + di * r);
        return CCircuitFilter::Complex((nr + ni * r) * t, (ni - nr * r) * t);
    }
    const double r = dr / di;
    const double t = 1.0 / (dr * r + di);
    return CCircuitFilter::Complex((nr * r + ni) * t, (ni * r - nr) * t);
}
}

CCircuitFilter::Complex CCircuitFilter::evaluateResponse(int k, double b3, double b2, double b1,
                                                         double b0, double a3, double a2,
                                                         double a1, double a0,
                                                         int nSampleRate) const
{
    const double dOmega = (nSampleRate * 0.5 / (m_nDesignLength * 0.5)) * 6.283185307179586 * k;
    return circuitResponse(dOmega, b3, b2, b1, b0, a3, a2, a1, a0);
}

void CCircuitFilter::evaluateBin(int k, double b3, double b2, double b1, double b0, double a3,
                                 double a2, double a1, double a0, int N, int nSampleRate)
{
    if (N != m_nDesignLength || k < 0 || k >= N / 2)
        return;
    m_bLastDesignValid = false;
    if (k >= 1)
    {
        const Complex H = evaluateResponse(k, b3, b2, b1, b0, a3, a2, a1, a0, nSampleRate);
        const Complex S(H.real() * 0.0004, H.imag() * 0.0004);
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
    m_bLastDesignValid = false;
    Complex* S = m_pDesignSpectrum.get();
    S[0] = Complex(S[0].real(), S[N / 2].real());
    S[N / 2] = S[0];

    // The inverse real transform of bins 0..M, M = N/2: the split into the half-size complex
    // spectrum Y[k] = (P[k] + conj P[M-k] + conj(W^k) i (P[k] - conj P[M-k])) / 2, its
    // inverse transform z, and the real samples 2 Re z[m], 2 Im z[m] at 2m, 2m+1.
    const int M = N / 2;
    const Complex* W = m_designTransform.twiddles();
    double* re = m_pDesignRe;
    double* im = m_pDesignIm;
    for (int k = 0; k <= M / 2; ++k)
    {
        const int m = M - k;
        const Complex pk = S[k], pm = S[m];
        for (int nSide = 0; nSide < 2; ++nSide)
        {
            const Complex a = nSide == 0 ? pk : pm;
            const Complex b = nSide == 0 ? pm : pk;
            const Complex w = W[nSide == 0 ? k : m];
            const int nOut = nSide == 0 ? k : m;
            if (nOut == M)
                continue;  // bin M of Y is never used (the complex transform has M points)
            const double sr = a.real() + b.real(), si = a.imag() - b.imag();
            const double dr = a.real() - b.real(), di = a.imag() + b.imag();
            // i conj(W) D = -(wr di - wi dr) + i (wr dr + wi di)
            re[nOut] = 0.5 * (sr - (w.real() * di - w.imag() * dr));
            im[nOut] = 0.5 * (si + (w.real() * dr + w.imag() * di));
        }
    }
    const TSpectralKernels& kernels = m_kernels;
    for (int nSpan = M; nSpan >= 2; nSpan /= 2)
        kernels.frequencyStage(re, im, m_pDesignTwiddleRe + nSpan / 2 - 1,
                               m_pDesignTwiddleIm + nSpan / 2 - 1, M, nSpan);

    // A circuit driven with non-finite or absurd values (a zero cut, a NaN knob from a
    // damaged state) would leave NaN or infinite taps that never leave the output; such a
    // design is dropped and the previous response stays.
    const int* rev = m_pDesignBitReversed.get();
    for (int n = 0; n < M / 2; ++n)
        if (!std::isfinite(dScale * (2.0 * re[rev[n]])) || !std::isfinite(dScale * (2.0 * im[rev[n]])))
            return;

    for (int n = 0; n < M / 2; ++n)
    {
        m_pDesignedResponse[2 * n] = dScale * (2.0 * re[rev[n]]);
        m_pDesignedResponse[2 * n + 1] = dScale * (2.0 * im[rev[n]]);
    }
    for (int n = N / 2 + 1; n < N; ++n)
        m_pDesignedResponse[n] = 0.0;
}

void CCircuitFilter::designCircuit(double b3, double b2, double b1, double b0, double a3,
                                   double a2, double a1, double a0, int nSampleRate,
                                   double dScale)
{
    const double adDesign[10] = {b3, b2, b1, b0, a3, a2, a1, a0, double(nSampleRate), dScale};
    if (m_bLastDesignValid && std::memcmp(adDesign, m_adLastDesign, sizeof adDesign) == 0)
        return;
    const int N = m_nDesignLength;
    Complex* S = m_pDesignSpectrum.get();
    const double dStep = (nSampleRate * 0.5 / (N * 0.5)) * 6.283185307179586;
    for (int k = 1; k < N / 2; ++k)
    {
        const Complex H = circuitResponse(dStep * k, b3, b2, b1, b0, a3, a2, a1, a0);
        const double sr = H.real() * 0.0004, si = H.imag() * 0.0004;
        S[k] = Complex(sr, si);
        S[N - k] = Complex(sr, -si);
    }
    evaluateBin(0, b3, b2, b1, b0, a3, a2, a1, a0, N, nSampleRate);
    designFromSpectrum(N, dScale);
    std::memcpy(m_adLastDesign, adDesign, sizeof adDesign);
    m_bLastDesignValid = true;
}
