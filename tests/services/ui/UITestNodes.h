#pragma once
// Nodes and windows that record what reaches their hooks.

#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_Container.h"
#include "services/ui/window/OS_Window.h"

#include <string>
#include <vector>

namespace kivtest {

struct HookLog {
  std::vector<kivui::MouseEvent> mouse;
  std::vector<const kivui::UI_Node*> mouseTargets;
  std::vector<kivui::KeyboardEvent> keys;
  std::vector<int> timers;
  std::vector<bool> focus;  // true gained, false lost
  int captureLost = 0;
  int sizeChanges = 0;

  std::vector<kivui::MouseEvent::Action> Actions() const {
    std::vector<kivui::MouseEvent::Action> actions;
    for (const auto& m : mouse) actions.push_back(m.action);
    return actions;
  }
};

// A container that records its hooks; it handles mouse events when `handles` is set.
template <typename Base = kivui::UI_Container>
class Recording : public Base {
 public:
  explicit Recording(std::string id, bool handles = true) : handles_(handles) { this->SetNodeID(std::move(id)); }

  HookLog log;
  bool wantsFocus = false;

  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& e) override {
    if (e.action == kivui::MouseEvent::kEnter || e.action == kivui::MouseEvent::kLeave) return false;
    log.mouse.push_back(e);
    log.mouseTargets.push_back(target);
    return handles_;
  }
  bool UI_DoKeyboardEvent(const kivui::KeyboardEvent& e) override {
    log.keys.push_back(e);
    return handles_;
  }
  void UI_DoTimerNotify(int id) override { log.timers.push_back(id); }
  void UI_FocusChanged(kivui::FocusChangeReason) override { log.focus.push_back(this->UI_HasKeyboardFocus()); }
  void UI_CaptureLost() override { ++log.captureLost; }
  void UI_SizeChanged(const kivcore::RectF&) override { ++log.sizeChanges; }
  bool UI_WantsKeyboardFocus() const override { return wantsFocus; }

 private:
  bool handles_;
};

using RecordingNode = Recording<kivui::UI_Container>;
using RecordingWindow = Recording<kivui::OS_Window>;

// A shown top-level window with its content rectangle at `rect`.
inline std::shared_ptr<RecordingWindow> MakeWindow(const std::string& id, const kivcore::Rect& rect,
                                                   kivui::OS_Window::Kind kind = kivui::OS_Window::kMainWindow) {
  auto window = std::make_shared<RecordingWindow>(id);
  window->UI_CreateWindow(id, nullptr, rect, kind);
  window->UI_Show(true);
  return window;
}

}  // namespace kivtest
