#include "services/ui/window/OS_MonitorInfo.h"

#include "services/ui/qt/Convert.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace kivui {

std::vector<MonitorInfo> OS_MonitorInfo::GetMonitors() {
  std::vector<MonitorInfo> monitors;
  if (!QGuiApplication::instance()) return monitors;
  QList<QScreen*> screens = QGuiApplication::screens();
  QScreen* primary = QGuiApplication::primaryScreen();
  std::stable_partition(screens.begin(), screens.end(), [primary](QScreen* s) { return s == primary; });
  for (QScreen* screen : screens) {
    MonitorInfo m;
    m.index = int(monitors.size());
    m.name = qt::ToUTF8(screen->name());
    m.rect = qt::ToRect(screen->geometry());
    m.workRect = qt::ToRect(screen->availableGeometry());
    m.scale = float(screen->devicePixelRatio());
    monitors.push_back(std::move(m));
  }
  return monitors;
}

MonitorInfo OS_MonitorInfo::FromPoint(kivcore::Point p) {
  const auto monitors = GetMonitors();
  return monitors.empty() ? MonitorInfo{} : MonitorInfo::FromPoint(p, monitors);
}

MonitorInfo OS_MonitorInfo::FromRect(const kivcore::Rect& r) {
  const auto monitors = GetMonitors();
  return monitors.empty() ? MonitorInfo{} : MonitorInfo::FromRect(r, monitors);
}

kivcore::Rect OS_MonitorInfo::EnsureRectIsVisible(const kivcore::Rect& r) {
  return MonitorInfo::EnsureRectIsVisible(r, GetMonitors());
}

}  // namespace kivui
