#pragma once

#include "services/ui/node/UI_Container.h"
#include "workspace/core/TabPanel.h"

#include <memory>

namespace kivui {
class UI_TabWell;
}

namespace kivworkspace::workspace {

class StackedWorkspaceFrame;

// One panel of a stacked frame: a header holding the panel's one tab, the panel below it
// when open, and the gripper strip under the panel that drags its height.
class FrameChild : public kivui::UI_Container {
 public:
  static constexpr int kLeastClientHeight = 20;
  static constexpr int kGripperHeight = 3;
  static constexpr int kSeparatorHeight = 1;

  FrameChild(StackedWorkspaceFrame& frame, const TabPanelPtr& panel);
  ~FrameChild() override;

  const TabPanelPtr& GetPanel() const { return panel_; }
  kivui::UI_TabWell& GetHeader() const { return *header_; }
  bool IsOpen() const { return open_; }
  // The panel's height in the stack: 20 at least; asked of the panel when not known yet.
  int GetClientHeight() const;
  void SetClientHeight(int height);
  // Forgets the height, so that it is asked of the panel when the child next opens.
  void ForgetClientHeight() { clientHeight_ = -1; }
  void Open();
  void Close();
  // Header, client and gripper when open, and the separator below, at the frame's scale.
  int GetHeight() const;
  void Place(const kivcore::RectF& rect);

  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;

 private:
  class Gripper;

  StackedWorkspaceFrame& frame_;
  TabPanelPtr panel_;
  std::shared_ptr<kivui::UI_TabWell> header_;
  std::shared_ptr<kivui::UI_Container> container_;
  std::shared_ptr<Gripper> gripper_;
  bool open_ = false;
  int clientHeight_ = -1;
};

}  // namespace kivworkspace::workspace
