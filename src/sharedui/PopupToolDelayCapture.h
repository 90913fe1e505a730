#pragma once

namespace kivworkspace::sharedui {

class ToolPictureButton;

// The press on a button with several tools, held until either the button repeat delay
// passes (the pop-up of the button's tools opens) or the mouse is released (the press acts
// as a click). It takes the mouse for its button while it lasts and acts once.
class PopupToolDelayCapture {
 public:
  PopupToolDelayCapture(ToolPictureButton& button, int delayMs, bool changed);

  // Takes the mouse and starts the timer.
  void Begin();
  // The timer fired first: the pop-up opens.
  void DelayPassed();
  // The mouse was released first.
  void Released();

  int GetTimerID() const { return timerId_; }
  int GetDelay() const { return delayMs_; }
  bool IsDone() const { return done_; }

 private:
  // Gives the mouse back; false when the capture had acted already.
  bool Finish();

  const int timerId_;
  const int delayMs_;
  const bool changed_;
  bool done_ = false;
  ToolPictureButton& button_;
};

}  // namespace kivworkspace::sharedui
