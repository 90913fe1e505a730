// The switcher model on a real workspace manager: its three lists follow the manager's
// names through random changes, a name that comes back regains its place, renamed
// workspaces keep theirs, the lists survive a round trip through their JSON text while bad
// text changes nothing, and Edit Workspaces' OK applies any mix of its edits.
#include "workspace/manager/ManagerTestSupport.h"

#include "services/core/Error.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
#include "sharedui/WorkspaceSwitcherListener.h"
#include "sharedui/WorkspaceSwitcherManager.h"

#include <algorithm>
#include <random>

using namespace kivtest;
using kivworkspace::sharedui::WorkspaceSwitcherDialog;
using kivworkspace::sharedui::WorkspaceSwitcherManager;
using NameList = std::vector<kivcore::UTF16String>;

namespace {

struct CountingListener : kivworkspace::sharedui::WorkspaceSwitcherListener {
  void WorkspacesConfigurationChanged() override { ++told; }
  int told = 0;
};

struct SwitcherModel : ManagerFixture {
  WorkspaceSwitcherManager& model = (WorkspaceSwitcherManager::Forget(), *WorkspaceSwitcherManager::Get());

  void SetUp() override {
    ManagerFixture::SetUp();
    Restart();
    model.AttachWorkspaceManager(manager.get());
  }
  void TearDown() override {
    WorkspaceSwitcherManager::Forget();
    ManagerFixture::TearDown();
  }
  NameList Shown() { return *model.GetShownWorkspaceList(); }
  NameList Overflow() { return *model.GetOverflowWorkspaceList(); }
  NameList Hidden() { return *model.GetHiddenWorkspaceList(); }
  // Every name of the manager is in exactly one list, and the lists hold nothing else.
  void ExpectPartition() {
    NameList all = Shown();
    for (const NameList& list : {Overflow(), Hidden()}) all.insert(all.end(), list.begin(), list.end());
    NameList names;
    manager->GetWorkspaces(names);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, names);
  }
};

// The names of `before` that are still in `after`, in before's order.
NameList Survivors(const NameList& before, const NameList& after) {
  NameList kept;
  for (const auto& name : before)
    if (std::find(after.begin(), after.end(), name) != after.end()) kept.push_back(name);
  return kept;
}

TEST_F(SwitcherModel, RandomChangesKeepTheListsAPartitionOfTheNamesInAStableOrder) {
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  std::mt19937 random(6122026);
  int made = 0;
  for (int step = 0; step < 150; ++step) {
    NameList names;
    manager->GetWorkspaces(names);
    const kivcore::UTF16String some = names[random() % names.size()];
    const NameList shown = Shown(), overflow = Overflow(), hidden = Hidden();
    kivcore::UTF16String fresh;
    switch (random() % 4) {
      case 0:
        fresh = kivcore::UTF8to16("W" + std::to_string(++made));
        manager->CreateUserWorkspace(fresh);
        break;
      case 1:
        // A built-in never used has no definition to carry over.
        if (some == manager->GetCurrentWorkspace() || manager->GetStoredStates(some).current.empty()) continue;
        fresh = kivcore::UTF8to16("R" + std::to_string(++made));
        manager->RenameWorkspace(some, fresh);
        // A renamed workspace keeps its place under its new name.
        for (const auto& [after, before] : {std::pair{Shown(), shown}, std::pair{Overflow(), overflow}, std::pair{Hidden(), hidden}}) {
          NameList expected = before;
          std::replace(expected.begin(), expected.end(), some, fresh);
          EXPECT_EQ(after, expected) << "step " << step;
        }
        ExpectPartition();
        continue;
      case 2:
        if (names.size() < 3 || some == manager->GetCurrentWorkspace()) continue;
        manager->DeleteUserWorkspace(some);
        break;
      default: {
        // The user moves a name to the end of another list, as the dialog does.
        for (NameList* list : {model.GetShownWorkspaceList(), model.GetOverflowWorkspaceList(), model.GetHiddenWorkspaceList()})
          std::erase(*list, some);
        NameList* lists[] = {model.GetShownWorkspaceList(), model.GetOverflowWorkspaceList(), model.GetHiddenWorkspaceList()};
        lists[random() % 3]->push_back(some);
        model.RebuildMenu();
        ExpectPartition();
        continue;
      }
    }
    ExpectPartition();
    // Names already placed keep their order; a new name goes to the end of the bar.
    EXPECT_EQ(Survivors(Shown(), shown), Survivors(shown, Shown())) << "step " << step;
    EXPECT_EQ(Survivors(Overflow(), overflow), Survivors(overflow, Overflow())) << "step " << step;
    EXPECT_EQ(Survivors(Hidden(), hidden), Survivors(hidden, Hidden())) << "step " << step;
    if (!fresh.empty()) {
      EXPECT_EQ(Shown().back(), fresh) << "step " << step;
    }
  }
}

TEST_F(SwitcherModel, ANameThatComesBackRegainsItsPlaceAndListenersAreTold) {
  CountingListener listener;
  model.AddListener(&listener);
  model.AddListener(&listener);
  for (const char16_t* name : {u"A", u"B", u"C"}) manager->CreateUserWorkspace(name);
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Grade", u"A", u"B", u"C"}));
  EXPECT_EQ(listener.told, 3) << "once per creation, though the listener was added twice";

  // B leaves and comes back: it returns between A and C.
  manager->DeleteUserWorkspace(u"B");
  manager->CreateUserWorkspace(u"B");
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Grade", u"A", u"B", u"C"}));

  // After a reset of the manager the built-ins return to their places in the overflow.
  *model.GetOverflowWorkspaceList() = {u"Grade"};
  std::erase(*model.GetShownWorkspaceList(), u"Grade");
  model.RebuildMenu();
  manager->ResetWorkspaceMgr();
  EXPECT_EQ(Shown(), (NameList{u"Edit"}));
  EXPECT_EQ(Overflow(), (NameList{u"Grade"}));

  const int before = listener.told;
  model.NotifyListeners(&listener);
  EXPECT_EQ(listener.told, before) << "the listener excepted is not told";
  model.RemoveListener(&listener);
  model.RebuildMenu();
  EXPECT_EQ(listener.told, before);
}

TEST_F(SwitcherModel, TheListsRoundTripThroughJSONAndBadTextChangesNothing) {
  for (const char16_t* name : {u"A", u"B", u"C", u"D"}) manager->CreateUserWorkspace(name);
  ASSERT_TRUE(model.SetData(R"({"version":"default","switcherwidth":240,"shown":["A","B","Edit"],)"
                            R"("overflow":["C"],"hidden":["Grade","B"]})"));
  EXPECT_EQ(Shown(), (NameList{u"A", u"B", u"Edit", u"D"})) << "D, known to no list, joins the bar; B stays shown only";
  EXPECT_EQ(Overflow(), (NameList{u"C"}));
  EXPECT_EQ(Hidden(), (NameList{u"Grade"}));
  EXPECT_TRUE(model.HasWorkspaceSwitcherWidth());

  const std::string saved = model.GetData();
  for (const std::string bad : {"not json", "[1,2]", R"({"shown":["A"]})", R"({"version":)"}) {
    std::string why;
    EXPECT_FALSE(model.SetData(bad, &why)) << bad;
    EXPECT_FALSE(why.empty()) << bad;
    EXPECT_EQ(model.GetData(), saved) << bad;
  }
  model.SetData(R"({"version":"default","switcherwidth":0.5,"shown":["A"],"overflow":[]})");
  EXPECT_FALSE(model.HasWorkspaceSwitcherWidth());
  EXPECT_FALSE(model.IsWorkspaceSwitcherUnset());
  EXPECT_TRUE(Hidden().empty()) << "a missing list is an empty one";
  ExpectPartition();
  ASSERT_TRUE(model.SetData(saved));
  EXPECT_EQ(model.GetData(), saved);
}

TEST_F(SwitcherModel, DeletingTheCurrentWorkspaceSwitchesFirstAndAttachingMovesBetweenManagers) {
  for (const char16_t* name : {u"A", u"B"}) manager->CreateUserWorkspace(name);
  std::list<kivcore::UTF16String> doomed{u"B", u"Grade"};
  model.DeleteWorkspaces(doomed);
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Edit") << "the first workspace the bar shows took over";
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"A"}));
  std::map<kivcore::UTF16String, kivcore::UTF16String> renames{{u"A", u"Z"}};
  model.RenameWorkspaces(renames);
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Z"}));

  // A second manager: the model leaves the first (its changes no longer reach the lists).
  TempDir other;
  Manager second(*workspace, kivcore::UTF8to16((other / "u").string()), kivcore::UTF8to16((other / "a").string()),
                 kivcore::UTF8to16((other / "s").string()), &builtIns, false);
  second.Initialize();
  model.AttachWorkspaceManager(&second);
  EXPECT_EQ(model.GetWorkspaceManager(), &second);
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Grade"}));
  manager->CreateUserWorkspace(u"Elsewhere");
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Grade"}));
  model.AttachWorkspaceManager(manager.get());
}

TEST_F(SwitcherModel, RenamedWorkspacesKeepTheirPlacesWhateverOrderTheRenamesNeed) {
  for (const char16_t* name : {u"A", u"B", u"C"}) manager->CreateUserWorkspace(name);
  *model.GetHiddenWorkspaceList() = {u"C"};
  std::erase(*model.GetShownWorkspaceList(), u"C");
  using Renames = std::map<kivcore::UTF16String, kivcore::UTF16String>;
  // A rename straight on the manager, as a host's Rename command makes it: the tab stays
  // where it was.
  manager->RenameWorkspace(u"A", u"Alpha");
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Grade", u"Alpha", u"B"}));
  Renames renames;
  // B gives its name up to Alpha; then two names go round; a hidden one stays hidden.
  renames = {{u"B", u"B2"}, {u"Alpha", u"B"}};
  model.RenameWorkspaces(renames);
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Grade", u"B", u"B2"}));
  renames = {{u"B", u"C"}, {u"C", u"B"}};
  model.RenameWorkspaces(renames);
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Grade", u"C", u"B2"}));
  EXPECT_EQ(Hidden(), NameList{u"B"});
  ExpectPartition();
  // A rename the manager refuses (a built-in never visited has no definition to carry
  // over) leaves the lists as they were.
  renames = {{u"Grade", u"Gamma"}};
  EXPECT_THROW(model.RenameWorkspaces(renames), kivcore::config::Error);
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"Grade", u"C", u"B2"}));
}

TEST_F(SwitcherModel, EditWorkspacesOKKeepsHiddenRenamesHiddenBesideDeletions) {
  for (const char16_t* name : {u"A", u"B", u"H"}) manager->CreateUserWorkspace(name);
  *model.GetHiddenWorkspaceList() = {u"H"};
  std::erase(*model.GetShownWorkspaceList(), u"H");
  WorkspaceSwitcherDialog dialog;
  ASSERT_TRUE(dialog.FinishRenaming(dialog.FindRow(u"H"), u"Hush"));
  ASSERT_TRUE(dialog.FinishRenaming(dialog.FindRow(u"B"), u"B2"));
  ASSERT_TRUE(dialog.FinishRenaming(dialog.FindRow(u"A"), u"B"));
  dialog.GetTree().SelectRow(dialog.FindRow(u"Grade"));
  dialog.DoDelete();
  dialog.DefaultCloseOk();
  EXPECT_EQ(Shown(), (NameList{u"Edit", u"B", u"B2"}));
  EXPECT_EQ(Hidden(), NameList{u"Hush"});
  ExpectPartition();
}

TEST_F(SwitcherModel, EditWorkspacesOKAppliesAnyMixOfMovesRenamesAndDeletions) {
  // Built-ins never visited have no definition to rename.
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  std::mt19937 random(21222026);
  int made = 0;
  for (int round = 0; round < 25; ++round) {
    while (model.GetShownWorkspaceList()->size() + Overflow().size() + Hidden().size() < 6)
      manager->CreateUserWorkspace(kivcore::UTF8to16("W" + std::to_string(++made)));
    WorkspaceSwitcherDialog dialog;
    // Names to rename to: those of the workspaces (so that renames chain and go round)
    // and a few new ones.
    NameList targets;
    manager->GetWorkspaces(targets);
    for (int i = 0; i < 3; ++i) targets.push_back(kivcore::UTF8to16("N" + std::to_string(++made)));
    std::string edits;
    for (int step = 0; step < 10; ++step) {
      std::vector<int> rows;
      for (auto section : {WorkspaceSwitcherDialog::kBarRow, WorkspaceSwitcherDialog::kOverflowRow,
                           WorkspaceSwitcherDialog::kHiddenRow}) {
        for (int row : dialog.GetTree().GetChildRowIDs(section)) rows.push_back(row);
      }
      const int row = rows[random() % rows.size()];
      switch (random() % 4) {
        case 0: {
          const auto section = WorkspaceSwitcherDialog::Section(1 + random() % 3);
          dialog.MoveWorkspace(
              row, section, int(random() % (dialog.GetTree().GetChildRowIDs(section).size() + 1)));
          edits += " move";
          break;
        }
        case 3:
          dialog.GetTree().SelectRow(row);
          dialog.DoDelete();
          edits += " delete";
          break;
        default:
          if (dialog.FinishRenaming(row, targets[random() % targets.size()])) edits += " rename";
      }
    }
    const NameList bar = dialog.GetSectionNames(WorkspaceSwitcherDialog::kBarRow);
    const NameList overflow = dialog.GetSectionNames(WorkspaceSwitcherDialog::kOverflowRow);
    const NameList hidden = dialog.GetSectionNames(WorkspaceSwitcherDialog::kHiddenRow);
    ASSERT_NO_THROW(dialog.DefaultCloseOk()) << "round " << round << ":" << edits;
    EXPECT_EQ(Shown(), bar) << "round " << round << ":" << edits;
    EXPECT_EQ(Overflow(), overflow) << "round " << round << ":" << edits;
    EXPECT_EQ(Hidden(), hidden) << "round " << round << ":" << edits;
    ExpectPartition();
    EXPECT_TRUE(manager->HasCurrentWorkspace());
  }
}

}  // namespace
