// One control of a plug-in: its limits, units, bound member variable, smoothing state,
// MIDI assignment and preset values.
#pragma once

#include <cstdint>

class IParamUpdateQueue;

// Control kinds (m_uKind).
constexpr uint32_t kKindParameter = 100;  // automatable host parameter
constexpr uint32_t kKindMeter = 103;      // read-only meter, published from m_pMeter

// Value types (m_uValueType): the type of the bound variable.
constexpr uint32_t kValueInt = 0;     // int, rounded
constexpr uint32_t kValueFloat = 1;   // float, direct or smoothed
constexpr uint32_t kValueDouble = 2;  // double, direct or smoothed
constexpr uint32_t kValueUint = 3;    // unsigned int index into m_szEnumList, written on change
constexpr uint32_t kValueNone = 4;    // no variable

// Number of preset slots every control carries.
constexpr int kPresetSlots = 16;

// Longest text a stored descriptor keeps, in characters (without the terminating zero).
constexpr int kControlTextMax = 1023;

class CControlDescriptor
{
public:
    CControlDescriptor();
    CControlDescriptor(const CControlDescriptor& other);
    CControlDescriptor& operator=(const CControlDescriptor& other);
    ~CControlDescriptor() = default;

    uint32_t m_uKind = 0;               // kKind... code
    uint32_t m_uId = 0;                 // control ID passed to controlChanged
    uint32_t m_uMeterMode = 2;          // meter detector mode, passed to a meter view
    float m_fLow = 0.0f;                // lower limit, plain units
    float m_fHigh = 0.0f;               // upper limit, plain units
    uint32_t m_uValueType = kValueNone; // kValue... code
    float m_fInitial = 0.0f;            // initial value, plain units (0 for kValueUint)
    float m_fTarget = 0.0f;             // smoothing target, plain units
    float m_fCoefA = 0.0f;              // single-precision smoother: pole
    float m_fCoefB = 0.0f;              // input gain, 1 - pole
    float m_fState = 0.0f;              // filter state
    float m_fLast = 0.0f;               // last output
    double m_dCoefA = 0.0;              // double-precision smoother: pole
    double m_dCoefB = 0.0;              // input gain, 1 - pole
    double m_dState = 0.0;              // filter state
    double m_dLast = 0.0;               // last output
    float m_fSmoothMsec = 100.0f;       // smoothing time, ms
    bool m_bSmooth = false;             // smoothing enabled
    float m_fStickValue = 0.0f;         // joystick axis value, -1..+1 (joystick descriptors only)
    bool m_bStickRotated = false;       // joystick orientation (joystick descriptors only)
    int* m_pInt = nullptr;              // bound variable for kValueInt
    float* m_pFloat = nullptr;          // bound variable for kValueFloat
    double* m_pDouble = nullptr;        // bound variable for kValueDouble
    unsigned int* m_pUint = nullptr;    // bound variable for kValueUint
    float* m_pMeter = nullptr;          // value a kKindMeter control shows
    const char* m_szName;               // parameter title, meter view name
    const char* m_szUnits;              // units shown after the value ("msec", "dB" or empty)
    const char* m_szVariable;           // name of the bound member variable (descriptive)
    const char* m_szEnumList;           // comma-separated value names of a kValueUint control
    bool m_bMeterLog = false;           // meter flag, passed to a meter view
    bool m_bLogTaper = false;           // host parameter uses the logarithmic mapping
    bool m_bVoltOctave = false;         // host parameter uses the volt/octave mapping
    float m_fMeterAttackMsec = 10.0f;   // meter attack, ms
    float m_fMeterReleaseMsec = 500.0f; // meter release, ms
    bool m_bMidi = false;               // a MIDI controller is assigned
    uint32_t m_uMidiStatus = 176;       // MIDI status of the assignment (176 = control change)
    uint32_t m_uMidiController = 3;     // MIDI controller number
    uint32_t m_uMidiChannel = 0;        // MIDI channel
    int32_t m_nPrecision = 0;           // decimal places the host shows
    double m_dPresets[kPresetSlots] = {}; // value per preset slot, plain units
    IParamUpdateQueue* m_pConnector = nullptr; // sample-accurate value source, not owned

private:
    // Owned storage of the four texts; a stored descriptor's text pointers point here. A builder
    // may point a text member at a literal while filling a temporary; copying brings it home.
    char m_acName[kControlTextMax + 1];
    char m_acUnits[kControlTextMax + 1];
    char m_acVariable[kControlTextMax + 1];
    char m_acEnumList[kControlTextMax + 1];

    void copyFrom(const CControlDescriptor& other);
};
