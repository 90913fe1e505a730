#include "workspace/frames/WorkspaceFrame.h"

#include "services/core/Localizer.h"
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "services/ui/controls/UI_PictureButton.h"
#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/node/UI_NodeManager.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/core/WorkspaceUtils.h"

#include <algorithm>
#include <cmath>

namespace kivworkspace::workspace {
namespace {

constexpr float kFlyoutButtonWidth = 22;

std::string Text(std::string_view key) {
  return kivcore::UTF16to8(kivcore::config::Localizer::Get().Localize(key));
}

kivui::Color ToColor(const ColorRGBA& c) {
  auto channel = [](float v) { return std::uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
  return {channel(c.r), channel(c.g), channel(c.b), channel(c.a)};
}

// Tabs shrink (their titles cut short) before they overflow: a narrow frame still shows
// its front tab.
kivui::UI_TabWell::Options TabWellOptions() {
  kivui::UI_TabWell::Options options;
  options.croppedTabs = true;
  return options;
}

// The "≡" picture of the flyout button.
kivui::Image FlyoutIcon() {
  return kivui::RenderImage(12, 12, [](kivui::Drawbot& d) {
    for (float y : {2.0f, 5.5f, 9.0f})
      d.FillRect({1, y, 10, 1.5f}, kivui::Color::RGB(255, 255, 255));
  });
}

}  // namespace

WorkspaceFrame::WorkspaceFrame(TopLevelWindow* window, unsigned stackedViewFlags)
    : WorkspaceFrameBase(window),
      tabWell_(std::make_shared<kivui::UI_TabWell>(TabWellOptions())),
      flyoutButton_(std::make_shared<kivui::UI_PictureButton>(FlyoutIcon())),
      panels_(std::make_shared<kivui::UI_Container>("PanelContainer")),
      stackedViewState_(stackedViewFlags >= 8 ? unsigned(kSmallTabs) : stackedViewFlags) {
  PushBack(panels_);
  PushBack(tabWell_);
  PushBack(flyoutButton_);
  auto& cb = tabWell_->GetCallbacks();
  cb.tabClicked = [this](int id) {
    const int index = tabWell_->IndexOfTab(id);
    if (index >= 0) HandleTabItemAction(kTabItemSelect, unsigned(index), nullptr);
  };
  cb.closeBoxClicked = [this](int id) {
    const int index = tabWell_->IndexOfTab(id);
    if (index >= 0) HandleTabItemAction(kTabItemClose, unsigned(index), nullptr);
  };
  cb.tabMoved = [this](int, int from, int to) { HandleTabItemMoved(unsigned(from), unsigned(to)); };
  cb.tabDoubleClicked = [this](int id) {
    const int index = tabWell_->IndexOfTab(id);
    if (index >= 0) HandleTabItemAction(kTabItemToggleMaximize, unsigned(index), nullptr);
  };
  cb.tabContextMenu = [this](int id, kivcore::PointF global) {
    const int index = tabWell_->IndexOfTab(id);
    const kivcore::Rect r{int(global.x), int(global.y), 1, 1};
    if (index >= 0) HandleTabItemAction(kTabItemContextMenu, unsigned(index), &r);
  };
  cb.tabDraggedOut = [this](int id, kivcore::PointF from, kivcore::PointF to) {
    const int index = tabWell_->IndexOfTab(id);
    if (index >= 0) ContinueTabDrag(kTabItemDragTab, unsigned(index), from, to);
  };
  cb.wellDragged = [this](kivcore::PointF from, kivcore::PointF to) {
    const int front = GetFrontTabIndex();
    if (front >= 0) ContinueTabDrag(kTabItemDragGroup, unsigned(front), from, to);
  };
  flyoutButton_->SetToolTip(
      Text("$$$/kivworkspace/workspace/WorkspaceFrame/FlyoutButtonToolTip=Panel menu"));
  flyoutButton_->onClick = [this] {
    const int front = GetFrontTabIndex();
    if (front < 0) return;
    const kivcore::RectF b = flyoutButton_->GetLocalBounds();
    const kivcore::Point tl = flyoutButton_->UI_LocalToGlobal({0, 0});
    const kivcore::Rect r{tl.x, tl.y, int(b.width), int(b.height)};
    HandleTabItemAction(kTabItemFlyout, unsigned(front), &r);
  };
}

WorkspaceFrame::~WorkspaceFrame() = default;

// --- panels -------------------------------------------------------------------------------

unsigned WorkspaceFrame::GetTabCount() const { return unsigned(panels_->GetChildCount()); }

int WorkspaceFrame::GetFrontTabIndex() const {
  return tabWell_->GetFrontTab() < 0 ? -1 : tabWell_->IndexOfTab(tabWell_->GetFrontTab());
}

TabPanelPtr WorkspaceFrame::GetTabPanel(unsigned index) const {
  kivui::UI_Node* node = panels_->GetChild(index);
  return node ? std::static_pointer_cast<TabPanel>(node->shared_from_this()) : nullptr;
}

int WorkspaceFrame::IndexOf(const TabPanel* panel) const { return panels_->IndexOf(panel); }

void WorkspaceFrame::AddTab(const TabPanelPtr& panel, unsigned index, bool focus) {
  if (!panel) return;
  index = std::min(index, GetTabCount());
  panel->SetFrame(this);
  panel->UI_Show(false);
  panels_->Insert(index, panel);
  kivui::UI_TabItem item;
  item.id = int(panel->GetID());
  tabWell_->AddTab(item, int(index));
  SyncTab(*panel);
  TopLevelWindow* window = GetTopLevelWindow();
  if (focus && window && !window->IsInterim() && GetWorkspace()) {
    GetWorkspace()->SetFocusedTabPanel(panel.get());
  }
  panel->NotifyOrientationChanged(GetTabPosition() == 1);
  panel->NotifyStackedStateChanged(false);
  UpdateForTabContainerChanges();
}

void WorkspaceFrame::AddTab(const TabPanelPtr& panel, bool focus) {
  AddTab(panel, GetTabCount(), focus);
}

TabPanel* WorkspaceFrame::AddTab(const std::string& type, bool focus) {
  Workspace* workspace = GetWorkspace();
  TabPanelPtr panel = workspace ? workspace->CreateTabPanel(type, this) : nullptr;
  if (!panel) return nullptr;
  AddTab(panel, focus);
  return panel.get();
}

void WorkspaceFrame::AddTabs(const std::vector<TabPanelPtr>& panels) {
  for (const auto& p : panels) AddTab(p, false);
}

void WorkspaceFrame::AddTabs(const std::vector<std::string>& types) {
  for (const auto& t : types) AddTab(t, false);
}

void WorkspaceFrame::AddTabs(WorkspaceFrame* other) {
  std::vector<TabPanelPtr> moved;
  while (other->GetTabCount() > 0) moved.push_back(other->DetachTabPanel(0));
  AddTabs(moved);
}

TabPanelPtr WorkspaceFrame::DetachTabPanel(unsigned index) {
  TabPanelPtr panel = GetTabPanel(index);
  if (!panel) return nullptr;
  const bool frameHadFocus = UI_HasKeyboardFocus(false);
  panel->UI_Show(false);  // also takes its keyboard focus away
  panel->SetFrame(nullptr);
  // The tab well fronts the tab that takes the removed front tab's place.
  tabWell_->RemoveTab(int(panel->GetID()));
  panels_->Remove(panel.get());
  UpdateForTabContainerChanges();
  if (GetTabCount() > 0 && frameHadFocus && GetWorkspace()) {
    GetWorkspace()->SetFocusedTabPanel(GetFrontTabPanel().get());
  }
  return panel;
}

void WorkspaceFrame::MoveTabPanel(unsigned from, unsigned to) {
  TabPanelPtr panel = GetTabPanel(from);
  if (!panel || to >= GetTabCount()) return;
  panels_->Move(panel.get(), to);
  tabWell_->MoveTab(int(panel->GetID()), int(to));
  UpdateForTabContainerChanges();
}

void WorkspaceFrame::HandleTabItemMoved(unsigned from, unsigned to) {
  if (TabPanelPtr panel = GetTabPanel(from)) panels_->Move(panel.get(), to);
}

void WorkspaceFrame::BringTabToFront(unsigned index) {
  TabPanelPtr panel = GetTabPanel(index);
  if (!panel) return;
  tabWell_->SetFrontTab(int(panel->GetID()));
  ShowFront();
}

void WorkspaceFrame::BringTabToFront(TabPanel* panel) {
  const int index = IndexOf(panel);
  if (index >= 0) BringTabToFront(unsigned(index));
}

void WorkspaceFrame::RemoveAllTabs(bool onlyObliterating, int keepIndex) {
  auto keep = shared_from_this();
  std::vector<TabPanelPtr> panels;
  for (unsigned i = 0; i < GetTabCount(); ++i) panels.push_back(GetTabPanel(i));
  for (int i = int(panels.size()) - 1; i >= 0; --i) {
    if (i != keepIndex) panels[std::size_t(i)]->NotifyFrameIsClosing();
  }
  for (int i = int(panels.size()) - 1; i >= 0; --i) {
    const TabPanelPtr& panel = panels[std::size_t(i)];
    if (i == keepIndex || (onlyObliterating && !panel->ObliterateWhenClosed())) continue;
    if (auto* frame = dynamic_cast<WorkspaceFrame*>(panel->GetFrame())) {
      GetWorkspace()->RemoveTab(frame, panel.get(), true, true);
    }
  }
}

std::vector<TabPanel*> WorkspaceFrame::OtherPanelsOfType(const TabPanel& panel) const {
  std::vector<TabPanel*> found;
  Workspace* workspace = GetWorkspace();
  if (!workspace) return found;
  for (TopLevelWindow* window : workspace->GetWindows()) {
    for (WorkspaceFrame* frame : window->GetTabbedFrames()) {
      for (unsigned i = 0; i < frame->GetTabCount(); ++i) {
        TabPanelPtr p = frame->GetTabPanel(i);
        if (p.get() != &panel && p->GetTabType() == panel.GetTabType()) found.push_back(p.get());
      }
    }
  }
  return found;
}

void WorkspaceFrame::RemoveOtherSimilarTabs(int index, bool onlyObliterating) {
  auto keep = shared_from_this();
  TabPanelPtr panel = GetTabPanel(unsigned(index));
  if (!panel) return;
  for (TabPanel* other : OtherPanelsOfType(*panel)) {
    if (onlyObliterating && !other->ObliterateWhenClosed()) continue;
    if (auto* frame = dynamic_cast<WorkspaceFrame*>(other->GetFrame())) {
      GetWorkspace()->RemoveTab(frame, other, true, true);
    }
  }
}

bool WorkspaceFrame::AllowFrameClose() const {
  for (unsigned i = 0; i < GetTabCount(); ++i) {
    if (!GetTabPanel(i)->AllowClose()) return false;
  }
  return true;
}

bool WorkspaceFrame::AllowCloseOtherSimilar(int index) const {
  TabPanelPtr panel = GetTabPanel(unsigned(index));
  if (!panel) return false;
  const auto others = OtherPanelsOfType(*panel);
  return !others.empty() &&
         std::all_of(others.begin(), others.end(), [](TabPanel* p) { return p->AllowClose(); });
}

// --- closed panels ---------------------------------------------------------------------------

void WorkspaceFrame::CacheTabData(const TabPanelPtr& panel, bool hide) {
  if (hide) {
    hidden_.push_back(panel);
    return;
  }
  kivcore::PropList state;
  panel->SaveStateData(&state);
  AddRemovedTabData(panel->GetTabType(), state.OutputAsXMLFragment());
}

void WorkspaceFrame::AddRemovedTabData(const std::string& type, const std::string& state) {
  std::erase_if(removed_, [&](const auto& record) { return record.first == type; });
  removed_.emplace_back(type, state);
}

void WorkspaceFrame::TakeClosedPanels(WorkspaceFrame& other) {
  for (const TabPanelPtr& panel : other.TakeHiddenTabs()) CacheTabData(panel, true);
  TabDataList clashing;
  for (auto& record : other.removed_) {
    const bool clashes = std::any_of(removed_.begin(), removed_.end(),
                                     [&](const auto& r) { return r.first == record.first; });
    (clashes ? clashing : removed_).push_back(std::move(record));
  }
  other.removed_ = std::move(clashing);
}

bool WorkspaceFrame::CanReanimateTab(const std::string& type) const {
  return std::any_of(removed_.begin(), removed_.end(),
                     [&](const auto& r) { return r.first == type; }) ||
         std::any_of(hidden_.begin(), hidden_.end(),
                     [&](const TabPanelPtr& p) { return p->GetTabType() == type; });
}

bool WorkspaceFrame::CanReanimateTab(const TabPanelPtr& panel) const {
  return std::find(hidden_.begin(), hidden_.end(), panel) != hidden_.end();
}

TabPanel* WorkspaceFrame::ReanimateTab(const std::string& type) {
  // A hidden panel of the type comes back as itself; its record is then out of date.
  auto hidden = std::find_if(hidden_.begin(), hidden_.end(),
                             [&](const TabPanelPtr& p) { return p->GetTabType() == type; });
  if (hidden != hidden_.end()) {
    TabPanelPtr panel = *hidden;
    ReanimateTab(panel);
    std::erase_if(removed_, [&](const auto& r) { return r.first == type; });
    return panel.get();
  }
  TabPanel* panel = AddTab(type, true);
  auto record = std::find_if(removed_.begin(), removed_.end(),
                             [&](const auto& r) { return r.first == type; });
  if (!panel || record == removed_.end()) return panel;
  if (!record->second.empty()) {
    try {
      kivcore::PropList state = kivcore::proplist::utils::ReadPropList(record->second);
      panel->LoadStateData(&state);
    } catch (const std::exception&) {
      // A damaged record costs the panel its state, not the panel itself.
    }
  }
  removed_.erase(record);
  return panel;
}

bool WorkspaceFrame::ReanimateTab(const TabPanelPtr& panel) {
  auto it = std::find(hidden_.begin(), hidden_.end(), panel);
  if (it == hidden_.end()) return false;
  hidden_.erase(it);
  AddTab(panel, true);
  return true;
}

void WorkspaceFrame::DetachHiddenTabs() {
  for (const auto& panel : hidden_) {
    if (kivui::UI_Container* parent = panel->GetParent()) parent->Remove(panel.get());
  }
}

void WorkspaceFrame::DoGetTabData(TabDataList& visible, TabDataList& removed,
                                  TabDataList& hidden) const {
  auto stateOf = [](const TabPanel& panel) {
    kivcore::PropList state;
    panel.SaveStateData(&state);
    return state.OutputAsXMLFragment();
  };
  for (unsigned i = 0; i < GetTabCount(); ++i) {
    TabPanelPtr p = GetTabPanel(i);
    visible.emplace_back(p->GetTabType(), stateOf(*p));
  }
  removed.insert(removed.end(), removed_.begin(), removed_.end());
  for (const auto& p : hidden_) hidden.emplace_back(p->GetTabType(), stateOf(*p));
}

// --- sizes -------------------------------------------------------------------------------------

int WorkspaceFrame::GetCurrentTabWellHeight() const { return int(kivui::UI_TabWell::kTabHeight); }

kivcore::Rect WorkspaceFrame::GetTabWellRect() const {
  const kivcore::Rect i = GetFrameRect();
  return {i.left, i.top, std::max(0, i.width - int(kFlyoutButtonWidth)), GetCurrentTabWellHeight()};
}

kivcore::Rect WorkspaceFrame::FrameRectToTabWellRect(const kivcore::Rect& r) const {
  const FrameZones& z = GetZones();
  return {r.left + z.EdgeSize(0), r.top + z.EdgeSize(1), r.width - z.EdgeSize(0) - z.EdgeSize(2),
          GetCurrentTabWellHeight()};
}

kivcore::Rect WorkspaceFrame::GetTabPanelRect() const {
  const kivcore::Rect i = GetFrameRect();
  const int well = GetCurrentTabWellHeight();
  return {i.left, i.top + well, i.width, std::max(0, i.height - well)};
}

bool WorkspaceFrame::GetTabRect(unsigned index, kivcore::Rect& out) const {
  if (index >= GetTabCount()) return false;
  const kivcore::RectF r = tabWell_->GetTabRect(int(index));
  const kivcore::PointF origin = tabWell_->GetFrame().TopLeft();
  out = {int(r.left + origin.x), int(r.top + origin.y), int(r.width), int(r.height)};
  return true;
}

kivcore::Point WorkspaceFrame::GetTabPanelOffset() const {
  kivcore::Point offset = WorkspaceFrameBase::GetTabPanelOffset();
  offset.y += GetCurrentTabWellHeight();
  return offset;
}

void WorkspaceFrame::ConvertTabToFrameSize(kivcore::Point& size) const {
  WorkspaceFrameBase::ConvertTabToFrameSize(size);
  const int well = int(std::floor(float(GetCurrentTabWellHeight()) * GetScaleMatrix().GetScale()));
  (GetTabPosition() == 1 ? size.x : size.y) += well;
}

void WorkspaceFrame::ConvertFrameToTabSize(kivcore::Point& size) const {
  WorkspaceFrameBase::ConvertFrameToTabSize(size);
  const int well = int(std::floor(float(GetCurrentTabWellHeight()) * GetScaleMatrix().GetScale()));
  (GetTabPosition() == 1 ? size.x : size.y) -= well;
}

kivcore::Point WorkspaceFrame::GetMinimumSize() const {
  const float scale = GetScaleMatrix().GetScale();
  kivcore::Point size{int(float(GetWorkspace() ? GetWorkspace()->GetTabMinWidth() : 35) * scale),
                      0};
  WorkspaceFrameBase::ConvertTabToFrameSize(size);
  size.y += int(kivui::UI_TabWell::kTabHeight * scale);
  return size;
}

void WorkspaceFrame::SetTabMargin(float margin) { tabWell_->SetMargins(margin, margin); }
void WorkspaceFrame::RestoreDefaultMargin() { tabWell_->SetMargins(4, 4); }

void WorkspaceFrame::SetStackedViewState(unsigned flags, bool set) {
  stackedViewState_ = 0;
  if (set) stackedViewState_ |= flags;
}

void WorkspaceFrame::SetStackedViewComponentState(StackedViewComponentFlag flag, bool set) {
  stackedViewState_ = set ? (stackedViewState_ | flag) : (stackedViewState_ & ~unsigned(flag));
}

// --- panel notifications --------------------------------------------------------------------

kivui::UI_TabWell* WorkspaceFrame::GetTabWellOf(const TabPanel&) const { return tabWell_.get(); }

void WorkspaceFrame::SaveLastTabPanel() {
  if (Workspace* workspace = GetWorkspace()) lastPanel_ = workspace->GetFocusedTabPanel();
}

void WorkspaceFrame::ShowTabbedChrome(bool show) {
  tabWell_->UI_Show(show);
  flyoutButton_->UI_Show(show);
  panels_->UI_Show(show);
}

void WorkspaceFrame::SyncTab(const TabPanel& panel) {
  kivui::UI_TabWell* well = GetTabWellOf(panel);
  const kivui::UI_TabItem* existing = well ? well->FindTab(int(panel.GetID())) : nullptr;
  if (!existing) return;
  kivui::UI_TabItem item = *existing;
  item.text = kivcore::UTF16to8(panel.GetDisplayName());
  item.label = kivcore::UTF16to8(panel.GetLabel());
  // A close box only where the panel asks for one and may be closed.
  item.closeBox = panel.GetShowCloseControl() && panel.AllowClose();
  item.color =
      panel.GetTabColor().IsSet() ? std::optional(ToColor(panel.GetTabColor())) : std::nullopt;
  item.multiTabMark = panel.IsMultiPaned();
  item.locked = panel.IsLockable() && panel.GetLocked();
  well->UpdateTab(item);
}

void WorkspaceFrame::ResyncTab(const TabPanel& panel) {
  SyncTab(panel);
  UpdateForTabContainerChanges();
}

void WorkspaceFrame::TabPanelNameChanged(const TabPanel& panel) { ResyncTab(panel); }
void WorkspaceFrame::TabPanelLabelChanged(const TabPanel& panel) { ResyncTab(panel); }
void WorkspaceFrame::TabColorChanged(const TabPanel& panel) { ResyncTab(panel); }
void WorkspaceFrame::TabPanelLockedChanged(const TabPanel& panel) { ResyncTab(panel); }

void WorkspaceFrame::SetActive(bool active) {
  tabWell_->SetActive(active);
  UI_Invalidate();
}

// --- layout and drawing ---------------------------------------------------------------------

void WorkspaceFrame::UpdateLayout() {
  const kivcore::Rect well = GetTabWellRect();
  tabWell_->SetFrame({float(well.left), float(well.top), float(well.width), float(well.height)});
  flyoutButton_->SetFrame(
      {float(well.Right()), float(well.top), kFlyoutButtonWidth, float(well.height)});
  const kivcore::Rect p = GetTabPanelRect();
  panels_->SetFrame({float(p.left), float(p.top), float(p.width), float(p.height)});
  for (std::size_t i = 0; i < panels_->GetChildCount(); ++i) {
    panels_->GetChild(i)->SetFrame({0, 0, float(p.width), float(p.height)});
  }
}

void WorkspaceFrame::ShowFront() {
  const int front = GetFrontTabIndex();
  for (unsigned i = 0; i < GetTabCount(); ++i) {
    TabPanelPtr panel = GetTabPanel(i);
    const bool show = int(i) == front;
    if (panel->IsShown() == show) continue;
    // Hiding the panel that holds the focus would let the window system pass it on to the
    // next widget in its chain, often a panel of another frame: the frame keeps it instead.
    if (!show && panel->UI_HasKeyboardFocus(false)) UI_GainKeyboardFocus();
    panel->UI_Show(show);
  }
}

void WorkspaceFrame::UpdateForTabContainerChanges() {
  UpdateLayout();
  ShowFront();
  UI_Invalidate();
}

void WorkspaceFrame::UI_Draw(kivui::Drawbot& d, const kivcore::RectF& dirty) {
  WorkspaceFrameBase::UI_Draw(d, dirty);
  if (GetTabCount() == 0) {
    const kivcore::Rect p = GetTabPanelRect();
    d.DrawText(Text("$$$/kivworkspace/workspace/WorkspaceFrame/EmptyFrame=Empty frame"), {float(p.left), float(p.top), float(p.width), float(p.height)},
               kivui::Font::UI(12), kivui::ThemeColors::Current().textDim, kivui::kAlignCenter);
  }
}

// --- item actions and the flyout menu --------------------------------------------------------

void WorkspaceFrame::HandleTabItemAction(TabItemAction action, unsigned index,
                                         const kivcore::Rect* rect) {
  auto keep = shared_from_this();
  Workspace* workspace = GetWorkspace();
  TabPanelPtr panel = GetTabPanel(index);
  if (!workspace || !panel) return;
  switch (action) {
    case kTabItemSelect:
    case kTabItemSelect11:
    case kTabItemSelect12:
      lastPanel_ = workspace->GetFocusedTabPanel();
      ++selectionDepth_;
      BringTabToFront(index);
      workspace->SetFocusedTabPanel(panel.get());
      --selectionDepth_;
      // A click that drags nothing ends its tab drag at once, which remembers the panel
      // then focused: a double click on the same tab then toggles maximization.
      lastPanel_ = workspace->GetFocusedTabPanel();
      break;
    case kTabItemDragGroup:
    case kTabItemDragTab:
      if (rect) BeginTabDrag(*workspace, action == kTabItemDragGroup, index, rect->TopLeft());
      break;
    case kTabItemFocus:
      BringTabToFront(index);
      workspace->SetFocusedTabPanel(panel.get());
      break;
    case kTabItemClose:
      // The focus leaves the panel for its frame, which then hands it to the new front panel.
      if (panel->UI_HasKeyboardFocus(false)) UI_GainKeyboardFocus(kivui::FocusChangeReason::kProgrammatic);
      workspace->RemoveTab(this, int(index), true, true);
      break;
    case kTabItemMultiPaneClick:
      if (panel->IsMultiPaned() && rect) panel->HandleMultiPaneClick(*rect);
      break;
    case kTabItemFlyout:
      workspace->SetFocusedTabPanel(panel.get());
      if (rect) DoTabMenu(int(index), false, *rect);
      break;
    case kTabItemShow:
      panel->UI_Show(true);
      if (selectionDepth_ > 0) panel->UI_UpdateNow();
      break;
    case kTabItemHide:
      panel->UI_Show(false);
      break;
    case kTabItemToggleLock:
      if (panel->IsLockable()) panel->ToggleLock();
      break;
    case kTabItemContextMenu:
      BringTabToFront(index);
      workspace->SetFocusedTabPanel(panel.get());
      if (rect) DoTabMenu(int(index), true, *rect);
      break;
    case kTabItemToggleMaximize:
      if (lastPanel_ && workspace->GetFocusedTabPanel() != lastPanel_) break;
      WorkspaceUtils::ToggleThisFrameMaximizationState(*workspace, this);
      break;
    default:
      break;
  }
}

std::unique_ptr<kivui::OSMenu> WorkspaceFrame::BuildMenu(int index) const {
  TabPanelPtr panel = GetTabPanel(unsigned(index));
  TopLevelWindow* window = GetTopLevelWindow();
  const bool inMain = window && window->IsMain();
  const bool manyFrames = window && window->GetFrameCount() > 1;
  auto menu = kivui::CreateOSMenu();
  const std::string prefix = "$$$/kivworkspace/workspace/WorkspaceFrame/FrameFlyoutMenuItem/";
  menu->AddItem(kCmdClosePanel, Text(prefix + "ClosePanel=Close Panel"), panel->AllowClose());
  menu->AddItem(kCmdUndockPanel, Text(prefix + "UndockPanel=Undock Panel"),
                inMain || GetTabCount() >= 2 || manyFrames);
  menu->AddItem(kCmdCloseOthersInGroup,
                Text(prefix + "CloseOthersInGroup=Close Other Panels in Group"),
                panel->AllowClose() && GetTabCount() >= 2);
  if (panel->IsCloseOtherSimilarPanelsEnabled()) {
    const kivcore::UTF16String& custom = panel->GetCustomCloseOtherSimilarPanelsDisplayString();
    menu->AddItem(kCmdCloseOtherSimilar,
                  custom.empty()
                      ? Text(prefix + "CloseOtherSimilarPanels=Close Other Similar Panels")
                      : kivcore::UTF16to8(custom),
                  AllowCloseOtherSimilar(index));
  }
  kivui::OSMenu& group = menu->AddSubMenu(Text(prefix + "GroupSubmenu=Panel Group Settings"));
  group.AddItem(kCmdCloseGroup, Text(prefix + "ClosePanelGroup=Close Panel Group"),
                AllowFrameClose());
  group.AddItem(kCmdUndockGroup, Text(prefix + "UndockPanelGroup=Undock Panel Group"),
                inMain || manyFrames);
  if (index == GetFrontTabIndex()) {
    const bool maximized = window && window->GetMaximizedFrame() == this;
    group.AddItem(
        kCmdMaximizeGroup,
        maximized
            ? Text(
                  "$$$/kivworkspace/workspace/Frame/RestorePanelGroupSize=Restore Panel Group Size")
            : Text("$$$/kivworkspace/workspace/Frame/MaximizeGroup=Maximize Panel Group"),
        window && window->CanHaveMaximizedFrame());
  }
  if (Workspace::GetStackedTabPanelsEnabled()) {
    group.AddSeparator();
    group.AddItem(kCmdStacked, Text("$$$/kivworkspace/workspace/Frame/StackedPanelsSwitch=Stacked Panel Group"),
                  true, IsStacked());
    group.AddItem(kCmdStackedSolo, Text("$$$/kivworkspace/workspace/Frame/StackedPanelsSolo=Solo Panels in Stack"),
                  IsStacked(), IsStackedSolo());
    group.AddItem(kCmdStackedSmallTabs, Text("$$$/kivworkspace/workspace/Frame/StackedPanelsSmallTabs=Small Tabs"),
                  true, IsStackedSmall());
  }
  if (index == GetFrontTabIndex()) {
    panel->PopulateFlyoutMenu(*menu);
    if (panel->IsMultiPaned()) panel->AddMultipaneMenuItemsToTabMenu(*menu);
  }
  return menu;
}

void WorkspaceFrame::DoTabMenu(int index, bool contextMenu, const kivcore::Rect& globalRect) {
  if (!GetTabPanel(unsigned(index))) return;
  auto keep = shared_from_this();
  const auto menu = BuildMenu(index);
  const int command = contextMenu ? kivui::ContextMenu(*menu, globalRect.TopLeft())
                                  : kivui::PopupMenu(*menu, {globalRect.left, globalRect.Bottom()});
  if (command != 0) DoMenuCommand(index, command);
}

void WorkspaceFrame::DoMenuCommand(int index, int command) {
  auto keep = shared_from_this();
  Workspace* workspace = GetWorkspace();
  TabPanelPtr panel = GetTabPanel(unsigned(index));
  if (!workspace || !panel) return;
  switch (command) {
    case kCmdClosePanel:
      workspace->RemoveTab(this, index, true, true);
      return;
    case kCmdUndockPanel:
      Undock(index, false);
      return;
    case kCmdUndockGroup:
      Undock(index, true);
      return;
    case kCmdCloseOthersInGroup:
      RemoveAllTabs(false, index);
      return;
    case kCmdCloseGroup:
      RemoveAllTabs(false, -1);
      return;
    case kCmdCloseOtherSimilar:
      RemoveOtherSimilarTabs(index, false);
      return;
    case kCmdMaximizeGroup:
      if (TopLevelWindow* window = GetTopLevelWindow()) {
        window->SetMaximizedFrame(window->GetMaximizedFrame() == this ? nullptr : this);
      }
      return;
    case kCmdStacked:
      if (TopLevelWindow* window = GetTopLevelWindow()) window->ToggleStackedFrame(!IsStacked(), this);
      return;
    case kCmdStackedSmallTabs:
      SetStackedViewComponentState(kSmallTabs, !IsStackedSmall());
      UpdateViewForStackedFrame();
      return;
    default:
      break;
  }
  if (DoFlyoutMenuCommand(index, unsigned(command))) return;
  if (!panel->DoFlyoutMenuCommand(unsigned(command)))
    panel->DoMultiPaneMenuCommand(unsigned(command));
}

void WorkspaceFrame::BeginTabDrag(Workspace& workspace, bool wholeFrame, unsigned index,
                                  kivcore::Point pressGlobal) {
  std::unique_ptr<OS_Tracker> tracker = workspace.AcquireTabDragger(this, wholeFrame, index);
  if (!tracker) return;
  OS_Tracker* raw = tracker.get();
  // The main window holds the input for the whole drag: the source window may go away.
  TopLevelWindow* main = workspace.GetMainTopLevelWindow();
  workspace.SetTracker(std::move(tracker), main && main->IsShown() ? main : GetTopLevelWindow());
  if (raw->Begin(pressGlobal)) return;
  if (wholeFrame) lastPanel_ = workspace.GetFocusedTabPanel();
  workspace.ReleaseTracker(false);
}

void WorkspaceFrame::ContinueTabDrag(TabItemAction action, unsigned index,
                                     kivcore::PointF pressGlobal, kivcore::PointF global) {
  Workspace* workspace = GetWorkspace();
  if (!workspace || workspace->GetTracker()) return;
  auto keep = shared_from_this();
  const kivcore::Rect press{int(std::lround(pressGlobal.x)), int(std::lround(pressGlobal.y)), 1, 1};
  HandleTabItemAction(action, index, &press);
  if (OS_Tracker* tracker = workspace->GetTracker())
    tracker->Track({int(std::lround(global.x)), int(std::lround(global.y))});
}

unsigned WorkspaceFrame::GetInsertionIndex(kivcore::Point global) const {
  const kivcore::PointF local = tabWell_->UI_GlobalToLocalF({float(global.x), float(global.y)});
  unsigned index = 0;
  for (int i = 0; i < tabWell_->GetTabCount(); ++i) {
    const kivcore::RectF r = tabWell_->GetTabRect(i);
    if (local.x > r.left + r.width / 2) index = unsigned(i + 1);
  }
  return index;
}

void WorkspaceFrame::Undock(int index, bool group) {
  Workspace* workspace = GetWorkspace();
  TopLevelWindow* source = GetTopLevelWindow();
  TabPanelPtr panel = GetTabPanel(unsigned(index));
  if (!workspace || !source || !panel) return;
  kivui::UI_NodeManager::FocusChangeGroup focusGroup;
  const kivcore::Rect panelRect =
      panel->GetParent() ? GetTabPanelFrameGlobalRect() : kivcore::Rect{};
  auto window = workspace->AddTopLevelWindow(false, nullptr);
  WorkspaceFrame* frame = nullptr;
  if (group) {
    auto self = std::static_pointer_cast<WorkspaceFrame>(shared_from_this());
    source->RemoveFrame(this, false);
    window->SetRootFrame(self);
    frame = this;
  } else {
    workspace->RemoveTab(this, index, false, false);
    frame = window->CreateRootFrame(panel, false);
    frame->SetStackedViewComponentState(kSmallTabs, IsStackedSmall());
    frame->SetStackedViewComponentState(kSolo, IsStackedSolo());
    frame = window->ToggleStackedFrame(IsStacked(), frame);
  }
  kivcore::Point size{panelRect.width, panelRect.height};
  kivcore::Point snap{0, 0};
  frame->GetLMFrame()->GetGreatestSnapSize(snap);
  frame->ConvertFrameToTabSize(snap);
  if (snap.x > 0) size.x = snap.x;
  if (snap.y > 0) size.y = snap.y;
  kivcore::Rect target{panelRect.left, panelRect.top, std::max(size.x, 200), std::max(size.y, 120)};
  if (!source->IsMain()) target = target.Offset(20, 20);
  window->SetToGlobalTabSize(target);
  window->UI_Show(true);
  if (TabPanelPtr front = frame->GetFrontTabPanel()) workspace->SetFocusedTabPanel(front.get());
}

}  // namespace kivworkspace::workspace
