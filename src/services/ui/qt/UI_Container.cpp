#include "services/ui/node/UI_Container.h"

#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/NodeImpl.h"
#include "services/ui/window/OS_Window.h"

#include <algorithm>

namespace kivui {
namespace {

// A top-level window keeps its window flags when it joins a container: it becomes owned by
// the container's window instead of being embedded in it.
void Reparent(UI_Node& child, QWidget* parent) {
  QWidget* w = qt::WidgetOf(child);
  const OS_Window* window = child.AsWindow();
  const bool topLevel = window && window->IsCreated() && window->GetKind() != OS_Window::kChildWindow;
  w->setParent(parent, topLevel ? w->windowFlags() : Qt::WindowFlags(Qt::Widget));
  // A child widget follows its node's own flag: reparenting hides it, and one never shown
  // would otherwise appear with its new parent.
  if (parent && !w->isWindow()) w->setVisible(child.IsShown());
}

}  // namespace

UI_Container::UI_Container(std::string nodeId) : UI_Node(std::move(nodeId)) {}

UI_Container::UI_Container(WindowTag tag, std::string nodeId) : UI_Node(tag, std::move(nodeId)) {}

UI_Container::~UI_Container() {
  for (auto& child : children_) {
    Reparent(*child, nullptr);
    child->parent_ = nullptr;
  }
  children_.clear();
}

void UI_Container::PushBack(std::shared_ptr<UI_Node> child) {
  Insert(children_.size(), std::move(child));
}

void UI_Container::Insert(std::size_t index, std::shared_ptr<UI_Node> child) {
  if (!child || child.get() == this) return;
  if (UI_Container* old = child->GetParent()) {
    const int at = old->IndexOf(child.get());
    if (old == this && at >= 0 && std::size_t(at) < index) --index;
    old->Remove(child.get());
  }
  Attach(std::min(index, children_.size()), std::move(child));
}

void UI_Container::Attach(std::size_t index, std::shared_ptr<UI_Node> child) {
  UI_Node& node = *child;
  children_.insert(children_.begin() + std::ptrdiff_t(index), std::move(child));
  node.parent_ = this;
  Reparent(node, qt::WidgetOf(*this));
  Restack(index);
  node.UI_SetParent(this);
}

std::shared_ptr<UI_Node> UI_Container::Remove(UI_Node* child) {
  auto it = std::find_if(children_.begin(), children_.end(),
                         [child](const auto& c) { return c.get() == child; });
  if (it == children_.end()) return nullptr;
  std::shared_ptr<UI_Node> removed = std::move(*it);
  children_.erase(it);
  UI_NodeManager::Get().NodeHidden(removed.get());
  Reparent(*removed, nullptr);
  removed->parent_ = nullptr;
  removed->UI_SetParent(nullptr);
  return removed;
}

void UI_Container::RemoveAll() {
  while (!children_.empty()) Remove(children_.back().get());
}

bool UI_Container::Move(UI_Node* child, std::size_t index) {
  const int at = IndexOf(child);
  if (at < 0) return false;
  auto node = std::move(children_[std::size_t(at)]);
  children_.erase(children_.begin() + at);
  index = std::min(index, children_.size());
  children_.insert(children_.begin() + std::ptrdiff_t(index), std::move(node));
  Restack(std::min(index, std::size_t(at)));
  return true;
}

UI_Node* UI_Container::GetChild(std::size_t index) const {
  return index < children_.size() ? children_[index].get() : nullptr;
}

int UI_Container::IndexOf(const UI_Node* child) const {
  for (std::size_t i = 0; i < children_.size(); ++i) {
    if (children_[i].get() == child) return int(i);
  }
  return -1;
}

UI_Node* UI_Container::Find(std::string_view nodeId, bool recursive) const {
  for (const auto& child : children_) {
    if (child->GetNodeID() == nodeId) return child.get();
  }
  if (!recursive) return nullptr;
  for (const auto& child : children_) {
    if (auto* container = dynamic_cast<const UI_Container*>(child.get())) {
      if (UI_Node* found = container->Find(nodeId, true)) return found;
    }
  }
  return nullptr;
}

// Raising in child order from `from` on leaves the children before it where they are: a
// child appended raises only itself, so adding n children costs n raises, not n².
void UI_Container::Restack(std::size_t from) {
  for (std::size_t i = from; i < children_.size(); ++i) {
    QWidget* w = qt::WidgetOf(*children_[i]);
    if (!w->isWindow()) w->raise();
  }
}

}  // namespace kivui
