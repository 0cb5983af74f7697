// The editor built from the description: the stock description editor plus a 50 ms timer that
// pings the plug-in and repaints everything, the knob mode the plug-in asks for, and the
// plug-in's linked changes after every control change. UI thread only.
#pragma once

#include "gui/plugin-bindings/vst3editor.h"
#include "plugincore/controllist.h"

class CPlugIn;

class VST3EditorQV : public VSTGUI::VST3Editor
{
public:
	VST3EditorQV(Steinberg::Vst::EditController* pController, VSTGUI::UTF8StringPtr szTemplateName,
	             VSTGUI::UTF8StringPtr szXmlFile);
	~VST3EditorQV() override;

	/** Attaches the plug-in and copies its control list (once, right after construction). */
	void setPlugIn(CPlugIn* pPlugIn);
	/** Position of a control ID in the copy, or -1 (also without a plug-in). */
	int32_t indexOfId(uint32_t uId) const;
	/** Asks the plug-in which controls follow a change and edits them. */
	void applyLinkedChanges(uint32_t uId, float fValue, bool bFlag);

	int32_t getKnobMode() const override;
	bool beforeSizeChange(const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) override;
	VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* pSender, VSTGUI::IdStringPtr szMessage) override;
	void valueChanged(VSTGUI::CControl* pControl) override;

	CControlList m_controlsCopy; // the plug-in's controls, copied by setPlugIn
	int32_t m_nKnobMode;         // 0 circular, 1 relative circular, 2 linear, 3 host's
	CPlugIn* m_pPlugIn;          // not owned
};
