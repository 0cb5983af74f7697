// Serves a VST 3 effect to a VST 2 host: the adapter behind VSTPluginMain.
//
// create() makes the component through the module's factory, initializes it with this adapter
// as host context (IHostApplication) and component handler, and answers the AEffect record a
// VST 2 host drives. Parameters are the controller's, in its order, without the program-change
// parameter; programs are that parameter's entries (names from the unit's program list when the
// controller offers IUnitInfo); a chunk is the component state. effClose deletes the adapter.
//
// Threads: the dispatcher runs on the host's UI thread except effProcessEvents, which the host
// calls on its audio thread right before processReplacing. setParameter may come from either;
// its value reaches the processor lock-free through a per-parameter slot read in the next block.
#pragma once

#include "hosting/eventlist.h"
#include "hosting/hostprocessdata.h"
#include "hosting/parameterchanges.h"
#include "vst2/aeffect.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Steinberg {
namespace Vst {

// The editor is embedded through X11 and the host's run loop on Linux; elsewhere the adapter
// offers no run loop and opens no editor of a platform it does not know.
class Vst2Wrapper : public IHostApplication,
                    public IComponentHandler,
#if SMTG_OS_LINUX
                    public IPlugFrame,
                    public Linux::IRunLoop
#else
                    public IPlugFrame
#endif
{
public:
	/** The adapter's effect record, or null when the class cannot be created or initialized. */
	static AEffect* create (IPluginFactory* factory, const TUID classId, int32 vst2UniqueId,
	                        audioMasterCallback callback);
	/** The adapter behind an effect record create() answered (null for anything else). */
	static Vst2Wrapper* fromEffect (AEffect* effect);

	virtual ~Vst2Wrapper ();
	Vst2Wrapper (const Vst2Wrapper&) = delete;
	Vst2Wrapper& operator= (const Vst2Wrapper&) = delete;

	AEffect* getAEffect () { return &m_Effect; }

	// The VST 2 entry points, as the effect record's functions call them.
	intptr_t dispatch (int32 opcode, int32 index, intptr_t value, void* ptr, float opt);
	/** Audio thread. Allocates nothing; blocks longer than the block size are split. */
	void processReplacing (float** inputs, float** outputs, int32 sampleFrames);
	/** Audio thread. The old accumulating form: outputs += the effect's output. */
	void processAccumulating (float** inputs, float** outputs, int32 sampleFrames);
	void setParameter (int32 index, float value);
	float getParameter (int32 index);

	// IHostApplication
	tresult PLUGIN_API getName (String128 name) SMTG_OVERRIDE;
	tresult PLUGIN_API createInstance (TUID cid, TUID iid, void** obj) SMTG_OVERRIDE;
	// IComponentHandler (UI thread): edits from the effect's editor reach host and processor.
	tresult PLUGIN_API beginEdit (ParamID id) SMTG_OVERRIDE;
	tresult PLUGIN_API performEdit (ParamID id, ParamValue valueNormalized) SMTG_OVERRIDE;
	tresult PLUGIN_API endEdit (ParamID id) SMTG_OVERRIDE;
	tresult PLUGIN_API restartComponent (int32 flags) SMTG_OVERRIDE;
	// IPlugFrame
	tresult PLUGIN_API resizeView (IPlugView* view, ViewRect* newSize) SMTG_OVERRIDE;
#if SMTG_OS_LINUX
	// Linux::IRunLoop, driven by the host's effEditIdle calls.
	tresult PLUGIN_API registerEventHandler (Linux::IEventHandler* handler,
	                                         Linux::FileDescriptor fd) SMTG_OVERRIDE;
	tresult PLUGIN_API unregisterEventHandler (Linux::IEventHandler* handler) SMTG_OVERRIDE;
	tresult PLUGIN_API registerTimer (Linux::ITimerHandler* handler,
	                                  Linux::TimerInterval milliseconds) SMTG_OVERRIDE;
	tresult PLUGIN_API unregisterTimer (Linux::ITimerHandler* handler) SMTG_OVERRIDE;
#endif
	// FUnknown: the adapter lives until effClose; counting never deletes it.
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE;
	uint32 PLUGIN_API release () SMTG_OVERRIDE;

private:
	struct ParamSlot
	{
		ParamID uId;
		int32 nIndex;       // the controller's parameter index
		int32 nFlags;       // ParameterInfo flags
		int32 nStepCount;
		UnitID nUnitId;
		int32 nVst2Index;   // -1 for the program-change parameter
	};

#if SMTG_OS_LINUX
	struct TimerEntry
	{
		Linux::ITimerHandler* pHandler;
		uint64_t uIntervalMs;
		uint64_t uNextMs;   // monotonic time of the next call
	};

	struct FdEntry
	{
		Linux::IEventHandler* pHandler;
		int nFd;
	};
#endif

	Vst2Wrapper (audioMasterCallback callback, int32 vst2UniqueId);
	bool init (IPluginFactory* factory, const TUID classId);
	void collectParameters ();
	void collectPrograms ();
	void updateIo ();
	intptr_t host (int32 opcode, int32 index = 0, intptr_t value = 0, void* ptr = nullptr,
	               float opt = 0.f);

	void resume ();
	void suspend ();
	void setSampleRateOrBlockSize (double sampleRate, int32 blockSize);
	void queueValue (int32 slot, ParamValue value);
	void setProgram (int32 program);
	int32 currentProgram ();
	bool programName (int32 program, char* text, int32 size);
	intptr_t getChunk (void** data);
	intptr_t setChunk (const void* data, intptr_t size);
	intptr_t processEvents (const VstEvents* events);
	void addMidi (const VstMidiEvent& midi);
	void fillProcessContext ();
	void processBlock (float** inputs, float** outputs, int32 offset, int32 frames, bool whole,
	                   bool last);
	bool setSpeakerArrangement (const VstSpeakerArrangementHead* in,
	                            const VstSpeakerArrangementHead* out);
	intptr_t pinProperties (BusDirection dir, int32 index, VstPinProperties* props);
	intptr_t parameterProperties (int32 index, VstParameterProperties* props);
	intptr_t canDo (const char* text);
	intptr_t editGetRect (ERect** rect);
	intptr_t editOpen (void* parent);
	void editClose ();
	void editIdle ();
	int32 slotOfVst2Index (int32 index) const;

	AEffect m_Effect {};
	audioMasterCallback m_pHostCallback;
	bool m_bHostHasEffect = false;            // the host has been given m_Effect
	std::string m_szHostName;                 // what getName answers

	IPtr<IComponent> m_pComponent;
	IPtr<IAudioProcessor> m_pProcessor;
	IPtr<IEditController> m_pController;      // the component itself, or a separate one
	IPtr<IMidiMapping> m_pMidiMapping;
	IPtr<IUnitInfo> m_pUnitInfo;
	bool m_bSeparateController = false;

	PClassInfo2 m_ClassInfo;
	std::string m_szFactoryVendor;

	// Parameters
	std::vector<ParamSlot> m_Params;          // every controller parameter, in its order
	std::vector<int32> m_Vst2ToSlot;          // VST 2 index -> slot
	std::unordered_map<ParamID, int32> m_IdToSlot;
	std::unique_ptr<std::atomic<double>[]> m_pPendingValues; // normalized, per slot
	std::unique_ptr<std::atomic<bool>[]> m_pPendingFlags;    // a value waits, per slot
	int32 m_nProgramSlot = -1;
	int32 m_nBypassSlot = -1;
	int32 m_nProgramCount = 0;
	ProgramListID m_nProgramListId = kNoProgramListId;

	// Processing
	double m_dSampleRate = 44100.0;           // Hz
	int32 m_nBlockSize = 1024;                // samples, the most per process call
	std::atomic<bool> m_bActive {false};      // resumed
	int32 m_nMainInputBus = -1;
	int32 m_nMainOutputBus = -1;
	int32 m_nInputChannels = 0;
	int32 m_nOutputChannels = 0;
	HostProcessData m_ProcessData;
	ParameterChanges m_InputChanges;          // the whole host block's changes
	ParameterChanges m_BlockChanges;          // one piece of a split host block
	ParameterChanges m_OutputChanges;
	EventList m_Events;                       // the whole host block's events
	EventList m_BlockEvents;                  // one piece of a split host block
	ProcessContext m_Context {};
	int64_t m_nContinuousSamples = 0;         // samples processed since resume
	std::vector<float> m_Scratch;             // accumulating process: one block per channel
	std::vector<float*> m_ScratchPointers;
	std::vector<float*> m_OffsetInputs;       // accumulating process: shifted input pointers

	// State and editor
	std::vector<char> m_Chunk;                // the last chunk handed to the host
	IPtr<IPlugView> m_pView;
	ERect m_EditRect {};
#if SMTG_OS_LINUX
	std::vector<TimerEntry> m_Timers;
	std::vector<FdEntry> m_FdHandlers;
#endif
	int32 m_nRefCount = 1;
};

} // namespace Vst
} // namespace Steinberg
