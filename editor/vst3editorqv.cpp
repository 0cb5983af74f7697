#include "vst3editorqv.h"

#include "plugincore/plugin.h"

#include "gui/ccontrol.h"
#include "gui/cvstguitimer.h"

using namespace Steinberg;

VST3EditorQV::VST3EditorQV(Vst::EditController* pController, VSTGUI::UTF8StringPtr szTemplateName,
                           VSTGUI::UTF8StringPtr szXmlFile)
    : VST3Editor(pController, szTemplateName, szXmlFile)
    , m_nKnobMode(3)
    , m_pPlugIn(nullptr)
{
	setIdleRate(50);
}

VST3EditorQV::~VST3EditorQV()
{
	m_controlsCopy.clear();
}

void VST3EditorQV::setPlugIn(CPlugIn* pPlugIn)
{
	m_pPlugIn = pPlugIn;
	if (!pPlugIn)
		return;
	for (int32_t i = 0; i < pPlugIn->m_controls.count(); ++i)
		if (const CControlDescriptor* pEntry = pPlugIn->m_controls.at(i))
			m_controlsCopy.append(*pEntry);
}

int32_t VST3EditorQV::indexOfId(uint32_t uId) const
{
	if (!m_pPlugIn)
		return -1;
	return m_controlsCopy.indexOfId(uId);
}

int32_t VST3EditorQV::getKnobMode() const
{
	switch (m_nKnobMode)
	{
		case 0: return VSTGUI::kCircularMode;
		case 1: return VSTGUI::kRelativCircularMode;
		case 2: return VSTGUI::kLinearMode;
		case 3:
			switch (Vst::EditController::getHostKnobMode())
			{
				case Vst::kCircularMode: return VSTGUI::kCircularMode;
				case Vst::kRelativCircularMode: return VSTGUI::kRelativCircularMode;
				default: return VSTGUI::kLinearMode;
			}
		default: return VSTGUI::kLinearMode;
	}
}

bool VST3EditorQV::beforeSizeChange(const VSTGUI::CRect&, const VSTGUI::CRect&)
{
	return true;
}

VSTGUI::CMessageResult VST3EditorQV::notify(VSTGUI::CBaseObject* pSender, VSTGUI::IdStringPtr szMessage)
{
	if (szMessage == VSTGUI::CVSTGUITimer::kMsgTimer && controller)
	{
		controller->receiveText("VSTGUITimerPing");
		if (frame)
			frame->invalid();
	}
	bool bRecreatePending = isRecreateViewPending();
	VSTGUI::CMessageResult result = VST3Editor::notify(pSender, szMessage);
	if (bRecreatePending && controller)
		controller->receiveText("RecreateView");
	return result;
}

void VST3EditorQV::valueChanged(VSTGUI::CControl* pControl)
{
	VST3Editor::valueChanged(pControl);
	if (!lastEditAccepted() || !m_pPlugIn || !controller)
		return;
	int32_t nTag = pControl->getTag();
	double dPlain =
	    controller->normalizedParamToPlain(static_cast<Vst::ParamID>(nTag), pControl->getValueNormalized());
	if (const CControlDescriptor* pEntry = m_pPlugIn->m_controls.at(nTag))
		applyLinkedChanges(pEntry->m_uId, static_cast<float>(dPlain), false);
}

void VST3EditorQV::applyLinkedChanges(uint32_t uId, float fValue, bool bFlag)
{
	if (!m_pPlugIn)
		return;
	CLinkedChange* pList = nullptr;
	if (m_pPlugIn->linkedChanges(uId, fValue, pList, bFlag))
	{
		for (CLinkedChange* pNode = pList; pNode; pNode = pNode->m_pNext)
		{
			int32_t nPosition = indexOfId(pNode->m_uControlId);
			if (nPosition < 0 || !controller)
				continue;
			Vst::ParamID uParam = static_cast<Vst::ParamID>(nPosition);
			Vst::ParamValue dNormalized = controller->plainParamToNormalized(uParam, pNode->m_fValue);
			controller->setParamNormalized(uParam, dNormalized);
			controller->performEdit(uParam, dNormalized);
		}
		m_pPlugIn->freeLinkedChanges(pList);
	}
	// Whatever the plug-in left in the list is freed here, last node first (the base
	// class's way, whatever the plug-in's own freeLinkedChanges did).
	if (pList)
		m_pPlugIn->CPlugIn::freeLinkedChanges(pList);
}
