#pragma once

class QWidget;

namespace korval {
class Control;
}

namespace korval::qt {

// The standard widget of a control's kind under parent: a check box, an
// edit (read-only when the control is), a combo box (editable or a drop-down
// list), a list, a push button, a plain-text label, a frame for a panel, a
// group box, a scroll area, a tab widget, or a page of the parent's tab
// widget for a tab sheet. For containers, container receives the widget that
// holds the children (the scroll area's content, the page itself). Nothing
// for paint boxes, pictures and barcodes, which their owners draw.
QWidget* MakeStandardWidget(Control& control, QWidget& parent, QWidget*& container);

}  // namespace korval::qt
