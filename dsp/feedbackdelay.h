// Circular-buffer delay with feedback and a wet/dry mix. The pedal runs it as a pure delay
// (feedback 0 %, wet 100 %): the output is the input delayed by exactly `delay` samples.
//
// Usage: CFeedbackDelay d(44100, 128, 0.0, 100.0);   // buffer of 2 * 44100 samples
//        d.reset(128, 0.0, 100.0);
//        d.process(x); y = d.getOutput();
#pragma once

#include <memory>

class CFeedbackDelay
{
public:
    // Allocates 2 * nMaxDelay samples (at least one), then does what reset does.
    CFeedbackDelay(int nMaxDelay, int nDelay, double dFeedbackPercent, double dWetPercent);

    CFeedbackDelay(const CFeedbackDelay&) = delete;
    CFeedbackDelay& operator=(const CFeedbackDelay&) = delete;

    // Sets delay, feedback and mix and clears the buffer; the output is left as it was.
    // The delay is held within 0..buffer length.
    void reset(int nDelay, double dFeedbackPercent, double dWetPercent);

    void process(double x);  // audio thread
    double getOutput() const { return m_dOutput; }

    int bufferLength() const { return m_nBufferLength; }
    int readIndex() const { return m_nReadIndex; }
    int writeIndex() const { return m_nWriteIndex; }
    int delay() const { return m_nDelay; }
    double bufferAt(int i) const { return m_pBuffer[i]; }

private:
    std::unique_ptr<double[]> m_pBuffer;  // delay memory
    int m_nReadIndex;                     // next sample to read
    int m_nWriteIndex;                    // next sample to write
    int m_nBufferLength;                  // 2 * maximum delay, samples
    int m_nMaxDelay;                      // samples, as constructed
    double m_dFeedback;                   // fraction of the delayed sample written back
    double m_dWet;                        // fraction of the delayed sample in the output
    int m_nDelay;                         // samples
    double m_dOutput;                     // last result
};
