#include "Studio.h"

#include "StudioArrangements.h"
#include "StudioPanels.h"
#include "services/core/Dir.h"
#include "services/core/PropList.h"
#include "services/core/FileUtils.h"
#include "services/core/PropListUtils.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/app/Application.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/menu/OSMenu.h"
#include "layout/Splitter.h"
#include "workspace/manager/Manager.h"
#include "workspace/manager/MenuHelperBase.h"
#include "workspace/core/WorkspaceUtils.h"
#include "workspaceutils/WorkspaceCommands.h"
#include "workspaceutils/WorkspaceDirs.h"
#include "StudioWorkspace.h"
#include "StudioWorkspaces.h"
#include "services/ui/node/UI_Container.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/manager/PlatformMenuHelper.h"
#include "workspaceutils/URLImporter.h"
#include "sharedui/ToolMap.h"
#include "sharedui/ProgressPanel.h"
#include "services/core/Dir.h"
#include "services/core/Error.h"

#include <algorithm>
#include <list>

namespace kivstudio {

using kivworkspace::workspace::LayoutManager;
using kivworkspace::workspace::TabPanel;
using kivworkspace::workspace::WorkspaceFrame;

// The strip at the top of the main window: the application's name and its menus.
class MenuBar : public kivui::UI_Node, public kivworkspace::workspace::MenuHelperBase {
 public:
  explicit MenuBar(Studio& studio) : UI_Node("MenuBar"), studio_(studio) {}

  // The bar names the current workspace.
  void RebuildMenu() override { UI_Invalidate(); }
  void NewActiveWorkspace(const kivcore::UTF16String&) override { UI_Invalidate(); }

  // The menus, each kItemWidth wide from kFirstItemLeft.
  static constexpr float kFirstItemLeft = 96, kItemWidth = 72;
  enum Menu { kFile = 0, kWindow = 1, kWorkspace = 2, kHelp = 3 };

  void UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) override {
    const auto& theme = kivui::ThemeColors::Current();
    const kivcore::RectF b = GetLocalBounds();
    d.FillRect(b, theme.header);
    d.FillRect({0, b.height - 1, b.width, 1}, theme.border);
    d.DrawText("kivstudio", {10, 0, 90, b.height}, kivui::Font::Bold(12), theme.accent, kivui::kAlignLeft | kivui::kAlignVCenter);
    float x = kFirstItemLeft;
    for (const char* item : {"File", "Window", "Workspace", "Help"}) {
      d.DrawText(item, {x, 0, kItemWidth, b.height}, kivui::Font::UI(12), theme.text, kivui::kAlignCenter);
      x += kItemWidth;
    }
    d.DrawText("Harbour Documentary  —  " + studio_.GetWorkspaceName(), {b.width - 320, 0, 310, b.height}, kivui::Font::UI(11), theme.textDim,
               kivui::kAlignRight | kivui::kAlignVCenter);
  }

  bool UI_DoMouseEvent(kivui::UI_Node*, const kivui::MouseEvent& e) override {
    const int index = int((e.local.x - kFirstItemLeft) / kItemWidth);
    if (e.action != kivui::MouseEvent::kDown || e.local.x < kFirstItemLeft || index > kHelp) return false;
    const kivcore::Point below = UI_LocalToGlobal({int(kFirstItemLeft + float(index) * kItemWidth), int(GetLocalBounds().height)});
    switch (index) {
      case kFile: studio_.ShowFileMenu(below); break;
      case kWindow: studio_.ShowWindowMenu(below); break;
      case kWorkspace: studio_.ShowWorkspaceMenu(below); break;
      default:
        kivui::ShowNote("About kivstudio",
                        "kivstudio shows the kivworkspace docking library in a mock video editor: "
                        "click tabs, close them with their close boxes, reopen panels from the Window "
                        "menu, double-click a tab to maximize its frame, keep arrangements of your own "
                        "from the Workspace menu.");
        break;
    }
    return true;
  }

 private:
  Studio& studio_;
};

// The main window's top chrome: the menu bar across, the workspace switcher over its middle.
class StudioChrome : public kivui::UI_Container {
 public:
  static constexpr float kSwitcherLeft = 400, kSwitcherRightMargin = 330;

  explicit StudioChrome(std::shared_ptr<MenuBar> menuBar) : UI_Container("StudioChrome"), menuBar_(std::move(menuBar)) {
    PushBack(menuBar_);
  }
  void SetSwitcher(std::shared_ptr<kivui::UI_Node> switcher) {
    PushBack(switcher);
    UI_SizeChanged(GetLocalBounds());
  }
  void UI_SizeChanged(const kivcore::RectF& b) override {
    UI_Container::UI_SizeChanged(b);
    menuBar_->SetFrame({0, 0, b.width, b.height});
    if (GetChildCount() > 1)
      GetChild(1)->SetFrame({kSwitcherLeft, 0, std::max(0.0f, b.width - kSwitcherLeft - kSwitcherRightMargin), b.height - 1});
  }

 private:
  std::shared_ptr<MenuBar> menuBar_;
};

Studio::Studio(const kivcore::Rect& mainRect)
    : toolMap_(std::make_unique<kivworkspace::sharedui::ToolMap>()), workspace_(std::make_shared<StudioWorkspace>()) {
  // Panel groups may be shown as stacks (Colour has one; any frame's menu makes one).
  kivworkspace::workspace::Workspace::SetStackedTabPanelsEnabled(true);
  RegisterStudioPanels(*workspace_, *toolMap_);
  main_ = workspace_->CreateMainTopLevelWindow(mainRect);
  main_->SetTitle("kivstudio — Harbour Documentary");
  menuBar_ = std::make_shared<MenuBar>(*this);
  chrome_ = std::make_shared<StudioChrome>(menuBar_);
  main_->SetTopChrome(chrome_, kMenuBarHeight);
}

// Whatever listens to the manager goes before it: the menus and the switcher bar of the
// chrome, then the workspace with every window and panel (the tools tab's workspaces pop-up
// and switcher bar unregister as they go), then the process-wide switcher; the manager and
// its providers last.
Studio::~Studio() {
  if (manager_) {
    manager_->RemoveMenuHelper(menuBar_.get());
    manager_->RemoveMenuHelper(workspaceMenu_.get());
    if (switcherBar_) chrome_->Remove(switcherBar_.get());
    switcherBar_.reset();
  }
  main_.reset();
  workspace_.reset();
  if (manager_) {
    auto* switcher = kivworkspace::sharedui::WorkspaceSwitcherManager::Get();
    if (switcher->GetWorkspaceManager() == manager_.get()) switcher->AttachWorkspaceManager(nullptr);
  }
  workspaceMenu_.reset();
  manager_.reset();
  systemWorkspaces_.reset();
  builtIns_.reset();
}

void Studio::ApplyArrangement(const std::string& name) {
  if (!BuildArrangement(*workspace_, name, main_->GetGlobalStructureRect())) return;
  // The tools stay pinned to the left whatever the arrangement.
  main_->SetStaticElement("ToolStrip", kivworkspace::workspace::LayoutManager::kLeft, true);
  arrangement_ = name;
  menuBar_->UI_Invalidate();
  // The timeline's panel has the focus in every arrangement.
  if (TabPanel* timeline = FindPanel("Timeline")) workspace_->SetFocusedTabPanel(timeline);
}

kivcore::PropList Studio::SaveDefinition() const {
  kivcore::PropList definition;
  kivworkspace::workspace::SaveWorkspace(*workspace_, definition, {});
  return definition;
}

TabPanel* Studio::FindPanel(const std::string& type) const {
  return kivworkspace::workspace::WorkspaceUtils::FindFirstTabOfType(*workspace_, type);
}

void Studio::TogglePanel(const std::string& type) {
  namespace utils = kivworkspace::workspace::WorkspaceUtils;
  // The bars live on the main window's sides unless the user undocked them into a frame.
  std::list<TabPanel*> open;
  utils::FindAllTabsOfType(*workspace_, type, open);
  const bool inFrames = std::any_of(open.begin(), open.end(), [](const TabPanel* panel) {
    return dynamic_cast<WorkspaceFrame*>(panel->GetFrame()) != nullptr;
  });
  if (type == "Transport" && !inFrames) return utils::ToggleToolbarTabState(*workspace_, type);
  if (type != "ToolStrip" || inFrames) return utils::ToggleTabState(*workspace_, type, true);
  if (main_->HasStaticElement(LayoutManager::kLeft)) return main_->RemoveStaticElement(LayoutManager::kLeft, true);
  main_->SetStaticElement(type, LayoutManager::kLeft, true);
}

void Studio::ShowFileMenu(kivcore::Point global) {
  auto menu = kivui::CreateOSMenu();
  menu->AddItem(kImportFromURL, "Import from URL...");
  menu->AddSeparator();
  menu->AddItem(kQuit, "Quit");
  switch (kivui::PopupMenu(*menu, global)) {
    case kImportFromURL: return ImportFromURL();
    case kQuit: return kivui::Application::Quit();
    default: return;
  }
}

kivworkspace::workspaceutils::URLImporter& Studio::GetImporter() {
  if (!importer_) {
    const auto media = kivcore::filesupport::Dir::PrefDir().Path() / "kivstudio" / "Media";
    importer_ = std::make_unique<kivworkspace::workspaceutils::URLImporter>(media);
  }
  return *importer_;
}

void Studio::ImportFromURL() {
  if (!GetImporter().AskAndImport(main_.get())) return;
  if (!FindPanel(kivworkspace::sharedui::ProgressPanel::kTabType)) TogglePanel(kivworkspace::sharedui::ProgressPanel::kTabType);
}

void Studio::ShowWindowMenu(kivcore::Point global) {
  auto menu = kivui::CreateOSMenu();
  const auto& types = PanelTypes();
  kivui::OSMenu* developer = nullptr;
  for (std::size_t i = 0; i < types.size(); ++i) {
    if (types[i].developer && !developer) {
      menu->AddSeparator();
      developer = &menu->AddSubMenu("Developer");
    }
    (developer ? *developer : *menu).AddItem(int(i) + 1, types[i].title, true, FindPanel(types[i].tabType) != nullptr);
  }
  if (workspaceMenu_) {
    menu->AddSeparator();
    menu->AddSubMenu("Workspace") = *workspaceMenu_->GetMenu();
  }
  const int chosen = kivui::PopupMenu(*menu, global);
  if (chosen > 0 && std::size_t(chosen) <= types.size()) return TogglePanel(types[std::size_t(chosen) - 1].tabType);
  if (workspaceMenu_) ApplyWorkspaceMenuChoice(chosen);
}

namespace {

// The Workspace menu's commands, which stay below the workspaces the helper lists.
std::shared_ptr<kivui::OSMenu> WorkspaceMenuCommands() {
  std::shared_ptr<kivui::OSMenu> menu = kivui::CreateOSMenu();
  menu->AddItem(Studio::kNewWorkspace, "New Workspace...");
  menu->AddItem(Studio::kSaveWorkspace, "Save Changes to this Workspace");
  menu->AddItem(Studio::kDeleteWorkspace, "Delete Workspace...");
  menu->AddItem(Studio::kResetWorkspace, "Reset to Saved Layout");
  menu->AddItem(Studio::kRenameWorkspace, "Rename Workspace...");
  menu->AddSeparator();
  menu->AddItem(Studio::kEditWorkspaces, "Edit Workspaces...");
  return menu;
}

}  // namespace

std::string Studio::GetWorkspaceName() const {
  return manager_ && manager_->HasCurrentWorkspace() ? kivcore::UTF16to8(manager_->GetCurrentWorkspace()) : arrangement_;
}

std::vector<std::string> Studio::OpenWorkspaces(const std::string& fallback, bool placeMainWindow) {
  kivcore::UTF16String userFolder, archiveFolder, settingsFile;
  kivworkspace::workspaceutils::GetWorkspaceDirs(u"kivstudio", userFolder, archiveFolder, settingsFile);
  builtIns_ = std::make_unique<StudioBuiltIns>([this] { return main_->GetGlobalStructureRect(); });
  systemWorkspaces_ = std::make_unique<StudioSystemWorkspaces>();
  manager_ = std::make_unique<kivworkspace::workspace::Manager>(*workspace_, userFolder, archiveFolder, settingsFile,
                                                               builtIns_.get(), systemWorkspaces_.get(), false);
  manager_->Initialize();
  std::vector<std::string> reasons;
  for (const auto& skipped : manager_->GetSkippedFiles())
    reasons.push_back(kivcore::UTF16to8(skipped.path) + ": " + skipped.reason);
  if (placeMainWindow) manager_->ApplyDefaultMainWindowSize();
  workspace_->SetManager(manager_.get());
  manager_->AddMenuHelper(menuBar_.get());

  kivcore::UTF16String last;
  std::string switcher;
  try {
    const kivcore::PropList preferences = kivcore::proplist::utils::LoadPropList(StudioPreferencesFile());
    preferences.GetValue("CurrentWorkspace", last);
    preferences.GetValue("WorkspaceSwitcher", switcher);
  } catch (const std::exception&) {
    // First run, or preferences that cannot be read: start in the fallback.
  }
  // The switcher's lists as the user left them; the bar reconciles them with the names.
  std::string why;
  if (!switcher.empty() && !kivworkspace::sharedui::WorkspaceSwitcherManager::Get()->SetData(switcher, &why))
    reasons.push_back("the workspace switcher's settings: " + why);
  switcherBar_ = std::make_shared<kivworkspace::sharedui::WorkspaceSwitcherBar>(*manager_);
  static_cast<StudioChrome&>(*chrome_).SetSwitcher(switcherBar_);
  workspaceMenu_ = kivworkspace::workspace::PlatformMenuHelperBase::NewPlatformMenuHelper(
      WorkspaceMenuCommands(), *manager_, {kFirstWorkspaceCommand, kNewWorkspace - kFirstWorkspaceCommand}, false);
  manager_->AddMenuHelper(workspaceMenu_.get());
  if (!last.empty()) {
    try {
      if (manager_->SetCurrentWorkspace(last)) return reasons;
      reasons.push_back("the workspace \"" + kivcore::UTF16to8(last) + "\" could not be restored");
    } catch (const std::exception& e) {
      reasons.push_back("the workspace \"" + kivcore::UTF16to8(last) + "\" could not be restored: " + e.what());
    }
  }
  if (!manager_->SetCurrentWorkspace(kivcore::UTF8to16(fallback))) ApplyArrangement(fallback);
  return reasons;
}

void Studio::CloseWorkspaces() {
  if (!manager_) return;
  if (manager_->HasCurrentWorkspace()) manager_->SaveWorkspace(manager_->GetCurrentWorkspace());
  manager_->FlushManagerSettings();
  kivcore::PropList preferences;
  preferences.SetValue("CurrentWorkspace", manager_->GetCurrentWorkspace());
  preferences.SetValue("WorkspaceSwitcher", kivworkspace::sharedui::WorkspaceSwitcherManager::Get()->GetData());
  const kivcore::filesupport::File file = StudioPreferencesFile();
  try {
    kivcore::filesupport::FileUtils::EnsureDirectoryExists(file.GetParent());
    kivcore::proplist::utils::SavePropList(preferences, file);
  } catch (const kivcore::config::Error& e) {
    std::fprintf(stderr, "kivstudio: %s\n", e.what());
  }
  for (const std::string& failure : manager_->TakeWriteFailures()) std::fprintf(stderr, "kivstudio: %s\n", failure.c_str());
}

std::vector<std::string> Studio::GetWorkspaceNames() const {
  std::vector<kivcore::UTF16String> names;
  if (manager_) manager_->GetUISortedWorkspaceNames(names);
  std::vector<std::string> out;
  for (const auto& name : names) out.push_back(kivcore::UTF16to8(name));
  return out;
}

bool Studio::SwitchWorkspace(const std::string& name) {
  try {
    const bool switched = manager_ && manager_->SetCurrentWorkspace(kivcore::UTF8to16(name));
    if (!switched) kivui::ShowCaution("Workspace", "The workspace \"" + name + "\" could not be restored.");
    workspace_->ReportWriteFailures();
    return switched;
  } catch (const std::exception& e) {
    kivui::ShowCaution("Workspace", "The workspace \"" + name + "\" could not be restored: " + e.what());
    return false;
  }
}

void Studio::ShowWorkspaceMenu(kivcore::Point global) {
  if (workspaceMenu_) ApplyWorkspaceMenuChoice(kivui::PopupMenu(*workspaceMenu_->GetMenu(), global));
}

int Studio::WorkspaceCommandFor(const std::string& name) const {
  unsigned int command = 0;
  return workspaceMenu_ && workspaceMenu_->WorkspaceCmdForName(kivcore::UTF8to16(name), command) ? int(command) : 0;
}

void Studio::AttachSwitcher() {
  if (manager_) kivworkspace::sharedui::WorkspaceSwitcherManager::Get()->AttachWorkspaceManager(manager_.get());
}

void Studio::ApplyWorkspaceMenuChoice(int chosen) {
  if (chosen <= 0) return;
  if (workspaceMenu_->IsWorkspaceCommand(unsigned(chosen))) {
    kivcore::UTF16String name;
    workspaceMenu_->WorkspaceNameForCmd(unsigned(chosen), name);
    SwitchWorkspace(kivcore::UTF16to8(name));
  } else {
    RunWorkspaceCommand(chosen);
  }
}

void Studio::RunWorkspaceCommand(int command) {
  switch (command) {
    case kNewWorkspace: return workspace_->DoWorkspaceCmdNew();
    case kSaveWorkspace: return workspace_->DoWorkspaceCmdSave();
    case kDeleteWorkspace: return workspace_->DoWorkspaceCmdDelete();
    case kResetWorkspace: return workspace_->DoWorkspaceCmdReset();
    case kEditWorkspaces: return workspace_->DoWorkspaceCmdEdit();
    case kRenameWorkspace: break;
    default: return;
  }
  const std::string current = GetWorkspaceName();
  const auto name = kivui::SimpleInputBox("Rename Workspace", "Name:", current, main_.get());
  if (!name || *name == current) return;
  try {
    manager_->RenameWorkspace(kivcore::UTF8to16(current), kivcore::UTF8to16(*name));
  } catch (const kivcore::config::Error& e) {
    kivui::ShowCaution("Workspace", e.what());
  }
  workspace_->ReportWriteFailures();
}

}  // namespace kivstudio
