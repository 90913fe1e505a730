#include "services/ui/dialogs/Prompt.h"

namespace kivui {
namespace {
std::weak_ptr<PromptResponder>& Responder() {
  static std::weak_ptr<PromptResponder> responder;
  return responder;
}
}  // namespace

void SetPromptResponder(const std::shared_ptr<PromptResponder>& responder) {
  Responder() = responder;
}

std::shared_ptr<PromptResponder> GetPromptResponder() { return Responder().lock(); }

}  // namespace kivui
