#include "services/ui/node/UI_Node.h"

#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_Container.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/NodeImpl.h"
#include "services/ui/window/OS_Window.h"

#include <QApplication>

namespace kivui {

UI_Node::UI_Node(std::string nodeId) : nodeId_(std::move(nodeId)), impl_(std::make_unique<Impl>()) {
  impl_->widget = new qt::NodeWidget(*this);
}

UI_Node::UI_Node(WindowTag, std::string nodeId)
    : nodeId_(std::move(nodeId)), impl_(std::make_unique<Impl>()) {
  // A window's widget is made by UI_CreateWindow; until then the node has a plain one so
  // that children can be added early.
  impl_->widget = new qt::NodeWidget(*this);
  impl_->shown = false;
}

UI_Node::~UI_Node() {
  UI_NodeManager::Get().NodeGoingAway(this);
  impl_->timers.clear();
  if (qt::NodeWidget* widget = impl_->widget) {
    widget->Orphan();
    widget->hide();
    // Deleted later: this node may be going away inside one of its widget's own events.
    if (QCoreApplication::instance()) {
      widget->deleteLater();
    } else {
      delete widget;
    }
  }
}

OS_Window* UI_Node::GetWindow() const {
  for (const UI_Node* node = this; node; node = node->GetParent()) {
    if (const OS_Window* window = node->AsWindow()) return const_cast<OS_Window*>(window);
  }
  return nullptr;
}

UI_Node* UI_Node::GetRoot() {
  UI_Node* node = this;
  while (node->GetParent()) node = node->GetParent();
  return node;
}

void UI_Node::SetFrame(const kivcore::RectF& frame) {
  QWidget* w = impl_->widget;
  const QRect r(int(std::floor(frame.left)), int(std::floor(frame.top)),
                std::max(0, int(std::lround(frame.width))),
                std::max(0, int(std::lround(frame.height))));
  if (w->geometry() != r) w->setGeometry(r);
}

kivcore::RectF UI_Node::GetFrame() const {
  return qt::ToRectF(QRectF(impl_->widget->geometry()));
}

kivcore::RectF UI_Node::GetLocalBounds() const {
  const QSize s = impl_->widget->size();
  return {0, 0, float(s.width()), float(s.height())};
}

kivcore::PointF UI_Node::UI_LocalToGlobalF(kivcore::PointF local) const {
  return qt::ToPointF(impl_->widget->mapToGlobal(qt::ToQPointF(local)));
}

kivcore::PointF UI_Node::UI_GlobalToLocalF(kivcore::PointF global) const {
  return qt::ToPointF(impl_->widget->mapFromGlobal(qt::ToQPointF(global)));
}

kivcore::Point UI_Node::UI_LocalToGlobal(kivcore::Point local) const {
  return qt::ToPoint(impl_->widget->mapToGlobal(qt::ToQPoint(local)));
}

kivcore::Point UI_Node::UI_GlobalToLocal(kivcore::Point global) const {
  return qt::ToPoint(impl_->widget->mapFromGlobal(qt::ToQPoint(global)));
}

kivcore::RectF UI_Node::LocalRectToGlobalF(const kivcore::RectF& local) const {
  const kivcore::PointF tl = UI_LocalToGlobalF(local.TopLeft());
  return {tl.x, tl.y, local.width, local.height};
}

kivcore::PointF UI_Node::ConvertPointTo(kivcore::PointF local, const UI_Node& other) const {
  return other.UI_GlobalToLocalF(UI_LocalToGlobalF(local));
}

void UI_Node::UI_Show(bool show) {
  impl_->shown = show;
  QWidget* w = impl_->widget;
  // A node outside any container has no window to show in yet; its container shows it.
  const OS_Window* window = AsWindow();
  if (w->parentWidget() || (window && window->IsCreated())) w->setVisible(show);
  if (!show) UI_NodeManager::Get().NodeHidden(this);
}

bool UI_Node::IsShown() const { return impl_->shown; }

bool UI_Node::UI_AreAllParentsVisible() const {
  for (const UI_Node* node = this; node; node = node->GetParent()) {
    if (!node->IsShown()) return false;
  }
  return true;
}

void UI_Node::UI_GainKeyboardFocus(FocusChangeReason reason) {
  QWidget* w = impl_->widget;
  if (w->focusPolicy() == Qt::NoFocus) w->setFocusPolicy(Qt::StrongFocus);
  w->setFocus(reason == FocusChangeReason::kMouse      ? Qt::MouseFocusReason
              : reason == FocusChangeReason::kKeyboard ? Qt::TabFocusReason
                                                       : Qt::OtherFocusReason);
  UI_NodeManager::Get().NodeFocused(this, reason);
}

bool UI_Node::UI_HasKeyboardFocus(bool exact) const {
  const UI_Node* focus = UI_NodeManager::Get().GetFocusNode();
  if (exact) return focus == this;
  for (; focus; focus = focus->GetParent()) {
    if (focus == this) return true;
  }
  return false;
}

void UI_Node::UI_Invalidate() { impl_->widget->update(); }

void UI_Node::UI_InvalidateRect(const kivcore::RectF& local) {
  impl_->widget->update(qt::ToQRectF(local).toAlignedRect());
}

void UI_Node::UI_UpdateNow() { impl_->widget->repaint(); }

void UI_Node::UI_StartTimer(int id, int intervalMs, bool repeat) {
  auto& timer = impl_->timers[id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [this, id] {
      auto keep = weak_from_this().lock();
      UI_DoTimerNotify(id);
    });
  }
  timer->setSingleShot(!repeat);
  timer->start(std::max(0, intervalMs));
}

void UI_Node::UI_StopTimer(int id) {
  auto it = impl_->timers.find(id);
  if (it != impl_->timers.end()) it->second->stop();
}

bool UI_Node::IsTimerRunning(int id) const {
  auto it = impl_->timers.find(id);
  return it != impl_->timers.end() && it->second->isActive();
}

void UI_Node::SetUpdatesEnabled(bool enabled) { impl_->widget->setUpdatesEnabled(enabled); }
bool UI_Node::GetUpdatesEnabled() const { return impl_->widget->updatesEnabled(); }

void UI_Node::SetToolTip(const std::string& utf8) { impl_->widget->setToolTip(qt::ToQString(utf8)); }
std::string UI_Node::GetToolTip() const { return impl_->widget->toolTip().toStdString(); }
void UI_Node::SetEnabled(bool enabled) { impl_->widget->setEnabled(enabled); }
bool UI_Node::IsEnabled() const { return impl_->widget->isEnabled(); }

// The hooks' base behaviour: nothing handled.
void UI_Node::UI_SizeChanged(const kivcore::RectF&) {}
void UI_Node::UI_Draw(Drawbot&, const kivcore::RectF&) {}
bool UI_Node::UI_DoMouseEvent(UI_Node*, const MouseEvent&) { return false; }
bool UI_Node::UI_DoPrePointerEvent(const PointerEvent&) { return false; }
bool UI_Node::UI_DoGestureEvent(const GestureEvent&) { return false; }
bool UI_Node::UI_DoKeyboardEvent(const KeyboardEvent&) { return false; }
bool UI_Node::UI_DoCursor(kivcore::PointF) { return false; }
bool UI_Node::UI_DoContextMenu(kivcore::PointF) { return false; }
bool UI_Node::UI_DoMouseActivate() { return false; }
void UI_Node::UI_FocusChanged(FocusChangeReason) {}
void UI_Node::UI_DoTimerNotify(int) {}
void UI_Node::UI_CaptureLost() {}
void UI_Node::UI_ScaleChanged(float) {}
void UI_Node::UI_EnableChanged(bool) {}
void UI_Node::UI_SetParent(UI_Container*) {}

}  // namespace kivui
