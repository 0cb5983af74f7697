#include "korvessa.h"

#include <new>

namespace {
// Every convolution stage: 2048 designed taps, all convolved, 64-sample partitions, no offset.
constexpr int kDesignLength = 2048;
constexpr int kConvolvedLength = 2048;
constexpr int kBlockSize = 64;
constexpr int kResponseOffset = 0;
constexpr int kDelaySamples = 128;
} // namespace

// Components in a fixed order; a failure frees those already made (they are owned by
// unique_ptr members) and the base before the exception leaves.
CKorvessa::CKorvessa()
{
    const int fs = m_nSampleRate;
    m_pShaperL = std::make_unique<CWaveShaper>(CWaveShaper::kPointCount);
    m_pShaperR = std::make_unique<CWaveShaper>(CWaveShaper::kPointCount);
    m_pMidsL = std::make_unique<CMidsFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pMidsR = std::make_unique<CMidsFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pIncapL = std::make_unique<CInputCapFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pIncapR = std::make_unique<CInputCapFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pPeakL = std::make_unique<CDriveFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pPeakR = std::make_unique<CDriveFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pDriveL = std::make_unique<CDriveFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pDriveR = std::make_unique<CDriveFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pVolumeL = std::make_unique<CVolumeFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pVolumeR = std::make_unique<CVolumeFilter>(fs, kDesignLength, kConvolvedLength, kBlockSize, kResponseOffset);
    m_pGateL = std::make_unique<CNoiseGate>();
    m_pGateR = std::make_unique<CNoiseGate>();
    // The delay buffers keep the length made here (two seconds at the construction rate).
    m_pDelayL = std::make_unique<CFeedbackDelay>(fs, kDelaySamples, 0.0, 100.0);
    m_pDelayR = std::make_unique<CFeedbackDelay>(fs, kDelaySamples, 0.0, 100.0);

    m_fDriveGain = 0.6f;
    m_fPlusGain = 1.6f;
    m_fDriveScale = 2.5f;

    buildControls();

    m_bUseEditor = true;
    m_bOutputOnly = false;
    m_bWantAllMidi = false;
}

// The components go with their unique_ptr members; the base then releases the control list.
CKorvessa::~CKorvessa() = default;

CPlugIn* createPlugIn()
{
    // Construction allocates; a failure anywhere in it yields no plug-in.
    try {
        return new CKorvessa();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
