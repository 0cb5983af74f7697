// The plug-in base class: cooking and set-plain, smoothing, sample-accurate values, the
// joystick, preparation and the default virtual operations.
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "allocationcount.h"
#include "plugin.h"

namespace {

// A plug-in with one control of each value type, recording its reactions.
class CProbe : public CPlugIn
{
public:
    enum { kInt, kFloat, kDouble, kUint, kNone };

    explicit CProbe(bool build = true)
    {
        if (build)
            buildControls();
    }

    bool buildControls() override
    {
        if (m_controls.count() >= 1)
            return true;
        add(kValueInt, 100, -10.0f, 10.0f);
        add(kValueFloat, 101, 0.0f, 2.0f);
        add(kValueDouble, 102, -1.0f, 1.0f);
        add(kValueUint, 103, 0.0f, 3.0f);
        add(kValueNone, 104, 0.0f, 1.0f);
        finishControls();
        return true;
    }

    bool controlChanged(uint32_t id) override
    {
        m_reactions.push_back(id);
        return true;
    }

    bool joystickChanged(float a, float b, float c, float d, float x, float y) override
    {
        m_mixes.push_back({a, b, c, d, x, y});
        return true;
    }

    // Points the control at a position at a new low limit, so that normalized 0 cooks exactly
    // to that plain value.
    void setLow(int position, float low) { m_ppControlTable[position]->m_fLow = low; }
    CControlDescriptor& entry(int position) { return *m_ppControlTable[position]; }

    int m_nInt = 0;
    float m_fFloat = 0.0f;
    double m_dDouble = 0.0;
    unsigned int m_uUint = 0;
    std::vector<uint32_t> m_reactions;
    std::vector<CJoystickMix> m_mixes;

private:
    void add(uint32_t type, uint32_t id, float low, float high)
    {
        CControlDescriptor d;
        d.m_uKind = kKindParameter;
        d.m_uId = id;
        d.m_uValueType = type;
        d.m_fLow = low;
        d.m_fHigh = high;
        d.m_pInt = type == kValueInt ? &m_nInt : nullptr;
        d.m_pFloat = type == kValueFloat ? &m_fFloat : nullptr;
        d.m_pDouble = type == kValueDouble ? &m_dDouble : nullptr;
        d.m_pUint = type == kValueUint ? &m_uUint : nullptr;
        m_controls.append(d);
    }
};


} // namespace

TEST(Cooking, NormalizedValuesAreScaledIntoTheLimits)
{
    CProbe p;
    p.setNormalized(CProbe::kInt, 0.75f, false); // -10 + 20 * 0.75 = 5
    p.setNormalized(CProbe::kFloat, 0.25f, false);
    p.setNormalized(CProbe::kDouble, 0.25f, false);
    p.setNormalized(CProbe::kUint, 1.0f, false);
    EXPECT_EQ(p.m_nInt, 5);
    EXPECT_EQ(p.m_fFloat, 0.5f);
    EXPECT_EQ(p.m_dDouble, -0.5);
    EXPECT_EQ(p.m_uUint, 3u);
    EXPECT_EQ(p.m_reactions, (std::vector<uint32_t>{100, 101, 102, 103}));
    EXPECT_EQ(p.getValue(CProbe::kInt), 5.0f);
    EXPECT_EQ(p.getValue(CProbe::kFloat), 0.5f);
    EXPECT_EQ(p.getValue(CProbe::kDouble), -0.5f);
    EXPECT_EQ(p.getValue(CProbe::kUint), 3.0f);
    EXPECT_EQ(p.getValue(CProbe::kNone), 0.0f);
}

TEST(Cooking, IntAndEnumeratedValuesRoundHalfUp)
{
    struct Case
    {
        float plain;
        int rounded;
    };
    const Case cases[] = {{2.5f, 3}, {-0.5f, 0}, {-0.6f, -1}, {2.4f, 2}, {0.49f, 0}, {0.5f, 1}};
    for (const Case c : cases) {
        CProbe p;
        p.setLow(CProbe::kInt, c.plain);
        p.setLow(CProbe::kUint, c.plain);
        p.m_uUint = 7; // differs from every expected index
        p.setNormalized(CProbe::kInt, 0.0f, false);
        p.setNormalized(CProbe::kUint, 0.0f, false);
        EXPECT_EQ(p.m_nInt, c.rounded) << c.plain;
        EXPECT_EQ(p.m_uUint, static_cast<uint32_t>(c.rounded)) << c.plain; // -1 wraps to 32 bits
    }
}

TEST(Cooking, EnumeratedReactsOnlyToAChangedIndexIntAlways)
{
    CProbe p;
    p.setNormalized(CProbe::kUint, 0.1f, false); // rounds to 0, the current index
    EXPECT_TRUE(p.m_reactions.empty());
    p.setNormalized(CProbe::kUint, 0.4f, false); // 1.2 -> 1
    p.setNormalized(CProbe::kUint, 0.35f, false); // 1.05 -> 1 again
    EXPECT_EQ(p.m_reactions, (std::vector<uint32_t>{103}));

    p.m_reactions.clear();
    p.setNormalized(CProbe::kInt, 0.5f, false); // 0, the current value
    p.setNormalized(CProbe::kInt, 0.5f, false);
    p.setNormalized(CProbe::kFloat, 0.0f, false);
    EXPECT_EQ(p.m_reactions, (std::vector<uint32_t>{100, 100, 101}));
}

TEST(Cooking, SetPlainHoldsValuesInTheLimitsThenTruncatesIntsAndRoundsEnumerated)
{
    // Limits: int -10..10, float 0..2, double -1..1, enumerated 0..3.
    struct Case
    {
        float plain;
        int intValue;
        float floatValue;
        double doubleValue;
        uint32_t uintValue;
    };
    const Case cases[] = {
        {0.5f, 0, 0.5f, 0.5, 1},            // inside every range: applied as given
        {2.5f, 2, 2.0f, 1.0, 3},
        {-0.6f, 0, 0.0f, double(-0.6f), 0},
        {-2.7f, -2, 0.0f, -1.0, 0},
        {11.0f, 10, 2.0f, 1.0, 3},          // above every limit
        {-1e30f, -10, 0.0f, -1.0, 0},       // far below: held, no overflow
    };
    for (const Case c : cases) {
        CProbe p;
        p.setPlain(CProbe::kInt, c.plain);
        p.setPlain(CProbe::kUint, c.plain);
        p.setPlain(CProbe::kFloat, c.plain);
        p.setPlain(CProbe::kDouble, c.plain);
        EXPECT_EQ(p.m_nInt, c.intValue) << c.plain;
        EXPECT_EQ(p.m_uUint, c.uintValue) << c.plain;
        EXPECT_EQ(p.m_fFloat, c.floatValue) << c.plain;
        EXPECT_EQ(p.m_dDouble, c.doubleValue) << c.plain;
        // The enumerated control starts at index 0 and reacts only when the index changes.
        const std::vector<uint32_t> expected = c.uintValue != 0
            ? std::vector<uint32_t>{100, 103, 101, 102} : std::vector<uint32_t>{100, 101, 102};
        EXPECT_EQ(p.m_reactions, expected) << c.plain;
    }
}

TEST(Cooking, NormalizedValuesOutsideZeroToOneAreHeldAtTheEnds)
{
    CProbe p;
    p.setNormalized(CProbe::kFloat, 1.5f, false);
    EXPECT_EQ(p.m_fFloat, 2.0f);
    p.setNormalized(CProbe::kFloat, -3.0f, false);
    EXPECT_EQ(p.m_fFloat, 0.0f);
    p.setNormalized(CProbe::kFloat, std::numeric_limits<float>::infinity(), false);
    EXPECT_EQ(p.m_fFloat, 2.0f);
}

TEST(Cooking, UnusableValuesAndPositionsChangeNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    CProbe p;
    p.m_nInt = 4;
    p.m_fFloat = 1.5f;
    p.m_uUint = 2;
    for (int position : {CProbe::kInt, CProbe::kFloat, CProbe::kDouble, CProbe::kUint}) {
        p.setPlain(position, nan);
        p.setNormalized(position, nan, false);
    }
    p.setPlain(-1, 1.0f);
    p.setPlain(5, 1.0f);
    p.setNormalized(99, 1.0f, true);
    p.setPlain(CProbe::kNone, 1.0f);
    EXPECT_EQ(p.m_nInt, 4);
    EXPECT_EQ(p.m_fFloat, 1.5f);
    EXPECT_EQ(p.m_uUint, 2u);
    EXPECT_TRUE(p.m_reactions.empty());
    EXPECT_EQ(p.getValue(-1), 0.0f);
    EXPECT_EQ(p.getValue(5), 0.0f);

    // Infinite values are no values either.
    p.setPlain(CProbe::kInt, -std::numeric_limits<float>::infinity());
    p.setPlain(CProbe::kFloat, std::numeric_limits<float>::infinity());
    EXPECT_EQ(p.m_nInt, 4);
    EXPECT_EQ(p.m_fFloat, 1.5f);
    EXPECT_TRUE(p.m_reactions.empty());

    // Without a built list every by-position operation is a no-op.
    CProbe unbuilt(false);
    unbuilt.setNormalized(0, 1.0f, false);
    unbuilt.setPlain(0, 1.0f);
    unbuilt.applySampleAccurateValues();
    unbuilt.advanceSmoothing();
    EXPECT_EQ(unbuilt.getValue(0), 0.0f);
    EXPECT_TRUE(unbuilt.m_reactions.empty());
}

TEST(Smoothing, ReactsOnEveryMovingSampleAndSnapsSilently)
{
    for (const bool isDouble : {false, true}) {
        CProbe p;
        const int position = isDouble ? CProbe::kDouble : CProbe::kFloat;
        CControlDescriptor& e = p.entry(position);
        e.m_bSmooth = true;
        e.m_fSmoothMsec = 2.0f; // 2 samples at 1 kHz: a = exp(-pi)
        p.m_nSampleRate = 1000;
        ASSERT_TRUE(p.prepare());
        const double a = std::exp(-M_PI);
        EXPECT_NEAR(e.m_fCoefA, a, 1e-7);
        EXPECT_NEAR(e.m_dCoefB, 1.0 - a, 1e-7);

        auto value = [&] { return isDouble ? p.m_dDouble : static_cast<double>(p.m_fFloat); };
        // A smoothed, non-immediate value sets the target; the variable waits for the steps.
        p.setNormalized(position, 1.0f, false);
        const double target = e.m_fHigh; // from 0 toward the upper limit
        EXPECT_EQ(value(), 0.0);
        EXPECT_EQ(e.m_fTarget, e.m_fHigh);
        ASSERT_EQ(p.m_reactions.size(), 1u);

        // Each moving step writes target * (1 - a^n) and reacts; the settled step writes the
        // target itself and is silent.
        p.m_reactions.clear();
        int steps = 0;
        for (; steps < 1000; ++steps) {
            const size_t before = p.m_reactions.size();
            p.advanceSmoothing();
            if (p.m_reactions.size() == before)
                break;
            EXPECT_NEAR(value(), target * (1.0 - std::pow(a, steps + 1)), 1e-5) << steps;
        }
        EXPECT_GT(steps, 3);
        EXPECT_LT(steps, 1000);
        EXPECT_EQ(value(), target);
        EXPECT_EQ(p.m_reactions, std::vector<uint32_t>(steps, e.m_uId));
        p.advanceSmoothing();
        EXPECT_EQ(p.m_reactions.size(), static_cast<size_t>(steps));

        // An immediate value (a sample-accurate source) is written at once.
        p.setNormalized(position, 0.75f, true);
        EXPECT_EQ(value(), isDouble ? 0.5 : 1.5);
    }
}

TEST(SampleAccurate, DeliveredValuesAreCookedImmediately)
{
    class CQueue : public IParamUpdateQueue
    {
    public:
        int32_t getParameterIndex() override { return 1; }
        bool getValueAtOffset(int32_t, double, double*) override { return false; }
        bool getNextValue(double* value) override
        {
            if (m_nLeft-- <= 0)
                return false;
            *value = 0.25;
            return true;
        }
        int m_nLeft = 1;
    };
    CProbe p;
    CQueue queue;
    p.entry(CProbe::kFloat).m_bSmooth = true;
    p.entry(CProbe::kFloat).m_pConnector = &queue;
    p.applySampleAccurateValues();
    EXPECT_EQ(p.m_fFloat, 0.5f);
    p.applySampleAccurateValues(); // nothing delivered
    EXPECT_EQ(p.m_reactions, (std::vector<uint32_t>{101}));
}

TEST(Joystick, MixWeightsAndPositions)
{
    struct Case
    {
        float x, y;
        bool rotated;
        double a, b, c, d, px, py;
    };
    const double r2 = 1.41421356 * 1.41421356;
    const Case cases[] = {
        {0.0f, 0.0f, true, 0.25, 0.25, 0.25, 0.25, 0.5, 0.5},
        {1.0f, 0.0f, true, 0.0, 0.0, 1.0, 255.0 / 64500.0, 1.0, 0.5},
        {0.0f, -1.0f, true, 0.0, 0.0, 0.0, 1.0, 0.5, 0.0},
        // Unrotated: e = 254, f = 127.
        {1.0f, 0.0f, false, 0.0, 254.0 * 127.0 / 64500.0, 128.0 * 254.0 / 64500.0, 128.0 / 64500.0,
         (1.0 / r2 + 1.0) * 0.5, (1.0 / r2 + 1.0) * 0.5},
        {0.0f, 0.0f, false, 0.25, 0.25, 0.25, 0.25, 0.5, 0.5},
    };
    for (const Case& c : cases) {
        const CJoystickMix m = CPlugIn::joystickMix(c.x, c.y, c.rotated);
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << (c.rotated ? " rotated" : ""));
        EXPECT_NEAR(m.m_fMixA, c.a, 1e-6);
        EXPECT_NEAR(m.m_fMixB, c.b, 1e-6);
        EXPECT_NEAR(m.m_fMixC, c.c, 1e-6);
        EXPECT_NEAR(m.m_fMixD, c.d, 1e-6);
        EXPECT_NEAR(m.m_fPositionX, c.px, 1e-6);
        EXPECT_NEAR(m.m_fPositionY, c.py, 1e-6);
    }
}

TEST(Joystick, SettersReportAtOnceWithTheXAxisOrientation)
{
    CProbe p;
    p.setJoystickX(1.0f, true);
    p.setJoystickY(0.0f, false); // still mixed as rotated: the X axis's flag rules
    ASSERT_EQ(p.m_mixes.size(), 2u);
    EXPECT_FLOAT_EQ(p.m_mixes[1].m_fMixC, 1.0f);
    EXPECT_FLOAT_EQ(p.m_mixes[1].m_fPositionX, 1.0f);
    float x = 0.0f;
    float y = 0.0f;
    p.getJoystick(x, y);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(y, 0.0f);
}

TEST(Joystick, SmoothedAxesGlideAndReportEverySample)
{
    CProbe p;
    p.m_nSampleRate = 1000;
    p.m_joystickX.m_bSmooth = true;
    p.m_joystickX.m_fSmoothMsec = 2.0f;
    p.prepare();
    p.setJoystickX(1.0f, true);
    p.setJoystickY(-0.5f, true); // the Y axis does not smooth: its value is taken as given
    EXPECT_TRUE(p.m_mixes.empty());
    EXPECT_EQ(p.m_joystickX.m_fStickValue, 0.0f);
    for (int i = 0; i < 200; ++i)
        p.advanceSmoothing();
    EXPECT_EQ(p.m_mixes.size(), 200u);
    EXPECT_EQ(p.m_joystickX.m_fStickValue, 1.0f);
    EXPECT_EQ(p.m_joystickY.m_fStickValue, -0.5f);
}

TEST(Prepare, UnbuiltPlugInPreparesNothing)
{
    CProbe p(false);
    p.m_joystickX.m_bSmooth = true;
    p.m_joystickX.m_fStickValue = 0.5f;
    EXPECT_TRUE(p.prepare());
    EXPECT_EQ(p.m_joystickX.m_fCoefA, 0.0f);
    EXPECT_EQ(p.m_joystickX.m_fTarget, 0.0f);
}

TEST(PlugIn, ConstructionAndDefaults)
{
    CProbe p;
    EXPECT_EQ(p.m_nControlCount, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(p.m_ppControlTable[i], p.m_controls.at(i));
    EXPECT_EQ(p.m_nSampleRate, 44100);
    EXPECT_STREQ(p.m_szButtonNames[0], "B1");
    EXPECT_STREQ(p.m_szButtonNames[2], "B3");
    EXPECT_EQ(p.m_szPresetNames[0], nullptr);
    EXPECT_FALSE(p.m_bUseEditor);
    EXPECT_STREQ(p.m_joystickX.m_szName, "MIDI JS X");
    EXPECT_STREQ(p.m_joystickY.m_szName, "MIDI JS Y");
    EXPECT_EQ(p.m_joystickX.m_uId, 32773u);
    EXPECT_EQ(p.m_joystickY.m_uMidiController, 17u);
    EXPECT_TRUE(p.m_joystickY.m_bStickRotated);

    CLinkedChange* list = nullptr;
    EXPECT_FALSE(p.linkedChanges(0, 1.0f, list, true));
    EXPECT_EQ(list, nullptr);
    list = new CLinkedChange{1, 0.5f, new CLinkedChange{2, 0.25f, new CLinkedChange}};
    p.freeLinkedChanges(list); // the sanitized run reports any node left behind
    EXPECT_EQ(list, nullptr);

    CGuiMessageRecord record;
    for (uint32_t code : {kGuiEditorOpened, kGuiCustomView, kGuiOpenCustomEditor})
        EXPECT_EQ(p.editorMessage(&(record.m_uCode = code, record)), nullptr);

    CHostTimeInfo time;
    time.m_dTempo = 133.0;
    CHostMessage message;
    message.m_pTime = &time;
    p.hostMessage(kHostMessageMidiList, &message);
    EXPECT_EQ(p.m_timeInfo.m_dTempo, 0.0);
    p.hostMessage(kHostMessageTimeInfo, &message);
    EXPECT_EQ(p.m_timeInfo.m_dTempo, 133.0);
    message.m_pTime = nullptr;
    p.hostMessage(kHostMessageTimeInfo, &message);
    p.hostMessage(kHostMessageTimeInfo, nullptr);
    EXPECT_EQ(p.m_timeInfo.m_dTempo, 133.0);
}

TEST(PlugIn, ReleasingFreesEntriesWithDuplicateIds)
{
    // Entries sharing an ID are all released (the sanitized run checks for leaks).
    class CDuplicates : public CPlugIn
    {
    public:
        CDuplicates()
        {
            for (int i = 0; i < 4; ++i)
                m_controls.append(CControlDescriptor());
            finishControls();
        }
    };
    CDuplicates p;
    EXPECT_EQ(p.m_nControlCount, 4);
}

TEST(PlugIn, PerSampleOperationsAllocateNothing)
{
    class CQueue : public IParamUpdateQueue
    {
    public:
        int32_t getParameterIndex() override { return 0; }
        bool getValueAtOffset(int32_t, double, double*) override { return false; }
        bool getNextValue(double* value) override
        {
            *value = 0.5;
            return true;
        }
    };
    CProbe p;
    CQueue queue;
    p.m_reactions.reserve(4096);
    p.m_mixes.reserve(4096);
    p.entry(CProbe::kFloat).m_bSmooth = true;
    p.entry(CProbe::kDouble).m_bSmooth = true;
    p.entry(CProbe::kInt).m_pConnector = &queue;
    p.m_joystickX.m_bSmooth = true;
    p.prepare();
    CHostTimeInfo time;
    CHostMessage message;
    message.m_pTime = &time;

    CAllocationCount allocations;
    for (int frame = 0; frame < 256; ++frame) {
        p.hostMessage(kHostMessageTimeInfo, &message);
        p.setNormalized(CProbe::kFloat, (frame % 7) / 7.0f, false);
        p.setNormalized(CProbe::kUint, (frame % 3) / 3.0f, false);
        p.setJoystickX(0.5f, true);
        p.setJoystickY(-0.5f, true);
        p.applySampleAccurateValues();
        p.advanceSmoothing();
    }
    EXPECT_EQ(allocations.count(), 0u);
}
