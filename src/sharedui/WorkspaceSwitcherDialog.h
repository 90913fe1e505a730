#pragma once
// Edit Workspaces: the switcher's three lists (Bar, Overflow Menu, Do Not Show) as the
// sections of a tree. The user drags workspaces into another order or section, renames
// them in place and deletes them; OK writes the lists to the switcher model and carries out
// the deletions and renames through it, Cancel restores the model as it was. Nothing
// reaches the workspace manager before OK.

#include "services/core/Strings.h"
#include "services/ui/dialogs/UI_Dialog.h"

#include <list>
#include <map>
#include <memory>
#include <vector>

namespace kivui {
class UI_Button;
class UI_MultiColumnTree;
class UI_StaticText;
}  // namespace kivui

namespace kivworkspace::sharedui {

class WorkspaceSwitcherDialog : public kivui::UI_Dialog {
 public:
  // The sections' rows.
  enum Section { kBarRow = 1, kOverflowRow = 2, kHiddenRow = 3 };

  WorkspaceSwitcherDialog();
  ~WorkspaceSwitcherDialog() override;

  // Runs the dialog and applies OK or Cancel; true for OK. Errors of the manager during OK
  // pass to the caller.
  bool Run(kivui::OS_Window* parent);
  void DefaultCloseOk();
  void DefaultCloseCancel();

  kivui::UI_MultiColumnTree& GetTree() { return *tree_; }
  kivui::UI_Button& GetDeleteButton() { return *delete_; }
  // The workspace row showing the name, or -1.
  int FindRow(const kivcore::UTF16String& name) const;
  // The names the section shows, in order.
  std::vector<kivcore::UTF16String> GetSectionNames(Section section) const;

  // Deletes the selected workspaces, keeping at least one.
  void DoDelete();
  // Renames the row's workspace; refused (false) for an empty name or one already shown,
  // and, with a note to the user, for a workspace the manager has no definition of to
  // rename (a built-in never opened).
  bool FinishRenaming(int row, const kivcore::UTF16String& newName);
  // Moves a workspace row to position index of a section, as a drop does.
  bool MoveWorkspace(int row, Section section, int index);
  bool HasWorkspace(const kivcore::UTF16String& name) const;

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;

 private:
  void UpdateWorkspaceData();
  void SyncData();
  kivcore::UTF16String GetWorkspaceNameFromRow(int row) const;
  void OnRowsMoved();
  // Whether the manager can rename the workspace it knows by this name.
  bool CanRename(const kivcore::UTF16String& name) const;

  std::shared_ptr<kivui::UI_StaticText> directions_;
  std::shared_ptr<kivui::UI_MultiColumnTree> tree_;
  std::shared_ptr<kivui::UI_Button> delete_;
  // Each workspace row's name as the manager knows it (from before the dialog).
  std::map<int, kivcore::UTF16String> rowNames_;
  std::list<kivcore::UTF16String> pendingDeletions_;
  std::map<kivcore::UTF16String, kivcore::UTF16String> pendingRenames_;
  std::string savedModel_;
  std::vector<int> barBeforeDrop_;
};

}  // namespace kivworkspace::sharedui
