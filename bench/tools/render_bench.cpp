// Real-time factor of rendering 60 s of stereo 48 kHz audio through "High Gain Init":
// the counter realtime_factor is seconds of audio rendered per second of wall-clock time.
// The renderer's own work is included (block copies, peaks); file I/O is not. The machine's
// other load shows in the wall-clock figure; realtime_factor_cpu counts this process's CPU time.
#include "demophrase.h"
#include "pluginhost.h"
#include "renderjob.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <vector>

using namespace korvessa::render;

namespace {

constexpr int kRate = 48000;     // Hz
constexpr int kSeconds = 60;     // length of the rendered audio

/** The demo phrase, looped to 60 s, slightly different on the right channel. */
std::vector<float> stereoInput ()
{
	const std::vector<float> phrase = synthesizeDemoPhrase (kRate);
	std::vector<float> s (std::size_t (kRate) * kSeconds * 2);
	for (std::size_t i = 0; i < s.size () / 2; ++i)
	{
		s[2 * i] = phrase[i % phrase.size ()];
		s[2 * i + 1] = 0.8f * phrase[(i + 480) % phrase.size ()];
	}
	return s;
}

/** CPU time of this process, s: on a shared machine a steadier figure than wall-clock time. */
double cpuSeconds ()
{
	timespec ts {};
	clock_gettime (CLOCK_PROCESS_CPUTIME_ID, &ts);
	return double (ts.tv_sec) + 1e-9 * double (ts.tv_nsec);
}

std::string modulePath ()
{
#ifdef KORVESSA_MODULE
	return KORVESSA_MODULE;
#else
	return defaultPluginPath ();
#endif
}

void BM_RenderHighGainInit (benchmark::State& state)
{
	const std::vector<float> input = stereoInput ();
	CPluginModule module;
	std::string szError;
	if (!module.load (modulePath (), szError))
	{
		state.SkipWithError (szError.c_str ());
		return;
	}
	CRenderSettings settings;
	settings.nBlock = static_cast<int> (state.range (0));
	double dAudioSeconds = 0, dWallSeconds = 0, dCpuSeconds = 0;
	for (auto _ : state)
	{
		state.PauseTiming ();
		CPluginInstance inst (module);
		if (!inst.create (szError) || !inst.selectPreset ("High Gain Init", szError))
		{
			state.SkipWithError (szError.c_str ());
			return;
		}
		CMemorySource source (input, 2, kRate);
		CNullSink sink;
		CRenderStats stats;
		state.ResumeTiming ();
		const double dCpu0 = cpuSeconds ();
		if (!renderThrough (inst, source, sink, settings, stats, nullptr, szError))
		{
			state.SkipWithError (szError.c_str ());
			return;
		}
		benchmark::DoNotOptimize (stats.dOutputPeak);
		dAudioSeconds += double (stats.nOutputFrames) / kRate;
		dWallSeconds += stats.dWallSeconds;
		dCpuSeconds += cpuSeconds () - dCpu0;
	}
	state.counters["realtime_factor"] = dWallSeconds > 0 ? dAudioSeconds / dWallSeconds : 0.0;
	state.counters["realtime_factor_cpu"] = dCpuSeconds > 0 ? dAudioSeconds / dCpuSeconds : 0.0;
}

BENCHMARK (BM_RenderHighGainInit)->Arg (512)->Arg (64)->Unit (benchmark::kMillisecond)->UseRealTime ()->Iterations (2);

} // namespace

BENCHMARK_MAIN ();
