#pragma once

#include "services/core/PointT.h"

#include <cstdint>
#include <vector>

namespace kivworkspace::workspace {

class Frame;
class FrameDataProxy;
class LayoutManager;
class Splitter;

// What a parent combines of a child: its minimum size, its constraint size and whether it
// is stretchy along each axis.
struct Measurements {
  kivcore::Point minimum;
  kivcore::Point constraint;
  bool stretchyX = false;
  bool stretchyY = false;
  bool Stretchy(bool inY) const { return inY ? stretchyY : stretchyX; }
};

// A node of a window's layout tree: a Splitter (inner node) or a Frame (leaf).
class LayoutManagerElement {
 public:
  explicit LayoutManagerElement(LayoutManager* manager) : manager_(manager) {}
  virtual ~LayoutManagerElement() = default;
  LayoutManagerElement(const LayoutManagerElement&) = delete;
  LayoutManagerElement& operator=(const LayoutManagerElement&) = delete;

  // inY asks about heights when true and widths when false.
  virtual bool AllowSnapping(bool /*inY*/, Frame* /*frame*/) const { return true; }

  kivcore::Point GetMinimumSize() const { return DoGetMinimumSize(); }
  void GetSnapSizes(std::vector<kivcore::Point>& sizes) const { DoGetSnapSizes(sizes); }
  void GetConstraintSize(kivcore::Point& size) const {
    size = {0, 0};
    DoGetConstraintSize(size);
  }
  bool IsStretchy(bool inY) const { return DoGetIsStretchy(inY); }
  // The four answers above at once, as a splitter combines them (the layout pass asks
  // MeasureChild, its inline form for frames and splitters).
  Measurements Measure() const { return DoMeasure(); }

  LayoutManagerElement* GetParent() const { return parent_; }
  void SetParent(LayoutManagerElement* parent) { parent_ = parent; }
  LayoutManager* GetLayoutManager() const { return manager_; }
  void SetLayoutManager(LayoutManager* manager) { manager_ = manager; }

  // The node's kind without a dynamic_cast or a virtual call: the layout pass asks this
  // several times for every node. Defined in Frame.h and Splitter.h.
  inline Frame* AsFrame();
  inline Splitter* AsSplitter();
  virtual FrameDataProxy* AsPlaceholder() { return nullptr; }
  const Frame* AsFrame() const { return const_cast<LayoutManagerElement*>(this)->AsFrame(); }
  const FrameDataProxy* AsPlaceholder() const {
    return const_cast<LayoutManagerElement*>(this)->AsPlaceholder();
  }
  const Splitter* AsSplitter() const {
    return const_cast<LayoutManagerElement*>(this)->AsSplitter();
  }

 protected:
  enum class Kind : std::uint8_t { kOther, kFrame, kSplitter };
  LayoutManagerElement(LayoutManager* manager, Kind kind) : manager_(manager), kind_(kind) {}
  bool Is(Kind kind) const { return kind_ == kind; }

  virtual kivcore::Point DoGetMinimumSize() const = 0;
  virtual void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const = 0;
  virtual void DoGetConstraintSize(kivcore::Point& size) const = 0;
  virtual bool DoGetIsStretchy(bool inY) const = 0;
  // By default asks the four queries in turn.
  virtual Measurements DoMeasure() const {
    kivcore::Point constraint{0, 0};
    DoGetConstraintSize(constraint);
    return {DoGetMinimumSize(), constraint, DoGetIsStretchy(false), DoGetIsStretchy(true)};
  }

 private:
  LayoutManager* manager_;
  LayoutManagerElement* parent_ = nullptr;
  // Last, so that a derived class's first small members fill the padding after it.
  Kind kind_ = Kind::kOther;
};

// The component of p along an axis: heights when inY, widths otherwise.
inline int Along(const kivcore::Point& p, bool inY) { return inY ? p.y : p.x; }
inline int& Along(kivcore::Point& p, bool inY) { return inY ? p.y : p.x; }

}  // namespace kivworkspace::workspace

// AsFrame and AsSplitter are defined with the classes they return; every unit that sees
// this class sees those definitions too.
#include "layout/Frame.h"
#include "layout/Splitter.h"
