// Drive-related circuits, chosen by index:
//   0  resonant peak (band-pass, gain 0.5 at the peak, which moves down as drive or the
//      variable-capacitor factor rises)
//   1  first-order network
//   2, 3  third-order tone networks
//   4  gain network around the clipping stage (H(0) = 1, far below 1 in the audio band)
//
// Usage: CDriveFilter f(fs, 2048, 2048, 64, 0); f.setDecayWindow(0, fs); f.setGain(1.0);
//        f.calculateIR(4, guitarType, drive, variCap, fs);   // on a knob change
//        f.processSample(x); y = f.getOutput();
#pragma once

#include "circuitfilter.h"

class CDriveFilter : public CCircuitFilter
{
public:
    CDriveFilter(int nSampleRate, int nDesignLength, int nConvolvedLength, int nBlockSize,
                 int nResponseOffset);

    // Circuit 0..4; any other index keeps the previous design. Always ends with applyResponse.
    // Runs on the thread that changed the control (audio or user interface).
    void calculateIR(int nCircuit, int nGuitarType, double dDrive, double dVariCap,
                     int nSampleRate);
};
