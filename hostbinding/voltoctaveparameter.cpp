#include "voltoctaveparameter.h"

#include "fastmath.h"
#include "text16.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

namespace {
// Octaves between lo and hi.
float octaveSpan(double dLow, double dHigh)
{
	return fastLog2(static_cast<float>(dHigh / dLow));
}
} // namespace

VoltOctaveParameter::VoltOctaveParameter(const TChar* szTitle, ParamID uId, const TChar* szUnits,
                                         ParamValue dMinPlain, ParamValue dMaxPlain,
                                         ParamValue dDefaultPlain, int32 nStepCount,
                                         int32 nFlags, UnitID nUnitId)
: Parameter(szTitle, uId, szUnits, 0.0, nStepCount, nFlags, nUnitId)
, m_dMinPlain(dMinPlain)
, m_dMaxPlain(dMaxPlain)
{
	info.defaultNormalizedValue = valueNormalized =
	    VoltOctaveParameter::toNormalized(static_cast<float>(dDefaultPlain));
}

double VoltOctaveParameter::normalizedToLinear(double dNormalized, double dLow, double dHigh)
{
	const float fSpan = octaveSpan(dLow, dHigh);
	const float fP = fastPow2(static_cast<float>(fSpan * dNormalized));
	const float fA = static_cast<float>(fP * dLow);
	return static_cast<float>((fA - dLow) / static_cast<float>(dHigh - dLow));
}

double VoltOctaveParameter::normalizedToPlain(double dNormalized, double dLow, double dHigh)
{
	return dLow + (dHigh - dLow) * normalizedToLinear(dNormalized, dLow, dHigh);
}

double VoltOctaveParameter::plainToNormalized(double dPlain, double dLow, double dHigh)
{
	const float fQ = static_cast<float>(dPlain / dLow);
	return static_cast<float>(static_cast<double>(fastLog2(fQ)) / octaveSpan(dLow, dHigh));
}

ParamValue VoltOctaveParameter::toPlain(ParamValue dNormalized) const
{
	return normalizedToPlain(dNormalized, m_dMinPlain, m_dMaxPlain);
}

ParamValue VoltOctaveParameter::toNormalized(ParamValue dPlain) const
{
	return plainToNormalized(dPlain, m_dMinPlain, m_dMaxPlain);
}

void VoltOctaveParameter::toString(ParamValue dNormalized, String128 szText) const
{
	formatPlain16(toPlain(dNormalized), getPrecision(), szText);
}

bool VoltOctaveParameter::fromString(const TChar* szText, ParamValue& dNormalized) const
{
	double dPlain = 0.0;
	if (!parsePlain16(szText, dPlain))
		return false;
	dNormalized = toNormalized(dPlain);
	return true;
}

} // namespace Zaze2VST3
