#include "qtwidgets/internal/NamedWorkspaces.h"

#include "qtwidgets/internal/QtStrings.h"
#include "services/core/FileUtils.h"
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "services/ui/qt/NodeImpl.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherManager.h"
#include "workspace/core/Workspace.h"
#include "workspace/manager/Manager.h"

#include <QDir>
#include <QtGlobal>
#include <QSizePolicy>
#include <QWidget>

#include <exception>
#include <string>
#include <vector>

namespace kivworkspace::qtwidgets {
namespace {

constexpr int kBarHeight = 26;

}  // namespace

NamedWorkspaces::NamedWorkspaces(workspace::Workspace& workspace, const QString& folder,
                                 const QString& first, std::function<void(const QString&)> switched)
    : currentFile_(QDir(folder).filePath("Current.xml")), switched_(std::move(switched)) {
  const QDir dir(folder);
  for (const char* sub : {"Workspaces", "ArchivedWorkspaces"})
    kivcore::filesupport::FileUtils::EnsureDirectoryExists(FileAt(dir.filePath(sub)));
  manager_ = std::make_unique<workspace::Manager>(
      workspace, ToUTF16(dir.filePath("Workspaces")), ToUTF16(dir.filePath("ArchivedWorkspaces")),
      ToUTF16(dir.filePath("WorkspaceSettings.xml")), nullptr, false);
  manager_->Initialize();
  sharedui::WorkspaceSwitcherManager::Get()->AttachWorkspaceManager(manager_.get());

  kivcore::UTF16String last;
  try {
    kivcore::proplist::utils::LoadPropList(FileAt(currentFile_)).GetValue("CurrentWorkspace", last);
  } catch (const std::exception&) {
    // The first start in this folder, or a file that cannot be read: start in `first`.
  }
  for (const kivcore::UTF16String& name : {last, ToUTF16(first)}) {
    if (!name.empty() && SwitchTo(FromUTF16(name))) return;
  }
  // A `first` that exists but cannot be restored is left as it is: no workspace is current.
  if (!manager_->HasNamedWorkspace(ToUTF16(first))) SaveAs(first);
}

NamedWorkspaces::~NamedWorkspaces() {
  // The bar listens to the manager: it goes first, then the switcher forgets the manager.
  bar_.reset();
  auto* switcher = sharedui::WorkspaceSwitcherManager::Get();
  if (switcher->GetWorkspaceManager() == manager_.get()) switcher->AttachWorkspaceManager(nullptr);
}

QStringList NamedWorkspaces::Names() const {
  std::vector<kivcore::UTF16String> names;
  manager_->GetUISortedWorkspaceNames(names);
  QStringList out;
  for (const kivcore::UTF16String& name : names) out << FromUTF16(name);
  return out;
}

QString NamedWorkspaces::Current() const { return FromUTF16(manager_->GetCurrentWorkspace()); }

// The manager raises for what it cannot read or write; the host hears of it as a warning
// and a false answer, never as an exception out of a slot or an event.
template <typename Action>
bool NamedWorkspaces::Try(const char* what, Action action) {
  bool done = false;
  try {
    done = action();
  } catch (const std::exception& e) {
    qWarning("DockHost: %s: %s", what, e.what());
  }
  for (const std::string& failure : manager_->TakeWriteFailures())
    qWarning("DockHost: %s: %s", what, failure.c_str());
  return done;
}

bool NamedWorkspaces::SwitchTo(const QString& name) {
  const kivcore::UTF16String key = ToUTF16(name);
  if (!manager_->HasNamedWorkspace(key)) return false;
  return Try("the workspace could not be opened", [&] { return manager_->SetCurrentWorkspace(key); });
}

bool NamedWorkspaces::SaveAs(const QString& name) {
  const kivcore::UTF16String key = ToUTF16(name);
  if (name.trimmed().isEmpty() || manager_->HasNamedWorkspace(key)) return false;
  return Try("the workspace could not be made", [&] {
    manager_->CreateUserWorkspace(key);
    return true;
  });
}

void NamedWorkspaces::Reset() {
  if (!manager_->HasCurrentWorkspace()) return;
  Try("the workspace could not be reset", [&] {
    manager_->RevertWorkspace(manager_->GetCurrentWorkspace());
    return true;
  });
}

void NamedWorkspaces::Close() {
  if (!manager_->HasCurrentWorkspace()) return;
  Try("the workspace could not be saved", [&] {
    manager_->SaveWorkspace(manager_->GetCurrentWorkspace());
    manager_->FlushManagerSettings();
    kivcore::PropList current;
    current.SetValue("CurrentWorkspace", manager_->GetCurrentWorkspace());
    kivcore::proplist::utils::SavePropList(current, FileAt(currentFile_));
    return true;
  });
}

QWidget* NamedWorkspaces::Bar() {
  if (!bar_) {
    bar_ = std::make_shared<sharedui::WorkspaceSwitcherBar>(*manager_);
    QWidget* widget = kivui::qt::WidgetOf(*bar_);
    widget->setFixedHeight(kBarHeight);
    widget->setMinimumWidth(120);
    widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    bar_->UI_Show(true);
  }
  return kivui::qt::WidgetOf(*bar_);
}

void NamedWorkspaces::Run(const std::function<void(workspace::ManagerBase&)>& command) {
  Try("the workspace command failed", [&] {
    command(*manager_);
    return true;
  });
}

void NamedWorkspaces::Switched() {
  if (switched_) switched_(Current());
}

}  // namespace kivworkspace::qtwidgets
