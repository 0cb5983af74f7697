// The Processor's editor operations: which editor a host gets (the views and sub-controllers
// the description asks for are made in customviewfactory.cpp). UI thread.
#include "hostbinding/processor.h"

#include "kestcustomview.h"
#include "vst3editorqv.h"

#include "gui/cbitmap.h"
#include "plugincore/plugin.h"
#include "sdk/moduleentry.h"

#include <cstring>

namespace Zaze2VST3 {

using namespace Steinberg;

namespace {
// The bundle's Contents/Resources, beside the folder of the module's binary.
void findEditorResources()
{
	if (VSTGUI::CBitmap::getResourceFolder().empty())
		VSTGUI::CBitmap::setResourceFolder(getModuleDirectory() + "../Resources/");
}
} // namespace

IPlugView* PLUGIN_API Processor::createView(FIDString szName)
{
	if (!m_pPlugIn)
		return nullptr;
	if (!szName || std::strcmp(szName, Vst::ViewType::kEditor) != 0)
		return nullptr;
	if (!m_pPlugIn->m_bUseEditor)
		return nullptr;

	CGuiMessageRecord query;
	query.m_uCode = kGuiQueryCustomEditor;
	query.m_bCustomEditor = false;
	m_pPlugIn->editorMessage(&query);
	if (query.m_bCustomEditor)
	{
		ViewRect size(0, 0, 100, 100);
		auto* pView = new CKestCustomView(this, &size);
		pView->m_pPlugIn = m_pPlugIn;
		return pView;
	}

	findEditorResources();
	auto* pEditor = new VST3EditorQV(this, "Editor", "kest.uidesc");
	pEditor->m_nKnobMode = m_pPlugIn->m_nKnobMode;
	pEditor->setPlugIn(m_pPlugIn);
	return pEditor;
}

} // namespace Zaze2VST3
