#pragma once

#include "layout/DropZone.h"
#include "services/core/RectT.h"
#include "workspace/drag/OS_TabDragger.h"
#include "workspace/core/TabPanel.h"
#include "workspace/drag/Tracker.h"

#include <memory>
#include <vector>

namespace kivworkspace::workspace {

class TopLevelWindow;
class WorkspaceFrame;

// Drags one tab, or a whole frame, out of its frame. Once the pointer has moved more than
// five pixels the tab leaves its frame for an interim drag window that follows the pointer;
// the window under the pointer shows the drop zones there (a frame's sides, centre and tab
// well, or one of its own edges) with a preview of where the panels would land, and the
// release docks them where the active zone says. Released outside every zone, or with the
// docking modifier held, the drag window stays as a floating window. Escape or a lost
// capture ends the drag without docking.
class TabDragger : public OS_TabDragger, public Tracker {
 public:
  TabDragger(WorkspaceFrame* source, bool wholeFrame, unsigned tabIndex);
  ~TabDragger() override;

  bool Begin(kivcore::Point global) override;
  bool Track(kivcore::Point global) override;
  void End(bool cancelled) override;
  // Escape cancels; any other key counts as a move to where the pointer is, so that
  // pressing or releasing the docking modifier shows or hides the zones at once.
  KeyOutcome DoKeyEvent(const kivui::KeyboardEvent& event) override;

  WorkspaceFrame* GetSourceFrame() const { return source_.get(); }
  // The window the drag came from (null once it has gone).
  TopLevelWindow* GetSourceWindow() const;
  unsigned GetSourceTabCount() const { return sourceTabCount_; }
  bool IsWholeFrame() const { return wholeFrame_; }
  bool HasDragStarted() const { return started_; }
  bool IsUndocked() const { return undocked_; }
  DropZone::DropType GetActiveDropType() const { return activeType_; }
  unsigned GetInsertionIndex() const { return insertionIndex_; }
  TopLevelWindow* GetTargetWindow() const { return targetWindow_; }
  WorkspaceFrame* GetTargetFrame() const { return targetFrame_; }
  TopLevelWindow* GetDragWindow() const { return dragWindow_.get(); }
  // Where a drop now would put the panels (global); empty over no zone.
  const kivcore::Rect& GetPreviewRect() const { return preview_; }

 private:
  void Move(kivcore::Point global);
  void FindTarget(kivcore::Point global);
  void Undock();
  // Takes the interim window that holds the dragged frame as the drag window.
  void AdoptCarrierWindow();
  void KeepKeysComing();
  void UpdateDropZones(kivcore::Point global, bool edgeHit, bool docking);
  void SetActiveType(DropZone::DropType type);
  kivcore::Rect ComputePreview() const;
  // Moves what the drag window carries where the active zone says; true when it docked.
  bool Drop();
  std::vector<TabPanelPtr> TakeCarriedPanels();
  // The drag window's frame, out of that window.
  std::shared_ptr<WorkspaceFrame> TakeCarriedFrame();
  void DestroyOverlay();
  void FinishDragWindow(bool docked);

  std::shared_ptr<WorkspaceFrame> source_;
  std::weak_ptr<TopLevelWindow> sourceWindow_;
  unsigned sourceTabCount_ = 0;
  TopLevelWindow* targetWindow_ = nullptr;
  WorkspaceFrame* targetFrame_ = nullptr;
  std::weak_ptr<TopLevelWindow> overlayWindow_;  // the window showing this drag's overlay
  kivcore::Point press_;
  kivcore::Point current_;
  unsigned tabIndex_;
  bool wholeFrame_;
  TabPanelPtr draggedPanel_;  // the pressed tab's panel (the front one for a frame)
  bool started_ = false;
  bool undocked_ = false;
  int dropping_ = 0;  // above 0 while a drop is performed
  bool notified_ = false;
  DropZone::DropType activeType_ = DropZone::kNone;
  unsigned insertionIndex_ = 0;
  kivcore::Rect preview_;
  std::shared_ptr<TopLevelWindow> dragWindow_;
};

}  // namespace kivworkspace::workspace
