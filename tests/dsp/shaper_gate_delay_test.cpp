#include "feedbackdelay.h"
#include "noisegate.h"
#include "waveshaper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

double shape(double x)
{
    CWaveShaper s(101);
    s.process(x);
    return s.getOutput();
}
}

TEST(WaveShaperTest, TableValues)
{
    const double c50 = -0.00364971, c51 = 0.410142;
    const double c0 = -0.988553, c1 = -0.988539, c99 = 0.98658, c100 = 0.986566;
    struct Case { double x, y; };
    const Case kCases[] = {
        {0.0, c50},
        {-1.0, c0},
        {1.0, c100},
        {0.01, 0.5 * (c50 + c51)},
        {1.5, 0.986216},                          // last segment extended
        {-1.01, c0 + (c1 - c0) * 50 * -0.01},     // truncates to segment 0
        {-1.03, c0 + (c1 - c0) * 50 * -0.03},     // below segment 0
        {-0.5, -0.988201},                        // point 25
        {0.48, 0.986899},                         // point 74, the peak
    };
    for (const Case& c : kCases)
        EXPECT_NEAR(shape(c.x), c.y, 1e-12) << c.x;
    EXPECT_NEAR(shape(1.5), c100 + (c100 - c99) / 0.02 * 0.5, 1e-12);
    // Every grid point returns its table value.
    for (int j = 0; j <= 100; ++j)
        EXPECT_NEAR(shape(-1.0 + 0.02 * j), CWaveShaper::curve()[j], 1e-9) << j;
    EXPECT_EQ(CWaveShaper::curve()[74], 0.986899);

    // Sums over the published 101 points guard the transcription of every entry and its place.
    double dSum = 0.0, dSquares = 0.0, dWeighted = 0.0;
    for (int j = 0; j <= 100; ++j)
    {
        const double c = CWaveShaper::curve()[j];
        dSum += c;
        dSquares += c * c;
        dWeighted += j * c;
    }
    EXPECT_NEAR(dSum, 0.07553229, 1e-9);
    EXPECT_NEAR(dSquares, 91.55242050365507, 1e-9);
    EXPECT_NEAR(dWeighted, 2507.6415195, 1e-7);
}

TEST(WaveShaperTest, NonFiniteIsSilenceAndHugeStaysOnTheExtendedLine)
{
    for (double x : {kNaN, kInf, -kInf})
        EXPECT_EQ(shape(x), -0.00364971) << x;
    // Far outside int's range: the extension lines, no conversion of the huge index.
    const double kSlopeLow = (-0.988539 + 0.988553) / 0.02;
    const double kSlopeHigh = (0.986566 - 0.98658) / 0.02;
    for (double x : {1e10, 1e300})
        EXPECT_NEAR(shape(x) / (kSlopeHigh * (x - 1) + 0.986566), 1.0, 1e-12) << x;
    for (double x : {-1e10, -1e300})
        EXPECT_NEAR(shape(x) / (kSlopeLow * (x + 1) - 0.988553), 1.0, 1e-12) << x;
}

TEST(WaveShaperTest, ResetClearsOutputSelectCurveKeepsIt)
{
    CWaveShaper s(101);
    EXPECT_EQ(s.getOutput(), 0.0);
    s.process(0.3);
    const double y = s.getOutput();
    s.selectCurve(7);
    EXPECT_EQ(s.getOutput(), y);
    s.process(0.3);
    EXPECT_EQ(s.getOutput(), y);
    s.reset();
    EXPECT_EQ(s.getOutput(), 0.0);
    EXPECT_EQ(CWaveShaper(55).pointCount(), 101);
}

TEST(NoiseGateTest, OpensClosesWithItsTimeConstants)
{
    const double fs = 44100.0;
    CNoiseGate g;
    EXPECT_EQ(g.gain(), 1.0);
    g.setParameters(350.0, 25.0, fs, -70.0);
    EXPECT_NEAR(g.threshold(), 0.000316228, 1e-9);
    EXPECT_EQ(g.gain(), 1.0);

    for (int i = 0; i < 1000; ++i)
        g.process(0.001);
    EXPECT_EQ(g.gain(), 1.0);
    EXPECT_EQ(g.getOutput(), 0.001);

    // Closing: the gain falls by the close factor per sample, 1 % left after 350 ms.
    const int n350 = static_cast<int>(std::lround(0.350 * fs));  // 15435 samples
    double gain = 1.0;
    for (int i = 0; i < n350; ++i)
        gain = g.process(0.0001);
    EXPECT_NEAR(gain, 0.01, 1e-9);
    EXPECT_NEAR(g.getOutput(), 0.0001 * gain, 1e-15);

    // Opening: 99 % of the way back after 25 ms (1102.5 samples).
    const double start = g.gain();
    for (int i = 0; i < 1000; ++i)
        gain = g.process(0.5);
    EXPECT_NEAR(gain, 1.0 - (1.0 - start) * std::pow(0.01, 1000 / 1102.5), 1e-9);
    EXPECT_NEAR(g.openCoefficient(), std::pow(0.01, 1 / 1102.5), 1e-15);

    // New parameters leave the gain where it is.
    g.setParameters(10.0, 10.0, fs, -20.0);
    EXPECT_EQ(g.gain(), gain);
}

TEST(NoiseGateTest, SampleAtThresholdCountsAsBelow)
{
    CNoiseGate g;
    g.setParameters(1000.0, 1000.0, 1000.0, 0.0);  // threshold exactly 1.0
    const double k = g.closeCoefficient();
    EXPECT_EQ(g.threshold(), 1.0);
    EXPECT_EQ(g.process(-1.0), k);          // closes
    EXPECT_EQ(g.process(1.0), k * k);
    EXPECT_GT(g.process(std::nextafter(1.0, 2.0)), k * k);  // just above opens
}

TEST(NoiseGateTest, BadTimesAndSamplesLeaveTheGainSound)
{
    CNoiseGate g;
    // Zero, negative and NaN times move at once instead of running away.
    for (double t : {0.0, -5.0, kNaN})
    {
        g.setParameters(t, t, 44100.0, -40.0);
        EXPECT_EQ(g.closeCoefficient(), 0.0) << t;
        EXPECT_EQ(g.process(0.0), 0.0) << t;
        EXPECT_EQ(g.process(0.5), 1.0) << t;
    }
    g.setParameters(10.0, 10.0, 44100.0, -40.0);
    g.process(kNaN);
    EXPECT_TRUE(std::isnan(g.getOutput()));
    EXPECT_TRUE(std::isfinite(g.gain()));
    g.process(kInf);
    EXPECT_TRUE(std::isfinite(g.gain()));
    g.process(0.5);
    EXPECT_TRUE(std::isfinite(g.getOutput()));
    EXPECT_GE(g.gain(), 0.0);
    EXPECT_LE(g.gain(), 1.0);
}

TEST(FeedbackDelayTest, PureDelayOf128)
{
    CFeedbackDelay d(44100, 128, 0.0, 100.0);
    EXPECT_EQ(d.bufferLength(), 88200);
    EXPECT_EQ(d.readIndex(), 88072);
    EXPECT_EQ(d.writeIndex(), 0);
    for (int t = 0; t < 1000; ++t)
    {
        const double x = t + 1.0;
        d.process(x);
        EXPECT_EQ(d.getOutput(), t < 128 ? 0.0 : x - 128) << t;
    }
}

TEST(FeedbackDelayTest, ZeroDelayFeedbackAndMix)
{
    CFeedbackDelay d(100, 0, 50.0, 30.0);
    EXPECT_EQ(d.readIndex(), 0);
    d.process(2.0);
    EXPECT_DOUBLE_EQ(d.getOutput(), 2.0);   // (1 - wet) x + wet x
    EXPECT_DOUBLE_EQ(d.bufferAt(0), 3.0);   // feedback * x + x

    // Echoes every 10 samples, halving; half dry, half wet.
    d.reset(10, 50.0, 50.0);
    double out[40];
    for (int t = 0; t < 40; ++t)
    {
        d.process(t == 0 ? 1.0 : 0.0);
        out[t] = d.getOutput();
    }
    EXPECT_DOUBLE_EQ(out[0], 0.5);
    EXPECT_DOUBLE_EQ(out[10], 0.5);
    EXPECT_DOUBLE_EQ(out[20], 0.25);
    EXPECT_DOUBLE_EQ(out[30], 0.125);
    EXPECT_EQ(out[5] + out[15] + out[25] + out[35], 0.0);
}

TEST(FeedbackDelayTest, ResetKeepsOutputAndHoldsTheDelayInTheBuffer)
{
    CFeedbackDelay d(10, 3, 0.0, 100.0);
    for (int t = 0; t < 5; ++t)
        d.process(1.0);
    d.reset(3, 0.0, 100.0);
    EXPECT_EQ(d.getOutput(), 1.0);
    d.process(1.0);
    EXPECT_EQ(d.getOutput(), 0.0);

    d.reset(1000, 0.0, 100.0);  // longer than the buffer of 20
    EXPECT_EQ(d.delay(), 20);
    EXPECT_EQ(d.readIndex(), 0);
    d.reset(-4, 0.0, 100.0);
    EXPECT_EQ(d.delay(), 0);
    for (int t = 0; t < 50; ++t)
        d.process(2.0);
    EXPECT_EQ(d.getOutput(), 2.0);
}

TEST(FeedbackDelayTest, NonFiniteSampleIsHeardOnceNotRecirculated)
{
    for (double fb : {0.0, 50.0})
    {
        CFeedbackDelay d(1000, 128, fb, 100.0);
        for (int t = 0; t < 2000; ++t)
        {
            d.process(t == 5 ? kNaN : 0.25);
            if (t == 5 + 128)
                EXPECT_TRUE(std::isnan(d.getOutput())) << fb;
            else
                ASSERT_TRUE(std::isfinite(d.getOutput())) << "feedback " << fb << ", t " << t;
        }
    }
}
