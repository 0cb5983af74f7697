#include "pluginhost.h"

#include "text.h"
#include "utf16.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "iviewsnapshot.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace korvessa {
namespace render {

namespace {

#ifdef KORVESSA_BUILT_MODULE
bool isFile (const std::string& szPath)
{
	struct stat st {};
	return ::stat (szPath.c_str (), &st) == 0 && S_ISREG (st.st_mode);
}
#endif

std::string fixedText (const char* pText, std::size_t nMax)
{
	return std::string (pText, strnlen (pText, nMax));
}

// The class ID's text form, the same on every platform (what projects and presets store).
std::string cidText (const TUID cid)
{
	char8 szText[33] = {};
	FUID::fromTUID (cid).toString (szText);
	return szText;
}

std::string joinNames (const std::vector<std::string>& names)
{
	std::string s;
	for (const auto& n : names)
		s += (s.empty () ? "" : ", ") + n;
	return s;
}

} // namespace

std::string defaultPluginPath ()
{
#ifdef KORVESSA_BUILT_MODULE
	if (isFile (KORVESSA_BUILT_MODULE))
		return KORVESSA_BUILT_MODULE;
#endif
#if defined(_WIN32)
	const char* pCommon = std::getenv ("COMMONPROGRAMFILES");
	return std::string (pCommon ? pCommon : "C:\\Program Files\\Common Files") + "\\VST3\\Korvessa.vst3";
#else
	const char* pHome = std::getenv ("HOME");
	return std::string (pHome ? pHome : "") + "/.vst3/Korvessa.vst3";
#endif
}

// ------------------------------------------------------------------------------------------
// CPluginModule

bool CPluginModule::load (const std::string& szPath, std::string& szError)
{
	return m_Loader.load (szPath, szError);
}

bool CPluginModule::findEffectClass (TUID cid, std::string& szName, std::string& szError) const
{
	const int32 nCount = factory () ? factory ()->countClasses () : 0;
	for (int32 i = 0; i < nCount; ++i)
	{
		PClassInfo info {};
		if (factory ()->getClassInfo (i, &info) != kResultOk)
			continue;
		if (fixedText (info.category, sizeof info.category) == kVstAudioEffectClass)
		{
			std::memcpy (cid, info.cid, sizeof (TUID));
			szName = fixedText (info.name, sizeof info.name);
			return true;
		}
	}
	szError = "plug-in '" + path () + "' offers no audio effect class";
	return false;
}

std::string CPluginModule::describe () const
{
	std::string s = "Module:    " + path () + "\n";
	if (!factory ())
		return s;
	PFactoryInfo fi {};
	if (factory ()->getFactoryInfo (&fi) == kResultOk)
	{
		s += "Vendor:    " + fixedText (fi.vendor, sizeof fi.vendor) + "\n";
		s += "URL:       " + fixedText (fi.url, sizeof fi.url) + "\n";
		s += "E-mail:    " + fixedText (fi.email, sizeof fi.email) + "\n";
		s += "Flags:     " + std::to_string (fi.flags) + "\n";
	}
	IPluginFactory2* pF2 = nullptr;
	IPluginFactory3* pF3 = nullptr;
	factory ()->queryInterface (IPluginFactory2::iid, reinterpret_cast<void**> (&pF2));
	factory ()->queryInterface (IPluginFactory3::iid, reinterpret_cast<void**> (&pF3));
	const int32 nCount = factory ()->countClasses ();
	s += "Classes:   " + std::to_string (nCount) + "\n";
	for (int32 i = 0; i < nCount; ++i)
	{
		PClassInfoW w {};
		PClassInfo2 c2 {};
		PClassInfo c1 {};
		s += "Class " + std::to_string (i) + ":\n";
		if (pF3 && pF3->getClassInfoUnicode (i, &w) == kResultOk)
		{
			s += "  Name:          " + Utf16::toUtf8String (w.name, PClassInfo::kNameSize) + "\n";
			s += "  Category:      " + fixedText (w.category, sizeof w.category) + "\n";
			s += "  Subcategories: " + fixedText (w.subCategories, sizeof w.subCategories) + "\n";
			s += "  Vendor:        " + Utf16::toUtf8String (w.vendor, PClassInfo2::kVendorSize) + "\n";
			s += "  Version:       " + Utf16::toUtf8String (w.version, PClassInfo2::kVersionSize) + "\n";
			s += "  SDK version:   " + Utf16::toUtf8String (w.sdkVersion, PClassInfo2::kVersionSize) + "\n";
			s += "  Cardinality:   " + std::to_string (w.cardinality) + "\n";
			s += "  Class flags:   " + std::to_string (w.classFlags) + "\n";
			s += "  Class ID:      " + cidText (w.cid) + "\n";
		}
		else if (pF2 && pF2->getClassInfo2 (i, &c2) == kResultOk)
		{
			s += "  Name:          " + fixedText (c2.name, sizeof c2.name) + "\n";
			s += "  Category:      " + fixedText (c2.category, sizeof c2.category) + "\n";
			s += "  Subcategories: " + fixedText (c2.subCategories, sizeof c2.subCategories) + "\n";
			s += "  Vendor:        " + fixedText (c2.vendor, sizeof c2.vendor) + "\n";
			s += "  Version:       " + fixedText (c2.version, sizeof c2.version) + "\n";
			s += "  SDK version:   " + fixedText (c2.sdkVersion, sizeof c2.sdkVersion) + "\n";
			s += "  Cardinality:   " + std::to_string (c2.cardinality) + "\n";
			s += "  Class flags:   " + std::to_string (c2.classFlags) + "\n";
			s += "  Class ID:      " + cidText (c2.cid) + "\n";
		}
		else if (factory ()->getClassInfo (i, &c1) == kResultOk)
		{
			s += "  Name:          " + fixedText (c1.name, sizeof c1.name) + "\n";
			s += "  Category:      " + fixedText (c1.category, sizeof c1.category) + "\n";
			s += "  Cardinality:   " + std::to_string (c1.cardinality) + "\n";
			s += "  Class ID:      " + cidText (c1.cid) + "\n";
		}
	}
	if (pF2)
		pF2->release ();
	if (pF3)
		pF3->release ();
	return s;
}

// ------------------------------------------------------------------------------------------
// CPluginInstance

/** The host's IComponentHandler. Edits are accepted; a request to re-read parameter values
    (after a preset recall) needs nothing, as the renderer reads values from the controller
    whenever it shows or uses them. */
class CPluginInstance::CComponentHandler final : public IComponentHandler
{
public:
	tresult PLUGIN_API beginEdit (ParamID) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API performEdit (ParamID, ParamValue) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API endEdit (ParamID) SMTG_OVERRIDE { return kResultOk; }
	tresult PLUGIN_API restartComponent (int32) SMTG_OVERRIDE { return kResultOk; }

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE
	{
		if (FUnknownPrivate::iidEqual (iid, IComponentHandler::iid) ||
		    FUnknownPrivate::iidEqual (iid, FUnknown::iid))
		{
			addRef ();
			*obj = static_cast<IComponentHandler*> (this);
			return kResultOk;
		}
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return ++m_nRefs; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE
	{
		const uint32 n = --m_nRefs;
		if (n == 0)
			delete this;
		return n;
	}

	virtual ~CComponentHandler () = default;

private:
	std::atomic<uint32> m_nRefs {1};
};

CPluginInstance::CPluginInstance (CPluginModule& module) : m_Module (module) {}

CPluginInstance::~CPluginInstance ()
{
	releaseAll ();
}

void CPluginInstance::releaseAll ()
{
	stop ();
	if (m_pController)
	{
		m_pController->setComponentHandler (nullptr);
		if (m_bSeparateController)
		{
			IConnectionPoint* pA = nullptr;
			IConnectionPoint* pB = nullptr;
			m_pComponent->queryInterface (IConnectionPoint::iid, reinterpret_cast<void**> (&pA));
			m_pController->queryInterface (IConnectionPoint::iid, reinterpret_cast<void**> (&pB));
			if (pA && pB)
			{
				pA->disconnect (pB);
				pB->disconnect (pA);
			}
			if (pA)
				pA->release ();
			if (pB)
				pB->release ();
			m_pController->terminate ();
		}
		m_pController->release ();
		m_pController = nullptr;
	}
	if (m_pProcessor)
	{
		m_pProcessor->release ();
		m_pProcessor = nullptr;
	}
	if (m_pComponent)
	{
		if (m_bInitialized)
			m_pComponent->terminate ();
		m_pComponent->release ();
		m_pComponent = nullptr;
	}
	m_bInitialized = false;
	if (m_pHandler)
	{
		m_pHandler->release ();
		m_pHandler = nullptr;
	}
	// The SDK's HostApplication ignores reference counting: the host owns it outright.
	m_pHostApp.reset ();
}

bool CPluginInstance::loadPresetFile (const std::string& szPath, std::string& szError)
{
#if defined(_WIN32)
	const std::u16string wide = Utf16::fromUtf8String (szPath);
	std::FILE* pFile = _wfopen (std::wstring (wide.begin (), wide.end ()).c_str (), L"rb");
#else
	std::FILE* pFile = std::fopen (szPath.c_str (), "rb");
#endif
	if (!pFile)
	{
		szError = "cannot read preset '" + szPath + "': " + std::strerror (errno);
		return false;
	}
	MemoryStream stream;
	char acBuffer[65536];
	size_t nRead = 0;
	while ((nRead = std::fread (acBuffer, 1, sizeof acBuffer, pFile)) > 0)
	{
		int32 nWritten = 0;
		stream.write (acBuffer, static_cast<int32> (nRead), &nWritten);
	}
	const bool bReadError = std::ferror (pFile) != 0;
	std::fclose (pFile);
	if (bReadError)
	{
		szError = "cannot read preset '" + szPath + "'";
		return false;
	}
	stream.seek (0, IBStream::kIBSeekSet, nullptr);
	TUID cid {};
	std::string szName;
	if (!m_Module.findEffectClass (cid, szName, szError))
		return false;
	if (!PresetFile::loadPreset (&stream, FUID::fromTUID (cid), m_pComponent, m_pController))
	{
		szError = "cannot load preset '" + szPath + "': not a preset of " + szName +
		          " (another class, or a damaged file)";
		return false;
	}
	return true;
}

bool CPluginInstance::create (std::string& szError)
{
	TUID cid {};
	std::string szName;
	if (!m_Module.findEffectClass (cid, szName, szError))
		return false;
	IPluginFactory* pFactory = m_Module.factory ();
	if (pFactory->createInstance (cid, IComponent::iid, reinterpret_cast<void**> (&m_pComponent)) != kResultOk ||
	    !m_pComponent)
	{
		m_pComponent = nullptr;
		szError = "plug-in '" + szName + "' could not be created";
		return false;
	}
	m_pHostApp = std::make_unique<HostApplication> ();
	if (m_pComponent->initialize (m_pHostApp.get ()) != kResultOk)
	{
		szError = "plug-in '" + szName + "' failed to initialize";
		return false;
	}
	m_bInitialized = true;
	if (m_pComponent->queryInterface (IAudioProcessor::iid, reinterpret_cast<void**> (&m_pProcessor)) != kResultOk ||
	    !m_pProcessor)
	{
		m_pProcessor = nullptr;
		szError = "plug-in '" + szName + "' has no audio processor";
		return false;
	}

	// Single-component effects are their own controller; otherwise make the controller class.
	if (m_pComponent->queryInterface (IEditController::iid, reinterpret_cast<void**> (&m_pController)) != kResultOk ||
	    !m_pController)
	{
		m_pController = nullptr;
		TUID ccid {};
		if (m_pComponent->getControllerClassId (ccid) != kResultOk ||
		    pFactory->createInstance (ccid, IEditController::iid, reinterpret_cast<void**> (&m_pController)) != kResultOk ||
		    !m_pController)
		{
			m_pController = nullptr;
			szError = "plug-in '" + szName + "' has no edit controller";
			return false;
		}
		m_bSeparateController = true;
		if (m_pController->initialize (m_pHostApp.get ()) != kResultOk)
		{
			szError = "the edit controller of '" + szName + "' failed to initialize";
			return false;
		}
		IConnectionPoint* pA = nullptr;
		IConnectionPoint* pB = nullptr;
		m_pComponent->queryInterface (IConnectionPoint::iid, reinterpret_cast<void**> (&pA));
		m_pController->queryInterface (IConnectionPoint::iid, reinterpret_cast<void**> (&pB));
		if (pA && pB)
		{
			pA->connect (pB);
			pB->connect (pA);
		}
		if (pA)
			pA->release ();
		if (pB)
			pB->release ();
		MemoryStream state;
		if (m_pComponent->getState (&state) == kResultOk)
		{
			state.seek (0, IBStream::kIBSeekSet, nullptr);
			m_pController->setComponentState (&state);
		}
	}
	m_pHandler = new CComponentHandler ();
	m_pController->setComponentHandler (m_pHandler);

	const int32 nCount = m_pController->getParameterCount ();
	for (int32 i = 0; i < nCount; ++i)
	{
		ParameterInfo pi {};
		if (m_pController->getParameterInfo (i, pi) != kResultOk)
			continue;
		CParamInfo p;
		p.uId = pi.id;
		p.szTitle = Utf16::toUtf8String (pi.title, 128);
		p.szUnits = Utf16::toUtf8String (pi.units, 128);
		p.nStepCount = pi.stepCount;
		p.dDefault = pi.defaultNormalizedValue;
		p.nFlags = pi.flags;
		m_Params.push_back (std::move (p));
	}
	return true;
}

const CParamInfo* CPluginInstance::programChangeParameter () const
{
	for (const auto& p : m_Params)
		if (p.nFlags & ParameterInfo::kIsProgramChange)
			return &p;
	return nullptr;
}

const CParamInfo* CPluginInstance::findByTitle (const std::string& szTitle) const
{
	for (const auto& p : m_Params)
		if (p.szTitle == szTitle)
			return &p;
	const CParamInfo* pFound = nullptr;
	for (const auto& p : m_Params)
		if (equalsNoCase (p.szTitle, szTitle))
		{
			if (pFound)
				return nullptr; // ambiguous without the exact case
			pFound = &p;
		}
	return pFound;
}

std::vector<std::string> CPluginInstance::presetNames () const
{
	std::vector<std::string> names;
	const CParamInfo* pProg = programChangeParameter ();
	if (!pProg)
		return names;
	const int32 nSteps = std::max<int32> (pProg->nStepCount, 0);
	for (int32 i = 0; i <= nSteps; ++i)
		names.push_back (valueText (pProg->uId, nSteps ? double (i) / nSteps : 0.0));
	return names;
}

bool CPluginInstance::selectPreset (const std::string& szNameOrIndex, std::string& szError)
{
	const CParamInfo* pProg = programChangeParameter ();
	if (!pProg)
	{
		szError = "the plug-in has no factory presets";
		return false;
	}
	const std::vector<std::string> names = presetNames ();
	long long nIndex = -1;
	for (std::size_t i = 0; i < names.size (); ++i)
		if (equalsNoCase (names[i], trim (szNameOrIndex)))
		{
			nIndex = static_cast<long long> (i);
			break;
		}
	if (nIndex < 0 && !(parseIndex (trim (szNameOrIndex), nIndex) && nIndex < (long long)names.size ()))
	{
		szError = "unknown preset '" + szNameOrIndex + "'; valid presets: " + joinNames (names) +
		          " (or an index 0.." + std::to_string (names.size () - 1) + ")";
		return false;
	}
	return selectPresetIndex (static_cast<int> (nIndex), szError);
}

bool CPluginInstance::selectPresetIndex (int nIndex, std::string& szError)
{
	const CParamInfo* pProg = programChangeParameter ();
	if (!pProg || nIndex < 0 || nIndex > std::max<int32> (pProg->nStepCount, 0))
	{
		szError = pProg ? "no factory preset " + std::to_string (nIndex) : "the plug-in has no factory presets";
		return false;
	}
	const double dNorm = pProg->nStepCount > 0 ? double (nIndex) / pProg->nStepCount : 0.0;
	// The controller recalls the preset; the processor gets the program change with the
	// first block, as a host sends it.
	m_pController->setParamNormalized (pProg->uId, dNorm);
	m_Pending.emplace_back (pProg->uId, dNorm);
	return true;
}

bool CPluginInstance::hasEditor () const
{
	IPtr<IPlugView> view = owned (m_pController->createView (ViewType::kEditor));
	return view != nullptr;
}

bool CPluginInstance::writeEditorPicture (const std::string& szPath, double dScale, std::string& szError)
{
	IPtr<IPlugView> view = owned (m_pController->createView (ViewType::kEditor));
	if (!view)
	{
		szError = "the plug-in has no editor";
		return false;
	}
	FUnknownPtr<Korvessa::IViewSnapshot> snapshot (view);
	if (!snapshot)
	{
		szError = "the plug-in's editor cannot draw itself without a window";
		return false;
	}
	if (snapshot->writePng (szPath.c_str (), dScale) != kResultOk)
	{
		szError = "cannot draw the editor into " + szPath;
		return false;
	}
	return true;
}

bool CPluginInstance::setParameter (const std::string& szTitle, const std::string& szValue,
                                    std::string& szError)
{
	const CParamInfo* p = findByTitle (szTitle);
	if (!p)
	{
		std::vector<std::string> titles;
		for (const auto& q : m_Params)
			if (!(q.nFlags & (ParameterInfo::kIsProgramChange | ParameterInfo::kIsReadOnly)))
				titles.push_back (q.szTitle);
		szError = "unknown parameter '" + szTitle + "'; valid titles: " + joinNames (titles);
		return false;
	}
	if (p->nFlags & ParameterInfo::kIsProgramChange)
	{
		szError = "'" + p->szTitle + "' selects a factory preset: use --preset";
		return false;
	}
	if (p->nFlags & ParameterInfo::kIsReadOnly)
	{
		szError = "parameter '" + p->szTitle + "' is read-only";
		return false;
	}

	std::string szText = trim (szValue);
	// "-50 dB" for a parameter in dB: the unit is the parameter's own, so it may be written.
	if (!p->szUnits.empty () && szText.size () > p->szUnits.size () &&
	    equalsNoCase (szText.substr (szText.size () - p->szUnits.size ()), p->szUnits))
	{
		const std::string szNumber = trim (szText.substr (0, szText.size () - p->szUnits.size ()));
		double dIgnored = 0;
		if (parseNumber (szNumber, dIgnored))
			szText = szNumber;
	}
	double dNorm = -1.0;
	bool bFound = false;
	// A list entry, by its name in any letter case.
	if (p->nStepCount > 0 && (p->nFlags & ParameterInfo::kIsList))
		for (int32 i = 0; i <= p->nStepCount && !bFound; ++i)
			if (equalsNoCase (valueText (p->uId, double (i) / p->nStepCount), szText))
			{
				dNorm = double (i) / p->nStepCount;
				bFound = true;
			}
	if (!bFound)
	{
		std::u16string u = Utf16::fromUtf8String (szText);
		ParamValue dValue = 0;
		long long nIndex = -1;
		if (m_pController->getParamValueByString (p->uId, reinterpret_cast<TChar*> (&u[0]), dValue) == kResultOk &&
		    std::isfinite (dValue))
			bFound = true;
		else if (p->nStepCount > 0 && (p->nFlags & ParameterInfo::kIsList) && parseIndex (szText, nIndex) &&
		         nIndex <= p->nStepCount)
		{
			// A list entry by its index.
			dValue = double (nIndex) / p->nStepCount;
			bFound = true;
		}
		if (!bFound)
		{
			szError = "cannot parse '" + szValue + "' as a value of '" + p->szTitle + "'";
			return false;
		}
		dNorm = dValue;
	}

	// A number the plug-in had to clamp is outside the parameter's range.
	const std::string szLow = valueText (p->uId, 0.0), szHigh = valueText (p->uId, 1.0);
	double dAsked = 0, dShown = 0, dLow = 0, dHigh = 0;
	const bool bNumeric = parseNumber (szText, dAsked) && parseNumber (valueText (p->uId, std::clamp (dNorm, 0.0, 1.0)), dShown) &&
	                      parseNumber (szLow, dLow) && parseNumber (szHigh, dHigh);
	const bool bAtEdge = dNorm <= 0.0 || dNorm >= 1.0;
	const double dTolerance = 1e-3 * std::max (std::fabs (dHigh - dLow), 1e-9);
	if (dNorm < -1e-9 || dNorm > 1.0 + 1e-9 || (bNumeric && bAtEdge && std::fabs (dAsked - dShown) > dTolerance))
	{
		szError = "value '" + szValue + "' is outside the range of '" + p->szTitle + "' (" + szLow +
		          " .. " + szHigh + ")";
		return false;
	}
	dNorm = std::clamp (dNorm, 0.0, 1.0);
	m_pController->setParamNormalized (p->uId, dNorm);
	m_Pending.emplace_back (p->uId, dNorm);
	return true;
}

double CPluginInstance::value (ParamID uId) const
{
	return m_pController ? m_pController->getParamNormalized (uId) : 0.0;
}

std::string CPluginInstance::valueText (ParamID uId, double dNormalized) const
{
	String128 s {};
	if (m_pController && m_pController->getParamStringByValue (uId, dNormalized, s) == kResultOk)
		return Utf16::toUtf8String (s, 128);
	char buf[32];
	std::snprintf (buf, sizeof buf, "%.4f", dNormalized);
	return buf;
}

bool CPluginInstance::start (double dSampleRate, int nChannels, int nMaxBlock, std::string& szError)
{
	if (nChannels != 1 && nChannels != 2)
	{
		szError = std::to_string (nChannels) + " channels: only mono and stereo audio is supported";
		return false;
	}
	SpeakerArrangement arr = nChannels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
	SpeakerArrangement arrIn = arr, arrOut = arr;
	if (m_pProcessor->setBusArrangements (&arrIn, 1, &arrOut, 1) != kResultOk)
	{
		szError = std::string ("the plug-in refused the ") + (nChannels == 1 ? "mono" : "stereo") +
		          " bus arrangement";
		return false;
	}
	m_pComponent->activateBus (kAudio, kInput, 0, true);
	m_pComponent->activateBus (kAudio, kOutput, 0, true);
	if (m_pProcessor->canProcessSampleSize (kSample32) != kResultTrue)
	{
		szError = "the plug-in cannot process 32-bit float audio";
		return false;
	}
	ProcessSetup setup {kOffline, kSample32, nMaxBlock, dSampleRate};
	if (m_pProcessor->setupProcessing (setup) != kResultOk)
	{
		szError = "the plug-in refused processing at " + std::to_string (dSampleRate) + " Hz";
		return false;
	}
	if (m_pComponent->setActive (true) != kResultOk)
	{
		szError = "the plug-in could not be activated";
		return false;
	}
	m_bActive = true;
	m_pProcessor->setProcessing (true); // many effects answer kNotImplemented: not an error
	m_bProcessing = true;

	m_pData = std::make_unique<HostProcessData> ();
	if (!m_pData->prepare (nChannels, nChannels, nMaxBlock))
	{
		szError = "cannot prepare audio buffers";
		return false;
	}
	const int32 nQueues = static_cast<int32> (std::max<std::size_t> (m_Pending.size (), 16));
	m_pInChanges = std::make_unique<ParameterChanges> (nQueues, 16);
	m_pOutChanges = std::make_unique<ParameterChanges> (static_cast<int32> (std::max<std::size_t> (m_Params.size (), 16)), 16);
	m_Context = ProcessContext {};
	m_Context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid |
	                  ProcessContext::kTimeSigValid | ProcessContext::kProjectTimeMusicValid |
	                  ProcessContext::kContTimeValid;
	m_Context.sampleRate = dSampleRate;
	m_Context.tempo = 120.0;
	m_Context.timeSigNumerator = 4;
	m_Context.timeSigDenominator = 4;
	m_nChannels = nChannels;
	m_nMaxBlock = nMaxBlock;
	m_nPosition = 0;
	m_dSampleRate = dSampleRate;
	return true;
}

bool CPluginInstance::process (const float* const* ppIn, float* const* ppOut, int nFrames)
{
	if (!m_bActive || !m_pData || nFrames < 0 || nFrames > m_nMaxBlock)
		return false;
	for (int c = 0; c < m_nChannels; ++c)
		std::memcpy (m_pData->inputChannel (0, c), ppIn[c], sizeof (float) * static_cast<std::size_t> (nFrames));
	m_pData->setNumSamples (nFrames);
	m_pInChanges->clear ();
	m_pOutChanges->clear ();
	if (m_nPosition == 0)
	{
		// Bypass goes last: a plug-in may stop reading a block's changes after a bypass change.
		for (int bBypassPass = 0; bBypassPass < 2; ++bBypassPass)
			for (const auto& change : m_Pending)
				if (isBypass (change.first) == (bBypassPass == 1))
					m_pInChanges->addPoint (change.first, 0, change.second);
		m_Pending.clear ();
	}
	m_Context.projectTimeSamples = m_nPosition;
	m_Context.continousTimeSamples = m_nPosition;
	m_Context.projectTimeMusic = double (m_nPosition) / m_dSampleRate * m_Context.tempo / 60.0;
	m_pData->attach (m_pInChanges.get (), nullptr, &m_Context, m_pOutChanges.get ());
	if (m_pProcessor->process (*m_pData) != kResultOk)
		return false;
	for (int c = 0; c < m_nChannels; ++c)
		std::memcpy (ppOut[c], m_pData->outputChannel (0, c), sizeof (float) * static_cast<std::size_t> (nFrames));
	m_nPosition += nFrames;
	return true;
}

bool CPluginInstance::isBypass (ParamID uId) const
{
	for (const auto& p : m_Params)
		if (p.uId == uId)
			return (p.nFlags & ParameterInfo::kIsBypass) != 0;
	return false;
}

uint32_t CPluginInstance::tailSamples () const
{
	return m_pProcessor ? m_pProcessor->getTailSamples () : 0;
}

void CPluginInstance::stop ()
{
	if (m_bProcessing && m_pProcessor)
		m_pProcessor->setProcessing (false);
	m_bProcessing = false;
	if (m_bActive && m_pComponent)
		m_pComponent->setActive (false);
	m_bActive = false;
}

} // namespace render
} // namespace korvessa
