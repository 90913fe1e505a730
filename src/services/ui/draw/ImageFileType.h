#pragma once

#include <string_view>

namespace kivui {

// The file type of an image resource, as the resource manager looks it up.
enum class ImageFileType { kPNG = 0, kJPEG = 1 };

constexpr std::string_view ImageFileTypeName(ImageFileType type) { return type == ImageFileType::kJPEG ? "jpg" : "png"; }

// The icon set the UI draws with: 1 the normal icons, 2 the variants for dark backgrounds
// (resources whose names end in "_D").
int GetIconType();
void SetIconType(int type);

}  // namespace kivui
