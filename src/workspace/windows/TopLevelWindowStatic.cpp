// The window's static elements: panels pinned to its sides in tabless frames.
#include "workspace/frames/TablessWorkspaceFrame.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/frames/WorkspaceBorderElement.h"

namespace kivworkspace::workspace {

namespace {
constexpr LayoutManager::InsertionType kSides[] = {LayoutManager::kTop, LayoutManager::kLeft,
                                                   LayoutManager::kBottom, LayoutManager::kRight};
}

std::shared_ptr<TablessWorkspaceFrame> TopLevelWindow::CreateTablessFrame() {
  return std::make_shared<TablessWorkspaceFrame>(this);
}

void TopLevelWindow::SetStaticElement(const TabPanelPtr& panel, InsertionType side,
                                      bool relayout) {
  if (!panel || side == LayoutManager::kCentre) return;
  RemoveStaticElement(side, false);
  std::shared_ptr<TablessWorkspaceFrame> frame = CreateTablessFrame();
  PushBack(frame);
  frame->UI_Show(true);
  if (auto* element = dynamic_cast<WorkspaceBorderElement*>(panel.get())) {
    element->ConvertToBorderElement();
    element->SetBorderElementPosition(side);
    layout_->SetStaticBorderFrameResizable(side, element->IsResizeable());
  } else {
    layout_->SetStaticBorderFrameResizable(side, false);
  }
  frame->AddTab(panel);
  layout_->SetStaticBorderFrame(frame->GetLMFrame(), GetClientRect(), side, relayout);
}

void TopLevelWindow::SetStaticElement(const std::string& type, InsertionType side, bool relayout) {
  SetStaticElement(workspace_->CreateTabPanel(type, nullptr), side, relayout);
}

TablessWorkspaceFrame* TopLevelWindow::TablessFrameOf(const Frame* frame) const {
  if (!frame) return nullptr;
  for (std::size_t i = 0; i < GetChildCount(); ++i) {
    auto* f = dynamic_cast<TablessWorkspaceFrame*>(GetChild(i));
    if (f && f->GetLMFrame() == frame) return f;
  }
  return nullptr;
}

TablessWorkspaceFrame* TopLevelWindow::GetBorderFrame(InsertionType side) const {
  return TablessFrameOf(layout_->GetStaticBorderFrame(side));
}

TabPanel* TopLevelWindow::GetStaticElement(InsertionType side) const {
  const TablessWorkspaceFrame* frame = GetBorderFrame(side);
  return frame ? frame->GetTab().get() : nullptr;
}

bool TopLevelWindow::HasStaticElement(InsertionType side) const {
  return side == LayoutManager::kCentre ? layout_->HasStaticTablessFrame()
                                        : layout_->HasStaticBorderFrame(side);
}

TablessWorkspaceFrame* TopLevelWindow::GetStaticTablessFrame() const {
  return TablessFrameOf(layout_->GetStaticTablessFrame());
}

void TopLevelWindow::RemoveStaticElement(InsertionType side, bool relayout) {
  TablessWorkspaceFrame* frame = GetBorderFrame(side);
  if (!frame) return;
  auto keep = frame->shared_from_this();
  layout_->SetStaticBorderFrame(nullptr, GetClientRect(), side, relayout);
  frame->DetachTabPanel(0);
  Remove(frame);
}

int TopLevelWindow::GetStaticElementSide(const WorkspaceFrameBase& frame) const {
  for (InsertionType side : kSides) {
    if (layout_->GetStaticBorderFrame(side) == frame.GetLMFrame()) return side;
  }
  return -1;
}

bool TopLevelWindow::IsStaticFrame(const WorkspaceFrameBase& frame) const {
  return GetStaticElementSide(frame) >= 0 || layout_->GetStaticTablessFrame() == frame.GetLMFrame();
}

}  // namespace kivworkspace::workspace
