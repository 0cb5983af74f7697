#include "vst3editor.h"

#include "../ccontrol.h"
#include "../ctextedit.h"
#include "../ctextlabel.h"
#include "sdk/utf16.h"

#include "public.sdk/source/vst/vstparameters.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace VSTGUI {

using namespace Steinberg;

VST3Editor::VST3Editor (Vst::EditController* controller, UTF8StringPtr templateName, UTF8StringPtr xmlFile)
    : VSTGUIEditor (controller)
    , m_pDelegate (dynamic_cast<VST3EditorDelegate*> (controller))
    , m_pDescription (std::make_unique<UIDescription> (xmlFile ? xmlFile : ""))
    , m_TemplateName (templateName ? templateName : "")
{
	CPoint size;
	m_bDescriptionLoaded = m_pDescription->parse () && m_pDescription->getTemplateSize (m_TemplateName, size);
	if (m_bDescriptionLoaded)
		setBaseSize (ViewRect (0, 0, static_cast<int32> (size.x), static_cast<int32> (size.y)));
}

VST3Editor::~VST3Editor ()
{
	unbindAll ();
	if (frame)
	{
		frame->close ();
		frame = nullptr;
	}
}

size_t VST3Editor::getBoundControlCount () const
{
	size_t n = 0;
	for (const auto& entry : m_Bindings)
		n += entry.second.controls.size ();
	return n;
}

bool VST3Editor::buildFrame ()
{
	if (!m_bDescriptionLoaded || frame)
		return false;
	ViewRect base = getBaseSize ();
	frame = new CFrame (CRect (0, 0, base.getWidth (), base.getHeight ()));
	frame->setEditor (this);
	frame->setScaleFactor (getContentScaleFactor ());
	if (CView* view = m_pDescription->createView (m_TemplateName, this))
		frame->addView (view);
	updateControlsFromParameters ();
	return true;
}

bool VST3Editor::open (void* parent, const PlatformType& type)
{
	if (!buildFrame ())
		return false;
	IPlatformFrameConfig config;
	config.runLoop = getRunLoop ();
	if (!frame->open (parent, type, &config))
	{
		unbindAll ();
		VSTGUIEditor::close ();
		return false;
	}
	if (m_pDelegate)
		m_pDelegate->didOpen (this);
	return true;
}

bool VST3Editor::openOffscreen ()
{
	if (!buildFrame ())
		return false;
	if (m_pDelegate)
		m_pDelegate->didOpen (this);
	return true;
}

void VST3Editor::close ()
{
	if (!frame)
		return;
	if (m_pDelegate)
		m_pDelegate->willClose (this);
	unbindAll ();
	VSTGUIEditor::close ();
}

bool VST3Editor::exchangeView (UTF8StringPtr templateName)
{
	CPoint size;
	if (!templateName || !m_pDescription->getTemplateSize (templateName, size))
		return false;
	m_TemplateName = templateName;
	requestRecreateView ();
	return true;
}

CMessageResult VST3Editor::notify (CBaseObject* sender, IdStringPtr message)
{
	if (message != CVSTGUITimer::kMsgTimer)
		return kMessageUnknown;
	if (m_bRecreatePending && frame)
	{
		m_bRecreatePending = false;
		unbindAll ();
		frame->removeAll ();
		CPoint size;
		if (m_pDescription->getTemplateSize (m_TemplateName, size))
		{
			setBaseSize (ViewRect (0, 0, static_cast<int32> (size.x), static_cast<int32> (size.y)));
			frame->setSize (size.x, size.y);
		}
		if (CView* view = m_pDescription->createView (m_TemplateName, this))
			frame->addView (view);
	}
	updateControlsFromParameters ();
	return kMessageNotified;
}

bool VST3Editor::beforeSizeChange (const CRect& newSize, const CRect&)
{
	// The template's size limits decide.
	UIAttributes a;
	CPoint minSize, maxSize;
	if (!m_pDescription->getTemplateAttributes (m_TemplateName, a))
		return false;
	if (!a.getPointAttribute ("minSize", minSize) || !a.getPointAttribute ("maxSize", maxSize))
		return true;
	return newSize.getWidth () >= minSize.x && newSize.getWidth () <= maxSize.x &&
	       newSize.getHeight () >= minSize.y && newSize.getHeight () <= maxSize.y;
}

void VST3Editor::showParameterValue (ParameterBinding& binding, CControl* control)
{
	Vst::ParamID id = binding.parameter->getInfo ().id;
	Vst::ParamValue value = controller->getParamNormalized (id);
	// A text bound to a parameter shows the parameter's value text.
	if (auto* label = dynamic_cast<CTextLabel*> (control))
	{
		auto* edit = dynamic_cast<CTextEdit*> (control);
		if (edit && edit->isEditingText ())
			return;
		Vst::String128 text = {};
		controller->getParamStringByValue (id, value, text);
		label->setText (Utf16::toUtf8String (text, 128));
		label->setValueNormalized (static_cast<float> (value));
		return;
	}
	if (control->isEditing ())
		return;
	control->setValueNormalized (static_cast<float> (value));
}

void VST3Editor::updateControlsFromParameters ()
{
	for (auto& entry : m_Bindings)
		for (CControl* c : entry.second.controls)
			showParameterValue (entry.second, c);
	for (IParameterFollower* f : std::vector<IParameterFollower*> (m_Followers))
		f->updateFromParameters ();
}

void VST3Editor::addParameterFollower (IParameterFollower* follower)
{
	if (follower && std::find (m_Followers.begin (), m_Followers.end (), follower) == m_Followers.end ())
		m_Followers.push_back (follower);
}

void VST3Editor::removeParameterFollower (IParameterFollower* follower)
{
	m_Followers.erase (std::remove (m_Followers.begin (), m_Followers.end (), follower), m_Followers.end ());
}

void VST3Editor::unbindAll ()
{
	for (auto& entry : m_Bindings)
	{
		// A gesture still open when the views go ends for the host too.
		if (entry.second.editCount > 0)
			controller->endEdit (entry.first);
		for (CControl* c : entry.second.controls)
			c->forget ();
	}
	m_Bindings.clear ();
}

void VST3Editor::valueChanged (CControl* control)
{
	m_bLastEditAccepted = true;
	auto it = m_Bindings.find (static_cast<Vst::ParamID> (control->getTag ()));
	if (control->getTag () < 0 || it == m_Bindings.end ())
		return;
	ParameterBinding& binding = it->second;
	Vst::ParamID id = it->first;
	Vst::ParamValue value = control->getValueNormalized ();
	if (auto* edit = dynamic_cast<CTextEdit*> (control))
	{
		std::u16string text = Utf16::fromUtf8String (edit->getText ());
		Vst::String128 buffer = {};
		std::copy_n (text.begin (), std::min<size_t> (text.size (), 127), buffer);
		if (controller->getParamValueByString (id, buffer, value) != kResultOk || !std::isfinite (value))
		{
			m_bLastEditAccepted = false;
			showParameterValue (binding, control);
			return;
		}
	}
	value = std::min (1.0, std::max (0.0, value));
	bool gesture = binding.editCount == 0;
	if (gesture)
		controller->beginEdit (id);
	controller->setParamNormalized (id, value);
	controller->performEdit (id, value);
	if (gesture)
		controller->endEdit (id);
	// Other views of the same parameter follow.
	for (CControl* other : binding.controls)
		if (other != control)
			showParameterValue (binding, other);
	if (dynamic_cast<CTextEdit*> (control))
		showParameterValue (binding, control);
}

void VST3Editor::controlBeginEdit (CControl* control)
{
	auto it = m_Bindings.find (static_cast<Vst::ParamID> (control->getTag ()));
	if (control->getTag () < 0 || it == m_Bindings.end ())
		return;
	if (it->second.editCount++ == 0)
		controller->beginEdit (it->first);
}

void VST3Editor::controlEndEdit (CControl* control)
{
	auto it = m_Bindings.find (static_cast<Vst::ParamID> (control->getTag ()));
	if (control->getTag () < 0 || it == m_Bindings.end () || it->second.editCount == 0)
		return;
	if (--it->second.editCount == 0)
		controller->endEdit (it->first);
}

CView* VST3Editor::createView (const UIAttributes& attributes, const IUIDescription* description)
{
	const std::string* name = attributes.getAttributeValue ("custom-view-name");
	if (!m_pDelegate || !name || name->empty ())
		return nullptr;
	return m_pDelegate->createCustomView (name->c_str (), attributes, description, this);
}

CView* VST3Editor::verifyView (CView* view, const UIAttributes& attributes, const IUIDescription* description)
{
	auto* control = dynamic_cast<CControl*> (view);
	if (control && control->getTag () >= 0 && control->getListener () == this)
	{
		Vst::ParamID id = static_cast<Vst::ParamID> (control->getTag ());
		if (Vst::Parameter* parameter = controller->getParameterObject (id))
		{
			ParameterBinding& binding = m_Bindings[id];
			binding.parameter = parameter;
			control->remember ();
			binding.controls.push_back (control);
		}
	}
	return m_pDelegate ? m_pDelegate->verifyView (view, attributes, description, this) : view;
}

IController* VST3Editor::createSubController (const char* name, const IUIDescription* description)
{
	return m_pDelegate ? m_pDelegate->createSubController (name, description, this) : nullptr;
}

} // namespace VSTGUI

namespace VSTGUI {

tresult PLUGIN_API VST3Editor::writePng (const char* path, double scale)
{
	if (!path || !(scale > 0) || scale > 8)
		return kInvalidArgument;
	bool wasOpen = frame != nullptr;
	if (!wasOpen && !openOffscreen ())
		return kResultFalse;
	updateControlsFromParameters ();
	cairo_surface_t* surface = frame->renderOffscreen (scale);
	bool written = cairo_surface_write_to_png (surface, path) == CAIRO_STATUS_SUCCESS;
	cairo_surface_destroy (surface);
	if (!wasOpen)
		close ();
	return written ? kResultOk : kResultFalse;
}

tresult PLUGIN_API VST3Editor::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, Korvessa::IViewSnapshot::iid, Korvessa::IViewSnapshot)
	return VSTGUIEditor::queryInterface (iid, obj);
}

} // namespace VSTGUI
