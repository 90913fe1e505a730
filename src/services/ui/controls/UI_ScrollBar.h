#pragma once

#include "services/ui/node/UI_Node.h"

#include <functional>
#include <memory>

namespace kivui {

// A scroll bar over an integer range.
class UI_ScrollBar : public UI_Node {
 public:
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

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;

  struct Private;

 private:
  std::unique_ptr<Private> d_;
};

}  // namespace kivui
