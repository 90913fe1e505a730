#pragma once

#include "workspace/core/TabCreator.h"

namespace kivworkspace::sharedui {

// Makes the theme colour editor, titled "Theme Color Test".
class ThemeColorEditorPanel_TabCreator : public workspace::TabCreator {
 public:
  ThemeColorEditorPanel_TabCreator();
  workspace::TabPanelPtr CreateTabPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame) const override;
  bool HidesWhenClosed() const override { return true; }
};

}  // namespace kivworkspace::sharedui
