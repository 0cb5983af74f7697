#include "testplugin.h"

namespace {
CPlugIn* g_pNextPlugIn = nullptr;
}

void setNextTestPlugIn(CPlugIn* pPlugIn)
{
	g_pNextPlugIn = pPlugIn;
}

CPlugIn* takeTestPlugIn()
{
	CPlugIn* pPlugIn = g_pNextPlugIn;
	g_pNextPlugIn = nullptr;
	return pPlugIn;
}

CTestPlugIn::CTestPlugIn(const std::vector<CTestControl>& controls)
{
	uint32_t uId = 0;
	for (const CTestControl& control : controls)
	{
		CControlDescriptor descriptor;
		descriptor.m_uKind = control.m_uKind;
		descriptor.m_uId = uId;
		descriptor.m_uValueType = control.m_uValueType;
		descriptor.m_fLow = control.m_fLow;
		descriptor.m_fHigh = control.m_fHigh;
		descriptor.m_szName = control.m_szName;
		descriptor.m_szEnumList = control.m_szEnumList;
		descriptor.m_szUnits = control.m_szUnits;
		descriptor.m_bVoltOctave = control.m_bVoltOctave;
		descriptor.m_bLogTaper = control.m_bLogTaper;
		descriptor.m_nPrecision = control.m_nPrecision;
		descriptor.m_bMidi = control.m_uMidiController != 0;
		descriptor.m_uMidiController = control.m_uMidiController ? control.m_uMidiController : 3;
		switch (control.m_uValueType)
		{
			case kValueInt: m_anInt[uId] = static_cast<int>(control.m_fInitial); descriptor.m_pInt = &m_anInt[uId]; break;
			case kValueFloat: m_afFloat[uId] = control.m_fInitial; descriptor.m_pFloat = &m_afFloat[uId]; break;
			case kValueDouble: m_adDouble[uId] = control.m_fInitial; descriptor.m_pDouble = &m_adDouble[uId]; break;
			case kValueUint: m_auUint[uId] = static_cast<unsigned>(control.m_fInitial); descriptor.m_pUint = &m_auUint[uId]; break;
			default: break;
		}
		if (control.m_uKind == kKindMeter)
			descriptor.m_pMeter = &m_afMeter[uId];
		for (int nSlot = 0; nSlot < kPresetSlots; ++nSlot)
			descriptor.m_dPresets[nSlot] = control.m_fLow + (control.m_fHigh - control.m_fLow) * nSlot / 15.0;
		m_controls.append(descriptor);
		++uId;
	}
	finishControls();
}

void CTestPlugIn::record(const char* szName, std::vector<double> args)
{
	m_Calls.push_back({szName, std::move(args), m_nFrames});
}

std::vector<CTestCall> CTestPlugIn::calls(const std::string& sName) const
{
	std::vector<CTestCall> found;
	for (const CTestCall& call : m_Calls)
		if (call.m_sName == sName)
			found.push_back(call);
	return found;
}

bool CTestPlugIn::processFrame(float* in, float* out, uint32_t inChannels, uint32_t outChannels)
{
	// Output = 2 × input, so a test sees which samples went through the plug-in.
	out[0] = 2.0f * in[0];
	out[1] = 2.0f * in[1];
	m_uLastInChannels = inChannels;
	m_uLastOutChannels = outChannels;
	++m_nFrames;
	return true;
}

bool CTestPlugIn::processBuffers(float** in, float** out, uint32_t channels, uint32_t frames)
{
	for (uint32_t c = 0; c < channels; ++c)
		for (uint32_t i = 0; i < frames; ++i)
			out[c][i] = 3.0f * in[c][i];
	record("processBuffers", {double(channels), double(frames)});
	return true;
}

bool CTestPlugIn::controlChanged(uint32_t controlId)
{
	record("controlChanged", {double(controlId)});
	return true;
}

bool CTestPlugIn::noteOn(uint32_t channel, uint32_t note, uint32_t velocity)
{
	record("noteOn", {double(channel), double(note), double(velocity)});
	return true;
}

bool CTestPlugIn::noteOff(uint32_t channel, uint32_t note, uint32_t velocity, bool allNotesOff)
{
	record("noteOff", {double(channel), double(note), double(velocity), double(allNotesOff)});
	return true;
}

bool CTestPlugIn::modWheelMoved(uint32_t channel, uint32_t value)
{
	record("modWheelMoved", {double(channel), double(value)});
	return true;
}

bool CTestPlugIn::pitchBendMoved(uint32_t channel, int32_t bend, float bendNormalized)
{
	record("pitchBendMoved", {double(channel), double(bend), double(bendNormalized)});
	return true;
}

bool CTestPlugIn::clockTick()
{
	record("clockTick", {});
	return true;
}

bool CTestPlugIn::rawMidi(uint32_t channel, uint32_t status, uint32_t data1, uint32_t data2)
{
	record("rawMidi", {double(channel), double(status), double(data1), double(data2)});
	return true;
}

void CTestPlugIn::hostMessage(uint32_t code, CHostMessage* message)
{
	if (code == kHostMessageMidiList && message)
		m_pEventList = message->m_pEventList;
	if (code == kHostMessageTimeInfo)
		++m_nTimeMessages;
	CPlugIn::hostMessage(code, message);
}

void* CTestPlugIn::editorMessage(CGuiMessageRecord* message)
{
	if (message)
		m_GuiMessages.push_back(*message);
	return nullptr;
}
