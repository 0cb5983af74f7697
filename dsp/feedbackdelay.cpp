#include "feedbackdelay.h"

#include <algorithm>
#include <cmath>

CFeedbackDelay::CFeedbackDelay(int nMaxDelay, int nDelay, double dFeedbackPercent,
                               double dWetPercent)
    : m_nReadIndex(0)
    , m_nWriteIndex(0)
    , m_nBufferLength(nMaxDelay > 0 ? 2 * nMaxDelay : 1)
    , m_nMaxDelay(nMaxDelay)
    , m_dFeedback(0.0)
    , m_dWet(1.0)
    , m_nDelay(0)
    , m_dOutput(0.0)
{
    m_pBuffer.reset(new double[m_nBufferLength]());
    reset(nDelay, dFeedbackPercent, dWetPercent);
}

void CFeedbackDelay::reset(int nDelay, double dFeedbackPercent, double dWetPercent)
{
    // A delay longer than the buffer would read outside it.
    m_nDelay = std::min(std::max(nDelay, 0), m_nBufferLength);
    m_nWriteIndex = 0;
    m_nReadIndex = -m_nDelay;
    if (m_nReadIndex < 0)
        m_nReadIndex += m_nBufferLength;
    m_dFeedback = dFeedbackPercent / 100;
    m_dWet = dWetPercent / 100;
    std::fill_n(m_pBuffer.get(), m_nBufferLength, 0.0);
}

void CFeedbackDelay::process(double x)
{
    const double d = m_nDelay == 0 ? x : m_pBuffer[m_nReadIndex];

    // A non-finite delayed sample is heard once, not fed back: even 0 * NaN is NaN, so without
    // this a single bad sample would circulate through the buffer for good.
    double dFeedback = m_dFeedback * d;
    if (!std::isfinite(dFeedback))
        dFeedback = 0.0;
    m_pBuffer[m_nWriteIndex] = dFeedback + x;

    if (++m_nWriteIndex >= m_nBufferLength)
        m_nWriteIndex = 0;
    if (++m_nReadIndex >= m_nBufferLength)
        m_nReadIndex = 0;

    // A mix weight of exactly 0 drops its path, so a pure delay does not leak a non-finite
    // input straight through (0 * NaN would).
    const double dDry = 1 - m_dWet;
    m_dOutput = (dDry != 0.0 ? dDry * x : 0.0) + (m_dWet != 0.0 ? m_dWet * d : 0.0);
}
