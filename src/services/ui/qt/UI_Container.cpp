#include "services/ui/node/UI_Container.h"

#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/NodeImpl.h"
#include "services/ui/window/OS_Window.h"

#include <algorithm>

namespace kivui {
namespace {

// A window the system shows on its own, as opposed to a node (or child window) embedded in
// its container's widget.
bool IsTopLevel(const UI_Node& node) {
  const OS_Window* window = node.AsWindow();
  return window && window->IsCreated() && window->GetKind() != OS_Window::kChildWindow;
}

// A top-level window keeps its window flags when it joins a container: it becomes owned by
// the container's window instead of being embedded in it.
void Reparent(UI_Node& child, QWidget* parent) {
  QWidget* w = qt::WidgetOf(child);
  w->setParent(parent, IsTopLevel(child) ? w->windowFlags() : Qt::WindowFlags(Qt::Widget));
  // A child widget follows its node's own flag: reparenting hides it, and one never shown
  // would otherwise appear with its new parent.
  if (parent && !w->isWindow()) w->setVisible(child.IsShown());
}

// Puts the node's widget inside the keeper's, hidden with it. False, and nothing done, when
// there is no keeper, the node is a window, or the keeper is the node or inside it.
bool Keep(UI_Node& node, const std::shared_ptr<UI_Node>& keeper) {
  QWidget* home = keeper ? qt::WidgetOf(*keeper) : nullptr;
  QWidget* w = qt::WidgetOf(node);
  if (!home || !w || IsTopLevel(node) || home == w || w->isAncestorOf(home)) return false;
  node.GetImpl().keeper = keeper;
  if (w->parentWidget() != home) Reparent(node, home);
  return true;
}

}  // namespace

UI_Container::UI_Container(std::string nodeId) : UI_Node(std::move(nodeId)) {}

UI_Container::UI_Container(WindowTag tag, std::string nodeId) : UI_Node(tag, std::move(nodeId)) {}

UI_Container::~UI_Container() {
  // The children wait where this container would have waited, so that a control inside
  // them keeps its window while they go.
  const std::shared_ptr<UI_Node> keeper = KeeperOfRemoved();
  for (auto& child : children_) {
    child->parent_ = nullptr;
    if (!Keep(*child, keeper)) Reparent(*child, nullptr);
  }
  children_.clear();
  if (!keepsRemoved_) return;
  // Nodes that wait here outlive this container: their widgets leave before its widget goes.
  QWidget* home = qt::WidgetOf(*this);
  if (!home) return;
  const QObjectList waiting = home->children();
  for (QObject* object : waiting) {
    auto* w = dynamic_cast<qt::NodeWidget*>(object);
    if (w && w->GetNode())
      w->setParent(nullptr, w->isWindow() ? w->windowFlags() : Qt::WindowFlags(Qt::Widget));
  }
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
  // A tree in no container (a frame being built) that takes a kept node first waits where
  // that node waited: the node never passes through a window of its own.
  UI_Node& root = *GetRoot();
  const QWidget* rootWidget = qt::WidgetOf(root);
  if (!root.AsWindow() && rootWidget && !rootWidget->parentWidget())
    Keep(root, node.GetImpl().keeper.lock());
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
  // Remembered by windows too, for the nodes taken out of them later.
  const std::shared_ptr<UI_Node> keeper = KeeperOfRemoved();
  removed->GetImpl().keeper = keeper;
  if (!Keep(*removed, keeper)) Reparent(*removed, nullptr);
  removed->parent_ = nullptr;
  removed->UI_SetParent(nullptr);
  return removed;
}

void UI_Container::RemoveAll() {
  while (!children_.empty()) Remove(children_.back().get());
}

void UI_Container::KeepRemovedNode(UI_Node& node) {
  if (!keepsRemoved_ || node.GetParent()) return;
  Keep(node, std::const_pointer_cast<UI_Node>(weak_from_this().lock()));
}

std::shared_ptr<UI_Node> UI_Container::KeeperOfRemoved() const {
  for (const UI_Container* c = this;; c = c->GetParent()) {
    // A keeper being destroyed keeps nothing: the search goes on above it.
    if (c->keepsRemoved_) {
      if (auto self = c->weak_from_this().lock()) return std::const_pointer_cast<UI_Node>(self);
    }
    if (!c->GetParent()) return c->GetImpl().keeper.lock();
  }
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
