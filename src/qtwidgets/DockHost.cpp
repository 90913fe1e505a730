#include "qtwidgets/DockHost.h"

#include "qtwidgets/WidgetPanel.h"
#include "qtwidgets/internal/KeptPlaces.h"
#include "qtwidgets/internal/NamedWorkspaces.h"
#include "qtwidgets/internal/QtStrings.h"
#include "services/core/File.h"
#include "services/core/FileUtils.h"
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"
#include "services/ui/app/Application.h"
#include "services/ui/qt/NodeImpl.h"
#include "workspace/core/Workspace.h"
#include "workspace/core/WorkspaceUtils.h"
#include "workspace/definition/WorkspaceDefinition.h"
#include "workspace/frames/WorkspaceFrame.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspaceutils/WorkspaceCommands.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QPointer>
#include <QStandardPaths>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

namespace kivworkspace::qtwidgets {

using workspace::LayoutManager;
using workspace::TabPanel;
using workspace::TabPanelPtr;
using workspace::TopLevelWindow;
using workspace::WorkspaceFrame;
using workspace::WorkspaceFrameBase;
namespace utils = workspace::WorkspaceUtils;

namespace {

// Ids are the panels' tab types, which the saved layout names.
std::string Key(const QString& id) { return id.toStdString(); }

// `message` names the panel as %1.
[[noreturn]] void Refuse(const char* message, const QString& id) {
  throw std::invalid_argument(("DockHost: " + QString(message).arg(id)).toStdString());
}

LayoutManager::InsertionType InsertionFor(DockPlace::Side side) {
  switch (side) {
    case DockPlace::Side::Left:
      return LayoutManager::kLeft;
    case DockPlace::Side::Top:
      return LayoutManager::kTop;
    case DockPlace::Side::Bottom:
      return LayoutManager::kBottom;
    case DockPlace::Side::Right:
      break;
  }
  return LayoutManager::kRight;
}

}  // namespace

// --- the DockHost's state ---------------------------------------------------------------------

struct DockHost::Impl {
  // One panel id: what makes its widget, where it opens, and its panel once made.
  struct Entry {
    QString id;
    QString title;
    WidgetFactory factory;  // empty for a widget given to addPanel
    DockPlace home;
    // Kept for the DockHost's life: the panel (and its widget) comes back as itself.
    std::shared_ptr<WidgetPanel> panel;
    QAction* action = nullptr;
    bool open = false;  // as the signals last told
  };

  explicit Impl(DockHost& host) : q(host) {}

  void Dock(QMainWindow* window);
  Entry& Register(const QString& id, const QString& title, WidgetFactory factory,
                  const DockPlace& home);
  Entry& Require(const QString& id);
  const Entry* Find(const QString& id) const;
  // The panel for the creator of the id: the DockHost's own when nobody else holds it (it
  // is in no frame, list or record), else a new one when the id has none yet; null when
  // the factory declines or the panel is in use.
  TabPanelPtr MakePanel(const std::string& key, WorkspaceFrameBase* frame);
  void Adopt(Entry& entry, std::shared_ptr<WidgetPanel> panel);
  // Raises for a place beside or with a panel that is not open (or is `id` itself).
  void CheckPlace(const DockPlace& where, const QString& id);
  // The frame of an open panel (checked by CheckPlace).
  WorkspaceFrame& FrameOf(const QString& id);
  void Place(const TabPanelPtr& panel, const DockPlace& where, bool focus);
  // Places a panel just made where a restored layout kept a place for its id, else at `where`.
  void Open(Entry& entry, const DockPlace& where);
  // Whether a closed panel of the id can come back where it was.
  bool RemembersPlace(const std::string& key) const;
  // Takes the panel out of its frame, or out of where it was kept closed.
  void Detach(Entry& entry);
  void Focus(TabPanel& panel);

  void ScheduleSync();
  // Brings the actions up to date and tells what opened, closed or was declined.
  void Sync();
  void PanelFocused(TabPanel* panel);
  void FocusMoved(QWidget* now);

  DockHost& q;
  std::unique_ptr<QMainWindow> ownWindow;
  QPointer<QMainWindow> window;
  std::shared_ptr<workspace::Workspace> workspace;
  std::shared_ptr<TopLevelWindow> main;
  std::map<std::string, Entry> entries;
  QStringList order;
  QString layoutFile;
  std::function<bool()> closeRequest;
  bool quitOnClose = true;
  bool syncPosted = false;
  bool closing = false;
  QStringList declined;
  QString focused;
  QMetaObject::Connection focusWatch;
  std::unique_ptr<NamedWorkspaces> named;
};

namespace {

// The DockHost's workspace: it tells which panel got the focus and when a named workspace
// was switched to, and runs the switcher bar's workspace commands.
class DockWorkspace : public workspace::Workspace {
 public:
  explicit DockWorkspace(DockHost::Impl& host) : host_(host) {}
  void OnTabPanelGainedFocus(TabPanel* panel) override { host_.PanelFocused(panel); }
  void NotifyWorkspaceSwitched() override {
    if (host_.named) host_.named->Switched();
  }
  void DoWorkspaceCmdNew() override { Run(workspaceutils::RequestCreateNewWorkspace); }
  void DoWorkspaceCmdSave() override { Run(workspaceutils::SaveCurrentWorkspace); }
  void DoWorkspaceCmdDelete() override { Run(workspaceutils::ChooseDeleteWorkspace); }
  void DoWorkspaceCmdReset() override { Run(workspaceutils::ConfirmRevertCurrWorkspace); }

 private:
  template <typename Command>
  void Run(Command command) {
    if (!host_.named) return;
    host_.named->Run([&](workspace::ManagerBase& manager) { command(GetMainTopLevelWindow(), manager); });
  }

  DockHost::Impl& host_;
};

// Makes the panels of one id. A closed panel leaves a record where it was, as a panel made
// by a factory must (a restored layout names it without making it); the DockHost keeps the
// panel itself, so that it comes back from the record as the same panel and widget.
class DockPanelCreator : public workspace::TabCreator {
 public:
  DockPanelCreator(DockHost::Impl& host, std::string key)
      : TabCreator(std::move(key)), host_(host) {}
  TabPanelPtr CreateTabPanel(workspace::Workspace*, WorkspaceFrameBase* frame) const override {
    return host_.MakePanel(GetTabType(), frame);
  }

 private:
  DockHost::Impl& host_;
};

}  // namespace

void DockHost::Impl::Dock(QMainWindow* host) {
  kivui::Application::AttachToHostApplication();
  window = host;
  workspace = std::make_shared<DockWorkspace>(*this);
  workspace->SetKeepsRemovedNodes(true);
  // The workspace's own widget, where panels out of every window wait, lives hidden in the
  // main window: a widget waiting there keeps the main window as its window.
  QWidget* keeper = kivui::qt::WidgetOf(*workspace);
  keeper->setParent(host);
  keeper->hide();
  main = workspace->CreateMainTopLevelWindow(
      {0, 0, std::max(host->width(), 200), std::max(host->height(), 150)});
  host->setCentralWidget(kivui::qt::WidgetOf(*main));
  main->UI_Show(true);
  host->installEventFilter(&q);
  focusWatch = QObject::connect(qApp, &QApplication::focusChanged, &q,
                                [this](QWidget*, QWidget* now) { FocusMoved(now); });
}

DockHost::Impl::Entry& DockHost::Impl::Register(const QString& id, const QString& title,
                                                WidgetFactory factory, const DockPlace& home) {
  const std::string key = Key(id);
  if (id.isEmpty()) throw std::invalid_argument("DockHost: a panel needs an id");
  if (entries.count(key) || workspace->FindCreator(key))
    Refuse("a panel with the id \"%1\" was already added", id);
  Entry& entry = entries[key];
  entry.id = id;
  entry.title = title;
  entry.factory = std::move(factory);
  entry.home = home;
  entry.action = new QAction(title, &q);
  entry.action->setCheckable(true);
  QObject::connect(entry.action, &QAction::triggered, &q, [this, id](bool checked) {
    if (checked) {
      q.showPanel(id);
    } else {
      q.closePanel(id);
    }
  });
  order.append(id);
  workspace->RegisterTabCreator(std::make_unique<DockPanelCreator>(*this, key));
  return entry;
}

DockHost::Impl::Entry& DockHost::Impl::Require(const QString& id) {
  auto it = entries.find(Key(id));
  if (it == entries.end()) Refuse("there is no panel \"%1\"", id);
  return it->second;
}

const DockHost::Impl::Entry* DockHost::Impl::Find(const QString& id) const {
  auto it = entries.find(Key(id));
  return it == entries.end() ? nullptr : &it->second;
}

TabPanelPtr DockHost::Impl::MakePanel(const std::string& key, WorkspaceFrameBase* frame) {
  auto it = entries.find(key);
  if (it == entries.end()) return nullptr;
  Entry& entry = it->second;
  if (entry.panel) return entry.panel.use_count() == 1 ? entry.panel : nullptr;
  QWidget* widget = nullptr;
  try {
    widget = entry.factory ? entry.factory() : nullptr;
  } catch (const std::exception& e) {
    qWarning("DockHost: the factory of the panel \"%s\" failed: %s", key.c_str(), e.what());
  } catch (...) {
    qWarning("DockHost: the factory of the panel \"%s\" failed", key.c_str());
  }
  if (!widget) {
    declined.append(entry.id);
    ScheduleSync();
    return nullptr;
  }
  Adopt(entry, std::make_shared<WidgetPanel>(workspace.get(), frame, key, entry.title, widget));
  return entry.panel;
}

void DockHost::Impl::Adopt(Entry& entry, std::shared_ptr<WidgetPanel> panel) {
  entry.panel = std::move(panel);
  entry.panel->onParentChanged = [this](WidgetPanel&) { ScheduleSync(); };
}

void DockHost::Impl::CheckPlace(const DockPlace& where, const QString& id) {
  if (where.kind() != DockPlace::Kind::BesidePanel &&
      where.kind() != DockPlace::Kind::TabbedWithPanel)
    return;
  if (where.panel() == id) Refuse("the panel \"%1\" cannot be docked beside or with itself", id);
  const Entry* target = Find(where.panel());
  if (!target || !target->panel || !dynamic_cast<WorkspaceFrame*>(target->panel->GetFrame()))
    Refuse("there is no open panel \"%1\" to dock beside or with", where.panel());
}

WorkspaceFrame& DockHost::Impl::FrameOf(const QString& id) {
  return *static_cast<WorkspaceFrame*>(Require(id).panel->GetFrame());
}

void DockHost::Impl::Place(const TabPanelPtr& panel, const DockPlace& where, bool focus) {
  const std::vector<TabPanelPtr> panels{panel};
  switch (where.kind()) {
    case DockPlace::Kind::WindowSide:
      if (main->GetRootFrame()) {
        main->AddTabbedFrame(nullptr, panels, InsertionFor(where.side()));
      } else {
        main->CreateRootFrame(panel, false);
      }
      break;
    case DockPlace::Kind::BesidePanel: {
      WorkspaceFrame& frame = FrameOf(where.panel());
      frame.GetTopLevelWindow()->AddTabbedFrame(&frame, panels, InsertionFor(where.side()));
      break;
    }
    case DockPlace::Kind::TabbedWithPanel:
      FrameOf(where.panel()).AddTab(panel, false);
      break;
    case DockPlace::Kind::Floating: {
      std::shared_ptr<TopLevelWindow> floating = workspace->AddTopLevelWindow(false, nullptr);
      floating->CreateRootFrame(panel, false);
      const QRect& r = where.geometry();
      if (!r.isEmpty()) floating->SetToGlobalTabSize({r.x(), r.y(), r.width(), r.height()});
      floating->UI_Show(true);
      break;
    }
  }
  if (focus) Focus(*panel);
}

void DockHost::Impl::Open(Entry& entry, const DockPlace& where) {
  // A place a restored layout kept for the id comes first: the creator hands the panel
  // there, as long as the entry holds the only reference to it.
  const std::string key = Key(entry.id);
  if (RemembersPlace(key) && utils::CreateOrReanimateTab(*workspace, key) == entry.panel.get())
    return;
  Place(entry.panel, where, false);
}

bool DockHost::Impl::RemembersPlace(const std::string& key) const {
  if (workspace->CanReanimateWindow(key)) return true;
  for (TopLevelWindow* w : workspace->GetWindows()) {
    if (w->CanReanimateFrame(key)) return true;
    for (WorkspaceFrame* frame : w->GetTabbedFrames())
      if (frame->CanReanimateTab(key)) return true;
  }
  return false;
}

void DockHost::Impl::Detach(Entry& entry) {
  const std::shared_ptr<WidgetPanel>& panel = entry.panel;
  // Kept closed in a frame's or a closed window's list (a layout from another host may have
  // put it there): it comes back first, so that it is never both there and in its place.
  if (!panel->GetFrame() && panel.use_count() > 1) utils::ToggleTabState(*workspace, panel, false);
  if (!panel->GetFrame()) return;
  auto* frame = dynamic_cast<WorkspaceFrame*>(panel->GetFrame());
  if (!frame) Refuse("the panel \"%1\" is pinned to a window's side and cannot be moved", entry.id);
  workspace->RemoveTab(frame, panel.get(), false, false);
}

void DockHost::Impl::Focus(TabPanel& panel) {
  // A maximized frame that hides the panel gives way first.
  if (WorkspaceFrameBase* frame = panel.GetFrame()) {
    TopLevelWindow* w = frame->GetTopLevelWindow();
    if (w && w->GetMaximizedFrame() && w->GetMaximizedFrame() != frame)
      w->SetMaximizedFrame(nullptr);
  }
  workspace->SetFocusedTabPanel(&panel);
}

void DockHost::Impl::ScheduleSync() {
  if (syncPosted || closing) return;
  syncPosted = true;
  QMetaObject::invokeMethod(
      &q,
      [this] {
        if (syncPosted) Sync();
      },
      Qt::QueuedConnection);
}

void DockHost::Impl::Sync() {
  syncPosted = false;
  if (closing) return;
  QStringList opened, closed;
  for (const QString& id : order) {
    Entry& entry = entries.at(Key(id));
    const bool open = entry.panel && entry.panel->GetFrame();
    entry.action->setChecked(open);
    if (open == entry.open) continue;
    entry.open = open;
    (open ? opened : closed).append(id);
  }
  const QStringList refused = std::exchange(declined, {});
  // The host's slots may call back into the DockHost: the lists are made first.
  for (const QString& id : closed) emit q.panelClosed(id);
  for (const QString& id : opened) emit q.panelOpened(id);
  for (const QString& id : refused) emit q.panelDeclined(id);
}

void DockHost::Impl::PanelFocused(TabPanel* panel) {
  auto it = entries.find(panel->GetTabType());
  if (closing || it == entries.end() || it->second.panel.get() != panel) return;
  if (it->second.id == focused) return;
  focused = it->second.id;
  emit q.panelFocused(focused);
}

void DockHost::Impl::FocusMoved(QWidget* now) {
  // The focus left the panels (for the host's tool bar, say): the next panel to get it,
  // the same one included, is told again.
  for (kivui::UI_Node* n = now ? kivui::qt::NodeWidget::NodeOf(now) : nullptr; n;
       n = n->GetParent()) {
    if (dynamic_cast<WidgetPanel*>(n)) return;
  }
  focused.clear();
}

// --- DockHost ---------------------------------------------------------------------------------

DockHost::DockHost(QMainWindow* window) : QObject(window), d_(std::make_unique<Impl>(*this)) {
  if (!window) throw std::invalid_argument("DockHost: no main window to dock in");
  d_->Dock(window);
}

DockHost::DockHost(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>(*this)) {
  d_->ownWindow = std::make_unique<QMainWindow>();
  d_->ownWindow->resize(1000, 700);
  d_->Dock(d_->ownWindow.get());
}

DockHost::~DockHost() {
  d_->closing = true;
  QObject::disconnect(d_->focusWatch);
  if (d_->window) d_->window->removeEventFilter(this);
  // Panels and windows go with the workspace, before the main window they wait in.
  for (auto& [key, entry] : d_->entries) {
    if (entry.panel) entry.panel->onParentChanged = nullptr;
    entry.panel.reset();
  }
  d_->named.reset();
  d_->main.reset();
  d_->workspace.reset();
  // Their widgets (the host's among them) go now, while the application is there.
  if (QCoreApplication::instance())
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  d_->ownWindow.reset();
}

QMainWindow* DockHost::mainWindow() const { return d_->window; }

WidgetPanel* DockHost::addPanel(const QString& id, const QString& title, QWidget* widget,
                                const DockPlace& where) {
  if (!widget) Refuse("the panel \"%1\" was given no widget", id);
  d_->CheckPlace(where, id);
  Impl::Entry& entry = d_->Register(id, title, nullptr, where);
  d_->Adopt(entry,
            std::make_shared<WidgetPanel>(d_->workspace.get(), nullptr, Key(id), title, widget));
  d_->Open(entry, where);
  d_->Sync();
  return entry.panel.get();
}

WidgetPanel* DockHost::addPanel(const QString& id, const QString& title, WidgetFactory factory,
                                const DockPlace& where) {
  d_->CheckPlace(where, id);
  Impl::Entry& entry = d_->Register(id, title, std::move(factory), where);
  if (d_->RemembersPlace(Key(id))) {
    utils::CreateOrReanimateTab(*d_->workspace, Key(id));
  } else if (TabPanelPtr panel = d_->MakePanel(Key(id), nullptr)) {
    d_->Place(panel, where, false);
  }
  d_->Sync();
  return entry.panel.get();
}

void DockHost::registerPanel(const QString& id, const QString& title, WidgetFactory factory,
                             const DockPlace& where) {
  d_->Register(id, title, std::move(factory), where);
}

bool DockHost::hasPanel(const QString& id) const { return d_->Find(id) != nullptr; }

QStringList DockHost::panelIds() const { return d_->order; }

WidgetPanel* DockHost::panel(const QString& id) const {
  const Impl::Entry* entry = d_->Find(id);
  return entry ? entry->panel.get() : nullptr;
}

QWidget* DockHost::widget(const QString& id) const {
  WidgetPanel* p = panel(id);
  return p ? p->GetWidget() : nullptr;
}

bool DockHost::isPanelOpen(const QString& id) const {
  WidgetPanel* p = panel(id);
  return p && p->GetFrame();
}

bool DockHost::showPanel(const QString& id) {
  Impl::Entry& entry = d_->Require(id);
  const std::string key = Key(id);
  if (!isPanelOpen(id)) {
    if (entry.panel && entry.panel.use_count() > 1) {
      // Kept closed somewhere: it comes back there, as itself.
      utils::ToggleTabState(*d_->workspace, entry.panel, true);
    } else if (d_->RemembersPlace(key)) {
      utils::CreateOrReanimateTab(*d_->workspace, key);
    } else if (TabPanelPtr made = d_->MakePanel(key, nullptr)) {
      // Its own place, unless that was beside a panel that is not open now.
      DockPlace where = entry.home;
      try {
        d_->CheckPlace(where, id);
      } catch (const std::invalid_argument&) {
        where = DockPlace();
      }
      d_->Place(made, where, false);
    }
  }
  if (isPanelOpen(id)) d_->Focus(*entry.panel);
  d_->Sync();
  return isPanelOpen(id);
}

void DockHost::closePanel(const QString& id) {
  Impl::Entry& entry = d_->Require(id);
  if (entry.panel && entry.panel->GetFrame()) utils::CloseTab(*d_->workspace, entry.panel);
  d_->Sync();
}

void DockHost::togglePanel(const QString& id) {
  d_->Require(id);
  if (isPanelOpen(id)) {
    closePanel(id);
  } else {
    showPanel(id);
  }
}

void DockHost::movePanel(const QString& id, const DockPlace& where) {
  Impl::Entry& entry = d_->Require(id);
  d_->CheckPlace(where, id);
  const bool focus = entry.panel && d_->workspace->GetFocusedTabPanel() == entry.panel.get();
  if (entry.panel) d_->Detach(entry);
  TabPanelPtr panel = entry.panel ? TabPanelPtr(entry.panel) : d_->MakePanel(Key(id), nullptr);
  if (panel) d_->Place(panel, where, focus);
  d_->Sync();
}

QAction* DockHost::toggleAction(const QString& id) const {
  const Impl::Entry* entry = d_->Find(id);
  return entry ? entry->action : nullptr;
}

QString DockHost::layoutFile() const {
  if (!d_->layoutFile.isEmpty()) return d_->layoutFile;
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/layout.xml";
}

void DockHost::setLayoutFile(const QString& path) { d_->layoutFile = path; }

bool DockHost::saveLayout(const QString& path) {
  const QString file = path.isEmpty() ? layoutFile() : path;
  try {
    kivcore::PropList definition;
    workspace::SaveWorkspace(*d_->workspace, definition, {});
    const kivcore::filesupport::File target = FileAt(file);
    kivcore::filesupport::FileUtils::EnsureDirectoryExists(target.GetParent());
    kivcore::proplist::utils::SavePropList(definition, target);
    return true;
  } catch (const std::exception& e) {
    qWarning("DockHost: the layout could not be saved to %s: %s", qUtf8Printable(file), e.what());
    return false;
  }
}

bool DockHost::restoreLayout(const QString& path, QStringList* leftOut) {
  const QString file = path.isEmpty() ? layoutFile() : path;
  auto note = [leftOut](const QString& line) {
    if (leftOut) leftOut->append(line);
  };
  if (!QFileInfo::exists(file)) {
    note(file + ": no layout was saved there");
    return false;
  }
  workspace::RestoreReport report;
  std::vector<std::string> kept;
  try {
    kivcore::PropList definition = kivcore::proplist::utils::LoadPropList(FileAt(file));
    workspace::CheckWorkspaceDefinition(definition);
    // Panels this host does not have (a later version dropped them, a plugin adds them
    // later) wait closed where they were, instead of going with their places.
    kept = KeepPlacesOfUnknownPanels(definition, [this](const std::string& type) {
      return hasPanel(QString::fromStdString(type));
    });
    workspace::RestoreWorkspace(*d_->workspace, definition, true, true, false, &report);
  } catch (const std::exception& e) {
    note(file + ": " + QString::fromUtf8(e.what()));
    return false;
  }
  for (const std::string& type : kept) {
    note(QString("the panel \"%1\" was left out: no panel has that id; its place is kept for "
                 "when one is added").arg(QString::fromStdString(type)));
  }
  for (const std::string& type : report.droppedTypes) {
    const QString id = QString::fromStdString(type);
    note(hasPanel(id) ? QString("the panel \"%1\" was left out: its factory made no widget").arg(id)
                      : QString("the panel \"%1\" was left out: no panel has that id").arg(id));
  }
  for (const std::string& line : report.fallbacks) note(QString::fromStdString(line));
  d_->Sync();
  emit workspaceChanged();
  return true;
}

void DockHost::enableWorkspaces(const QString& first, const QString& folder) {
  if (d_->named) return;
  const QString dir = folder.isEmpty()
      ? QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath("workspaces")
      : folder;
  d_->named = std::make_unique<NamedWorkspaces>(
      *d_->workspace, dir, first.isEmpty() ? QString("Default") : first,
      [this](const QString& name) {
        d_->Sync();
        emit workspaceSwitched(name);
      });
  d_->Sync();
}

bool DockHost::workspacesEnabled() const { return d_->named != nullptr; }

QStringList DockHost::workspaceNames() const { return d_->named ? d_->named->Names() : QStringList(); }

QString DockHost::currentWorkspace() const { return d_->named ? d_->named->Current() : QString(); }

bool DockHost::switchToWorkspace(const QString& name) {
  return d_->named && d_->named->SwitchTo(name);
}

bool DockHost::saveWorkspaceAs(const QString& name) { return d_->named && d_->named->SaveAs(name); }

void DockHost::resetWorkspace() {
  if (d_->named) d_->named->Reset();
}

QWidget* DockHost::switcherBar() { return d_->named ? d_->named->Bar() : nullptr; }

void DockHost::setCloseRequestHandler(std::function<bool()> handler) {
  d_->closeRequest = std::move(handler);
}

void DockHost::setQuitOnClose(bool quit) { d_->quitOnClose = quit; }

workspace::Workspace& DockHost::workspace() const { return *d_->workspace; }

bool DockHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched == d_->window && event->type() == QEvent::Close && !d_->closing) {
    if (d_->closeRequest && !d_->closeRequest()) {
      event->ignore();
      return true;
    }
    saveLayout();
    if (d_->named) d_->named->Close();
    if (d_->quitOnClose) QCoreApplication::exit(0);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kivworkspace::qtwidgets
