#include "services/core/Dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace kivcore::filesupport {
namespace {

const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

std::filesystem::path HomeDir() {
  if (const char* home = NonEmptyEnv("HOME")) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return std::filesystem::temp_directory_path();
}

}  // namespace

File Dir::PrefDir() {
  if (const char* dir = NonEmptyEnv("KIV_PREF_DIR")) return File(std::filesystem::path(dir));
  if (const char* dir = NonEmptyEnv("XDG_CONFIG_HOME")) return File(std::filesystem::path(dir));
  return File(HomeDir() / ".config");
}

}  // namespace kivcore::filesupport
