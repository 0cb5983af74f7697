// A PNG image with its high-resolution variants. "knob" loads "knob.png" from the resource
// folder and, when present, "knob#2x.png" (twice the pixels for the same logical size); a
// drawing context at a scale above 1 draws from the largest variant.
#pragma once

#include "cbaseobject.h"
#include "cgeometry.h"

#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CBitmap : public CBaseObject
{
public:
	/** Loads the resource of that name (with or without ".png"); isLoaded() tells. */
	explicit CBitmap (const std::string& name);
	/** Takes over an image surface at the given scale (1: one pixel per editor pixel). */
	CBitmap (cairo_surface_t* surface, double scale);
	~CBitmap () override;

	bool isLoaded () const { return !m_Variants.empty (); }
	/** Logical size, in editor pixels. */
	CCoord getWidth () const { return m_Size.x; }
	CCoord getHeight () const { return m_Size.y; }
	CPoint getSize () const { return m_Size; }
	const std::string& getName () const { return m_Name; }

	/** The variant best for drawing at this scale, with its scale. Null when not loaded. */
	cairo_surface_t* surfaceFor (double scale, double& variantScale) const;

	/** Folder the resources are read from (ends in '/'); set once by the editor's module. */
	static void setResourceFolder (const std::string& folder);
	static const std::string& getResourceFolder ();

private:
	struct Variant
	{
		cairo_surface_t* surface;
		double scale;
	};
	bool addVariant (const std::string& path, double scale);

	std::string m_Name;              // resource name without ".png"
	CPoint m_Size;                   // editor pixels
	std::vector<Variant> m_Variants; // ascending scale
};

} // namespace VSTGUI
