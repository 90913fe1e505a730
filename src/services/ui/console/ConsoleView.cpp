#include "services/ui/console/ConsoleView.h"

#include "services/core/Console.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/events/KeyboardEvent.h"

namespace kivui {
namespace {

constexpr float kCommandLineHeight = 24;

// Appends what a command writes to the output area.
class OutputStream : public kivcore::UTF16OutputStream {
 public:
  explicit OutputStream(ConsoleView& view) : view_(view) {}
  using UTF16OutputStream::Write;
  void Write(std::u16string_view text) override { view_.AppendOutput(kivcore::UTF16to8(text)); }

 private:
  ConsoleView& view_;
};

}  // namespace

ConsoleView::ConsoleView()
    : UI_Container("ConsoleView"),
      output_(std::make_shared<UI_TextEdit>(true)),
      input_(std::make_shared<UI_TextEdit>(false)) {
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
}

ConsoleView::~ConsoleView() = default;

bool ConsoleView::RunCommandLine(const std::string& line) {
  if (line.find_first_not_of(" \t") == std::string::npos) return false;
  history_.push_back(line);
  historyPos_ = history_.size();
  AppendOutput("> " + line + "\n");
  OutputStream out(*this);
  const bool known = kivcore::console::ExecuteCommand(line, out);
  if (!known) AppendOutput("Unknown command: " + line.substr(0, line.find(' ')) + "\n");
  return known;
}

void ConsoleView::AppendOutput(const std::string& utf8) { output_->AppendText(utf8); }

std::string ConsoleView::GetOutput() const { return output_->GetText(); }

bool ConsoleView::OnKey(const KeyboardEvent& e) {
  if (history_.empty() || (e.key != kKeyUp && e.key != kKeyDown)) return false;
  if (e.key == kKeyUp && historyPos_ > 0) --historyPos_;
  if (e.key == kKeyDown && historyPos_ < history_.size()) ++historyPos_;
  input_->SetText(historyPos_ < history_.size() ? history_[historyPos_] : std::string());
  return true;
}

void ConsoleView::UI_SizeChanged(const kivcore::RectF& b) {
  output_->SetFrame({0, 0, b.width, b.height - kCommandLineHeight - 1});
  input_->SetFrame({0, b.height - kCommandLineHeight, b.width, kCommandLineHeight});
}

}  // namespace kivui
