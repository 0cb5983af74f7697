// The root container of an editor. It lives in a platform window (an X11 child window of the
// host's window) or nowhere; either way it can render itself into an offscreen image at any
// scale. It captures the mouse for the view that took a mouse-down and keeps the key focus.
#pragma once

#include "cviewcontainer.h"
#include "icontroller.h"

#include <memory>

typedef struct _cairo_surface cairo_surface_t;

namespace Steinberg {
namespace Linux {
class IRunLoop;
}
} // namespace Steinberg

namespace VSTGUI {

class IPlatformFrame;

enum PlatformType
{
	kDefaultNative = 0,
	kX11EmbedWindowID,
};

/** What a platform window needs from its host: the run loop its events arrive through. */
struct IPlatformFrameConfig
{
	Steinberg::Linux::IRunLoop* runLoop = nullptr;
};

class CFrame : public CViewContainer
{
public:
	explicit CFrame (const CRect& size);
	~CFrame () override;

	/** Opens a window inside the parent (an X11 window ID). False when the window cannot be
	    made (no display, no run loop). */
	bool open (void* parent, PlatformType type = kX11EmbedWindowID, IPlatformFrameConfig* config = nullptr);
	/** Closes the window (if any), removes every view and drops the caller's reference. */
	void close ();
	bool isOpen () const { return m_pPlatform != nullptr; }
	IPlatformFrame* getPlatformFrame () const { return m_pPlatform.get (); }

	/** Pixels per editor pixel of the window (content scale). */
	void setScaleFactor (double scale);
	double getScaleFactor () const { return m_dScale; }
	bool setSize (CCoord width, CCoord height);

	/** Draws the whole frame into an image at the scale; the caller destroys the surface. */
	cairo_surface_t* renderOffscreen (double scale) const;
	/** Draws the whole frame into a context whose user space is in editor pixels. */
	void drawFrame (CDrawContext* context) const;

	void invalid () override;
	void setDirty (bool state = true) override;
	/** True when something asked for a repaint since the last one. */
	bool needsRepaint () const { return m_bNeedsRepaint; }
	void repaintDone () { m_bNeedsRepaint = false; }
	/** Count of window repaints, for tests. */
	uint64_t getRepaintCount () const { return m_uRepaints; }
	void countRepaint () { ++m_uRepaints; }

	// Events from the platform window, in frame coordinates.
	CMouseEventResult platformMouseDown (CPoint where, const CButtonState& buttons);
	CMouseEventResult platformMouseMoved (CPoint where, const CButtonState& buttons);
	CMouseEventResult platformMouseUp (CPoint where, const CButtonState& buttons);
	bool platformWheel (CPoint where, CMouseWheelAxis axis, float distance, const CButtonState& buttons);
	bool platformKeyDown (VstKeyCode& key);

	void setFocusView (CView* view);
	CView* getFocusView () const { return m_pFocusView; }
	/** Called by a view that leaves the frame, so no dangling focus or capture remains. */
	void onViewRemoved (CView* view);

	CFrame* getFrame () { return this; }

	/** The editor showing this frame (not owned), asked for the knob mode. */
	void setEditor (VSTGUIEditorInterface* editor) { m_pEditor = editor; }
	VSTGUIEditorInterface* getEditor () const { return m_pEditor; }

private:
	VSTGUIEditorInterface* m_pEditor = nullptr;
	std::unique_ptr<IPlatformFrame> m_pPlatform;
	double m_dScale = 1;
	bool m_bNeedsRepaint = true;
	uint64_t m_uRepaints = 0;
	CView* m_pFocusView = nullptr;
};

} // namespace VSTGUI
