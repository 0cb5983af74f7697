// The view classes a description can name: one table entry per class, with its base class,
// how to make it and which attributes it reads. Attributes are applied from the root class
// down to the node's class.
#pragma once

#include "uiattributes.h"

#include <string>
#include <vector>

namespace VSTGUI {

class CView;
class IUIDescription;

struct UIViewCreator
{
	const char* className;
	const char* baseClassName; // null for the root class
	/** Makes a view with default settings; null for classes that cannot be made directly. */
	CView* (*create) (const UIAttributes& attributes, const IUIDescription* description);
	/** Applies the attributes this class reads (a view of another class is left alone). */
	void (*apply) (CView* view, const UIAttributes& attributes, const IUIDescription* description);
	std::vector<std::string> attributeNames;
};

/** The entry of a class name, or null. */
const UIViewCreator* findViewCreator (const std::string& className);
/** Makes a view of the class and applies the attributes; null for an unknown class. */
CView* createViewOfClass (const std::string& className, const UIAttributes& attributes,
                          const IUIDescription* description);
/** Applies the attributes of the class and of its bases to a view that exists. */
void applyViewAttributes (CView* view, const std::string& className, const UIAttributes& attributes,
                          const IUIDescription* description);

} // namespace VSTGUI
