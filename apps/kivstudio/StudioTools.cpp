#include "StudioTools.h"

#include "StudioWorkspace.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/node/ResourceManager.h"
#include "services/ui/node/UI_NodeManager.h"
#include "sharedui/ToolMap.h"
#include "sharedui/ToolPictureButton.h"
#include "sharedui/ToolsTab.h"

#include <cmath>
#include <functional>

namespace kivstudio {
namespace {

using kivui::Color;
using kivui::Drawbot;
using kivworkspace::sharedui::Tool;
using kivworkspace::sharedui::ToolPictureButton;
using kivworkspace::sharedui::ToolPtr;

constexpr int kIcon = 20;
const Color kInk = Color::RGB(255, 255, 255);  // icons are tinted by the button

struct StudioToolInfo {
  int id;
  const char16_t* name;
  const char16_t* shortcut;
  const char16_t* hint;
  const char* image;
  std::function<void(Drawbot&)> draw;
};

void Arrow(Drawbot& d, float x, float y) { d.FillPolygon({{x, y}, {x + 9, y + 9}, {x + 5, y + 9}, {x + 7, y + 14}, {x + 5, y + 15}, {x + 3, y + 10}, {x, y + 13}}, kInk); }

void TrackArrows(Drawbot& d, bool forward) {
  const float dir = forward ? 1 : -1, x0 = forward ? 4 : 16;
  for (int i = 0; i < 2; ++i) {
    const float x = x0 + dir * float(i) * 6;
    d.FillPolygon({{x, 5}, {x + dir * 6, 10}, {x, 15}}, kInk);
  }
  d.FillRect({forward ? 2.0f : 17.0f, 3, 1.5f, 14}, kInk);
}

void DoubleArrow(Drawbot& d, bool slide) {
  d.FillPolygon({{2, 10}, {7, 5}, {7, 15}}, kInk);
  d.FillPolygon({{18, 10}, {13, 5}, {13, 15}}, kInk);
  d.FillRect({7, 9, 6, 2}, kInk);
  if (slide) d.FrameRect({5, 3, 10, 14}, kInk, 1.2f);
}

const std::vector<std::vector<StudioToolInfo>>& Buttons() {
  static const std::vector<std::vector<StudioToolInfo>> buttons = {
      {{kToolSelection, u"Selection", u"V", u"selects clips", "Tool_Selection", [](Drawbot& d) { Arrow(d, 5, 2); }},
       {kToolTrackForward, u"Track Select Forward", u"A", u"selects every clip after the click", "Tool_TrackForward",
        [](Drawbot& d) { TrackArrows(d, true); }},
       {kToolTrackBackward, u"Track Select Backward", u"Shift+A", u"selects every clip before the click", "Tool_TrackBackward",
        [](Drawbot& d) { TrackArrows(d, false); }}},
      {{kToolRazor, u"Razor", u"C", u"cuts a clip in two", "Tool_Razor", [](Drawbot& d) {
          d.FillPolygon({{4, 15}, {14, 3}, {17, 6}, {7, 17}}, kInk);
          d.FillEllipse({2, 14, 5, 5}, kInk);
        }}},
      {{kToolSlip, u"Slip", u"Y", u"moves a clip's content inside it", "Tool_Slip", [](Drawbot& d) { DoubleArrow(d, false); }},
       {kToolSlide, u"Slide", u"U", u"moves a clip between its neighbours", "Tool_Slide", [](Drawbot& d) { DoubleArrow(d, true); }}},
      {{kToolPen, u"Pen", u"P", u"draws shapes and keyframes", "Tool_Pen", [](Drawbot& d) {
          d.FillPolygon({{10, 2}, {16, 12}, {10, 18}, {4, 12}}, kInk);
        }},
       {kToolRectangle, u"Rectangle", u"", u"draws rectangles", "Tool_Rectangle", [](Drawbot& d) { d.FrameRect({3, 5, 14, 10}, kInk, 2); }},
       {kToolEllipse, u"Ellipse", u"", u"draws ellipses", "Tool_Ellipse", [](Drawbot& d) { d.FillEllipse({3, 5, 14, 10}, kInk); }}},
      {{kToolHand, u"Hand", u"H", u"scrolls the timeline", "Tool_Hand", [](Drawbot& d) {
          for (int i = 0; i < 4; ++i) d.FillRoundedRect({4 + float(i) * 3.2f, 3 + (i == 0 || i == 3 ? 2.0f : 0.0f), 2.6f, 9}, 1.3f, kInk);
          d.FillRoundedRect({4, 9, 13, 9}, 3, kInk);
        }}},
      {{kToolZoom, u"Zoom", u"Z", u"zooms the timeline in, with Alt out", "Tool_Zoom", [](Drawbot& d) {
          d.FillEllipse({2, 2, 12, 12}, kInk);
          d.DrawLine({12, 12}, {18, 18}, kInk, 3);
        }}},
      {{kToolType, u"Type", u"T", u"adds a title", "Tool_Type", [](Drawbot& d) {
          d.FillRect({3, 3, 14, 3}, kInk);
          d.FillRect({8.5f, 3, 3, 14}, kInk);
        }},
       {kToolVerticalType, u"Vertical Type", u"", u"adds a vertical title", "Tool_VerticalType", [](Drawbot& d) {
          d.FillRect({3, 3, 3, 14}, kInk);
          d.FillRect({3, 8.5f, 14, 3}, kInk);
        }}},
  };
  return buttons;
}

// Draws every tool's icon once, under each name a state may ask for.
void RegisterIcons(kivui::ResourceManager& resources) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  for (const auto& button : Buttons()) {
    for (const StudioToolInfo& info : button) {
      const kivui::Image icon = kivui::RenderImage(kIcon, kIcon, info.draw);
      for (const char* suffix : {"_N", "_S", "_N_D", "_S_D"}) resources.AddImage(std::string(info.image) + suffix, "png", icon);
    }
  }
}

ToolPtr MakeTool(const StudioToolInfo& info) {
  ToolPtr tool = new Tool(info.id, info.name, info.image, kivui::ImageFileType::kPNG);
  tool->SetShortcutString(info.shortcut);
  tool->SetToolTipHintString(info.hint);
  return tool;
}

class StudioToolsCreator : public kivworkspace::workspace::TabCreator {
 public:
  explicit StudioToolsCreator(kivworkspace::sharedui::ToolMap& map) : TabCreator("ToolStrip"), map_(map) {}

  kivworkspace::workspace::TabPanelPtr CreateTabPanel(kivworkspace::workspace::Workspace* workspace,
                                                      kivworkspace::workspace::WorkspaceFrameBase* frame) const override {
    auto* studio = dynamic_cast<StudioWorkspace*>(workspace);
    auto tab = std::make_shared<kivworkspace::sharedui::ToolsTab>(workspace, frame, "ToolStrip", u"Tools",
                                                                 studio ? studio->GetManager() : nullptr);
    auto& resources = kivui::UI_NodeManager::Get().GetResourceManager();
    RegisterIcons(resources);
    map_.RemoveAllButtonsFromToolTab(tab.get());
    int buttonId = 1;
    for (const auto& tools : Buttons()) {
      auto button = std::make_shared<ToolPictureButton>(buttonId++, MakeTool(tools.front()), resources);
      for (std::size_t i = 1; i < tools.size(); ++i) button->AddSubTool(MakeTool(tools[i]));
      map_.AddButtonToToolTab(tab.get(), button);
      if (buttonId == 3 || buttonId == 6) tab->AddSeparator();  // after razor, after hand
    }
    map_.GetToolButtonFromToolID(kToolSelection)->ActivateButton();
    tab->ShowWorkspacePopup(true);
    tab->ShowWorkspaceSwitcher(true);
    tab->ShowSearchBox(true);
    return tab;
  }

 private:
  kivworkspace::sharedui::ToolMap& map_;
};

}  // namespace

std::unique_ptr<kivworkspace::workspace::TabCreator> CreateStudioToolsCreator(kivworkspace::sharedui::ToolMap& map) {
  return std::make_unique<StudioToolsCreator>(map);
}

}  // namespace kivstudio
