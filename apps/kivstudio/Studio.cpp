#include "Studio.h"

#include "StudioArrangements.h"
#include "StudioPanels.h"
#include "services/core/Dir.h"
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "workspace/WorkspaceDefinition.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/app/Application.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/menu/OSMenu.h"
#include "layout/Splitter.h"
#include "workspace/WorkspaceUtils.h"

namespace kivstudio {

using kivworkspace::workspace::LayoutManager;
using kivworkspace::workspace::TabPanel;
using kivworkspace::workspace::WorkspaceFrame;

// The strip at the top of the main window: the application's name and its menus.
class MenuBar : public kivui::UI_Node {
 public:
  explicit MenuBar(Studio& studio) : UI_Node("MenuBar"), studio_(studio) {}

  // The menus, each kItemWidth wide from kFirstItemLeft.
  static constexpr float kFirstItemLeft = 96, kItemWidth = 54;
  enum Menu { kFile = 0, kWindow = 1, kHelp = 2 };

  void UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) override {
    const auto& theme = kivui::ThemeColors::Current();
    const kivcore::RectF b = GetLocalBounds();
    d.FillRect(b, theme.header);
    d.FillRect({0, b.height - 1, b.width, 1}, theme.border);
    d.DrawText("kivstudio", {10, 0, 90, b.height}, kivui::Font::Bold(12), theme.accent, kivui::kAlignLeft | kivui::kAlignVCenter);
    float x = kFirstItemLeft;
    for (const char* item : {"File", "Window", "Help"}) {
      d.DrawText(item, {x, 0, kItemWidth, b.height}, kivui::Font::UI(12), theme.text, kivui::kAlignCenter);
      x += kItemWidth;
    }
    d.DrawText("Harbour Documentary  —  " + studio_.GetArrangementName(), {b.width - 320, 0, 310, b.height}, kivui::Font::UI(11), theme.textDim,
               kivui::kAlignRight | kivui::kAlignVCenter);
  }

  bool UI_DoMouseEvent(kivui::UI_Node*, const kivui::MouseEvent& e) override {
    const int index = int((e.local.x - kFirstItemLeft) / kItemWidth);
    if (e.action != kivui::MouseEvent::kDown || e.local.x < kFirstItemLeft || index > kHelp) return false;
    const kivcore::Point below = UI_LocalToGlobal({int(kFirstItemLeft + float(index) * kItemWidth), int(GetLocalBounds().height)});
    switch (index) {
      case kFile: {
        auto menu = kivui::CreateOSMenu();
        menu->AddItem(1, "Quit");
        if (kivui::PopupMenu(*menu, below) == 1) kivui::Application::Quit();
        break;
      }
      case kWindow: studio_.ShowWindowMenu(below); break;
      default:
        kivui::ShowNote("About kivstudio",
                        "kivstudio shows the kivworkspace docking library in a mock video editor: "
                        "click tabs, close them with their close boxes, reopen panels from the Window "
                        "menu, double-click a tab to maximize its frame.");
        break;
    }
    return true;
  }

 private:
  Studio& studio_;
};

Studio::Studio(const kivcore::Rect& mainRect)
    : workspace_(std::make_shared<kivworkspace::workspace::Workspace>()) {
  // Panel groups may be shown as stacks (Colour has one; any frame's menu makes one).
  kivworkspace::workspace::Workspace::SetStackedTabPanelsEnabled(true);
  RegisterStudioPanels(*workspace_);
  main_ = workspace_->CreateMainTopLevelWindow(mainRect);
  main_->SetTitle("kivstudio — Harbour Documentary");
  menuBar_ = std::make_shared<MenuBar>(*this);
  main_->SetTopChrome(menuBar_, kMenuBarHeight);
}

Studio::~Studio() {
  main_.reset();
  workspace_.reset();
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

std::string Studio::Start(const kivcore::filesupport::File& saved) {
  std::string why;
  if (!saved.Exists()) {
    why = "no saved workspace in " + saved.Path().string();
  } else {
    try {
      const kivcore::PropList definition = kivcore::proplist::utils::LoadPropList(saved);
      kivworkspace::workspace::RestoreWorkspace(*workspace_, definition, true, true, false);
      arrangement_ = kivcore::UTF16to8(kivworkspace::workspace::GetWorkspaceUserName(definition));
      menuBar_->UI_Invalidate();
      return {};
    } catch (const std::exception& e) {
      why = saved.Path().string() + ": " + e.what();
    }
  }
  ApplyArrangement("Cut");
  return why;
}

kivcore::PropList Studio::SaveDefinition() const {
  kivcore::PropList definition;
  kivworkspace::workspace::SaveWorkspace(*workspace_, definition, kivcore::UTF8to16(arrangement_));
  return definition;
}

void Studio::Save(const kivcore::filesupport::File& file) const {
  file.GetParent().Create();
  kivcore::proplist::utils::SavePropList(SaveDefinition(), file);
}

kivcore::filesupport::File Studio::SavedWorkspaceFile() {
  return kivcore::filesupport::Dir::PrefDir().GetChild(u"kivstudio").GetChild(u"Workspace.xml");
}

TabPanel* Studio::FindPanel(const std::string& type) const {
  if (TabPanel* panel = kivworkspace::workspace::WorkspaceUtils::FindFirstTabOfType(*workspace_, type))
    return panel;
  for (auto* window : workspace_->GetWindows()) {
    for (auto side : {LayoutManager::kTop, LayoutManager::kLeft, LayoutManager::kBottom, LayoutManager::kRight}) {
      TabPanel* element = window->GetStaticElement(side);
      if (element && element->GetTabType() == type) return element;
    }
  }
  return nullptr;
}

void Studio::TogglePanel(const std::string& type) {
  namespace utils = kivworkspace::workspace::WorkspaceUtils;
  // The bars live on the main window's sides unless the user undocked them.
  const bool inFrames = utils::FindFirstTabOfType(*workspace_, type) != nullptr;
  if (type == "Transport" && !inFrames) return utils::ToggleToolbarTabState(*workspace_, type);
  if (type != "ToolStrip" || inFrames) return utils::ToggleTabState(*workspace_, type, true);
  if (main_->HasStaticElement(LayoutManager::kLeft)) return main_->RemoveStaticElement(LayoutManager::kLeft, true);
  main_->SetStaticElement(type, LayoutManager::kLeft, true);
}

void Studio::ShowWindowMenu(kivcore::Point global) {
  auto menu = kivui::CreateOSMenu();
  const auto& types = PanelTypes();
  for (std::size_t i = 0; i < types.size(); ++i) {
    menu->AddItem(int(i) + 1, types[i].title, true, FindPanel(types[i].tabType) != nullptr);
  }
  menu->AddSeparator();
  const auto& arrangements = ArrangementNames();
  for (std::size_t i = 0; i < arrangements.size(); ++i) {
    menu->AddItem(kFirstArrangementCommand + int(i), "Arrangement: " + arrangements[i], true,
                  arrangements[i] == arrangement_);
  }
  const int chosen = kivui::PopupMenu(*menu, global);
  if (chosen > 0 && std::size_t(chosen) <= types.size()) TogglePanel(types[std::size_t(chosen) - 1].tabType);
  const int arrangement = chosen - kFirstArrangementCommand;
  if (arrangement >= 0 && std::size_t(arrangement) < arrangements.size())
    ApplyArrangement(arrangements[std::size_t(arrangement)]);
}

}  // namespace kivstudio
