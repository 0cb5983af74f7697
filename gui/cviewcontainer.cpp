#include "cviewcontainer.h"

#include "cdrawcontext.h"
#include "cframe.h"

#include <algorithm>

namespace VSTGUI {

CViewContainer::CViewContainer (const CRect& size)
    : CView (size)
{}

CViewContainer::~CViewContainer ()
{
	removeAll (true);
}

bool CViewContainer::addView (CView* view)
{
	if (!view || view->isAttached ())
		return false;
	m_Children.push_back (view);
	view->attached (this);
	invalid ();
	return true;
}

bool CViewContainer::removeView (CView* view, bool withForget)
{
	auto it = std::find (m_Children.begin (), m_Children.end (), view);
	if (it == m_Children.end ())
		return false;
	if (m_pMouseDownView == view)
		m_pMouseDownView = nullptr;
	m_Children.erase (it);
	view->removed (this);
	invalid ();
	if (withForget)
		view->forget ();
	return true;
}

bool CViewContainer::removeAll (bool withForget)
{
	m_pMouseDownView = nullptr;
	while (!m_Children.empty ())
	{
		CView* view = m_Children.back ();
		m_Children.pop_back ();
		view->removed (this);
		if (withForget)
			view->forget ();
	}
	return true;
}

CView* CViewContainer::getView (int32_t index) const
{
	if (index < 0 || index >= getNbViews ())
		return nullptr;
	return m_Children[static_cast<size_t> (index)];
}

bool CViewContainer::isChild (CView* view, bool deep) const
{
	for (CView* v : m_Children)
	{
		if (v == view)
			return true;
		if (deep && v->isContainer () && static_cast<CViewContainer*> (v)->isChild (view, true))
			return true;
	}
	return false;
}

CView* CViewContainer::getViewAt (const CPoint& where, bool deep) const
{
	CPoint local (where.x - m_Size.left, where.y - m_Size.top);
	for (auto it = m_Children.rbegin (); it != m_Children.rend (); ++it)
	{
		CView* v = *it;
		if (!v->isVisible () || !v->getViewSize ().pointInside (local))
			continue;
		if (deep && v->isContainer ())
		{
			if (CView* inner = static_cast<CViewContainer*> (v)->getViewAt (local, true))
				return inner;
		}
		return v;
	}
	return nullptr;
}

void CViewContainer::drawBackgroundRect (CDrawContext* context, const CRect& r)
{
	if (!getTransparency ())
	{
		context->setFillColor (m_BackgroundColor);
		context->drawRect (r, kDrawFilled);
	}
	if (m_pBackground)
		context->drawBitmap (*m_pBackground, r, m_BackgroundOffset);
}

void CViewContainer::draw (CDrawContext* context)
{
	// Children are positioned relative to this container and clipped to it.
	context->saveGlobalState ();
	context->translate (m_Size.left, m_Size.top);
	CRect local (0, 0, m_Size.getWidth (), m_Size.getHeight ());
	context->clipRect (local);
	drawBackgroundRect (context, local);
	for (CView* v : m_Children)
	{
		if (!v->isVisible () || !v->getViewSize ().rectOverlap (local))
			continue;
		context->saveGlobalState ();
		context->clipRect (v->getViewSize ());
		v->draw (context);
		context->restoreGlobalState ();
	}
	context->restoreGlobalState ();
	m_bDirty = false;
}

void CViewContainer::setDirty (bool state)
{
	CView::setDirty (state);
	if (!state)
		for (CView* v : m_Children)
			v->setDirty (false);
}

namespace {
bool routes (CMouseEventResult r)
{
	return r != kMouseEventNotHandled && r != kMouseEventNotImplemented;
}
} // namespace

CMouseEventResult CViewContainer::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	CPoint local (where.x - m_Size.left, where.y - m_Size.top);
	for (auto it = m_Children.rbegin (); it != m_Children.rend (); ++it)
	{
		CView* v = *it;
		if (!v->isVisible () || !v->getMouseEnabled () || !v->getViewSize ().pointInside (local))
			continue;
		CPoint p = local;
		CMouseEventResult result = v->onMouseDown (p, buttons);
		if (routes (result))
		{
			if (result == kMouseEventHandled)
				m_pMouseDownView = v;
			return result;
		}
		// A view that did not want the click lets the views below it try.
	}
	return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!m_pMouseDownView)
		return kMouseEventNotHandled;
	CPoint p (where.x - m_Size.left, where.y - m_Size.top);
	CMouseEventResult result = m_pMouseDownView->onMouseMoved (p, buttons);
	if (result == kMouseMoveEventHandledButDontNeedMoreEvents)
		m_pMouseDownView = nullptr;
	return result;
}

CMouseEventResult CViewContainer::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	CView* v = m_pMouseDownView;
	if (!v)
		return kMouseEventNotHandled;
	m_pMouseDownView = nullptr;
	CPoint p (where.x - m_Size.left, where.y - m_Size.top);
	return v->onMouseUp (p, buttons);
}

CMouseEventResult CViewContainer::onMouseCancel ()
{
	CView* v = m_pMouseDownView;
	m_pMouseDownView = nullptr;
	return v ? v->onMouseCancel () : kMouseEventNotHandled;
}

bool CViewContainer::onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                              const CButtonState& buttons)
{
	CPoint local (where.x - m_Size.left, where.y - m_Size.top);
	for (auto it = m_Children.rbegin (); it != m_Children.rend (); ++it)
	{
		CView* v = *it;
		if (!v->isVisible () || !v->getMouseEnabled () || !v->getViewSize ().pointInside (local))
			continue;
		if (v->onWheel (local, axis, distance, buttons))
			return true;
	}
	return false;
}

bool CViewContainer::attached (CView* parent)
{
	return CView::attached (parent);
}

bool CViewContainer::removed (CView* parent)
{
	m_pMouseDownView = nullptr;
	return CView::removed (parent);
}

} // namespace VSTGUI
