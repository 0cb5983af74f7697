// A bare editor shell for a plug-in that draws its own editor: it hands the host's window to
// the plug-in (code 6), shows it every parameter's value (code 13), passes the plug-in's edits
// to the controller and tells the plug-in when it closes (code 7). UI thread only.
#pragma once

#include "vstparameterconnector.h"

#include "sdk/vstguieditor.h"

class CPlugIn;

namespace Zaze2VST3 {

class CKestCustomView : public CVSTParameterConnector, public Steinberg::Vst::VSTGUIEditor
{
public:
	CKestCustomView(Steinberg::Vst::EditController* pController, Steinberg::ViewRect* pSize);
	~CKestCustomView() override;

	bool open(void* pParent, const VSTGUI::PlatformType& type) override;
	void close() override;

	void beginParameterEdit(uint32_t uId) override;
	void endParameterEdit(uint32_t uId) override;
	void setParameterFromView(uint32_t uId, float fNormalized) override;

	CPlugIn* m_pPlugIn; // not owned
	void* m_pParent;    // host window while open
};

} // namespace Zaze2VST3
