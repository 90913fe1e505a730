#pragma once

#include "services/ui/controls/UI_NativeControl.h"

#include <QObject>
#include <QWidget>

#include <functional>

namespace kivui {

// The control a UI_NativeControl shows, and the filter that reports its focus and offers
// its keys to the node.
struct UI_NativeControl::Hosted : QObject {
  explicit Hosted(UI_NativeControl& o) : owner(o) {}
  ~Hosted() override;

  // Makes `widget` (a child of the node's widget) the control.
  void Host(QWidget* widget);
  bool eventFilter(QObject* watched, QEvent* event) override;

  UI_NativeControl& owner;
  QWidget* control = nullptr;
  // Which keys (kivui key codes) go to onKey first; all when empty.
  std::function<bool(int key)> offersKey;
};

}  // namespace kivui
