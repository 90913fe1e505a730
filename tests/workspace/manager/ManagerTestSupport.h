#pragma once
// A workspace manager on a fresh preference folder, with built-in workspaces made by
// builders and an optional folder of system workspaces.

#include "workspace/WorkspaceTestSupport.h"
#include "services/core/TempDir.h"

#include "services/core/PropListUtils.h"
#include "workspace/manager/BuiltInWorkspaceProviderBase.h"
#include "workspace/definition/FrameBuilder.h"
#include "services/core/File.h"
#include "workspace/manager/Manager.h"
#include "workspace/manager/MenuHelperBase.h"
#include "workspace/core/WorkspaceUtils.h"
#include "workspace/definition/SplitterBuilder.h"
#include "workspace/manager/SystemWorkspaceProviderBase.h"
#include "workspace/definition/WorkspaceDefinition.h"

#include <map>

namespace kivtest {

// Built-ins: "Edit" is A beside B, "Grade" is C over A.
class TestBuiltIns : public BuiltInWorkspaceProviderBase {
 public:
  void GetWorkspaces(std::vector<kivcore::UTF16String>& out) override {
    out.insert(out.end(), {u"Edit", u"Grade"});
  }
  std::unique_ptr<WorkspaceBuilder> CreateBuilder(const kivcore::UTF16String& name, Workspace& w) override {
    const auto frame = [](const char* type) { return std::make_unique<FrameBuilder>(std::list<std::string>{type}); };
    const bool edit = name == u"Edit";
    if (!edit && name != u"Grade") return nullptr;
    auto builder = std::make_unique<WorkspaceBuilder>(w);
    builder->AddWindow(std::make_unique<SplitterBuilder>(edit, frame(edit ? "A" : "C"), frame(edit ? "B" : "A")),
                       w.GetMainTopLevelWindow()->GetGlobalStructureRect());
    ++built;
    return builder;
  }
  int built = 0;
};

class TestSystemProvider : public SystemWorkspaceProviderBase {
 public:
  explicit TestSystemProvider(kivcore::UTF16String folder) : folder_(std::move(folder)) {}
  kivcore::UTF16String GetSystemWorkspaceFolder() override { return folder_; }

 private:
  kivcore::UTF16String folder_;
};

// Records what the manager tells its helpers, as "rebuild" and "active:<name>".
class RecordingHelper : public MenuHelperBase {
 public:
  void RebuildMenu() override { told.push_back("rebuild"); }
  void NewActiveWorkspace(const kivcore::UTF16String& name) override {
    told.push_back("active:" + kivcore::UTF16to8(name));
  }
  std::vector<std::string> told;
};

// A workspace that records the workspace commands asked of it.
class CommandWorkspace : public Workspace {
 public:
  void DoWorkspaceCmdNew() override { commands.push_back("new"); }
  void DoWorkspaceCmdSave() override { commands.push_back("save"); }
  void DoWorkspaceCmdDelete() override { commands.push_back("delete"); }
  void DoWorkspaceCmdReset() override { commands.push_back("reset"); }
  void DoWorkspaceCmdEdit() override {
    commands.push_back("edit");
    if (libraryEdits) Workspace::DoWorkspaceCmdEdit();
  }
  std::vector<std::string> commands;
  // Edit runs what a workspace that does not override it runs.
  bool libraryEdits = false;
};

struct ManagerFixture : WorkspaceFixture {
  TempDir dir;
  TestBuiltIns builtIns;
  std::unique_ptr<TestSystemProvider> system;
  std::unique_ptr<Manager> manager;

  std::filesystem::path UserFolder() const { return dir / "SavedWorkspaces"; }
  std::filesystem::path ArchiveFolder() const { return dir / "ArchivedWorkspaces"; }
  std::filesystem::path SettingsFile() const { return dir / "WSMgrCfg"; }
  std::filesystem::path SystemFolder() const { return dir / "system"; }

  // A new manager on the same folders, as a restart of the host makes.
  Manager& Restart(bool withSystem = false) {
    manager.reset();
    if (withSystem) system = std::make_unique<TestSystemProvider>(kivcore::UTF8to16(SystemFolder().string()));
    manager = std::make_unique<Manager>(*workspace, kivcore::UTF8to16(UserFolder().string()),
                                        kivcore::UTF8to16(ArchiveFolder().string()),
                                        kivcore::UTF8to16(SettingsFile().string()), &builtIns,
                                        withSystem ? system.get() : nullptr, false);
    manager->Initialize();
    return *manager;
  }
  std::vector<std::string> Names() const {
    std::vector<kivcore::UTF16String> names;
    manager->GetWorkspaces(names);
    std::vector<std::string> out;
    for (const auto& name : names) out.push_back(kivcore::UTF16to8(name));
    return out;
  }
  // The main window's frames in the order of its tree, "A,B|C" for a frame holding A and
  // B followed by one holding C.
  std::string Arrangement() const {
    std::string out;
    for (auto* lmFrame : main->GetLayoutManager().GetFrames()) {
      if (!out.empty()) out += "|";
      const auto* frame = dynamic_cast<WorkspaceFrame*>(main->GetFrameFromLMFrame(lmFrame));
      for (const std::string& type : Types(*frame)) out += (out.empty() || out.back() == '|' ? "" : ",") + type;
    }
    return out;
  }
  // Writes the main window's layout as a system workspace file named `name`.
  void WriteSystemWorkspace(const std::string& fileName, const kivcore::UTF16String& name) {
    std::filesystem::create_directories(SystemFolder());
    kivcore::PropList definition;
    SaveWorkspace(*workspace, definition, name);
    kivcore::proplist::utils::SavePropList(definition, kivcore::filesupport::File(SystemFolder() / fileName));
  }
};

}  // namespace kivtest
