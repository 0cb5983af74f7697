// A sub-controller that binds the pad below it to two parameters of the edit controller: the
// pad shows both parameters' normalized values (x and y of its value), and a drag on the pad
// edits both parameters (begin edit, perform edit, end edit). Everything else it is asked for
// goes to the controller above it. UI thread.
#pragma once

#include "vst3editor.h"

#include "pluginterfaces/base/smartpointer.h"

namespace Steinberg {
namespace Vst {
class EditController;
class Parameter;
} // namespace Vst
} // namespace Steinberg

namespace VSTGUI {

class CXYPad;

class PadController : public IController, public VST3Editor::IParameterFollower
{
public:
	/** Both parameters must exist; the controller keeps a reference to each. */
	PadController (IController* baseController, Steinberg::Vst::EditController* editController,
	               Steinberg::Vst::Parameter* xParam, Steinberg::Vst::Parameter* yParam);
	~PadController () override;

	/** The pad it serves (the last one made below it), or null. */
	CXYPad* getPad () const { return m_pPad; }
	Steinberg::Vst::ParamID getXParameterId () const;
	Steinberg::Vst::ParamID getYParameterId () const;

	// IController
	void valueChanged (CControl* control) override;
	void controlBeginEdit (CControl* control) override;
	void controlEndEdit (CControl* control) override;
	int32_t getTagForName (const char* name, int32_t registeredTag) const override;
	IControlListener* getControlListener (const char* controlTagName) override;
	CView* createView (const UIAttributes& attributes, const IUIDescription* description) override;
	CView* verifyView (CView* view, const UIAttributes& attributes,
	                   const IUIDescription* description) override;
	IController* createSubController (const char* name, const IUIDescription* description) override;

	// VST3Editor::IParameterFollower: shows the parameters' current values on the pad.
	void updateFromParameters () override;

private:
	void edit (Steinberg::Vst::ParamID id, double value);

	IController* m_pBase;                              // not owned
	VST3Editor* m_pEditor;                             // the editor above, when it is one
	Steinberg::Vst::EditController* m_pEditController; // not owned
	Steinberg::IPtr<Steinberg::Vst::Parameter> m_XParam;
	Steinberg::IPtr<Steinberg::Vst::Parameter> m_YParam;
	CXYPad* m_pPad = nullptr; // owned by its container
	int32_t m_nEditing = 0;   // open gestures of the pad
	double m_dShownX = -1;    // values last shown, normalized
	double m_dShownY = -1;
};

} // namespace VSTGUI
