#pragma once

#include "services/core/PointT.h"
#include "services/core/RectT.h"
#include "services/ui/draw/Color.h"
#include "services/ui/draw/Font.h"
#include "services/ui/draw/Image.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace kivui {

// Text placement inside a rectangle, as flags.
enum TextAlign : unsigned {
  kAlignLeft = 0x1,
  kAlignRight = 0x2,
  kAlignHCenter = 0x4,
  kAlignTop = 0x20,
  kAlignBottom = 0x40,
  kAlignVCenter = 0x80,
  kAlignCenter = kAlignHCenter | kAlignVCenter,
  // Long text loses its middle to an ellipsis instead of being clipped.
  kElideMiddle = 0x1000,
  kElideRight = 0x2000,
  // Line ends start new lines and long lines wrap at word boundaries (no eliding then).
  kMultiLine = 0x4000,
};

// The drawing surface handed to UI_Draw, in the node's local coordinates. Every call draws
// with antialiasing off for rectangles and lines (crisp 1-pixel chrome) and on for text,
// polygons and rounded shapes.
class Drawbot {
 public:
  struct Impl;
  explicit Drawbot(Impl& impl);
  ~Drawbot();
  Drawbot(const Drawbot&) = delete;
  Drawbot& operator=(const Drawbot&) = delete;

  void FillRect(const kivcore::RectF& r, Color c);
  // A frame of `width` pixels drawn inside r.
  void FrameRect(const kivcore::RectF& r, Color c, float width = 1);
  void FillRoundedRect(const kivcore::RectF& r, float radius, Color c);
  void FrameRoundedRect(const kivcore::RectF& r, float radius, Color c, float width = 1);
  void FillPolygon(const std::vector<kivcore::PointF>& points, Color c);
  void FramePolygon(const std::vector<kivcore::PointF>& points, Color c, float width = 1);
  void FillEllipse(const kivcore::RectF& r, Color c);
  void DrawLine(kivcore::PointF from, kivcore::PointF to, Color c, float width = 1);
  // A vertical gradient from top colour to bottom colour.
  void FillGradient(const kivcore::RectF& r, Color top, Color bottom);

  void DrawText(std::string_view utf8, const kivcore::RectF& r, const Font& font, Color c,
                unsigned align = kAlignLeft | kAlignVCenter);
  // The advance width of the text in that font.
  float MeasureText(std::string_view utf8, const Font& font) const;

  void DrawImage(const Image& image, const kivcore::RectF& r);
  void DrawImage(const Image& image, kivcore::PointF topLeft);

  // Clipping nests: each push intersects with the clip in force.
  void PushClip(const kivcore::RectF& r);
  void PopClip();
  void SetOpacity(float opacity);

  Impl& GetImpl() { return impl_; }

 private:
  Impl& impl_;
  int clipDepth_ = 0;
};

// A transparent width x height image drawn by `draw` (icons, thumbnails made in code).
Image RenderImage(int width, int height, const std::function<void(Drawbot&)>& draw);

// The advance width of the text in that font, without a drawing surface (for layout).
float MeasureTextWidth(std::string_view utf8, const Font& font);

}  // namespace kivui
