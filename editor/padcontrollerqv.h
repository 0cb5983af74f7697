// The framework's pad sub-controller: the stock pad controller, made for the "Joystick_X…_Y…"
// and "TrackPad_X…_Y…" sub-controller names. UI thread.
#pragma once

#include "gui/plugin-bindings/padcontroller.h"

class CPadControllerQV : public VSTGUI::PadController
{
public:
	using PadController::PadController;
	~CPadControllerQV() override;
};
