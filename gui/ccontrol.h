// A view with a value: range, default, tag, the listener it reports to and the edit gestures
// (beginEdit ... valueChanged ... endEdit) around a user's change.
#pragma once

#include "cview.h"
#include "icontroller.h"

namespace VSTGUI {

class CControl : public CView
{
public:
	CControl (const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
	          CBitmap* background = nullptr);

	virtual void setValue (float value);
	float getValue () const { return m_fValue; }
	virtual void setValueNormalized (float value);
	float getValueNormalized () const;
	void setMin (float v) { m_fMin = v; }
	float getMin () const { return m_fMin; }
	void setMax (float v) { m_fMax = v; }
	float getMax () const { return m_fMax; }
	float getRange () const { return m_fMax - m_fMin; }
	void setDefaultValue (float v) { m_fDefault = v; }
	float getDefaultValue () const { return m_fDefault; }
	void setWheelInc (float v) { m_fWheelInc = v; }
	float getWheelInc () const { return m_fWheelInc; }

	void setTag (int32_t tag) { m_nTag = tag; }
	int32_t getTag () const { return m_nTag; }
	void setListener (IControlListener* l) { m_pListener = l; }
	IControlListener* getListener () const { return m_pListener; }

	/** Holds the value inside min..max. */
	void bounceValue ();
	/** Reports the value to the listener. */
	virtual void valueChanged ();
	virtual void beginEdit ();
	virtual void endEdit ();
	bool isEditing () const { return m_nEditing > 0; }

protected:
	IControlListener* m_pListener;
	int32_t m_nTag;
	float m_fValue = 0;
	float m_fMin = 0;
	float m_fMax = 1;
	float m_fDefault = 0.5f;
	float m_fWheelInc = 0.1f;
	int32_t m_nEditing = 0; // nesting of beginEdit/endEdit
};

} // namespace VSTGUI
