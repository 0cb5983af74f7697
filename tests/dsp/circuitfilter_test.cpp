#include "circuitfilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <limits>
#include <random>
#include <vector>

#include "randomsignal.h"

namespace
{
const int kTaps = 2048;
const int kBlock = 64;
const int kLatency = 127;

// Engine with a response loaded directly, as a stage's design would leave it.
class CTestFilter : public CCircuitFilter
{
public:
    CTestFilter() : CCircuitFilter(44100, kTaps, kTaps, kBlock, 0)
    {
        setDecayWindow(0.0, 44100);
        setGain(1.0);
    }
    void load(const std::vector<double>& taps)
    {
        std::copy(taps.begin(), taps.end(), designedResponseData());
        applyResponse();
    }
    double step(double x)
    {
        processSample(x);
        return getOutput();
    }
};

// y(t) = sum_n h[n] x(t - 127 - n)
double delayedConvolution(const std::vector<double>& h, const std::vector<double>& x, int t)
{
    double y = 0.0;
    for (int n = 0; n < static_cast<int>(h.size()); ++n)
    {
        const int i = t - kLatency - n;
        if (i < 0)
            break;
        y += h[n] * x[i];
    }
    return y;
}
}

TEST(CircuitFilterTest, OutputIsZeroBeforeAnySample)
{
    CTestFilter f;
    f.load(randomSignal(kTaps, 1));
    EXPECT_EQ(f.getOutput(), 0.0);
    EXPECT_EQ(f.latency(), kLatency);
}

TEST(CircuitFilterTest, RandomResponseEqualsDelayedLinearConvolution)
{
    const std::vector<double> h = randomSignal(kTaps, 11);
    const std::vector<double> x = randomSignal(3 * kTaps + 300, 12);
    CTestFilter f;
    f.load(h);
    double dMaxError = 0.0;
    for (int t = 0; t < static_cast<int>(x.size()); ++t)
        dMaxError = std::max(dMaxError, std::fabs(f.step(x[t]) - delayedConvolution(h, x, t)));
    EXPECT_LT(dMaxError, 1e-12);
}

TEST(CircuitFilterTest, TapPositionsAppearAtTheirDelays)
{
    // Four taps of distinct heights; impulses entering at several positions within a block.
    const int kPositions[] = {0, 5, 700, 2047};
    const double kHeights[] = {1.0, -0.5, 0.25, 2.0};
    std::vector<double> h(kTaps, 0.0);
    for (int i = 0; i < 4; ++i)
        h[kPositions[i]] = kHeights[i];

    for (int nStart : {0, 1, 37, 63, 64 + 17})
    {
        CTestFilter f;
        f.load(h);
        const int nLength = nStart + kLatency + kTaps + 10;
        for (int t = 0; t < nLength; ++t)
        {
            const double y = f.step(t == nStart ? 1.0 : 0.0);
            double ref = 0.0;
            for (int i = 0; i < 4; ++i)
                if (t == nStart + kLatency + kPositions[i])
                    ref = kHeights[i];
            ASSERT_NEAR(y, ref, 1e-14) << "impulse at " << nStart << ", t " << t;
        }
    }
}

TEST(CircuitFilterTest, FirstOutputBlockIsZero)
{
    std::vector<double> h(kTaps, 0.0);
    h[0] = 1.0;
    CTestFilter f;
    f.load(h);
    for (int t = 0; t < kLatency; ++t)
        ASSERT_EQ(f.step(1.0), 0.0) << t;
    EXPECT_NEAR(f.step(1.0), 1.0, 1e-15);
}

// A new response is collected one partition per block, in the order of the read position, so
// an old tap disappears and a new tap appears at exactly predictable samples.
TEST(CircuitFilterTest, NewResponseIsPickedUpPartitionByPartition)
{
    std::vector<double> hOld(kTaps, 0.0), hNew(kTaps, 0.0);
    hOld[1000] = 1.0;  // partition 15, tap 40 in it
    hNew[100] = 1.0;   // partition 1, tap 36 in it
    CTestFilter f;
    f.load(hOld);
    const int nSwitch = 40 * kBlock;  // block 40 collects partition 8 first
    // Partition 15 is collected again in block 47, stored in block 48, its inverse is heard
    // from call 64*48 + 63 on, with the old tap's overlap for its first 40 samples.
    const int nOldGone = 64 * 48 + 63 + 40;
    // Partition 1 is collected in block 65 and heard the same way, 36 samples into the block.
    const int nNewHeard = 64 * 66 + 63 + 36;
    for (int t = 0; t < nNewHeard + 3 * kTaps; ++t)
    {
        if (t == nSwitch)
            f.load(hNew);
        const double y = f.step(1.0);  // constant input: every present tap adds 1
        if (t < kLatency + 1000)
            continue;
        const double ref = t < nOldGone ? 1.0 : t < nNewHeard ? 0.0 : 1.0;
        ASSERT_NEAR(y, ref, 1e-12) << t;
    }
}

TEST(CircuitFilterTest, AfterAllPartitionsTheNewResponseConvolves)
{
    const std::vector<double> hOld = randomSignal(kTaps, 21);
    const std::vector<double> hNew = randomSignal(kTaps, 22);
    const std::vector<double> x = randomSignal(5 * kTaps, 23);
    CTestFilter f;
    f.load(hOld);
    const int nSwitch = kTaps + 29;  // mid-block
    bool bMixed = false;
    for (int t = 0; t < static_cast<int>(x.size()); ++t)
    {
        if (t == nSwitch)
            f.load(hNew);
        const double y = f.step(x[t]);
        if (t < nSwitch)
            ASSERT_NEAR(y, delayedConvolution(hOld, x, t), 1e-12) << t;
        else if (t >= nSwitch + kTaps + kBlock + kLatency)
            ASSERT_NEAR(y, delayedConvolution(hNew, x, t), 1e-12) << t;
        else if (t > nSwitch + kLatency + 2 * kBlock && t < nSwitch + kTaps)
            bMixed |= std::fabs(y - delayedConvolution(hNew, x, t)) > 1e-3
                      && std::fabs(y - delayedConvolution(hOld, x, t)) > 1e-3;
    }
    EXPECT_TRUE(bMixed);
}

TEST(CircuitFilterTest, NonFiniteInputPassesAndLeaves)
{
    const std::vector<double> h = randomSignal(kTaps, 31);
    std::vector<double> x = randomSignal(4 * kTaps, 32);
    const int nBad = 1000;
    for (double dBad : {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity()})
    {
        CTestFilter g;
        g.load(h);
        std::vector<double> clean = x;
        clean[nBad] = 0.0;
        for (int t = 0; t < static_cast<int>(x.size()); ++t)
        {
            const double y = g.step(t == nBad ? dBad : x[t]);
            // Once the bad sample has left the 2048-tap history (plus latency and the block
            // in which it arrived), the output is the convolution of the rest again.
            if (t >= nBad + kTaps + kLatency + kBlock)
            {
                ASSERT_NEAR(y, delayedConvolution(h, clean, t), 1e-12) << t;
            }
        }
    }
}

TEST(CircuitFilterTest, WindowAndGainShapeTheWorkingResponse)
{
    std::vector<double> h = randomSignal(kTaps, 41);
    CTestFilter f;
    f.load(h);
    f.setGain(0.5);
    f.setDecayWindow(3.0, 48000);
    for (int i : {0, 1, 777, 2047})
    {
        const double w = std::exp(-(i * 3.0 / 48000));
        EXPECT_DOUBLE_EQ(f.window(i), w) << i;
        EXPECT_NEAR(f.workingResponse(i), w * 0.5 * h[i], 1e-15) << i;
    }
    // No decay can be formed without a sample rate: the window stays at one, not NaN.
    f.setDecayWindow(0.0, 0);
    EXPECT_EQ(f.window(0), 1.0);
    EXPECT_EQ(f.window(2047), 1.0);

    // reset clears the window; the working response follows at the next applyResponse.
    f.reset();
    EXPECT_NEAR(f.workingResponse(5), 0.5 * h[5], 1e-15);
    f.applyResponse();
    EXPECT_EQ(f.workingResponse(5), 0.0);
}

TEST(SpectralDelayLineTest, PairsHistoryWithPartitionsAndPacksDcNyquist)
{
    // Ring of 4 partitions of 2 bins. Ring partition s holds response partition s-1; the
    // newest input meets response partition 0, the input of one block before partition 1.
    CSpectralDelayLine line(8, 2);
    typedef std::complex<double> C;
    // Bin 0 carries DC and Nyquist, multiplied separately: (2*5, 3*7).
    line.accumulate(2, C(2.0, 3.0), C(5.0, 7.0));
    EXPECT_EQ(line.getAccumulator(), C(10.0, 21.0));
    // Bin 1 is a full complex product: (2+3i)(5+7i) = -11 + 29i.
    line.accumulate(3, C(2.0, 3.0), C(5.0, 7.0));
    EXPECT_EQ(line.getAccumulator(), C(-11.0, 29.0));
    // Next block: the new (zero) input meets partition 0, the previous input partition 1.
    line.accumulate(4, C(0.0, 0.0), C(1.0, 1.0));
    EXPECT_EQ(line.getAccumulator(), C(2.0, 3.0));
}

// Sizes the engine cannot run (block not a power of two, response past the design) fall back
// to the standard 2048-tap, 64-sample engine instead of indexing outside the rings.
TEST(CircuitFilterTest, UnsupportedSizesFallBackToTheStandardEngine)
{
    struct Case { int design, convolved, block, offset; };
    for (const Case& c : {Case{2048, 2048, 48, 0}, Case{2048, 2048, 64, 64}, Case{1000, 512, 64, 0},
                          Case{2048, 96, 32, 0}, Case{0, 0, 0, 0}})
    {
        CCircuitFilter f(44100, c.design, c.convolved, c.block, c.offset);
        EXPECT_EQ(f.designLength(), kTaps);
        EXPECT_EQ(f.blockSize(), kBlock);
        EXPECT_EQ(f.partitionCount(), 32);
    }
    // A smaller supported engine keeps its sizes: 256 taps in blocks of 16, latency 31.
    CCircuitFilter small(44100, 256, 256, 16, 0);
    EXPECT_EQ(small.partitionCount(), 16);
    EXPECT_EQ(small.latency(), 31);
}

// The builds of the engine's loops chosen for this processor give exactly the baseline's
// results: the partition sum (first and further partitions) and the transform stages of
// every span, for the engine's block size and a small one.
TEST(SpectralKernelsTest, SelectedBuildMatchesBaselineBitForBit)
{
    const TSpectralKernels& base = TSpectralKernels::baseline();
    const TSpectralKernels& fast = TSpectralKernels::selected();
    std::cout << "selected kernels: " << TSpectralKernels::selectedName() << std::endl;
    for (int n : {64, 16, 2})
    {
        const std::vector<double> v = randomSignal(8 * n, 51 + n);
        for (bool bFirst : {true, false})
        {
            std::vector<double> a(v.begin(), v.begin() + 2 * n), b = a;
            base.multiplyAccumulate(&a[0], &a[n], &v[2 * n], &v[3 * n], &v[4 * n], &v[5 * n], n, bFirst);
            fast.multiplyAccumulate(&b[0], &b[n], &v[2 * n], &v[3 * n], &v[4 * n], &v[5 * n], n, bFirst);
            EXPECT_EQ(a, b) << n << " " << bFirst;
            // Bin 0 packs DC and Nyquist, multiplied apart; bin 1 is a complex product.
            EXPECT_EQ(a[0], (bFirst ? 0.0 : v[0]) + v[2 * n] * v[4 * n]);
            EXPECT_EQ(a[n], (bFirst ? 0.0 : v[n]) + v[3 * n] * v[5 * n]);
            const std::complex<double> p = std::complex<double>(v[2 * n + 1], v[3 * n + 1])
                                           * std::complex<double>(v[4 * n + 1], v[5 * n + 1]);
            EXPECT_NEAR(a[1], (bFirst ? 0.0 : v[1]) + p.real(), 1e-15);
            EXPECT_NEAR(a[n + 1], (bFirst ? 0.0 : v[n + 1]) + p.imag(), 1e-15);
        }
        for (int nSpan = 2; nSpan <= n; nSpan *= 2)
        {
            std::vector<double> a(v.begin(), v.begin() + 2 * n), b = a;
            base.frequencyStage(&a[0], &a[n], &v[2 * n], &v[3 * n], n, nSpan);
            fast.frequencyStage(&b[0], &b[n], &v[2 * n], &v[3 * n], n, nSpan);
            EXPECT_EQ(a, b) << "frequency stage " << n << " " << nSpan;
            std::vector<double> c(v.begin(), v.begin() + 2 * n), d = c;
            base.timeStage(&c[0], &c[n], &v[2 * n], &v[3 * n], n, nSpan);
            fast.timeStage(&d[0], &d[n], &v[2 * n], &v[3 * n], n, nSpan);
            EXPECT_EQ(c, d) << "time stage " << n << " " << nSpan;
        }
    }
}
