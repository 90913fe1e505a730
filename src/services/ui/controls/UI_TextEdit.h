#pragma once

#include "services/ui/controls/UI_NativeControl.h"

#include <functional>
#include <memory>
#include <string>

namespace kivui {

// An editable text field (one line) or text area (several lines), backed by the window
// system's own editor so that selection, clipboard and input methods behave natively.
class UI_TextEdit : public UI_NativeControl {
 public:
  explicit UI_TextEdit(bool multiLine = false);
  ~UI_TextEdit() override;

  void SetText(const std::string& utf8);
  std::string GetText() const;
  void AppendText(const std::string& utf8);  // multi-line: adds at the end and scrolls there
  void SetPlaceholder(const std::string& utf8);
  void SetReadOnly(bool readOnly);
  void SetMonospace(bool monospace);
  void SelectAll();
  bool IsMultiLine() const { return multiLine_; }

  std::function<void(const std::string&)> onTextChanged;
  std::function<void()> onReturnPressed;  // one-line fields only
  // onKey gets the keys a one-line field does not use itself: Up, Down and Escape.

  struct Private;

 private:
  bool multiLine_;
  std::unique_ptr<Private> d_;
};

}  // namespace kivui
