#pragma once

#include "services/ui/node/UI_Container.h"

#include <memory>
#include <string>
#include <vector>

namespace kivui {

class UI_TextEdit;

// The console: an output area above a command line. Return runs the line through the core
// console's command registry and appends the echo and the output; Up and Down walk the
// history of lines entered.
class ConsoleView : public UI_Container {
 public:
  ConsoleView();
  ~ConsoleView() override;

  // Runs a line as if typed; returns whether a command of that name exists.
  bool RunCommandLine(const std::string& line);
  void AppendOutput(const std::string& utf8);
  std::string GetOutput() const;
  const std::vector<std::string>& GetHistory() const { return history_; }
  UI_TextEdit& GetCommandLine() { return *input_; }

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;

 private:
  bool OnKey(const KeyboardEvent& event);

  std::shared_ptr<UI_TextEdit> output_;
  std::shared_ptr<UI_TextEdit> input_;
  std::vector<std::string> history_;
  std::size_t historyPos_ = 0;
};

}  // namespace kivui
