// The VST 3 view of an editor drawn with our view toolkit: the IPlugView a host embeds. It
// makes the toolkit's frame inside the host's X11 window when attached, runs the editor's idle
// timer on the host's run loop (found through the IPlugFrame), forwards keys and the wheel,
// and draws at the host's content scale. Subclasses build the frame's views in open().
//
// Threads: every operation runs on the host's UI thread.
#pragma once

#include "gui/cframe.h"
#include "gui/cvstguitimer.h"
#include "gui/icontroller.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class VSTGUIEditor : public EditorView,
                     public VSTGUI::VSTGUIEditorInterface,
                     public VSTGUI::CBaseObject,
                     public IPlugViewContentScaleSupport
{
public:
	VSTGUIEditor (EditController* controller, ViewRect* size = nullptr);
	~VSTGUIEditor () override;

	/** Makes the frame inside the parent window; false when it cannot. */
	virtual bool open (void* parent, const VSTGUI::PlatformType& type) = 0;
	/** Closes the frame. */
	virtual void close ();

	/** Period of the idle timer in ms; it runs while the editor is attached. */
	void setIdleRate (int32 milliseconds);
	int32 getIdleRate () const { return m_nIdleRate; }
	VSTGUI::CFrame* getFrame () const { return frame; }
	double getContentScaleFactor () const { return m_dScale; }
	/** The host's run loop, from the IPlugFrame (null when the host offers none). */
	Linux::IRunLoop* getRunLoop () const;
	/** The size of the editor in editor pixels (the view's size divided by the scale). */
	ViewRect getBaseSize () const { return m_BaseSize; }
	void setBaseSize (const ViewRect& r);

	// IPlugView
	tresult PLUGIN_API isPlatformTypeSupported (FIDString type) SMTG_OVERRIDE;
	tresult PLUGIN_API attached (void* parent, FIDString type) SMTG_OVERRIDE;
	tresult PLUGIN_API removed () SMTG_OVERRIDE;
	tresult PLUGIN_API onKeyDown (char16 key, int16 keyCode, int16 modifiers) SMTG_OVERRIDE;
	tresult PLUGIN_API onWheel (float distance) SMTG_OVERRIDE;
	tresult PLUGIN_API getSize (ViewRect* size) SMTG_OVERRIDE;
	tresult PLUGIN_API onSize (ViewRect* newSize) SMTG_OVERRIDE;
	tresult PLUGIN_API canResize () SMTG_OVERRIDE { return kResultFalse; }
	tresult PLUGIN_API checkSizeConstraint (ViewRect* rect) SMTG_OVERRIDE;

	// IPlugViewContentScaleSupport
	tresult PLUGIN_API setContentScaleFactor (ScaleFactor factor) SMTG_OVERRIDE;

	// VSTGUIEditorInterface
	int32_t getKnobMode () const override;

	OBJ_METHODS (VSTGUIEditor, EditorView)
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	REFCOUNT_METHODS (EditorView)

protected:
	VSTGUI::CFrame* frame = nullptr; // made by open, released by close

private:
	void startTimer ();
	void stopTimer ();

	int32 m_nIdleRate = 0;                    // ms, 0: no timer
	VSTGUI::CVSTGUITimer* m_pTimer = nullptr; // while attached
	double m_dScale = 1;                      // content scale
	ViewRect m_BaseSize;                      // editor pixels
};

} // namespace Vst
} // namespace Steinberg
