#include "services/ui/node/ParentToChildIdContainer.h"

#include "services/ui/window/OS_Window.h"

namespace kivui {
namespace {

UI_Node* FindBelow(UI_Node* node, const std::string& id, ParentToChildIdContainer::SearchMode mode) {
  auto* container = dynamic_cast<UI_Container*>(node);
  return container ? container->Find(id, mode == ParentToChildIdContainer::kDescendants) : nullptr;
}

// Follows ids[from..] down from node.
UI_Node* Follow(UI_Node* node, const std::vector<std::string>& ids, std::size_t from,
                ParentToChildIdContainer::SearchMode mode) {
  for (std::size_t i = from; node && i < ids.size(); ++i) node = FindBelow(node, ids[i], mode);
  return node;
}

}  // namespace

bool ParentToChildIdContainer::Deserialize(std::string_view text) {
  ids_.clear();
  std::vector<std::string> ids;
  while (true) {
    const std::size_t slash = text.find('/');
    const std::string_view id = text.substr(0, slash);
    if (id.empty()) return false;
    ids.emplace_back(id);
    if (slash == std::string_view::npos) break;
    text.remove_prefix(slash + 1);
  }
  ids_ = std::move(ids);
  return true;
}

std::string ParentToChildIdContainer::Serialize() const {
  std::string text;
  for (const std::string& id : ids_) text += (text.empty() ? "" : "/") + id;
  return text;
}

UI_Node* ParentToChildIdContainer::GetNode(SearchMode mode, UI_Node* root) const {
  if (ids_.empty()) return nullptr;
  if (root) return Follow(root, ids_, root->GetNodeID() == ids_.front() ? 1 : 0, mode);
  for (OS_Window* window : OS_Window::UI_FindAllWindowsMatchingID(ids_.front())) {
    if (UI_Node* node = Follow(window, ids_, 1, mode)) return node;
  }
  return nullptr;
}

}  // namespace kivui
