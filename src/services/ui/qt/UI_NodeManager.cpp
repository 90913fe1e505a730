#include "services/ui/node/UI_NodeManager.h"

#include "services/ui/node/UI_Container.h"
#include "services/ui/qt/KeyMap.h"
#include "services/ui/qt/NodeImpl.h"

#include <QGuiApplication>

#include <charconv>

namespace kivui {
namespace {

bool IsWithin(const UI_Node* node, const UI_Node* ancestor) {
  for (; node; node = node->GetParent()) {
    if (node == ancestor) return true;
  }
  return false;
}

}  // namespace

UI_NodeManager& UI_NodeManager::Get() {
  static UI_NodeManager manager;
  return manager;
}

UI_NodeManager::UI_NodeManager() : groupReason_(FocusChangeReason::kOther) {}

void UI_NodeManager::BeginCapture(UI_Node* node) {
  if (!node || capture_ == node) return;
  if (capture_) LoseCapture();
  capture_ = node;
  qt::WidgetOf(*node)->grabMouse();
}

void UI_NodeManager::EndCapture(UI_Node* node) {
  if (!node || capture_ != node) return;
  capture_ = nullptr;
  if (QWidget* w = qt::WidgetOf(*node)) w->releaseMouse();
  ResetCursor();
}

void UI_NodeManager::TransferCapture(UI_Node* from, UI_Node* to) {
  if (!from || !to || capture_ != from || from == to) return;
  if (QWidget* w = qt::WidgetOf(*from)) w->releaseMouse();
  capture_ = to;
  qt::WidgetOf(*to)->grabMouse();
}

void UI_NodeManager::LoseCapture() {
  UI_Node* node = capture_;
  if (!node) return;
  capture_ = nullptr;
  if (QWidget* w = qt::WidgetOf(*node)) w->releaseMouse();
  ResetCursor();
  node->UI_CaptureLost();
  captureLost_(node);
}

void UI_NodeManager::BeginFocusChangeGroup() {
  if (focusGroupDepth_++ == 0) {
    focusAtGroupStart_ = focus_;
    groupReason_ = FocusChangeReason::kOther;
  }
}

void UI_NodeManager::EndFocusChangeGroup() {
  if (focusGroupDepth_ == 0 || --focusGroupDepth_ > 0) return;
  UI_Node* start = focusAtGroupStart_;
  focusAtGroupStart_ = nullptr;
  if (start != focus_) DeliverFocusChange(start, focus_, groupReason_);
}

void UI_NodeManager::NodeFocused(UI_Node* node, FocusChangeReason reason) {
  if (node == focus_) return;
  UI_Node* old = focus_;
  focus_ = node;
  if (focusGroupDepth_ > 0) {
    groupReason_ = reason;
    return;
  }
  DeliverFocusChange(old, node, reason);
}

void UI_NodeManager::DeliverFocusChange(UI_Node* lost, UI_Node* gained, FocusChangeReason reason) {
  auto keepLost = lost ? lost->weak_from_this().lock() : nullptr;
  auto keepGained = gained ? gained->weak_from_this().lock() : nullptr;
  if (lost) lost->UI_FocusChanged(reason);
  if (gained && gained == focus_) gained->UI_FocusChanged(reason);
  focusChanged_(lost, gained);
}

void UI_NodeManager::SuspendMouseOverUpdates(bool suspend) {
  mouseOverSuspended_ += suspend ? 1 : (mouseOverSuspended_ > 0 ? -1 : 0);
}

void UI_NodeManager::SetResourceCursor(int number) {
  cursor_ = number;
  if (cursorQuery_) return;  // the hovered widget applies it after the query
  if (!QGuiApplication::instance()) return;
  const QCursor cursor(qt::CursorShapeFor(number));
  if (overrideCursor_) {
    QGuiApplication::changeOverrideCursor(cursor);
  } else {
    QGuiApplication::setOverrideCursor(cursor);
    overrideCursor_ = true;
  }
}

void UI_NodeManager::ResetCursor() {
  cursor_ = kCursorArrow;
  if (overrideCursor_) {
    QGuiApplication::restoreOverrideCursor();
    overrideCursor_ = false;
  }
}

std::optional<std::string> UI_NodeManager::GetCustomSetting(std::string_view name) const {
  auto it = settings_.find(name);
  if (it == settings_.end()) return std::nullopt;
  return it->second;
}

int UI_NodeManager::GetCustomSettingInt(std::string_view name, int fallback) const {
  const auto text = GetCustomSetting(name);
  if (!text) return fallback;
  int value = 0;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  return ec == std::errc() && end == text->data() + text->size() ? value : fallback;
}

void UI_NodeManager::SetCustomSetting(std::string_view name, std::string value) {
  settings_[std::string(name)] = std::move(value);
}

void UI_NodeManager::NodeGoingAway(UI_Node* node) {
  if (capture_ == node) {
    capture_ = nullptr;
    // The widget goes later; until then it would keep the window system's grab.
    if (QWidget* w = qt::WidgetOf(*node)) w->releaseMouse();
    ResetCursor();
    captureLost_(node);
  }
  if (focus_ == node) focus_ = nullptr;
  if (focusAtGroupStart_ == node) focusAtGroupStart_ = nullptr;
  if (cursorQuery_ == node) cursorQuery_ = nullptr;
}

void UI_NodeManager::NodeHidden(UI_Node* node) {
  if (capture_ && IsWithin(capture_, node)) LoseCapture();
  if (focus_ && IsWithin(focus_, node)) NodeFocused(nullptr, FocusChangeReason::kOther);
}

}  // namespace kivui
