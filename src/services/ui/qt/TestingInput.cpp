#include "services/ui/testing/Input.h"

#include "services/ui/app/Application.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/KeyMap.h"
#include "services/ui/qt/NodeImpl.h"
#include "services/ui/qt/NodeWidget.h"
#include "services/ui/window/OS_Window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointingDevice>
#include <QTest>
#include <QWindow>

#include <optional>
#include <stdexcept>
#include <string>

namespace kivui::detail {
extern int modKeysOverride;
extern std::optional<kivcore::Point> cursorPosOverride;
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
  // The pointer is where the event says: GetGlobalCursorPos reports it from now on.
  kivui::detail::cursorPosOverride = global;
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

// The deepest widget a pointer event at the point reaches: the one holding the mouse
// grab, else the widget there in the front-most window.
QWidget* PointerTarget(kivcore::Point global) {
  kivui::detail::cursorPosOverride = global;
  if (QWidget* grabber = QWidget::mouseGrabber()) return grabber;
  QPoint local;
  QWindow* window = Target(global, local);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowHandle() != window) continue;
    QWidget* child = top->childAt(local);
    return child ? child : top;
  }
  throw std::logic_error("no widget for the window at the point");
}

const QPointingDevice* DeviceOf(PointerEvent::Device device) {
  // Owned by the application, so that they go before it does.
  static const QPointingDevice* pen = new QPointingDevice(
      "kivui testing pen", 0x7e57001, QInputDevice::DeviceType::Stylus,
      QPointingDevice::PointerType::Pen, QInputDevice::Capability::Position, 1, 1, {}, {},
      QCoreApplication::instance());
  static const QPointingDevice* finger = new QPointingDevice(
      "kivui testing touch screen", 0x7e57002, QInputDevice::DeviceType::TouchScreen,
      QPointingDevice::PointerType::Finger, QInputDevice::Capability::Position, 1, 0, {}, {},
      QCoreApplication::instance());
  return device == PointerEvent::kPen ? pen : finger;
}

void SendPointer(QEvent::Type type, kivcore::Point global, PointerEvent::Device device) {
  QWidget* target = PointerTarget(global);
  const QPointF globalPos = qt::ToQPoint(global);
  const QPointF local = target->mapFromGlobal(globalPos);
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons down = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, local, local, globalPos, button, down, Qt::NoModifier,
                    DeviceOf(device));
  QApplication::sendEvent(target, &event);
  ProcessEvents();
}

}  // namespace

void PointerPressAt(kivcore::Point global, PointerEvent::Device device) {
  SendPointer(QEvent::MouseButtonPress, global, device);
}

void PointerMoveTo(kivcore::Point global, PointerEvent::Device device) {
  SendPointer(QEvent::MouseMove, global, device);
}

void PointerReleaseAt(kivcore::Point global, PointerEvent::Device device) {
  SendPointer(QEvent::MouseButtonRelease, global, device);
}

void CloseWindow(const OS_Window& window) {
  QWidget* top = qt::WidgetOf(window)->window();
  if (!top->windowHandle()) throw std::logic_error("the window has no native window to close");
  // QWindow::close goes through the platform window, as a close from the window manager.
  top->windowHandle()->close();
  ProcessEvents();
}

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

std::vector<NodeWindow> LiveNodeWindows() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  std::vector<NodeWindow> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* nodeWidget = dynamic_cast<qt::NodeWidget*>(w)) windows.push_back({nodeWidget->GetNode(), w->isVisible()});
  }
  return windows;
}

std::vector<std::string> LeftBehind() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  std::vector<std::string> left;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* nodeWidget = dynamic_cast<qt::NodeWidget*>(w);
    if (!nodeWidget) continue;
    std::string line = "a native window";
    if (!w->windowTitle().isEmpty()) line += " \"" + w->windowTitle().toStdString() + "\"";
    line += w->isVisible() ? " (shown)" : " (hidden)";
    if (!nodeWidget->GetNode()) line += " whose node is gone";
    left.push_back(line);
  }
  if (UI_NodeManager::Get().GetCaptureNode()) left.push_back("a node holding the mouse capture");
  if (QWidget::mouseGrabber()) left.push_back("a widget holding the window system's mouse grab");
  return left;
}

}  // namespace kivui::testing
