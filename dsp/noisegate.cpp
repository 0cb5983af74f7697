#include "noisegate.h"

#include <cmath>

namespace
{
// Factor that leaves 1 % of the distance after dTimeMs. A time that is not positive (or NaN)
// would give a factor above 1 or NaN and let the gain run away for good: it moves at once.
double smoothingCoefficient(double dTimeMs, double dSampleRate)
{
    const double dSamplesMs = dTimeMs * dSampleRate;
    if (!(dSamplesMs > 0.0))
        return 0.0;
    return std::pow(0.01, 1000 / dSamplesMs);
}
}

CNoiseGate::CNoiseGate()
    : m_dCloseCoeff(0.0)
    , m_dOpenCoeff(0.0)
    , m_dThreshold(0.0)
    , m_dTarget(1.0)
    , m_dGain(1.0)
    , m_dOutput(0.0)
{
}

void CNoiseGate::setParameters(double dAttackMs, double dReleaseMs, double dSampleRate,
                               double dThresholdDb)
{
    m_dCloseCoeff = smoothingCoefficient(dAttackMs, dSampleRate);
    m_dOpenCoeff = smoothingCoefficient(dReleaseMs, dSampleRate);
    m_dThreshold = std::pow(10.0, dThresholdDb / 20);
}

double CNoiseGate::process(double x)
{
    m_dTarget = std::fabs(x) > m_dThreshold ? 1.0 : 0.0;
    if (m_dGain > m_dTarget)
        m_dGain = (m_dGain - m_dTarget) * m_dCloseCoeff + m_dTarget;
    else
        m_dGain = (m_dGain - m_dTarget) * m_dOpenCoeff + m_dTarget;
    m_dOutput = x * m_dGain;
    return m_dGain;
}
