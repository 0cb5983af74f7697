// An editable text: a click takes the key focus, keys edit a working copy shown with a caret,
// Return (or a click elsewhere) commits it and reports the change, Escape drops it.
#pragma once

#include "ctextlabel.h"

namespace VSTGUI {

class CTextEdit : public CTextLabel
{
public:
	CTextEdit (const CRect& size, IControlListener* listener, int32_t tag, const std::string& text = "",
	           CBitmap* background = nullptr, int32_t style = 0);

	/** Turns a committed text into the control's value; without one the value stays. */
	using StringToValue = std::function<bool (const std::string& text, float& value)>;
	void setStringToValueFunction (StringToValue fn) { m_StringToValue = std::move (fn); }

	bool isEditingText () const { return m_bEditing; }
	const std::string& getEditText () const { return m_EditText; }

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	int32_t onKeyDown (VstKeyCode& keyCode) override;
	void takeFocus () override;
	void looseFocus () override;

private:
	void commit ();

	StringToValue m_StringToValue;
	std::string m_EditText; // working copy while editing
	bool m_bEditing = false;
	bool m_bCancelled = false;
};

} // namespace VSTGUI
