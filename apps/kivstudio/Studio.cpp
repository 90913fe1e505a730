#include "Studio.h"

#include "StudioPanels.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/app/Application.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/menu/OSMenu.h"
#include "layout/Splitter.h"

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
    d.DrawText("Harbour Documentary  —  Cut", {b.width - 320, 0, 310, b.height}, kivui::Font::UI(11), theme.textDim,
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

namespace {

using kivworkspace::workspace::Splitter;

// Builds an arrangement frame by frame; the bars go to their places once all frames are in,
// since each new frame's layout keeps the others' pixels.
class Arrangement {
 public:
  explicit Arrangement(kivworkspace::workspace::TopLevelWindow& w) : w_(w) {}

  // A frame beside `target` holding panels of the types (the first in front); the bar made
  // for it ends at `placement` of the splitter.
  WorkspaceFrame* Beside(WorkspaceFrame* target, std::initializer_list<const char*> types,
                         LayoutManager::InsertionType side, float placement) {
    WorkspaceFrame* frame = w_.AddTabbedFrame(target, *types.begin(), side);
    for (auto it = types.begin() + 1; it != types.end(); ++it) frame->AddTab(*it, false);
    frame->BringTabToFront(0u);
    if (Splitter* s = frame->GetLMFrame()->GetParent()->AsSplitter()) bars_.emplace_back(s, placement);
    return frame;
  }

  void Finish() {
    for (auto [splitter, placement] : bars_) splitter->SetPlacement(placement);
    w_.GetLayoutManager().Layout(w_.GetClientRect(), false, true, false);
  }

 private:
  kivworkspace::workspace::TopLevelWindow& w_;
  std::vector<std::pair<Splitter*, float>> bars_;
};

}  // namespace

void Studio::BuildCutArrangement() {
  Arrangement cut(*main_);
  WorkspaceFrame* sequence = main_->CreateRootFrame("SequenceViewer", false, true);
  WorkspaceFrame* timeline = cut.Beside(sequence, {"Timeline"}, LayoutManager::kBottom, 0.56f);
  WorkspaceFrame* clip = cut.Beside(sequence, {"ClipViewer"}, LayoutManager::kLeft, 0.62f);
  cut.Beside(clip, {"MediaBin", "EffectsLibrary", "Markers"}, LayoutManager::kLeft, 0.5f);
  cut.Beside(sequence, {"Inspector"}, LayoutManager::kRight, 0.78f);
  cut.Beside(timeline, {"ToolStrip"}, LayoutManager::kLeft, 0.09f);
  cut.Beside(timeline, {"AudioMixer", "Scopes", "Console"}, LayoutManager::kRight, 0.78f);
  cut.Finish();
  workspace_->SetFocusedTabPanel(timeline->GetFrontTabPanel().get());
}

TabPanel* Studio::FindPanel(const std::string& type) const {
  for (auto* window : workspace_->GetWindows()) {
    for (WorkspaceFrame* frame : window->GetTabbedFrames()) {
      for (unsigned i = 0; i < frame->GetTabCount(); ++i) {
        if (frame->GetTabPanel(i)->GetTabType() == type) return frame->GetTabPanel(i).get();
      }
    }
  }
  return nullptr;
}

void Studio::TogglePanel(const std::string& type) {
  if (TabPanel* panel = FindPanel(type)) {
    if (auto* frame = dynamic_cast<WorkspaceFrame*>(panel->GetFrame())) workspace_->RemoveTab(frame, panel, true, true);
    return;
  }
  for (auto* window : workspace_->GetWindows()) {
    for (WorkspaceFrame* frame : window->GetTabbedFrames()) {
      if (frame->CanReanimateTab(type)) {
        frame->ReanimateTab(type);
        return;
      }
    }
    if (window->CanReanimateFrame(type)) {
      window->ReanimateFrame(type);
      return;
    }
  }
  if (workspace_->CanReanimateWindow(type)) {
    workspace_->ReanimateWindow(type);
    return;
  }
  workspace_->NewTabInFocused(type);
}

void Studio::ShowWindowMenu(kivcore::Point global) {
  auto menu = kivui::CreateOSMenu();
  const auto& types = PanelTypes();
  for (std::size_t i = 0; i < types.size(); ++i) {
    menu->AddItem(int(i) + 1, types[i].title, true, FindPanel(types[i].tabType) != nullptr);
  }
  const int chosen = kivui::PopupMenu(*menu, global);
  if (chosen > 0 && std::size_t(chosen) <= types.size()) TogglePanel(types[std::size_t(chosen) - 1].tabType);
}

}  // namespace kivstudio
