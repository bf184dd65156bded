#pragma once

#include <string>
#include <vector>

#include "dialog/Form.h"
#include "dialog/StdControls.h"
#include "label/TLabel.h"
#include "platform/Geometry.h"

namespace korval {

// The save-format dialog, "Uložit nastavení": the user names the format to
// be saved and may strike names off the list of stored formats. It only
// enables its buttons; the save flow fills it, runs it through
// Ui::ShowSaveDialog and reads it back after the result OK.
//
// A view shows it kWidth x kHeight with only the system menu in the title
// bar, sizeable between kMinTrackSize and MaxTrackSize(screen), and gives the
// input focus to ActiveControl(). It reports the client size it ends up with
// through SetClientSize, which lays out the aligned panels; their resize
// rules then place the buttons and the name field.
class TfrmSaves : public Form {
 public:
  static constexpr const char* kFormName = "TfrmSaves";
  static constexpr int kWidth = 235;
  static constexpr int kHeight = 222;
  // The client area of a kWidth x kHeight window with a sizeable frame and
  // a caption bar, until a view tells the real one.
  static constexpr int kClientWidth = 227;
  static constexpr int kClientHeight = 195;
  static constexpr int kPanel1Height = 41;
  static constexpr int kPanel2Width = 97;
  static constexpr Size kMinTrackSize{235, 222};
  // The window may grow up to the screen less a 20 pixel margin.
  static constexpr Size MaxTrackSize(Size screen) { return {screen.Cx - 20, screen.Cy - 20}; }

  TfrmSaves();

  const std::string& Caption() const { return caption_; }

  // The caller's side.
  // Runs the name-change rule, so a non-blank name enables the save button.
  void SetName(std::string name) { eSave_.SetText(std::move(name)); }
  // Entries stay in the order given; the list is not sorted.
  void SetNames(std::vector<std::string> names) { lbSaves_.SetItems(std::move(names)); }
  const std::vector<std::string>& Names() const { return lbSaves_.Items(); }
  // As typed, blanks included.
  const std::string& Name() const { return eSave_.Text(); }
  // True when the name, trimmed, is not blank and can be stored: only then
  // is the save button enabled.
  bool NameAccepted() const;

  // How the dialog was closed: Ok only through the save button.
  ModalResult Result() const { return result_; }
  // The user presses the save button, which can only be done while it is
  // enabled; true when that closes the dialog with the result OK.
  bool PressSave();
  // The title-bar close: any result but OK, so the caller writes nothing.
  void Close();

  Control& ActiveControl() const { return eSave_; }
  // Lays out the aligned controls for a client area of this size: Panel1
  // along the bottom, Panel2 along the right above it, the list in the rest.
  void SetClientSize(int width, int height);

  ListBox& lbSaves() const { return lbSaves_; }
  Panel& Panel1() const { return panel1_; }
  Edit& eSave() const { return eSave_; }
  Button& btnOk() const { return btnOk_; }
  Panel& Panel2() const { return panel2_; }
  Button& BitBtn1() const { return bitBtn1_; }
  // Says why the name typed cannot be stored; hidden while it can.
  TLabel& lblNameProblem() const { return lblNameProblem_; }

 private:
  // Why the name typed cannot be stored; empty for a blank name too.
  std::string NameProblem() const;
  void eSaveChange();
  void lbSavesClick();
  void lbSavesEnter();
  void BitBtn1Click();
  void Panel1Resize();
  void Panel2Resize();

  std::string caption_;
  ListBox& lbSaves_;
  Panel& panel1_;
  Edit& eSave_;
  Button& btnOk_;
  Panel& panel2_;
  Button& bitBtn1_;
  TLabel& lblNameProblem_;
  ModalResult result_ = ModalResult::None;
};

}  // namespace korval
