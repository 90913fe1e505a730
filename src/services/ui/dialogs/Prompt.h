#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kivui {

class OSMenu;
class UI_Dialog;

// Something the program asks the user: a dialog, a message or a menu.
struct Prompt {
  enum Kind {
    kInput = 0,         // SimpleInputBox
    kConfirmation = 1,  // SimpleConfirmationBox
    kNote = 2,          // ShowNote
    kCaution = 3,       // ShowCaution
    kFileOpen = 4,      // ChooseFileToOpen
    kDialog = 5,        // UI_Dialog::RunModal
    kMenu = 6,          // PopupMenu and ContextMenu
  };
  Kind kind = kNote;
  std::string title;
  std::string message;
  std::string defaultText;
  const OSMenu* menu = nullptr;
  UI_Dialog* dialog = nullptr;
};

// The user's answer: accepted or cancelled, the text typed or the file chosen, the menu
// command picked (0 for none).
struct PromptAnswer {
  bool accepted = true;
  std::string text;
  int command = 0;
  // For dialogs: acts on the dialog's controls before the answer applies.
  std::function<void(UI_Dialog&)> interact;
};

// The one seam through which every dialog and menu gets its answer. While an installed
// responder is alive it answers instead of the user; without one, the real dialog or menu
// is shown. The seam does not keep the responder alive.
class PromptResponder {
 public:
  virtual ~PromptResponder() = default;
  virtual PromptAnswer Answer(const Prompt& prompt) = 0;
};

void SetPromptResponder(const std::shared_ptr<PromptResponder>& responder);
std::shared_ptr<PromptResponder> GetPromptResponder();

}  // namespace kivui
