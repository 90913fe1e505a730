#include "services/ui/testing/ScriptedAnswers.h"

#include "services/ui/menu/OSMenu.h"

#include <stdexcept>

namespace kivui::testing {
namespace {

const char* KindName(Prompt::Kind kind) {
  switch (kind) {
    case Prompt::kInput: return "input box";
    case Prompt::kConfirmation: return "confirmation box";
    case Prompt::kNote: return "note";
    case Prompt::kCaution: return "caution";
    case Prompt::kFileOpen: return "file dialog";
    case Prompt::kDialog: return "dialog";
    case Prompt::kMenu: return "menu";
  }
  return "prompt";
}

}  // namespace

std::shared_ptr<ScriptedAnswers> ScriptedAnswers::Install() {
  auto answers = std::shared_ptr<ScriptedAnswers>(new ScriptedAnswers());
  SetPromptResponder(answers);
  return answers;
}

ScriptedAnswers::~ScriptedAnswers() = default;

ScriptedAnswers& ScriptedAnswers::Accept() {
  queue_.push_back({});
  return *this;
}

ScriptedAnswers& ScriptedAnswers::Cancel() {
  PromptAnswer a;
  a.accepted = false;
  queue_.push_back(std::move(a));
  return *this;
}

ScriptedAnswers& ScriptedAnswers::Text(std::string text) {
  PromptAnswer a;
  a.text = std::move(text);
  queue_.push_back(std::move(a));
  return *this;
}

ScriptedAnswers& ScriptedAnswers::Command(int command) {
  PromptAnswer a;
  a.command = command;
  queue_.push_back(std::move(a));
  return *this;
}

ScriptedAnswers& ScriptedAnswers::Dialog(std::function<void(UI_Dialog&)> interact, bool accept) {
  PromptAnswer a;
  a.accepted = accept;
  a.interact = std::move(interact);
  queue_.push_back(std::move(a));
  return *this;
}

PromptAnswer ScriptedAnswers::Answer(const Prompt& prompt) {
  asked_.push_back(prompt);
  if (prompt.menu) {
    menus_.push_back(std::make_shared<OSMenu>(*prompt.menu));
    asked_.back().menu = menus_.back().get();
  }
  if (queue_.empty()) {
    throw std::logic_error(std::string("no scripted answer for the ") + KindName(prompt.kind) +
                           " '" + prompt.title + "'");
  }
  PromptAnswer answer = std::move(queue_.front());
  queue_.pop_front();
  return answer;
}

}  // namespace kivui::testing
