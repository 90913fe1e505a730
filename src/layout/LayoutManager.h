#pragma once

#include "services/core/PointT.h"
#include "services/core/RectT.h"
#include "layout/DropZone.h"
#include "layout/FrameZones.h"
#include "layout/LayoutManagerElement.h"
#include "layout/LayoutManagerHostInterface.h"
#include "layout/SnapPoint.h"
#include "layout/SplitterPool.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kivworkspace::workspace {

class Frame;
class FrameDataProxy;
class Splitter;

// Owns the splitter tree of one window and fits it into a rectangle: each splitter gets
// its location and bar, each frame its FrameZones, honouring minimum sizes, the sizes that
// non-stretchy frames want to keep, and bars that stay put while the user drags another
// bar. Every operation returns silently while the host has layout disabled.
class LayoutManager {
 public:
  // Where a frame goes relative to another (and the sides of static border frames).
  enum InsertionType { kTop = 0, kLeft = 1, kBottom = 2, kRight = 3, kCentre = 4 };
  // What lies under a point: nothing, one vertical bar, one horizontal bar, a crossing.
  enum CursorType { kNoBar = 0, kVerticalBar = 1, kHorizontalBar = 2, kCrossing = 3 };

  // Drags splitter bars; made by the docking interaction's splitter tracker.
  class Tracker {
   public:
    Tracker() = default;
    virtual ~Tracker() = default;
    Tracker(const Tracker&) = delete;
    Tracker& operator=(const Tracker&) = delete;
    virtual void Begin(const kivcore::Point& p) = 0;
    virtual void Move(const kivcore::Point& p) = 0;
    virtual void End() = 0;
  };
  // Makes the tracker for the (already majorized) bars under a point; without one a
  // SplitterTrackerMark2 drags them.
  using TrackerFactory = std::function<std::unique_ptr<Tracker>(
      LayoutManager& manager, const std::vector<Splitter*>& splitters)>;
  static void SetTrackerFactory(TrackerFactory factory);

  explicit LayoutManager(LayoutManagerHostInterface* host);
  virtual ~LayoutManager();
  LayoutManager(const LayoutManager&) = delete;
  LayoutManager& operator=(const LayoutManager&) = delete;

  // The pass: rectangle, then constrain, recompute and keepPixels. Nothing in the base.
  virtual void Layout(const kivcore::Rect& rect, bool constrain, bool recompute, bool keepPixels);
  virtual void ReLayout(bool constrain, bool recompute, bool keepPixels);
  virtual void SetStaticBorderFrame(Frame*, const kivcore::Rect&, InsertionType, bool) {}
  virtual void SetStaticBorderFrameResizable(InsertionType, bool) {}
  virtual bool HasStaticBorderFrame(InsertionType) const { return false; }
  virtual Frame* GetStaticBorderFrame(InsertionType) const { return nullptr; }
  virtual void RemoveStaticBorderFrame(Frame*, const kivcore::Rect&, bool) {}
  virtual InsertionType GetInsertionType(const Frame*) const { return kTop; }
  virtual void ChangeInsertionType(Frame*, InsertionType) {}
  virtual void ShowAllBorderFrames(bool, const kivcore::Rect&, const kivcore::Rect&) {}
  virtual void SetStaticTablessFrame(Frame*, const kivcore::Rect&, bool) {}
  virtual bool HasStaticTablessFrame() const { return false; }
  virtual Frame* GetStaticTablessFrame() const { return nullptr; }
  // The border size for window-border edges, else the splitter half width.
  virtual int GetEdgeSize(unsigned edge, bool isBorder) const;

  // The real root of the tree (a Frame or a Splitter), held by the root holder.
  LayoutManagerElement* GetRoot() const;
  LayoutManagerElement* GetRootSplitter() const { return GetRoot(); }
  // Makes element the root (the caller keeps it linked: splitters are owned from here on).
  void SetRootElement(LayoutManagerElement* element);
  Splitter* GetRootHolder() const { return rootHolder_.get(); }
  // Creates a splitter owned by this manager.
  Splitter* NewSplitter(bool vertical);

  const kivcore::Rect& GetContainingRect() const { return containingRect_; }
  void SetContainingRect(const kivcore::Rect& rect) { containingRect_ = rect; }
  int GetBorderSize() const { return borderSize_; }
  void SetBorderSize(int size) { borderSize_ = size; }
  int GetSplitterHalfWidth() const { return splitterHalfWidth_; }
  void SetSplitterHalfWidth(int halfWidth) { splitterHalfWidth_ = halfWidth; }
  static int GetDefaultBorderSize();
  static int GetDefaultSplitterHalfWidth();
  void SetUserAdjustingSplitter(bool adjusting) { userAdjusting_ += adjusting ? 1 : -1; }
  bool GetUserAdjustingSplitter() const { return userAdjusting_ > 0; }
  bool HasAnyReanimatableFrames() const { return !reanimationList_.empty(); }
  Frame* GetMaximizedFrame() const { return maximizedFrame_; }
  bool HasMaximizedFrame() const { return maximizedFrame_ != nullptr; }
  bool IsTheMaximizedFrame(const Frame* frame) const { return maximizedFrame_ == frame; }

  // --- editing the tree ---
  // Puts newFrame beside target (the root element when null), taking half its place.
  void AddFrame(Frame* target, InsertionType type, Frame* newFrame);
  // Takes a frame out of the tree. With keepPlaceholder a placeholder keeps its place (and
  // with keepFrame the frame itself, for reanimation); without, its parent splitter goes.
  void RemoveFrame(Frame* frame, bool keepPlaceholder, bool keepFrame);
  // Puts frame where placeholder is and destroys the placeholder; the caller lays out.
  void ReanimateFrame(LayoutManagerElement* placeholder, Frame* frame);
  // The first placeholder (in order of removal) holding frame, or remembering a tab type.
  FrameDataProxy* FindFrameForReanimation(const Frame* frame) const;
  FrameDataProxy* FindFrameForReanimation(std::string_view tabType) const;
  void SwapFrame(Frame* oldFrame, Frame* newFrame);
  // Lays out a frame just put into the tree; false when it has no shown ancestor and the
  // whole tree was laid out instead.
  bool LayoutNewFrame(Frame* frame);
  // Installs a new root holder and its tree. Splitters of the new tree must belong to this
  // manager (NewSplitter); its placeholders, when not on this manager's list already, are
  // adopted by the list. A tree holding elements of a preview copy (which its arena owns)
  // is refused: false, and the manager keeps its tree.
  bool SwapRoot(std::unique_ptr<Splitter> newRootHolder);
  // Makes frame the root element, then lays out in rect. Over a root that shows a frame
  // nothing changes; over one that shows none (hidden, or holding only placeholders) the
  // frame goes above it in a new horizontal splitter, the old root on the hidden side.
  void SetRootFrame(Frame* frame, const kivcore::Rect& rect);
  // Hides every other shown frame (null shows them again), then lays out.
  void SetMaximizedFrame(Frame* frame);
  // A tracker for the bars under the rectangle (or point), which are majorized first; out
  // stays empty when there is no bar there or no tracker factory.
  void AcquireTracker(const kivcore::Rect& rect, std::unique_ptr<Tracker>& out);
  void AcquireTracker(int x, int y, std::unique_ptr<Tracker>& out);
  // The first broken invariant of the tree (parent pointers, managers), or an empty string.
  // A splitter may lack one child or both.
  std::string CheckStructure() const;
  // Asserts CheckStructure() in debug builds.
  void AssertStructureOK() const;
  // The tree in the Graphviz dot language.
  void DumpToGraphvis(std::ostream& out) const;
  // Placeholders in order of removal.
  std::vector<FrameDataProxy*> GetPlaceholders() const;

  // --- drop zones and previews ---
  // The six zones of a frame (top, left, bottom, right, centre, tab well) for its rectangle
  // in global coordinates; exclusions (top, left, bottom, right) narrow them where the
  // window's edge zones overlap the frame.
  std::vector<DropZone> GetDropZones(Frame* frame, const kivcore::Rect& frameRect,
                                     const std::vector<int>& exclusions) const;
  // The rectangle dragged would get beside target, worked out on a copy of the tree; the
  // real tree and its frame hosts are not touched. Empty when this kind of manager makes
  // no preview copies.
  kivcore::Rect PreviewAddFrame(Frame* target, InsertionType type, Frame* dragged) const;
  // The rectangle neighbour (by default the removed frame's sibling frame) would get if
  // removed were taken out, worked out on a copy of the tree.
  kivcore::Rect PreviewRemoveFrame(Frame* removed, Frame* neighbour) const;

  bool LayoutEnabled() const { return host_->GetLayoutEnabled(); }
  bool SplitterSnappingEnabled() const { return host_->GetSplitterSnappingEnabled(); }
  int GetTabMinWidth() const { return host_->GetTabMinWidth(); }
  int GetTabMinHeight() const { return host_->GetTabMinHeight(); }
  LayoutManagerHostInterface* GetHostInterface() const { return host_; }

  // The recursive step of every layout.
  void FitNodeToRect(LayoutManagerElement* element, kivcore::Rect rect, kivcore::Rect outer,
                     bool constrain, bool leftGoverns, bool keepPixels, kivcore::Point* delta);
  FrameZones ConstructFrameZones(const kivcore::Rect& rect) const;
  // Runs the preparation step over element's subtree; returns whether any frame in it is
  // shown. Frames take their constraint from the nearest snap size.
  bool PrepareForLayout(LayoutManagerElement* element);

  void LayoutSplitterChild(Splitter* splitter, LayoutManagerElement* child, bool constrain,
                           bool isLeftOrTop, bool leftGoverns, bool keepPixels, bool updateNow,
                           kivcore::Point* delta);
  void LayoutSplitterChildren(Splitter* splitter, bool constrain, bool keepPixelsLeftOrTop,
                              bool keepPixelsRightOrBottom, kivcore::Point* delta);

  void MajorizeSplitter(Splitter* splitter);
  Splitter* FindMajorSplitter(Splitter* splitter) const;

  std::vector<Splitter*> GetSplitters() const;
  std::vector<Frame*> GetFrames() const;
  bool HasSplittersWithinRect(const kivcore::Rect& rect) const;
  std::vector<Splitter*> FindAllSplittersInSameRowCol(Splitter* splitter) const;
  CursorType HitCheckCursor(int x, int y) const;
  // Candidate bars of the given orientation for a dragged bar, outside exclude; the caller
  // owns what is appended.
  void FindAdjacentSnapPoints(Splitter* dragged, bool vertical, int a, int b,
                              const std::vector<Splitter*>& exclude,
                              std::vector<std::unique_ptr<SnapPoint>>& out) const;

  // Non-zero while a measuring scope is open: splitters may then cache their combined
  // minimum, constraint and stretchiness, which cannot change until the scope closes.
  std::uint32_t GetMeasureEpoch() const { return measureEpoch_; }
  // A splitter's measurements, taken inside a measuring scope.
  Measurements MeasureInScope(const Splitter& splitter) const;
  // Lets a test bring the epoch counter to its end to see it start again.
  void SetMeasureEpochCounterForTesting(std::uint32_t value) { nextMeasureEpoch_ = value; }

 protected:
  LayoutManager(const LayoutManager& other, LayoutManagerHostInterface* host, Splitter* rootHolder,
                const kivcore::Rect& containingRect);
  // The last step of every concrete Layout: the maximized frame gets rect, or else the
  // tree is prepared (when recompute is set) and fitted to it, with delta unless (0, 0).
  void LayoutTreeIn(const kivcore::Rect& rect, bool constrain, bool recompute, bool keepPixels,
                    kivcore::Point delta);
  virtual std::unique_ptr<LayoutManager> CreateLayoutManager(const LayoutManager& other,
                                                             LayoutManagerHostInterface* host,
                                                             Splitter* rootHolder,
                                                             const kivcore::Rect& rect) const;

  // Opens a measuring scope for its lifetime. Scopes nest and share the outermost one's
  // cache, except a fresh scope (opened around a step that changes visibility flags),
  // which starts a new cache and leaves a new one behind for the scope around it.
  class MeasureScope {
   public:
    explicit MeasureScope(const LayoutManager& m, bool fresh = false);
    ~MeasureScope();
    MeasureScope(const MeasureScope&) = delete;
    MeasureScope& operator=(const MeasureScope&) = delete;
    // A fresh scope's epoch for the scope around it, from its end on.
    std::uint32_t EpochAfter() const { return after_; }

   private:
    const LayoutManager& manager_;
    bool outermost_;
    bool fresh_;
    std::uint32_t after_ = 0;
  };

 private:
  struct PreviewCopy;
  std::unique_ptr<PreviewCopy> MakePreviewCopy() const;
  // The rectangle the tree occupies: the root's location.
  kivcore::Rect TreeRect() const;
  // What the preparation of an element tells its parent: its minimum size before the
  // preparation, its measurements after it, and whether it shows a frame.
  struct Prepared {
    kivcore::Point minimumBefore;
    Measurements measured;
    bool shown = false;
  };
  Prepared Prepare(LayoutManagerElement* element, std::uint32_t epochAfter);
  Prepared PrepareLeaf(LayoutManagerElement* element);
  // Saves the splitter's placement state, sets its visible flags from its prepared
  // children a (left-or-top) and b, and reports it in out.
  void FinishPreparing(Splitter* s, const Prepared& a, const Prepared& b, std::uint32_t epochAfter,
                       Prepared& out);
  void DestroySplitter(Splitter* splitter);
  void RemovePlaceholder(FrameDataProxy* placeholder);
  // What stays the same along one fitting pass, and one element waiting to be fitted.
  struct FitPass;
  struct FitStep;
  FitPass MakeFitPass(bool constrain, bool leftGoverns) const;
  FrameZones ConstructFrameZones(const FitPass& pass, const kivcore::Rect& rect) const;
  // Fits a splitter to step's rectangle and replaces step by its first child to fit, with
  // the second one left on pending; false when neither side is present.
  template <typename Pending>
  bool FitSplitter(const FitPass& pass, Splitter* s, FitStep& step, Pending& pending);
  // Moves the bar of a splitter with both sides present and returns its pixel. a comes in
  // as the splitter's own step with the left-or-top child as element, b as the step of the
  // right-or-bottom child; both leave with their deltas and keepPixels flags.
  int PlaceBar(const FitPass& pass, Splitter* s, FitStep& a, FitStep& b);
  // a and b are the measurements of the splitter's children.
  void ConstrainSplitter(Splitter* s, bool leftGoverns, const kivcore::Point* delta,
                         const Measurements& a, const Measurements& b);
  // The two halves of a splitter's location at its bar (the whole location for each when a
  // side is missing).
  void SplitLocation(const Splitter* s, kivcore::Rect& leftOrTop,
                     kivcore::Rect& rightOrBottom) const;
  std::vector<Splitter*> FindSplittersContainingRect(const kivcore::Rect& rect) const;
  // Pre-order visit of the splitters with both sides present.
  template <typename Visit>
  void ForEachVisibleSplitter(Visit&& visit) const;

  LayoutManagerHostInterface* host_;
  std::unique_ptr<Splitter> rootHolder_;
  kivcore::Rect containingRect_;
  int borderSize_;
  int splitterHalfWidth_;
  int userAdjusting_ = 0;
  std::vector<std::unique_ptr<FrameDataProxy>> reanimationList_;
  Frame* maximizedFrame_ = nullptr;
  std::vector<Frame*> hiddenByMaximize_;
  SplitterPool splitters_;

  mutable std::uint32_t measureEpoch_ = 0;
  mutable std::uint32_t nextMeasureEpoch_ = 0;
  // The next measuring epoch; when the counter starts again, every cached measurement of
  // the manager's splitters is forgotten so that no old epoch can match.
  std::uint32_t NextMeasureEpoch() const;
};

}  // namespace kivworkspace::workspace
