// ns per stereo frame of CKorvessa::processFrame next to zita-convolver doing the chain's ten
// convolutions, and the time of a full preset recall. For ratios from one run:
//   build/bench/effect/korvessa_effect_bench --benchmark_repetitions=7
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "korvessa.h"

#ifdef KORVESSA_HAVE_ZITA
#include "zitareference.h"
#endif

namespace {

constexpr int kHighGainInit = 11;
constexpr int kThreshold = 15;

std::unique_ptr<CKorvessa> makePedal(int preset, int sampleRate, bool gateOn)
{
    auto k = std::make_unique<CKorvessa>();
    k->setUp();
    for (int i = 0; i < k->m_nControlCount; ++i)
        k->setPlain(i, static_cast<float>(k->m_ppControlTable[i]->m_dPresets[preset]));
    if (gateOn)
        k->setPlain(kThreshold, -50.0f);
    k->m_nSampleRate = sampleRate;
    k->prepare();
    return k;
}

// Reports the cost per stereo frame as the counter "s_per_frame" (printed with an SI prefix,
// e.g. 150n = 150 ns).
void perFrame(benchmark::State& state, int framesPerIteration)
{
    const double frames = static_cast<double>(state.iterations()) * framesPerIteration;
    state.SetItemsProcessed(static_cast<int64_t>(frames));
    state.counters["s_per_frame"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

constexpr int kBlock = 64;
constexpr int kBlocksPerIteration = 16;

// The whole chain in 64-frame blocks, as a host calls it. args: preset, sample rate, gate on
void BM_ProcessFrame(benchmark::State& state)
{
    auto k = makePedal(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                       state.range(2) != 0);
    std::vector<float> signal(4096);
    for (size_t t = 0; t < signal.size(); ++t)
        signal[t] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * 196.0 * t / 44100.0));
    size_t t = 0;
    float out[2];
    for (auto _ : state) {
        for (int n = 0; n < kBlock * kBlocksPerIteration; ++n) {
            float in[2] = {signal[t], signal[(t + 7) & 4095]};
            k->processFrame(in, out, 2, 2);
            benchmark::DoNotOptimize(out);
            t = (t + 1) & 4095;
        }
    }
    perFrame(state, kBlock * kBlocksPerIteration);
}
BENCHMARK(BM_ProcessFrame)
    ->ArgNames({"preset", "rate", "gate"})
    ->Args({0, 48000, 0})
    ->Args({kHighGainInit, 48000, 1})
    ->Args({0, 96000, 0})
    ->Args({kHighGainInit, 96000, 1});

#ifdef KORVESSA_HAVE_ZITA
// The reference for the chain's convolutions: zita-convolver at its best doing the same ten
// 2048-tap convolutions per stereo frame (five 2-in/2-out stages in series, 64-frame blocks).
// CPU time of the whole process, so that any thread of zita-convolver's is counted.
void BM_ZitaTenConvolutions(benchmark::State& state)
{
    CZitaReference reference(5);
    if (!reference.ready()) {
        state.SkipWithError("zita-convolver did not start");
        return;
    }
    std::vector<float> left(kBlock), right(kBlock);
    size_t t = 0;
    for (auto _ : state) {
        for (int b = 0; b < kBlocksPerIteration; ++b) {
            for (int i = 0; i < kBlock; ++i, ++t) {
                left[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * 196.0 * t / 44100.0));
                right[i] = left[i];
            }
            reference.process(left.data(), right.data());
            benchmark::DoNotOptimize(left.data());
        }
    }
    perFrame(state, kBlock * kBlocksPerIteration);
}
BENCHMARK(BM_ZitaTenConvolutions)->MeasureProcessCPUTime();
#endif

// All twenty controls written one by one, each with its redesigns, as a host's preset recall.
void BM_PresetRecall(benchmark::State& state)
{
    auto k = makePedal(0, 48000, false);
    int preset = 0;
    for (auto _ : state) {
        preset = preset == kHighGainInit ? 0 : kHighGainInit;
        for (int i = 0; i < k->m_nControlCount; ++i) {
            const CControlDescriptor* d = k->m_ppControlTable[i];
            const double plain = d->m_dPresets[preset];
            k->setNormalized(i, static_cast<float>((plain - d->m_fLow) / (d->m_fHigh - d->m_fLow)),
                             true);
        }
    }
}
BENCHMARK(BM_PresetRecall)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
