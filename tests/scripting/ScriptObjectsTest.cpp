// The library's script objects as scripts use them: overlays pointing at panels of a real
// window, and console commands run for scripts, with the console panel showing them.
#include "workspace/WorkspaceTestSupport.h"

#include "scripting/IndicatorOverlayObj.h"
#include "scripting/IndicatorOverlayWindow.h"
#include "scripting/ScriptObjects.h"
#include "scripting/UIAutomationHelper.h"
#include "services/core/Console.h"
#include "services/scripting/ScriptEngine.h"
#include "services/ui/draw/DrawSupplier.h"
#include "services/ui/testing/Snapshot.h"
#include "sharedui/ConsolePanel.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

using namespace kivtest;
using kivworkspace::scripting::IndicatorOverlayObj;
using kivworkspace::sharedui::ConsolePanel;
namespace testing_ui = kivui::testing;

namespace {

struct ScriptObjects : WorkspaceFixture {
  std::unique_ptr<kivscripting::ScriptEngine> engine;

  void SetUp() override {
    WorkspaceFixture::SetUp();
    kivworkspace::scripting::RegisterScriptObjects();
    workspace->RegisterTabCreator(std::make_unique<ConsolePanel::TabCreator>());
    engine = std::make_unique<kivscripting::ScriptEngine>();
  }
  void TearDown() override {
    engine.reset();
    WorkspaceFixture::TearDown();
  }

  std::string Run(const std::string& js) {
    const auto r = engine->Evaluate(js);
    EXPECT_TRUE(r.ok) << js << ": " << r.error;
    return r.value;
  }
  static IndicatorOverlayObj& Overlay(std::size_t i) { return *IndicatorOverlayObj::GetLiveInstances().at(i); }
};

TEST_F(ScriptObjects, AnOverlayPointsAtTheEdgeItNames) {
  WorkspaceFrame* frame = FrameWith({"A"});
  kivui::testing::ProcessEvents();
  const kivcore::RectF panel = frame->GetTabPanel(0)->LocalRectToGlobalF(frame->GetTabPanel(0)->GetLocalBounds());

  Run("var overlays = [0, 1, 2, 3].map(d => new IndicatorOverlay('Panel A\\nhere', d, 'TopLevelWindow/A'));"
      "overlays.map(o => o.show()).join()");
  ASSERT_EQ(IndicatorOverlayObj::GetLiveInstances().size(), 4u);
  const kivcore::PointF tips[] = {{panel.Right(), panel.top + panel.height / 2}, {panel.left, panel.top + panel.height / 2},
                                  {panel.left + panel.width / 2, panel.top}, {panel.left + panel.width / 2, panel.Bottom()}};
  for (std::size_t d = 0; d < 4; ++d) {
    IndicatorOverlayObj& o = Overlay(d);
    EXPECT_TRUE(o.IsAnchored());
    EXPECT_EQ(o.GetAnchor(), panel);
    ASSERT_TRUE(o.GetWindow());
    EXPECT_EQ(o.GetWindow()->GetText(), "Panel A\nhere");
    EXPECT_EQ(o.GetWindow()->GetArrowTip(), tips[d]) << "direction " << d;
    // The window lies wholly on the named side of the panel, touching it with the arrow.
    const kivcore::Rect w = o.GetWindow()->GetGlobalContentRect();
    const bool outside[] = {float(w.left) >= std::floor(panel.Right()), float(w.Right()) <= std::ceil(panel.left),
                            float(w.Bottom()) <= std::ceil(panel.top), float(w.top) >= std::floor(panel.Bottom())};
    EXPECT_TRUE(outside[d]) << "direction " << d;
  }

  // Hidden one by one; then all at once by the library, after which they show again.
  EXPECT_EQ(Run("overlays[0].hide()"), "true");
  EXPECT_FALSE(Overlay(0).GetWindow());
  kivworkspace::scripting::ReleaseIndicatorOverlays();
  for (std::size_t d = 0; d < 4; ++d) EXPECT_FALSE(Overlay(d).GetWindow());
  EXPECT_EQ(IndicatorOverlayObj::GetLiveInstances().size(), 4u) << "the overlays stay";
  EXPECT_EQ(Run("overlays[2].show()"), "true");
  EXPECT_TRUE(Overlay(2).GetWindow());
  engine.reset();
  EXPECT_TRUE(IndicatorOverlayObj::GetLiveInstances().empty()) << "destroyed with the engine, windows and all";
}

TEST_F(ScriptObjects, AnOverlayThatNamesNothingPointsNowhere) {
  FrameWith({"A"});
  kivworkspace::scripting::ReleaseIndicatorOverlays();  // none yet: nothing happens
  EXPECT_EQ(Run("var never = new IndicatorOverlay('never shown', 0, 'TopLevelWindow/A'); never.hide()"), "true");
  EXPECT_FALSE(Overlay(0).GetWindow());
  for (const char* path : {"", "TopLevelWindow//A", "TopLevelWindow/NoSuchPanel", "NoSuchWindow/Nothing"}) {
    Run(std::string("var o = new IndicatorOverlay('x', 1, '") + path + "'); o.show()");
    IndicatorOverlayObj& o = *IndicatorOverlayObj::GetLiveInstances().back();
    EXPECT_FALSE(o.IsAnchored()) << path;
    EXPECT_EQ(o.GetAnchor(), kivcore::RectF(0, 0, 0, 0)) << path;
    EXPECT_FALSE(o.GetWindow()) << path;
  }
  EXPECT_EQ(engine->Evaluate("new IndicatorOverlay('x', 4, 'TopLevelWindow/A')").error,
            "Error: IndicatorOverlay: direction must be from 0 to 3");
}

// The UI thread is busy (it handles no events while the script thread runs): a "hide"
// with nothing to hide does not wait for it.
TEST_F(ScriptObjects, HidingAnOverlayNeverShownDoesNotWaitForTheUIThread) {
  FrameWith({"A"});
  const boost::intrusive_ptr<IndicatorOverlayObj> overlay = new IndicatorOverlayObj(u"never shown", 0, u"");
  bool hidden = false;
  const auto start = std::chrono::steady_clock::now();
  std::thread([&] { hidden = overlay->Hide(); }).join();
  EXPECT_TRUE(hidden);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_FALSE(overlay->GetWindow());
}

TEST_F(ScriptObjects, TheDrawSupplierPaintsTheBubble) {
  FrameWith({"A"});
  kivui::testing::ProcessEvents();
  int drawn = 0;
  kivworkspace::scripting::SetDrawSupplierProvider([&] {
    return std::make_shared<kivui::FunctionDrawSupplier>([&](kivui::Drawbot&, const kivcore::RectF&) { ++drawn; });
  });
  Run("new IndicatorOverlay('drawn by the host', 3, 'TopLevelWindow/A').show()");
  const auto png = std::filesystem::temp_directory_path() / ("kiv-overlay-" + std::to_string(::getpid()) + ".png");
  kivui::testing::SaveSnapshotPNG(*Overlay(0).GetWindow(), png.string());
  std::filesystem::remove(png);
  EXPECT_GT(drawn, 0);
  kivworkspace::scripting::SetDrawSupplierProvider(nullptr);
}

TEST_F(ScriptObjects, TheAutomationHelperRunsConsoleCommandsAndEchoesThem) {
  WorkspaceFrame* frame = FrameWith({ConsolePanel::kTabType});
  auto* console = dynamic_cast<ConsolePanel*>(frame->GetTabPanel(0).get());
  ASSERT_TRUE(console);
  kivcore::console::RegisterCommand("test.greet", "greets", [](const auto& args, auto& out) {
    out.WriteLine("hello " + (args.empty() ? std::string("nobody") : args[0]));
  });
  Run("var helper = new UIAutomationHelper();");
  EXPECT_EQ(Run("helper.executeConsoleCommand('test.greet script')"), "hello script\n");
  EXPECT_NE(kivcore::UTF16to8(console->GetOutput()).find("hello script\n"), std::string::npos);

  const auto unknown = engine->Evaluate("var got = 'unchanged';\ngot = helper.executeConsoleCommand('no.such thing');", "helper.js");
  EXPECT_FALSE(unknown.ok);
  EXPECT_EQ(unknown.line, 2);
  EXPECT_EQ(Run("got"), "unchanged") << "the script gets nothing back";
  EXPECT_EQ(Run("try { helper.executeConsoleCommand('no.such'); } catch (e) { e.code }"), "9");
  EXPECT_NE(kivcore::UTF16to8(console->GetOutput()).find("Command no.such thing unknown!. Try 'con.help'.\n"), std::string::npos);

  // A command that raises (here for a bad argument) raises in the script with its message.
  kivcore::console::RegisterCommand("test.count", "counts", [](const auto& args, auto&) {
    throw std::invalid_argument("the count must be a number, not " + args.at(0));
  });
  const auto failed = engine->Evaluate("got = 'unchanged';\n\ngot = helper.executeConsoleCommand('test.count none');", "count.js");
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.error, "Error: the count must be a number, not none");
  EXPECT_EQ(failed.line, 3);
  EXPECT_EQ(Run("got"), "unchanged");
  EXPECT_EQ(Run("try { helper.executeConsoleCommand('test.count x'); } catch (e) { e.code + ':' + e.message }"),
            "9:the count must be a number, not x");
  EXPECT_NE(kivcore::UTF16to8(console->GetOutput()).find("Error: the count must be a number, not none\n"), std::string::npos)
      << "the console panel shows what failed";
  kivcore::console::UnregisterCommand("test.greet");
  kivcore::console::UnregisterCommand("test.count");
}

// A script running on a thread of its own: what touches the UI runs on the UI thread, which
// processes its events meanwhile, and an overlay dropped on that thread hands its window over.
TEST_F(ScriptObjects, AScriptThreadReachesTheUIThroughItsThread) {
  WorkspaceFrame* frame = FrameWith({ConsolePanel::kTabType});
  auto* console = dynamic_cast<ConsolePanel*>(frame->GetTabPanel(0).get());
  ASSERT_TRUE(console);
  testing_ui::ProcessEvents();
  boost::intrusive_ptr<IndicatorOverlayObj> overlay;
  bool shown = false;
  std::atomic<bool> done{false};
  std::thread script([&] {
    overlay = new IndicatorOverlayObj(u"from a thread", IndicatorOverlayObj::kAnchorBottomEdge, u"TopLevelWindow/ConsolePanel");
    shown = overlay->Show();
    kivworkspace::scripting::UIAutomationHelper().ExecuteConsoleCommand(u"con.help");
    done = true;
  });
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return done.load(); }, 10000));
  script.join();
  EXPECT_TRUE(overlay->IsAnchored());
  EXPECT_TRUE(shown);
  EXPECT_TRUE(overlay->GetWindow());
  testing_ui::ProcessEvents();
  EXPECT_NE(kivcore::UTF16to8(console->GetOutput()).find("con.help - Lists the console commands"), std::string::npos);
  std::thread([&] { overlay.reset(); }).join();
  EXPECT_TRUE(IndicatorOverlayObj::GetLiveInstances().empty());
  testing_ui::ProcessEvents();  // the window goes on the UI thread
}

}  // namespace
