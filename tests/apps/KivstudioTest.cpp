// kivstudio, and a plain host made of the library's parts, quit in every arrangement
// kivstudio's tour visits. Whatever listens to the workspace manager (the tools tab's
// workspaces pop-up and switcher bar, the menus) must go before the manager: a probe panel
// notes whether the manager was still there when it went, and under the sanitizers
// anything that reaches the manager after it went is a heap-use-after-free. The test is
// built from kivstudio's own sources, so the sanitizer builds (which leave the programs
// out) run it too.
#include "Studio.h"
#include "workspace/manager/ManagerTestSupport.h"

#include "services/ui/window/OS_Window.h"
#include "sharedui/ConsolePanel.h"
#include "sharedui/DebugMonitorPanel.h"
#include "sharedui/ProgressPanel.h"
#include "sharedui/ThemeColorEditorPanel.h"
#include "sharedui/ThemeColorEditorPanel_TabCreator.h"
#include "sharedui/ThreadPanel.h"
#include "sharedui/ToolsTab.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/frames/TablessWorkspaceFrame.h"

#include <cstdlib>
#include <functional>

namespace {

using namespace kivtest;
using kivstudio::Studio;
using kivworkspace::sharedui::WorkspaceSwitcherManager;
namespace ui_testing = kivui::testing;

constexpr const char* kProbe = "QuitProbe";

// Notes, as it goes, whether the manager of its host was still there.
class QuitProbePanel : public TabPanel {
 public:
  QuitProbePanel(Workspace* w, WorkspaceFrameBase* f, std::function<bool()> managerThere, std::vector<bool>& notes)
      : TabPanel(w, f, false, kProbe, u"Probe"), managerThere_(std::move(managerThere)), notes_(notes) {}
  ~QuitProbePanel() override { notes_.push_back(managerThere_()); }

 private:
  std::function<bool()> managerThere_;
  std::vector<bool>& notes_;
};

class QuitProbeCreator : public TabCreator {
 public:
  QuitProbeCreator(std::function<bool()> managerThere, std::vector<bool>& notes)
      : TabCreator(kProbe), managerThere_(std::move(managerThere)), notes_(notes) {}
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<QuitProbePanel>(w, f, managerThere_, notes_);
  }

 private:
  std::function<bool()> managerThere_;
  std::vector<bool>& notes_;
};

WorkspaceFrame* FrameOf(TabPanel* panel) { return panel ? dynamic_cast<WorkspaceFrame*>(panel->GetFrame()) : nullptr; }

kivcore::Point TabCentre(TabPanel& panel) {
  WorkspaceFrame* frame = FrameOf(&panel);
  const kivcore::RectF r = frame->GetTabWell().GetTabRect(frame->GetTabWell().IndexOfTab(int(panel.GetID())));
  return frame->GetTabWell().UI_LocalToGlobal({int(r.left + r.width / 2), int(r.top + r.height / 2)});
}

// Pulls the panel's tab out of its well and lets go at the point, as a hand does.
void DragTab(TabPanel& panel, kivcore::Point to) {
  ASSERT_TRUE(FrameOf(&panel)) << panel.GetTabType() << " has no tab to pull";
  const kivcore::Point from = TabCentre(panel);
  ui_testing::MousePressAt(from);
  for (int i = 1; i <= 6; ++i) ui_testing::MouseMoveTo({from.x + 2 * i, from.y + 10 * i});
  const kivcore::Point pulled{from.x + 12, from.y + 60};
  for (int i = 1; i <= 10; ++i) ui_testing::MouseMoveTo({pulled.x + (to.x - pulled.x) * i / 10, pulled.y + (to.y - pulled.y) * i / 10});
  ui_testing::MouseReleaseAt(to);
  ui_testing::ProcessEvents(50);
}

kivcore::Point CentreZone(TopLevelWindow& window, WorkspaceFrame& frame) {
  for (const DropZone& zone : window.GetFrameDropZones(frame))
    if (zone.GetType() == DropZone::kCentre) return zone.GetCentre();
  return {};
}

// The tools pinned to the main window's left side, torn off into a floating window of
// their own: a regular tab, with the workspaces pop-up and the switcher bar.
void TearOffTools(TopLevelWindow& main) {
  TablessWorkspaceFrame* border = main.GetBorderFrame(LayoutManager::kLeft);
  ASSERT_TRUE(border);
  border->Undock(main.UI_LocalToGlobal({300, 120}), false);
  ui_testing::ProcessEvents(50);
}

// An arrangement of kivstudio's tour: the workspace it starts in and what is done there.
struct StudioArrangement {
  const char* name;
  const char* workspace;
  std::function<void(Studio&)> arrange;
};

std::vector<StudioArrangement> TourArrangements() {
  using kivworkspace::sharedui::ToolsTab;
  const auto tools = [](Studio& s) { return dynamic_cast<ToolsTab*>(s.FindPanel("ToolStrip")); };
  return {
      {"Cut, the tools pinned left", "Cut", nullptr},
      {"Colour, with a floating media bin and a stack", "Colour", nullptr},
      {"Audio, the transport bar pinned on top", "Audio", nullptr},
      {"the system workspace Review", "Review", nullptr},
      {"the system workspace Logging", "Logging", nullptr},
      {"a user workspace with the console", "Review",
       [](Studio& s) {
         s.TogglePanel(kivworkspace::sharedui::ConsolePanel::kTabType);
         s.GetWorkspaceManager()->CreateUserWorkspace(u"My Review");
       }},
      {"Scopes undocked, its window open", "Cut",
       [](Studio& s) {
         WorkspaceFrame* frame = FrameOf(s.FindPanel("Scopes"));
         ASSERT_TRUE(frame);
         frame->DoMenuCommand(frame->IndexOf(s.FindPanel("Scopes")), kCmdUndockPanel);
         EXPECT_EQ(s.GetWorkspace().GetWindows().size(), 2u);
       }},
      {"Scopes undocked, its window closed", "Cut",
       [](Studio& s) {
         WorkspaceFrame* frame = FrameOf(s.FindPanel("Scopes"));
         ASSERT_TRUE(frame);
         frame->DoMenuCommand(frame->IndexOf(s.FindPanel("Scopes")), kCmdUndockPanel);
         ui_testing::ProcessEvents(20);
         ui_testing::CloseWindow(*FrameOf(s.FindPanel("Scopes"))->GetTopLevelWindow());
         EXPECT_FALSE(s.FindPanel("Scopes"));
       }},
      {"the timeline's frame maximized", "Cut",
       [](Studio& s) {
         EXPECT_TRUE(WorkspaceUtils::ToggleThisFrameMaximizationState(s.GetWorkspace(), FrameOf(s.FindPanel("Timeline"))));
       }},
      {"the tools torn off into a floating window", "Cut",
       [tools](Studio& s) {
         TearOffTools(s.GetMainWindow());
         ASSERT_TRUE(tools(s));
         EXPECT_TRUE(tools(s)->IsRegularTab() && tools(s)->IsShowingWorkspaceSwitcher());
       }},
      {"the tools docked as a tab beside the timeline", "Cut",
       [tools](Studio& s) {
         TearOffTools(s.GetMainWindow());
         ASSERT_TRUE(tools(s));
         WorkspaceFrame* timeline = FrameOf(s.FindPanel("Timeline"));
         ASSERT_TRUE(timeline);
         DragTab(*tools(s), CentreZone(s.GetMainWindow(), *timeline));
         ASSERT_TRUE(tools(s));
         EXPECT_EQ(FrameOf(tools(s)), timeline);
         EXPECT_TRUE(tools(s)->IsRegularTab());
       }},
      {"the developer panels and the progress panel open", "Cut",
       [](Studio& s) {
         namespace sharedui = kivworkspace::sharedui;
         for (const char* type : {sharedui::ConsolePanel::kTabType, sharedui::DebugMonitorPanel::kTabType,
                                  sharedui::ThreadPanel::kTabType, sharedui::ThemeColorEditorPanel::kTabType,
                                  sharedui::ProgressPanel::kTabType})
           s.TogglePanel(type);
         EXPECT_TRUE(s.FindPanel(sharedui::ThreadPanel::kTabType) && s.FindPanel(sharedui::ProgressPanel::kTabType));
       }},
  };
}

TEST(KivstudioQuits, InEveryArrangementOfTheTourNothingOutlivesTheManager) {
  for (const StudioArrangement& arrangement : TourArrangements()) {
    SCOPED_TRACE(arrangement.name);
    TempDir prefs;
    ::setenv("KIV_PREF_DIR", prefs.path().c_str(), 1);
    std::vector<bool> managerThere;
    {
      Studio studio({0, 0, 1280, 800});
      studio.GetWorkspace().RegisterTabCreator(
          std::make_unique<QuitProbeCreator>([&studio] { return studio.GetWorkspaceManager() != nullptr; }, managerThere));
      studio.OpenWorkspaces(arrangement.workspace, false);
      studio.GetMainWindow().ShowWithState(kivui::OS_Window::kNormal);
      ui_testing::ProcessEvents(50);
      EXPECT_EQ(studio.GetWorkspaceName(), arrangement.workspace);
      if (arrangement.arrange) arrangement.arrange(studio);
      // The probe beside the timeline, or in the main window's first frame.
      WorkspaceFrame* frame = FrameOf(studio.FindPanel("Timeline"));
      for (WorkspaceFrameBase* any : studio.GetMainWindow().GetFrames())
        if (!frame) frame = dynamic_cast<WorkspaceFrame*>(any);
      ASSERT_TRUE(frame);
      frame->AddTab(kProbe, false);
      ui_testing::ProcessEvents(50);
      // Quitting, as kivstudio's main does after its event loop.
      studio.CloseWorkspaces();
    }
    EXPECT_EQ(managerThere, std::vector<bool>{true}) << "the probe panel went after the manager";
    EXPECT_EQ(WorkspaceSwitcherManager::Get()->GetWorkspaceManager(), nullptr) << "the switcher points at a manager gone";
    WorkspaceSwitcherManager::Forget();
    ui_testing::ProcessEvents();
  }
  ::unsetenv("KIV_PREF_DIR");
}

// A host made of the library's parts alone: a workspace with the shared panels and a tools
// tab serving the manager's workspaces pop-up and switcher bar, a manager of named
// workspaces on a preference folder, a switcher bar in the main window's chrome.
class PlainHost {
 public:
  explicit PlainHost(const TempDir& dir, std::vector<bool>& managerThere) {
    namespace sharedui = kivworkspace::sharedui;
    for (const char* type : {"A", "B", "C"}) workspace_->RegisterTabCreator(std::make_unique<NoteCreator>(type));
    workspace_->RegisterTabCreator(std::make_unique<ToolsCreator>(manager_));
    workspace_->RegisterTabCreator(std::make_unique<sharedui::ProgressPanel::TabCreator>());
    workspace_->RegisterTabCreator(std::make_unique<sharedui::ConsolePanel::TabCreator>());
    workspace_->RegisterTabCreator(sharedui::DebugMonitorPanel::CreateTabCreator());
    workspace_->RegisterTabCreator(std::make_unique<sharedui::ThreadPanel::TabCreator>());
    workspace_->RegisterTabCreator(std::make_unique<sharedui::ThemeColorEditorPanel_TabCreator>());
    workspace_->RegisterTabCreator(std::make_unique<QuitProbeCreator>([this] { return manager_ != nullptr; }, managerThere));
    main_ = workspace_->CreateMainTopLevelWindow({40, 40, 1100, 700});
    main_->UI_Show(true);
    manager_ = std::make_unique<Manager>(*workspace_, (dir / "SavedWorkspaces").u16string(), (dir / "ArchivedWorkspaces").u16string(),
                                         (dir / "WSMgrCfg").u16string(), &builtIns_, nullptr, false);
    manager_->Initialize();
    bar_ = std::make_shared<sharedui::WorkspaceSwitcherBar>(*manager_);
    main_->SetTopChrome(bar_, 30);
    EXPECT_TRUE(manager_->SetCurrentWorkspace(u"Edit"));
    ui_testing::ProcessEvents(20);
  }
  // Quits: the settings written, then whatever listens to the manager (the chrome's bar,
  // the workspace with its windows and panels, the process-wide switcher), the manager last.
  ~PlainHost() {
    manager_->FlushManagerSettings();
    main_->SetTopChrome(nullptr, 0);
    bar_.reset();
    main_.reset();
    workspace_.reset();
    if (WorkspaceSwitcherManager::Get()->GetWorkspaceManager() == manager_.get())
      WorkspaceSwitcherManager::Get()->AttachWorkspaceManager(nullptr);
    manager_.reset();
  }

  Workspace& GetWorkspace() { return *workspace_; }
  TopLevelWindow& GetMain() { return *main_; }
  Manager& GetManager() { return *manager_; }
  WorkspaceFrame* FrameOfType(const std::string& type) { return FrameOf(WorkspaceUtils::FindFirstTabOfType(*workspace_, type)); }

 private:
  // The tools tab, with the manager's pop-up and switcher bar.
  class ToolsCreator : public TabCreator {
   public:
    explicit ToolsCreator(const std::unique_ptr<Manager>& manager) : TabCreator("Tools"), manager_(manager) {}
    TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
      auto tab = std::make_shared<kivworkspace::sharedui::ToolsTab>(w, f, "Tools", u"Tools", manager_.get());
      tab->ShowWorkspacePopup(true);
      tab->ShowWorkspaceSwitcher(true);
      tab->ShowSearchBox(true);
      return tab;
    }

   private:
    const std::unique_ptr<Manager>& manager_;
  };

  TestBuiltIns builtIns_;
  std::unique_ptr<Manager> manager_;
  std::shared_ptr<Workspace> workspace_ = std::make_shared<Workspace>();
  std::shared_ptr<TopLevelWindow> main_;
  std::shared_ptr<kivworkspace::sharedui::WorkspaceSwitcherBar> bar_;
};

TEST(PlainHostQuits, WithItsToolsAndSharedPanelsAnywhereNothingOutlivesTheManager) {
  using Arrange = std::function<void(PlainHost&)>;
  const std::vector<std::pair<const char*, Arrange>> arrangements = {
      {"the tools pinned left", [](PlainHost& h) { h.GetMain().SetStaticElement("Tools", LayoutManager::kLeft, true); }},
      {"the tools as a tab beside A", [](PlainHost& h) { h.FrameOfType("A")->AddTab("Tools", true); }},
      {"the tools in a floating window",
       [](PlainHost& h) {
         WorkspaceFrame* frame = h.FrameOfType("A");
         frame->DoMenuCommand(frame->IndexOf(frame->AddTab("Tools", true)), kCmdUndockPanel);
         EXPECT_EQ(h.GetWorkspace().GetWindows().size(), 2u);
       }},
      {"the tools pinned left, then torn off",
       [](PlainHost& h) {
         h.GetMain().SetStaticElement("Tools", LayoutManager::kLeft, true);
         ui_testing::ProcessEvents(20);
         TearOffTools(h.GetMain());
       }},
      {"the shared panels beside B",
       [](PlainHost& h) {
         namespace sharedui = kivworkspace::sharedui;
         for (const char* type : {sharedui::ConsolePanel::kTabType, sharedui::DebugMonitorPanel::kTabType,
                                  sharedui::ThreadPanel::kTabType, sharedui::ThemeColorEditorPanel::kTabType,
                                  sharedui::ProgressPanel::kTabType, "Tools"})
           h.FrameOfType("B")->AddTab(type, true);
       }},
      {"a user workspace with the tools as a tab",
       [](PlainHost& h) {
         h.FrameOfType("B")->AddTab("Tools", true);
         h.GetManager().CreateUserWorkspace(u"Mine");
       }},
  };
  TempDir dir;
  for (const auto& [name, arrange] : arrangements) {
    SCOPED_TRACE(name);
    std::vector<bool> managerThere;
    {
      PlainHost host(dir, managerThere);
      arrange(host);
      ui_testing::ProcessEvents(50);
      WorkspaceFrame* frame = host.FrameOfType("B");
      ASSERT_TRUE(frame);
      frame->AddTab(kProbe, false);
    }
    EXPECT_EQ(managerThere, std::vector<bool>{true}) << "the probe panel went after the manager";
    EXPECT_EQ(WorkspaceSwitcherManager::Get()->GetWorkspaceManager(), nullptr);
    WorkspaceSwitcherManager::Forget();
    ui_testing::ProcessEvents();
  }
}

}  // namespace
