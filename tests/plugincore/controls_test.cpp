// Control descriptors (copying, owned texts, the 1023-character limit) and the control list.
#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "controldescriptor.h"
#include "controllist.h"
#include "hostrecords.h"

namespace {

// A value source that never delivers; only its address matters here.
class CSilentQueue : public IParamUpdateQueue
{
public:
    int32_t getParameterIndex() override { return 0; }
    bool getValueAtOffset(int32_t, double, double*) override { return false; }
    bool getNextValue(double*) override { return false; }
};

CControlDescriptor withId(uint32_t id, const char* name = "")
{
    CControlDescriptor d;
    d.m_uId = id;
    d.m_szName = name;
    return d;
}

} // namespace

TEST(ControlDescriptor, DefaultConstructionLeavesTheDocumentedValues)
{
    const CControlDescriptor d;
    EXPECT_EQ(d.m_uKind, 0u);
    EXPECT_EQ(d.m_uMeterMode, 2u);
    EXPECT_EQ(d.m_uValueType, kValueNone);
    EXPECT_EQ(d.m_fSmoothMsec, 100.0f);
    EXPECT_EQ(d.m_fMeterAttackMsec, 10.0f);
    EXPECT_EQ(d.m_fMeterReleaseMsec, 500.0f);
    EXPECT_EQ(d.m_uMidiStatus, 176u);
    EXPECT_EQ(d.m_uMidiController, 3u);
    EXPECT_EQ(d.m_nPrecision, 0);
    for (const char* text : {d.m_szName, d.m_szUnits, d.m_szVariable, d.m_szEnumList})
        EXPECT_STREQ(text, "");
    for (double preset : d.m_dPresets)
        EXPECT_EQ(preset, 0.0);
    EXPECT_EQ(d.m_pFloat, nullptr);
    EXPECT_EQ(d.m_pConnector, nullptr);
}

TEST(ControlDescriptor, CopyCarriesEveryMemberAndOwnsItsTexts)
{
    float fVar = 0.0f;
    int nVar = 0;
    double dVar = 0.0;
    unsigned int uVar = 0;
    float meter = 0.0f;

    CControlDescriptor src;
    src.m_uKind = 103;
    src.m_uId = 7;
    src.m_uMeterMode = 5;
    src.m_fLow = -1.5f;
    src.m_fHigh = 9.25f;
    src.m_uValueType = kValueDouble;
    src.m_fInitial = 3.5f;
    src.m_fTarget = 4.5f;
    src.m_fCoefA = 0.25f;
    src.m_fCoefB = 0.75f;
    src.m_fState = 1.25f;
    src.m_fLast = 2.25f;
    src.m_dCoefA = 0.125;
    src.m_dCoefB = 0.875;
    src.m_dState = 3.125;
    src.m_dLast = 4.125;
    src.m_fSmoothMsec = 12.0f;
    src.m_bSmooth = true;
    src.m_fStickValue = -0.5f;
    src.m_bStickRotated = true;
    src.m_pInt = &nVar;
    src.m_pFloat = &fVar;
    src.m_pDouble = &dVar;
    src.m_pUint = &uVar;
    src.m_pMeter = &meter;
    src.m_szName = "Name";
    src.m_szUnits = "dB";
    src.m_szVariable = "m_dThing";
    src.m_szEnumList = "A,B";
    src.m_bMeterLog = true;
    src.m_bLogTaper = true;
    src.m_bVoltOctave = true;
    src.m_fMeterAttackMsec = 1.0f;
    src.m_fMeterReleaseMsec = 2.0f;
    src.m_bMidi = true;
    src.m_uMidiStatus = 144;
    src.m_uMidiController = 74;
    src.m_uMidiChannel = 9;
    src.m_nPrecision = 3;
    for (int i = 0; i < kPresetSlots; ++i)
        src.m_dPresets[i] = i * 0.5 - 1.0;
    src.m_dPresets[3] = -0.0;
    CSilentQueue queue;
    IParamUpdateQueue* connector = &queue;
    src.m_pConnector = connector;

    const CControlDescriptor constructed(src);
    CControlDescriptor assigned;
    assigned = src;

    for (const CControlDescriptor* copy : {&constructed, static_cast<const CControlDescriptor*>(&assigned)}) {
        EXPECT_EQ(copy->m_uKind, 103u);
        EXPECT_EQ(copy->m_uId, 7u);
        EXPECT_EQ(copy->m_uMeterMode, 5u);
        EXPECT_EQ(copy->m_fLow, -1.5f);
        EXPECT_EQ(copy->m_fHigh, 9.25f);
        EXPECT_EQ(copy->m_uValueType, kValueDouble);
        EXPECT_EQ(copy->m_fInitial, 3.5f);
        EXPECT_EQ(copy->m_fTarget, 4.5f);
        EXPECT_EQ(copy->m_fCoefA, 0.25f);
        EXPECT_EQ(copy->m_fCoefB, 0.75f);
        EXPECT_EQ(copy->m_fState, 1.25f);
        EXPECT_EQ(copy->m_fLast, 2.25f);
        EXPECT_EQ(copy->m_dCoefA, 0.125);
        EXPECT_EQ(copy->m_dCoefB, 0.875);
        EXPECT_EQ(copy->m_dState, 3.125);
        EXPECT_EQ(copy->m_dLast, 4.125);
        EXPECT_EQ(copy->m_fSmoothMsec, 12.0f);
        EXPECT_TRUE(copy->m_bSmooth);
        EXPECT_EQ(copy->m_fStickValue, -0.5f);
        EXPECT_TRUE(copy->m_bStickRotated);
        EXPECT_EQ(copy->m_pInt, &nVar);
        EXPECT_EQ(copy->m_pFloat, &fVar);
        EXPECT_EQ(copy->m_pDouble, &dVar);
        EXPECT_EQ(copy->m_pUint, &uVar);
        EXPECT_EQ(copy->m_pMeter, &meter);
        EXPECT_STREQ(copy->m_szName, "Name");
        EXPECT_STREQ(copy->m_szUnits, "dB");
        EXPECT_STREQ(copy->m_szVariable, "m_dThing");
        EXPECT_STREQ(copy->m_szEnumList, "A,B");
        EXPECT_TRUE(copy->m_bMeterLog);
        EXPECT_TRUE(copy->m_bLogTaper);
        EXPECT_TRUE(copy->m_bVoltOctave);
        EXPECT_EQ(copy->m_fMeterAttackMsec, 1.0f);
        EXPECT_EQ(copy->m_fMeterReleaseMsec, 2.0f);
        EXPECT_TRUE(copy->m_bMidi);
        EXPECT_EQ(copy->m_uMidiStatus, 144u);
        EXPECT_EQ(copy->m_uMidiController, 74u);
        EXPECT_EQ(copy->m_uMidiChannel, 9u);
        EXPECT_EQ(copy->m_nPrecision, 3);
        for (int i = 0; i < kPresetSlots; ++i)
            EXPECT_EQ(copy->m_dPresets[i], src.m_dPresets[i]) << "slot " << i;
        EXPECT_TRUE(std::signbit(copy->m_dPresets[3]));
        EXPECT_EQ(copy->m_pConnector, connector);

        // The texts live in the copy, not in the literals the source pointed at.
        for (const char* text : {copy->m_szName, copy->m_szUnits, copy->m_szVariable, copy->m_szEnumList}) {
            EXPECT_GE(text, reinterpret_cast<const char*>(copy));
            EXPECT_LT(text, reinterpret_cast<const char*>(copy + 1));
        }
    }
}

TEST(ControlDescriptor, TextsAreCutTo1023CharactersOnCopy)
{
    struct Case
    {
        size_t length;
        size_t kept;
    };
    for (const Case c : {Case{0, 0}, Case{1022, 1022}, Case{1023, 1023}, Case{1024, 1023}, Case{5000, 1023}}) {
        std::string text(c.length, 'x');
        if (c.length > 0)
            text[c.length - 1] = 'y'; // the last character tells whether the end survived
        CControlDescriptor src;
        src.m_szName = text.c_str();
        src.m_szUnits = text.c_str();
        src.m_szVariable = text.c_str();
        src.m_szEnumList = text.c_str();
        const CControlDescriptor copy(src);
        for (const char* copied : {copy.m_szName, copy.m_szUnits, copy.m_szVariable, copy.m_szEnumList}) {
            EXPECT_EQ(std::strlen(copied), c.kept) << "length " << c.length;
            EXPECT_EQ(std::string(copied), text.substr(0, c.kept));
        }
    }
}

TEST(ControlDescriptor, CopyIsIndependentOfItsSource)
{
    CControlDescriptor first;
    first.m_szName = "first";
    CControlDescriptor owned(first); // owns "first"
    CControlDescriptor second(owned);
    owned.m_szName = "changed";
    owned = CControlDescriptor(owned);
    EXPECT_STREQ(second.m_szName, "first");
    EXPECT_STREQ(owned.m_szName, "changed");

    // A null text counts as empty; self-assignment changes nothing.
    CControlDescriptor nulls;
    nulls.m_szUnits = nullptr;
    const CControlDescriptor fromNull(nulls);
    EXPECT_STREQ(fromNull.m_szUnits, "");
    CControlDescriptor& alias = second;
    second = alias;
    EXPECT_STREQ(second.m_szName, "first");
}

TEST(ControlList, AppendCountAtKeepOrderAndOwnTheEntries)
{
    CControlList list;
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.at(0), nullptr);

    std::string name = "alpha";
    CControlDescriptor d = withId(10, name.c_str());
    CControlDescriptor* stored = list.append(d);
    name = "gamma"; // the stored entry keeps its own text
    list.append(withId(11, "beta"));
    list.append(withId(12, "gamma"));

    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.at(0), stored);
    EXPECT_STREQ(list.at(0)->m_szName, "alpha");
    EXPECT_EQ(list.at(1)->m_uId, 11u);
    EXPECT_EQ(list.at(2)->m_uId, 12u);
    EXPECT_EQ(list.at(3), nullptr);
    EXPECT_EQ(list.at(-1), nullptr);

    // A copied list is deep: its entries are its own.
    CControlList copy(list);
    ASSERT_EQ(copy.count(), 3);
    EXPECT_NE(copy.at(0), list.at(0));
    EXPECT_STREQ(copy.at(2)->m_szName, "gamma");
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.at(0), nullptr);
    EXPECT_STREQ(copy.at(1)->m_szName, "beta");
}

TEST(ControlList, RemoveByIdUnlinksTheFirstMatchOnly)
{
    CControlList empty;
    empty.removeById(3);
    EXPECT_EQ(empty.count(), 0);

    CControlList list;
    list.append(withId(1, "a"));
    list.append(withId(2, "first two"));
    list.append(withId(3, "c"));
    list.append(withId(2, "second two"));

    list.removeById(99); // not in the list
    EXPECT_EQ(list.count(), 4);

    list.removeById(2);
    ASSERT_EQ(list.count(), 3);
    EXPECT_STREQ(list.at(1)->m_szName, "c");
    EXPECT_STREQ(list.at(2)->m_szName, "second two");

    list.removeById(1); // the head
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0)->m_uId, 3u);
    list.removeById(2); // the tail
    ASSERT_EQ(list.count(), 1);
    list.append(withId(4));
    EXPECT_EQ(list.at(1)->m_uId, 4u);
}

TEST(ControlList, LookupsByIdAndMidiController)
{
    CControlList list;
    CControlDescriptor a = withId(5);
    a.m_bMidi = true;
    a.m_uMidiController = 20;
    CControlDescriptor b = withId(6);
    b.m_bMidi = false;
    b.m_uMidiController = 20;
    CControlDescriptor c = withId(5);
    c.m_bMidi = true;
    c.m_uMidiController = 20;
    list.append(a);
    list.append(b);
    list.append(c);

    EXPECT_EQ(list.indexOfId(5), 0); // the first with that ID
    EXPECT_EQ(list.indexOfId(6), 1);
    EXPECT_EQ(list.indexOfId(7), -1);
    EXPECT_EQ(list.indexOfMidiController(20), 2); // the last assigned one
    EXPECT_EQ(list.indexOfMidiController(21), -1);
}
