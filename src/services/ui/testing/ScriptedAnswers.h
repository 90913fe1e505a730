#pragma once

#include "services/ui/dialogs/Prompt.h"

#include <deque>
#include <memory>
#include <vector>

namespace kivui::testing {

// Answers dialogs and menus from a queue, in order, and records what was asked. A prompt
// with no answer queued throws std::logic_error naming it, so a test never hangs on a
// dialog nobody sees. Install() makes it the prompt responder for as long as the returned
// pointer keeps it alive.
class ScriptedAnswers : public PromptResponder {
 public:
  static std::shared_ptr<ScriptedAnswers> Install();
  ~ScriptedAnswers() override;

  ScriptedAnswers& Accept();
  ScriptedAnswers& Cancel();
  ScriptedAnswers& Text(std::string text);       // input box, file dialog
  ScriptedAnswers& Command(int command);         // menus
  ScriptedAnswers& Dialog(std::function<void(UI_Dialog&)> interact, bool accept = true);

  PromptAnswer Answer(const Prompt& prompt) override;

  // What was asked; menus are copies, valid after the menu itself is gone.
  const std::vector<Prompt>& GetAsked() const { return asked_; }
  std::size_t Pending() const { return queue_.size(); }

 private:
  std::deque<PromptAnswer> queue_;
  std::vector<Prompt> asked_;
  std::vector<std::shared_ptr<OSMenu>> menus_;
};

}  // namespace kivui::testing
