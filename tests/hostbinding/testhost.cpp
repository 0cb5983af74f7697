#include "testhost.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace hosttest {

CModule& CModule::get()
{
	static CModule module;
	return module;
}

CModule::CModule()
{
	std::string sError;
	if (!m_Loader.load(KORVESSA_BUNDLE_DIR, sError))
		ADD_FAILURE() << sError;
	else if (m_Loader.path() != KORVESSA_MODULE_FILE)
		ADD_FAILURE() << "the bundle's module is " << m_Loader.path();
}

void* CModule::symbol(const char* szName) const
{
	return m_Loader.symbol(szName);
}

IPluginFactory* CModule::factory() const
{
	// A reference of the caller's own, as from GetPluginFactory.
	using GetFactoryFunc = IPluginFactory* (*)();
	auto pGet = reinterpret_cast<GetFactoryFunc>(symbol("GetPluginFactory"));
	return pGet ? pGet() : nullptr;
}

// ---------------------------------------------------------------------------------------------

tresult PLUGIN_API CComponentHandler::beginEdit(ParamID)
{
	return kResultOk;
}

tresult PLUGIN_API CComponentHandler::performEdit(ParamID, ParamValue)
{
	return kResultOk;
}

tresult PLUGIN_API CComponentHandler::endEdit(ParamID)
{
	return kResultOk;
}

tresult PLUGIN_API CComponentHandler::restartComponent(int32 nFlags)
{
	m_Restarts.push_back(nFlags);
	return kResultOk;
}

tresult PLUGIN_API CComponentHandler::queryInterface(const TUID iid, void** ppObject)
{
	if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
	    FUnknownPrivate::iidEqual(iid, IComponentHandler::iid))
	{
		*ppObject = static_cast<IComponentHandler*>(this);
		return kResultOk;
	}
	*ppObject = nullptr;
	return kNoInterface;
}

// ---------------------------------------------------------------------------------------------

CInstance::CInstance(bool bInitialize)
{
	IPluginFactory* pFactory = CModule::get().factory();
	if (!pFactory)
	{
		ADD_FAILURE() << "no factory";
		return;
	}
	PClassInfo info;
	if (pFactory->getClassInfo(0, &info) != kResultOk ||
	    pFactory->createInstance(info.cid, IComponent::iid, reinterpret_cast<void**>(&m_pComponent)) !=
	        kResultOk ||
	    !m_pComponent)
	{
		ADD_FAILURE() << "createInstance failed";
		pFactory->release();
		return;
	}
	pFactory->release();
	m_pComponent->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&m_pProcessor));
	m_pComponent->queryInterface(IEditController::iid, reinterpret_cast<void**>(&m_pController));
	m_pComponent->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&m_pUnits));
	m_pComponent->queryInterface(IMidiMapping::iid, reinterpret_cast<void**>(&m_pMidi));
	if (!m_pProcessor || !m_pController || !m_pUnits || !m_pMidi)
		ADD_FAILURE() << "an interface is missing";
	if (bInitialize)
	{
		EXPECT_EQ(m_pComponent->initialize(&m_HostContext), kResultOk);
		if (m_pController)
		{
			EXPECT_EQ(m_pController->setComponentHandler(&m_Handler), kResultOk);
		}
	}
}

CInstance::~CInstance()
{
	if (m_bActive)
		m_pComponent->setActive(false);
	if (m_pController)
		m_pController->setComponentHandler(nullptr);
	if (m_pComponent)
		m_pComponent->terminate();
	for (FUnknown* pInterface : std::initializer_list<FUnknown*>{m_pProcessor, m_pController, m_pUnits, m_pMidi, m_pComponent})
		if (pInterface)
			pInterface->release();
}

void CInstance::activate(double dSampleRate, int32 nMaxBlock)
{
	ProcessSetup setup = {kRealtime, kSample32, nMaxBlock, dSampleRate};
	EXPECT_EQ(m_pProcessor->setupProcessing(setup), kResultOk);
	EXPECT_EQ(m_pComponent->setActive(true), kResultOk);
	m_bActive = true;
}

std::vector<uint8> CInstance::state()
{
	MemoryStream stream;
	EXPECT_EQ(m_pComponent->getState(&stream), kResultOk);
	const auto* pBytes = reinterpret_cast<const uint8*>(stream.getData());
	return std::vector<uint8>(pBytes, pBytes + stream.getSize());
}

tresult CInstance::setState(const std::vector<uint8>& bytes, bool bController)
{
	MemoryStream stream;
	int32 nWritten = 0;
	if (!bytes.empty())
		stream.write(const_cast<uint8*>(bytes.data()), static_cast<int32>(bytes.size()), &nWritten);
	stream.seek(0, IBStream::kIBSeekSet, nullptr);
	return bController ? m_pController->setComponentState(&stream) : m_pComponent->setState(&stream);
}

// ---------------------------------------------------------------------------------------------

bool decodeEffectState(const std::vector<uint8>& bytes, CEffectState& state)
{
	// uint64 version, 20 four-byte controls (positions 6, 8, 9, 10, 11, 16, 18 are indices),
	// int16 bypass, two float32 axes.
	static const bool abIndex[20] = {false, false, false, false, false, false, true,  false, true,  true,
	                                 true,  true,  false, false, false, false, true,  false, true,  false};
	if (bytes.size() != 8 + 20 * 4 + 2 + 8)
		return false;
	uint64 uVersion = 0;
	std::memcpy(&uVersion, bytes.data(), 8);
	if (uVersion != 1)
		return false;
	for (int i = 0; i < 20; ++i)
	{
		const uint8* p = bytes.data() + 8 + 4 * i;
		if (abIndex[i])
		{
			uint32 uValue = 0;
			std::memcpy(&uValue, p, 4);
			state.m_adControl[i] = uValue;
		}
		else
		{
			float fValue = 0.0f;
			std::memcpy(&fValue, p, 4);
			state.m_adControl[i] = fValue;
		}
	}
	int16 nBypass = 0;
	std::memcpy(&nBypass, bytes.data() + 88, 2);
	state.m_bBypass = nBypass != 0;
	std::memcpy(&state.m_fJoystickX, bytes.data() + 90, 4);
	std::memcpy(&state.m_fJoystickY, bytes.data() + 94, 4);
	return true;
}

std::u16string str16(const TChar* szText)
{
	return std::u16string(reinterpret_cast<const char16_t*>(szText));
}

} // namespace hosttest
