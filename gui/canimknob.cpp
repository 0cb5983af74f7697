#include "canimknob.h"

#include "cdrawcontext.h"
#include "cframe.h"

#include <cmath>

namespace VSTGUI {

CKnobBase::CKnobBase (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
    : CControl (size, listener, tag, background)
{
	setWantsFocus (true);
}

int32_t CKnobBase::knobMode () const
{
	if (CFrame* frame = getFrame ())
		if (VSTGUIEditorInterface* editor = frame->getEditor ())
			return editor->getKnobMode ();
	return kCircularMode;
}

double CKnobBase::angleOf (const CPoint& where) const
{
	CPoint c = m_Size.getCenter ();
	double a = std::atan2 (where.y - c.y, where.x - c.x) * 180.0 / M_PI;
	return a < 0 ? a + 360 : a;
}

float CKnobBase::valueFromPoint (const CPoint& where) const
{
	if (m_fRangeAngle == 0)
		return getValueNormalized ();
	double d = std::fmod (angleOf (where) - m_fStartAngle + 720.0, 360.0);
	double range = std::fabs (m_fRangeAngle);
	if (m_fRangeAngle < 0)
		d = std::fmod (360.0 - d, 360.0);
	if (d > range)
		// In the gap below the scale: snap to the nearer end.
		return d > range + (360.0 - range) / 2 ? 0.f : 1.f;
	return static_cast<float> (d / range);
}

CMouseEventResult CKnobBase::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	beginEdit ();
	if ((buttons & kControl) || buttons.isDoubleClick ())
	{
		setValue (getDefaultValue ());
		bounceValue ();
		invalid ();
		valueChanged ();
		endEdit ();
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	}
	m_bDragging = true;
	m_FirstPoint = where;
	m_fStartValue = m_fEntryValue = getValueNormalized ();
	m_nModeAtDown = knobMode ();
	m_nOldModifiers = buttons.getModifierState ();
	m_dLastAngle = angleOf (where);
	if (m_nModeAtDown == kCircularMode)
		onMouseMoved (where, buttons);
	return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!m_bDragging)
		return kMouseEventNotHandled;
	float value = getValueNormalized ();
	int32_t modifiers = buttons.getModifierState ();
	if (m_nModeAtDown == kLinearMode)
	{
		// A change of the fine-adjust modifier restarts the drag from here, so the value
		// does not jump.
		if ((modifiers & kShift) != (m_nOldModifiers & kShift))
		{
			m_FirstPoint = where;
			m_fEntryValue = value;
			m_nOldModifiers = modifiers;
		}
		CCoord range = kLinearRange;
		if (modifiers & kShift)
			range *= m_fZoomFactor;
		CCoord diff = (m_FirstPoint.y - where.y) + (where.x - m_FirstPoint.x);
		value = static_cast<float> (m_fEntryValue + diff / range);
	}
	else if (m_nModeAtDown == kRelativCircularMode)
	{
		double a = angleOf (where);
		double delta = a - m_dLastAngle;
		if (delta > 180)
			delta -= 360;
		else if (delta < -180)
			delta += 360;
		m_dLastAngle = a;
		if (m_fRangeAngle != 0)
		{
			double scale = (modifiers & kShift) ? m_fZoomFactor : 1.0;
			value = static_cast<float> (value + delta / m_fRangeAngle / scale);
		}
	}
	else
		value = valueFromPoint (where);
	value = std::min (1.f, std::max (0.f, value));
	if (value != getValueNormalized ())
	{
		setValueNormalized (value);
		valueChanged ();
		invalid ();
	}
	return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	if (!m_bDragging)
		return kMouseEventNotHandled;
	m_bDragging = false;
	endEdit ();
	return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseCancel ()
{
	if (!m_bDragging)
		return kMouseEventNotHandled;
	m_bDragging = false;
	if (getValueNormalized () != m_fStartValue)
	{
		setValueNormalized (m_fStartValue);
		valueChanged ();
	}
	endEdit ();
	return kMouseEventHandled;
}

bool CKnobBase::onWheel (const CPoint&, const CMouseWheelAxis& axis, const float& distance,
                         const CButtonState& buttons)
{
	if (axis != kMouseWheelAxisY || distance == 0)
		return false;
	float step = getWheelInc () * ((buttons & kShift) ? 0.1f : 1.f);
	float value = std::min (1.f, std::max (0.f, getValueNormalized () + distance * step));
	beginEdit ();
	if (value != getValueNormalized ())
	{
		setValueNormalized (value);
		valueChanged ();
		invalid ();
	}
	endEdit ();
	return true;
}

CAnimKnob::CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                      const CPoint& offset)
    : CKnobBase (size, listener, tag, background)
    , m_Offset (offset)
{
	if (background && size.getHeight () > 0)
	{
		m_dHeightOfOneImage = size.getHeight ();
		m_nSubPixmaps =
		    std::max<int32_t> (1, static_cast<int32_t> (background->getHeight () / size.getHeight ()));
	}
}

int32_t CAnimKnob::getFrameIndex () const
{
	float v = std::min (1.f, std::max (0.f, getValueNormalized ()));
	if (m_bInverseBitmap)
		v = 1.f - v;
	return static_cast<int32_t> (v * (m_nSubPixmaps - 1) + 0.5f);
}

void CAnimKnob::draw (CDrawContext* context)
{
	if (CBitmap* bitmap = getDrawBackground ())
	{
		CCoord h = m_dHeightOfOneImage > 0 ? m_dHeightOfOneImage : getHeight ();
		CPoint where (m_Offset.x, m_Offset.y + h * getFrameIndex ());
		context->drawBitmap (*bitmap, m_Size, where);
	}
	setDirty (false);
}

} // namespace VSTGUI
