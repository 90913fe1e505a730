// kivws: a tool for workspace definition files.
//
//   kivws validate FILE...                    checks each file; lists the fallbacks a restore takes
//   kivws info FILE                           the windows, frames and panels as text
//   kivws dot FILE                            the layout trees as a Graphviz digraph
//   kivws render FILE -o PNG [--size WxH]     a picture of the main window, without a display
//   kivws list [PREFDIR] [--host NAME] [--system DIR]
//                                             the named workspaces a host's manager offers
//                                             and the files each lives in; writes nothing
//
// Exit codes: 0 done (for validate: every file is usable, warnings allowed), 1 a file was
// refused or the picture could not be saved, 2 the command cannot work as given.
#include "DefinitionOutline.h"
#include "ScratchWorkspace.h"

#include "services/core/File.h"
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "services/ui/app/Application.h"
#include "workspace/manager/Manager.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "workspaceutils/WorkspaceDirs.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using kivcore::PropList;

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

// The main window of the workspace that definitions are checked in; the definition's own
// placement replaces it.
constexpr kivcore::Rect kScratchMainRect{0, 0, 1280, 800};

// The file as a definition a restore accepts; raises the reason otherwise.
PropList LoadDefinition(const std::string& path) {
  PropList definition = kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(path));
  kivworkspace::workspace::CheckWorkspaceDefinition(definition);
  return definition;
}

// The fallbacks a restore took, as lines after "FILE: warning: ".
std::vector<std::string> Warnings(const kivworkspace::workspace::RestoreReport& report) {
  std::vector<std::string> warnings = report.fallbacks;
  for (const std::string& type : report.droppedTypes)
    warnings.push_back("no panel of type " + type + " could be made; it is left out");
  return warnings;
}

// One line per file: "ok" or the reason it is refused, then the warnings of a restore.
int Validate(const std::vector<std::string>& files) {
  bool allUsable = true;
  for (const std::string& path : files) {
    std::vector<std::string> warnings;
    try {
      const PropList definition = LoadDefinition(path);
      kivws::ScratchWorkspace scratch(kivws::TabTypesNamed(definition), kScratchMainRect);
      warnings = Warnings(scratch.Restore(definition, /*applyMainPlacement=*/true));
    } catch (const std::exception& e) {
      std::printf("%s: %s\n", path.c_str(), e.what());
      allUsable = false;
      continue;
    }
    std::printf("%s: ok\n", path.c_str());
    for (const std::string& warning : warnings) std::printf("%s: warning: %s\n", path.c_str(), warning.c_str());
  }
  return allUsable ? 0 : kExitRefused;
}

// Prints the outline of the file through `write`.
int Describe(const std::string& path, void (*write)(const kivws::DefinitionOutline&, std::ostream&)) {
  PropList definition;
  try {
    definition = LoadDefinition(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kivws: %s: %s\n", path.c_str(), e.what());
    return kExitRefused;
  }
  write(kivws::ReadOutline(definition), std::cout);
  return 0;
}

// The system workspaces installed with the tools ("share/kivworkspace/workspaces" beside
// their "bin" folder), else those of the source tree for runs from a build: the folder
// kivstudio offers its system workspaces from.
std::string InstalledSystemFolder() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path installed =
      fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "share" / "kivworkspace" / "workspaces";
  if (!ec && fs::is_directory(installed, ec)) return installed.string();
  return (fs::path(KIV_SOURCE_SHARE_DIR) / "kivworkspace" / "workspaces").string();
}

// One line per workspace, in the order menus show them: its name, its kind and its files.
// Files the manager leaves out are listed on the error stream with the reason. Nothing is
// made, tidied or written: the manager only looks.
int List(const std::string& prefDir, const std::string& host, const std::string& systemDir) {
  using kivworkspace::workspace::ManagerBase;
  if (!prefDir.empty()) ::setenv("KIV_PREF_DIR", prefDir.c_str(), 1);
  kivcore::UTF16String userFolder, archiveFolder, settingsFile;
  kivworkspace::workspaceutils::GetWorkspaceDirPaths(kivcore::UTF8to16(host), userFolder, archiveFolder, settingsFile);
  kivws::FolderSystemWorkspaces system(kivcore::UTF8to16(systemDir.empty() ? InstalledSystemFolder() : systemDir));
  kivws::ScratchWorkspace scratch({}, kScratchMainRect);
  kivworkspace::workspace::Manager manager(scratch.GetWorkspace(), userFolder, archiveFolder, settingsFile, nullptr,
                                          &system, false);
  manager.SetReadOnly(true);
  try {
    manager.Initialize();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kivws: %s\n", e.what());
    return kExitRefused;
  }
  for (const auto& skipped : manager.GetSkippedFiles())
    std::fprintf(stderr, "kivws: left out %s: %s\n", kivcore::UTF16to8(skipped.path).c_str(), skipped.reason.c_str());
  std::vector<kivcore::UTF16String> names;
  manager.GetUISortedWorkspaceNames(names);
  for (const auto& name : names) {
    const ManagerBase::StoredStates states = manager.GetStoredStates(name);
    // A built-in or system workspace saved with its changes has an archived state: it is
    // the user's own now, and its reset returns to that.
    const char* kind = !states.archived.empty() ? "user" : !states.system.empty() ? "system" : "built-in";
    std::string line = kivcore::UTF16to8(name) + "\t" + kind;
    if (!states.current.empty()) line += "\tcurrent " + kivcore::UTF16to8(states.current);
    if (!states.archived.empty()) line += "\tarchived " + kivcore::UTF16to8(states.archived);
    if (!states.system.empty()) line += "\tsystem " + kivcore::UTF16to8(states.system);
    if (states.current.empty() && states.system.empty()) line += "\tbuilt by the host when first used";
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

struct Size {
  int width = 0, height = 0;
};

// "1280x800" as a size, each side from 1 to 16384 pixels.
std::optional<Size> ParseSize(const std::string& text) {
  Size size;
  char x = 0;
  int used = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%n", &size.width, &x, &size.height, &used) != 3 || x != 'x' ||
      used != int(text.size()) || size.width < 1 || size.height < 1 || size.width > 16384 ||
      size.height > 16384) {
    return std::nullopt;
  }
  return size;
}

int Render(const std::string& path, const std::string& output, const Size& size) {
  try {
    const PropList definition = LoadDefinition(path);
    kivws::ScratchWorkspace scratch(kivws::TabTypesNamed(definition), {0, 0, size.width, size.height});
    for (const std::string& warning : Warnings(scratch.Restore(definition, /*applyMainPlacement=*/false)))
      std::fprintf(stderr, "kivws: %s: warning: %s\n", path.c_str(), warning.c_str());
    scratch.SaveMainWindowPNG(size.width, size.height, output);
    std::printf("%s: main window, %dx%d\n", output.c_str(), size.width, size.height);
    if (const std::size_t floating = scratch.FloatingWindowCount())
      std::printf("%s: %zu floating window%s not drawn\n", output.c_str(), floating, floating == 1 ? "" : "s");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kivws: %s: %s\n", path.c_str(), e.what());
    return kExitRefused;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"kivws: validate, describe and render workspace definition files"};
  app.require_subcommand(1);

  std::vector<std::string> files;
  CLI::App* validate = app.add_subcommand("validate", "Check files; list the fallbacks a restore would take");
  validate->add_option("files", files, "Workspace definition files")->required();

  std::string file;
  CLI::App* info = app.add_subcommand("info", "Print the windows, frames and panels of a definition");
  info->add_option("file", file, "A workspace definition file")->required();
  CLI::App* dot = app.add_subcommand("dot", "Print the layout trees as a Graphviz digraph");
  dot->add_option("file", file, "A workspace definition file")->required();

  std::string output, sizeText = "1280x800";
  CLI::App* render = app.add_subcommand("render", "Draw the main window's arrangement to a PNG");
  render->add_option("file", file, "A workspace definition file")->required();
  render->add_option("-o,--output", output, "The PNG to write")->required();
  render->add_option("--size", sizeText, "The main window's size, WIDTHxHEIGHT (default 1280x800)")
      ->check(CLI::Validator(
          [](std::string& text) { return ParseSize(text) ? std::string() : "expected WIDTHxHEIGHT, got '" + text + "'"; },
          "WxH"));
  std::string prefDir, host = "kivstudio", systemDir;
  CLI::App* list = app.add_subcommand("list", "List the named workspaces a host's manager offers and their files");
  list->add_option("prefdir", prefDir, "The preferences folder (default: $KIV_PREF_DIR, else the user's)");
  list->add_option("--host", host, "The host's folder inside it (default kivstudio; \"\" for none)");
  list->add_option("--system", systemDir,
                   "The folder of the host's system workspaces (default: the one installed with kivws)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : kExitUsage;  // --help exits 0
  }

  if (info->parsed()) return Describe(file, kivws::WriteInfo);
  if (dot->parsed()) return Describe(file, kivws::WriteDot);
  // Restoring needs the UI; unless told otherwise it draws offscreen, where the window
  // system's own notes (no runtime folder, windows that cannot be raised) say nothing about
  // the definition and stay out of the output.
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("QT_LOGGING_RULES"))
    ::setenv("QT_LOGGING_RULES", "default.warning=false", 1);
  kivui::Application ui(argc, argv, "offscreen");
  if (validate->parsed()) return Validate(files);
  if (list->parsed()) return List(prefDir, host, systemDir);
  return Render(file, output, *ParseSize(sizeText));
}
