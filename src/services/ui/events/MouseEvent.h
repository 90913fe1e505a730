#pragma once

#include "services/core/PointT.h"
#include "services/ui/events/ModKeys.h"

namespace kivui {

// A mouse event as a node's UI_DoMouseEvent hook sees it. Positions are in the receiving
// node's local coordinates and in global (screen) coordinates.
struct MouseEvent {
  enum Action {
    kMove = 0,
    kDown = 1,
    kUp = 2,
    kEnter = 3,
    kLeave = 4,
    kWheel = 5,
  };
  enum Button {
    kNoButton = 0,
    kPrimary = 1,    // left
    kSecondary = 2,  // right
    kMiddle = 3,
  };
  enum Origin {
    kFromMouse = 0,
    kFromPen = 1,
    kFromTouch = 2,
  };

  Action action = kMove;
  Button button = kNoButton;
  // Buttons held during the event, as (1 << Button) flags.
  unsigned buttonsDown = 0;
  int clickCount = 0;  // 1 for a single press, 2 for the press of a double click
  ModKeys modKeys = kModNone;
  Origin origin = kFromMouse;
  kivcore::PointF local;
  kivcore::PointF global;
  float wheelDelta = 0;  // in notches, positive away from the user

  bool IsDoubleClick() const { return action == kDown && clickCount >= 2; }
  // The press that asks for a context menu: the secondary button.
  bool IsContextClick() const { return action == kDown && button == kSecondary; }
  bool IsButtonDown(Button b) const { return (buttonsDown & (1u << b)) != 0; }
  bool IsFromPenOrTouch() const { return origin != kFromMouse; }
  kivcore::Point LocalPoint() const { return {int(local.x), int(local.y)}; }
  kivcore::Point GlobalPoint() const { return {int(global.x), int(global.y)}; }
};

}  // namespace kivui
