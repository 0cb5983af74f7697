// Output volume stage: the volume pot with the output coupling capacitor,
// H(s) = volume * R*Cx*s / (R*Cx*s + 1), a high-pass with its corner near 1.59 Hz (0.80 Hz bass).
//
// Usage: CVolumeFilter f(fs, 2048, 2048, 64, 0); f.setDecayWindow(0, fs); f.setGain(1.0);
//        f.calculateIR(0, guitarType, volume, fs);   // on a knob change
//        f.processSample(x); y = f.getOutput();
#pragma once

#include "circuitfilter.h"

class CVolumeFilter : public CCircuitFilter
{
public:
    CVolumeFilter(int nSampleRate, int nDesignLength, int nConvolvedLength, int nBlockSize,
                  int nResponseOffset);

    // Mode 0 designs the circuit; any other mode keeps the previous design. Guitar type 1 is
    // bass (doubled capacitor). Always ends with applyResponse.
    // Runs on the thread that changed the control (audio or user interface).
    void calculateIR(int nMode, int nGuitarType, double dVolume, int nSampleRate);
};
