#include "services/ui/draw/Image.h"

#include "services/ui/qt/Convert.h"
#include "services/ui/qt/ImageImpl.h"

namespace kivui {

Image Image::FromFile(const std::string& path) { return qt::MakeImage(QImage(qt::ToQString(path))); }

Image Image::Filled(int width, int height, Color color) {
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
  image.fill(qt::ToQColor(color));
  return qt::MakeImage(std::move(image));
}

int Image::Width() const { return impl_ ? impl_->image.width() : 0; }
int Image::Height() const { return impl_ ? impl_->image.height() : 0; }

Color Image::PixelAt(int x, int y) const {
  if (!impl_ || !impl_->image.valid(x, y)) return {0, 0, 0, 0};
  return qt::ToColor(impl_->image.pixelColor(x, y));
}

namespace utility {

Image TintImage(const Image& image, Color tint) {
  if (image.IsNull()) return {};
  QImage out = image.GetImpl()->image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      line[x] = qRgba(tint.r, tint.g, tint.b, qAlpha(line[x]) * tint.a / 255);
    }
  }
  return qt::MakeImage(std::move(out));
}

Image ScaleImage(const Image& image, int width, int height) {
  if (image.IsNull()) return {};
  return qt::MakeImage(image.GetImpl()->image.scaled(std::max(width, 1), std::max(height, 1),
                                                     Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation));
}

}  // namespace utility
}  // namespace kivui
