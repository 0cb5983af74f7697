// A text edit that shows the units of its control after every text it is given. UI thread.
#pragma once

#include "gui/ctextedit.h"

#include <string>

class CTextEditQV : public VSTGUI::CTextEdit
{
public:
	CTextEditQV(const VSTGUI::CRect& size, VSTGUI::IControlListener* pListener, int32_t nTag,
	            const std::string& sText, VSTGUI::CBitmap* pBackground, int32_t nStyle);
	~CTextEditQV() override;

	// Keeps the units (trailing blanks removed); they show from the next setText on.
	void setUnits(const char* szUnits);
	void setText(const std::string& sText) override;

	std::string m_units; // shown after the text, or empty
};
