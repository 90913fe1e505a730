#pragma once

#include "services/ui/controls/UI_NativeControl.h"

#include <QObject>
#include <QWidget>

#include <functional>

namespace kivui {

// The control a UI_NativeControl shows, and the filter that reports its focus (its own, or
// that of any widget inside it) and offers its keys to the node.
struct UI_NativeControl::Hosted : QObject {
  explicit Hosted(UI_NativeControl& o) : owner(o) {}
  ~Hosted() override;

  // Makes `widget` (a child of the node's widget) the control, in place of the one before.
  void Host(QWidget* widget);
  // No control any more; returns the one there was (still where it is) or null.
  QWidget* Release();
  bool eventFilter(QObject* watched, QEvent* event) override;

  UI_NativeControl& owner;
  QWidget* control = nullptr;
  // Which keys (kivui key codes) go to onKey first; all when empty.
  std::function<bool(int key)> offersKey;
  // Whether the application's focus changes are watched (for widgets inside the control).
  bool watchingFocus = false;
};

}  // namespace kivui
