#include "qt/ItemMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace korval::qt {
namespace {

QAction* AddEntry(QMenu& menu, const char* caption, bool visible,
                  const std::function<void()>& handler, const ActionRunner& run) {
  QAction* action = menu.addAction(QString::fromUtf8(caption));
  action->setVisible(visible);
  QObject::connect(action, &QAction::triggered, &menu, [handler, run] { run(handler); });
  return action;
}

QAction* AddCheckEntry(QMenu& menu, const char* caption, bool visible, bool checked,
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

  void Add(const char* caption, bool checked, const std::function<void()>& handler,
           const ActionRunner& run) const {
    Group->addAction(AddCheckEntry(*Menu, caption, true, checked, handler, run));
  }
};

Choice AddChoice(QMenu& menu, const char* caption, bool visible) {
  QMenu* choice = menu.addMenu(QString::fromUtf8(caption));
  choice->menuAction()->setVisible(visible);
  auto* group = new QActionGroup(choice);
  group->setExclusive(true);
  return {choice, group};
}

}  // namespace

QMenu* MakeItemMenu(TfrmMain& dialog, const TfrmMain::ItemMenuState& state, const ActionRunner& run,
                    QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("ppMenu"));
  TfrmMain* d = &dialog;

  AddEntry(
      *menu, "&Font", state.FontVisible, [d] { d->FontClick(); }, run);

  const Choice horizontal = AddChoice(*menu, "Zarovnání &vodorovné", state.AlignmentVisible);
  horizontal.Add(
      "&Vlevo", state.Alignment == TAlignment::taLeftJustify,
      [d] { d->AlignFont(TAlignment::taLeftJustify); }, run);
  horizontal.Add(
      "&Nastřed", state.Alignment == TAlignment::taCenter,
      [d] { d->AlignFont(TAlignment::taCenter); }, run);
  horizontal.Add(
      "V&pravo", state.Alignment == TAlignment::taRightJustify,
      [d] { d->AlignFont(TAlignment::taRightJustify); }, run);

  const Choice vertical = AddChoice(*menu, "Zarovnání &svislé", state.AlignmentVisible);
  vertical.Add(
      "&Nahoru", state.Layout == TTextLayout::tlTop, [d] { d->Nahoru1Click(); }, run);
  vertical.Add(
      "Na&střed", state.Layout == TTextLayout::tlCenter, [d] { d->Nasted2Click(); }, run);
  vertical.Add(
      "&Dolů", state.Layout == TTextLayout::tlBottom, [d] { d->Dol1Click(); }, run);

  AddCheckEntry(
      *menu, "Zalomení textu", state.WordWrapVisible, state.WordWrapChecked,
      [d] { d->Zalomentextu1Click(); }, run);
  AddCheckEntry(
      *menu, "&EAN och.známka", state.GuardBarsVisible, state.GuardBarsChecked,
      [d] { d->EanGuardClick(); }, run);
  AddCheckEntry(
      *menu, "Tisknout číslo na&d čárový kód", state.NumberAboveVisible, state.NumberAboveChecked,
      [d] { d->NrTopClick(); }, run);
  QAction* fit = AddCheckEntry(
      *menu, "&Přizpůsobit rozměru", state.FitVisible, state.FitChecked,
      [d] { d->Pizpsobitrozmru1Click(); }, run);
  fit->setEnabled(state.FitEnabled);
  AddCheckEntry(
      *menu, "Rozdělt cenu na celé a zbytek", state.SplitVisible, state.SplitChecked,
      [d] { d->Rozdltcenunacelazbytek1Click(); }, run);
  return menu;
}

}  // namespace korval::qt
