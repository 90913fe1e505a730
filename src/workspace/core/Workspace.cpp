#include "workspace/core/Workspace.h"

#include "services/core/PropListUtils.h"
#include "services/ui/node/ResourceManager.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/window/OS_MonitorInfo.h"
#include "workspace/drag/internal/SplitterDragger.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "workspace/frames/WorkspaceFrame.h"

#include <algorithm>
#include <optional>

namespace kivworkspace::workspace {
namespace {

bool stackedTabPanelsEnabled = false;
bool dragTabSoundFeedback = false;
int lastDockProgressPercent = 100;

constexpr kivcore::Rect kDefaultFloatingRect{160, 120, 640, 420};

}  // namespace

Workspace::Workspace() { SetNodeID("Workspace"); }

Workspace::~Workspace() {
  tracker_.reset();
  // Windows first: their frames and panels call back into the workspace as they go.
  for (TopLevelWindow* window : GetWindows()) window->UI_Show(false);
  RemoveAll();
  creators_.clear();
}

// --- tab creators ------------------------------------------------------------------------------

TabCreator* Workspace::RegisterTabCreator(std::unique_ptr<TabCreator> creator) {
  auto [it, inserted] = creators_.try_emplace(creator->GetTabType(), nullptr);
  if (inserted) it->second = std::move(creator);
  return it->second.get();
}

std::unique_ptr<TabCreator> Workspace::UnregisterTabCreator(const std::string& type) {
  auto it = creators_.find(type);
  if (it == creators_.end()) return nullptr;
  std::unique_ptr<TabCreator> creator = std::move(it->second);
  creators_.erase(it);
  return creator;
}

const TabCreator* Workspace::FindCreator(const std::string& type) const {
  auto it = creators_.find(type);
  return it == creators_.end() ? nullptr : it->second.get();
}

bool Workspace::TabTypeHidesWhenClosed(const std::string& type) const {
  const TabCreator* c = FindCreator(type);
  return c && c->HidesWhenClosed();
}

bool Workspace::TabTypeObliteratesWhenClosed(const std::string& type) const {
  const TabCreator* c = FindCreator(type);
  return c && c->ObliteratesWhenClosed();
}

bool Workspace::TabTypeSavesStateWhenObliterated(const std::string& type) const {
  const TabCreator* c = FindCreator(type);
  return c && c->SavesStateWhenObliterated();
}

TabPanelPtr Workspace::CreateTabPanel(const std::string& type, WorkspaceFrameBase* frame) {
  const TabCreator* creator = FindCreator(type);
  return creator ? creator->CreateTabPanel(this, frame) : nullptr;
}

// --- top-level windows ------------------------------------------------------------------------

std::shared_ptr<TopLevelWindow> Workspace::CreateMainTopLevelWindow(const kivcore::Rect& rect) {
  auto window = std::make_shared<TopLevelWindow>(this, false);
  window->SetMain(true);
  window->ConstructMainOSWindow(rect);
  PushBack(window);
  return window;
}

std::shared_ptr<TopLevelWindow> Workspace::CreateTopLevelWindow(bool orphan,
                                                                const kivcore::Rect* rect) {
  auto window = std::make_shared<TopLevelWindow>(this, false);
  kivcore::Rect r = rect ? *rect : kDefaultFloatingRect;
  TopLevelWindow* main = GetMainTopLevelWindow();
  if (!rect && main) {
    const kivcore::Rect m = main->GetGlobalContentRect();
    r = r.Offset(m.left, m.top);
  }
  if (orphan || !main) {
    window->ConstructOrphanOSWindow(r);
  } else {
    window->ConstructOSWindow(main, r);
  }
  return window;
}

std::shared_ptr<TopLevelWindow> Workspace::AddTopLevelWindow(bool orphan,
                                                             const kivcore::Rect* rect) {
  auto window = CreateTopLevelWindow(orphan, rect);
  PushBack(window);
  return window;
}

std::shared_ptr<TopLevelWindow> Workspace::NewDragSrcWindow(const kivcore::Rect& rect,
                                                            WorkspaceFramePtr frame,
                                                            const std::vector<TabPanelPtr>& panels) {
  auto window = std::make_shared<TopLevelWindow>(this, true);
  if (TopLevelWindow* main = GetMainTopLevelWindow()) {
    window->ConstructOSWindow(main, rect);
  } else {
    window->ConstructOrphanOSWindow(rect);
  }
  window->SetTakesFocus(false);
  PushBack(window);
  if (!frame) frame = window->CreateWorkspaceFrame();
  frame->AddTabs(panels);
  window->SetRootFrame(frame);
  window->UI_SetOpacity(0.8f);
  window->UI_Show(true);
  return window;
}

std::shared_ptr<TopLevelWindow> Workspace::CreateDragSrcWindow(
    const std::vector<TabPanelPtr>& panels, const kivcore::Rect& rect) {
  return NewDragSrcWindow(rect, nullptr, panels);
}

std::shared_ptr<TopLevelWindow> Workspace::CreateDragSrcWindow(const WorkspaceFramePtr& frame,
                                                               const kivcore::Rect& rect) {
  return NewDragSrcWindow(rect, frame, {});
}

void Workspace::MakeWindowPermanent(const std::shared_ptr<TopLevelWindow>& window) {
  // A drag-source window was shown translucent and passive; now it is an ordinary window.
  window->UI_SetOpacity(1);
  window->SetTakesFocus(true);
  window->MakePermanent();
  OnTopLevelWindowActivated(window.get());
}

void Workspace::RemoveWindow(TopLevelWindow* window, bool keepData) {
  keepRemovedWindowData_ = keepData;
  ChildRequestRemove(window->shared_from_this());
  keepRemovedWindowData_ = true;
}

bool Workspace::ChildRequestRemove(const std::shared_ptr<kivui::UI_Node>& node) {
  auto window = std::dynamic_pointer_cast<TopLevelWindow>(node);
  if (!window) return Remove(node.get()) != nullptr;
  if (window->IsMain()) return true;
  std::optional<std::string> lastType;
  if (TabPanel* last = window->GetLastTouchedTabPanel()) lastType = last->GetTabType();
  window->RemoveTabPanels(true);
  // A window that stays keeps its panels: it is remembered only when it goes, and only then
  // does its record supersede the older records of its last-touched panel's type.
  for (WorkspaceFrame* frame : window->GetTabbedFrames()) {
    if (!frame->AllowFrameClose()) return false;
  }
  if (keepRemovedWindowData_) {
    if (lastType)
      removedWindows_.remove_if([&](const auto& record) { return record->HasTabType(*lastType); });
    removedWindows_.push_back(WindowReanimateData::FromWindow(*window));
  }
  if (window->GetParent() != this) return true;
  window->UI_Show(false);
  return Remove(window.get()) != nullptr;
}

TopLevelWindow* Workspace::GetMainTopLevelWindow() const {
  for (TopLevelWindow* w : GetWindows()) {
    if (w->IsMain()) return w;
  }
  return nullptr;
}

std::vector<TopLevelWindow*> Workspace::GetWindows() const {
  std::vector<TopLevelWindow*> windows;
  for (std::size_t i = 0; i < GetChildCount(); ++i) {
    if (auto* w = dynamic_cast<TopLevelWindow*>(GetChild(i))) windows.push_back(w);
  }
  return windows;
}

void Workspace::InvalidateTopLevelWindows() {
  for (TopLevelWindow* w : GetWindows()) w->UI_Invalidate();
}

void Workspace::UpdateNowTopLevelWindows() {
  for (TopLevelWindow* w : GetWindows()) w->UI_UpdateNow();
}

// Each window in its client rectangle as it is now: a window built or resized while the
// layout was off catches up here.
void Workspace::ReLayoutTopLevelWindows() {
  for (TopLevelWindow* w : GetWindows()) {
    const kivcore::Rect rect = w->GetClientRect();
    LayoutManager& layout = w->GetLayoutManager();
    layout.Layout(rect, !(rect == layout.GetContainingRect()), true, false);
  }
}

void Workspace::BringAppToFront() {
  TopLevelWindow* main = GetMainTopLevelWindow();
  if (!main) return;
  if (main->GetWindowState() == kivui::OS_Window::kMinimized)
    main->ShowWithState(kivui::OS_Window::kNormal);
  main->Activate(true);
  main->UI_UpdateNow();
}

void Workspace::DrawDockProgress(int current, int total) {
  const int percent = current * 100 / total;
  if (percent == lastDockProgressPercent) return;
  lastDockProgressPercent = percent;
  DoSetDockProgress(current >= 1 && current < total, current, total);
}

// --- panels --------------------------------------------------------------------------------------

TabPanel* Workspace::GetFocusedTabPanel() const {
  for (kivui::UI_Node* n = kivui::UI_NodeManager::Get().GetFocusNode(); n; n = n->GetParent()) {
    if (auto* panel = dynamic_cast<TabPanel*>(n))
      return panel->GetWorkspace() == this ? panel : nullptr;
  }
  return nullptr;
}

void Workspace::SetFocusedTabPanel(TabPanel* panel) {
  if (focusGuard_ || !panel) return;
  focusGuard_ = true;
  bool alreadyRight = false;
  for (kivui::UI_Node* n = kivui::UI_NodeManager::Get().GetFocusNode(); n && !alreadyRight;
       n = n->GetParent()) {
    alreadyRight = n == panel;
  }
  if (auto* frame = dynamic_cast<WorkspaceFrame*>(panel->GetFrame())) frame->BringTabToFront(panel);
  if (!alreadyRight && GetFocusedTabPanel() != panel) {
    if (WorkspaceFrameBase* frame = panel->GetFrame()) {
      if (TopLevelWindow* window = frame->GetTopLevelWindow()) window->Activate(false);
    }
    panel->UI_GainKeyboardFocus(kivui::FocusChangeReason::kProgrammatic);
  }
  focusGuard_ = false;
}

void Workspace::TabPanelGainedFocus(TabPanel* panel) {
  for (TopLevelWindow* window : GetWindows()) {
    for (WorkspaceFrame* frame : window->GetTabbedFrames())
      frame->SetActive(frame == panel->GetFrame());
  }
  OnTabPanelGainedFocus(panel);
}

TabPanel* Workspace::GetLastTouchedTabPanel() const {
  TabPanel* best = nullptr;
  for (TopLevelWindow* window : GetWindows()) {
    TabPanel* candidate = window->GetLastTouchedTabPanel();
    if (candidate && candidate->GetTimeStamp() > (best ? best->GetTimeStamp() : 0))
      best = candidate;
  }
  return best;
}

TabPanel* Workspace::GetTabPanelFromPos(kivcore::Point global) const {
  auto* window = dynamic_cast<TopLevelWindow*>(GetTopLevelWindowFromPos(global));
  WorkspaceFrameBase* frame = window ? window->GetFrameFromPos(global) : nullptr;
  if (!frame || !frame->GetTabPanelFrameGlobalRect().Contains(global)) return nullptr;
  return frame->GetFrontTabPanel().get();
}

TabPanel* Workspace::NewTabInFocused(const std::string& type) {
  TabPanel* focused = GetFocusedTabPanel();
  if (auto* frame = focused ? dynamic_cast<WorkspaceFrame*>(focused->GetFrame()) : nullptr) {
    return frame->AddTab(type, true);
  }
  TopLevelWindow* main = GetMainTopLevelWindow();
  if (main && main->AcceptsTabs()) {
    if (WorkspaceFrame* root = main->GetRootFrame()) return root->AddTab(type, true);
    WorkspaceFrame* frame = main->CreateRootFrame(type, true, true);
    return frame ? frame->GetFrontTabPanel().get() : nullptr;
  }
  WorkspaceFrame* frame = NewFloatingRootFrame(type);
  return frame ? frame->GetFrontTabPanel().get() : nullptr;
}

WorkspaceFrame* Workspace::NewFloatingRootFrame(const std::string& type) {
  if (!FindCreator(type)) return nullptr;
  auto window = AddTopLevelWindow(GetMainTopLevelWindow() == nullptr, nullptr);
  WorkspaceFrame* frame = window->CreateRootFrame(type, true, true);
  window->UI_Show(true);
  return frame;
}

WorkspaceFrame* Workspace::NewFrameInFocused(const std::string& type, InsertionType side) {
  TabPanel* focused = GetFocusedTabPanel();
  if (focused && dynamic_cast<WorkspaceFrame*>(focused->GetFrame())) {
    WorkspaceFrameBase* frame = focused->GetFrame();
    return frame->GetTopLevelWindow()->AddTabbedFrame(frame, type, side);
  }
  TopLevelWindow* main = GetMainTopLevelWindow();
  if (main && main->AcceptsTabs()) {
    if (WorkspaceFrame* root = main->GetRootFrame()) return main->AddTabbedFrame(root, type, side);
    return main->CreateRootFrame(type, true, true);
  }
  return NewFloatingRootFrame(type);
}

bool Workspace::RemoveTab(WorkspaceFrame* frame, int index, bool applyPolicy, bool notify) {
  TabPanelPtr panel = frame->GetTabPanel(unsigned(index));
  if (!panel) return false;
  auto keepFrame = frame->shared_from_this();
  TopLevelWindow* window = frame->GetTopLevelWindow();
  auto keepWindow = window ? window->shared_from_this() : nullptr;
  bool hadFocus = frame->UI_HasKeyboardFocus(false);
  bool keepState = applyPolicy;
  if (notify && panel->ObliterateWhenClosed()) {
    NotifyObliterating(panel.get());
    keepState = applyPolicy && panel->SaveStateWhenObliterated();
  }
  if (keepState) frame->CacheTabData(panel, panel->HideWhenClosed());
  frame->DetachTabPanel(unsigned(index));
  if (frame->GetTabCount() > 0) return true;

  const bool keepProxy = frame->HasRemovedTabProxy() || frame->HasHiddenTabs();
  if (window) window->RemoveFrame(frame, keepProxy);
  if (window && !window->GetRootFrame() && !window->IsMain()) {
    // The window is remembered whenever it still holds closed panels: this frame's, or
    // those of its other placeholders and hidden frames.
    RemoveWindow(window, keepProxy || window->HasReanimatableFrames());
    window = GetMainTopLevelWindow();
    hadFocus = true;
  }
  if (window && hadFocus) {
    WorkspaceFrame* root = window->GetRootFrame();
    if (root && root->GetTabCount() > 0 && root->GetFrontTabIndex() >= 0) {
      SetFocusedTabPanel(root->GetFrontTabPanel().get());
    }
  }
  return true;
}

bool Workspace::RemoveTab(WorkspaceFrame* frame, TabPanel* panel, bool applyPolicy, bool notify) {
  const int index = frame->IndexOf(panel);
  return index >= 0 && RemoveTab(frame, index, applyPolicy, notify);
}

void Workspace::ForEachWindowEmptying(bool destroy) {
  SetLayoutEnabled(false);
  const auto windows = GetWindows();
  std::vector<std::shared_ptr<kivui::UI_Node>> keep;
  for (TopLevelWindow* w : windows) keep.push_back(w->shared_from_this());
  for (TopLevelWindow* window : windows) {
    if (destroy) {
      window->DestroyTabPanels();
    } else {
      window->RemoveTabPanels(false);
    }
    if (!window->IsMain()) window->UI_Show(false);
  }
  ClearRemovedWindowData();
  SetLayoutEnabled(true);
  if (GetLayoutEnabled()) ReLayoutTopLevelWindows();
}

void Workspace::RemoveTabPanels() { ForEachWindowEmptying(false); }
void Workspace::DestroyTabPanels() { ForEachWindowEmptying(true); }

void Workspace::FindAllHiddenTabs(std::list<TabPanelPtr>& out) {
  for (TopLevelWindow* window : GetWindows()) {
    std::vector<WorkspaceFrame*> frames = window->GetTabbedFrames();
    for (const auto& hidden : window->GetHiddenFrames()) frames.push_back(hidden.get());
    for (WorkspaceFrame* frame : frames) {
      frame->DetachHiddenTabs();
      out.splice(out.end(), frame->TakeHiddenTabs());
    }
  }
  for (const auto& record : removedWindows_)
    out.insert(out.end(), record->panels.begin(), record->panels.end());
}

// --- closed windows ------------------------------------------------------------------------------

bool Workspace::CanReanimateWindow(const std::string& type) const {
  return std::any_of(removedWindows_.begin(), removedWindows_.end(),
                     [&](const auto& r) { return r->HasTabType(type); });
}

bool Workspace::CanReanimateWindow(const TabPanelPtr& panel) const {
  return std::any_of(removedWindows_.begin(), removedWindows_.end(),
                     [&](const auto& r) { return r->HasPanel(panel.get()); });
}

bool Workspace::ReanimateWindow(const std::string& type) {
  for (auto it = removedWindows_.begin(); it != removedWindows_.end(); ++it) {
    if (!(*it)->HasTabType(type)) continue;
    const auto record = *it;
    if (ReanimateRecord(*record, &type, nullptr)) {
      removedWindows_.erase(it);
      return true;
    }
  }
  return false;
}

bool Workspace::ReanimateWindow(const TabPanelPtr& panel) {
  for (auto it = removedWindows_.begin(); it != removedWindows_.end(); ++it) {
    if (!(*it)->HasPanel(panel.get())) continue;
    const auto record = *it;
    if (ReanimateRecord(*record, nullptr, panel)) {
      removedWindows_.erase(it);
      return true;
    }
  }
  return false;
}

bool Workspace::ReanimateRecord(const WindowReanimateData& record, const std::string* type,
                                const TabPanelPtr& panel) {
  kivcore::PropList definition;
  try {
    definition = kivcore::proplist::utils::ReadPropList(record.windowDefinition);
  } catch (const std::exception&) {
    return false;  // a damaged record is skipped
  }
  auto window = AddTopLevelWindow(GetMainTopLevelWindow() == nullptr, nullptr);
  // The record's kept panels live on in the hidden frames of the tree read back.
  PanelPool pool(std::list<TabPanelPtr>(record.panels.begin(), record.panels.end()));
  ReadWindow(*window, definition, pool, WindowReadOptions{}, nullptr);
  // Failing that, a root frame beside the places the tree remembers (laid out at once, so
  // that the placeholders stay in the tree).
  bool back = false;
  if (panel) {
    back = window->CanReanimateFrame(panel) && window->ReanimateFrame(panel);
    if (!back && pool.Remove(panel)) back = window->CreateRootFrame(panel, true, true);
  } else {
    // A kept panel of the type comes back as itself from the hidden frame that holds it.
    auto kept = std::find_if(record.panels.begin(), record.panels.end(),
                             [&](const TabPanelPtr& p) { return p->GetTabType() == *type; });
    back = (kept != record.panels.end() && window->CanReanimateFrame(*kept) &&
            window->ReanimateFrame(*kept)) ||
           window->ReanimateFrame(*type) || window->CreateRootFrame(*type, true, true);
  }
  if (!back) {
    Remove(window.get());
    return false;
  }
  // Kept panels the tree had no place for wait, hidden, in the frame that came back.
  if (WorkspaceFrame* frame = window->GetRootFrame()) {
    for (const TabPanelPtr& kept : pool.TakeAll()) frame->CacheTabData(kept, true);
  }
  window->UI_Show(true);
  window->GetLayoutManager().Layout(window->GetClientRect(), false, true, false);
  return true;
}

PanelPool Workspace::GatherPanels() {
  PanelPool pool;
  for (TopLevelWindow* window : GetWindows()) {
    for (WorkspaceFrame* frame : window->GetTabbedFrames()) {
      while (frame->GetTabCount() > 0) pool.Add(frame->DetachTabPanel(0));
    }
  }
  std::list<TabPanelPtr> hidden;
  FindAllHiddenTabs(hidden);
  for (TabPanelPtr& panel : hidden) pool.Add(std::move(panel));
  removedWindows_.clear();
  return pool;
}

void Workspace::ReleasePanels(PanelPool& pool) {
  std::list<TabPanelPtr> left = pool.TakeAll();
  for (const TabPanelPtr& panel : left) NotifyPreOrphaning(panel.get());
  for (const TabPanelPtr& panel : left) NotifyOrphaning(panel.get());
}

void Workspace::SaveWorkspaceData(kivcore::PropList& list) const {
  std::size_t n = 0;
  for (const auto& record : removedWindows_) {
    kivcore::PropList& item = list.NewSubList("FrameReanim-" + std::to_string(n++));
    item.SetValue("RemovedTabs",
                  kivcore::PropList::StringList(record->tabTypes.begin(), record->tabTypes.end()));
    item.SetValue("WinSerData", record->windowDefinition);
    kivcore::PropList::StringList kept;
    for (const TabPanelPtr& panel : record->panels) kept.push_back(panel->GetTabType());
    item.SetValue("HiddenTabs", std::move(kept));
  }
  list.SetValue("FrameReanimMax", std::int32_t(n));
}

void Workspace::ReadWorkspaceData(const kivcore::PropList& list, PanelPool& pool,
                                  RestoreReport* report) {
  auto note = [report](const std::string& at, const std::string& what) {
    if (report) report->fallbacks.push_back("WSInstanceData/" + at + ": " + what);
  };
  // The numbers first to last hold no record.
  auto missing = [&](std::int32_t first, std::int32_t last) {
    if (first == last) {
      note("FrameReanim-" + std::to_string(first),
           "missing or not a sublist; that closed window is forgotten");
    } else if (first < last) {
      note("FrameReanim-" + std::to_string(first) + " to FrameReanim-" + std::to_string(last),
           "missing or not sublists; those closed windows are forgotten");
    }
  };
  removedWindows_.clear();
  std::int32_t count = 0;
  if (!list.GetValue("FrameReanimMax", count))
    note("FrameReanimMax", "missing or not an int; no closed window is remembered");
  // Only the records the list holds are read, whatever the count says.
  std::int32_t expected = 0;
  for (std::int32_t n : NumberedSubLists(list, "FrameReanim-", count)) {
    missing(expected, n - 1);
    expected = n + 1;
    const std::string key = "FrameReanim-" + std::to_string(n);
    const kivcore::PropList* item = list.GetSubList(key);
    auto record = std::make_shared<WindowReanimateData>();
    kivcore::PropList::StringList types, kept;
    if (!item->GetValue("RemovedTabs", types) || !item->GetValue("WinSerData", record->windowDefinition)) {
      note(key, "its panel types or its window are missing or of another type; it is forgotten");
      continue;
    }
    // A window that cannot be read back could never be reanimated: forget it now.
    try {
      kivcore::proplist::utils::ReadPropList(record->windowDefinition);
    } catch (const std::exception& e) {
      note(key + "/WinSerData",
           std::string("not a property list (") + e.what() + "); that closed window is forgotten");
      continue;
    }
    record->tabTypes.insert(types.begin(), types.end());
    if (item->HasValue("HiddenTabs") && !item->GetValue("HiddenTabs", kept))
      note(key + "/HiddenTabs", "not a string list; its panels kept alive are made anew");
    for (const std::string& type : kept) {
      if (TabPanelPtr panel = pool.TakeOrMake(*this, type)) {
        panel->SetFrame(nullptr);
        if (kivui::UI_Container* parent = panel->GetParent()) parent->Remove(panel.get());
        record->panels.push_back(std::move(panel));
      }
    }
    removedWindows_.push_back(std::move(record));
  }
  missing(expected, count - 1);
}

const kivui::Image& Workspace::GetImage(WorkspaceImage which) {
  static constexpr const char* kNames[] = {"closebox", "gripper", "DownArrow"};
  auto& slot = images_.at(std::size_t(which));
  if (!slot)
    slot = kivui::UI_NodeManager::Get().GetResourceManager().GetImage(kNames[which], "png");
  return *slot;
}

// --- workspace commands --------------------------------------------------------------------------

namespace {
std::function<void(Workspace&)>& DefaultEditCommand() {
  static std::function<void(Workspace&)> command;
  return command;
}
}  // namespace

void Workspace::DoWorkspaceCmdEdit() {
  if (DefaultEditCommand()) DefaultEditCommand()(*this);
}

void Workspace::SetDefaultEditCommand(std::function<void(Workspace&)> command) {
  DefaultEditCommand() = std::move(command);
}

// --- settings and trackers -------------------------------------------------------------------

bool Workspace::GetStackedTabPanelsEnabled() { return stackedTabPanelsEnabled; }
void Workspace::SetStackedTabPanelsEnabled(bool enabled) { stackedTabPanelsEnabled = enabled; }
bool Workspace::GetDragTabSoundFeedbackEnabled() { return dragTabSoundFeedback; }
void Workspace::SetDragTabSoundFeedbackEnabled(bool enabled) { dragTabSoundFeedback = enabled; }

std::unique_ptr<OS_Tracker> Workspace::AcquireSplitterDragger(TopLevelWindow* window,
                                                              const kivcore::Rect& rect) {
  return std::make_unique<SplitterDragger>(window, rect);
}

std::unique_ptr<OS_Tracker> Workspace::AcquireTabDragger(WorkspaceFrame* frame, bool wholeFrame,
                                                         unsigned index) {
  return std::make_unique<TabDragger>(frame, wholeFrame, index);
}

void Workspace::SetTracker(std::unique_ptr<OS_Tracker> tracker, TopLevelWindow* capturer) {
  if (tracker_) ReleaseTracker(true);
  tracker_ = std::move(tracker);
  trackerCapturer_ = capturer;
  if (capturer) kivui::UI_NodeManager::Get().BeginCapture(capturer);
}

void Workspace::MoveTrackerCapture(TopLevelWindow* from, TopLevelWindow* to) {
  if (!tracker_ || trackerCapturer_ != from || !to) return;
  kivui::UI_NodeManager::Get().TransferCapture(from, to);
  trackerCapturer_ = to;
}

void Workspace::ReleaseTracker(bool cancel) {
  std::unique_ptr<OS_Tracker> tracker = std::move(tracker_);
  TopLevelWindow* capturer = trackerCapturer_;
  trackerCapturer_ = nullptr;
  if (!tracker) return;
  if (capturer) kivui::UI_NodeManager::Get().EndCapture(capturer);
  if (cancel) tracker->Cancel();
  tracker->End(cancel);
}

}  // namespace kivworkspace::workspace
