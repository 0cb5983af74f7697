// The pedal's chain, reactions and preparation, checked against the stages composed by hand:
// direct convolution with each stage's taps, the shaper's curve, the gate's formulas, the delay.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "allocationcount.h"
#include "korvessa.h"

namespace {

constexpr int kLatency = 127;     // each convolution stage
constexpr int kDelay = 128;       // the fixed delay line
constexpr int kTaps = 2048;

enum Position {
    kDistortion = 0, kPush1, kPush2, kVolume, kMids, kTrim, kGuitarType, kVariCap, kPeak2,
    kStereoMono, kLeftRight, kTSType, kBoost, kAttack, kRelease, kThreshold, kPlus,
    kSlopeShift, kIncapFilter, kIncapCut
};
constexpr int kHighGainInit = 11;

// A pedal after setUp, with a preset written the way a stored state is restored, then
// prepared at a rate (as a host activates it).
struct Pedal
{
    explicit Pedal(int preset = 0, int sampleRate = 44100)
    {
        k.setUp();
        for (int i = 0; i < k.m_nControlCount; ++i)
            k.setPlain(i, static_cast<float>(k.m_ppControlTable[i]->m_dPresets[preset]));
        k.m_nSampleRate = sampleRate;
        k.prepare();
    }

    // Runs a stereo signal; returns the interleaved output.
    std::vector<float> run(const std::vector<float>& left, const std::vector<float>& right,
                           uint32_t channels = 2)
    {
        std::vector<float> out;
        for (size_t t = 0; t < left.size(); ++t) {
            float in[2] = {left[t], channels == 1 ? 0.0f : right[t]};
            float o[2] = {0.0f, 0.0f};
            k.processFrame(in, o, channels, channels);
            out.push_back(o[0]);
            out.push_back(o[1]);
        }
        return out;
    }

    CKorvessa k;
};

std::vector<float> pluck(size_t n, unsigned seed, double hz = 196.0, double amplitude = 0.6)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> noise(-0.02, 0.02);
    std::vector<float> x(n);
    for (size_t t = 0; t < n; ++t) {
        const double s = amplitude * std::exp(-3.0 * t / 44100.0) *
                         std::sin(2.0 * M_PI * hz * t / 44100.0);
        x[t] = static_cast<float>(s + noise(rng));
    }
    return x;
}

std::vector<double> taps(const CCircuitFilter& f)
{
    std::vector<double> w(kTaps);
    for (int i = 0; i < kTaps; ++i)
        w[i] = f.workingResponse(i);
    return w;
}

// Output of a stage at time t: the linear convolution of its taps with the input history,
// delayed by the engine's latency.
double convolveAt(const std::vector<double>& w, const std::vector<double>& x, size_t t)
{
    double acc = 0.0;
    for (int n = 0; n < kTaps; ++n) {
        const long u = static_cast<long>(t) - kLatency - n;
        if (u < 0)
            break;
        acc += w[n] * x[u];
    }
    return acc;
}

double shape(double x)
{
    const double* c = CWaveShaper::curve();
    const int j = static_cast<int>(x * 50 + 50);
    if (j < 0)
        return (c[1] - c[0]) / 0.02 * (x + 1) + c[0];
    if (j > 99)
        return (c[100] - c[99]) / 0.02 * (x - 1) + c[100];
    return (x + 1 - j * 0.02) * ((c[j + 1] - c[j]) * 50) + c[j];
}

// One channel of the chain composed from the stages of a prepared pedal.
std::vector<float> composeByHand(const CKorvessa& k, bool right, const std::vector<float>& in)
{
    const size_t n = in.size();
    const auto wIncap = taps(right ? *k.m_pIncapR : *k.m_pIncapL);
    const auto wDrive = taps(right ? *k.m_pDriveR : *k.m_pDriveL);
    const auto wPeak = taps(right ? *k.m_pPeakR : *k.m_pPeakL);
    const auto wMids = taps(right ? *k.m_pMidsR : *k.m_pMidsL);
    const auto wVolume = taps(right ? *k.m_pVolumeR : *k.m_pVolumeL);

    const double fs = k.m_nSampleRate;
    const double close = std::pow(0.01, 1000.0 / (double(k.m_fAttackMsec) * fs));
    const double open = std::pow(0.01, 1000.0 / (double(k.m_fReleaseMsec) * fs));
    const double threshold = std::pow(10.0, double(k.m_fNG2Threshold) / 20.0);
    const bool gateOn = k.m_fNG2Threshold > -65.0;
    double gain = 1.0;

    std::vector<double> s(n), a(n), y(n), m(n), mids(n), out(n);
    for (size_t t = 0; t < n; ++t) {
        const float x = in[t];
        const double v = std::fabs(double(x)) < 1e-12 ? 0.0 : double(x * k.m_fTrim);
        double g = k.m_fDriveGain * v;
        if (gateOn) {
            const double target = std::fabs(g) > threshold ? 1.0 : 0.0;
            gain = (gain - target) * (gain > target ? close : open) + target;
            g *= gain;
        }
        s[t] = g;
        a[t] = convolveAt(wIncap, s, t);
        const double f = t == 0 ? 0.0 : convolveAt(wDrive, y, t - 1);
        y[t] = shape(a[t] - 0.1 * f);
        m[t] = t < size_t(kDelay) ? 0.0 : y[t - kDelay];
    }
    std::vector<double> toMids(n);
    for (size_t t = 0; t < n; ++t)
        toMids[t] = k.m_uPeak2 != 0 ? convolveAt(wPeak, m, t) * 1.8 : m[t];
    for (size_t t = 0; t < n; ++t)
        mids[t] = convolveAt(wMids, toMids, t);
    std::vector<float> result(n);
    for (size_t t = 0; t < n; ++t)
        result[t] = static_cast<float>(convolveAt(wVolume, mids, t));
    return result;
}

double maxDifference(const std::vector<float>& interleaved, int channel,
                     const std::vector<float>& expected)
{
    double worst = 0.0;
    for (size_t t = 0; t < expected.size(); ++t)
        worst = std::max(worst, std::fabs(double(interleaved[2 * t + channel]) - expected[t]));
    return worst;
}

std::vector<float> channel(const std::vector<float>& interleaved, int ch)
{
    std::vector<float> out(interleaved.size() / 2);
    for (size_t t = 0; t < out.size(); ++t)
        out[t] = interleaved[2 * t + ch];
    return out;
}

} // namespace

TEST(KorvessaChain, MatchesTheStagesComposedByHand)
{
    struct Case
    {
        int preset;
        float threshold;  // NG2_Threshold in dB; -70 leaves the gate out
        int sampleRate;
    };
    const Case cases[] = {{0, -70.0f, 44100}, {kHighGainInit, -50.0f, 48000}, {3, -70.0f, 44100}};
    const size_t n = 4000;  // well past the 636-frame path and the 2048-tap responses
    for (const Case& c : cases) {
        Pedal p(c.preset, c.sampleRate);
        p.k.setPlain(kThreshold, c.threshold);
        const auto left = pluck(n, 1);
        const auto right = pluck(n, 2, 110.0, 0.9);
        const auto out = p.run(left, right);
        // The chain reads the designs made by prepare and the reactions; nothing changed since.
        Pedal ref(c.preset, c.sampleRate);
        ref.k.setPlain(kThreshold, c.threshold);
        EXPECT_LT(maxDifference(out, 0, composeByHand(ref.k, false, left)), 1e-6) << c.preset;
        EXPECT_LT(maxDifference(out, 1, composeByHand(ref.k, true, right)), 1e-6) << c.preset;
    }
}

TEST(KorvessaChain, RoutesInputsByStereoMonoAndLeftRight)
{
    struct Case
    {
        unsigned stereoMono, leftRight;
        uint32_t channels;
        bool leftFromIn0, leftFromIn1, rightFromIn0, rightFromIn1;
    };
    const Case cases[] = {
        {0, 0, 2, true, false, false, true},
        {0, 1, 2, true, false, false, true},
        {1, 0, 2, true, false, true, false},
        {1, 1, 2, false, true, false, true},
        // One-channel bus: the left chain falls back to in[0]; the right one reads in[1], which
        // the host binding holds at 0.0, so neither input reaches it.
        {1, 1, 1, true, false, false, false},
    };
    const size_t n = 1200;
    const std::vector<float> silence(n, 0.0f);
    const auto signal = pluck(n, 3);
    for (const Case& c : cases) {
        const auto run = [&](const std::vector<float>& l, const std::vector<float>& r) {
            Pedal p;
            p.k.setPlain(kStereoMono, float(c.stereoMono));
            p.k.setPlain(kLeftRight, float(c.leftRight));
            return p.run(l, r, c.channels);
        };
        const auto quiet = run(silence, silence);
        const auto from0 = run(signal, silence);
        const auto from1 = run(silence, signal);
        const auto differs = [&](const std::vector<float>& o, int ch) {
            return channel(o, ch) != channel(quiet, ch);
        };
        const std::string at = std::to_string(c.stereoMono) + "/" + std::to_string(c.leftRight) +
                               "/" + std::to_string(c.channels);
        EXPECT_EQ(differs(from0, 0), c.leftFromIn0) << at;
        EXPECT_EQ(differs(from1, 0), c.leftFromIn1) << at;
        EXPECT_EQ(differs(from0, 1), c.rightFromIn0) << at;
        EXPECT_EQ(differs(from1, 1), c.rightFromIn1) << at;
    }
}

TEST(KorvessaChain, TinyAndNonFiniteSamplesEnterAsSilence)
{
    const size_t n = 400;
    const auto incapAfter = [&](float sample, size_t at) {
        Pedal p;
        std::vector<float> x(n, 0.0f);
        x[at] = sample;
        p.run(x, x);
        return p.k.m_pIncapL->getOutput();
    };
    EXPECT_EQ(incapAfter(9.9e-13f, 10), 0.0);
    EXPECT_EQ(incapAfter(-9.9e-13f, 10), 0.0);
    EXPECT_NE(incapAfter(2e-12f, 10), 0.0);

    // A NaN or infinite sample is replaced by silence and leaves no lasting damage: the output
    // is exactly that of the same signal with a 0.0 in its place.
    auto clean = pluck(3000, 4);
    clean[500] = 0.0f;
    for (float bad : {std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        auto dirty = clean;
        dirty[500] = bad;
        Pedal p(kHighGainInit);
        Pedal q(kHighGainInit);
        const auto got = p.run(dirty, dirty);
        const auto want = q.run(clean, clean);
        EXPECT_EQ(got, want);
        EXPECT_TRUE(std::all_of(got.begin(), got.end(), [](float v) { return std::isfinite(v); }));
    }
}

TEST(KorvessaChain, GateRunsOnlyAboveMinus65Decibels)
{
    for (float threshold : {-70.0f, -65.0f, -64.9f}) {
        Pedal p;
        p.k.setPlain(kThreshold, threshold);
        p.run(std::vector<float>(100, 0.0f), std::vector<float>(100, 0.0f));
        if (threshold > -65.0f)
            EXPECT_LT(p.k.m_pGateL->gain(), 1.0) << threshold;  // silence closes it
        else
            EXPECT_EQ(p.k.m_pGateL->gain(), 1.0) << threshold;  // never called
        EXPECT_EQ(p.k.m_pGateL->gain(), p.k.m_pGateR->gain());
    }
}

TEST(KorvessaChain, Push2AndSlopeShiftLeaveTheOutputUnchanged)
{
    const auto x = pluck(2000, 5);
    Pedal reference(kHighGainInit);
    const auto expected = reference.run(x, x);
    for (float v : {0.0f, 1.0f}) {
        Pedal p(kHighGainInit);
        p.k.setNormalized(kPush2, v, false);
        p.k.setNormalized(kSlopeShift, v, false);
        EXPECT_EQ(p.run(x, x), expected);
    }
}

TEST(KorvessaChain, Peak2ScalesThePeakStageBy1Point8)
{
    // With Peak2 on, the mids stage's input is 1.8 times the peak stage's output.
    Pedal p(kHighGainInit);
    ASSERT_EQ(p.k.m_uPeak2, 1u);
    const auto x = pluck(1500, 6);
    Pedal ref(kHighGainInit);
    const auto expected = composeByHand(ref.k, false, x);
    Pedal off(kHighGainInit);
    off.k.setPlain(kPeak2, 0.0f);
    Pedal refOff(kHighGainInit);
    refOff.k.setPlain(kPeak2, 0.0f);
    EXPECT_LT(maxDifference(p.run(x, x), 0, expected), 1e-6);
    EXPECT_LT(maxDifference(off.run(x, x), 0, composeByHand(refOff.k, false, x)), 1e-6);
}

TEST(KorvessaChain, DriveGain)
{
    struct Case
    {
        const char* what;
        int preset;
        std::map<int, float> plain;
        float expected;
    };
    const Case cases[] = {
        {"initial values", 0, {}, 0.105f},
        {"High Gain Init", kHighGainInit, {}, 4.576f},
        {"maximum", 0, {{kDistortion, 1.0f}, {kBoost, 1.0f}, {kPush1, 3.0f}, {kPlus, 1.0f}}, 13.6f},
        {"Guitar Type changes nothing", 0, {{kGuitarType, 1.0f}}, 0.105f},
    };
    for (const Case& c : cases) {
        Pedal p(c.preset);
        for (const auto& [position, value] : c.plain)
            p.k.setPlain(position, value);
        EXPECT_NEAR(p.k.m_fDriveGain, c.expected, 1e-6f * c.expected) << c.what;
    }

    Pedal p;
    const float before = p.k.m_fDriveGain;
    p.k.setNormalized(kPlus, 1.0f, false);
    EXPECT_NEAR(p.k.m_fDriveGain, before * 1.6f, 1e-6f);

    CKorvessa constructed;
    EXPECT_EQ(constructed.m_fDriveGain, 0.6f);  // until setUp
}

TEST(KorvessaChain, EachControlRedesignsTheStagesItFeeds)
{
    // What a control's reaction is seen to change: the stages' working responses, the gates'
    // settings and the drive gain.
    struct Snapshot
    {
        std::vector<double> mids, incap, peak, drive, volume;
        std::array<double, 3> gate;
        float driveGain;
    };
    const auto snapshot = [](const CKorvessa& k) {
        return Snapshot{taps(*k.m_pMidsR), taps(*k.m_pIncapR), taps(*k.m_pPeakR),
                        taps(*k.m_pDriveR), taps(*k.m_pVolumeR),
                        {k.m_pGateR->closeCoefficient(), k.m_pGateR->openCoefficient(),
                         k.m_pGateR->threshold()},
                        k.m_fDriveGain};
    };
    struct Case
    {
        int position;
        const char* changes;  // m mids, i incap, p peak, d drive, v volume, g gate, G drive gain
    };
    // The drive network does not depend on VariCap, so its redesign on VariCap is not visible.
    const Case cases[] = {
        {kDistortion, "pdG"}, {kPush1, "G"}, {kPush2, ""}, {kVolume, "v"}, {kMids, "m"},
        {kTrim, ""}, {kGuitarType, "midpv"}, {kVariCap, "p"}, {kPeak2, ""}, {kStereoMono, ""},
        {kLeftRight, ""}, {kTSType, "m"}, {kBoost, "G"}, {kAttack, "g"}, {kRelease, "g"},
        {kThreshold, "g"}, {kPlus, "G"}, {kSlopeShift, ""},
        // Low cut at cut 1.0 is the normal design, and with NORMAL the cut does not enter it:
        // both are seen below, once the low cut is on.
        {kIncapFilter, ""}, {kIncapCut, ""},
    };
    for (const Case& c : cases) {
        Pedal p;
        const Snapshot before = snapshot(p.k);
        p.k.setNormalized(c.position, 1.0f, false);  // every initial value differs from the top
        const Snapshot after = snapshot(p.k);
        const std::string changes = c.changes;
        const auto expect = [&](bool changed, char code) {
            EXPECT_EQ(changed, changes.find(code) != std::string::npos)
                << "control " << c.position << ", stage " << code;
        };
        expect(before.mids != after.mids, 'm');
        expect(before.incap != after.incap, 'i');
        expect(before.peak != after.peak, 'p');
        expect(before.drive != after.drive, 'd');
        expect(before.volume != after.volume, 'v');
        expect(before.gate != after.gate, 'g');
        expect(before.driveGain != after.driveGain, 'G');
    }

    // Incap Cut reaches the input stage once the low cut is on, and switching the low cut
    // off again restores the normal design.
    Pedal lowCut;
    const auto normal = taps(*lowCut.k.m_pIncapL);
    lowCut.k.setPlain(kIncapFilter, 1.0f);
    lowCut.k.setPlain(kIncapCut, 10.0f);
    EXPECT_NE(taps(*lowCut.k.m_pIncapL), normal);
    lowCut.k.setPlain(kIncapFilter, 0.0f);
    EXPECT_EQ(taps(*lowCut.k.m_pIncapL), normal);

    // An enumerated control set to its current index and the buttons redesign nothing.
    Pedal same;
    const Snapshot before = snapshot(same.k);
    same.k.setNormalized(kGuitarType, 0.2f, false);  // rounds to Guitar, the current index
    for (uint32_t button : {50u, 51u, 52u})
        same.k.controlChanged(button);
    const Snapshot after = snapshot(same.k);
    EXPECT_TRUE(before.mids == after.mids && before.incap == after.incap &&
                before.peak == after.peak && before.drive == after.drive &&
                before.volume == after.volume && before.gate == after.gate &&
                before.driveGain == after.driveGain);
}

TEST(KorvessaChain, PrepareRedesignsAtTheHostRateAndClearsTheDelays)
{
    const auto designedVolume = [](int rate) {
        CVolumeFilter f(rate, 2048, 2048, 64, 0);
        f.calculateIR(0, 0, 0.39f, rate);
        f.setDecayWindow(0.0, rate);
        f.setGain(1.0);
        return taps(f);
    };

    // A host that never prepares processes with the set-up designs at 44.1 kHz.
    CKorvessa setUpOnly;
    setUpOnly.setUp();
    EXPECT_EQ(taps(*setUpOnly.m_pVolumeL), designedVolume(44100));

    Pedal p(0, 48000);
    EXPECT_EQ(taps(*p.k.m_pVolumeL), designedVolume(48000));
    EXPECT_NE(designedVolume(48000), designedVolume(44100));

    // After preparing, each delay line puts out 128 zeros before the first delayed sample.
    p.run(pluck(300, 7), pluck(300, 8));
    p.k.prepare();
    for (int t = 0; t < kDelay; ++t) {
        float in[2] = {0.5f, -0.5f}, out[2];
        p.k.processFrame(in, out, 2, 2);
        ASSERT_EQ(p.k.m_pDelayL->getOutput(), 0.0) << t;
        ASSERT_EQ(p.k.m_pDelayR->getOutput(), 0.0) << t;
    }
    float in[2] = {0.5f, -0.5f}, out[2];
    p.k.processFrame(in, out, 2, 2);
    EXPECT_NE(p.k.m_pDelayL->getOutput(), 0.0);
}

TEST(KorvessaChain, OutOfRangeStateValuesAreHeldInsideTheLimits)
{
    // A stored state can carry anything; "Incap Cut" 0 would divide by zero in the input stage.
    Pedal p(kHighGainInit);
    p.k.setPlain(kIncapCut, 0.0f);
    p.k.setPlain(kVolume, 1e30f);
    p.k.setPlain(kDistortion, -5.0f);
    p.k.setPlain(kGuitarType, -1.0f);
    p.k.setPlain(kTrim, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(p.k.m_fIncapCut, 1.0f);
    EXPECT_EQ(p.k.m_fVolume, 0.5f);
    EXPECT_EQ(p.k.m_fDistortion, 0.04f);
    EXPECT_EQ(p.k.m_uGuitarType, 0u);
    EXPECT_EQ(p.k.m_fTrim, 1.0f);
    const auto x = pluck(3000, 9);
    const auto out = p.run(x, x);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float v) { return std::isfinite(v); }));
}

TEST(KorvessaChain, ProcessFrameAllocatesNothing)
{
    Pedal p(kHighGainInit);
    p.k.setPlain(kThreshold, -50.0f);
    const auto x = pluck(1000, 10);
    float out[2];
    CAllocationCount count;
    for (float s : x) {
        float in[2] = {s, -s};
        p.k.processFrame(in, out, 2, 2);
    }
    EXPECT_EQ(count.count(), 0u);
}

// Automation redesigns on the processing thread while the UI thread recalls presets: the two
// never design one stage at the same time, so after every round each stage holds the design of
// the control values the round left.
TEST(KorvessaChain, ConcurrentRedesignsEndWithTheFinalValues)
{
    Pedal p(kHighGainInit, 48000);
    CKorvessa& k = p.k;
    const int fs = k.m_nSampleRate;
    const auto x = pluck(64, 11);
    const auto finish = [fs](CCircuitFilter& f) {
        f.setDecayWindow(0.0, fs);
        f.setGain(1.0);
        return taps(f);
    };
    const auto recall = [&k](int slot) {
        for (int i = 0; i < k.m_nControlCount; ++i) {
            const CControlDescriptor* d = k.m_ppControlTable[i];
            const double plain = d->m_dPresets[slot];
            k.setNormalized(i, static_cast<float>((plain - d->m_fLow) / (d->m_fHigh - d->m_fLow)),
                            false);
        }
    };

    for (int round = 0; round < 60; ++round) {
        std::atomic<int> ready{0};
        std::atomic<bool> done{false};
        const auto startTogether = [&ready] {
            ready.fetch_add(1);
            while (ready.load() < 2) {
            }
        };
        std::thread audio([&] {
            startTogether();
            float out[2];
            for (int block = 0; block < 6; ++block) {
                k.setNormalized(kDistortion, static_cast<float>(((round + block) % 50) / 49.0), false);
                for (float s : x) {
                    float in[2] = {s, -s};
                    k.processFrame(in, out, 2, 2);
                }
            }
            done = true;
        });
        std::thread ui([&] {
            startTogether();
            for (int n = 0; !done; ++n)
                recall(n % 2 == 0 ? 0 : kHighGainInit);
        });
        audio.join();
        ui.join();

        const int guitar = static_cast<int>(k.m_uGuitarType);
        CDriveFilter peak(fs, kTaps, kTaps, 64, 0), drive(fs, kTaps, kTaps, 64, 0);
        peak.calculateIR(0, guitar, k.m_fDistortion, k.m_fVariCap, fs);
        drive.calculateIR(4, guitar, k.m_fDistortion, k.m_fVariCap, fs);
        const auto expectedPeak = finish(peak), expectedDrive = finish(drive);
        for (bool right : {false, true}) {
            ASSERT_TRUE(taps(right ? *k.m_pPeakR : *k.m_pPeakL) == expectedPeak) << round << right;
            ASSERT_TRUE(taps(right ? *k.m_pDriveR : *k.m_pDriveL) == expectedDrive) << round << right;
        }
    }

    // The stages the recalls alone design hold the last preset's designs.
    const int guitar = static_cast<int>(k.m_uGuitarType);
    CMidsFilter mids(fs, kTaps, kTaps, 64, 0);
    mids.calculateIR(static_cast<int>(k.m_uTSType), guitar, k.m_fMids, fs);
    CInputCapFilter incap(fs, kTaps, kTaps, 64, 0);
    incap.calculateIR(0, guitar, static_cast<int>(k.m_uIncapFilter), k.m_fIncapCut, fs);
    CVolumeFilter volume(fs, kTaps, kTaps, 64, 0);
    volume.calculateIR(0, guitar, k.m_fVolume, fs);
    const auto expectedMids = finish(mids), expectedIncap = finish(incap);
    const auto expectedVolume = finish(volume);
    for (bool right : {false, true}) {
        EXPECT_TRUE(taps(right ? *k.m_pMidsR : *k.m_pMidsL) == expectedMids) << right;
        EXPECT_TRUE(taps(right ? *k.m_pIncapR : *k.m_pIncapL) == expectedIncap) << right;
        EXPECT_TRUE(taps(right ? *k.m_pVolumeR : *k.m_pVolumeL) == expectedVolume) << right;
    }
}
