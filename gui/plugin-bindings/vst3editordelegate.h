// What an editor built from a description asks of its controller object: custom views,
// sub-controllers and the editor's life cycle. Every operation has a neutral default.
// UI thread.
#pragma once

#include "../cgeometry.h"

#include "pluginterfaces/vst/vsttypes.h"

namespace VSTGUI {

class CView;
class IController;
class IUIDescription;
class UIAttributes;
class VST3Editor;
class COptionMenu;

using UTF8StringPtr = const char*;

class VST3EditorDelegate
{
public:
	virtual ~VST3EditorDelegate () = default;

	virtual CView* createCustomView (UTF8StringPtr name, const UIAttributes& attributes,
	                                 const IUIDescription* description, VST3Editor* editor)
	{
		return nullptr;
	}
	virtual CView* verifyView (CView* view, const UIAttributes& attributes, const IUIDescription* description,
	                           VST3Editor* editor)
	{
		return view;
	}
	virtual bool findParameter (const CPoint& pos, Steinberg::Vst::ParamID& paramID, VST3Editor* editor)
	{
		return false;
	}
	virtual bool isPrivateParameter (const Steinberg::Vst::ParamID paramID) { return false; }
	virtual void didOpen (VST3Editor* editor) {}
	virtual void willClose (VST3Editor* editor) {}
	virtual COptionMenu* createContextMenu (const CPoint& pos, VST3Editor* editor) { return nullptr; }
	virtual IController* createSubController (UTF8StringPtr name, const IUIDescription* description,
	                                          VST3Editor* editor)
	{
		return nullptr;
	}
};

} // namespace VSTGUI
