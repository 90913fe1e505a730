// A random-action test of the whole workspace. From a seed it takes thousands of actions a
// user can take, through real input events where the other tests drive the feature that
// way and otherwise through the commands a menu item calls: tab and frame drags to every
// kind of zone, bar drags, the frame menus, stacked panels, pinned panels, closing and
// reopening panels and windows, switching, saving, resetting, renaming and deleting
// workspaces, editing the switcher, saving and restoring definitions, and quitting and
// starting a new host on the same preferences folder. After every action it checks that
// the workspace is whole (see docs/BUILDING.md for the list). A failure is shrunk to a
// shortest list of actions that still fails on a fresh host, printed with the seed and
// written to a file in the temporary folder ("kiv-random-actions-seed-S.txt").
//
//   kiv_random_action_tests                           a few fixed seeds (as CTest runs it)
//   kiv_random_action_tests --minutes N [--seed S]    seeds S, S + 1, ... for N minutes
//   kiv_random_action_tests --seed S [--actions K]    one seed, K actions
//   kiv_random_action_tests --replay FILE             the actions of a file, on a fresh host
//   ... --verbose                                     each action and where the panels are
#include "workspace/manager/ManagerTestSupport.h"

#include "layout/FrameDataProxy.h"
#include "layout/Splitter.h"
#include "services/core/FileUtils.h"
#include "services/ui/app/Application.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "services/ui/controls/UI_Popup.h"
#include "services/ui/dialogs/Prompt.h"
#include "services/ui/menu/OSMenu.h"
#include "services/ui/events/CursorPos.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/window/OS_MonitorInfo.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherBarDragHandle.h"
#include "sharedui/WorkspaceSwitcherBarTabWell.h"
#include "sharedui/WorkspaceSwitcherDialog.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/frames/FrameChild.h"
#include "workspace/frames/StackedWorkspaceFrame.h"
#include "workspace/frames/TablessWorkspaceFrame.h"
#include "workspace/frames/WorkspaceBorderElement.h"
#include "workspace/frames/WorkspaceBorderElementResizeHandle.h"
#include "workspaceutils/WorkspaceCommands.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string_view>
#include <thread>

namespace kivtest {
namespace {

namespace fs = std::filesystem;
namespace ui_testing = kivui::testing;
namespace commands = kivworkspace::workspaceutils;
using kivcore::Point;
using kivcore::PropList;
using kivcore::Rect;
using kivcore::UTF16String;
using kivworkspace::sharedui::WorkspaceSwitcherBar;
using kivworkspace::sharedui::WorkspaceSwitcherDialog;
using kivworkspace::sharedui::WorkspaceSwitcherManager;
using Clock = std::chrono::steady_clock;

// What the command line asks for (parsed by main, below).
struct Options {
  double minutes = 0;
  std::optional<std::uint32_t> seed;
  int actions = 0;
  bool verbose = false;  // print each action as it is taken, and where the panels are
  std::string replay;    // a file of actions as a failure prints them, to replay
};
Options& TheOptions() {
  static Options options;
  return options;
}

constexpr std::uint32_t kFixedSeeds[] = {1, 2, 3};
constexpr int kDefaultActions = 150;
// The virtual screen main gives the offscreen platform: room for floating windows beside
// the main window, so that a restore never has to move one onto the screen.
constexpr Rect kScreen{0, 0, 3200, 2000};
constexpr Rect kMainRect{40, 40, 1100, 760};

// ---------------------------------------------------------------------------------------
// Panels. Each carries a serial, unique in a run, in its state, so that it can be followed
// through frames, closed-panel records, closed-window records and files.

// "A", "B", "C" plain; "H" hides when closed; "O" obliterates; "S" obliterates keeping its
// state; "X" cannot be closed; "Bar" a border element that collapses to its handle;
// "Strip" a border element dragged out by its grip.
const char* const kTypes[] = {"A", "B", "C", "H", "O", "S", "X", "Bar", "Strip"};
const char* const kNames[] = {"Alpha", "Beta", "Gamma", "Edit", "Grade", "Review", "Mine"};

class SerialPanel : public TabPanel {
 public:
  SerialPanel(Workspace* w, WorkspaceFrameBase* f, const std::string& type, int serial)
      : TabPanel(w, f, true, type, kivcore::UTF8to16(type)), serial_(serial) {
    SetShowCloseControl();
  }
  bool AllowClose() const override { return GetTabType() != "X"; }
  int GetSerial() const { return serial_; }

 private:
  void DoSaveStateData(PropList* list) const override { list->SetValue("Serial", serial_); }
  void DoLoadStateData(PropList* list) override { list->GetValue("Serial", serial_); }
  std::int32_t serial_;
};

class BorderPanel : public SerialPanel, public WorkspaceBorderElement {
 public:
  using SerialPanel::SerialPanel;
  bool IsResizeable() const override { return GetTabType() == "Bar"; }
  bool IsRippable() const override { return GetTabType() == "Strip"; }

 private:
  void DoGetSnapSizes(std::vector<Point>& sizes) const override {
    sizes.push_back(GetTabType() == "Bar" ? Point{0, 36} : Point{48, 0});
  }
};

class SerialCreator : public TabCreator {
 public:
  SerialCreator(std::string type, int& next) : TabCreator(std::move(type)), next_(next) {}
  TabPanelPtr CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override {
    const std::string& type = GetTabType();
    if (type == "Bar" || type == "Strip") return std::make_shared<BorderPanel>(w, f, type, ++next_);
    return std::make_shared<SerialPanel>(w, f, type, ++next_);
  }
  bool HidesWhenClosed() const override { return GetTabType() == "H"; }
  bool ObliteratesWhenClosed() const override { return GetTabType() == "O" || GetTabType() == "S"; }
  bool SavesStateWhenObliterated() const override { return GetTabType() == "S"; }

 private:
  int& next_;
};

void RegisterCreators(Workspace& workspace, int& next) {
  for (const char* type : kTypes) workspace.RegisterTabCreator(std::make_unique<SerialCreator>(type, next));
}

int SerialOf(const TabPanel* panel) {
  const auto* p = dynamic_cast<const SerialPanel*>(panel);
  return p ? p->GetSerial() : -1;
}

std::string Name(const TabPanel* panel) {
  return panel ? panel->GetTabType() + "#" + std::to_string(SerialOf(panel)) : "nothing";
}

// A workspace as a host has it: its menu commands run the user's workspace commands, and
// it notes what an action did (obliterated panels, restores, the last switch or reset, the
// errors the host would show).
class RandomWorkspace : public Workspace {
 public:
  enum class Notice { kNone, kSwitched, kReverted };

  ManagerBase* manager = nullptr;
  std::vector<int> obliterated;
  int restores = 0;
  Notice lastNotice = Notice::kNone;
  std::vector<std::string> errors;

  void ForgetAction() {
    obliterated.clear();
    restores = 0;
    lastNotice = Notice::kNone;
    errors.clear();
  }

  void NotifyObliterating(TabPanel* panel) override { obliterated.push_back(SerialOf(panel)); }
  void NotifyRestoreWorkspaceEnd() override { ++restores; }
  void NotifyWorkspaceSwitched() override { lastNotice = Notice::kSwitched; }
  void NotifyWorkspaceReverted() override { lastNotice = Notice::kReverted; }
  void DoWorkspaceCmdNew() override { Command([&](auto* w, auto& m) { commands::RequestCreateNewWorkspace(w, m); }); }
  void DoWorkspaceCmdSave() override { Command([&](auto* w, auto& m) { commands::SaveCurrentWorkspace(w, m); }); }
  void DoWorkspaceCmdDelete() override { Command([&](auto* w, auto& m) { commands::ChooseDeleteWorkspace(w, m); }); }
  void DoWorkspaceCmdReset() override { Command([&](auto* w, auto& m) { commands::ConfirmRevertCurrWorkspace(w, m); }); }
  void DoWorkspaceCmdEdit() override { Command([&](auto* w, auto& m) { commands::ShowEditWorkspacesDialog(w, m); }); }

 private:
  template <typename F>
  void Command(F run) {
    if (!manager) return;
    try {
      run(GetMainTopLevelWindow(), *manager);
    } catch (const std::exception& e) {
      errors.push_back(e.what());
    }
  }
};

// Answers dialogs and menus from a queue. A prompt nobody expected is cancelled and noted
// (an unexpected caution is how a host reports a workspace it could not read).
class Answers : public kivui::PromptResponder {
 public:
  std::deque<kivui::PromptAnswer> queue;
  std::vector<std::string> unexpected;

  void Push(bool accepted, std::string text = {}, int command = 0,
            std::function<void(kivui::UI_Dialog&)> interact = {}) {
    kivui::PromptAnswer a;
    a.accepted = accepted;
    a.text = std::move(text);
    a.command = command;
    a.interact = std::move(interact);
    queue.push_back(std::move(a));
  }
  kivui::PromptAnswer Answer(const kivui::Prompt& prompt) override {
    if (queue.empty()) {
      static const char* const kinds[] = {"an input box", "a confirmation", "a note", "a caution", "a file dialog", "a dialog", "a menu"};
      std::string what = std::string(kinds[prompt.kind]) + " \"" + prompt.title + "\" " + prompt.message;
      if (prompt.menu) {
        for (const auto& item : prompt.menu->GetItems())
          if (!item.separator) what += " [" + item.text + "]";
      }
      unexpected.push_back(what);
      kivui::PromptAnswer cancel;
      cancel.accepted = false;
      return cancel;
    }
    kivui::PromptAnswer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
  }
};

// ---------------------------------------------------------------------------------------
// The census: where each panel serial is, alive in a frame or pinned, hidden, or recorded
// as saved state in a frame, a placeholder or a closed window's record.

enum class Held { kShown, kStatic, kHidden, kRecord, kWindowRecord };

const char* HeldName(Held held) {
  switch (held) {
    case Held::kShown: return "shown";
    case Held::kStatic: return "pinned";
    case Held::kHidden: return "hidden";
    case Held::kRecord: return "recorded";
    case Held::kWindowRecord: return "in a closed window's record";
  }
  return "?";
}

struct Place {
  Held held;
  std::string type;
  const TopLevelWindow* window = nullptr;  // null in a closed window's record
  const std::string* record = nullptr;     // a closed window's definition: its identity
};

struct Census {
  std::map<int, std::vector<Place>> places;
  std::vector<std::string> problems;  // states that could not be read
  std::vector<std::unique_ptr<std::string>> records;  // the closed windows' definitions

  void Add(int serial, Place place) { places[serial].push_back(std::move(place)); }
  void AddState(const std::string& xml, Held held, const std::string& type,
                const TopLevelWindow* window = nullptr, const std::string* record = nullptr) {
    try {
      std::int32_t serial = -1;
      if (!kivcore::proplist::utils::ReadPropList(xml).GetValue("Serial", serial)) {
        problems.push_back("a " + type + " state without its serial: \"" + xml + "\"");
        return;
      }
      Add(serial, {held, type, window, record});
    } catch (const std::exception& e) {
      problems.push_back("a " + type + " state that cannot be read: " + e.what());
    }
  }
  void AddRecords(const TabDataList& records, Held held, const TopLevelWindow* window) {
    for (const auto& [type, state] : records) AddState(state, held, type, window);
  }
  // Every panel state in a definition, a closed window's own definition included.
  void AddDefinition(const PropList& list, Held held, const std::string* record = nullptr) {
    PropList::StringList ids, closed;  // the types of a frame's states, by their numbers
    list.GetValue("TabIDs", ids);
    if (!list.GetValue("ReanimTabs", closed)) closed = ids;
    const auto typeOf = [](const PropList::StringList& types, const std::string& key) {
      const std::size_t n = std::stoul(key.substr(key.find('-') + 1));
      return n < types.size() ? types[n] : std::string();
    };
    for (const std::string& key : list.GetKeys()) {
      std::string text;
      if (const PropList* sub = list.GetSubList(key)) {
        AddDefinition(*sub, held, record);
      } else if (key == "WinSerData" && list.GetValue(key, text)) {
        try {
          records.push_back(std::make_unique<std::string>(text));
          AddDefinition(kivcore::proplist::utils::ReadPropList(text), Held::kWindowRecord, records.back().get());
        } catch (const std::exception& e) {
          problems.push_back(std::string("a closed window's record that cannot be read: ") + e.what());
        }
      } else if (key.starts_with("VisTabState-") && list.GetValue(key, text)) {
        AddState(text, held, typeOf(ids, key), nullptr, record);
      } else if (key.starts_with("HidTabState-") && list.GetValue(key, text)) {
        AddState(text, held == Held::kShown ? Held::kRecord : held, typeOf(closed, key), nullptr, record);
      }
    }
  }
  std::set<int> Serials(bool withPinned) const {
    std::set<int> serials;
    for (const auto& [serial, where] : places) {
      if (withPinned || std::any_of(where.begin(), where.end(), [](const Place& p) { return p.held != Held::kStatic; }))
        serials.insert(serial);
    }
    return serials;
  }
  std::string Describe(int serial) const {
    auto it = places.find(serial);
    if (it == places.end()) return "#" + std::to_string(serial);
    const Place& p = it->second.front();
    return p.type + "#" + std::to_string(serial) + " (" + HeldName(p.held) + ")";
  }
};

// Whether the frame is a leaf of its window's layout tree.
bool InTree(const TopLevelWindow& window, const WorkspaceFrameBase& frame) {
  const auto frames = window.GetLayoutManager().GetFrames();
  return std::find(frames.begin(), frames.end(), frame.GetLMFrame()) != frames.end();
}

Census CensusOf(const Workspace& workspace) {
  Census census;
  const auto frameCensus = [&](const WorkspaceFrame& frame, Held shown, const TopLevelWindow* w) {
    for (unsigned i = 0; i < frame.GetTabCount(); ++i) {
      const TabPanel* p = frame.GetTabPanel(i).get();
      census.Add(SerialOf(p), {shown, p->GetTabType(), w});
    }
    for (const TabPanelPtr& p : frame.GetHiddenTabs()) census.Add(SerialOf(p.get()), {Held::kHidden, p->GetTabType(), w});
    census.AddRecords(frame.GetRemovedTabs(), Held::kRecord, w);
  };
  for (const TopLevelWindow* w : workspace.GetWindows()) {
    for (WorkspaceFrameBase* f : w->GetFrames()) {
      if (const auto* tabbed = dynamic_cast<const WorkspaceFrame*>(f)) {
        frameCensus(*tabbed, Held::kShown, w);
      } else if (const TabPanel* p = f->GetTabPanel(0).get()) {
        census.Add(SerialOf(p), {Held::kStatic, p->GetTabType(), w});
      }
    }
    for (const WorkspaceFramePtr& f : w->GetHiddenFrames()) frameCensus(*f, Held::kHidden, w);
    for (const FrameDataProxy* p : w->GetLayoutManager().GetPlaceholders()) {
      if (!p->HasFrame()) census.AddRecords(p->GetTabData(), Held::kRecord, w);
    }
    for (auto side : {LayoutManager::kTop, LayoutManager::kLeft, LayoutManager::kBottom, LayoutManager::kRight}) {
      if (const TabPanel* p = w->GetStaticElement(side)) census.Add(SerialOf(p), {Held::kStatic, p->GetTabType(), w});
    }
  }
  for (const auto& record : workspace.GetRemovedWindowData()) {
    try {
      census.records.push_back(std::make_unique<std::string>(record->windowDefinition));
      census.AddDefinition(kivcore::proplist::utils::ReadPropList(record->windowDefinition), Held::kWindowRecord,
                           census.records.back().get());
    } catch (const std::exception& e) {
      census.problems.push_back(std::string("a closed window's record that cannot be read: ") + e.what());
    }
  }
  return census;
}

Census CensusOf(const PropList& definition) {
  Census census;
  census.AddDefinition(definition, Held::kShown);
  return census;
}

std::string Difference(const std::set<int>& expected, const std::set<int>& actual, const Census& before,
                       const Census& after) {
  std::string out;
  for (int s : expected)
    if (!actual.count(s)) out += " lost " + before.Describe(s) + ";";
  for (int s : actual)
    if (!expected.count(s)) out += " gained " + after.Describe(s) + ";";
  return out;
}

// ---------------------------------------------------------------------------------------
// A run: the preferences folder and what outlives a host (the serial counter, the saved
// definitions), and the host: the workspace, its manager and the switcher bar.

struct Run;

struct Host {
  Host(Run& run, const std::string& switcher, const UTF16String& last);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The shown windows, the main one first; the interim window of a drag left out.
  std::vector<TopLevelWindow*> Windows() const {
    std::vector<TopLevelWindow*> windows;
    for (TopLevelWindow* w : workspace->GetWindows())
      if (w->IsShown() && !w->IsInterim()) windows.push_back(w);
    return windows;
  }
  // The shown tabbed frames (stacks included) that hold panels.
  std::vector<WorkspaceFrame*> Frames() const {
    std::vector<WorkspaceFrame*> frames;
    for (TopLevelWindow* w : Windows())
      for (WorkspaceFrame* f : w->GetTabbedFrames())
        if (f->IsShown() && f->GetTabCount() > 0) frames.push_back(f);
    return frames;
  }
  std::vector<StackedWorkspaceFrame*> Stacks() const {
    std::vector<StackedWorkspaceFrame*> stacks;
    for (WorkspaceFrame* f : Frames())
      if (auto* s = dynamic_cast<StackedWorkspaceFrame*>(f)) stacks.push_back(s);
    return stacks;
  }
  std::string Where(const WorkspaceFrame& frame) const {
    const auto windows = workspace->GetWindows();
    for (std::size_t w = 0; w < windows.size(); ++w) {
      const auto frames = windows[w]->GetTabbedFrames();
      for (std::size_t f = 0; f < frames.size(); ++f)
        if (frames[f] == &frame) return "frame " + std::to_string(f) + " of window " + std::to_string(w);
    }
    return "a frame of no window";
  }

  std::shared_ptr<RandomWorkspace> workspace;
  TopLevelWindow* main = nullptr;
  std::unique_ptr<Manager> manager;
  std::shared_ptr<WorkspaceSwitcherBar> bar;
};

struct Run {
  Run();
  ~Run();
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  fs::path UserFolder() const { return dir / "SavedWorkspaces"; }
  fs::path ArchiveFolder() const { return dir / "ArchivedWorkspaces"; }
  fs::path SettingsFile() const { return dir / "WSMgrCfg"; }
  fs::path SystemFolder() const { return dir / "system"; }
  // A workspace for the checks, with the panel types and a shown main window.
  std::shared_ptr<Workspace> Scratch() {
    auto w = std::make_shared<Workspace>();
    RegisterCreators(*w, scratchSerial);
    w->CreateMainTopLevelWindow(kMainRect)->UI_Show(true);
    return w;
  }

  TempDir dir;
  int nextSerial = 0;
  int scratchSerial = 1000000;
  TestBuiltIns builtIns;
  TestSystemProvider system{kivcore::UTF8to16((dir / "system").string())};
  std::shared_ptr<Answers> answers = std::make_shared<Answers>();
  std::array<std::optional<PropList>, 3> slots;
  // The files the checks read already, by path: a hash of their bytes.
  std::map<std::string, std::size_t> verified;
  std::unique_ptr<Host> host;
};

Host::Host(Run& run, const std::string& switcher, const UTF16String& last) {
  workspace = std::make_shared<RandomWorkspace>();
  RegisterCreators(*workspace, run.nextSerial);
  main = workspace->CreateMainTopLevelWindow(kMainRect).get();
  main->UI_Show(true);
  manager = std::make_unique<Manager>(*workspace, kivcore::UTF8to16(run.UserFolder().string()),
                                      kivcore::UTF8to16(run.ArchiveFolder().string()),
                                      kivcore::UTF8to16(run.SettingsFile().string()), &run.builtIns, &run.system,
                                      false);
  manager->Initialize();
  manager->ApplyDefaultMainWindowSize();
  if (main->GetWindowState() == kivui::OS_Window::kMaximized) {
    // The first start fills the screen; the user makes room for floating windows.
    main->ShowWithState(kivui::OS_Window::kNormal);
    main->SetGlobalStructureRect(kMainRect);
  }
  workspace->manager = manager.get();
  if (!switcher.empty()) WorkspaceSwitcherManager::Get()->SetData(switcher);
  bar = std::make_shared<WorkspaceSwitcherBar>(*manager);
  main->SetTopChrome(bar, 30);
  ui_testing::ProcessEvents(20);
  // The workspace the last run left, else the host's first one.
  try {
    if (last.empty() || !manager->SetCurrentWorkspace(last)) manager->SetCurrentWorkspace(u"Edit");
  } catch (const std::exception& e) {
    workspace->errors.push_back(std::string("starting: ") + e.what());
  }
  ui_testing::ProcessEvents();
}

Host::~Host() {
  main->SetTopChrome(nullptr, 0);
  bar.reset();
  WorkspaceSwitcherManager::Forget();
  workspace->manager = nullptr;
  manager.reset();
  workspace.reset();
  ui_testing::ProcessEvents();
}

Run::Run() {
  // Every run starts as the first of a process does, so that a list found in one process
  // replays alike in another.
  ui_testing::OverrideModKeys(-1);
  Workspace::SetStackedTabPanelsEnabled(true);
  kivui::SetPromptResponder(answers);
  WorkspaceSwitcherManager::Forget();
  {
    // A system workspace: C beside a frame of H and S.
    auto w = std::make_shared<Workspace>();
    RegisterCreators(*w, nextSerial);
    auto main = w->CreateMainTopLevelWindow(kMainRect);
    main->UI_Show(true);
    WorkspaceFrame* root = main->CreateRootFrame("C", false, true);
    main->AddTabbedFrame(root, "H", LayoutManager::kRight)->AddTab("S", false);
    PropList definition;
    SaveWorkspace(*w, definition, u"Review");
    fs::create_directories(SystemFolder());
    kivcore::proplist::utils::SavePropList(definition, kivcore::filesupport::File(SystemFolder() / "Review.xml"));
  }
  ui_testing::ProcessEvents();
  host = std::make_unique<Host>(*this, "", u"");
}

Run::~Run() {
  host.reset();
  kivui::SetPromptResponder(nullptr);
  Workspace::SetStackedTabPanelsEnabled(false);
  ui_testing::ProcessEvents();
}

// ---------------------------------------------------------------------------------------
// Actions. An action is data: a kind and four numbers, which the action interprets against
// the workspace as it finds it ("the n-th frame, modulo the number of frames"), so that any
// part of a recorded list can be replayed on a fresh host.

enum class Kind {
  kDragTab,          // a tab or a whole frame to a zone, an edge, another window, outside
  kDragBar,          // a splitter bar, sometimes let go with Escape
  kFrameMenu,        // a command of a tab's menu (close, undock, maximize, stack, ...)
  kCloseBox,         // a tab's close box
  kDoubleClickTab,   // maximize and restore
  kStackHeader,      // a stack's header: collapse, all, reorder, gripper, solo
  kToggleType,       // the host's Window menu: show or close a panel type
  kNewPanel,         // the host's New Panel: a panel, or a frame, where the focus is
  kCloseWindow,      // the window system closes a floating window
  kPin,              // tool bar and status bar toggles, the host pinning a panel
  kBorderElement,    // a pinned panel: ripped out, collapsed, expanded, its menu
  kSwitch,           // a workspace chosen in the switcher bar or the Window menu
  kBarCommand,       // the current workspace's menu: reset, save, save as new, edit
  kDeleteWorkspace,  // the host's Delete Workspace
  kSwitcherEdit,     // the bar's handle, a tab dragged along the bar
  kDefinition,       // save a definition, restore one, add one as a workspace
  kRestart,          // quit and start a new host on the same folder
};

struct KindInfo {
  Kind kind;
  const char* name;
  int weight;
};

constexpr KindInfo kKinds[] = {
    {Kind::kDragTab, "DragTab", 12},        {Kind::kDragBar, "DragBar", 4},
    {Kind::kFrameMenu, "FrameMenu", 7},     {Kind::kCloseBox, "CloseBox", 2},
    {Kind::kDoubleClickTab, "DoubleClickTab", 2}, {Kind::kStackHeader, "StackHeader", 4},
    {Kind::kToggleType, "ToggleType", 5},   {Kind::kNewPanel, "NewPanel", 5},
    {Kind::kCloseWindow, "CloseWindow", 2},
    {Kind::kPin, "Pin", 2},                 {Kind::kBorderElement, "BorderElement", 3},
    {Kind::kSwitch, "Switch", 3},           {Kind::kBarCommand, "BarCommand", 3},
    {Kind::kDeleteWorkspace, "DeleteWorkspace", 1}, {Kind::kSwitcherEdit, "SwitcherEdit", 1},
    {Kind::kDefinition, "Definition", 2},   {Kind::kRestart, "Restart", 1},
};

struct Action {
  Kind kind;
  std::array<std::uint32_t, 4> n;
};

const char* KindName(Kind kind) {
  for (const KindInfo& info : kKinds)
    if (info.kind == kind) return info.name;
  return "?";
}

Action Draw(std::mt19937& random) {
  int total = 0;
  for (const KindInfo& info : kKinds) total += info.weight;
  int pick = int(random() % unsigned(total));
  Kind kind = kKinds[0].kind;
  for (const KindInfo& info : kKinds) {
    if (pick < info.weight) {
      kind = info.kind;
      break;
    }
    pick -= info.weight;
  }
  const auto next = [&] { return std::uint32_t(random()); };
  return {kind, {next(), next(), next(), next()}};
}

// What an action did, for the checks and the report.
struct Effect {
  Effect(std::string what = {}) : description(std::move(what)) {}  // NOLINT: implicit on purpose
  std::string description;
  bool mayUnpin = false;                   // a pinned panel may go (its toggle, its menu)
  std::optional<PropList> restored;        // the definition the action restored
  bool restarted = false;
};

template <typename T>
T& Pick(std::vector<T>& items, std::uint32_t n) {
  return items[n % items.size()];
}

Point Centre(const Rect& r) { return {r.left + r.width / 2, r.top + r.height / 2}; }

Point CentreOf(const kivui::UI_Node& node, const kivcore::RectF& local) {
  const kivcore::RectF g = node.LocalRectToGlobalF(local);
  return {int(g.left + g.width / 2), int(g.top + g.height / 2)};
}

Point Offset(Point p, int dx, int dy) { return {p.x + dx, p.y + dy}; }

UTF16String NameFromPool(std::uint32_t n) { return kivcore::UTF8to16(kNames[n % std::size(kNames)]); }

// Performs actions on the run's current host.
class Actor {
 public:
  explicit Actor(Run& run) : run_(run) {}

  Effect Perform(const Action& a) {
    pressed_.reset();
    try {
      return Dispatch(a);
    } catch (const std::logic_error& e) {
      // The input layer found no window at a point the action aimed at: the action ends,
      // and nothing it held outlives it (a docking drag holds the docking key).
      if (pressed_) ReleaseMouse();
      ui_testing::OverrideModKeys(-1);
      return {std::string("stopped: ") + e.what()};
    }
  }

 private:
  Host& host() const { return *run_.host; }
  Workspace& workspace() const { return *run_.host->workspace; }
  Answers& answers() const { return *run_.answers; }

  Effect Dispatch(const Action& a) {
    switch (a.kind) {
      case Kind::kDragTab: return DragTab(a);
      case Kind::kDragBar: return DragBar(a);
      case Kind::kFrameMenu: return FrameMenu(a);
      case Kind::kCloseBox: return CloseBox(a);
      case Kind::kDoubleClickTab: return DoubleClickTab(a);
      case Kind::kStackHeader: return StackHeader(a);
      case Kind::kToggleType: return ToggleType(a);
      case Kind::kNewPanel: return NewPanel(a);
      case Kind::kCloseWindow: return CloseWindow(a);
      case Kind::kPin: return Pin(a);
      case Kind::kBorderElement: return BorderElementAction(a);
      case Kind::kSwitch: return Switch(a);
      case Kind::kBarCommand: return BarCommand(a);
      case Kind::kDeleteWorkspace: return DeleteWorkspace(a);
      case Kind::kSwitcherEdit: return SwitcherEdit(a);
      case Kind::kDefinition: return Definition(a);
      case Kind::kRestart: return Restart();
    }
    return {"?"};
  }

  // --- Input helpers.
  void Raise(TopLevelWindow& window) {
    window.Raise();
    ui_testing::ProcessEvents();
  }
  void Press(Point at) {
    ui_testing::MousePressAt(at);
    pressed_ = at;
  }
  // The release goes where the pointer is; when the window there went (closed by what the
  // press did), it goes to the main window's border, where it does nothing.
  void ReleaseMouse() {
    try {
      ui_testing::MouseReleaseAt(kivui::GetGlobalCursorPos());
    } catch (const std::logic_error&) {
      const Rect main = host().main->GetGlobalStructureRect();
      ui_testing::MouseReleaseAt({main.left + 1, main.top + 1});
    }
    pressed_.reset();
  }
  void Click(Point at, kivui::MouseEvent::Button button = kivui::MouseEvent::kPrimary, kivui::ModKeys mods = kivui::kModNone) {
    ui_testing::MousePressAt(at, button, mods);
    pressed_ = at;
    try {
      ui_testing::MouseReleaseAt(at, button, mods);
    } catch (const std::logic_error&) {
      const Rect main = host().main->GetGlobalStructureRect();
      ui_testing::MouseReleaseAt({main.left + 1, main.top + 1}, button, mods);
    }
    pressed_.reset();
  }
  static void Key(int key) {
    try {
      ui_testing::KeyClick(key);
    } catch (const std::logic_error&) {
      // No node has the keyboard focus: the key goes nowhere.
    }
  }
  // As a user moves onto a target: a few small steps, then the point itself.
  static void MoveOnto(Point to) {
    for (int i = 0; i < 3; ++i) ui_testing::MouseMoveTo({to.x - 2 + i, to.y});
    ui_testing::MouseMoveTo(to);
  }
  TabDragger* Dragger() const { return dynamic_cast<TabDragger*>(workspace().GetTracker()); }
  static Effect Skip(const std::string& why) { return {"nothing: " + why}; }

  // The global centre of a tab (a stack's header) or of its close box; nothing when it is
  // not in view. A stack scrolls the header into view first, as the user would.
  static std::optional<Point> TabPoint(WorkspaceFrame& frame, unsigned index, bool closeBox = false) {
    if (auto* stack = dynamic_cast<StackedWorkspaceFrame*>(&frame)) {
      FrameChild* child = stack->GetFrameChild(index);
      if (!child) return {};
      stack->ScrollIntoView(*child);
      ui_testing::ProcessEvents();
      const kivui::UI_TabWell& header = child->GetHeader();
      const kivcore::RectF r = closeBox ? header.GetCloseBoxRect(0) : header.GetTabRect(0);
      if (r.IsEmpty()) return {};
      const Point p = CentreOf(header, r);
      if (!stack->GetTopLevelWindow()->GetFrameGlobalRect(*stack).Contains(p)) return {};
      return p;
    }
    const kivui::UI_TabWell& well = frame.GetTabWell();
    const kivcore::RectF r = closeBox ? well.GetCloseBoxRect(int(index)) : well.GetTabRect(int(index));
    if (r.IsEmpty() || r.left < 0 || r.Right() > well.GetLocalBounds().width) return {};
    const Point p = CentreOf(well, r);
    // Not under the frame's menu button or the row's overflow button, which a narrow row
    // puts over its tabs.
    const kivcore::RectF overflow = well.GetOverflowButtonRect();
    if (!frame.GetTabWellGlobalRect().Contains(p) || (!overflow.IsEmpty() && overflow.Intersects(r))) return {};
    return p;
  }
  // The empty end of a frame's tab well, where a press takes the whole frame.
  static std::optional<Point> FrameGrip(WorkspaceFrame& frame) {
    const kivui::UI_TabWell& well = frame.GetTabWell();
    const kivcore::RectF last = well.GetTabRect(well.GetTabCount() - 1);
    if (last.left < 0) return {};  // the row is panned: its end is not in view
    const Point at = well.UI_LocalToGlobal({int(last.Right()) + 15, int(last.top + last.height / 2)});
    const Rect row = frame.GetTabWellGlobalRect();  // the menu button lies beyond it
    const kivcore::RectF overflow = well.GetOverflowButtonRect();
    if (at.x + 5 >= row.Right() || (!overflow.IsEmpty() && overflow.Right() > last.Right())) return {};
    return at;
  }
  // A point on no window (the drag window itself left out).
  static Point Outside(std::uint32_t seed, const kivui::OS_Window* dragWindow) {
    std::mt19937 random(seed);
    for (int i = 0; i < 40; ++i) {
      const Point p{50 + int(random() % unsigned(kScreen.width - 100)), 50 + int(random() % unsigned(kScreen.height - 100))};
      if (!kivui::OS_Window::WindowFromPoint(p, dragWindow)) return p;
    }
    return {kScreen.Right() - 10, kScreen.Bottom() - 10};
  }

  struct Target {
    Point at;
    std::string what;
  };
  // Where a drag goes, by kind: a side or the centre of a frame, a frame's tab well, a
  // window's edge, outside every window, anywhere on a window, or the source's own well.
  Target DropTarget(std::uint32_t kind, std::uint32_t pick, WorkspaceFrame* source) {
    TabDragger* dragger = Dragger();
    const kivui::OS_Window* dragWindow = dragger ? dragger->GetDragWindow() : nullptr;
    std::vector<TopLevelWindow*> windows = host().Windows();
    std::vector<WorkspaceFrame*> frames = host().Frames();
    const bool sourceShown = std::find(frames.begin(), frames.end(), source) != frames.end();
    const unsigned k = kind % 10;
    if (k <= 4 && !frames.empty()) {
      WorkspaceFrame* f = Pick(frames, pick);
      const auto type = DropZone::DropType(k + 1);
      for (const DropZone& zone : f->GetTopLevelWindow()->GetFrameDropZones(*f)) {
        if (zone.GetType() == type) {
          static const char* const zones[] = {"top", "left", "bottom", "right", "centre"};
          return {zone.GetCentre(), std::string("the ") + zones[k] + " zone of " + host().Where(*f)};
        }
      }
    }
    if ((k == 5 || (k == 9 && sourceShown)) && !frames.empty()) {
      WorkspaceFrame* f = k == 9 ? source : Pick(frames, pick);
      if (!dynamic_cast<StackedWorkspaceFrame*>(f)) {
        const kivui::UI_TabWell& well = f->GetTabWell();
        const int count = well.GetTabCount();
        const int after = count == 0 ? 0 : int((pick >> 8) % unsigned(count + 1));
        const int x = after == 0 ? 8 : int(well.GetTabRect(after - 1).Right()) + 5;
        if (x < int(well.GetLocalBounds().width))
          return {well.UI_LocalToGlobal({x, 12}), "the tab well of " + host().Where(*f) + " after tab " + std::to_string(after)};
      }
    }
    if (k == 6 && !windows.empty()) {
      TopLevelWindow* w = Pick(windows, pick);
      const auto type = DropZone::DropType(1 + (pick >> 8) % 4);
      Rect edge;
      w->GetEdgeDropZoneRect(type, edge, true);
      if (!edge.IsEmpty()) return {Centre(edge), "edge " + std::to_string(type) + " of a window"};
    }
    if (k == 8 && !windows.empty()) {
      const Rect r = Pick(windows, pick)->GetGlobalStructureRect();
      return {{r.left + int((pick >> 4) % unsigned(std::max(1, r.width))),
               r.top + int((pick >> 14) % unsigned(std::max(1, r.height)))},
              "a point on a window"};
    }
    const Point out = Outside(pick, dragWindow);
    return {out, "outside every window at " + std::to_string(out.x) + ", " + std::to_string(out.y)};
  }

  // --- The actions.
  Effect DragTab(const Action& a) {
    std::vector<WorkspaceFrame*> frames = host().Frames();
    if (frames.empty()) return Skip("no frame to drag from");
    WorkspaceFrame* source = Pick(frames, a.n[0]);
    const unsigned index = a.n[1] % source->GetTabCount();
    const bool stacked = dynamic_cast<StackedWorkspaceFrame*>(source) != nullptr;
    const bool wholeFrame = !stacked && (a.n[1] >> 8) % 4 == 0;
    const bool escape = (a.n[1] >> 12) % 8 == 0;
    const bool docking = (a.n[1] >> 16) % 10 == 0;
    std::string what = (wholeFrame ? "the frame of " : "") + Name(source->GetTabPanel(index).get()) + " (" +
                       host().Where(*source) + ")";
    Raise(*source->GetTopLevelWindow());
    const std::optional<Point> from = wholeFrame ? FrameGrip(*source) : TabPoint(*source, index);
    if (!from) return Skip(what + " is not in view");
    Press(*from);
    if (stacked) {
      // Out of the stack sideways, a header drag becomes a tab drag.
      const Rect r = source->GetTopLevelWindow()->GetFrameGlobalRect(*source);
      ui_testing::MouseMoveTo(Offset(*from, 0, 30));
      ui_testing::MouseMoveTo({r.Right() + 40, from->y + 30});
    } else {
      ui_testing::MouseMoveTo(Offset(*from, 3, 10));
      ui_testing::MouseMoveTo(Offset(*from, 6, 50));
    }
    if (!Dragger()) {
      ReleaseMouse();
      return {"pressed " + what + ": no drag"};
    }
    const Target target = DropTarget(a.n[2], a.n[3], Dragger()->GetSourceFrame());
    if (docking) ui_testing::OverrideModKeys(int(kivui::kModDocking));
    MoveOnto(target.at);
    if (escape) Key(kivui::kKeyEscape);
    ReleaseMouse();
    if (docking) ui_testing::OverrideModKeys(-1);
    return {"dragged " + what + " to " + target.what + (docking ? " holding the docking key" : "") +
            (escape ? ", Escape before the release" : "")};
  }

  Effect DragBar(const Action& a) {
    std::vector<TopLevelWindow*> windows = host().Windows();
    TopLevelWindow* w = Pick(windows, a.n[0]);
    std::vector<Splitter*> bars;
    for (Splitter* s : w->GetLayoutManager().GetSplitters())
      if (s->IsVisible() && !w->GetMaximizedFrame()) bars.push_back(s);
    if (bars.empty()) return Skip("no bar");
    Splitter* bar = Pick(bars, a.n[1]);
    const Point local = Centre(bar->GetDrawRect());
    if (w->GetLayoutManager().HitCheckCursor(local.x, local.y) == LayoutManager::kNoBar) return Skip("no bar at its centre");
    const Point from = w->UI_LocalToGlobal(local);
    const int delta = int(a.n[2] % 241) - 120;
    const Point to = bar->IsVertical() ? Offset(from, delta, 0) : Offset(from, 0, delta);
    Raise(*w);
    const bool escape = a.n[3] % 6 == 0;
    Press(from);
    ui_testing::MouseMoveTo(Offset(from, (to.x - from.x) / 2, (to.y - from.y) / 2));
    if (escape) Key(kivui::kKeyEscape);
    ui_testing::MouseMoveTo(to);
    ReleaseMouse();
    return {"dragged a " + std::string(bar->IsVertical() ? "vertical" : "horizontal") + " bar by " +
            std::to_string(delta) + (escape ? ", Escape half way" : "")};
  }

  Effect FrameMenu(const Action& a) {
    static constexpr std::pair<int, const char*> kCommands[] = {
        {kCmdClosePanel, "Close Panel"},       {kCmdUndockPanel, "Undock Panel"},
        {kCmdUndockGroup, "Undock Panel Group"}, {kCmdCloseOthersInGroup, "Close Other Panels in Group"},
        {kCmdCloseGroup, "Close Panel Group"}, {kCmdMaximizeGroup, "Maximize or Restore"},
        {kCmdStacked, "Stacked Panel Group"},  {kCmdStackedSmallTabs, "Small Tabs"},
        {kCmdStackedSolo, "Solo Panels in Stack"}};
    std::vector<WorkspaceFrame*> frames = host().Frames();
    if (frames.empty()) return Skip("no frame");
    WorkspaceFrame* f = Pick(frames, a.n[0]);
    const unsigned index = a.n[1] % f->GetTabCount();
    const auto& [command, text] = kCommands[a.n[2] % std::size(kCommands)];
    const std::string what = Name(f->GetTabPanel(index).get()) + " (" + host().Where(*f) + ")";
    Raise(*f->GetTopLevelWindow());
    const std::optional<Point> at = TabPoint(*f, index);
    if (!at) return Skip(what + " is not in view");
    answers().Push(true, {}, command);
    Click(*at, kivui::MouseEvent::kSecondary);
    return {std::string("\"") + text + "\" from the menu of " + what};
  }

  Effect CloseBox(const Action& a) {
    std::vector<WorkspaceFrame*> frames = host().Frames();
    if (frames.empty()) return Skip("no frame");
    WorkspaceFrame* f = Pick(frames, a.n[0]);
    const unsigned index = a.n[1] % f->GetTabCount();
    const std::string what = Name(f->GetTabPanel(index).get()) + " (" + host().Where(*f) + ")";
    Raise(*f->GetTopLevelWindow());
    const std::optional<Point> at = TabPoint(*f, index, true);
    if (!at) return Skip("no close box of " + what + " in view");
    Click(*at);
    return {"clicked the close box of " + what};
  }

  Effect DoubleClickTab(const Action& a) {
    std::vector<WorkspaceFrame*> frames = host().Frames();
    if (frames.empty()) return Skip("no frame");
    WorkspaceFrame* f = Pick(frames, a.n[0]);
    const unsigned index = a.n[1] % f->GetTabCount();
    const std::string what = Name(f->GetTabPanel(index).get()) + " (" + host().Where(*f) + ")";
    Raise(*f->GetTopLevelWindow());
    const std::optional<Point> at = TabPoint(*f, index);
    if (!at) return Skip(what + " is not in view");
    ui_testing::DoubleClickAt(*at);
    return {"double-clicked " + what};
  }

  Effect StackHeader(const Action& a) {
    std::vector<StackedWorkspaceFrame*> stacks = host().Stacks();
    if (stacks.empty()) return Skip("no stack");
    StackedWorkspaceFrame* stack = Pick(stacks, a.n[0]);
    const unsigned index = a.n[1] % stack->GetTabCount();
    const std::string what = Name(stack->GetTabPanel(index).get()) + " (" + host().Where(*stack) + ")";
    Raise(*stack->GetTopLevelWindow());
    const std::optional<Point> header = TabPoint(*stack, index);
    if (!header) return Skip("the header of " + what + " is not in view");
    const int delta = int(a.n[3] % 121) - 60;
    switch (a.n[2] % 5) {
      case 0:
        Click(*header);
        return {"clicked the header of " + what};
      case 1:
        Click(*header, kivui::MouseEvent::kPrimary, kivui::kModControl);
        return {"clicked the header of " + what + " with Control"};
      case 2:
        Press(*header);
        for (int i = 1; i <= 3; ++i) ui_testing::MouseMoveTo(Offset(*header, 0, delta * i / 3));
        ReleaseMouse();
        return {"dragged the header of " + what + " by " + std::to_string(delta)};
      case 3: {
        FrameChild* child = stack->GetFrameChild(index);
        if (!child || !child->IsOpen()) return Skip(what + " is collapsed");
        const Point grip = child->UI_LocalToGlobal({50, int(kivui::UI_TabWell::kTabHeight) + child->GetClientHeight() + 1});
        if (!stack->GetTopLevelWindow()->GetFrameGlobalRect(*stack).Contains(grip)) return Skip("the gripper is not in view");
        ui_testing::DragFromTo(grip, Offset(grip, 0, delta), 4);
        return {"dragged the gripper of " + what + " by " + std::to_string(delta)};
      }
      default:
        answers().Push(true, {}, kCmdStackedSolo);
        Click(*header, kivui::MouseEvent::kSecondary);
        return {"\"Solo Panels in Stack\" from the menu of " + what};
    }
  }

  Effect ToggleType(const Action& a) {
    const std::string type = kTypes[a.n[0] % std::size(kTypes)];
    switch (a.n[1] % 3) {
      case 0: WorkspaceUtils::ToggleTabState(workspace(), type, true); return {"toggled " + type + " (focusing a shown one)"};
      case 1: WorkspaceUtils::ToggleTabState(workspace(), type, false); return {"toggled " + type};
      default: WorkspaceUtils::CreateOrReanimateTab(workspace(), type); return {"opened or reopened " + type};
    }
  }

  Effect NewPanel(const Action& a) {
    const std::string type = kTypes[a.n[0] % std::size(kTypes)];
    const std::string focused = Name(workspace().GetFocusedTabPanel());
    if (a.n[1] % 2 == 0) {
      const TabPanel* made = workspace().NewTabInFocused(type);
      return {"a new " + Name(made) + " beside the focused " + focused};
    }
    const auto side = LayoutManager::InsertionType(a.n[2] % 4);
    workspace().NewFrameInFocused(type, side);
    return {"a new frame of " + type + " on side " + std::to_string(side) + " of the focused " + focused};
  }

  Effect CloseWindow(const Action& a) {
    std::vector<TopLevelWindow*> floating;
    for (TopLevelWindow* w : host().Windows())
      if (!w->IsMain()) floating.push_back(w);
    if (floating.empty()) return Skip("no floating window");
    TopLevelWindow* w = Pick(floating, a.n[0]);
    std::string what = "a floating window";
    if (WorkspaceFrame* root = w->GetRootFrame()) what += " of " + Name(root->GetFrontTabPanel().get());
    ui_testing::CloseWindow(*w);
    return {"closed " + what};
  }

  Effect Pin(const Action& a) {
    static const char* const kBars[] = {"Bar", "Strip", "C"};
    const std::string type = kBars[a.n[1] % std::size(kBars)];
    Effect effect;
    effect.mayUnpin = true;
    switch (a.n[0] % 3) {
      case 0:
        WorkspaceUtils::ToggleToolbarTabState(workspace(), type);
        effect.description = "toggled the tool bar of " + type;
        break;
      case 1:
        WorkspaceUtils::ToggleStatusbarTabState(workspace(), type);
        effect.description = "toggled the status bar of " + type;
        break;
      default: {
        const auto side = LayoutManager::InsertionType(a.n[2] % 4);
        host().main->SetStaticElement(type, side, true);
        effect.description = "the host pinned " + type + " to side " + std::to_string(side);
      }
    }
    return effect;
  }

  Effect BorderElementAction(const Action& a) {
    TopLevelWindow& main = *host().main;
    std::vector<LayoutManager::InsertionType> sides;
    for (auto side : {LayoutManager::kTop, LayoutManager::kLeft, LayoutManager::kBottom, LayoutManager::kRight})
      if (main.HasStaticElement(side) && main.GetBorderFrame(side)) sides.push_back(side);
    if (sides.empty()) return Skip("nothing pinned");
    const auto side = Pick(sides, a.n[0]);
    TablessWorkspaceFrame& frame = *main.GetBorderFrame(side);
    const auto* element = dynamic_cast<const WorkspaceBorderElement*>(frame.GetTab().get());
    const std::string what = Name(frame.GetTab().get()) + " pinned to side " + std::to_string(side);
    Raise(main);
    const Point handle = frame.GetResizeHandle().UI_LocalToGlobal({100, 2});
    const bool resizeable = element && element->IsResizeable() && frame.IsSplitterShown();
    Effect effect;
    effect.mayUnpin = true;
    switch (a.n[1] % 4) {
      case 0: {
        if (!element || !element->IsRippable()) return Skip(what + " cannot be ripped");
        const Point grip = frame.UI_LocalToGlobal({4, int(frame.GetLocalBounds().height / 2)});
        Press(grip);
        ui_testing::MouseMoveTo(Offset(grip, 10, 0));
        if (!Dragger()) {
          ReleaseMouse();
          return {"pressed the grip of " + what + ": no drag"};
        }
        const Target target = DropTarget(a.n[2], a.n[3], nullptr);
        MoveOnto(target.at);
        ReleaseMouse();
        effect.description = "ripped " + what + " to " + target.what;
        break;
      }
      case 1: {
        if (!resizeable) return Skip(what + " has no handle");
        const int dy = a.n[2] % 2 ? -6 : 6;
        Press(handle);
        for (int i = 1; i <= 3; ++i) ui_testing::MouseMoveTo(Offset(handle, 0, dy * i / 3));
        ReleaseMouse();
        effect.description = "dragged the handle of " + what + " by " + std::to_string(dy);
        break;
      }
      case 2:
        if (!resizeable) return Skip(what + " has no handle");
        ui_testing::DoubleClickAt(handle);
        effect.description = "double-clicked the handle of " + what;
        break;
      default: {
        if (!resizeable) return Skip(what + " has no menu");
        static const char* const kItems[] = {"Minimize", "Expand", "Close Panel", "Undock Panel"};
        const int item = int(a.n[2] % 4);
        answers().Push(true, {}, item + 1);
        Click(handle, kivui::MouseEvent::kSecondary);
        effect.description = std::string("\"") + kItems[item] + "\" from the menu of " + what;
      }
    }
    return effect;
  }

  // The tab of a workspace in the bar: its index, or -1 when it has none.
  int BarTab(const UTF16String& name) const {
    const auto& well = host().bar->GetTabWell();
    for (int i = 0; i < well.GetTabCount(); ++i)
      if (kivcore::UTF8to16(well.GetTab(i).text) == name) return i;
    return -1;
  }
  bool BarTabInView(int index) const {
    if (index < 0) return false;
    const auto& well = host().bar->GetTabWell();
    const std::vector<int> overflow = well.GetOverflowTabs();
    const kivcore::RectF r = well.GetTabRect(index);
    return std::find(overflow.begin(), overflow.end(), well.GetTab(index).id) == overflow.end() && !r.IsEmpty() &&
           r.left >= 0 && r.Right() <= well.GetLocalBounds().width;
  }

  Effect Switch(const Action& a) {
    std::vector<UTF16String> names;
    host().manager->GetWorkspaces(names);
    if (names.empty()) return Skip("no workspace");
    const UTF16String name = Pick(names, a.n[0]);
    const std::string what = kivcore::UTF16to8(name);
    if (name == host().manager->GetCurrentWorkspace()) return Skip(what + " is current");
    Raise(*host().main);
    auto& well = host().bar->GetTabWell();
    const int tab = BarTab(name);
    std::string how;
    if (BarTabInView(tab)) {
      Click(CentreOf(well, well.GetTabRect(tab)));
      how = "its tab in the bar";
    } else if (tab >= 0 && !well.GetOverflowButtonRect().IsEmpty()) {
      answers().Push(true, {}, well.GetTab(tab).id);
      Click(CentreOf(well, well.GetOverflowButtonRect()));
      how = "the bar's overflow menu";
    } else {
      WorkspaceSwitcherManager::Get()->SetCurrentWorkspace(name);
      how = "the Window menu";
    }
    ui_testing::ProcessEvents(20);
    return {"switched to " + what + " through " + how};
  }

  // The edits of Edit Workspaces: moves, renames and deletions, written into the log.
  std::function<void(kivui::UI_Dialog&)> EditWorkspaces(std::uint32_t count, std::uint32_t seed) {
    return [this, count, seed](kivui::UI_Dialog& d) {
      auto& dialog = dynamic_cast<WorkspaceSwitcherDialog&>(d);
      std::mt19937 random(seed);
      std::set<UTF16String> unopened;  // built-in workspaces without a stored definition
      std::vector<UTF16String> names;
      host().manager->GetWorkspaces(names);
      for (const UTF16String& n : names) {
        const ManagerBase::StoredStates states = host().manager->GetStoredStates(n);
        if (states.current.empty() && states.system.empty()) unopened.insert(n);
      }
      static const WorkspaceSwitcherDialog::Section sections[] = {
          WorkspaceSwitcherDialog::kBarRow, WorkspaceSwitcherDialog::kOverflowRow, WorkspaceSwitcherDialog::kHiddenRow};
      for (std::uint32_t e = 0; e < 1 + count % 3; ++e) {
        std::vector<UTF16String> shown;
        for (auto section : sections)
          for (const UTF16String& n : dialog.GetSectionNames(section)) shown.push_back(n);
        if (shown.empty()) return;
        const UTF16String name = shown[random() % shown.size()];
        const int row = dialog.FindRow(name);
        const std::string what = kivcore::UTF16to8(name);
        switch (random() % 3) {
          case 0: {
            const auto section = sections[random() % 3];
            const int index = int(random() % (dialog.GetSectionNames(section).size() + 1));
            dialog.MoveWorkspace(row, section, index);
            log_ += ", moved " + what + " to section " + std::to_string(section) + " at " + std::to_string(index);
            break;
          }
          case 1: {
            // A built-in never opened has nothing a rename could move: the dialog refuses
            // the new name with a note (unless it refuses it for being empty or taken).
            const UTF16String to = NameFromPool(random());
            const bool mayBeRefusedWithANote = unopened.count(name) > 0;
            if (mayBeRefusedWithANote) answers().Push(true);
            const std::size_t pending = answers().queue.size();
            const bool done = dialog.FinishRenaming(row, to);
            const bool noted = mayBeRefusedWithANote && answers().queue.size() < pending;
            if (mayBeRefusedWithANote && !noted) answers().queue.pop_back();
            log_ += ", renamed " + what + " to " + kivcore::UTF16to8(to) +
                    (done ? "" : noted ? " (refused with a note)" : " (refused)");
            break;
          }
          default:
            dialog.GetTree().SelectRow(row);
            dialog.DoDelete();
            log_ += ", deleted " + what;
        }
      }
    };
  }

  Effect BarCommand(const Action& a) {
    static constexpr std::pair<int, const char*> kCommands[] = {
        {WorkspaceSwitcherBar::kResetToSavedLayout, "Reset to Saved Layout"},
        {WorkspaceSwitcherBar::kSaveChanges, "Save Changes to this Workspace"},
        {WorkspaceSwitcherBar::kSaveAsNew, "Save as New Workspace..."},
        {WorkspaceSwitcherBar::kEditWorkspaces, "Edit Workspaces..."}};
    const auto& [command, text] = kCommands[a.n[0] % std::size(kCommands)];
    log_.clear();
    std::string detail;
    if (command == WorkspaceSwitcherBar::kSaveAsNew) {
      const UTF16String name = NameFromPool(a.n[1]);
      answers().Push(true, kivcore::UTF16to8(name));
      detail = " named " + kivcore::UTF16to8(name);
      if (host().manager->HasNamedWorkspace(name)) {
        const bool replace = a.n[2] % 2 == 0;
        answers().Push(replace);
        detail += replace ? ", replacing it" : ", not replacing it";
      }
    } else if (command == WorkspaceSwitcherBar::kEditWorkspaces) {
      const bool ok = a.n[3] % 5 != 0;
      answers().Push(ok, {}, 0, EditWorkspaces(a.n[1], a.n[2]));
      detail = ok ? ", OK" : ", Cancel";
    }
    const UTF16String current = host().manager->GetCurrentWorkspace();
    const int tab = current.empty() ? -1 : BarTab(current);
    std::string how = " from the Window menu";
    if (tab >= 0 && tab == host().bar->GetFrontmostIndex() && BarTabInView(tab)) {
      Raise(*host().main);
      answers().queue.push_front({});
      answers().queue.front().command = command;
      auto& well = host().bar->GetTabWell();
      Click(CentreOf(well, well.GetTabRect(tab)));
      ui_testing::WaitUntil([&] { return answers().queue.empty(); }, 1000);
      how = " from the current tab's menu";
    } else {
      switch (command) {
        case WorkspaceSwitcherBar::kResetToSavedLayout: workspace().DoWorkspaceCmdReset(); break;
        case WorkspaceSwitcherBar::kSaveChanges: workspace().DoWorkspaceCmdSave(); break;
        case WorkspaceSwitcherBar::kSaveAsNew: workspace().DoWorkspaceCmdNew(); break;
        default: workspace().DoWorkspaceCmdEdit(); break;
      }
    }
    ui_testing::ProcessEvents(20);
    return {std::string("\"") + text + "\"" + how + detail + log_};
  }

  Effect DeleteWorkspace(const Action& a) {
    std::vector<UTF16String> names;
    host().manager->GetWorkspaces(names);
    std::erase(names, host().manager->GetCurrentWorkspace());
    log_.clear();
    if (names.empty()) {
      answers().Push(true);  // "No User workspaces Defined"
    } else {
      const bool ok = a.n[2] % 4 != 0;
      answers().Push(ok, {}, 0, [this, pick = a.n[1]](kivui::UI_Dialog& d) {
        auto* popup = dynamic_cast<kivui::UI_Popup*>(d.Find("Workspaces Popup"));
        if (!popup || popup->GetItems().empty()) return;
        const auto& item = popup->GetItems()[pick % popup->GetItems().size()];
        popup->SetSelectedID(item.id);
        log_ += " " + item.text;
      });
      log_ = ok ? "" : " (cancelled)";
    }
    workspace().DoWorkspaceCmdDelete();
    return {"Delete Workspace" + log_};
  }

  Effect SwitcherEdit(const Action& a) {
    WorkspaceSwitcherBar& bar = *host().bar;
    auto& well = bar.GetTabWell();
    Raise(*host().main);
    if (a.n[0] % 2 == 0) {
      const auto& handle = bar.GetDragHandle();
      if (handle.GetLocalBounds().IsEmpty()) return Skip("the bar has no handle");
      const Point grip = CentreOf(handle, handle.GetLocalBounds());
      const int dx = int(a.n[1] % 500) - 300;
      ui_testing::DragFromTo(grip, Offset(grip, dx, 0), 6);
      return {"dragged the bar's handle by " + std::to_string(dx)};
    }
    std::vector<int> tabs;
    for (int i = 0; i < well.GetTabCount(); ++i)
      if (BarTabInView(i) && i != bar.GetFrontmostIndex()) tabs.push_back(i);
    if (tabs.size() < 2) return Skip("fewer than two tabs to drag");
    const int from = Pick(tabs, a.n[1]), to = Pick(tabs, a.n[2]);
    if (from == to) return Skip("a tab onto itself");
    const Point target = CentreOf(well, well.GetTabRect(to));
    ui_testing::DragFromTo(CentreOf(well, well.GetTabRect(from)), Offset(target, from < to ? 10 : -10, 0), 8);
    ui_testing::ProcessEvents(20);
    return {"dragged the bar's tab " + well.GetTab(from).text + " onto " + well.GetTab(to).text};
  }

  Effect Definition(const Action& a) {
    std::optional<PropList>& slot = run_.slots[a.n[1] % run_.slots.size()];
    const std::string which = "definition " + std::to_string(a.n[1] % run_.slots.size());
    switch (a.n[0] % 3) {
      case 0:
        slot.emplace();
        SaveWorkspace(workspace(), *slot, u"Snapshot");
        return {"saved the arrangement as " + which};
      case 1: {
        if (!slot) return Skip(which + " was not saved");
        Effect effect{"restored " + which};
        RestoreWorkspace(workspace(), *slot, true, true, false);
        effect.restored = *slot;
        return effect;
      }
      default: {
        if (!slot) return Skip(which + " was not saved");
        const UTF16String name = NameFromPool(a.n[2]);
        const bool replace = a.n[3] % 2 == 0;
        PropList definition = *slot;
        const bool added = host().manager->AddWorkspace(name, definition, replace);
        Effect effect{"added " + which + " as " + kivcore::UTF16to8(name) + (replace ? ", replacing" : "") +
                      (added ? "" : " (refused)")};
        if (host().workspace->restores > 0) effect.restored = *slot;
        return effect;
      }
    }
  }

  Effect Restart() {
    Manager& manager = *host().manager;
    const UTF16String last = manager.GetCurrentWorkspace();
    if (!last.empty()) manager.SaveWorkspace(last);
    manager.FlushManagerSettings();
    const std::string switcher = WorkspaceSwitcherManager::Get()->GetData();
    run_.host.reset();
    run_.host = std::make_unique<Host>(run_, switcher, last);
    Effect effect{"quit and started again in " + kivcore::UTF16to8(host().manager->GetCurrentWorkspace())};
    effect.restarted = true;
    return effect;
  }

  Run& run_;
  std::optional<Point> pressed_;
  std::string log_;  // what a dialog did
};

// ---------------------------------------------------------------------------------------
// The checks after every action.

struct Failure {
  std::string invariant;
  std::string detail;
};

// What the checks compare with: the state before the action.
struct Before {
  Census census;
  UTF16String current;
  int built = 0;
};

std::optional<PropList> ReadDefinition(const UTF16String& path) {
  if (path.empty() || !fs::exists(kivcore::UTF16to8(path))) return {};
  try {
    return kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(path));
  } catch (const std::exception&) {
    return {};
  }
}

// The definition as a restore gives it back: a floating window partly off the screen is
// moved onto it.
PropList OnScreen(PropList definition) {
  for (int n = 0;; ++n) {
    PropList* window = definition.GetSubList("TopLevelFrame-" + std::to_string(n));
    if (!window) return definition;
    PropList::IntList pos;
    if (window->HasValue("WinState") || !window->GetValue("SzPos", pos) || pos.size() != 4) continue;
    const Rect r = kivui::OS_MonitorInfo::EnsureRectIsVisible({pos[0], pos[1], pos[2], pos[3]});
    window->SetValue("SzPos", PropList::IntList{r.left, r.top, r.width, r.height});
  }
}

// A restore puts each bar back within a pixel of where it was, not always on the same
// fraction: a frame's least size counts its edges, which the live layout measured where the
// frame lay before its last move and the restored one where it lies now, and a bar beside
// a frame at its least size moves by that pixel. In a window too small for its frames'
// least sizes (or a splitter with no more room than its sides' least sizes, give or take
// that pixel) a bar has no place of its own at all, and in a window with a maximized frame
// the tree is not laid out, so a placement clamped to a least size is measured on the
// lengths the bars had before (a border element pinned since then took room the restored
// tree does not have). The restored definition takes the saved placement where its bar lies
// within a pixel of it on the restored splitter, or anywhere in such a window or splitter;
// what is left differs by more.
void MatchBarPlaces(PropList& restored, const PropList& saved, const Splitter& s, bool loose) {
  PropList* r = restored.GetSubList("Splitter");
  const PropList* v = saved.GetSubList("Splitter");
  if (!r || !v) return;
  const LayoutManagerElement* children[] = {s.GetLeftOrTop(), s.GetRightOrBottom()};
  const int length = s.Length(s.GetLocation());
  int least = 0;
  for (const LayoutManagerElement* child : children) {
    if (child) least += s.IsVertical() ? child->GetMinimumSize().x : child->GetMinimumSize().y;
  }
  float now = 0, was = 0;
  if (r->GetValue("Place", now) && v->GetValue("Place", was) &&
      (loose || length <= least + 1 || std::abs(now - was) * float(length) <= 1.0f))
    r->SetValue("Place", was);
  for (int i = 0; i < 2; ++i) {
    PropList* rc = r->GetSubList(i == 0 ? "Sub1" : "Sub2");
    const PropList* vc = v->GetSubList(i == 0 ? "Sub1" : "Sub2");
    const Splitter* child = children[i] ? children[i]->AsSplitter() : nullptr;
    if (rc && vc && child) MatchBarPlaces(*rc, *vc, *child, loose);
  }
}

void MatchBarPlaces(PropList& restored, const PropList& saved, const Workspace& workspace) {
  const auto windows = workspace.GetWindows();
  for (std::size_t n = 0; n < windows.size(); ++n) {
    const std::string key = "TopLevelFrame-" + std::to_string(n);
    PropList* r = restored.GetSubList(key);
    const PropList* v = saved.GetSubList(key);
    const LayoutManager& layout = windows[n]->GetLayoutManager();
    if (!r || !v) continue;
    const Point least = layout.GetRootHolder()->GetMinimumSize();
    const Rect& room = layout.GetContainingRect();
    const bool tooSmall = least.x > room.width || least.y > room.height;
    MatchBarPlaces(*r, *v, *layout.GetRootHolder(), tooSmall || layout.GetMaximizedFrame());
  }
}

// The first line at which the two definitions' texts differ, after the lines leading to it.
std::string FirstDifference(const PropList& a, const PropList& b) {
  std::istringstream x(kivcore::proplist::utils::WritePropListXML(a, true));
  std::istringstream y(kivcore::proplist::utils::WritePropListXML(b, true));
  std::deque<std::string> context;
  std::string lx, ly;
  while (true) {
    const bool hx = bool(std::getline(x, lx)), hy = bool(std::getline(y, ly));
    if (!hx && !hy) return "no difference in their text";
    if (lx != ly || hx != hy) {
      std::string out;
      for (const std::string& line : context) out += "\n      " + line;
      return out + "\n    - " + (hx ? lx : "(end)") + "\n    + " + (hy ? ly : "(end)");
    }
    context.push_back(lx);
    if (context.size() > 4) context.pop_front();
  }
}

class Checker {
 public:
  explicit Checker(Run& run) : run_(run) {}

  Before Snapshot() const {
    return {CensusOf(*run_.host->workspace), run_.host->manager->GetCurrentWorkspace(), run_.builtIns.built};
  }

  std::optional<Failure> Check(const Before& before, const Effect& effect) {
    std::optional<Failure> failure = Leftovers();
    if (!failure) failure = Prompts();
    if (!failure) failure = Panels(before, effect);
    if (!failure) failure = RoundTrip();
    if (!failure) failure = Files();
    if (!failure) failure = Switcher();
    run_.answers->unexpected.clear();
    run_.host->workspace->ForgetAction();
    return failure;
  }

 private:
  Host& host() const { return *run_.host; }

  // Each tree sound; nothing of a drag left: no tracker, capture, overlay, interim window
  // or native window that is not one of the workspace's shown windows.
  std::optional<Failure> Leftovers() const {
    const Workspace& w = *host().workspace;
    const auto& nodes = kivui::UI_NodeManager::Get();
    if (w.GetTracker()) return Failure{"drag leftovers", "a tracker is still set"};
    if (nodes.GetCaptureNode()) return Failure{"drag leftovers", "a node holds the mouse capture"};
    if (nodes.AreMouseOverUpdatesSuspended()) return Failure{"drag leftovers", "mouse-over updates are suspended"};
    const auto windows = w.GetWindows();
    for (std::size_t i = 0; i < windows.size(); ++i) {
      const TopLevelWindow& window = *windows[i];
      const std::string which = "window " + std::to_string(i);
      if (std::string broken = window.GetLayoutManager().CheckStructure(); !broken.empty())
        return Failure{"structure", which + ": " + broken};
      for (const WorkspaceFrameBase* f : window.GetFrames())
        if (!InTree(window, *f)) return Failure{"structure", which + " shows a frame that is not in its tree"};
      if (window.GetDropZoneOverlay()) return Failure{"drag leftovers", which + " shows a drop-zone overlay"};
      if (window.IsInterim()) return Failure{"drag leftovers", which + " is still an interim drag window"};
      if (!window.IsShown()) return Failure{"windows", which + " is hidden"};
      if (!window.IsMain() && window.GetFrameCount() == 0) return Failure{"windows", which + " floats without a frame"};
    }
    // A node out of every container (a border element's hidden handle, a closed panel kept
    // alive) has a native window too; only a shown one, or a window of the UI's, is left over.
    for (const ui_testing::NodeWindow& native : ui_testing::LiveNodeWindows()) {
      const kivui::UI_Node* node = native.node;
      if (node == &w || std::any_of(windows.begin(), windows.end(), [&](const TopLevelWindow* t) { return t == node; }))
        continue;
      if (!node) return Failure{"drag leftovers", "a native window whose node is gone"};
      if (native.shown || dynamic_cast<const kivui::OS_Window*>(node))
        return Failure{"drag leftovers", std::string(native.shown ? "a shown" : "a hidden") +
                                             " window that is no window of the workspace: \"" + node->GetNodeID() + "\""};
    }
    return {};
  }

  std::optional<Failure> Prompts() const {
    if (!run_.answers->unexpected.empty()) return Failure{"prompts", "asked with no answer ready: " + run_.answers->unexpected.front()};
    if (!host().workspace->errors.empty()) return Failure{"command errors", host().workspace->errors.front()};
    return {};
  }

  // Every serial is shown, pinned, hidden or recorded exactly once. A panel goes only as
  // documented: obliterated by its close policy, its record replaced by a newer record of
  // its type, its closed window's record replaced by a newer one, a pinned panel unpinned.
  // An arrangement restored holds exactly the panels of its definition, and the one left
  // by a switch or a quit was saved whole.
  std::optional<Failure> Panels(const Before& before, const Effect& effect) const {
    RandomWorkspace& w = *host().workspace;
    const Census after = CensusOf(w);
    if (!after.problems.empty()) return Failure{"panels", after.problems.front()};
    for (const auto& [serial, where] : after.places) {
      if (serial < 0) return Failure{"panels", "a panel without a serial"};
      if (where.size() > 1) return Failure{"panels", after.Describe(serial) + " is in " + std::to_string(where.size()) + " places"};
    }
    const std::set<int> now = after.Serials(false);
    if (effect.restarted) {
      if (now != before.census.Serials(false))
        return Failure{"panels", "quitting and starting again:" + Difference(before.census.Serials(false), now, before.census, after)};
      return {};
    }
    const bool replaced = effect.restored.has_value() || w.restores > 0 || run_.builtIns.built != before.built;
    if (!replaced) return Conserved(before.census, after, effect, w.obliterated);

    Manager& manager = *host().manager;
    const UTF16String current = manager.GetCurrentWorkspace();
    if (!before.current.empty() && before.current != current && manager.HasNamedWorkspace(before.current)) {
      if (auto left = ReadDefinition(manager.GetStoredStates(before.current).current)) {
        const std::set<int> saved = CensusOf(*left).Serials(false);
        if (saved != before.census.Serials(false))
          return Failure{"panels", "the workspace left was saved without:" +
                                       Difference(before.census.Serials(false), saved, before.census, CensusOf(*left))};
      }
    }
    std::optional<PropList> source = effect.restored;
    if (!source && w.restores > 0 && !current.empty()) {
      const ManagerBase::StoredStates states = manager.GetStoredStates(current);
      if (w.lastNotice == RandomWorkspace::Notice::kReverted) {
        // A user workspace resets to its archived state, a system one to its system file.
        source = ReadDefinition(!states.archived.empty() ? states.archived : states.system);
      } else if (w.lastNotice == RandomWorkspace::Notice::kSwitched) {
        source = ReadDefinition(states.current);
      }
    }
    if (source) {
      const Census expected = CensusOf(*source);
      if (expected.Serials(false) != now)
        return Failure{"panels", "the arrangement restored differs from its definition:" +
                                     Difference(expected.Serials(false), now, expected, after)};
    }
    return {};
  }

  static std::optional<Failure> Conserved(const Census& before, const Census& after,
                                          const Effect& effect, const std::vector<int>& obliterated) {
    // A closed window's record is known by its definition (its address may be reused).
    std::set<std::string> newRecordTypes, recordsBefore, recordsNow;
    for (const auto& [serial, where] : before.places)
      if (where.front().record) recordsBefore.insert(*where.front().record);
    for (const auto& [serial, where] : after.places) {
      const Place& p = where.front();
      const auto was = before.places.find(serial);
      const bool recorded = p.held == Held::kRecord || p.held == Held::kWindowRecord;
      const bool wasRecorded = was != before.places.end() && (was->second.front().held == Held::kRecord ||
                                                              was->second.front().held == Held::kWindowRecord);
      if (recorded && !wasRecorded) newRecordTypes.insert(p.type);
      if (p.record) recordsNow.insert(*p.record);
    }
    const bool newWindowRecord = std::any_of(recordsNow.begin(), recordsNow.end(),
                                             [&](const std::string& r) { return !recordsBefore.count(r); });
    for (const auto& [serial, where] : before.places) {
      if (after.places.count(serial)) continue;
      if (std::find(obliterated.begin(), obliterated.end(), serial) != obliterated.end()) continue;
      const Place& p = where.front();
      if (p.held == Held::kStatic && effect.mayUnpin) continue;
      // A record goes when a newer panel of its type is recorded (a frame keeps one a type),
      // and so does a panel closed in the same action before another of its type.
      if ((p.held == Held::kRecord || p.held == Held::kShown) && newRecordTypes.count(p.type)) continue;
      // A closed window's record goes when a newer one holds the type it was closed with.
      if (p.record && !recordsNow.count(*p.record) && newWindowRecord) continue;
      return Failure{"panels", before.Describe(serial) + " was lost"};
    }
    return {};
  }

  // The definition holds every panel of the live workspace, and save, restore into a fresh
  // workspace and save again give the same definition.
  std::optional<Failure> RoundTrip() const {
    const Workspace& w = *host().workspace;
    PropList first;
    SaveWorkspace(w, first, u"Check");
    const Census live = CensusOf(w), saved = CensusOf(first);
    if (live.Serials(false) != saved.Serials(false))
      return Failure{"definition", "the saved definition differs from the workspace:" +
                                       Difference(live.Serials(false), saved.Serials(false), live, saved)};
    std::optional<Failure> failure;
    {
      auto fresh = run_.Scratch();
      try {
        RestoreReport report;
        RestoreWorkspace(*fresh, first, true, true, false, &report);
        ui_testing::ProcessEvents();  // the window system places the windows
        PropList second;
        SaveWorkspace(*fresh, second, u"Check");
        if (!report.fallbacks.empty()) {
          failure = Failure{"round trip", "restoring the saved definition fell back: " + report.fallbacks.front()};
        } else {
          PropList expected = OnScreen(first);
          MatchBarPlaces(second, expected, *fresh);
          if (!(second == expected)) {
            const std::string difference = FirstDifference(expected, second);
            // Failures differ by the key that differs, so that shrinking keeps to one fault.
            const auto key = difference.rfind("k=\"");
            failure = Failure{"round trip" + (key == std::string::npos ? std::string() : ": " + difference.substr(key + 3, difference.find('"', key + 3) - key - 3)),
                              "save, restore, save: " + difference};
          }
        }
      } catch (const std::exception& e) {
        failure = Failure{"round trip", std::string("the saved definition is refused: ") + e.what()};
      }
    }
    ui_testing::ProcessEvents();
    return failure;
  }

  // Every file the manager wrote passes its own reader and belongs to a workspace whose
  // name it holds; no temporary file is left.
  std::optional<Failure> Files() {
    Manager& manager = *host().manager;
    std::set<fs::path> expected[2];
    std::vector<UTF16String> names;
    manager.GetWorkspaces(names);
    for (const UTF16String& name : names) {
      const ManagerBase::StoredStates states = manager.GetStoredStates(name);
      int i = 0;
      for (const UTF16String* path : {&states.current, &states.archived}) {
        if (!path->empty()) {
          expected[i].insert(fs::path(kivcore::UTF16to8(*path)).lexically_normal());
          auto definition = ReadDefinition(*path);
          if (!definition) return Failure{"files", "the file of " + kivcore::UTF16to8(name) + " is missing or unreadable"};
          if (GetWorkspaceUserName(*definition) != name)
            return Failure{"files", "the file of " + kivcore::UTF16to8(name) + " names " +
                                        kivcore::UTF16to8(GetWorkspaceUserName(*definition))};
        }
        ++i;
      }
    }
    const fs::path folders[2] = {run_.UserFolder(), run_.ArchiveFolder()};
    for (int i = 0; i < 2; ++i) {
      if (!fs::exists(folders[i])) continue;
      for (const auto& entry : fs::directory_iterator(folders[i])) {
        if (kivcore::filesupport::FileUtils::IsTemporaryName(kivcore::filesupport::File(entry.path())))
          return Failure{"files", "a temporary file was left: " + entry.path().filename().string()};
        if (entry.path().extension() != ".xml") continue;
        if (!expected[i].count(entry.path().lexically_normal()))
          return Failure{"files", entry.path().filename().string() + " belongs to no workspace"};
        if (auto failure = Readable(entry.path())) return failure;
      }
    }
    if (fs::exists(run_.SettingsFile())) {
      try {
        kivcore::proplist::utils::LoadPropList(kivcore::filesupport::File(run_.SettingsFile()));
      } catch (const std::exception& e) {
        return Failure{"files", std::string("the settings cannot be read: ") + e.what()};
      }
    }
    return {};
  }

  // A workspace file restores without a fallback (read once for each content it has).
  std::optional<Failure> Readable(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const std::size_t hash = std::hash<std::string>{}(bytes);
    if (auto it = run_.verified.find(path.string()); it != run_.verified.end() && it->second == hash) return {};
    std::optional<Failure> failure;
    {
      auto scratch = run_.Scratch();
      try {
        const PropList definition = kivcore::proplist::utils::ReadPropList(bytes);
        RestoreReport report;
        if (!IsCompatibleVersion(definition)) {
          failure = Failure{"files", path.filename().string() + " has another version"};
        } else if (RestoreWorkspace(*scratch, definition, true, true, false, &report); !report.fallbacks.empty()) {
          failure = Failure{"files", path.filename().string() + " restores with a fallback: " + report.fallbacks.front()};
        }
      } catch (const std::exception& e) {
        failure = Failure{"files", path.filename().string() + " cannot be read: " + e.what()};
      }
    }
    ui_testing::ProcessEvents();
    if (!failure) run_.verified[path.string()] = hash;
    return failure;
  }

  // The switcher's three lists divide the manager's names between them.
  std::optional<Failure> Switcher() const {
    auto* model = WorkspaceSwitcherManager::Get();
    std::vector<UTF16String> all, names;
    for (const auto* list : {model->GetShownWorkspaceList(), model->GetOverflowWorkspaceList(), model->GetHiddenWorkspaceList()})
      all.insert(all.end(), list->begin(), list->end());
    host().manager->GetWorkspaces(names);
    std::sort(all.begin(), all.end());
    if (all == names) return {};
    std::string text;
    for (const auto* list : {&all, &names}) {
      text += text.empty() ? "the lists hold" : "; the manager has";
      for (const UTF16String& n : *list) text += " " + kivcore::UTF16to8(n);
    }
    return Failure{"switcher", text};
  }

  Run& run_;
};

// ---------------------------------------------------------------------------------------
// Running, shrinking and reporting.

struct Step {
  Action action;
  std::string description;
};

struct Outcome {
  std::vector<Step> steps;  // the actions performed, the failing one last
  std::optional<Failure> failure;
};

std::string ActionText(const Action& a) {
  std::ostringstream out;
  out << "{Kind::k" << KindName(a.kind) << ", {" << a.n[0] << "u, " << a.n[1] << "u, " << a.n[2] << "u, " << a.n[3] << "u}}";
  return out.str();
}

// A watch on the actions: one that has not returned within two minutes waits in something
// nobody answers (a menu or dialog outside the prompt seam); the program then ends, saying
// which action it was, rather than wait for ever.
class Watchdog {
 public:
  static Watchdog& Get() {
    static Watchdog* watchdog = new Watchdog;  // its thread outlives every test
    return *watchdog;
  }
  void Watch(std::string what) {
    {
      const std::lock_guard lock(mutex_);
      what_ = std::move(what);
    }
    started_ = Clock::now().time_since_epoch().count();
  }
  void Idle() { started_ = 0; }

 private:
  Watchdog() {
    std::thread([this] {
      while (true) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const auto started = started_.load();
        if (started == 0 || Clock::now() - Clock::time_point(Clock::duration(started)) < std::chrono::minutes(2)) continue;
        const std::lock_guard lock(mutex_);
        std::fprintf(stderr, "random actions: %s did not end within two minutes\n", what_.c_str());
        std::abort();
      }
    }).detach();
  }
  std::atomic<Clock::rep> started_{0};
  std::mutex mutex_;
  std::string what_;
};

std::string& RunLabel() {
  static std::string label;  // "seed 7", or what is being replayed
  return label;
}

// Performs the action and checks the workspace; false when a check failed.
bool PerformAndCheck(Run& run, const Action& action, Outcome& outcome) {
  Watchdog::Get().Watch(RunLabel() + ", action " + std::to_string(outcome.steps.size() + 1) + " " + ActionText(action));
  Checker checker(run);
  const Before before = checker.Snapshot();
  run.host->workspace->ForgetAction();
  Effect effect;
  try {
    effect = Actor(run).Perform(action);
  } catch (const std::exception& e) {
    effect.description = std::string("raised: ") + e.what();
    outcome.failure = Failure{"exceptions", e.what()};
  }
  if (!run.answers->queue.empty()) {
    // The menu or dialog the answers were for did not open (its tab was covered or gone).
    run.answers->queue.clear();
    effect.description += " (no menu opened)";
  }
  outcome.steps.push_back({action, effect.description});
  if (TheOptions().verbose) {
    std::printf("%4zu %s: %s\n      ", outcome.steps.size(), KindName(action.kind), effect.description.c_str());
    const auto windows = run.host->workspace->GetWindows();
    for (const auto& [serial, where] : CensusOf(*run.host->workspace).places) {
      const Place& p = where.front();
      const auto w = std::find(windows.begin(), windows.end(), p.window);
      std::printf(" %s#%d:%s%s", p.type.c_str(), serial, HeldName(p.held),
                  w == windows.end() ? "" : (" w" + std::to_string(w - windows.begin())).c_str());
    }
    std::printf("\n");
  }
  if (!outcome.failure) outcome.failure = checker.Check(before, effect);
  Watchdog::Get().Idle();
  return !outcome.failure;
}

// The actions replayed on a fresh run, up to the first failure.
Outcome Replay(const std::vector<Action>& actions) {
  Outcome outcome;
  Run run;
  for (const Action& action : actions)
    if (!PerformAndCheck(run, action, outcome)) break;
  return outcome;
}

Outcome Explore(std::uint32_t seed, int count) {
  std::mt19937 random(seed);
  Outcome outcome;
  Run run;
  for (int i = 0; i < count; ++i)
    if (!PerformAndCheck(run, Draw(random), outcome)) break;
  return outcome;
}

// Drops chunks of actions, then single ones, while the rest still fails the same check on
// a fresh run; stops at the deadline with the shortest list found.
std::vector<Action> Shrink(std::vector<Action> actions, const std::string& invariant, Clock::time_point deadline) {
  const auto failsAlone = [&](const std::vector<Action>& candidate) -> std::optional<std::vector<Action>> {
    const Outcome o = Replay(candidate);
    if (!o.failure || o.failure->invariant != invariant) return {};
    return std::vector<Action>(candidate.begin(), candidate.begin() + std::ptrdiff_t(o.steps.size()));
  };
  std::size_t chunk = std::max<std::size_t>(1, actions.size() / 2);
  while (actions.size() > 1 && Clock::now() < deadline) {
    bool removed = false;
    for (std::size_t start = 0; start < actions.size() && actions.size() > 1 && Clock::now() < deadline;) {
      std::vector<Action> candidate = actions;
      candidate.erase(candidate.begin() + std::ptrdiff_t(start),
                      candidate.begin() + std::ptrdiff_t(std::min(actions.size(), start + chunk)));
      if (auto shorter = failsAlone(candidate)) {
        actions = *shorter;
        removed = true;
      } else {
        start += chunk;
      }
    }
    if (!removed) {
      if (chunk == 1) break;
      chunk /= 2;
    }
    chunk = std::min(chunk, std::max<std::size_t>(1, actions.size() / 2));
  }
  return actions;
}

// The line of a list file that says how many actions follow, so that a list cut short on
// its way into a file is refused instead of replayed (a shorter list may pass).
constexpr std::string_view kCountLine = "// actions: ";

// Writes the list as --replay reads it; the path, or nothing when it cannot be written.
std::optional<fs::path> WriteList(const std::string& name, const std::vector<Step>& steps, const std::string& what) {
  std::error_code error;
  const fs::path path = fs::temp_directory_path(error) / ("kiv-random-actions-" + name + ".txt");
  if (error) return {};
  std::ofstream file(path);
  file << "// " << what << "\n" << kCountLine << steps.size() << "\n";
  for (std::size_t i = 0; i < steps.size(); ++i)
    file << "  " << i + 1 << ". " << ActionText(steps[i].action) << "  // " << steps[i].description << "\n";
  if (!file.flush()) return {};
  return path;
}

// `label` names the run ("seed 7", or the file replayed); `listName`, when not empty, names
// the file the list shown is written to.
std::string Report(const std::string& label, const std::string& listName, const Outcome& found,
                   const std::vector<Action>& shortest) {
  const Outcome replayed = Replay(shortest);
  const Outcome& shown = replayed.failure ? replayed : found;
  std::ostringstream out;
  const std::string failed = "the check \"" + found.failure->invariant + "\" failed after action " +
                             std::to_string(found.steps.size());
  out << label << ": " << failed << ": " << found.failure->detail << "\n";
  if (!replayed.failure) {
    out << "it did not fail again on a fresh host; the actions up to the failure:\n";
  } else {
    out << "the shortest list that fails it on a fresh host (" << shown.steps.size() << " of "
        << found.steps.size() << " actions): " << replayed.failure->detail << "\n";
  }
  for (std::size_t i = 0; i < shown.steps.size(); ++i) {
    const Step& s = shown.steps[i];
    out << "  " << i + 1 << ". " << ActionText(s.action) << "  // " << s.description << "\n";
  }
  if (!listName.empty()) {
    if (const auto path = WriteList(listName, shown.steps, label + ": " + failed))
      out << "these " << shown.steps.size() << " actions are in " << path->string() << ": replay them with --replay "
          << path->string() << "\n";
  }
  return out.str();
}

// One seed: true when every check held.
bool RunSeed(std::uint32_t seed, int count, Clock::time_point shrinkDeadline) {
  RunLabel() = "seed " + std::to_string(seed);
  const Outcome found = Explore(seed, count);
  RunLabel() = "shrinking the actions of seed " + std::to_string(seed);
  if (!found.failure) return true;
  std::vector<Action> actions;
  for (const Step& s : found.steps) actions.push_back(s.action);
  const std::vector<Action> shortest = Shrink(actions, found.failure->invariant, shrinkDeadline);
  ADD_FAILURE() << Report("seed " + std::to_string(seed), "seed-" + std::to_string(seed), found, shortest);
  return false;
}

// The actions of a file, written as a failure prints them: {Kind::kDragTab, {1u, 2u, 3u, 4u}},
// one a line, numbered or not. A numbered line out of turn, or fewer or more actions than
// a count line says, is an error: the list lost lines on its way into the file.
std::vector<Action> ReadActions(const std::string& path, std::string& error) {
  std::vector<Action> actions;
  std::optional<std::size_t> count;
  std::ifstream in(path);
  if (!in) error = "cannot read " + path;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(kCountLine)) count = std::stoul(line.substr(kCountLine.size()));
    const auto at = line.find("Kind::k");
    if (at == std::string::npos) continue;
    const auto first = line.find_first_not_of(' ');
    const auto dot = line.find(". ", first);
    if (first < at && dot != std::string::npos && dot < at && error.empty()) {
      const std::string number = line.substr(first, dot - first);
      if (!number.empty() && number.find_first_not_of("0123456789") == std::string::npos &&
          std::stoul(number) != actions.size() + 1)
        error = "action " + number + " follows action " + std::to_string(actions.size()) + " in " + path;
    }
    const std::string rest = line.substr(at + 7);
    for (const KindInfo& info : kKinds) {
      if (!rest.starts_with(std::string(info.name) + ",")) continue;
      Action a{info.kind, {}};
      std::istringstream numbers(rest.substr(rest.find('{') + 1));
      for (std::uint32_t& n : a.n) {
        numbers >> n;
        numbers.ignore(3, ',');
      }
      actions.push_back(a);
    }
  }
  if (count && *count != actions.size() && error.empty())
    error = path + " holds " + std::to_string(actions.size()) + " of its " + std::to_string(*count) + " actions";
  return actions;
}

TEST(RandomActions, KeepTheWorkspaceWhole) {
  const Options& options = TheOptions();
  if (!options.replay.empty()) {
    RunLabel() = "replaying " + options.replay;
    std::string error;
    const std::vector<Action> actions = ReadActions(options.replay, error);
    ASSERT_EQ(error, "");
    ASSERT_FALSE(actions.empty()) << "no actions in " << options.replay;
    std::printf("replaying %zu actions of %s\n", actions.size(), options.replay.c_str());
    const Outcome outcome = Replay(actions);
    if (outcome.failure) ADD_FAILURE() << Report(RunLabel(), {}, outcome, actions);
    return;
  }
  const int count = options.actions > 0 ? options.actions : kDefaultActions;
  const auto start = Clock::now();
  const auto minutes = [](double m) { return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::ratio<60>>(m)); };
  if (options.minutes <= 0) {
    std::vector<std::uint32_t> seeds(std::begin(kFixedSeeds), std::end(kFixedSeeds));
    if (options.seed) seeds = {*options.seed};
    for (std::uint32_t seed : seeds)
      if (!RunSeed(seed, count, Clock::now() + minutes(10))) return;
    return;
  }
  const std::uint32_t first = options.seed.value_or(std::random_device{}());
  const auto end = start + minutes(options.minutes);
  int runs = 0, failed = 0;
  for (std::uint32_t seed = first; Clock::now() < end; ++seed, ++runs) {
    // Each failure is shrunk and reported, and the next seed goes on.
    if (!RunSeed(seed, count, Clock::now() + minutes(5))) ++failed;
  }
  std::printf("random actions: %d seeds of %d actions from seed %u, %d failed\n", runs, count, first, failed);
}

}  // namespace
}  // namespace kivtest

namespace {

// Takes this program's own options out of argv, leaving the rest to GoogleTest and Qt.
void TakeOptions(int& argc, char** argv) {
  kivtest::Options& options = kivtest::TheOptions();
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--minutes" && hasValue) {
      options.minutes = std::stod(argv[++i]);
    } else if (arg == "--seed" && hasValue) {
      options.seed = std::uint32_t(std::stoul(argv[++i]));
    } else if (arg == "--replay" && hasValue) {
      options.replay = argv[++i];
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--actions" && hasValue) {
      options.actions = std::stoi(argv[++i]);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  argv[argc] = nullptr;
}

// The offscreen platform with one large screen, described in a file it reads at start.
std::string LargeScreenPlatform(const std::filesystem::path& config) {
  std::ofstream(config) << R"({"synchronousWindowSystemEvents": false, "windowFrameMargins": true,)"
                        << R"( "screens": [{"name": "", "x": 0, "y": 0, "width": )" << kivtest::kScreen.width
                        << R"(, "height": )" << kivtest::kScreen.height
                        << R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1.0}]})";
  return "offscreen:configfile=" + config.string();
}

// As the other UI test programs (tests/support/UITestMain.cpp): after the test nothing it
// made may be left, no native window of a node and no mouse capture.
class NothingLeftBehind : public ::testing::EmptyTestEventListener {
 public:
  void OnTestEnd(const ::testing::TestInfo& test) override {
    for (const std::string& line : kivui::testing::LeftBehind()) {
      std::fprintf(stderr, "%s.%s left behind %s\n", test.test_suite_name(), test.name(), line.c_str());
      failed_ = true;
    }
  }
  bool Failed() const { return failed_; }

 private:
  bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  TakeOptions(argc, argv);
  kivtest::TempDir configDir;
  const std::string platform = LargeScreenPlatform(configDir / "screen.json");
  kivui::Application app(argc, argv, platform.c_str());
  ::testing::InitGoogleTest(&argc, argv);
  auto* guard = new NothingLeftBehind;  // the listener list owns it
  ::testing::UnitTest::GetInstance()->listeners().Append(guard);
  const int result = RUN_ALL_TESTS();
  return result != 0 || guard->Failed() ? 1 : result;
}
