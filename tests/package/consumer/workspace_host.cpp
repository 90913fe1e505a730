// A host that docks two panels through the installed package alone, saves the arrangement
// and restores it into a second workspace.
#include "services/core/core.h"
#include "services/ui/app/Application.h"
#include "workspace/manager/manager.h"
#include "workspace/workspace.h"

#include <cstdio>

using namespace kivworkspace::workspace;

class NotePanel : public TabPanel {
 public:
  NotePanel(Workspace* w, WorkspaceFrameBase* f, const std::string& type)
      : TabPanel(w, f, true, type, kivcore::UTF8to16("Note " + type)) {}
};

class NoteCreator : public TabCreator {
 public:
  using TabCreator::TabCreator;
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<NotePanel>(w, f, GetTabType());
  }
};

std::shared_ptr<Workspace> MakeWorkspace() {
  auto workspace = std::make_shared<Workspace>();
  for (const char* type : {"Left", "Right"}) workspace->RegisterTabCreator(std::make_unique<NoteCreator>(type));
  return workspace;
}

int main(int argc, char** argv) {
  kivui::Application app(argc, argv, "offscreen");
  auto workspace = MakeWorkspace();
  auto main = workspace->CreateMainTopLevelWindow({0, 0, 800, 600});
  WorkspaceFrame* left = main->CreateRootFrame("Left", false, true);
  main->AddTabbedFrame(left, "Right", LayoutManager::kRight);
  kivcore::PropList definition;
  SaveWorkspace(*workspace, definition, u"Consumer");

  auto restored = MakeWorkspace();
  restored->CreateMainTopLevelWindow({0, 0, 800, 600});
  if (!RestoreWorkspace(*restored, definition, true, true, false)) return 1;
  if (restored->GetMainTopLevelWindow()->GetFrameCount() != 2) return 2;
  std::printf("workspace host ok: %u frames restored\n", restored->GetMainTopLevelWindow()->GetFrameCount());
  return 0;
}
