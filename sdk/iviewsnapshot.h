// An extension of our editor views: draws the editor as it stands into a PNG file, without a
// window. Tools ask a view for it with queryInterface; hosts never see it.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Korvessa {

class IViewSnapshot : public Steinberg::FUnknown
{
public:
	/** Writes the editor at the scale (1: one pixel per editor pixel) to the PNG path. */
	virtual Steinberg::tresult PLUGIN_API writePng (const char* path, double scale) = 0;
	static const Steinberg::FUID iid;
};

DECLARE_CLASS_IID (IViewSnapshot, 0x4B4F5256, 0x56534E50, 0x9A31C0DE, 0x2F6B7E11)

} // namespace Korvessa
