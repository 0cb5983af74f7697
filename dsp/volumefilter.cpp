#include "volumefilter.h"

CVolumeFilter::CVolumeFilter(int nSampleRate, int nDesignLength, int nConvolvedLength,
                             int nBlockSize, int nResponseOffset)
    : CCircuitFilter(nSampleRate, nDesignLength, nConvolvedLength, nBlockSize, nResponseOffset)
{
    calculateIR(0, 0, 1.0, nSampleRate);
}

void CVolumeFilter::calculateIR(int nMode, int nGuitarType, double dVolume, int nSampleRate)
{
    if (nMode == 0)
    {
        const double Cx = nGuitarType == 1 ? 2e-6 : 1e-6;
        const double R = 100000;
        const double b1 = Cx * dVolume * R;
        const double a1 = Cx * R;
        const double a0 = 1.0;
        designCircuit(0.0, 0.0, b1, 0.0, 0.0, 0.0, a1, a0, nSampleRate, 1.75);
    }
    applyResponse();
}
