#include "services/ui/dialogs/Prompt.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/qt/Convert.h"

#include <QAction>
#include <QMenu>

namespace kivui {
namespace {

void Fill(QMenu& target, const OSMenu& menu) {
  for (const auto& item : menu.GetItems()) {
    if (item.separator) {
      target.addSeparator();
    } else if (item.submenu) {
      Fill(*target.addMenu(qt::ToQString(item.text)), *item.submenu);
    } else {
      QAction* action = target.addAction(qt::ToQString(item.text));
      action->setData(item.command);
      action->setEnabled(item.enabled);
      action->setCheckable(item.checked);
      action->setChecked(item.checked);
    }
  }
}

int Show(const OSMenu& menu, kivcore::Point global) {
  if (auto responder = GetPromptResponder()) {
    Prompt prompt;
    prompt.kind = Prompt::kMenu;
    prompt.menu = &menu;
    const PromptAnswer answer = responder->Answer(prompt);
    // Only an enabled command of this menu can be chosen, as with the real menu.
    const OSMenu::Item* item = menu.FindCommand(answer.command);
    return answer.accepted && item && item->enabled ? answer.command : 0;
  }
  QMenu qmenu;
  Fill(qmenu, menu);
  QAction* chosen = qmenu.exec(qt::ToQPoint(global));
  return chosen ? chosen->data().toInt() : 0;
}

}  // namespace

int PopupMenu(const OSMenu& menu, kivcore::Point global) { return Show(menu, global); }
int ContextMenu(const OSMenu& menu, kivcore::Point global) { return Show(menu, global); }

}  // namespace kivui
