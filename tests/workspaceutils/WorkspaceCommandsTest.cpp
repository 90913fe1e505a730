// The user's workspace commands and the Edit Workspaces dialog on a real manager, every
// question answered from a script: each command and each prompt cancelled, the replace
// question both ways, and the dialog's OK and Cancel paths.
#include "workspace/manager/ManagerTestSupport.h"

#include "services/core/Error.h"
#include "services/ui/controls/UI_Button.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "services/ui/controls/UI_Popup.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspaceutils/WorkspaceCommands.h"

using namespace kivtest;
namespace commands = kivworkspace::workspaceutils;
using kivworkspace::sharedui::WorkspaceSwitcherDialog;
using kivworkspace::sharedui::WorkspaceSwitcherManager;
using NameList = std::vector<kivcore::UTF16String>;

namespace {

struct Commands : ManagerFixture {
  std::shared_ptr<kivui::testing::ScriptedAnswers> answers = kivui::testing::ScriptedAnswers::Install();
  WorkspaceSwitcherManager& model = (WorkspaceSwitcherManager::Forget(), *WorkspaceSwitcherManager::Get());

  void SetUp() override {
    ManagerFixture::SetUp();
    Restart();
    ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
    model.AttachWorkspaceManager(manager.get());
  }
  void TearDown() override {
    EXPECT_EQ(answers->Pending(), 0u) << "every scripted answer was asked for";
    WorkspaceSwitcherManager::Forget();
    ManagerFixture::TearDown();
  }
  const kivui::Prompt& Asked(std::size_t fromEnd = 0) { return answers->GetAsked()[answers->GetAsked().size() - 1 - fromEnd]; }
};

TEST_F(Commands, NewWorkspaceAsksANameAndWhetherToReplace) {
  answers->Cancel();
  EXPECT_FALSE(commands::RequestCreateNewWorkspace(main.get(), *manager));
  EXPECT_EQ(Asked().title, "New Workspace");
  EXPECT_EQ(Asked().message, "Name:");
  EXPECT_EQ(Asked().defaultText, "Untitled Workspace");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Edit", "Grade"}));

  answers->Text("Mine");
  EXPECT_TRUE(commands::RequestCreateNewWorkspace(main.get(), *manager));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Mine");

  // The name of an existing workspace: declined, nothing changes but the answer is true.
  FrameWith({"C"});
  const std::string withC = Arrangement();
  answers->Text("Grade").Cancel();
  EXPECT_TRUE(commands::RequestCreateNewWorkspace(main.get(), *manager));
  EXPECT_EQ(Asked().message, "A workspace called \"Grade\" already exists.  Would you like to replace \"Grade\"?");
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Mine");
  // Accepted: Grade becomes a user workspace holding the live layout.
  answers->Text("Grade").Accept();
  EXPECT_TRUE(commands::RequestCreateNewWorkspace(main.get(), *manager));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Grade");
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  EXPECT_EQ(Arrangement(), withC);
}

TEST_F(Commands, SaveMakesTheLiveLayoutTheOneResetReturnsTo) {
  FrameWith({"C"});
  const std::string withC = Arrangement();
  EXPECT_TRUE(commands::SaveCurrentWorkspace(main.get(), *manager));
  EXPECT_FALSE(manager->GetStoredStates(u"Edit").archived.empty()) << "the built-in is now the user's own";
  FrameWith({"S"});
  EXPECT_TRUE(commands::ConfirmRevertCurrWorkspace(main.get(), *manager));
  EXPECT_EQ(Arrangement(), withC);

  manager->DefaultingToProjectWorkspace();
  EXPECT_FALSE(commands::ConfirmRevertCurrWorkspace(main.get(), *manager));
  EXPECT_FALSE(commands::SaveCurrentWorkspace(main.get(), *manager));
  EXPECT_EQ(Arrangement(), withC);
}

TEST_F(Commands, DeleteOffersEveryWorkspaceButTheCurrentOne) {
  manager->DeleteUserWorkspace(u"Grade");
  answers->Accept();
  EXPECT_FALSE(commands::ChooseDeleteWorkspace(main.get(), *manager));
  EXPECT_EQ(Asked().kind, kivui::Prompt::kNote);
  EXPECT_EQ(Asked().message, "No User workspaces Defined");

  manager->CreateUserWorkspace(u"A");
  manager->CreateUserWorkspace(u"B");
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  std::vector<std::string> offered;
  answers->Dialog([&](kivui::UI_Dialog& d) {
    auto& popup = dynamic_cast<kivui::UI_Popup&>(*d.Find("Workspaces Popup"));
    for (const auto& item : popup.GetItems()) offered.push_back(item.text);
    popup.SetSelectedID(1);
  });
  EXPECT_TRUE(commands::ChooseDeleteWorkspace(main.get(), *manager));
  EXPECT_EQ(offered, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "Edit"}));
  answers->Dialog([](kivui::UI_Dialog&) {}, false);
  EXPECT_FALSE(commands::ChooseDeleteWorkspace(main.get(), *manager));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "Edit"}));

  // A name too long for the pop-up is shown shortened and deleted whole.
  const kivcore::UTF16String longName = u"Colour grading for the harbour documentary, " + kivcore::UTF16String(80, u'x');
  manager->CreateUserWorkspace(longName);
  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Edit"));
  answers->Dialog([&](kivui::UI_Dialog& d) {
    auto& popup = dynamic_cast<kivui::UI_Popup&>(*d.Find("Workspaces Popup"));
    EXPECT_LT(popup.GetItems().at(1).text.size(), longName.size());
    popup.SetSelectedID(1);
  });
  EXPECT_TRUE(commands::ChooseDeleteWorkspace(main.get(), *manager));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "Edit"}));
}

struct EditDialog : Commands {
  void SetUp() override {
    Commands::SetUp();
    for (const char16_t* name : {u"A", u"B", u"C"}) manager->CreateUserWorkspace(name);
    // Bar: Edit, Grade, A; overflow: B; hidden: C.
    ASSERT_TRUE(model.SetData(R"({"version":"default","switcherwidth":300,"shown":["Edit","Grade","A"],"overflow":["B"],"hidden":["C"]})"));
  }
  NameList Shown() { return *model.GetShownWorkspaceList(); }
};

TEST_F(EditDialog, OKMovesRenamesAndDeletesThroughTheModel) {
  answers->Dialog([&](kivui::UI_Dialog& d) {
    auto& dialog = dynamic_cast<WorkspaceSwitcherDialog&>(d);
    EXPECT_EQ(dialog.GetSectionNames(WorkspaceSwitcherDialog::kOverflowRow), NameList{u"B"});
    // C (current) goes to the bar's front; Grade is hidden; A is renamed then deleted; B renamed.
    EXPECT_TRUE(dialog.MoveWorkspace(dialog.FindRow(u"C"), WorkspaceSwitcherDialog::kBarRow, 0));
    EXPECT_TRUE(model.GetShownWorkspaceListReset()) << "a change of the bar makes it measure afresh";
    EXPECT_TRUE(dialog.MoveWorkspace(dialog.FindRow(u"Grade"), WorkspaceSwitcherDialog::kHiddenRow, 1));
    EXPECT_FALSE(dialog.FinishRenaming(dialog.FindRow(u"A"), u"Edit")) << "a name the dialog shows";
    EXPECT_FALSE(dialog.FinishRenaming(dialog.FindRow(u"A"), u""));
    EXPECT_TRUE(dialog.FinishRenaming(dialog.FindRow(u"A"), u"Alpha"));
    EXPECT_TRUE(dialog.FinishRenaming(dialog.FindRow(u"B"), u"Beta"));
    dialog.GetTree().SelectRow(dialog.FindRow(u"Alpha"));
    dialog.DoDelete();
    EXPECT_EQ(dialog.FindRow(u"Alpha"), -1);
  });
  EXPECT_TRUE(commands::ShowEditWorkspacesDialog(main.get(), *manager));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Beta", "C", "Edit", "Grade"}));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"C");
  EXPECT_EQ(Shown(), (NameList{u"C", u"Edit"}));
  EXPECT_EQ(*model.GetOverflowWorkspaceList(), NameList{u"Beta"});
  EXPECT_EQ(*model.GetHiddenWorkspaceList(), (NameList{u"Grade"}));
}

// A built-in never opened has no definition a rename could move: the dialog says so as the
// new name is given and keeps the old one, instead of failing at OK; the other edits go
// through. Once opened, it renames like any other.
TEST_F(EditDialog, ABuiltInNeverOpenedIsRefusedWithANoteBeforeOK) {
  answers->Dialog([&](kivui::UI_Dialog& d) {
    auto& dialog = dynamic_cast<WorkspaceSwitcherDialog&>(d);
    EXPECT_FALSE(dialog.FinishRenaming(dialog.FindRow(u"Grade"), u"Grading"));
    EXPECT_EQ(Asked().kind, kivui::Prompt::kNote);
    EXPECT_EQ(Asked().message,
              "\"Grade\" cannot be renamed until it has been opened. Switch to it once, then rename it.");
    EXPECT_EQ(dialog.FindRow(u"Grading"), -1);
    EXPECT_EQ(dialog.GetTree().GetRowText(dialog.FindRow(u"Grade")), "Grade");
    EXPECT_TRUE(dialog.FinishRenaming(dialog.FindRow(u"Edit"), u"Editing")) << "a built-in opened before";
  });
  answers->Accept();  // the note
  EXPECT_TRUE(commands::ShowEditWorkspacesDialog(main.get(), *manager));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "Editing", "Grade"}));

  ASSERT_TRUE(manager->SetCurrentWorkspace(u"Grade"));
  answers->Dialog([&](kivui::UI_Dialog& d) {
    auto& dialog = dynamic_cast<WorkspaceSwitcherDialog&>(d);
    EXPECT_TRUE(dialog.FinishRenaming(dialog.FindRow(u"Grade"), u"Grading"));
  });
  EXPECT_TRUE(commands::ShowEditWorkspacesDialog(main.get(), *manager));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "Editing", "Grading"}));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"Grading");
}

TEST_F(EditDialog, DeletingTheCurrentWorkspaceSwitchesFirstAndTheLastOneStays) {
  answers->Dialog([&](kivui::UI_Dialog& d) {
    auto& dialog = dynamic_cast<WorkspaceSwitcherDialog&>(d);
    dialog.GetTree().SetMultiSelection(true);
    for (const char16_t* name : {u"C", u"Edit", u"Grade", u"A", u"B"}) {
      dialog.GetTree().SelectRow(dialog.FindRow(name));
      dialog.DoDelete();
    }
    EXPECT_EQ(dialog.FindRow(u"B"), dialog.GetTree().GetChildRowIDs(WorkspaceSwitcherDialog::kOverflowRow).at(0))
        << "the last workspace cannot be deleted";
  });
  commands::ShowEditWorkspacesDialog(main.get(), *manager);
  EXPECT_EQ(Names(), (std::vector<std::string>{"B"}));
  EXPECT_EQ(manager->GetCurrentWorkspace(), u"B");
}

TEST_F(EditDialog, CancelLeavesEveryWorkspaceAndListAsItWas) {
  const std::string before = model.GetData();
  answers->Dialog(
      [&](kivui::UI_Dialog& d) {
        auto& dialog = dynamic_cast<WorkspaceSwitcherDialog&>(d);
        dialog.MoveWorkspace(dialog.FindRow(u"B"), WorkspaceSwitcherDialog::kBarRow, 0);
        dialog.FinishRenaming(dialog.FindRow(u"A"), u"Alpha");
        dialog.GetTree().SelectRow(dialog.FindRow(u"C"));
        // The Delete button, clicked.
        d.UI_Show(true);
        kivui::testing::ProcessEvents();
        const kivcore::RectF button = dialog.GetDeleteButton().LocalRectToGlobalF(dialog.GetDeleteButton().GetLocalBounds());
        kivui::testing::ClickAt({int(button.left + button.width / 2), int(button.top + button.height / 2)});
        EXPECT_EQ(dialog.FindRow(u"C"), -1);
      },
      false);
  EXPECT_TRUE(commands::ShowEditWorkspacesDialog(main.get(), *manager));
  EXPECT_EQ(model.GetData(), before);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "Edit", "Grade"}));
  EXPECT_FALSE(model.GetShownWorkspaceListReset());
}

}  // namespace
