// Plain records and interfaces that the host binding hands to the plug-in. The plug-in core
// depends on nothing, so they live here; the host binding implements the two interfaces.
#pragma once

#include <cstdint>

// Time information of the current block (host message 2). The host binding zeroes the record
// at the start of every block and fills the first five members.
struct CHostTimeInfo
{
    uint64_t m_uSamplePosition = 0;     // project position, samples (low 32 bits of the host's)
    double m_dSeconds = 0.0;            // m_uSamplePosition / sample rate, s
    double m_dTempo = 0.0;              // tempo, beats per minute
    float m_fTimeSigNumerator = 0.0f;   // time-signature numerator
    uint32_t m_uTimeSigDenominator = 0; // time-signature denominator
    double m_dReserved[4] = {};         // room for further host facts; left zero
};

// Side-chain input of one frame or one block, passed to sideChainInput.
struct CSideChainRecord
{
    uint32_t m_uTag = 1;              // always 1
    float* m_pFrame = nullptr;        // side-chain samples of the current frame (frame mode)
    uint64_t m_uReserved = 0;         // zero
    float** m_ppBuffers = nullptr;    // side-chain channel buffers (buffer mode)
    uint32_t m_uChannels = 0;         // side-chain bus channel count
    bool m_bValid = true;
};

// A source of sample-accurate normalized values for one control (a control's m_pConnector).
// Not deleted through this interface.
class IParamUpdateQueue
{
public:
    // Parameter ID of the host queue it wraps.
    virtual int32_t getParameterIndex() = 0;
    // A new value at this sample offset, if the queue has one there.
    virtual bool getValueAtOffset(int32_t sampleOffset, double previousValue, double* value) = 0;
    // A new value at the queue's running offset, which then advances by one sample.
    virtual bool getNextValue(double* value) = 0;

protected:
    ~IParamUpdateQueue() = default;
};

// The block's MIDI events, pulled by sample offset (handed over with host message 5).
// Not deleted through this interface.
class IMidiEventList
{
public:
    // Number of events of the current block (0 without a host list).
    virtual int32_t getEventCount() = 0;
    // Dispatches the events at this sample offset to the plug-in.
    virtual bool fireMidiEvents(int32_t sampleOffset) = 0;

protected:
    ~IMidiEventList() = default;
};

// Host message codes the binding sends with hostMessage.
constexpr uint32_t kHostMessageTimeInfo = 2;  // m_pTime: the block's (or frame's) time
constexpr uint32_t kHostMessageMidiList = 5;  // m_pEventList: the binding's MIDI event list

// Record of hostMessage; zero-filled by the sender, which sets the member its code uses.
struct CHostMessage
{
    CHostTimeInfo* m_pTime = nullptr;        // code 2; null without host time information
    IMidiEventList* m_pEventList = nullptr;  // code 5
};

// One node of the list linkedChanges returns: a control that must follow the one that changed.
// The plug-in allocates the nodes (new) and frees them in freeLinkedChanges.
struct CLinkedChange
{
    uint32_t m_uControlId = 0;          // control ID (m_uId) of the control to change
    float m_fValue = 0.0f;              // its new value, plain units
    CLinkedChange* m_pNext = nullptr;
};
