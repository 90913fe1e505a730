#pragma once

#include "services/ui/draw/Image.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kivui {

// Images by name and type ("png"). A name is looked up in the search folders in order
// (each folder's "images" subfolder too), then among the compiled-in resources; results
// are cached. The project's share/ folder is a search folder from the start, and so is
// $KIV_SHARE_DIR when set.
class ResourceManager {
 public:
  ResourceManager();

  void AddSearchFolder(std::string folder);
  const std::vector<std::string>& GetSearchFolders() const { return folders_; }

  // A null image when no folder or resource has it.
  Image GetImage(std::string_view name, std::string_view type = "png");
  // Registers an image under a name (a host's generated icon, a test's picture).
  void AddImage(std::string_view name, std::string_view type, Image image);

 private:
  static std::string Key(std::string_view name, std::string_view type);
  Image Load(std::string_view name, std::string_view type) const;

  std::vector<std::string> folders_;
  std::map<std::string, Image, std::less<>> cache_;
};

}  // namespace kivui
