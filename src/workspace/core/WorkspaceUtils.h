#pragma once

#include "workspace/core/TabPanel.h"

#include <cstdint>
#include <list>
#include <mutex>
#include <string>

namespace kivui {
class OS_Window;
}

namespace kivworkspace::workspace {

class TopLevelWindow;
class Workspace;

// Finding panels and windows, closing and reopening panels by type, and maximizing frames.
// The walks go through the workspace's windows in child order, each window's frames and
// each frame's open panels in tab order; hidden panels and removed-panel records are never
// visited. VisitEachTab sees tabbed frames only; the finders see every frame of a window,
// the tabless frames of the panels pinned to its sides included. UI thread only.
namespace WorkspaceUtils {

// Called with each panel of a walk; return false to stop it.
class TabVisitor {
 public:
  TabVisitor() = default;
  TabVisitor(const TabVisitor&) = default;
  TabVisitor& operator=(const TabVisitor&) = default;
  virtual ~TabVisitor() = default;
  virtual bool Visit(TabPanel& panel) = 0;
};

class ConstTabVisitor {
 public:
  ConstTabVisitor() = default;
  ConstTabVisitor(const ConstTabVisitor&) = default;
  ConstTabVisitor& operator=(const ConstTabVisitor&) = default;
  virtual ~ConstTabVisitor() = default;
  virtual bool Visit(const TabPanel& panel) = 0;
};

// The process-wide lock every walk below holds while it runs. It is recursive, so a walk
// started from inside a visitor does not block; a host may hold it to make several calls
// one step.
std::recursive_mutex& GetTabWalkLock();

// --- Walks and finders.

// Visits the panels of every tabbed frame of every window. Returns the visitor's last
// answer: true when the walk ran to the end. Panels a visitor closes or moves before the
// walk reaches them are not visited in their old place.
bool VisitEachTab(const Workspace& workspace, TabVisitor& visitor);
bool VisitEachTab(const Workspace& workspace, ConstTabVisitor& visitor);

TabPanel* FindTabFromTabPanelID(const Workspace& workspace, std::uint32_t id);
// The first open panel of the type in the window's frames (child order, then tab order),
// a panel pinned to one of its sides included; `index` receives its position in its frame.
TabPanel* FindFirstTabOfType(const TopLevelWindow& window, const std::string& type,
                             int* index = nullptr);
// The same over the windows in child order.
TabPanel* FindFirstTabOfType(const Workspace& workspace, const std::string& type,
                             int* index = nullptr);
// Appends every open panel of the type, and when asked, its position in its frame.
void FindAllTabsOfType(const Workspace& workspace, const std::string& type,
                       std::list<TabPanel*>& panels, std::list<int>* indices = nullptr);
// By the panel's node ID (its tab type unless the host gave it another); null for an
// empty ID.
TabPanel* FindTabFromID(const TopLevelWindow& window, const std::string& id);
TabPanel* FindTabFromID(const Workspace& workspace, const std::string& id);
TopLevelWindow* FindTopLevelWindowFromID(const Workspace& workspace, const std::string& id);

// Whether the panel is open in the window where the user can see it, and whether it is
// its frame's front panel. With `considerMaximized`, a window with a maximized frame shows
// only that frame's panels.
bool TabIsShownInTLW(const TopLevelWindow& window, const TabPanel& panel, bool& frontmost,
                     bool considerMaximized);
// The same over all windows, minding maximized frames. By type: whether any panel of the
// type is shown, and whether any shown one is in front.
bool TabIsShown(const Workspace& workspace, const std::string& type, bool& frontmost);
bool TabIsShown(const Workspace& workspace, const TabPanel& panel, bool& frontmost);

// --- Maximizing.

bool CanHaveMaximizedFrame(const TopLevelWindow* window);
// Maximizes the frame and focuses its front panel, or, when the frame's window already
// has a maximized frame, restores the layout. False (nothing done) when the window has
// fewer than two frames.
bool ToggleThisFrameMaximizationState(Workspace& workspace, WorkspaceFrameBase* frame);
// The same for the frame under the mouse pointer; false when there is none.
bool ToggleFrameMaximizationState(Workspace& workspace);

// --- Closing and reopening.

// Closes the panel as the user would when it is in a tabbed frame: a panel that refuses to
// close (AllowClose) stays; one that hides when closed is kept hidden in its frame, others
// leave a record there to come back from.
void CloseTab(Workspace& workspace, const TabPanelPtr& panel);
// Brings back a closed panel of the type where it was (in its frame, its frame in its
// window, or its closed window), else opens a new one in a new floating window. Returns
// the panel, or null when the type has no creator.
TabPanel* CreateOrReanimateTab(Workspace& workspace, const std::string& type);

// Moves the keyboard focus to the next (or previous) panel of the focus cycle, wrapping
// around; false when there is no panel to focus. The cycle holds every panel that takes
// the keyboard focus in every shown tabbed frame (only the maximized one in a window that
// has one), window by window in child order, frames in layout order (left to right, top to
// bottom, as the tree splits), panels in tab order. Background tabs are part of it, so
// every panel can be reached from the keyboard.
bool ChangeFocusTabPanel(Workspace& workspace, bool forward);

// The Window menu's toggle. For the first open panel of the type: a maximized frame that
// hides it is restored (and the panel fronted and focused when it was behind another tab);
// otherwise a panel behind another tab is fronted and focused; with `focusIfShown`, a front
// panel without the focus is focused; otherwise the panel is closed as CloseTab does. When
// no panel of the type is open, one comes back from its frame's records, then from a closed
// frame of its window, then from a closed window, and failing all those a new floating
// window holds a new panel.
void ToggleTabState(Workspace& workspace, const std::string& type, bool focusIfShown);
// The tool bar's toggle: the main window's top element goes when there is one; otherwise a
// panel of the type that is open or can come back is toggled as ToggleTabState does, and
// failing that the type becomes the main window's top element.
void ToggleToolbarTabState(Workspace& workspace, const std::string& type);
// The status bar's toggle: the main window's bottom element goes, or the type becomes it.
void ToggleStatusbarTabState(Workspace& workspace, const std::string& type);
// The same for one panel: a front panel is closed unless `focusIfShown` is set and it lacks
// the focus; a closed panel comes back as itself, in a new floating window when it was
// kept nowhere else.
void ToggleTabState(Workspace& workspace, const TabPanelPtr& panel, bool focusIfShown);

// --- Windows.

// The main top-level window among all the windows the UI framework knows, or null.
TopLevelWindow* FindMainTopLevelWindow();
// The window a modal dialog should be owned by: the modal window in progress, else the
// main top-level window; null when there is neither.
kivui::OS_Window* GetModalDialogParentNode();

}  // namespace WorkspaceUtils
}  // namespace kivworkspace::workspace
