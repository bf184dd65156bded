#include "qt/ItemMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <string>

#include "dialog/Texts.h"

namespace korval::qt {
namespace {

QAction* AddEntry(QMenu& menu, const std::string& caption, bool visible,
                  const std::function<void()>& handler, const ActionRunner& run) {
  QAction* action = menu.addAction(QString::fromStdString(caption));
  action->setVisible(visible);
  QObject::connect(action, &QAction::triggered, &menu, [handler, run] { run(handler); });
  return action;
}

QAction* AddCheckEntry(QMenu& menu, const std::string& caption, bool visible, bool checked,
                       const std::function<void()>& handler, const ActionRunner& run) {
  QAction* action = AddEntry(menu, caption, visible, handler, run);
  action->setCheckable(true);
  action->setChecked(checked);
  return action;
}

// A submenu whose entries are one choice, marked by a radio mark.
struct Choice {
  QMenu* Menu;
  QActionGroup* Group;

  void Add(const std::string& caption, bool checked, const std::function<void()>& handler,
           const ActionRunner& run) const {
    Group->addAction(AddCheckEntry(*Menu, caption, true, checked, handler, run));
  }
};

Choice AddChoice(QMenu& menu, const std::string& caption, bool visible) {
  QMenu* choice = menu.addMenu(QString::fromStdString(caption));
  choice->menuAction()->setVisible(visible);
  auto* group = new QActionGroup(choice);
  group->setExclusive(true);
  return {choice, group};
}

// The entries are named as the menu's items of the form, so a language
// catalogue translates them under [TfrmMain] "<name>.Caption".
std::string Caption(const char* name, const char* builtIn) {
  return ControlText(TfrmMain::kFormName, name, "Caption", builtIn);
}

}  // namespace

QMenu* MakeItemMenu(TfrmMain& dialog, const TfrmMain::ItemMenuState& state, const ActionRunner& run,
                    QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("ppMenu"));
  TfrmMain* d = &dialog;

  AddEntry(
      *menu, Caption("Font1", "&Font"), state.FontVisible, [d] { d->FontClick(); }, run);

  const Choice horizontal =
      AddChoice(*menu, Caption("Zarovnnvodorovn1", "Zarovnání &vodorovné"), state.AlignmentVisible);
  horizontal.Add(
      Caption("Vlevo1", "&Vlevo"), state.Alignment == TAlignment::taLeftJustify,
      [d] { d->AlignFont(TAlignment::taLeftJustify); }, run);
  horizontal.Add(
      Caption("Nasted1", "&Nastřed"), state.Alignment == TAlignment::taCenter,
      [d] { d->AlignFont(TAlignment::taCenter); }, run);
  horizontal.Add(
      Caption("Vpravo1", "V&pravo"), state.Alignment == TAlignment::taRightJustify,
      [d] { d->AlignFont(TAlignment::taRightJustify); }, run);

  const Choice vertical =
      AddChoice(*menu, Caption("Zarovnnsvisl1", "Zarovnání &svislé"), state.AlignmentVisible);
  vertical.Add(
      Caption("Nahoru1", "&Nahoru"), state.Layout == TTextLayout::tlTop, [d] { d->Nahoru1Click(); },
      run);
  vertical.Add(
      Caption("Nasted2", "Na&střed"), state.Layout == TTextLayout::tlCenter,
      [d] { d->Nasted2Click(); }, run);
  vertical.Add(
      Caption("Dol1", "&Dolů"), state.Layout == TTextLayout::tlBottom, [d] { d->Dol1Click(); },
      run);

  AddCheckEntry(
      *menu, Caption("Zalomentextu1", "Zalomení textu"), state.WordWrapVisible,
      state.WordWrapChecked, [d] { d->Zalomentextu1Click(); }, run);
  AddCheckEntry(
      *menu, Caption("EANochznmka1", "&EAN och.známka"), state.GuardBarsVisible,
      state.GuardBarsChecked, [d] { d->EanGuardClick(); }, run);
  AddCheckEntry(
      *menu, Caption("Tisknoutslonadrovkd1", "Tisknout číslo na&d čárový kód"),
      state.NumberAboveVisible, state.NumberAboveChecked, [d] { d->NrTopClick(); }, run);
  QAction* fit = AddCheckEntry(
      *menu, Caption("Pizpsobitrozmru1", "&Přizpůsobit rozměru"), state.FitVisible,
      state.FitChecked, [d] { d->Pizpsobitrozmru1Click(); }, run);
  fit->setEnabled(state.FitEnabled);
  AddCheckEntry(
      *menu, Caption("Rozdltcenunacelazbytek1", "Rozdělt cenu na celé a zbytek"),
      state.SplitVisible, state.SplitChecked, [d] { d->Rozdltcenunacelazbytek1Click(); }, run);
  return menu;
}

}  // namespace korval::qt
