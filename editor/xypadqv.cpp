#include "xypadqv.h"

#include "gui/cdrawcontext.h"

#include <algorithm>

using namespace VSTGUI;

namespace {
// A plain left button: modifier keys allowed, no other button.
bool isPlainLeft(const CButtonState& buttons)
{
	return buttons.isLeftButton() && !(buttons & (kMButton | kRButton));
}

float unit(float f)
{
	return std::min(1.0f, std::max(0.0f, f));
}
} // namespace

CXYPadQV::CXYPadQV(const CRect& size)
    : CXYPad(size)
    , m_bTracking(false)
    , m_bJoystick(false)
    , m_fPolyX{0.0f, 0.5f, 1.0f, 0.5f}
    , m_fPolyY{0.5f, 0.0f, 0.5f, 1.0f}
    , m_fLastX(0.0f)
    , m_fLastY(0.0f)
{}

bool CXYPadQV::isInside(float x, float y) const
{
	bool bInside = false;
	for (int i = 0, j = 3; i < 4; j = i++)
	{
		if ((y < m_fPolyY[i]) != (y < m_fPolyY[j]) &&
		    x < (m_fPolyX[j] - m_fPolyX[i]) * (y - m_fPolyY[i]) / (m_fPolyY[j] - m_fPolyY[i]) + m_fPolyX[i])
			bInside = !bInside;
	}
	return bInside;
}

void CXYPadQV::setValue(float fValue)
{
	if (m_bTracking)
	{
		CXYPad::setValue(fValue);
		return;
	}
	float x, y;
	calculateXY(fValue, x, y);
	float fScreenY = 1.0f - y;
	if (m_bJoystick)
	{
		// A position outside the diamond is not shown; the handle stays where it is.
		if (!isInside(x, fScreenY))
			return;
		CXYPad::setValue(calculateValue(x, fScreenY));
		return;
	}
	CXYPad::setValue(calculateValue(unit(x), unit(fScreenY)));
}

CMouseEventResult CXYPadQV::onMouseDown(CPoint& where, const CButtonState& buttons)
{
	if (!isPlainLeft(buttons))
		return kMouseEventNotHandled;
	CCoord r = getRoundRectRadius();
	m_MouseStartPoint = where - CPoint(m_Size.left + r / 2, m_Size.top + r / 2);
	m_bTracking = true;
	if (m_bJoystick && !isInside(m_fLastX, m_fLastY))
	{
		// No position inside the diamond yet (the corner it starts at is outside): a press
		// outside the diamond keeps the handle where it is shown, or in the middle.
		float x, y;
		calculateXY(getValue(), x, y);
		bool bShownInside = isInside(x, y);
		m_fLastX = bShownInside ? x : 0.5f;
		m_fLastY = bShownInside ? y : 0.5f;
	}
	// The gesture opens before the first value goes out, so the host sees every edit inside it.
	if (!isEditing())
		beginEdit();
	onMouseMoved(where, buttons);
	return kMouseEventHandled;
}

CMouseEventResult CXYPadQV::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
	if (!isPlainLeft(buttons))
	{
		m_bTracking = false;
		return kMouseEventNotHandled;
	}
	if (getStopTrackingOnMouseExit() && !m_Size.pointInside(where))
	{
		m_bTracking = false;
		endEdit();
		return kMouseMoveEventHandledButDontNeedMoreEvents;
	}
	CCoord r = getRoundRectRadius();
	CPoint p = where - CPoint(m_Size.left + r / 2, m_Size.top + r / 2);
	CCoord w = getWidth() - r, h = getHeight() - r;
	float x = w > 0 ? static_cast<float>(p.x / w) : 0.0f;
	float y = h > 0 ? static_cast<float>(p.y / h) : 0.0f;
	if (m_bJoystick)
	{
		if (isInside(x, y))
		{
			x = unit(x);
			y = unit(y);
			m_fLastX = x;
			m_fLastY = y;
		}
		else
		{
			// Outside the diamond the handle stays at the last position inside it.
			x = m_fLastX;
			y = m_fLastY;
		}
	}
	else
	{
		x = unit(x);
		y = unit(y);
	}
	if (m_bTracking)
	{
		// The listener reads the upward-growing value; the pad keeps the screen value.
		float fBefore = getValue();
		setValue(calculateValue(x, 1.0f - y));
		if (m_pListener && getValue() != fBefore)
			m_pListener->valueChanged(this);
		setValue(calculateValue(x, y));
	}
	invalid();
	m_bTracking = true;
	m_LastMousePoint = p;
	return kMouseEventHandled;
}

CMouseEventResult CXYPadQV::onMouseUp(CPoint& where, const CButtonState& buttons)
{
	m_bTracking = false;
	return CXYPad::onMouseUp(where, buttons);
}

CMouseEventResult CXYPadQV::onMouseCancel()
{
	m_bTracking = false;
	return CXYPad::onMouseCancel();
}

void CXYPadQV::draw(CDrawContext* pContext)
{
	if (m_bJoystick)
	{
		CCoord midX = (m_Size.left + m_Size.right) / 2, midY = (m_Size.top + m_Size.bottom) / 2;
		const CPoint diamond[5] = {{m_Size.left, midY},
		                           {midX, m_Size.top},
		                           {m_Size.right, midY},
		                           {midX, m_Size.bottom},
		                           {m_Size.left, midY}};
		pContext->setFillColor(getBackColor());
		pContext->setFrameColor(getFrameColor());
		pContext->setLineWidth(2);
		pContext->drawPolygon(diamond, 5, kDrawFilledAndStroked);
		pContext->setLineWidth(1);
		pContext->drawLine(CPoint(midX, m_Size.top), CPoint(midX, m_Size.bottom));
		pContext->drawLine(CPoint(m_Size.left, midY), CPoint(m_Size.right, midY));
	}
	else
	{
		drawBack(pContext);
	}
	pContext->setFillColor(getFontColor());
	pContext->drawEllipse(handleRect(), kDrawFilled);
	setDirty(false);
}
