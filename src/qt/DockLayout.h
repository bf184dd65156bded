#pragma once

#include <vector>

#include "dialog/Form.h"
#include "platform/Geometry.h"

namespace korval::qt {

// The platform's docking of aligned controls into their parent's client
// area: top, bottom, left and right strips in turn take their share of what
// is left, each kind in the order given, and client controls fill the rest.
// Hidden controls, controls without an alignment and controls the form no
// longer owns take nothing. The controls' bounds are set in the model, so
// their resize handlers run as they would on the platform.
void DockControls(const Form& form, const std::vector<Control*>& controls, const Rect& client);

}  // namespace korval::qt
