#include "services/ui/testing/Input.h"

#include "services/ui/app/Application.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/KeyMap.h"
#include "services/ui/qt/NodeImpl.h"
#include "services/ui/window/OS_Window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>
#include <QWindow>

#include <stdexcept>
#include <string>

namespace kivui::detail {
extern int modKeysOverride;
}

namespace kivui::testing {
namespace {

Qt::MouseButton ToQtButton(MouseEvent::Button b) {
  switch (b) {
    case MouseEvent::kSecondary:
      return Qt::RightButton;
    case MouseEvent::kMiddle:
      return Qt::MiddleButton;
    default:
      return Qt::LeftButton;
  }
}

// The window a real event at that point would reach: the one holding the mouse grab,
// else the front-most window there. Returns its QWindow and the point in it.
QWindow* Target(kivcore::Point global, QPoint& local) {
  QWidget* top = nullptr;
  if (QWidget* grabber = QWidget::mouseGrabber()) {
    top = grabber->window();
  } else if (OS_Window* window = OS_Window::WindowFromPoint(global)) {
    top = qt::WidgetOf(*window)->window();
  }
  if (!top || !top->windowHandle()) {
    throw std::logic_error("no window at (" + std::to_string(global.x) + ", " +
                           std::to_string(global.y) + ")");
  }
  local = top->mapFromGlobal(qt::ToQPoint(global));
  return top->windowHandle();
}

QWidget* KeyTarget() {
  QWidget* focused = QApplication::focusWidget();
  if (UI_Node* node = UI_NodeManager::Get().GetFocusNode()) {
    QWidget* widget = qt::WidgetOf(*node);
    // The window system's focus inside the node (an in-place editor) is more precise.
    if (focused && widget && widget->isAncestorOf(focused)) return focused;
    if (widget) return widget->focusProxy() ? widget->focusProxy() : widget;
  }
  if (!focused) throw std::logic_error("no node has the keyboard focus");
  return focused;
}

}  // namespace

void MousePressAt(kivcore::Point global, MouseEvent::Button button, ModKeys mods) {
  QPoint local;
  QWindow* window = Target(global, local);
  QTest::mousePress(window, ToQtButton(button), qt::QtFromModKeys(mods), local);
  ProcessEvents();
}

void MouseMoveTo(kivcore::Point global) {
  QPoint local;
  QWindow* window = Target(global, local);
  QTest::mouseMove(window, local);
  ProcessEvents();
}

void MouseReleaseAt(kivcore::Point global, MouseEvent::Button button, ModKeys mods) {
  QPoint local;
  QWindow* window = Target(global, local);
  QTest::mouseRelease(window, ToQtButton(button), qt::QtFromModKeys(mods), local);
  ProcessEvents();
}

void ClickAt(kivcore::Point global, MouseEvent::Button button, ModKeys mods) {
  MousePressAt(global, button, mods);
  MouseReleaseAt(global, button, mods);
}

void DoubleClickAt(kivcore::Point global) {
  QPoint local;
  QWindow* window = Target(global, local);
  QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, local);
  ProcessEvents();
}

void DragFromTo(kivcore::Point from, kivcore::Point to, int steps, ModKeys mods) {
  MousePressAt(from, MouseEvent::kPrimary, mods);
  steps = std::max(1, steps);
  for (int i = 1; i <= steps; ++i) {
    MouseMoveTo({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  }
  MouseReleaseAt(to, MouseEvent::kPrimary, mods);
}

void ClickNode(const UI_Node& node, kivcore::PointF local, MouseEvent::Button button,
               ModKeys mods) {
  ClickAt(node.UI_LocalToGlobal({int(local.x), int(local.y)}), button, mods);
}

void KeyClick(int key, ModKeys mods) {
  QTest::keyClick(KeyTarget(), Qt::Key(qt::QtKeyFromKey(key)), qt::QtFromModKeys(mods));
  ProcessEvents();
}

void TypeText(const std::string& utf8) {
  QWidget* target = KeyTarget();
  for (const QChar ch : qt::ToQString(utf8)) {
    if (ch.unicode() < 0x80) {
      QTest::keyClick(target, char(ch.unicode()));
      continue;
    }
    // Characters without a key of their own arrive as text, as an input method sends them.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
  }
  ProcessEvents();
}

void OverrideModKeys(int mods) { kivui::detail::modKeysOverride = mods; }

void ProcessEvents(int maxMs) { Application::ProcessEvents(maxMs); }

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!pred()) {
    if (timer.elapsed() >= timeoutMs) return pred();
    Application::ProcessEvents(10);
  }
  return true;
}

}  // namespace kivui::testing
