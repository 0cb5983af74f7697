#include "cbitmap.h"

#include <cairo.h>

namespace VSTGUI {

namespace {
std::string& resourceFolder ()
{
	static std::string folder;
	return folder;
}

bool endsWith (const std::string& s, const std::string& suffix)
{
	return s.size () >= suffix.size () && s.compare (s.size () - suffix.size (), suffix.size (), suffix) == 0;
}
} // namespace

void CBitmap::setResourceFolder (const std::string& folder)
{
	resourceFolder () = folder;
	if (!folder.empty () && folder.back () != '/')
		resourceFolder () += '/';
}

const std::string& CBitmap::getResourceFolder ()
{
	return resourceFolder ();
}

CBitmap::CBitmap (const std::string& name)
    : m_Name (name)
{
	if (endsWith (m_Name, ".png"))
		m_Name.resize (m_Name.size () - 4);
	// A name that is a path stays one; a plain name is looked up in the resource folder.
	std::string base = (!m_Name.empty () && m_Name[0] == '/') ? m_Name : resourceFolder () + m_Name;
	if (!addVariant (base + ".png", 1.0))
		return;
	addVariant (base + "#2x.png", 2.0);
}

CBitmap::CBitmap (cairo_surface_t* surface, double scale)
{
	if (!surface || cairo_surface_status (surface) != CAIRO_STATUS_SUCCESS || scale <= 0)
	{
		if (surface)
			cairo_surface_destroy (surface);
		return;
	}
	m_Variants.push_back ({surface, scale});
	m_Size = CPoint (cairo_image_surface_get_width (surface) / scale,
	                 cairo_image_surface_get_height (surface) / scale);
}

CBitmap::~CBitmap ()
{
	for (auto& v : m_Variants)
		cairo_surface_destroy (v.surface);
}

bool CBitmap::addVariant (const std::string& path, double scale)
{
	cairo_surface_t* s = cairo_image_surface_create_from_png (path.c_str ());
	if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (s);
		return false;
	}
	CPoint size (cairo_image_surface_get_width (s) / scale, cairo_image_surface_get_height (s) / scale);
	if (m_Variants.empty ())
		m_Size = size;
	else if (size != m_Size)
	{
		// A high-resolution variant must show the same logical size; ignore a mismatched one.
		cairo_surface_destroy (s);
		return false;
	}
	m_Variants.push_back ({s, scale});
	return true;
}

cairo_surface_t* CBitmap::surfaceFor (double scale, double& variantScale) const
{
	if (m_Variants.empty ())
		return nullptr;
	const Variant* best = &m_Variants.front ();
	for (const auto& v : m_Variants)
	{
		best = &v;
		if (v.scale >= scale)
			break;
	}
	variantScale = best->scale;
	return best->surface;
}

} // namespace VSTGUI
