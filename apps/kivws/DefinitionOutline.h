#pragma once
// What a workspace definition holds, read straight from its property list without building
// any window: the windows with their places and splitter trees, the frames with their open
// and closed panels, and the records of closed floating windows. `kivws info` prints it as
// text and `kivws dot` as a Graphviz graph. Keys that are missing or of another type read as
// absent, so a definition that a restore would take with fallbacks is still described.

#include "services/core/Strings.h"

#include <array>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivcore {
class PropList;
}

namespace kivws {

// One element of a window's layout tree.
struct TreeElement {
  enum Kind { kSplitter, kFrame, kPlaceholder };
  Kind kind = kFrame;

  // Splitters: a vertical one has its children side by side.
  bool vertical = false;
  float placement = 0;
  std::array<bool, 2> visible{true, true};
  std::array<std::unique_ptr<TreeElement>, 2> children;  // left or top, right or bottom

  // Frames: their number in tree order within the window, the open panels in tab order with
  // the index of the front one, and the closed panels. Placeholders: `closed` only.
  int number = -1;
  std::vector<std::string> panels;
  int front = 0;
  std::vector<std::string> closed;
};

struct WindowOutline {
  int number = 0;  // n of its "TopLevelFrame-" n
  bool main = false;
  std::optional<std::array<int, 4>> place;  // left, top, width, height as stored
  std::unique_ptr<TreeElement> root;        // null when the window has no tree
  std::optional<std::string> maxFramePath;
  int maximizedFrame = -1;  // the frame the path leads to, -1 for none
};

struct ClosedWindowOutline {
  std::vector<std::string> types;  // every panel type the window held
  std::vector<std::string> kept;   // the types of the panels kept alive
};

struct DefinitionOutline {
  kivcore::UTF16String userName;
  std::vector<WindowOutline> windows;
  std::vector<ClosedWindowOutline> closedWindows;
};

DefinitionOutline ReadOutline(const kivcore::PropList& definition);

// Plain text, one line per window, frame, closed-panel list and closed window, in the
// definition's order.
void WriteInfo(const DefinitionOutline& outline, std::ostream& out);
// One digraph with a cluster per window.
void WriteDot(const DefinitionOutline& outline, std::ostream& out);

}  // namespace kivws
