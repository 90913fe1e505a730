#include "workspace/definition/WorkspaceDefinition.h"

#include "layout/Frame.h"
#include "layout/FrameDataProxy.h"
#include "layout/Splitter.h"
#include "services/core/Error.h"
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/window/OS_MonitorInfo.h"
#include "workspace/core/PanelPool.h"
#include "workspace/frames/StackedWorkspaceFrame.h"
#include "workspace/frames/TablessWorkspaceFrame.h"
#include "workspace/frames/WorkspaceBorderElement.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/definition/internal/TreeAssembly.h"
#include "workspace/windows/internal/WindowRecycler.h"
#include "workspace/core/Workspace.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>

namespace kivworkspace::workspace {
namespace {

using kivcore::PropList;
using Type = PropList::ValueType;

constexpr const char* kInvalidWorkspace =
    "$$$/kivworkspace/workspace/Error/InvalidWorkspace=Not a valid workspace definition.";
constexpr const char* kIncompatibleVersion =
    "$$$/kivworkspace/workspace/Error/UnableToLoadWorkspace=Unable to load workspace; "
    "Incompatible workspace definition version.";

// The keys of the border elements, top, left, right and bottom, in the order written.
struct BorderKeys {
  const char* has;
  const char* type;
  LayoutManager::InsertionType side;
};
constexpr BorderKeys kBorders[] = {
    {"HasToolBar", "ToolBarTabType", LayoutManager::kTop},
    {"HasLeftBar", "LeftBarTabType", LayoutManager::kLeft},
    {"HasRightBar", "RightBarTabType", LayoutManager::kRight},
    {"HasStatBar", "StatBarTabType", LayoutManager::kBottom},
};
constexpr const char* kTopMinimized = "ToolBarMinimized";

std::string Numbered(std::string_view prefix, std::size_t n) {
  return std::string(prefix) + std::to_string(n);
}

// "TopLevelFrame-3", or "TopLevelFrame-3 to TopLevelFrame-9" for the numbers first to last.
std::string NumberedRange(std::string_view prefix, std::int32_t first, std::int32_t last) {
  const std::string from = Numbered(prefix, std::size_t(first));
  return first == last ? from : from + " to " + Numbered(prefix, std::size_t(last));
}

// Width and height at the scale the window is shown at, as a definition stores them.
int Unscaled(int pixels, float scale) { return int(std::floor(float(pixels) / scale + 0.5f)); }
// Window coordinates and sizes are held within this many pixels of the origin: a damaged
// file's two billion would overflow the arithmetic that places the window.
constexpr float kCoordinateLimit = 1'000'000.0f;

int Bounded(float value) { return int(std::clamp(value, -kCoordinateLimit, kCoordinateLimit)); }

int Scaled(int stored, float scale) {
  const float scaled = std::floor(float(stored) * scale + 0.5f);
  return Bounded(std::isfinite(scaled) ? scaled : float(stored));
}

// --- writing ---------------------------------------------------------------------------------

PropList::StringList TypesOf(const TabDataList& records) {
  PropList::StringList types;
  for (const auto& record : records) types.push_back(record.first);
  return types;
}

void WriteStates(const TabDataList& records, PropList& list, std::string_view prefix) {
  for (std::size_t k = 0; k < records.size(); ++k)
    list.SetValue(Numbered(prefix, k), records[k].second);
}

void WriteProxy(const TabDataList& records, PropList& parent) {
  PropList& list = parent.NewSubList("FrameProxy");
  list.SetValue("TabIDs", TypesOf(records));
  WriteStates(records, list, "HidTabState-");
}

void WriteFrame(const TopLevelWindow& window, const Frame& frame, PropList& parent) {
  TabDataList visible, removed, hidden;
  frame.GetTabData(visible, removed, hidden);
  const auto* host = dynamic_cast<const WorkspaceFrame*>(window.GetFrameFromLMFrame(&frame));
  PropList& list = parent.NewSubList("Frame");
  list.SetValue("Vis", frame.IsFrameShown());
  list.SetValue("CurrTab", std::int32_t(host ? std::max(0, host->GetFrontTabIndex()) : 0));
  list.SetValue("TabIDs", TypesOf(visible));
  WriteStates(visible, list, "VisTabState-");
  TabDataList closed = std::move(hidden);
  closed.insert(closed.end(), removed.begin(), removed.end());
  WriteStates(closed, list, "HidTabState-");
  if (!closed.empty()) list.SetValue("ReanimTabs", TypesOf(closed));
  if (Workspace::GetStackedTabPanelsEnabled() && host)
    list.SetValue("StackedViewFlags", std::uint32_t(host->GetStackedViewState()));
  const auto* stacked = dynamic_cast<const StackedWorkspaceFrame*>(host);
  if (stacked && Workspace::GetStackedTabPanelsEnabled()) {
    PropList::BoolList open;
    PropList::IntList heights;
    for (unsigned i = 0; i < stacked->GetTabCount(); ++i) {
      open.push_back(stacked->GetStackedTabIsOpen(i));
      heights.push_back(stacked->GetStackedTabClientHeight(i));
    }
    list.SetValue("StackedViewOpen", std::move(open));
    list.SetValue("StackedViewClientHeights", std::move(heights));
  }
}

void WriteElement(const TopLevelWindow& window, const LayoutManagerElement& e, PropList& parent,
                  WindowForm form) {
  if (const Splitter* s = e.AsSplitter()) {
    PropList& list = parent.NewSubList("Splitter");
    list.SetValue("Orient", s->IsVertical());
    list.SetValue("Place", s->GetPlacement());
    list.SetValue("Sub1Vis", s->IsLeftOrTopSubtreeVisible());
    list.SetValue("Sub2Vis", s->IsRightOrBottomSubtreeVisible());
    if (s->GetLeftOrTop()) WriteElement(window, *s->GetLeftOrTop(), list.NewSubList("Sub1"), form);
    if (s->GetRightOrBottom())
      WriteElement(window, *s->GetRightOrBottom(), list.NewSubList("Sub2"), form);
    return;
  }
  if (const Frame* f = e.AsFrame(); f && form == WindowForm::kNormal) {
    WriteFrame(window, *f, parent);
    return;
  }
  // A placeholder, or any frame in the reanimation form: all its panels as records,
  // visible first, then hidden, then removed.
  TabDataList visible, removed, hidden;
  GetLeafTabData(&e, visible, removed, hidden);
  visible.insert(visible.end(), hidden.begin(), hidden.end());
  visible.insert(visible.end(), removed.begin(), removed.end());
  WriteProxy(visible, parent);
}

// The way from the root element down to the frame: '0' for each step to a left or top
// child, '1' to a right or bottom one.
std::string MaxFramePath(const LayoutManager& layout, const Frame& frame) {
  std::string path;
  const LayoutManagerElement* root = layout.GetRoot();
  for (const LayoutManagerElement* e = &frame; e != root; e = e->GetParent()) {
    const Splitter* parent = e->GetParent() ? e->GetParent()->AsSplitter() : nullptr;
    if (!parent) return {};
    path.push_back(parent->GetLeftOrTop() == e ? '0' : '1');
  }
  std::reverse(path.begin(), path.end());
  return path;
}

const Frame* FollowMaxFramePath(const LayoutManager& layout, std::string_view path) {
  const LayoutManagerElement* e = layout.GetRoot();
  for (char step : path) {
    const Splitter* s = e ? e->AsSplitter() : nullptr;
    if (!s || (step != '0' && step != '1')) return nullptr;
    e = step == '0' ? s->GetLeftOrTop() : s->GetRightOrBottom();
  }
  return e ? e->AsFrame() : nullptr;
}

// --- checking ----------------------------------------------------------------------------

void CheckVersion(const PropList& definition) {
  std::string version;
  if (definition.GetValueType("KIV_Wrkspce") == Type::None)
    kivcore::config::ThrowError(1, kInvalidWorkspace, 102, 22, 1);
  if (!definition.GetValue("KIV_Wrkspce", version) || version != kWorkspaceDefinitionVersion)
    kivcore::config::ThrowError(1, kIncompatibleVersion, 102, 23, 1);
}

// --- reading -----------------------------------------------------------------------------

// A panel state written as XML, parsed; nothing when it is not a property list, with the
// parser's reason in `why`.
std::optional<PropList> ParseState(const std::string& xml, std::string& why) {
  try {
    return kivcore::proplist::utils::ReadPropList(xml);
  } catch (const std::exception& e) {
    why = e.what();
    return std::nullopt;
  }
}

const char* TypeName(Type type) {
  switch (type) {
    case Type::String: return "a string";
    case Type::Text: return "a text";
    case Type::Bool: return "a bool";
    case Type::Int: return "an int";
    case Type::Flags: return "flags";
    case Type::Float: return "a float";
    case Type::Rect: return "a rectangle";
    case Type::IntList: return "an int list";
    case Type::BoolList: return "a bool list";
    case Type::StringList: return "a string list";
    case Type::TextList: return "a text list";
    case Type::SubList: return "a sublist";
    default: return "nothing";
  }
}

// Reads one window's list into a window: keeps the path of the list being read for the
// report, and makes the frames of the new tree.
class WindowReader {
 public:
  WindowReader(TopLevelWindow& window, PanelPool& pool, RestoreReport* report, std::string where)
      : window_(window),
        workspace_(*window.GetWorkspace()),
        layout_(window.GetLayoutManager()),
        pool_(pool),
        report_(report),
        path_(std::move(where)) {}

  void Read(const PropList& list, const WindowReadOptions& options);

 private:
  // Reads a value of the wanted type; a value of another type is reported with the
  // fallback, and so is a missing one when `required` is given.
  template <typename T>
  bool Get(const PropList& list, std::string_view key, Type wanted, T& out,
           const char* required = nullptr) {
    const Type found = list.GetValueType(key);
    if (found == wanted) return list.GetValue(key, out);
    if (found != Type::None) {
      Note(key, std::string("is ") + TypeName(found) + ", not " + TypeName(wanted) + "; " +
                    (required ? required : "ignored"));
    } else if (required) {
      Note(key, std::string("missing; ") + required);
    }
    return false;
  }
  void Note(std::string_view key, const std::string& what) {
    if (!report_) return;
    const std::string at = key.empty() ? path_ : path_ + "/" + std::string(key);
    report_->fallbacks.push_back(at + ": " + what);
  }
  // Enters a sub-list for the report's paths for the lifetime of the returned guard.
  struct Enter {
    Enter(std::string& path, std::string_view key) : path_(path), size_(path.size()) {
      path_ += "/";
      path_ += key;
    }
    ~Enter() { path_.resize(size_); }
    std::string& path_;
    std::size_t size_;
  };

  TabPanelPtr TakeOrMake(const std::string& type);
  void LoadState(TabPanel& panel, const PropList& list, const std::string& key);
  void ReadPlacement(const PropList& list, const WindowReadOptions& options,
                     const kivcore::Rect& stored, bool& secondLayout);
  void ReadTree(Splitter& splitter, const PropList& splitterList);
  void ReadBorderElements(const PropList& list);
  // Sets the stack's heights and open states and fronts its front panel as saved; false,
  // leaving the front panel to the caller, when the definition has no states for it.
  bool ReadStack(const PropList& list, StackedWorkspaceFrame& frame, unsigned front);
  void ReadChild(Splitter& parent, const PropList& childList, bool leftOrTop);
  void ReadFrame(const PropList& list, Splitter& parent, bool leftOrTop);
  TabDataList ReadRecords(const PropList& list, const char* typesKey);
  void PlaceRecords(const TabDataList& records, Splitter& parent, bool leftOrTop) {
    PlaceClosedPanels(window_, records, parent, leftOrTop, Source());
  }
  PanelSource Source() {
    return [this](const std::string& type) { return TakeOrMake(type); };
  }
  unsigned ReadFrameFlags(const PropList& list);

  TopLevelWindow& window_;
  Workspace& workspace_;
  LayoutManager& layout_;
  PanelPool& pool_;
  RestoreReport* report_;
  std::string path_;
  std::vector<WorkspaceFramePtr> frames_;
};

TabPanelPtr WindowReader::TakeOrMake(const std::string& type) {
  TabPanelPtr panel = pool_.TakeOrMake(workspace_, type);
  if (!panel && report_) {
    auto& dropped = report_->droppedTypes;
    if (std::find(dropped.begin(), dropped.end(), type) == dropped.end()) dropped.push_back(type);
  }
  return panel;
}

void WindowReader::LoadState(TabPanel& panel, const PropList& list, const std::string& key) {
  std::string xml, why;
  if (!Get(list, key, Type::String, xml) || xml.empty()) return;
  if (std::optional<PropList> state = ParseState(xml, why)) {
    panel.LoadStateData(&*state);
  } else {
    Note(key, "not a property list (" + why + "); the " + panel.GetTabType() +
                  " panel opens without its state");
  }
}

void WindowReader::Read(const PropList& list, const WindowReadOptions& options) {
  const float scale = window_.GetRecommendedScaleFactor();
  PropList::IntList pos;
  std::optional<kivcore::Rect> stored;
  if (Get(list, "SzPos", Type::IntList, pos, "the window keeps its place")) {
    if (pos.size() == 4) {
      stored = kivcore::Rect{Bounded(float(pos[0])), Bounded(float(pos[1])), Scaled(pos[2], scale), Scaled(pos[3], scale)};
    } else {
      Note("SzPos", "does not hold 4 values; the window keeps its place");
    }
  }

  // The closed frames of the window's old arrangement gave their panels to the pool.
  window_.DestroyHiddenFrames();
  auto holder = std::make_unique<Splitter>(&layout_, false);
  ReadTree(*holder, list);

  bool secondLayout = false;
  if (options.applyPlacement && stored) ReadPlacement(list, options, *stored, secondLayout);
  window_.UI_Show(true);
  window_.ResetRootFrame(std::move(holder), frames_);

  if (window_.IsMain()) ReadBorderElements(list);

  if (stored && (window_.GetGlobalStructureRect().width != stored->width ||
                 window_.GetGlobalStructureRect().height != stored->height)) {
    secondLayout = true;
  }
  layout_.Layout(window_.GetClientRect(), false, true, false);
  if (secondLayout) layout_.Layout(window_.GetClientRect(), true, true, false);

  std::string path;
  if (options.applyMaximized && Get(list, "MaxFramePath", Type::String, path)) {
    const Frame* frame = FollowMaxFramePath(layout_, path);
    if (frame && window_.CanHaveMaximizedFrame()) {
      window_.SetMaximizedFrame(window_.GetFrameFromLMFrame(frame));
    } else {
      Note("MaxFramePath", "\"" + path + "\" leads to no frame; nothing is maximized");
    }
  }
}

void WindowReader::ReadPlacement(const PropList& list, const WindowReadOptions& options,
                                 const kivcore::Rect& stored, bool& secondLayout) {
  const PropList* state = window_.IsMain() ? list.GetSubList("WinState") : nullptr;
  if (state && window_.RestoreWindowStateData(*state)) return;
  if (state) Note("WinState", "not a usable placement; \"SzPos\" is used");
  const kivcore::Point origin = window_.GetGlobalClientRect().TopLeft();
  layout_.SetContainingRect(
      {stored.left - origin.x, stored.top - origin.y, stored.width, stored.height});
  window_.SetGlobalStructureRect(kivui::OS_MonitorInfo::EnsureRectIsVisible(stored));
  if (options.forceLayout) secondLayout = true;
}

void WindowReader::ReadTree(Splitter& splitter, const PropList& parentList) {
  const PropList* list = parentList.GetSubList("Splitter");
  if (!list) {
    Note("Splitter", "missing; the window has no frames");
    return;
  }
  Enter enter(path_, "Splitter");
  bool vertical = false, vis1 = true, vis2 = true;
  float place = 0;
  Get(*list, "Orient", Type::Bool, vertical);
  if (Get(*list, "Place", Type::Float, place) && !std::isfinite(place)) {
    // Read as missing: nothing later has to cope with a placement that is no number.
    Note("Place", "is not a finite number; read as missing, the placement is 0");
    place = 0;
  }
  Get(*list, "Sub1Vis", Type::Bool, vis1);
  Get(*list, "Sub2Vis", Type::Bool, vis2);
  splitter.SetVertical(vertical);
  splitter.SetPlacement(place);
  // Set before the children are read: a side that becomes a placeholder is hidden then.
  splitter.SetLeftOrTopVisible(vis1);
  splitter.SetRightOrBottomVisible(vis2);
  if (const PropList* sub = list->GetSubList("Sub1")) {
    Enter side(path_, "Sub1");
    ReadChild(splitter, *sub, true);
  }
  if (const PropList* sub = list->GetSubList("Sub2")) {
    Enter side(path_, "Sub2");
    ReadChild(splitter, *sub, false);
  }
}

void WindowReader::ReadChild(Splitter& parent, const PropList& childList, bool leftOrTop) {
  if (childList.GetSubList("Splitter")) {
    Splitter* child = layout_.NewSplitter(false);  // ReadTree sets its orientation
    AttachChild(parent, leftOrTop, child);
    ReadTree(*child, childList);
  } else if (const PropList* frame = childList.GetSubList("Frame")) {
    Enter enter(path_, "Frame");
    ReadFrame(*frame, parent, leftOrTop);
  } else if (const PropList* proxy = childList.GetSubList("FrameProxy")) {
    Enter enter(path_, "FrameProxy");
    PlaceRecords(ReadRecords(*proxy, "TabIDs"), parent, leftOrTop);
  } else if (!childList.IsEmpty()) {
    Note("", "holds no splitter, frame or proxy; the side stays empty");
  }
}

unsigned WindowReader::ReadFrameFlags(const PropList& list) {
  if (!Workspace::GetStackedTabPanelsEnabled()) return 8;
  std::uint32_t flags = 8;
  std::int32_t asInt = 0;
  if (list.GetValueType("StackedViewFlags") == Type::Int &&
      list.GetValue("StackedViewFlags", asInt)) {
    flags = std::uint32_t(asInt);
  } else {
    Get(list, "StackedViewFlags", Type::Flags, flags);
  }
  return flags >= 8 ? 8 : flags;
}

void WindowReader::ReadFrame(const PropList& list, Splitter& parent, bool leftOrTop) {
  WorkspaceFramePtr frame = window_.CreateFrameForViewFlags(ReadFrameFlags(list));
  PropList::StringList ids;
  Get(list, "TabIDs", Type::StringList, ids, "the frame has no open panels");
  for (std::size_t n = 0; n < ids.size(); ++n) {
    TabPanelPtr panel = TakeOrMake(ids[n]);
    if (!panel) continue;
    LoadState(*panel, list, Numbered("VisTabState-", n));
    // A panel that can be pinned to a window's side is an ordinary tab here.
    if (auto* element = dynamic_cast<WorkspaceBorderElement*>(panel.get()))
      element->ConvertToRegularTab();
    frame->AddTab(panel, false);
  }
  const TabDataList closed = ReadRecords(list, "ReanimTabs");
  if (frame->GetTabCount() == 0) {
    // Nothing of the frame could be made: its closed panels keep its place, if any.
    if (!closed.empty()) PlaceRecords(closed, parent, leftOrTop);
    return;
  }
  frame->SetRemovedTabData(KeepHiddenPanels(workspace_, closed, *frame, Source()));
  std::int32_t front = 0;
  Get(list, "CurrTab", Type::Int, front, "the first tab is in front");
  if (front < 0) front = 0;
  const unsigned frontIndex = std::min(unsigned(front), frame->GetTabCount() - 1);
  auto* stacked = dynamic_cast<StackedWorkspaceFrame*>(frame.get());
  if (!stacked || !ReadStack(list, *stacked, frontIndex)) frame->BringTabToFront(frontIndex);
  AttachChild(parent, leftOrTop, frame->GetLMFrame());
  frames_.push_back(frame);
}

TabDataList WindowReader::ReadRecords(const PropList& list, const char* typesKey) {
  PropList::StringList types;
  TabDataList records;
  if (!Get(list, typesKey, Type::StringList, types)) return records;
  for (std::size_t k = 0; k < types.size(); ++k) {
    const std::string key = Numbered("HidTabState-", k);
    std::string state, why;
    if (!Get(list, key, Type::String, state) && std::string_view(typesKey) == "ReanimTabs") {
      Note(key, "missing; the closed " + types[k] + " panel is forgotten");
      continue;
    }
    if (!state.empty() && !ParseState(state, why)) {
      Note(key, "not a property list (" + why + "); the closed " + types[k] +
                    " panel comes back without its state");
      state.clear();
    }
    records.emplace_back(types[k], std::move(state));
  }
  return records;
}

}  // namespace

// --- one window -----------------------------------------------------------------------------

void WriteWindow(const TopLevelWindow& window, PropList& list, WindowForm form) {
  const kivcore::Rect r = window.GetGlobalStructureRect();
  const float scale = window.GetRecommendedScaleFactor();
  list.SetValue("SzPos", PropList::IntList{r.left, r.top, Unscaled(r.width, scale),
                                           Unscaled(r.height, scale)});
  if (window.IsMain()) window.SaveWindowStateData(list.NewSubList("WinState"));
  const LayoutManager& layout = window.GetLayoutManager();
  if (const Frame* maximized = layout.GetMaximizedFrame())
    list.SetValue("MaxFramePath", MaxFramePath(layout, *maximized));
  WriteElement(window, *layout.GetRootHolder(), list, form);
  for (const BorderKeys& border : kBorders) {
    const TabPanel* element = window.GetStaticElement(border.side);
    list.SetValue(border.has, element != nullptr);
    if (!element) continue;
    list.SetValue(border.type, element->GetTabType());
    if (border.side != LayoutManager::kTop) continue;
    const TablessWorkspaceFrame* frame = window.GetBorderFrame(border.side);
    list.SetValue(kTopMinimized, frame->GetIsMinimized());
  }
}

bool WindowReader::ReadStack(const PropList& list, StackedWorkspaceFrame& frame, unsigned front) {
  PropList::BoolList open;
  PropList::IntList heights;
  const bool both = Get(list, "StackedViewOpen", Type::BoolList, open) &&
                    Get(list, "StackedViewClientHeights", Type::IntList, heights);
  const bool apply =
      both && open.size() == frame.GetTabCount() && heights.size() == frame.GetTabCount();
  if (apply) {
    for (unsigned i = 0; i < frame.GetTabCount(); ++i) {
      frame.SetStackedTabClientHeight(i, unsigned(std::max(heights[i], 0)));
      frame.SetStackedTabIsOpen(i, open[i]);
    }
    // Fronted without opening or closing anything: fronting would open a collapsed front
    // panel and, in a solo stack, close the others, undoing the states just read.
    frame.SetFrontTabIndex(front);
  } else if (both) {
    Note("StackedViewOpen", "not one entry per panel; the stack keeps its heights");
  }
  frame.DoneSerializing();
  return apply;
}

void WindowReader::ReadBorderElements(const PropList& list) {
  for (const BorderKeys& border : kBorders) {
    bool has = false;
    std::string type;
    if (!Get(list, border.has, Type::Bool, has) || !has ||
        !Get(list, border.type, Type::String, type, "no element is set there"))
      continue;
    window_.SetStaticElement(type, border.side, false);
    TablessWorkspaceFrame* frame = window_.GetBorderFrame(border.side);
    if (!frame) {
      Note(border.type, "no panel of type " + type + " can be made; no element is set there");
      continue;
    }
    bool minimized = false;
    if (border.side == LayoutManager::kTop && Get(list, kTopMinimized, Type::Bool, minimized))
      frame->SetIsMinimized(minimized);
  }
}

void ReadWindow(TopLevelWindow& window, const PropList& list, PanelPool& pool,
                const WindowReadOptions& options, RestoreReport* report,
                const std::string& where) {
  WindowReader(window, pool, report, where).Read(list, options);
}

// --- the whole workspace ----------------------------------------------------------------------

void SaveWorkspace(const Workspace& workspace, PropList& definition,
                   const kivcore::UTF16String& userName) {
  definition.SetValue("KIV_Wrkspce", kWorkspaceDefinitionVersion);
  if (!userName.empty()) definition.SetValue("UserName", userName);
  PropList& monitors = definition.NewSubList("MonitorInfo");
  const auto all = kivui::OS_MonitorInfo::GetMonitors();
  monitors.SetValue("Count", std::int32_t(all.size()));
  for (std::size_t i = 0; i < all.size(); ++i)
    all[i].SaveToPropList(monitors.NewSubList(Numbered("Monitor-", i)));
  const auto windows = workspace.GetWindows();
  for (std::size_t n = 0; n < windows.size(); ++n)
    WriteWindow(*windows[n], definition.NewSubList(Numbered("TopLevelFrame-", n)),
                WindowForm::kNormal);
  definition.SetValue("SerCfgMax", std::int32_t(windows.size()));
  workspace.SaveWorkspaceData(definition.NewSubList("WSInstanceData"));
}

void CheckWorkspaceDefinition(const PropList& definition) { CheckVersion(definition); }

std::vector<std::int32_t> NumberedSubLists(const PropList& list, std::string_view prefix,
                                           std::int32_t count) {
  std::vector<std::int32_t> numbers;
  for (const std::string& key : list.GetKeys()) {
    if (!key.starts_with(prefix)) continue;
    const std::string_view digits = std::string_view(key).substr(prefix.size());
    std::int32_t n = -1;
    const std::errc error = std::from_chars(digits.data(), digits.data() + digits.size(), n).ec;
    // Exactly the key the number is written as: no sign, no leading zeros.
    if (error == std::errc() && n >= 0 && n < count && key == Numbered(prefix, std::size_t(n)) &&
        list.GetSubList(key))
      numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

bool RestoreWorkspace(Workspace& workspace, const PropList& definition, bool applyMainPlacement,
                      bool applyMaximized, bool forceLayout, RestoreReport* report) {
  workspace.NotifyRestoreWorkspaceBegin();
  kivui::UI_NodeManager::FocusChangeGroup focusGroup;
  CheckWorkspaceDefinition(definition);

  PanelPool pool = workspace.GatherPanels();
  WindowRecycler windows(workspace);
  std::int32_t count = 0;
  if (definition.GetValueType("SerCfgMax") == Type::Int) {
    definition.GetValue("SerCfgMax", count);
  } else if (report) {
    report->fallbacks.push_back("SerCfgMax: missing or not an int; no window is read");
  }
  // Only the window lists the file holds are read. A number without one still takes a
  // window, as every number below the count does; once the window taken goes back unused,
  // each further number up to the next list would take it again, so they are passed over.
  const std::vector<std::int32_t> present = NumberedSubLists(definition, "TopLevelFrame-", count);
  auto next = present.begin();
  for (std::int32_t n = 0; n < count; ++n) {
    TopLevelWindow& window = windows.Next();
    const std::string key = Numbered("TopLevelFrame-", std::size_t(n));
    const bool held = next != present.end() && *next == n;
    if (held) {
      ++next;
      WindowReadOptions options;
      options.applyPlacement = !window.IsMain() || applyMainPlacement;
      options.applyMaximized = applyMaximized;
      options.forceLayout = forceLayout;
      ReadWindow(window, *definition.GetSubList(key), pool, options, report, key);
    }
    const bool unused = !window.IsMain() && window.GetFrameCount() == 0;
    if (unused) windows.GiveBack(window);
    if (held) continue;
    const std::int32_t last = unused ? (next == present.end() ? count : *next) - 1 : n;
    if (report) {
      report->fallbacks.push_back(NumberedRange("TopLevelFrame-", n, last) +
                                  (n == last ? ": missing or not a sublist; the window is left out"
                                             : ": missing or not sublists; those windows are "
                                               "left out"));
    }
    n = last;
  }
  if (const PropList* data = definition.GetSubList("WSInstanceData"))
    workspace.ReadWorkspaceData(*data, pool, report);
  windows.RemoveUnused();
  workspace.ReleasePanels(pool);
  if (TopLevelWindow* main = workspace.GetMainTopLevelWindow()) main->Activate(true);
  workspace.NotifyRestoreWorkspaceEnd();
  return true;
}

bool IsCompatibleVersion(const PropList& definition) {
  std::string version;
  return definition.GetValue("KIV_Wrkspce", version) && version == kWorkspaceDefinitionVersion;
}

kivcore::UTF16String GetWorkspaceUserName(const PropList& definition) {
  kivcore::UTF16String name;
  definition.GetValue("UserName", name);
  return name;
}

void ChangeWorkspaceUserName(PropList& definition, const kivcore::UTF16String& name) {
  definition.SetValue("UserName", name);
}

void SetMainWindowGlobalRect(PropList& definition, const kivcore::Rect& rect) {
  PropList* first = definition.GetSubList("TopLevelFrame-0");
  if (!definition.HasValue("KIV_Wrkspce") || !first)
    kivcore::config::ThrowError(1, kInvalidWorkspace, 102, 22, 1);
  first->SetValue("SzPos", PropList::IntList{rect.left, rect.top, rect.width, rect.height});
  first->RemoveValue("WinState");
}

}  // namespace kivworkspace::workspace
