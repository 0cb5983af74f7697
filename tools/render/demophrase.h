// The demo's input: a short guitar phrase synthesised by plucked-string (Karplus-Strong)
// voices from a fixed seed, so every run and every machine gets the same samples.
#pragma once

#include <vector>

namespace korvessa {
namespace render {

constexpr int kDemoSampleRate = 48000; // Hz
constexpr double kDemoPeakDbfs = -6.0; // level of the phrase's loudest sample

/** The phrase as mono samples at nSampleRate, peaking at kDemoPeakDbfs. */
std::vector<float> synthesizeDemoPhrase (int nSampleRate = kDemoSampleRate);

} // namespace render
} // namespace korvessa
