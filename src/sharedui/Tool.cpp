#include "sharedui/Tool.h"

#include "services/core/Localizer.h"
#include "sharedui/ToolPictureButton.h"

namespace kivworkspace::sharedui {

Tool::Tool(int id, const kivcore::UTF16String& name, const std::string& baseImageName, kivui::ImageFileType type)
    : id_(id), name_(name), baseImageName_(baseImageName), imageType_(type) {}

// A copy belongs to no button yet.
Tool::Tool(const Tool& other)
    : boost::intrusive_ref_counter<Tool>(),
      id_(other.id_),
      name_(other.name_),
      shortcut_(other.shortcut_),
      hint_(other.hint_),
      tooltipWidth_(other.tooltipWidth_),
      baseImageName_(other.baseImageName_),
      imageType_(other.imageType_) {}

void Tool::SetToolTipHintString(const kivcore::UTF16String& hint) {
  hint_ = hint;
  UpdateToolTip();
}

void Tool::SetToolTipWidth(int width) {
  tooltipWidth_ = width;
  UpdateToolTip();
}

std::string Tool::GetPNGName(unsigned state) const {
  const bool springLoaded = !parent_ || parent_->IsSpringLoaded();
  std::string name = baseImageName_ + ((state & kStateDown) && !springLoaded ? "_S" : "_N");
  if (kivui::GetIconType() == 2) name += "_D";
  return name;
}

kivcore::UTF16String Tool::GetToolTipString() const {
  const auto& localizer = kivcore::config::Localizer::Get();
  if (shortcut_.empty() && hint_.empty()) return name_;
  if (shortcut_.empty())
    return kivcore::ReplaceInString(
        localizer.Localize("$$$/kivworkspace/sharedui/Tools/ToolButton/ToolTipHintFormatStringNoShortcut=@0: @1"), {name_, hint_});
  if (hint_.empty())
    return kivcore::ReplaceInString(
        localizer.Localize("$$$/kivworkspace/sharedui/Tools/ToolButton/ToolTipFormatString=@0 (@1)"), {name_, shortcut_});
  return kivcore::ReplaceInString(
      localizer.Localize("$$$/kivworkspace/sharedui/Tools/ToolButton/ToolTipHintFormatString=@0: @1 (@2)"), {name_, hint_, shortcut_});
}

void Tool::UpdateToolTip() {
  if (parent_) parent_->UpdateToolTip();
}

}  // namespace kivworkspace::sharedui
