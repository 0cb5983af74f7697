#include "ctextedit.h"

#include "cframe.h"

namespace VSTGUI {

CTextEdit::CTextEdit (const CRect& size, IControlListener* listener, int32_t tag, const std::string& text,
                      CBitmap* background, int32_t style)
    : CTextLabel (size, text, background, style)
{
	setListener (listener);
	setTag (tag);
	setWantsFocus (true);
}

void CTextEdit::draw (CDrawContext* context)
{
	if (!m_bEditing)
	{
		CTextLabel::draw (context);
		return;
	}
	drawBack (context);
	drawText (context, m_EditText + "|");
	setDirty (false);
}

CMouseEventResult CTextEdit::onMouseDown (CPoint&, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	if (CFrame* frame = getFrame ())
		frame->setFocusView (this);
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::takeFocus ()
{
	m_bEditing = true;
	m_bCancelled = false;
	m_EditText = m_Text;
	invalid ();
}

void CTextEdit::looseFocus ()
{
	if (!m_bEditing)
		return;
	if (!m_bCancelled)
		commit ();
	m_bEditing = false;
	invalid ();
}

void CTextEdit::commit ()
{
	beginEdit ();
	m_Text = m_EditText;
	float value = getValue ();
	if (m_StringToValue && m_StringToValue (m_Text, value))
		setValue (value);
	valueChanged ();
	endEdit ();
}

int32_t CTextEdit::onKeyDown (VstKeyCode& key)
{
	if (!m_bEditing)
		return -1;
	switch (key.virt)
	{
		case VKEY_RETURN:
		case VKEY_ENTER:
		case VKEY_TAB:
			if (CFrame* frame = getFrame ())
				frame->setFocusView (nullptr);
			return 1;
		case VKEY_ESCAPE:
			m_bCancelled = true;
			if (CFrame* frame = getFrame ())
				frame->setFocusView (nullptr);
			return 1;
		case VKEY_BACK:
			// Removes the last UTF-8 character.
			while (!m_EditText.empty ())
			{
				unsigned char c = static_cast<unsigned char> (m_EditText.back ());
				m_EditText.pop_back ();
				if ((c & 0xC0) != 0x80)
					break;
			}
			invalid ();
			return 1;
		default: break;
	}
	if (!key.character.empty () && (key.modifier & (kControl | kAlt)) == 0)
	{
		m_EditText += key.character;
		invalid ();
		return 1;
	}
	return -1;
}

} // namespace VSTGUI
