// named-workspaces: arrangements kept by name, switched from the switcher bar in a tool bar
// (its menus save, reset, make and delete workspaces), and from the Workspace menu here.
//   named-workspaces                       runs until the window is closed
//   named-workspaces --save-as NAME        saves the arrangement as NAME at start
//   named-workspaces --quit-after-show     closes the window as soon as it is shown
// The workspace current when the window closes opens at the next start; it prints its name.
#include "qtwidgets/DockHost.h"

#include <QApplication>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

using kivworkspace::qtwidgets::DockHost;
using kivworkspace::qtwidgets::DockPlace;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("kivworkspace");
  QApplication::setApplicationName("named-workspaces");
  QMainWindow window;
  window.setWindowTitle("kivworkspace named workspaces");
  window.resize(1000, 650);

  DockHost dock(&window);
  dock.registerPanel("files", "Files", [] { return new QTreeView; }, DockPlace::left());
  dock.registerPanel("notes", "Notes", [] { return new QPlainTextEdit; }, DockPlace::right());
  dock.registerPanel("log", "Log", [] { return new QPlainTextEdit; }, DockPlace::bottom());
  dock.showPanel("files");
  dock.showPanel("notes");
  // Workspaces in ~/.local/share/kivworkspace/named-workspaces/workspaces; the first start
  // keeps the arrangement above as "Edit".
  dock.enableWorkspaces("Edit");

  window.addToolBar("Workspaces")->addWidget(dock.switcherBar());
  QMenu* menu = window.menuBar()->addMenu("&Workspace");
  menu->addAction("Save As...", [&] {
    const QString name = QInputDialog::getText(&window, "Save Workspace As", "Name:");
    if (!name.isEmpty() && !dock.saveWorkspaceAs(name)) menu->setTitle("&Workspace (name in use)");
  });
  menu->addAction("Reset", [&] { dock.resetWorkspace(); });
  QMenu* panels = window.menuBar()->addMenu("&Window");
  for (const QString& id : dock.panelIds()) panels->addAction(dock.toggleAction(id));

  const QStringList args = app.arguments();
  if (const int at = args.indexOf("--save-as"); at >= 0 && at + 1 < args.size()) {
    dock.showPanel("log");
    dock.saveWorkspaceAs(args[at + 1]);
  }
  QTextStream(stdout) << "current workspace: " << dock.currentWorkspace() << "\n";

  window.show();
  if (args.contains("--quit-after-show")) QTimer::singleShot(0, &window, &QWidget::close);
  return app.exec();
}
