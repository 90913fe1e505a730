#pragma once

#include "services/core/Strings.h"

#include <vector>

namespace kivworkspace::workspace {

// A source of named workspaces supplied by the host.
class WorkspaceProviderBase {
 public:
  virtual void GetWorkspaces(std::vector<kivcore::UTF16String>& out) = 0;
  virtual ~WorkspaceProviderBase() = default;

 protected:
  WorkspaceProviderBase() = default;
  WorkspaceProviderBase(const WorkspaceProviderBase&) = default;
  WorkspaceProviderBase& operator=(const WorkspaceProviderBase&) = default;
};

}  // namespace kivworkspace::workspace
