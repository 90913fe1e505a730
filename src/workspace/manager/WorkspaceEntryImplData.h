#pragma once

#include "services/core/Strings.h"

namespace kivworkspace::workspace {

// One stored workspace definition, wherever the manager keeps it.
class WorkspaceEntryImplData {
 public:
  virtual ~WorkspaceEntryImplData() = default;
  // The definition's file.
  virtual kivcore::UTF16String GetPath() const = 0;
};

}  // namespace kivworkspace::workspace
