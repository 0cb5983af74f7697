#include "cview.h"

#include "cdrawcontext.h"
#include "cframe.h"
#include "icontroller.h"

namespace VSTGUI {

CView::CView (const CRect& size)
    : m_Size (size)
{}

CView::~CView ()
{
	if (m_pBackground)
		m_pBackground->forget ();
	delete m_pSubController;
}

void CView::setSubController (IController* controller)
{
	if (controller == m_pSubController)
		return;
	delete m_pSubController;
	m_pSubController = controller;
}

void CView::setViewSize (const CRect& r, bool invalidate)
{
	if (invalidate)
		this->invalid ();
	m_Size = r;
	if (invalidate)
		this->invalid ();
}

void CView::draw (CDrawContext* context)
{
	if (m_pBackground)
		context->drawBitmap (*m_pBackground, m_Size);
	setDirty (false);
}

void CView::setDirty (bool state)
{
	m_bDirty = state;
	if (state)
		invalid ();
}

void CView::invalid ()
{
	if (CFrame* frame = getFrame ())
		if (frame != this)
			frame->invalid ();
}

void CView::invalidRect (const CRect&)
{
	invalid ();
}

void CView::setBackground (CBitmap* bitmap)
{
	if (bitmap)
		bitmap->remember ();
	if (m_pBackground)
		m_pBackground->forget ();
	m_pBackground = bitmap;
	invalid ();
}

void CView::setVisible (bool state)
{
	if (m_bVisible == state)
		return;
	m_bVisible = state;
	if (CFrame* frame = getFrame ())
	{
		if (!state)
			frame->onViewRemoved (this);
		frame->invalid ();
	}
}

CMouseEventResult CView::onMouseDown (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseUp (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseMoved (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseCancel ()
{
	return kMouseEventNotImplemented;
}

bool CView::onWheel (const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&)
{
	return false;
}

int32_t CView::onKeyDown (VstKeyCode&)
{
	return -1;
}

bool CView::attached (CView* parent)
{
	if (m_pParent)
		return false;
	m_pParent = parent;
	return true;
}

bool CView::removed (CView* parent)
{
	if (CFrame* frame = getFrame ())
		frame->onViewRemoved (this);
	m_pParent = nullptr;
	return true;
}

CFrame* CView::getFrame () const
{
	const CView* v = this;
	while (v->m_pParent)
		v = v->m_pParent;
	return dynamic_cast<CFrame*> (const_cast<CView*> (v));
}

CPoint& CView::localToFrame (CPoint& p) const
{
	for (const CView* v = m_pParent; v && v->m_pParent; v = v->m_pParent)
		p.offset (v->m_Size.left, v->m_Size.top);
	return p;
}

CPoint& CView::frameToLocal (CPoint& p) const
{
	for (const CView* v = m_pParent; v && v->m_pParent; v = v->m_pParent)
		p.offset (-v->m_Size.left, -v->m_Size.top);
	return p;
}

bool CView::getAttribute (const std::string& name, std::string& value) const
{
	auto it = m_Attributes.find (name);
	if (it == m_Attributes.end ())
		return false;
	value = it->second;
	return true;
}

} // namespace VSTGUI
