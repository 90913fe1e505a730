#include "UITestNodes.h"

#include "services/core/Console.h"
#include "services/ui/console/ConsoleView.h"
#include "services/ui/controls/UI_Button.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "services/ui/controls/UI_Popup.h"
#include "services/ui/controls/UI_ScrollBar.h"
#include "services/ui/controls/UI_TablessDragger.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/testing/Input.h"
#include "services/ui/testing/ScriptedAnswers.h"

#include <gtest/gtest.h>

using kivtest::MakeWindow;
namespace testing_ui = kivui::testing;

namespace {

kivcore::Point CenterOf(const kivui::UI_Node& node) {
  const auto b = node.GetLocalBounds();
  return node.UI_LocalToGlobal({int(b.width / 2), int(b.height / 2)});
}

TEST(Button, ClicksCountOnlyWhenReleasedOverTheButton) {
  auto window = MakeWindow("buttons", {0, 0, 300, 100});
  auto button = std::make_shared<kivui::UI_Button>("Render");
  button->SetFrame({10, 10, 80, 24});
  window->PushBack(button);
  int clicks = 0;
  button->onClick = [&] { ++clicks; };
  testing_ui::ProcessEvents();
  testing_ui::ClickAt(CenterOf(*button));
  EXPECT_EQ(clicks, 1);
  testing_ui::MousePressAt(CenterOf(*button));
  testing_ui::MouseMoveTo({200, 80});
  testing_ui::MouseReleaseAt({200, 80});
  EXPECT_EQ(clicks, 1);

  button->SetToggle(true);
  testing_ui::ClickAt(CenterOf(*button));
  EXPECT_TRUE(button->IsSelected());
  testing_ui::ClickAt(CenterOf(*button));
  EXPECT_FALSE(button->IsSelected());
}

TEST(Button, ARepeatingButtonFiresWhileHeld) {
  auto window = MakeWindow("repeat", {0, 0, 300, 100});
  auto button = std::make_shared<kivui::UI_Button>("+");
  button->SetFrame({10, 10, 30, 24});
  button->SetRepeating(true);
  window->PushBack(button);
  int clicks = 0;
  button->onClick = [&] { ++clicks; };
  testing_ui::ProcessEvents();
  testing_ui::MousePressAt(CenterOf(*button));
  EXPECT_EQ(clicks, 1);  // at once
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return clicks >= 3; },
                                    kivui::GetDefaultButtonRepeatDelay() + 2000));
  testing_ui::MouseReleaseAt(CenterOf(*button));
  const int held = clicks;
  testing_ui::ProcessEvents(kivui::GetDefaultButtonRepeatInterval() * 3);
  EXPECT_EQ(clicks, held);
}

TEST(Popup, ChoosingFromItsMenuChangesTheSelection) {
  auto window = MakeWindow("popup", {0, 0, 300, 100});
  auto popup = std::make_shared<kivui::UI_Popup>();
  popup->SetFrame({10, 10, 150, 24});
  popup->SetItems({{5, "Full", true}, {6, "Half", true}, {7, "Quarter", false}});
  window->PushBack(popup);
  std::vector<int> changes;
  popup->onSelectionChanged = [&](int id) { changes.push_back(id); };
  testing_ui::ProcessEvents();
  EXPECT_EQ(popup->GetSelectedID(), 5);

  auto answers = testing_ui::ScriptedAnswers::Install();
  answers->Command(2).Command(3).Cancel();  // "Half", the disabled "Quarter", nothing
  for (int i = 0; i < 3; ++i) testing_ui::ClickAt(CenterOf(*popup));
  EXPECT_EQ(changes, (std::vector<int>{6}));
  EXPECT_EQ(popup->GetSelectedID(), 6);
  EXPECT_FALSE(popup->SetSelectedID(99));
}

TEST(TextEdit, TypedTextAndReturnReachTheCallbacks) {
  auto window = MakeWindow("text", {0, 0, 300, 100});
  auto field = std::make_shared<kivui::UI_TextEdit>();
  field->SetFrame({10, 10, 200, 24});
  window->PushBack(field);
  std::string changed;
  int returns = 0;
  field->onTextChanged = [&](const std::string& t) { changed = t; };
  field->onReturnPressed = [&] { ++returns; };
  testing_ui::ProcessEvents();
  testing_ui::ClickAt(CenterOf(*field));
  EXPECT_TRUE(field->UI_HasKeyboardFocus());
  testing_ui::TypeText("Colour grade ü");
  testing_ui::KeyClick(kivui::kKeyReturn);
  EXPECT_EQ(field->GetText(), "Colour grade ü");
  EXPECT_EQ(changed, "Colour grade ü");
  EXPECT_EQ(returns, 1);
}

TEST(MultiColumnTree, RowsSelectionAndRenaming) {
  auto window = MakeWindow("tree", {0, 0, 400, 300});
  auto tree = std::make_shared<kivui::UI_MultiColumnTree>();
  tree->SetFrame({0, 0, 400, 300});
  window->PushBack(tree);
  tree->SetColumns({{"Name", 200}, {"Kind", 100}});
  kivui::UI_MultiColumnTreeRow editing{1, {"Editing", "Built-in"}, {}, true, false, {}};
  kivui::UI_MultiColumnTreeRow mine{2, {"Mine", "User"}, {}, true, true,
                                    {{3, {"Nested", "User"}, {}, true, true, {}}}};
  tree->SetRows({editing, mine});
  EXPECT_EQ(tree->GetRowCount(), 2);
  EXPECT_EQ(tree->GetRowIDsInOrder(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(tree->GetRowText(3, 1), "User");

  std::vector<std::vector<int>> selections;
  tree->onSelectionChange = [&](const std::vector<int>& s) { selections.push_back(s); };
  tree->SelectRow(2);
  EXPECT_EQ(tree->GetSelectedRowIDs(), (std::vector<int>{2}));
  ASSERT_FALSE(selections.empty());
  EXPECT_EQ(selections.back(), (std::vector<int>{2}));

  std::vector<std::pair<int, std::string>> renamed;
  tree->onRowRenamed = [&](int id, const std::string& text) { renamed.emplace_back(id, text); };
  testing_ui::ProcessEvents();
  tree->UI_GainKeyboardFocus();
  tree->EditRow(2);
  testing_ui::ProcessEvents();
  testing_ui::TypeText("Grading");
  testing_ui::KeyClick(kivui::kKeyReturn);
  ASSERT_EQ(renamed.size(), 1u);
  EXPECT_EQ(renamed[0], (std::pair<int, std::string>{2, "Grading"}));
}

TEST(ScrollBar, ValuesStayInRange) {
  auto bar = std::make_shared<kivui::UI_ScrollBar>(true);
  bar->SetRange(0, 50);
  std::vector<int> values;
  bar->onValueChanged = [&](int v) { values.push_back(v); };
  bar->SetValue(80);
  EXPECT_EQ(bar->GetValue(), 50);
  bar->SetValue(-3);
  EXPECT_EQ(bar->GetValue(), 0);
  EXPECT_EQ(values, (std::vector<int>{50, 0}));
  EXPECT_GT(kivui::UI_ScrollBar::GetDefaultSize(), 4);
}

// The context menu is the library's own, answered like any other menu: no test or script
// waits in a menu it cannot see.
TEST(ScrollBar, ContextMenuScrollsThroughTheLibrarysMenus) {
  auto window = MakeWindow("scrolling", {0, 0, 100, 300});
  auto bar = std::make_shared<kivui::UI_ScrollBar>(true);
  bar->SetFrame({0, 0, 16, 300});
  bar->SetRange(0, 1000);
  bar->SetPageStep(100);
  window->PushBack(bar);
  testing_ui::ProcessEvents();
  const kivcore::Point top = bar->UI_LocalToGlobal({8, 30});
  const kivcore::Point bottom = bar->UI_LocalToGlobal({8, 270});
  auto answers = testing_ui::ScriptedAnswers::Install();
  answers->Command(kivui::UI_ScrollBar::kToEnd)
      .Command(kivui::UI_ScrollBar::kPageBack)
      .Command(kivui::UI_ScrollBar::kScrollHere)
      .Command(kivui::UI_ScrollBar::kScrollHere)
      .Command(0);
  testing_ui::ClickAt(top, kivui::MouseEvent::kSecondary);
  EXPECT_EQ(bar->GetValue(), 1000);
  testing_ui::ClickAt(top, kivui::MouseEvent::kSecondary);
  EXPECT_EQ(bar->GetValue(), 900);
  testing_ui::ClickAt(top, kivui::MouseEvent::kSecondary);
  const int nearTop = bar->GetValue();
  testing_ui::ClickAt(bottom, kivui::MouseEvent::kSecondary);
  const int nearBottom = bar->GetValue();
  EXPECT_LT(nearTop, 200);
  EXPECT_GT(nearBottom, 800);
  testing_ui::ClickAt(bottom, kivui::MouseEvent::kSecondary);  // dismissed: nothing moves
  EXPECT_EQ(bar->GetValue(), nearBottom);
  ASSERT_EQ(answers->GetAsked().size(), 5u);
  ASSERT_TRUE(answers->GetAsked().front().menu);
  std::vector<std::string> texts;
  for (const auto& item : answers->GetAsked().front().menu->GetItems())
    if (!item.separator) texts.push_back(item.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Scroll Here", "Top", "Bottom", "Page Up", "Page Down", "Scroll Up",
                                             "Scroll Down"}));
}

TEST(TablessDragger, ADragStartsOnlyPastTheThreshold) {
  auto window = MakeWindow("grip", {0, 0, 300, 100});
  auto grip = std::make_shared<kivui::UI_TablessDragger>();
  grip->SetFrame({0, 0, 300, 12});
  window->PushBack(grip);
  std::vector<std::pair<kivcore::PointF, kivcore::PointF>> drags;
  grip->dragStarted = [&](kivcore::PointF a, kivcore::PointF b) { drags.emplace_back(a, b); };
  testing_ui::ProcessEvents();
  testing_ui::DragFromTo({100, 6}, {103, 8}, 3);
  EXPECT_TRUE(drags.empty());
  testing_ui::DragFromTo({100, 6}, {130, 60}, 3);
  ASSERT_EQ(drags.size(), 1u);
  EXPECT_EQ(drags[0].first, (kivcore::PointF{100, 6}));
  EXPECT_EQ(drags[0].second, (kivcore::PointF{110, 24}));  // the first move past 5 pixels
}

TEST(ConsoleView, CommandsRunFromTheCommandLineWithHistory) {
  kivcore::console::RegisterCommand("test.echo", "echoes", [](const auto& args, auto& out) {
    out.WriteLine(std::string_view(args.empty() ? "" : args[0]));
  });
  auto window = MakeWindow("console", {0, 0, 500, 300});
  auto console = std::make_shared<kivui::ConsoleView>();
  console->SetFrame({0, 0, 500, 300});
  window->PushBack(console);
  testing_ui::ProcessEvents();
  testing_ui::ClickAt(CenterOf(console->GetCommandLine()));
  testing_ui::TypeText("test.echo clip-42");
  testing_ui::KeyClick(kivui::kKeyReturn);
  EXPECT_NE(console->GetOutput().find("> test.echo clip-42\nclip-42\n"), std::string::npos);
  EXPECT_EQ(console->GetCommandLine().GetText(), "");

  EXPECT_FALSE(console->RunCommandLine("nope 1"));
  EXPECT_NE(console->GetOutput().find("Unknown command: nope"), std::string::npos);
  testing_ui::KeyClick(kivui::kKeyUp);
  EXPECT_EQ(console->GetCommandLine().GetText(), "nope 1");
  testing_ui::KeyClick(kivui::kKeyUp);
  EXPECT_EQ(console->GetCommandLine().GetText(), "test.echo clip-42");
  testing_ui::KeyClick(kivui::kKeyDown);
  testing_ui::KeyClick(kivui::kKeyDown);
  EXPECT_EQ(console->GetCommandLine().GetText(), "");
  kivcore::console::UnregisterCommand("test.echo");
}

}  // namespace
