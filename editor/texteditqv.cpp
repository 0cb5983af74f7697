#include "texteditqv.h"

#include "unitstext.h"

CTextEditQV::CTextEditQV(const VSTGUI::CRect& size, VSTGUI::IControlListener* pListener, int32_t nTag,
                         const std::string& sText, VSTGUI::CBitmap* pBackground, int32_t nStyle)
    : CTextEdit(size, pListener, nTag, sText, pBackground, nStyle)
{}

CTextEditQV::~CTextEditQV() = default;

void CTextEditQV::setUnits(const char* szUnits)
{
	m_units = trimmedUnits(szUnits);
}

void CTextEditQV::setText(const std::string& sText)
{
	CTextEdit::setText(withUnits(sText, m_units));
}
