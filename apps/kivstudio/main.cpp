// kivstudio: a mock video editor hosting the docking workspace.
//   kivstudio              runs the editor
//   kivstudio --tour DIR   performs a scripted tour, saving screenshots into DIR
#include "Studio.h"
#include "Tour.h"
#include "services/ui/app/Application.h"
#include "services/ui/window/OS_MonitorInfo.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  kivui::Application app(argc, argv);
  std::string tourDir;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--tour") == 0 && i + 1 < argc) {
      tourDir = argv[++i];
    } else {
      std::fprintf(stderr, "usage: kivstudio [--tour DIR]\n");
      return 2;
    }
  }
  const bool tour = !tourDir.empty();
  // The tour uses a fixed size so that its screenshots compare across machines.
  const kivcore::Rect rect = tour ? kivcore::Rect{0, 0, 1440, 860} : kivui::OS_MonitorInfo::FromPoint({0, 0}).workRect;
  kivstudio::Studio studio(rect);
  if (tour) {
    // The tour starts from "Cut" whatever a previous run saved.
    studio.ApplyArrangement("Cut");
    studio.GetMainWindow().ShowWithState(kivui::OS_Window::kNormal);
    return kivstudio::RunTour(studio, tourDir) == 0 ? 0 : 1;
  }
  // The workspace as the last run left it, else "Cut".
  const kivcore::filesupport::File saved = kivstudio::Studio::SavedWorkspaceFile();
  studio.GetMainWindow().ApplyDefaultWindowState();
  if (const std::string why = studio.Start(saved); !why.empty())
    std::fprintf(stderr, "kivstudio: starting with \"Cut\": %s\n", why.c_str());
  const int status = app.Run();
  try {
    studio.Save(saved);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kivstudio: the workspace was not saved: %s\n", e.what());
  }
  return status;
}
