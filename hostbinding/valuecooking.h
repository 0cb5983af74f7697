// Conversions between the host's normalized values and the plug-in's linear 0..1 scale for a
// control, by its mapping (list, log taper, volt/octave or linear). The parameter classes use
// the same curves, so what the host shows is what the plug-in receives.
#pragma once

class CControlDescriptor;

namespace Zaze2VST3 {

// A host value (0..1) as the linear value the plug-in's setNormalized expects.
float cookHostValue(const CControlDescriptor& control, double dHostValue);

// A plain value (a preset) as the plug-in's linear value and as the host's normalized value.
struct CCookedPlain
{
	float m_fLinear; // for the plug-in's setNormalized, 0..1
	double m_dHost;  // for the host parameter, 0..1
};
CCookedPlain cookPlainValue(const CControlDescriptor& control, double dPlain);

} // namespace Zaze2VST3
