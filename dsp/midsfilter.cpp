#include "midsfilter.h"

CMidsFilter::CMidsFilter(int nSampleRate, int nDesignLength, int nConvolvedLength,
                         int nBlockSize, int nResponseOffset)
    : CCircuitFilter(nSampleRate, nDesignLength, nConvolvedLength, nBlockSize, nResponseOffset)
{
    calculateIR(0, 0, 0.5, nSampleRate);
}

double CMidsFilter::potFraction(double dMids)
{
    const double dTaper = dMids <= 0.5 ? 0.2 * dMids : 1.6 * dMids - 0.7;
    return 1.0 - dTaper;
}

void CMidsFilter::calculateIR(int nCircuit, int nGuitarType, double dMids, int nSampleRate)
{
    const bool bBass = nGuitarType == 1;
    if (nCircuit == 0)
    {
        const double C1 = bBass ? 4.4e-8 : 2.2e-8;
        const double C2 = bBass ? 6.6e-9 : 3.3e-9;
        const double r = potFraction(dMids);
        const double b1 = C1 * 1e6;
        const double a2 = (r * C2 * C1 * 100000 + C1 * C2 * 1500 + C2 * 1000 * C1) * 1e6;
        const double a1 = (r * C1 + r * C2) * 100000 + ((C1 + C2) * 1500 + C1 * 1e6)
                          + C1 * 1000 + C2 * 1000;
        const double a0 = 1.0;
        // Every bin of the design spectrum is written by the design, so it starts from zeros
        // in effect without a separate clearing pass.
        designCircuit(0.0, 0.0, b1, 0.0, 0.0, a2, a1, a0, nSampleRate, 1.4);
    }
    else if (nCircuit == 1)
    {
        const double Cx = bBass ? 2e-7 : 1e-7;
        const double b1 = Cx * Cx * 100000;
        const double a1 = Cx * Cx * 251000;
        const double a0 = Cx + Cx;
        designCircuit(0.0, 0.0, b1, 0.0, 0.0, 0.0, a1, a0, nSampleRate, 1.4);
    }
    applyResponse();
}
