#pragma once
// Hosts for layout tests: frame hosts and a window host that record every call, and a
// manager whose Layout fits the root to the rectangle.

#include "layout/Frame.h"
#include "layout/LayoutManager.h"
#include "layout/Splitter.h"

#include <memory>
#include <string>
#include <vector>

namespace kivtest {

using kivcore::Point;
using kivcore::Rect;
namespace ws = kivworkspace::workspace;

// Every call to any recording host, in order ("frame 3 SetSizeAndPos", "UpdateNow").
struct CallLog {
  std::vector<std::string> calls;
};

class RecordingFrameHost : public ws::FrameHostInterface {
 public:
  RecordingFrameHost(CallLog* log, int id, Point minimum = {0, 0}) : log_(log), id_(id), minimum_(minimum) {}

  void SetSizeAndPos(const ws::FrameZones& zones) override {
    Record("SetSizeAndPos");
    zones_ = zones;
    rect_ = zones[ws::FrameZones::kWhole];
    ++placed_;
  }
  void ShowFrame(bool show) override {
    Record("ShowFrame");
    shown_ = show;
  }
  bool IsFrameShown() const override { return shown_; }
  Point GetMinimumSize() const override { return minimum_; }
  void GetSnapSizes(std::vector<Point>& sizes) const override {
    sizes.insert(sizes.end(), snaps_.begin(), snaps_.end());
  }
  Rect FrameRectToTabPanelRect(const Rect& r) const override { return r; }
  Rect FrameRectToTabWellRect(const Rect& r) const override { return r; }
  Rect GetTabPanelFrameGlobalRect() const override { return rect_; }
  Rect GetFrameLocalRect() const override { return rect_; }
  Rect GetTabWellGlobalRect() const override { return rect_; }
  void* GetHostData() override { return this; }
  void DoGetTabData(ws::TabDataList& visible, ws::TabDataList& removed,
                    ws::TabDataList& hidden) const override {
    visible.insert(visible.end(), tabs_.begin(), tabs_.end());
    removed.insert(removed.end(), removedTabs_.begin(), removedTabs_.end());
    hidden.insert(hidden.end(), hiddenTabs_.begin(), hiddenTabs_.end());
  }
  void setTabs(ws::TabDataList visible, ws::TabDataList removed = {}, ws::TabDataList hidden = {}) {
    tabs_ = std::move(visible);
    removedTabs_ = std::move(removed);
    hiddenTabs_ = std::move(hidden);
  }

  int id() const { return id_; }
  const Rect& rect() const { return rect_; }
  const ws::FrameZones& zones() const { return zones_; }
  int placedCount() const { return placed_; }
  void setMinimum(Point m) { minimum_ = m; }
  void setSnaps(std::vector<Point> s) { snaps_ = std::move(s); }
  void setShown(bool shown) { shown_ = shown; }
  void setRect(Rect r) { rect_ = r; }

 private:
  void Record(const char* what) const {
    if (log_) log_->calls.push_back("frame " + std::to_string(id_) + " " + what);
  }

  CallLog* log_;
  int id_;
  Point minimum_;
  std::vector<Point> snaps_;
  bool shown_ = true;
  ws::TabDataList tabs_, removedTabs_, hiddenTabs_;
  Rect rect_;
  ws::FrameZones zones_;
  int placed_ = 0;
};

class RecordingWindowHost : public ws::LayoutManagerHostInterface {
 public:
  explicit RecordingWindowHost(CallLog* log = nullptr) : log_(log) {}
  void SuspendRedraws(bool) override { Record("SuspendRedraws"); }
  void UpdateNow() override { Record("UpdateNow"); }
  bool GetSplitterSnappingEnabled() override { return snapping; }
  bool GetLayoutEnabled() override { return layoutEnabled; }
  int GetTabMinHeight() override { return 20; }
  int GetTabMinWidth() override { return 40; }

  bool layoutEnabled = true;
  bool snapping = true;

 private:
  void Record(const char* what) {
    if (log_) log_->calls.push_back(what);
  }
  CallLog* log_;
};

// Fits the root element (or the maximized frame) to the rectangle, passing the change of
// the window's size since the last layout as the delta when it is not (0, 0), as the
// window managers do.
class TestLayoutManager : public ws::LayoutManager {
 public:
  using ws::LayoutManager::LayoutManager;

  void Layout(const Rect& rect, bool constrain, bool recompute, bool keepPixels) override {
    if (!LayoutEnabled()) return;
    const Rect previous = GetContainingRect();
    SetContainingRect(rect);
    LayoutTreeIn(rect, constrain, recompute, keepPixels,
                 {rect.width - previous.width, rect.height - previous.height});
  }

 protected:
  // Previews work on a copy in a manager of this kind.
  TestLayoutManager(const ws::LayoutManager& other, ws::LayoutManagerHostInterface* host,
                    ws::Splitter* rootHolder, const Rect& rect)
      : ws::LayoutManager(other, host, rootHolder, rect) {}
  std::unique_ptr<ws::LayoutManager> CreateLayoutManager(const ws::LayoutManager& other,
                                                         ws::LayoutManagerHostInterface* host,
                                                         ws::Splitter* rootHolder,
                                                         const Rect& rect) const override {
    return std::unique_ptr<ws::LayoutManager>(new TestLayoutManager(other, host, rootHolder, rect));
  }
};

// A tree under construction: frames with recording hosts, splitters from the manager.
class TreeBuilder {
 public:
  explicit TreeBuilder(ws::LayoutManager& manager, CallLog* log = nullptr) : manager_(manager), log_(log) {}

  ws::Frame* NewFrame(Point minimum = {0, 0}) {
    hosts_.push_back(std::make_unique<RecordingFrameHost>(log_, static_cast<int>(hosts_.size()), minimum));
    frames_.push_back(std::make_unique<ws::Frame>(&manager_, hosts_.back().get()));
    return frames_.back().get();
  }
  ws::Splitter* Split(bool vertical, ws::LayoutManagerElement* a, ws::LayoutManagerElement* b,
                      float placement = 0.5f) {
    ws::Splitter* s = manager_.NewSplitter(vertical);
    s->SetLeftOrTop(a);
    s->SetRightOrBottom(b);
    if (a) a->SetParent(s);
    if (b) b->SetParent(s);
    s->SetPlacement(placement);
    return s;
  }
  RecordingFrameHost& Host(const ws::Frame* f) {
    return *static_cast<RecordingFrameHost*>(f->GetHostInterface());
  }
  const std::vector<std::unique_ptr<RecordingFrameHost>>& Hosts() const { return hosts_; }

 private:
  ws::LayoutManager& manager_;
  CallLog* log_;
  std::vector<std::unique_ptr<RecordingFrameHost>> hosts_;
  std::vector<std::unique_ptr<ws::Frame>> frames_;
};

}  // namespace kivtest
