#include "services/ui/draw/Drawbot.h"

#include "services/ui/qt/Convert.h"
#include "services/ui/qt/DrawbotImpl.h"
#include "services/ui/qt/ImageImpl.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>

namespace kivui {
namespace qt {

QFont ToQFont(const Font& font) {
  QFont f(ToQString(font.family));
  f.setPixelSize(std::max(1, int(font.pixelSize + 0.5f)));
  f.setBold(font.bold);
  f.setItalic(font.italic);
  if (font.monospace) f.setStyleHint(QFont::Monospace);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

}  // namespace qt

using qt::ToQColor;
using qt::ToQRectF;

namespace {

QPolygonF ToPolygon(const std::vector<kivcore::PointF>& points) {
  QPolygonF polygon;
  for (const auto& p : points) polygon << qt::ToQPointF(p);
  return polygon;
}

Qt::Alignment ToQtAlign(unsigned align) {
  Qt::Alignment a;
  if (align & kAlignLeft) a |= Qt::AlignLeft;
  if (align & kAlignRight) a |= Qt::AlignRight;
  if (align & kAlignHCenter) a |= Qt::AlignHCenter;
  if (align & kAlignTop) a |= Qt::AlignTop;
  if (align & kAlignBottom) a |= Qt::AlignBottom;
  if (align & kAlignVCenter) a |= Qt::AlignVCenter;
  return a;
}

}  // namespace

Drawbot::Drawbot(Impl& impl) : impl_(impl) {}

Drawbot::~Drawbot() {
  while (clipDepth_ > 0) PopClip();
}

void Drawbot::FillRect(const kivcore::RectF& r, Color c) {
  impl_.painter.setRenderHint(QPainter::Antialiasing, false);
  impl_.painter.fillRect(ToQRectF(r), ToQColor(c));
}

void Drawbot::FrameRect(const kivcore::RectF& r, Color c, float width) {
  // Four filled strips: exact pixels whatever the pen rules.
  FillRect({r.left, r.top, r.width, width}, c);
  FillRect({r.left, r.Bottom() - width, r.width, width}, c);
  FillRect({r.left, r.top + width, width, r.height - 2 * width}, c);
  FillRect({r.Right() - width, r.top + width, width, r.height - 2 * width}, c);
}

void Drawbot::FillRoundedRect(const kivcore::RectF& r, float radius, Color c) {
  QPainter& p = impl_.painter;
  p.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath path;
  path.addRoundedRect(ToQRectF(r), radius, radius);
  p.fillPath(path, ToQColor(c));
}

void Drawbot::FrameRoundedRect(const kivcore::RectF& r, float radius, Color c, float width) {
  QPainter& p = impl_.painter;
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ToQColor(c), width));
  p.setBrush(Qt::NoBrush);
  const float half = width / 2;
  p.drawRoundedRect(QRectF(r.left + half, r.top + half, r.width - width, r.height - width),
                    radius, radius);
}

void Drawbot::FillPolygon(const std::vector<kivcore::PointF>& points, Color c) {
  QPainter& p = impl_.painter;
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(ToQColor(c));
  p.drawPolygon(ToPolygon(points));
}

void Drawbot::FramePolygon(const std::vector<kivcore::PointF>& points, Color c, float width) {
  QPainter& p = impl_.painter;
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ToQColor(c), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(ToPolygon(points));
}

void Drawbot::FillEllipse(const kivcore::RectF& r, Color c) {
  QPainter& p = impl_.painter;
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(ToQColor(c));
  p.drawEllipse(ToQRectF(r));
}

void Drawbot::DrawLine(kivcore::PointF from, kivcore::PointF to, Color c, float width) {
  QPainter& p = impl_.painter;
  const bool straight = from.x == to.x || from.y == to.y;
  p.setRenderHint(QPainter::Antialiasing, !straight);
  p.setPen(QPen(ToQColor(c), width, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(qt::ToQPointF(from), qt::ToQPointF(to));
}

void Drawbot::FillGradient(const kivcore::RectF& r, Color top, Color bottom) {
  QLinearGradient gradient(r.left, r.top, r.left, r.Bottom());
  gradient.setColorAt(0, ToQColor(top));
  gradient.setColorAt(1, ToQColor(bottom));
  impl_.painter.setRenderHint(QPainter::Antialiasing, false);
  impl_.painter.fillRect(ToQRectF(r), gradient);
}

void Drawbot::DrawText(std::string_view utf8, const kivcore::RectF& r, const Font& font, Color c,
                       unsigned align) {
  QPainter& p = impl_.painter;
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QFont f = qt::ToQFont(font);
  p.setFont(f);
  p.setPen(ToQColor(c));
  QString text = qt::ToQString(utf8);
  if (align & kMultiLine) {
    p.drawText(ToQRectF(r), int(ToQtAlign(align)) | Qt::TextWordWrap, text);
    return;
  }
  if (align & (kElideMiddle | kElideRight)) {
    text = QFontMetricsF(f).elidedText(text, (align & kElideMiddle) ? Qt::ElideMiddle
                                                                    : Qt::ElideRight,
                                       r.width);
  }
  p.drawText(ToQRectF(r), int(ToQtAlign(align)) | Qt::TextSingleLine, text);
}

float Drawbot::MeasureText(std::string_view utf8, const Font& font) const {
  return MeasureTextWidth(utf8, font);
}

Image RenderImage(int width, int height, const std::function<void(Drawbot&)>& draw) {
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    Drawbot::Impl impl{painter};
    Drawbot drawbot(impl);
    draw(drawbot);
  }
  return qt::MakeImage(std::move(image));
}

float MeasureTextWidth(std::string_view utf8, const Font& font) {
  return float(QFontMetricsF(qt::ToQFont(font)).horizontalAdvance(qt::ToQString(utf8)));
}

void Drawbot::DrawImage(const Image& image, const kivcore::RectF& r) {
  if (image.IsNull()) return;
  QPainter& p = impl_.painter;
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(ToQRectF(r), image.GetImpl()->image);
}

void Drawbot::DrawImage(const Image& image, kivcore::PointF topLeft) {
  DrawImage(image, {topLeft.x, topLeft.y, float(image.Width()), float(image.Height())});
}

void Drawbot::PushClip(const kivcore::RectF& r) {
  impl_.painter.save();
  impl_.painter.setClipRect(ToQRectF(r), Qt::IntersectClip);
  ++clipDepth_;
}

void Drawbot::PopClip() {
  if (clipDepth_ == 0) return;
  impl_.painter.restore();
  --clipDepth_;
}

void Drawbot::SetOpacity(float opacity) { impl_.painter.setOpacity(opacity); }

}  // namespace kivui
