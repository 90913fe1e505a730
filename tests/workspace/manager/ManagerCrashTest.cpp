// A host killed while it saves its workspaces: after each of many kills at random moments
// every stored file is whole and readable, holding what it held before the save or after
// it, every workspace is still there, and no temporary file is left. The saves include
// the user's Save Changes and New Workspace... over an existing workspace.
#include "ManagerTestSupport.h"

#include "services/core/FileUtils.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "workspaceutils/WorkspaceCommands.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kivtest;
namespace fs = std::filesystem;

namespace {

namespace commands = kivworkspace::workspaceutils;

struct ManagerCrashes : ManagerFixture {
  std::shared_ptr<kivui::testing::ScriptedAnswers> answers = kivui::testing::ScriptedAnswers::Install();

  // New Workspace... named after an existing workspace, the replace question accepted.
  void ReplaceThroughNewWorkspace(const std::string& name) {
    answers->Text(name).Accept();
    commands::RequestCreateNewWorkspace(main.get(), *manager);
  }
  // The user names stored in the folder's files.
  static std::multiset<std::string> StoredNames(const fs::path& folder) {
    std::multiset<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const kivcore::PropList list = kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(entry.path()));
      names.insert(kivcore::UTF16to8(GetWorkspaceUserName(list)));
    }
    return names;
  }
};

std::string NoteOf(const kivcore::PropList& definition) {
  // The note is the only "Note" value in the definition: find it wherever it is nested.
  std::string note;
  if (definition.GetValue("Note", note) && !note.empty()) return note;
  for (const std::string& key : definition.GetKeys()) {
    if (const kivcore::PropList* sub = definition.GetSubList(key)) {
      if (std::string found = NoteOf(*sub); !found.empty()) return found;
    }
  }
  return {};
}

// Saves forever: each round gives panel A a new note and stores it by saving, Save
// Changes, switching away (which saves the workspace left), New Workspace... over the
// workspace left, and flushing the settings.
[[noreturn]] void SaveUntilKilled(ManagerCrashes& test) {
  Manager& manager = *test.manager;
  auto* a = dynamic_cast<NotePanel*>(WorkspaceUtils::FindFirstTabOfType(*test.workspace, "A"));
  for (int round = 1;; ++round) {
    a->note = "round " + std::to_string(round);
    const std::string left = kivcore::UTF16to8(manager.GetCurrentWorkspace());
    manager.SaveWorkspace(manager.GetCurrentWorkspace());
    commands::SaveCurrentWorkspace(test.main.get(), manager);
    manager.SetCurrentWorkspace(left == "Mine" ? u"Edit" : u"Mine");
    test.ReplaceThroughNewWorkspace(left);
    manager.FlushManagerSettings();
  }
}

TEST_F(ManagerCrashes, EveryFileIsWholeAfterAKillAtAnyMoment) {
  Restart();
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  ASSERT_TRUE(commands::SaveCurrentWorkspace(main.get(), *manager));  // Edit is the user's own now
  manager->CreateUserWorkspace(u"Mine");
  manager->FlushManagerSettings();
  std::vector<fs::path> files{SettingsFile()};
  for (const fs::path& folder : {UserFolder(), ArchiveFolder()}) {
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  }
  ASSERT_EQ(files.size(), 5u);
  const std::multiset<std::string> names{"Edit", "Mine"};

  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
  int namedTemporariesLeft = 0;
  for (int kill = 0; kill < 1000; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveUntilKilled(*this);
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself";

    for (const fs::path& file : files) {
      kivcore::PropList list;
      ASSERT_NO_THROW(list = kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(file)))
          << file << " after kill " << kill;
      if (file != SettingsFile()) {
        ASSERT_TRUE(IsCompatibleVersion(list)) << file;
        const std::string note = NoteOf(list);
        ASSERT_TRUE(note.empty() || note.starts_with("round ")) << note;
      }
    }
    for (const fs::path& folder : {UserFolder(), ArchiveFolder(), dir.path()}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        if (kivcore::filesupport::FileUtils::IsTemporaryName(kivcore::filesupport::File(entry.path()))) {
          ++namedTemporariesLeft;
          fs::remove(entry.path());
        } else if (entry.is_regular_file()) {
          ASSERT_TRUE(std::find(files.begin(), files.end(), entry.path()) != files.end()) << entry.path();
        }
      }
    }
    // Both states of both workspaces, in the files they always had.
    ASSERT_EQ(StoredNames(UserFolder()), names) << "after kill " << kill;
    ASSERT_EQ(StoredNames(ArchiveFolder()), names) << "after kill " << kill;
  }
  // A temporary has a name only between two system calls (about 2 kills in 1,000 land
  // there); the next start of a manager removes it, as the loop above did.
  std::printf("named temporaries found right after a kill: %d of 1000 kills\n", namedTemporariesLeft);
  std::ofstream(UserFolder() / "UserWorkspace-1.xml.tmp-123") << "<proplist>";
  std::ofstream(dir / "WSMgrCfg.tmp-77") << "<proplist>";
  std::ofstream(dir / "Other.tmp-5") << "someone else's";
  Restart();
  EXPECT_TRUE(fs::exists(dir / "Other.tmp-5")) << "only the settings' own temporaries go from the shared folder";
  fs::remove(dir / "Other.tmp-5");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade", "Mine"}));
  for (const fs::path& folder : {UserFolder(), ArchiveFolder(), dir.path()}) {
    for (const auto& entry : fs::directory_iterator(folder))
      EXPECT_FALSE(kivcore::filesupport::FileUtils::IsTemporaryName(kivcore::filesupport::File(entry.path()))) << entry.path();
  }
}

}  // namespace

namespace {

// Save Changes to a built-in workspace, then New Workspace... over one never visited,
// killed at moments spread over the two commands; before each run the folders are put
// back as they were. A manager started afterwards offers every workspace, leaves no file
// out, and finds each built-in either as it was or as saved.
TEST_F(ManagerCrashes, ABuiltInWorkspaceSavedOrReplacedIsNeverLostToAKill) {
  Restart();
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  manager->FlushManagerSettings();
  const fs::path pristine = dir / "pristine";
  fs::create_directories(pristine);
  fs::create_directories(ArchiveFolder());
  for (const fs::path& path : {UserFolder(), ArchiveFolder(), SettingsFile()})
    fs::copy(path, pristine / path.filename(), fs::copy_options::recursive);
  const auto putBack = [&] {
    for (const fs::path& path : {UserFolder(), ArchiveFolder(), SettingsFile()}) {
      fs::remove_all(path);
      fs::copy(pristine / path.filename(), path, fs::copy_options::recursive);
    }
  };
  // Runs the two commands in a child; returns it, or waits for it when delay is not given.
  const auto runCommands = [&](std::optional<std::chrono::microseconds> delay) {
    const pid_t child = ::fork();
    if (child == 0) {
      FrameWith({"C"});
      commands::SaveCurrentWorkspace(main.get(), *manager);
      ReplaceThroughNewWorkspace("Edit");
      ::_exit(0);
    }
    if (delay) {
      std::this_thread::sleep_for(*delay);
      ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
  };

  // How long the commands take when nothing stops them.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(runCommands(std::nullopt), 0);
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  {
    Manager after(*workspace, kivcore::UTF8to16(UserFolder().string()), kivcore::UTF8to16(ArchiveFolder().string()),
                  kivcore::UTF8to16(SettingsFile().string()), &builtIns, false);
    after.Initialize();
    ASSERT_FALSE(after.GetStoredStates(u"Edit").archived.empty()) << "the commands ran to their end";
  }

  std::mt19937 random(20261207);
  std::uniform_int_distribution<long> delayMicroseconds(0, took.count() + took.count() / 10);
  for (int kill = 0; kill < 300; ++kill) {
    putBack();
    ASSERT_GE(runCommands(std::chrono::microseconds(delayMicroseconds(random))), 0);
    Manager after(*workspace, kivcore::UTF8to16(UserFolder().string()), kivcore::UTF8to16(ArchiveFolder().string()),
                  kivcore::UTF8to16(SettingsFile().string()), &builtIns, false);
    after.Initialize();
    std::vector<kivcore::UTF16String> names;
    after.GetWorkspaces(names);
    ASSERT_EQ(names, (std::vector<kivcore::UTF16String>{u"Edit", u"Grade"})) << "after kill " << kill;
    for (const auto& skipped : after.GetSkippedFiles())
      ADD_FAILURE() << "after kill " << kill << ": " << kivcore::UTF16to8(skipped.path) << " left out: " << skipped.reason;
    ASSERT_FALSE(after.GetStoredStates(u"Grade").current.empty()) << "Grade keeps its state";
  }
  putBack();
}

}  // namespace
