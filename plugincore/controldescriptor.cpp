#include "controldescriptor.h"

#include <cstring>

namespace {

// Copies at most kControlTextMax characters of text (null counts as empty) into buffer, which
// holds kControlTextMax + 1 characters, and terminates it.
void copyText(char* buffer, const char* text)
{
    size_t length = 0;
    if (text != nullptr) {
        while (length < static_cast<size_t>(kControlTextMax) && text[length] != '\0')
            ++length;
        std::memmove(buffer, text, length);
    }
    buffer[length] = '\0';
    buffer[kControlTextMax] = '\0';
}

} // namespace

CControlDescriptor::CControlDescriptor()
    : m_szName(m_acName), m_szUnits(m_acUnits), m_szVariable(m_acVariable),
      m_szEnumList(m_acEnumList)
{
    m_acName[0] = '\0';
    m_acUnits[0] = '\0';
    m_acVariable[0] = '\0';
    m_acEnumList[0] = '\0';
}

CControlDescriptor::CControlDescriptor(const CControlDescriptor& other)
    : m_szName(m_acName), m_szUnits(m_acUnits), m_szVariable(m_acVariable),
      m_szEnumList(m_acEnumList)
{
    copyFrom(other);
}

CControlDescriptor& CControlDescriptor::operator=(const CControlDescriptor& other)
{
    if (this != &other)
        copyFrom(other);
    return *this;
}

void CControlDescriptor::copyFrom(const CControlDescriptor& other)
{
    m_uKind = other.m_uKind;
    m_uId = other.m_uId;
    m_uMeterMode = other.m_uMeterMode;
    m_fLow = other.m_fLow;
    m_fHigh = other.m_fHigh;
    m_uValueType = other.m_uValueType;
    m_fInitial = other.m_fInitial;
    m_fTarget = other.m_fTarget;
    m_fCoefA = other.m_fCoefA;
    m_fCoefB = other.m_fCoefB;
    m_fState = other.m_fState;
    m_fLast = other.m_fLast;
    m_dCoefA = other.m_dCoefA;
    m_dCoefB = other.m_dCoefB;
    m_dState = other.m_dState;
    m_dLast = other.m_dLast;
    m_fSmoothMsec = other.m_fSmoothMsec;
    m_bSmooth = other.m_bSmooth;
    m_fStickValue = other.m_fStickValue;
    m_bStickRotated = other.m_bStickRotated;
    m_pInt = other.m_pInt;
    m_pFloat = other.m_pFloat;
    m_pDouble = other.m_pDouble;
    m_pUint = other.m_pUint;
    m_pMeter = other.m_pMeter;
    // The texts always land in this descriptor's own buffers, cut to kControlTextMax.
    copyText(m_acName, other.m_szName);
    copyText(m_acUnits, other.m_szUnits);
    copyText(m_acVariable, other.m_szVariable);
    copyText(m_acEnumList, other.m_szEnumList);
    m_szName = m_acName;
    m_szUnits = m_acUnits;
    m_szVariable = m_acVariable;
    m_szEnumList = m_acEnumList;
    m_bMeterLog = other.m_bMeterLog;
    m_bLogTaper = other.m_bLogTaper;
    m_bVoltOctave = other.m_bVoltOctave;
    m_fMeterAttackMsec = other.m_fMeterAttackMsec;
    m_fMeterReleaseMsec = other.m_fMeterReleaseMsec;
    m_bMidi = other.m_bMidi;
    m_uMidiStatus = other.m_uMidiStatus;
    m_uMidiController = other.m_uMidiController;
    m_uMidiChannel = other.m_uMidiChannel;
    m_nPrecision = other.m_nPrecision;
    for (int i = 0; i < kPresetSlots; ++i)
        m_dPresets[i] = other.m_dPresets[i];
    m_pConnector = other.m_pConnector;
}
