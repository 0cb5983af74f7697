#include "plugin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr float kTwoPi = 6.28318530717958647692f;

// Double to int with saturation, so an out-of-range stored value cannot overflow.
int32_t saturateInt32(double value)
{
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int64_t saturateInt64(double value)
{
    if (value >= 9223372036854775807.0)
        return std::numeric_limits<int64_t>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

// One-pole smoother pole for a smoothing time at a sample rate, in single precision. A time or
// rate that is not positive gives no smoothing (pole 0) rather than an unstable pole.
float smoothingPole(int32_t sampleRate, float smoothMsec)
{
    const float samples = static_cast<float>(sampleRate) * smoothMsec * 0.001f;
    if (!(samples > 0.0f))
        return 0.0f;
    return std::exp(-kTwoPi / samples);
}

// Smoother of a joystick axis: its stick value plays the bound variable.
void prepareAxis(CControlDescriptor& axis, int32_t sampleRate)
{
    const float a = smoothingPole(sampleRate, axis.m_fSmoothMsec);
    const float b = 1.0f - a;
    axis.m_fCoefA = a;
    axis.m_fCoefB = b;
    axis.m_dCoefA = a;
    axis.m_dCoefB = b;
    axis.m_fState = axis.m_fStickValue;
    axis.m_fLast = axis.m_fStickValue;
    axis.m_dState = axis.m_fStickValue;
    axis.m_dLast = axis.m_fStickValue;
    axis.m_fTarget = axis.m_fStickValue;
}

void advanceAxis(CControlDescriptor& axis)
{
    const float y = axis.m_fTarget * axis.m_fCoefB + axis.m_fState * axis.m_fCoefA;
    axis.m_fState = y;
    if (y != axis.m_fLast) {
        axis.m_fLast = y;
        axis.m_fStickValue = y;
    } else {
        axis.m_fStickValue = axis.m_fTarget;
    }
}

double limit(double value, double low, double high)
{
    return value < low ? low : (value > high ? high : value);
}

// Weight limited to 0..1; a NaN weight counts as 0.
double limitWeight(double value)
{
    if (value > 1.0)
        value = 1.0;
    if (!(value >= 0.0))
        value = 0.0;
    return value;
}

} // namespace

CPlugIn::CPlugIn()
{
    m_joystickX.m_szName = "MIDI JS X";
    m_joystickY.m_szName = "MIDI JS Y";
    // Copy the literal names into the descriptors' own buffers.
    m_joystickX = CControlDescriptor(m_joystickX);
    m_joystickY = CControlDescriptor(m_joystickY);
    m_joystickX.m_uMidiController = 16;
    m_joystickY.m_uMidiController = 17;
}

CPlugIn::~CPlugIn()
{
    // Remove the entries from the last position to the first, then whatever is left.
    const int32_t count = m_controls.count();
    for (int32_t position = count - 1; position >= 0; --position) {
        const CControlDescriptor* entry = m_controls.at(position);
        if (entry != nullptr)
            m_controls.removeById(entry->m_uId);
    }
    m_controls.clear();
    delete[] m_ppControlTable;
    m_ppControlTable = nullptr;
}

bool CPlugIn::prepare()
{
    if (m_ppControlTable == nullptr)
        return true;

    for (int32_t position = 0; position < m_nControlCount; ++position) {
        CControlDescriptor* entry = m_ppControlTable[position];
        if (entry == nullptr || !entry->m_bSmooth)
            continue;
        float current = 0.0f;
        if (entry->m_uValueType == kValueFloat && entry->m_pFloat != nullptr)
            current = *entry->m_pFloat;
        else if (entry->m_uValueType == kValueDouble && entry->m_pDouble != nullptr)
            current = static_cast<float>(*entry->m_pDouble);
        else
            continue;
        const float a = smoothingPole(m_nSampleRate, entry->m_fSmoothMsec);
        const float b = 1.0f - a;
        entry->m_fCoefA = a;
        entry->m_fCoefB = b;
        entry->m_dCoefA = a;
        entry->m_dCoefB = b;
        entry->m_fState = current;
        entry->m_fLast = current;
        entry->m_fTarget = current;
        if (entry->m_uValueType == kValueDouble) {
            entry->m_dState = *entry->m_pDouble;
            entry->m_dLast = *entry->m_pDouble;
        } else {
            entry->m_dState = current;
            entry->m_dLast = current;
        }
    }

    if (m_joystickX.m_bSmooth)
        prepareAxis(m_joystickX, m_nSampleRate);
    if (m_joystickY.m_bSmooth)
        prepareAxis(m_joystickY, m_nSampleRate);
    return true;
}

bool CPlugIn::processFrame(float*, float*, uint32_t, uint32_t) { return true; }
bool CPlugIn::controlChanged(uint32_t) { return true; }
bool CPlugIn::setUp() { return true; }
bool CPlugIn::joystickChanged(float, float, float, float, float, float) { return true; }
bool CPlugIn::processSamples(float*, float*, uint32_t, uint32_t) { return true; }
bool CPlugIn::processBuffers(float**, float**, uint32_t, uint32_t) { return true; }
bool CPlugIn::noteOn(uint32_t, uint32_t, uint32_t) { return true; }
bool CPlugIn::noteOff(uint32_t, uint32_t, uint32_t, bool) { return true; }
bool CPlugIn::modWheelMoved(uint32_t, uint32_t) { return true; }
bool CPlugIn::pitchBendMoved(uint32_t, int32_t, float) { return true; }
bool CPlugIn::clockTick() { return true; }
bool CPlugIn::rawMidi(uint32_t, uint32_t, uint32_t, uint32_t) { return true; }
bool CPlugIn::buildControls() { return true; }

void CPlugIn::hostMessage(uint32_t code, CHostMessage* message)
{
    if (code == kHostMessageTimeInfo && message != nullptr && message->m_pTime != nullptr)
        m_timeInfo = *message->m_pTime;
}

bool CPlugIn::linkedChanges(uint32_t, float, CLinkedChange*&, bool) { return false; }

void CPlugIn::freeLinkedChanges(CLinkedChange*& list)
{
    // Free from the last node to the first.
    while (list != nullptr) {
        CLinkedChange** link = &list;
        while ((*link)->m_pNext != nullptr)
            link = &(*link)->m_pNext;
        delete *link;
        *link = nullptr;
    }
}

void* CPlugIn::editorMessage(CGuiMessageRecord*) { return nullptr; }
bool CPlugIn::sideChainInput(CSideChainRecord*) { return true; }
bool CPlugIn::reservedOperation() { return true; }

void CPlugIn::cook(CControlDescriptor& entry, float plain, bool smoothedTarget, bool truncateInt)
{
    // A NaN or infinite value carries no usable value: the control keeps the one it has.
    if (!std::isfinite(plain))
        return;

    switch (entry.m_uValueType) {
    case kValueInt:
        if (entry.m_pInt == nullptr)
            return;
        *entry.m_pInt = truncateInt
            ? saturateInt32(static_cast<double>(plain))
            : saturateInt32(std::floor(static_cast<double>(plain) + 0.5));
        controlChanged(entry.m_uId);
        return;
    case kValueFloat:
        if (entry.m_pFloat == nullptr)
            return;
        if (entry.m_bSmooth && smoothedTarget)
            entry.m_fTarget = plain;
        else
            *entry.m_pFloat = plain;
        controlChanged(entry.m_uId);
        return;
    case kValueDouble:
        if (entry.m_pDouble == nullptr)
            return;
        if (entry.m_bSmooth && smoothedTarget)
            entry.m_fTarget = plain;
        else
            *entry.m_pDouble = static_cast<double>(plain);
        controlChanged(entry.m_uId);
        return;
    case kValueUint: {
        if (entry.m_pUint == nullptr)
            return;
        // Rounded half-up as a 64-bit integer; compared and stored as 32 bits.
        const int64_t n = saturateInt64(std::floor(static_cast<double>(plain) + 0.5));
        const auto index = static_cast<unsigned int>(static_cast<uint32_t>(n));
        if (*entry.m_pUint != index) {
            *entry.m_pUint = index;
            controlChanged(entry.m_uId);
        }
        return;
    }
    default:
        return;
    }
}

void CPlugIn::setNormalized(int32_t position, float normalized, bool immediate)
{
    if (m_ppControlTable == nullptr || position < 0 || position >= m_nControlCount)
        return;
    CControlDescriptor* entry = m_ppControlTable[position];
    if (entry == nullptr)
        return;
    // A host may send values outside 0..1; they are held at the ends of the range.
    if (normalized < 0.0f)
        normalized = 0.0f;
    else if (normalized > 1.0f)
        normalized = 1.0f;
    const float plain = entry->m_fLow + (entry->m_fHigh - entry->m_fLow) * normalized;
    cook(*entry, plain, !immediate, false);
}

void CPlugIn::setPlain(int32_t position, float plain)
{
    if (m_ppControlTable == nullptr || position < 0 || position >= m_nControlCount)
        return;
    CControlDescriptor* entry = m_ppControlTable[position];
    if (entry == nullptr)
        return;
    // A stored value outside the control's limits (an old, foreign or damaged state) is held
    // at the nearer limit, so that nothing outside them reaches the plug-in's processing.
    // Values inside the limits pass unchanged.
    if (!std::isfinite(plain))
        return;
    const float lo = std::min(entry->m_fLow, entry->m_fHigh);
    const float hi = std::max(entry->m_fLow, entry->m_fHigh);
    if (plain < lo)
        plain = lo;
    else if (plain > hi)
        plain = hi;
    cook(*entry, plain, true, true);
}

float CPlugIn::getValue(int32_t position) const
{
    if (m_ppControlTable == nullptr || position < 0 || position >= m_nControlCount)
        return 0.0f;
    const CControlDescriptor* entry = m_ppControlTable[position];
    if (entry == nullptr)
        return 0.0f;
    switch (entry->m_uValueType) {
    case kValueInt:
        return entry->m_pInt != nullptr ? static_cast<float>(*entry->m_pInt) : 0.0f;
    case kValueFloat:
        return entry->m_pFloat != nullptr ? *entry->m_pFloat : 0.0f;
    case kValueDouble:
        return entry->m_pDouble != nullptr ? static_cast<float>(*entry->m_pDouble) : 0.0f;
    case kValueUint:
        return entry->m_pUint != nullptr ? static_cast<float>(*entry->m_pUint) : 0.0f;
    default:
        return 0.0f;
    }
}

void CPlugIn::setJoystickX(float axis, bool rotated)
{
    if (m_joystickX.m_bSmooth)
        m_joystickX.m_fTarget = axis;
    else
        m_joystickX.m_fStickValue = axis;
    m_joystickX.m_bStickRotated = rotated;
    if (!m_joystickX.m_bSmooth)
        reportJoystick();
}

void CPlugIn::setJoystickY(float axis, bool rotated)
{
    if (m_joystickY.m_bSmooth)
        m_joystickY.m_fTarget = axis;
    else
        m_joystickY.m_fStickValue = axis;
    m_joystickY.m_bStickRotated = rotated;
    // Smoothing of both axes follows the X axis's switch; the X axis's orientation rules.
    if (!m_joystickX.m_bSmooth)
        reportJoystick();
}

void CPlugIn::getJoystick(float& x, float& y) const
{
    x = m_joystickX.m_fStickValue;
    y = m_joystickY.m_fStickValue;
}

void CPlugIn::reportJoystick()
{
    const CJoystickMix mix = joystickMix(m_joystickX.m_fStickValue, m_joystickY.m_fStickValue,
                                         m_joystickX.m_bStickRotated);
    joystickChanged(mix.m_fMixA, mix.m_fMixB, mix.m_fMixC, mix.m_fMixD, mix.m_fPositionX,
                    mix.m_fPositionY);
}

void CPlugIn::applySampleAccurateValues()
{
    if (m_ppControlTable == nullptr)
        return;
    for (int32_t position = 0; position < m_nControlCount; ++position) {
        CControlDescriptor* entry = m_ppControlTable[position];
        if (entry == nullptr || entry->m_pConnector == nullptr)
            continue;
        double value = 0.0;
        if (entry->m_pConnector->getNextValue(&value))
            setNormalized(position, static_cast<float>(value), true);
    }
}

void CPlugIn::advanceSmoothing()
{
    if (m_ppControlTable != nullptr) {
        for (int32_t position = 0; position < m_nControlCount; ++position) {
            CControlDescriptor* entry = m_ppControlTable[position];
            if (entry == nullptr || !entry->m_bSmooth)
                continue;
            if (entry->m_uValueType == kValueFloat && entry->m_pFloat != nullptr) {
                const float y = entry->m_fTarget * entry->m_fCoefB + entry->m_fState * entry->m_fCoefA;
                entry->m_fState = y;
                if (y != entry->m_fLast) {
                    entry->m_fLast = y;
                    *entry->m_pFloat = y;
                    controlChanged(entry->m_uId);
                } else {
                    // Settled: snap to the target without a reaction.
                    *entry->m_pFloat = entry->m_fTarget;
                }
            } else if (entry->m_uValueType == kValueDouble && entry->m_pDouble != nullptr) {
                const double target = entry->m_fTarget;
                const double y = target * entry->m_dCoefB + entry->m_dState * entry->m_dCoefA;
                entry->m_dState = y;
                if (y != entry->m_dLast) {
                    entry->m_dLast = y;
                    *entry->m_pDouble = y;
                    controlChanged(entry->m_uId);
                } else {
                    *entry->m_pDouble = target;
                }
            }
        }
    }

    // The X axis's switch turns joystick smoothing on for both axes. An axis whose own flag
    // is off was written directly by its setter and keeps that value.
    if (m_joystickX.m_bSmooth) {
        advanceAxis(m_joystickX);
        if (m_joystickY.m_bSmooth)
            advanceAxis(m_joystickY);
        reportJoystick();
    }
}

CJoystickMix CPlugIn::joystickMix(float x, float y, bool rotated)
{
    const double r = 1.41421356;
    const double dx = x;
    const double dy = y;

    double positionX;
    double positionY;
    double e;
    double f;
    if (rotated) {
        positionX = (dx + 1.0) * 0.5;
        positionY = (dy + 1.0) * 0.5;
        e = (dx * r + dy * r) / r;
        f = (dy * r - dx * r) / r;
    } else {
        positionX = ((dx - dy) / r / r + 1.0) * 0.5;
        positionY = ((dx + dy) / r / r + 1.0) * 0.5;
        e = dx;
        f = dy;
    }
    e = limit(e * 127.0, -128.0, 127.0) + 127.0;
    f = limit(f * 127.0, -128.0, 127.0) + 127.0;

    double mA;
    double mB;
    double mC;
    double mD;
    if (e == 127.0 && f == 127.0) {
        mA = mB = mC = mD = 0.25;
    } else {
        mB = e * f / 645.0;
        mC = (255.0 - f) * e / 645.0;
        mD = (255.0 - e) * (255.0 - f) / 645.0;
        mA = (100.0 - mB - mC - mD) / 100.0;
        mB /= 100.0;
        mC /= 100.0;
        mD /= 100.0;
    }

    CJoystickMix mix;
    mix.m_fMixA = static_cast<float>(limitWeight(mA));
    mix.m_fMixB = static_cast<float>(limitWeight(mB));
    mix.m_fMixC = static_cast<float>(limitWeight(mC));
    mix.m_fMixD = static_cast<float>(limitWeight(mD));
    mix.m_fPositionX = static_cast<float>(positionX);
    mix.m_fPositionY = static_cast<float>(positionY);
    return mix;
}

void CPlugIn::finishControls()
{
    m_nControlCount = m_controls.count();
    delete[] m_ppControlTable;
    m_ppControlTable = nullptr;
    m_ppControlTable = new CControlDescriptor*[m_nControlCount + 2]();
    for (int32_t position = 0; position < m_nControlCount; ++position) {
        CControlDescriptor* entry = m_controls.at(position);
        if (entry != nullptr)
            m_ppControlTable[position] = entry;
    }

    CControlDescriptor* axes[2] = {&m_joystickX, &m_joystickY};
    const uint32_t ids[2] = {32773, 32774};
    const uint32_t controllers[2] = {16, 17};
    for (int i = 0; i < 2; ++i) {
        CControlDescriptor& axis = *axes[i];
        axis.m_uId = ids[i];
        axis.m_bMidi = false;
        axis.m_uMidiStatus = 176;
        axis.m_uMidiController = controllers[i];
        axis.m_uMidiChannel = 0;
        axis.m_fStickValue = 0.0f;
        axis.m_bStickRotated = true;
        axis.m_bSmooth = false;
        axis.m_fSmoothMsec = 100.0f;
        for (double& preset : axis.m_dPresets)
            preset = 0.0;
    }
}
