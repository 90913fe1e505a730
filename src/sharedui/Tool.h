#pragma once

#include "services/core/Strings.h"
#include "services/ui/draw/ImageFileType.h"

#include <boost/smart_ptr/intrusive_ptr.hpp>
#include <boost/smart_ptr/intrusive_ref_counter.hpp>

#include <string>

namespace kivworkspace::sharedui {

class ToolPictureButton;

// One tool of a tools tab: its ID, display name, shortcut and hint (which make its
// tooltip), and the stem of its image names. A tool button holds one or more tools.
class Tool : public boost::intrusive_ref_counter<Tool> {
 public:
  // Bit 0 of a button state: the button is down.
  static constexpr unsigned kStateDown = 1;

  Tool(int id, const kivcore::UTF16String& name, const std::string& baseImageName, kivui::ImageFileType type);
  Tool(const Tool& other);
  virtual ~Tool() = default;

  int GetID() const { return id_; }
  const kivcore::UTF16String& GetName() const { return name_; }
  const kivcore::UTF16String& GetShortcutString() const { return shortcut_; }
  void SetShortcutString(const kivcore::UTF16String& shortcut) { shortcut_ = shortcut; }
  const kivcore::UTF16String& GetToolTipHintString() const { return hint_; }
  void SetToolTipHintString(const kivcore::UTF16String& hint);
  int GetToolTipWidth() const { return tooltipWidth_; }
  void SetToolTipWidth(int width);
  const std::string& GetBasePNGName() const { return baseImageName_; }
  virtual const std::string& GetBaseImageName() const { return baseImageName_; }
  virtual kivui::ImageFileType GetImageType() const { return imageType_; }
  ToolPictureButton* GetParentButton() const { return parent_; }

  // The image name for a button state: the base name and "_N", or "_S" while the button is
  // down (unless the button is spring-loaded or there is none), and "_D" after that for the
  // dark-background icon set.
  std::string GetPNGName(unsigned state) const;
  // "name", "name: hint", "name (shortcut)" or "name: hint (shortcut)", localised.
  kivcore::UTF16String GetToolTipString() const;

 protected:
  friend class ToolPictureButton;
  void SetParentButton(ToolPictureButton* button) { parent_ = button; }
  // Asks the parent button, if any, to refresh its tooltip.
  void UpdateToolTip();

 private:
  int id_;
  kivcore::UTF16String name_;
  kivcore::UTF16String shortcut_;
  kivcore::UTF16String hint_;
  int tooltipWidth_ = 0;
  std::string baseImageName_;
  kivui::ImageFileType imageType_;
  ToolPictureButton* parent_ = nullptr;
};

using ToolPtr = boost::intrusive_ptr<Tool>;

}  // namespace kivworkspace::sharedui
