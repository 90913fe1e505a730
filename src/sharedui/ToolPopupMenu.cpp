#include "sharedui/ToolPopupMenu.h"

#include "services/core/Strings.h"
#include "services/ui/menu/OSMenu.h"
#include "sharedui/ToolPictureButton.h"

namespace kivworkspace::sharedui {

ToolPopupMenuChangedMessage ToolPopupMenu::Run() const {
  kivui::OSMenu menu;
  for (int i = 0; i < button_.GetSubToolSize(); ++i) {
    const ToolPtr tool = button_.GetTool(i);
    menu.AddItem(i + 1, kivcore::UTF16to8(tool->GetName()), true, i == button_.GetSelectedToolIndex());
  }
  const kivcore::RectF r = button_.LocalRectToGlobalF(button_.GetLocalBounds());
  const int chosen = kivui::PopupMenu(menu, {int(r.left), int(r.top)});
  return {chosen - 1};
}

}  // namespace kivworkspace::sharedui
