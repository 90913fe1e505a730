#pragma once

#include "workspace/definition/WorkspaceBuilder.h"
#include "workspace/manager/WorkspaceProviderBase.h"

#include <list>
#include <memory>

namespace kivworkspace::workspace {

class Workspace;

// The host's workspaces made in code.
class BuiltInWorkspaceProviderBase : public WorkspaceProviderBase {
 public:
  // Appends the names of the built-in workspaces.
  void GetWorkspaces(std::vector<kivcore::UTF16String>& out) override = 0;
  // When true, built-in names are the texts of localisation keys.
  virtual bool SupportsLocalizedWorkspaceNames() { return false; }
  // Appends the localisation key of every built-in workspace.
  virtual void GetWorkspaceStringKeys(std::list<kivcore::UTF8String>& /*out*/) {}
  // A builder of the named workspace, or null when the provider cannot make it.
  virtual std::unique_ptr<WorkspaceBuilder> CreateBuilder(const kivcore::UTF16String& name,
                                                          Workspace& workspace) = 0;
};

}  // namespace kivworkspace::workspace
