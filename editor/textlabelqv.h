// A text label that shows the units of its control after every text it is given
// ("10.00" becomes "10.00 msec"). UI thread.
#pragma once

#include "gui/ctextlabel.h"

#include <string>

class CTextLabelQV : public VSTGUI::CTextLabel
{
public:
	CTextLabelQV(const VSTGUI::CRect& size, const std::string& sText, VSTGUI::CBitmap* pBackground,
	             int32_t nStyle);
	~CTextLabelQV() override;

	// Keeps the units (trailing blanks removed); they show from the next setText on.
	void setUnits(const char* szUnits);
	void setText(const std::string& sText) override;

	std::string m_units; // shown after the text, or empty
};
