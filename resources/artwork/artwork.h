// korvessa-artwork: the editor's bitmaps, drawn with cairo. Every drawing function works in
// 1x pixels; the caller scales the context, so a 2x bitmap is drawn at its own resolution.
#pragma once

#include <cairo.h>

namespace korvessa {
namespace artwork {

/** The frame being drawn: its index in the filmstrip (or the button state) and the device
    scale (1 or 2), for the few drawings that work on device pixels (grain). */
struct CFrame
{
	int nIndex;
	int nCount;
	double dScale;

	/** Position of the frame in its strip, 0 (first) to 1 (last). */
	double value () const { return nCount > 1 ? double (nIndex) / double (nCount - 1) : 0.0; }
};

using DrawFunction = void (*) (cairo_t* cr, const CFrame& frame);

/** One bitmap: its file name (without ".png"), the size of one frame at 1x, the number of
    frames stacked vertically, and what draws a frame into (0, 0, width, frame height). */
struct CBitmapEntry
{
	const char* szName;
	int nWidth;
	int nFrameHeight;
	int nFrames;
	DrawFunction draw;
};

void drawPanel (cairo_t* cr, const CFrame& frame);
void drawSslBlueKnob (cairo_t* cr, const CFrame& frame);
void drawWhiteDustKnob (cairo_t* cr, const CFrame& frame);
void drawToggleSwitch (cairo_t* cr, const CFrame& frame);
void drawProphetButton (cairo_t* cr, const CFrame& frame);
void drawRubberButton (cairo_t* cr, const CFrame& frame);
void drawLedColumnOff (cairo_t* cr, const CFrame& frame);
void drawLedColumnOn (cairo_t* cr, const CFrame& frame);
void drawAnalogMeter (cairo_t* cr, const CFrame& frame);

} // namespace artwork
} // namespace korvessa
