#pragma once

#include <optional>
#include <string>

namespace kivui {

class OS_Window;

// Asks for one line of text; nullopt when cancelled.
std::optional<std::string> SimpleInputBox(const std::string& title, const std::string& prompt,
                                          const std::string& defaultText = {},
                                          OS_Window* parent = nullptr);
// Asks to confirm; true for OK.
bool SimpleConfirmationBox(const std::string& title, const std::string& message,
                           const std::string& okText = "OK",
                           const std::string& cancelText = "Cancel",
                           OS_Window* parent = nullptr);
// Tells something (ShowNote) or warns (ShowCaution); the user can only acknowledge.
void ShowNote(const std::string& title, const std::string& message, OS_Window* parent = nullptr);
void ShowCaution(const std::string& title, const std::string& message,
                 OS_Window* parent = nullptr);
// Asks for an existing file; `filter` is like "Workspaces (*.xml)". nullopt when cancelled.
std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& folder,
                                             const std::string& filter = {},
                                             OS_Window* parent = nullptr);

}  // namespace kivui
