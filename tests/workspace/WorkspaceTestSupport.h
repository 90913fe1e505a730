#pragma once
// A workspace with simple panel types for the window, frame and panel tests.

#include "services/core/PropList.h"
#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/testing/Input.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

#include <gtest/gtest.h>

namespace kivtest {

using namespace kivworkspace::workspace;

// A panel that remembers a note in its state.
class NotePanel : public TabPanel {
 public:
  NotePanel(Workspace* w, WorkspaceFrameBase* f, const std::string& type, bool closable)
      : TabPanel(w, f, true, type, kivcore::UTF8to16("Panel " + type)), closable_(closable) {
    if (type != "N") SetShowCloseControl();  // "N" panels ask for no close box
  }
  bool AllowClose() const override { return closable_; }
  std::string note;

 private:
  void DoSaveStateData(kivcore::PropList* list) const override { list->SetValue("Note", note); }
  void DoLoadStateData(kivcore::PropList* list) override { list->GetValue("Note", note); }
  bool closable_;
};

// Types: "A", "B", "C" plain; "H" hides when closed; "O" obliterates without state;
// "S" obliterates keeping its state; "X" cannot be closed; "N" shows no close box.
class NoteCreator : public TabCreator {
 public:
  explicit NoteCreator(std::string type) : TabCreator(std::move(type)) {}
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<NotePanel>(w, f, GetTabType(), GetTabType() != "X");
  }
  bool HidesWhenClosed() const override { return GetTabType() == "H"; }
  bool ObliteratesWhenClosed() const override { return GetTabType() == "O" || GetTabType() == "S"; }
  bool SavesStateWhenObliterated() const override { return GetTabType() == "S"; }
};

struct WorkspaceFixture : ::testing::Test {
  std::shared_ptr<Workspace> workspace = std::make_shared<Workspace>();
  std::shared_ptr<TopLevelWindow> main;

  void SetUp() override {
    for (const char* type : {"A", "B", "C", "H", "O", "S", "X", "N"}) {
      workspace->RegisterTabCreator(std::make_unique<NoteCreator>(type));
    }
    main = workspace->CreateMainTopLevelWindow({100, 80, 900, 600});
    main->UI_Show(true);
  }
  // Every test ends with the workspace whole: each window's layout tree passes its
  // structure check and no drag is still going. What must not outlive the workspace (its
  // windows, overlays, capture) is checked after each test by the test main.
  void TearDown() override {
    if (workspace) {
      for (TopLevelWindow* window : workspace->GetWindows()) {
        EXPECT_EQ(window->GetLayoutManager().CheckStructure(), "") << "in a window of the workspace";
      }
      EXPECT_EQ(workspace->GetTracker(), nullptr) << "a drag outlived the test";
    }
    main.reset();
    workspace.reset();
    kivui::testing::ProcessEvents();
  }

  static std::vector<std::string> Types(const WorkspaceFrame& frame) {
    std::vector<std::string> types;
    for (unsigned i = 0; i < frame.GetTabCount(); ++i) types.push_back(frame.GetTabPanel(i)->GetTabType());
    return types;
  }
  // The global centre of a tab, or of its close box.
  static kivcore::Point TabPoint(WorkspaceFrame& frame, unsigned index, bool closeBox = false) {
    const kivcore::RectF r = closeBox ? frame.GetTabWell().GetCloseBoxRect(int(index)) : frame.GetTabWell().GetTabRect(int(index));
    return frame.GetTabWell().UI_LocalToGlobal({int(r.left + r.width / 2), int(r.top + r.height / 2)});
  }
  WorkspaceFrame* FrameWith(std::initializer_list<const char*> types) {
    WorkspaceFrame* frame = main->GetRootFrame() ? main->AddTabbedFrame(main->GetRootFrame(), *types.begin(), LayoutManager::kRight)
                                                 : main->CreateRootFrame(*types.begin(), false, true);
    for (auto it = types.begin() + 1; it != types.end(); ++it) frame->AddTab(*it, false);
    kivui::testing::ProcessEvents();
    return frame;
  }
};

}  // namespace kivtest
