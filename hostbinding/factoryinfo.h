// The factory and class descriptions of the module, filled once per module lifetime.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

namespace Zaze2VST3 {

const Steinberg::PFactoryInfo& moduleFactoryInfo();
const Steinberg::PClassInfo2& processorClassInfo();

} // namespace Zaze2VST3
