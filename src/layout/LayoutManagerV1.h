#pragma once

#include "layout/LayoutManager.h"

#include <map>

namespace kivworkspace::workspace {

// The manager of every desktop window: up to four static border frames along the window's
// edges and an optional static tabless frame, outside the splitter tree, then the rest of
// the window for the maximized frame or the tree.
class LayoutManagerV1 : public LayoutManager {
 public:
  explicit LayoutManagerV1(LayoutManagerHostInterface* host);

  void Layout(const kivcore::Rect& rect, bool constrain, bool recompute, bool keepPixels) override;
  // Lays out the last layout rectangle.
  void ReLayout(bool constrain, bool recompute, bool keepPixels) override;
  // Stores the frame for that side (null removes it and marks the side not resizable);
  // layoutNow lays out rect at once.
  void SetStaticBorderFrame(Frame* frame, const kivcore::Rect& rect, InsertionType side,
                            bool layoutNow) override;
  void SetStaticBorderFrameResizable(InsertionType side, bool resizable) override;
  bool HasStaticBorderFrame(InsertionType side) const override;
  Frame* GetStaticBorderFrame(InsertionType side) const override;
  void SetStaticTablessFrame(Frame* frame, const kivcore::Rect& rect, bool layoutNow) override;
  bool HasStaticTablessFrame() const override { return tablessFrame_ != nullptr; }
  Frame* GetStaticTablessFrame() const override { return tablessFrame_; }
  // Frames right under a resizable top bar get no top border.
  int GetEdgeSize(unsigned edge, bool isBorder) const override;

  // Places the left static frame as a second bar under the top one.
  void EnableLeftStaticBorderAsSecondTopFrame(bool enable) { leftAsSecondTop_ = enable; }
  bool GetEnableLeftStaticBorderAsSecondTopFrame() const { return leftAsSecondTop_; }
  const kivcore::Rect& GetLastLayoutRect() const { return lastLayoutRect_; }

 protected:
  LayoutManagerV1(const LayoutManager& other, LayoutManagerHostInterface* host,
                  Splitter* rootHolder, const kivcore::Rect& rect);
  std::unique_ptr<LayoutManager> CreateLayoutManager(const LayoutManager& other,
                                                     LayoutManagerHostInterface* host,
                                                     Splitter* rootHolder,
                                                     const kivcore::Rect& rect) const override;

 private:
  // Places a static frame at r and sends it its zones.
  void PlaceStatic(Frame* frame, const kivcore::Rect& r);
  bool IsResizable(InsertionType side) const;

  kivcore::Rect lastLayoutRect_;
  std::map<InsertionType, bool> resizable_;
  bool inStaticLayout_ = false;
  std::map<InsertionType, Frame*> borderFrames_;
  Frame* tablessFrame_ = nullptr;
  bool leftAsSecondTop_ = false;
};

}  // namespace kivworkspace::workspace
