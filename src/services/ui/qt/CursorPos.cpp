#include "services/ui/events/CursorPos.h"

#include <QCursor>
#include <QGuiApplication>

#include <optional>

namespace kivui {
namespace detail {
// Set by kivui::testing at every pointer event it sends: synthesised events do not move
// the window system's pointer.
std::optional<kivcore::Point> cursorPosOverride;
}  // namespace detail

kivcore::Point GetGlobalCursorPos() {
  if (detail::cursorPosOverride) return *detail::cursorPosOverride;
  if (!QGuiApplication::instance()) return {};
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

}  // namespace kivui
