// An editor built from a description: it reads the description, builds one of its templates
// into the frame when the host attaches it, binds every control whose tag is a parameter of
// the edit controller (edits go to the host, host-side changes come back to the control),
// hands custom views and sub-controllers to its delegate (the controller, when it is one) and
// carries out a requested view recreation on its next timer tick.
//
// Threads: UI thread only.
#pragma once

#include "vst3editordelegate.h"

#include "sdk/iviewsnapshot.h"
#include "sdk/vstguieditor.h"

#include "../uidescription.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {
class Parameter;
}
} // namespace Steinberg

namespace VSTGUI {

class CControl;

class VST3Editor : public Steinberg::Vst::VSTGUIEditor, public IController, public Korvessa::IViewSnapshot
{
public:
	VST3Editor (Steinberg::Vst::EditController* controller, UTF8StringPtr templateName,
	            UTF8StringPtr xmlFile);
	~VST3Editor () override;

	Steinberg::Vst::EditController* getController () const { return controller; }
	VST3EditorDelegate* getDelegate () const { return m_pDelegate; }
	UIDescription* getUIDescription () const { return m_pDescription.get (); }
	/** True when the description was read and has the template. */
	bool isDescriptionLoaded () const { return m_bDescriptionLoaded; }

	/** Rebuilds the views at the next timer tick. */
	void requestRecreateView () { m_bRecreatePending = true; }
	bool isRecreateViewPending () const { return m_bRecreatePending; }
	/** Builds another template of the description into the frame. */
	bool exchangeView (UTF8StringPtr templateName);

	/** Brings every bound control, and every follower, to its parameters' current values. */
	void updateControlsFromParameters ();

	/** Something below the editor that shows parameters outside the editor's own bindings
	    (a pad's sub-controller); refreshed whenever the bound controls are. */
	class IParameterFollower
	{
	public:
		virtual ~IParameterFollower () = default;
		virtual void updateFromParameters () = 0;
	};
	/** The follower stays registered until it removes itself (not owned). */
	void addParameterFollower (IParameterFollower* follower);
	void removeParameterFollower (IParameterFollower* follower);
	/** Builds the frame without a window (tests, pictures); open() does the same in a window. */
	bool openOffscreen ();
	/** Count of controls bound to parameters. */
	size_t getBoundControlCount () const;

	// VSTGUIEditor
	bool open (void* parent, const PlatformType& type) override;
	void close () override;
	CMessageResult notify (CBaseObject* sender, IdStringPtr message) override;
	bool beforeSizeChange (const CRect& newSize, const CRect& oldSize) override;

	// IViewSnapshot: builds the views without a window when none is open.
	Steinberg::tresult PLUGIN_API writePng (const char* path, double scale) override;

	OBJ_METHODS (VST3Editor, VSTGUIEditor)
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	REFCOUNT_METHODS (VSTGUIEditor)

	// IController
	void valueChanged (CControl* control) override;
	void controlBeginEdit (CControl* control) override;
	void controlEndEdit (CControl* control) override;
	CView* createView (const UIAttributes& attributes, const IUIDescription* description) override;
	CView* verifyView (CView* view, const UIAttributes& attributes,
	                   const IUIDescription* description) override;
	IController* createSubController (const char* name, const IUIDescription* description) override;

protected:
	/** False when the last valueChanged refused the control's text (it shows the old value). */
	bool lastEditAccepted () const { return m_bLastEditAccepted; }

private:
	struct ParameterBinding
	{
		Steinberg::Vst::Parameter* parameter = nullptr; // owned by the controller
		std::vector<CControl*> controls;                // one reference each
		int32_t editCount = 0;                          // open beginEdit gestures
	};
	bool buildFrame ();
	void unbindAll ();
	void showParameterValue (ParameterBinding& binding, CControl* control);

	VST3EditorDelegate* m_pDelegate; // the controller, when it is one; not owned
	std::unique_ptr<UIDescription> m_pDescription;
	std::string m_TemplateName;
	bool m_bDescriptionLoaded = false;
	bool m_bRecreatePending = false;
	bool m_bLastEditAccepted = true;
	std::map<Steinberg::Vst::ParamID, ParameterBinding> m_Bindings;
	std::vector<IParameterFollower*> m_Followers; // not owned
};

} // namespace VSTGUI
