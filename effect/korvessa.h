// Korvessa, the distortion-pedal effect: the module's one plug-in.
#pragma once

#include <cstdint>

#include "plugin.h"

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

    // Signal-chain components (owned pointers) and fixed gains go here, before the control
    // variables.

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
};
