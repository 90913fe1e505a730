#include "Tour.h"

#include "Studio.h"
#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/testing/Input.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "services/ui/testing/Snapshot.h"
#include "StudioArrangements.h"
#include "StudioPanels.h"
#include "StudioScript.h"
#include "StudioTools.h"
#include "services/ui/controls/UI_Button.h"
#include "sharedui/ToolMap.h"
#include "sharedui/ToolPictureButton.h"
#include "sharedui/ToolsTab.h"
#include "http/HTTPDownloadManager.h"
#include "http/HTTPDownloadStream.h"
#include "services/ui/progress/ProgressCategoryContainerView.h"
#include "sharedui/ProgressPanel.h"
#include "support/TestHttpServer.h"
#include "workspaceutils/URLImporter.h"
#include "services/ui/events/CursorPos.h"
#include "workspace/drag/DropZoneOverlayWindow.h"
#include "workspace/frames/FrameChild.h"
#include "workspace/manager/Manager.h"
#include "services/core/MainThread.h"
#include "services/ui/controls/UI_Popup.h"
#include "services/ui/dialogs/UI_Dialog.h"
#include "services/ui/node/UI_NodeManager.h"
#include "scripting/IndicatorOverlayObj.h"
#include "scripting/IndicatorOverlayWindow.h"
#include "services/ui/console/ConsoleView.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/events/KeyboardEvent.h"
#include "sharedui/ConsolePanel.h"
#include "sharedui/DebugMonitorPanel.h"
#include "sharedui/DebugMonitorPanelView.h"
#include "sharedui/ThreadHistoryView.h"
#include "sharedui/ThemeColorEditorPanel.h"
#include "sharedui/ThreadPanel.h"
#include "services/ui/draw/ThemeColors.h"
#include "StudioWorkspaces.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "sharedui/WorkspaceSwitcherBarDragHandle.h"
#include "sharedui/WorkspaceSwitcherBarTabWell.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/frames/StackedWorkspaceFrame.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/frames/TablessWorkspaceFrame.h"
#include "workspace/frames/WorkspaceBorderElementResizeHandle.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

namespace kivstudio {
namespace {

using kivworkspace::workspace::DropZone;
using kivworkspace::workspace::TabDragger;
using kivworkspace::workspace::TabPanel;
using kivworkspace::workspace::TopLevelWindow;
using kivworkspace::workspace::WorkspaceFrame;
namespace ui_testing = kivui::testing;

// Pointer input made by the window system itself (xdotool through the X server), so that
// drags meet the real grabs, activation and event order a user's would; without X11
// (offscreen) the same gestures enter the event loop as injected events.
class WindowSystemPointer {
 public:
  WindowSystemPointer() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    x11_ = std::getenv("DISPLAY") && !(platform && std::string(platform) == "offscreen") &&
           std::system("command -v xdotool >/dev/null 2>&1") == 0;
  }
  bool IsWindowSystem() const { return x11_; }
  void Press(kivcore::Point p) {
    Move(p);
    if (!x11_) return ui_testing::MousePressAt(p);
    Run("mousedown 1");
  }
  void Move(kivcore::Point p) {
    if (!x11_) return ui_testing::MouseMoveTo(p);
    Run("mousemove --sync " + std::to_string(p.x) + " " + std::to_string(p.y));
  }
  void Release(kivcore::Point p) {
    if (!x11_) return ui_testing::MouseReleaseAt(p);
    Run("mouseup 1");
  }
  // A key pressed and released (an X key name such as "Escape"); only with the window system.
  void Key(const std::string& name) {
    if (x11_) Run("key " + name);
  }
  // Moves in straight steps, the way a hand does.
  void MoveAlong(kivcore::Point from, kivcore::Point to, int steps) {
    for (int i = 1; i <= steps; ++i)
      Move({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  }

 private:
  void Run(const std::string& args) {
    if (std::system(("xdotool " + args).c_str()) != 0) std::printf("xdotool %s failed\n", args.c_str());
    ui_testing::ProcessEvents(30);
  }
  bool x11_ = false;
};

class TourRun {
 public:
  TourRun(Studio& studio, std::string dir) : studio_(studio), dir_(std::move(dir)) {}

  int Run() {
    std::filesystem::create_directories(dir_);
    Settle();
    Check("the Cut arrangement has six frames", Window().GetFrameCount() == 6);
    Check("the tools are pinned to the left of the window",
          Window().GetStaticElement(kivworkspace::workspace::LayoutManager::kLeft) ==
              studio_.FindPanel("ToolStrip"));
    Check("frames tile the window", FramesTile());
    cutRects_ = FrameRects();
    Shot("01-cut");

    SwitchTabs();
    CloseAndReopen();
    UndockCloseAndReopenWindow();
    SwitchArrangements();
    SaveAndRestore();
    NamedWorkspaces();
    SwitcherBar();
    MaximizeFrame();
    DragBar();
    StackedPanels();
    DockByDragging();
    PinnedBars();
    Tools();
    DeveloperPanels();
    ThemeEditor();
    ScriptOverlay();
    ImportFromURL();
    ResizeWindow();
    std::printf("tour: %d check(s) failed\n", failures_);
    return failures_;
  }

 private:
  TopLevelWindow& Window() { return studio_.GetMainWindow(); }

  void Settle() { ui_testing::ProcessEvents(50); }

  void Check(const char* what, bool ok) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    failures_ += !ok;
  }

  void Shot(const std::string& name) { Shot(name, Window()); }
  void Shot(const std::string& name, const kivui::UI_Node& window) {
    Settle();
    const std::string path = (std::filesystem::path(dir_) / (name + ".png")).string();
    ui_testing::SaveSnapshotPNG(window, path);
    std::printf("screenshot: %s\n", path.c_str());
  }

  // The Window menu's title in the menu bar, and its command that toggles a panel type.
  // The menu bar's Window and Workspace menus, 72 pixels wide from x = 96.
  kivcore::Point WindowMenuPoint() { return Window().UI_LocalToGlobal({204, 12}); }
  kivcore::Point WorkspaceMenuPoint() { return Window().UI_LocalToGlobal({276, 12}); }
  static int PanelCommand(const std::string& type) {
    for (std::size_t i = 0; i < PanelTypes().size(); ++i) {
      if (std::string(PanelTypes()[i].tabType) == type) return int(i) + 1;
    }
    return 0;
  }

  // Chooses a panel type in the Window menu, as a user would.
  void ChooseInWindowMenu(const std::string& type) {
    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(PanelCommand(type));
    ui_testing::ClickAt(WindowMenuPoint());
    Check("the Window menu was shown", answers->GetAsked().size() == 1);
  }

  // Whether the Window menu shows the panel type as open (checked).
  bool ListedAsOpen(const std::string& type) {
    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Cancel();
    ui_testing::ClickAt(WindowMenuPoint());
    const kivui::OSMenu* menu = answers->GetAsked().empty() ? nullptr : answers->GetAsked().back().menu;
    const kivui::OSMenu::Item* item = menu ? menu->FindCommand(PanelCommand(type)) : nullptr;
    return item && item->checked;
  }

  WorkspaceFrame* FrameOf(const std::string& type) {
    TabPanel* panel = studio_.FindPanel(type);
    return panel ? dynamic_cast<WorkspaceFrame*>(panel->GetFrame()) : nullptr;
  }

  // The global centre of the tab of a panel, or of its close box.
  kivcore::Point TabPoint(const std::string& type, bool closeBox) {
    WorkspaceFrame* frame = FrameOf(type);
    TabPanel* panel = studio_.FindPanel(type);
    const int index = frame->GetTabWell().IndexOfTab(int(panel->GetID()));
    const kivcore::RectF r = closeBox ? frame->GetTabWell().GetCloseBoxRect(index) : frame->GetTabWell().GetTabRect(index);
    return frame->GetTabWell().UI_LocalToGlobal({int(r.left + r.width / 2), int(r.top + r.height / 2)});
  }

  std::vector<kivcore::Rect> FrameRects() {
    std::vector<kivcore::Rect> rects;
    for (auto* frame : Window().GetFrames()) rects.push_back(frame->GetFrameLocalRect());
    return rects;
  }

  // Every shown frame lies inside the client area and no two overlap.
  bool FramesTile() {
    const kivcore::Rect client = Window().GetClientRect();
    std::vector<kivcore::Rect> rects;
    for (auto* frame : Window().GetFrames()) {
      if (!frame->IsShown()) continue;
      const kivcore::Rect r = frame->GetFrameLocalRect();
      if (!client.Contains(r)) return false;
      for (const auto& other : rects) {
        if (other.Intersects(r)) return false;
      }
      rects.push_back(r);
    }
    return !rects.empty();
  }

  void SwitchTabs() {
    ui_testing::ClickAt(TabPoint("EffectsLibrary", false));
    WorkspaceFrame* media = FrameOf("EffectsLibrary");
    Check("a click on the Effects Library tab brings it to the front",
          media && media->GetFrontTabPanel() && media->GetFrontTabPanel()->GetTabType() == "EffectsLibrary");
    Check("the clicked panel has the keyboard focus",
          studio_.GetWorkspace().GetFocusedTabPanel() == studio_.FindPanel("EffectsLibrary"));
    Shot("02-switch-tab");
  }

  void CloseAndReopen() {
    WorkspaceFrame* bins = FrameOf("Markers");
    const unsigned frames = Window().GetFrameCount(), tabs = bins ? bins->GetTabCount() : 0;
    ui_testing::ClickAt(TabPoint("Markers", false));
    ui_testing::ClickAt(TabPoint("Markers", true));
    Check("the Markers close box closes the panel", studio_.FindPanel("Markers") == nullptr);
    Check("its frame keeps a record to bring it back",
          bins && bins->GetTabCount() + 1 == tabs && bins->CanReanimateTab("Markers") && Window().GetFrameCount() == frames);
    Check("the frame fronts the tab that took its place", bins && bins->GetFrontTabPanel() != nullptr);
    Shot("03-closed-markers");

    // Reopen it from the Window menu, as a user would.
    ChooseInWindowMenu("Markers");
    Check("the Window menu reopens Markers in its frame, in front",
          FrameOf("Markers") == bins && bins->GetFrontTabPanel().get() == studio_.FindPanel("Markers") &&
              !bins->CanReanimateTab("Markers"));
    Check("frames still tile the window", FramesTile());
    Shot("04-reopened-markers");
  }

  // Undock Scopes from its frame's menu, close the floating window with the window
  // system's close, and bring it back from the Window menu where it was.
  void UndockCloseAndReopenWindow() {
    WorkspaceFrame* mixer = FrameOf("Scopes");
    ui_testing::ClickAt(TabPoint("Scopes", false));
    {
      auto answers = ui_testing::ScriptedAnswers::Install();
      answers->Command(kivworkspace::workspace::kCmdUndockPanel);
      const kivcore::Rect well = mixer->GetTabWellGlobalRect();
      ui_testing::ClickAt({well.Right() + 8, well.top + well.height / 2});  // the menu button
    }
    TopLevelWindow* floating = FrameOf("Scopes") ? FrameOf("Scopes")->GetTopLevelWindow() : nullptr;
    Check("Undock Panel puts Scopes in a floating window", floating && !floating->IsMain() && floating->IsShown());
    if (!floating) return;
    Shot("04a-undocked-scopes", *floating);
    const kivcore::Rect where = floating->GetGlobalStructureRect();

    ui_testing::CloseWindow(*floating);
    Check("closing the floating window takes it out of the workspace",
          studio_.GetWorkspace().GetWindows().size() == 1 && studio_.FindPanel("Scopes") == nullptr);
    Check("the Window menu no longer lists Scopes as open", !ListedAsOpen("Scopes"));

    ChooseInWindowMenu("Scopes");
    TopLevelWindow* back = FrameOf("Scopes") ? FrameOf("Scopes")->GetTopLevelWindow() : nullptr;
    Settle();
    Check("the Window menu brings Scopes back in a floating window, shown",
          back && !back->IsMain() && back->IsShown() && studio_.GetWorkspace().GetWindows().size() == 2);
    Check("the window comes back where it was", back && back->GetGlobalStructureRect() == where);
    Check("Scopes is listed as open again", ListedAsOpen("Scopes"));
    if (back) Shot("04b-reopened-scopes", *back);
  }

  // The Window menu's arrangements: each rebuilds the windows, keeping the panel objects
  // whose types it shows.
  void SwitchArrangements() {
    TabPanel* timeline = studio_.FindPanel("Timeline");
    ChooseArrangement("Colour");
    auto windows = studio_.GetWorkspace().GetWindows();
    Check("Colour has five frames and a floating window holding the media bin",
          Window().GetFrameCount() == 5 && windows.size() == 2 && windows[1]->IsShown() &&
              FrameOf("MediaBin") && FrameOf("MediaBin")->GetTopLevelWindow() == windows[1]);
    Check("the timeline panel is the same object in Colour", studio_.FindPanel("Timeline") == timeline);
    Check("Colour's frames tile the window", FramesTile());
    Shot("07-colour");
    if (windows.size() == 2) Shot("07a-colour-media-bin", *windows[1]);

    ChooseArrangement("Audio");
    Check("Audio has five frames, the transport bar on top and no floating window",
          Window().GetFrameCount() == 5 && studio_.GetWorkspace().GetWindows().size() == 1 &&
              Window().GetStaticElement(kivworkspace::workspace::LayoutManager::kTop) ==
                  studio_.FindPanel("Transport"));
    Check("Audio's frames tile the window", FramesTile());
    Shot("08-audio");
    ChooseArrangement("Cut");
    Check("back to Cut: six frames that tile the window, no transport bar",
          Window().GetFrameCount() == 6 && FramesTile() && !studio_.FindPanel("Transport"));
    Check("back to Cut: every frame where it was at the start", FrameRects() == cutRects_);
  }

  // What kivstudio does when it quits and starts again: the workspace the user left comes
  // back in a new studio on the same preference folder as it was left; a damaged workspace
  // file is left out with its reason and the studio starts in "Cut".
  void SaveAndRestore() {
    for (const std::string& name : ArrangementNames()) {
      ChooseArrangement(name);
      studio_.CloseWorkspaces();
      Studio copy(Window().GetGlobalContentRect());
      copy.OpenWorkspaces("Cut", false);
      Settle();
      Check((name + " comes back in a new studio as it was left").c_str(),
            copy.GetWorkspaceName() == name && copy.SaveDefinition() == studio_.SaveDefinition());
    }
    studio_.AttachSwitcher();
    ChooseArrangement("Colour");
    studio_.CloseWorkspaces();
    RestoreInNewStudios();
    ChooseArrangement("Cut");
  }

  // New studios over the tour's own window, gone before the tour goes on.
  void RestoreInNewStudios() {
    {
      Studio again(Window().GetGlobalContentRect());
      again.OpenWorkspaces("Cut", false);
      Check("a new studio starts in the workspace left", again.GetWorkspaceName() == "Colour");
      Check("it has the saved windows and frames",
            again.GetMainWindow().GetFrameCount() == 5 && again.GetWorkspace().GetWindows().size() == 2);
      Settle();
      Shot("09-restored-colour", again.GetMainWindow());
    }
    studio_.AttachSwitcher();
    // A workspace of the user's own, left current, whose file is then damaged.
    NewWorkspace("Damaged");
    studio_.CloseWorkspaces();
    const std::string file = kivcore::UTF16to8(studio_.GetWorkspaceManager()->GetStoredStates(u"Damaged").current);
    { std::ofstream(file, std::ios::trunc) << "<proplist><string k=\"KIV_Wrkspce\" v=\"1.2\"/>"; }
    {
      Studio fallback(Window().GetGlobalContentRect());
      const std::vector<std::string> reasons = fallback.OpenWorkspaces("Cut", false);
      const auto names = fallback.GetWorkspaceNames();
      Check("a damaged workspace file is left out with its reason and the studio starts in Cut",
            !reasons.empty() && fallback.GetWorkspaceName() == "Cut" && fallback.GetMainWindow().GetFrameCount() == 6 &&
                std::find(names.begin(), names.end(), "Damaged") == names.end());
      for (const std::string& reason : reasons) std::printf("left out: %s\n", reason.c_str());
    }
    studio_.AttachSwitcher();
    ChooseArrangement("Cut");
    studio_.GetWorkspaceManager()->DeleteUserWorkspace(u"Damaged");
  }

  // Chooses a workspace from the Workspace menu.
  void ChooseArrangement(const std::string& name) {
    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(studio_.WorkspaceCommandFor(name));
    ui_testing::ClickAt(WorkspaceMenuPoint());
    Settle();
    Check(("the Workspace menu chose " + name).c_str(), studio_.GetWorkspaceName() == name);
  }

  // Workspaces of three kinds from the Workspace menu: a built-in one, a system one shipped
  // with kivstudio, and one of the user's own made with New Workspace..., then renamed,
  // reset and deleted.
  void NamedWorkspaces() {
    const auto names = studio_.GetWorkspaceNames();
    const auto offered = [&](const char* name) { return std::find(names.begin(), names.end(), name) != names.end(); };
    Check("the Workspace menu offers the built-in and the system workspaces",
          offered("Cut") && offered("Colour") && offered("Audio") && offered("Review") && offered("Logging"));
    ChooseArrangement("Audio");
    Shot("12a-built-in-audio");
    ChooseArrangement("Review");
    WorkspaceFrame* scopes = FrameOf("Scopes");
    WorkspaceFrame* clip = FrameOf("ClipViewer");
    Check("Review comes from its system file: Scopes large above, the clip viewer below",
          scopes && clip && Window().GetFrameGlobalRect(*scopes).Bottom() <= Window().GetFrameGlobalRect(*clip).top);
    Shot("12b-system-review");

    studio_.TogglePanel("ConsolePanel");
    NewWorkspace("My Review");
    Check("the user's workspace keeps the console the user added", FrameOf("ConsolePanel") != nullptr);
    Check("the Workspace menu shows it checked", MenuShowsCurrent("My Review"));
    Shot("12c-user-my-review");

    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(Studio::kRenameWorkspace).Text("Evening Review");
    ui_testing::ClickAt(WorkspaceMenuPoint());
    Settle();
    Check("Rename Workspace... renames the current workspace", studio_.GetWorkspaceName() == "Evening Review");

    studio_.TogglePanel("ConsolePanel");
    ResetWorkspace();
    Check("Reset to Saved Layout brings back the layout the workspace was made with", FrameOf("ConsolePanel") != nullptr);

    ChooseArrangement("Cut");
    answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(Studio::kDeleteWorkspace).Dialog([](kivui::UI_Dialog& d) {
      auto* popup = dynamic_cast<kivui::UI_Popup*>(d.Find("Workspaces Popup"));
      for (const auto& item : popup ? popup->GetItems() : std::vector<kivui::UI_Popup::Item>{})
        if (item.text == "Evening Review") popup->SetSelectedID(item.id);
    });
    ui_testing::ClickAt(WorkspaceMenuPoint());
    Settle();
    const auto left = studio_.GetWorkspaceNames();
    Check("Delete Workspace... deletes the workspace chosen",
          std::find(left.begin(), left.end(), "Evening Review") == left.end() && studio_.GetWorkspaceName() == "Cut");
  }

  // Whether the Workspace menu lists the name checked.
  bool MenuShowsCurrent(const std::string& name) {
    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(0);
    ui_testing::ClickAt(WorkspaceMenuPoint());
    const kivui::OSMenu* menu = answers->GetAsked().empty() ? nullptr : answers->GetAsked().back().menu;
    if (!menu) return false;
    for (const auto& item : menu->GetItems())
      if (item.checked) return item.text == name;
    return false;
  }

  // The switcher bar above the panels: a click on a tab switches, the handle narrows the
  // row until workspaces overflow into its menu, the current tab's menu saves a new
  // workspace and resets one, and Edit Workspaces... opens the dialog.
  void SwitcherBar() {
    using kivworkspace::sharedui::WorkspaceSwitcherBar;
    using kivworkspace::sharedui::WorkspaceSwitcherDialog;
    using kivworkspace::sharedui::WorkspaceSwitcherManager;
    WorkspaceSwitcherBar* bar = studio_.GetSwitcherBar();
    if (!bar) return Check("the switcher bar is there", false);
    auto& well = bar->GetTabWell();
    const auto tabCentre = [&](const std::string& name) {
      for (int i = 0; i < well.GetTabCount(); ++i)
        if (well.GetTab(i).text == name) return Centre(well, well.GetTabRect(i));
      return kivcore::Point{};
    };
    const kivcore::RectF chrome = bar->LocalRectToGlobalF(bar->GetLocalBounds());
    const kivcore::Rect strip{0, int(chrome.top) - 2, Window().GetGlobalContentRect().width, int(chrome.height) + 4};
    pointer_.Press(tabCentre("Colour"));
    pointer_.Release(tabCentre("Colour"));
    Settle();
    Check("a click on the Colour tab of the switcher bar switches to Colour", studio_.GetWorkspaceName() == "Colour");
    ScreenShot("13a-switcher-bar", strip);

    const kivcore::Point grip = Centre(bar->GetDragHandle(), bar->GetDragHandle().GetLocalBounds());
    pointer_.Press(grip);
    pointer_.MoveAlong(grip, {grip.x - 70, grip.y}, 8);
    pointer_.Release({grip.x - 70, grip.y});
    Settle();
    const auto overflow = *WorkspaceSwitcherManager::Get()->GetOverflowWorkspaceList();
    Check("dragging the handle narrows the bar and moves workspaces into the overflow menu", !overflow.empty());
    if (pointer_.IsWindowSystem()) {
      // The real menu, pictured while it is open, then closed with Escape.
      kivcore::threads::AsyncCallFromMainThread([this] {
        ScreenShot("13b-overflow-menu");
        pointer_.Key("Escape");
      }, 600);
      const kivcore::Point button = Centre(well, well.GetOverflowButtonRect());
      pointer_.Press(button);
      pointer_.Release(button);
      Settle();
    }
    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(well.GetTab(well.GetTabCount() - 1).id);
    ui_testing::ClickAt(Centre(well, well.GetOverflowButtonRect()));
    Settle();
    Check("choosing from the overflow menu switches", studio_.GetWorkspaceName() == kivcore::UTF16to8(overflow.back()));

    // The bar wide again; Cut chosen on it.
    const auto widen = [&] {
      const kivcore::Point at = Centre(bar->GetDragHandle(), bar->GetDragHandle().GetLocalBounds());
      pointer_.Press(at);
      pointer_.MoveAlong(at, {at.x + 400, at.y}, 8);
      pointer_.Release({at.x + 400, at.y});
      Settle();
    };
    widen();
    Check("widened again, every workspace is on the bar", WorkspaceSwitcherManager::Get()->GetOverflowWorkspaceList()->empty());
    pointer_.Press(tabCentre("Cut"));
    pointer_.Release(tabCentre("Cut"));
    Settle();

    // Save as New Workspace... from the current tab's menu.
    const std::string from = studio_.GetWorkspaceName();
    Check("a click on the Cut tab switches back", from == "Cut");
    answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(WorkspaceSwitcherBar::kSaveAsNew).Text("Tour Cut");
    ui_testing::ClickAt(tabCentre(from));
    Settle();
    Check("Save as New Workspace... from the tab menu makes and switches to a new workspace",
          studio_.GetWorkspaceName() == "Tour Cut" && answers->Pending() == 0);
    widen();
    // The console closed (a toggle brings it to the front first), then the layout reset.
    for (int i = 0; i < 2 && studio_.FindPanel("ConsolePanel"); ++i) studio_.TogglePanel("ConsolePanel");
    const bool closed = studio_.FindPanel("ConsolePanel") == nullptr;
    answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(WorkspaceSwitcherBar::kResetToSavedLayout);
    ui_testing::ClickAt(tabCentre("Tour Cut"));
    Settle();
    Check("Reset to Saved Layout from the tab menu brings back the console closed since",
          closed && studio_.FindPanel("ConsolePanel") != nullptr);

    // Edit Workspaces..., the real dialog: the current workspace dragged from the bar's
    // section to Do Not Show, pictured, and applied with OK.
    bool dropped = false;
    kivcore::threads::AsyncCallFromMainThread([this, &dropped] {
      auto* dialog = dynamic_cast<WorkspaceSwitcherDialog*>(kivui::UI_NodeManager::Get().GetModalWindow());
      if (!dialog) return;
      Settle();
      if (pointer_.IsWindowSystem()) {
        auto& tree = dialog->GetTree();
        const auto rowPoint = [&](int row) {
          const kivcore::RectF r = tree.LocalRectToGlobalF(tree.GetRowRect(row));
          return kivcore::Point{int(r.left + 60), int(r.top + r.height / 2)};
        };
        const kivcore::Point from = rowPoint(dialog->FindRow(u"Tour Cut"));
        const kivcore::Point to = rowPoint(WorkspaceSwitcherDialog::kHiddenRow);
        // Once the drag starts it runs its own event loop: the rest of the gesture comes
        // from inside it.
        kivcore::threads::AsyncCallFromMainThread([this, from, to] {
          pointer_.MoveAlong({from.x, from.y - 20}, to, 6);
          pointer_.Release(to);
        }, 300);
        pointer_.Press(from);
        pointer_.MoveAlong(from, {from.x, from.y - 20}, 4);
        Settle();
        const auto hidden = dialog->GetSectionNames(WorkspaceSwitcherDialog::kHiddenRow);
        dropped = std::find(hidden.begin(), hidden.end(), u"Tour Cut") != hidden.end();
      }
      Shot("13c-edit-workspaces", *dialog);
      dialog->EndModal(kivui::UI_Dialog::kOK);
    }, 600);
    answers.reset();
    studio_.GetWorkspace().DoWorkspaceCmdEdit();
    Settle();
    if (pointer_.IsWindowSystem()) {
      const auto* hidden = WorkspaceSwitcherManager::Get()->GetHiddenWorkspaceList();
      Check("in Edit Workspaces the current workspace is dragged to Do Not Show; after OK its tab is gone and it stays current",
            dropped && std::find(hidden->begin(), hidden->end(), u"Tour Cut") != hidden->end() && tabCentre("Tour Cut") == kivcore::Point{} &&
                studio_.GetWorkspaceName() == "Tour Cut");
    }

    ChooseArrangement("Cut");
    ScreenShot("13d-switcher-bar-wide", strip);
  }

  kivcore::Point Centre(const kivui::UI_Node& node, const kivcore::RectF& local) {
    const kivcore::RectF r = node.LocalRectToGlobalF(local);
    return {int(r.left + r.width / 2), int(r.top + r.height / 2)};
  }

  // Reset to Saved Layout from the Workspace menu: a built-in workspace is built afresh.
  void ResetWorkspace() {
    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(Studio::kResetWorkspace);
    ui_testing::ClickAt(WorkspaceMenuPoint());
    Settle();
  }

  // New Workspace... from the Workspace menu, named through the name box.
  void NewWorkspace(const std::string& name) {
    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(Studio::kNewWorkspace).Text(name);
    ui_testing::ClickAt(WorkspaceMenuPoint());
    Settle();
    Check(("New Workspace... made " + name).c_str(), studio_.GetWorkspaceName() == name && answers->Pending() == 0);
  }

  void MaximizeFrame() {
    const std::vector<kivcore::Rect> before = FrameRects();
    ui_testing::DoubleClickAt(TabPoint("Timeline", false));
    WorkspaceFrame* timeline = FrameOf("Timeline");
    Check("a double click on the Timeline tab maximizes its frame",
          timeline && Window().GetMaximizedFrame() == timeline);
    int shown = 0;
    for (auto* frame : Window().GetFrames()) shown += frame->IsShown();
    Check("only the maximized frame is shown", shown == 1);
    Shot("05-maximized-timeline");
    ui_testing::DoubleClickAt(TabPoint("Timeline", false));
    Check("a second double click restores the frames", Window().GetMaximizedFrame() == nullptr && FramesTile());
    Check("every frame is back where it was", FrameRects() == before);
  }

  // The bar between the timeline and the mixer, dragged 120 pixels to the left.
  void DragBar() {
    WorkspaceFrame* timeline = FrameOf("Timeline");
    WorkspaceFrame* mixer = FrameOf("AudioMixer");
    if (!timeline || !mixer) return Check("the timeline and the mixer are there to drag between", false);
    const kivcore::Rect t = timeline->GetFrameLocalRect(), m = mixer->GetFrameLocalRect();
    const kivcore::Rect clip = FrameOf("ClipViewer")->GetFrameLocalRect();
    const kivcore::Point bar{(t.Right() + m.left) / 2, t.top + t.height / 2};
    Check("the pointer is on a bar there",
          Window().GetLayoutManager().HitCheckCursor(bar.x, bar.y) == kivworkspace::workspace::LayoutManager::kVerticalBar);
    ui_testing::DragFromTo(Window().UI_LocalToGlobal(bar), Window().UI_LocalToGlobal({bar.x - 120, bar.y}), 12);
    Settle();
    Check("dragging the bar narrows the timeline and widens the mixer by as much",
          std::abs(timeline->GetFrameLocalRect().width - (t.width - 120)) <= 2 &&
              std::abs(mixer->GetFrameLocalRect().width - (m.width + 120)) <= 2);
    Check("frames still tile the window", FramesTile());
    Check("frames away from the bar keep their places", FrameOf("ClipViewer")->GetFrameLocalRect() == clip);
    Shot("06a-dragged-bar");
  }

  // A tab pressed and pulled out of its well: the drag has begun.
  TabDragger* PullOutTab(const std::string& type) {
    const kivcore::Point tab = TabPoint(type, false);
    pointer_.Press(tab);
    pointer_.MoveAlong(tab, {tab.x + 10, tab.y + 60}, 6);
    return dynamic_cast<TabDragger*>(studio_.GetWorkspace().GetTracker());
  }
  // Drags a panel's tab to the point and lets go there; `atTarget` runs before the release,
  // with the drag in progress. False when no drag began.
  bool DragTabTo(const std::string& type, kivcore::Point to,
                 const std::function<void(TabDragger&)>& atTarget) {
    TabDragger* dragger = PullOutTab(type);
    if (!dragger) {
      pointer_.Release(kivui::GetGlobalCursorPos());
      return false;
    }
    pointer_.MoveAlong(kivui::GetGlobalCursorPos(), to, 10);
    Settle();
    if (auto* d = dynamic_cast<TabDragger*>(studio_.GetWorkspace().GetTracker())) atTarget(*d);
    pointer_.Release(to);
    Settle();
    return true;
  }
  kivcore::Point ZoneCentre(WorkspaceFrame& frame, DropZone::DropType type) {
    for (const DropZone& z : Window().GetFrameDropZones(frame))
      if (z.GetType() == type) return z.GetCentre();
    return {};
  }
  kivcore::Rect Screen() { return {0, 0, 1600, 1000}; }
  void ScreenShot(const std::string& name) { ScreenShot(name, Screen()); }
  void ScreenShot(const std::string& name, const kivcore::Rect& area) {
    Settle();
    const std::string path = (std::filesystem::path(dir_) / (name + ".png")).string();
    ui_testing::SaveScreenSnapshotPNG(area, path);
    std::printf("screenshot: %s\n", path.c_str());
  }

  // Docking with the mouse: Markers beside the timeline, Scopes torn off into a floating
  // window and docked back along the main window's right edge.
  void DockByDragging() {
    std::printf("pointer: %s\n", pointer_.IsWindowSystem() ? "the window system's (xdotool)" : "injected events");
    ResetWorkspace();
    Check("Reset to Saved Layout builds Cut afresh: its six frames where they were at the start, no floating window",
          FrameRects() == cutRects_ && studio_.GetWorkspace().GetWindows().size() == 1);
    WorkspaceFrame* timeline = FrameOf("Timeline");
    if (!timeline || !FrameOf("Markers")) return Check("the timeline and the markers are there", false);
    kivcore::Rect preview;
    bool overlayShown = false;
    const bool dragged = DragTabTo("Markers", ZoneCentre(*timeline, DropZone::kLeft), [&](TabDragger& d) {
      preview = d.GetPreviewRect();
      overlayShown = Window().GetFrameDropZoneOverlay() != nullptr && d.GetActiveDropType() == DropZone::kLeft;
      ScreenShot("07a-drag-overlay");
    });
    Check("pulling the Markers tab out of its well starts a drag", dragged);
    Check("over the timeline's left zone the overlay shows it active", overlayShown);
    WorkspaceFrame* markers = FrameOf("Markers");
    Check("Markers landed in a frame of its own left of the timeline, where the preview showed",
          markers && markers->GetTabCount() == 1 && markers != timeline &&
              Window().GetFrameGlobalRect(*markers) == preview &&
              Window().GetFrameGlobalRect(*markers).Right() <= Window().GetFrameGlobalRect(*timeline).left);
    Check("frames still tile the window", FramesTile());
    Shot("07b-docked-beside-timeline");

    const kivcore::Rect main = Window().GetGlobalStructureRect();
    const kivcore::Point outside{main.Right() + 70, main.top + 300};
    DragTabTo("Scopes", outside, [](TabDragger&) {});
    WorkspaceFrame* scopes = FrameOf("Scopes");
    TopLevelWindow* floating = scopes ? scopes->GetTopLevelWindow() : nullptr;
    Check("let go outside the window, Scopes floats in a window of its own at the pointer",
          floating && floating != &Window() && !floating->IsInterim() &&
              floating->GetGlobalStructureRect().Contains(outside));
    Check("the Window menu still lists Scopes as open", ListedAsOpen("Scopes"));
    ScreenShot("08-torn-off");

    kivcore::Rect edge;
    Window().GetEdgeDropZoneRect(DropZone::kRight, edge, true);
    const kivcore::Point right{edge.left + edge.width / 2, edge.top + edge.height / 2};
    DragTabTo("Scopes", right, [&](TabDragger& d) {
      preview = d.GetPreviewRect();
      overlayShown = Window().GetEdgeDropZoneOverlay() != nullptr;
      ScreenShot("09a-edge-overlay");
    });
    scopes = FrameOf("Scopes");
    const kivcore::Rect client = Window().GetGlobalClientRect();
    Check("over the right edge the edge overlay is shown", overlayShown);
    Check("docked along the right edge, Scopes spans the window's height where the preview showed",
          scopes && scopes->GetTopLevelWindow() == &Window() &&
              Window().GetFrameGlobalRect(*scopes) == preview &&
              Window().GetFrameGlobalRect(*scopes).height == client.height &&
              Window().GetFrameGlobalRect(*scopes).Right() == client.Right());
    Check("its floating window went away", studio_.GetWorkspace().GetWindows().size() == 1);
    Check("nothing of the drags is left", studio_.GetWorkspace().GetTracker() == nullptr &&
                                             Window().GetDropZoneOverlay() == nullptr);
    Shot("09b-docked-at-edge");
  }

  // Colour stacks the inspector, the effects and the markers: their headers collapse and
  // open them, solo keeps one open, a header dragged up reorders, a gripper sets a height.
  void StackedPanels() {
    using kivworkspace::workspace::FrameChild;
    using kivworkspace::workspace::StackedWorkspaceFrame;
    ChooseArrangement("Colour");
    TabPanel* inspector = studio_.FindPanel("Inspector");
    auto* stack = inspector ? dynamic_cast<StackedWorkspaceFrame*>(inspector->GetFrame()) : nullptr;
    if (!stack || stack->GetTabCount() != 3) return Check("Colour shows a stack of three panels", false);
    auto header = [&](unsigned i) {
      return stack->GetFrameChild(i)->GetHeader().UI_LocalToGlobal({40, 12});
    };
    auto open = [&] {
      std::string states;
      for (unsigned i = 0; i < stack->GetTabCount(); ++i) states += stack->GetStackedTabIsOpen(i) ? 'o' : '-';
      return states;
    };
    Check("every panel of the stack starts open", open() == "ooo");
    ui_testing::ClickAt(header(1));
    Settle();
    Check("a click on the effects' header collapses it",
          open() == "o-o" && !studio_.FindPanel("EffectsLibrary")->IsShown());
    Shot("11a-stack-collapsed");
    ui_testing::ClickAt(header(1));
    Check("a second click opens it again", open() == "ooo");

    auto answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(kivworkspace::workspace::kCmdStackedSolo);
    ui_testing::ClickAt(header(0), kivui::MouseEvent::kSecondary);
    Settle();
    Check("solo keeps only the front panel (the effects) open", stack->IsStackedSolo() && open() == "-o-");
    Shot("11b-stack-solo");
    answers = ui_testing::ScriptedAnswers::Install();
    answers->Command(kivworkspace::workspace::kCmdStackedSolo);
    ui_testing::ClickAt(header(0), kivui::MouseEvent::kSecondary);
    stack->ToggleAllChildren(true);

    Settle();
    TabPanel* markers = studio_.FindPanel("Markers");
    const kivcore::Point from = header(2);
    // Just inside the effects' header: past the markers' top, not past the effects' own.
    const kivcore::Point to{from.x, header(1).y - 6};
    pointer_.Press(from);
    pointer_.MoveAlong(from, to, 6);
    pointer_.Release(to);
    Settle();
    Check("the markers' header dragged up moves them above the effects",
          stack->GetTabPanel(1).get() == markers);

    stack->ToggleAllChildren(true);
    Settle();
    const int before = stack->GetStackedTabClientHeight(0);
    const kivcore::Point grip = stack->GetFrameChild(0)->UI_LocalToGlobal(
        {60, int(kivui::UI_TabWell::kTabHeight) + before + 1});
    pointer_.Press(grip);
    pointer_.MoveAlong(grip, {grip.x, grip.y + 45}, 5);
    pointer_.Release({grip.x, grip.y + 45});
    Settle();
    Check("the inspector's gripper dragged down makes it 45 taller",
          stack->GetStackedTabClientHeight(0) == before + 45);
    Shot("11c-stack-reordered-resized");
    ChooseArrangement("Cut");
  }

  // Audio pins the transport bar on top: its handle dragged up collapses it, a double
  // click on the handle brings it back.
  void PinnedBars() {
    using kivworkspace::workspace::LayoutManager;
    ChooseArrangement("Audio");
    auto* bar = Window().GetBorderFrame(LayoutManager::kTop);
    if (!bar) return Check("Audio has a transport bar on top", false);
    const int open = bar->GetFrameLocalRect().height;
    const kivui::UI_Node& handle = bar->GetResizeHandle();
    const kivcore::Point grip = handle.UI_LocalToGlobal({200, 2});
    pointer_.Press(grip);
    pointer_.MoveAlong(grip, {grip.x, grip.y - 12}, 4);
    pointer_.Release({grip.x, grip.y - 12});
    Settle();
    Check("dragging the handle up collapses the transport bar to its handle",
          bar->GetIsMinimized() && bar->GetFrameLocalRect().height < open && FramesTile());
    Shot("10a-transport-collapsed");
    ui_testing::DoubleClickAt(handle.UI_LocalToGlobal({200, 5}));
    Settle();
    Check("a double click on the handle expands it again",
          !bar->GetIsMinimized() && bar->GetFrameLocalRect().height == open && FramesTile());
    Shot("10b-transport-open");
  }

  // The tools tab pinned to the left: a click makes a tool active, a held press opens the
  // pop-up of the button's other tools, an Alt click takes the next one; torn off the side,
  // the tab shows the workspaces pop-up and the switcher bar beside the tools.
  void Tools() {
    using namespace kivworkspace::sharedui;
    ToolMap& map = studio_.GetToolMap();
    auto* tab = dynamic_cast<ToolsTab*>(studio_.FindPanel("ToolStrip"));
    Check("the tools tab stands in a column on the window's left side", tab && tab->IsVertical() && !tab->IsShowingWorkspaceSwitcher());
    if (!tab) return;
    const auto centre = [&](int toolId) {
      const auto button = map.GetToolButtonFromToolID(toolId);
      return Centre(*button, button->GetLocalBounds());
    };
    // The window system delivers a click a while after xdotool sends it, later still on a
    // loaded machine: wait for the tool it should make active, so that a modifier set for
    // the click is still set when its release arrives.
    const auto click = [&](kivcore::Point p, int expectedTool) {
      pointer_.Press(p);
      pointer_.Release(p);
      ui_testing::WaitUntil([&] { return tab->GetActiveToolID() == expectedTool; }, 5000);
      Settle();
    };
    const auto hold = [&](kivcore::Point p) {
      pointer_.Press(p);
      ui_testing::WaitUntil([] { return false; }, kivui::GetDefaultButtonRepeatDelay() + 600);
      pointer_.Release(p);
      Settle();
    };
    click(centre(kToolRazor), kToolRazor);
    Check("a click on the razor makes it the active tool", tab->GetActiveToolID() == kToolRazor);

    const auto select = map.GetToolButtonFromToolID(kToolSelection);
    if (pointer_.IsWindowSystem()) {
      // The real pop-up, pictured while it is open, then dismissed with Escape.
      kivcore::threads::AsyncCallFromMainThread([this] {
        ScreenShot("16a-tool-popup", {0, 0, 500, 400});
        pointer_.Key("Escape");
      }, kivui::GetDefaultButtonRepeatDelay() + 300);
      hold(centre(kToolSelection));
      Check("a held press on the select button opens the pop-up of its tools; dismissed, the selection stays",
            select->GetSelectedToolIndex() == 0 && tab->GetActiveToolID() == kToolSelection && !select->IsPopupOpen());
    }
    {
      auto answers = ui_testing::ScriptedAnswers::Install();
      answers->Command(2);
      hold(centre(kToolSelection));
    }
    Check("choosing Track Select Forward in the pop-up makes it the button's tool and the active one",
          select->GetSelectedToolIndex() == 1 && tab->GetActiveToolID() == kToolTrackForward &&
              tab->GetPreviouslyActiveToolID() != kToolTrackForward);
    ui_testing::OverrideModKeys(int(ToolPictureButton::kCycleModifier));
    click(centre(kToolSelection), kToolTrackBackward);
    ui_testing::OverrideModKeys(-1);
    Check("an Alt click takes the button's next tool", tab->GetActiveToolID() == kToolTrackBackward);
    Shot("16b-tools");

    auto* border = Window().GetBorderFrame(kivworkspace::workspace::LayoutManager::kLeft);
    if (!border) return Check("the tools are in the left border", false);
    border->Undock(Window().UI_LocalToGlobal({300, 200}), false);
    Settle();
    const auto* bar = tab->GetControl(ToolsTab::kWorkspaceSwitcher);
    Check("torn off the side, the tools tab is a regular tab: a row of tools with the workspaces pop-up and the switcher bar",
          tab->IsRegularTab() && !tab->IsVertical() && bar && bar->IsShown() && tab->IsShowing_WorkspacePopup());
    ShotOf("16c-tools-tab-torn-off", *tab);
    ResetWorkspace();
    Check("Reset to Saved Layout pins the tools to the left again",
          dynamic_cast<ToolsTab*>(studio_.FindPanel("ToolStrip")) && dynamic_cast<ToolsTab*>(studio_.FindPanel("ToolStrip"))->IsVertical());
  }

  // Window > Developer: a thread command typed into the console sets workers going; the
  // thread panel draws them and the debug monitor shows live values.
  void DeveloperPanels() {
    using namespace kivworkspace::sharedui;
    for (const char* type : {ConsolePanel::kTabType, DebugMonitorPanel::kTabType, ThreadPanel::kTabType}) {
      if (!studio_.FindPanel(type)) ChooseInWindowMenu(type);
      Settle();
    }
    auto* console = dynamic_cast<ConsolePanel*>(studio_.FindPanel(ConsolePanel::kTabType));
    auto* monitor = dynamic_cast<DebugMonitorPanel*>(studio_.FindPanel(DebugMonitorPanel::kTabType));
    auto* threads = dynamic_cast<ThreadPanel*>(studio_.FindPanel(ThreadPanel::kTabType));
    Check("Window > Developer opens the console, the debug monitor and the thread panel", console && monitor && threads);
    if (!console || !monitor || !threads) return;

    BringToFront(*console);
    console->GetConsoleView().GetCommandLine().UI_GainKeyboardFocus();
    ui_testing::TypeText("thread.subexecutor 2");
    ui_testing::KeyClick(kivui::kKeyReturn);
    const bool done = ui_testing::WaitUntil(
        [&] { return kivcore::UTF16to8(console->GetOutput()).find("25 tasks done on 2 thread(s)") != std::string::npos; }, 10000);
    Check("a thread command typed into the console runs, and reports when its workers are done", done);
    ShotOf("14a-console", *console);

    BringToFront(*threads);
    threads->GetHistoryView().UI_UpdateNow();
    Check("the thread panel draws a lane for each worker of the command",
          threads->GetHistoryView().GetLanes().lanes.size() >= 1);
    ShotOf("14b-threads", *threads);

    BringToFront(*monitor);
    monitor->GetView().SetRowOpen("Process", true);
    const bool live = ui_testing::WaitUntil([&] { return !monitor->GetView().GetValueText("Process/Uptime").empty(); }, 5000);
    Check("the debug monitor shows live values of its open rows", live);
    ShotOf("14c-debug-monitor", *monitor);
  }

  // A picture of the window the panel is in.
  void ShotOf(const std::string& name, TabPanel& panel) {
    TopLevelWindow* window = panel.GetFrame() ? panel.GetFrame()->GetTopLevelWindow() : nullptr;
    Shot(name, window ? *window : Window());
  }

  // Window > Developer > Theme Color Test loads the light theme file through its Load
  // button, overrides the accent colour, then goes back to the dark theme.
  void ThemeEditor() {
    using kivworkspace::sharedui::ThemeColorEditorPanel;
    if (!studio_.FindPanel(ThemeColorEditorPanel::kTabType)) ChooseInWindowMenu(ThemeColorEditorPanel::kTabType);
    Settle();
    auto* editor = dynamic_cast<ThemeColorEditorPanel*>(studio_.FindPanel(ThemeColorEditorPanel::kTabType));
    Check("Window > Developer opens the theme colour editor", editor != nullptr);
    if (!editor) return;
    BringToFront(*editor);
    const auto load = [&](const char* file) {
      auto answers = ui_testing::ScriptedAnswers::Install();
      answers->Text((StudioShareFolder() / "themes" / file).string());
      ui_testing::ClickNode(*editor->FindControl("LoadThemeFileButton"), {5, 5});
      Settle();
    };
    load("Light.xml");
    Check("the theme editor loads the light theme: panels turn light", kivui::ThemeColors::Current().panel == kivui::Color::RGB(0xF0, 0xF0, 0xF0));
    Shot("14e-light-theme");
    ShotOf("14f-theme-editor", *editor);
    load("Dark.xml");
    Check("and the dark theme file brings the dark theme back", kivui::ThemeColors::Current().panel == kivui::Color::RGB(0x26, 0x26, 0x26));
  }

  void BringToFront(TabPanel& panel) {
    if (auto* frame = dynamic_cast<WorkspaceFrame*>(panel.GetFrame())) frame->BringTabToFront(&panel);
    Settle();
  }

  // A script points an overlay at the switcher bar and runs a console command.
  void ScriptOverlay() {
    using kivworkspace::scripting::IndicatorOverlayObj;
    StudioScript script;
    const bool ran = script.Run(
        "var overlay = new IndicatorOverlay('Switch workspaces here', IndicatorOverlay.ANCHOR_BOTTOM_EDGE,\n"
        "                                   'TopLevelWindow/WorkspaceSwitcherBar');\n"
        "if (!overlay.show()) throw new Error('the switcher bar was not found');\n"
        "new UIAutomationHelper().executeConsoleCommand('con.help');\n",
        "tour.js");
    const auto& overlays = IndicatorOverlayObj::GetLiveInstances();
    const auto* window = overlays.empty() ? nullptr : overlays.back()->GetWindow();
    const auto* bar = studio_.GetSwitcherBar();
    const kivcore::RectF barRect = bar ? bar->LocalRectToGlobalF(bar->GetLocalBounds()) : kivcore::RectF{};
    Check("a script shows an overlay whose arrow touches the bottom edge of the switcher bar",
          ran && window && window->GetArrowTip() == kivcore::PointF{barRect.left + barRect.width / 2, barRect.Bottom()});
    ScreenShot("14d-script-overlay", {int(barRect.left) - 40, 0, int(barRect.width) + 80, int(barRect.Bottom()) + 90});
  }

  // File > Import from URL... from a server on this machine: the download shows in the
  // Progress panel, whose buttons pause and resume it, and arrives whole.
  void ImportFromURL() {
    using kivui::utility::ProgressItem;
    constexpr std::size_t kSize = 48u << 20;
    std::atomic<int> delayMs{150};
    kivtest::TestHttpServer server([&](const kivtest::HttpRequest& r) {
      const auto range = r.headers.find("range");
      const auto [a, b] = range == r.headers.end() ? std::pair<std::uint64_t, std::uint64_t>{0, kSize - 1}
                                                   : kivtest::TestHttpServer::ParseRange(range->second);
      if (b > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
      kivtest::HttpReply reply;
      reply.status = 206;
      reply.headers = {{"Content-Range", "bytes " + std::to_string(a) + "-" + std::to_string(b) + "/" + std::to_string(kSize)}};
      reply.body = kivtest::TestHttpServer::DeterministicBytes(a, std::size_t(b - a + 1));
      return reply;
    });
    const auto import = [&](const std::string& path) {
      auto answers = ui_testing::ScriptedAnswers::Install();
      answers->Command(Studio::kImportFromURL).Text(server.Url(path));
      ui_testing::ClickAt(Window().UI_LocalToGlobal({132, 12}));
      Settle();
    };
    import("/footage/harbour_aerial.mov");
    auto* panel = dynamic_cast<kivworkspace::sharedui::ProgressPanel*>(studio_.FindPanel(kivworkspace::sharedui::ProgressPanel::kTabType));
    auto downloads = studio_.GetImporter().GetManager().GetActiveDownloads();
    Check("File > Import from URL... starts the download and shows the Progress panel", panel && downloads.size() == 1);
    if (!panel || downloads.size() != 1) return;
    BringToFront(*panel);
    const auto item = downloads.front()->GetProgressItem();
    auto& view = panel->GetView();
    const auto rowOf = [&](const boost::intrusive_ptr<ProgressItem>& shown) {
      for (int row = 0; row < view.GetShownItemCount(); ++row)
        if (view.GetShownItem(row) == shown) return row;
      return -1;
    };
    const auto clickButton = [&](const boost::intrusive_ptr<ProgressItem>& shown, bool cancel) {
      const int row = rowOf(shown);
      if (row < 0) return;
      const kivcore::Point p = Centre(view, cancel ? view.GetCancelButtonRect(row) : view.GetPauseButtonRect(row));
      pointer_.Press(p);
      pointer_.Release(p);
    };
    ui_testing::WaitUntil([&] { return item->GetProgress() > 0.1f; }, 20000);
    clickButton(item, false);
    const bool paused = ui_testing::WaitUntil([&] { return item->GetState() == ProgressItem::kPaused; }, 10000);
    Check("the Progress panel's button pauses the download", paused);
    ShotOf("15a-import-paused", *panel);
    delayMs = 0;
    clickButton(item, false);
    const bool done = ui_testing::WaitUntil([&] { return item->GetState() == ProgressItem::kCompleted; }, 60000);
    const auto file = studio_.GetImporter().GetFolder() / "harbour_aerial.mov";
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    Check("pressed again, it resumes and the file arrives whole in the project's media folder",
          done && bytes == kivtest::TestHttpServer::DeterministicBytes(0, kSize));
    ShotOf("15b-import-done", *panel);

    // A second import while the panel is open gets a row of its own, with working buttons.
    delayMs = 150;
    import("/footage/harbour_wide.mov");
    downloads = studio_.GetImporter().GetManager().GetActiveDownloads();
    const auto second = downloads.size() == 1 ? downloads.front()->GetProgressItem() : nullptr;
    Check("a second import while the Progress panel is open gets a row of its own",
          second && ui_testing::WaitUntil([&] { return rowOf(second) >= 0; }, 5000));
    if (!second) return;
    clickButton(second, true);
    Check("its cancel button stops it", ui_testing::WaitUntil([&] { return second->GetState() == ProgressItem::kEnded; }, 10000));
    ShotOf("15c-second-import-cancelled", *panel);
  }

  void ResizeWindow() {
    const kivcore::Rect r = Window().GetGlobalStructureRect();
    Window().SetGlobalStructureRect({r.left, r.top, r.width * 9 / 10, r.height * 9 / 10});
    Settle();
    const kivcore::Rect client = Window().GetClientRect();
    Check("the window was resized", client.width <= r.width * 9 / 10);
    Check("the layout follows the new size", Window().GetLayoutManager().GetLastLayoutRect() == client && FramesTile());
    Shot("06-resized");
  }

  Studio& studio_;
  std::string dir_;
  WindowSystemPointer pointer_;
  std::vector<kivcore::Rect> cutRects_;
  int failures_ = 0;
};

}  // namespace

int RunTour(Studio& studio, const std::string& dir) { return TourRun(studio, dir).Run(); }

}  // namespace kivstudio
