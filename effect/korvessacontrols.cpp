// The effect's twenty controls, its sixteen factory presets, its configuration and the list
// builder that turns them into the control list.
#include <cstdint>

#include "korvessa.h"

namespace {

enum EMapping { kLinear, kVoltOctave, kList };

// One control. Limits and the initial value in plain units.
struct CControlRow
{
    uint32_t uId;
    const char* szName;
    const char* szVariable;
    float CKorvessa::*pFloat;
    unsigned int CKorvessa::*pUint;
    uint32_t uValueType;
    const char* szUnits;
    float fLow;
    float fHigh;
    float fInitial;
    const char* szEnumList;
    EMapping eMapping;
};

// vt: value type (kF float, kU unsigned index). Float controls carry a placeholder value list
// that nothing reads.
constexpr const char* kSel = "SEL1,SEL2,SEL3";

using K = CKorvessa;
constexpr uint32_t kF = kValueFloat;
constexpr uint32_t kU = kValueUint;

// clang-format off
const CControlRow kControls[] = {
//   ID  name             variable           float member         unsigned member     vt  units   low     high     initial enum list        mapping
    { 0, "Distortion",    "m_fDistortion",   &K::m_fDistortion,   nullptr,            kF, "",     0.04f,  1.0f,    0.07f,  kSel,            kLinear },
    { 1, "Push1",         "m_fPush1",        &K::m_fPush1,        nullptr,            kF, "",     0.05f,  3.0f,    0.6f,   kSel,            kLinear },
    { 2, "Push2",         "m_fPush2",        &K::m_fPush2,        nullptr,            kF, "",     0.05f,  3.0f,    0.6f,   kSel,            kLinear },
    { 3, "Volume",        "m_fVolume",       &K::m_fVolume,       nullptr,            kF, "",     0.01f,  0.5f,    0.39f,  kSel,            kVoltOctave },
    { 4, "Mids",          "m_fMids",         &K::m_fMids,         nullptr,            kF, "",     0.6f,   1.0f,    0.93f,  kSel,            kLinear },
    { 5, "Trim",          "m_fTrim",         &K::m_fTrim,         nullptr,            kF, "",     0.25f,  4.0f,    1.0f,   kSel,            kVoltOctave },
    { 6, "Guitar Type",   "m_uGuitarType",   nullptr,             &K::m_uGuitarType,  kU, "",     0.0f,   1.0f,    0.0f,   "Guitar,Bass",   kList },
    { 7, "VariCap",       "m_fVariCap",      &K::m_fVariCap,      nullptr,            kF, "",     1.0f,   2.0f,    1.0f,   kSel,            kLinear },
    { 8, "Peak2",         "m_uPeak2",        nullptr,             &K::m_uPeak2,       kU, "",     0.0f,   1.0f,    0.0f,   "OFF,ON",        kList },
    { 9, "StereoMono",    "m_uStereoMono",   nullptr,             &K::m_uStereoMono,  kU, "",     0.0f,   1.0f,    0.0f,   "Stereo,Mono",   kList },
    {10, "LeftRight",     "m_uLeftRight",    nullptr,             &K::m_uLeftRight,   kU, "",     0.0f,   1.0f,    0.0f,   "Left,Right",    kList },
    {11, "TS_Type",       "m_uTSType",       nullptr,             &K::m_uTSType,      kU, "",     0.0f,   1.0f,    0.0f,   "tRat,tBypass",  kList },
    {12, "Boost",         "m_fBoost",        &K::m_fBoost,        nullptr,            kF, "",     0.0f,   1.0f,    0.0f,   kSel,            kLinear },
    {13, "NG2_Attack",    "m_fAttackMsec",   &K::m_fAttackMsec,   nullptr,            kF, "msec", 1.0f,   2000.0f, 350.0f, kSel,            kLinear },
    {14, "NG2_Release",   "m_fReleaseMsec",  &K::m_fReleaseMsec,  nullptr,            kF, "msec", 1.0f,   500.0f,  25.0f,  kSel,            kLinear },
    {15, "NG2_Threshold", "m_fNG2Threshold", &K::m_fNG2Threshold, nullptr,            kF, "dB",   -70.0f, -20.0f,  -70.0f, kSel,            kLinear },
    {16, "Plus",          "m_uPlus",         nullptr,             &K::m_uPlus,        kU, "",     0.0f,   1.0f,    0.0f,   "OFF,ON",        kList },
    {17, "SlopeShift",    "m_fSlopeShift",   &K::m_fSlopeShift,   nullptr,            kF, "",     0.25f,  4.0f,    1.0f,   kSel,            kLinear },
    {18, "IncapFilter",   "m_uIncapFilter",  nullptr,             &K::m_uIncapFilter, kU, "",     0.0f,   1.0f,    0.0f,   "NORMAL,LOWCUT", kList },
    {19, "Incap Cut",     "m_fIncapCut",     &K::m_fIncapCut,     nullptr,            kF, "",     1.0f,   20.0f,   1.0f,   kSel,            kLinear },
};
// clang-format on

constexpr int kControlCount = static_cast<int>(sizeof(kControls) / sizeof(kControls[0]));

// Controls that hold the same value in every preset slot: (position, value). Enumerated zeros
// are stored as negative zero.
struct CFixedPreset
{
    int nPosition;
    double dValue;
};

// clang-format off
const CFixedPreset kFixedPresets[] = {
    { 2, 0.6},    // Push2
    { 5, 1.0},    // Trim
    { 9, -0.0},   // StereoMono
    {10, -0.0},   // LeftRight
    {11, -0.0},   // TS_Type
    {13, 350.0},  // NG2_Attack
    {14, 25.0},   // NG2_Release
    {17, 1.0},    // SlopeShift
};
// clang-format on

// Positions of the controls that differ between slots, in the columns of kPresets.
constexpr int kPresetColumns[] = {0, 1, 3, 4, 6, 7, 8, 12, 15, 16, 18, 19};
constexpr int kPresetColumnCount = static_cast<int>(sizeof(kPresetColumns) / sizeof(int));

struct CPresetRow
{
    const char* szName;
    double adValues[kPresetColumnCount];
};

// One row per slot, plain units, enumerated controls as their index (zero as -0.0).
// clang-format off
const CPresetRow kPresets[kPresetSlots] = {
//                      Distortion Push1 Volume     Mids   GuitarType VariCap Peak2 Boost NG2_Threshold Plus IncapFilter Incap Cut
    {"Factory Preset", {0.07,      0.6,  0.39,      0.93,  -0.0,      1.0,    -0.0, 0.0,  -70.0,        -0.0, -0.0,       1.0      }},
    {"KT Solo",        {0.2056,    0.6,  0.185974,  1.0,   -0.0,      1.0,    -0.0, 0.0,  -70.0,        -0.0, -0.0,       1.0      }},
    {"KT Pedal",       {0.0952,    0.6,  0.499985,  0.816, -0.0,      1.0,    -0.0, 0.0,  -70.0,        -0.0, 1.0,        9.075    }},
    {"KT Left Rhy",    {0.2776,    0.6,  0.1705,    0.968, -0.0,      2.0,    1.0,  0.0,  -70.0,        -0.0, -0.0,       1.0      }},
    {"KT Bass",        {0.2152,    0.6,  0.148685,  1.0,   1.0,       1.0,    -0.0, 0.0,  -70.0,        -0.0, 1.0,        3.375    }},
    {"DV Left Rhy",    {0.412,     0.6,  0.134827,  0.906, -0.0,      1.0,    -0.0, 0.0,  -70.0,        -0.0, -0.0,       1.0      }},
    {"DV Solo",        {0.1672,    0.6,  0.358462,  0.966, -0.0,      1.0,    -0.0, 0.0,  -70.0,        -0.0, 1.0,        12.400001}},
    {"LN Solo",        {0.6952,    0.6,  0.100535,  0.884, -0.0,      1.0,    -0.0, 0.0,  -67.75,       -0.0, -0.0,       1.0      }},
    {"LN Right Rhy",   {0.7528,    0.6,  0.148685,  0.804, -0.0,      1.0,    -0.0, 0.0,  -67.0,        -0.0, 1.0,        16.674999}},
    {"LN Left Rhy",    {0.6808,    0.6,  0.148685,  0.866, -0.0,      2.0,    1.0,  0.0,  -67.25,       -0.0, -0.0,       1.0      }},
    {"HO Solo",        {0.4312,    0.6,  0.134807,  0.866, -0.0,      1.0,    -0.0, 0.0,  -66.75,       -0.0, -0.0,       1.0      }},
    {"High Gain Init", {0.52,      1.8,  0.12223,   0.802, -0.0,      1.51,   1.0,  1.0,  -67.75,       1.0,  1.0,        10.690001}},
    {"HO Right Rhy",   {0.292,     0.6,  0.262097,  0.6,   -0.0,      1.0,    -0.0, 0.0,  -70.0,        -0.0, -0.0,       1.0      }},
    {"HO Left Rhy",    {0.292,     0.6,  0.257046,  0.636, -0.0,      1.965,  1.0,  0.0,  -70.0,        -0.0, -0.0,       1.0      }},
    {"ZU Solo2",       {1.0,       0.6,  0.117535,  0.842, -0.0,      1.0,    -0.0, 0.0,  -66.5,        -0.0, -0.0,       1.0      }},
    {"ZU Right Rhy",   {0.544,     0.6,  0.215532,  0.6,   -0.0,      1.0,    -0.0, 0.0,  -70.0,        -0.0, 1.0,        18.860001}},
};
// clang-format on

// The sixteen preset values of the control at a position.
void fillPresets(int position, double (&presets)[kPresetSlots])
{
    for (const CFixedPreset& fixed : kFixedPresets) {
        if (fixed.nPosition == position) {
            for (double& value : presets)
                value = fixed.dValue;
            return;
        }
    }
    for (int column = 0; column < kPresetColumnCount; ++column) {
        if (kPresetColumns[column] == position) {
            for (int slot = 0; slot < kPresetSlots; ++slot)
                presets[slot] = kPresets[slot].adValues[column];
            return;
        }
    }
}

} // namespace

bool CKorvessa::buildControls()
{
    if (m_controls.count() >= 1)
        return true;

    for (int position = 0; position < kControlCount; ++position) {
        const CControlRow& row = kControls[position];

        // The bound variable starts at the initial value.
        if (row.uValueType == kValueFloat)
            this->*row.pFloat = row.fInitial;
        else
            this->*row.pUint = static_cast<unsigned int>(row.fInitial);

        CControlDescriptor control;
        control.m_uKind = kKindParameter;
        control.m_uId = row.uId;
        control.m_bLogTaper = false;
        control.m_bVoltOctave = row.eMapping == kVoltOctave;
        control.m_fLow = row.fLow;
        control.m_fHigh = row.fHigh;
        control.m_uValueType = row.uValueType;
        control.m_pInt = nullptr;
        control.m_pDouble = nullptr;
        control.m_pMeter = nullptr;
        if (row.uValueType == kValueFloat) {
            control.m_fInitial = row.fInitial;
            control.m_pFloat = &(this->*row.pFloat);
            control.m_pUint = nullptr;
        } else {
            control.m_fInitial = 0.0f;
            control.m_pFloat = nullptr;
            control.m_pUint = &(this->*row.pUint);
        }
        control.m_szUnits = row.szUnits;
        control.m_szVariable = row.szVariable;
        control.m_szEnumList = row.szEnumList;
        fillPresets(position, control.m_dPresets);
        control.m_szName = row.szName;

        control.m_bMidi = false;
        control.m_uMidiStatus = 176;
        control.m_uMidiController = 3;
        control.m_uMidiChannel = 0;
        control.m_bSmooth = false;
        control.m_fSmoothMsec = 100.0f;
        control.m_nPrecision = 2;

        m_controls.append(control);
    }

    finishControls();

    m_bUseEditor = true;
    m_nKnobMode = 2;
    m_bProcessBuffers = false;
    m_nSideChain = 0;
    m_nSampleAccurate = 0;
    m_nGranularity = 1;
    m_nInfiniteTail = 0;
    m_fLatencySamples = 0.0f;
    m_fTailMsec = 500.0f;
    m_szButtonNames[0] = "B1";
    m_szButtonNames[1] = "B2";
    m_szButtonNames[2] = "B3";

    for (int slot = 0; slot < kPresetSlots; ++slot)
        m_szPresetNames[slot] = kPresets[slot].szName;
    return true;
}
