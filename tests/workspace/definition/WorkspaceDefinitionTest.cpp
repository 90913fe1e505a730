// Workspace definitions: the written form key by key (a golden file), round trips of random
// arrangements, the version and fallback rules, and bad input of every kind (a refused
// definition leaves the arrangement untouched).
#include "workspace/WorkspaceTestSupport.h"

#include "layout/Frame.h"
#include "layout/Splitter.h"
#include "services/core/Error.h"
#include "services/core/File.h"
#include "services/core/PropListUtils.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "workspace/frames/WorkspaceBorderElement.h"

#include <cmath>
#include <functional>
#include <limits>
#include <random>

using namespace kivtest;
namespace ui_testing = kivui::testing;
using kivcore::PropList;
using kivcore::proplist::utils::ReadPropList;
using kivcore::proplist::utils::WritePropListXML;

namespace {

const char* const kTypes[] = {"A", "B", "C", "H", "S"};

std::shared_ptr<Workspace> NewWorkspace() {
  auto workspace = std::make_shared<Workspace>();
  for (const char* type : {"A", "B", "C", "H", "O", "S", "X", "N"})
    workspace->RegisterTabCreator(std::make_unique<NoteCreator>(type));
  auto main = workspace->CreateMainTopLevelWindow({100, 80, 900, 600});
  main->UI_Show(true);
  return workspace;
}

PropList Saved(const Workspace& workspace) {
  PropList definition;
  SaveWorkspace(workspace, definition, u"Edit");
  return definition;
}

// What a restore cannot reproduce on another machine: the monitors and the main window's
// place (the tests restore without applying it).
PropList Portable(PropList definition) {
  definition.RemoveValue("MonitorInfo");
  if (PropList* main = definition.GetSubList("TopLevelFrame-0")) {
    main->RemoveValue("SzPos");
    main->RemoveValue("WinState");
  }
  return definition;
}

::testing::AssertionResult SameDefinition(const PropList& a, const PropList& b) {
  if (a == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\n" << WritePropListXML(a, true) << "\nis not\n"
                                       << WritePropListXML(b, true);
}

// The frame rectangles of every window, in window and tree order.
std::vector<std::vector<kivcore::Rect>> FrameRects(const Workspace& workspace) {
  std::vector<std::vector<kivcore::Rect>> all;
  for (TopLevelWindow* window : workspace.GetWindows()) {
    auto& rects = all.emplace_back();
    for (const Frame* f : window->GetLayoutManager().GetFrames()) {
      if (f->IsFrameShown()) rects.push_back(window->GetFrameFromLMFrame(f)->GetFrameLocalRect());
    }
  }
  return all;
}

// Random edits a user could make: new frames on every side, new tabs, closing panels
// (some hide, some keep their state), undocking, closing floating windows, maximizing and
// moving bars.
class RandomArrangement {
 public:
  RandomArrangement(Workspace& workspace, std::uint32_t seed) : w_(workspace), rng_(seed) {
    w_.GetMainTopLevelWindow()->CreateRootFrame(Type(), false, true);
  }

  void Step() {
    const auto frames = AllFrames();
    WorkspaceFrame* frame = Pick(frames);
    switch (rng_() % 8) {
      case 0:
      case 1:
        frame->GetTopLevelWindow()->AddTabbedFrame(frame, Type(), LayoutManager::InsertionType(rng_() % 4));
        break;
      case 2: frame->AddTab(Type(), false); break;
      case 3:
        if (frame->GetTabCount() > 1 || frames.size() > 1)
          w_.RemoveTab(frame, int(rng_() % frame->GetTabCount()), true, true);
        break;
      case 4:
        if (frame->GetTabCount() > 1) {
          frame->DoMenuCommand(int(rng_() % frame->GetTabCount()), kCmdUndockPanel);
          // On the screen: a restore moves a window that is off every monitor onto one.
          w_.GetWindows().back()->SetGlobalStructureRect(
              {int(rng_() % 300), int(rng_() % 300), 240 + int(rng_() % 200), 180 + int(rng_() % 200)});
        }
        break;
      case 5:
        if (auto windows = w_.GetWindows(); windows.size() > 1) w_.RemoveWindow(windows.back(), true);
        break;
      case 6:
        if (TopLevelWindow* window = frame->GetTopLevelWindow(); window->CanHaveMaximizedFrame())
          window->SetMaximizedFrame(rng_() % 3 ? frame : nullptr);
        break;
      default:
        for (Splitter* s : frame->GetTopLevelWindow()->GetLayoutManager().GetSplitters()) {
          s->SetPlacement(float(rng_() % 100) / 100.0f);
        }
        frame->GetTopLevelWindow()->GetLayoutManager().ReLayout(false, true, false);
        break;
    }
  }

 private:
  std::string Type() { return kTypes[rng_() % std::size(kTypes)]; }
  std::vector<WorkspaceFrame*> AllFrames() {
    std::vector<WorkspaceFrame*> frames;
    for (TopLevelWindow* window : w_.GetWindows()) {
      for (WorkspaceFrame* f : window->GetTabbedFrames()) frames.push_back(f);
    }
    return frames;
  }
  WorkspaceFrame* Pick(const std::vector<WorkspaceFrame*>& frames) { return frames[rng_() % frames.size()]; }

  Workspace& w_;
  std::mt19937 rng_;
};

// A panel that can be pinned to a window's side, made as a border element; it remembers
// what it was last told it is.
class ElementPanel : public NotePanel, public WorkspaceBorderElement {
 public:
  using NotePanel::NotePanel;
  void ConvertToRegularTab() override { regular = true; }
  void ConvertToBorderElement() override { regular = false; }
  bool regular = false;
};

class ElementCreator : public TabCreator {
 public:
  using TabCreator::TabCreator;
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<ElementPanel>(w, f, GetTabType(), true);
  }
};

std::string& Note(const TabPanelPtr& panel) { return static_cast<NotePanel&>(*panel).note; }

using Definitions = WorkspaceFixture;

// The golden file holds every kind of list; restoring it and saving again writes it back
// exactly, and the arrangement it describes is there.
TEST_F(Definitions, TheGoldenFileReadsAndWritesBackKeyByKey) {
  const PropList golden =
      kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(KIV_WORKSPACE_TEST_DATA "/GoldenDefinition.xml"));
  EXPECT_TRUE(IsCompatibleVersion(golden));
  EXPECT_EQ(GetWorkspaceUserName(golden), u"Golden Edit");
  RestoreReport report;
  ASSERT_TRUE(RestoreWorkspace(*workspace, golden, false, true, false, &report));
  EXPECT_EQ(report.fallbacks, std::vector<std::string>{});
  EXPECT_EQ(report.droppedTypes, std::vector<std::string>{});

  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  const auto frames = main->GetTabbedFrames();
  ASSERT_EQ(frames.size(), 2u);
  WorkspaceFrame* left = main->GetRootFrame();
  EXPECT_EQ(Types(*left), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(static_cast<NotePanel&>(*left->GetFrontTabPanel()).note, "cuts");
  ASSERT_EQ(left->GetHiddenTabs().size(), 1u);
  EXPECT_EQ(static_cast<NotePanel&>(*left->GetHiddenTabs().front()).note, "kept alive");
  EXPECT_TRUE(left->CanReanimateTab("C"));
  EXPECT_NEAR(left->GetFrameLocalRect().width, main->GetClientRect().width / 4, 3);
  TopLevelWindow* floating = workspace->GetWindows()[1];
  EXPECT_EQ(floating->GetGlobalStructureRect(), (kivcore::Rect{300, 200, 420, 260}));
  EXPECT_TRUE(workspace->CanReanimateWindow("A"));

  PropList saved;
  SaveWorkspace(*workspace, saved, u"Golden Edit");
  EXPECT_TRUE(SameDefinition(Portable(saved), Portable(golden)));
}

// Random arrangements saved, restored into a fresh workspace and saved again give the same
// definition, and the windows lay out to the same frame rectangles.
TEST_F(Definitions, RandomArrangementsSurviveARoundTrip) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    auto original = NewWorkspace();
    RandomArrangement arrangement(*original, seed);
    for (int step = 0; step < 25; ++step) arrangement.Step();
    ui_testing::ProcessEvents();
    const PropList first = Saved(*original);

    auto copy = NewWorkspace();
    ASSERT_TRUE(RestoreWorkspace(*copy, first, true, true, false));
    ui_testing::ProcessEvents();
    ASSERT_TRUE(SameDefinition(Saved(*copy), first));
    EXPECT_EQ(FrameRects(*copy), FrameRects(*original));
    // Restoring again over itself changes nothing either, and keeps the panel objects.
    const TabPanelPtr someone = copy->GetMainTopLevelWindow()->GetRootFrame()
                                    ? copy->GetMainTopLevelWindow()->GetRootFrame()->GetFrontTabPanel()
                                    : nullptr;
    ASSERT_TRUE(RestoreWorkspace(*copy, first, true, true, false));
    ASSERT_TRUE(SameDefinition(Saved(*copy), first));
    if (someone) {
      EXPECT_NE(someone->GetFrame(), nullptr) << "a panel of a type restored again is reused";
    }
  }
}

// A window left with nothing but a placeholder (one frame closed as a group, the other
// undocked) writes its tree's side as hidden, as a restore reads it back.
TEST_F(Definitions, AWindowOfPlaceholdersAloneRoundTrips) {
  WorkspaceFrame* a = FrameWith({"A"});
  WorkspaceFrame* b = FrameWith({"B"});
  b->DoMenuCommand(0, kCmdCloseGroup);
  a->DoMenuCommand(0, kCmdUndockGroup);
  ui_testing::ProcessEvents();
  ASSERT_EQ(main->GetFrameCount(), 0u);
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  workspace->GetWindows().back()->SetGlobalStructureRect({200, 200, 300, 240});  // on the screen
  const PropList first = Saved(*workspace);
  bool shown = true;
  ASSERT_TRUE(first.GetSubList("TopLevelFrame-0")->GetSubList("Splitter")->GetValue("Sub1Vis", shown));
  EXPECT_FALSE(shown) << "the root holder's side holds only B's placeholder";

  auto copy = NewWorkspace();
  ASSERT_TRUE(RestoreWorkspace(*copy, first, true, true, false));
  ui_testing::ProcessEvents();
  EXPECT_TRUE(SameDefinition(Saved(*copy), first));
}

// A floating window asked to close that stays (X refuses) keeps its other frames as
// placeholders: the side that now holds only them is written as hidden, as a restore reads
// it, and X fills the window at once.
TEST_F(Definitions, AWindowThatStaysWhenClosedWritesItsPlaceholdersSideHidden) {
  FrameWith({"B"});
  WorkspaceFrame* a = FrameWith({"A"});
  a->DoMenuCommand(0, kCmdUndockGroup);
  ui_testing::ProcessEvents();
  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  TopLevelWindow* floating = workspace->GetWindows().back();
  floating->SetGlobalStructureRect({200, 200, 400, 300});  // on the screen
  ui_testing::ProcessEvents();
  WorkspaceFrame* undocked = floating->GetRootFrame();
  ASSERT_NE(undocked, nullptr);
  WorkspaceFrame* x = floating->AddTabbedFrame(undocked, "X", LayoutManager::kTop);
  floating->AddTabbedFrame(undocked, "C", LayoutManager::kRight);
  ui_testing::ProcessEvents();

  ui_testing::CloseWindow(*floating);
  ASSERT_EQ(workspace->GetWindows().size(), 2u) << "X refuses to close";
  ASSERT_EQ(floating->GetFrameCount(), 1u);
  EXPECT_EQ(x->GetFrameLocalRect(), floating->GetClientRect()) << "laid out at once";
  const PropList first = Saved(*workspace);
  // The window's root: X on top of a splitter of A's and C's placeholders.
  const PropList* window = first.GetSubList("TopLevelFrame-1");
  ASSERT_NE(window, nullptr);
  const PropList* root = window->GetSubList("Splitter")->GetSubList("Sub1");
  ASSERT_NE(root, nullptr);
  ASSERT_NE(root->GetSubList("Splitter"), nullptr);
  bool shown = true;
  ASSERT_TRUE(root->GetSubList("Splitter")->GetValue("Sub2Vis", shown));
  EXPECT_FALSE(shown) << "the bottom side holds only placeholders";

  auto copy = NewWorkspace();
  ASSERT_TRUE(RestoreWorkspace(*copy, first, true, true, false));
  ui_testing::ProcessEvents();
  EXPECT_TRUE(SameDefinition(Saved(*copy), first));
}

TEST_F(Definitions, VersionsOtherThanTheOneWrittenAreRefusedBeforeAnythingChanges) {
  FrameWith({"A", "B"});
  const PropList before = Saved(*workspace);
  auto expectRefused = [&](PropList definition, int code, const char* message) {
    try {
      RestoreWorkspace(*workspace, definition, true, true, false);
      ADD_FAILURE() << "accepted";
    } catch (const kivcore::config::Error& e) {
      EXPECT_EQ(e.Category(), 102);
      EXPECT_EQ(e.Code(), code);
      EXPECT_STREQ(e.what(), message);
    }
    EXPECT_TRUE(SameDefinition(Saved(*workspace), before));
  };
  PropList definition = before;
  definition.SetValue("KIV_Wrkspce", "1.20");
  expectRefused(definition, 23, "Unable to load workspace; Incompatible workspace definition version.");
  definition.SetValue("KIV_Wrkspce", "1.1");
  expectRefused(definition, 23, "Unable to load workspace; Incompatible workspace definition version.");
  definition.RemoveValue("KIV_Wrkspce");
  expectRefused(definition, 22, "Not a valid workspace definition.");
}

// A maximized frame two levels down, right then left, is written as "10" and comes back
// maximized; a front tab beyond the last is the last; types nobody makes are reported.
TEST_F(Definitions, MaximizedPathsFrontTabsAndUnknownTypes) {
  WorkspaceFrame* a = FrameWith({"A"});
  WorkspaceFrame* b = main->AddTabbedFrame(a, "B", LayoutManager::kRight);
  WorkspaceFrame* c = main->AddTabbedFrame(b, "C", LayoutManager::kTop);
  c->AddTab("A", false);
  c->AddTab("B", false);
  main->SetMaximizedFrame(c);
  PropList definition = Saved(*workspace);
  std::string path;
  ASSERT_TRUE(definition.GetSubList("TopLevelFrame-0")->GetValue("MaxFramePath", path));
  EXPECT_EQ(path, "10");

  // CurrTab 7 with three tabs; a panel type no creator makes.
  PropList* frameList = definition.GetSubList("TopLevelFrame-0")->GetSubList("Splitter")->GetSubList("Sub1")->GetSubList("Splitter")->GetSubList("Sub2")->GetSubList("Splitter")->GetSubList("Sub1")->GetSubList("Frame");
  ASSERT_NE(frameList, nullptr);
  frameList->SetValue("CurrTab", std::int32_t(7));
  PropList::StringList ids;
  frameList->GetValue("TabIDs", ids);
  ids.push_back("Nobody");
  frameList->SetValue("TabIDs", ids);

  auto copy = NewWorkspace();
  RestoreReport report;
  ASSERT_TRUE(RestoreWorkspace(*copy, definition, true, true, false, &report));
  TopLevelWindow* window = copy->GetMainTopLevelWindow();
  ASSERT_NE(window->GetMaximizedFrame(), nullptr);
  auto* maximized = dynamic_cast<WorkspaceFrame*>(window->GetMaximizedFrame());
  EXPECT_EQ(Types(*maximized), (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(maximized->GetFrontTabIndex(), 2);
  EXPECT_EQ(report.droppedTypes, std::vector<std::string>{"Nobody"});

  // Without the apply-maximized flag nothing is maximized.
  ASSERT_TRUE(RestoreWorkspace(*copy, definition, true, false, false));
  EXPECT_EQ(copy->GetMainTopLevelWindow()->GetMaximizedFrame(), nullptr);
}

// Restoring two windows into a workspace that has three reuses the first two and removes
// the third without remembering it; panels whose types reappear keep their identity.
TEST_F(Definitions, RestoringReusesWindowsAndPanels) {
  FrameWith({"A"});
  auto second = workspace->AddTopLevelWindow(false, nullptr);
  second->CreateRootFrame("B", false, true);
  second->UI_Show(true);
  const PropList two = Saved(*workspace);
  auto third = workspace->AddTopLevelWindow(false, nullptr);
  third->CreateRootFrame("C", false, true);
  third->UI_Show(true);
  const TabPanelPtr a = main->GetRootFrame()->GetTabPanel(0);

  ASSERT_TRUE(RestoreWorkspace(*workspace, two, true, true, false));
  const auto windows = workspace->GetWindows();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[1], second.get());
  EXPECT_FALSE(third->IsShown());
  EXPECT_TRUE(workspace->GetRemovedWindowData().empty());
  EXPECT_EQ(main->GetRootFrame()->GetTabPanel(0), a);
}

// Bad input of every kind: every truncation of a saved file, every key removed and every
// value given another type. Each is applied (with fallbacks) or refused with a reason, and
// a refused one leaves the arrangement exactly as it was.
TEST_F(Definitions, DamagedDefinitionsAreAppliedWithFallbacksOrRefusedWhole) {
  {
    RandomArrangement arrangement(*workspace, 7);
    for (int step = 0; step < 20; ++step) arrangement.Step();
  }
  const PropList good = Saved(*workspace);
  const std::string xml = WritePropListXML(good, true);

  int refused = 0, applied = 0;
  auto attempt = [&](const PropList& definition) {
    const PropList before = Saved(*workspace);
    try {
      RestoreReport report;
      RestoreWorkspace(*workspace, definition, true, true, false, &report);
      ++applied;
      // A damaged key costs a few notes, never one for each number a count promises.
      EXPECT_LE(report.fallbacks.size(), 20u);
    } catch (const kivcore::config::Error& e) {
      // Only the version refuses a definition; whatever else is damaged is dropped.
      ++refused;
      EXPECT_TRUE(std::string(e.what()) == "Not a valid workspace definition." ||
                  std::string(e.what()) ==
                      "Unable to load workspace; Incompatible workspace definition version.")
          << e.what();
      EXPECT_TRUE(SameDefinition(Saved(*workspace), before)) << e.what();
    }
  };
  for (std::size_t length = 0; length < xml.size(); length += 7) {
    PropList truncated;
    try {
      truncated = ReadPropList(std::string_view(xml).substr(0, length));
    } catch (const kivcore::config::Error&) {
      continue;  // the file layer refuses it with its reason
    }
    attempt(truncated);
  }

  // Every key of the definition, at any depth, including inside the panel states; counts
  // far beyond what the file holds, and placements that are no number.
  std::function<void(PropList&, const std::function<void()>&)> each;
  each = [&](PropList& list, const std::function<void()>& check) {
    for (const std::string& key : list.GetKeys()) {
      if (PropList* sub = list.GetSubList(key)) {
        const PropList saved = *sub;
        list.RemoveValue(key);
        check();
        list.NewSubList(key) = saved;
        each(*list.GetSubList(key), check);
        list.SetValue(key, std::int32_t(3));
        check();
        list.NewSubList(key) = saved;
        continue;
      }
      PropList copy = list;
      list.RemoveValue(key);
      check();
      list = copy;
      switch (list.GetValueType(key)) {
        case PropList::ValueType::String:
          list.SetValue(key, "<proplist><broken");
          check();
          list = copy;
          list.SetValue(key, true);
          break;
        case PropList::ValueType::Int:
          list.SetValue(key, std::int32_t(2000000000));
          check();
          list = copy;
          list.SetValue(key, "text");
          break;
        case PropList::ValueType::Float:
          list.SetValue(key, std::numeric_limits<float>::quiet_NaN());
          check();
          list = copy;
          list.SetValue(key, "text");
          break;
        default:
          list.SetValue(key, "text");
          break;
      }
      check();
      list = copy;
    }
  };
  PropList mutated = good;
  each(mutated, [&] { attempt(mutated); });
  EXPECT_GT(refused, 0);
  EXPECT_GT(applied, 100);

  // The good definition still restores what it describes after all that.
  ASSERT_TRUE(RestoreWorkspace(*workspace, good, true, true, false));
  EXPECT_TRUE(SameDefinition(Portable(Saved(*workspace)), Portable(good)));
}

// A panel state or a closed window's record that is not a property list costs only itself:
// the panel opens without its state, the closed panel comes back without it, the closed
// window is forgotten, each is reported, and the rest of the definition is restored.
TEST_F(Definitions, UnreadableStatesAndClosedWindowRecordsAreDroppedAndTheRestRestored) {
  WorkspaceFrame* frame = FrameWith({"A", "B", "S"});
  Note(frame->GetTabPanel(0)) = "a";
  Note(frame->GetTabPanel(1)) = "b";
  Note(frame->GetTabPanel(2)) = "s";
  workspace->RemoveTab(frame, 2, true, true);  // a record that keeps its state
  auto floating = workspace->AddTopLevelWindow(false, nullptr);
  floating->CreateRootFrame("C", false, true);
  floating->UI_Show(true);
  workspace->RemoveWindow(floating.get(), true);
  PropList definition = Saved(*workspace);
  PropList* frameList =
      definition.GetSubList("TopLevelFrame-0")->GetSubList("Splitter")->GetSubList("Sub1")->GetSubList("Frame");
  ASSERT_NE(frameList, nullptr);
  frameList->SetValue("VisTabState-0", "<proplist><broken");
  frameList->SetValue("HidTabState-0", "<proplist><broken");
  definition.GetSubList("WSInstanceData")->GetSubList("FrameReanim-0")->SetValue("WinSerData", "<proplist><broken");

  auto copy = NewWorkspace();
  RestoreReport report;
  ASSERT_TRUE(RestoreWorkspace(*copy, definition, false, true, false, &report));
  WorkspaceFrame* restored = copy->GetMainTopLevelWindow()->GetRootFrame();
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(Types(*restored), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Note(restored->GetTabPanel(0)), "");
  EXPECT_EQ(Note(restored->GetTabPanel(1)), "b");
  ASSERT_TRUE(restored->CanReanimateTab("S"));
  TabPanel* s = restored->ReanimateTab("S");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(static_cast<NotePanel*>(s)->note, "");
  EXPECT_FALSE(copy->CanReanimateWindow("C"));
  EXPECT_EQ(copy->GetWindows().size(), 1u);

  ASSERT_EQ(report.fallbacks.size(), 3u);
  const std::string frameAt = "TopLevelFrame-0/Splitter/Sub1/Frame/";
  EXPECT_TRUE(report.fallbacks[0].starts_with(frameAt + "VisTabState-0: not a property list (")) << report.fallbacks[0];
  EXPECT_TRUE(report.fallbacks[0].ends_with("); the A panel opens without its state")) << report.fallbacks[0];
  EXPECT_TRUE(report.fallbacks[1].starts_with(frameAt + "HidTabState-0: not a property list (")) << report.fallbacks[1];
  EXPECT_TRUE(report.fallbacks[1].ends_with("); the closed S panel comes back without its state")) << report.fallbacks[1];
  EXPECT_TRUE(report.fallbacks[2].starts_with("WSInstanceData/FrameReanim-0/WinSerData: not a property list ("))
      << report.fallbacks[2];
  EXPECT_TRUE(report.fallbacks[2].ends_with("); that closed window is forgotten")) << report.fallbacks[2];
}

// Counts far beyond what the file holds are read as far as the file goes (a few kilobytes
// saying two billion windows read at once), and a placement that is no finite number is
// read as missing; both are reported.
TEST_F(Definitions, CountsBeyondTheFileAndPlacementsThatAreNoNumberAreReadAsFarAsTheFileGoes) {
  WorkspaceFrame* a = FrameWith({"A"});
  main->AddTabbedFrame(a, "B", LayoutManager::kRight);
  auto floating = workspace->AddTopLevelWindow(false, nullptr);
  floating->CreateRootFrame("C", false, true);
  floating->UI_Show(true);
  auto closed = workspace->AddTopLevelWindow(false, nullptr);
  closed->CreateRootFrame("S", false, true);
  closed->UI_Show(true);
  workspace->RemoveWindow(closed.get(), true);
  PropList definition = Saved(*workspace);
  definition.SetValue("SerCfgMax", std::int32_t(2000000000));
  definition.GetSubList("WSInstanceData")->SetValue("FrameReanimMax", std::int32_t(2000000000));
  PropList* root = definition.GetSubList("TopLevelFrame-0")->GetSubList("Splitter")->GetSubList("Sub1")->GetSubList("Splitter");
  ASSERT_NE(root, nullptr);
  root->SetValue("Place", std::numeric_limits<float>::quiet_NaN());
  definition.GetSubList("TopLevelFrame-1")->GetSubList("Splitter")->SetValue("Place", std::numeric_limits<float>::infinity());

  auto copy = NewWorkspace();
  RestoreReport report;
  ASSERT_TRUE(RestoreWorkspace(*copy, definition, false, true, false, &report));
  ASSERT_EQ(copy->GetWindows().size(), 2u);
  EXPECT_EQ(copy->GetMainTopLevelWindow()->GetFrameCount(), 2u);
  EXPECT_TRUE(copy->CanReanimateWindow("S"));
  for (TopLevelWindow* window : copy->GetWindows()) {
    for (Splitter* splitter : window->GetLayoutManager().GetSplitters())
      EXPECT_TRUE(std::isfinite(splitter->GetPlacement()));
  }
  // A window placed two billion pixels away, two billion wide, is held to sizes the
  // placement arithmetic can carry, and ends on a monitor.
  PropList far = Saved(*workspace);
  far.GetSubList("TopLevelFrame-0")->SetValue("SzPos", PropList::IntList{2000000000, -2000000000, 2000000000, 2000000000});
  auto placed = NewWorkspace();
  ASSERT_TRUE(RestoreWorkspace(*placed, far, false, true, false));
  const kivcore::Rect bounds = placed->GetMainTopLevelWindow()->GetGlobalStructureRect();
  EXPECT_GT(bounds.width, 0);
  EXPECT_LE(bounds.width, 1000000);
  EXPECT_LE(std::abs(bounds.left), 1000000);
  const std::string nan = ": is not a finite number; read as missing, the placement is 0";
  EXPECT_EQ(report.fallbacks,
            (std::vector<std::string>{
                "TopLevelFrame-0/Splitter/Sub1/Splitter/Place" + nan,
                "TopLevelFrame-1/Splitter/Place" + nan,
                "TopLevelFrame-2 to TopLevelFrame-1999999999: missing or not sublists; those windows are left out",
                "WSInstanceData/FrameReanim-1 to FrameReanim-1999999999: missing or not sublists; those closed "
                "windows are forgotten",
            }));
}

// A panel that can be pinned to a window's side, read into a frame, is told it is an
// ordinary tab there.
TEST_F(Definitions, PanelsThatCanBePinnedAreToldTheyAreOrdinaryTabsInAFrame) {
  WorkspaceFrame* frame = FrameWith({"A"});
  workspace->RegisterTabCreator(std::make_unique<ElementCreator>("E"));
  frame->AddTab("E", false);
  auto* element = dynamic_cast<ElementPanel*>(frame->GetTabPanel(1).get());
  ASSERT_NE(element, nullptr);
  const PropList definition = Saved(*workspace);

  auto copy = NewWorkspace();
  copy->RegisterTabCreator(std::make_unique<ElementCreator>("E"));
  ASSERT_TRUE(RestoreWorkspace(*copy, definition, false, true, false));
  auto* restored = dynamic_cast<ElementPanel*>(copy->GetMainTopLevelWindow()->GetRootFrame()->GetTabPanel(1).get());
  ASSERT_NE(restored, nullptr);
  EXPECT_TRUE(restored->regular);
}

TEST_F(Definitions, SmallFunctions) {
  PropList definition = Saved(*workspace);
  ChangeWorkspaceUserName(definition, u"Colour");
  EXPECT_EQ(GetWorkspaceUserName(definition), u"Colour");
  SetMainWindowGlobalRect(definition, {10, 20, 300, 200});
  PropList::IntList pos;
  definition.GetSubList("TopLevelFrame-0")->GetValue("SzPos", pos);
  EXPECT_EQ(pos, (PropList::IntList{10, 20, 300, 200}));
  EXPECT_FALSE(definition.GetSubList("TopLevelFrame-0")->HasValue("WinState"));
  PropList empty;
  EXPECT_THROW(SetMainWindowGlobalRect(empty, {0, 0, 1, 1}), kivcore::config::Error);
  EXPECT_FALSE(IsCompatibleVersion(empty));
}

}  // namespace
