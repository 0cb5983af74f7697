// Listeners and controllers: who hears a control's edits, and who a description asks for
// listeners, custom views and sub-controllers while it builds views.
#pragma once

#include <cstdint>

namespace VSTGUI {

class CControl;
class CView;
class IUIDescription;
class UIAttributes;

class IControlListener
{
public:
	virtual ~IControlListener () = default;
	virtual void valueChanged (CControl* control) = 0;
	virtual void controlBeginEdit (CControl* control) {}
	virtual void controlEndEdit (CControl* control) {}
};

class IController : public IControlListener
{
public:
	/** The tag a control-tag name has under this controller (the description's by default). */
	virtual int32_t getTagForName (const char* name, int32_t registeredTag) const { return registeredTag; }
	/** The listener a control with this control-tag name reports to. */
	virtual IControlListener* getControlListener (const char* controlTagName) { return this; }
	/** A view for a node with a custom-view name, or null (the node's class is made then). */
	virtual CView* createView (const UIAttributes& attributes, const IUIDescription* description)
	{
		return nullptr;
	}
	/** Sees every view made under this controller; answers the view to use. */
	virtual CView* verifyView (CView* view, const UIAttributes& attributes, const IUIDescription* description)
	{
		return view;
	}
	/** A controller for the views below a node with a sub-controller name, or null. */
	virtual IController* createSubController (const char* name, const IUIDescription* description)
	{
		return nullptr;
	}
};

/** What a frame asks of the editor that shows it. */
class VSTGUIEditorInterface
{
public:
	virtual ~VSTGUIEditorInterface () = default;
	/** 0 circular, 1 relative circular, 2 linear. */
	virtual int32_t getKnobMode () const { return 0; }
	virtual bool beforeSizeChange (const struct CRect& newSize, const struct CRect& oldSize) { return true; }
};

enum CKnobMode
{
	kCircularMode = 0,
	kRelativCircularMode,
	kLinearMode,
};

} // namespace VSTGUI
