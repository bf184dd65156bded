#pragma once

#include <string>
#include <vector>

#include "dialog/Control.h"

namespace korval {

// One control of a dialog's layout: what a view builds its widget from and
// what the model creates its control from.
struct ControlLayout {
  enum class Type {
    Label,
    CheckBox,
    Edit,
    ReadOnlyEdit,
    EditableCombo,
    DropDownList,
    ListBox,
    Button,
    Panel,
    GroupBox,
    ScrollBox,
    PageControl,
    TabSheet,
    PaintBox,
  };
  const char* Name;
  Type Kind;
  const char* Parent;  // empty: the form itself
  const char* Caption = "";
  const char* Hint = "";
  ControlAlign Align = ControlAlign::alNone;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Enabled = true;
  bool Checked = false;
  const char* Action = "";  // the action whose caption and state a button shows
  std::vector<std::string> Items = {};
};

// The label dialog's controls, parents before children, in creation order.
const std::vector<ControlLayout>& MainLayoutTable();

}  // namespace korval
