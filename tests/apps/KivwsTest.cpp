// kivws end to end, as a separate process, on a definition written by hand (data/Editing.xml:
// the main window split side by side, a frame with two panels and a closed one, a floating
// window and a closed-window record), on broken copies of it, and on variants made here.
#include "RequiredTool.h"
#include "Wait.h"

#include "services/core/TempDir.h"
#include "services/ui/draw/Image.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

extern char** environ;

using namespace kivtest;

namespace {

const std::filesystem::path kData = KIVWS_DATA;
const std::string kGolden = (kData / "Editing.xml").string();

struct Result {
  int exit = -1;
  std::vector<std::string> out;  // stdout, by lines
  std::string err;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

struct Kivws : ::testing::Test {
  TempDir dir;

  Result Run(std::vector<std::string> args) {
    args.insert(args.begin(), KIVWS_PATH);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string out = (dir / "stdout").string(), err = (dir / "stderr").string();
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    Result r;
    EXPECT_EQ(::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    ::posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = Lines(Slurp(out));
    r.err = Slurp(err);
    return r;
  }

  // The golden definition with pieces of text replaced, saved as `name`.
  std::string Variant(const std::string& name, const std::vector<std::pair<std::string, std::string>>& edits) {
    std::string text = Slurp(kGolden);
    for (const auto& [from, to] : edits) {
      const auto at = text.find(from);
      EXPECT_NE(at, std::string::npos) << from;
      if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    const std::string path = (dir / name).string();
    std::ofstream(path) << text;
    return path;
  }
  std::string Variant(const std::string& name, const std::string& from, const std::string& to) {
    return Variant(name, {{from, to}});
  }
};

TEST_F(Kivws, ValidateSaysOkOrTheReasonForEachFileInOrder) {
  Result ok = Run({"validate", kGolden});
  EXPECT_EQ(ok.exit, 0);
  EXPECT_EQ(ok.out, std::vector<std::string>{kGolden + ": ok"});  // no fallbacks either

  // A panel state or a closed window's record that is not a property list costs only
  // itself: the file is usable, with a warning.
  const std::string noVersion = Variant("NoVersion.xml", "<string k=\"KIV_Wrkspce\" v=\"1.2\"/>", "");
  const std::string badRecord = Variant("BadRecord.xml", "<string k=\"WinSerData\" v=\"&lt;proplist&gt;", "<string k=\"WinSerData\" v=\"&lt;proplist");
  const std::string missing = (dir / "missing.xml").string();
  const std::vector<std::string> files = {kGolden, (kData / "Truncated.xml").string(), (kData / "WrongVersion.xml").string(),
                                          (kData / "BadPanelState.xml").string(), noVersion, badRecord, missing};
  Result r = Run({"validate", files[0], files[1], files[2], files[3], files[4], files[5], files[6]});
  EXPECT_EQ(r.exit, 1);
  std::vector<std::string> verdicts, warnings;
  for (const std::string& line : r.out) (Contains(line, ": warning: ") ? warnings : verdicts).push_back(line);
  ASSERT_EQ(verdicts.size(), files.size()) << r.err;
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(verdicts[i].rfind(files[i] + ": ", 0), 0u) << verdicts[i];
  EXPECT_EQ(verdicts[0], kGolden + ": ok");
  EXPECT_TRUE(Contains(verdicts[1], "The property list is not valid")) << verdicts[1];
  EXPECT_EQ(verdicts[2], files[2] + ": Unable to load workspace; Incompatible workspace definition version.");
  EXPECT_EQ(verdicts[3], files[3] + ": ok");
  EXPECT_EQ(verdicts[4], noVersion + ": Not a valid workspace definition.");
  EXPECT_EQ(verdicts[5], badRecord + ": ok");
  EXPECT_TRUE(Contains(verdicts[6], "No such file")) << verdicts[6];
  ASSERT_EQ(warnings.size(), 2u) << r.err;
  EXPECT_EQ(warnings[0].rfind(files[3] + ": warning: TopLevelFrame-0/Splitter/Sub1/Splitter/Sub2/Frame/VisTabState-0: "
                                         "not a property list (",
                              0),
            0u)
      << warnings[0];
  EXPECT_EQ(warnings[1].rfind(badRecord + ": warning: WSInstanceData/FrameReanim-0/WinSerData: not a property list (", 0), 0u)
      << warnings[1];
}

TEST_F(Kivws, ValidateListsTheFallbacksOfARestoreAsWarnings) {
  const std::string path = Variant("Fallbacks.xml", {{"<int k=\"CurrTab\" v=\"1\"/>", "<string k=\"CurrTab\" v=\"1\"/>"},
                                                     {"<ints k=\"SzPos\" v=\"400 300 360 240\"/>", ""}});
  Result r = Run({"validate", path});
  EXPECT_EQ(r.exit, 0) << r.err;
  ASSERT_EQ(r.out.size(), 3u);
  EXPECT_EQ(r.out[0], path + ": ok");
  for (const std::string& line : {r.out[1], r.out[2]}) EXPECT_EQ(line.rfind(path + ": warning: ", 0), 0u) << line;
  EXPECT_TRUE(Contains(r.out[1], "TopLevelFrame-0/Splitter/Sub1/Splitter/Sub1/Frame/CurrTab: ")) << r.out[1];
  EXPECT_TRUE(Contains(r.out[2], "TopLevelFrame-1/SzPos: missing")) << r.out[2];
}

// A file whose counts promise far more than it holds is read as far as it goes, at once.
TEST_F(Kivws, CountsBeyondTheFileAreReadAsFarAsTheFileGoes) {
  const std::string huge = Variant("Huge.xml", {{"<int k=\"SerCfgMax\" v=\"2\"/>", "<int k=\"SerCfgMax\" v=\"2000000000\"/>"},
                                                {"<int k=\"FrameReanimMax\" v=\"1\"/>", "<int k=\"FrameReanimMax\" v=\"2000000000\"/>"}});
  Result validate = Run({"validate", huge});
  EXPECT_EQ(validate.exit, 0) << validate.err;
  EXPECT_EQ(validate.out, (std::vector<std::string>{
                              huge + ": ok",
                              huge + ": warning: TopLevelFrame-2 to TopLevelFrame-1999999999: missing or not sublists; "
                                     "those windows are left out",
                              huge + ": warning: WSInstanceData/FrameReanim-1 to FrameReanim-1999999999: missing or not "
                                     "sublists; those closed windows are forgotten",
                          }));
  Result info = Run({"info", huge});
  EXPECT_EQ(info.exit, 0) << info.err;
  EXPECT_EQ(info.out, Run({"info", kGolden}).out);
}

// A panel pinned to the main window's side is made like any other: no warning, and the
// picture shows its bar.
TEST_F(Kivws, PinnedPanelsAreMadeAndDrawn) {
  const std::string pinned = Variant("Pinned.xml", "<bool k=\"HasToolBar\" v=\"false\"/>",
                                     "<bool k=\"HasToolBar\" v=\"true\"/><string k=\"ToolBarTabType\" v=\"Transport\"/>");
  Result validate = Run({"validate", pinned});
  EXPECT_EQ(validate.exit, 0) << validate.err;
  EXPECT_EQ(validate.out, std::vector<std::string>{pinned + ": ok"});

  const std::string withBar = (dir / "bar.png").string(), without = (dir / "nobar.png").string();
  ASSERT_EQ(Run({"render", pinned, "-o", withBar, "--size", "640x400"}).exit, 0);
  ASSERT_EQ(Run({"render", kGolden, "-o", without, "--size", "640x400"}).exit, 0);
  const kivui::Image bar = kivui::Image::FromFile(withBar), plain = kivui::Image::FromFile(without);
  // The bar across the top pushes the frames down: the top rows differ.
  int differing = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < bar.Width(); x += 4) {
      const kivui::Color a = bar.PixelAt(x, y), b = plain.PixelAt(x, y);
      differing += a.r != b.r || a.g != b.g || a.b != b.b;
    }
  }
  EXPECT_GT(differing, 100);
}

TEST_F(Kivws, BadArgumentsExitWithTheUsageCode) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"validate"}, {"info"}, {"info", kGolden, kGolden}, {"render", kGolden},
           {"render", kGolden, "-o", "x.png", "--size", "640"}, {"render", kGolden, "-o", "x.png", "--size", "0x400"},
           {"render", kGolden, "-o", "x.png", "--size", "640x400x2"}}) {
    std::string shown;
    for (const auto& a : args) shown += a + " ";
    EXPECT_EQ(Run(args).exit, 2) << shown;
  }
  EXPECT_EQ(Run({"--help"}).exit, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
}

TEST_F(Kivws, InfoSummarisesWindowsFramesAndClosedPanels) {
  Result r = Run({"info", kGolden});
  EXPECT_EQ(r.exit, 0) << r.err;
  EXPECT_EQ(r.out, (std::vector<std::string>{
                       "name: Editing",
                       "window 0: main, at 100,80, size 1280x800",
                       "  frame 0: MediaBin, Markers (front)",
                       "    closed: EffectsLibrary",
                       "  frame 1: SequenceViewer (front)",
                       "window 1: floating, at 400,300, size 360x240",
                       "  frame 0: Scopes (front)",
                       "closed window 0: AudioMixer, Console",
                   }));

  // The maximized frame, found by its path from the root ('1': the right side).
  const std::string winState = "<list k=\"WinState\">";
  Result maximized = Run({"info", Variant("Max.xml", winState, "<string k=\"MaxFramePath\" v=\"1\"/>" + winState)});
  EXPECT_EQ(maximized.out.at(2), "  maximized: frame 1");
  Result astray = Run({"info", Variant("Astray.xml", winState, "<string k=\"MaxFramePath\" v=\"10\"/>" + winState)});
  EXPECT_EQ(astray.out.at(2), "  maximized: path \"10\" leads to no frame");

  // A file that validate refuses is refused here too, with the same reason.
  Result refused = Run({"info", (kData / "WrongVersion.xml").string()});
  EXPECT_EQ(refused.exit, 1);
  EXPECT_TRUE(refused.out.empty());
  EXPECT_TRUE(Contains(refused.err, "WrongVersion.xml: Unable to load workspace")) << refused.err;
}

TEST_F(Kivws, DotIsAcceptedByGraphvizEvenForOddTypeNames) {
  ASSERT_TRUE(ToolInstalled("dot", "graphviz"));
  // Quotes, backslashes and a line break in a type name must not break the graph; this
  // closed panel's name ends a label.
  const std::string odd = Variant("Odd.xml", "<s v=\"EffectsLibrary\"/>", "<s v=\"Effects&quot;&#10;Library\\\"/>");
  for (const std::string& file : {kGolden, odd}) {
    Result r = Run({"dot", file});
    ASSERT_EQ(r.exit, 0) << r.err;
    std::string graph;
    for (const auto& line : r.out) graph += line + "\n";
    EXPECT_TRUE(Contains(graph, "subgraph cluster_0") && Contains(graph, "subgraph cluster_1")) << graph;
    EXPECT_TRUE(Contains(graph, "vertical 0.35")) << graph;
    EXPECT_TRUE(Contains(graph, "Markers (front)")) << graph;
    const std::string dotFile = (dir / "graph.dot").string();
    std::ofstream(dotFile) << graph;
    EXPECT_EQ(std::system(("dot -Tcanon '" + dotFile + "' >/dev/null 2>&1").c_str()), 0) << graph;
  }
}

TEST_F(Kivws, RenderDrawsTheMainWindowAtTheRequestedSize) {
  // Enough different colours that something was drawn: frames, tab wells, type names.
  auto colours = [](const kivui::Image& image) {
    std::set<std::uint32_t> seen;
    for (int y = 0; y < image.Height(); y += 3) {
      for (int x = 0; x < image.Width(); x += 3) {
        const kivui::Color c = image.PixelAt(x, y);
        seen.insert(std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b);
      }
    }
    return seen.size();
  };
  const std::string wide = (dir / "wide.png").string(), small = (dir / "small.png").string();
  Result r = Run({"render", kGolden, "-o", wide});
  EXPECT_EQ(r.exit, 0) << r.err;
  const kivui::Image defaultSize = kivui::Image::FromFile(wide);
  EXPECT_EQ(defaultSize.Width(), 1280);
  EXPECT_EQ(defaultSize.Height(), 800);
  EXPECT_GT(colours(defaultSize), 8u);

  EXPECT_EQ(Run({"render", kGolden, "-o", small, "--size", "640x400"}).exit, 0);
  const kivui::Image requested = kivui::Image::FromFile(small);
  EXPECT_EQ(requested.Width(), 640);
  EXPECT_EQ(requested.Height(), 400);
  EXPECT_GT(colours(requested), 8u);

  const std::string refused = (dir / "refused.png").string();
  EXPECT_EQ(Run({"render", (kData / "WrongVersion.xml").string(), "-o", refused}).exit, 1);
  EXPECT_FALSE(std::filesystem::exists(refused));
}

}  // namespace

namespace {

TEST_F(Kivws, ListNamesEachWorkspaceWithItsKindAndFilesAndLeavesOutBadOnes) {
  const std::filesystem::path host = dir / "prefs" / "kivstudio";
  std::filesystem::create_directories(host / "SavedWorkspaces");
  std::filesystem::create_directories(host / "ArchivedWorkspaces");
  std::filesystem::create_directories(dir / "system");
  const std::string user = Variant("UserWorkspace-1.xml", "v=\"Editing\"", "v=\"Evening\"");
  std::filesystem::copy_file(user, host / "SavedWorkspaces" / "UserWorkspace-1.xml");
  std::filesystem::copy_file(user, host / "ArchivedWorkspaces" / "UserWorkspace-1.xml");
  std::filesystem::copy_file(Variant("Review.xml", "v=\"Editing\"", "v=\"Review\""), dir / "system" / "Review.xml");
  std::ofstream(host / "SavedWorkspaces" / "Broken.xml") << "<proplist>";
  std::ofstream(host / "SavedWorkspaces" / "UserWorkspace-1.xml.tmp-123") << "<proplist>";  // a host's, mid-save
  std::ofstream(host / "WSMgrCfg") << "<proplist><texts k=\"BuiltIns\"><t v=\"Cut\"/></texts></proplist>";
  const std::string settings = Slurp((host / "WSMgrCfg").string());

  Result r = Run({"list", (dir / "prefs").string(), "--system", (dir / "system").string()});
  ASSERT_EQ(r.exit, 0) << r.err;
  const std::string saved = (host / "SavedWorkspaces").string(), archived = (host / "ArchivedWorkspaces").string();
  EXPECT_EQ(r.out, (std::vector<std::string>{
                       "Cut\tbuilt-in\tbuilt by the host when first used",
                       "Evening\tuser\tcurrent " + saved + "/UserWorkspace-1.xml\tarchived " + archived + "/UserWorkspace-1.xml",
                       "Review\tsystem\tsystem " + (dir / "system" / "Review.xml").string(),
                   }));
  EXPECT_TRUE(Contains(r.err, "left out " + saved + "/Broken.xml: ")) << r.err;
  EXPECT_EQ(Slurp((host / "WSMgrCfg").string()), settings) << "listing writes nothing";
  EXPECT_TRUE(std::filesystem::exists(host / "SavedWorkspaces" / "UserWorkspace-1.xml.tmp-123")) << "nor removes";

  // By default the system workspaces are those installed with the tools, as kivstudio
  // offers them; a preference folder without the host's folder stays as it is.
  std::filesystem::create_directories(dir / "empty");
  Result installed = Run({"list", (dir / "empty").string()});
  ASSERT_EQ(installed.exit, 0) << installed.err;
  ASSERT_EQ(installed.out.size(), 2u) << installed.err;
  for (const auto& [line, name] : {std::pair{installed.out[0], "Logging"}, std::pair{installed.out[1], "Review"}}) {
    EXPECT_EQ(line.rfind(std::string(name) + "\tsystem\tsystem /", 0), 0u) << line;
    EXPECT_TRUE(line.ends_with("/share/kivworkspace/workspaces/" + std::string(name) + ".xml")) << line;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir / "empty")) << "no folder is made";
}

}  // namespace
