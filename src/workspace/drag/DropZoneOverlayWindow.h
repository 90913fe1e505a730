#pragma once

#include "layout/DropZone.h"
#include "services/ui/draw/Color.h"
#include "workspace/windows/OS_OverlayWindow.h"

#include <memory>
#include <vector>

namespace kivworkspace::workspace {

class TabDragger;
class TopLevelWindow;

// A transparent window over a target window while a tab is dragged across it: it draws
// the drop zones it was made for (a frame's six, or one window-edge trapezoid), the active
// zone highlighted, and the rectangle the dragged panels would take if dropped now. Input
// passes through it. Its rectangle (GetGlobalRect) is the area whose zones it answers.
// The native window covers that frame for a frame's zones (the drop stays within it) and
// the target's whole client area for an edge's (the drop spans the window).
class DropZoneOverlayWindow : public OS_OverlayWindow {
 public:
  DropZoneOverlayWindow(TopLevelWindow* target, TabDragger* dragger,
                        const kivcore::Rect& globalRect, std::vector<DropZone> zones);
  ~DropZoneOverlayWindow() override;

  // Makes the native window; raises the overlay errors for an empty target area.
  void CreateOverTarget();

  const kivcore::Rect& GetGlobalRect() const { return globalRect_; }
  std::size_t GetZoneCount() const { return zones_.size(); }
  const std::vector<DropZone>& GetZones() const { return zones_; }
  TopLevelWindow* GetTargetWindow() const { return target_; }
  TabDragger* GetDragger() const { return dragger_; }

  DropZone::DropType GetActiveDropZone() const { return active_; }
  // The first zone (in list order) whose polygon contains the point becomes the active
  // one; none (0) when no zone does.
  DropZone::DropType DropZoneFromPoint(kivcore::Point global);

  // Where the dragged panels would land (global), drawn over the zones; empty for none.
  void SetPreviewRect(const kivcore::Rect& global);
  const kivcore::Rect& GetPreviewRect() const { return preview_; }
  // The drag dropped on this overlay: it draws nothing more.
  void DropPerformed();

  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;

 protected:
  void SetActiveDropZone(DropZone::DropType type) { active_ = type; }

 private:
  static void FillZone(kivui::Drawbot& d, const std::vector<kivcore::PointF>& polygon,
                       kivui::Color colour);
  static void FrameZone(kivui::Drawbot& d, const std::vector<kivcore::PointF>& polygon,
                        kivui::Color colour);

  kivcore::Rect globalRect_;
  std::vector<DropZone> zones_;
  DropZone::DropType active_ = DropZone::kNone;
  TopLevelWindow* target_;
  TabDragger* dragger_;
  kivcore::Rect preview_;
  kivcore::Point origin_;  // the native window's top left, global
  bool dropped_ = false;
};

using DropZoneOverlayPtr = std::shared_ptr<DropZoneOverlayWindow>;

}  // namespace kivworkspace::workspace
