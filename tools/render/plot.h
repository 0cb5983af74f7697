// Pictures of renders for a person to look at, drawn with cairo: waveforms (min/max per pixel
// column) and averaged spectra on a logarithmic frequency axis.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace korvessa {
namespace render {

/** One render: input and output waveform, and both spectra in one panel. Mono signals
    (stereo renders are shown as the mean of their channels). */
bool writeRenderPlot (const std::string& szPath, const std::string& szTitle,
                      const std::vector<float>& input, const std::vector<float>& output,
                      int nSampleRate, std::string& szError);

/** The demo overview: the input on top, then one tile per preset with its output waveform
    and its spectrum over the input's. */
bool writeOverviewPlot (const std::string& szPath, const std::string& szTitle,
                        const std::vector<float>& input,
                        const std::vector<std::pair<std::string, std::vector<float>>>& outputs,
                        int nSampleRate, std::string& szError);

/** Frees cairo's and fontconfig's process-wide caches; call once when no drawing follows,
    so leak checkers see a clean exit. */
void releaseDrawingCaches ();

} // namespace render
} // namespace korvessa
