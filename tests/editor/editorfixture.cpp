#include "editorfixture.h"

#include "../hostbinding/testplugin.h"

#include "gui/cbitmap.h"
#include "plugincore/plugin.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace editortest {

namespace {
// Tests do not run from inside the bundle: point the editor at the built bundle's resources.
struct CResourcesEnvironment : ::testing::Environment
{
	void SetUp () override { VSTGUI::CBitmap::setResourceFolder (resourceFolder ()); }
};
::testing::Environment* const g_pEnvironment =
    ::testing::AddGlobalTestEnvironment (new CResourcesEnvironment);
} // namespace

std::string resourceFolder ()
{
	return std::string (KORVESSA_BUNDLE_DIR) + "/Contents/Resources/";
}

ProcessorPtr makePedalProcessor ()
{
	ProcessorPtr p (new Zaze2VST3::Processor ());
	EXPECT_EQ (p->initialize (nullptr), kResultOk);
	ProcessSetup setup = {kRealtime, kSample32, 512, 48000.0};
	EXPECT_EQ (p->setupProcessing (setup), kResultOk);
	EXPECT_EQ (p->setActive (true), kResultOk);
	return p;
}

ProcessorPtr makeProcessorWith (CPlugIn* pPlugIn)
{
	setNextTestPlugIn (pPlugIn);
	ProcessorPtr p (new Zaze2VST3::Processor (&takeTestPlugIn));
	p->initialize (nullptr);
	return p;
}

tresult PLUGIN_API CEditRecorder::beginEdit (ParamID uId)
{
	m_Edits.push_back ({'b', uId, 0});
	return kResultOk;
}

tresult PLUGIN_API CEditRecorder::performEdit (ParamID uId, ParamValue d)
{
	m_Edits.push_back ({'p', uId, d});
	return kResultOk;
}

tresult PLUGIN_API CEditRecorder::endEdit (ParamID uId)
{
	m_Edits.push_back ({'e', uId, 0});
	return kResultOk;
}

tresult PLUGIN_API CEditRecorder::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IComponentHandler::iid, IComponentHandler)
	*obj = nullptr;
	return kNoInterface;
}

std::vector<ParamID> CEditRecorder::editedParameters () const
{
	std::vector<ParamID> ids;
	for (const CEdit& e : m_Edits)
		if (e.cKind == 'p' && std::find (ids.begin (), ids.end (), e.uId) == ids.end ())
			ids.push_back (e.uId);
	return ids;
}

VSTGUI::CView* findView (VSTGUI::CViewContainer* root, const std::function<bool (VSTGUI::CView*)>& test)
{
	for (int32_t i = 0; i < root->getNbViews (); ++i)
	{
		VSTGUI::CView* v = root->getView (i);
		if (test (v))
			return v;
		if (auto* c = dynamic_cast<VSTGUI::CViewContainer*> (v))
			if (VSTGUI::CView* found = findView (c, test))
				return found;
	}
	return nullptr;
}

VSTGUI::CControl* findControl (VSTGUI::CFrame* frame, int32_t nTag)
{
	return dynamic_cast<VSTGUI::CControl*> (findView (frame, [nTag] (VSTGUI::CView* v) {
		auto* c = dynamic_cast<VSTGUI::CControl*> (v);
		return c && c->getTag () == nTag;
	}));
}

VSTGUI::CRect frameRect (VSTGUI::CView* view)
{
	VSTGUI::CRect r = view->getViewSize ();
	VSTGUI::CPoint origin = r.getTopLeft ();
	view->localToFrame (origin);
	return r.moveTo (origin);
}

} // namespace editortest
