// korvessa-smoke: makes the plug-in, sets it up and prepares it, pushes two seconds of a
// decaying 110 Hz plucked tone (stereo) through processFrame and prints frames and peaks.
//
//   korvessa-smoke [preset-slot]     preset slot 0..15, default 0 ("Factory Preset")
//
// Exit status 0 on success, 1 when the plug-in cannot be made, the argument is not a slot or
// the output holds a non-finite sample.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "plugin.h"

namespace {

constexpr int kSampleRate = 44100;    // Hz
constexpr double kSeconds = 2.0;      // s
constexpr double kPitch = 110.0;      // Hz, open A string
constexpr double kDecay = 0.6;        // s, amplitude time constant
constexpr double kLevel = 0.5;        // peak level of the tone before decay, linear

// A plucked string: six harmonics falling as 1/h, higher ones dying faster.
double pluckedTone(double t)
{
    double sum = 0.0;
    for (int h = 1; h <= 6; ++h)
        sum += std::sin(2.0 * M_PI * kPitch * h * t) * std::exp(-t * h / kDecay) / h;
    return kLevel * sum / 1.5;
}

void printPeak(const char* label, double peak)
{
    if (peak > 0.0)
        std::printf("%s %.1f dBFS", label, 20.0 * std::log10(peak));
    else
        std::printf("%s -inf dBFS", label);
}

// Recalls a preset slot the way a host does: each value normalized, then cooked.
void recallPreset(CPlugIn& plugIn, int slot)
{
    for (int position = 0; position < plugIn.m_nControlCount; ++position) {
        const CControlDescriptor* d = plugIn.m_ppControlTable[position];
        if (d == nullptr || d->m_fHigh == d->m_fLow)
            continue;
        const float value = static_cast<float>(d->m_dPresets[slot]);
        plugIn.setNormalized(position, (value - d->m_fLow) / (d->m_fHigh - d->m_fLow), false);
    }
}

} // namespace

int main(int argc, char** argv)
{
    int slot = 0;
    if (argc > 1) {
        char* end = nullptr;
        const long parsed = std::strtol(argv[1], &end, 10);
        if (end == argv[1] || *end != '\0' || parsed < 0 || parsed >= kPresetSlots) {
            std::fprintf(stderr, "korvessa-smoke: preset slot must be 0..%d\n", kPresetSlots - 1);
            return 1;
        }
        slot = static_cast<int>(parsed);
    }

    std::unique_ptr<CPlugIn> plugIn(createPlugIn());
    if (!plugIn) {
        std::fprintf(stderr, "korvessa-smoke: the plug-in could not be made\n");
        return 1;
    }
    plugIn->setUp();
    recallPreset(*plugIn, slot);
    plugIn->m_nSampleRate = kSampleRate;
    plugIn->prepare();

    const long frames = static_cast<long>(kSeconds * kSampleRate);
    double inPeak = 0.0;
    double outPeak = 0.0;
    long nonFinite = 0;
    for (long n = 0; n < frames; ++n) {
        const float sample = static_cast<float>(pluckedTone(static_cast<double>(n) / kSampleRate));
        float in[2] = {sample, sample};
        float out[2] = {0.0f, 0.0f};
        plugIn->processFrame(in, out, 2, 2);
        inPeak = std::fmax(inPeak, std::fabs(sample));
        for (float o : out) {
            if (!std::isfinite(o))
                ++nonFinite;
            else
                outPeak = std::fmax(outPeak, std::fabs(o));
        }
    }

    const char* name = plugIn->m_szPresetNames[slot] != nullptr ? plugIn->m_szPresetNames[slot] : "";
    std::printf("korvessa-smoke: preset %d \"%s\", %ld stereo frames at %d Hz, ", slot, name, frames,
                kSampleRate);
    printPeak("input peak", inPeak);
    std::printf(", ");
    printPeak("output peak", outPeak);
    if (nonFinite > 0)
        std::printf(", %ld non-finite output samples", nonFinite);
    std::printf("\n");
    return nonFinite > 0 ? 1 : 0;
}
