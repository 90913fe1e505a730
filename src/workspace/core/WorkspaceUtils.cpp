#include "workspace/core/WorkspaceUtils.h"

#include "services/ui/events/CursorPos.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/window/OS_Window.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/frames/WorkspaceFrame.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace kivworkspace::workspace::WorkspaceUtils {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

// Raises the workspace's create-tab-panel assertion mode while a close or a toggle runs.
class AssertionModeScope {
 public:
  explicit AssertionModeScope(Workspace& workspace) : workspace_(workspace) {
    workspace_.SetCreateTabPanelAssertionMode(true);
  }
  ~AssertionModeScope() { workspace_.SetCreateTabPanelAssertionMode(false); }
  AssertionModeScope(const AssertionModeScope&) = delete;
  AssertionModeScope& operator=(const AssertionModeScope&) = delete;

 private:
  Workspace& workspace_;
};

// Calls fn(panel, index in its frame) for each open panel of the window's frames, in child
// order and then tab order, until fn returns false. Every frame that is a child of the
// window counts, tabbed, stacked and tabless alike: the panels pinned to the window's sides
// too, which GetFrames leaves out.
template <typename Fn>
bool ForEachOpenPanel(const TopLevelWindow& window, Fn&& fn) {
  for (std::size_t c = 0; c < window.GetChildCount(); ++c) {
    auto* frame = dynamic_cast<WorkspaceFrameBase*>(window.GetChild(c));
    if (!frame) continue;
    for (unsigned i = 0; i < frame->GetTabCount(); ++i) {
      TabPanelPtr panel = frame->GetTabPanel(i);
      if (panel && !fn(*panel, int(i))) return false;
    }
  }
  return true;
}

// The walk behind VisitEachTab. Windows and frames are held while it runs, and each frame's
// panels are taken as the walk reaches it, so that a visitor may close or move panels,
// frames and windows without pulling anything from under the walk.
template <typename Visitor>
bool WalkTabs(const Workspace& workspace, Visitor& visitor) {
  Guard guard(GetTabWalkLock());
  std::vector<std::shared_ptr<TopLevelWindow>> windows;
  for (TopLevelWindow* window : workspace.GetWindows())
    windows.push_back(std::static_pointer_cast<TopLevelWindow>(window->shared_from_this()));
  for (const auto& window : windows) {
    if (window->GetParent() != &workspace) continue;
    std::vector<std::shared_ptr<WorkspaceFrame>> frames;
    for (WorkspaceFrame* frame : window->GetTabbedFrames())
      frames.push_back(std::static_pointer_cast<WorkspaceFrame>(frame->shared_from_this()));
    for (const auto& frame : frames) {
      if (frame->GetParent() != window.get()) continue;
      std::vector<TabPanelPtr> panels;
      for (unsigned i = 0; i < frame->GetTabCount(); ++i) panels.push_back(frame->GetTabPanel(i));
      for (const TabPanelPtr& panel : panels) {
        if (!panel || panel->GetFrame() != frame.get()) continue;
        if (!visitor.Visit(*panel)) return false;
      }
    }
  }
  return true;
}

template <typename Fn>
class FunctionVisitor final : public TabVisitor {
 public:
  explicit FunctionVisitor(Fn fn) : fn_(std::move(fn)) {}
  bool Visit(TabPanel& panel) override { return fn_(panel); }

 private:
  Fn fn_;
};

// A window's maximized frame hides the others: it is restored when `frame` is not it.
void RevealFrame(TopLevelWindow& window, const WorkspaceFrameBase* frame) {
  const Frame* maximized = window.GetLayoutManager().GetMaximizedFrame();
  if (maximized && (!frame || maximized != frame->GetLMFrame())) window.SetMaximizedFrame(nullptr);
}

// A new floating window whose root frame the caller fills; shown once it holds a panel,
// removed again when it does not.
template <typename Fill>
WorkspaceFrame* NewFloatingWindow(Workspace& workspace, Fill&& fill) {
  auto window = workspace.AddTopLevelWindow(false, nullptr);
  WorkspaceFrame* frame = fill(*window);
  if (!frame) {
    workspace.Remove(window.get());
    return nullptr;
  }
  window->UI_Show(true);
  if (TabPanelPtr front = frame->GetFrontTabPanel()) workspace.SetFocusedTabPanel(front.get());
  return frame;
}

// What a toggle looks for and brings back: any panel of a type, or one panel.
class ToggleTarget {
 public:
  ToggleTarget(std::string type, TabPanelPtr panel) : type_(std::move(type)), panel_(std::move(panel)) {}

  // The target open in one of the window's tabbed frames, or null; `present` tells whether
  // the window holds it open in any frame at all.
  TabPanel* FindOpen(const TopLevelWindow& window, bool& present) const {
    present = false;
    TabPanel* found = nullptr;
    ForEachOpenPanel(window, [&](TabPanel& panel, int) {
      if (panel_ ? &panel != panel_.get() : panel.GetTabType() != type_) return true;
      present = true;
      if (dynamic_cast<WorkspaceFrame*>(panel.GetFrame())) found = &panel;
      return found == nullptr;
    });
    return found;
  }

  bool CanReanimate(const WorkspaceFrame& frame) const {
    return panel_ ? frame.CanReanimateTab(panel_) : frame.CanReanimateTab(type_);
  }
  void Reanimate(WorkspaceFrame& frame) const {
    if (panel_) {
      frame.ReanimateTab(panel_);
    } else {
      frame.ReanimateTab(type_);
    }
  }
  bool CanReanimate(const TopLevelWindow& window) const {
    return panel_ ? window.CanReanimateFrame(panel_) : window.CanReanimateFrame(type_);
  }
  bool Reanimate(TopLevelWindow& window) const {
    return panel_ ? window.ReanimateFrame(panel_) : window.ReanimateFrame(type_);
  }
  bool ReanimateWindow(Workspace& workspace) const {
    if (panel_) return workspace.CanReanimateWindow(panel_) && workspace.ReanimateWindow(panel_);
    return workspace.CanReanimateWindow(type_) && workspace.ReanimateWindow(type_);
  }
  void OpenInNewWindow(Workspace& workspace) const {
    if (panel_) {
      // A panel still held by a frame outside the windows stays where it is.
      if (panel_->GetFrame()) return;
      NewFloatingWindow(workspace, [&](TopLevelWindow& w) { return w.CreateRootFrame(panel_, true); });
    } else if (workspace.FindCreator(type_)) {
      NewFloatingWindow(workspace,
                        [&](TopLevelWindow& w) { return w.CreateRootFrame(type_, true, true); });
    }
  }
  bool IsPanel() const { return panel_ != nullptr; }

 private:
  // A copy: the caller's string may belong to a panel the toggle closes.
  std::string type_;
  TabPanelPtr panel_;
};

void Toggle(Workspace& workspace, const ToggleTarget& target, bool focusIfShown) {
  Guard guard(GetTabWalkLock());
  AssertionModeScope assertionMode(workspace);

  // Find the open panel; on the way, remember where a closed one could come back.
  TabPanel* open = nullptr;
  WorkspaceFrame* reanimatingFrame = nullptr;
  TopLevelWindow* reanimatingWindow = nullptr;
  for (TopLevelWindow* window : workspace.GetWindows()) {
    bool present = false;
    open = target.FindOpen(*window, present);
    if (open) break;
    if (present) continue;
    WorkspaceFrame* candidate = nullptr;
    if (!reanimatingFrame) {
      const auto frames = window->GetTabbedFrames();
      auto it = std::find_if(frames.begin(), frames.end(),
                             [&](const WorkspaceFrame* f) { return target.CanReanimate(*f); });
      if (it != frames.end()) candidate = *it;
    }
    if (candidate) {
      reanimatingFrame = candidate;
    } else if (target.CanReanimate(*window)) {
      reanimatingWindow = window;
    }
  }

  if (open) {
    TabPanelPtr keep = std::static_pointer_cast<TabPanel>(open->shared_from_this());
    auto* frame = static_cast<WorkspaceFrame*>(open->GetFrame());
    TopLevelWindow* window = frame->GetTopLevelWindow();
    const int index = frame->IndexOf(open);
    const bool inFront = index == frame->GetFrontTabIndex();
    auto frontAndFocus = [&] {
      frame->BringTabToFront(unsigned(index));
      workspace.SetFocusedTabPanel(open);
    };
    const Frame* maximized = window ? window->GetLayoutManager().GetMaximizedFrame() : nullptr;
    if (maximized && maximized != frame->GetLMFrame()) {
      // Hidden behind a maximized frame: showing it is the whole toggle.
      window->SetMaximizedFrame(nullptr);
      if (!target.IsPanel() && !inFront) frontAndFocus();
    } else if (!inFront || (focusIfShown && workspace.GetFocusedTabPanel() != open)) {
      frontAndFocus();
    } else if (open->AllowClose()) {
      workspace.RemoveTab(frame, index, true, true);
    }
    return;
  }
  if (reanimatingFrame) {
    if (TopLevelWindow* window = reanimatingFrame->GetTopLevelWindow())
      RevealFrame(*window, reanimatingFrame);
    target.Reanimate(*reanimatingFrame);
    return;
  }
  if (reanimatingWindow && target.Reanimate(*reanimatingWindow)) return;
  if (target.ReanimateWindow(workspace)) return;
  target.OpenInNewWindow(workspace);
}

}  // namespace

std::recursive_mutex& GetTabWalkLock() {
  // Never destroyed, so that a walk during the process's exit still finds it.
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

// --- walks and finders -----------------------------------------------------------------------

bool VisitEachTab(const Workspace& workspace, TabVisitor& visitor) {
  return WalkTabs(workspace, visitor);
}

bool VisitEachTab(const Workspace& workspace, ConstTabVisitor& visitor) {
  return WalkTabs(workspace, visitor);
}

TabPanel* FindTabFromTabPanelID(const Workspace& workspace, std::uint32_t id) {
  TabPanel* found = nullptr;
  FunctionVisitor visitor([&](TabPanel& panel) {
    if (panel.GetID() == id) found = &panel;
    return found == nullptr;
  });
  VisitEachTab(workspace, visitor);
  return found;
}

TabPanel* FindFirstTabOfType(const TopLevelWindow& window, const std::string& type, int* index) {
  Guard guard(GetTabWalkLock());
  TabPanel* found = nullptr;
  ForEachOpenPanel(window, [&](TabPanel& panel, int i) {
    if (panel.GetTabType() != type) return true;
    found = &panel;
    if (index) *index = i;
    return false;
  });
  return found;
}

TabPanel* FindFirstTabOfType(const Workspace& workspace, const std::string& type, int* index) {
  Guard guard(GetTabWalkLock());
  for (TopLevelWindow* window : workspace.GetWindows()) {
    if (TabPanel* panel = FindFirstTabOfType(*window, type, index)) return panel;
  }
  return nullptr;
}

void FindAllTabsOfType(const Workspace& workspace, const std::string& type,
                       std::list<TabPanel*>& panels, std::list<int>* indices) {
  Guard guard(GetTabWalkLock());
  for (TopLevelWindow* window : workspace.GetWindows()) {
    ForEachOpenPanel(*window, [&](TabPanel& panel, int i) {
      if (panel.GetTabType() == type) {
        panels.push_back(&panel);
        if (indices) indices->push_back(i);
      }
      return true;
    });
  }
}

TabPanel* FindTabFromID(const TopLevelWindow& window, const std::string& id) {
  if (id.empty()) return nullptr;
  Guard guard(GetTabWalkLock());
  TabPanel* found = nullptr;
  ForEachOpenPanel(window, [&](TabPanel& panel, int) {
    if (panel.GetNodeID() == id) found = &panel;
    return found == nullptr;
  });
  return found;
}

TabPanel* FindTabFromID(const Workspace& workspace, const std::string& id) {
  if (id.empty()) return nullptr;
  Guard guard(GetTabWalkLock());
  for (TopLevelWindow* window : workspace.GetWindows()) {
    if (TabPanel* panel = FindTabFromID(*window, id)) return panel;
  }
  return nullptr;
}

TopLevelWindow* FindTopLevelWindowFromID(const Workspace& workspace, const std::string& id) {
  Guard guard(GetTabWalkLock());
  for (TopLevelWindow* window : workspace.GetWindows()) {
    if (window->GetNodeID() == id) return window;
  }
  return nullptr;
}

bool TabIsShownInTLW(const TopLevelWindow& window, const TabPanel& panel, bool& frontmost,
                     bool considerMaximized) {
  frontmost = false;
  const LayoutManagerV1& layout = window.GetLayoutManager();
  if (considerMaximized && layout.HasMaximizedFrame()) {
    const WorkspaceFrameBase* frame = panel.GetFrame();
    if (!frame || frame->GetLMFrame() != layout.GetMaximizedFrame()) return false;
    frontmost = panel.IsFrontmost();
    return true;
  }
  const auto* frame = dynamic_cast<const WorkspaceFrame*>(panel.GetFrame());
  const int index = frame && frame->GetTopLevelWindow() == &window ? frame->IndexOf(&panel) : -1;
  if (index < 0) return false;
  frontmost = index == frame->GetFrontTabIndex();
  return true;
}

bool TabIsShown(const Workspace& workspace, const std::string& type, bool& frontmost) {
  Guard guard(GetTabWalkLock());
  bool shown = false;
  frontmost = false;
  for (TopLevelWindow* window : workspace.GetWindows()) {
    ForEachOpenPanel(*window, [&](TabPanel& panel, int) {
      bool front = false;
      if (panel.GetTabType() == type && TabIsShownInTLW(*window, panel, front, true)) {
        shown = true;
        frontmost = frontmost || front;
      }
      return !frontmost;
    });
    if (frontmost) break;
  }
  return shown;
}

bool TabIsShown(const Workspace& workspace, const TabPanel& panel, bool& frontmost) {
  Guard guard(GetTabWalkLock());
  frontmost = false;
  for (TopLevelWindow* window : workspace.GetWindows()) {
    if (TabIsShownInTLW(*window, panel, frontmost, true)) return true;
  }
  return false;
}

// --- maximizing ------------------------------------------------------------------------------

bool CanHaveMaximizedFrame(const TopLevelWindow* window) {
  return window && window->GetFrameCount() > 1;
}

bool ToggleThisFrameMaximizationState(Workspace& workspace, WorkspaceFrameBase* frame) {
  TopLevelWindow* window = frame ? frame->GetTopLevelWindow() : nullptr;
  if (!CanHaveMaximizedFrame(window)) return false;
  if (window->GetLayoutManager().HasMaximizedFrame()) {
    window->SetMaximizedFrame(nullptr);
    return true;
  }
  window->SetMaximizedFrame(frame);
  if (TabPanelPtr front = frame->GetFrontTabPanel()) workspace.SetFocusedTabPanel(front.get());
  return true;
}

bool ToggleFrameMaximizationState(Workspace& workspace) {
  const kivcore::Point pointer = kivui::GetGlobalCursorPos();
  auto* window = dynamic_cast<TopLevelWindow*>(Workspace::GetTopLevelWindowFromPos(pointer));
  if (!window || window->GetWorkspace() != &workspace) return false;
  return ToggleThisFrameMaximizationState(workspace, window->GetFrameFromPos(pointer));
}

// --- closing and reopening -------------------------------------------------------------------

void CloseTab(Workspace& workspace, const TabPanelPtr& panel) {
  if (!panel) return;
  Guard guard(GetTabWalkLock());
  AssertionModeScope assertionMode(workspace);
  auto* frame = dynamic_cast<WorkspaceFrame*>(panel->GetFrame());
  if (frame && panel->AllowClose()) workspace.RemoveTab(frame, panel.get(), true, true);
}

TabPanel* CreateOrReanimateTab(Workspace& workspace, const std::string& type) {
  Guard guard(GetTabWalkLock());
  // Where it was: a record in one of a window's frames, or a closed frame of the window.
  for (TopLevelWindow* window : workspace.GetWindows()) {
    for (WorkspaceFrame* frame : window->GetTabbedFrames()) {
      if (!frame->CanReanimateTab(type)) continue;
      RevealFrame(*window, frame);
      if (TabPanel* panel = frame->ReanimateTab(type)) return panel;
      return FindFirstTabOfType(*window, type);
    }
    if (window->CanReanimateFrame(type) && window->ReanimateFrame(type))
      return FindFirstTabOfType(*window, type);
  }
  // In the window it was closed with: the one the reanimation adds.
  const std::vector<TopLevelWindow*> before = workspace.GetWindows();
  if (workspace.CanReanimateWindow(type) && workspace.ReanimateWindow(type)) {
    for (TopLevelWindow* window : workspace.GetWindows()) {
      if (std::find(before.begin(), before.end(), window) != before.end()) continue;
      if (TabPanel* panel = FindFirstTabOfType(*window, type)) return panel;
    }
    return FindFirstTabOfType(workspace, type);
  }
  if (!workspace.FindCreator(type)) return nullptr;
  WorkspaceFrame* frame = NewFloatingWindow(
      workspace, [&](TopLevelWindow& window) { return window.CreateRootFrame(type, true, true); });
  return frame ? frame->GetFrontTabPanel().get() : nullptr;
}

bool ChangeFocusTabPanel(Workspace& workspace, bool forward) {
  Guard guard(GetTabWalkLock());
  std::vector<TabPanel*> cycle;
  for (TopLevelWindow* window : workspace.GetWindows()) {
    if (!window->IsShown()) continue;
    // Layout order is the order the user sees; frames a maximized one hides are not shown.
    for (const Frame* leaf : window->GetLayoutManager().GetFrames()) {
      auto* frame = dynamic_cast<WorkspaceFrame*>(window->GetFrameFromLMFrame(leaf));
      if (!frame || !frame->IsFrameShown()) continue;
      for (unsigned i = 0; i < frame->GetTabCount(); ++i) {
        TabPanelPtr panel = frame->GetTabPanel(i);
        if (panel && panel->WantsFocus()) cycle.push_back(panel.get());
      }
    }
  }
  if (cycle.empty()) return false;
  const auto focused = std::find(cycle.begin(), cycle.end(), workspace.GetFocusedTabPanel());
  TabPanel* next = nullptr;
  if (forward) {
    next = focused == cycle.end() || focused + 1 == cycle.end() ? cycle.front() : *(focused + 1);
  } else {
    next = focused == cycle.end() || focused == cycle.begin() ? cycle.back() : *(focused - 1);
  }
  workspace.SetFocusedTabPanel(next);
  return true;
}

void ToggleTabState(Workspace& workspace, const std::string& type, bool focusIfShown) {
  Toggle(workspace, ToggleTarget(type, nullptr), focusIfShown);
}

void ToggleTabState(Workspace& workspace, const TabPanelPtr& panel, bool focusIfShown) {
  if (!panel || panel->GetWorkspace() != &workspace) return;
  Toggle(workspace, ToggleTarget(panel->GetTabType(), panel), focusIfShown);
}

namespace {

// Whether a panel of the type is open anywhere or can come back where it was.
bool TypeIsOpenOrReanimatable(const Workspace& workspace, const std::string& type) {
  if (FindFirstTabOfType(workspace, type) || workspace.CanReanimateWindow(type)) return true;
  for (const TopLevelWindow* window : workspace.GetWindows()) {
    if (window->CanReanimateFrame(type)) return true;
    for (const WorkspaceFrame* frame : window->GetTabbedFrames())
      if (frame->CanReanimateTab(type)) return true;
  }
  return false;
}

// Removes the main window's element on that side, or makes the type that element.
void ToggleStaticElement(Workspace& workspace, const std::string& type,
                         LayoutManager::InsertionType side, bool elsewhereFirst) {
  TopLevelWindow* main = workspace.GetMainTopLevelWindow();
  if (!main) return;
  if (main->HasStaticElement(side)) return main->RemoveStaticElement(side, true);
  if (elsewhereFirst && TypeIsOpenOrReanimatable(workspace, type))
    return ToggleTabState(workspace, type, false);
  main->SetStaticElement(type, side, true);
}

}  // namespace

void ToggleToolbarTabState(Workspace& workspace, const std::string& type) {
  std::lock_guard lock(GetTabWalkLock());
  ToggleStaticElement(workspace, type, LayoutManager::kTop, true);
}

void ToggleStatusbarTabState(Workspace& workspace, const std::string& type) {
  std::lock_guard lock(GetTabWalkLock());
  ToggleStaticElement(workspace, type, LayoutManager::kBottom, false);
}

// --- windows ----------------------------------------------------------------------------------

TopLevelWindow* FindMainTopLevelWindow() {
  for (kivui::OS_Window* window : kivui::OS_Window::UI_EnumerateAllWindows()) {
    auto* topLevel = dynamic_cast<TopLevelWindow*>(window);
    if (topLevel && topLevel->IsMain()) return topLevel;
  }
  return nullptr;
}

kivui::OS_Window* GetModalDialogParentNode() {
  if (kivui::OS_Window* modal = kivui::UI_NodeManager::Get().GetModalWindow()) return modal;
  return FindMainTopLevelWindow();
}

}  // namespace kivworkspace::workspace::WorkspaceUtils
