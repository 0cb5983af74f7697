// Input coupling stage: the guitar's source network into the input capacitor. "Low cut" mode
// divides the capacitor by the cut factor, moving the high-pass corner up.
//
// Usage: CInputCapFilter f(fs, 2048, 2048, 64, 0); f.setDecayWindow(0, fs); f.setGain(1.0);
//        f.calculateIR(0, guitarType, capFilter, capCut, fs);   // on a control change
//        f.processSample(x); y = f.getOutput();
#pragma once

#include "circuitfilter.h"

class CInputCapFilter : public CCircuitFilter
{
public:
    CInputCapFilter(int nSampleRate, int nDesignLength, int nConvolvedLength, int nBlockSize,
                    int nResponseOffset);

    // Mode 0 designs the circuit; any other mode keeps the previous design. Cap filter 0 is
    // normal, 1 low cut (capacitor / cap cut). Always ends with applyResponse.
    // Runs on the thread that changed the control (audio or user interface).
    void calculateIR(int nMode, int nGuitarType, int nCapFilter, double dCapCut, int nSampleRate);
};
