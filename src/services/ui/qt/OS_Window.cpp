#include "services/ui/window/OS_Window.h"

#include "services/ui/qt/Convert.h"
#include "services/ui/qt/NodeImpl.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace kivui {
namespace {

// Created top-level windows, front-most first. Qt cannot tell the stacking order, so the
// library keeps it: a window moves to the front when shown, raised or activated.
std::vector<OS_Window*>& ZOrder() {
  static std::vector<OS_Window*> windows;
  return windows;
}

void Unlist(OS_Window* window) {
  auto& z = ZOrder();
  z.erase(std::remove(z.begin(), z.end(), window), z.end());
}

// The widget the window system knows as the window: the node's own, or, for a main or tool
// window a host embedded in a window of its own, that host window.
QWidget* NativeWindowOf(const OS_Window& window) {
  QWidget* w = qt::WidgetOf(window);
  if (!window.IsCreated() || window.GetKind() == OS_Window::kChildWindow) return w;
  return w->window();
}

Qt::WindowFlags FlagsFor(OS_Window::Kind kind) {
  switch (kind) {
    case OS_Window::kMainWindow: return Qt::Window;
    case OS_Window::kToolWindow: return Qt::Tool;
    case OS_Window::kOverlayWindow:
      return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
             Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus;
    case OS_Window::kChildWindow: return Qt::Widget;
  }
  return Qt::Window;
}

}  // namespace

OS_Window::OS_Window(std::string nodeId) : UI_Container(WindowTag{}, std::move(nodeId)) {}

OS_Window::~OS_Window() { Unlist(this); }

void OS_Window::UI_CreateWindow(const std::string& name, OS_Window* parent,
                                const kivcore::Rect& globalRect, Kind kind) {
  QWidget* w = qt::WidgetOf(*this);
  kind_ = kind;
  owner_ = parent;
  QWidget* parentWidget = parent ? qt::WidgetOf(*parent) : nullptr;
  w->setParent(parentWidget, FlagsFor(kind));
  if (kind == kOverlayWindow) {
    w->setAttribute(Qt::WA_TranslucentBackground);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  w->setWindowTitle(qt::ToQString(name));
  w->setGeometry(qt::ToQRect(globalRect));
  created_ = true;
  if (kind != kChildWindow) ZOrder().push_back(this);
}

void OS_Window::UI_DetachOSWindow() {
  QWidget* w = qt::WidgetOf(*this);
  w->hide();
  w->setParent(nullptr, kind_ == kChildWindow ? Qt::Window : w->windowFlags());
  owner_ = nullptr;
}

void OS_Window::Reattach(OS_Window* parent) {
  QWidget* w = qt::WidgetOf(*this);
  owner_ = parent;
  w->setParent(parent ? qt::WidgetOf(*parent) : nullptr, FlagsFor(kind_));
  if (IsShown()) w->show();
}

void OS_Window::UI_Show(bool show) {
  UI_Container::UI_Show(show);
  if (!show) return;
  // The decorations are known once the window is shown: a structure rectangle asked for
  // before then is applied again.
  if (pendingStructureRect_) {
    const kivcore::Rect rect = *pendingStructureRect_;
    pendingStructureRect_.reset();
    SetGlobalStructureRect(rect);
  }
  BroughtToFront();
}

void OS_Window::SetTitle(const std::string& utf8) {
  qt::WidgetOf(*this)->setWindowTitle(qt::ToQString(utf8));
}

std::string OS_Window::GetTitle() const { return qt::ToUTF8(qt::WidgetOf(*this)->windowTitle()); }

kivcore::Rect OS_Window::GetGlobalStructureRect() const {
  const QWidget* w = NativeWindowOf(*this);
  if (!w->isWindow()) {
    return {qt::ToPoint(w->mapToGlobal(QPoint())).x, qt::ToPoint(w->mapToGlobal(QPoint())).y,
            w->width(), w->height()};
  }
  return qt::ToRect(w->frameGeometry());
}

void OS_Window::SetGlobalStructureRect(const kivcore::Rect& rect) {
  QWidget* w = NativeWindowOf(*this);
  if (!w->isWindow()) {
    w->setGeometry(qt::ToQRect(rect));
    return;
  }
  // Keep the decorations' size: the content shrinks by what the frame takes.
  if (!w->isVisible()) pendingStructureRect_ = rect;
  const QRect frame = w->frameGeometry(), content = w->geometry();
  const int dl = content.left() - frame.left(), dt = content.top() - frame.top();
  const int dw = frame.width() - content.width(), dh = frame.height() - content.height();
  w->setGeometry(rect.left + dl, rect.top + dt, std::max(1, rect.width - dw),
                 std::max(1, rect.height - dh));
}

kivcore::Rect OS_Window::GetGlobalContentRect() const {
  const QWidget* w = qt::WidgetOf(*this);
  const QPoint tl = w->mapToGlobal(QPoint());
  return {tl.x(), tl.y(), w->width(), w->height()};
}

float OS_Window::GetRecommendedScaleFactor() const {
  const QWidget* w = qt::WidgetOf(*this);
  if (dpiSelection_ == kSystemDpi || !w->screen()) {
    return QGuiApplication::primaryScreen() ? float(QGuiApplication::primaryScreen()->devicePixelRatio())
                                            : 1.0f;
  }
  return float(w->screen()->devicePixelRatio());
}

void OS_Window::UI_SetOpacity(float opacity) {
  opacity = std::clamp(opacity, 0.0f, 1.0f);
  GetImpl().opacity = opacity;
  qt::WidgetOf(*this)->setWindowOpacity(opacity);
}

void OS_Window::SetTakesFocus(bool takes) {
  QWidget* w = qt::WidgetOf(*this);
  const bool visible = w->isVisible();
  w->setAttribute(Qt::WA_ShowWithoutActivating, !takes);
  w->setWindowFlag(Qt::WindowDoesNotAcceptFocus, !takes);
  if (visible) w->show();  // new window flags hide the window
}

float OS_Window::GetOpacity() const { return GetImpl().opacity; }

void OS_Window::Raise() {
  NativeWindowOf(*this)->raise();
  BroughtToFront();
}

void OS_Window::Activate() {
  QWidget* w = NativeWindowOf(*this);
  w->raise();
  w->activateWindow();
  BroughtToFront();
}

bool OS_Window::IsActive() const { return qt::WidgetOf(*this)->isActiveWindow(); }

void OS_Window::ShowWithState(WindowState state) {
  QWidget* w = NativeWindowOf(*this);
  GetImpl().shown = true;
  if (w != qt::WidgetOf(*this)) qt::WidgetOf(*this)->show();  // embedded: the area too
  switch (state) {
    case kNormal: w->showNormal(); break;
    case kMinimized: w->showMinimized(); break;
    case kMaximized: w->showMaximized(); break;
  }
  BroughtToFront();
}

OS_Window::WindowState OS_Window::GetWindowState() const {
  const Qt::WindowStates s = NativeWindowOf(*this)->windowState();
  if (s & Qt::WindowMinimized) return kMinimized;
  if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) return kMaximized;
  return kNormal;
}

namespace {
// What the window system's decorations add around the content on each side.
QMargins FrameMargins(const QWidget* w) {
  const QRect frame = w->frameGeometry(), content = w->geometry();
  return {content.left() - frame.left(), content.top() - frame.top(), frame.right() - content.right(),
          frame.bottom() - content.bottom()};
}
}  // namespace

kivcore::Rect OS_Window::GetNormalRect() const {
  const QWidget* w = NativeWindowOf(*this);
  return qt::ToRect(w->normalGeometry().marginsAdded(FrameMargins(w)));
}

void OS_Window::SetNormalRect(const kivcore::Rect& rect) {
  QWidget* w = NativeWindowOf(*this);
  const QRect content = qt::ToQRect(rect).marginsRemoved(FrameMargins(w));
  if (GetWindowState() == kNormal) {
    w->setGeometry(content);
    return;
  }
  // Qt keeps the normal geometry of a maximized window; restoring applies it.
  const Qt::WindowStates state = w->windowState();
  w->setWindowState(Qt::WindowNoState);
  w->setGeometry(content);
  w->setWindowState(state);
}

void OS_Window::UI_ActivationChanged(bool) {}

OS_Window* OS_Window::GetActiveWindow() {
  QWidget* active = QApplication::activeWindow();
  if (!active) return nullptr;
  if (UI_Node* node = qt::NodeWidget::NodeOf(active)) return node->AsWindow();
  // A host's window with one of ours embedded in it.
  for (OS_Window* window : ZOrder()) {
    if (NativeWindowOf(*window) == active) return window;
  }
  return nullptr;
}

std::vector<OS_Window*> OS_Window::UI_EnumerateAllWindows() { return ZOrder(); }

std::vector<OS_Window*> OS_Window::UI_FindAllWindowsMatchingID(std::string_view nodeId) {
  std::vector<OS_Window*> found;
  for (OS_Window* w : ZOrder()) {
    if (w->GetNodeID() == nodeId) found.push_back(w);
  }
  return found;
}

OS_Window* OS_Window::WindowFromPoint(kivcore::Point global, const OS_Window* excluding) {
  for (OS_Window* window : ZOrder()) {
    const QWidget* w = qt::WidgetOf(*window);
    if (window == excluding || !w->isVisible() || window->kind_ == kOverlayWindow) continue;
    // An embedded window covers its host window: the host's chrome hides what is behind.
    if (NativeWindowOf(*window)->frameGeometry().contains(qt::ToQPoint(global))) return window;
  }
  return nullptr;
}

void OS_Window::BroughtToFront() {
  if (!created_ || kind_ == kChildWindow) return;
  Unlist(this);
  ZOrder().insert(ZOrder().begin(), this);
}

}  // namespace kivui
