#include "sharedui/PopupToolDelayCapture.h"

#include "services/ui/node/UI_NodeManager.h"
#include "sharedui/ToolPictureButton.h"

namespace kivworkspace::sharedui {

PopupToolDelayCapture::PopupToolDelayCapture(ToolPictureButton& button, int delayMs, bool changed)
    : timerId_(kivui::UI_NodeManager::Get().GetUniqueTimerID()), delayMs_(delayMs), changed_(changed), button_(button) {}

void PopupToolDelayCapture::Begin() {
  kivui::UI_NodeManager::Get().BeginCapture(&button_);
  button_.UI_StartTimer(timerId_, delayMs_, false);
}

bool PopupToolDelayCapture::Finish() {
  if (done_) return false;
  done_ = true;
  button_.UI_StopTimer(timerId_);
  kivui::UI_NodeManager::Get().EndCapture(&button_);
  return true;
}

// The press's change is reported before the pop-up opens: the pop-up runs modally, and the
// choice made in it comes after the press. The button may replace its capture while the
// pop-up is open: nothing of this object is used after the button is called.
void PopupToolDelayCapture::DelayPassed() {
  if (!Finish()) return;
  ToolPictureButton& button = button_;
  const bool changed = changed_;
  if (changed) button.UserChangedTool();
  button.PopupTool(changed, false);
}

void PopupToolDelayCapture::Released() {
  if (!Finish()) return;
  ToolPictureButton& button = button_;
  button.PopupTool(changed_, true);
}

}  // namespace kivworkspace::sharedui
