// CKorvessa's signal chain, its set-up and preparation, and its reactions to control changes.
#include "korvessa.h"

#include "korvessaplatform.h"

#include <cmath>
#include <thread>

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
    // Remember the processing thread: designs asked for on it never wait (controlChanged).
    const std::thread::id self = std::this_thread::get_id();
    if (m_audioThread.load(std::memory_order_relaxed) != self)
        m_audioThread.store(self, std::memory_order_relaxed);

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

bool CKorvessa::mayWaitForDesigns() const
{
    return std::this_thread::get_id() != m_audioThread.load(std::memory_order_relaxed);
}

void CKorvessa::designMids(bool withWindowAndGain)
{
    const bool mayWait = mayWaitForDesigns();
    for (CMidsFilter* f : {m_pMidsL.get(), m_pMidsR.get()})
        f->designExclusively([this, f, withWindowAndGain] {
            f->calculateIR(static_cast<int>(m_uTSType), static_cast<int>(m_uGuitarType), m_fMids,
                           m_nSampleRate);
            if (withWindowAndGain)
                setWindowAndGain(*f);
        }, mayWait);
}

void CKorvessa::designIncap(int incapFilter, double incapCut, bool withWindowAndGain)
{
    const bool mayWait = mayWaitForDesigns();
    for (CInputCapFilter* f : {m_pIncapL.get(), m_pIncapR.get()})
        f->designExclusively([this, f, incapFilter, incapCut, withWindowAndGain] {
            // A negative switch stands for the current "IncapFilter" and "Incap Cut".
            const bool current = incapFilter < 0;
            f->calculateIR(0, static_cast<int>(m_uGuitarType),
                           current ? static_cast<int>(m_uIncapFilter) : incapFilter,
                           current ? double(m_fIncapCut) : incapCut, m_nSampleRate);
            if (withWindowAndGain)
                setWindowAndGain(*f);
        }, mayWait);
}

void CKorvessa::designPeakAndDrive(bool withWindowAndGain)
{
    const bool mayWait = mayWaitForDesigns();
    const auto design = [&](CDriveFilter* f, int circuit) {
        f->designExclusively([this, f, circuit, withWindowAndGain] {
            f->calculateIR(circuit, static_cast<int>(m_uGuitarType), m_fDistortion, m_fVariCap,
                           m_nSampleRate);
            if (withWindowAndGain)
                setWindowAndGain(*f);
        }, mayWait);
    };
    design(m_pPeakL.get(), kPeakCircuit);
    design(m_pPeakR.get(), kPeakCircuit);
    design(m_pDriveL.get(), kDriveCircuit);
    design(m_pDriveR.get(), kDriveCircuit);
}

void CKorvessa::designVolume(bool withWindowAndGain)
{
    const bool mayWait = mayWaitForDesigns();
    for (CVolumeFilter* f : {m_pVolumeL.get(), m_pVolumeR.get()})
        f->designExclusively([this, f, withWindowAndGain] {
            f->calculateIR(0, static_cast<int>(m_uGuitarType), m_fVolume, m_nSampleRate);
            if (withWindowAndGain)
                setWindowAndGain(*f);
        }, mayWait);
}

void CKorvessa::setWindowAndGain(CCircuitFilter& f)
{
    f.setDecayWindow(0.0, m_nSampleRate);
    f.setGain(1.0);
}

void CKorvessa::designAll(int incapFilter, double incapCut)
{
    const int fs = m_nSampleRate;
    designMids(true);
    designIncap(incapFilter, incapCut, true);
    designPeakAndDrive(true);
    designVolume(true);

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
    const auto setGates = [&] {
        m_pGateL->setParameters(m_fAttackMsec, m_fReleaseMsec, fs, m_fNG2Threshold);
        m_pGateR->setParameters(m_fAttackMsec, m_fReleaseMsec, fs, m_fNG2Threshold);
    };

    switch (controlId) {
    case kDistortion:
    case kVariCap:
        designPeakAndDrive(false);
        updateDriveGain();
        break;
    case kPush1:
    case kBoost:
    case kPlus:
        updateDriveGain();
        break;
    case kVolume:
        designVolume(false);
        break;
    case kMids:
    case kTSType:
        designMids(false);
        break;
    case kGuitarType:
        designMids(false);
        designIncap(-1, 0.0, false);
        designPeakAndDrive(false);
        designVolume(false);
        break;
    case kAttack:
    case kRelease:
    case kThreshold:
        setGates();
        break;
    case kIncapFilter:
    case kIncapCut:
        designIncap(-1, 0.0, false);
        break;
    default:
        // Push2, Trim, Peak2, StereoMono, LeftRight, SlopeShift (read per frame or not at
        // all) and the buttons 50..52.
        break;
    }
    return true;
}
