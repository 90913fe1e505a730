#include "ScratchWorkspace.h"

#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "services/ui/app/Application.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/testing/Snapshot.h"
#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

namespace kivws {
namespace {

using kivcore::PropList;
using kivworkspace::workspace::TabCreator;
using kivworkspace::workspace::TabPanel;
using kivworkspace::workspace::Workspace;
using kivworkspace::workspace::WorkspaceFrameBase;

// The thickness of a pinned panel's bar, in pixels.
constexpr int kPinnedSize = 32;

// Stands for a panel of any type: its type name on the panel colour. A pinned one asks for
// a bar kPinnedSize thick.
class TypePanel : public TabPanel {
 public:
  TypePanel(Workspace* workspace, WorkspaceFrameBase* frame, const std::string& type, bool pinned)
      : TabPanel(workspace, frame, true, type, kivcore::UTF8to16(type)), pinned_(pinned) {
    SetShowCloseControl();
  }

  void UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) override {
    const auto& theme = kivui::ThemeColors::Current();
    const kivcore::RectF b = GetLocalBounds();
    d.FillRect(b, theme.panel);
    d.FrameRect(b.Inset(8), theme.border);
    d.DrawText(GetTabType(), b, kivui::Font::Bold(14), theme.textDim,
               kivui::kAlignCenter | kivui::kElideRight);
  }

 private:
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override {
    if (pinned_) sizes.push_back({kPinnedSize, kPinnedSize});
  }
  bool pinned_;
};

class TypeCreator : public TabCreator {
 public:
  TypeCreator(std::string type, bool pinned) : TabCreator(std::move(type)), pinned_(pinned) {}
  std::shared_ptr<TabPanel> CreateTabPanel(Workspace* workspace,
                                           WorkspaceFrameBase* frame) const override {
    return std::make_shared<TypePanel>(workspace, frame, GetTabType(), pinned_);
  }

 private:
  bool pinned_;
};

bool NamesTabTypes(const std::string& key) {
  return key == "TabIDs" || key == "ReanimTabs" || key == "RemovedTabs" || key == "HiddenTabs";
}

bool NamesPinnedType(const std::string& key) {
  return key == "ToolBarTabType" || key == "LeftBarTabType" || key == "RightBarTabType" ||
         key == "StatBarTabType";
}

void CollectTabTypes(const PropList& list, NamedTabTypes& types) {
  for (const std::string& key : list.GetKeys()) {
    if (const PropList* sub = list.GetSubList(key)) {
      CollectTabTypes(*sub, types);
    } else if (PropList::StringList names; NamesTabTypes(key) && list.GetValue(key, names)) {
      types.all.insert(names.begin(), names.end());
    } else if (std::string type; NamesPinnedType(key) && list.GetValue(key, type)) {
      types.all.insert(type);
      types.pinned.insert(type);
    } else if (std::string xml; key == "WinSerData" && list.GetValue(key, xml) && !xml.empty()) {
      try {
        CollectTabTypes(kivcore::proplist::utils::ReadPropList(xml), types);
      } catch (const std::exception&) {
        // A record that does not parse names no types; the restore forgets it and says so.
      }
    }
  }
}

}  // namespace

NamedTabTypes TabTypesNamed(const PropList& definition) {
  NamedTabTypes types;
  CollectTabTypes(definition, types);
  return types;
}

ScratchWorkspace::ScratchWorkspace(const NamedTabTypes& types, const kivcore::Rect& mainRect)
    : workspace_(std::make_shared<Workspace>()) {
  for (const std::string& type : types.all) {
    workspace_->RegisterTabCreator(
        std::make_unique<TypeCreator>(type, types.pinned.count(type) > 0));
  }
  main_ = workspace_->CreateMainTopLevelWindow(mainRect);
}

ScratchWorkspace::~ScratchWorkspace() {
  main_.reset();
  workspace_.reset();
  // Widgets of the nodes are deleted later; let that happen while the application lives.
  kivui::Application::ProcessEvents();
}

kivworkspace::workspace::RestoreReport ScratchWorkspace::Restore(const PropList& definition,
                                                                 bool applyMainPlacement) {
  kivworkspace::workspace::RestoreReport report;
  kivworkspace::workspace::RestoreWorkspace(*workspace_, definition, applyMainPlacement,
                                            /*applyMaximized=*/true, /*forceLayout=*/false, &report);
  return report;
}

void ScratchWorkspace::SaveMainWindowPNG(int width, int height, const std::string& path) {
  // The picture is of the content; the window system's decorations come on top of it.
  const kivcore::Rect frame = main_->GetGlobalStructureRect();
  const kivcore::Rect content = main_->GetGlobalContentRect();
  main_->SetGlobalStructureRect({frame.left, frame.top, width + frame.width - content.width,
                                 height + frame.height - content.height});
  main_->GetLayoutManager().Layout(main_->GetClientRect(), false, true, false);
  kivui::Application::ProcessEvents();
  kivui::testing::SaveSnapshotPNG(*main_, path);
}

std::size_t ScratchWorkspace::FloatingWindowCount() const {
  std::size_t count = 0;
  for (auto* window : workspace_->GetWindows()) count += window->IsMain() ? 0 : 1;
  return count;
}

}  // namespace kivws
