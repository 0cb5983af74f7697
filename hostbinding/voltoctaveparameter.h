// A parameter with an exponential (volt per octave) mapping for frequency-like controls:
// normalized v shows lo·(hi/lo)^v.
#pragma once

#include "mappedparameter.h"

namespace Zaze2VST3 {

class VoltOctaveParameter : public MappedParameter
{
public:
	// The default plain value is narrowed to float before it is normalized.
	VoltOctaveParameter(const Steinberg::Vst::TChar* szTitle, Steinberg::Vst::ParamID uId,
	                    const Steinberg::Vst::TChar* szUnits, Steinberg::Vst::ParamValue dMinPlain,
	                    Steinberg::Vst::ParamValue dMaxPlain,
	                    Steinberg::Vst::ParamValue dDefaultPlain, Steinberg::int32 nStepCount,
	                    Steinberg::int32 nFlags, Steinberg::Vst::UnitID nUnitId);

	Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue dNormalized) const override;
	Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue dPlain) const override;

	// The mapping itself, shared with the processor so that host display and plug-in agree.
	// normalizedToLinear answers the position on the linear lo..hi scale (0..1) whose plain value
	// is lo·(hi/lo)^v: what the plug-in's linear cooking needs to arrive at that value.
	static double normalizedToLinear(double dNormalized, double dLow, double dHigh);
	static double normalizedToPlain(double dNormalized, double dLow, double dHigh);
	static double plainToNormalized(double dPlain, double dLow, double dHigh);

	OBJ_METHODS(VoltOctaveParameter, MappedParameter)
};

} // namespace Zaze2VST3
