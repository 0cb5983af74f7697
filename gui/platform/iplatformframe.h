// The one corner that knows windows: a platform window that shows a CFrame.
#pragma once

#include "../cframe.h"

namespace VSTGUI {

class IPlatformFrame
{
public:
	virtual ~IPlatformFrame () = default;
	/** Schedules a repaint of the whole window. */
	virtual void invalidate () = 0;
	/** New size in device pixels. */
	virtual void resize (int width, int height) = 0;
	/** Draws now if a repaint is pending (also done from the event handler). */
	virtual void flush () = 0;
	/** The native window (an X11 Window ID). */
	virtual unsigned long getNativeWindow () const = 0;
};

/** Makes a window for the frame inside the parent window; null when it cannot. */
std::unique_ptr<IPlatformFrame> createPlatformFrame (CFrame* frame, void* parent, PlatformType type,
                                                     IPlatformFrameConfig* config);

} // namespace VSTGUI
