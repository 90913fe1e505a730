#include "services/ui/testing/Snapshot.h"

#include "services/core/Error.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/NodeImpl.h"

#include "services/ui/window/OS_Window.h"

#include <QCoreApplication>
#include <QImage>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace kivui::testing {

namespace {

void Save(const QImage& picture, const std::string& path) {
  if (picture.isNull() || !picture.save(qt::ToQString(path), "PNG")) {
    // The UI framework's own errors use category 101.
    kivcore::config::ThrowError(1, "$$$/kivui/Error/CannotSaveSnapshot=Cannot save a snapshot to \"@0\".",
                                101, 1, 1, path);
  }
}

}  // namespace

void SaveSnapshotPNG(const UI_Node& node, const std::string& path) {
  QWidget* widget = qt::WidgetOf(node);
  // Lay out and paint what is pending first, so the picture shows the current state.
  QCoreApplication::sendPostedEvents();
  Save(widget->grab().toImage(), path);
}

void SaveScreenSnapshotPNG(const kivcore::Rect& area, const std::string& path) {
  QCoreApplication::sendPostedEvents();
  // Front-most first within each kind; drawn back to front.
  std::vector<OS_Window*> windows = OS_Window::UI_EnumerateAllWindows();
  std::reverse(windows.begin(), windows.end());
  std::stable_sort(windows.begin(), windows.end(), [](const OS_Window* a, const OS_Window* b) {
    auto layer = [](const OS_Window* w) {
      return w->GetKind() == OS_Window::kOverlayWindow ? 2 : w->GetKind() == OS_Window::kToolWindow;
    };
    return layer(a) < layer(b);
  });
  QImage screen(area.width, area.height, QImage::Format_ARGB32_Premultiplied);
  screen.fill(QColor(40, 44, 52));
  QPainter painter(&screen);
  for (const OS_Window* window : windows) {
    QWidget* widget = qt::WidgetOf(*window);
    if (!widget->isVisible() || window->GetKind() == OS_Window::kChildWindow) continue;
    const kivcore::Rect r = window->GetGlobalContentRect();
    painter.setOpacity(window->GetOpacity());
    painter.drawPixmap(r.left - area.left, r.top - area.top, widget->grab());
  }
  // Open menus are the window system's pop-ups, above every window.
  painter.setOpacity(1.0);
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (!widget->isVisible() || !qobject_cast<QMenu*>(widget)) continue;
    const QRect r = widget->geometry();
    painter.drawPixmap(r.left() - area.left, r.top() - area.top, widget->grab());
  }
  painter.end();
  Save(screen, path);
}

}  // namespace kivui::testing
