#pragma once

#include "services/ui/controls/UI_NativeControl.h"

#include <functional>
#include <memory>

namespace kivui {

// A scroll bar over an integer range. Its context menu (scroll here, to either end, by a page
// or a step) is the library's own, so that scripts and tests answer it like any other menu.
class UI_ScrollBar : public UI_NativeControl {
 public:
  // The commands of the context menu.
  enum MenuCommand { kScrollHere = 1, kToStart, kToEnd, kPageBack, kPageForward, kStepBack, kStepForward };

  explicit UI_ScrollBar(bool vertical = true);
  ~UI_ScrollBar() override;

  // The thickness a scroll bar takes by default.
  static int GetDefaultSize();

  void SetRange(int minimum, int maximum);
  void SetPageStep(int step);
  void SetValue(int value);  // clamped to the range
  int GetValue() const;
  int GetMinimum() const;
  int GetMaximum() const;

  std::function<void(int value)> onValueChanged;

  struct Private;

 private:
  std::unique_ptr<Private> d_;
};

}  // namespace kivui
