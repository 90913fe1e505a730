#include "services/ui/draw/ImageFileType.h"

namespace kivui {
namespace {
int gIconType = 1;
}  // namespace

int GetIconType() { return gIconType; }
void SetIconType(int type) { gIconType = type; }

}  // namespace kivui
