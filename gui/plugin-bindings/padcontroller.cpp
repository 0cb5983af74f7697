#include "padcontroller.h"

#include "../cxypad.h"

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "public.sdk/source/vst/vstparameters.h"

#include <algorithm>

namespace VSTGUI {

using namespace Steinberg;

PadController::PadController (IController* baseController, Vst::EditController* editController,
                              Vst::Parameter* xParam, Vst::Parameter* yParam)
    : m_pBase (baseController)
    , m_pEditor (dynamic_cast<VST3Editor*> (baseController))
    , m_pEditController (editController)
    , m_XParam (xParam)
    , m_YParam (yParam)
{
	if (m_pEditor)
		m_pEditor->addParameterFollower (this);
}

PadController::~PadController ()
{
	// A drag still open when the views go ends for the host too.
	if (m_nEditing > 0 && m_pEditController)
	{
		m_pEditController->endEdit (getXParameterId ());
		m_pEditController->endEdit (getYParameterId ());
	}
	if (m_pEditor)
		m_pEditor->removeParameterFollower (this);
}

Vst::ParamID PadController::getXParameterId () const
{
	return m_XParam ? m_XParam->getInfo ().id : Vst::kNoParamId;
}

Vst::ParamID PadController::getYParameterId () const
{
	return m_YParam ? m_YParam->getInfo ().id : Vst::kNoParamId;
}

void PadController::edit (Vst::ParamID id, double value)
{
	if (value == m_pEditController->getParamNormalized (id))
		return;
	// An edit outside a gesture is a gesture of its own.
	bool gesture = m_nEditing == 0;
	if (gesture)
		m_pEditController->beginEdit (id);
	m_pEditController->setParamNormalized (id, value);
	m_pEditController->performEdit (id, value);
	if (gesture)
		m_pEditController->endEdit (id);
}

void PadController::valueChanged (CControl* control)
{
	if (!m_pPad || control != m_pPad)
	{
		if (m_pBase)
			m_pBase->valueChanged (control);
		return;
	}
	if (!m_pEditController || !m_XParam || !m_YParam)
		return;
	float x, y;
	CXYPad::calculateXY (control->getValue (), x, y);
	edit (getXParameterId (), std::min (1.f, std::max (0.f, x)));
	edit (getYParameterId (), std::min (1.f, std::max (0.f, y)));
	m_dShownX = m_pEditController->getParamNormalized (getXParameterId ());
	m_dShownY = m_pEditController->getParamNormalized (getYParameterId ());
}

void PadController::controlBeginEdit (CControl* control)
{
	if (!m_pPad || control != m_pPad)
	{
		if (m_pBase)
			m_pBase->controlBeginEdit (control);
		return;
	}
	if (m_nEditing++ == 0 && m_pEditController)
	{
		m_pEditController->beginEdit (getXParameterId ());
		m_pEditController->beginEdit (getYParameterId ());
	}
}

void PadController::controlEndEdit (CControl* control)
{
	if (!m_pPad || control != m_pPad)
	{
		if (m_pBase)
			m_pBase->controlEndEdit (control);
		return;
	}
	if (m_nEditing > 0 && --m_nEditing == 0 && m_pEditController)
	{
		m_pEditController->endEdit (getXParameterId ());
		m_pEditController->endEdit (getYParameterId ());
	}
}

int32_t PadController::getTagForName (const char* name, int32_t registeredTag) const
{
	return m_pBase ? m_pBase->getTagForName (name, registeredTag) : registeredTag;
}

IControlListener* PadController::getControlListener (const char* controlTagName)
{
	return m_pBase ? m_pBase->getControlListener (controlTagName) : this;
}

CView* PadController::createView (const UIAttributes& attributes, const IUIDescription* description)
{
	return m_pBase ? m_pBase->createView (attributes, description) : nullptr;
}

CView* PadController::verifyView (CView* view, const UIAttributes& attributes,
                                  const IUIDescription* description)
{
	if (auto* pad = dynamic_cast<CXYPad*> (view))
	{
		m_pPad = pad;
		pad->setListener (this);
		m_dShownX = m_dShownY = -1;
		updateFromParameters ();
	}
	return m_pBase ? m_pBase->verifyView (view, attributes, description) : view;
}

IController* PadController::createSubController (const char* name, const IUIDescription* description)
{
	return m_pBase ? m_pBase->createSubController (name, description) : nullptr;
}

void PadController::updateFromParameters ()
{
	if (!m_pPad || !m_pEditController || !m_XParam || !m_YParam || m_pPad->isEditing ())
		return;
	double x = m_pEditController->getParamNormalized (getXParameterId ());
	double y = m_pEditController->getParamNormalized (getYParameterId ());
	if (x == m_dShownX && y == m_dShownY)
		return;
	m_dShownX = x;
	m_dShownY = y;
	m_pPad->setValue (CXYPad::calculateValue (static_cast<float> (x), static_cast<float> (y)));
	m_pPad->invalid ();
}

} // namespace VSTGUI
