#include "voltoctaveparameter.h"

#include "fastmath.h"

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
: MappedParameter(szTitle, uId, szUnits, dMinPlain, dMaxPlain, nStepCount, nFlags, nUnitId)
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

} // namespace Zaze2VST3
