// Tools and the tools tab, driven by real mouse events: the tool map's lookups, pressing,
// press-and-hold with its pop-up, cycling with Alt, independent toggles, and the tab as a
// window's border element and back.
#include "workspace/manager/ManagerTestSupport.h"

#include "services/core/Error.h"
#include "services/ui/draw/ImageFileType.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "sharedui/ToolMap.h"
#include "sharedui/ToolPictureButton.h"
#include "sharedui/ToolsContainer.h"
#include "sharedui/ToolsTab.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/frames/TablessWorkspaceFrame.h"

#include <tuple>

using namespace kivtest;
using namespace kivworkspace::sharedui;
namespace testing_ui = kivui::testing;

namespace {

ToolPtr MakeTool(int id, const char16_t* name) { return new Tool(id, name, "Tool" + std::to_string(id), kivui::ImageFileType::kPNG); }

// A tools tab of four buttons: select (10, 11, 12), razor (20), hand (30, independent),
// zoom (40, 41), recorded in a tool map; with a manager, also its workspaces pop-up and
// switcher bar.
class TestToolsCreator : public kivworkspace::workspace::TabCreator {
 public:
  explicit TestToolsCreator(ToolMap& map, ManagerBase* manager = nullptr) : TabCreator("Tools"), map_(map), manager_(manager) {}
  kivworkspace::workspace::TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    auto tab = std::make_shared<ToolsTab>(w, f, "Tools", u"Tools", manager_);
    auto& resources = kivui::UI_NodeManager::Get().GetResourceManager();
    auto select = std::make_shared<ToolPictureButton>(1, MakeTool(10, u"Selection"), resources);
    select->AddSubTool(MakeTool(11, u"Track Select"));
    select->AddSubTool(MakeTool(12, u"Lasso"));
    auto zoom = std::make_shared<ToolPictureButton>(4, MakeTool(40, u"Zoom"), resources);
    zoom->AddSubTool(MakeTool(41, u"Zoom Out"));
    map_.AddButtonToToolTab(tab.get(), select);
    map_.AddButtonToToolTab(tab.get(), std::make_shared<ToolPictureButton>(2, MakeTool(20, u"Razor"), resources));
    tab->AddSeparator();
    map_.AddButtonToToolTab(tab.get(), std::make_shared<ToolPictureButton>(3, MakeTool(30, u"Hand"), resources, true));
    map_.AddButtonToToolTab(tab.get(), zoom);
    tab->ShowSearchBox(true);
    tab->ShowPortalLinkButton(true);
    tab->ShowWorkspacePopup(manager_ != nullptr);
    tab->ShowWorkspaceSwitcher(manager_ != nullptr);
    return tab;
  }

 private:
  ToolMap& map_;
  ManagerBase* manager_;
};

struct ToolsTabs : WorkspaceFixture {
  ToolMap map;
  ToolsTab* tab = nullptr;
  std::vector<int> reported;  // tool IDs the buttons reported

  void SetUp() override {
    WorkspaceFixture::SetUp();
    workspace->RegisterTabCreator(std::make_unique<TestToolsCreator>(map));
    tab = dynamic_cast<ToolsTab*>(FrameWith({"Tools"})->GetTabPanel(0).get());
    for (int i = 0; i < 5; ++i) {
      if (auto button = tab->GetToolPictureButton(i))
        button->onButtonChanged = [this](ToolPictureButton& b, kivui::ModKeys) { reported.push_back(b.GetSelectedTool()->GetID()); };
    }
    testing_ui::ProcessEvents();
  }
  void TearDown() override {
    testing_ui::OverrideModKeys(-1);
    WorkspaceFixture::TearDown();
  }
  static void HoldPastTheRepeatDelay() {
    testing_ui::WaitUntil([] { return false; }, kivui::GetDefaultButtonRepeatDelay() + 150);
  }
  kivcore::Point CentreOf(int buttonId) {
    const auto b = map.GetToolButtonFromToolButtonID(buttonId);
    return b->UI_LocalToGlobal({int(b->GetLocalBounds().width / 2), int(b->GetLocalBounds().height / 2)});
  }
};

// The tools beside a manager's workspaces pop-up (with its "Workspace:" label) and
// switcher bar, the search box and the portal link.
struct ToolsTabsWithWorkspaces : ManagerFixture {
  ToolMap map;
  ToolsTab* tab = nullptr;

  void SetUp() override {
    WorkspaceSwitcherManager::Forget();
    ManagerFixture::SetUp();
    Restart();
    workspace->RegisterTabCreator(std::make_unique<TestToolsCreator>(map, manager.get()));
    tab = dynamic_cast<ToolsTab*>(FrameWith({"Tools"})->GetTabPanel(0).get());
  }
  void TearDown() override {
    ManagerFixture::TearDown();
    WorkspaceSwitcherManager::Forget();
  }

  // What the tab shows, in its own coordinates: each item of the tools row and each control.
  std::vector<std::pair<std::string, kivcore::RectF>> Shown() const {
    std::vector<std::pair<std::string, kivcore::RectF>> shown;
    ToolsContainer& tools = tab->GetToolsContainer();
    const kivcore::RectF row = tools.GetFrame();
    for (std::size_t i = 0; tools.IsShown() && i < tools.GetChildCount(); ++i)
      shown.push_back({"tool " + std::to_string(i), tools.GetChild(i)->GetFrame().Offset(row.left, row.top)});
    for (std::size_t i = 0; i < tab->GetChildCount(); ++i) {
      const kivui::UI_Node* child = tab->GetChild(i);
      if (child != &tools && child->IsShown()) shown.push_back({child->GetNodeID(), child->GetFrame()});
    }
    return shown;
  }
  bool Showing(ToolsTab::ControlIndexType type) const { return tab->GetControl(type) && tab->GetControl(type)->IsShown(); }
  // Nothing lies over anything else; the controls lie inside the tab (the tools row may run
  // past a tab narrower than itself).
  void ExpectNothingOverlaps(const std::string& where) const {
    const auto shown = Shown();
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const auto& [name, r] = shown[i];
      if (name.rfind("tool ", 0) != 0) {
        EXPECT_TRUE(r.left >= 0 && r.Right() <= tab->GetLocalBounds().width) << where << ": " << name << " sticks out";
      }
      for (std::size_t j = i + 1; j < shown.size(); ++j)
        EXPECT_FALSE(r.Intersects(shown[j].second)) << where << ": " << name << " lies over " << shown[j].first;
    }
    EXPECT_TRUE(!Showing(ToolsTab::kWorkspaceStatic) || Showing(ToolsTab::kWorkspacePopup)) << where << ": a label without its pop-up";
  }
  // Narrows the window step by step, checking the tab at each width.
  void Narrow(TopLevelWindow& window, const std::string& which) {
    const kivcore::Rect r = window.GetGlobalStructureRect();
    for (int width = r.width; width >= 40; width -= 13) {
      window.SetGlobalStructureRect({r.left, r.top, width, r.height});
      testing_ui::ProcessEvents();
      ExpectNothingOverlaps(which + " " + std::to_string(width) + " wide, the tab " +
                            std::to_string(int(tab->GetLocalBounds().width)));
    }
  }
};

TEST(Tools, TooltipsAndImageNamesFollowTheirState) {
  ToolPtr tool = MakeTool(5, u"Razor");
  EXPECT_EQ(tool->GetToolTipString(), u"Razor");
  tool->SetShortcutString(u"C");
  EXPECT_EQ(tool->GetToolTipString(), u"Razor (C)");
  tool->SetToolTipHintString(u"cuts a clip in two");
  EXPECT_EQ(tool->GetToolTipString(), u"Razor: cuts a clip in two (C)");
  tool->SetShortcutString(u"");
  EXPECT_EQ(tool->GetToolTipString(), u"Razor: cuts a clip in two");

  EXPECT_EQ(tool->GetPNGName(Tool::kStateDown), "Tool5_N") << "no button: as if spring-loaded";
  ToolPictureButton button(1, tool, kivui::UI_NodeManager::Get().GetResourceManager());
  EXPECT_EQ(button.GetToolTip(), "Razor: cuts a clip in two") << "the button shows the selected tool's tooltip";
  EXPECT_EQ(tool->GetPNGName(0), "Tool5_N");
  EXPECT_EQ(tool->GetPNGName(Tool::kStateDown), "Tool5_S");
  kivui::SetIconType(2);
  EXPECT_EQ(tool->GetPNGName(Tool::kStateDown), "Tool5_S_D");
  button.SetSpringLoaded(true);
  EXPECT_EQ(tool->GetPNGName(Tool::kStateDown), "Tool5_N_D");
  kivui::SetIconType(1);
}

TEST_F(ToolsTabs, TheToolMapFindsToolsButtonsAndTabs) {
  EXPECT_EQ(map.GetToolIndexFromToolID(11), 1);
  EXPECT_EQ(map.GetToolButtonIDFromToolID(12), 1);
  EXPECT_EQ(map.GetToolFromToolID(12)->GetName(), u"Lasso");
  EXPECT_EQ(map.GetToolButtonFromToolID(41), map.GetToolButtonFromToolButtonID(4));
  EXPECT_EQ(tab->IndexOfItem(map.GetToolButtonFromToolButtonID(4).get()), 4) << "the separator is an item too";
  EXPECT_EQ(map.GetToolsTabFromToolID(30), tab);
  EXPECT_EQ(map.GetToolsTabFromToolButtonID(2), tab);
  EXPECT_FALSE(map.IsToolButtonFromToolID(99));
  try {
    map.GetToolFromToolID(99);
    ADD_FAILURE() << "no error";
  } catch (const kivcore::config::Error& e) {
    EXPECT_STREQ(e.what(), "Invalid tool map access.");
    EXPECT_EQ(e.Key(), "$$$/kivworkspace/sharedui/Error/InvalidToolMapAccess=Invalid tool map access.");
    EXPECT_EQ(std::tuple(e.Level(), e.Category(), e.Code(), e.Flags()), std::tuple(1, 108, 20, 1));
  }
  EXPECT_THROW(map.GetToolButtonFromToolButtonID(10), kivcore::config::Error) << "a tool ID is no button ID";
  map.RemoveAllButtonsFromToolTab(tab);
  EXPECT_FALSE(map.IsToolButtonFromToolID(10));

  // A tab that is gone leaves no dangling entries: its lookups are invalid accesses.
  auto other = std::make_shared<ToolsTab>(workspace.get(), nullptr, "Tools", u"Tools");
  map.AddButtonToToolTab(other.get(), std::make_shared<ToolPictureButton>(9, MakeTool(90, u"Pen"),
                                                                         kivui::UI_NodeManager::Get().GetResourceManager()));
  EXPECT_EQ(map.GetToolsTabFromToolID(90), other.get());
  other.reset();
  EXPECT_THROW(map.GetToolFromToolID(90), kivcore::config::Error);
  EXPECT_EQ(tab->GetToolsContainer().GetChildCount(), 0u);
}

TEST_F(ToolsTabs, APressActivatesAndAHeldPressOffersTheOtherTools) {
  auto answers = testing_ui::ScriptedAnswers::Install();
  // One tool: active at once, no pop-up even when held.
  testing_ui::MousePressAt(CentreOf(2));
  HoldPastTheRepeatDelay();
  testing_ui::MouseReleaseAt(CentreOf(2));
  EXPECT_EQ(tab->GetActiveToolID(), 20);
  EXPECT_EQ(tab->GetActiveButtonIndex(), 1);
  EXPECT_TRUE(map.GetToolButtonFromToolButtonID(2)->IsSelected());
  EXPECT_TRUE(answers->GetAsked().empty());
  EXPECT_EQ(reported, std::vector<int>{20});

  // Three tools, held past the repeat delay: the pop-up, its third entry chosen.
  answers->Command(3);
  testing_ui::MousePressAt(CentreOf(1));
  EXPECT_EQ(tab->GetActiveToolID(), 20) << "a held press waits";
  HoldPastTheRepeatDelay();
  testing_ui::MouseReleaseAt(CentreOf(1));
  ASSERT_EQ(answers->GetAsked().size(), 1u);
  std::vector<std::string> entries;
  for (const auto& item : answers->GetAsked()[0].menu->GetItems()) entries.push_back(item.text + (item.checked ? " *" : ""));
  EXPECT_EQ(entries, (std::vector<std::string>{"Selection *", "Track Select", "Lasso"}));
  auto select = map.GetToolButtonFromToolButtonID(1);
  EXPECT_EQ(select->GetSelectedToolIndex(), 2);
  EXPECT_EQ(tab->GetActiveToolID(), 12);
  EXPECT_EQ(tab->GetPreviouslyActiveToolID(), 10) << "the press made the button's tool active before the choice";
  EXPECT_FALSE(map.GetToolButtonFromToolButtonID(2)->IsSelected()) << "one button down at a time";
  EXPECT_EQ(reported, (std::vector<int>{20, 10, 12})) << "the press that changed the button, then the choice";

  // Dismissed (a press outside): nothing changes.
  answers->Cancel();
  testing_ui::MousePressAt(CentreOf(1));
  HoldPastTheRepeatDelay();
  testing_ui::MouseReleaseAt(CentreOf(1));
  EXPECT_EQ(select->GetSelectedToolIndex(), 2);
  EXPECT_EQ(tab->GetActiveToolID(), 12);
  EXPECT_EQ(answers->GetAsked().size(), 2u);
}

TEST_F(ToolsTabs, AQuickClickWithAltCyclesAndIndependentTogglesStandApart) {
  auto zoom = map.GetToolButtonFromToolButtonID(4);
  testing_ui::OverrideModKeys(int(ToolPictureButton::kCycleModifier));
  for (int i = 0; i < 3; ++i) {
    testing_ui::ClickAt(CentreOf(4), kivui::MouseEvent::kPrimary, ToolPictureButton::kCycleModifier);
    testing_ui::ProcessEvents();
  }
  EXPECT_EQ(reported, (std::vector<int>{41, 40, 41})) << "each quick Alt click selects the next tool, wrapping";
  testing_ui::OverrideModKeys(-1);
  EXPECT_EQ(tab->GetActiveToolID(), 41);

  const int activeIndex = tab->GetActiveButtonIndex();
  testing_ui::ClickAt(CentreOf(3));
  EXPECT_TRUE(map.GetToolButtonFromToolButtonID(3)->IsSelected());
  EXPECT_EQ(tab->GetActiveButtonIndex(), activeIndex) << "an independent toggle is not the tab's active button";
  EXPECT_EQ(tab->GetActiveToolID(), 41);
  EXPECT_TRUE(zoom->IsSelected());
  testing_ui::ClickAt(CentreOf(3));
  EXPECT_FALSE(map.GetToolButtonFromToolButtonID(3)->IsSelected()) << "a second click puts the toggle up";

  // The host's activation reports nothing.
  reported.clear();
  map.GetToolButtonFromToolButtonID(1)->ActivateButton(1);
  EXPECT_EQ(tab->GetActiveToolID(), 11);
  EXPECT_FALSE(zoom->IsSelected());
  EXPECT_TRUE(reported.empty());
}

TEST_F(ToolsTabs, PinnedToAWindowSideTheToolsStandInAColumnAndComeBackAsARow) {
  auto row = [&](bool vertical) {
    std::vector<kivcore::RectF> frames;
    for (std::size_t i = 0; i < tab->GetToolsContainer().GetChildCount(); ++i) frames.push_back(tab->GetToolsContainer().GetChild(i)->GetFrame());
    for (std::size_t i = 1; i < frames.size(); ++i) {
      if (vertical ? frames[i].top <= frames[i - 1].top : frames[i].left <= frames[i - 1].left) return false;
    }
    return true;
  };
  EXPECT_TRUE(tab->IsRegularTab());
  EXPECT_TRUE(row(false));
  EXPECT_TRUE(tab->IsShowing_SearchBox());
  EXPECT_GT(tab->GetControlRect(ToolsTab::kSearchBox, tab->GetLocalBounds()).left, tab->GetToolsContainer().GetItemsLength());

  auto shared = std::static_pointer_cast<TabPanel>(tab->shared_from_this());
  auto* frame = dynamic_cast<WorkspaceFrame*>(tab->GetFrame());
  frame->DetachTabPanel(0);
  main->SetStaticElement(shared, LayoutManager::kLeft, true);
  testing_ui::ProcessEvents();
  EXPECT_FALSE(tab->IsRegularTab());
  EXPECT_TRUE(tab->IsVertical());
  EXPECT_TRUE(row(true)) << "a column on the left side";
  EXPECT_FALSE(tab->IsShowing_SearchBox());
  EXPECT_FALSE(tab->GetSearchBox()->IsShown());
  std::vector<kivcore::Point> snaps;
  tab->DoGetSnapSizes(snaps);
  ASSERT_EQ(snaps.size(), 1u);
  EXPECT_LT(snaps[0].x, 60) << "as narrow as a tool";

  // Torn off the side, it is a regular tab again: a row with its controls.
  auto* border = main->GetBorderFrame(LayoutManager::kLeft);
  ASSERT_TRUE(border);
  border->Undock(main->UI_LocalToGlobal({300, 300}), false);
  testing_ui::ProcessEvents();
  EXPECT_TRUE(tab->IsRegularTab());
  EXPECT_TRUE(row(false));
  EXPECT_TRUE(tab->GetSearchBox()->IsShown());
  snaps.clear();
  tab->DoGetSnapSizes(snaps);
  EXPECT_EQ(snaps.back().y, 30) << "the tool height and 2";
}

// In a narrow frame or floating window the controls that do not fit are left out: none is
// drawn over a tool or another control.
TEST_F(ToolsTabsWithWorkspaces, InANarrowFrameOrWindowNoControlLiesOverAnother) {
  main->SetGlobalStructureRect({100, 80, 1000, 240});
  testing_ui::ProcessEvents();
  for (auto type : {ToolsTab::kWorkspaceStatic, ToolsTab::kWorkspacePopup, ToolsTab::kWorkspaceSwitcher, ToolsTab::kSearchBox,
                    ToolsTab::kPortalLinkButton})
    EXPECT_TRUE(Showing(type)) << "wide enough for control " << type;
  Narrow(*main, "the main window");
  ASSERT_LT(tab->GetLocalBounds().width, 150.0f) << "the tab narrows with the window";
  EXPECT_EQ(Shown().size(), tab->GetToolsContainer().GetChildCount()) << "only the tools are left";
  EXPECT_TRUE(tab->IsShowing_SearchBox()) << "still asked for: it comes back with the room";

  // Floated: the window takes the tab's widest snap size, where everything shows again.
  dynamic_cast<WorkspaceFrame*>(tab->GetFrame())->DoMenuCommand(0, kivworkspace::workspace::kCmdUndockPanel);
  testing_ui::ProcessEvents();
  TopLevelWindow* floating = tab->GetFrame()->GetTopLevelWindow();
  ASSERT_TRUE(floating && !floating->IsMain());
  EXPECT_TRUE(Showing(ToolsTab::kWorkspaceSwitcher) && Showing(ToolsTab::kWorkspaceStatic) && Showing(ToolsTab::kSearchBox));
  Narrow(*floating, "the floating window");
}

}  // namespace
