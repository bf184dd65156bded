#include "qt/ItemMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <vector>

#include "dialog/ItemMenuEntries.h"

namespace korval::qt {

QMenu* MakeItemMenu(TfrmMain& dialog, const TfrmMain::ItemMenuState& state, const ActionRunner& run,
                    QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("ppMenu"));
  const std::vector<ItemMenuEntry> entries = ItemMenuEntries(dialog, state);
  // The menu each submenu entry made, and the one group of its choices.
  std::vector<QMenu*> submenus(entries.size(), nullptr);
  std::vector<QActionGroup*> groups(entries.size(), nullptr);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ItemMenuEntry& entry = entries[i];
    const auto parentIndex = static_cast<std::size_t>(entry.Parent);
    QMenu* holder = entry.Parent < 0 ? menu : submenus[parentIndex];
    const QString caption = QString::fromStdString(entry.Caption);
    if (entry.Type == ItemMenuEntry::Kind::Submenu) {
      QMenu* submenu = holder->addMenu(caption);
      submenu->menuAction()->setVisible(entry.Visible);
      submenu->menuAction()->setEnabled(entry.Enabled);
      submenus[i] = submenu;
      continue;
    }
    QAction* action = holder->addAction(caption);
    action->setVisible(entry.Visible);
    action->setEnabled(entry.Enabled);
    if (entry.Type != ItemMenuEntry::Kind::Command) {
      action->setCheckable(true);
      action->setChecked(entry.Checked);
    }
    if (entry.Type == ItemMenuEntry::Kind::Choice && entry.Parent >= 0) {
      QActionGroup*& group = groups[parentIndex];
      if (group == nullptr) {
        group = new QActionGroup(holder);
        group->setExclusive(true);
      }
      group->addAction(action);
    }
    const std::function<void()> handler = entry.Handler;
    QObject::connect(action, &QAction::triggered, menu, [handler, run] { run(handler); });
  }
  return menu;
}

}  // namespace korval::qt
