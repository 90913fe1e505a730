#pragma once

#include "qtwidgets/DockPlace.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QMainWindow;
class QWidget;

namespace kivworkspace::workspace {
class Workspace;
}

namespace kivworkspace::qtwidgets {

class WidgetPanel;

// Docking for a Qt application: the host's widgets become panels of a docking workspace in
// its main window, which the user rearranges (tabs, splitters, drag-to-dock, floating
// windows), and the arrangement is saved to a file and restored.
//
//   QMainWindow window;
//   DockHost dock(&window);
//   dock.addPanel("files", "Files", new QTreeView, DockPlace::left());
//   dock.addPanel("editor", "Editor", new QTextEdit, DockPlace::right());
//   dock.restoreLayout();   // the arrangement the last run left, if there is one
//   window.show();
//
// The application is the host's: make the QApplication (with Qt::AA_ShareOpenGLContexts set
// first when a panel uses OpenGL) before the DockHost. A kivui::Application is not needed;
// the host's style, palette and fonts are kept, and so are its main window's menu bar,
// tool bars and status bar. Everything runs on the thread of the QApplication.
//
// Panels are known by an id, unique within the DockHost, which is also what the saved
// layout calls them. A panel is made from a widget given to addPanel, or by a factory when
// it is first needed (when it is added, shown, or placed by a restored layout); a factory
// may decline by returning null (or throwing), and the panel then stays closed and
// panelDeclined tells so. A panel, once made, lives as long as the DockHost: closing it
// leaves a record where it was (saved with the layout), and it comes back there as the same
// panel with the same widget (see WidgetPanel for the ownership and focus rules). A closed
// panel that a restored layout names is made only when it is opened.
//
// Closing the main window (with the window system's close, or QWidget::close) saves the
// layout to layoutFile() and ends the event loop, unless the close request handler refuses.
class DockHost : public QObject {
  Q_OBJECT

 public:
  using WidgetFactory = std::function<QWidget*()>;

  // Docks in the host's main window: the docking area becomes its central widget (a central
  // widget it had is deleted, as QMainWindow::setCentralWidget does). The DockHost is a
  // child of the window and goes with it, unless it is deleted first (declare it after the
  // window when both are on the stack).
  explicit DockHost(QMainWindow* window);
  // Makes a main window of its own (mainWindow()), which goes with the DockHost.
  explicit DockHost(QObject* parent = nullptr);
  ~DockHost() override;

  QMainWindow* mainWindow() const;

  // --- Panels. An empty id, an id added twice, an id never added (to the commands) and a
  // place beside or tabbed with a panel that is not open raise std::invalid_argument naming
  // the id, before anything changes.

  // Docks `widget`, which the panel owns from now on (the caller keeps it when this
  // raises), as the panel `id` with the tab text `title`, at `where`; `where` is also the
  // place it opens at later when nothing remembers one.
  WidgetPanel* addPanel(const QString& id, const QString& title, QWidget* widget,
                        const DockPlace& where = {});
  // The same with a widget the factory makes now; null when it declines.
  WidgetPanel* addPanel(const QString& id, const QString& title, WidgetFactory factory,
                        const DockPlace& where = {});
  // Makes the panel known without opening it: a restored layout, showPanel or its toggle
  // action opens it, and only then is its widget made.
  void registerPanel(const QString& id, const QString& title, WidgetFactory factory,
                     const DockPlace& where = {});

  // The questions answer null or false for an id never added.
  bool hasPanel(const QString& id) const;
  // In the order they were added.
  QStringList panelIds() const;
  // Null until the panel's widget was made.
  WidgetPanel* panel(const QString& id) const;
  QWidget* widget(const QString& id) const;
  // In a frame of a window of the workspace, as a tab (whether in front or not).
  bool isPanelOpen(const QString& id) const;

  // Opens the panel where it was closed (else at its place), fronts it and gives its
  // widget the keyboard focus; false when it cannot be made.
  bool showPanel(const QString& id);
  // Closes the panel, keeping it (and its widget) to come back where it was.
  void closePanel(const QString& id);
  void togglePanel(const QString& id);
  // Takes the panel from where it is (open or closed) to `where`.
  void movePanel(const QString& id, const DockPlace& where);
  // A checkable action for the host's Window menu: checked while the panel is open;
  // triggering it opens or closes the panel. Owned by the DockHost.
  QAction* toggleAction(const QString& id) const;

  // --- The arrangement as a file: every window with its place (the main window's too), its
  // frames and panels, and the closed panels and windows that can come back. An empty path
  // is layoutFile().

  // By default layout.xml in QStandardPaths::AppConfigLocation.
  QString layoutFile() const;
  void setLayoutFile(const QString& path);
  // False when it could not be written (the reason goes to qWarning).
  bool saveLayout(const QString& path = {});
  // Rebuilds the arrangement from the file, reusing the panels there are and making those
  // it names that are registered; false, with nothing changed, for a file that is missing
  // or not a layout. What was left out (panels not registered, factories that declined,
  // parts of the file that could not be read) is appended to `leftOut` when given.
  bool restoreLayout(const QString& path = {}, QStringList* leftOut = nullptr);

  // --- Named workspaces: arrangements kept by name in files, switched from the switcher bar
  // (a widget for the host's tool bar, whose menus also save, reset, make and delete them)
  // or by these calls. Off until enabled; the calls below answer empty or false until then.

  // Keeps the workspaces in `folder` (by default "workspaces" in
  // QStandardPaths::AppDataLocation) and opens the one that was current when the main window
  // last closed; on the first start the present arrangement becomes the workspace `first`.
  // Register the panels first: a workspace opened here makes the panels it shows. Closing
  // the main window saves the current workspace too.
  void enableWorkspaces(const QString& first = QStringLiteral("Default"),
                        const QString& folder = {});
  bool workspacesEnabled() const;
  // In the switcher's order.
  QStringList workspaceNames() const;
  QString currentWorkspace() const;
  // Saves the workspace left, then restores `name`; false, with the current one kept, for a
  // name that is not a workspace or one that cannot be restored.
  bool switchToWorkspace(const QString& name);
  // The present arrangement as a new workspace, made current; false for a name in use.
  bool saveWorkspaceAs(const QString& name);
  // The current workspace back as it was last saved.
  void resetWorkspace();
  // The switcher bar, made on first call and owned by the DockHost (null until enabled).
  QWidget* switcherBar();

  // --- Closing the main window. The handler (a host asking whether to save its document)
  // returns false to keep the window open; then nothing is saved. With quitOnClose off, a
  // close saves the layout and leaves the event loop running.
  void setCloseRequestHandler(std::function<bool()> handler);
  void setQuitOnClose(bool quit);

  // The docking model underneath, for what this class does not offer.
  workspace::Workspace& workspace() const;

 signals:
  // A panel opened or closed: at the end of the command that did it, or, when the user did
  // it (a tab's close box, a drag), from the event loop right after.
  void panelOpened(const QString& id);
  void panelClosed(const QString& id);
  // The panel (its widget, or something inside it) got the keyboard focus.
  void panelFocused(const QString& id);
  // A panel could not be opened because its factory made no widget (from the event loop).
  void panelDeclined(const QString& id);
  // The arrangement was replaced (a layout restored).
  void workspaceChanged();
  // Another named workspace became current (by a call, the switcher bar or a reset).
  void workspaceSwitched(const QString& name);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 public:
  struct Impl;

 private:
  std::unique_ptr<Impl> d_;
};

}  // namespace kivworkspace::qtwidgets
