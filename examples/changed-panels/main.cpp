// changed-panels: two versions of one host share a saved layout.
//   changed-panels --version 1   Files, Notes, Log and Scope; the layout is saved on quit
//   changed-panels --version 2   Files and Notes, no Log, a new Console and Timeline, and a
//                                Scope that a plugin adds once the layout is restored
// Version 2 restores what version 1 saved: it reports the panels it does not have, keeps
// their places (Log waits closed in the Files frame), opens its new panels at their own
// places, and the Scope the plugin adds opens below the Notes, where version 1 had it.
//   --quit-after-show          closes the window as soon as it is shown (a smoke test)
#include "qtwidgets/DockHost.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

using kivworkspace::qtwidgets::DockHost;
using kivworkspace::qtwidgets::DockPlace;

namespace {

QWidget* Text(const QString& placeholder) {
  auto* edit = new QPlainTextEdit;
  edit->setPlaceholderText(placeholder);
  return edit;
}

void Version1(DockHost& dock) {
  dock.addPanel("files", "Files", new QTreeView, DockPlace::left());
  dock.addPanel("notes", "Notes", Text("Notes"), DockPlace::right());
  dock.addPanel("log", "Log", Text("Log"), DockPlace::tabbedWith("files"));
  dock.addPanel("scope", "Scope", new QLabel("Scope"), DockPlace::below("notes"));
  dock.showPanel("files");
}

// Panels known before the restore are registered: each is made only when shown.
void Version2(DockHost& dock) {
  dock.registerPanel("files", "Files", [] { return new QTreeView; }, DockPlace::left());
  dock.registerPanel("notes", "Notes", [] { return Text("Notes"); }, DockPlace::right());
  dock.registerPanel("console", "Console", [] { return Text("Console"); }, DockPlace::bottom());
  dock.registerPanel("timeline", "Timeline", [] { return new QLabel("Timeline"); }, DockPlace::top());
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("kivworkspace");
  QApplication::setApplicationName("changed-panels");
  const QStringList args = app.arguments();
  const int at = args.indexOf("--version");
  const int version = at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : 2;
  if (version != 1 && version != 2) {
    QTextStream(stderr) << "changed-panels: --version is 1 or 2\n";
    return 2;
  }

  QMainWindow window;
  window.setWindowTitle(QString("kivworkspace changed-panels, version %1").arg(version));
  window.resize(1000, 650);
  DockHost dock(&window);
  QTextStream out(stdout);
  if (version == 1) {
    Version1(dock);
  } else {
    Version2(dock);
    QStringList leftOut;
    if (!dock.restoreLayout({}, &leftOut)) {
      // No layout yet (version 1 never ran): every panel at its own place.
      for (const QString& id : dock.panelIds()) dock.showPanel(id);
    }
    for (const QString& line : leftOut) out << "restore: " << line << "\n";
    dock.showPanel("console");
    dock.showPanel("timeline");
    // The plugin that brings the Scope loads after the restore.
    dock.addPanel("scope", "Scope", new QLabel("Scope (from a plugin)"), DockPlace::left());
  }
  out.flush();

  window.show();
  if (args.contains("--quit-after-show")) QTimer::singleShot(0, &window, &QWidget::close);
  return app.exec();
}
