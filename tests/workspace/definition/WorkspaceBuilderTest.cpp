// Built-in arrangements described with builders: the tree they make, closed panels, front
// tabs beyond the last, types nobody makes, and panels and windows reused by a second build.
#include "workspace/WorkspaceTestSupport.h"

#include "layout/FrameDataProxy.h"
#include "layout/Splitter.h"
#include "workspace/definition/FrameBuilder.h"
#include "workspace/definition/SplitterBuilder.h"
#include "workspace/definition/WorkspaceBuilder.h"

using namespace kivtest;

namespace {

using Builders = WorkspaceFixture;

std::unique_ptr<FrameBuilder> Frame(std::list<std::string> types) {
  return std::make_unique<FrameBuilder>(types);
}

// Main: A|B over C (the bar between A and B at 0.3); a floating window holding B.
void Describe(WorkspaceBuilder& builder, const kivcore::Rect& main) {
  auto top = std::make_unique<SplitterBuilder>(true, Frame({"A"}), Frame({"B", "C", "H"}));
  top->SetSplitVal(0.3f);
  auto bottom = Frame({"C"});
  bottom->AddTab("H", true);  // closed, kept alive
  bottom->AddTab("S", true);  // closed, a record
  builder.AddWindow(std::make_unique<SplitterBuilder>(false, std::move(top), std::move(bottom)), main);
  builder.AddWindow(Frame({"B"}), {main.left + 50, main.top + 50, 300, 200});
}

TEST_F(Builders, TheDescribedTreeIsBuiltAndBuildingAgainReusesPanelsAndWindows) {
  const kivcore::Rect rect = main->GetGlobalStructureRect();
  WorkspaceBuilder builder(*workspace);
  Describe(builder, rect);
  builder.BuildWorkspace();

  ASSERT_EQ(workspace->GetWindows().size(), 2u);
  const auto frames = main->GetLayoutManager().GetFrames();
  ASSERT_EQ(frames.size(), 3u);
  Splitter* root = main->GetLayoutManager().GetRoot()->AsSplitter();
  ASSERT_TRUE(root && !root->IsVertical());
  Splitter* top = root->GetLeftOrTop()->AsSplitter();
  ASSERT_TRUE(top && top->IsVertical());
  EXPECT_NEAR(top->GetStoredPlacement(), 0.3f, 0.005f);
  EXPECT_NEAR(root->GetStoredPlacement(), 0.5f, 0.005f) << "no split value: the layout's default";
  auto* bc = dynamic_cast<WorkspaceFrame*>(main->GetFrameFromLMFrame(frames[1]));
  EXPECT_EQ(Types(*bc), (std::vector<std::string>{"B", "C", "H"}));
  EXPECT_EQ(bc->GetFrontTabIndex(), 0);
  auto* c = dynamic_cast<WorkspaceFrame*>(main->GetFrameFromLMFrame(frames[2]));
  EXPECT_EQ(c->GetHiddenTabs().size(), 1u);
  EXPECT_TRUE(c->CanReanimateTab("S"));
  EXPECT_EQ(c->GetFrameLocalRect().top, main->GetClientRect().height / 2);

  const TabPanelPtr a = dynamic_cast<WorkspaceFrame*>(main->GetFrameFromLMFrame(frames[0]))->GetTabPanel(0);
  TopLevelWindow* floating = workspace->GetWindows()[1];
  builder.BuildWorkspace();
  EXPECT_EQ(workspace->GetWindows()[1], floating) << "the floating window is reused";
  EXPECT_EQ(dynamic_cast<WorkspaceFrame*>(main->GetRootFrame())->GetTabPanel(0), a);

  // A description with one window removes the floating one without remembering it.
  WorkspaceBuilder single(*workspace);
  single.AddWindow(Frame({"A"}), rect);
  single.BuildWorkspace();
  EXPECT_EQ(workspace->GetWindows().size(), 1u);
  EXPECT_TRUE(workspace->GetRemovedWindowData().empty());
  EXPECT_EQ(main->GetRootFrame()->GetTabPanel(0), a);
}

// The second argument is the flag a window's new tree is installed with and the third the
// one that hands over a ready definition instead: a builder made with (workspace, true)
// builds what it describes.
TEST_F(Builders, TheSecondArgumentIsTheResetFlagAndTheThirdHandsOverTheDefinition) {
  WorkspaceBuilder builder(*workspace, true);
  EXPECT_TRUE(builder.GetResetFlag());
  EXPECT_FALSE(builder.UsePropList());
  builder.AddWindow(Frame({"A", "B"}), main->GetGlobalStructureRect());
  builder.BuildWorkspace();
  ASSERT_NE(main->GetRootFrame(), nullptr);
  EXPECT_EQ(Types(*main->GetRootFrame()), (std::vector<std::string>{"A", "B"}));

  const WorkspaceBuilder ready(*workspace, false, true);
  EXPECT_FALSE(ready.GetResetFlag());
  EXPECT_TRUE(ready.UsePropList());
}

TEST_F(Builders, FrontTabsBeyondTheLastAndTypesNobodyMakes) {
  WorkspaceBuilder builder(*workspace);
  auto frame = Frame({"A", "B"});
  frame->SetFrontTabIdx(5);
  auto nobody = Frame({"Nobody"});
  nobody->AddTab("S", true);
  builder.AddWindow(std::make_unique<SplitterBuilder>(true, std::move(frame), std::move(nobody)),
                    main->GetGlobalStructureRect());
  builder.BuildWorkspace();
  ASSERT_EQ(main->GetFrameCount(), 1u);
  EXPECT_EQ(main->GetRootFrame()->GetFrontTabPanel()->GetTabType(), "B");
  // The frame of unknown types left a placeholder holding its closed panel's record.
  EXPECT_TRUE(main->CanReanimateFrame("S"));
  EXPECT_TRUE(main->ReanimateFrame("S"));
  EXPECT_EQ(main->GetFrameCount(), 2u);
}

}  // namespace
