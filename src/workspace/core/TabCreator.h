#pragma once

#include <memory>
#include <string>

namespace kivworkspace::workspace {

class TabPanel;
class Workspace;
class WorkspaceFrameBase;

// Makes panels of one tab type, and says what closing one of them does: hide it (keep the
// object), obliterate it (destroy it), and whether an obliterated panel's state is kept.
class TabCreator {
 public:
  explicit TabCreator(std::string tabType) : tabType_(std::move(tabType)) {}
  virtual ~TabCreator() = default;
  TabCreator(const TabCreator&) = delete;
  TabCreator& operator=(const TabCreator&) = delete;

  const std::string& GetTabType() const { return tabType_; }

  // A new panel for the workspace; `frame` may be null.
  virtual std::shared_ptr<TabPanel> CreateTabPanel(Workspace* workspace,
                                                   WorkspaceFrameBase* frame) const = 0;
  virtual bool HidesWhenClosed() const { return false; }
  virtual bool ObliteratesWhenClosed() const { return false; }
  virtual bool SavesStateWhenObliterated() const { return false; }

 private:
  std::string tabType_;
};

}  // namespace kivworkspace::workspace
