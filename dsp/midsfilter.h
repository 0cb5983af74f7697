// Mid-range tone stage. Circuit 0 ("tRat") is a band-pass whose resistance follows the mids
// knob through a two-slope taper; circuit 1 ("tBypass") is a fixed shelf.
//
// Usage: CMidsFilter f(fs, 2048, 2048, 64, 0); f.setDecayWindow(0, fs); f.setGain(1.0);
//        f.calculateIR(tsType, guitarType, mids, fs);   // on a knob change
//        f.processSample(x); y = f.getOutput();
#pragma once

#include "circuitfilter.h"

class CMidsFilter : public CCircuitFilter
{
public:
    CMidsFilter(int nSampleRate, int nDesignLength, int nConvolvedLength, int nBlockSize,
                int nResponseOffset);

    // Circuit 0 or 1; any other index keeps the previous design. Always ends with
    // applyResponse. Runs on the thread that changed the control (audio or user interface).
    void calculateIR(int nCircuit, int nGuitarType, double dMids, int nSampleRate);

    // Pot fraction of circuit 0: 1 - taper(mids), 1.0 at mids 0, 0.9 at 0.5, 0.1 at 1.
    static double potFraction(double dMids);
};
