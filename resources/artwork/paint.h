// Small drawing helpers shared by the artwork: colours, shapes, gradients, text and grain.
#pragma once

#include <cairo.h>

namespace korvessa {
namespace artwork {

struct CRgb
{
	double r, g, b;
};

/** 0xRRGGBB as a colour. */
constexpr CRgb rgb (unsigned int nHex)
{
	return {((nHex >> 16) & 0xff) / 255.0, ((nHex >> 8) & 0xff) / 255.0, (nHex & 0xff) / 255.0};
}

/** a + (b - a) * t per channel. */
CRgb mix (CRgb a, CRgb b, double t);
/** Lighter (f > 1, towards white) or darker (f < 1, towards black). */
CRgb shade (CRgb c, double f);

void setColour (cairo_t* cr, CRgb c, double dAlpha = 1.0);
void addStop (cairo_pattern_t* p, double dOffset, CRgb c, double dAlpha = 1.0);

void roundedRect (cairo_t* cr, double x, double y, double w, double h, double r);

/** The point at dRadius from (cx, cy) in the direction dDegrees (0 = right, clockwise, as
    on screen). */
void polar (double cx, double cy, double dRadius, double dDegrees, double& x, double& y);

/** Pointer direction of a knob at value 0..1: 135 degrees (lower left) sweeping 270 degrees
    clockwise through the top to 45 degrees (lower right). */
double knobDegrees (double dValue);

/** A soft round shadow: black fading out from dInner to dOuter around (cx, cy). */
void roundShadow (cairo_t* cr, double cx, double cy, double dInner, double dOuter, double dAlpha);

struct CTextStyle
{
	const char* szFamily;    // a face of fonts-dejavu-core, e.g. "DejaVu Sans"
	bool bBold;
	double dSize;            // pixel size (em), 1x pixels
	double dLetterSpacing;   // extra space between letters, 1x pixels
	double dWidthScale;      // horizontal scale, < 1 narrows the letters
};

/** Draws one line of text centred on (cx, cy) with the current source; returns its width.
    Hinting is off so the shapes are the same at every scale. */
double drawCentredText (cairo_t* cr, const char* szText, const CTextStyle& style, double cx, double cy);

/** Adds the outline of a centred text line to the current path instead of filling it. */
void textPath (cairo_t* cr, const char* szText, const CTextStyle& style, double cx, double cy);

/** Fine random grain over the current clip, one value per device pixel: reproducible (a
    fixed seed) and independent of anything but the size and scale. */
void paintGrain (cairo_t* cr, double dWidth, double dHeight, double dScale, double dAmount, unsigned int nSeed);

} // namespace artwork
} // namespace korvessa
