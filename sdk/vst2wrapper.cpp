#include "vst2wrapper.h"

#include "utf16.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstmessage.h"

#if SMTG_OS_LINUX
#include <poll.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace Steinberg {
namespace Vst {

namespace {

// The window type a host's effEditOpen hands over on this platform.
#if SMTG_OS_LINUX
const FIDString kEditorPlatformType = kPlatformTypeX11EmbedWindowID;
#else
const FIDString kEditorPlatformType = kPlatformTypeHWND;
#endif

// The effect record's functions.
intptr_t dispatcherProc (AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                         float opt)
{
	Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e);
	return wrapper ? wrapper->dispatch (opcode, index, value, ptr, opt) : 0;
}

void processReplacingProc (AEffect* e, float** inputs, float** outputs, int32_t frames)
{
	if (Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e))
		wrapper->processReplacing (inputs, outputs, frames);
}

void processProc (AEffect* e, float** inputs, float** outputs, int32_t frames)
{
	if (Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e))
		wrapper->processAccumulating (inputs, outputs, frames);
}

void setParameterProc (AEffect* e, int32_t index, float value)
{
	if (Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e))
		wrapper->setParameter (index, value);
}

float getParameterProc (AEffect* e, int32_t index)
{
	Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e);
	return wrapper ? wrapper->getParameter (index) : 0.f;
}

/** Copies UTF-16 text into a VST 2 text field of size bytes (terminated, characters whole). */
void copyText (const char16* src, char* dst, int32 size)
{
	if (dst && size > 0)
		Utf16::toUtf8 (src, dst, size);
}

/** Copies 8-bit text into a VST 2 text field of size bytes, terminated. */
void copyText (const char* src, char* dst, int32 size)
{
	if (!dst || size <= 0)
		return;
	int32 n = 0;
	for (; src && src[n] && n < size - 1; ++n)
		dst[n] = src[n];
	dst[n] = 0;
}

/** "major.minor.sub.build" as the VST 2 version number major*1000 + minor*100 + sub*10 + build. */
int32 versionNumber (const char* text)
{
	int32 parts[4] = {0, 0, 0, 0};
	int32 part = 0;
	for (const char* p = text; p && *p && part < 4; ++p)
	{
		if (*p >= '0' && *p <= '9')
			parts[part] = std::min (parts[part] * 10 + (*p - '0'), 100000);
		else if (*p == '.')
			++part;
		else
			break;
	}
	return parts[0] * 1000 + std::min (parts[1], 9) * 100 + std::min (parts[2], 9) * 10 +
	       std::min (parts[3], 9);
}

#if SMTG_OS_LINUX
uint64_t nowMs ()
{
	using namespace std::chrono;
	return static_cast<uint64_t> (
	    duration_cast<milliseconds> (steady_clock::now ().time_since_epoch ()).count ());
}
#endif

SpeakerArrangement arrangementFor (int32 channels)
{
	switch (channels)
	{
		case 1: return SpeakerArr::kMono;
		case 2: return SpeakerArr::kStereo;
		default: return 0;
	}
}

} // namespace

//------------------------------------------------------------------------
// Creation and teardown
//------------------------------------------------------------------------
AEffect* Vst2Wrapper::create (IPluginFactory* factory, const TUID classId, int32 vst2UniqueId,
                              audioMasterCallback callback)
{
	if (!factory || !classId)
		return nullptr;
	auto* wrapper = new (std::nothrow) Vst2Wrapper (callback, vst2UniqueId);
	if (!wrapper)
		return nullptr;
	if (!wrapper->init (factory, classId))
	{
		delete wrapper;
		return nullptr;
	}
	wrapper->m_bHostHasEffect = true;
	return &wrapper->m_Effect;
}

Vst2Wrapper* Vst2Wrapper::fromEffect (AEffect* effect)
{
	if (!effect || effect->magic != kEffectMagic || !effect->object)
		return nullptr;
	return static_cast<Vst2Wrapper*> (effect->object);
}

Vst2Wrapper::Vst2Wrapper (audioMasterCallback callback, int32 vst2UniqueId)
: m_pHostCallback (callback)
{
	m_Effect.magic = kEffectMagic;
	m_Effect.dispatcher = &dispatcherProc;
	m_Effect.process = &processProc;
	m_Effect.setParameter = &setParameterProc;
	m_Effect.getParameter = &getParameterProc;
	m_Effect.processReplacing = &processReplacingProc;
	m_Effect.processDoubleReplacing = nullptr;
	m_Effect.ioRatio = 1.f;
	m_Effect.object = this;
	m_Effect.uniqueID = vst2UniqueId;
	m_Effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
}

Vst2Wrapper::~Vst2Wrapper ()
{
	editClose ();
	if (m_bActive)
		suspend ();
	if (m_pController)
	{
		m_pController->setComponentHandler (nullptr);
		if (m_bSeparateController)
		{
			FUnknownPtr<IConnectionPoint> componentPoint (m_pComponent);
			FUnknownPtr<IConnectionPoint> controllerPoint (m_pController);
			if (componentPoint && controllerPoint)
			{
				componentPoint->disconnect (controllerPoint);
				controllerPoint->disconnect (componentPoint);
			}
			m_pController->terminate ();
		}
	}
	m_pMidiMapping = nullptr;
	m_pUnitInfo = nullptr;
	m_pController = nullptr;
	m_pProcessor = nullptr;
	if (m_pComponent)
		m_pComponent->terminate ();
	m_pComponent = nullptr;
	m_Effect.object = nullptr;
	m_Effect.magic = 0;
}

bool Vst2Wrapper::init (IPluginFactory* factory, const TUID classId)
{
	// What the host calls itself, for the effect's IHostApplication::getName.
	char product[kVstMaxProductStrLen + 1] = {};
	if (host (audioMasterGetProductString, 0, 0, product) && product[0])
		m_szHostName = product;
	else
		m_szHostName = "VST 2 host";

	PFactoryInfo factoryInfo;
	if (factory->getFactoryInfo (&factoryInfo) == kResultOk)
		m_szFactoryVendor.assign (factoryInfo.vendor, strnlen (factoryInfo.vendor, sizeof (factoryInfo.vendor)));
	FUnknownPtr<IPluginFactory2> factory2 (factory);
	for (int32 i = 0; i < factory->countClasses (); ++i)
	{
		PClassInfo2 info2;
		PClassInfo info;
		if (factory2 && factory2->getClassInfo2 (i, &info2) == kResultOk &&
		    FUnknownPrivate::iidEqual (info2.cid, classId))
		{
			m_ClassInfo = info2;
			break;
		}
		if (factory->getClassInfo (i, &info) == kResultOk && FUnknownPrivate::iidEqual (info.cid, classId))
		{
			std::memcpy (m_ClassInfo.cid, info.cid, sizeof (TUID));
			std::memcpy (m_ClassInfo.name, info.name, sizeof (info.name));
			std::memcpy (m_ClassInfo.category, info.category, sizeof (info.category));
			break;
		}
	}

	IComponent* component = nullptr;
	if (factory->createInstance (classId, IComponent::iid, reinterpret_cast<void**> (&component)) !=
	        kResultOk ||
	    !component)
		return false;
	m_pComponent = owned (component);
	if (m_pComponent->initialize (static_cast<IHostApplication*> (this)) != kResultOk)
	{
		m_pComponent = nullptr; // never initialized: nothing to terminate
		return false;
	}
	m_pProcessor = FUnknownPtr<IAudioProcessor> (m_pComponent);
	if (!m_pProcessor)
		return false;

	// Processor and controller in one object, or a controller class of its own.
	m_pController = FUnknownPtr<IEditController> (m_pComponent);
	if (!m_pController)
	{
		TUID controllerId {};
		IEditController* controller = nullptr;
		if (m_pComponent->getControllerClassId (controllerId) != kResultOk ||
		    factory->createInstance (controllerId, IEditController::iid,
		                             reinterpret_cast<void**> (&controller)) != kResultOk ||
		    !controller)
			return false;
		m_pController = owned (controller);
		if (m_pController->initialize (static_cast<IHostApplication*> (this)) != kResultOk)
		{
			m_pController = nullptr;
			return false;
		}
		m_bSeparateController = true;
		FUnknownPtr<IConnectionPoint> componentPoint (m_pComponent);
		FUnknownPtr<IConnectionPoint> controllerPoint (m_pController);
		if (componentPoint && controllerPoint)
		{
			componentPoint->connect (controllerPoint);
			controllerPoint->connect (componentPoint);
		}
		MemoryStream state;
		if (m_pComponent->getState (&state) == kResultOk)
		{
			state.seek (0, IBStream::kIBSeekSet, nullptr);
			m_pController->setComponentState (&state);
		}
	}
	m_pController->setComponentHandler (this);
	m_pMidiMapping = FUnknownPtr<IMidiMapping> (m_pController);
	m_pUnitInfo = FUnknownPtr<IUnitInfo> (m_pController);

	// Every bus a VST 2 host can feed is active.
	for (BusDirection dir : {kInput, kOutput})
		for (MediaType type : {kAudio, kEvent})
			for (int32 i = 0; i < m_pComponent->getBusCount (type, dir); ++i)
			{
				BusInfo info {};
				if (m_pComponent->getBusInfo (type, dir, i, info) == kResultOk && info.busType == kMain)
					m_pComponent->activateBus (type, dir, i, true);
			}

	ProcessSetup setup {kRealtime, kSample32, m_nBlockSize, m_dSampleRate};
	m_pProcessor->setupProcessing (setup);

	collectParameters ();
	collectPrograms ();
	updateIo ();

	m_Effect.initialDelay = static_cast<int32> (m_pProcessor->getLatencySamples ());
	m_Effect.version = versionNumber (m_ClassInfo.version);
	if (std::strstr (m_ClassInfo.subCategories, "Instrument"))
		m_Effect.flags |= effFlagsIsSynth;
	if (IPlugView* view = m_pController->createView (ViewType::kEditor))
	{
		m_Effect.flags |= effFlagsHasEditor;
		view->release ();
	}
	return true;
}

void Vst2Wrapper::collectParameters ()
{
	const int32 count = std::max<int32> (m_pController->getParameterCount (), 0);
	m_Params.clear ();
	m_Vst2ToSlot.clear ();
	m_IdToSlot.clear ();
	for (int32 i = 0; i < count; ++i)
	{
		ParameterInfo info {};
		if (m_pController->getParameterInfo (i, info) != kResultOk)
			continue;
		const auto slot = static_cast<int32> (m_Params.size ());
		ParamSlot entry {info.id, i, info.flags, info.stepCount, info.unitId, -1};
		if ((info.flags & ParameterInfo::kIsProgramChange) && m_nProgramSlot < 0)
			m_nProgramSlot = slot;
		else
		{
			entry.nVst2Index = static_cast<int32> (m_Vst2ToSlot.size ());
			m_Vst2ToSlot.push_back (slot);
			if ((info.flags & ParameterInfo::kIsBypass) && m_nBypassSlot < 0)
				m_nBypassSlot = slot;
		}
		m_Params.push_back (entry);
		m_IdToSlot[info.id] = slot;
	}
	m_pPendingValues.reset (new std::atomic<double>[m_Params.size () + 1]);
	m_pPendingFlags.reset (new std::atomic<bool>[m_Params.size () + 1]);
	for (size_t i = 0; i <= m_Params.size (); ++i)
	{
		m_pPendingValues[i] = 0.0;
		m_pPendingFlags[i] = false;
	}
	m_Effect.numParams = static_cast<int32> (m_Vst2ToSlot.size ());

	// Room for a change of every parameter in every block.
	const auto queues = static_cast<int32> (m_Params.size ()) + 1;
	m_InputChanges.setMaxParameters (queues);
	m_BlockChanges.setMaxParameters (queues);
	m_OutputChanges.setMaxParameters (queues);
}

void Vst2Wrapper::collectPrograms ()
{
	m_nProgramCount = 0;
	m_nProgramListId = kNoProgramListId;
	if (m_nProgramSlot < 0)
	{
		m_Effect.numPrograms = 0;
		return;
	}
	const ParamSlot& program = m_Params[static_cast<size_t> (m_nProgramSlot)];
	m_nProgramCount = std::max<int32> (program.nStepCount + 1, 1);

	// Names come from the program list of the program-change parameter's unit, if there is one.
	if (m_pUnitInfo)
	{
		for (int32 i = 0; i < m_pUnitInfo->getUnitCount (); ++i)
		{
			UnitInfo unit {};
			if (m_pUnitInfo->getUnitInfo (i, unit) == kResultOk && unit.id == program.nUnitId &&
			    unit.programListId != kNoProgramListId)
			{
				m_nProgramListId = unit.programListId;
				break;
			}
		}
	}
	m_Effect.numPrograms = m_nProgramCount;
}

void Vst2Wrapper::updateIo ()
{
	auto mainBus = [this] (BusDirection dir, int32& channels) {
		channels = 0;
		for (int32 i = 0; i < m_pComponent->getBusCount (kAudio, dir); ++i)
		{
			BusInfo info {};
			if (m_pComponent->getBusInfo (kAudio, dir, i, info) == kResultOk && info.busType == kMain)
			{
				channels = std::max<int32> (info.channelCount, 0);
				return i;
			}
		}
		return -1;
	};
	m_nMainInputBus = mainBus (kInput, m_nInputChannels);
	m_nMainOutputBus = mainBus (kOutput, m_nOutputChannels);
	m_Effect.numInputs = m_nInputChannels;
	m_Effect.numOutputs = m_nOutputChannels;
	m_OffsetInputs.assign (static_cast<size_t> (m_nInputChannels), nullptr);
}

intptr_t Vst2Wrapper::host (int32 opcode, int32 index, intptr_t value, void* ptr, float opt)
{
	if (!m_pHostCallback)
		return 0;
	return m_pHostCallback (m_bHostHasEffect ? &m_Effect : nullptr, opcode, index, value, ptr, opt);
}

//------------------------------------------------------------------------
// Dispatcher
//------------------------------------------------------------------------
intptr_t Vst2Wrapper::dispatch (int32 opcode, int32 index, intptr_t value, void* ptr, float opt)
{
	switch (opcode)
	{
		case effOpen:
			return 0;
		case effClose:
			delete this;
			return 1;

		case effSetProgram:
			setProgram (static_cast<int32> (value));
			return 0;
		case effGetProgram:
			return currentProgram ();
		case effGetProgramName:
			return programName (currentProgram (), static_cast<char*> (ptr), kVstMaxProgNameLen) ? 1 : 0;
		case effGetProgramNameIndexed:
			return programName (index, static_cast<char*> (ptr), kVstMaxProgNameLen) ? 1 : 0;

		case effGetParamLabel:
		case effGetParamDisplay:
		case effGetParamName:
		{
			const int32 slot = slotOfVst2Index (index);
			if (slot < 0 || !ptr)
				return 0;
			const ParamID id = m_Params[static_cast<size_t> (slot)].uId;
			if (opcode == effGetParamDisplay)
			{
				String128 text {};
				if (m_pController->getParamStringByValue (id, m_pController->getParamNormalized (id),
				                                          text) != kResultOk)
					text[0] = 0;
				copyText (text, static_cast<char*> (ptr), kVstMaxParamStrLen);
				return 1;
			}
			ParameterInfo info {};
			if (m_pController->getParameterInfo (m_Params[static_cast<size_t> (slot)].nIndex, info) != kResultOk)
				return 0;
			copyText (opcode == effGetParamLabel ? info.units : info.title, static_cast<char*> (ptr),
			          kVstMaxParamStrLen);
			return 1;
		}
		case effCanBeAutomated:
		{
			const int32 slot = slotOfVst2Index (index);
			return slot >= 0 && (m_Params[static_cast<size_t> (slot)].nFlags & ParameterInfo::kCanAutomate)
			           ? 1
			           : 0;
		}
		case effString2Parameter:
		{
			const int32 slot = slotOfVst2Index (index);
			if (slot < 0)
				return 0;
			if (!ptr)
				return 1; // the host asks whether text input is supported
			String128 text {};
			Utf16::fromUtf8 (static_cast<const char*> (ptr), text, 128);
			ParamValue normalized = 0;
			if (m_pController->getParamValueByString (m_Params[static_cast<size_t> (slot)].uId, text,
			                                          normalized) != kResultOk)
				return 0;
			setParameter (index, static_cast<float> (normalized));
			return 1;
		}
		case effGetParameterProperties:
			return parameterProperties (index, static_cast<VstParameterProperties*> (ptr));

		case effSetSampleRate:
			if (opt > 0.f && std::isfinite (opt))
				setSampleRateOrBlockSize (opt, m_nBlockSize);
			return 0;
		case effSetBlockSize:
			if (value > 0 && value <= (1 << 24))
				setSampleRateOrBlockSize (m_dSampleRate, static_cast<int32> (value));
			return 0;
		case effMainsChanged:
			if (value)
				resume ();
			else
				suspend ();
			return 0;
		case effStartProcess:
		case effStopProcess:
			return 0;
		case effSetProcessPrecision:
			return value == kVstProcessPrecision32 ? 1 : 0;

		case effGetChunk:
			return getChunk (static_cast<void**> (ptr));
		case effSetChunk:
			return setChunk (ptr, value);

		case effProcessEvents:
			return processEvents (static_cast<const VstEvents*> (ptr));
		case effGetNumMidiInputChannels:
			return m_pComponent->getBusCount (kEvent, kInput) > 0 ? 16 : 0;
		case effGetNumMidiOutputChannels:
			return 0;

		case effGetInputProperties:
			return pinProperties (kInput, index, static_cast<VstPinProperties*> (ptr));
		case effGetOutputProperties:
			return pinProperties (kOutput, index, static_cast<VstPinProperties*> (ptr));
		case effSetSpeakerArrangement:
			return setSpeakerArrangement (reinterpret_cast<const VstSpeakerArrangementHead*> (value),
			                              static_cast<const VstSpeakerArrangementHead*> (ptr))
			           ? 1
			           : 0;
		case effSetBypass:
			if (m_nBypassSlot < 0)
				return 0;
			m_pController->setParamNormalized (m_Params[static_cast<size_t> (m_nBypassSlot)].uId,
			                                   value ? 1.0 : 0.0);
			queueValue (m_nBypassSlot, value ? 1.0 : 0.0);
			return 1;

		case effGetPlugCategory:
		{
			const char* sub = m_ClassInfo.subCategories;
			if (std::strstr (sub, "Instrument"))
				return kPlugCategSynth;
			if (std::strstr (sub, "Analyzer"))
				return kPlugCategAnalysis;
			if (std::strstr (sub, "Mastering"))
				return kPlugCategMastering;
			if (std::strstr (sub, "Reverb"))
				return kPlugCategRoomFx;
			if (std::strstr (sub, "Restoration"))
				return kPlugCategRestoration;
			if (std::strstr (sub, "Generator"))
				return kPlugCategGenerator;
			return kPlugCategEffect;
		}
		case effGetEffectName:
			copyText (m_ClassInfo.name, static_cast<char*> (ptr), kVstMaxEffectNameLen);
			return ptr ? 1 : 0;
		case effGetProductString:
			copyText (m_ClassInfo.name, static_cast<char*> (ptr), kVstMaxProductStrLen);
			return ptr ? 1 : 0;
		case effGetVendorString:
			copyText (m_ClassInfo.vendor[0] ? m_ClassInfo.vendor : m_szFactoryVendor.c_str (),
			          static_cast<char*> (ptr), kVstMaxVendorStrLen);
			return ptr ? 1 : 0;
		case effGetVendorVersion:
			return m_Effect.version;
		case effGetVstVersion:
			return 2400;
		case effCanDo:
			return canDo (static_cast<const char*> (ptr));
		case effGetTailSize:
		{
			const uint32 tail = m_pProcessor->getTailSamples ();
			if (tail == kNoTail)
				return 1; // VST 2: 1 means no tail, 0 means "ask the default"
			if (tail == kInfiniteTail)
				return INT32_MAX;
			return static_cast<intptr_t> (std::min<uint32> (tail, INT32_MAX));
		}

		case effEditGetRect:
			return editGetRect (static_cast<ERect**> (ptr));
		case effEditOpen:
			return editOpen (ptr);
		case effEditClose:
			editClose ();
			return 1;
		case effEditIdle:
			editIdle ();
			return 0;
		case effSetEditKnobMode:
			if (FUnknownPtr<IEditController2> controller2 {m_pController})
				return controller2->setKnobMode (static_cast<KnobMode> (value)) == kResultOk ? 1 : 0;
			return 0;
		case effGetCurrentMidiProgram:
			return -1;
		default:
			return 0;
	}
}

int32 Vst2Wrapper::slotOfVst2Index (int32 index) const
{
	if (index < 0 || index >= static_cast<int32> (m_Vst2ToSlot.size ()))
		return -1;
	return m_Vst2ToSlot[static_cast<size_t> (index)];
}

intptr_t Vst2Wrapper::canDo (const char* text)
{
	if (!text)
		return 0;
	static const char* const kYes[] = {"receiveVstEvents", "receiveVstMidiEvent",
	                                   "receiveVstTimeInfo", "plugAsChannelInsert",
	                                   "plugAsSend", "mixDryWet", "bypass"};
	static const char* const kNo[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
	                                  "offline", "midiProgramNames", "noRealTime",
	                                  "multipass", "metapass", "receiveVstSysexEvent"};
	for (const char* yes : kYes)
		if (std::strcmp (text, yes) == 0)
			return 1;
	for (const char* no : kNo)
		if (std::strcmp (text, no) == 0)
			return -1;
	return 0;
}

//------------------------------------------------------------------------
// Parameters and programs
//------------------------------------------------------------------------
void Vst2Wrapper::queueValue (int32 slot, ParamValue value)
{
	if (slot < 0 || slot >= static_cast<int32> (m_Params.size ()))
		return;
	m_pPendingValues[static_cast<size_t> (slot)].store (value, std::memory_order_relaxed);
	m_pPendingFlags[static_cast<size_t> (slot)].store (true, std::memory_order_release);
}

void Vst2Wrapper::setParameter (int32 index, float value)
{
	const int32 slot = slotOfVst2Index (index);
	if (slot < 0 || !std::isfinite (value))
		return;
	const ParamValue normalized = std::clamp (static_cast<ParamValue> (value), 0.0, 1.0);
	m_pController->setParamNormalized (m_Params[static_cast<size_t> (slot)].uId, normalized);
	queueValue (slot, normalized);
}

float Vst2Wrapper::getParameter (int32 index)
{
	const int32 slot = slotOfVst2Index (index);
	if (slot < 0)
		return 0.f;
	return static_cast<float> (m_pController->getParamNormalized (m_Params[static_cast<size_t> (slot)].uId));
}

void Vst2Wrapper::setProgram (int32 program)
{
	if (m_nProgramSlot < 0 || program < 0 || program >= m_nProgramCount)
		return;
	const ParamID id = m_Params[static_cast<size_t> (m_nProgramSlot)].uId;
	const ParamValue normalized = m_pController->plainParamToNormalized (id, program);
	m_pController->setParamNormalized (id, normalized);
	queueValue (m_nProgramSlot, normalized);
}

int32 Vst2Wrapper::currentProgram ()
{
	if (m_nProgramSlot < 0)
		return 0;
	const ParamID id = m_Params[static_cast<size_t> (m_nProgramSlot)].uId;
	const ParamValue plain = m_pController->normalizedParamToPlain (id, m_pController->getParamNormalized (id));
	return std::clamp (static_cast<int32> (std::lround (plain)), 0, std::max (m_nProgramCount - 1, 0));
}

bool Vst2Wrapper::programName (int32 program, char* text, int32 size)
{
	if (!text)
		return false;
	text[0] = 0;
	if (m_nProgramSlot < 0 || program < 0 || program >= m_nProgramCount)
		return false;
	String128 name {};
	if (m_pUnitInfo && m_nProgramListId != kNoProgramListId &&
	    m_pUnitInfo->getProgramName (m_nProgramListId, program, name) == kResultOk)
	{
		copyText (name, text, size);
		return true;
	}
	const ParamID id = m_Params[static_cast<size_t> (m_nProgramSlot)].uId;
	if (m_pController->getParamStringByValue (id, m_pController->plainParamToNormalized (id, program),
	                                          name) != kResultOk)
		return false;
	copyText (name, text, size);
	return true;
}

intptr_t Vst2Wrapper::parameterProperties (int32 index, VstParameterProperties* props)
{
	const int32 slot = slotOfVst2Index (index);
	if (slot < 0 || !props)
		return 0;
	ParameterInfo info {};
	if (m_pController->getParameterInfo (m_Params[static_cast<size_t> (slot)].nIndex, info) != kResultOk)
		return 0;
	std::memset (props, 0, sizeof (*props));
	copyText (info.title, props->label, kVstMaxLabelLen);
	copyText (info.shortTitle[0] ? info.shortTitle : info.title, props->shortLabel, kVstMaxShortLabelLen);
	if (info.stepCount == 1)
		props->flags |= kVstParameterIsSwitch;
	else if (info.stepCount > 1)
	{
		props->flags |= kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep;
		props->minInteger = 0;
		props->maxInteger = info.stepCount;
		props->stepInteger = 1;
		props->largeStepInteger = 1;
	}
	return 1;
}

//------------------------------------------------------------------------
// State
//------------------------------------------------------------------------
intptr_t Vst2Wrapper::getChunk (void** data)
{
	if (!data)
		return 0;
	*data = nullptr;
	MemoryStream stream;
	if (m_pComponent->getState (&stream) != kResultOk)
		return 0;
	const TSize size = stream.getSize ();
	if (size <= 0)
		return 0;
	m_Chunk.assign (stream.getData (), stream.getData () + size);
	*data = m_Chunk.data ();
	return static_cast<intptr_t> (m_Chunk.size ());
}

intptr_t Vst2Wrapper::setChunk (const void* data, intptr_t size)
{
	if (!data || size <= 0)
		return 0;
	// The stream only reads the host's bytes; it never writes or frees them.
	MemoryStream stream (const_cast<void*> (data), static_cast<TSize> (size));
	if (m_pComponent->setState (&stream) != kResultOk)
		return 0;
	stream.seek (0, IBStream::kIBSeekSet, nullptr);
	m_pController->setComponentState (&stream);
	// Tell the processor nothing stale: drop edits that were waiting.
	for (size_t i = 0; i < m_Params.size (); ++i)
		m_pPendingFlags[i].store (false, std::memory_order_relaxed);
	host (audioMasterUpdateDisplay);
	return 1;
}

//------------------------------------------------------------------------
// Processing
//------------------------------------------------------------------------
void Vst2Wrapper::setSampleRateOrBlockSize (double sampleRate, int32 blockSize)
{
	if (sampleRate == m_dSampleRate && blockSize == m_nBlockSize)
		return;
	const bool wasActive = m_bActive;
	if (wasActive)
		suspend ();
	m_dSampleRate = sampleRate;
	m_nBlockSize = blockSize;
	if (wasActive)
		resume ();
}

void Vst2Wrapper::resume ()
{
	if (m_bActive)
		return;
	ProcessSetup setup {kRealtime, kSample32, m_nBlockSize, m_dSampleRate};
	m_pProcessor->setupProcessing (setup);
	m_ProcessData.prepare (*m_pComponent, m_nBlockSize);
	m_ProcessData.processMode = kRealtime;
	m_Scratch.assign (static_cast<size_t> (m_nOutputChannels) * static_cast<size_t> (m_nBlockSize), 0.f);
	m_ScratchPointers.resize (static_cast<size_t> (m_nOutputChannels));
	for (int32 c = 0; c < m_nOutputChannels; ++c)
		m_ScratchPointers[static_cast<size_t> (c)] = m_Scratch.data () + static_cast<size_t> (c) * m_nBlockSize;
	m_InputChanges.clear ();
	m_Events.clear ();
	m_nContinuousSamples = 0;
	m_pComponent->setActive (true);
	m_pProcessor->setProcessing (true);
	m_bActive = true;
}

void Vst2Wrapper::suspend ()
{
	if (!m_bActive)
		return;
	m_bActive = false;
	m_pProcessor->setProcessing (false);
	m_pComponent->setActive (false);
}

intptr_t Vst2Wrapper::processEvents (const VstEvents* events)
{
	if (!events || events->numEvents <= 0)
		return 0;
	for (int32 i = 0; i < events->numEvents; ++i)
	{
		const VstEvent* e = events->events[i];
		if (e && e->type == kVstMidiType)
			addMidi (*reinterpret_cast<const VstMidiEvent*> (e));
	}
	return 1;
}

void Vst2Wrapper::addMidi (const VstMidiEvent& midi)
{
	const auto status = static_cast<uint8_t> (midi.midiData[0]);
	const auto data1 = static_cast<uint8_t> (midi.midiData[1] & 0x7F);
	const auto data2 = static_cast<uint8_t> (midi.midiData[2] & 0x7F);
	const int16 channel = status & 0x0F;
	const int32 offset = std::max<int32> (midi.deltaFrames, 0);

	Event e {};
	e.busIndex = 0;
	e.sampleOffset = offset;
	e.flags = Event::kIsLive;
	switch (status & 0xF0)
	{
		case 0x90:
			if (data2 > 0)
			{
				e.type = Event::kNoteOnEvent;
				e.noteOn = {channel, static_cast<int16> (data1), 0.f, data2 / 127.f, 0, -1};
				m_Events.addEvent (e);
				return;
			}
			[[fallthrough]]; // note-on with velocity 0 is a note-off
		case 0x80:
			e.type = Event::kNoteOffEvent;
			e.noteOff = {channel, static_cast<int16> (data1), data2 / 127.f, -1, 0.f};
			m_Events.addEvent (e);
			return;
		case 0xA0:
			e.type = Event::kPolyPressureEvent;
			e.polyPressure = {channel, static_cast<int16> (data1), data2 / 127.f, -1};
			m_Events.addEvent (e);
			return;
		default:
			break;
	}

	// Controllers, channel pressure and pitch bend reach parameters through the MIDI mapping.
	if (!m_pMidiMapping)
		return;
	CtrlNumber controller = -1;
	ParamValue value = 0;
	switch (status & 0xF0)
	{
		case 0xB0:
			controller = data1;
			value = data2 / 127.0;
			break;
		case 0xD0:
			controller = kAfterTouch;
			value = data1 / 127.0;
			break;
		case 0xE0:
			controller = kPitchBend;
			value = ((data2 << 7) | data1) / 16383.0;
			break;
		default:
			return;
	}
	ParamID id = 0;
	if (m_pMidiMapping->getMidiControllerAssignment (0, channel, controller, id) == kResultOk)
		m_InputChanges.addPoint (id, offset, value);
}

void Vst2Wrapper::fillProcessContext ()
{
	ProcessContext& c = m_Context;
	c = ProcessContext ();
	c.sampleRate = m_dSampleRate;
	c.continousTimeSamples = m_nContinuousSamples;
	c.projectTimeSamples = m_nContinuousSamples;
	c.state = ProcessContext::kContTimeValid;

	const intptr_t wanted = kVstNanosValid | kVstPpqPosValid | kVstTempoValid | kVstBarsValid |
	                        kVstCyclePosValid | kVstTimeSigValid | kVstClockValid;
	const auto* time = reinterpret_cast<const VstTimeInfo*> (host (audioMasterGetTime, 0, wanted));
	if (!time)
		return;
	const int32 flags = time->flags;
	c.projectTimeSamples = static_cast<TSamples> (time->samplePos);
	if (flags & kVstTransportPlaying)
		c.state |= ProcessContext::kPlaying;
	if (flags & kVstTransportCycleActive)
		c.state |= ProcessContext::kCycleActive;
	if (flags & kVstTransportRecording)
		c.state |= ProcessContext::kRecording;
	if (flags & kVstNanosValid)
	{
		c.systemTime = static_cast<int64> (time->nanoSeconds);
		c.state |= ProcessContext::kSystemTimeValid;
	}
	if (flags & kVstPpqPosValid)
	{
		c.projectTimeMusic = time->ppqPos;
		c.state |= ProcessContext::kProjectTimeMusicValid;
	}
	if (flags & kVstTempoValid)
	{
		c.tempo = time->tempo;
		c.state |= ProcessContext::kTempoValid;
	}
	if (flags & kVstBarsValid)
	{
		c.barPositionMusic = time->barStartPos;
		c.state |= ProcessContext::kBarPositionValid;
	}
	if (flags & kVstCyclePosValid)
	{
		c.cycleStartMusic = time->cycleStartPos;
		c.cycleEndMusic = time->cycleEndPos;
		c.state |= ProcessContext::kCycleValid;
	}
	if (flags & kVstTimeSigValid)
	{
		c.timeSigNumerator = time->timeSigNumerator;
		c.timeSigDenominator = time->timeSigDenominator;
		c.state |= ProcessContext::kTimeSigValid;
	}
	if (flags & kVstClockValid)
	{
		c.samplesToNextClock = time->samplesToNextClock;
		c.state |= ProcessContext::kClockValid;
	}
}

void Vst2Wrapper::processReplacing (float** inputs, float** outputs, int32 sampleFrames)
{
	if (sampleFrames <= 0 || !outputs)
		return;
	bool missing = m_nInputChannels > 0 && !inputs;
	for (int32 c = 0; !missing && c < m_nInputChannels; ++c)
		missing = !inputs[c];
	for (int32 c = 0; !missing && c < m_nOutputChannels; ++c)
		missing = !outputs[c];
	if (!m_bActive || missing)
	{
		// Nothing to run (suspended, or a channel without buffer): answer silence rather than
		// leave the host's buffers as they were or hand the effect a null channel.
		for (int32 c = 0; c < m_nOutputChannels; ++c)
			if (outputs[c])
				std::fill (outputs[c], outputs[c] + sampleFrames, 0.f);
		return;
	}

	// Edits made since the last block take effect at its start.
	for (size_t slot = 0; slot < m_Params.size (); ++slot)
		if (m_pPendingFlags[slot].exchange (false, std::memory_order_acquire))
			m_InputChanges.addPoint (m_Params[slot].uId, 0,
			                         m_pPendingValues[slot].load (std::memory_order_relaxed));
	fillProcessContext ();

	const bool whole = sampleFrames <= m_nBlockSize;
	for (int32 offset = 0; offset < sampleFrames; offset += m_nBlockSize)
	{
		const int32 frames = std::min (m_nBlockSize, sampleFrames - offset);
		processBlock (inputs, outputs, offset, frames, whole, offset + frames >= sampleFrames);
	}

	m_InputChanges.clear ();
	m_Events.clear ();
	m_nContinuousSamples += sampleFrames;
}

void Vst2Wrapper::processBlock (float** inputs, float** outputs, int32 offset, int32 frames,
                                bool whole, bool last)
{
	for (int32 c = 0; c < m_nInputChannels; ++c)
		m_ProcessData.setInputChannel (m_nMainInputBus, c, inputs[c] + offset);
	for (int32 c = 0; c < m_nOutputChannels; ++c)
		m_ProcessData.setOutputChannel (m_nMainOutputBus, c, outputs[c] + offset);

	if (whole)
		m_ProcessData.attach (&m_InputChanges, &m_Events, &m_Context, &m_OutputChanges);
	else
	{
		// Hand this piece the points and events that fall into it, shifted to its start; the
		// last piece also takes whatever lies beyond the host's block.
		m_BlockChanges.clear ();
		for (int32 q = 0; q < m_InputChanges.getParameterCount (); ++q)
		{
			IParamValueQueue* queue = m_InputChanges.getParameterData (q);
			for (int32 p = 0; queue && p < queue->getPointCount (); ++p)
			{
				int32 at = 0;
				ParamValue value = 0;
				queue->getPoint (p, at, value);
				if (at >= offset && (at < offset + frames || last))
					m_BlockChanges.addPoint (queue->getParameterId (),
					                         std::min (at - offset, frames - 1), value);
			}
		}
		m_BlockEvents.clear ();
		for (int32 i = 0; i < m_Events.getEventCount (); ++i)
		{
			Event e {};
			m_Events.getEvent (i, e);
			if (e.sampleOffset >= offset && (e.sampleOffset < offset + frames || last))
			{
				e.sampleOffset = std::min (e.sampleOffset - offset, frames - 1);
				m_BlockEvents.addEvent (e);
			}
		}
		m_ProcessData.attach (&m_BlockChanges, &m_BlockEvents, &m_Context, &m_OutputChanges);
	}
	m_OutputChanges.clear ();
	m_ProcessData.numSamples = frames;
	m_pProcessor->process (m_ProcessData);
	m_Context.projectTimeSamples += frames;
	m_Context.continousTimeSamples += frames;
}

void Vst2Wrapper::processAccumulating (float** inputs, float** outputs, int32 sampleFrames)
{
	if (sampleFrames <= 0 || !outputs || !m_bActive || m_Scratch.empty ())
		return;
	for (int32 offset = 0; offset < sampleFrames; offset += m_nBlockSize)
	{
		const int32 frames = std::min (m_nBlockSize, sampleFrames - offset);
		for (int32 c = 0; c < m_nInputChannels; ++c)
			m_OffsetInputs[static_cast<size_t> (c)] = inputs && inputs[c] ? inputs[c] + offset : nullptr;
		processReplacing (m_nInputChannels > 0 ? m_OffsetInputs.data () : inputs,
		                  m_ScratchPointers.data (), frames);
		for (int32 c = 0; c < m_nOutputChannels; ++c)
			if (float* out = outputs[c])
				for (int32 i = 0; i < frames; ++i)
					out[offset + i] += m_ScratchPointers[static_cast<size_t> (c)][i];
	}
}

//------------------------------------------------------------------------
// Buses
//------------------------------------------------------------------------
bool Vst2Wrapper::setSpeakerArrangement (const VstSpeakerArrangementHead* in,
                                         const VstSpeakerArrangementHead* out)
{
	if (m_bActive || !out)
		return false;
	std::vector<SpeakerArrangement> ins (static_cast<size_t> (m_pComponent->getBusCount (kAudio, kInput)));
	std::vector<SpeakerArrangement> outs (static_cast<size_t> (m_pComponent->getBusCount (kAudio, kOutput)));
	for (size_t i = 0; i < ins.size (); ++i)
		m_pProcessor->getBusArrangement (kInput, static_cast<int32> (i), ins[i]);
	for (size_t i = 0; i < outs.size (); ++i)
		m_pProcessor->getBusArrangement (kOutput, static_cast<int32> (i), outs[i]);

	if (m_nMainInputBus >= 0)
	{
		if (!in || !arrangementFor (in->numChannels))
			return false;
		ins[static_cast<size_t> (m_nMainInputBus)] = arrangementFor (in->numChannels);
	}
	if (m_nMainOutputBus < 0 || !arrangementFor (out->numChannels))
		return false;
	outs[static_cast<size_t> (m_nMainOutputBus)] = arrangementFor (out->numChannels);

	if (m_pProcessor->setBusArrangements (ins.data (), static_cast<int32> (ins.size ()), outs.data (),
	                                      static_cast<int32> (outs.size ())) != kResultTrue)
	{
		updateIo (); // the effect may have adapted its buses anyway
		return false;
	}
	updateIo ();
	return true;
}

intptr_t Vst2Wrapper::pinProperties (BusDirection dir, int32 index, VstPinProperties* props)
{
	const int32 channels = dir == kInput ? m_nInputChannels : m_nOutputChannels;
	const int32 bus = dir == kInput ? m_nMainInputBus : m_nMainOutputBus;
	if (!props || bus < 0 || index < 0 || index >= channels)
		return 0;
	std::memset (props, 0, sizeof (*props));
	BusInfo info {};
	m_pComponent->getBusInfo (kAudio, dir, bus, info);
	char name[kVstMaxLabelLen] = {};
	copyText (info.name, name, sizeof (name) - 4);
	std::snprintf (props->label, sizeof (props->label), "%s %d", name, index + 1);
	std::snprintf (props->shortLabel, sizeof (props->shortLabel), "%s%d", dir == kInput ? "In" : "Out",
	               (index + 1) % 100);
	props->flags = kVstPinIsActive;
	if (channels == 2)
	{
		props->flags |= kVstPinIsStereo;
		props->arrangementType = 1; // stereo
	}
	else if (channels == 1)
		props->arrangementType = 0; // mono
	return 1;
}

//------------------------------------------------------------------------
// Editor
//------------------------------------------------------------------------
intptr_t Vst2Wrapper::editGetRect (ERect** rect)
{
	if (!rect)
		return 0;
	*rect = nullptr;
	IPlugView* view = m_pView;
	IPtr<IPlugView> temporary;
	if (!view)
	{
		temporary = owned (m_pController->createView (ViewType::kEditor));
		view = temporary;
	}
	ViewRect size {};
	if (!view || view->getSize (&size) != kResultOk)
		return 0;
	m_EditRect = {static_cast<int16_t> (size.top), static_cast<int16_t> (size.left),
	              static_cast<int16_t> (size.bottom), static_cast<int16_t> (size.right)};
	*rect = &m_EditRect;
	return 1;
}

intptr_t Vst2Wrapper::editOpen (void* parent)
{
	editClose ();
	if (!parent)
		return 0;
	m_pView = owned (m_pController->createView (ViewType::kEditor));
	if (!m_pView || m_pView->isPlatformTypeSupported (kEditorPlatformType) != kResultTrue)
	{
		m_pView = nullptr;
		return 0;
	}
	m_pView->setFrame (this);
	if (m_pView->attached (parent, kEditorPlatformType) != kResultOk)
	{
		m_pView->setFrame (nullptr);
		m_pView = nullptr;
		return 0;
	}
	return 1;
}

void Vst2Wrapper::editClose ()
{
	if (!m_pView)
		return;
	m_pView->removed ();
	m_pView->setFrame (nullptr);
	m_pView = nullptr;
}

void Vst2Wrapper::editIdle ()
{
#if SMTG_OS_LINUX
	// File descriptors first, without waiting; then the timers that are due.
	for (size_t i = 0; i < m_FdHandlers.size (); ++i)
	{
		pollfd fd {m_FdHandlers[i].nFd, POLLIN, 0};
		if (poll (&fd, 1, 0) > 0 && (fd.revents & (POLLIN | POLLHUP | POLLERR)))
			m_FdHandlers[i].pHandler->onFDIsSet (m_FdHandlers[i].nFd);
	}
	const uint64_t now = nowMs ();
	for (size_t i = 0; i < m_Timers.size (); ++i)
	{
		if (now < m_Timers[i].uNextMs)
			continue;
		m_Timers[i].uNextMs = now + m_Timers[i].uIntervalMs;
		m_Timers[i].pHandler->onTimer (); // may unregister timers: index stays checked above
	}
#endif
}

tresult PLUGIN_API Vst2Wrapper::resizeView (IPlugView* view, ViewRect* newSize)
{
	if (!view || !newSize || view != m_pView)
		return kInvalidArgument;
	const int32 width = newSize->getWidth ();
	const int32 height = newSize->getHeight ();
	if (!host (audioMasterSizeWindow, width, height))
		return kResultFalse;
	return view->onSize (newSize);
}

#if SMTG_OS_LINUX
tresult PLUGIN_API Vst2Wrapper::registerEventHandler (Linux::IEventHandler* handler,
                                                      Linux::FileDescriptor fd)
{
	if (!handler || fd < 0)
		return kInvalidArgument;
	m_FdHandlers.push_back ({handler, fd});
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::unregisterEventHandler (Linux::IEventHandler* handler)
{
	const auto before = m_FdHandlers.size ();
	m_FdHandlers.erase (std::remove_if (m_FdHandlers.begin (), m_FdHandlers.end (),
	                                    [handler] (const FdEntry& e) { return e.pHandler == handler; }),
	                    m_FdHandlers.end ());
	return m_FdHandlers.size () != before ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Vst2Wrapper::registerTimer (Linux::ITimerHandler* handler,
                                               Linux::TimerInterval milliseconds)
{
	if (!handler || milliseconds == 0)
		return kInvalidArgument;
	m_Timers.push_back ({handler, milliseconds, nowMs () + milliseconds});
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::unregisterTimer (Linux::ITimerHandler* handler)
{
	const auto before = m_Timers.size ();
	m_Timers.erase (std::remove_if (m_Timers.begin (), m_Timers.end (),
	                                [handler] (const TimerEntry& e) { return e.pHandler == handler; }),
	                m_Timers.end ());
	return m_Timers.size () != before ? kResultOk : kResultFalse;
}
#endif

//------------------------------------------------------------------------
// Host interfaces offered to the effect
//------------------------------------------------------------------------
tresult PLUGIN_API Vst2Wrapper::getName (String128 name)
{
	Utf16::fromUtf8 (m_szHostName.c_str (), name, 128);
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::createInstance (TUID cid, TUID iid, void** obj)
{
	if (!obj)
		return kInvalidArgument;
	*obj = nullptr;
	if (FUnknownPrivate::iidEqual (cid, IMessage::iid) && FUnknownPrivate::iidEqual (iid, IMessage::iid))
	{
		*obj = static_cast<IMessage*> (new HostMessage);
		return kResultOk;
	}
	if (FUnknownPrivate::iidEqual (cid, IAttributeList::iid) &&
	    FUnknownPrivate::iidEqual (iid, IAttributeList::iid))
	{
		*obj = static_cast<IAttributeList*> (new HostAttributeList);
		return kResultOk;
	}
	return kNoInterface;
}

tresult PLUGIN_API Vst2Wrapper::beginEdit (ParamID id)
{
	auto it = m_IdToSlot.find (id);
	if (it == m_IdToSlot.end ())
		return kInvalidArgument;
	if (const int32 index = m_Params[static_cast<size_t> (it->second)].nVst2Index; index >= 0)
		host (audioMasterBeginEdit, index);
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::performEdit (ParamID id, ParamValue valueNormalized)
{
	auto it = m_IdToSlot.find (id);
	if (it == m_IdToSlot.end () || !std::isfinite (valueNormalized))
		return kInvalidArgument;
	const ParamValue value = std::clamp (valueNormalized, 0.0, 1.0);
	queueValue (it->second, value);
	if (const int32 index = m_Params[static_cast<size_t> (it->second)].nVst2Index; index >= 0)
		host (audioMasterAutomate, index, 0, nullptr, static_cast<float> (value));
	else
		host (audioMasterUpdateDisplay); // a program chosen in the editor
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::endEdit (ParamID id)
{
	auto it = m_IdToSlot.find (id);
	if (it == m_IdToSlot.end ())
		return kInvalidArgument;
	if (const int32 index = m_Params[static_cast<size_t> (it->second)].nVst2Index; index >= 0)
		host (audioMasterEndEdit, index);
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::restartComponent (int32 flags)
{
	if (flags & (kLatencyChanged | kIoChanged))
	{
		if (m_pProcessor)
			m_Effect.initialDelay = static_cast<int32> (m_pProcessor->getLatencySamples ());
		host (audioMasterIOChanged);
	}
	if (flags & (kParamValuesChanged | kParamTitlesChanged))
		host (audioMasterUpdateDisplay);
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IHostApplication)
	QUERY_INTERFACE (iid, obj, IHostApplication::iid, IHostApplication)
	QUERY_INTERFACE (iid, obj, IComponentHandler::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IPlugFrame::iid, IPlugFrame)
#if SMTG_OS_LINUX
	QUERY_INTERFACE (iid, obj, Linux::IRunLoop::iid, Linux::IRunLoop)
#endif
	*obj = nullptr;
	return kNoInterface;
}

uint32 PLUGIN_API Vst2Wrapper::addRef ()
{
	return static_cast<uint32> (FUnknownPrivate::atomicAdd (m_nRefCount, 1));
}

uint32 PLUGIN_API Vst2Wrapper::release ()
{
	return static_cast<uint32> (FUnknownPrivate::atomicAdd (m_nRefCount, -1));
}

} // namespace Vst
} // namespace Steinberg
