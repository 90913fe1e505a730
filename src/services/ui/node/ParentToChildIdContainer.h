#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kivui {

class UI_Node;

// An automation path to a node: node IDs from a top-level window down, written with '/'
// between them ("OS_TopLevelWindow/StudioChrome/WorkspaceSwitcherBar").
class ParentToChildIdContainer {
 public:
  enum SearchMode { kDirectChildren = 1, kDescendants = 2 };

  // False, leaving the path empty, for an empty text or an empty ID in it.
  bool Deserialize(std::string_view text);
  std::string Serialize() const;
  const std::vector<std::string>& GetIDs() const { return ids_; }

  // The node the path names. Without a root, the path starts with a window's ID and is
  // looked for in every window of that ID, front-most first; with one, the IDs after the root's own
  // (or all of them, when the path does not start with it) are looked for below the root. Each next ID is a direct child of the node before
  // (kDirectChildren) or anywhere below it (kDescendants). Null when nothing matches.
  UI_Node* GetNode(SearchMode mode, UI_Node* root = nullptr) const;

 private:
  std::vector<std::string> ids_;
};

}  // namespace kivui
