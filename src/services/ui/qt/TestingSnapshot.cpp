#include "services/ui/testing/Snapshot.h"

#include "services/core/Error.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/NodeImpl.h"

#include <QCoreApplication>
#include <QPixmap>

namespace kivui::testing {

void SaveSnapshotPNG(const UI_Node& node, const std::string& path) {
  QWidget* widget = qt::WidgetOf(node);
  // Lay out and paint what is pending first, so the picture shows the current state.
  QCoreApplication::sendPostedEvents();
  const QPixmap picture = widget->grab();
  if (picture.isNull() || !picture.save(qt::ToQString(path), "PNG")) {
    // The UI framework's own errors use category 101.
    kivcore::config::ThrowError(1, "$$$/kivui/Error/CannotSaveSnapshot=Cannot save a snapshot to \"@0\".",
                                101, 1, 1, path);
  }
}

}  // namespace kivui::testing
