// The effect's control list, preset slots and configuration, value for value against the
// effect's published control and preset tables (kept here as an independent copy).
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include <gtest/gtest.h>

#include "korvessa.h"

namespace {

enum EType { kFloat, kUnsigned };
enum EMapping { kLinear, kVoltOctave, kList };

struct CExpectedControl
{
    uint32_t id;
    const char* name;
    const char* variable;
    EType type;
    const char* units;
    double low;
    double high;
    double initial;
    const char* enumList; // empty for float controls, which carry a placeholder list
    EMapping mapping;
};

const CExpectedControl kExpectedControls[] = {
    {0, "Distortion", "m_fDistortion", kFloat, "", 0.04, 1.0, 0.07, "", kLinear},
    {1, "Push1", "m_fPush1", kFloat, "", 0.05, 3.0, 0.6, "", kLinear},
    {2, "Push2", "m_fPush2", kFloat, "", 0.05, 3.0, 0.6, "", kLinear},
    {3, "Volume", "m_fVolume", kFloat, "", 0.01, 0.5, 0.39, "", kVoltOctave},
    {4, "Mids", "m_fMids", kFloat, "", 0.6, 1.0, 0.93, "", kLinear},
    {5, "Trim", "m_fTrim", kFloat, "", 0.25, 4.0, 1.0, "", kVoltOctave},
    {6, "Guitar Type", "m_uGuitarType", kUnsigned, "", 0, 1, 0, "Guitar,Bass", kList},
    {7, "VariCap", "m_fVariCap", kFloat, "", 1.0, 2.0, 1.0, "", kLinear},
    {8, "Peak2", "m_uPeak2", kUnsigned, "", 0, 1, 0, "OFF,ON", kList},
    {9, "StereoMono", "m_uStereoMono", kUnsigned, "", 0, 1, 0, "Stereo,Mono", kList},
    {10, "LeftRight", "m_uLeftRight", kUnsigned, "", 0, 1, 0, "Left,Right", kList},
    {11, "TS_Type", "m_uTSType", kUnsigned, "", 0, 1, 0, "tRat,tBypass", kList},
    {12, "Boost", "m_fBoost", kFloat, "", 0.0, 1.0, 0.0, "", kLinear},
    {13, "NG2_Attack", "m_fAttackMsec", kFloat, "msec", 1.0, 2000.0, 350.0, "", kLinear},
    {14, "NG2_Release", "m_fReleaseMsec", kFloat, "msec", 1.0, 500.0, 25.0, "", kLinear},
    {15, "NG2_Threshold", "m_fNG2Threshold", kFloat, "dB", -70.0, -20.0, -70.0, "", kLinear},
    {16, "Plus", "m_uPlus", kUnsigned, "", 0, 1, 0, "OFF,ON", kList},
    {17, "SlopeShift", "m_fSlopeShift", kFloat, "", 0.25, 4.0, 1.0, "", kLinear},
    {18, "IncapFilter", "m_uIncapFilter", kUnsigned, "", 0, 1, 0, "NORMAL,LOWCUT", kList},
    {19, "Incap Cut", "m_fIncapCut", kFloat, "", 1.0, 20.0, 1.0, "", kLinear},
};

const char* const kExpectedPresetNames[16] = {
    "Factory Preset", "KT Solo", "KT Pedal", "KT Left Rhy", "KT Bass", "DV Left Rhy",
    "DV Solo", "LN Solo", "LN Right Rhy", "LN Left Rhy", "HO Solo", "High Gain Init",
    "HO Right Rhy", "HO Left Rhy", "ZU Solo2", "ZU Right Rhy"};

// Controls that hold one value in every slot: position, value.
const std::pair<int, double> kExpectedFixed[] = {
    {2, 0.6}, {5, 1.0}, {9, 0}, {10, 0}, {11, 0}, {13, 350.0}, {14, 25.0}, {17, 1.0}};

// Per slot: Distortion, Push1, Volume, Mids, Guitar Type, VariCap, Peak2, Boost,
// NG2_Threshold, Plus, IncapFilter, Incap Cut.
const int kExpectedColumns[12] = {0, 1, 3, 4, 6, 7, 8, 12, 15, 16, 18, 19};
const double kExpectedPresets[16][12] = {
    {0.07, 0.6, 0.39, 0.93, 0, 1.0, 0, 0.0, -70.0, 0, 0, 1.0},
    {0.2056, 0.6, 0.185974, 1.0, 0, 1.0, 0, 0.0, -70.0, 0, 0, 1.0},
    {0.0952, 0.6, 0.499985, 0.816, 0, 1.0, 0, 0.0, -70.0, 0, 1, 9.075},
    {0.2776, 0.6, 0.1705, 0.968, 0, 2.0, 1, 0.0, -70.0, 0, 0, 1.0},
    {0.2152, 0.6, 0.148685, 1.0, 1, 1.0, 0, 0.0, -70.0, 0, 1, 3.375},
    {0.412, 0.6, 0.134827, 0.906, 0, 1.0, 0, 0.0, -70.0, 0, 0, 1.0},
    {0.1672, 0.6, 0.358462, 0.966, 0, 1.0, 0, 0.0, -70.0, 0, 1, 12.400001},
    {0.6952, 0.6, 0.100535, 0.884, 0, 1.0, 0, 0.0, -67.75, 0, 0, 1.0},
    {0.7528, 0.6, 0.148685, 0.804, 0, 1.0, 0, 0.0, -67.0, 0, 1, 16.674999},
    {0.6808, 0.6, 0.148685, 0.866, 0, 2.0, 1, 0.0, -67.25, 0, 0, 1.0},
    {0.4312, 0.6, 0.134807, 0.866, 0, 1.0, 0, 0.0, -66.75, 0, 0, 1.0},
    {0.52, 1.8, 0.12223, 0.802, 0, 1.51, 1, 1.0, -67.75, 1, 1, 10.690001},
    {0.292, 0.6, 0.262097, 0.6, 0, 1.0, 0, 0.0, -70.0, 0, 0, 1.0},
    {0.292, 0.6, 0.257046, 0.636, 0, 1.965, 1, 0.0, -70.0, 0, 0, 1.0},
    {1.0, 0.6, 0.117535, 0.842, 0, 1.0, 0, 0.0, -66.5, 0, 0, 1.0},
    {0.544, 0.6, 0.215532, 0.6, 0, 1.0, 0, 0.0, -70.0, 0, 1, 18.860001},
};

// The expected preset value of a position in a slot.
double expectedPreset(int position, int slot)
{
    for (const auto& fixed : kExpectedFixed) {
        if (fixed.first == position)
            return fixed.second;
    }
    for (int column = 0; column < 12; ++column) {
        if (kExpectedColumns[column] == position)
            return kExpectedPresets[slot][column];
    }
    ADD_FAILURE() << "no preset value for position " << position;
    return 0.0;
}

// The bound member variable of each position, in the effect's member order.
void* boundVariable(CKorvessa& k, int position)
{
    void* const variables[20] = {
        &k.m_fDistortion, &k.m_fPush1, &k.m_fPush2, &k.m_fVolume, &k.m_fMids,
        &k.m_fTrim, &k.m_uGuitarType, &k.m_fVariCap, &k.m_uPeak2, &k.m_uStereoMono,
        &k.m_uLeftRight, &k.m_uTSType, &k.m_fBoost, &k.m_fAttackMsec, &k.m_fReleaseMsec,
        &k.m_fNG2Threshold, &k.m_uPlus, &k.m_fSlopeShift, &k.m_uIncapFilter, &k.m_fIncapCut};
    return variables[position];
}

std::unique_ptr<CKorvessa> makeKorvessa()
{
    CPlugIn* plugIn = createPlugIn();
    auto* korvessa = dynamic_cast<CKorvessa*>(plugIn);
    EXPECT_NE(korvessa, nullptr);
    if (korvessa == nullptr)
        delete plugIn;
    return std::unique_ptr<CKorvessa>(korvessa);
}

} // namespace

TEST(KorvessaControls, ListMatchesTheControlTable)
{
    auto k = makeKorvessa();
    ASSERT_TRUE(k);
    ASSERT_EQ(k->m_controls.count(), 20);
    ASSERT_EQ(k->m_nControlCount, 20);

    for (int position = 0; position < 20; ++position) {
        const CExpectedControl& x = kExpectedControls[position];
        const CControlDescriptor* d = k->m_controls.at(position);
        SCOPED_TRACE(x.name);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(k->m_ppControlTable[position], d);
        const bool isFloat = x.type == kFloat;

        EXPECT_EQ(d->m_uKind, kKindParameter);
        EXPECT_EQ(d->m_uId, x.id);
        EXPECT_STREQ(d->m_szName, x.name);
        EXPECT_STREQ(d->m_szVariable, x.variable);
        EXPECT_STREQ(d->m_szUnits, x.units);
        EXPECT_STREQ(d->m_szEnumList, isFloat ? "SEL1,SEL2,SEL3" : x.enumList);
        EXPECT_EQ(d->m_uValueType, isFloat ? kValueFloat : kValueUint);
        EXPECT_EQ(d->m_fLow, static_cast<float>(x.low));
        EXPECT_EQ(d->m_fHigh, static_cast<float>(x.high));
        EXPECT_EQ(d->m_fInitial, isFloat ? static_cast<float>(x.initial) : 0.0f);
        EXPECT_EQ(d->m_bVoltOctave, x.mapping == kVoltOctave);
        EXPECT_FALSE(d->m_bLogTaper);

        // Bound to its own member, which holds the initial value.
        void* variable = boundVariable(*k, position);
        EXPECT_EQ(static_cast<void*>(d->m_pFloat), isFloat ? variable : nullptr);
        EXPECT_EQ(static_cast<void*>(d->m_pUint), isFloat ? nullptr : variable);
        EXPECT_EQ(d->m_pInt, nullptr);
        EXPECT_EQ(d->m_pDouble, nullptr);
        EXPECT_EQ(d->m_pMeter, nullptr);
        EXPECT_EQ(k->getValue(position), static_cast<float>(x.initial));

        EXPECT_FALSE(d->m_bSmooth);
        EXPECT_EQ(d->m_fSmoothMsec, 100.0f);
        EXPECT_FALSE(d->m_bMidi);
        EXPECT_EQ(d->m_uMidiStatus, 176u);
        EXPECT_EQ(d->m_uMidiController, 3u);
        EXPECT_EQ(d->m_uMidiChannel, 0u);
        EXPECT_EQ(d->m_nPrecision, 2);
        EXPECT_EQ(d->m_pConnector, nullptr);

        // Preset values exactly as tabled; the enumerated zeros are negative zeros.
        for (int slot = 0; slot < 16; ++slot) {
            const double expected = expectedPreset(position, slot);
            EXPECT_EQ(d->m_dPresets[slot], expected) << "slot " << slot;
            if (expected == 0.0) {
                EXPECT_EQ(std::signbit(d->m_dPresets[slot]), !isFloat) << "slot " << slot;
            }
        }
        // Slot 0 holds the initial value.
        EXPECT_EQ(static_cast<float>(d->m_dPresets[0]), static_cast<float>(x.initial));
    }
}

TEST(KorvessaControls, ConfigurationPresetNamesAndJoystick)
{
    auto k = makeKorvessa();
    ASSERT_TRUE(k);
    for (int slot = 0; slot < 16; ++slot)
        EXPECT_STREQ(k->m_szPresetNames[slot], kExpectedPresetNames[slot]);

    EXPECT_TRUE(k->m_bUseEditor);
    EXPECT_EQ(k->m_nKnobMode, 2);
    EXPECT_FALSE(k->m_bOutputOnly);
    EXPECT_FALSE(k->m_bWantAllMidi);
    EXPECT_FALSE(k->m_bProcessBuffers);
    EXPECT_EQ(k->m_nSideChain, 0);
    EXPECT_EQ(k->m_nSampleAccurate, 0);
    EXPECT_EQ(k->m_nGranularity, 1);
    EXPECT_EQ(k->m_nInfiniteTail, 0);
    EXPECT_EQ(k->m_fLatencySamples, 0.0f);
    EXPECT_EQ(k->m_fTailMsec, 500.0f);
    EXPECT_EQ(k->m_nSampleRate, 44100);
    EXPECT_STREQ(k->m_szButtonNames[0], "B1");
    EXPECT_STREQ(k->m_szButtonNames[1], "B2");
    EXPECT_STREQ(k->m_szButtonNames[2], "B3");

    struct Axis
    {
        const CControlDescriptor* d;
        const char* name;
        uint32_t id;
        uint32_t controller;
    };
    for (const Axis& a : {Axis{&k->m_joystickX, "MIDI JS X", 32773, 16},
                          Axis{&k->m_joystickY, "MIDI JS Y", 32774, 17}}) {
        SCOPED_TRACE(a.name);
        EXPECT_STREQ(a.d->m_szName, a.name);
        EXPECT_EQ(a.d->m_uId, a.id);
        EXPECT_FALSE(a.d->m_bMidi);
        EXPECT_EQ(a.d->m_uMidiStatus, 176u);
        EXPECT_EQ(a.d->m_uMidiController, a.controller);
        EXPECT_EQ(a.d->m_uMidiChannel, 0u);
        EXPECT_EQ(a.d->m_fStickValue, 0.0f);
        EXPECT_TRUE(a.d->m_bStickRotated);
        EXPECT_FALSE(a.d->m_bSmooth);
        EXPECT_EQ(a.d->m_fSmoothMsec, 100.0f);
        for (double preset : a.d->m_dPresets)
            EXPECT_EQ(preset, 0.0);
    }
}

TEST(KorvessaControls, BuildingTwiceKeepsTwentyEntries)
{
    auto k = makeKorvessa();
    ASSERT_TRUE(k);
    CControlDescriptor** table = k->m_ppControlTable;
    k->m_fDistortion = 0.5f;
    EXPECT_TRUE(k->buildControls());
    EXPECT_EQ(k->m_controls.count(), 20);
    EXPECT_EQ(k->m_nControlCount, 20);
    EXPECT_EQ(k->m_ppControlTable, table);
    EXPECT_EQ(k->m_fDistortion, 0.5f); // a second build writes nothing
}

TEST(KorvessaControls, GuitarTypeSelectsBassFromHalfUp)
{
    auto k = makeKorvessa();
    ASSERT_TRUE(k);
    const struct
    {
        float normalized;
        unsigned int index;
    } cases[] = {{0.5f, 1}, {0.49f, 0}, {1.0f, 1}, {0.0f, 0}};
    for (const auto& c : cases) {
        k->setNormalized(6, c.normalized, false);
        EXPECT_EQ(k->m_uGuitarType, c.index) << c.normalized;
    }
}

TEST(KorvessaControls, RecallingASlotRestoresItsValues)
{
    // A host recalls a slot by normalizing each preset value and cooking it back.
    auto k = makeKorvessa();
    ASSERT_TRUE(k);
    for (int slot : {11, 0, 4, 15}) {
        for (int position = 0; position < 20; ++position) {
            const CControlDescriptor* d = k->m_controls.at(position);
            const float w = static_cast<float>(d->m_dPresets[slot]);
            const float normalized = (w - d->m_fLow) / (d->m_fHigh - d->m_fLow);
            k->setNormalized(position, normalized, false);
        }
        for (int position = 0; position < 20; ++position) {
            const double expected = expectedPreset(position, slot);
            EXPECT_NEAR(k->getValue(position), expected, 2e-5 * std::max(1.0, std::fabs(expected)))
                << "slot " << slot << ", " << kExpectedControls[position].name;
        }
    }
}
