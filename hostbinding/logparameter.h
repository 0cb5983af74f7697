// A parameter with a logarithmic display: normalized 10^-2.4 .. 1 spans the plain range.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Zaze2VST3 {

class LogParameter : public Steinberg::Vst::Parameter
{
public:
	LogParameter(const Steinberg::Vst::TChar* szTitle, Steinberg::Vst::ParamID uId,
	             const Steinberg::Vst::TChar* szUnits, Steinberg::Vst::ParamValue dMinPlain,
	             Steinberg::Vst::ParamValue dMaxPlain, Steinberg::Vst::ParamValue dDefaultPlain,
	             Steinberg::int32 nStepCount, Steinberg::int32 nFlags,
	             Steinberg::Vst::UnitID nUnitId);

	// The plain value with the parameter's precision as decimals.
	void toString(Steinberg::Vst::ParamValue dNormalized,
	              Steinberg::Vst::String128 szText) const override;
	// Reads a plain value and converts it with toNormalized.
	bool fromString(const Steinberg::Vst::TChar* szText,
	                Steinberg::Vst::ParamValue& dNormalized) const override;
	Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue dNormalized) const override;
	Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue dPlain) const override;

	virtual Steinberg::Vst::ParamValue getMin() const { return m_dMinPlain; }
	virtual void setMin(Steinberg::Vst::ParamValue dValue) { m_dMinPlain = dValue; }
	virtual Steinberg::Vst::ParamValue getMax() const { return m_dMaxPlain; }
	virtual void setMax(Steinberg::Vst::ParamValue dValue) { m_dMaxPlain = dValue; }

	// The log curve of normalized v onto lo..hi (0 maps to lo, values below 10^-2.4 below lo).
	static double normalizedToPlain(double dNormalized, double dLow, double dHigh);
	// Its inverse; lo maps to 10^-2.4.
	static double plainToNormalized(double dPlain, double dLow, double dHigh);

	OBJ_METHODS(LogParameter, Parameter)

protected:
	Steinberg::Vst::ParamValue m_dMinPlain; // plain value at normalized 10^-2.4
	Steinberg::Vst::ParamValue m_dMaxPlain; // plain value at normalized 1
};

} // namespace Zaze2VST3
