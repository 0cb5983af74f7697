// Korvessa, the distortion-pedal effect: the module's one plug-in.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "drivefilter.h"
#include "feedbackdelay.h"
#include "inputcapfilter.h"
#include "midsfilter.h"
#include "noisegate.h"
#include "plugin.h"
#include "volumefilter.h"
#include "waveshaper.h"

class CKorvessa : public CPlugIn
{
public:
    // Creates the components and builds the control list. Constructing thread (UI).
    CKorvessa();
    // Deletes the components; the base then releases the control list. UI thread.
    ~CKorvessa() override;

    // Appends the twenty controls, sets the configuration, the joystick and the preset names;
    // does nothing when the list already holds an entry. Constructing thread.
    bool buildControls() override;

    // Flushes denormals on the calling thread and designs every stage from the controls at
    // m_nSampleRate. UI thread, once after creation.
    bool setUp() override;
    // Redesigns every stage at the host's rate (m_nSampleRate), reloads the shaper curves,
    // clears the delays, then prepares the base. UI thread.
    bool prepare() override;
    // Left and right chains for one frame. Audio thread.
    bool processFrame(float* in, float* out, uint32_t inChannels, uint32_t outChannels) override;
    // Redesigns the stages a control feeds, or recomputes the drive gain. Either thread.
    bool controlChanged(uint32_t controlId) override;

    // Drive gain from Distortion, Boost, Push1 and Plus; an unknown Plus value keeps it.
    void updateDriveGain();

    // Signal-chain components, one per channel, created in this order by the constructor.
    std::unique_ptr<CWaveShaper> m_pShaperL, m_pShaperR;      // clipping stage
    std::unique_ptr<CMidsFilter> m_pMidsL, m_pMidsR;          // mid-range tone stage
    std::unique_ptr<CInputCapFilter> m_pIncapL, m_pIncapR;    // input coupling stage
    std::unique_ptr<CDriveFilter> m_pPeakL, m_pPeakR;         // resonant peak (circuit 0)
    std::unique_ptr<CDriveFilter> m_pDriveL, m_pDriveR;       // clipping feedback network (circuit 4)
    std::unique_ptr<CVolumeFilter> m_pVolumeL, m_pVolumeR;    // output volume stage
    std::unique_ptr<CNoiseGate> m_pGateL, m_pGateR;           // noise gate
    std::unique_ptr<CFeedbackDelay> m_pDelayL, m_pDelayR;     // fixed 128-sample delay

    float m_fDriveGain = 0.6f;          // linear gain on every input sample
    float m_fPlusGain = 1.6f;           // extra drive-gain factor while Plus is on
    float m_fDriveScale = 2.5f;         // factor of Distortion in the drive gain

    // Control variables, in control-list order (position = host parameter ID).
    float m_fDistortion = 0.0f;         // drive amount, 0.04..1
    float m_fPush1 = 0.0f;              // drive push, 0.05..3
    float m_fPush2 = 0.0f;              // stored and automated only, 0.05..3
    float m_fVolume = 0.0f;             // output volume, 0.01..0.5
    float m_fMids = 0.0f;               // mid-range tone, 0.6..1
    float m_fTrim = 0.0f;               // input trim, linear gain 0.25..4
    unsigned int m_uGuitarType = 0;     // 0 Guitar, 1 Bass
    float m_fVariCap = 0.0f;            // resonant peak capacitance factor, 1..2
    unsigned int m_uPeak2 = 0;          // 0 off, 1 on
    unsigned int m_uStereoMono = 0;     // 0 Stereo, 1 Mono
    unsigned int m_uLeftRight = 0;      // mono source: 0 Left, 1 Right
    unsigned int m_uTSType = 0;         // 0 tRat, 1 tBypass
    float m_fBoost = 0.0f;              // boost, 0..1
    float m_fAttackMsec = 0.0f;         // noise-gate attack, ms
    float m_fReleaseMsec = 0.0f;        // noise-gate release, ms
    float m_fNG2Threshold = 0.0f;       // noise-gate threshold, dB (-65 or lower: gate skipped)
    unsigned int m_uPlus = 0;           // extra drive, 0 off, 1 on
    float m_fSlopeShift = 0.0f;         // stored and automated only, 0.25..4
    unsigned int m_uIncapFilter = 0;    // input coupling: 0 NORMAL, 1 LOWCUT
    float m_fIncapCut = 0.0f;           // input coupling cut factor, 1..20

private:
    // The per-channel components, so both chains share one implementation.
    struct Chain
    {
        CNoiseGate& gate;
        CInputCapFilter& incap;
        CDriveFilter& drive;
        CWaveShaper& shaper;
        CFeedbackDelay& delay;
        CDriveFilter& peak;
        CMidsFilter& mids;
        CVolumeFilter& volume;
    };
    Chain chain(bool right);
    float processChain(const Chain& c, float x);
    // The designs and settings shared by setUp and prepare.
    void designAll(int incapFilter, double incapCut);
    // Both stages of a circuit designed from the newest control values, each through its
    // busy flag so that designs from the audio and the UI thread never overlap; with
    // withWindowAndGain the window of ones and gain 1 follow. A negative incapFilter designs
    // the input stages from the current "IncapFilter" and "Incap Cut". Either thread.
    void designMids(bool withWindowAndGain);
    void designIncap(int incapFilter, double incapCut, bool withWindowAndGain);
    void designPeakAndDrive(bool withWindowAndGain);
    void designVolume(bool withWindowAndGain);
    void setWindowAndGain(CCircuitFilter& f);
    // False on the thread that runs processFrame: a design there never waits for another.
    bool mayWaitForDesigns() const;

    std::atomic<std::thread::id> m_audioThread{};  // the thread that last ran processFrame
};
