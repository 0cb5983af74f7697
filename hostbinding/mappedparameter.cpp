#include "mappedparameter.h"

#include "text16.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

MappedParameter::MappedParameter(const TChar* szTitle, ParamID uId, const TChar* szUnits,
                                 ParamValue dMinPlain, ParamValue dMaxPlain, int32 nStepCount,
                                 int32 nFlags, UnitID nUnitId)
: Parameter(szTitle, uId, szUnits, 0.0, nStepCount, nFlags, nUnitId)
, m_dMinPlain(dMinPlain)
, m_dMaxPlain(dMaxPlain)
{
}

void MappedParameter::toString(ParamValue dNormalized, String128 szText) const
{
	formatPlain16(toPlain(dNormalized), getPrecision(), szText);
}

bool MappedParameter::fromString(const TChar* szText, ParamValue& dNormalized) const
{
	double dPlain = 0.0;
	if (!parsePlain16(szText, dPlain))
		return false;
	dNormalized = toNormalized(dPlain);
	return true;
}

LinearParameter::LinearParameter(const TChar* szTitle, ParamID uId, const TChar* szUnits,
                                 ParamValue dMinPlain, ParamValue dMaxPlain,
                                 ParamValue dDefaultPlain, int32 nFlags, UnitID nUnitId)
: MappedParameter(szTitle, uId, szUnits, dMinPlain, dMaxPlain, 0, nFlags, nUnitId)
{
	info.defaultNormalizedValue = valueNormalized = LinearParameter::toNormalized(dDefaultPlain);
}

ParamValue LinearParameter::toPlain(ParamValue dNormalized) const
{
	return dNormalized * (m_dMaxPlain - m_dMinPlain) + m_dMinPlain;
}

ParamValue LinearParameter::toNormalized(ParamValue dPlain) const
{
	return (dPlain - m_dMinPlain) / (m_dMaxPlain - m_dMinPlain);
}

bool LinearParameter::fromString(const TChar* szText, ParamValue& dNormalized) const
{
	double dPlain = 0.0;
	if (!parsePlain16(szText, dPlain))
		return false;
	const double dLow = m_dMinPlain < m_dMaxPlain ? m_dMinPlain : m_dMaxPlain;
	const double dHigh = m_dMinPlain < m_dMaxPlain ? m_dMaxPlain : m_dMinPlain;
	dNormalized = toNormalized(dPlain < dLow ? dLow : (dPlain > dHigh ? dHigh : dPlain));
	return true;
}

} // namespace Zaze2VST3
