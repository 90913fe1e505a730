// The developer panels in frames, driven by real events: the console's views and command
// line, the debug monitor's live rows, the thread panel's commands and their activity.
#include "workspace/WorkspaceTestSupport.h"

#include "../support/Wait.h"
#include "services/core/Console.h"
#include "services/core/DebugDatabase.h"
#include "services/core/DebugInfo.h"
#include "services/core/DelayScale.h"
#include "services/core/PropList.h"
#include "services/core/Trace.h"
#include "services/ui/console/ConsoleView.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "sharedui/ConsolePanel.h"
#include "sharedui/DebugMonitorPanel.h"
#include "sharedui/DebugMonitorPanelView.h"
#include "sharedui/ThreadActivity.h"
#include "sharedui/ThreadHistoryView.h"
#include "sharedui/ThreadPanel.h"
#include "sharedui/ThreadSpanLanes.h"

#include <atomic>
#include <filesystem>
#include <set>

using namespace kivtest;
using kivui::ConsoleView;
using kivworkspace::sharedui::ConsolePanel;
using kivworkspace::sharedui::DebugMonitorPanel;
using kivworkspace::sharedui::ThreadActivity;
using kivworkspace::sharedui::ThreadPanel;
using kivworkspace::sharedui::ThreadSpan;
using kivworkspace::sharedui::ThreadSpanLanes;
namespace testing_ui = kivui::testing;

namespace {

struct DeveloperPanels : WorkspaceFixture {
  void SetUp() override {
    WorkspaceFixture::SetUp();
    workspace->RegisterTabCreator(std::make_unique<ConsolePanel::TabCreator>());
    workspace->RegisterTabCreator(DebugMonitorPanel::CreateTabCreator());
    workspace->RegisterTabCreator(std::make_unique<ThreadPanel::TabCreator>());
  }

  template <typename Panel>
  Panel* Open(const char* type) {
    WorkspaceFrame* frame = FrameWith({type});
    testing_ui::ProcessEvents();
    return dynamic_cast<Panel*>(frame->GetTabPanel(0).get());
  }

  // Opens the frame's panel menu, answering with command; returns the items shown, each
  // with " *" when checked.
  static std::vector<std::string> ChooseFromPanelMenu(WorkspaceFrame& frame, int command) {
    kivui::UI_Node* button = nullptr;
    for (std::size_t i = 0; i < frame.GetChildCount(); ++i)
      if (frame.GetChild(i)->GetToolTip() == "Panel menu") button = frame.GetChild(i);
    EXPECT_TRUE(button);
    auto answers = testing_ui::ScriptedAnswers::Install();
    answers->Command(command);
    testing_ui::ClickNode(*button, {5, 5});
    std::vector<std::string> items;
    for (const auto& item : answers->GetAsked().back().menu->GetItems()) items.push_back(item.text + (item.checked ? " *" : ""));
    return items;
  }

  static std::vector<std::string> RowTexts(const kivui::UI_MultiColumnTree& tree) {
    std::vector<std::string> texts;
    for (int id : tree.GetRowIDsInOrder()) texts.push_back(tree.GetRowText(id));
    return texts;
  }
};

TEST_F(DeveloperPanels, ConsoleRunsTypedCommandsAndItsMenuSwitchesViews) {
  auto* panel = Open<ConsolePanel>(ConsolePanel::kTabType);
  ASSERT_TRUE(panel);
  EXPECT_EQ(ConsolePanel::GetInstance(), panel);
  ConsoleView& view = panel->GetConsoleView();

  // A command typed into the command line, then one that does not exist.
  kivcore::debug::DebugDatabase::Instance().GetEntry("ConsoleTest.Speed", std::int64_t(3));
  view.GetCommandLine().UI_GainKeyboardFocus();
  testing_ui::TypeText("debug.set ConsoleTest.Speed 7");
  testing_ui::KeyClick(kivui::kKeyReturn);
  testing_ui::TypeText("no.such.command");
  testing_ui::KeyClick(kivui::kKeyReturn);
  EXPECT_EQ(kivcore::debug::DebugDatabase::Instance().GetEntry("ConsoleTest.Speed", std::int64_t(3)), 7);
  const std::string output = view.GetOutput();
  EXPECT_NE(output.find("> debug.set ConsoleTest.Speed 7\nConsoleTest.Speed = 7\n"), std::string::npos) << output;
  EXPECT_NE(output.find("Unknown command: no.such.command"), std::string::npos) << output;
  testing_ui::KeyClick(kivui::kKeyUp);
  testing_ui::KeyClick(kivui::kKeyUp);
  EXPECT_EQ(view.GetCommandLine().GetText(), "debug.set ConsoleTest.Speed 7") << "Up walks back through the history";

  // The menu offers the views of the mask after the frame's items, checked where shown;
  // output is not among them.
  WorkspaceFrame& frame = *dynamic_cast<WorkspaceFrame*>(panel->GetFrame());
  std::vector<std::string> items = ChooseFromPanelMenu(frame, ConsoleView::kDebugDatabaseView);
  items.erase(items.begin(), std::find(items.begin(), items.end(), "Console View *"));
  EXPECT_EQ(items, (std::vector<std::string>{"Console View *", "Debug Database View", "Trace Volume View", "Code Profiler View"}));
  EXPECT_EQ(view.GetVisibleView(), ConsoleView::kDebugDatabaseView);
  EXPECT_TRUE(view.GetTree().IsShown());
  EXPECT_FALSE(view.GetCommandLine().IsShown());
  const auto names = RowTexts(view.GetTree());
  const auto row = std::find(names.begin(), names.end(), "ConsoleTest.Speed");
  ASSERT_NE(row, names.end());
  EXPECT_EQ(view.GetTree().GetRowText(view.GetTree().GetRowIDsInOrder()[std::size_t(row - names.begin())], 1), "7");

  // The code profiler counts the command run once.
  ChooseFromPanelMenu(frame, ConsoleView::kCodeProfilerView);
  const auto commands = RowTexts(view.GetTree());
  const auto profiled = std::find(commands.begin(), commands.end(), "debug.set");
  ASSERT_NE(profiled, commands.end());
}

TEST_F(DeveloperPanels, ConsoleStateKeepsTheViewAndReadsTheOlderKey) {
  auto* panel = Open<ConsolePanel>(ConsolePanel::kTabType);
  ASSERT_TRUE(panel);
  panel->DoFlyoutMenuCommand(ConsoleView::kTraceVolumeView);
  kivcore::PropList saved;
  panel->DoSaveStateData(&saved);
  panel->DoFlyoutMenuCommand(ConsoleView::kConsoleView);
  panel->DoLoadStateData(&saved);
  EXPECT_EQ(panel->GetConsoleView().GetVisibleView(), ConsoleView::kTraceVolumeView);

  for (const auto& [stored, expected] : {std::pair{0, ConsoleView::kDebugDatabaseView}, {1, ConsoleView::kConsoleView}}) {
    kivcore::PropList old;
    old.SetValue("DisplayConsoleView", std::int32_t(stored));
    panel->DoLoadStateData(&old);
    EXPECT_EQ(panel->GetConsoleView().GetVisibleView(), expected) << "DisplayConsoleView = " << stored;
  }
  kivcore::PropList empty;
  panel->DoLoadStateData(&empty);
  EXPECT_EQ(panel->GetConsoleView().GetVisibleView(), ConsoleView::kConsoleView) << "no key keeps the view";
}

TEST_F(DeveloperPanels, ConsoleRunsBatchFilesAndLogsItsOutput) {
  auto* panel = Open<ConsolePanel>(ConsolePanel::kTabType);
  ASSERT_TRUE(panel);
  const auto dir = std::filesystem::temp_directory_path() / ("kiv-console-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "batch.txt") << "# a comment\n\n  trace.set ConsoleTest 2\ncon.help\n";
  ASSERT_TRUE(panel->OpenLog((dir / "console.log").u16string()));
  EXPECT_TRUE(panel->ExecuteBatchFile((dir / "batch.txt").u16string()));
  panel->CloseLog();
  panel->Echo(u"after the log closed");
  EXPECT_EQ(kivcore::debug::GetTraceLevel("ConsoleTest"), 2);
  const std::string log = Slurp(dir / "console.log");
  EXPECT_EQ(log.find("# a comment"), std::string::npos) << "comments are not run";
  EXPECT_NE(log.find("> trace.set ConsoleTest 2\nConsoleTest traces up to level 2\n> con.help\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("after the log closed"), std::string::npos);
  EXPECT_FALSE(panel->ExecuteBatchFile((dir / "missing.txt").u16string()));
  EXPECT_NE(kivcore::UTF16to8(panel->GetOutput()).find("Cannot read " + (dir / "missing.txt").string()), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST_F(DeveloperPanels, DebugMonitorRefreshesOpenRowsAndKeepsThemOpen) {
  std::atomic<int> reads{0};
  kivcore::debug::RegisterDebugInfo("Monitor test/Reads", [&] { return std::to_string(++reads); });
  kivcore::debug::DebugDatabase::Instance().SetEntry("DebugMonitorRefreshInterval", std::int64_t(20));
  auto* panel = Open<DebugMonitorPanel>(DebugMonitorPanel::kTabType);
  ASSERT_TRUE(panel);
  auto& view = panel->GetView();
  EXPECT_TRUE(view.IsRefreshing());
  EXPECT_EQ(view.GetRefreshIntervalMs(), 20);

  // Closed: never read. Opened: read on every tick.
  testing_ui::ProcessEvents(100);
  EXPECT_EQ(reads, 0);
  EXPECT_TRUE(view.GetValueText("Monitor test/Reads").empty());
  view.SetRowOpen("Monitor test", true);
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return reads >= 3; }));
  EXPECT_EQ(view.GetValueText("Monitor test/Reads"), std::to_string(reads.load()));

  kivcore::PropList state;
  panel->DoSaveStateData(&state);
  ASSERT_TRUE(state.GetSubList("Monitor test"));
  auto second = std::make_shared<DebugMonitorPanel>(workspace.get(), nullptr);
  EXPECT_FALSE(second->GetView().IsRowOpen("Monitor test"));
  second->DoLoadStateData(&state);
  EXPECT_TRUE(second->GetView().IsRowOpen("Monitor test")) << "a row open when saved opens again";
  EXPECT_FALSE(second->GetView().IsRowOpen("Process")) << "a row closed when saved stays closed";

  // Hidden, the panel stops its timer.
  panel->UI_Show(false);
  EXPECT_FALSE(view.IsRefreshing());
  kivcore::debug::UnregisterDebugInfo("Monitor test/Reads");
  kivcore::debug::DebugDatabase::Instance().ResetToDefaults();
}

TEST_F(DeveloperPanels, ThreadCommandsLiveWithTheCreatorAndRecordTheirThreads) {
  for (const char* name : {"thread.mainthreadnotify", "thread.mainthreadcpu", "thread.executecpubound",
                           "thread.executecpuboundasync", "thread.subexecutor"})
    EXPECT_TRUE(kivcore::console::IsCommandRegistered(name)) << name;
  auto* console = Open<ConsolePanel>(ConsolePanel::kTabType);
  auto* threads = Open<ThreadPanel>(ThreadPanel::kTabType);
  ASSERT_TRUE(console && threads);
  ThreadActivity::Get().Clear();

  // A sub-executor of two threads: 25 tasks, never more than two at once.
  ASSERT_TRUE(console->ProcessCommand(u"thread.subexecutor 2"));
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return kivcore::UTF16to8(console->GetOutput()).find("25 tasks done on 2") != std::string::npos; }, 10000));
  std::vector<ThreadSpan> spans = ThreadActivity::Get().GetSpans();
  ASSERT_EQ(spans.size(), 25u);
  std::vector<std::pair<double, int>> edges;  // +1 at a start, -1 at an end; ends sort first
  for (const ThreadSpan& s : spans) edges.insert(edges.end(), {{s.startMs, 1}, {s.endMs, -1}});
  std::sort(edges.begin(), edges.end());
  int running = 0, most = 0;
  for (const auto& edge : edges) most = std::max(most, running += edge.second);
  EXPECT_EQ(most, 2);

  // The history view draws a lane per worker thread that ran them.
  threads->GetHistoryView().UI_UpdateNow();
  const auto& drawn = threads->GetHistoryView().GetLanes().lanes;
  std::set<std::uint64_t> workers;
  for (const ThreadSpan& s : spans) workers.insert(s.thread);
  EXPECT_EQ(drawn.size(), workers.size());

  // Notifications reach the main thread, each recorded there.
  ThreadActivity::Get().Clear();
  ASSERT_TRUE(console->ProcessCommand(u"thread.mainthreadnotify 3"));
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return ThreadActivity::Get().GetSpans().size() == 6; }, 10000));
  const ThreadSpanLanes lanes = ThreadSpanLanes::Build(ThreadActivity::Get().GetSpans(), 0, ThreadActivity::Get().NowMs());
  ASSERT_FALSE(lanes.lanes.empty());
  EXPECT_TRUE(lanes.lanes.front().mainThread) << "the main thread's lane comes first";
  EXPECT_EQ(lanes.lanes.front().spans.size(), 3u);
  EXPECT_NE(kivcore::UTF16to8(console->GetOutput()).find("main thread notified (3 of 3)"), std::string::npos);

  // The blocking demonstration, its second-long waits scaled down.
  kivcore::threads::SetDelayScaleForTesting(0.001);
  ThreadActivity::Get().Clear();
  ASSERT_TRUE(console->ProcessCommand(u"thread.mainthreadcpu"));
  ASSERT_TRUE(console->ProcessCommand(u"thread.executecpubound"));
  kivcore::threads::SetDelayScaleForTesting(1);
  spans = ThreadActivity::Get().GetSpans();
  EXPECT_EQ(std::count_if(spans.begin(), spans.end(), [](const ThreadSpan& s) { return s.mainThread && s.label == "blocked on a closed gate"; }), 25);
  EXPECT_EQ(std::count_if(spans.begin(), spans.end(), [](const ThreadSpan& s) { return s.label.starts_with("CPU-bound task"); }), 25);

  EXPECT_TRUE(console->ProcessCommand(u"thread.subexecutor none"));
  EXPECT_NE(kivcore::UTF16to8(console->GetOutput()).find("Error: the count must be a whole number of 1 or more, not none"), std::string::npos);

  // A second creator (a new workspace's) keeps the commands when the first goes; they go
  // with the last.
  auto second = std::make_unique<ThreadPanel::TabCreator>();
  workspace->UnregisterTabCreator(ThreadPanel::kTabType);
  EXPECT_TRUE(kivcore::console::IsCommandRegistered("thread.subexecutor"));
  second.reset();
  EXPECT_FALSE(kivcore::console::IsCommandRegistered("thread.subexecutor")) << "the commands go with the last creator";
}

}  // namespace
