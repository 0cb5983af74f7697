#include "peakparameter.h"

#include "text16.h"
#include "utf16.h"

#include <cmath>
#include <cstring>

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
		formatFixed(static_cast<double>(fDb), 3, szUtf8, sizeof szUtf8);
	}
	else
	{
		std::strcpy(szUtf8, "-\xE2\x88\x9E");
	}
	Steinberg::Utf16::fromUtf8(szUtf8, szText, 128);
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
