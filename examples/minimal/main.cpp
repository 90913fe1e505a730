// minimal: three of Qt's own widgets docked in a main window. Drag their tabs to rearrange
// them; the layout is saved when the window closes and comes back at the next start.
//   minimal                    runs until the window is closed
//   minimal --quit-after-show  closes the window as soon as it is shown (a smoke test)
#include "qtwidgets/DockHost.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QMainWindow>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

using kivworkspace::qtwidgets::DockHost;
using kivworkspace::qtwidgets::DockPlace;

int main(int argc, char** argv) {
  // 1. The application and its main window are the host's: its style stays.
  QApplication app(argc, argv);
  QApplication::setOrganizationName("kivworkspace");
  QApplication::setApplicationName("minimal");  // the layout goes to ~/.config/kivworkspace/minimal
  QMainWindow window;
  window.setWindowTitle("kivworkspace minimal example");
  window.resize(1000, 650);

  // 2. The host's own widgets.
  auto* model = new QFileSystemModel(&window);
  model->setRootPath(QDir::homePath());
  auto* files = new QTreeView;
  files->setModel(model);
  files->setRootIndex(model->index(QDir::homePath()));
  auto* notes = new QTextEdit;
  notes->setPlaceholderText("Notes");
  auto* status = new QLabel("Drag a tab to dock it elsewhere; the layout is kept when you quit.");
  status->setAlignment(Qt::AlignCenter);

  // 3. Docked: the files on the left, the notes beside them, the label under the notes.
  DockHost dock(&window);
  dock.addPanel("files", "Files", files, DockPlace::left());
  dock.addPanel("notes", "Notes", notes, DockPlace::right());
  dock.addPanel("status", "Status", status, DockPlace::below("notes"));

  // 4. The layout the last run left, when there is one; closing the window saves it.
  dock.restoreLayout();

  window.show();
  if (app.arguments().contains("--quit-after-show")) QTimer::singleShot(0, &window, &QWidget::close);
  return app.exec();
}
