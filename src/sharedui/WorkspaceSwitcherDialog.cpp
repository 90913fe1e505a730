#include "sharedui/WorkspaceSwitcherDialog.h"

#include "services/core/Localizer.h"
#include "services/ui/controls/UI_Button.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "services/ui/controls/UI_StaticText.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/node/UI_Container.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/manager/ManagerBase.h"

#include <algorithm>

namespace kivworkspace::sharedui {

using kivcore::UTF16String;

namespace {

constexpr int kFirstWorkspaceRow = 100;
constexpr float kPadding = 8, kDirectionsHeight = 34, kButtonWidth = 88, kButtonHeight = 26;

std::string Text(std::string_view key) { return kivcore::config::Localizer::Get().LocalizeUTF8(key); }

WorkspaceSwitcherManager& Model() { return *WorkspaceSwitcherManager::Get(); }

// Keeps the model from rebuilding its lists for as long as it lives; the model rebuilds
// once when it goes.
struct RebuildHold {
  RebuildHold() { Model().SetRebuildEnabled(false); }
  ~RebuildHold() { Model().SetRebuildEnabled(true); }
  RebuildHold(const RebuildHold&) = delete;
  RebuildHold& operator=(const RebuildHold&) = delete;
};

}  // namespace

WorkspaceSwitcherDialog::WorkspaceSwitcherDialog()
    : UI_Dialog(Text("$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogTitle=Edit Workspaces"), 470, 440),
      directions_(std::make_shared<kivui::UI_StaticText>(Text(
          "$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogDirections=Drag workspaces into the order you would like them to appear."))),
      tree_(std::make_shared<kivui::UI_MultiColumnTree>()),
      delete_(std::make_shared<kivui::UI_Button>(Text("$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogDelete=Delete"))),
      savedModel_(Model().GetData()) {
  GetOKButton().SetText(Text("$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogOkay=OK"));
  GetCancelButton().SetText(Text("$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogCancel=Cancel"));
  directions_->SetAlignment(kivui::kAlignLeft | kivui::kAlignTop);
  tree_->SetColumns({{"", 300}});
  tree_->SetMultiSelection(true);
  tree_->SetRowsMovable(true);
  tree_->onRowsMoved = [this] { OnRowsMoved(); };
  tree_->onSelectionChange = [this](const std::vector<int>&) { barBeforeDrop_ = tree_->GetChildRowIDs(kBarRow); };
  tree_->onRowRenamed = [this](int row, const std::string& text) {
    if (!FinishRenaming(row, kivcore::UTF8to16(text))) tree_->SetRowText(row, kivcore::UTF16to8(GetWorkspaceNameFromRow(row)));
  };
  // The tree is offered each key as it goes down; while a name is edited in place the keys
  // go to the edit field instead.
  tree_->onKey = [this](const kivui::KeyboardEvent& e) {
    if (e.action != kivui::KeyboardEvent::kDown ||
        (e.key != kivui::kKeyDelete && e.key != kivui::kKeyBackspace))
      return false;
    DoDelete();
    return true;
  };
  delete_->onClick = [this] { DoDelete(); };
  GetContent().PushBack(directions_);
  GetContent().PushBack(tree_);
  GetContent().PushBack(delete_);
  UpdateWorkspaceData();
  UI_SizeChanged(GetLocalBounds());
}

WorkspaceSwitcherDialog::~WorkspaceSwitcherDialog() = default;

void WorkspaceSwitcherDialog::UI_SizeChanged(const kivcore::RectF& newBounds) {
  UI_Dialog::UI_SizeChanged(newBounds);
  if (!tree_) return;
  const kivcore::RectF area = GetContent().GetLocalBounds();
  directions_->SetFrame({kPadding, kPadding, area.width - 2 * kPadding, kDirectionsHeight});
  const float treeTop = kPadding + kDirectionsHeight;
  const float buttonTop = area.height - kPadding - kButtonHeight;
  tree_->SetFrame({kPadding, treeTop, area.width - 2 * kPadding, std::max(0.0f, buttonTop - kPadding - treeTop)});
  delete_->SetFrame({kPadding, buttonTop, kButtonWidth, kButtonHeight});
}

void WorkspaceSwitcherDialog::UpdateWorkspaceData() {
  const auto section = [&](Section id, const char* key, const std::vector<UTF16String>& names) {
    kivui::UI_MultiColumnTreeRow header{int(id), {Text(key)}, {}, true, false, {}, false, false, true};
    for (const UTF16String& name : names) {
      const int row = kFirstWorkspaceRow + int(rowNames_.size());
      rowNames_[row] = name;
      header.children.push_back({row, {kivcore::UTF16to8(name)}, {}, true, true, {}, true, true, false});
    }
    return header;
  };
  rowNames_.clear();
  tree_->SetRows({
      section(kBarRow, "$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogBar=Bar:",
              *Model().GetShownWorkspaceList()),
      section(kOverflowRow, "$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogOverflow=Overflow Menu:",
              *Model().GetOverflowWorkspaceList()),
      section(kHiddenRow, "$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogHide=Do Not Show:",
              *Model().GetHiddenWorkspaceList()),
  });
  barBeforeDrop_ = tree_->GetChildRowIDs(kBarRow);
}

UTF16String WorkspaceSwitcherDialog::GetWorkspaceNameFromRow(int row) const {
  const auto it = rowNames_.find(row);
  if (it == rowNames_.end()) return {};
  const auto renamed = pendingRenames_.find(it->second);
  return renamed == pendingRenames_.end() ? it->second : renamed->second;
}

int WorkspaceSwitcherDialog::FindRow(const UTF16String& name) const {
  for (const auto& [row, known] : rowNames_)
    if (GetWorkspaceNameFromRow(row) == name) return row;
  return -1;
}

std::vector<UTF16String> WorkspaceSwitcherDialog::GetSectionNames(Section section) const {
  std::vector<UTF16String> names;
  for (int row : tree_->GetChildRowIDs(section)) names.push_back(GetWorkspaceNameFromRow(row));
  return names;
}

bool WorkspaceSwitcherDialog::HasWorkspace(const UTF16String& name) const { return FindRow(name) >= 0; }

void WorkspaceSwitcherDialog::SyncData() {
  // Under the names the manager knows now: the renames that follow carry each workspace's
  // place over to its new name.
  const auto known = [this](Section section) {
    std::vector<UTF16String> names;
    for (int row : tree_->GetChildRowIDs(section)) {
      if (const auto it = rowNames_.find(row); it != rowNames_.end()) names.push_back(it->second);
    }
    return names;
  };
  *Model().GetShownWorkspaceList() = known(kBarRow);
  *Model().GetOverflowWorkspaceList() = known(kOverflowRow);
  *Model().GetHiddenWorkspaceList() = known(kHiddenRow);
}

void WorkspaceSwitcherDialog::DoDelete() {
  for (int row : tree_->GetSelectedRowIDs()) {
    const auto it = rowNames_.find(row);
    // The last workspace stays.
    if (it == rowNames_.end() || rowNames_.size() < 2) continue;
    pendingDeletions_.push_back(it->second);
    pendingRenames_.erase(it->second);
    rowNames_.erase(it);
    tree_->RemoveRow(row);
  }
}

bool WorkspaceSwitcherDialog::FinishRenaming(int row, const UTF16String& newName) {
  const auto it = rowNames_.find(row);
  if (it == rowNames_.end() || newName.empty() || HasWorkspace(newName)) return false;
  if (newName != it->second && !CanRename(it->second)) {
    // Said now, while the user is at the name, rather than as a failure of OK.
    kivui::ShowNote(GetTitle(), kivcore::ReplaceInString(Text(
        "$$$/kivworkspace/sharedui/WorkspaceSwitcherDialog/WorkspaceSwitcherDialogCannotRename=\"@0\" cannot be renamed until it has been opened. Switch to it once, then rename it."),
        std::vector<std::string>{kivcore::UTF16to8(it->second)}), this);
    return false;
  }
  tree_->SetRowText(row, kivcore::UTF16to8(newName));
  if (newName == it->second) {
    pendingRenames_.erase(it->second);
  } else {
    pendingRenames_[it->second] = newName;
  }
  return true;
}

bool WorkspaceSwitcherDialog::CanRename(const UTF16String& name) const {
  workspace::ManagerBase* manager = Model().GetWorkspaceManager();
  return !manager || manager->CanRenameWorkspace(name);
}

bool WorkspaceSwitcherDialog::MoveWorkspace(int row, Section section, int index) {
  barBeforeDrop_ = tree_->GetChildRowIDs(kBarRow);
  if (!tree_->MoveRow(row, section, index)) return false;
  OnRowsMoved();
  return true;
}

void WorkspaceSwitcherDialog::OnRowsMoved() {
  // The bar measures its width afresh when its list changed.
  if (tree_->GetChildRowIDs(kBarRow) != barBeforeDrop_) Model().SetShownWorkspaceListReset(true);
  barBeforeDrop_ = tree_->GetChildRowIDs(kBarRow);
}

void WorkspaceSwitcherDialog::DefaultCloseOk() {
  {
    // The deletions and renames change the manager one name at a time; a rebuild in
    // between would find names the lists no longer hold (workspaces still to be deleted)
    // and add them to the end of the bar. The lists are brought in step once, at the end.
    const RebuildHold hold;
    SyncData();
    if (!pendingDeletions_.empty()) Model().DeleteWorkspaces(pendingDeletions_);
    pendingDeletions_.clear();
    if (!pendingRenames_.empty()) Model().RenameWorkspaces(pendingRenames_);
    pendingRenames_.clear();
  }
  Model().SnapshotLists();
  Model().NotifyListeners(nullptr);
}

void WorkspaceSwitcherDialog::DefaultCloseCancel() {
  Model().SetShownWorkspaceListReset(false);
  Model().SetData(savedModel_);
}

bool WorkspaceSwitcherDialog::Run(kivui::OS_Window* parent) {
  if (RunModal(parent) == kOK) {
    DefaultCloseOk();
    return true;
  }
  DefaultCloseCancel();
  return false;
}

}  // namespace kivworkspace::sharedui
