// An editor description (VSTGUI 4 XML): fonts, colours, bitmaps, control tags, gradients and
// templates. createView builds a template's views, asking the controller for listeners,
// custom views and sub-controllers on the way; attributes no view class reads are kept on the
// view and otherwise ignored.
#pragma once

#include "cbitmap.h"
#include "ccolor.h"
#include "cfont.h"
#include "icontroller.h"
#include "uiattributes.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

namespace VSTGUI {

class CView;

class IUIDescription
{
public:
	virtual ~IUIDescription () = default;
	/** The bitmap of a bitmaps-table name (loaded once, then shared), or null. */
	virtual CBitmap* getBitmap (const std::string& name) const = 0;
	/** A colour by its table name, a built-in "~ " name or a "#rrggbb[aa]" text. */
	virtual bool getColor (const std::string& name, CColor& color) const = 0;
	virtual bool getFont (const std::string& name, CFontDesc& font) const = 0;
	/** A control-tag's number, or -1 when the table has no such name. */
	virtual int32_t getTagForName (const std::string& name) const = 0;
	/** The listener controls with this control-tag report to (the building controller's). */
	virtual IControlListener* getControlListener (const std::string& name) const = 0;
};

struct UIGradientStop
{
	double position;
	CColor color;
};

class UIDescription : public IUIDescription
{
public:
	/** A description file: an absolute path, or a name in the bitmap resource folder. */
	explicit UIDescription (const std::string& fileName);
	~UIDescription () override;

	/** Reads the file; false when it is missing or not a description. */
	bool parse ();
	/** Reads a description from text (tests, generated descriptions). */
	bool parseText (const std::string& xml);

	/** Builds a template's views; null for an unknown template. */
	CView* createView (const std::string& templateName, IController* controller);
	bool getTemplateSize (const std::string& templateName, CPoint& size) const;
	/** A template's attributes (minSize, maxSize ...); false for an unknown template. */
	bool getTemplateAttributes (const std::string& templateName, UIAttributes& attributes) const;
	std::vector<std::string> getTemplateNames () const;
	/** Attributes of an entry of the custom section ("VST3Editor" ...). */
	bool getCustomAttributes (const std::string& name, UIAttributes& attributes) const;
	bool getGradient (const std::string& name, std::vector<UIGradientStop>& stops) const;
	std::vector<std::string> getBitmapNames () const;
	std::vector<std::string> getTagNames () const;

	// IUIDescription
	CBitmap* getBitmap (const std::string& name) const override;
	bool getColor (const std::string& name, CColor& color) const override;
	bool getFont (const std::string& name, CFontDesc& font) const override;
	int32_t getTagForName (const std::string& name) const override;
	IControlListener* getControlListener (const std::string& name) const override;

	/** The controller views are being built for (during createView only). */
	IController* getCurrentController () const;

private:
	bool readDocument ();
	CView* buildView (const pugi::xml_node& node, int depth);
	pugi::xml_node findTemplate (const std::string& name) const;

	std::string m_FileName;
	std::unique_ptr<pugi::xml_document> m_pDocument;
	std::map<std::string, std::string> m_BitmapPaths;                // name -> path
	mutable std::map<std::string, SharedPointer<CBitmap>> m_Bitmaps; // loaded on first use
	std::map<std::string, CColor> m_Colors;
	std::map<std::string, CFontDesc> m_Fonts;
	std::map<std::string, int32_t> m_Tags;
	std::map<std::string, std::vector<UIGradientStop>> m_Gradients;
	std::map<std::string, UIAttributes> m_Custom;
	std::vector<IController*> m_ControllerStack; // during createView
};

} // namespace VSTGUI
