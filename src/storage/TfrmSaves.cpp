#include "storage/TfrmSaves.h"

#include <algorithm>
#include <cstdint>

#include "dialog/Texts.h"
#include "platform/Text.h"
#include "storage/LabelFormatFiles.h"

namespace korval {
namespace {

constexpr int kEditLeft = 8;
constexpr int kEditTop = 10;
constexpr int kEditHeight = 21;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = 8;
// Both buttons keep this distance from the panel edges they follow.
constexpr int kButtonMargin = 10;
constexpr int kProblemMargin = 6;
constexpr Color kProblemColor = Rgb(192, 0, 0);

std::string Text(const std::string& control, const std::string& property,
                 const std::string& builtIn) {
  return ControlText(TfrmSaves::kFormName, control, property, builtIn);
}

}  // namespace

TfrmSaves::TfrmSaves()
    : caption_(Text(kFormName, "Caption", "Uložit nastavení")),
      lbSaves_(Create<ListBox>("lbSaves")),
      panel1_(Create<Panel>("Panel1")),
      eSave_(Create<Edit>("eSave")),
      btnOk_(Create<Button>("btnOk")),
      panel2_(Create<Panel>("Panel2")),
      bitBtn1_(Create<Button>("BitBtn1")),
      lblNameProblem_(Create<TLabel>("lblNameProblem")) {
  lbSaves_.SetAlign(ControlAlign::alClient);
  panel1_.SetAlign(ControlAlign::alBottom);
  panel2_.SetAlign(ControlAlign::alRight);

  eSave_.SetParent(&panel1_);
  eSave_.SetBounds(kEditLeft, kEditTop, 0, kEditHeight);
  btnOk_.SetParent(&panel1_);
  btnOk_.SetBounds(0, kButtonTop, kButtonWidth, kButtonHeight);
  btnOk_.SetCaption(Text("btnOk", "Caption", "&Uložit"));
  btnOk_.SetResult(ModalResult::Ok);
  btnOk_.SetEnabled(false);
  bitBtn1_.SetParent(&panel2_);
  bitBtn1_.SetBounds(kButtonMargin, 0, kButtonWidth, kButtonHeight);
  bitBtn1_.SetCaption(Text("BitBtn1", "Caption", "&Smazat"));
  bitBtn1_.SetEnabled(false);
  // Above the delete button, where the panel has room for a few lines.
  lblNameProblem_.SetParent(&panel2_);
  lblNameProblem_.SetBounds(kProblemMargin, kProblemMargin, kButtonWidth, 0);
  lblNameProblem_.SetWordWrap(true);
  lblNameProblem_.SetFont([] {
    Font font;
    font.FontColor = kProblemColor;
    return font;
  }());
  lblNameProblem_.SetVisible(false);

  // Attached once the initial state stands, so building the dialog runs none
  // of them; the first layout below runs the resize rules.
  eSave_.OnChange = [this](Control&) { eSaveChange(); };
  lbSaves_.OnClick = [this](Control&) { lbSavesClick(); };
  lbSaves_.OnDblClick = [this](Control&) { lbSavesClick(); };
  lbSaves_.OnEnter = [this](Control&) { lbSavesEnter(); };
  btnOk_.OnClick = [this](Control&) { result_ = btnOk_.Result(); };
  bitBtn1_.OnClick = [this](Control&) { BitBtn1Click(); };
  panel1_.OnResize = [this](Control&) { Panel1Resize(); };
  panel2_.OnResize = [this](Control&) { Panel2Resize(); };

  SetClientSize(kClientWidth, kClientHeight);
}

bool TfrmSaves::PressSave() {
  if (!btnOk_.Enabled() || !btnOk_.Visible()) return false;
  btnOk_.Click();
  return result_ == ModalResult::Ok;
}

void TfrmSaves::Close() {
  if (result_ == ModalResult::None) result_ = ModalResult::Cancel;
}

void TfrmSaves::SetClientSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  // Bottom-aligned controls take the full width before right-aligned ones
  // take their strip of what is left above.
  const int panel1Height = std::min(kPanel1Height, height);
  const int restHeight = height - panel1Height;
  const int panel2Width = std::min(kPanel2Width, width);
  panel1_.SetBounds(0, restHeight, width, panel1Height);
  panel2_.SetBounds(width - panel2Width, 0, panel2Width, restHeight);
  lbSaves_.SetBounds(0, 0, width - panel2Width, restHeight);
}

std::string TfrmSaves::NameProblem() const {
  return IsBlank(eSave_.Text()) ? std::string() : FormatNameProblem(TrimControl(eSave_.Text()));
}

bool TfrmSaves::NameAccepted() const {
  return !IsBlank(eSave_.Text()) && NameProblem().empty();
}

void TfrmSaves::eSaveChange() {
  const std::string problem = NameProblem();
  btnOk_.SetEnabled(NameAccepted());
  lblNameProblem_.SetCaption(problem);
  lblNameProblem_.SetVisible(!problem.empty());
}

void TfrmSaves::lbSavesClick() {
  // A click on the empty part of the list selects nothing, and there is
  // nothing to copy then.
  const int index = lbSaves_.ItemIndex();
  if (index < 0) return;
  eSave_.SetText(lbSaves_.Items()[static_cast<std::size_t>(index)]);
}

void TfrmSaves::lbSavesEnter() {
  if (!lbSaves_.Items().empty()) bitBtn1_.SetEnabled(true);
}

void TfrmSaves::BitBtn1Click() {
  lbSaves_.DeleteItem(lbSaves_.ItemIndex());
  // Enabled again only when the list is entered again, so a second click
  // cannot remove a name the user did not pick.
  bitBtn1_.SetEnabled(false);
  lbSaves_.Invalidate();
}

void TfrmSaves::Panel1Resize() {
  btnOk_.SetLeft(panel1_.Width() - btnOk_.Width() - kButtonMargin);
  eSave_.SetWidth(btnOk_.Left() - 2 * eSave_.Left());
}

void TfrmSaves::Panel2Resize() {
  bitBtn1_.SetLeft(kButtonMargin);
  bitBtn1_.SetTop(panel2_.Height() - bitBtn1_.Height() - kButtonMargin);
  lblNameProblem_.SetBounds(kProblemMargin, kProblemMargin,
                            std::max(0, panel2_.Width() - 2 * kProblemMargin),
                            std::max(0, bitBtn1_.Top() - 2 * kProblemMargin));
}

}  // namespace korval
