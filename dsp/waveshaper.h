// Clipping stage: a fixed asymmetric transfer curve of 101 points over x = -1..1 (step 0.02),
// linearly interpolated, with the first and last segments extended beyond the ends.
//
// Usage: CWaveShaper s(101); s.process(x); y = s.getOutput();
// A NaN or infinite input is treated as silence (x = 0): the stage sits in a feedback loop,
// and a non-finite value passed on would circulate there for good.
#pragma once

class CWaveShaper
{
public:
    static constexpr int kPointCount = 101;

    // The curve always has 101 points; another count is ignored.
    explicit CWaveShaper(int nPointCount = kPointCount);

    void process(double x);  // audio thread
    double getOutput() const { return m_dOutput; }

    // Reloads the curve and clears the output.
    void reset();
    // Reloads the curve; there is one curve (index 0) and any index falls back to it.
    void selectCurve(int nIndex);

    int pointCount() const { return m_nPointCount; }
    static const double* curve();

private:
    int m_nPointCount;        // points in the curve
    const double* m_pCurve;   // curve[j] is the output for x = -1 + 0.02 j
    double m_dOutput;         // last result
};
