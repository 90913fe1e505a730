#include "workspace/frames/WorkspaceFrameBase.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/node/UI_NodeManager.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

#include <cmath>

namespace kivworkspace::workspace {

WorkspaceFrameBase::WorkspaceFrameBase(TopLevelWindow* window)
    : window_(window), lmFrame_(window ? &window->GetLayoutManager() : nullptr, this) {}

WorkspaceFrameBase::~WorkspaceFrameBase() = default;

void WorkspaceFrameBase::SetTopLevelWindow(TopLevelWindow* window) {
  window_ = window;
  lmFrame_.SetLayoutManager(window ? &window->GetLayoutManager() : nullptr);
}

Workspace* WorkspaceFrameBase::GetWorkspace() const {
  return window_ ? window_->GetWorkspace() : nullptr;
}

void WorkspaceFrameBase::SetZoneRects(const FrameZones& zones) {
  zones_ = zones;
  const kivcore::Point origin = zones[FrameZones::kWhole].TopLeft();
  for (unsigned i = 0; i < 6; ++i) zones_[i] = zones[i].Offset(-origin.x, -origin.y);
}

void WorkspaceFrameBase::SetSizeAndPos(const FrameZones& zones) {
  SetZoneRects(zones);
  const kivcore::Rect& r = zones[FrameZones::kWhole];
  SetFrame({float(r.left), float(r.top), float(r.width), float(r.height)});
  UpdateLayout();
  UI_Invalidate();
}

void WorkspaceFrameBase::ShowFrame(bool show) { UI_Show(show); }
bool WorkspaceFrameBase::IsFrameShown() const { return IsShown(); }

kivcore::Point WorkspaceFrameBase::GetMinimumSize() const {
  kivcore::Point size{GetWorkspace() ? GetWorkspace()->GetTabMinWidth() : 35, 0};
  ConvertTabToFrameSize(size);
  return size;
}

void WorkspaceFrameBase::GetSnapSizes(std::vector<kivcore::Point>& sizes) const {
  const TabPanelPtr front = GetFrontTabPanel();
  if (!front) return;
  const std::size_t first = sizes.size();
  front->GetSnapSizes(sizes);
  for (std::size_t i = first; i < sizes.size(); ++i) ConvertTabToFrameSize(sizes[i]);
}

kivcore::Rect WorkspaceFrameBase::FrameRectToTabPanelRect(const kivcore::Rect& frameRect) const {
  kivcore::Point size{frameRect.width, frameRect.height};
  ConvertFrameToTabSize(size);
  const kivcore::Point offset = GetTabPanelOffset();
  return {frameRect.left + offset.x, frameRect.top + offset.y, size.x, size.y};
}

kivcore::Rect WorkspaceFrameBase::FrameRectToTabWellRect(const kivcore::Rect&) const { return {}; }

kivcore::Point WorkspaceFrameBase::GetTabPanelOffset() const {
  return {zones_.EdgeSize(0), zones_.EdgeSize(1)};
}

kivcore::Rect WorkspaceFrameBase::GetTabPanelFrameGlobalRect() const {
  const kivcore::Rect r = GetTabPanelRect();
  const kivcore::Point tl = UI_LocalToGlobal(r.TopLeft());
  return {tl.x, tl.y, r.width, r.height};
}

kivcore::Rect WorkspaceFrameBase::GetFrameLocalRect() const {
  const kivcore::RectF f = GetFrame();
  return {int(f.left), int(f.top), int(f.width), int(f.height)};
}

kivcore::Rect WorkspaceFrameBase::GetTabWellGlobalRect() const {
  const kivcore::Rect r = GetTabWellRect();
  const kivcore::Point tl = UI_LocalToGlobal(r.TopLeft());
  return {tl.x, tl.y, r.width, r.height};
}

TabPanelPtr WorkspaceFrameBase::GetFrontTabPanel() const {
  const int front = GetFrontTabIndex();
  if (front < 0 || unsigned(front) >= GetTabCount()) return nullptr;
  return GetTabPanel(unsigned(front));
}

kivui::OS_ScaledView WorkspaceFrameBase::GetScaleMatrix() const {
  const kivui::OS_Window* window = GetWindow();
  return kivui::OS_ScaledView(window ? window->GetRecommendedScaleFactor() : 1.0f);
}

void WorkspaceFrameBase::ConvertTabToFrameSize(kivcore::Point& size) const {
  const float scale = GetScaleMatrix().GetScale();
  size.x += int(float(zones_.EdgeSize(0)) + float(zones_.EdgeSize(2)) * scale);
  size.y += int(float(zones_.EdgeSize(1)) + float(zones_.EdgeSize(3)) * scale);
}

void WorkspaceFrameBase::ConvertFrameToTabSize(kivcore::Point& size) const {
  const float scale = GetScaleMatrix().GetScale();
  size.x -= int(float(zones_.EdgeSize(0)) + float(zones_.EdgeSize(2)) * scale);
  size.y -= int(float(zones_.EdgeSize(1)) + float(zones_.EdgeSize(3)) * scale);
}

bool WorkspaceFrameBase::IsActiveFrame() const {
  const Workspace* workspace = GetWorkspace();
  const TabPanel* focused = workspace ? workspace->GetFocusedTabPanel() : nullptr;
  return focused && focused->GetFrame() == this;
}

void WorkspaceFrameBase::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  const kivui::ThemeColors& theme = kivui::ThemeColors::Current();
  d.FillRect(GetLocalBounds(), theme.panel);
  // The edge strips in the border colour; the focused frame is outlined in the accent.
  for (unsigned i = 0; i < 4; ++i) {
    const kivcore::Rect& r = zones_[i];
    if (!r.IsEmpty())
      d.FillRect({float(r.left), float(r.top), float(r.width), float(r.height)}, theme.border);
  }
  if (IsActiveFrame()) d.FrameRect(GetLocalBounds(), theme.accent, 1);
}

void WorkspaceFrameBase::UI_SetParent(kivui::UI_Container* parent) {
  OS_WorkspaceFrame::UI_SetParent(parent);
  if (auto* window = dynamic_cast<TopLevelWindow*>(parent)) SetTopLevelWindow(window);
}

}  // namespace kivworkspace::workspace
