#pragma once

#include "services/ui/node/UI_Node.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace kivui {

// A node with an ordered list of children. Order is stacking order: a later child draws
// above an earlier one.
class UI_Container : public UI_Node {
 public:
  explicit UI_Container(std::string nodeId = {});
  ~UI_Container() override;

  // Adds a child at the end; a child that is in another container is moved out of it.
  void PushBack(std::shared_ptr<UI_Node> child);
  // Adds a child before position index (clamped to the end).
  void Insert(std::size_t index, std::shared_ptr<UI_Node> child);
  // Takes a child out; returns it (null when it is not a child of this container).
  std::shared_ptr<UI_Node> Remove(UI_Node* child);
  void RemoveAll();
  // Moves a child to position index (clamped); returns false when it is not a child.
  bool Move(UI_Node* child, std::size_t index);

  std::size_t GetChildCount() const { return children_.size(); }
  UI_Node* GetChild(std::size_t index) const;
  // Position of the child, or -1.
  int IndexOf(const UI_Node* child) const;
  // The first node with that ID among the children, depth first when recursive.
  UI_Node* Find(std::string_view nodeId, bool recursive = true) const;

  // Whether the nodes taken out of this container or out of any container below it wait,
  // hidden, inside this node's widget instead of becoming windows of their own, until a
  // container takes them again; so does a tree of nodes in no container once it takes such
  // a node. A control of the window system inside them (an OpenGL view, a web view) then
  // keeps its window while its node moves between containers or is put away. Windows are
  // never kept. Off by default.
  void SetKeepsRemovedNodes(bool keep) { keepsRemoved_ = keep; }
  bool KeepsRemovedNodes() const { return keepsRemoved_; }
  // Keeps a node that is in no container (one made before its place is known) the same
  // way; nothing for a node in a container or a window.
  void KeepRemovedNode(UI_Node& node);

 protected:
  UI_Container(WindowTag tag, std::string nodeId);

 private:
  void Attach(std::size_t index, std::shared_ptr<UI_Node> child);
  // Stacks the children from index `from` on above the others, in child order.
  void Restack(std::size_t from);
  // The container that keeps nodes taken out of this one: the nearest one above (or this
  // one) that keeps removed nodes, else the one the outermost container above waits in.
  std::shared_ptr<UI_Node> KeeperOfRemoved() const;

  std::vector<std::shared_ptr<UI_Node>> children_;
  bool keepsRemoved_ = false;
};

}  // namespace kivui
