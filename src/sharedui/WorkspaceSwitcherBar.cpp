#include "sharedui/WorkspaceSwitcherBar.h"

#include "services/core/Localizer.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/window/OS_Window.h"
#include "sharedui/WorkspaceSwitcherBarDragHandle.h"
#include "sharedui/WorkspaceSwitcherBarTabWell.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/core/Workspace.h"
#include "workspace/manager/ManagerBase.h"
#include "workspace/windows/TopLevelWindow.h"

#include <algorithm>

namespace kivworkspace::sharedui {

using kivcore::UTF16String;

namespace {

// The bar acts on the workspace from its timers, after the event that asked: a switch, a
// reset or a command may destroy the window holding the bar, and a node's timer keeps the
// node alive until its handler returns.
enum Timer { kDialogTimer = 1, kTabMenuTimer = 2, kSwitchTimer = 3 };
constexpr int kEditWorkspacesItem = -100;
constexpr const char* kEditWorkspacesKey =
    "$$$/kivworkspace/sharedui/WorkspacesPopup/WorkspaceEditWorkspaces=Edit Workspaces...";

std::string Text(std::string_view key) { return kivcore::config::Localizer::Get().LocalizeUTF8(key); }

WorkspaceSwitcherManager& Model() { return *WorkspaceSwitcherManager::Get(); }

}  // namespace

WorkspaceSwitcherBar::WorkspaceSwitcherBar(workspace::ManagerBase& manager)
    : UI_Container("WorkspaceSwitcherBar"),
      tabWell_(std::make_shared<WorkspaceSwitcherBarTabWell>()),
      handle_(std::make_shared<WorkspaceSwitcherBarDragHandle>(*this)),
      manager_(manager) {
  auto& callbacks = tabWell_->GetCallbacks();
  callbacks.tabClicked = [this](int id) { OnTabClicked(id); };
  callbacks.tabContextMenu = [this](int id, kivcore::PointF global) {
    const int index = tabWell_->IndexOfTab(id);
    if (!rebuilding_ && registered_ && index == frontmost_) OpenTabMenuLater(index, global);
  };
  callbacks.overflowClicked = [this](kivcore::PointF global) { ShowOverflowMenu(global); };
  // A tab dragged to another place: the bar's order is the user's.
  callbacks.tabMoved = [this](int, int, int) {
    frontmost_ = tabWell_->IndexOfTab(tabWell_->GetFrontTab());
    SyncToWorkspaceSwitcherManager();
  };
  PushBack(tabWell_);
  PushBack(handle_);
  Model().AttachWorkspaceManager(&manager_);
  Model().AddListener(this);
  // Edit Workspaces... opens the library's dialog in hosts that do not run their own.
  workspace::Workspace::SetDefaultEditCommand(&WorkspaceSwitcherBar::EditWorkspaces);
}

WorkspaceSwitcherBar::~WorkspaceSwitcherBar() {
  Model().RemoveListener(this);
  if (registered_ && !managerGone_) manager_.RemoveMenuHelper(this);
}

void WorkspaceSwitcherBar::EnsureRegistered() {
  if (registered_ || managerGone_) return;
  // The manager tells the bar its current workspace at once.
  registered_ = true;
  manager_.AddMenuHelper(this);
}

void WorkspaceSwitcherBar::UI_Invalidate() {
  UI_Container::UI_Invalidate();
  EnsureRegistered();
  if (rebuildPending_) WorkspacesConfigurationChanged();
}

void WorkspaceSwitcherBar::UI_SizeChanged(const kivcore::RectF& newBounds) {
  UI_Container::UI_SizeChanged(newBounds);
  // Placed in a window: from now on the bar shows the workspaces.
  if (!newBounds.IsEmpty()) EnsureRegistered();
  if (rebuildPending_) {
    WorkspacesConfigurationChanged();
  } else {
    UpdateLayout();
  }
}

void WorkspaceSwitcherBar::NewActiveWorkspace(const UTF16String& name) {
  current_ = name;
  frontmost_ = -1;
  for (int i = 0; i < tabWell_->GetTabCount(); ++i) {
    if (kivcore::UTF8to16(tabWell_->GetTab(i).text) == name) {
      frontmost_ = i;
      tabWell_->SetFrontTab(tabWell_->GetTab(i).id);
      break;
    }
  }
  tabWell_->SetFrontTabShown(frontmost_ >= 0);
}

void WorkspaceSwitcherBar::WorkspacesConfigurationChanged() {
  if (!IsShown() || GetLocalBounds().IsEmpty()) {
    rebuildPending_ = true;
    return;
  }
  rebuildPending_ = false;
  rebuilding_ = true;
  frontmost_ = -1;
  tabWell_->RemoveAllTabs();
  int id = 1;
  for (const auto* list : {Model().GetShownWorkspaceList(), Model().GetOverflowWorkspaceList()}) {
    for (const UTF16String& name : *list) {
      kivui::UI_TabItem item;
      item.id = id++;
      item.text = kivcore::UTF16to8(name);
      item.closeBox = false;
      item.multiTabMark = true;
      tabWell_->AddTab(item);
    }
  }
  tabWell_->SetNumberOfBarTabs(int(Model().GetShownWorkspaceList()->size()));
  NewActiveWorkspace(current_);
  rebuilding_ = false;
  shownListWasReset_ = Model().GetShownWorkspaceListReset();
  UpdateLayout();
}

void WorkspaceSwitcherBar::SetAlignment(WorkspaceSwitcherAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  // Only a centred row is reordered by dragging its tabs.
  tabWell_->SetDraggableTabs(alignment_ == 0);
  UpdateLayout();
}

float WorkspaceSwitcherBar::HandleWidth() const { return WorkspaceSwitcherBarDragHandle::kWidth; }

float WorkspaceSwitcherBar::MeasuredNonTabWellWidth() const { return alignment_ != 0 ? HandleWidth() : 0.0f; }

float WorkspaceSwitcherBar::GetMinimumSize() const { return tabWell_->GetMinimumWidth() + MeasuredNonTabWellWidth(); }

float WorkspaceSwitcherBar::MeasuredWidth() const { return tabWell_->WidthOfFirstTabs(tabWell_->GetTabCount()); }

void WorkspaceSwitcherBar::UpdateLayout() {
  const kivcore::RectF bar = GetLocalBounds();
  const float m = Multiplier();
  const float handle = HandleWidth();
  const float measured = MeasuredWidth();
  // With no tabs there is nothing to lay out; a bar narrower than its minimum keeps its
  // layout.
  if (tabWell_->GetTabCount() == 0) {
    tabWell_->SetFrame({});
    handle_->SetFrame({});
    return;
  }
  if (bar.width < GetMinimumSize()) return;
  const float natural = tabWell_->WidthOfFirstTabs(tabWell_->GetNumberOfBarTabs());
  if (shownListWasReset_) {
    Model().SetWorkspaceSwitcherWidth(-1.0f);
    shownListWasReset_ = false;
    extraWidth_ = (natural - measured) / m;
  } else if (!useSavedWidth_) {
    // A drag has set the width.
  } else if (Model().IsWorkspaceSwitcherUnset()) {
    extraWidth_ = (natural - measured) / m;
  } else if (Model().HasWorkspaceSwitcherWidth()) {
    extraWidth_ = (Model().GetWorkspaceSwitcherWidth() - measured) / m;
  }
  // The row is never wider than all its tabs; narrowing it moves tabs into the overflow.
  extraWidth_ = std::min(extraWidth_, 0.0f);
  const float width = std::max(tabWell_->GetMinimumWidth(), std::min(measured + m * extraWidth_, bar.width - handle));
  const float left = alignment_ != 0 ? bar.width - width : (bar.width - width) * 0.5f;
  tabWell_->SetFrame({left, 0, width, bar.height});
  if (widthChangedByDrag_) {
    widthChangedByDrag_ = false;
    Model().SetWorkspaceSwitcherWidth(extraWidth_ == 0 ? 0.0f : width);
    SyncToWorkspaceSwitcherManager();
  }
  const float handleLeft = alignment_ != 0 ? left - handle : left + width;
  handle_->SetFrame({handleLeft, 0, handle, bar.height});
}

void WorkspaceSwitcherBar::SyncToWorkspaceSwitcherManager() {
  auto* shown = Model().GetShownWorkspaceList();
  auto* overflow = Model().GetOverflowWorkspaceList();
  shown->clear();
  overflow->clear();
  const std::vector<int> hidden = tabWell_->GetOverflowTabs();
  for (int i = 0; i < tabWell_->GetTabCount(); ++i) {
    const kivui::UI_TabItem& tab = tabWell_->GetTab(i);
    const bool visible = std::find(hidden.begin(), hidden.end(), tab.id) == hidden.end();
    (visible ? shown : overflow)->push_back(kivcore::UTF8to16(tab.text));
  }
  tabWell_->SetNumberOfBarTabs(int(shown->size()));
  Model().SnapshotLists();
  Model().NotifyListeners(this);
}

void WorkspaceSwitcherBar::SwitchLater(const UTF16String& name) {
  pendingSwitch_ = name;
  UI_StartTimer(kSwitchTimer, 0, false);
}

void WorkspaceSwitcherBar::SwitchTo(const UTF16String& name) {
  // The bar may leave its window here (the timer keeps it alive); a switch that fails
  // leaves the tabs, and the current workspace's tab is marked again.
  try {
    Model().SetCurrentWorkspace(name);
  } catch (const std::exception& e) {
    kivui::ShowCaution(kivcore::UTF16to8(name), e.what(), GetWindow());
  }
  NewActiveWorkspace(manager_.GetCurrentWorkspace());
}

void WorkspaceSwitcherBar::OnTabClicked(int id) {
  if (!registered_ || rebuilding_) return;
  const int index = tabWell_->IndexOfTab(id);
  if (index < 0) return;
  if (index == frontmost_) {
    // The menu opens once the press is over, so that the tab well's tracking ends first.
    OpenTabMenuLater(index, std::nullopt);
    return;
  }
  SwitchLater(kivcore::UTF8to16(tabWell_->GetTab(index).text));
}

void WorkspaceSwitcherBar::OpenTabMenuLater(int index, std::optional<kivcore::PointF> contextAt) {
  pendingTabMenu_ = index;
  pendingTabMenuAt_ = contextAt;
  UI_StartTimer(kTabMenuTimer, 0, false);
}

void WorkspaceSwitcherBar::ShowOverflowMenu(kivcore::PointF global) {
  if (!registered_ || rebuilding_) return;
  auto menu = kivui::CreateOSMenu();
  const std::vector<int> overflow = tabWell_->GetOverflowTabs();
  for (int id : overflow) {
    const kivui::UI_TabItem* tab = tabWell_->FindTab(id);
    menu->AddItem(id, tab->text, true, tabWell_->IndexOfTab(id) == frontmost_);
  }
  menu->AddSeparator();
  menu->AddItem(kEditWorkspacesItem, Text(kEditWorkspacesKey));
  const int chosen = kivui::PopupMenu(*menu, {int(global.x), int(global.y)});
  if (chosen == kEditWorkspacesItem) {
    OpenDialog();
  } else if (const kivui::UI_TabItem* tab = chosen > 0 ? tabWell_->FindTab(chosen) : nullptr) {
    SwitchLater(kivcore::UTF8to16(tab->text));
  }
}

void WorkspaceSwitcherBar::DoTabMenu(int index, bool asContextMenu, kivcore::PointF global) {
  auto menu = kivui::CreateOSMenu();
  menu->AddItem(kResetToSavedLayout, Text("$$$/kivworkspace/sharedui/WorkspacesPopup/WorkspaceResetToSavedLayout=Reset to Saved Layout"));
  menu->AddItem(kSaveChanges, Text("$$$/kivworkspace/sharedui/WorkspacesPopup/WorkspaceSaveChanges=Save Changes to this Workspace"));
  menu->AddItem(kSaveAsNew, Text("$$$/kivworkspace/sharedui/WorkspacesPopup/WorkspaceSaveAsNew=Save as New Workspace..."));
  menu->AddSeparator();
  menu->AddItem(kEditWorkspaces, Text(kEditWorkspacesKey));
  kivcore::Point at{int(global.x), int(global.y)};
  if (!asContextMenu) {
    const kivcore::RectF tab = tabWell_->LocalRectToGlobalF(tabWell_->GetTabRect(index));
    at = {int(tab.left), int(tab.top + tab.height)};
  }
  const int chosen = asContextMenu ? kivui::ContextMenu(*menu, at) : kivui::PopupMenu(*menu, at);
  workspace::Workspace& workspace = manager_.GetWorkspace();
  switch (chosen) {
    case kResetToSavedLayout: workspace.DoWorkspaceCmdReset(); break;
    case kSaveChanges: workspace.DoWorkspaceCmdSave(); break;
    case kSaveAsNew: workspace.DoWorkspaceCmdNew(); break;
    case kEditWorkspaces: OpenDialog(); break;
    default: break;
  }
}

void WorkspaceSwitcherBar::OpenDialog() {
  UI_StopTimer(kDialogTimer);
  UI_StartTimer(kDialogTimer, 0, false);
}

void WorkspaceSwitcherBar::EditWorkspaces(workspace::Workspace& workspace) {
  // The library's own dialog over the workspace's main window, on the manager the switcher
  // shows; an error of the manager on OK is shown there.
  workspace::ManagerBase* manager = Model().GetWorkspaceManager();
  if (!manager || &manager->GetWorkspace() != &workspace) return;
  kivui::OS_Window* parent = workspace.GetMainTopLevelWindow();
  WorkspaceSwitcherDialog dialog;
  try {
    dialog.Run(parent);
  } catch (const std::exception& e) {
    kivui::ShowCaution(dialog.GetTitle(), e.what(), parent);
  }
}

void WorkspaceSwitcherBar::UI_DoTimerNotify(int id) {
  if (managerGone_) return;
  if (id == kDialogTimer) {
    Model().AttachWorkspaceManager(&manager_);
    manager_.GetWorkspace().DoWorkspaceCmdEdit();
  } else if (id == kSwitchTimer && !pendingSwitch_.empty()) {
    SwitchTo(std::exchange(pendingSwitch_, {}));
  } else if (id == kTabMenuTimer && pendingTabMenu_ >= 0) {
    const int index = std::exchange(pendingTabMenu_, -1);
    const std::optional<kivcore::PointF> at = std::exchange(pendingTabMenuAt_, std::nullopt);
    if (index == frontmost_) DoTabMenu(index, at.has_value(), at.value_or(kivcore::PointF{}));
  }
}

void WorkspaceSwitcherBar::DragChange(float size) {
  useSavedWidth_ = false;
  extraWidth_ = size - (MeasuredWidth() + MeasuredNonTabWellWidth()) / Multiplier();
  UpdateLayout();
}

void WorkspaceSwitcherBar::DragEnd() {
  useSavedWidth_ = false;
  widthChangedByDrag_ = true;
  UpdateLayout();
}

float WorkspaceSwitcherBar::GetStartDragSize() const {
  return (tabWell_->GetFrame().width + MeasuredNonTabWellWidth()) / Multiplier();
}

float WorkspaceSwitcherBar::GetMinDragSize() const {
  return (tabWell_->GetMinimumWidth() + MeasuredNonTabWellWidth()) / Multiplier();
}

float WorkspaceSwitcherBar::GetMaxDragSize() const {
  return std::min(MeasuredWidth() + MeasuredNonTabWellWidth(), GetLocalBounds().width) / Multiplier();
}

}  // namespace kivworkspace::sharedui
