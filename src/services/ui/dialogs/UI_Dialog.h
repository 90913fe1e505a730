#pragma once

#include "services/ui/window/OS_Window.h"

#include <memory>

namespace kivui {

class UI_Button;
class UI_Container;

// A modal dialog: a content area above OK and Cancel buttons. Subclasses fill the content
// and may refuse OK (CanAccept) until their input is valid.
class UI_Dialog : public OS_Window {
 public:
  enum Result { kCancel = 0, kOK = 1 };

  UI_Dialog(std::string title, float width, float height);
  ~UI_Dialog() override;

  UI_Container& GetContent() { return *content_; }
  UI_Button& GetOKButton() { return *ok_; }
  UI_Button& GetCancelButton() { return *cancel_; }

  // Shows the dialog and returns when it ends. Return and Escape act as OK and Cancel.
  Result RunModal(OS_Window* parent = nullptr);
  // Ends a running dialog; OK is ignored while CanAccept() is false.
  void EndModal(Result result);
  bool IsRunning() const { return running_; }

  virtual bool CanAccept() const { return true; }

  bool UI_DoKeyboardEvent(const KeyboardEvent& event) override;
  bool UI_DuringClose() override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_Draw(Drawbot& drawbot, const kivcore::RectF& dirty) override;

 private:
  std::string title_;
  std::shared_ptr<UI_Container> content_;
  std::shared_ptr<UI_Button> ok_;
  std::shared_ptr<UI_Button> cancel_;
  bool running_ = false;
  Result result_ = kCancel;
  struct Loop;
  std::unique_ptr<Loop> loop_;
};

}  // namespace kivui
