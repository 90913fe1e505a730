#include "UITestNodes.h"

#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/dialogs/UI_Dialog.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/testing/ScriptedAnswers.h"

#include <gtest/gtest.h>

using kivui::Prompt;
using kivui::testing::ScriptedAnswers;

namespace {

TEST(ScriptedPrompts, EveryDialogTakesItsAnswerFromTheScript) {
  auto answers = ScriptedAnswers::Install();
  answers->Text("Colour").Cancel().Accept().Cancel().Accept().Accept().Text("/tmp/a.xml").Cancel();
  EXPECT_EQ(kivui::SimpleInputBox("New Workspace", "Name:", "Untitled"), "Colour");
  EXPECT_EQ(kivui::SimpleInputBox("New Workspace", "Name:"), std::nullopt);
  EXPECT_TRUE(kivui::SimpleConfirmationBox("Delete", "Delete \"Colour\"?"));
  EXPECT_FALSE(kivui::SimpleConfirmationBox("Delete", "Delete \"Colour\"?"));
  kivui::ShowNote("Saved", "The workspace was saved.");
  kivui::ShowCaution("Careful", "The file is read-only.");
  EXPECT_EQ(kivui::ChooseFileToOpen("Import", "/tmp", "Workspaces (*.xml)"), "/tmp/a.xml");
  EXPECT_EQ(kivui::ChooseFileToOpen("Import", "/tmp"), std::nullopt);

  const auto& asked = answers->GetAsked();
  ASSERT_EQ(asked.size(), 8u);
  EXPECT_EQ(asked[0].kind, Prompt::kInput);
  EXPECT_EQ(asked[0].defaultText, "Untitled");
  EXPECT_EQ(asked[2].message, "Delete \"Colour\"?");
  EXPECT_EQ(asked[4].kind, Prompt::kNote);
  EXPECT_EQ(asked[5].kind, Prompt::kCaution);
  EXPECT_EQ(asked[6].kind, Prompt::kFileOpen);
  EXPECT_EQ(answers->Pending(), 0u);
}

TEST(ScriptedPrompts, APromptWithNoAnswerIsAnErrorNotAHang) {
  auto answers = ScriptedAnswers::Install();
  try {
    kivui::ShowNote("Orphan", "nobody answers");
    FAIL() << "no error";
  } catch (const std::logic_error& e) {
    EXPECT_NE(std::string(e.what()).find("note 'Orphan'"), std::string::npos);
  }
}

TEST(ScriptedPrompts, MenusReturnOnlyEnabledCommandsOfTheMenu) {
  auto answers = ScriptedAnswers::Install();
  auto menu = kivui::CreateOSMenu();
  menu->AddItem(3, "Reset");
  menu->AddItem(4, "Delete", false);
  menu->AddSubMenu("More").AddItem(9, "Rename");
  answers->Command(3).Command(4).Command(9).Command(12).Cancel();
  EXPECT_EQ(kivui::PopupMenu(*menu, {10, 10}), 3);
  EXPECT_EQ(kivui::ContextMenu(*menu, {10, 10}), 0);  // disabled
  EXPECT_EQ(kivui::PopupMenu(*menu, {10, 10}), 9);    // in a submenu
  EXPECT_EQ(kivui::PopupMenu(*menu, {10, 10}), 0);    // not in the menu
  EXPECT_EQ(kivui::PopupMenu(*menu, {10, 10}), 0);
  ASSERT_NE(answers->GetAsked()[0].menu, nullptr);
  EXPECT_EQ(answers->GetAsked()[0].menu->FindCommand(9)->text, "Rename");
}

// A dialog whose OK needs a non-empty name.
class NameDialog : public kivui::UI_Dialog {
 public:
  NameDialog() : UI_Dialog("Rename", 360, 140), field(std::make_shared<kivui::UI_TextEdit>()) {
    GetContent().PushBack(field);
  }
  bool CanAccept() const override { return !field->GetText().empty(); }
  std::shared_ptr<kivui::UI_TextEdit> field;
};

TEST(ScriptedPrompts, DialogsAreDrivenThroughTheirOwnControls) {
  auto answers = ScriptedAnswers::Install();
  auto dialog = std::make_shared<NameDialog>();
  answers->Dialog([](kivui::UI_Dialog& d) { static_cast<NameDialog&>(d).field->SetText("Audio"); });
  EXPECT_EQ(dialog->RunModal(), kivui::UI_Dialog::kOK);
  EXPECT_EQ(dialog->field->GetText(), "Audio");
  // OK is refused while the input is invalid.
  answers->Dialog([](kivui::UI_Dialog& d) { static_cast<NameDialog&>(d).field->SetText(""); });
  EXPECT_EQ(dialog->RunModal(), kivui::UI_Dialog::kCancel);
  answers->Dialog([](kivui::UI_Dialog&) {}, false);
  dialog->field->SetText("x");
  EXPECT_EQ(dialog->RunModal(), kivui::UI_Dialog::kCancel);
  EXPECT_EQ(answers->GetAsked().back().dialog, dialog.get());
}

}  // namespace
