#include "rfft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "randomsignal.h"

namespace
{
typedef std::complex<double> Complex;

// Direct evaluation of X[k] = sum x[n] e^(-i 2 pi k n / N).
Complex directDft(const std::vector<double>& x, int k)
{
    const int N = static_cast<int>(x.size());
    Complex sum(0.0, 0.0);
    for (int n = 0; n < N; ++n)
    {
        const double a = -2.0 * M_PI * static_cast<double>((static_cast<long long>(k) * n) % N) / N;
        sum += x[n] * Complex(std::cos(a), std::sin(a));
    }
    return sum;
}
}

TEST(RfftTest, SizesAndStages)
{
    struct Case { int n, half, stages; };
    for (const Case& c : {Case{128, 64, 6}, Case{2048, 1024, 10}, Case{2, 1, 0}})
    {
        RFFT f(c.n);
        EXPECT_EQ(f.half(), c.half) << c.n;
        EXPECT_EQ(f.stageCount(), c.stages) << c.n;
        EXPECT_EQ(f.twiddles()[0], Complex(1.0, 0.0));
        EXPECT_NEAR(f.twiddles()[c.half].real(), -1.0, 1e-15);
    }
}

TEST(RfftTest, ImpulseAndConstant)
{
    for (int n : {128, 2048})
    {
        ARFFT f(n);
        std::vector<double> x(n, 0.0);
        x[0] = 1.0;
        f.forward(x.data());
        for (int k = 0; k < n; ++k)
        {
            EXPECT_NEAR(f.spectrum()[k].real(), 1.0, 1e-13) << n << " bin " << k;
            EXPECT_NEAR(f.spectrum()[k].imag(), 0.0, 1e-13) << n << " bin " << k;
        }
        std::fill(x.begin(), x.end(), 1.0);
        f.forward(x.data());
        EXPECT_NEAR(f.spectrum()[0].real(), n, 1e-10);
        for (int k = 1; k < n; ++k)
            EXPECT_NEAR(std::abs(f.spectrum()[k]), 0.0, 1e-10) << n << " bin " << k;
    }
}

// The forward transform of a random block against the direct DFT, including the mirrored
// upper half and real DC and Nyquist bins.
TEST(RfftTest, ForwardMatchesDirectDft)
{
    for (int n : {128, 2048})
    {
        const std::vector<double> x = randomSignal(n, 7u + n);
        ARFFT f(n);
        f.forward(x.data());
        for (int k = 0; k < n; ++k)
        {
            const Complex ref = directDft(x, k);
            EXPECT_NEAR(f.spectrum()[k].real(), ref.real(), 1e-10) << n << " bin " << k;
            EXPECT_NEAR(f.spectrum()[k].imag(), ref.imag(), 1e-10) << n << " bin " << k;
        }
        EXPECT_NEAR(f.spectrum()[0].imag(), 0.0, 1e-12);
        EXPECT_NEAR(f.spectrum()[n / 2].imag(), 0.0, 1e-12);
    }
}

TEST(RfftTest, InverseOfForwardThenScaleReturnsBlock)
{
    for (int n : {128, 2048})
    {
        const std::vector<double> x = randomSignal(n, 99u + n);
        ARFFT fwd(n);
        BRFFT inv(n);
        fwd.forward(x.data());
        std::vector<Complex> spectrum(fwd.spectrum(), fwd.spectrum() + n);
        inv.inverse(spectrum.data());
        // Before scaling the output is N times the block.
        EXPECT_NEAR(inv.output()[3].real(), n * x[3], 1e-10);
        inv.scale();
        for (int m = 0; m < n; ++m)
        {
            EXPECT_NEAR(inv.output()[m].real(), x[m], 1e-13) << n << " sample " << m;
            EXPECT_EQ(inv.output()[m].imag(), 0.0) << n << " sample " << m;
        }
    }
}

TEST(RfftTest, InverseTouchesOnlyBinsUpToHalf)
{
    const int n = 128;
    const std::vector<double> x = randomSignal(n, 5u);
    ARFFT fwd(n);
    BRFFT inv(n);
    fwd.forward(x.data());
    std::vector<Complex> spectrum(fwd.spectrum(), fwd.spectrum() + n);
    const Complex sentinel(12345.0, -678.0);
    for (int k = n / 2 + 1; k < n; ++k)
        spectrum[k] = sentinel;
    const std::vector<Complex> before = spectrum;
    inv.inverse(spectrum.data());
    inv.scale();
    for (int k = n / 2 + 1; k < n; ++k)
        EXPECT_EQ(spectrum[k], sentinel) << k;
    int nChanged = 0;
    for (int k = 0; k <= n / 2; ++k)
        nChanged += spectrum[k] != before[k];
    EXPECT_GT(nChanged, n / 4);
    // The upper bins are not read: the block still comes back.
    for (int m = 0; m < n; ++m)
        EXPECT_NEAR(inv.output()[m].real(), x[m], 1e-13);
}

TEST(RfftTest, ComplexTransformInNaturalOrder)
{
    // Forward then inverse complex transform of M values returns M times the input.
    const int n = 64;
    ARFFT fwd(n);
    BRFFT inv(n);
    std::vector<Complex> z(n / 2);
    for (int i = 0; i < n / 2; ++i)
        z[i] = Complex(std::sin(0.3 * i), std::cos(1.7 * i));
    fwd.complexTransform(z.data(), n / 2);
    // Bin 1 against its definition.
    Complex ref(0.0, 0.0);
    for (int i = 0; i < n / 2; ++i)
        ref += z[i] * std::polar(1.0, -2.0 * M_PI * i / (n / 2));
    EXPECT_NEAR(std::abs(fwd.spectrum()[1] - ref), 0.0, 1e-12);
    inv.complexTransform(fwd.spectrum(), n / 2);
    for (int i = 0; i < n / 2; ++i)
        EXPECT_NEAR(std::abs(inv.output()[i] - z[i] * double(n / 2)), 0.0, 1e-12) << i;
}

TEST(RfftTest, PrintFormatAndGuards)
{
    // BRFFT of size 4: the complex transform of two values gives their sum and difference.
    BRFFT inv(4);
    const Complex source[2] = {Complex(0.75, -0.25), Complex(0.25, 0.0)};
    inv.complexTransform(source, 2);

    testing::internal::CaptureStdout();
    inv.print(1, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "f[1] = (0.5,-0.25)\n");

    struct Case { int start, count; };
    for (const Case& c : {Case{-1, 4}, Case{0, 0}, Case{2, 3}, Case{0, -1}, Case{4, 1}})
    {
        testing::internal::CaptureStdout();
        inv.print(c.start, c.count);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.start << "," << c.count;
    }

    ARFFT fwd(8);
    std::vector<double> x(8, 0.0);
    x[0] = 1.0;
    fwd.forward(x.data());
    testing::internal::CaptureStdout();
    fwd.printAll();
    const std::string all = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 8);
    EXPECT_EQ(all.rfind("F[0] = (1,", 0), 0u) << all;
    EXPECT_NE(all.find("\nF[7] = (1,"), std::string::npos) << all;

    // The base class prints nothing.
    RFFT base(8);
    testing::internal::CaptureStdout();
    base.printAll();
    base.print(0, 8);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
