#pragma once

#include "layout/Splitter.h"

namespace kivworkspace::workspace {

// Walks the subtree under element in post-order, right-or-bottom child first, and returns
// the result of its top:
// - child(s, leftOrTop) names the child of splitter s to walk into (null: none);
// - enter(s) is asked of each splitter reached; when it says no, the splitter is handed to
//   leaf like a frame;
// - leaf(e) gives the result of an element not walked into (a frame, a placeholder, null,
//   a splitter not entered);
// - finish(s, a, b, out) writes the result of splitter s from those of its left-or-top (a)
//   and right-or-bottom (b) children.
//
// The walk loops down right-or-bottom spines and finishes their splitters on the way back
// up, recursing only into left-or-top subtrees: the order of the work is a recursion's,
// but a tree deep along its right-or-bottom sides needs no stack per level. Each result is
// written in place beside the one it is combined with: copying a result just written
// would make the reader wait for the writes (no store forwarding across them).
template <typename Result, typename Child, typename Enter, typename Leaf, typename Finish>
Result WalkPostOrder(LayoutManagerElement* element, const Child& child, const Enter& enter,
                     const Leaf& leaf, const Finish& finish) {
  Splitter* top = element ? element->AsSplitter() : nullptr;
  if (!top || !enter(top)) return leaf(element);
  Splitter* bottom = top;
  for (;;) {
    LayoutManagerElement* next = child(bottom, false);
    Splitter* below = next ? next->AsSplitter() : nullptr;
    if (!below || !enter(below)) break;
    bottom = below;
  }
  Result carried[2] = {leaf(child(bottom, false)), {}};
  unsigned c = 0;
  for (Splitter* s = bottom;; s = s->GetParent()->AsSplitter()) {
    const Result a = WalkPostOrder<Result>(child(s, true), child, enter, leaf, finish);
    finish(s, a, carried[c], carried[c ^ 1]);
    c ^= 1;
    if (s == top) return carried[c];
  }
}

}  // namespace kivworkspace::workspace
