// The bitmaps in the bundle: every file at 1x and 2x with the sizes and frame layouts the
// editor's views read them with, knob and meter frames that move, and two-state images whose
// states can be told apart.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

struct CLayout
{
	const char* szName;
	int nWidth;        // 1x pixels
	int nFrameHeight;  // 1x pixels
	int nFrames;       // stacked vertically
};

constexpr CLayout kLayouts[] = {
	{"korvessa", 306, 426, 1},         {"sslblue", 42, 42, 80},          {"whitedust", 42, 42, 80},
	{"medtoggleswitch", 42, 42, 2},    {"medprophetbutton", 25, 35, 2},  {"bigrubberbutton", 34, 34, 2},
	{"vuledoff", 17, 85, 1},           {"vuledon", 17, 85, 1},           {"medanalogvumeter", 122, 65, 80},
};

struct CSurfaceDeleter
{
	void operator() (cairo_surface_t* p) const { cairo_surface_destroy (p); }
};
using CSurface = std::unique_ptr<cairo_surface_t, CSurfaceDeleter>;

std::string fileName (const char* szName, int nScale)
{
	return std::string (KORVESSA_RESOURCE_DIR) + "/" + szName + (nScale == 2 ? "#2x.png" : ".png");
}

CSurface load (const char* szName, int nScale)
{
	CSurface p (cairo_image_surface_create_from_png (fileName (szName, nScale).c_str ()));
	if (cairo_surface_status (p.get ()) != CAIRO_STATUS_SUCCESS)
		return nullptr;
	cairo_surface_flush (p.get ());
	return p;
}

/** Pixels that differ clearly (a channel by more than 16 of 255) between two areas of the
    given size, at (0, y0) in image a and (0, y1) in image b. */
int differingPixels (cairo_surface_t* a, int y0, cairo_surface_t* b, int y1, int w, int h)
{
	const int sa = cairo_image_surface_get_stride (a), sb = cairo_image_surface_get_stride (b);
	const unsigned char* pa = cairo_image_surface_get_data (a);
	const unsigned char* pb = cairo_image_surface_get_data (b);
	int n = 0;
	for (int y = 0; y < h; ++y)
		for (int x = 0; x < w; ++x)
		{
			const auto u = *reinterpret_cast<const std::uint32_t*> (pa + (y0 + y) * sa + 4 * x);
			const auto v = *reinterpret_cast<const std::uint32_t*> (pb + (y1 + y) * sb + 4 * x);
			for (int c = 0; c < 32; c += 8)
				if (std::abs (int ((u >> c) & 0xff) - int ((v >> c) & 0xff)) > 16)
				{
					++n;
					break;
				}
		}
	return n;
}

const CLayout& layout (const std::string& szName)
{
	for (const CLayout& l : kLayouts)
		if (szName == l.szName)
			return l;
	throw std::runtime_error ("no layout for " + szName);
}

TEST (Artwork, EveryBitmapAtBothScalesHasItsSize)
{
	for (const CLayout& l : kLayouts)
		for (int nScale : {1, 2})
		{
			SCOPED_TRACE (fileName (l.szName, nScale));
			CSurface p = load (l.szName, nScale);
			ASSERT_TRUE (p) << "missing or unreadable";
			EXPECT_EQ (cairo_image_surface_get_width (p.get ()), l.nWidth * nScale);
			EXPECT_EQ (cairo_image_surface_get_height (p.get ()), l.nFrameHeight * l.nFrames * nScale);
		}
}

TEST (Artwork, FilmstripFramesMove)
{
	for (const char* szName : {"sslblue", "whitedust", "medanalogvumeter"})
		for (int nScale : {1, 2})
		{
			SCOPED_TRACE (fileName (szName, nScale));
			const CLayout& l = layout (szName);
			CSurface p = load (szName, nScale);
			ASSERT_TRUE (p);
			const int w = l.nWidth * nScale, h = l.nFrameHeight * nScale;
			const int nEnough = w * h / 200;  // half a percent of a frame
			const int nFirst = 0, nMiddle = (l.nFrames / 2) * h, nLast = (l.nFrames - 1) * h;
			EXPECT_GT (differingPixels (p.get (), nFirst, p.get (), nLast, w, h), nEnough);
			EXPECT_GT (differingPixels (p.get (), nFirst, p.get (), nMiddle, w, h), nEnough);
			EXPECT_GT (differingPixels (p.get (), nMiddle, p.get (), nLast, w, h), nEnough);
		}
}

TEST (Artwork, TwoStatesDiffer)
{
	for (const char* szName : {"medtoggleswitch", "medprophetbutton", "bigrubberbutton"})
		for (int nScale : {1, 2})
		{
			SCOPED_TRACE (fileName (szName, nScale));
			const CLayout& l = layout (szName);
			CSurface p = load (szName, nScale);
			ASSERT_TRUE (p);
			const int w = l.nWidth * nScale, h = l.nFrameHeight * nScale;
			EXPECT_GT (differingPixels (p.get (), 0, p.get (), h, w, h), w * h / 100);
		}
	for (int nScale : {1, 2})
	{
		CSurface off = load ("vuledoff", nScale), on = load ("vuledon", nScale);
		ASSERT_TRUE (off && on);
		const int w = 17 * nScale, h = 85 * nScale;
		EXPECT_GT (differingPixels (off.get (), 0, on.get (), 0, w, h), w * h / 10);
	}
}

} // namespace
