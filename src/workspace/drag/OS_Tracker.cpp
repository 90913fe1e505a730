#include "workspace/drag/OS_Tracker.h"

#include "services/ui/app/Application.h"

namespace kivworkspace::workspace {

namespace {
constexpr int kExclamationBeep = 48;
}

void OS_Tracker::Cancel() { kivui::MessageBeep(kExclamationBeep); }

}  // namespace kivworkspace::workspace
