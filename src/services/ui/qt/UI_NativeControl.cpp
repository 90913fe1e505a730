#include "services/ui/controls/UI_NativeControl.h"

#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/KeyMap.h"
#include "services/ui/qt/NativeControl.h"
#include "services/ui/qt/NodeImpl.h"

#include <QApplication>
#include <QKeyEvent>

namespace kivui {

UI_NativeControl::Hosted::~Hosted() {
  if (control) control->removeEventFilter(this);
}

void UI_NativeControl::Hosted::Host(QWidget* widget) {
  Release();
  control = widget;
  if (!control) return;
  control->installEventFilter(this);
  qt::WidgetOf(owner)->setFocusProxy(control);
  // A composite control (a form, a splitter of views) reports the focus of what is inside.
  if (watchingFocus) return;
  watchingFocus = true;
  QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (control && now && now != control && control->isAncestorOf(now) &&
        !owner.UI_HasKeyboardFocus()) {
      UI_NodeManager::Get().NodeFocused(&owner, FocusChangeReason::kMouse);
    }
  });
}

QWidget* UI_NativeControl::Hosted::Release() {
  QWidget* released = control;
  control = nullptr;
  if (!released) return nullptr;
  released->removeEventFilter(this);
  if (QWidget* w = qt::WidgetOf(owner); w && w->focusProxy() == released) w->setFocusProxy(nullptr);
  return released;
}

bool UI_NativeControl::Hosted::eventFilter(QObject*, QEvent* e) {
  if (e->type() == QEvent::FocusIn && !owner.UI_HasKeyboardFocus()) {
    UI_NodeManager::Get().NodeFocused(&owner, FocusChangeReason::kMouse);
  }
  if (e->type() != QEvent::KeyPress || !owner.onKey) return false;
  auto* k = static_cast<QKeyEvent*>(e);
  KeyboardEvent event;
  event.key = qt::KeyFromQtKey(k->key());
  if (offersKey && !offersKey(event.key)) return false;
  event.text = qt::ToUTF8(k->text());
  event.modKeys = qt::ModKeysFromQt(k->modifiers());
  return owner.onKey(event);
}

UI_NativeControl::UI_NativeControl(std::string nodeId, bool takesFocus)
    : UI_Node(std::move(nodeId)), takesFocus_(takesFocus), hosted_(std::make_unique<Hosted>(*this)) {}

UI_NativeControl::~UI_NativeControl() = default;

void UI_NativeControl::UI_FocusChanged(FocusChangeReason) {
  if (UI_HasKeyboardFocus() && hosted_->control && !hosted_->control->hasFocus()) hosted_->control->setFocus();
}

void UI_NativeControl::UI_SizeChanged(const kivcore::RectF& b) {
  if (hosted_->control) hosted_->control->setGeometry(qt::ToQRectF(b).toRect());
}

}  // namespace kivui
