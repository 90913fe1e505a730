#include "services/ui/qt/NodeWidget.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/events/GestureEvent.h"
#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/events/PointerEvent.h"
#include "services/ui/node/UI_Container.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/DrawbotImpl.h"
#include "services/ui/qt/KeyMap.h"
#include "services/ui/qt/NodeImpl.h"
#include "services/ui/window/OS_Window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QWheelEvent>

namespace kivui::qt {
namespace {

// Keeps a node alive while its hooks run: a hook may remove the node from its container.
std::shared_ptr<UI_Node> Keep(UI_Node* node) { return node->weak_from_this().lock(); }

MouseEvent::Button ButtonFromQt(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return MouseEvent::kPrimary;
    case Qt::RightButton: return MouseEvent::kSecondary;
    case Qt::MiddleButton: return MouseEvent::kMiddle;
    default: return MouseEvent::kNoButton;
  }
}

unsigned ButtonsFromQt(Qt::MouseButtons buttons) {
  unsigned flags = 0;
  if (buttons & Qt::LeftButton) flags |= 1u << MouseEvent::kPrimary;
  if (buttons & Qt::RightButton) flags |= 1u << MouseEvent::kSecondary;
  if (buttons & Qt::MiddleButton) flags |= 1u << MouseEvent::kMiddle;
  return flags;
}

MouseEvent::Origin OriginOf(const QInputEvent* event) {
  const QInputDevice* device = event->device();
  if (!device) return MouseEvent::kFromMouse;
  switch (device->type()) {
    case QInputDevice::DeviceType::TouchScreen:
    case QInputDevice::DeviceType::TouchPad: return MouseEvent::kFromTouch;
    case QInputDevice::DeviceType::Stylus:
    case QInputDevice::DeviceType::Airbrush: return MouseEvent::kFromPen;
    default: return MouseEvent::kFromMouse;
  }
}

// Offers the event to the target and then to each container above it, in that node's
// coordinates, until one handles it.
bool BubbleMouse(UI_Node& target, MouseEvent event) {
  auto keepTarget = Keep(&target);
  for (UI_Node* node = &target; node; node = node->GetParent()) {
    auto keep = Keep(node);
    event.local = node->UI_GlobalToLocalF(event.global);
    if (node->UI_DoMouseEvent(&target, event)) return true;
  }
  return false;
}

// Pen and touch input is offered to the hit node and every container above it before any
// mouse event made from it; true when one of them took it.
bool BubblePointer(UI_Node& target, PointerEvent event) {
  auto keepTarget = Keep(&target);
  for (UI_Node* node = &target; node; node = node->GetParent()) {
    auto keep = Keep(node);
    event.local = node->UI_GlobalToLocalF(event.global);
    if (node->UI_DoPrePointerEvent(event)) return true;
  }
  return false;
}

bool BubbleKey(UI_Node& target, const KeyboardEvent& event) {
  for (UI_Node* node = &target; node; node = node->GetParent()) {
    auto keep = Keep(node);
    if (node->UI_DoKeyboardEvent(event)) return true;
  }
  return false;
}

KeyboardEvent MakeKeyEvent(const QKeyEvent* e, KeyboardEvent::Action action) {
  KeyboardEvent k;
  k.action = action;
  k.key = KeyFromQtKey(e->key());
  k.text = ToUTF8(e->text());
  k.modKeys = ModKeysFromQt(e->modifiers());
  k.autoRepeat = e->isAutoRepeat();
  return k;
}

}  // namespace

NodeWidget::NodeWidget(UI_Node& node, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), node_(&node) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

NodeWidget::~NodeWidget() = default;

UI_Node* NodeWidget::NodeOf(QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    if (auto* w = dynamic_cast<NodeWidget*>(widget)) return w->node_;
  }
  return nullptr;
}

bool NodeWidget::event(QEvent* e) {
  if (node_ && e->type() == QEvent::ScreenChangeInternal && isWindow()) {
    if (auto* window = node_->AsWindow()) {
      window->UI_ScaleChanged(window->GetRecommendedScaleFactor());
    }
  }
  // A window embedded in a host's window hears of that window's activation through the
  // events Qt passes down to the widgets inside it.
  if (node_ && !isWindow() &&
      (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate)) {
    auto* window = node_->AsWindow();
    if (window && window->IsCreated() && window->GetKind() != OS_Window::kChildWindow)
      WindowActivationChanged(*window);
  }
  if (node_ && e->type() == QEvent::NativeGesture) {
    auto* g = static_cast<QNativeGestureEvent*>(e);
    GestureEvent ge;
    switch (g->gestureType()) {
      case Qt::BeginNativeGesture: ge.kind = GestureEvent::kBegin; break;
      case Qt::ZoomNativeGesture: ge.kind = GestureEvent::kZoom; break;
      case Qt::PanNativeGesture: ge.kind = GestureEvent::kPan; break;
      case Qt::RotateNativeGesture: ge.kind = GestureEvent::kRotate; break;
      default: ge.kind = GestureEvent::kEnd; break;
    }
    ge.value = float(g->value());
    ge.delta = ToPointF(g->delta());
    ge.local = ToPointF(g->position());
    ge.global = ToPointF(g->globalPosition());
    auto keep = Keep(node_);
    if (node_->UI_DoGestureEvent(ge)) return true;
  }
  return QWidget::event(e);
}

void NodeWidget::paintEvent(QPaintEvent* e) {
  if (!node_) return;
  QPainter painter(this);
  Drawbot::Impl impl{painter};
  Drawbot drawbot(impl);
  node_->UI_Draw(drawbot, ToRectF(QRectF(e->rect())));
}

void NodeWidget::resizeEvent(QResizeEvent*) {
  if (node_) node_->UI_SizeChanged(node_->GetLocalBounds());
}

void NodeWidget::DispatchMouse(QMouseEvent* e, int action, int clickCount) {
  e->accept();
  if (!node_) return;
  const bool hover = action == MouseEvent::kMove && e->buttons() == Qt::NoButton;
  // Suspension holds back hovering, never what a capturing node (a drag) must see.
  if (hover && UI_NodeManager::Get().AreMouseOverUpdatesSuspended() &&
      !UI_NodeManager::Get().GetCaptureNode())
    return;
  if (hover && !UI_NodeManager::Get().GetCaptureNode()) UpdateCursor(e->position());
  if (!node_) return;
  if (const MouseEvent::Origin origin = OriginOf(e); origin != MouseEvent::kFromMouse) {
    PointerEvent p;
    p.action = action == MouseEvent::kDown ? PointerEvent::kDown
               : action == MouseEvent::kUp ? PointerEvent::kUp
                                           : PointerEvent::kUpdate;
    p.device = origin == MouseEvent::kFromPen ? PointerEvent::kPen : PointerEvent::kTouch;
    p.modKeys = ModKeysFromQt(e->modifiers());
    p.global = ToPointF(e->globalPosition());
    if (BubblePointer(*node_, p) || !node_) return;
  }
  MouseEvent m;
  m.action = MouseEvent::Action(action);
  m.button = ButtonFromQt(e->button());
  m.buttonsDown = ButtonsFromQt(e->buttons());
  m.clickCount = clickCount;
  m.modKeys = ModKeysFromQt(e->modifiers());
  m.origin = OriginOf(e);
  m.global = ToPointF(e->globalPosition());
  if (action == MouseEvent::kDown) {
    auto keep = Keep(node_);
    for (UI_Node* n = node_; n; n = n->GetParent()) {
      if (n->UI_WantsKeyboardFocus()) {
        if (!n->UI_HasKeyboardFocus()) n->UI_GainKeyboardFocus(FocusChangeReason::kMouse);
        break;
      }
    }
    if (!node_) return;
  }
  BubbleMouse(*node_, m);
}

void NodeWidget::UpdateCursor(QPointF local) {
  auto& manager = UI_NodeManager::Get();
  bool set = false;
  const QPointF global = mapToGlobal(local);
  auto keep = Keep(node_);
  for (UI_Node* n = node_; n && !set; n = n->GetParent()) {
    manager.SetCursorQueryNode(n);
    set = n->UI_DoCursor(n->UI_GlobalToLocalF(ToPointF(global)));
  }
  manager.SetCursorQueryNode(nullptr);
  if (set) {
    setCursor(CursorShapeFor(manager.GetCurrentResourceCursor()));
  } else {
    unsetCursor();
  }
}

void NodeWidget::mousePressEvent(QMouseEvent* e) { DispatchMouse(e, MouseEvent::kDown, 1); }
void NodeWidget::mouseReleaseEvent(QMouseEvent* e) { DispatchMouse(e, MouseEvent::kUp, 1); }
void NodeWidget::mouseDoubleClickEvent(QMouseEvent* e) { DispatchMouse(e, MouseEvent::kDown, 2); }
void NodeWidget::mouseMoveEvent(QMouseEvent* e) { DispatchMouse(e, MouseEvent::kMove, 0); }

void NodeWidget::enterEvent(QEnterEvent* e) {
  if (!node_ || UI_NodeManager::Get().AreMouseOverUpdatesSuspended()) return;
  MouseEvent m;
  m.action = MouseEvent::kEnter;
  m.global = ToPointF(e->globalPosition());
  m.local = ToPointF(e->position());
  auto keep = Keep(node_);
  node_->UI_DoMouseEvent(node_, m);
}

void NodeWidget::leaveEvent(QEvent*) {
  if (!node_ || UI_NodeManager::Get().AreMouseOverUpdatesSuspended()) return;
  MouseEvent m;
  m.action = MouseEvent::kLeave;
  auto keep = Keep(node_);
  node_->UI_DoMouseEvent(node_, m);
}

void NodeWidget::wheelEvent(QWheelEvent* e) {
  e->accept();
  if (!node_) return;
  MouseEvent m;
  m.action = MouseEvent::kWheel;
  m.modKeys = ModKeysFromQt(e->modifiers());
  m.global = ToPointF(e->globalPosition());
  const QPoint delta = e->angleDelta();
  m.wheelDelta = float(delta.y() != 0 ? delta.y() : delta.x()) / 120.0f;
  BubbleMouse(*node_, m);
}

void NodeWidget::keyPressEvent(QKeyEvent* e) {
  e->accept();
  if (node_) BubbleKey(*node_, MakeKeyEvent(e, KeyboardEvent::kDown));
}

void NodeWidget::keyReleaseEvent(QKeyEvent* e) {
  e->accept();
  if (node_) BubbleKey(*node_, MakeKeyEvent(e, KeyboardEvent::kUp));
}

void NodeWidget::contextMenuEvent(QContextMenuEvent* e) {
  e->accept();
  if (!node_) return;
  const kivcore::PointF global = ToPointF(QPointF(e->globalPos()));
  for (UI_Node* n = node_; n; n = n->GetParent()) {
    auto keep = Keep(n);
    if (n->UI_DoContextMenu(global)) return;
  }
}

void NodeWidget::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  if (!node_ || node_->UI_HasKeyboardFocus()) return;
  const FocusChangeReason reason = e->reason() == Qt::MouseFocusReason ? FocusChangeReason::kMouse
                                   : e->reason() == Qt::TabFocusReason ||
                                           e->reason() == Qt::BacktabFocusReason
                                       ? FocusChangeReason::kKeyboard
                                       : FocusChangeReason::kOther;
  UI_NodeManager::Get().NodeFocused(node_, reason);
}

void NodeWidget::tabletEvent(QTabletEvent* e) {
  if (!node_) return;
  PointerEvent p;
  switch (e->type()) {
    case QEvent::TabletPress: p.action = PointerEvent::kDown; break;
    case QEvent::TabletRelease: p.action = PointerEvent::kUp; break;
    default: p.action = PointerEvent::kUpdate; break;
  }
  p.device = PointerEvent::kPen;
  p.pointerId = qint64(e->pointingDevice() ? e->pointingDevice()->uniqueId().numericId() : 0);
  p.pressure = float(e->pressure());
  p.modKeys = ModKeysFromQt(e->modifiers());
  p.global = ToPointF(e->globalPosition());
  // Not accepted unless handled, so that Qt goes on to synthesise the mouse events.
  e->setAccepted(BubblePointer(*node_, p));
}

void NodeWidget::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (node_ && e->type() == QEvent::EnabledChange) {
    auto keep = Keep(node_);
    node_->UI_EnableChanged(isEnabled());
  }
  if (!node_ || e->type() != QEvent::ActivationChange || !isWindow()) return;
  if (auto* window = node_->AsWindow()) WindowActivationChanged(*window);
}

void NodeWidget::WindowActivationChanged(OS_Window& window) {
  const bool active = isActiveWindow();
  if (active) window.BroughtToFront();
  auto& manager = UI_NodeManager::Get();
  // The capture goes with the activation, unless a window that takes no focus (one
  // carried by a drag) was activated anyway, as some platforms do on showing it.
  const QWidget* now = QApplication::activeWindow();
  const bool passive = now && now->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus);
  if (!active && !passive && manager.GetCaptureNode() &&
      manager.GetCaptureNode()->GetWindow() == &window) {
    manager.LoseCapture();
  }
  window.UI_ActivationChanged(active);
}

void NodeWidget::closeEvent(QCloseEvent* e) {
  auto* window = node_ ? node_->AsWindow() : nullptr;
  if (window && !window->UI_DuringClose()) {
    e->ignore();
    return;
  }
  e->accept();
}

void NodeWidget::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  if (node_) UI_NodeManager::Get().NodeHidden(node_);
}

}  // namespace kivui::qt
