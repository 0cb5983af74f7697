// Noise gate: the gain moves toward 1 while |x| is above the threshold and toward 0 otherwise,
// with one time constant for falling ("attack", closing) and one for rising ("release",
// opening). The decision is made from every sample; the gain smoothing is the only envelope.
//
// Usage: CNoiseGate g; g.setParameters(350.0, 25.0, 44100.0, -70.0);
//        g.process(x); y = g.getOutput();
#pragma once

class CNoiseGate
{
public:
    CNoiseGate();

    // Time constants in ms to 1 % of the remaining distance; threshold in dB. Gain, target and
    // output carry over. A non-positive or NaN time gives an immediate move.
    void setParameters(double dAttackMs, double dReleaseMs, double dSampleRate,
                       double dThresholdDb);

    // Returns the new gain (audio thread).
    double process(double x);
    double getOutput() const { return m_dOutput; }

    double gain() const { return m_dGain; }
    double threshold() const { return m_dThreshold; }
    double closeCoefficient() const { return m_dCloseCoeff; }
    double openCoefficient() const { return m_dOpenCoeff; }

private:
    double m_dCloseCoeff;  // per-sample factor of the distance while the gain falls
    double m_dOpenCoeff;   // per-sample factor of the distance while the gain rises or stays
    double m_dThreshold;   // linear amplitude
    double m_dTarget;      // 1.0 open, 0.0 closed
    double m_dGain;        // current gain, 0..1
    double m_dOutput;      // last gated sample
};
