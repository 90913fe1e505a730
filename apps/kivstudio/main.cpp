// kivstudio: a mock video editor hosting the docking workspace.
//   kivstudio              runs the editor
//   kivstudio --tour DIR   performs a scripted tour, saving screenshots into DIR
//   kivstudio --script FILE.js [--exit]
//                          runs a script once the window is up (and with --exit quits when
//                          it ends, with status 1 when it failed)
#include "Studio.h"
#include "StudioScript.h"
#include "Tour.h"
#include "services/core/MainThread.h"
#include "services/ui/app/Application.h"
#include "services/ui/window/OS_MonitorInfo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  kivui::Application app(argc, argv);
  std::string tourDir, script;
  bool exitAfterScript = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--tour") == 0 && i + 1 < argc) {
      tourDir = argv[++i];
    } else if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
      script = argv[++i];
    } else if (std::strcmp(argv[i], "--exit") == 0) {
      exitAfterScript = true;
    } else {
      std::fprintf(stderr, "usage: kivstudio [--tour DIR | --script FILE.js [--exit]]\n");
      return 2;
    }
  }
  const bool tour = !tourDir.empty();
  // The tour uses a fixed size so that its screenshots compare across machines.
  const kivcore::Rect rect = tour ? kivcore::Rect{0, 0, 1440, 860} : kivui::OS_MonitorInfo::FromPoint({0, 0}).workRect;
  kivstudio::Studio studio(rect);
  if (tour) {
    // The tour keeps its workspaces in a preference folder of its own, fresh each time, so
    // that it starts from "Cut" whatever the user's runs saved.
    const std::filesystem::path prefs = std::filesystem::absolute(std::filesystem::path(tourDir) / "prefs");
    std::filesystem::remove_all(prefs);
    ::setenv("KIV_PREF_DIR", prefs.c_str(), 1);
    studio.OpenWorkspaces("Cut", false);
    studio.GetMainWindow().ShowWithState(kivui::OS_Window::kNormal);
    return kivstudio::RunTour(studio, tourDir) == 0 ? 0 : 1;
  }
  // The workspace and the window's place as the last run left them, else "Cut".
  for (const std::string& reason : studio.OpenWorkspaces("Cut"))
    std::fprintf(stderr, "kivstudio: left out %s\n", reason.c_str());
  auto scripts = std::make_unique<kivstudio::StudioScript>();
  if (!script.empty()) {
    // Once the window is up and laid out.
    kivcore::threads::AsyncCallFromMainThread([&] {
      const bool ok = scripts->RunFile(script);
      if (exitAfterScript) kivui::Application::Quit(ok ? 0 : 1);
    }, 300);
  }
  const int status = app.Run();
  scripts.reset();  // the script objects, before the windows they point at
  studio.CloseWorkspaces();
  return status;
}
