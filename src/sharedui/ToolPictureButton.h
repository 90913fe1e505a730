#pragma once

#include "services/ui/controls/UI_PictureButton.h"
#include "services/ui/events/ModKeys.h"
#include "sharedui/Tool.h"
#include "sharedui/ToolPopupMenu.h"

#include <functional>
#include <memory>
#include <vector>

namespace kivui {
class ResourceManager;
}

namespace kivworkspace::sharedui {

class PopupToolDelayCapture;
class ToolsTab;

// A button of a tools tab showing the selected one of its tools. A press makes the button
// the tab's active one and its selected tool the active tool. On a button with several
// tools, holding the press past the button repeat delay opens a pop-up of the tools to
// choose from, and a quick click with Alt held selects the next tool. An independent toggle
// goes down and up on its own, apart from the tab's active button. Every change the user
// makes is reported through onButtonChanged.
class ToolPictureButton : public kivui::UI_PictureButton {
 public:
  // The modifier that makes a quick click select the next tool.
  static constexpr kivui::ModKeys kCycleModifier = kivui::kModAlt;
  static constexpr int kPopupReleaseDelayMs = 100;

  ToolPictureButton(int buttonId, ToolPtr firstTool, kivui::ResourceManager& resources, bool independentToggle = false);
  ~ToolPictureButton() override;

  void AddSubTool(ToolPtr tool);
  int GetID() const { return buttonId_; }
  bool HasSubTools() const { return tools_.size() > 1; }
  int GetSubToolSize() const { return int(tools_.size()); }
  ToolPtr GetTool(int index) const;
  ToolPtr GetSelectedTool() const { return tools_[std::size_t(selected_)]; }
  int GetSelectedToolIndex() const { return selected_; }

  // The host activates a tool: the button goes down and the tool becomes the tab's active
  // one (an invalid index keeps the selection but counts as a change). Nothing is reported.
  void ActivateButton(int toolIndex);
  void ActivateButton() { ActivateButton(selected_); }
  bool IsIndependentToggle() const { return independentToggle_; }
  void SetIndependentToggle(bool independent) { independentToggle_ = independent; }
  // A spring-loaded button keeps its normal image while down.
  bool IsSpringLoaded() const { return springLoaded_; }
  void SetSpringLoaded(bool springLoaded) { springLoaded_ = springLoaded; }
  // Puts the tab's active button up and leaves the tab without one.
  static void DeactivateSelectedButton(ToolsTab* tab);

  // The tab the button is an item of (set by ToolsTab::AddItem).
  ToolsTab* GetToolsTab() const { return tab_; }
  void SetToolsTab(ToolsTab* tab) { tab_ = tab; }
  // Whether the pop-up of the tools is open.
  bool IsPopupOpen() const { return popupOpen_; }
  bool IsPressHeld() const;
  // The image of the selected tool for the button's state.
  kivui::Image GetPictureButtonImage() const;
  // Refreshes the tooltip from the selected tool.
  void UpdateToolTip();

  // The user changed the button or its tool, with the modifiers of that change.
  std::function<void(ToolPictureButton&, kivui::ModKeys)> onButtonChanged;

  bool UI_DoMouseEvent(kivui::UI_Node* target, const kivui::MouseEvent& event) override;
  void UI_DoTimerNotify(int id) override;
  void UI_CaptureLost() override;

 protected:
  void DrawContent(kivui::Drawbot& drawbot, const kivcore::RectF& r) const override;

 private:
  friend class PopupToolDelayCapture;

  // Reports a press: the button changes (and, without several tools, reports at once).
  void SendButtonChangedMessage(kivui::ModKeys modifiers);
  // Puts the button down as the tab's active one; whether that changed anything.
  bool ChangeButton();
  // The selected tool becomes the tab's active tool (not for an independent toggle).
  void ToolChanged();
  void UserChangedTool();
  void SetSelectedToolIndex(int index);
  // After a press-and-hold capture: a release cycles (with the cycle modifier) or reports;
  // a held press opens the pop-up.
  void PopupTool(bool changed, bool released);
  void PopupToolMenu();
  void PopupToolMenuChanged(const ToolPopupMenuChangedMessage& message);
  int IndexInTab() const;

  int buttonId_;
  std::vector<ToolPtr> tools_;
  int selected_ = 0;
  kivui::ResourceManager& resources_;
  bool popupOpen_ = false;
  int popupTimerId_;
  kivui::ModKeys lastModifiers_ = kivui::kModNone;
  bool independentToggle_;
  bool springLoaded_ = false;
  bool handlingPress_ = false;
  std::unique_ptr<PopupToolDelayCapture> capture_;
  ToolsTab* tab_ = nullptr;
};

}  // namespace kivworkspace::sharedui
