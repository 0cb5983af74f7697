// The plug-in base class: the control list and its tables, the configuration the host binding
// reads, value cooking, smoothing, sample-accurate values and the joystick, and the virtual
// interface through which the host binding drives a plug-in.
#pragma once

#include <cstdint>

#include "controldescriptor.h"
#include "controllist.h"
#include "guimessage.h"
#include "hostrecords.h"

// The six results of joystickMix: four mixing weights (0..1) and the pad position (0..1).
struct CJoystickMix
{
    float m_fMixA = 0.0f;
    float m_fMixB = 0.0f;
    float m_fMixC = 0.0f;
    float m_fMixD = 0.0f;
    float m_fPositionX = 0.0f;
    float m_fPositionY = 0.0f;
};

class CPlugIn
{
public:
    CPlugIn();
    CPlugIn(const CPlugIn&) = delete;
    CPlugIn& operator=(const CPlugIn&) = delete;

    // Virtual operations in slot order. Results are true unless stated; callers ignore them.

    // Releases the control list and the control table. UI thread.
    virtual ~CPlugIn();
    // Prepares smoothing at m_nSampleRate (set by the caller just before). UI thread.
    virtual bool prepare();
    // One sample frame; in and out hold two samples each. Audio thread.
    virtual bool processFrame(float* in, float* out, uint32_t inChannels, uint32_t outChannels);
    // Reaction to a value written into a control's variable (or a button, 50..52). Either thread.
    virtual bool controlChanged(uint32_t controlId);
    // Once, right after creation. UI thread.
    virtual bool setUp();
    // Joystick weights and pad position. Either thread.
    virtual bool joystickChanged(float mixA, float mixB, float mixC, float mixD,
                                 float positionX, float positionY);
    // Unused by this host binding. Audio thread.
    virtual bool processSamples(float* in, float* out, uint32_t reserved, uint32_t count);
    // A whole block, when m_bProcessBuffers is set. Audio thread.
    virtual bool processBuffers(float** in, float** out, uint32_t channels, uint32_t frames);
    // MIDI, audio thread.
    virtual bool noteOn(uint32_t channel, uint32_t note, uint32_t velocity);
    virtual bool noteOff(uint32_t channel, uint32_t note, uint32_t velocity, bool allNotesOff);
    virtual bool modWheelMoved(uint32_t channel, uint32_t value);
    virtual bool pitchBendMoved(uint32_t channel, int32_t bend, float bendNormalized);
    virtual bool clockTick();
    virtual bool rawMidi(uint32_t channel, uint32_t status, uint32_t data1, uint32_t data2);
    // Fills the control list; called by the subclass constructor. Constructing thread.
    virtual bool buildControls();
    // Code 2 keeps a copy of the time record; other codes are ignored. Either thread.
    virtual void hostMessage(uint32_t code, CHostMessage* message);
    // Asks for further changes after a control changed; true when the list holds some.
    // The base asks for none. Either thread.
    virtual bool linkedChanges(uint32_t controlId, float value, CLinkedChange*& list, bool flag);
    // Frees every node of a list from linkedChanges and leaves it empty. Either thread.
    virtual void freeLinkedChanges(CLinkedChange*& list);
    // Editor messages; the base answers null to every code. UI thread.
    virtual void* editorMessage(CGuiMessageRecord* message);
    // Side-chain input of a frame or block. Audio thread.
    virtual bool sideChainInput(CSideChainRecord* record);
    virtual bool reservedOperation();

    // Operations by list position, through m_ppControlTable; each does nothing (or yields 0)
    // when the table is missing or the entry is null.

    // Cooks a normalized value (0..1) into the bound variable and reacts. Either thread.
    void setNormalized(int32_t position, float normalized, bool immediate);
    // Writes a plain value (a restored state) into the bound variable and reacts. UI thread.
    void setPlain(int32_t position, float plain);
    // Current value of the bound variable as a float. Either thread.
    float getValue(int32_t position) const;

    // Joystick axes, -1..+1. Either thread.
    void setJoystickX(float axis, bool rotated);
    void setJoystickY(float axis, bool rotated);
    void getJoystick(float& x, float& y) const;

    // Per frame, audio thread: values of attached sample-accurate sources, then smoothing.
    void applySampleAccurateValues();
    void advanceSmoothing();

    // Weights and position for axis values x, y (-1..+1).
    static CJoystickMix joystickMix(float x, float y, bool rotated);

    // Configuration the host binding reads.
    bool m_bOutputOnly = false;         // no audio input
    bool m_bWantAllMidi = false;        // unhandled MIDI goes to rawMidi
    bool m_bProcessBuffers = false;     // processBuffers per block instead of processFrame
    int32_t m_nSampleRate = 44100;      // sample rate, Hz
    const char* m_szPresetNames[kPresetSlots] = {}; // preset slot names; null or empty: not offered
    bool m_bUseEditor = false;          // an editor is offered
    int32_t m_nKnobMode = 0;            // 0 circular, 1 relative circular, 2 linear, 3 host's
    int32_t m_nSideChain = 0;           // nonzero: side-chain input bus
    int32_t m_nSampleAccurate = 0;      // nonzero: sample-accurate value sources
    int32_t m_nGranularity = 0;         // granularity of those sources, samples
    int32_t m_nInfiniteTail = 0;        // 1: infinite tail
    float m_fLatencySamples = 0.0f;     // reported latency, samples
    float m_fTailMsec = 0.0f;           // reported tail, ms
    const char* m_szButtonNames[3] = {"B1", "B2", "B3"}; // assignable buttons (IDs 50..52)

    CControlDescriptor m_joystickX;     // joystick axes; never in the list, never cooked
    CControlDescriptor m_joystickY;

    CControlList m_controls;            // the controls, in position order
    int32_t m_nControlCount = 0;        // entries in m_controls once built
    CControlDescriptor** m_ppControlTable = nullptr; // entry i = control at position i (+2 unused)

    CHostTimeInfo m_timeInfo;           // copy of the last time record (host message 2)

protected:
    // After the last control is appended: counts the list, builds the control table and fills
    // the joystick descriptors.
    void finishControls();

private:
    void cook(CControlDescriptor& entry, float plain, bool smoothedTarget, bool truncateInt);
    void reportJoystick();
};

// Makes the module's one plug-in; null when it cannot be made. The caller owns the result.
CPlugIn* createPlugIn();
