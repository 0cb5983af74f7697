// Cost of the convolution engine and the stage designs, next to two references: a direct-form
// 2048-tap FIR in double precision (one convolution), and zita-convolver running the pedal's
// ten convolutions per stereo frame (the same load as BM_TenStageStereoChain).
#include "drivefilter.h"
#include "inputcapfilter.h"
#include "midsfilter.h"
#include "volumefilter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <x86intrin.h>
#include <memory>
#include <random>
#include <vector>

#include "randomsignal.h"

#ifdef KORVESSA_HAVE_ZITA
#include "zitareference.h"
#endif

namespace
{
const int kTaps = 2048;
const int kBlock = 64;
const int kRun = 64 * kBlock;  // samples per benchmark iteration

// Reports the cost per sample as the counter "s_per_sample" (Google Benchmark prints it with
// an SI prefix, e.g. 35.2n = 35.2 ns) and the throughput as items per second.
void perSample(benchmark::State& state, int nSamplesPerIteration)
{
    const double dSamples = static_cast<double>(state.iterations()) * nSamplesPerIteration;
    state.SetItemsProcessed(static_cast<int64_t>(dSamples));
    state.counters["s_per_sample"] = benchmark::Counter(
        dSamples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
}

// One filter step (processSample + getOutput) with a fixed response.
static void BM_CircuitFilterStatic(benchmark::State& state)
{
    CMidsFilter f(44100, kTaps, kTaps, kBlock, 0);
    f.setDecayWindow(0.0, 44100);
    f.setGain(1.0);
    const std::vector<double> x = randomSignal(kRun, 1);
    double sink = 0.0;
    for (auto _ : state)
    {
        for (int t = 0; t < kRun; ++t)
        {
            f.processSample(x[t]);
            sink += f.getOutput();
        }
        benchmark::DoNotOptimize(sink);
    }
    perSample(state, kRun);
}
BENCHMARK(BM_CircuitFilterStatic)->MeasureProcessCPUTime();

// The same with a new design every block (a knob swept by automation).
static void BM_CircuitFilterRedesignEveryBlock(benchmark::State& state)
{
    CMidsFilter f(44100, kTaps, kTaps, kBlock, 0);
    f.setDecayWindow(0.0, 44100);
    f.setGain(1.0);
    const std::vector<double> x = randomSignal(kRun, 2);
    double sink = 0.0;
    int nDesign = 0;
    for (auto _ : state)
    {
        for (int t = 0; t < kRun; t += kBlock)
        {
            f.calculateIR(0, 0, (nDesign++ % 100) * 0.01, 44100);
            for (int i = 0; i < kBlock; ++i)
            {
                f.processSample(x[t + i]);
                sink += f.getOutput();
            }
        }
        benchmark::DoNotOptimize(sink);
    }
    perSample(state, kRun);
}
BENCHMARK(BM_CircuitFilterRedesignEveryBlock)->MeasureProcessCPUTime();

// Ten stages per stereo frame, as the pedal runs them with the peak on: per channel the input
// stage, the gain network, the peak, the mids and the volume stage, in series.
static void BM_TenStageStereoChain(benchmark::State& state)
{
    const int fs = 44100;
    std::vector<std::unique_ptr<CCircuitFilter>> chain;
    for (int ch = 0; ch < 2; ++ch)
    {
        chain.emplace_back(new CInputCapFilter(fs, kTaps, kTaps, kBlock, 0));
        std::unique_ptr<CDriveFilter> drive(new CDriveFilter(fs, kTaps, kTaps, kBlock, 0));
        drive->calculateIR(4, 0, 0.52, 1.0, fs);
        chain.emplace_back(drive.release());
        chain.emplace_back(new CDriveFilter(fs, kTaps, kTaps, kBlock, 0));
        chain.emplace_back(new CMidsFilter(fs, kTaps, kTaps, kBlock, 0));
        chain.emplace_back(new CVolumeFilter(fs, kTaps, kTaps, kBlock, 0));
    }
    for (auto& f : chain)
    {
        f->setDecayWindow(0.0, fs);
        f->setGain(1.0);
    }
    const std::vector<double> x = randomSignal(kRun, 7);
    double sink = 0.0;
    for (auto _ : state)
    {
        for (int t = 0; t < kRun; ++t)
        {
            for (int ch = 0; ch < 2; ++ch)
            {
                double v = x[t];
                for (int i = 0; i < 5; ++i)
                {
                    CCircuitFilter& f = *chain[5 * ch + i];
                    f.processSample(v);
                    v = f.getOutput();
                }
                sink += v;
            }
        }
        benchmark::DoNotOptimize(sink);
    }
    // Per frame; divide by ten for the cost per stage.
    perSample(state, kRun);
}
BENCHMARK(BM_TenStageStereoChain)->MeasureProcessCPUTime();

// The time stamp counter read in program order (lfence on both sides), so that the work of
// one sample is not overlapped with the next by out-of-order execution.
static inline uint64_t stamp()
{
    _mm_lfence();
    const uint64_t t = __rdtsc();
    _mm_lfence();
    return t;
}

// Even cost: the cycles of each sample position within a 64-sample block, the mean over many
// blocks (the time stamp counter's own cost subtracted), printed as a histogram; the
// counters give the mean and the worst position relative to the mean.
static void BM_CostPerSamplePosition(benchmark::State& state)
{
    CMidsFilter f(44100, kTaps, kTaps, kBlock, 0);
    f.setDecayWindow(0.0, 44100);
    f.setGain(1.0);
    const int kBlocks = 8192;
    const std::vector<double> x = randomSignal(kBlock * kBlocks, 8);
    std::vector<std::vector<uint64_t>> cost(kBlock, std::vector<uint64_t>(kBlocks));
    std::vector<uint64_t> overhead(kBlocks);
    std::vector<unsigned> jitter(kBlocks);
    std::mt19937 rng(9);
    for (unsigned& j : jitter)
        j = rng() % 97;
    double sink = 0.0;
    for (auto _ : state)
    {
        for (int b = 0; b < kBlocks; ++b)
        {
            // A short wait of varying length before each block, so that the counter's ticks
            // fall at a different phase of the block each time and their mean is unbiased.
            for (volatile int w = 0; w < static_cast<int>(jitter[b]); w = w + 1)
            {
            }
            const uint64_t t0 = stamp();
            overhead[b] = stamp() - t0;
            for (int k = 0; k < kBlock; ++k)
            {
                const uint64_t t1 = stamp();
                f.processSample(x[b * kBlock + k]);
                sink += f.getOutput();
                cost[k][b] = stamp() - t1;
            }
        }
        benchmark::DoNotOptimize(sink);
    }
    // The counter ticks coarsely on some machines, so each position takes the mean over the
    // blocks (the phase of the ticks varies from block to block), leaving out the slowest 2 %
    // (interrupts, preemption).
    const auto trimmedMean = [](std::vector<uint64_t> v) {
        std::sort(v.begin(), v.end());
        const size_t nKept = v.size() - v.size() / 50;
        double dSum = 0.0;
        for (size_t i = 0; i < nKept; ++i)
            dSum += static_cast<double>(v[i]);
        return dSum / static_cast<double>(nKept);
    };
    const double dOverhead = trimmedMean(overhead);
    std::vector<double> perPosition(kBlock);
    double dMean = 0.0, dMax = 0.0;
    for (int k = 0; k < kBlock; ++k)
    {
        perPosition[k] = std::max(0.0, trimmedMean(cost[k]) - dOverhead);
        dMean += perPosition[k] / kBlock;
        dMax = std::max(dMax, perPosition[k]);
    }
    std::printf("cost per sample position (time stamp ticks, mean of %d blocks):\n", kBlocks);
    for (int k = 0; k < kBlock; ++k)
        std::printf("  %2d %6.0f %s\n", k, perPosition[k],
                    std::string(static_cast<size_t>(40.0 * perPosition[k] / dMax), '#').c_str());
    state.counters["mean_ticks"] = dMean;
    state.counters["max_over_mean"] = dMax / dMean;
}
BENCHMARK(BM_CostPerSamplePosition)->Iterations(1);

// One calculateIR of each stage; argument 0 is the stage, argument 1 the sample rate.
static void BM_CalculateIR(benchmark::State& state)
{
    const int nStage = static_cast<int>(state.range(0));
    const int fs = static_cast<int>(state.range(1));
    CInputCapFilter incap(fs, kTaps, kTaps, kBlock, 0);
    CDriveFilter drive(fs, kTaps, kTaps, kBlock, 0);
    CMidsFilter mids(fs, kTaps, kTaps, kBlock, 0);
    CVolumeFilter vol(fs, kTaps, kTaps, kBlock, 0);
    const char* kNames[] = {"input cap", "peak (drive 0)", "gain network (drive 4)", "mids",
                            "volume"};
    state.SetLabel(kNames[nStage]);
    double x = 0.3;
    for (auto _ : state)
    {
        x = x > 0.9 ? 0.1 : x + 0.01;
        switch (nStage)
        {
        case 0: incap.calculateIR(0, 0, 1, 1.0 + 10 * x, fs); break;
        case 1: drive.calculateIR(0, 0, x, 1.5, fs); break;
        case 2: drive.calculateIR(4, 0, x, 1.5, fs); break;
        case 3: mids.calculateIR(0, 0, x, fs); break;
        default: vol.calculateIR(0, 0, x, fs); break;
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CalculateIR)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {44100, 96000}})
    ->Unit(benchmark::kMicrosecond);

// Reference: direct-form 2048-tap FIR in double precision, one sample at a time. The history
// is kept twice in a row so that every output is one contiguous dot product.
static void BM_DirectFir2048(benchmark::State& state)
{
    const std::vector<double> h = randomSignal(kTaps, 3);
    const std::vector<double> x = randomSignal(kRun, 4);
    std::vector<double> history(2 * kTaps, 0.0);
    int pos = 0;
    double sink = 0.0;
    for (auto _ : state)
    {
        for (int t = 0; t < kRun; ++t)
        {
            pos = pos == 0 ? kTaps - 1 : pos - 1;
            history[pos] = history[pos + kTaps] = x[t];
            const double* p = &history[pos];
            double y = 0.0;
            for (int n = 0; n < kTaps; ++n)
                y += h[n] * p[n];
            sink += y;
        }
        benchmark::DoNotOptimize(sink);
    }
    perSample(state, kRun);
}
BENCHMARK(BM_DirectFir2048)->MeasureProcessCPUTime();

#ifdef KORVESSA_HAVE_ZITA
// Reference: zita-convolver as its users run this load at its best (vector mode, FFTW
// measured plans, one 2-in/2-out Convproc per stereo stage), ten 2048-tap convolutions per
// stereo frame in five stages in series, 64-frame blocks; compare with BM_TenStageStereoChain.
// Argument 0 without OPT_FFTW_MEASURE. CPU time is taken over the whole process, so work that
// zita-convolver might hand to its own threads is counted too.
static void BM_ZitaTenConvolutions(benchmark::State& state)
{
    const unsigned uOptions = state.range(0) != 0
                                  ? Convproc::OPT_VECTOR_MODE | Convproc::OPT_FFTW_MEASURE
                                  : Convproc::OPT_VECTOR_MODE;
    CZitaReference reference(5, uOptions);
    if (!reference.ready())
    {
        state.SkipWithError("zita-convolver did not start");
        return;
    }
    const std::vector<double> x = randomSignal(kRun, 6);
    std::vector<float> left(kBlock), right(kBlock);
    float sink = 0.0f;
    for (auto _ : state)
    {
        for (int t = 0; t < kRun; t += kBlock)
        {
            for (int i = 0; i < kBlock; ++i)
                left[i] = right[i] = static_cast<float>(x[t + i]);
            reference.process(left.data(), right.data());
            sink += left[0] + right[kBlock - 1];
        }
        benchmark::DoNotOptimize(sink);
    }
    // Per stereo frame, as BM_TenStageStereoChain.
    perSample(state, kRun);
}
BENCHMARK(BM_ZitaTenConvolutions)->Arg(1)->Arg(0)->MeasureProcessCPUTime();
#endif

BENCHMARK_MAIN();
