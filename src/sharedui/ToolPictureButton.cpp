#include "sharedui/ToolPictureButton.h"

#include "services/ui/controls/UI_Button.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/MouseEvent.h"
#include "services/ui/node/ResourceManager.h"
#include "services/ui/node/UI_NodeManager.h"
#include "sharedui/PopupToolDelayCapture.h"
#include "sharedui/ToolsTab.h"

namespace kivworkspace::sharedui {

ToolPictureButton::ToolPictureButton(int buttonId, ToolPtr firstTool, kivui::ResourceManager& resources, bool independentToggle)
    : buttonId_(buttonId), resources_(resources), popupTimerId_(kivui::UI_NodeManager::Get().GetUniqueTimerID()), independentToggle_(independentToggle) {
  SetNodeID("ToolPictureButton");
  AddSubTool(std::move(firstTool));
}

ToolPictureButton::~ToolPictureButton() {
  for (const ToolPtr& tool : tools_) tool->SetParentButton(nullptr);
}

void ToolPictureButton::AddSubTool(ToolPtr tool) {
  tool->SetParentButton(this);
  tools_.push_back(std::move(tool));
  if (tools_.size() == 1) UpdateToolTip();
  UI_Invalidate();
}

ToolPtr ToolPictureButton::GetTool(int index) const {
  return index >= 0 && index < GetSubToolSize() ? tools_[std::size_t(index)] : nullptr;
}

bool ToolPictureButton::IsPressHeld() const { return capture_ && !capture_->IsDone(); }

int ToolPictureButton::IndexInTab() const { return tab_ ? tab_->IndexOfItem(this) : -1; }

void ToolPictureButton::ActivateButton(int toolIndex) {
  bool changed = ChangeButton();
  if (toolIndex != selected_) {
    SetSelectedToolIndex(toolIndex);
    changed = true;
  }
  if (changed) ToolChanged();
}

void ToolPictureButton::DeactivateSelectedButton(ToolsTab* tab) {
  if (!tab || tab->GetActiveButtonIndex() < 0) return;
  if (auto button = tab->GetToolPictureButton(tab->GetActiveButtonIndex())) {
    if (button->IsSelected()) button->SetSelected(false);
  }
  tab->SetActiveButtonIndex(-1);
}

bool ToolPictureButton::ChangeButton() {
  if (independentToggle_) {
    // The host's activation puts it down; the user's press flips it.
    SetSelected(handlingPress_ ? !IsSelected() : true);
    return true;
  }
  const int index = IndexInTab();
  if (tab_ && tab_->GetActiveButtonIndex() == index) return false;  // stays down
  DeactivateSelectedButton(tab_);
  SetSelected(true);
  if (tab_) tab_->SetActiveButtonIndex(index);
  return true;
}

void ToolPictureButton::ToolChanged() {
  if (!independentToggle_ && tab_) tab_->SetActiveToolID(GetSelectedTool()->GetID());
}

void ToolPictureButton::UserChangedTool() {
  ToolChanged();
  if (onButtonChanged) onButtonChanged(*this, lastModifiers_);
}

void ToolPictureButton::SetSelectedToolIndex(int index) {
  if (index < 0 || index >= GetSubToolSize() || index == selected_) return;
  selected_ = index;
  UpdateToolTip();
  UI_Invalidate();
}

void ToolPictureButton::UpdateToolTip() {
  if (!tools_.empty()) SetToolTip(kivcore::UTF16to8(GetSelectedTool()->GetToolTipString()));
}

void ToolPictureButton::SendButtonChangedMessage(kivui::ModKeys modifiers) {
  lastModifiers_ = modifiers;
  const bool changed = ChangeButton();
  if (HasSubTools() && handlingPress_) {
    capture_ = std::make_unique<PopupToolDelayCapture>(*this, kivui::GetDefaultButtonRepeatDelay(), changed);
    capture_->Begin();
    return;
  }
  if (changed) UserChangedTool();
}

void ToolPictureButton::PopupTool(bool changed, bool released) {
  if (!released) return PopupToolMenu();
  if (HasSubTools() && kivui::GetCurrentModKeys() == kCycleModifier) {
    SetSelectedToolIndex((selected_ + 1) % GetSubToolSize());
    UserChangedTool();
  } else if (changed) {
    UserChangedTool();
  }
}

void ToolPictureButton::PopupToolMenu() {
  popupOpen_ = true;
  const ToolPopupMenuChangedMessage message = ToolPopupMenu(*this).Run();
  PopupToolMenuChanged(message);
}

void ToolPictureButton::PopupToolMenuChanged(const ToolPopupMenuChangedMessage& message) {
  if (message.index >= 0 && message.index != selected_ && message.index < GetSubToolSize()) {
    lastModifiers_ = kivui::GetCurrentModKeys();
    SetSelectedToolIndex(message.index);
    UserChangedTool();
  }
  // The pop-up goes a moment later, so that the release that chose stays with it.
  UI_StartTimer(popupTimerId_, kPopupReleaseDelayMs, false);
}

bool ToolPictureButton::UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& e) {
  switch (e.action) {
    case kivui::MouseEvent::kDown:
      if (e.button != kivui::MouseEvent::kPrimary || e.clickCount != 1 || !IsEnabled()) return false;
      if (IsPressHeld() || popupOpen_) return true;  // one press at a time
      handlingPress_ = true;
      SendButtonChangedMessage(e.modKeys);
      handlingPress_ = false;
      return true;
    case kivui::MouseEvent::kUp:
      if (IsPressHeld()) capture_->Released();
      return true;
    case kivui::MouseEvent::kMove:
      return IsPressHeld();
    default:
      return UI_PictureButton::UI_DoMouseEvent(target, e);  // hovering
  }
}

void ToolPictureButton::UI_DoTimerNotify(int id) {
  if (capture_ && id == capture_->GetTimerID()) {
    capture_->DelayPassed();
  } else if (id == popupTimerId_) {
    UI_StopTimer(popupTimerId_);
    popupOpen_ = false;
  } else {
    UI_PictureButton::UI_DoTimerNotify(id);
  }
}

void ToolPictureButton::UI_CaptureLost() {
  if (IsPressHeld()) capture_->Released();
  UI_PictureButton::UI_CaptureLost();
}

kivui::Image ToolPictureButton::GetPictureButtonImage() const {
  const ToolPtr tool = GetSelectedTool();
  return resources_.GetImage(tool->GetPNGName(IsSelected() ? Tool::kStateDown : 0), kivui::ImageFileTypeName(tool->GetImageType()));
}

void ToolPictureButton::DrawContent(kivui::Drawbot& d, const kivcore::RectF& r) const {
  const auto& theme = kivui::ThemeColors::Current();
  // Tinted like the framework's picture buttons: one icon serves every theme and state.
  const kivui::Image image = kivui::utility::TintImage(GetPictureButtonImage(), IsSelected() ? theme.accentText : theme.text);
  if (!image.IsNull()) {
    d.DrawImage(image, kivcore::PointF{r.left + (r.width - float(image.Width())) / 2, r.top + (r.height - float(image.Height())) / 2});
  } else {
    d.DrawText(kivcore::UTF16to8(GetSelectedTool()->GetName().substr(0, 1)), r, kivui::Font::Bold(12), theme.text,
               kivui::kAlignCenter);
  }
  if (HasSubTools()) {
    // A corner mark: this button has more tools.
    const float x = r.Right() - 2, y = r.Bottom() - 2;
    d.FillPolygon({{x, y - 5}, {x, y}, {x - 5, y}}, IsSelected() ? theme.accentText : theme.textDim);
  }
}

}  // namespace kivworkspace::sharedui
