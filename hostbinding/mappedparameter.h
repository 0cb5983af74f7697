// A continuous parameter whose plain range lo..hi is reached through a curve of its own: the
// subclass gives the curve (toPlain, toNormalized); this class shows and reads plain values.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Zaze2VST3 {

class MappedParameter : public Steinberg::Vst::Parameter
{
public:
	MappedParameter(const Steinberg::Vst::TChar* szTitle, Steinberg::Vst::ParamID uId,
	                const Steinberg::Vst::TChar* szUnits, Steinberg::Vst::ParamValue dMinPlain,
	                Steinberg::Vst::ParamValue dMaxPlain, Steinberg::int32 nStepCount,
	                Steinberg::int32 nFlags, Steinberg::Vst::UnitID nUnitId);

	// The plain value with the parameter's precision as decimals.
	void toString(Steinberg::Vst::ParamValue dNormalized,
	              Steinberg::Vst::String128 szText) const override;
	// Reads a plain value and converts it with toNormalized.
	bool fromString(const Steinberg::Vst::TChar* szText,
	                Steinberg::Vst::ParamValue& dNormalized) const override;

	virtual Steinberg::Vst::ParamValue getMin() const { return m_dMinPlain; }
	virtual void setMin(Steinberg::Vst::ParamValue dValue) { m_dMinPlain = dValue; }
	virtual Steinberg::Vst::ParamValue getMax() const { return m_dMaxPlain; }
	virtual void setMax(Steinberg::Vst::ParamValue dValue) { m_dMaxPlain = dValue; }

	OBJ_METHODS(MappedParameter, Parameter)

protected:
	Steinberg::Vst::ParamValue m_dMinPlain; // low end of the plain range
	Steinberg::Vst::ParamValue m_dMaxPlain; // plain value at normalized 1
};

// A continuous parameter mapped linearly onto lo..hi, as the SDK's RangeParameter maps it, but
// with this class's locale-independent texts. A typed value is held to the range.
class LinearParameter : public MappedParameter
{
public:
	LinearParameter(const Steinberg::Vst::TChar* szTitle, Steinberg::Vst::ParamID uId,
	                const Steinberg::Vst::TChar* szUnits, Steinberg::Vst::ParamValue dMinPlain,
	                Steinberg::Vst::ParamValue dMaxPlain, Steinberg::Vst::ParamValue dDefaultPlain,
	                Steinberg::int32 nFlags, Steinberg::Vst::UnitID nUnitId);

	Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue dNormalized) const override;
	Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue dPlain) const override;
	bool fromString(const Steinberg::Vst::TChar* szText,
	                Steinberg::Vst::ParamValue& dNormalized) const override;

	OBJ_METHODS(LinearParameter, MappedParameter)
};

} // namespace Zaze2VST3
