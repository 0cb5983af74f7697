// Processor: the component state stream (getState, setState, setComponentState), parameter
// edits from the host and the recall of factory presets. UI thread.
//
// Stream layout, little-endian: uint64 version (1); one value per control in list order, as
// int32, float32, float64 or uint32 by the control's value type (nothing for a control without
// a variable); int16 bypass; float32 joystick X; float32 joystick Y (-1..+1).
#include "processor.h"

#include "valuecooking.h"

#include "plugincore/plugin.h"

#include "base/source/fstreamer.h"

#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

namespace {

constexpr uint64 kStateVersion = 1;

int32 truncateToInt32(float fValue)
{
	if (!(fValue == fValue))
		return 0;
	if (fValue <= -2147483648.0f)
		return INT32_MIN;
	if (fValue >= 2147483520.0f)
		return 2147483520;
	return static_cast<int32>(fValue);
}

uint32 truncateToUint32(float fValue)
{
	if (!(fValue > 0.0f))
		return 0;
	if (fValue >= 4294967040.0f)
		return 4294967040u;
	return static_cast<uint32>(fValue);
}

// Reads one control's stored value by its value type. False when the stream ends early or the
// value is not a finite number; a control without a variable reads nothing and yields false
// through bHasValue.
bool readControlValue(IBStreamer& streamer, uint32_t uValueType, double& dValue, bool& bHasValue)
{
	bHasValue = true;
	switch (uValueType)
	{
		case kValueInt:
		{
			int32 nValue = 0;
			if (!streamer.readInt32(nValue))
				return false;
			dValue = nValue;
			return true;
		}
		case kValueFloat:
		{
			float fValue = 0.0f;
			if (!streamer.readFloat(fValue))
				return false;
			dValue = fValue;
			return std::isfinite(fValue);
		}
		case kValueDouble:
		{
			double dRead = 0.0;
			if (!streamer.readDouble(dRead))
				return false;
			dValue = dRead;
			return std::isfinite(dRead);
		}
		case kValueUint:
		{
			uint32 uValue = 0;
			if (!streamer.readInt32u(uValue))
				return false;
			dValue = uValue;
			return true;
		}
		default:
			bHasValue = false;
			return true;
	}
}

// A restored value is held inside the control's limits: a damaged or foreign stream must not
// put a control (an index, a gain) where its code never expects it.
double limitToControl(const CControlDescriptor& control, double dValue)
{
	double dLow = control.m_fLow;
	double dHigh = control.m_fHigh;
	if (dLow > dHigh)
		std::swap(dLow, dHigh);
	return dValue < dLow ? dLow : (dValue > dHigh ? dHigh : dValue);
}

bool readJoystickAxis(IBStreamer& streamer, float& fAxis)
{
	if (!streamer.readFloat(fAxis) || !std::isfinite(fAxis))
		return false;
	fAxis = fAxis < -1.0f ? -1.0f : (fAxis > 1.0f ? 1.0f : fAxis);
	return true;
}

} // namespace

tresult PLUGIN_API Processor::getState(IBStream* pState)
{
	if (!m_pPlugIn || !pState)
		return kResultFalse;
	IBStreamer streamer(pState, kLittleEndian);
	if (!streamer.writeInt64u(kStateVersion))
		return kResultFalse;
	const int32 nCount = controlCount();
	for (int32 i = 0; i < nCount; ++i)
	{
		const CControlDescriptor* pControl = descriptorAt(i);
		if (!pControl)
			continue;
		const float fValue = m_pPlugIn->getValue(i);
		bool bWritten = true;
		switch (pControl->m_uValueType)
		{
			case kValueInt: bWritten = streamer.writeInt32(truncateToInt32(fValue)); break;
			case kValueFloat: bWritten = streamer.writeFloat(fValue); break;
			case kValueDouble: bWritten = streamer.writeDouble(fValue); break;
			case kValueUint: bWritten = streamer.writeInt32u(truncateToUint32(fValue)); break;
			default: break;
		}
		if (!bWritten)
			return kResultFalse;
	}
	if (!streamer.writeBool(m_bBypass))
		return kResultFalse;
	float fX = 0.0f;
	float fY = 0.0f;
	m_pPlugIn->getJoystick(fX, fY);
	if (!streamer.writeFloat(fX) || !streamer.writeFloat(fY))
		return kResultFalse;
	return kResultOk;
}

// Where the values of a state stream go: the plug-in (setState) or the controller's
// parameters (setComponentState).
struct Processor::StateSink
{
	virtual ~StateSink() = default;
	virtual void control(int32 nPosition, double dPlain) = 0;
	virtual void bypass(bool bBypass) = 0;
	virtual void joystickAxis(int nAxis, float fAxis) = 0;  // 0 X, 1 Y; -1..+1
};

bool Processor::readState(IBStream* pState, StateSink& sink)
{
	IBStreamer streamer(pState, kLittleEndian);
	uint64 uVersion = 0;
	if (!streamer.readInt64u(uVersion))
		return false;
	const int32 nCount = controlCount();
	for (int32 i = 0; i < nCount; ++i)
	{
		const CControlDescriptor* pControl = descriptorAt(i);
		if (!pControl)
			continue;
		double dValue = 0.0;
		bool bHasValue = false;
		if (!readControlValue(streamer, pControl->m_uValueType, dValue, bHasValue))
			return false;
		if (bHasValue)
			sink.control(i, limitToControl(*pControl, dValue));
	}
	bool bBypass = false;
	if (!streamer.readBool(bBypass))
		return false;
	sink.bypass(bBypass);
	if (uVersion >= 1)
	{
		for (int nAxis = 0; nAxis < 2; ++nAxis)
		{
			float fAxis = 0.0f;
			if (!readJoystickAxis(streamer, fAxis))
				return false;
			sink.joystickAxis(nAxis, fAxis);
		}
	}
	return true;
}

tresult PLUGIN_API Processor::setState(IBStream* pState)
{
	if (!m_pPlugIn || !pState)
		return kResultFalse;
	struct PlugInSink : StateSink
	{
		explicit PlugInSink(Processor& processor) : m_processor(processor) {}
		void control(int32 nPosition, double dPlain) override
		{
			m_processor.m_pPlugIn->setPlain(nPosition, static_cast<float>(dPlain));
		}
		void bypass(bool bBypass) override { m_processor.m_bBypass = bBypass; }
		void joystickAxis(int nAxis, float fAxis) override
		{
			if (nAxis == 0)
				m_processor.m_pPlugIn->setJoystickX(fAxis, true);
			else
				m_processor.m_pPlugIn->setJoystickY(fAxis, true);
		}
		Processor& m_processor;
	} sink(*this);
	return readState(pState, sink) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Processor::setComponentState(IBStream* pState)
{
	if (!m_pPlugIn || !pState)
		return kResultFalse;
	struct ControllerSink : StateSink
	{
		explicit ControllerSink(Processor& processor) : m_processor(processor) {}
		void set(ParamID uId, double dPlain)
		{
			if (Parameter* pParam = m_processor.getParameterObject(uId))
				m_processor.SingleComponentEffect::setParamNormalized(uId,
				                                                      pParam->toNormalized(dPlain));
		}
		void control(int32 nPosition, double dPlain) override
		{
			set(static_cast<ParamID>(nPosition), dPlain);
		}
		void bypass(bool bBypass) override { set(kParamBypass, bBypass ? 1.0 : 0.0); }
		void joystickAxis(int nAxis, float fAxis) override
		{
			set(nAxis == 0 ? kParamJoystickX : kParamJoystickY, fAxis * 0.5 + 0.5);
		}
		Processor& m_processor;
	} sink(*this);
	if (!readState(pState, sink))
		return kResultFalse;
	syncLinkedControls();
	return kResultOk;
}

// ---------------------------------------------------------------------------------------------

tresult PLUGIN_API Processor::setParamNormalized(ParamID uId, ParamValue dValue)
{
	if (dValue != dValue)
		return kResultFalse; // NaN is no value
	const tresult nResult = SingleComponentEffect::setParamNormalized(uId, dValue);
	sendParameterChanged(uId, dValue);
	if (nResult == kResultOk && uId == kParamFactoryPresets)
	{
		// The parameter holds the value limited to 0..1; the entry comes from that.
		if (Parameter* pPresets = getParameterObject(kParamFactoryPresets))
			recallFactoryPreset(pPresets->getNormalized());
	}
	return nResult;
}

int32 Processor::presetSlotOfEntry(int32 nEntry) const
{
	// The list shows the named slots only, in slot order: entry k is the k-th named slot.
	int32 nSeen = 0;
	for (int32 nSlot = 0; nSlot < kPresetSlots; ++nSlot)
	{
		const char* szName = m_pPlugIn->m_szPresetNames[nSlot];
		if (!szName || !*szName)
			continue;
		if (nSeen == nEntry)
			return nSlot;
		++nSeen;
	}
	return -1;
}

void Processor::recallFactoryPreset(double dNormalized)
{
	Parameter* pPresets = getParameterObject(kParamFactoryPresets);
	if (!pPresets || !m_pPlugIn)
		return;
	const int32 nSlot = presetSlotOfEntry(static_cast<int32>(pPresets->toPlain(dNormalized)));
	if (nSlot < 0)
		return;

	const int32 nCount = controlCount();
	for (int32 i = 0; i < nCount; ++i)
	{
		const CControlDescriptor* pControl = descriptorAt(i);
		if (!pControl)
			continue;
		const CCookedPlain cooked = cookPlainValue(*pControl, pControl->m_dPresets[nSlot]);
		m_pPlugIn->setNormalized(i, cooked.m_fLinear, false);
		SingleComponentEffect::setParamNormalized(static_cast<ParamID>(i), cooked.m_dHost);
		sendParameterChanged(static_cast<ParamID>(i), cooked.m_dHost);
	}

	const double dA = m_pPlugIn->m_joystickX.m_dPresets[nSlot];
	const double dB = m_pPlugIn->m_joystickY.m_dPresets[nSlot];
	const double dX = (dA - dB) / 1.41421356 / 1.414;
	const double dY = (dA + dB) / 1.41421356 / 1.414;
	m_pPlugIn->setJoystickX(static_cast<float>(dX), true);
	SingleComponentEffect::setParamNormalized(kParamJoystickX, dX * 0.5 + 0.5);
	sendParameterChanged(kParamJoystickX, dX * 0.5 + 0.5);
	m_pPlugIn->setJoystickY(static_cast<float>(dY), true);
	SingleComponentEffect::setParamNormalized(kParamJoystickY, dY * 0.5 + 0.5);
	sendParameterChanged(kParamJoystickY, dY * 0.5 + 0.5);

	if (componentHandler)
		componentHandler->restartComponent(kParamValuesChanged);
	syncLinkedControls();
}

void Processor::syncLinkedControls()
{
	if (!m_pPlugIn)
		return;
	const int32 nCount = controlCount();
	for (int32 i = 0; i < nCount; ++i)
	{
		const ParamID uId = static_cast<ParamID>(i);
		const double dPlain = normalizedParamToPlain(uId, getParamNormalized(uId));
		const CControlDescriptor* pControl = descriptorAt(i);
		if (!pControl)
			continue;
		CLinkedChange* pList = nullptr;
		if (m_pPlugIn->linkedChanges(pControl->m_uId, static_cast<float>(dPlain), pList, true))
		{
			for (CLinkedChange* pNode = pList; pNode; pNode = pNode->m_pNext)
			{
				const int32 nPosition = m_pPlugIn->m_controls.indexOfId(pNode->m_uControlId);
				if (nPosition < 0)
					continue;
				const ParamID uLinked = static_cast<ParamID>(nPosition);
				const double dLinked = plainParamToNormalized(uLinked, pNode->m_fValue);
				setParamNormalized(uLinked, dLinked);
				performEdit(uLinked, dLinked);
			}
			m_pPlugIn->freeLinkedChanges(pList);
		}
		if (pList)
			m_pPlugIn->freeLinkedChanges(pList);
	}
}

} // namespace Zaze2VST3
