// The facade a host uses: panels made by factories when a layout or the user opens them,
// factories that decline, clear errors, closing the main window, and the host's own look.
#include "qtwidgets/QtWidgetsTestSupport.h"
#include "services/ui/qt/NodeWidget.h"
#include "sharedui/WorkspaceSwitcherBar.h"
#include "sharedui/WorkspaceSwitcherBarTabWell.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QToolBar>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

#include <gmock/gmock.h>

#include <optional>
#include <stdexcept>

namespace kivtest {
namespace {

using ::testing::HasSubstr;
using Docking = DockFixture;

QString Slurp(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A layout saved by one run and restored by the next: the open panel's factory runs during
// the restore, the closed one's only when it is reopened, in the frame it was closed in.
TEST_F(Docking, FactoryPanelsAreMadeWhenALayoutPlacesThemOrTheyReopen) {
  int made = 0;
  const auto factory = [&made] {
    ++made;
    return new QLineEdit;
  };
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
  dock->addPanel("notes", "Notes", factory, DockPlace::right());
  dock->addPanel("log", "Log", factory, DockPlace::tabbedWith("tree"));
  EXPECT_EQ(made, 2);
  dock->closePanel("log");
  ASSERT_TRUE(dock->saveLayout());

  Close();
  Open();
  made = 0;
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::bottom());
  dock->registerPanel("notes", "Notes", factory);
  dock->registerPanel("log", "Log", factory);
  EXPECT_EQ(made, 0) << "registering makes nothing";
  QStringList leftOut;
  ASSERT_TRUE(dock->restoreLayout({}, &leftOut));
  EXPECT_TRUE(leftOut.isEmpty()) << leftOut.join("; ").toStdString();
  EXPECT_EQ(made, 1);
  EXPECT_TRUE(dock->isPanelOpen("notes"));
  EXPECT_EQ(dock->panel("log"), nullptr);
  EXPECT_EQ(Main().GetFrameCount(), 2u);
  EXPECT_FALSE(dock->toggleAction("log")->isChecked());

  dock->toggleAction("log")->trigger();
  EXPECT_EQ(made, 2);
  EXPECT_TRUE(dock->isPanelOpen("log"));
  EXPECT_EQ(FrameOf("log"), FrameOf("tree")) << "it came back where it was closed";
  EXPECT_TRUE(dock->toggleAction("log")->isChecked());
  EXPECT_EQ(QApplication::focusWidget(), dock->widget("log"));
}

// A layout saved by a host with tree, notes, log and scope, restored by a later version
// that has no log or scope but a console and a timeline: the two it lacks are reported and
// wait closed where they were (log in the tree's frame, scope in a placeholder below the
// notes), the two new ones open at their own places, and when log and scope are added again
// (a plugin loaded late) they come back where the first host had them, not where asked.
TEST_F(Docking, ALayoutFromAnotherPanelSetKeepsThePlacesOfPanelsAddedLater) {
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
  dock->addPanel("notes", "Notes", new QLineEdit, DockPlace::right());
  dock->addPanel("log", "Log", new QLineEdit("old log"), DockPlace::tabbedWith("tree"));
  dock->addPanel("scope", "Scope", new QLineEdit, DockPlace::below("notes"));
  dock->showPanel("log");
  ASSERT_TRUE(dock->saveLayout());

  Close();
  Open();
  dock->registerPanel("tree", "Tree", [] { return new QTreeView; });
  dock->registerPanel("notes", "Notes", [] { return new QLineEdit; });
  dock->registerPanel("console", "Console", [] { return new QLineEdit; }, DockPlace::bottom());
  dock->addPanel("timeline", "Timeline", new QLineEdit, DockPlace::top());
  QStringList leftOut;
  ASSERT_TRUE(dock->restoreLayout({}, &leftOut));
  EXPECT_THAT(leftOut.join("\n").toStdString(),
              HasSubstr("\"log\" was left out: no panel has that id; its place is kept"));
  EXPECT_THAT(leftOut.join("\n").toStdString(),
              HasSubstr("\"scope\" was left out: no panel has that id; its place is kept"));
  EXPECT_EQ(leftOut.size(), 2) << leftOut.join("; ").toStdString();
  ASSERT_TRUE(dock->isPanelOpen("tree"));
  ASSERT_TRUE(dock->isPanelOpen("notes"));
  EXPECT_EQ(FrameOf("tree")->GetTabCount(), 1u) << "the log's tab is not shown empty";
  EXPECT_EQ(Main().GetFrameCount(), 2u) << "the scope's frame is not shown empty";
  EXPECT_FALSE(dock->isPanelOpen("timeline")) << "a layout without it closes it";

  ASSERT_TRUE(dock->showPanel("console"));
  ASSERT_TRUE(dock->showPanel("timeline"));
  EXPECT_EQ(Main().GetFrameCount(), 4u);

  auto* scope = new QLineEdit;
  dock->addPanel("scope", "Scope", scope, DockPlace::left());
  ASSERT_TRUE(dock->isPanelOpen("scope"));
  const kivcore::Rect notes = FrameOf("notes")->GetTabPanelFrameGlobalRect();
  const kivcore::Rect below = FrameOf("scope")->GetTabPanelFrameGlobalRect();
  EXPECT_EQ(below.left, notes.left) << "below the notes, as the first host had it";
  EXPECT_GT(below.top, notes.top);
  dock->addPanel("log", "Log", [] { return new QLineEdit; }, DockPlace::right());
  EXPECT_EQ(FrameOf("log"), FrameOf("tree"));
}

// Named workspaces with the switcher bar in the host's tool bar: a workspace saved under a
// new name, switches by call and by a click on the bar's tab, each keeping the panels'
// widgets; closing the main window saves the current one, and the next start opens it.
TEST_F(Docking, NamedWorkspacesSwitchFromTheBarInTheHostsToolBarAndKeepTheWidgets) {
  const QString folder = dir.filePath("workspaces");
  const auto registerPanels = [this] {
    dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
    dock->registerPanel("notes", "Notes", [] { return new QLineEdit; }, DockPlace::right());
    dock->registerPanel("log", "Log", [] { return new QLineEdit; }, DockPlace::bottom());
  };
  registerPanels();
  ASSERT_TRUE(dock->showPanel("notes"));
  EXPECT_EQ(dock->switcherBar(), nullptr) << "no bar before the workspaces are on";
  QStringList switched;
  QObject::connect(dock.get(), &DockHost::workspaceSwitched, [&](const QString& n) { switched << n; });
  dock->enableWorkspaces("Edit", folder);
  EXPECT_EQ(dock->currentWorkspace(), "Edit");
  ASSERT_TRUE(dock->saveWorkspaceAs("Review"));
  EXPECT_FALSE(dock->saveWorkspaceAs("Edit")) << "a name in use";
  EXPECT_EQ(dock->currentWorkspace(), "Review");
  ASSERT_TRUE(dock->showPanel("log"));
  QWidget* notes = dock->widget("notes");
  QWidget* log = dock->widget("log");

  ASSERT_TRUE(dock->switchToWorkspace("Edit"));
  EXPECT_FALSE(dock->switchToWorkspace("Nowhere"));
  EXPECT_EQ(dock->currentWorkspace(), "Edit");
  EXPECT_FALSE(dock->isPanelOpen("log"));
  EXPECT_FALSE(dock->toggleAction("log")->isChecked());
  EXPECT_EQ(dock->widget("notes"), notes);

  // The bar in a tool bar of the host's window; a click on its Review tab switches.
  window->addToolBar("Workspaces")->addWidget(dock->switcherBar());
  ui_testing::ProcessEvents(20);
  auto* bar = dynamic_cast<kivworkspace::sharedui::WorkspaceSwitcherBar*>(
      kivui::qt::NodeWidget::NodeOf(dock->switcherBar()));
  ASSERT_NE(bar, nullptr);
  auto& well = bar->GetTabWell();
  std::optional<kivcore::Point> review;
  for (int i = 0; i < well.GetTabCount(); ++i) {
    if (well.GetTab(i).text != "Review") continue;
    const kivcore::RectF r = well.LocalRectToGlobalF(well.GetTabRect(i));
    review = kivcore::Point{int(r.left + r.width / 2), int(r.top + r.height / 2)};
  }
  ASSERT_TRUE(review) << "no Review tab on the bar";
  ui_testing::ClickAt(*review);
  ui_testing::ProcessEvents(20);
  EXPECT_EQ(dock->currentWorkspace(), "Review");
  EXPECT_TRUE(dock->isPanelOpen("log"));
  EXPECT_TRUE(dock->toggleAction("log")->isChecked());
  EXPECT_EQ(dock->widget("log"), log) << "the same widget came back";
  EXPECT_EQ(switched, QStringList({"Review", "Edit", "Review"}));

  dock->setQuitOnClose(false);
  window->close();
  Close();
  Open();
  registerPanels();
  dock->enableWorkspaces("Edit", folder);
  EXPECT_EQ(dock->currentWorkspace(), "Review");
  EXPECT_EQ(dock->workspaceNames(), QStringList({"Edit", "Review"}));
  EXPECT_TRUE(dock->isPanelOpen("log"));

  // A workspace whose file was damaged since is refused, and the current one stays.
  const QDir stored(folder + "/Workspaces");
  for (const QString& name : stored.entryList({"*.xml"})) {
    QFile file(stored.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    if (!file.readAll().contains("\"Edit\"")) continue;
    file.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<proplist>");
  }
  EXPECT_FALSE(dock->switchToWorkspace("Edit"));
  EXPECT_EQ(dock->currentWorkspace(), "Review");
  EXPECT_TRUE(dock->isPanelOpen("log"));
}

// A factory that makes nothing (or throws) leaves its panel out, says so in the restore's
// report and through panelDeclined, and a later attempt asks it again.
TEST_F(Docking, AFactoryThatDeclinesIsReportedAndItsPanelStaysClosed) {
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
  dock->addPanel("viewer", "Viewer", new QLineEdit, DockPlace::right());
  dock->addPanel("scope", "Scope", new QLineEdit, DockPlace::below("viewer"));
  ASSERT_TRUE(dock->saveLayout());

  Close();
  Open();
  int asked = 0;
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
  dock->registerPanel("viewer", "Viewer", [&asked]() -> QWidget* {
    ++asked;
    return nullptr;
  });
  dock->registerPanel("scope", "Scope",
                      []() -> QWidget* { throw std::runtime_error("no device"); });
  QStringList declined;
  QObject::connect(dock.get(), &DockHost::panelDeclined,
                   [&](const QString& id) { declined << id; });
  QStringList leftOut;
  ASSERT_TRUE(dock->restoreLayout({}, &leftOut));
  EXPECT_THAT(leftOut.join("\n").toStdString(),
              HasSubstr("\"viewer\" was left out: its factory made no widget"));
  EXPECT_THAT(leftOut.join("\n").toStdString(),
              HasSubstr("\"scope\" was left out: its factory made no widget"));
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(dock->isPanelOpen("tree"));
  EXPECT_EQ(Main().GetFrameCount(), 1u);
  declined.sort();
  EXPECT_EQ(declined, QStringList({"scope", "viewer"}));

  EXPECT_FALSE(dock->showPanel("viewer"));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(declined.size(), 3);
  EXPECT_FALSE(dock->isPanelOpen("viewer"));
  EXPECT_FALSE(dock->toggleAction("viewer")->isChecked());
}

// Ids are checked before anything changes, and the message names the id.
TEST_F(Docking, BadIdsAreClearErrorsThatChangeNothing) {
  dock->addPanel("edit", "Edit", new QLineEdit);
  auto again = std::make_unique<QLineEdit>();
  const auto message = [](const std::function<void()>& call) -> std::string {
    try {
      call();
    } catch (const std::invalid_argument& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_THAT(message([&] { dock->addPanel("edit", "Again", again.get()); }),
              HasSubstr("a panel with the id \"edit\" was already added"));
  EXPECT_EQ(again->parent(), nullptr) << "a refused widget stays the caller's";
  EXPECT_THAT(message([&] {
                dock->addPanel("late", "Late", again.get(), DockPlace::tabbedWith("nowhere"));
              }),
              HasSubstr("\"nowhere\""));
  EXPECT_FALSE(dock->hasPanel("late"));
  EXPECT_THAT(message([&] { dock->showPanel("ghost"); }), HasSubstr("\"ghost\""));
  EXPECT_THAT(message([&] { dock->movePanel("edit", DockPlace::rightOf("edit")); }),
              HasSubstr("\"edit\""));
  EXPECT_THAT(message([&] { dock->addPanel("", "Nameless", again.get()); }),
              HasSubstr("needs an id"));
  EXPECT_EQ(dock->panelIds(), QStringList({"edit"}));
  EXPECT_TRUE(dock->isPanelOpen("edit"));
}

// The window system's close saves the layout and ends the event loop; a handler that says
// no keeps the window open and saves nothing.
TEST_F(Docking, ClosingTheMainWindowSavesTheLayoutAndEndsTheEventLoop) {
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
  dock->addPanel("edit", "Edit", new QLineEdit, DockPlace::right());
  int asked = 0;
  bool allow = false;
  dock->setCloseRequestHandler([&] {
    ++asked;
    return allow;
  });
  ui_testing::CloseWindow(Main());
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(QFile::exists(dock->layoutFile()));

  // Only the DockHost may end the loop: Qt's own quitting when the last window closes is off.
  const bool quitOnLast = QGuiApplication::quitOnLastWindowClosed();
  QGuiApplication::setQuitOnLastWindowClosed(false);
  allow = true;
  QTimer::singleShot(0, [&] { ui_testing::CloseWindow(Main()); });
  QTimer::singleShot(10000, [] { QCoreApplication::exit(7); });
  EXPECT_EQ(QCoreApplication::exec(), 0) << "the event loop did not end with the close";
  QGuiApplication::setQuitOnLastWindowClosed(quitOnLast);
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(window->isVisible());
  const QString saved = Slurp(dock->layoutFile());
  EXPECT_TRUE(saved.contains("tree") && saved.contains("edit")) << saved.toStdString();
}

// A host's palette and style stay as the host set them, on the application and on the
// widgets in panels.
TEST(DockHostApplication, TheHostsPaletteAndStyleAreKept) {
  const QPalette before = QApplication::palette();
  QPalette host = before;
  host.setColor(QPalette::Window, QColor(250, 240, 230));
  host.setColor(QPalette::Base, QColor(255, 255, 224));
  QApplication::setPalette(host);
  const QStyle* style = QApplication::style();
  {
    QMainWindow window;
    DockHost dock(&window);
    auto* edit = new QLineEdit;
    dock.addPanel("edit", "Edit", edit);
    window.show();
    ui_testing::ProcessEvents();
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(250, 240, 230));
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 255, 224));
    EXPECT_EQ(QApplication::style(), style);
  }
  ui_testing::ProcessEvents();
  QApplication::setPalette(before);
}

}  // namespace
}  // namespace kivtest
