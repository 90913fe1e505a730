#pragma once

#include "workspace/manager/WorkspaceProviderBase.h"

#include <algorithm>

namespace kivworkspace::workspace {

// The host's folder of read-only workspace files shipped with it. The manager fills the
// name list from what it finds there.
class SystemWorkspaceProviderBase : public WorkspaceProviderBase {
 public:
  // Replaces out with the names the manager found.
  void GetWorkspaces(std::vector<kivcore::UTF16String>& out) override { out = names_; }
  // The folder of the system workspace files; empty for none.
  virtual kivcore::UTF16String GetSystemWorkspaceFolder() = 0;
  virtual bool FindWorkspace(const kivcore::UTF16String& name) const {
    return std::find(names_.begin(), names_.end(), name) != names_.end();
  }
  void InitWorkspaceNameList(const std::vector<kivcore::UTF16String>& names) { names_ = names; }

 private:
  std::vector<kivcore::UTF16String> names_;
};

}  // namespace kivworkspace::workspace
