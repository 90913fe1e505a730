#include "sharedui/ConsolePanel.h"

#include "services/core/Localizer.h"
#include "services/core/PropList.h"
#include "services/ui/console/ConsoleView.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/menu/OSMenu.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace kivworkspace::sharedui {
namespace {

using kivcore::UTF16to8;
using kivui::ConsoleView;

kivcore::UTF16String Text(std::string_view key) { return kivcore::config::Localizer::Get().Localize(key); }

// The views in the order of the panel's menu; the command ID is the view's number.
struct ViewItem {
  unsigned maskBit;
  int view;
  const char* text;
};
constexpr ViewItem kViews[] = {
    {8, ConsoleView::kOutputView, "$$$/kivworkspace/sharedui/ConsolePanel/Output=Output View"},
    {1, ConsoleView::kConsoleView, "$$$/kivworkspace/sharedui/ConsolePanel/ConsoleView=Console View"},
    {2, ConsoleView::kDebugDatabaseView, "$$$/kivworkspace/sharedui/ConsolePanel/DebugDatabaseView=Debug Database View"},
    {4, ConsoleView::kTraceVolumeView, "$$$/kivworkspace/sharedui/ConsolePanel/TraceVolumeView=Trace Volume View"},
    {16, ConsoleView::kCodeProfilerView, "$$$/kivworkspace/sharedui/ConsolePanel/CodeProfilerView=Code Profiler View"},
};

constexpr const char* kViewStateKey = "ConsoleViewState";
constexpr const char* kOldViewStateKey = "DisplayConsoleView";

// A number stored as a signed or unsigned integer or as a flag.
std::optional<std::int64_t> ReadNumber(const kivcore::PropList& list, std::string_view key) {
  std::int32_t i = 0;
  std::uint32_t u = 0;
  bool b = false;
  if (list.GetValue(key, i)) return i;
  if (list.GetValue(key, u)) return u;
  if (list.GetValue(key, b)) return b ? 1 : 0;
  return std::nullopt;
}

std::vector<ConsolePanel*>& LivePanels() {
  static std::vector<ConsolePanel*> panels;
  return panels;
}

}  // namespace

workspace::TabPanelPtr ConsolePanel::TabCreator::CreateTabPanel(workspace::Workspace* workspace,
                                                               workspace::WorkspaceFrameBase* frame) const {
  return std::make_shared<ConsolePanel>(workspace, frame, Text("$$$/kivworkspace/sharedui/ConsolePanel/PanelConsoleTitle=Console"),
                                        kDefaultViewMask);
}

ConsolePanel::ConsolePanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame,
                           const kivcore::UTF16String& title, unsigned viewMask)
    : TabPanel(workspace, frame, true, kTabType, title), view_(std::make_shared<ConsoleView>()), viewMask_(viewMask) {
  SetShowCloseControl();
  PushBack(view_);
  LivePanels().push_back(this);
}

ConsolePanel::~ConsolePanel() {
  auto& panels = LivePanels();
  panels.erase(std::find(panels.begin(), panels.end(), this));
}

ConsolePanel* ConsolePanel::GetInstance() { return LivePanels().empty() ? nullptr : LivePanels().back(); }

void ConsolePanel::Echo(const kivcore::UTF16String& text) { view_->Echo(UTF16to8(text)); }
bool ConsolePanel::ProcessCommand(const kivcore::UTF16String& line) { return view_->RunCommandLine(UTF16to8(line)); }
bool ConsolePanel::ExecuteBatchFile(const kivcore::UTF16String& path) { return view_->ExecuteBatchFile(UTF16to8(path)); }
bool ConsolePanel::OpenLog(const kivcore::UTF16String& path) { return view_->OpenLog(UTF16to8(path)); }
void ConsolePanel::CloseLog() { view_->CloseLog(); }
void ConsolePanel::ClearOutput() { view_->ClearOutput(); }
kivcore::UTF16String ConsolePanel::GetOutput() const { return kivcore::UTF8to16(view_->GetOutput()); }
void ConsolePanel::GotoNextCommand() { view_->GotoNextCommand(); }
void ConsolePanel::GotoPreviousCommand() { view_->GotoPreviousCommand(); }
kivcore::UTF16OutputStream& ConsolePanel::Out() { return view_->Out(); }
void ConsolePanel::PostBuffer(const std::string& utf8) { view_->PostBuffer(utf8); }

void ConsolePanel::PopulateFlyoutMenu(kivui::OSMenu& menu) {
  for (const ViewItem& item : kViews) {
    if (viewMask_ & item.maskBit)
      menu.AddItem(item.view, UTF16to8(Text(item.text)), true, view_->GetVisibleView() == item.view);
  }
}

bool ConsolePanel::DoFlyoutMenuCommand(unsigned id) {
  view_->ShowView(int(id));
  return true;
}

void ConsolePanel::DoSaveStateData(kivcore::PropList* state) const {
  state->SetValue(kViewStateKey, std::int32_t(view_->GetVisibleView()));
}

void ConsolePanel::DoLoadStateData(kivcore::PropList* state) {
  if (const auto view = ReadNumber(*state, kViewStateKey)) {
    view_->ShowView(int(*view));
  } else if (const auto display = ReadNumber(*state, kOldViewStateKey)) {
    view_->ShowView(*display != 0 ? ConsoleView::kConsoleView : ConsoleView::kDebugDatabaseView);
  }
}

void ConsolePanel::DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const { sizes.push_back({480, 240}); }

void ConsolePanel::UI_SizeChanged(const kivcore::RectF& newBounds) {
  TabPanel::UI_SizeChanged(newBounds);
  view_->SetFrame({0, 0, newBounds.width, newBounds.height});
}

void ConsolePanel::UI_FocusChanged(kivui::FocusChangeReason reason) {
  TabPanel::UI_FocusChanged(reason);
  if (UI_HasKeyboardFocus() && view_->GetVisibleView() == ConsoleView::kConsoleView)
    view_->GetCommandLine().UI_GainKeyboardFocus(reason);
}

}  // namespace kivworkspace::sharedui
