#pragma once

#include "services/ui/controls/UI_Button.h"
#include "services/ui/draw/Image.h"

namespace kivui {

// A button showing a picture (tinted to the theme's text colour, the accent when selected),
// with optional text beside it.
class UI_PictureButton : public UI_Button {
 public:
  explicit UI_PictureButton(Image picture = {}, std::string text = {});

  void SetPicture(Image picture);
  const Image& GetPicture() const { return picture_; }
  // Whether the picture is tinted (monochrome icons) or drawn as it is.
  void SetTinted(bool tinted) { tinted_ = tinted; }

 protected:
  void DrawContent(Drawbot& drawbot, const kivcore::RectF& r) const override;

 private:
  Image picture_;
  bool tinted_ = true;
};

}  // namespace kivui
