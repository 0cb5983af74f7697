// Radix-2 real FFT in double precision.
//
// Usage:
//   ARFFT fwd(128);             fwd.forward(samples);        // fwd.spectrum()[0..N-1]
//   BRFFT inv(128);             inv.inverse(spectrum);       // inv.output()[m] = (N*x[m], 0)
//                               inv.scale();                 // now the true inverse
//
// Both directions are unnormalised: forward gives X[k] = sum x[n] e^(-i 2 pi k n / N) and
// inverse gives N times the true inverse. Sizes are powers of two (the filters use 128 and
// 2048). Every array is allocated in the constructor; no call allocates. One object is used
// by one thread at a time; distinct objects are independent.
#pragma once

#include <complex>
#include <memory>

class RFFT
{
public:
    typedef std::complex<double> Complex;

    explicit RFFT(int nSize);
    virtual ~RFFT();

    RFFT(const RFFT&) = delete;
    RFFT& operator=(const RFFT&) = delete;

    // Slot order: complexTransform, print, printAll, forward, inverse. RFFT's bodies do nothing.
    virtual void complexTransform(const Complex* pSource, int nCount);
    virtual void print(int nStart, int nCount);
    virtual void printAll();
    virtual void forward(const double* pInput);
    virtual void inverse(Complex* pSpectrum);

    // In-place bit-reversal permutation of nCount values (nCount a power of two).
    void bitReverse(int nCount, Complex* pData);
    // Multiplies every entry of the output array by 1/N.
    void scale();

    int size() const { return m_nSize; }
    int half() const { return m_nHalf; }
    int stageCount() const { return m_nStages; }
    const Complex* twiddles() const { return m_pTwiddle.get(); }
    const Complex* output() const { return m_pOutput.get(); }
    const Complex* spectrum() const { return m_pSpectrum.get(); }
    Complex* output() { return m_pOutput.get(); }
    Complex* spectrum() { return m_pSpectrum.get(); }

protected:
    // Fills the butterfly twiddles of every stage for the direction dSign (-1 forward, +1
    // inverse), each stage's run made by the recurrence w = w * e^(i dSign 2 pi / span).
    void prepareStageTwiddles(double dSign);
    // Radix-2 decimation-in-frequency transform of pData in place, natural order out, in the
    // direction prepared by prepareStageTwiddles.
    void transformInPlace(Complex* pData, int nCount);
    // Writes entries of pData with the given letter, guarded against out-of-range requests.
    void printEntries(const Complex* pData, char cLetter, int nStart, int nCount);

    int m_nSize;                            // N, samples
    int m_nHalf;                            // M = N/2, length of the complex transform
    int m_nStages;                          // log2 M (0 when M <= 1)
    std::unique_ptr<Complex[]> m_pTwiddle;  // M+1 entries, W[j] = e^(-i 2 pi j / N)
    std::unique_ptr<Complex[]> m_pOutput;   // N entries, result of BRFFT
    std::unique_ptr<Complex[]> m_pSpectrum; // N entries, result of ARFFT
    std::unique_ptr<Complex[]> m_pStageTwiddle;  // M entries: the twiddle runs of all stages
    double m_dSize;                         // N as double, for scale
    double m_dAngleUnit;                    // 2 pi / N, radians
};

// Forward transform of a real block of N samples.
class ARFFT : public RFFT
{
public:
    explicit ARFFT(int nSize);
    ~ARFFT() override;

    // Forward complex FFT of nCount (= M) values into the spectrum array.
    void complexTransform(const Complex* pSource, int nCount) override;
    void print(int nStart, int nCount) override;  // spectrum entries, letter "F"
    void printAll() override;
    // Reads N reals, leaves the full N-bin spectrum (X[N-k] = conj X[k]) in spectrum().
    void forward(const double* pInput) override;

private:
    std::unique_ptr<Complex[]> m_pStaging;  // M entries: sample pairs as complex values
};

// Inverse transform of the spectrum of a real block.
class BRFFT : public RFFT
{
public:
    explicit BRFFT(int nSize);

    // Inverse (unscaled) complex FFT of nCount (= M) values into the output array.
    void complexTransform(const Complex* pSource, int nCount) override;
    void print(int nStart, int nCount) override;  // output entries, letter "f"
    void printAll() override;
    // Reads bins 0..M of pSpectrum and overwrites them with intermediate values; leaves
    // (N*x[m], 0.0) in output()[m].
    void inverse(Complex* pSpectrum) override;
};
