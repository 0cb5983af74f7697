#include "drivefilter.h"
#include "inputcapfilter.h"
#include "midsfilter.h"
#include "volumefilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{
typedef std::complex<double> Complex;
typedef std::function<Complex(Complex)> Transfer;  // H(s)

const int N = 2048;

// The designed response that frequency sampling of H gives, written out as a sum:
// h[n] = scale * sum_{k=1}^{N/2-1} 2 Re(S_k e^(i 2 pi k n / N)) (+ 2 scale (S0 - SN), n even),
// with S_k = 0.0004 H(i w_k), S0 = 0.0004 Re H(0), SN = 0.0004 Im H(i w_{N/2}); 0 for n >= N/2.
std::vector<double> frequencySampled(const Transfer& H, int fs, double scale)
{
    const double dBinHz = static_cast<double>(fs) / N;
    std::vector<Complex> S(N / 2);
    for (int k = 1; k < N / 2; ++k)
        S[k] = 0.0004 * H(Complex(0.0, 2 * M_PI * dBinHz * k));
    const double S0 = 0.0004 * H(Complex(0.0, 0.0)).real();
    const double SN = 0.0004 * H(Complex(0.0, 2 * M_PI * dBinHz * (N / 2))).imag();
    std::vector<Complex> twiddle(N);
    for (int i = 0; i < N; ++i)
        twiddle[i] = std::polar(1.0, 2 * M_PI * i / N);
    std::vector<double> h(N, 0.0);
    for (int n = 0; n < N / 2; ++n)
    {
        double sum = 0.0;
        for (int k = 1; k < N / 2; ++k)
            sum += 2 * (S[k] * twiddle[(k * n) % N]).real();
        h[n] = scale * sum + (n % 2 == 0 ? scale * 2 * (S0 - SN) : 0.0);
    }
    return h;
}

// First-order high-pass with gain K: K tau s / (tau s + 1).
Transfer highPass(double K, double tau)
{
    return [=](Complex s) { return K * tau * s / (tau * s + 1.0); };
}

Transfer ratio(double b3, double b2, double b1, double b0, double a3, double a2, double a1,
               double a0)
{
    return [=](Complex s) {
        return (((b3 * s + b2) * s + b1) * s + b0) / (((a3 * s + a2) * s + a1) * s + a0);
    };
}

// The gain network around the clipping stage, from its parts: Rf = 100k pot times drive x,
// Ra = 560, Rb = 47, Ca = 4.7u, Cb = 2.2u and the small capacitor Cx.
Transfer gainNetwork(double Cx, double x)
{
    const double Rf = 100000 * x, Ra = 560, Rb = 47, Ca = 4.7e-6, Cb = 2.2e-6;
    const double t0 = Ra * Ca + Rb * Cb;  // 0.0027354
    const double b3 = Cx * Rf * Ca * Cb * Ra * Rb;
    const double b2 = Rb * (Cx * Rf * Cb + Ca * Cb * Ra) + Cx * Rf * Ca * Ra;
    const double b1 = Cx * Rf + t0;
    const double a2 = Rb * ((Cx + Ca) * Cb * Rf + Ca * Cb * Ra) + (Cx * Ca + Ca * Cb) * Rf * Ra;
    const double a1 = (Cx + Ca + Cb) * Rf + t0;
    return ratio(b3, b2, b1, 1.0, b3, a2, a1, 1.0);
}

struct DesignCase
{
    std::string name;
    int fs;
    double scale;
    std::function<std::unique_ptr<CCircuitFilter>(int fs)> design;
    Transfer H;
};

template <class T>
std::unique_ptr<CCircuitFilter> make(int fs, const std::function<void(T&)>& calc)
{
    std::unique_ptr<T> p(new T(fs, 2048, 2048, 64, 0));
    calc(*p);
    return std::unique_ptr<CCircuitFilter>(p.release());
}

// Mids circuit 0 in closed form with the total resistance Rt = 100k r + 2500.
Transfer tRat(double C1, double C2, double r)
{
    const double Rt = 100000 * r + 2500;
    return ratio(0, 0, 1e6 * C1, 0, 0, 1e6 * C1 * C2 * Rt, Rt * (C1 + C2) + 1e6 * C1, 1.0);
}

Transfer toneNetwork(double C1, double C2, double C3, double R1, double R2, double R3, double a3)
{
    const double b2 = (C2 + C3) * C1 * R1 * R2;
    const double a2 = C1 * R2 * (C2 + C3) * R3 + R1 * R2 * (C1 * C2 + C1 * C3 + C2 * C3)
                      + C1 * C2 * R1 * R3;
    const double a1 = (C2 + C3) * R2 + (C1 + C2) * R1 + C1 * R3;
    return ratio(0, b2, C1 * R1, 0, a3, a2, a1, 1.0);
}

std::vector<DesignCase> designCases()
{
    std::vector<DesignCase> v;
    auto vol = [](int type, double volume) {
        return [=](int fs) {
            return make<CVolumeFilter>(fs, [=](CVolumeFilter& f) { f.calculateIR(0, type, volume, fs); });
        };
    };
    v.push_back({"volume guitar 1.0", 44100, 1.75, vol(0, 1.0), highPass(1.0, 0.1)});
    v.push_back({"volume bass 0.39 at 96k", 96000, 1.75, vol(1, 0.39), highPass(0.39, 0.2)});
    v.push_back({"volume 0", 44100, 1.75, vol(0, 0.0), highPass(0.0, 0.1)});

    auto mids = [](int circuit, int type, double m) {
        return [=](int fs) {
            return make<CMidsFilter>(fs, [=](CMidsFilter& f) { f.calculateIR(circuit, type, m, fs); });
        };
    };
    v.push_back({"mids tRat 0.0 (r 1.0)", 44100, 1.4, mids(0, 0, 0.0), tRat(2.2e-8, 3.3e-9, 1.0)});
    v.push_back({"mids tRat 0.5 (r 0.9)", 44100, 1.4, mids(0, 0, 0.5), tRat(2.2e-8, 3.3e-9, 0.9)});
    v.push_back({"mids tRat 1.0 (r 0.1) bass", 48000, 1.4, mids(0, 1, 1.0), tRat(4.4e-8, 6.6e-9, 0.1)});
    v.push_back({"mids tRat 0.75 (r 0.5)", 44100, 1.4, mids(0, 0, 0.75), tRat(2.2e-8, 3.3e-9, 0.5)});
    v.push_back({"mids tBypass", 44100, 1.4, mids(1, 0, 0.3), highPass(1e5 / 251000, 125500 * 1e-7)});

    auto incap = [](int type, int capFilter, double cut) {
        return [=](int fs) {
            return make<CInputCapFilter>(fs, [=](CInputCapFilter& f) { f.calculateIR(0, type, capFilter, cut, fs); });
        };
    };
    auto incapH = [](double Cx) {
        return ratio(0, 0, 1e6 * Cx, 0, 0, Cx, 1e6 * (Cx + 1e-9) + 1e-6, 1.0);
    };
    v.push_back({"input cap guitar", 44100, 1.75, incap(0, 0, 1.0), incapH(2.2e-8)});
    v.push_back({"input cap bass low cut 8", 44100, 1.75, incap(1, 1, 8.0), incapH(4.4e-8 / 8)});

    auto drive = [](int circuit, int type, double x, double vari) {
        return [=](int fs) {
            return make<CDriveFilter>(fs, [=](CDriveFilter& f) { f.calculateIR(circuit, type, x, vari, fs); });
        };
    };
    auto peak = [](double Cx, double x) {
        return ratio(0, 0, 100 * Cx, 0, 0, (0.0274 * x + 0.0026) * Cx, 200 * Cx, 1.0);
    };
    v.push_back({"peak guitar", 44100, 1.75, drive(0, 0, 0.52, 1.0), peak(1.1e-6, 0.52)});
    v.push_back({"peak bass varicap 2", 44100, 1.75, drive(0, 1, 0.1, 2.0), peak(4.4e-6, 0.1)});
    v.push_back({"drive circuit 1", 44100, 1.75, drive(1, 0, 0.5, 1.0), highPass(2e5 / 1.02e6, 4.7e-9 * 1.02e6)});
    v.push_back({"drive circuit 2", 44100, 1.75, drive(2, 0, 0.5, 1.0),
                 toneNetwork(2.2e-9, 2.2e-10, 1e-5, 330000, 2700, 680000, 2.9324592e-9)});
    v.push_back({"drive circuit 3 bass", 44100, 1.75, drive(3, 1, 0.5, 1.0),
                 toneNetwork(2e-9, 4.4e-10, 2e-5, 270000, 1800, 820000, 8.76744e-10)});
    v.push_back({"gain network 0.07", 44100, 1.75, drive(4, 0, 0.07, 1.0), gainNetwork(1e-10, 0.07)});
    v.push_back({"gain network 1.0 bass", 44100, 1.75, drive(4, 1, 1.0, 1.0), gainNetwork(2e-10, 1.0)});
    return v;
}
}

// Every stage's designed response against frequency sampling of its transfer function written
// in closed form: coefficients, bin frequencies, scaling, the packed DC/Nyquist bins, the
// transform and the truncation at N/2 in one comparison.
TEST(CircuitDesignTest, DesignedResponseIsTheFrequencySampledCircuit)
{
    for (const DesignCase& c : designCases())
    {
        const std::unique_ptr<CCircuitFilter> f = c.design(c.fs);
        const std::vector<double> ref = frequencySampled(c.H, c.fs, c.scale);
        double dPeak = 0.0, dError = 0.0;
        for (int n = 0; n < N; ++n)
        {
            dPeak = std::max(dPeak, std::fabs(ref[n]));
            dError = std::max(dError, std::fabs(f->designedResponse(n) - ref[n]));
        }
        EXPECT_LE(dError, 1e-9 * std::max(dPeak, 1e-3)) << c.name << " (peak " << dPeak << ")";
        for (int n = N / 2; n < N; ++n)
            ASSERT_EQ(f->designedResponse(n), 0.0) << c.name << " entry " << n;
    }
}

TEST(CircuitDesignTest, TheDesignAloneDoesNotReachTheWorkingResponseUntilAWindowIsSet)
{
    CVolumeFilter f(44100, 2048, 2048, 64, 0);
    EXPECT_NE(f.designedResponse(0), 0.0);
    for (int n = 0; n < N; ++n)
        ASSERT_EQ(f.workingResponse(n), 0.0) << n;
    f.setDecayWindow(0.0, 44100);
    EXPECT_EQ(f.workingResponse(0), f.designedResponse(0));
}

// Pass-band gain measured by running a sine through the stage: scale * 0.0004 * 2048 * |H|,
// 1.4336 for scale 1.75 and 1.14688 for 1.4.
TEST(CircuitDesignTest, PassbandGainOfARunningStage)
{
    struct Case { const char* name; double scale; std::function<std::unique_ptr<CCircuitFilter>()> make; Transfer H; };
    const int fs = 44100;
    const Case cases[] = {
        {"volume", 1.4336, [] { return std::unique_ptr<CCircuitFilter>(new CVolumeFilter(fs, 2048, 2048, 64, 0)); }, highPass(1.0, 0.1)},
        {"mids tBypass", 1.14688, [] {
             std::unique_ptr<CMidsFilter> p(new CMidsFilter(fs, 2048, 2048, 64, 0));
             p->calculateIR(1, 0, 0.5, fs);
             return std::unique_ptr<CCircuitFilter>(p.release()); }, highPass(1e5 / 251000, 0.01255)},
    };
    for (const Case& c : cases)
    {
        std::unique_ptr<CCircuitFilter> f = c.make();
        f->setDecayWindow(0.0, fs);
        f->setGain(1.0);
        const int kBin = 233;  // about 5 kHz, a whole number of periods in 2048 samples
        const double w = 2 * M_PI * kBin / N;
        Complex sum(0.0, 0.0);
        for (int t = 0; t < 3 * N; ++t)
        {
            f->processSample(std::sin(w * t));
            if (t >= 2 * N)
                sum += f->getOutput() * std::polar(1.0, -w * t);
        }
        const double gain = 2 * std::abs(sum) / N;
        const double ref = c.scale * std::abs(c.H(Complex(0.0, w * fs)));
        EXPECT_NEAR(gain / ref, 1.0, 1e-3) << c.name << " gain " << gain;
    }
}

TEST(CircuitDesignTest, VolumeCornerFromTheDesignSpectrum)
{
    // For K tau s / (tau s + 1): 1/H = (1 - i / (w tau)) / K, so the corner 1/(2 pi tau) is
    // -Im(1/H) f_k K at any bin. The upper half of the spectrum still holds conj S_k.
    for (int type : {0, 1})
    {
        CVolumeFilter f(44100, 2048, 2048, 64, 0);
        f.calculateIR(0, type, 0.5, 44100);
        for (int k : {1, 3, 40})
        {
            const Complex H = std::conj(f.designSpectrum()[N - k]) / 0.0004;
            const double fk = 44100.0 * k / N;
            const double corner = -(1.0 / H).imag() * fk * 0.5;
            EXPECT_NEAR(corner, type == 0 ? 1.5915494 : 0.7957747, 1e-6) << type << " bin " << k;
        }
    }
}

TEST(CircuitDesignTest, InputCapLowCutOfOneEqualsNormal)
{
    CInputCapFilter a(44100, 2048, 2048, 64, 0), b(44100, 2048, 2048, 64, 0),
        c(44100, 2048, 2048, 64, 0);
    a.calculateIR(0, 0, 0, 1.0, 44100);
    b.calculateIR(0, 0, 1, 1.0, 44100);
    c.calculateIR(0, 1, 1, 2.0, 44100);  // bass capacitor halved is the guitar capacitor
    for (int n = 0; n < N; ++n)
    {
        ASSERT_EQ(a.designedResponse(n), b.designedResponse(n)) << n;
        ASSERT_EQ(a.designedResponse(n), c.designedResponse(n)) << n;
    }
}

TEST(CircuitDesignTest, GainNetworkIsUnityAtDcAndFallsWithDrive)
{
    double previous = 1.0 + 1e-12;  // drive 0 leaves the network flat at 1
    for (double x : {0.0, 0.07, 0.5, 1.0})
    {
        CDriveFilter f(44100, 2048, 2048, 64, 0);
        f.calculateIR(4, 0, x, 1.0, 44100);
        const Complex H47 = std::conj(f.designSpectrum()[N - 47]) / 0.0004;  // ~1 kHz
        EXPECT_LT(std::abs(H47), previous) << x;
        if (x > 0)
        {
            EXPECT_LT(std::abs(H47), 0.2) << x;
        }
        previous = std::abs(H47);

        // The even samples carry 2 scale (S0 - SN) on top of the bin sum, with S0 = 0.0004 since
        // H(0) = 1; the odd samples do not.
        const Transfer H = gainNetwork(1e-10, x);
        const double SN = 0.0004 * H(Complex(0.0, M_PI * 44100)).imag();
        const std::vector<double> odd = frequencySampled(
            [&](Complex s) { return s == Complex(0.0, 0.0) ? Complex(SN / 0.0004, 0.0) : H(s); },
            44100, 1.75);
        for (int n : {0, 2, 100})
            EXPECT_NEAR(f.designedResponse(n) - odd[n], 2 * 1.75 * (0.0004 - SN), 1e-12) << n;
        for (int n : {1, 3, 101})
            EXPECT_NEAR(f.designedResponse(n), odd[n], 1e-12) << n;
    }
}

TEST(CircuitDesignTest, PeakCircuitPeaksAtHalfGainAndMovesDownWithDrive)
{
    int lastPeakBin = N;
    for (double x : {0.0, 0.5, 1.0})
    {
        CDriveFilter f(44100, 2048, 2048, 64, 0);
        f.calculateIR(0, 0, x, 1.0, 44100);
        int peakBin = 0;
        double peak = 0.0;
        for (int k = 1; k < N / 2; ++k)
        {
            const double m = std::abs(f.designSpectrum()[N - k]) / 0.0004;
            if (m > peak)
                peak = m, peakBin = k;
        }
        EXPECT_LE(peak, 0.5 + 1e-12) << x;
        EXPECT_GT(peak, 0.45) << x;
        const double w0 = 1.0 / std::sqrt((x * 0.0274 + 0.0026) * 1.1e-6);
        EXPECT_NEAR(peakBin, w0 / (2 * M_PI) / (44100.0 / N), 1.0) << x;
        EXPECT_LT(peakBin, lastPeakBin) << x;
        lastPeakBin = peakBin;
    }
}

// A mode or circuit out of range designs nothing, but gain and window still take effect.
TEST(CircuitDesignTest, OutOfRangeSelectionKeepsTheDesign)
{
    CVolumeFilter vol(44100, 2048, 2048, 64, 0);
    CInputCapFilter incap(44100, 2048, 2048, 64, 0);
    CMidsFilter mids(44100, 2048, 2048, 64, 0);
    CDriveFilter drive(44100, 2048, 2048, 64, 0);
    struct Case { const char* name; CCircuitFilter* f; std::function<void()> redesign; };
    const Case cases[] = {
        {"volume mode 1", &vol, [&] { vol.calculateIR(1, 1, 0.2, 44100); }},
        {"input cap mode 1", &incap, [&] { incap.calculateIR(1, 1, 1, 3.0, 44100); }},
        {"mids circuit 2", &mids, [&] { mids.calculateIR(2, 1, 0.9, 44100); }},
        {"mids circuit -1", &mids, [&] { mids.calculateIR(-1, 0, 0.9, 44100); }},
        {"drive circuit 5", &drive, [&] { drive.calculateIR(5, 1, 0.9, 1.5, 44100); }},
    };
    for (const Case& c : cases)
    {
        c.f->setDecayWindow(0.0, 44100);
        c.f->setGain(1.0);
        std::vector<double> before(N);
        for (int n = 0; n < N; ++n)
            before[n] = c.f->designedResponse(n);
        c.f->setGain(0.5);
        c.f->setDecayWindow(100.0, 44100);
        c.redesign();
        for (int n = 0; n < N; ++n)
        {
            ASSERT_EQ(c.f->designedResponse(n), before[n]) << c.name << " " << n;
            ASSERT_DOUBLE_EQ(c.f->workingResponse(n),
                             std::exp(-(n * 100.0 / 44100)) * 0.5 * before[n])
                << c.name << " " << n;
        }
    }
}

// A circuit driven with values that make it non-finite (a zero cut, a NaN knob from a damaged
// state) is not designed: the previous response stays rather than NaN taps.
TEST(CircuitDesignTest, NonFiniteDesignKeepsThePreviousResponse)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CInputCapFilter incap(44100, 2048, 2048, 64, 0);
    CMidsFilter mids(44100, 2048, 2048, 64, 0);
    CVolumeFilter vol(44100, 2048, 2048, 64, 0);
    CDriveFilter drive(44100, 2048, 2048, 64, 0);
    struct Case { const char* name; CCircuitFilter* f; std::function<void()> redesign; };
    const Case cases[] = {
        {"cap cut 0", &incap, [&] { incap.calculateIR(0, 0, 1, 0.0, 44100); }},
        {"mids NaN", &mids, [&] { mids.calculateIR(0, 0, nan, 44100); }},
        {"volume NaN", &vol, [&] { vol.calculateIR(0, 0, nan, 44100); }},
        {"drive infinite", &drive, [&] { drive.calculateIR(4, 0, std::numeric_limits<double>::infinity(), 1.0, 44100); }},
    };
    for (const Case& c : cases)
    {
        c.f->setDecayWindow(0.0, 44100);
        std::vector<double> before(N);
        for (int n = 0; n < N; ++n)
            before[n] = c.f->designedResponse(n);
        c.redesign();
        for (int n = 0; n < N; ++n)
        {
            ASSERT_EQ(c.f->designedResponse(n), before[n]) << c.name << " " << n;
            ASSERT_TRUE(std::isfinite(c.f->workingResponse(n))) << c.name << " " << n;
        }
    }
}

namespace
{
// An engine that runs a design from raw coefficients.
class CCoefficientDesign : public CCircuitFilter
{
public:
    explicit CCoefficientDesign(int fs) : CCircuitFilter(fs, N, N, 64, 0) {}
    void design(const double* c, int fs, double scale)
    {
        designCircuit(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], fs, scale);
    }
};

// The design written step by step: H(i w_k) with complex powers and division, the packed DC
// and Nyquist bins, and the inverse real transform of BRFFT, its real parts scaled.
std::vector<double> designByDefinition(const double* c, int fs, double scale)
{
    std::vector<Complex> S(N);
    const auto H = [&](int k) {
        const Complex s(0.0, (fs * 0.5 / (N * 0.5)) * 6.283185307179586 * k);
        const Complex s2 = s * s, s3 = s2 * s;
        return (c[0] * s3 + c[1] * s2 + c[2] * s + c[3]) / (c[4] * s3 + c[5] * s2 + c[6] * s + c[7]);
    };
    for (int k = 1; k < N / 2; ++k)
    {
        S[k] = H(k) * Complex(0.0004, 0.0);
        S[N - k] = std::conj(S[k]);
    }
    S[0] = Complex(0.0004 * H(0).real(), 0.0004 * H(N / 2).imag());
    S[N / 2] = S[0];
    BRFFT inverse(N);
    inverse.inverse(S.data());
    std::vector<double> h(N, 0.0);
    for (int n = 0; n < N / 2; ++n)
        h[n] = scale * inverse.output()[n].real();
    return h;
}
}

// The fast design (real arithmetic for H, the half-size transform in vector loops) gives the
// taps of the step-by-step definition to within 1e-12 of the largest tap.
TEST(CircuitDesignTest, FastDesignMatchesTheDefinitionToRounding)
{
    const double x = 0.52, Cx = 1e-10;
    const double gain[8] = {
        Cx * x * 4.7e-6 * 2.2e-6 * 100000 * 560 * 47,
        (Cx * x * 2.2e-6 * 100000 + 5.7904e-9) * 47 + Cx * x * 4.7e-6 * 100000 * 560,
        Cx * x * 100000 + 0.0027354, 1.0, x * 26320 * 100000 * Cx * 4.7e-6 * 2.2e-6,
        ((Cx + 4.7e-6) * 2.2e-6 * x * 100000 + 5.7904e-9) * 47 + (Cx * 4.7e-6 + 1.034e-11) * x * 100000 * 560,
        (Cx + 6.9e-6) * x * 100000 + 0.0027354, 1.0};
    const double peak[8] = {0, 0, 1.1e-6 * 100, 0, 0, (x * 0.0274 + 0.0026) * 1.1e-6, 1.1e-6 * 200, 1.0};
    const double volume[8] = {0, 0, 1e-6 * 0.3 * 100000, 0, 0, 0, 1e-6 * 100000, 1.0};
    const double incap[8] = {0, 0, 2.2e-8 * 1e12, 0, 0, 2.2e-8 * 1e6, (2.2e-8 + 1e-9) * 1e12 + 1, 1e6};
    for (const double* c : {gain, peak, volume, incap})
        for (int fs : {44100, 96000})
        {
            CCoefficientDesign f(fs);
            f.design(c, fs, 1.75);
            const std::vector<double> ref = designByDefinition(c, fs, 1.75);
            double dPeak = 0.0, dError = 0.0;
            for (int n = 0; n < N; ++n)
            {
                dPeak = std::max(dPeak, std::fabs(ref[n]));
                dError = std::max(dError, std::fabs(f.designedResponse(n) - ref[n]));
            }
            EXPECT_LE(dError, 1e-12 * dPeak) << fs << " peak " << dPeak;
        }
}
