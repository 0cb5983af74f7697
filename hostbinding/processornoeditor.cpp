// The Processor's editor operations in a build without the editor: the host shows its own
// generic parameter editor.
#include "processor.h"

namespace Zaze2VST3 {

using namespace Steinberg;

IPlugView* PLUGIN_API Processor::createView(FIDString)
{
	return nullptr;
}

VSTGUI::CView* Processor::createCustomView(VSTGUI::UTF8StringPtr, const VSTGUI::UIAttributes&,
                                           const VSTGUI::IUIDescription*, VSTGUI::VST3Editor*)
{
	return nullptr;
}

VSTGUI::IController* Processor::createSubController(VSTGUI::UTF8StringPtr, const VSTGUI::IUIDescription*,
                                                    VSTGUI::VST3Editor*)
{
	return nullptr;
}

} // namespace Zaze2VST3
