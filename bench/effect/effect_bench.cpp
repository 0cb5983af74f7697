// ns per stereo frame of CKorvessa::processFrame, and the time of a full preset recall.
//   build/bench/effect/korvessa_effect_bench
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "korvessa.h"

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

// args: preset, sample rate, gate on
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
        float in[2] = {signal[t], signal[(t + 7) & 4095]};
        k->processFrame(in, out, 2, 2);
        benchmark::DoNotOptimize(out);
        t = (t + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ProcessFrame)
    ->ArgNames({"preset", "rate", "gate"})
    ->Args({0, 44100, 0})
    ->Args({0, 96000, 0})
    ->Args({kHighGainInit, 44100, 1})
    ->Args({kHighGainInit, 96000, 1});

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
