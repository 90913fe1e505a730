#pragma once

namespace kivworkspace::sharedui {

// A view of the switcher model (a switcher bar), told when its lists or width change.
class WorkspaceSwitcherListener {
 public:
  virtual ~WorkspaceSwitcherListener() = default;
  virtual void WorkspacesConfigurationChanged() = 0;
};

}  // namespace kivworkspace::sharedui
