#include "peakparameter.h"

#include "text16.h"

#include <cmath>
#include <cstdio>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Zaze2VST3 {

PeakParameter::PeakParameter(int32 nFlags, ParamID uId, const TChar* szTitle)
: Parameter(szTitle, uId, nullptr, 0.5, 0, nFlags, 0)
{
	valueNormalized = 1.0;
}

void PeakParameter::toString(ParamValue dNormalized, String128 szText) const
{
	char szUtf8[64];
	if (dNormalized > 0.0001)
	{
		const float fDb = 20.0f * std::log10(static_cast<float>(dNormalized));
		std::snprintf(szUtf8, sizeof szUtf8, "%.3f", static_cast<double>(fDb));
	}
	else
	{
		std::snprintf(szUtf8, sizeof szUtf8, "-\xE2\x88\x9E");
	}
	copyUtf8To16(szUtf8, szText, 128);
}

bool PeakParameter::fromString(const TChar*, ParamValue&) const
{
	return false;
}

ParamValue PeakParameter::toPlain(ParamValue dNormalized) const
{
	return dNormalized;
}

ParamValue PeakParameter::toNormalized(ParamValue dPlain) const
{
	return dPlain;
}

} // namespace Zaze2VST3
