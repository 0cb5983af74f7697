#include "inputcapfilter.h"

CInputCapFilter::CInputCapFilter(int nSampleRate, int nDesignLength, int nConvolvedLength,
                                 int nBlockSize, int nResponseOffset)
    : CCircuitFilter(nSampleRate, nDesignLength, nConvolvedLength, nBlockSize, nResponseOffset)
{
    calculateIR(0, 0, 0, 1.0, nSampleRate);
}

void CInputCapFilter::calculateIR(int nMode, int nGuitarType, int nCapFilter, double dCapCut,
                                  int nSampleRate)
{
    if (nMode == 0)
    {
        double Cx = nGuitarType == 1 ? 4.4e-8 : 2.2e-8;
        if (nCapFilter == 1)
            Cx = Cx / dCapCut;
        const double b1 = Cx * 1e6 * 1e6;
        const double a2 = Cx * 1e-9 * 1e6 * 1e6 * 1000;
        const double a1 = (Cx + 1e-9) * 1e6 * 1e6 + 1;
        const double a0 = 1e6;
        designCircuit(0.0, 0.0, b1, 0.0, 0.0, a2, a1, a0, nSampleRate, 1.75);
    }
    applyResponse();
}
