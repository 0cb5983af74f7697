#include "logparameter.h"


#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

namespace {
const double kDecadesPerUnit = 0.4166666666666667; // 1 / 2.4: 2.4 decades span the range
}

LogParameter::LogParameter(const TChar* szTitle, ParamID uId, const TChar* szUnits,
                           ParamValue dMinPlain, ParamValue dMaxPlain, ParamValue dDefaultPlain,
                           int32 nStepCount, int32 nFlags, UnitID nUnitId)
: MappedParameter(szTitle, uId, szUnits, dMinPlain, dMaxPlain, nStepCount, nFlags, nUnitId)
{
	info.defaultNormalizedValue = valueNormalized = LogParameter::toNormalized(dDefaultPlain);
}

double LogParameter::normalizedToPlain(double dNormalized, double dLow, double dHigh)
{
	const float fV = static_cast<float>(dNormalized);
	float fA = 0.0f;
	if (fV > 0.0f)
		fA = static_cast<float>(1.0 + std::log10(fV) * kDecadesPerUnit);
	return dLow + (dHigh - dLow) * fA;
}

double LogParameter::plainToNormalized(double dPlain, double dLow, double dHigh)
{
	const float fLin = static_cast<float>((dPlain - dLow) / (dHigh - dLow));
	return static_cast<float>(std::pow(10.0, (fLin - 1.0) / kDecadesPerUnit));
}

ParamValue LogParameter::toPlain(ParamValue dNormalized) const
{
	return normalizedToPlain(dNormalized, m_dMinPlain, m_dMaxPlain);
}

ParamValue LogParameter::toNormalized(ParamValue dPlain) const
{
	return plainToNormalized(dPlain, m_dMinPlain, m_dMaxPlain);
}

} // namespace Zaze2VST3
