#include "uidescription.h"

#include "cview.h"
#include "cviewcontainer.h"
#include "uiviewfactory.h"

#include <pugixml.hpp>

#include <cstdlib>

namespace VSTGUI {

namespace {
constexpr int kMaxNesting = 32; // templates inside templates, guarded against cycles

UIAttributes attributesOf (const pugi::xml_node& node)
{
	UIAttributes a;
	for (const pugi::xml_attribute& attr : node.attributes ())
		a.setAttribute (attr.name (), attr.value ());
	return a;
}
} // namespace

UIDescription::UIDescription (const std::string& fileName)
    : m_FileName (fileName)
{}

UIDescription::~UIDescription () = default;

bool UIDescription::parse ()
{
	std::string path = (!m_FileName.empty () && m_FileName[0] == '/')
	                       ? m_FileName
	                       : CBitmap::getResourceFolder () + m_FileName;
	auto doc = std::make_unique<pugi::xml_document> ();
	if (!doc->load_file (path.c_str ()))
		return false;
	m_pDocument = std::move (doc);
	return readDocument ();
}

bool UIDescription::parseText (const std::string& xml)
{
	auto doc = std::make_unique<pugi::xml_document> ();
	if (!doc->load_string (xml.c_str ()))
		return false;
	m_pDocument = std::move (doc);
	return readDocument ();
}

bool UIDescription::readDocument ()
{
	pugi::xml_node root = m_pDocument->child ("vstgui-ui-description");
	if (!root)
	{
		m_pDocument.reset ();
		return false;
	}
	m_BitmapPaths.clear ();
	m_Bitmaps.clear ();
	m_Colors.clear ();
	m_Fonts.clear ();
	m_Tags.clear ();
	m_Gradients.clear ();
	m_Custom.clear ();

	for (pugi::xml_node n : root.child ("bitmaps").children ("bitmap"))
		m_BitmapPaths[n.attribute ("name").value ()] = n.attribute ("path").value ();
	for (pugi::xml_node n : root.child ("colors").children ("color"))
	{
		CColor c;
		if (CColor::fromString (n.attribute ("rgba").value (), c))
			m_Colors[n.attribute ("name").value ()] = c;
	}
	for (pugi::xml_node n : root.child ("fonts").children ("font"))
	{
		CFontDesc f (n.attribute ("font-name").value (), n.attribute ("size").as_double (12));
		if (std::string (n.attribute ("bold").value ()) == "true")
			f.style |= kBoldFace;
		if (std::string (n.attribute ("italic").value ()) == "true")
			f.style |= kItalicFace;
		m_Fonts[n.attribute ("name").value ()] = f;
	}
	for (pugi::xml_node n : root.child ("control-tags").children ("control-tag"))
	{
		const char* text = n.attribute ("tag").value ();
		char* end = nullptr;
		long tag = std::strtol (text, &end, 10);
		if (end != text && tag >= INT32_MIN && tag <= INT32_MAX)
			m_Tags[n.attribute ("name").value ()] = static_cast<int32_t> (tag);
	}
	for (pugi::xml_node n : root.child ("gradients").children ("gradient"))
	{
		std::vector<UIGradientStop> stops;
		for (pugi::xml_node s : n.children ("color-stop"))
		{
			CColor c;
			std::string rgba = s.attribute ("rgba").value ();
			if (!getColor (rgba, c))
				continue;
			stops.push_back ({s.attribute ("start").as_double (0), c});
		}
		m_Gradients[n.attribute ("name").value ()] = stops;
	}
	for (pugi::xml_node n : root.child ("custom").children ("attributes"))
		m_Custom[n.attribute ("name").value ()] = attributesOf (n);
	return true;
}

pugi::xml_node UIDescription::findTemplate (const std::string& name) const
{
	if (!m_pDocument)
		return {};
	pugi::xml_node root = m_pDocument->child ("vstgui-ui-description");
	for (pugi::xml_node t : root.children ("template"))
		if (name == t.attribute ("name").value ())
			return t;
	return {};
}

std::vector<std::string> UIDescription::getTemplateNames () const
{
	std::vector<std::string> names;
	if (m_pDocument)
		for (pugi::xml_node t : m_pDocument->child ("vstgui-ui-description").children ("template"))
			names.push_back (t.attribute ("name").value ());
	return names;
}

std::vector<std::string> UIDescription::getBitmapNames () const
{
	std::vector<std::string> names;
	for (const auto& entry : m_BitmapPaths)
		names.push_back (entry.first);
	return names;
}

std::vector<std::string> UIDescription::getTagNames () const
{
	std::vector<std::string> names;
	for (const auto& entry : m_Tags)
		names.push_back (entry.first);
	return names;
}

bool UIDescription::getTemplateAttributes (const std::string& templateName, UIAttributes& attributes) const
{
	pugi::xml_node t = findTemplate (templateName);
	if (!t)
		return false;
	attributes = attributesOf (t);
	return true;
}

bool UIDescription::getTemplateSize (const std::string& templateName, CPoint& size) const
{
	UIAttributes a;
	return getTemplateAttributes (templateName, a) && a.getPointAttribute ("size", size);
}

bool UIDescription::getCustomAttributes (const std::string& name, UIAttributes& attributes) const
{
	auto it = m_Custom.find (name);
	if (it == m_Custom.end ())
		return false;
	attributes = it->second;
	return true;
}

bool UIDescription::getGradient (const std::string& name, std::vector<UIGradientStop>& stops) const
{
	auto it = m_Gradients.find (name);
	if (it == m_Gradients.end ())
		return false;
	stops = it->second;
	return true;
}

CBitmap* UIDescription::getBitmap (const std::string& name) const
{
	auto cached = m_Bitmaps.find (name);
	if (cached != m_Bitmaps.end ())
		return cached->second;
	auto path = m_BitmapPaths.find (name);
	if (path == m_BitmapPaths.end ())
		return nullptr;
	auto bitmap = owned (new CBitmap (path->second));
	if (!bitmap->isLoaded ())
		bitmap = nullptr;
	m_Bitmaps[name] = bitmap;
	return bitmap;
}

bool UIDescription::getColor (const std::string& name, CColor& color) const
{
	auto it = m_Colors.find (name);
	if (it != m_Colors.end ())
	{
		color = it->second;
		return true;
	}
	return CColor::fromBuiltInName (name, color) || CColor::fromString (name, color);
}

bool UIDescription::getFont (const std::string& name, CFontDesc& font) const
{
	auto it = m_Fonts.find (name);
	if (it != m_Fonts.end ())
	{
		font = it->second;
		return true;
	}
	return CFontDesc::fromBuiltInName (name, font);
}

int32_t UIDescription::getTagForName (const std::string& name) const
{
	auto it = m_Tags.find (name);
	int32_t tag = it == m_Tags.end () ? -1 : it->second;
	if (IController* c = getCurrentController ())
		tag = c->getTagForName (name.c_str (), tag);
	return tag;
}

IControlListener* UIDescription::getControlListener (const std::string& name) const
{
	IController* c = getCurrentController ();
	return c ? c->getControlListener (name.c_str ()) : nullptr;
}

IController* UIDescription::getCurrentController () const
{
	return m_ControllerStack.empty () ? nullptr : m_ControllerStack.back ();
}

CView* UIDescription::createView (const std::string& templateName, IController* controller)
{
	pugi::xml_node t = findTemplate (templateName);
	if (!t)
		return nullptr;
	m_ControllerStack.assign (1, controller);
	CView* view = buildView (t, 0);
	m_ControllerStack.clear ();
	return view;
}

CView* UIDescription::buildView (const pugi::xml_node& node, int depth)
{
	if (depth > kMaxNesting)
		return nullptr;

	// A node that names a template is that template's view with the node's own attributes
	// on top; the template's children come first, then the node's.
	UIAttributes attributes = attributesOf (node);
	std::vector<pugi::xml_node> children;
	const std::string* templateName = attributes.getAttributeValue ("template");
	if (node.name () != std::string ("template") && templateName && !templateName->empty ())
	{
		pugi::xml_node t = findTemplate (*templateName);
		if (t)
		{
			UIAttributes merged = attributesOf (t);
			for (const auto& entry : attributes.values ())
				merged.setAttribute (entry.first, entry.second);
			merged.removeAttribute ("name");
			attributes = merged;
			for (pugi::xml_node c : t.children ("view"))
				children.push_back (c);
		}
	}
	for (pugi::xml_node c : node.children ("view"))
		children.push_back (c);

	std::string className;
	if (const std::string* c = attributes.getAttributeValue ("class"))
		className = *c;

	IController* parentController = getCurrentController ();
	IController* subController = nullptr;
	const std::string* subName = attributes.getAttributeValue ("sub-controller");
	if (subName && !subName->empty () && parentController)
		subController = parentController->createSubController (subName->c_str (), this);
	if (subController)
		m_ControllerStack.push_back (subController);

	CView* view = nullptr;
	const std::string* customName = attributes.getAttributeValue ("custom-view-name");
	if (customName && !customName->empty () && getCurrentController ())
	{
		view = getCurrentController ()->createView (attributes, this);
		if (view)
			applyViewAttributes (view, className, attributes, this);
	}
	if (!view)
		view = createViewOfClass (className, attributes, this);

	if (view)
	{
		// Attributes no class reads stay on the view.
		for (const auto& entry : attributes.values ())
		{
			std::string unused;
			if (!view->getAttribute (entry.first, unused))
				view->setAttribute (entry.first, entry.second);
		}
		if (auto* container = dynamic_cast<CViewContainer*> (view))
		{
			for (const pugi::xml_node& c : children)
				if (CView* child = buildView (c, depth + 1))
					container->addView (child);
		}
		if (IController* c = getCurrentController ())
			view = c->verifyView (view, attributes, this);
	}

	if (subController)
	{
		m_ControllerStack.pop_back ();
		if (view)
			view->setSubController (subController);
		else
			delete subController;
	}
	return view;
}

} // namespace VSTGUI
