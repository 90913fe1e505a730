// Named workspaces in files: switching, saving, reset, create, rename and delete across
// restarts of the manager; built-in and system workspaces; the settings cache; bad files
// and folders that cannot be written.
#include "ManagerTestSupport.h"

#include "services/core/Error.h"
#include "services/core/File.h"
#include "workspaceutils/WorkspaceDirs.h"

#include <algorithm>
#include <fstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <utime.h>

using namespace kivtest;
namespace fs = std::filesystem;

namespace {

using Managers = ManagerFixture;

int ErrorCode(const std::function<void()>& action) {
  try {
    action();
  } catch (const kivcore::config::Error& e) {
    return e.Category() == kManagerErrorCategory ? e.Code() : -e.Code();
  }
  return 0;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> FileNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(Managers, UserWorkspacesLiveThroughSwitchesSavesResetsRenamesAndRestarts) {
  Restart();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade"}));
  EXPECT_FALSE(manager->HasCurrentWorkspace());
  RecordingHelper helper;
  manager->AddMenuHelper(&helper);

  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  EXPECT_EQ(Arrangement(), "A|B");
  manager->CreateUserWorkspace(u"Mine");
  EXPECT_EQ(helper.told, (std::vector<std::string>{"rebuild", "active:Edit", "rebuild", "active:Mine"}));
  const fs::path mineFile = kivcore::UTF16to8(manager->GetStoredStates(u"Mine").current);
  EXPECT_EQ(fs::path(kivcore::UTF16to8(manager->GetStoredStates(u"Mine").archived)).filename(), mineFile.filename());

  // Mine gets a C beside A|B; leaving it saves that, the archive keeps A|B.
  FrameWith({"C"});
  const std::string withC = Arrangement();
  ASSERT_EQ(withC.size(), 5u);
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  EXPECT_EQ(Arrangement(), "C|A");
  manager->FlushManagerSettings();

  Restart();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade", "Mine"}));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Mine"));
  EXPECT_EQ(Arrangement(), withC);
  manager->RevertWorkspace(u"Mine");
  EXPECT_EQ(Arrangement(), "A|B") << "a reset returns to the archived layout";
  manager->SaveWorkspace(u"Mine");

  helper.told.clear();
  manager->AddMenuHelper(&helper);
  manager->RenameWorkspace(u"Mine", u"Ours");
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Ours");
  EXPECT_EQ(helper.told, (std::vector<std::string>{"rebuild", "active:Mine", "active:Ours", "rebuild", "rebuild"}));
  EXPECT_FALSE(fs::exists(mineFile)) << "the old current state goes";
  EXPECT_EQ(FileNames(ArchiveFolder()).size(), 1u) << "the archive moves with the name";

  // A deleted built-in stays deleted; deleting the current workspace leaves none.
  manager->DeleteUserWorkspace(u"Edit");
  helper.told.clear();
  manager->DeleteUserWorkspace(u"Ours");
  EXPECT_FALSE(manager->HasCurrentWorkspace());
  EXPECT_EQ(helper.told, (std::vector<std::string>{"rebuild"})) << "no NewActiveWorkspace for a deleted current";
  manager->RemoveMenuHelper(&helper);
  EXPECT_TRUE(FileNames(ArchiveFolder()).empty());
  Restart();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Grade"}));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  EXPECT_EQ(Arrangement(), "C|A") << "Grade's state came back from its file";
  EXPECT_EQ(builtIns.built, 2) << "Edit and Grade were each built once, on first use";

  // A reset of the manager offers every built-in again and forgets the user's files.
  manager->ResetWorkspaceMgr();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade"}));
  EXPECT_TRUE(FileNames(UserFolder()).empty());
}

TEST_F(Managers, SwitchingKeepsPanelsAliveAndSwitchingToTheCurrentOneDoesNothing) {
  Restart();
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  auto* a = dynamic_cast<NotePanel*>(WorkspaceUtils::FindFirstTabOfType(*workspace, "A"));
  ASSERT_TRUE(a);
  a->note = "scrolled to 42";
  const fs::path editFile = kivcore::UTF16to8(manager->GetStoredStates(u"Edit").current);
  const auto written = fs::last_write_time(editFile);

  EXPECT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  EXPECT_EQ(fs::last_write_time(editFile), written) << "nothing is saved";

  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  EXPECT_EQ(WorkspaceUtils::FindFirstTabOfType(*workspace, "A"), a) << "the same panel object";
  EXPECT_EQ(a->note, "scrolled to 42");
  EXPECT_EQ(WorkspaceUtils::FindFirstTabOfType(*workspace, "B"), nullptr);
}

TEST_F(Managers, SystemWorkspacesAreCopiedOnFirstUseAndResetFromTheSystemFile) {
  FrameWith({"B"});
  FrameWith({"C"});
  WriteSystemWorkspace("Review.xml", u"Review");
  WriteSystemWorkspace("Logging.xml", u"Logging");
  // A copy of Logging cut short by a crash: it is never trusted, nor written over.
  fs::create_directories(UserFolder());
  const std::string cutShort = Read(SystemFolder() / "Logging.xml").substr(0, 40);
  std::ofstream(UserFolder() / "Logging.xml", std::ios::binary) << cutShort;
  Restart(true);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade", "Logging", "Review"}));
  std::vector<kivcore::UTF16String> systemNames;
  system->GetWorkspaces(systemNames);
  EXPECT_EQ(systemNames, (std::vector<kivcore::UTF16String>{u"Logging", u"Review"}));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Logging"));
  EXPECT_EQ(Arrangement(), "B|C");
  EXPECT_EQ(Read(UserFolder() / "Logging.xml"), cutShort);
  EXPECT_EQ(fs::path(kivcore::UTF16to8(manager->GetStoredStates(u"Logging").current)), UserFolder() / "Logging-1.xml");

  // A rename onto a system workspace never visited would merge the two.
  manager->CreateUserWorkspace(u"Mine");
  EXPECT_EQ(ErrorCode([&] { manager->RenameWorkspace(u"Mine", u"Review"); }), kCannotRenameWorkspace);
  EXPECT_TRUE(manager->CanRenameWorkspace(u"Review")) << "its system file is its definition";
  manager->DeleteUserWorkspace(u"Mine");

  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Review"));
  EXPECT_EQ(Arrangement(), "B|C");
  EXPECT_EQ(fs::path(kivcore::UTF16to8(manager->GetStoredStates(u"Review").current)), UserFolder() / "Review.xml");
  const std::string systemBytes = Read(SystemFolder() / "Review.xml");

  FrameWith({"A"});
  const std::string changed = Arrangement();
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  manager->FlushManagerSettings();
  Restart(true);
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Review"));
  EXPECT_EQ(Arrangement(), changed) << "the user's copy is used, not copied again";
  manager->RevertWorkspace(u"Review");
  EXPECT_EQ(Arrangement(), "B|C");

  // Saved with its changes it is the user's own: a reset returns to what was saved.
  FrameWith({"A"});
  const std::string saved = Arrangement();
  manager->ReplaceUserWorkspace(u"Review");
  FrameWith({"C"});
  manager->RevertWorkspace(u"Review");
  EXPECT_EQ(Arrangement(), saved);
  manager->FlushManagerSettings();
  Restart(true);
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Review"));
  FrameWith({"C"});
  manager->RevertWorkspace(u"Review");
  EXPECT_EQ(Arrangement(), saved) << "after a restart too";
  EXPECT_EQ(Read(SystemFolder() / "Review.xml"), systemBytes) << "system files are never written";

  // Without a system provider the cached system entries are dropped.
  Restart(false);
  EXPECT_EQ(manager->GetStoredStates(u"Review").system, u"");
}

TEST_F(Managers, DeletedSystemWorkspacesStayDeletedUntilTheManagerIsReset) {
  FrameWith({"B"});
  WriteSystemWorkspace("Review.xml", u"Review");
  WriteSystemWorkspace("Logging.xml", u"Logging");
  Restart(true);
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Logging"));  // a copy in the user folder
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  manager->DeleteUserWorkspace(u"Logging");
  manager->DeleteUserWorkspace(u"Review");  // never visited
  Restart(true);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade"}));
  std::vector<kivcore::UTF16String> systemNames{u"stale"};
  system->GetWorkspaces(systemNames);
  EXPECT_TRUE(systemNames.empty());

  // The user's own workspace may take a deleted one's name; it stays the user's.
  manager->CreateUserWorkspace(u"Review");
  manager->FlushManagerSettings();
  Restart(true);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade", "Review"}));
  EXPECT_EQ(manager->GetStoredStates(u"Review").system, u"");

  manager->ResetWorkspaceMgr();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade", "Logging", "Review"}));
  EXPECT_NE(manager->GetStoredStates(u"Review").system, u"");
}

TEST_F(Managers, TheSettingsCacheTakesUnchangedFilesWithoutReadingThemAndRereadsChangedOnes) {
  Restart();
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  manager->CreateUserWorkspace(u"Mine");
  manager->FlushManagerSettings();
  const fs::path file = kivcore::UTF16to8(manager->GetStoredStates(u"Mine").current);
  // A modification time with a fraction of a second is cached with a comma before it.
  const timespec fractional[2] = {{0, UTIME_OMIT}, {1700000000, 250000000}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), fractional, 0), 0);
  manager->FlushManagerSettings();
  manager.reset();
  kivcore::PropList settings = kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(SettingsFile()));
  kivcore::PropList::StringList cached;
  ASSERT_TRUE(settings.GetValue("ModifiedTimes", cached));
  EXPECT_NE(std::find(cached.begin(), cached.end(), "20231114T221320,250000"), cached.end());
  // One written with a full stop there names the same time.
  for (std::string& time : cached) std::replace(time.begin(), time.end(), ',', '.');
  settings.SetValue("ModifiedTimes", cached);
  kivcore::proplist::utils::SavePropList(settings, kivcore::filesupport::File(SettingsFile()));

  // Rename the workspace inside its file but give the file back its time: the cache,
  // which does not read the file, still knows it as "Mine".
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  kivcore::PropList definition = kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(file));
  ChangeWorkspaceUserName(definition, u"Renamed");
  kivcore::proplist::utils::SavePropList(definition, kivcore::filesupport::File(file));
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  Restart();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade", "Mine"}));

  // A changed time makes the scan read it.
  const timespec later[2] = {before.st_atim, {before.st_mtim.tv_sec + 5, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), later, 0), 0);
  Restart();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade", "Renamed"}));

  // A cache of another version is not used, but its built-in list is.
  manager->DeleteUserWorkspace(u"Grade");
  settings = kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(SettingsFile()));
  settings.SetValue("WorkspaceConfigVersion", "1.0");
  settings.SetValue("UserNames", kivcore::PropList::TextList(3, u"Stale"));
  kivcore::proplist::utils::SavePropList(settings, kivcore::filesupport::File(SettingsFile()));
  Restart();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Renamed"}));
}

TEST_F(Managers, BadFilesAreSkippedWithTheirReasonAndNeverOverwritten) {
  Restart();
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  manager->CreateUserWorkspace(u"Good");
  const std::string good = Read(kivcore::UTF16to8(manager->GetStoredStates(u"Good").current));
  manager.reset();
  const std::map<std::string, std::string> bad = {
      {"Truncated.xml", good.substr(0, good.size() / 2)},
      {"Text.xml", "just some notes"},
      {"Future.xml", "<proplist><string k=\"KIV_Wrkspce\" v=\"9.0\"/><text k=\"UserName\" v=\"Future\"/></proplist>"},
      {"Capitals.XML", good},
  };
  for (const auto& [name, bytes] : bad) std::ofstream(UserFolder() / name, std::ios::binary) << bytes;
  // A file that exists but cannot be read, even by a privileged user.
  fs::create_symlink("/proc/self/mem", UserFolder() / "Unreadable.xml");
  std::ofstream(SettingsFile(), std::ios::trunc) << "<proplist><broken";

  Restart();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Good", "Grade"})) << "the settings were rebuilt from the folders";
  std::set<std::string> skipped;
  for (const auto& file : manager->GetSkippedFiles()) {
    skipped.insert(fs::path(kivcore::UTF16to8(file.path)).filename().string());
    EXPECT_FALSE(file.reason.empty());
  }
  EXPECT_EQ(skipped, (std::set<std::string>{"Future.xml", "Text.xml", "Truncated.xml", "Unreadable.xml", "manager settings"}));

  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Good"));
  manager->CreateUserWorkspace(u"Another");
  manager->FlushManagerSettings();
  for (const auto& [name, bytes] : bad) EXPECT_EQ(Read(UserFolder() / name), bytes) << name;
  EXPECT_NO_THROW(kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(SettingsFile())));
}

TEST_F(Managers, AFolderThatCannotBeWrittenFailsSavesClearlyAndKeepsTheLayout) {
  Restart();
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  manager->CreateUserWorkspace(u"Mine");
  const fs::path file = kivcore::UTF16to8(manager->GetStoredStates(u"Mine").current);
  const std::string saved = Read(file);
  FrameWith({"C"});
  const std::string withC = Arrangement();

  // The folder becomes a plain file: nothing can be written in it any more.
  fs::rename(UserFolder(), dir / "moved");
  std::ofstream(UserFolder()) << "not a folder";
  manager->SaveWorkspace(u"Mine");
  const std::vector<std::string> failures = manager->TakeWriteFailures();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find(file.filename().string()), std::string::npos) << failures[0];
  EXPECT_EQ(Arrangement(), withC);
  EXPECT_EQ(ErrorCode([&] { manager->CreateUserWorkspace(u"Other"); }), kCannotCreateWorkspace);
  EXPECT_EQ(Arrangement(), withC);
  EXPECT_EQ(Read(dir / "moved" / file.filename()), saved) << "the old file is whole";

  // A first switch to a built-in workspace needs a file of its own: without one nothing
  // changes, and the workspace left keeps its own layout once files can be written again.
  EXPECT_EQ(ErrorCode([&] { manager->SetCurrentWorkspace(u"Grade"); }), kCannotCreateWorkspace);
  EXPECT_EQ(Arrangement(), withC);
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Mine");
  fs::remove(UserFolder());
  fs::rename(dir / "moved", UserFolder());
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  EXPECT_EQ(Arrangement(), "C|A");
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Mine"));
  EXPECT_EQ(Arrangement(), withC);
}

TEST_F(Managers, ErrorsOrderAndDefinitionsAdded) {
  manager = std::make_unique<Manager>(*workspace, kivcore::UTF8to16(UserFolder().string()),
                                      kivcore::UTF8to16(ArchiveFolder().string()),
                                      kivcore::UTF8to16(SettingsFile().string()), &builtIns, false);
  EXPECT_EQ(ErrorCode([&] { manager->SetCurrentWorkspace(u"Edit"); }), kNotInitialized);
  EXPECT_FALSE(manager->CheckWorkspaceLoading()) << "the loading depth is restored on an error";
  manager->Initialize();
  EXPECT_EQ(ErrorCode([&] { manager->Initialize(); }), kAlreadyInitialized);
  EXPECT_EQ(ErrorCode([&] { manager->CreateUserWorkspace(u"Edit"); }), kWorkspaceAlreadyExists);
  EXPECT_EQ(ErrorCode([&] { manager->DeleteUserWorkspace(u"Nowhere"); }), kUnknownWorkspace);
  EXPECT_EQ(ErrorCode([&] { manager->RevertWorkspace(u"Nowhere"); }), kUnknownWorkspace);
  EXPECT_FALSE(manager->SetCurrentWorkspace(u"Nowhere"));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  manager->CreateUserWorkspace(u"edit");
  EXPECT_EQ(ErrorCode([&] { manager->RenameWorkspace(u"edit", u"Grade"); }), kCannotRenameWorkspace);
  EXPECT_EQ(ErrorCode([&] { manager->RenameWorkspace(u"edit", u"Edit"); }), kCannotRenameWorkspace) << "Edit, never visited";
  // Edit, built in code and never opened, has no definition a rename could move yet.
  EXPECT_FALSE(manager->CanRenameWorkspace(u"Edit"));
  EXPECT_EQ(ErrorCode([&] { manager->RenameWorkspace(u"Edit", u"Editing"); }), kCannotRenameWorkspace);
  EXPECT_TRUE(manager->CanRenameWorkspace(u"Grade"));
  EXPECT_TRUE(manager->CanRenameWorkspace(u"edit"));
  EXPECT_EQ(ErrorCode([&] { manager->ReplaceUserWorkspace(u"Nowhere"); }), kUnknownWorkspace);

  // A definition added under a new name becomes current; an existing one needs replace.
  kivcore::PropList definition;
  manager->GetCurrentWorkspace(definition);
  FrameWith({"B"});
  EXPECT_FALSE(manager->AddWorkspace(u"Grade", definition, false));
  ASSERT_TRUE(manager->AddWorkspace(u"Imported", definition, false));
  EXPECT_EQ(Arrangement(), "C|A");
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Imported");
  ASSERT_TRUE(manager->AddWorkspace(u"Edit", definition, true));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Edit");

  for (const char16_t* name : {u"Ab", u"a", u"_x", u"B"}) manager->CreateUserWorkspace(name);
  std::vector<kivcore::UTF16String> sorted;
  manager->GetUISortedWorkspaceNames(sorted);
  // ASCII case folded, so "edit" and "Edit" have no order between them.
  std::vector<std::string> folded;
  for (const auto& name : sorted) {
    std::string s = kivcore::UTF16to8(name);
    for (char& c : s) c = char(std::tolower(c));
    folded.push_back(s);
  }
  EXPECT_EQ(folded, (std::vector<std::string>{"_x", "a", "ab", "b", "edit", "edit", "grade", "imported"}));
}

TEST_F(Managers, TheMainWindowComesBackWhereTheSettingsPutIt) {
  Restart();
  main->SetGlobalStructureRect({130, 110, 700, 480});
  kivui::testing::ProcessEvents();
  const kivcore::Rect left = main->GetGlobalStructureRect();
  manager->FlushManagerSettings();
  main->SetGlobalStructureRect({10, 10, 500, 400});
  Restart();
  manager->ApplyDefaultMainWindowSize();
  kivui::testing::ProcessEvents();
  EXPECT_EQ(main->GetGlobalStructureRect(), left);
}

TEST_F(Managers, ANewWorkspaceNeverTakesTheArchiveOfARenamedOne) {
  Restart();
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  manager->CreateUserWorkspace(u"A");
  manager->RenameWorkspace(u"A", u"B");  // B's archive keeps A's file name, now free in the user folder
  FrameWith({"C"});
  manager->CreateUserWorkspace(u"New");
  manager->DeleteUserWorkspace(u"New");
  ASSERT_TRUE(fs::exists(kivcore::UTF16to8(manager->GetStoredStates(u"B").archived)));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"B"));
  manager->RevertWorkspace(u"B");
  EXPECT_EQ(Arrangement(), "A|B");
}

TEST_F(Managers, WorkspaceDirsAreMadeUnderThePreferenceFolder) {
  ::setenv("KIV_PREF_DIR", dir.path().c_str(), 1);
  kivcore::UTF16String user, archive, settings;
  kivworkspace::workspaceutils::GetWorkspaceDirs(u"Host", user, archive, settings);
  EXPECT_EQ(fs::path(kivcore::UTF16to8(user)), dir / "Host" / "SavedWorkspaces");
  EXPECT_TRUE(fs::is_directory(dir / "Host" / "ArchivedWorkspaces"));
  EXPECT_EQ(fs::path(kivcore::UTF16to8(settings)), dir / "Host" / "WSMgrCfg");
  EXPECT_FALSE(fs::exists(dir / "Host" / "WSMgrCfg"));
  kivworkspace::workspaceutils::GetWorkspaceDirs(u"", user, archive, settings);
  EXPECT_EQ(fs::path(kivcore::UTF16to8(archive)), dir / "ArchivedWorkspaces");

  // A preferences folder named relative to the working folder gives absolute paths, so
  // that the settings cache names the same files wherever the host runs from next time.
  const fs::path working = fs::current_path();
  fs::current_path(dir.path());
  ::setenv("KIV_PREF_DIR", "prefs", 1);
  kivworkspace::workspaceutils::GetWorkspaceDirs(u"Host", user, archive, settings);
  fs::current_path(working);
  ::unsetenv("KIV_PREF_DIR");
  for (const kivcore::UTF16String& path : {user, archive, settings}) EXPECT_TRUE(fs::path(kivcore::UTF16to8(path)).is_absolute());
  EXPECT_TRUE(fs::equivalent(fs::path(kivcore::UTF16to8(user)), dir / "prefs" / "Host" / "SavedWorkspaces"));
}

}  // namespace
