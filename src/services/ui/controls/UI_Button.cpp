#include "services/ui/controls/UI_Button.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/UI_NodeManager.h"

namespace kivui {
namespace {
constexpr int kRepeatTimer = 1;
}

int GetDefaultButtonRepeatDelay() { return 400; }
int GetDefaultButtonRepeatInterval() { return 60; }

UI_Button::UI_Button(std::string text) : UI_Node("UI_Button"), text_(std::move(text)) {}

UI_Button::~UI_Button() = default;

void UI_Button::SetText(std::string text) {
  text_ = std::move(text);
  UI_Invalidate();
}

void UI_Button::SetSelected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  UI_Invalidate();
}

void UI_Button::SetDefault(bool isDefault) {
  default_ = isDefault;
  UI_Invalidate();
}

void UI_Button::Fire() {
  if (toggle_) SetSelected(!selected_);
  if (onClick) onClick();
}

bool UI_Button::UI_DoMouseEvent(UI_Node*, const MouseEvent& e) {
  switch (e.action) {
    case MouseEvent::kEnter:
    case MouseEvent::kLeave:
      hovered_ = e.action == MouseEvent::kEnter;
      UI_Invalidate();
      return true;
    case MouseEvent::kDown:
      if (e.button != MouseEvent::kPrimary || !IsEnabled()) return false;
      pressed_ = inside_ = true;
      UI_NodeManager::Get().BeginCapture(this);
      if (repeating_) {
        Fire();
        UI_StartTimer(kRepeatTimer, GetDefaultButtonRepeatDelay(), false);
      }
      UI_Invalidate();
      return true;
    case MouseEvent::kMove:
      if (pressed_ && inside_ != GetLocalBounds().Contains(e.local)) {
        inside_ = !inside_;
        UI_Invalidate();
      }
      return pressed_;
    case MouseEvent::kUp: {
      if (!pressed_) return false;
      const bool click = GetLocalBounds().Contains(e.local);
      pressed_ = false;
      UI_StopTimer(kRepeatTimer);
      UI_NodeManager::Get().EndCapture(this);
      UI_Invalidate();
      if (click && !repeating_) Fire();
      return true;
    }
    default:
      return false;
  }
}

void UI_Button::UI_DoTimerNotify(int id) {
  if (id != kRepeatTimer || !pressed_) return;
  if (inside_) Fire();
  UI_StartTimer(kRepeatTimer, GetDefaultButtonRepeatInterval(), false);
}

void UI_Button::UI_CaptureLost() {
  pressed_ = false;
  UI_StopTimer(kRepeatTimer);
  UI_Invalidate();
}

void UI_Button::DrawFace(Drawbot& d, const kivcore::RectF& r) const {
  const ThemeColors& theme = ThemeColors::Current();
  Color face = IsPressed() ? theme.buttonPressed : hovered_ ? theme.buttonHover : theme.button;
  if (selected_ || default_) face = IsPressed() ? utility::Darken(theme.accent, 0.2f) : theme.accent;
  d.FillRoundedRect(r, 3, face);
  d.FrameRoundedRect(r, 3, utility::Darken(face, 0.35f));
}

void UI_Button::DrawContent(Drawbot& d, const kivcore::RectF& r) const {
  const ThemeColors& theme = ThemeColors::Current();
  const Color text = !IsEnabled() ? theme.textDisabled
                     : (selected_ || default_) ? theme.accentText
                                               : theme.text;
  d.DrawText(text_, r, Font::UI(12), text, kAlignCenter | kElideRight);
}

void UI_Button::UI_Draw(Drawbot& d, const kivcore::RectF&) {
  const kivcore::RectF b = GetLocalBounds();
  DrawFace(d, b);
  DrawContent(d, b);
}

}  // namespace kivui
