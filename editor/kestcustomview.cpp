#include "kestcustomview.h"

#include "plugincore/plugin.h"
#include "sdk/moduleentry.h"

namespace Zaze2VST3 {

using namespace Steinberg;

CKestCustomView::CKestCustomView(Vst::EditController* pController, ViewRect* pSize)
    : VSTGUIEditor(pController, pSize)
    , m_pPlugIn(nullptr)
    , m_pParent(nullptr)
{}

CKestCustomView::~CKestCustomView()
{
	if (frame)
	{
		frame->forget();
		frame = nullptr;
	}
}

bool CKestCustomView::open(void* pParent, const VSTGUI::PlatformType& type)
{
	if (!frame)
	{
		frame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, 0, 0));
		frame->setTransparency(true);
	}
	if (!m_pPlugIn)
		return false;
	m_pParent = pParent;

	CGuiMessageRecord open;
	open.m_uCode = kGuiOpenCustomEditor;
	open.m_pParentWindow = pParent;
	open.m_pEditor = static_cast<VSTGUIEditor*>(this);
	open.m_pParamConnector = this;
	open.m_pModule = getModuleHandle();
	open.m_uPlatformType = static_cast<uint32_t>(type);
	if (!m_pPlugIn->editorMessage(&open))
		return false;

	// The count is read again on every pass: the plug-in may add parameters meanwhile.
	for (int32 i = 0; controller && i < controller->getParameterCount(); ++i)
	{
		CGuiMessageRecord value;
		value.m_uCode = kGuiParameterChanged;
		value.m_nIndex = i;
		value.m_dValue = controller->getParamNormalized(static_cast<Vst::ParamID>(i));
		m_pPlugIn->editorMessage(&value);
	}
	frame->setSize(open.m_nWidth, open.m_nHeight);
	return true;
}

void CKestCustomView::close()
{
	if (m_pPlugIn)
	{
		CGuiMessageRecord closing;
		closing.m_uCode = kGuiCloseCustomEditor;
		closing.m_pParentWindow = m_pParent;
		closing.m_pModule = getModuleHandle();
		m_pPlugIn->editorMessage(&closing);
		m_pParent = nullptr;
	}
	if (frame)
	{
		if (frame->getNbReference() == 1)
		{
			frame->close();
			frame = nullptr;
		}
		else
		{
			frame->forget();
			frame = nullptr;
		}
	}
}

void CKestCustomView::beginParameterEdit(uint32_t uId)
{
	if (controller)
		controller->beginEdit(uId);
}

void CKestCustomView::endParameterEdit(uint32_t uId)
{
	if (controller)
		controller->endEdit(uId);
}

void CKestCustomView::setParameterFromView(uint32_t uId, float fNormalized)
{
	if (!controller)
		return;
	controller->setParamNormalized(uId, static_cast<double>(fNormalized));
	controller->performEdit(uId, fNormalized);
}

} // namespace Zaze2VST3
