#include "customviewsfixture.h"

namespace customviewstest {

namespace {
std::string textOf (const char* sz)
{
	return sz ? sz : "(null)";
}
} // namespace

CViewPlugIn::CViewPlugIn ()
    : CTestPlugIn ({{kKindParameter, kValueFloat, "Delay", 0, 100, 10, "", "msec"},
                    {kKindParameter, kValueFloat, "Gain", -24, 24, 0, "", "dB \t"},
                    {kKindParameter, kValueFloat, "Pan", -1, 1, 0, "", " dB"},
                    {kKindMeter, kValueNone, "Level"},
                    {kKindParameter, kValueFloat, "X", 0, 1, 0.5f},
                    {kKindParameter, kValueFloat, "Y", 0, 1, 0.5f}})
{
	m_bUseEditor = true;
	CControlDescriptor* pLevel = m_controls.at (kLevel);
	pLevel->m_uMeterMode = 0;
	pLevel->m_bMeterLog = false;
	pLevel->m_fMeterAttackMsec = 0.0f;
	pLevel->m_fMeterReleaseMsec = 250.0f;
}

void* CViewPlugIn::editorMessage (CGuiMessageRecord* pMessage)
{
	if (pMessage->m_uCode != kGuiCustomView)
	{
		m_Other.push_back (*pMessage);
		m_OtherBitmaps.push_back (textOf (pMessage->m_szBitmap));
		return nullptr;
	}
	CViewRequest r;
	r.m_Record = *pMessage;
	r.m_sViewName = textOf (pMessage->m_szViewName);
	r.m_sText = textOf (pMessage->m_szText);
	r.m_sBitmap = textOf (pMessage->m_szBitmap);
	r.m_sHandleBitmap = textOf (pMessage->m_szHandleBitmap);
	r.m_sOffBitmap = textOf (pMessage->m_szOffBitmap);
	r.m_sOrientation = textOf (pMessage->m_szOrientation);
	if ((r.m_bBackColor = pMessage->m_pBackColor != nullptr))
		r.m_BackColor = *pMessage->m_pBackColor;
	if ((r.m_bFrameColor = pMessage->m_pFrameColor != nullptr))
		r.m_FrameColor = *pMessage->m_pFrameColor;
	if ((r.m_bFontColor = pMessage->m_pFontColor != nullptr))
		r.m_FontColor = *pMessage->m_pFontColor;
	m_Requests.push_back (r);
	return nullptr;
}

} // namespace customviewstest
