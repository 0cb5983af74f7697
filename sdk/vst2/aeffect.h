// The VST 2 binary interface, as far as our adapter speaks it: the effect record a host receives
// from VSTPluginMain, the dispatcher and host-callback opcodes, and the records passed through
// them. Layouts are fixed by the binary interface (checked below for x86-64); the calling
// convention is the platform's C convention.
#pragma once

#include <cstddef>
#include <cstdint>

struct AEffect;

/** The host's callback: (effect, opcode, index, value, ptr, opt) -> answer. */
typedef intptr_t (*audioMasterCallback) (AEffect* effect, int32_t opcode, int32_t index,
                                         intptr_t value, void* ptr, float opt);
typedef intptr_t (*AEffectDispatcherProc) (AEffect* effect, int32_t opcode, int32_t index,
                                           intptr_t value, void* ptr, float opt);
typedef void (*AEffectProcessProc) (AEffect* effect, float** inputs, float** outputs,
                                    int32_t sampleFrames);
typedef void (*AEffectProcessDoubleProc) (AEffect* effect, double** inputs, double** outputs,
                                          int32_t sampleFrames);
typedef void (*AEffectSetParameterProc) (AEffect* effect, int32_t index, float parameter);
typedef float (*AEffectGetParameterProc) (AEffect* effect, int32_t index);

/** Four-character code, first character in the most significant byte. */
constexpr int32_t vst2FourCC (char a, char b, char c, char d)
{
	return static_cast<int32_t> ((static_cast<uint32_t> (static_cast<unsigned char> (a)) << 24) |
	                             (static_cast<uint32_t> (static_cast<unsigned char> (b)) << 16) |
	                             (static_cast<uint32_t> (static_cast<unsigned char> (c)) << 8) |
	                             static_cast<uint32_t> (static_cast<unsigned char> (d)));
}

constexpr int32_t kEffectMagic = vst2FourCC ('V', 's', 't', 'P');

/** The effect record. */
struct AEffect
{
	int32_t magic;                           // kEffectMagic
	AEffectDispatcherProc dispatcher;        // every opcode below
	AEffectProcessProc process;              // accumulating process (outputs += result)
	AEffectSetParameterProc setParameter;    // normalized 0..1
	AEffectGetParameterProc getParameter;    // normalized 0..1
	int32_t numPrograms;
	int32_t numParams;
	int32_t numInputs;                       // audio input channels
	int32_t numOutputs;                      // audio output channels
	int32_t flags;                           // VstAEffectFlags
	intptr_t resvd1;
	intptr_t resvd2;
	int32_t initialDelay;                    // latency in samples
	int32_t realQualities;                   // unused
	int32_t offQualities;                    // unused
	float ioRatio;                           // unused
	void* object;                            // the effect's own object
	void* user;                              // free for the host
	int32_t uniqueID;
	int32_t version;
	AEffectProcessProc processReplacing;     // outputs = result
	AEffectProcessDoubleProc processDoubleReplacing;
	char future[56];
};

#if defined(__x86_64__)
static_assert (offsetof (AEffect, dispatcher) == 8, "AEffect layout");
static_assert (offsetof (AEffect, numPrograms) == 40, "AEffect layout");
static_assert (offsetof (AEffect, flags) == 56, "AEffect layout");
static_assert (offsetof (AEffect, resvd1) == 64, "AEffect layout");
static_assert (offsetof (AEffect, initialDelay) == 80, "AEffect layout");
static_assert (offsetof (AEffect, ioRatio) == 92, "AEffect layout");
static_assert (offsetof (AEffect, object) == 96, "AEffect layout");
static_assert (offsetof (AEffect, uniqueID) == 112, "AEffect layout");
static_assert (offsetof (AEffect, processReplacing) == 120, "AEffect layout");
static_assert (offsetof (AEffect, future) == 136, "AEffect layout");
static_assert (sizeof (AEffect) == 192, "AEffect layout");
#endif

enum VstAEffectFlags
{
	effFlagsHasEditor = 1 << 0,
	effFlagsCanReplacing = 1 << 4,
	effFlagsProgramChunks = 1 << 5,
	effFlagsIsSynth = 1 << 8,
	effFlagsNoSoundInStop = 1 << 9,
	effFlagsCanDoubleReplacing = 1 << 12
};

/** Dispatcher opcodes (host -> effect). */
enum AEffectOpcodes
{
	effOpen = 0,
	effClose = 1,
	effSetProgram = 2,              // value: program
	effGetProgram = 3,
	effSetProgramName = 4,          // ptr: text
	effGetProgramName = 5,          // ptr: char[kVstMaxProgNameLen]
	effGetParamLabel = 6,           // index, ptr: char[kVstMaxParamStrLen]
	effGetParamDisplay = 7,         // index, ptr: char[kVstMaxParamStrLen]
	effGetParamName = 8,            // index, ptr: char[kVstMaxParamStrLen]
	effSetSampleRate = 10,          // opt: rate in Hz
	effSetBlockSize = 11,           // value: samples
	effMainsChanged = 12,           // value: 0 suspend, 1 resume
	effEditGetRect = 13,            // ptr: ERect** out
	effEditOpen = 14,               // ptr: parent window
	effEditClose = 15,
	effEditIdle = 19,
	effGetChunk = 23,               // index: 0 bank, 1 program; ptr: void** out; answer: size
	effSetChunk = 24,               // index as above; value: size; ptr: data
	effProcessEvents = 25,          // ptr: VstEvents*
	effCanBeAutomated = 26,         // index
	effString2Parameter = 27,       // index, ptr: text
	effGetProgramNameIndexed = 29,  // index: program, ptr: char[kVstMaxProgNameLen]
	effGetInputProperties = 33,     // index, ptr: VstPinProperties*
	effGetOutputProperties = 34,    // index, ptr: VstPinProperties*
	effGetPlugCategory = 35,
	effSetSpeakerArrangement = 42,  // value: VstSpeakerArrangement* in, ptr: ... out
	effSetBypass = 44,              // value: 0/1
	effGetEffectName = 45,          // ptr: char[kVstMaxEffectNameLen]
	effGetVendorString = 47,        // ptr: char[kVstMaxVendorStrLen]
	effGetProductString = 48,       // ptr: char[kVstMaxProductStrLen]
	effGetVendorVersion = 49,
	effVendorSpecific = 50,
	effCanDo = 51,                  // ptr: text; answer 1 yes, -1 no, 0 don't know
	effGetTailSize = 52,
	effGetParameterProperties = 56, // index, ptr: VstParameterProperties*
	effGetVstVersion = 58,
	effEditKeyDown = 59,
	effEditKeyUp = 60,
	effSetEditKnobMode = 61,        // value: 0 circular, 1 relative circular, 2 linear
	effGetMidiProgramName = 62,
	effGetCurrentMidiProgram = 63,
	effGetMidiProgramCategory = 64,
	effHasMidiProgramsChanged = 65,
	effGetMidiKeyName = 66,
	effBeginSetProgram = 67,
	effEndSetProgram = 68,
	effGetSpeakerArrangement = 69,
	effShellGetNextPlugin = 70,
	effStartProcess = 71,
	effStopProcess = 72,
	effSetTotalSampleToProcess = 73,
	effSetPanLaw = 74,
	effBeginLoadBank = 75,
	effBeginLoadProgram = 76,
	effSetProcessPrecision = 77,    // value: VstProcessPrecision
	effGetNumMidiInputChannels = 78,
	effGetNumMidiOutputChannels = 79
};

/** Host-callback opcodes (effect -> host). */
enum AudioMasterOpcodes
{
	audioMasterAutomate = 0,            // index, opt: normalized value
	audioMasterVersion = 1,             // answer: host's VST version, 0 for none
	audioMasterCurrentId = 2,
	audioMasterIdle = 3,
	audioMasterGetTime = 7,             // value: VstTimeInfoFlags wanted; answer: VstTimeInfo*
	audioMasterProcessEvents = 8,
	audioMasterIOChanged = 13,
	audioMasterSizeWindow = 15,         // index: width, value: height
	audioMasterGetSampleRate = 16,
	audioMasterGetBlockSize = 17,
	audioMasterGetCurrentProcessLevel = 23,
	audioMasterGetVendorString = 32,    // ptr: char[kVstMaxVendorStrLen]
	audioMasterGetProductString = 33,   // ptr: char[kVstMaxProductStrLen]
	audioMasterGetVendorVersion = 34,
	audioMasterCanDo = 37,
	audioMasterUpdateDisplay = 42,
	audioMasterBeginEdit = 43,          // index
	audioMasterEndEdit = 44             // index
};

/** Text sizes, terminating zero included. */
enum VstStringConstants
{
	kVstMaxProgNameLen = 24,
	kVstMaxParamStrLen = 8,
	kVstMaxVendorStrLen = 64,
	kVstMaxProductStrLen = 64,
	kVstMaxEffectNameLen = 32,
	kVstMaxLabelLen = 64,
	kVstMaxShortLabelLen = 8
};

enum VstPlugCategory
{
	kPlugCategUnknown = 0,
	kPlugCategEffect,
	kPlugCategSynth,
	kPlugCategAnalysis,
	kPlugCategMastering,
	kPlugCategSpacializer,
	kPlugCategRoomFx,
	kPlugSurroundFx,
	kPlugCategRestoration,
	kPlugCategOfflineProcess,
	kPlugCategShell,
	kPlugCategGenerator
};

enum VstProcessPrecision
{
	kVstProcessPrecision32 = 0,
	kVstProcessPrecision64 = 1
};

/** Window rectangle in pixels (effEditGetRect). */
struct ERect
{
	int16_t top;
	int16_t left;
	int16_t bottom;
	int16_t right;
};

enum VstEventTypes
{
	kVstMidiType = 1,
	kVstSysExType = 6
};

/** Common head of every event. */
struct VstEvent
{
	int32_t type;
	int32_t byteSize;      // size of the record after these two fields
	int32_t deltaFrames;   // sample offset in the next block
	int32_t flags;
	char data[16];
};

struct VstMidiEvent
{
	int32_t type;          // kVstMidiType
	int32_t byteSize;
	int32_t deltaFrames;
	int32_t flags;
	int32_t noteLength;
	int32_t noteOffset;
	char midiData[4];      // status, data 1, data 2, 0
	char detune;
	char noteOffVelocity;
	char reserved1;
	char reserved2;
};

/** The events of one block: numEvents pointers follow (the array is declared with two). */
struct VstEvents
{
	int32_t numEvents;
	intptr_t reserved;
	VstEvent* events[2];
};

enum VstTimeInfoFlags
{
	kVstTransportChanged = 1,
	kVstTransportPlaying = 1 << 1,
	kVstTransportCycleActive = 1 << 2,
	kVstTransportRecording = 1 << 3,
	kVstAutomationWriting = 1 << 6,
	kVstAutomationReading = 1 << 7,
	kVstNanosValid = 1 << 8,
	kVstPpqPosValid = 1 << 9,
	kVstTempoValid = 1 << 10,
	kVstBarsValid = 1 << 11,
	kVstCyclePosValid = 1 << 12,
	kVstTimeSigValid = 1 << 13,
	kVstSmpteValid = 1 << 14,
	kVstClockValid = 1 << 15
};

struct VstTimeInfo
{
	double samplePos;           // samples since the song start
	double sampleRate;          // Hz
	double nanoSeconds;         // system time
	double ppqPos;              // quarter notes since the song start
	double tempo;               // beats per minute
	double barStartPos;         // quarter notes at the last bar start
	double cycleStartPos;       // quarter notes
	double cycleEndPos;         // quarter notes
	int32_t timeSigNumerator;
	int32_t timeSigDenominator;
	int32_t smpteOffset;
	int32_t smpteFrameRate;
	int32_t samplesToNextClock;
	int32_t flags;              // VstTimeInfoFlags
};

enum VstPinPropertiesFlags
{
	kVstPinIsActive = 1 << 0,
	kVstPinIsStereo = 1 << 1,
	kVstPinUseSpeaker = 1 << 2
};

struct VstPinProperties
{
	char label[kVstMaxLabelLen];
	int32_t flags;              // VstPinPropertiesFlags
	int32_t arrangementType;
	char shortLabel[kVstMaxShortLabelLen];
	char future[48];
};

enum VstParameterFlags
{
	kVstParameterIsSwitch = 1 << 0,
	kVstParameterUsesIntegerMinMax = 1 << 1,
	kVstParameterUsesFloatStep = 1 << 2,
	kVstParameterUsesIntStep = 1 << 3,
	kVstParameterSupportsDisplayIndex = 1 << 4,
	kVstParameterSupportsDisplayCategory = 1 << 5,
	kVstParameterCanRamp = 1 << 6
};

struct VstParameterProperties
{
	float stepFloat;
	float smallStepFloat;
	float largeStepFloat;
	char label[kVstMaxLabelLen];
	int32_t flags;              // VstParameterFlags
	int32_t minInteger;
	int32_t maxInteger;
	int32_t stepInteger;
	int32_t largeStepInteger;
	char shortLabel[kVstMaxShortLabelLen];
	int16_t displayIndex;
	int16_t category;
	int16_t numParametersInCategory;
	int16_t reserved;
	char categoryLabel[24];
	char future[16];
};

/** Head of a speaker arrangement record (effSetSpeakerArrangement); only these fields are read. */
struct VstSpeakerArrangementHead
{
	int32_t type;
	int32_t numChannels;
};

#if defined(__x86_64__)
static_assert (sizeof (VstMidiEvent) == 32, "VstMidiEvent layout");
static_assert (offsetof (VstEvents, events) == 16, "VstEvents layout");
static_assert (sizeof (VstTimeInfo) == 88, "VstTimeInfo layout");
static_assert (sizeof (VstPinProperties) == 128, "VstPinProperties layout");
static_assert (sizeof (VstParameterProperties) == 152, "VstParameterProperties layout");
#endif
