#pragma once

#include "services/ui/draw/Image.h"

#include <QImage>

namespace kivui {

struct Image::Impl {
  QImage image;
};

namespace qt {
inline Image MakeImage(QImage image) {
  if (image.isNull()) return {};
  return Image(std::make_shared<const Image::Impl>(
      Image::Impl{image.convertToFormat(QImage::Format_ARGB32_Premultiplied)}));
}
}  // namespace qt

}  // namespace kivui
