#pragma once

#include "workspace/manager/WorkspaceEntryImplData.h"

#include <utility>

namespace kivworkspace::workspace {

// A stored definition kept in a file. A built-in workspace with a localisable name keeps
// the localisation key its name was stored under ("$$$/..."), so the name follows the
// user's language.
class ManagerEntryImplData : public WorkspaceEntryImplData {
 public:
  ManagerEntryImplData(kivcore::UTF16String path, kivcore::UTF16String nameKey)
      : path_(std::move(path)), nameKey_(std::move(nameKey)) {}

  kivcore::UTF16String GetPath() const override { return path_; }
  const kivcore::UTF16String& GetNameKey() const { return nameKey_; }

 private:
  kivcore::UTF16String path_;
  kivcore::UTF16String nameKey_;
};

}  // namespace kivworkspace::workspace
