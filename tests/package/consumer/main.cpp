// Uses a few core services the way a host would and checks their results.
#include "services/core/core.h"

#include <cstdio>

int main() {
  kivcore::PropList list;
  list.SetValue("KIV_Wrkspce", "1.2");
  const auto back = kivcore::proplist::utils::ReadPropList(list.OutputAsXMLFragment());
  std::string version;
  if (!back.GetValue("KIV_Wrkspce", version) || version != "1.2") return 1;
  if (kivcore::config::GetVersionString() != "2.0.0.Gadfly") return 2;
  std::printf("consumer ok: %s\n", kivcore::config::GetVersionString().c_str());
  return 0;
}
