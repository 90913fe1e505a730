#pragma once

#include "layout/LayoutManager.h"

#include <map>
#include <vector>

namespace kivworkspace::workspace {

class SecondaryUIFrame;

// The manager of touch windows: any number of static border frames per side, secondary
// border elements along the left, and static frames that fill the centre (key kCentre).
class TouchLayoutManager : public LayoutManager {
 public:
  explicit TouchLayoutManager(LayoutManagerHostInterface* host);

  void Layout(const kivcore::Rect& rect, bool constrain, bool recompute, bool keepPixels) override;
  void SetStaticBorderFrame(Frame* frame, const kivcore::Rect& rect, InsertionType side,
                            bool layoutNow) override;
  void RemoveStaticBorderFrame(Frame* frame, const kivcore::Rect& rect, bool layoutNow) override;
  bool HasStaticBorderFrame(InsertionType side) const override;
  Frame* GetStaticBorderFrame(InsertionType side) const override;
  std::vector<Frame*> GetStaticBorderFrames(InsertionType side) const;
  InsertionType GetInsertionType(const Frame* frame) const override;
  void ChangeInsertionType(Frame* frame, InsertionType side) override;
  void ShowAllBorderFrames(bool show, const kivcore::Rect&, const kivcore::Rect&) override;
  void SetSecondaryBorderFrame(SecondaryUIFrame* frame, const kivcore::Rect& rect,
                               InsertionType side, bool layoutNow);
  void RemoveSecondaryBorderFrame(SecondaryUIFrame* frame, const kivcore::Rect& rect,
                                  bool layoutNow);
  // The rectangle the last Layout left for the tree.
  const kivcore::Rect& GetLastCentreFrame() const { return lastCentre_; }

 protected:
  TouchLayoutManager(const LayoutManager& other, LayoutManagerHostInterface* host,
                     Splitter* rootHolder, const kivcore::Rect& rect);
  std::unique_ptr<LayoutManager> CreateLayoutManager(const LayoutManager& other,
                                                     LayoutManagerHostInterface* host,
                                                     Splitter* rootHolder,
                                                     const kivcore::Rect& rect) const override;

 private:
  std::map<InsertionType, std::vector<Frame*>> borderFrames_;
  kivcore::Rect lastCentre_;
  std::map<InsertionType, std::vector<SecondaryUIFrame*>> secondaryFrames_;
};

}  // namespace kivworkspace::workspace
