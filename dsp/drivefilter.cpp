#include "drivefilter.h"

namespace
{
// Circuits 2 and 3 share one third-order structure; a3 is the guitar value for both types.
struct TToneNetwork
{
    double dC1, dC1Bass;
    double dC2, dC2Bass;
    double dC3, dC3Bass;
    double dR1, dR2, dR3;
    double dA3;
};

const TToneNetwork kToneNetworks[2] = {
    // C1               C2                  C3            R1      R2    R3      a3
    {2.2e-9, 4.4e-9, 2.2e-10, 4.4e-10, 1e-5, 2e-5, 330000, 2700, 680000, 2.9324592e-9},
    {1e-9, 2e-9, 2.2e-10, 4.4e-10, 1e-5, 2e-5, 270000, 1800, 820000, 8.76744e-10},
};
}

CDriveFilter::CDriveFilter(int nSampleRate, int nDesignLength, int nConvolvedLength,
                           int nBlockSize, int nResponseOffset)
    : CCircuitFilter(nSampleRate, nDesignLength, nConvolvedLength, nBlockSize, nResponseOffset)
{
    calculateIR(0, 0, 0.5, 2.0, nSampleRate);
}

void CDriveFilter::calculateIR(int nCircuit, int nGuitarType, double dDrive, double dVariCap,
                               int nSampleRate)
{
    const bool bBass = nGuitarType == 1;
    const double x = dDrive;
    const double kScale = 1.75;
    switch (nCircuit)
    {
    case 0:
    {
        double Cx = dVariCap * 1.1e-6;
        if (bBass)
            Cx = Cx * 2.0;
        const double b1 = Cx * 100;
        const double a2 = (x * 0.0274 + 0.0026) * Cx;
        const double a1 = Cx * 200;
        designCircuit(0.0, 0.0, b1, 0.0, 0.0, a2, a1, 1.0, nSampleRate, kScale);
        break;
    }
    case 1:
    {
        const double Cx = bBass ? 9.4e-9 : 4.7e-9;
        const double b1 = Cx * 200000;
        const double a1 = Cx * 1020000;
        designCircuit(0.0, 0.0, b1, 0.0, 0.0, 0.0, a1, 1.0, nSampleRate, kScale);
        break;
    }
    case 2:
    case 3:
    {
        const TToneNetwork& t = kToneNetworks[nCircuit - 2];
        const double C1 = bBass ? t.dC1Bass : t.dC1;
        const double C2 = bBass ? t.dC2Bass : t.dC2;
        const double C3 = bBass ? t.dC3Bass : t.dC3;
        const double R1 = t.dR1;
        const double R2 = t.dR2;
        const double R3 = t.dR3;
        const double b2 = (C3 + C2) * C1 * R1 * R2;
        const double b1 = C1 * R1;
        const double a3 = t.dA3;
        const double a2 = ((C3 * C1 + C2 * C1) * R3 + ((C2 + C1) * C3 + C2 * C1) * R1) * R2
                          + C2 * C1 * R3 * R1;
        const double a1 = (C3 + C2) * R2 + (C2 + C1) * R1 + C1 * R3;
        designCircuit(0.0, b2, b1, 0.0, a3, a2, a1, 1.0, nSampleRate, kScale);
        break;
    }
    case 4:
    {
        const double Cx = bBass ? 2e-10 : 1e-10;
        const double b3 = Cx * x * 4.7e-6 * 2.2e-6 * 100000 * 560 * 47;
        const double b2 =
            (Cx * x * 2.2e-6 * 100000 + 5.7904e-9) * 47 + Cx * x * 4.7e-6 * 100000 * 560;
        const double b1 = Cx * x * 100000 + 0.0027354;
        const double b0 = 1.0;
        const double a3 = x * 26320 * 100000 * Cx * 4.7e-6 * 2.2e-6;
        const double a2 = ((Cx + 4.7e-6) * 2.2e-6 * x * 100000 + 5.7904e-9) * 47
                          + (Cx * 4.7e-6 + 1.034e-11) * x * 100000 * 560;
        const double a1 = (Cx + 6.9e-6) * x * 100000 + 0.0027354;
        const double a0 = 1.0;
        designCircuit(b3, b2, b1, b0, a3, a2, a1, a0, nSampleRate, kScale);
        break;
    }
    default:
        break;
    }
    applyResponse();
}
