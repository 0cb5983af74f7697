// What the editor tests share: a processor bound to a plug-in, a component handler that
// records every edit gesture, and lookups of views in an editor's frame.
#pragma once

#include "editor/vst3editorqv.h"
#include "hostbinding/processor.h"

#include "gui/canimknob.h"
#include "gui/cframe.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CPlugIn;

namespace editortest {

struct CProcessorDeleter
{
	void operator() (Zaze2VST3::Processor* p) const
	{
		p->setComponentHandler (nullptr);
		p->terminate ();
		p->release ();
	}
};
using ProcessorPtr = std::unique_ptr<Zaze2VST3::Processor, CProcessorDeleter>;

/** A processor with the module's own plug-in (the pedal), initialized and active at 48 kHz. */
ProcessorPtr makePedalProcessor ();
/** A processor with the given plug-in (null: none), initialized. */
ProcessorPtr makeProcessorWith (CPlugIn* pPlugIn);

/** One recorded call of the component handler: 'b'egin, 'p'erform, 'e'nd. */
struct CEdit
{
	char cKind;
	Steinberg::Vst::ParamID uId;
	double dValue;
	bool operator== (const CEdit& o) const { return cKind == o.cKind && uId == o.uId; }
};

class CEditRecorder : public Steinberg::Vst::IComponentHandler
{
public:
	Steinberg::tresult PLUGIN_API beginEdit (Steinberg::Vst::ParamID uId) override;
	Steinberg::tresult PLUGIN_API performEdit (Steinberg::Vst::ParamID uId,
	                                           Steinberg::Vst::ParamValue d) override;
	Steinberg::tresult PLUGIN_API endEdit (Steinberg::Vst::ParamID uId) override;
	Steinberg::tresult PLUGIN_API restartComponent (Steinberg::int32) override
	{
		return Steinberg::kResultOk;
	}
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override { return 1; }
	Steinberg::uint32 PLUGIN_API release () override { return 1; }

	std::vector<CEdit> m_Edits;
	/** The parameters that received a performEdit, in order, without repeats. */
	std::vector<Steinberg::Vst::ParamID> editedParameters () const;
};

/** The first view of the frame (depth first) that passes the test. */
VSTGUI::CView* findView (VSTGUI::CViewContainer* root, const std::function<bool (VSTGUI::CView*)>& test);
/** The control with this tag. */
VSTGUI::CControl* findControl (VSTGUI::CFrame* frame, int32_t nTag);
/** A view's rectangle in frame coordinates. */
VSTGUI::CRect frameRect (VSTGUI::CView* view);

/** The bundle's resource folder, where the description and bitmaps are. */
std::string resourceFolder ();

} // namespace editortest
