#pragma once

#include "services/ui/node/UI_Node.h"

#include <functional>
#include <string>

namespace kivui {

// Milliseconds before a held repeating button fires again, then the interval between fires.
int GetDefaultButtonRepeatDelay();
int GetDefaultButtonRepeatInterval();

// A push button drawn by the library. A repeating button fires on press and then again
// while held; a toggle button flips its selected state on every click.
class UI_Button : public UI_Node {
 public:
  explicit UI_Button(std::string text = {});
  ~UI_Button() override;

  void SetText(std::string text);
  const std::string& GetText() const { return text_; }
  void SetRepeating(bool repeating) { repeating_ = repeating; }
  void SetToggle(bool toggle) { toggle_ = toggle; }
  void SetSelected(bool selected);
  bool IsSelected() const { return selected_; }
  // The default button of a dialog is drawn in the accent colour.
  void SetDefault(bool isDefault);

  std::function<void()> onClick;

  void UI_Draw(Drawbot& drawbot, const kivcore::RectF& dirty) override;
  bool UI_DoMouseEvent(UI_Node* target, const MouseEvent& event) override;
  void UI_DoTimerNotify(int id) override;
  void UI_CaptureLost() override;

 protected:
  // The face behind the content, in the button's state.
  void DrawFace(Drawbot& drawbot, const kivcore::RectF& r) const;
  virtual void DrawContent(Drawbot& drawbot, const kivcore::RectF& r) const;
  bool IsPressed() const { return pressed_ && inside_; }
  bool IsHovered() const { return hovered_; }

 private:
  void Fire();

  std::string text_;
  bool repeating_ = false;
  bool toggle_ = false;
  bool selected_ = false;
  bool default_ = false;
  bool pressed_ = false;
  bool inside_ = false;
  bool hovered_ = false;
};

}  // namespace kivui
