// A read-only meter parameter: normalized 0..1 is a linear level, shown to the host in dB.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Zaze2VST3 {

class PeakParameter : public Steinberg::Vst::Parameter
{
public:
	// Default normalized 0.5, current value 1.0 (the processor zeroes it after creation).
	PeakParameter(Steinberg::int32 nFlags, Steinberg::Vst::ParamID uId,
	              const Steinberg::Vst::TChar* szTitle);

	// "20·log10(v)" with three decimals, or "-∞" at and below 0.0001.
	void toString(Steinberg::Vst::ParamValue dNormalized,
	              Steinberg::Vst::String128 szText) const override;
	// A meter cannot be typed in.
	bool fromString(const Steinberg::Vst::TChar* szText,
	                Steinberg::Vst::ParamValue& dNormalized) const override;
	Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue dNormalized) const override;
	Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue dPlain) const override;

	OBJ_METHODS(PeakParameter, Parameter)
};

} // namespace Zaze2VST3
