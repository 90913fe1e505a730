#pragma once

#include "services/ui/draw/Color.h"
#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"

#include <memory>
#include <optional>

namespace kivui {
class UI_Button;
class UI_Container;
class UI_StaticText;
class UI_TextEdit;
}

namespace kivworkspace::sharedui {

// A developer's panel for tuning the UI theme: it loads a theme colour file into the UI's
// theme and reloads it after edits; it overrides one theme colour, chosen by index, with a
// grey level or a colour given as hue, saturation and brightness (with alpha), committed
// with Return; and it flashes a colour to find where it is used.
class ThemeColorEditorPanel : public workspace::TabPanel {
 public:
  static constexpr const char* kTabType = "KIV_ThemeColorEditor";
  static constexpr int kFlashTimer = 1;
  static constexpr int kFlashIntervalMs = 120;
  static constexpr int kFlashSteps = 6;

  ThemeColorEditorPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame);
  ~ThemeColorEditorPanel() override;

  static const char* GetTabType() { return kTabType; }

  // The controls by node ID ("LoadThemeFileButton", "VHotText", ...), or null.
  kivui::UI_Node* FindControl(const char* nodeId) const;
  const kivcore::UTF16String& GetThemeFilePath() const { return path_; }
  // The colour index field's value, rounded to the nearest integer, halves away from zero.
  int GetColorIndex() const;
  bool IsFlashing() const;

  // The handlers of the controls.
  void LoadButtonChanged();
  void ReloadButtonChanged();
  void ColorRadioButtonChanged(bool color);
  void OverrideCheckboxChanged();
  void ColorHotTextChanged(int changeKind);  // 1: a committed edit
  void ColorIndexHotTextChanged();
  void FlashButtonChanged();
  void ChangeFontButtonChanged();

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_Draw(kivui::Drawbot& drawbot, const kivcore::RectF& dirty) override;
  void UI_DoTimerNotify(int id) override;
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override;

 private:
  // Shows the colour of the current index in the fields and enables the fields that apply.
  void UpdateControls();
  // Sets the override of the current index from the fields, or clears it when not
  // overriding.
  void UpdateCurrentColorTrack();
  void FlashColorIndex(int index);
  std::optional<kivui::Color> ColorFromFields() const;
  void ShowError(const std::string& message);

  std::shared_ptr<kivui::UI_Container> root_;
  kivcore::UTF16String path_;
  int flashIndex_ = -1;
  int flashStep_ = 0;
  std::optional<kivui::Color> flashRestore_;
};

}  // namespace kivworkspace::sharedui
