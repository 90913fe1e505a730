#pragma once

#include <deque>
#include <memory>

namespace kivworkspace::workspace {

class TopLevelWindow;
class Workspace;

// The windows of a workspace while a new arrangement replaces the old one: the existing
// windows are reused in child order (the floating ones hidden until reused, none left
// maximized), new ones are added when they run out, and those not reused go at the end
// without being remembered as closed.
class WindowRecycler {
 public:
  explicit WindowRecycler(Workspace& workspace);

  // The next unused window, else a new one (without an owner when there is no main window).
  TopLevelWindow& Next();
  // A window that ended empty is the next one reused.
  void GiveBack(TopLevelWindow& window);
  // Removes the floating windows not reused and empties an unused main window.
  void RemoveUnused();

 private:
  Workspace& workspace_;
  std::deque<std::shared_ptr<TopLevelWindow>> unused_;
};

}  // namespace kivworkspace::workspace
