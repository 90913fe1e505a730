#include "services/ui/console/ConsoleView.h"

#include "services/core/Console.h"
#include "services/core/DebugDatabase.h"
#include "services/core/MainThread.h"
#include "services/core/Trace.h"
#include "services/ui/controls/UI_MultiColumnTree.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/events/KeyboardEvent.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kivui {
namespace {

constexpr float kCommandLineHeight = 24;
constexpr int kRefreshTimer = 1;
constexpr int kRefreshIntervalMs = 1000;

// Appends what is written to the view's output.
class OutputStream : public kivcore::UTF16OutputStream {
 public:
  explicit OutputStream(ConsoleView& view) : view_(view) {}
  using UTF16OutputStream::Write;
  void Write(std::u16string_view text) override { view_.AppendOutput(kivcore::UTF16to8(text)); }

 private:
  ConsoleView& view_;
};

std::string Milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", ms);
  return text;
}

std::vector<UI_MultiColumnTreeRow> Rows(const std::vector<std::vector<std::string>>& cells) {
  std::vector<UI_MultiColumnTreeRow> rows;
  for (const auto& c : cells) rows.push_back({.id = int(rows.size()) + 1, .cells = c});
  return rows;
}

}  // namespace

ConsoleView::ConsoleView()
    : UI_Container("ConsoleView"),
      output_(std::make_shared<UI_TextEdit>(true)),
      input_(std::make_shared<UI_TextEdit>(false)),
      tree_(std::make_shared<UI_MultiColumnTree>()),
      out_(std::make_unique<OutputStream>(*this)),
      alive_(std::make_shared<ConsoleView*>(this)) {
  output_->SetReadOnly(true);
  output_->SetMonospace(true);
  input_->SetMonospace(true);
  input_->SetPlaceholder("Type a command (con.help lists them) and press Return");
  input_->onReturnPressed = [this] {
    const std::string line = input_->GetText();
    input_->SetText({});
    RunCommandLine(line);
  };
  input_->onKey = [this](const KeyboardEvent& e) { return OnKey(e); };
  PushBack(output_);
  PushBack(input_);
  PushBack(tree_);
  Arrange();
}

ConsoleView::~ConsoleView() = default;

void ConsoleView::ShowView(int view) {
  if (view < kConsoleView || view > kCodeProfilerView) return;
  if (view != view_) shownCells_.clear();
  view_ = view;
  Arrange();
  RefreshTree();
}

void ConsoleView::Arrange() {
  const bool text = view_ == kConsoleView || view_ == kOutputView;
  output_->UI_Show(text);
  input_->UI_Show(view_ == kConsoleView);
  tree_->UI_Show(!text);
  if (text) {
    UI_StopTimer(kRefreshTimer);
  } else {
    UI_StartTimer(kRefreshTimer, kRefreshIntervalMs);
  }
  UI_SizeChanged(GetLocalBounds());
}

void ConsoleView::RefreshTree() {
  std::vector<std::vector<std::string>> cells;
  switch (view_) {
    case kDebugDatabaseView: {
      tree_->SetColumns({{"Name", 260}, {"Value", 120}, {"Default", 120}});
      auto& db = kivcore::debug::DebugDatabase::Instance();
      for (const std::string& name : db.GetNames()) {
        if (const auto entry = db.FindEntry(name))
          cells.push_back({name, db.ToText(entry->value), db.ToText(entry->defaultValue)});
      }
      break;
    }
    case kTraceVolumeView:
      tree_->SetColumns({{"Channel", 260}, {"Level", 80}});
      for (const auto& [channel, level] : kivcore::debug::GetTraceLevels()) cells.push_back({channel, std::to_string(level)});
      break;
    case kCodeProfilerView:
      tree_->SetColumns({{"Command", 220}, {"Runs", 60}, {"Total ms", 100}, {"Last ms", 100}});
      for (const auto& t : kivcore::console::GetCommandTimings())
        cells.push_back({t.name, std::to_string(t.runs), Milliseconds(t.totalMs), Milliseconds(t.lastMs)});
      break;
    default:
      return;
  }
  if (cells == shownCells_) return;  // keeps the scroll position and selection
  shownCells_ = cells;
  tree_->SetRows(Rows(cells));
}

bool ConsoleView::RunCommandLine(const std::string& line) {
  if (line.find_first_not_of(" \t") == std::string::npos) return false;
  history_.push_back(line);
  historyPos_ = history_.size();
  Echo("> " + line);
  const bool known = kivcore::console::ExecuteCommand(line, *out_);
  if (!known) Echo("Unknown command: " + line.substr(0, line.find(' ')));
  return known;
}

bool ConsoleView::ExecuteBatchFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) {
    Echo("Cannot read " + path + ": " + std::strerror(errno));
    return false;
  }
  for (std::string line; std::getline(in, line);) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] != '#') RunCommandLine(line.substr(first));
  }
  return true;
}

void ConsoleView::AppendOutput(const std::string& utf8) {
  output_->AppendText(utf8);
  if (log_.is_open()) log_ << utf8 << std::flush;
}

void ConsoleView::PostBuffer(const std::string& utf8) {
  if (kivcore::threads::IsMainThread()) return AppendOutput(utf8);
  kivcore::threads::AsyncCallFromMainThread([alive = std::weak_ptr<ConsoleView*>(alive_), utf8] {
    if (const auto view = alive.lock()) (*view)->AppendOutput(utf8);
  });
}

void ConsoleView::ClearOutput() { output_->SetText({}); }

std::string ConsoleView::GetOutput() const { return output_->GetText(); }

bool ConsoleView::OpenLog(const std::string& path) {
  CloseLog();
  log_.open(path, std::ios::app);
  return log_.is_open();
}

void ConsoleView::CloseLog() {
  if (log_.is_open()) log_.close();
}

void ConsoleView::GotoPreviousCommand() {
  if (historyPos_ > 0) --historyPos_;
  input_->SetText(historyPos_ < history_.size() ? history_[historyPos_] : std::string());
}

void ConsoleView::GotoNextCommand() {
  if (historyPos_ < history_.size()) ++historyPos_;
  input_->SetText(historyPos_ < history_.size() ? history_[historyPos_] : std::string());
}

bool ConsoleView::OnKey(const KeyboardEvent& e) {
  if (history_.empty() || (e.key != kKeyUp && e.key != kKeyDown)) return false;
  if (e.key == kKeyUp) {
    GotoPreviousCommand();
  } else {
    GotoNextCommand();
  }
  return true;
}

void ConsoleView::UI_SizeChanged(const kivcore::RectF& b) {
  const float outputHeight = view_ == kConsoleView ? b.height - kCommandLineHeight - 1 : b.height;
  output_->SetFrame({0, 0, b.width, std::max(0.0f, outputHeight)});
  input_->SetFrame({0, b.height - kCommandLineHeight, b.width, kCommandLineHeight});
  tree_->SetFrame({0, 0, b.width, b.height});
}

void ConsoleView::UI_DoTimerNotify(int id) {
  if (id == kRefreshTimer && UI_AreAllParentsVisible()) RefreshTree();
}

}  // namespace kivui
