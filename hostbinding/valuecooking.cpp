#include "valuecooking.h"

#include "logparameter.h"
#include "voltoctaveparameter.h"

#include "plugincore/controldescriptor.h"

namespace Zaze2VST3 {

namespace {

// Lists are shown and cooked linearly, whatever mapping flag the control carries.
bool usesLogTaper(const CControlDescriptor& control)
{
	return control.m_bLogTaper && control.m_uValueType != kValueUint;
}

bool usesVoltOctave(const CControlDescriptor& control)
{
	return !control.m_bLogTaper && control.m_bVoltOctave && control.m_uValueType != kValueUint;
}

float clampUnit(double dValue)
{
	if (!(dValue > 0.0))
		return 0.0f;
	return dValue < 1.0 ? static_cast<float>(dValue) : 1.0f;
}

} // namespace

float cookHostValue(const CControlDescriptor& control, double dHostValue)
{
	if (usesLogTaper(control))
		return clampUnit(LogParameter::normalizedToPlain(dHostValue, 0.0, 1.0));
	if (usesVoltOctave(control))
		return static_cast<float>(
		    VoltOctaveParameter::normalizedToLinear(dHostValue, control.m_fLow, control.m_fHigh));
	return static_cast<float>(dHostValue);
}

CCookedPlain cookPlainValue(const CControlDescriptor& control, double dPlain)
{
	const float fW = static_cast<float>(dPlain);
	const float fRange = control.m_fHigh - control.m_fLow;
	const float fLin = (fRange != 0.0f) ? (fW - control.m_fLow) / fRange : 0.0f;
	CCookedPlain cooked = {fLin, fLin};
	if (usesLogTaper(control))
		cooked.m_dHost = LogParameter::plainToNormalized(fLin, 0.0, 1.0);
	else if (usesVoltOctave(control))
		cooked.m_dHost = VoltOctaveParameter::plainToNormalized(fW, control.m_fLow, control.m_fHigh);
	return cooked;
}

} // namespace Zaze2VST3
