// What the custom view tests share: a plug-in whose controls the views refer to (units, a
// meter, two pad axes) and that records every code 3 request with copies of its texts, a
// processor bound to it, and a listener that records what a control reports.
#pragma once

#include "../editor/editorfixture.h"
#include "../hostbinding/testplugin.h"

#include "hostbinding/processor.h"

#include "gui/ccolor.h"
#include "gui/ccontrol.h"

#include <memory>
#include <string>
#include <vector>

namespace customviewstest {

// Control positions of CViewPlugIn.
enum
{
	kDelay = 0, // units "msec"
	kGain,      // units "dB", a space and a tab after it
	kPan,       // units " dB"
	kLevel,     // a meter
	kPadX,
	kPadY,
};

// A code 3 request as the plug-in saw it, texts and colours copied during the call.
struct CViewRequest
{
	CGuiMessageRecord m_Record;
	std::string m_sViewName, m_sText, m_sBitmap, m_sHandleBitmap, m_sOffBitmap, m_sOrientation;
	bool m_bBackColor = false, m_bFrameColor = false, m_bFontColor = false;
	VSTGUI::CColor m_BackColor, m_FrameColor, m_FontColor;
};

class CViewPlugIn : public CTestPlugIn
{
public:
	CViewPlugIn ();
	void* editorMessage (CGuiMessageRecord* pMessage) override;

	std::vector<CViewRequest> m_Requests;    // code 3
	std::vector<CGuiMessageRecord> m_Other;  // every other code (pointers not to be followed)
	std::vector<std::string> m_OtherBitmaps; // m_szBitmap of each other message, as a text
};

// A processor bound to the plug-in (null: a processor without a plug-in), initialized.
using editortest::ProcessorPtr;
inline ProcessorPtr makeProcessor (CPlugIn* pPlugIn)
{
	return editortest::makeProcessorWith (pPlugIn);
}

class CRecordingListener : public VSTGUI::IControlListener
{
public:
	void valueChanged (VSTGUI::CControl* pControl) override { m_Values.push_back (pControl->getValue ()); }
	void controlBeginEdit (VSTGUI::CControl*) override { m_Log += 'b'; }
	void controlEndEdit (VSTGUI::CControl*) override { m_Log += 'e'; }

	std::vector<float> m_Values; // every report, in order
	std::string m_Log;           // 'b' and 'e' for the gestures
};

// The built bundle's resources (the tests do not run from inside it).
using editortest::resourceFolder;

} // namespace customviewstest
