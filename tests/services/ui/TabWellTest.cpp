#include "UITestNodes.h"

#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/draw/Font.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/testing/Input.h"
#include "services/ui/testing/ScriptedAnswers.h"

#include <gtest/gtest.h>

using kivui::UI_TabItem;
using kivui::UI_TabWell;
namespace testing_ui = kivui::testing;

namespace {

struct TabWellFixture : ::testing::Test {
  std::shared_ptr<kivtest::RecordingWindow> window = kivtest::MakeWindow("tabs", {0, 0, 600, 100});
  std::shared_ptr<UI_TabWell> well = std::make_shared<UI_TabWell>();
  std::vector<std::string> calls;

  void SetUp() override {
    well->SetFrame({0, 0, 600, UI_TabWell::kTabHeight});
    window->PushBack(well);
    auto& cb = well->GetCallbacks();
    cb.tabClicked = [this](int id) { calls.push_back("click " + std::to_string(id)); };
    cb.closeBoxClicked = [this](int id) { calls.push_back("close " + std::to_string(id)); };
    cb.tabMoved = [this](int id, int from, int to) {
      calls.push_back("move " + std::to_string(id) + " " + std::to_string(from) + ">" + std::to_string(to));
    };
    for (int id : {10, 20, 30}) well->AddTab(Tab(id, "Panel " + std::to_string(id)));
    testing_ui::ProcessEvents();
  }
  static UI_TabItem Tab(int id, std::string text) {
    UI_TabItem item;
    item.id = id;
    item.text = std::move(text);
    return item;
  }
  kivcore::Point Center(const kivcore::RectF& r) const {
    return well->UI_LocalToGlobal({int(r.left + r.width / 2), int(r.top + r.height / 2)});
  }
  std::vector<int> Order() const {
    std::vector<int> ids;
    for (int i = 0; i < well->GetTabCount(); ++i) ids.push_back(well->GetTab(i).id);
    return ids;
  }
};

TEST_F(TabWellFixture, ClickingATabBringsItToTheFrontAndClosingItsBoxAsksToClose) {
  EXPECT_EQ(well->GetFrontTab(), 10);
  testing_ui::ClickAt(Center(well->GetTabRect(1)));
  EXPECT_EQ(well->GetFrontTab(), 20);
  testing_ui::ClickAt(Center(well->GetCloseBoxRect(2)));
  // The close box asks; the tab stays until its owner removes it, and is not brought forward.
  EXPECT_EQ(calls, (std::vector<std::string>{"click 20", "close 30"}));
  EXPECT_EQ(well->GetFrontTab(), 20);
  EXPECT_EQ(well->GetTabCount(), 3);

  // Pressing the close box and releasing elsewhere closes nothing.
  calls.clear();
  testing_ui::MousePressAt(Center(well->GetCloseBoxRect(0)));
  testing_ui::MouseReleaseAt(Center(well->GetTabRect(2)));
  EXPECT_TRUE(calls.empty());
}

TEST_F(TabWellFixture, LockedTabsHaveNoWorkingCloseBox) {
  UI_TabItem locked = Tab(20, "Locked");
  locked.locked = true;
  ASSERT_TRUE(well->UpdateTab(locked));
  testing_ui::ClickAt(Center(well->GetCloseBoxRect(1)));
  EXPECT_EQ(calls, (std::vector<std::string>{"click 20"}));
}

TEST_F(TabWellFixture, DraggingATabPastItsNeighboursReordersAndReportsEachMove) {
  const kivcore::Point from = Center(well->GetTabRect(0));
  const kivcore::RectF last = well->GetTabRect(2);
  testing_ui::DragFromTo(from, well->UI_LocalToGlobal({int(last.Right()) - 4, from.y}), 12);
  EXPECT_EQ(Order(), (std::vector<int>{20, 30, 10}));
  EXPECT_EQ(calls, (std::vector<std::string>{"click 10", "move 10 0>1", "move 10 1>2"}));
  EXPECT_EQ(well->GetFrontTab(), 10);
  // A small wobble is a click, not a drag.
  calls.clear();
  const kivcore::Point c = Center(well->GetTabRect(0));
  testing_ui::DragFromTo(c, {c.x + 3, c.y + 1}, 2);
  EXPECT_EQ(calls, (std::vector<std::string>{"click 20"}));
}

TEST_F(TabWellFixture, ATabDraggedOutOfTheWellIsHandedOver) {
  std::vector<int> draggedOut;
  kivcore::PointF pressedAt;
  well->GetCallbacks().tabDraggedOut = [&](int id, kivcore::PointF from, kivcore::PointF) {
    draggedOut.push_back(id);
    pressedAt = from;
  };
  const kivcore::Point c = Center(well->GetTabRect(1));
  testing_ui::DragFromTo(c, {c.x, c.y + 80}, 8);
  EXPECT_EQ(draggedOut, (std::vector<int>{20}));
  EXPECT_EQ(pressedAt, (kivcore::PointF{float(c.x), float(c.y)}));
  EXPECT_EQ(Order(), (std::vector<int>{10, 20, 30}));
}

TEST_F(TabWellFixture, DraggingTheEmptyAreaIsHandedOverOnlyPastTheThreshold) {
  std::vector<std::pair<kivcore::PointF, kivcore::PointF>> drags;
  well->GetCallbacks().wellDragged = [&](kivcore::PointF from, kivcore::PointF to) {
    drags.emplace_back(from, to);
  };
  const kivcore::RectF last = well->GetTabRect(well->GetTabCount() - 1);
  const kivcore::Point empty = well->UI_LocalToGlobal({int(last.Right()) + 20, int(last.top + 5)});
  testing_ui::DragFromTo(empty, {empty.x + 3, empty.y}, 1);
  EXPECT_TRUE(drags.empty());
  testing_ui::DragFromTo(empty, {empty.x + 40, empty.y + 40}, 4);
  ASSERT_EQ(drags.size(), 1u);
  EXPECT_EQ(drags[0].first, (kivcore::PointF{float(empty.x), float(empty.y)}));
  EXPECT_EQ(Order(), (std::vector<int>{10, 20, 30}));
}

TEST_F(TabWellFixture, TabsThatDoNotFitOverflowIntoAMenu) {
  well->SetFrame({0, 0, 260, UI_TabWell::kTabHeight});
  for (int id = 40; id <= 90; id += 10) well->AddTab(Tab(id, "Long panel name " + std::to_string(id)));
  testing_ui::ProcessEvents();
  ASSERT_TRUE(well->HasOverflow());
  const auto hidden = well->GetOverflowTabs();
  ASSERT_FALSE(hidden.empty());
  EXPECT_EQ(hidden.back(), 90);
  EXPECT_FALSE(well->GetOverflowButtonRect().IsEmpty());

  // Choosing a hidden tab from the overflow menu brings it forward and into view.
  auto answers = testing_ui::ScriptedAnswers::Install();
  answers->Command(90 + 1);
  testing_ui::ClickAt(Center(well->GetOverflowButtonRect()));
  ASSERT_EQ(answers->GetAsked().size(), 1u);
  const kivui::OSMenu* menu = answers->GetAsked()[0].menu;
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(well->GetFrontTab(), 90);
  EXPECT_EQ(calls.back(), "click 90");
  const kivcore::RectF front = well->GetTabRect(well->IndexOfTab(90));
  EXPECT_LE(front.Right(), well->GetOverflowButtonRect().left);
  EXPECT_GT(well->GetPanOffset(), 0);
  // Widening the well until everything fits clears the overflow and the pan.
  well->SetFrame({0, 0, 2000, UI_TabWell::kTabHeight});
  testing_ui::ProcessEvents();
  EXPECT_FALSE(well->HasOverflow());
  EXPECT_EQ(well->GetPanOffset(), 0);
}

TEST_F(TabWellFixture, RemovingTheFrontTabFrontsTheTabThatTakesItsPlace) {
  well->SetFrontTab(20);
  EXPECT_TRUE(well->RemoveTab(20));
  EXPECT_EQ(well->GetFrontTab(), 30);
  EXPECT_TRUE(well->RemoveTab(30));
  EXPECT_EQ(well->GetFrontTab(), 10);
  EXPECT_FALSE(well->RemoveTab(30));
  EXPECT_TRUE(well->RemoveTab(10));
  EXPECT_EQ(well->GetFrontTab(), -1);
  EXPECT_EQ(well->HitTestTab({20, 10}), -1);
}

// Counts how often the well measures a tab.
class CountingTabWell : public UI_TabWell {
 public:
  mutable int measured = 0;

 protected:
  float MeasureTabWidth(const UI_TabItem& item) const override {
    ++measured;
    return UI_TabWell::MeasureTabWidth(item);
  }
};

TEST_F(TabWellFixture, TabsAreMeasuredWhenTheyOrTheUIFontChangeNotOnEveryResize) {
  auto counting = std::make_shared<CountingTabWell>();
  const auto place = [&](float width) {
    counting->SetFrame({0, 30, width, UI_TabWell::kTabHeight});
    testing_ui::ProcessEvents();
  };
  place(600);
  window->PushBack(counting);
  for (int id : {1, 2}) counting->AddTab(Tab(id, "Panel " + std::to_string(id)));
  const auto width = [&](int id) { return counting->GetTabRect(counting->IndexOfTab(id)).width; };
  const float before = width(1), secondLeft = counting->GetTabRect(1).left;

  counting->measured = 0;
  for (float w : {500.0f, 550.0f, 600.0f}) place(w);
  EXPECT_EQ(counting->measured, 0) << "a resize must not measure the titles again";
  EXPECT_EQ(width(1), before);

  counting->UpdateTab(Tab(1, "Panel 1 with a much longer title"));
  EXPECT_GT(width(1), before);
  EXPECT_GT(counting->GetTabRect(1).left, secondLeft) << "the next tab must move along";
  counting->UpdateTab(Tab(1, "Panel 1"));
  EXPECT_EQ(width(1), before);

  // A family change shows at the next redraw, even when the widths were asked for first
  // (which measures them without laying the tabs out), and at the next resize.
  const std::string family = kivui::Font::GetUIFamily();
  struct Restore {
    std::string family;
    ~Restore() { kivui::Font::SetUIFamily(family); }
  } restore{family};
  kivui::Font::SetUIFamily("DejaVu Sans Mono");
  counting->GetPreferredWidth();
  counting->UI_UpdateNow();
  EXPECT_NE(width(1), before);
  kivui::Font::SetUIFamily(family);
  place(580);
  EXPECT_EQ(width(1), before);
}

}  // namespace
