// libFuzzer target for the workspace definition reader: any bytes are parsed as a property
// list file and restored into a live workspace (offscreen). A refused input must raise the
// library's error and leave the arrangement as it was; nothing may crash, leak or hang.
//
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKIV_BUILD_FUZZ=ON \
//         -DKIV_SANITIZE=address,undefined -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
//   cmake --build build-fuzz --target definition_fuzzer
//   build-fuzz/tests/fuzz/definition_fuzzer -max_total_time=600 tests/fuzz/corpus
#include "services/core/Error.h"
#include "services/core/PropListUtils.h"
#include "services/ui/app/Application.h"
#include "workspace/core/TabCreator.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"
#include "workspace/definition/WorkspaceDefinition.h"

#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

using namespace kivworkspace::workspace;

// A panel that keeps its state, for every type the inputs are likely to name.
class FuzzPanel : public TabPanel {
 public:
  FuzzPanel(Workspace* w, WorkspaceFrameBase* f, const std::string& type, bool hides)
      : TabPanel(w, f, hides, type, kivcore::UTF8to16(type)) {}

 private:
  void DoSaveStateData(kivcore::PropList* list) const override { list->SetValue("Note", note_); }
  void DoLoadStateData(kivcore::PropList* list) override { list->GetValue("Note", note_); }
  std::string note_;
};

class FuzzCreator : public TabCreator {
 public:
  using TabCreator::TabCreator;
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    return std::make_shared<FuzzPanel>(w, f, GetTabType(), HidesWhenClosed());
  }
  bool HidesWhenClosed() const override { return GetTabType() == "H"; }
};

struct Host {
  Host() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "definition_fuzzer";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<kivui::Application>(argc, argv);
    workspace = std::make_shared<Workspace>();
    for (const char* type : {"A", "B", "C", "H"})
      workspace->RegisterTabCreator(std::make_unique<FuzzCreator>(type));
    main = workspace->CreateMainTopLevelWindow({0, 0, 640, 480});
    main->UI_Show(true);
  }
  std::unique_ptr<kivui::Application> app;
  std::shared_ptr<Workspace> workspace;
  std::shared_ptr<TopLevelWindow> main;
};

kivcore::PropList Saved(const Workspace& workspace) {
  kivcore::PropList definition;
  SaveWorkspace(workspace, definition, {});
  return definition;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Never destroyed: at exit Qt's own globals may already be gone.
  static Host& host = *new Host;
  kivcore::PropList definition;
  try {
    definition = kivcore::proplist::utils::ReadPropList(
        std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const kivcore::config::Error&) {
    return 0;
  }
  const kivcore::PropList before = Saved(*host.workspace);
  try {
    RestoreReport report;
    RestoreWorkspace(*host.workspace, definition, true, true, false, &report);
  } catch (const kivcore::config::Error&) {
    if (!(Saved(*host.workspace) == before)) std::abort();  // a refusal changed the arrangement
  }
  // The event loop deletes the widgets of the frames that went, as it would in a host.
  kivui::Application::ProcessEvents(0);
  return 0;
}
