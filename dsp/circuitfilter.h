// Uniformly partitioned FFT convolution engine, one sample in and one out per call.
//
// Usage (a stage class derives from CCircuitFilter and designs the response):
//   CVolumeFilter f(44100, 2048, 2048, 64, 0);  // engine plus its default design
//   f.setDecayWindow(0.0, 44100);               // window of ones
//   f.setGain(1.0);                             // working response = window * gain * design
//   for (...) { f.processSample(x); y = f.getOutput(); }
//
// The output is the linear convolution with the working response, delayed by 2*B - 1 = 127
// samples. A changed response (design, gain or window) is picked up one 64-tap partition per
// block, so it is complete 32 blocks after it was written. Everything is allocated in the
// constructor; processSample allocates, locks and throws nothing.
//
// Threads: processSample/getOutput on the audio thread. A design, setGain or setDecayWindow may
// run on another thread: each tap of the working response is written and read atomically, so
// the engine sees old or new taps, never a torn value. Two designs on one object must not
// overlap (they share the design spectrum): an owner that designs from two threads runs them
// through designExclusively.
#pragma once

#include "rfft.h"
#include "enginekernels.h"

#include <atomic>
#include <complex>
#include <memory>
#include <thread>

// History of input spectra and the spectra of the response partitions, each spectrum stored
// as B real parts followed by B imaginary parts (bin 0 carries DC in its real part and Nyquist
// in its imaginary part). Input slot p holds the spectrum of the input block whose number is p
// mod P; response partition q holds the spectrum of taps q*B..q*B+B-1. For the input in slot
// p the sum pairs input slot p-m with response partition m, m = 0..P-1.
class CSpectralDelayLine
{
public:
    typedef std::complex<double> Complex;

    CSpectralDelayLine(int nRingLength, int nPartitionSize);

    CSpectralDelayLine(const CSpectralDelayLine&) = delete;
    CSpectralDelayLine& operator=(const CSpectralDelayLine&) = delete;

    // One bin at a time: stores an input bin and a response bin at nIndex (slot index mod L,
    // ring partition p = slot / B holding input slot p and response partition p-1) and sums
    // the products of the input history with the response partitions for that bin. Returns
    // the new accumulator.
    Complex accumulate(int nIndex, const Complex& cInput, const Complex& cResponse);
    Complex getAccumulator() const { return m_cAccumulator; }

    // Whole spectra, as the engine uses them: B real parts, then B imaginary parts.
    double* inputSlot(int nSlot) { return m_pInput + 2 * m_nPartition * nSlot; }
    double* responsePartition(int nPartition) { return m_pResponse + 2 * m_nPartition * nPartition; }
    int partitionSize() const { return m_nPartition; }
    int partitionCount() const { return m_nPartitions; }

private:
    std::unique_ptr<double[]> m_pStorage;  // both rings and room to align them
    double* m_pInput;                      // P spectra of 2B doubles, on a 64-byte boundary
    double* m_pResponse;                   // P spectra of 2B doubles, on a 64-byte boundary
    Complex m_cAccumulator;                // result of the last accumulate
    int m_nLength;                         // L, a power of two
    int m_nPartition;                      // B, a power of two
    int m_nPartitions;                     // P = L / B
};

class CCircuitFilter
{
public:
    typedef std::complex<double> Complex;

    // Sizes must satisfy: design length a power of two, block size a power of two, convolved
    // length a power-of-two multiple of the block size, offset + convolved <= design length.
    // Any other configuration falls back to (2048, 2048, 64, 0).
    CCircuitFilter(int nSampleRate, int nDesignLength, int nConvolvedLength, int nBlockSize,
                   int nResponseOffset);
    virtual ~CCircuitFilter();

    CCircuitFilter(const CCircuitFilter&) = delete;
    CCircuitFilter& operator=(const CCircuitFilter&) = delete;

    // One filter step is processSample(x) followed by getOutput() (audio thread).
    void processSample(double x);
    double getOutput() const { return m_pOutputBlock[m_nBlockPos]; }

    // Clears the block buffers, the window and the design spectrum; keeps the block and
    // partition positions, the spectral history and both responses.
    void reset();
    void setGain(double dGain);
    void setDecayWindow(double dRate, int nSampleRate);
    void applyResponse();

    // H(i w_k) of the circuit (b3 s^3 + b2 s^2 + b1 s + b0) / (a3 s^3 + a2 s^2 + a1 s + a0)
    // at the frequency of bin k of the design transform.
    Complex evaluateResponse(int k, double b3, double b2, double b1, double b0, double a3,
                             double a2, double a1, double a0, int nSampleRate) const;
    // Stores bin k (and its mirror) of the design spectrum; bin 0 also fills the Nyquist bin.
    void evaluateBin(int k, double b3, double b2, double b1, double b0, double a3, double a2,
                     double a1, double a0, int N, int nSampleRate);
    // Inverse-transforms the design spectrum into the designed response (first N/2 taps,
    // times dScale; the rest zero). A spectrum whose result is not finite leaves the designed
    // response as it was.
    void designFromSpectrum(int N, double dScale);

    // Runs design() (a call that designs this stage from its owner's newest values) so that
    // two designs never overlap, without a lock. A caller that finds the stage busy leaves a
    // redo mark: with bMayWait false (the audio thread) it returns at once, and the holder
    // runs design() once more before it lets go; with bMayWait true it waits until the stage
    // is free and then designs itself. A design() must read the owner's values when it runs,
    // and every design() of one stage must give the same result for the same values. The audio thread runs design() at most twice per call
    // (its own and one redo). Either thread.
    template <class Design>
    void designExclusively(Design&& design, bool bMayWait)
    {
        m_bRedesign.store(true, std::memory_order_release);
        for (;;)
        {
            if (m_bDesignBusy.exchange(true, std::memory_order_acquire))
            {
                if (!bMayWait)
                    return;  // the holder sees the mark and designs with the newest values
                std::this_thread::yield();
                continue;
            }
            // A caller that waited runs its own design in any case: the holder before it may
            // have taken its mark with a design that lacks what this one adds.
            bool bOwn = bMayWait;
            int nDesigns = 0;
            while (m_bRedesign.exchange(false, std::memory_order_acq_rel) || bOwn)
            {
                bOwn = false;
                design();
                if (!bMayWait && ++nDesigns == 2)
                    break;
            }
            m_bDesignBusy.store(false, std::memory_order_release);
            // A mark left after the last look (the other caller returned, or waits for the
            // flag) is taken up here, or by the waiting caller.
            if (!bMayWait || !m_bRedesign.load(std::memory_order_acquire))
                return;
        }
    }

    // Read access for stages, tests and tools.
    int designLength() const { return m_nDesignLength; }
    int blockSize() const { return m_nBlockSize; }
    int partitionCount() const { return m_nPartitions; }
    int latency() const { return 2 * m_nBlockSize - 1; }
    double gain() const { return m_dGain; }
    double window(int i) const { return m_pWindow[i]; }
    double designedResponse(int i) const { return m_pDesignedResponse[i]; }
    double workingResponse(int i) const { return m_pWorkingResponse[i].load(std::memory_order_relaxed); }
    const Complex* designSpectrum() const { return m_pDesignSpectrum.get(); }

protected:
    // Evaluates every bin of a circuit and turns the spectrum into the designed response.
    void designCircuit(double b3, double b2, double b1, double b0, double a3, double a2,
                       double a1, double a0, int nSampleRate, double dScale);
    // Zero-fills the design spectrum.
    void clearDesignSpectrum();
    // The designed response, for stages that fill it by other means than a circuit.
    double* designedResponseData()
    {
        m_bLastDesignValid = false;
        return m_pDesignedResponse.get();
    }

private:
    struct Config
    {
        int nDesignLength;
        int nConvolvedLength;
        int nBlockSize;
        int nResponseOffset;
    };
    static Config checkedConfig(int nDesignLength, int nConvolvedLength, int nBlockSize,
                                int nResponseOffset);
    CCircuitFilter(const Config& config);

    // The work of one block, done in pieces spread over the samples of the next block:
    // forward transforms of the input block and the response partition just collected, the
    // partition sums, the inverse transform and the overlap-add. Every sample runs the
    // pieces scheduled for its position; the last piece runs on the block's last sample.
    enum EPiece : unsigned char
    {
        kInputFirstStage,
        kInputStage,
        kInputSplit,
        kResponseFirstStage,
        kResponseStage,
        kResponseSplit,
        kPartitionSum,
        kInverseSplit,
        kInverseStage,
        kOverlapAdd
    };
    struct TPiece
    {
        EPiece eKind;
        int nArg;  // stage span, partition or part of a split
    };
    void buildSchedule();
    void runPiece(const TPiece& piece);
    // Forward transform of one block of B samples (zeros beyond): the first stage, the
    // remaining stages, and the split into the packed half spectrum of 2B points, times dScale.
    void firstStage(const double* pBlock);
    // The split for bins k and B-k, k in [nBegin, nEnd) of 0..B/2, and the inverse split with
    // the first inverse stage for groups [nBegin, nEnd) of 0..B/2-1: in parts, so that no
    // piece costs much more than another.
    void splitSpectrum(double* pSpectrum, double dScale, int nBegin, int nEnd);
    void inverseSplit(int nBegin, int nEnd);
    static const int kSplitParts = 4;
    void endOfBlock();

    // Configuration
    int m_nDesignLength;     // taps of the designed, window and working responses
    int m_nPartitions;       // P, convolved length / block size
    int m_nBlockSize;        // B, samples per block and taps per partition
    int m_nFftSize;          // F = 2B
    int m_nResponseOffset;   // first working-response tap that is convolved
    int m_nResponseEnd;      // offset + B*P

    // Running state
    int m_nBlockPos;         // 0..B-1, samples into the current block
    int m_nReadPos;          // first tap of the partition being collected
    int m_nCollecting;       // 0 or 1: which input and response block is being filled
    int m_nLastPartition;    // partition collected in the previous block, -1 before any
    int m_nInputSlot;        // ring slot of the previous block's input spectrum
    bool m_bResponseChanged; // the previous block's partition differs from its spectrum

    std::unique_ptr<std::atomic<double>[]> m_pWorkingResponse;  // design length taps
    std::unique_ptr<double[]> m_pDesignedResponse;              // design length taps
    std::unique_ptr<double[]> m_pWindow;                        // design length factors
    double m_dGain;                                             // factor on the whole response

    // Taps of each partition as last transformed. A partition collected with the same taps
    // again has the same spectrum, which the ring already holds: its transform is skipped.
    std::unique_ptr<double[]> m_pTransformedTaps;  // design length taps

    // Block buffers, on cache lines: two input blocks and two response blocks (B each, the
    // one being filled and the previous one), the transform's work area (2 x B), the
    // accumulated output spectrum (2 x B), the output block and the tail to overlap (B each).
    std::unique_ptr<double[]> m_pBuffers;
    double* m_apInput[2];
    double* m_apResponse[2];
    double* m_pWorkRe;
    double* m_pWorkIm;
    double* m_pSumRe;
    double* m_pSumIm;
    double* m_pOutputBlock;
    double* m_pTail;

    // Twiddles of the B-point complex transform: for the stage of span s, s/2 values
    // e^(-+i 2 pi j / s) at offset s/2 - 1 (B - 1 values per direction); then the split's
    // W^k = e^(-i 2 pi k / F), k = 0..B. Real and imaginary parts apart.
    std::unique_ptr<double[]> m_pTwiddles;
    const double* m_pForwardRe;
    const double* m_pForwardIm;
    const double* m_pInverseRe;
    const double* m_pInverseIm;
    const double* m_pSplitRe;
    const double* m_pSplitIm;
    std::unique_ptr<int[]> m_pBitReversed;  // B entries: position of bin k after the stages

    std::unique_ptr<TPiece[]> m_pPieces;
    std::unique_ptr<int[]> m_pPieceStart;  // B+1 entries: pieces of sample k are [start k, start k+1)
    int m_nPieces;

    const TSpectralKernels& m_kernels;
    CSpectralDelayLine m_delayLine;

    std::unique_ptr<Complex[]> m_pDesignSpectrum;  // design length bins
    BRFFT m_designTransform;                       // design length
    // The design's inverse transform, on the half-size complex transform with real and
    // imaginary parts apart: work area (2 x N/2), inverse stage twiddles (2 x N/2, span s at
    // offset s/2 - 1) and bit-reversed positions (N/2).
    std::unique_ptr<double[]> m_pDesignBuffers;
    double* m_pDesignRe;
    double* m_pDesignIm;
    double* m_pDesignTwiddleRe;
    double* m_pDesignTwiddleIm;
    std::unique_ptr<int[]> m_pDesignBitReversed;

    // The inputs of the last design that filled the designed response (coefficients, sample
    // rate, scale); a design with the same inputs again would give the same taps, so it is
    // skipped. Anything else that writes the design spectrum or the response forgets them.
    double m_adLastDesign[10] = {};
    bool m_bLastDesignValid = false;

    std::atomic<bool> m_bDesignBusy{false};  // a design through designExclusively is running
    std::atomic<bool> m_bRedesign{false};    // a design was asked for since the last one began
};
