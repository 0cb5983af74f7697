#include "cframe.h"

#include "cdrawcontext.h"
#include "platform/iplatformframe.h"

#include <cairo.h>

#include <cmath>

namespace VSTGUI {

CFrame::CFrame (const CRect& size)
    : CViewContainer (size)
{}

CFrame::~CFrame ()
{
	m_pFocusView = nullptr;
	removeAll (true);
	m_pPlatform.reset ();
}

bool CFrame::open (void* parent, PlatformType type, IPlatformFrameConfig* config)
{
	if (m_pPlatform || !parent)
		return false;
	m_pPlatform = createPlatformFrame (this, parent, type, config);
	return m_pPlatform != nullptr;
}

void CFrame::close ()
{
	m_pPlatform.reset ();
	m_pFocusView = nullptr;
	removeAll (true);
	forget ();
}

void CFrame::setScaleFactor (double scale)
{
	if (!(scale > 0) || scale > 8)
		return;
	m_dScale = scale;
	if (m_pPlatform)
		m_pPlatform->resize (static_cast<int> (std::lround (getWidth () * scale)),
		                     static_cast<int> (std::lround (getHeight () * scale)));
	invalid ();
}

bool CFrame::setSize (CCoord width, CCoord height)
{
	if (width < 0 || height < 0)
		return false;
	m_Size = CRect (0, 0, width, height);
	if (m_pPlatform)
		m_pPlatform->resize (static_cast<int> (std::lround (width * m_dScale)),
		                     static_cast<int> (std::lround (height * m_dScale)));
	invalid ();
	return true;
}

void CFrame::drawFrame (CDrawContext* context) const
{
	const_cast<CFrame*> (this)->CViewContainer::draw (context);
}

cairo_surface_t* CFrame::renderOffscreen (double scale) const
{
	int w = static_cast<int> (std::lround (getWidth () * scale));
	int h = static_cast<int> (std::lround (getHeight () * scale));
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
	cairo_t* cr = cairo_create (surface);
	cairo_scale (cr, scale, scale);
	{
		CDrawContext context (cr, scale);
		drawFrame (&context);
	}
	cairo_destroy (cr);
	cairo_surface_flush (surface);
	return surface;
}

void CFrame::invalid ()
{
	m_bNeedsRepaint = true;
	if (m_pPlatform)
		m_pPlatform->invalidate ();
}

void CFrame::setDirty (bool state)
{
	if (state)
		invalid ();
	else
		CViewContainer::setDirty (false);
}

CMouseEventResult CFrame::platformMouseDown (CPoint where, const CButtonState& buttons)
{
	// A click elsewhere ends a text edit.
	if (m_pFocusView)
	{
		CPoint p = where;
		m_pFocusView->frameToLocal (p);
		if (!m_pFocusView->getViewSize ().pointInside (p))
			setFocusView (nullptr);
	}
	return onMouseDown (where, buttons);
}

CMouseEventResult CFrame::platformMouseMoved (CPoint where, const CButtonState& buttons)
{
	return onMouseMoved (where, buttons);
}

CMouseEventResult CFrame::platformMouseUp (CPoint where, const CButtonState& buttons)
{
	return onMouseUp (where, buttons);
}

bool CFrame::platformWheel (CPoint where, CMouseWheelAxis axis, float distance, const CButtonState& buttons)
{
	return onWheel (where, axis, distance, buttons);
}

bool CFrame::platformKeyDown (VstKeyCode& key)
{
	if (m_pFocusView && m_pFocusView->onKeyDown (key) == 1)
		return true;
	return false;
}

void CFrame::setFocusView (CView* view)
{
	if (view == m_pFocusView)
		return;
	CView* old = m_pFocusView;
	m_pFocusView = view;
	if (old)
		old->looseFocus ();
	if (m_pFocusView)
		m_pFocusView->takeFocus ();
	invalid ();
}

void CFrame::onViewRemoved (CView* view)
{
	if (!m_pFocusView)
		return;
	if (m_pFocusView == view ||
	    (view->isContainer () && static_cast<CViewContainer*> (view)->isChild (m_pFocusView, true)))
		m_pFocusView = nullptr;
}

} // namespace VSTGUI
