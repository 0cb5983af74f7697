#include "textlabelqv.h"

#include "unitstext.h"

CTextLabelQV::CTextLabelQV(const VSTGUI::CRect& size, const std::string& sText, VSTGUI::CBitmap* pBackground,
                           int32_t nStyle)
    : CTextLabel(size, sText, pBackground, nStyle)
{}

CTextLabelQV::~CTextLabelQV() = default;

void CTextLabelQV::setUnits(const char* szUnits)
{
	m_units = trimmedUnits(szUnits);
}

void CTextLabelQV::setText(const std::string& sText)
{
	CTextLabel::setText(withUnits(sText, m_units));
}
