// A parameter with a logarithmic display: normalized 10^-2.4 .. 1 spans the plain range.
#pragma once

#include "mappedparameter.h"

namespace Zaze2VST3 {

class LogParameter : public MappedParameter
{
public:
	LogParameter(const Steinberg::Vst::TChar* szTitle, Steinberg::Vst::ParamID uId,
	             const Steinberg::Vst::TChar* szUnits, Steinberg::Vst::ParamValue dMinPlain,
	             Steinberg::Vst::ParamValue dMaxPlain, Steinberg::Vst::ParamValue dDefaultPlain,
	             Steinberg::int32 nStepCount, Steinberg::int32 nFlags,
	             Steinberg::Vst::UnitID nUnitId);

	Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue dNormalized) const override;
	Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue dPlain) const override;

	// The log curve of normalized v onto lo..hi (0 maps to lo, values below 10^-2.4 below lo).
	static double normalizedToPlain(double dNormalized, double dLow, double dHigh);
	// Its inverse; lo maps to 10^-2.4.
	static double plainToNormalized(double dPlain, double dLow, double dHigh);

	OBJ_METHODS(LogParameter, MappedParameter)
};

} // namespace Zaze2VST3
