#include "services/ui/node/ResourceManager.h"

#include <QFile>

#include <cstdlib>
#include <filesystem>

namespace kivui {

ResourceManager::ResourceManager() {
  if (const char* dir = std::getenv("KIV_SHARE_DIR"); dir && *dir) folders_.emplace_back(dir);
#ifdef KIV_SOURCE_SHARE_DIR
  folders_.emplace_back(KIV_SOURCE_SHARE_DIR);
#endif
}

void ResourceManager::AddSearchFolder(std::string folder) {
  folders_.insert(folders_.begin(), std::move(folder));
  cache_.clear();
}

std::string ResourceManager::Key(std::string_view name, std::string_view type) {
  std::string key(name);
  key += '.';
  key += type;
  return key;
}

Image ResourceManager::GetImage(std::string_view name, std::string_view type) {
  const std::string key = Key(name, type);
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second;
  Image image = Load(name, type);
  if (!image.IsNull()) cache_.emplace(key, image);
  return image;
}

void ResourceManager::AddImage(std::string_view name, std::string_view type, Image image) {
  cache_[Key(name, type)] = std::move(image);
}

Image ResourceManager::Load(std::string_view name, std::string_view type) const {
  const std::string file = Key(name, type);
  for (const auto& folder : folders_) {
    for (const auto& candidate : {std::filesystem::path(folder) / file,
                                  std::filesystem::path(folder) / "images" / file}) {
      std::error_code ec;
      if (std::filesystem::is_regular_file(candidate, ec)) {
        Image image = Image::FromFile(candidate.string());
        if (!image.IsNull()) return image;
      }
    }
  }
  const std::string resource = ":/kivui/" + file;
  if (QFile::exists(QString::fromStdString(resource))) return Image::FromFile(resource);
  return {};
}

}  // namespace kivui
