#pragma once
// A DockHost's named workspaces: the library's workspace manager on a folder of its own, the
// switcher bar as a widget for the host's tool bar, and the name of the workspace that was
// current when the host last closed.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace kivworkspace::workspace {
class Manager;
class ManagerBase;
class Workspace;
}  // namespace kivworkspace::workspace
namespace kivworkspace::sharedui {
class WorkspaceSwitcherBar;
}

namespace kivworkspace::qtwidgets {

class NamedWorkspaces {
 public:
  // Opens the workspaces kept in `folder` and the one that was current there, else makes
  // the workspace's present arrangement the workspace `first`. `switched` is called after
  // every switch, whoever made it (a call, the bar, a reset).
  NamedWorkspaces(workspace::Workspace& workspace, const QString& folder, const QString& first,
                  std::function<void(const QString&)> switched);
  ~NamedWorkspaces();
  NamedWorkspaces(const NamedWorkspaces&) = delete;
  NamedWorkspaces& operator=(const NamedWorkspaces&) = delete;

  QStringList Names() const;
  QString Current() const;
  bool SwitchTo(const QString& name);
  bool SaveAs(const QString& name);
  void Reset();
  // Saves the current workspace and remembers its name for the next start.
  void Close();
  QWidget* Bar();
  // Runs a workspace command (the switcher bar's menus) on the manager; what it raises or
  // fails to write is a warning.
  void Run(const std::function<void(workspace::ManagerBase&)>& command);

  // Called by the workspace after every switch.
  void Switched();

 private:
  template <typename Action>
  bool Try(const char* what, Action action);

  QString currentFile_;
  std::function<void(const QString&)> switched_;
  std::unique_ptr<workspace::Manager> manager_;
  std::shared_ptr<sharedui::WorkspaceSwitcherBar> bar_;
};

}  // namespace kivworkspace::qtwidgets
