// CKorvessa's signal chain, its set-up and preparation, and its reactions to control changes.
#include "korvessa.h"

#include "korvessaplatform.h"

#include <cmath>

namespace {
constexpr double kSilence = 1e-12;          // input magnitude below which a sample is 0.0
constexpr double kGateOffDb = -65.0;        // threshold at or below which the gate is skipped
constexpr double kFeedbackAmount = 0.1;     // drive-network output fed back into the shaper
constexpr double kPeakMakeUp = 1.8;         // make-up gain after the resonant peak
constexpr int kDelaySamples = 128;
constexpr int kPeakCircuit = 0;
constexpr int kDriveCircuit = 4;
constexpr unsigned int kMono = 1;
constexpr unsigned int kRight = 1;
constexpr unsigned int kLeft = 0;

enum ControlId : uint32_t {
    kDistortion = 0, kPush1, kPush2, kVolume, kMids, kTrim, kGuitarType, kVariCap, kPeak2,
    kStereoMono, kLeftRight, kTSType, kBoost, kAttack, kRelease, kThreshold, kPlus,
    kSlopeShift, kIncapFilter, kIncapCut
};
} // namespace

CKorvessa::Chain CKorvessa::chain(bool right)
{
    if (right)
        return {*m_pGateR, *m_pIncapR, *m_pDriveR, *m_pShaperR, *m_pDelayR, *m_pPeakR,
                *m_pMidsR, *m_pVolumeR};
    return {*m_pGateL, *m_pIncapL, *m_pDriveL, *m_pShaperL, *m_pDelayL, *m_pPeakL, *m_pMidsL,
            *m_pVolumeL};
}

float CKorvessa::processChain(const Chain& c, float x)
{
    // A non-finite sample would circulate for good through the shaper's feedback path, so it
    // enters the chain as silence, as does anything below the noise floor.
    double v = 0.0;
    if (std::isfinite(x) && std::fabs(static_cast<double>(x)) >= kSilence) {
        const float trimmed = x * m_fTrim;
        if (std::isfinite(trimmed))
            v = trimmed;
    }

    double s;
    if (m_fNG2Threshold > kGateOffDb) {
        c.gate.process(m_fDriveGain * v);
        s = c.gate.getOutput();
    } else {
        s = m_fDriveGain * v;
    }

    c.incap.processSample(s);
    const double a = c.incap.getOutput();
    const double f = c.drive.getOutput();    // the feedback network's output of the last frame
    c.shaper.process(a - kFeedbackAmount * f);
    c.delay.process(c.shaper.getOutput());
    c.drive.processSample(c.shaper.getOutput());

    double m = c.delay.getOutput();
    if (m_uPeak2 != 0) {
        c.peak.processSample(m);
        m = c.peak.getOutput() * kPeakMakeUp;
    }
    c.mids.processSample(m);
    c.volume.processSample(c.mids.getOutput());
    return static_cast<float>(c.volume.getOutput());
}

bool CKorvessa::processFrame(float* in, float* out, uint32_t inChannels, uint32_t outChannels)
{
    applySampleAccurateValues();
    advanceSmoothing();

    const bool mono = m_uStereoMono == kMono;
    const float left = (mono && m_uLeftRight == kRight && inChannels != 1) ? in[1] : in[0];
    const float right = (mono && m_uLeftRight == kLeft) ? in[0] : in[1];

    out[0] = processChain(chain(false), left);
    out[1] = processChain(chain(true), right);
    return true;
}

void CKorvessa::updateDriveGain()
{
    float k;
    if (m_uPlus == 0)
        k = m_fDistortion * m_fDriveScale;
    else if (m_uPlus == 1)
        k = m_fDistortion * m_fDriveScale * m_fPlusGain;
    else
        return;
    m_fDriveGain = static_cast<float>(k * (m_fBoost * 0.4 + m_fPush1));
}

void CKorvessa::designAll(int incapFilter, double incapCut)
{
    const int fs = m_nSampleRate;
    const int guitar = static_cast<int>(m_uGuitarType);
    const auto windowAndGain = [fs](CCircuitFilter& l, CCircuitFilter& r) {
        l.setDecayWindow(0.0, fs);
        r.setDecayWindow(0.0, fs);
        l.setGain(1.0);
        r.setGain(1.0);
    };

    m_pMidsL->calculateIR(static_cast<int>(m_uTSType), guitar, m_fMids, fs);
    m_pMidsR->calculateIR(static_cast<int>(m_uTSType), guitar, m_fMids, fs);
    windowAndGain(*m_pMidsL, *m_pMidsR);

    m_pIncapL->calculateIR(0, guitar, incapFilter, incapCut, fs);
    m_pIncapR->calculateIR(0, guitar, incapFilter, incapCut, fs);
    windowAndGain(*m_pIncapL, *m_pIncapR);

    m_pPeakL->calculateIR(kPeakCircuit, guitar, m_fDistortion, m_fVariCap, fs);
    m_pPeakR->calculateIR(kPeakCircuit, guitar, m_fDistortion, m_fVariCap, fs);
    windowAndGain(*m_pPeakL, *m_pPeakR);

    m_pDriveL->calculateIR(kDriveCircuit, guitar, m_fDistortion, m_fVariCap, fs);
    m_pDriveR->calculateIR(kDriveCircuit, guitar, m_fDistortion, m_fVariCap, fs);
    windowAndGain(*m_pDriveL, *m_pDriveR);

    m_pVolumeL->calculateIR(0, guitar, m_fVolume, fs);
    m_pVolumeR->calculateIR(0, guitar, m_fVolume, fs);
    windowAndGain(*m_pVolumeL, *m_pVolumeR);

    m_pGateL->setParameters(m_fAttackMsec, m_fReleaseMsec, fs, m_fNG2Threshold);
    m_pGateR->setParameters(m_fAttackMsec, m_fReleaseMsec, fs, m_fNG2Threshold);

    m_pDelayL->reset(kDelaySamples, 0.0, 100.0);
    m_pDelayR->reset(kDelaySamples, 0.0, 100.0);

    updateDriveGain();
}

bool CKorvessa::setUp()
{
    // Flush denormal results to zero and treat denormal inputs as zero on the creating
    // thread; the setting stays.
    korvessa::platform::flushDenormals();
    m_pShaperL->reset();
    m_pShaperR->reset();
    // The input stage starts from its initial switch and cut (NORMAL, 1.0).
    designAll(0, 1.0);
    return true;
}

bool CKorvessa::prepare()
{
    m_pShaperL->selectCurve(0);
    m_pShaperR->selectCurve(0);
    designAll(static_cast<int>(m_uIncapFilter), m_fIncapCut);
    return CPlugIn::prepare();
}

bool CKorvessa::controlChanged(uint32_t controlId)
{
    const int fs = m_nSampleRate;
    const int guitar = static_cast<int>(m_uGuitarType);

    const auto designMids = [&] {
        m_pMidsL->calculateIR(static_cast<int>(m_uTSType), guitar, m_fMids, fs);
        m_pMidsR->calculateIR(static_cast<int>(m_uTSType), guitar, m_fMids, fs);
    };
    const auto designIncap = [&] {
        m_pIncapL->calculateIR(0, guitar, static_cast<int>(m_uIncapFilter), m_fIncapCut, fs);
        m_pIncapR->calculateIR(0, guitar, static_cast<int>(m_uIncapFilter), m_fIncapCut, fs);
    };
    const auto designPeakAndDrive = [&] {
        m_pPeakL->calculateIR(kPeakCircuit, guitar, m_fDistortion, m_fVariCap, fs);
        m_pPeakR->calculateIR(kPeakCircuit, guitar, m_fDistortion, m_fVariCap, fs);
        m_pDriveL->calculateIR(kDriveCircuit, guitar, m_fDistortion, m_fVariCap, fs);
        m_pDriveR->calculateIR(kDriveCircuit, guitar, m_fDistortion, m_fVariCap, fs);
    };
    const auto designVolume = [&] {
        m_pVolumeL->calculateIR(0, guitar, m_fVolume, fs);
        m_pVolumeR->calculateIR(0, guitar, m_fVolume, fs);
    };
    const auto setGates = [&] {
        m_pGateL->setParameters(m_fAttackMsec, m_fReleaseMsec, fs, m_fNG2Threshold);
        m_pGateR->setParameters(m_fAttackMsec, m_fReleaseMsec, fs, m_fNG2Threshold);
    };

    switch (controlId) {
    case kDistortion:
    case kVariCap:
        designPeakAndDrive();
        updateDriveGain();
        break;
    case kPush1:
    case kBoost:
    case kPlus:
        updateDriveGain();
        break;
    case kVolume:
        designVolume();
        break;
    case kMids:
    case kTSType:
        designMids();
        break;
    case kGuitarType:
        designMids();
        designIncap();
        designPeakAndDrive();
        designVolume();
        break;
    case kAttack:
    case kRelease:
    case kThreshold:
        setGates();
        break;
    case kIncapFilter:
    case kIncapCut:
        designIncap();
        break;
    default:
        // Push2, Trim, Peak2, StereoMono, LeftRight, SlopeShift (read per frame or not at
        // all) and the buttons 50..52.
        break;
    }
    return true;
}
