#pragma once

#include "services/ui/draw/Color.h"

#include <memory>
#include <string>

namespace kivui {

// A shared, immutable picture (an icon, a thumbnail). Null when it could not be loaded.
class Image {
 public:
  Image() = default;

  // Loads a PNG (or any format the backend reads); a null image when the file is unreadable.
  static Image FromFile(const std::string& path);
  // A width x height image filled with one colour.
  static Image Filled(int width, int height, Color color);

  bool IsNull() const { return !impl_; }
  int Width() const;
  int Height() const;
  // The colour of one pixel; transparent black outside the image.
  Color PixelAt(int x, int y) const;

  struct Impl;
  const Impl* GetImpl() const { return impl_.get(); }
  explicit Image(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

 private:
  std::shared_ptr<const Impl> impl_;
};

namespace utility {
// The image with every pixel's colour replaced by `tint`, alpha kept: one monochrome icon
// serves every state.
Image TintImage(const Image& image, Color tint);
// The image scaled smoothly to width x height.
Image ScaleImage(const Image& image, int width, int height);
}  // namespace utility

}  // namespace kivui
