// Processor: construction, initialize/terminate, activation and set-up, buses, latency and
// tail, MIDI mapping, units and the program list, editor hooks.
#include "processor.h"

#include "classids.h"
#include "logparameter.h"
#include "mappedparameter.h"
#include "midieventlist.h"
#include "paramupdatequeue.h"
#include "peakparameter.h"
#include "utf16.h"
#include "voltoctaveparameter.h"

#include "plugincore/plugin.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <cmath>
#include <cstring>
#include <new>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

namespace {

// A sample rate in whole hertz, held inside a range the plug-in can work with.
int32 wholeHertz(double dSampleRate)
{
	if (!(dSampleRate >= 1.0))
		return 1;
	if (dSampleRate > 10000000.0)
		return 10000000;
	return static_cast<int32>(dSampleRate);
}

// Splits a comma-separated list into items, verbatim (an empty item stays empty).
template <typename Visit>
void forEachEnumItem(const char* szList, Visit visit)
{
	std::string sItem;
	for (const char* p = szList ? szList : "";; ++p)
	{
		if (*p == ',' || *p == 0)
		{
			visit(sItem);
			sItem.clear();
			if (*p == 0)
				break;
		}
		else
		{
			sItem += *p;
		}
	}
}

struct CTitle
{
	explicit CTitle(const char* szUtf8) { Steinberg::Utf16::fromUtf8(szUtf8, m_szText, 128); }
	String128 m_szText;
	operator const TChar*() const { return m_szText; }
};

} // namespace

// ---------------------------------------------------------------------------------------------

Processor::Processor()
: Processor(&createPlugIn)
{
}

Processor::Processor(PlugInMaker pMakePlugIn)
: m_bUnitsViewsEnabled(true)
, m_pMakePlugIn(pMakePlugIn)
, m_nLatencySamples(0)
, m_pPlugIn(nullptr)
, m_bBypass(false)
, m_bSideChain(false)
, m_nQueueCount(0)
, m_nUpdateGranularity(1)
, m_bSampleAccurate(false)
, m_nSelectedUnit(0)
, m_GuiMessage()
, m_nSilentSamples(0)
{
	createPlugInObject(true);
}

Processor::~Processor()
{
	detachQueues();
	m_pQueues.reset();
	m_pMidiEvents.reset();
	delete m_pPlugIn;
	m_pPlugIn = nullptr;
	m_ProgramLists.clear();
	m_Units.clear();
	m_MeterParameterIDs.clear();
}

FUnknown* Processor::createInstance(void*)
{
	Processor* pProcessor = new (std::nothrow) Processor();
	return pProcessor ? static_cast<IAudioProcessor*>(pProcessor) : nullptr;
}

tresult PLUGIN_API Processor::queryInterface(const TUID iid, void** ppObject)
{
	QUERY_INTERFACE(iid, ppObject, IMidiMapping::iid, IMidiMapping)
	QUERY_INTERFACE(iid, ppObject, IUnitInfo::iid, IUnitInfo)
	return SingleComponentEffect::queryInterface(iid, ppObject);
}

void Processor::createPlugInObject(bool bCopyAll)
{
	m_pPlugIn = m_pMakePlugIn ? m_pMakePlugIn() : nullptr;
	if (!m_pPlugIn)
		return;
	if (bCopyAll)
		m_pPlugIn->setUp();
	const float fLatency = m_pPlugIn->m_fLatencySamples;
	m_nLatencySamples = (fLatency > 0.0f && fLatency < 2147483520.0f) ? static_cast<int32>(fLatency) : 0;
	m_bSideChain = m_pPlugIn->m_nSideChain != 0;
	if (bCopyAll)
	{
		m_bSampleAccurate = m_pPlugIn->m_nSampleAccurate != 0;
		m_nUpdateGranularity = m_pPlugIn->m_nGranularity;
	}
}

int32 Processor::controlCount() const
{
	return m_pPlugIn && m_pPlugIn->m_ppControlTable ? m_pPlugIn->m_nControlCount : 0;
}

const CControlDescriptor* Processor::descriptorAt(int64 nPosition) const
{
	if (nPosition < 0 || nPosition >= controlCount())
		return nullptr;
	return m_pPlugIn->m_ppControlTable[nPosition];
}

CControlDescriptor* Processor::descriptorAt(int64 nPosition)
{
	if (nPosition < 0 || nPosition >= controlCount())
		return nullptr;
	return m_pPlugIn->m_ppControlTable[nPosition];
}

// ---------------------------------------------------------------------------------------------

tresult PLUGIN_API Processor::initialize(FUnknown* pContext)
{
	const tresult nResult = SingleComponentEffect::initialize(pContext);
	if (nResult != kResultOk)
		return nResult;

	addAudioOutput(STR16("Audio Output"), SpeakerArr::kStereo, kMain, BusInfo::kDefaultActive);
	if (!m_pPlugIn || !m_pPlugIn->m_bOutputOnly)
	{
		addAudioInput(STR16("AudioInput"), SpeakerArr::kStereo, kMain, BusInfo::kDefaultActive);
		if (m_bSideChain)
			addAudioInput(STR16("AuxInput"), SpeakerArr::kStereo, kAux, BusInfo::kDefaultActive);
	}
	addEventInput(STR16("Event Input"), 16, kMain, BusInfo::kDefaultActive);

	if (!m_pPlugIn)
		createPlugInObject(true);

	if (m_pPlugIn)
	{
		m_pMidiEvents.reset(new CVSTMidiEventList(m_pPlugIn));
		CHostMessage message;
		message.m_pEventList = m_pMidiEvents.get();
		m_pPlugIn->hostMessage(kHostMessageMidiList, &message);
		addControlParameters();
		addFixedParameters();
	}

	const auto addRangeParameter = [this](const char16_t* szTitle, ParamID uId, int32 nFlags,
	                                      int32 nPrecision) {
		auto* pParam = new LinearParameter(reinterpret_cast<const TChar*>(szTitle), uId, nullptr,
		                                   0.0, 1.0, 0.0, nFlags, kRootUnitId);
		if (nPrecision >= 0)
			pParam->setPrecision(nPrecision);
		parameters.addParameter(pParam);
	};
	addRangeParameter(u"Bypass", kParamBypass,
	                  ParameterInfo::kIsBypass | ParameterInfo::kCanAutomate, -1);
	addRangeParameter(u"PitchBend", kParamPitchBend, ParameterInfo::kCanAutomate, 1);
	addRangeParameter(u"MIDI Vol", kParamMidiVolume, ParameterInfo::kCanAutomate, 1);
	addRangeParameter(u"MIDI Pan", kParamMidiPan, ParameterInfo::kCanAutomate, 1);
	addRangeParameter(u"MIDI Mod Wheel", kParamModWheel, ParameterInfo::kCanAutomate, 1);
	addRangeParameter(u"MIDI Expression", kParamExpression, ParameterInfo::kCanAutomate, 1);
	addRangeParameter(u"MIDI Channel Pressure", kParamChannelPressure,
	                  ParameterInfo::kCanAutomate, 1);
	addRangeParameter(u"MIDI Sustain Pedal", kParamSustain, ParameterInfo::kCanAutomate, 1);
	addRangeParameter(u"All Notes Off", kParamAllNotesOff, ParameterInfo::kCanAutomate, 1);

	addPresetParameter();
	sizeSilentBuffers(processSetup.maxSamplesPerBlock);
	return nResult;
}

void Processor::addControlParameters()
{
	const int32 nCount = m_pPlugIn->m_controls.count();
	if (m_bSampleAccurate && nCount > 0)
	{
		m_pQueues.reset(new std::unique_ptr<CVSTParamUpdateQueue>[nCount]);
		m_nQueueCount = nCount;
	}
	for (int32 i = 0; i < nCount; ++i)
	{
		const CControlDescriptor* pControl = m_pPlugIn->m_controls.at(i);
		if (!pControl)
			continue;
		const float fValue = m_pPlugIn->getValue(i);
		if (m_bSampleAccurate)
			m_pQueues[i].reset(new CVSTParamUpdateQueue(&m_nUpdateGranularity));

		const CTitle title(pControl->m_szName);
		const ParamID uId = static_cast<ParamID>(i);
		switch (pControl->m_uKind)
		{
			case kKindMeter:
			{
				auto* pMeter = new PeakParameter(ParameterInfo::kIsReadOnly, uId, title);
				pMeter->setNormalized(0.0);
				parameters.addParameter(pMeter);
				m_MeterParameterIDs.push_back(i);
				break;
			}
			case kKindParameter:
			case 102:
			case 104:
			case 106:
			{
				if (pControl->m_uValueType == kValueUint)
				{
					auto* pList = new StringListParameter(
					    title, uId, nullptr, ParameterInfo::kCanAutomate | ParameterInfo::kIsList,
					    kRootUnitId);
					forEachEnumItem(pControl->m_szEnumList, [pList](const std::string& sItem) {
						const char* szShown = sItem == "SWITCH_OFF" ? "OFF"
						                      : sItem == "SWITCH_ON" ? "ON"
						                                             : sItem.c_str();
						String128 szEntry;
						Steinberg::Utf16::fromUtf8(szShown, szEntry, 128);
						pList->appendString(szEntry);
					});
					// The list shows the current index as its value.
					const int32 nSteps = pList->getInfo().stepCount;
					if (nSteps > 0)
					{
						double dIndex = std::floor(static_cast<double>(fValue) + 0.5);
						dIndex = dIndex < 0.0 ? 0.0 : (dIndex > nSteps ? nSteps : dIndex);
						pList->getInfo().defaultNormalizedValue = dIndex / nSteps;
						pList->setNormalized(dIndex / nSteps);
					}
					parameters.addParameter(pList);
					break;
				}
				const CTitle units(pControl->m_szUnits);
				Parameter* pParam = nullptr;
				const double dLow = pControl->m_fLow;
				const double dHigh = pControl->m_fHigh;
				if (pControl->m_bLogTaper)
					pParam = new LogParameter(title, uId, units, dLow, dHigh, fValue, 0,
					                          ParameterInfo::kCanAutomate, kRootUnitId);
				else if (pControl->m_bVoltOctave)
					pParam = new VoltOctaveParameter(title, uId, units, dLow, dHigh, fValue, 0,
					                                 ParameterInfo::kCanAutomate, kRootUnitId);
				else
					pParam = new LinearParameter(title, uId, units, dLow, dHigh, fValue,
					                             ParameterInfo::kCanAutomate, kRootUnitId);
				pParam->setPrecision(pControl->m_uValueType == kValueInt ? 0
				                                                         : pControl->m_nPrecision);
				parameters.addParameter(pParam);
				break;
			}
			default:
				break;
		}
	}
}

void Processor::addFixedParameters()
{
	const auto addUnitRange = [this](const TChar* szTitle, ParamID uId, double dDefault,
	                                 int32 nPrecision) {
		auto* pParam = new LinearParameter(szTitle, uId, nullptr, 0.0, 1.0, dDefault,
		                                   ParameterInfo::kCanAutomate, kRootUnitId);
		pParam->setPrecision(nPrecision);
		parameters.addParameter(pParam);
	};
	addUnitRange(STR16("VectorJoystick X"), kParamJoystickX, 0.5, 2);
	addUnitRange(STR16("VectorJoystick Y"), kParamJoystickY, 0.5, 2);
	const ParamID auButtonIds[3] = {kParamButton1, kParamButton2, kParamButton3};
	for (int i = 0; i < 3; ++i)
	{
		const char* szName = m_pPlugIn->m_szButtonNames[i];
		if (szName && *szName)
			addUnitRange(CTitle(szName), auButtonIds[i], 0.0, 0);
	}
}

void Processor::addPresetParameter()
{
	int32 nNamed = 0;
	if (m_pPlugIn)
	{
		for (const char* szName : m_pPlugIn->m_szPresetNames)
			nNamed += (szName && *szName) ? 1 : 0;
	}
	// One root unit (ID 0, no parent) that carries the factory program list, so that hosts
	// which look for programs on the root unit find them.
	auto* pRoot = new Unit(STR16("RootUnit"), kRootUnitId, kNoParentUnitId,
	                       nNamed > 0 ? kFactoryProgramListId : kNoProgramListId);
	m_Units.push_back(IPtr<Unit>(pRoot, false));
	if (nNamed == 0)
		return;

	auto* pPresets = new StringListParameter(
	    STR16("Factory Presets"), kParamFactoryPresets, nullptr,
	    ParameterInfo::kIsProgramChange | ParameterInfo::kIsList, kRootUnitId);
	for (const char* szName : m_pPlugIn->m_szPresetNames)
	{
		if (szName && *szName)
		{
			String128 szEntry;
			Steinberg::Utf16::fromUtf8(szName, szEntry, 128);
			pPresets->appendString(szEntry);
		}
	}
	parameters.addParameter(pPresets);
}

tresult PLUGIN_API Processor::terminate()
{
	m_MeterParameterIDs.clear();
	detachQueues();
	m_pQueues.reset();
	m_nQueueCount = 0;
	m_pMidiEvents.reset();
	m_Units.clear();
	return SingleComponentEffect::terminate();
}

// ---------------------------------------------------------------------------------------------

tresult PLUGIN_API Processor::getControllerClassId(TUID)
{
	return kNotImplemented;
}

tresult PLUGIN_API Processor::setIoMode(IoMode)
{
	return kNotImplemented;
}

tresult PLUGIN_API Processor::getRoutingInfo(RoutingInfo&, RoutingInfo&)
{
	return kNotImplemented;
}

tresult PLUGIN_API Processor::setActive(TBool bState)
{
	if (!bState)
		return kResultOk;
	if (!m_pPlugIn)
		createPlugInObject(false);
	if (m_pPlugIn)
	{
		m_pPlugIn->m_nSampleRate = wholeHertz(processSetup.sampleRate);
		m_pPlugIn->prepare();
	}
	return kResultOk;
}

tresult PLUGIN_API Processor::setupProcessing(ProcessSetup& setup)
{
	// A set-up the module cannot run is refused before the plug-in is prepared for it.
	if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue ||
	    !(setup.sampleRate > 0.0) || setup.maxSamplesPerBlock < 0)
		return kResultFalse;
	if (!m_pPlugIn)
		createPlugInObject(false);
	if (m_pPlugIn)
	{
		m_pPlugIn->m_nSampleRate = wholeHertz(setup.sampleRate);
		m_pPlugIn->prepare();
	}
	const tresult nResult = SingleComponentEffect::setupProcessing(setup);
	if (nResult == kResultOk)
		sizeSilentBuffers(setup.maxSamplesPerBlock);
	return nResult;
}

void Processor::sizeSilentBuffers(int32 nMaxSamples)
{
	if (!m_pPlugIn || !m_pPlugIn->m_bOutputOnly || !m_pPlugIn->m_bProcessBuffers)
		return;
	if (nMaxSamples < 0)
		nMaxSamples = 0;
	m_SilentInput.assign(2 * static_cast<size_t>(nMaxSamples), 0.0f);
	m_nSilentSamples = nMaxSamples;
}

bool Processor::isAudioInputActive(int32 nBus)
{
	Bus* pBus = getBus(kAudio, kInput, nBus);
	return pBus && pBus->isActive();
}

tresult PLUGIN_API Processor::setProcessing(TBool)
{
	return kNotImplemented;
}

tresult PLUGIN_API Processor::canProcessSampleSize(int32 nSymbolicSize)
{
	return nSymbolicSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API Processor::setBusArrangements(SpeakerArrangement* pInputs, int32 nInputs,
                                                 SpeakerArrangement* pOutputs, int32 nOutputs)
{
	const bool bOutputOnly = m_pPlugIn && m_pPlugIn->m_bOutputOnly;
	bool bAccepted;
	if (bOutputOnly)
		bAccepted = nInputs == 0 && nOutputs == 1 && pOutputs &&
		            pOutputs[0] == SpeakerArr::kStereo;
	else
		bAccepted = nInputs == 1 && nOutputs == 1 && pInputs && pOutputs &&
		            pInputs[0] == pOutputs[0];
	if (!bAccepted)
		return kResultFalse;
	return SingleComponentEffect::setBusArrangements(pInputs, nInputs, pOutputs, nOutputs);
}

uint32 PLUGIN_API Processor::getLatencySamples()
{
	return static_cast<uint32>(m_nLatencySamples);
}

uint32 PLUGIN_API Processor::getTailSamples()
{
	if (!m_pPlugIn)
		return 0;
	if (m_pPlugIn->m_nInfiniteTail == 1)
		return kInfiniteTail;
	const double dSamples = m_pPlugIn->m_fTailMsec / 1000.0 * processSetup.sampleRate;
	if (!(dSamples > 0.0))
		return 0;
	return dSamples < 4294967294.0 ? static_cast<uint32>(dSamples) : 4294967294u;
}

// ---------------------------------------------------------------------------------------------

tresult PLUGIN_API Processor::getMidiControllerAssignment(int32 nBusIndex, int16,
                                                          CtrlNumber nController, ParamID& uId)
{
	if (!m_pPlugIn || nBusIndex != 0)
		return kResultFalse;
	switch (nController)
	{
		case kCtrlModWheel: uId = kParamModWheel; return kResultOk;
		case kCtrlVolume: uId = kParamMidiVolume; return kResultOk;
		case kCtrlPan: uId = kParamMidiPan; return kResultOk;
		case kCtrlExpression: uId = kParamExpression; return kResultOk;
		case kCtrlSustainOnOff: uId = kParamSustain; return kResultOk;
		case kCtrlAllNotesOff: uId = kParamAllNotesOff; return kResultOk;
		case kAfterTouch: uId = kParamChannelPressure; return kResultOk;
		case kPitchBend: uId = kParamPitchBend; return kResultOk;
		default: break;
	}
	const int32 nPosition = nController >= 0
	                            ? m_pPlugIn->m_controls.indexOfMidiController(
	                                  static_cast<uint32_t>(nController))
	                            : -1;
	if (nPosition >= 0)
	{
		uId = static_cast<ParamID>(nPosition);
		return kResultOk;
	}
	uId = 0;
	return kResultFalse;
}

// ---------------------------------------------------------------------------------------------

int32 PLUGIN_API Processor::getUnitCount()
{
	return static_cast<int32>(m_Units.size());
}

tresult PLUGIN_API Processor::getUnitInfo(int32 nUnitIndex, UnitInfo& info)
{
	if (nUnitIndex < 0 || nUnitIndex >= getUnitCount())
		return kResultFalse;
	info = m_Units[static_cast<size_t>(nUnitIndex)]->getInfo();
	return kResultOk;
}

int32 PLUGIN_API Processor::getProgramListCount()
{
	return getParameterObject(kParamFactoryPresets) ? 1 : 0;
}

tresult PLUGIN_API Processor::getProgramListInfo(int32 nListIndex, ProgramListInfo& info)
{
	Parameter* pPresets = getParameterObject(kParamFactoryPresets);
	if (nListIndex != 0 || !pPresets)
		return kResultFalse;
	info.id = kFactoryProgramListId;
	UString(info.name, str16BufferSize(String128)).assign(STR16("Presets"));
	info.programCount = static_cast<int32>(pPresets->toPlain(1.0)) + 1;
	return kResultOk;
}

tresult PLUGIN_API Processor::getProgramName(ProgramListID nListId, int32 nProgramIndex,
                                             String128 szName)
{
	Parameter* pPresets = getParameterObject(kParamFactoryPresets);
	if (nListId != kFactoryProgramListId || !pPresets || !szName)
		return kResultFalse;
	const int32 nSteps = pPresets->getInfo().stepCount;
	if (nProgramIndex < 0 || nProgramIndex > nSteps)
		return kResultFalse;
	pPresets->toString(pPresets->toNormalized(nProgramIndex), szName);
	return kResultOk;
}

tresult PLUGIN_API Processor::getProgramInfo(ProgramListID nListId, int32 nProgramIndex,
                                             Vst::CString szAttributeId, String128 szValue)
{
	auto it = m_ProgramLists.find(nListId);
	if (it == m_ProgramLists.end())
		return kResultFalse;
	return it->second->getProgramInfo(nProgramIndex, szAttributeId, szValue);
}

tresult PLUGIN_API Processor::hasProgramPitchNames(ProgramListID nListId, int32 nProgramIndex)
{
	auto it = m_ProgramLists.find(nListId);
	if (it == m_ProgramLists.end())
		return kResultFalse;
	return it->second->hasPitchNames(nProgramIndex);
}

tresult PLUGIN_API Processor::getProgramPitchName(ProgramListID nListId, int32 nProgramIndex,
                                                  int16 nMidiPitch, String128 szName)
{
	auto it = m_ProgramLists.find(nListId);
	if (it == m_ProgramLists.end())
		return kResultFalse;
	return it->second->getPitchName(nProgramIndex, nMidiPitch, szName);
}

UnitID PLUGIN_API Processor::getSelectedUnit()
{
	return m_nSelectedUnit;
}

tresult PLUGIN_API Processor::selectUnit(UnitID nUnitId)
{
	m_nSelectedUnit = nUnitId;
	return kResultOk;
}

tresult PLUGIN_API Processor::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&)
{
	return kResultFalse;
}

tresult PLUGIN_API Processor::setUnitProgramData(int32, int32, IBStream*)
{
	return kResultFalse;
}

tresult Processor::setProgramName(ProgramListID nListId, int32 nProgramIndex,
                                  const String128 szName)
{
	auto it = m_ProgramLists.find(nListId);
	if (it == m_ProgramLists.end())
		return kResultFalse;
	return it->second->setProgramName(nProgramIndex, szName);
}

tresult Processor::notifyUnitSelection()
{
	tresult nResult = kResultFalse;
	FUnknownPtr<IUnitHandler> unitHandler(componentHandler);
	if (unitHandler)
		nResult = unitHandler->notifyUnitSelection(m_nSelectedUnit);
	return nResult;
}

void PLUGIN_API Processor::update(FUnknown* pChanged, int32 nMessage)
{
	SingleComponentEffect::update(pChanged, nMessage);
	ProgramList* pList = FCast<ProgramList>(pChanged);
	if (pList)
	{
		FUnknownPtr<IUnitHandler> unitHandler(componentHandler);
		if (unitHandler)
			unitHandler->notifyProgramListChange(pList->getID(), kAllProgramInvalid);
	}
}

// ---------------------------------------------------------------------------------------------

void Processor::sendEditorLifeCycle(uint32_t uCode)
{
	m_GuiMessage.m_uCode = uCode;
	m_GuiMessage.m_szViewName = "";
	m_GuiMessage.m_szText = "";
	m_GuiMessage.m_pEditor = nullptr;
	m_GuiMessage.m_pListener = nullptr;
	m_GuiMessage.m_bCustomEditor = false;
	m_pPlugIn->editorMessage(&m_GuiMessage);
}

void Processor::didOpen(VSTGUI::VST3Editor* pEditor)
{
	if (m_pPlugIn && pEditor)
		sendEditorLifeCycle(kGuiEditorOpened);
}

void Processor::willClose(VSTGUI::VST3Editor*)
{
	if (m_pPlugIn)
		sendEditorLifeCycle(kGuiEditorClosing);
}

tresult Processor::receiveText(const char* szText)
{
	if (!m_pPlugIn || !szText)
		return kResultOk;
	if (std::strcmp(szText, "VSTGUITimerPing") == 0)
	{
		m_GuiMessage.m_uCode = kGuiTimerTick;
		m_pPlugIn->editorMessage(&m_GuiMessage);
	}
	else if (std::strcmp(szText, "RecreateView") == 0)
	{
		sendEditorLifeCycle(kGuiEditorOpened);
	}
	return kResultOk;
}

void Processor::sendParameterChanged(ParamID uId, double dValue)
{
	if (!m_pPlugIn)
		return;
	CGuiMessageRecord message;
	message.m_uCode = kGuiParameterChanged;
	message.m_nIndex = static_cast<int32_t>(uId);
	message.m_dValue = dValue;
	m_pPlugIn->editorMessage(&message);
}

} // namespace Zaze2VST3
