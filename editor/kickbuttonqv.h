// The framework's momentary button: like the stock kick button, but it reports on press, on
// release, or on both, as its mode says. UI thread.
#pragma once

#include "gui/ckickbutton.h"

class CKickButtonQV : public VSTGUI::CKickButton
{
public:
	CKickButtonQV(const VSTGUI::CRect& size, VSTGUI::IControlListener* pListener, int32_t nTag,
	              VSTGUI::CBitmap* pBackground, const VSTGUI::CPoint& offset);

	VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
	                                      const VSTGUI::CButtonState& buttons) override;
	VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

	int32_t m_nMode; // 0 reports on press and on release, 1 on release only, 2 on press only
};
