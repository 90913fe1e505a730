// A host's widget in a panel, moved every way a panel moves: it stays the same widget with
// its state, never becomes a window of its own and is never reparented; keyboard focus and
// the host's shortcuts follow it.
#include "qtwidgets/QtWidgetsTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>

namespace kivtest {
namespace {

using WidgetPanels = DockFixture;

// A line edit with text, a cursor place and an undo step, and a tree view with a selection
// and a scroll position: floated, docked back, closed (leaving a record) and reopened, left
// out by a layout and brought back by another.
TEST_F(WidgetPanels, AWidgetKeepsItsStateAndItsWindowThroughEveryMove) {
  auto* tree = new QTreeView;
  QStandardItemModel model;
  for (int row = 0; row < 300; ++row) model.appendRow(new QStandardItem(QString("item %1").arg(row)));
  tree->setModel(&model);
  dock->addPanel("tree", "Tree", tree, DockPlace::left());
  tree->setCurrentIndex(model.index(150, 0));
  tree->scrollTo(model.index(150, 0), QAbstractItemView::PositionAtTop);
  const int scrolled = tree->verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0);
  const QString without = dir.filePath("without.xml");
  ASSERT_TRUE(dock->saveLayout(without));
  auto* edit = new QLineEdit;
  const QPointer<QLineEdit> alive(edit);
  dock->addPanel("edit", "Edit", edit, DockPlace::right());
  edit->setFocus();
  QTest::keyClicks(edit, "docked");
  ASSERT_TRUE(edit->isUndoAvailable());
  edit->setCursorPosition(2);
  WindowWatch watch(edit, window.get());

  dock->movePanel("edit", DockPlace::floating({1100, 120, 320, 200}));
  ASSERT_NE(edit->window(), window.get());
  EXPECT_EQ(edit->window()->windowType(), Qt::Tool);
  EXPECT_TRUE(edit->isVisible());
  dock->movePanel("edit", DockPlace::rightOf("tree"));
  EXPECT_EQ(edit->window(), window.get());
  EXPECT_EQ(dock->workspace().GetWindows().size(), 1u) << "the emptied floating window went";

  dock->closePanel("edit");
  EXPECT_FALSE(dock->isPanelOpen("edit"));
  EXPECT_FALSE(edit->isVisible());
  EXPECT_EQ(edit->window(), window.get()) << "a closed panel's widget waits in the main window";
  ASSERT_TRUE(dock->showPanel("edit"));
  EXPECT_EQ(Main().GetFrameCount(), 2u) << "it came back beside the tree, where it was";

  const QString with = dir.filePath("with.xml");
  ASSERT_TRUE(dock->saveLayout(with));
  ASSERT_TRUE(dock->restoreLayout(without));
  EXPECT_FALSE(dock->isPanelOpen("edit"));
  EXPECT_EQ(edit->window(), window.get());
  ASSERT_TRUE(dock->restoreLayout(with));
  EXPECT_TRUE(dock->isPanelOpen("edit"));
  EXPECT_EQ(edit->cursorPosition(), 2);
  EXPECT_EQ(tree->currentIndex(), model.index(150, 0));
  EXPECT_TRUE(tree->selectionModel()->isSelected(model.index(150, 0)));
  EXPECT_EQ(tree->verticalScrollBar()->value(), scrolled);

  ASSERT_TRUE(alive) << "the widget was deleted on the way";
  EXPECT_EQ(dock->widget("edit"), edit);
  EXPECT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->text(), "docked");
  ASSERT_TRUE(edit->isUndoAvailable());
  edit->undo();
  EXPECT_NE(edit->text(), "docked");
  EXPECT_EQ(watch.strays, std::vector<std::string>{});
  EXPECT_EQ(watch.reparented, 0);
  EXPECT_EQ(watch.windowChanges, 2) << "into the floating window and back, nothing else";
}

// The same with the mouse: the tab torn off into a floating window, then dragged back onto
// the tree's frame, through the windows a drag carries it in.
TEST_F(WidgetPanels, ATabDraggedOutAndBackKeepsItsWidgetInTheWorkspacesWindows) {
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
  auto* edit = new QLineEdit("dragged");
  dock->addPanel("edit", "Edit", edit, DockPlace::right());
  WindowWatch watch(edit, window.get());

  Grab("edit");
  const kivcore::Rect mainRect = Main().GetGlobalStructureRect();
  DropAt({mainRect.Right() + 150, mainRect.top + 100});
  ASSERT_NE(FrameOf("edit"), nullptr);
  EXPECT_NE(FrameOf("edit")->GetTopLevelWindow(), &Main());
  EXPECT_EQ(edit->window()->windowType(), Qt::Tool);
  EXPECT_EQ(Main().GetFrameCount(), 1u);

  Grab("edit");
  DropAt(ZonePoint("tree", DropZone::kCentre));
  EXPECT_EQ(FrameOf("edit"), FrameOf("tree"));
  EXPECT_EQ(dock->workspace().GetWindows().size(), 1u);
  EXPECT_EQ(edit->window(), window.get());
  EXPECT_EQ(edit->text(), "dragged");
  // The windows it passed through were the main window, the drags' windows and the
  // floating one; the widget itself never moved.
  EXPECT_EQ(watch.strays, std::vector<std::string>{});
  EXPECT_EQ(watch.reparented, 0);
}

// A tab click, a reopened panel and a click into a widget each give the keyboard focus to
// the widget, mark its frame active and say which panel has it.
TEST_F(WidgetPanels, ActivatingAPanelGivesItsWidgetTheKeyboardFocus) {
  auto* first = new QLineEdit;
  auto* second = new QLineEdit;
  auto* other = new QLineEdit;
  dock->addPanel("first", "First", first);
  dock->addPanel("second", "Second", second, DockPlace::tabbedWith("first"));
  dock->addPanel("other", "Other", other, DockPlace::left());
  QStringList focused;
  QObject::connect(dock.get(), &DockHost::panelFocused, [&](const QString& id) { focused << id; });

  ui_testing::ClickAt(TabPoint("first"));
  EXPECT_EQ(QApplication::focusWidget(), first);
  ui_testing::ClickAt(TabPoint("second"));
  EXPECT_EQ(QApplication::focusWidget(), second);
  EXPECT_TRUE(FrameOf("second")->GetTabWell().IsActive());
  EXPECT_FALSE(FrameOf("other")->GetTabWell().IsActive());
  EXPECT_EQ(focused, QStringList({"first", "second"}));

  dock->closePanel("second");
  ASSERT_TRUE(dock->showPanel("second"));
  EXPECT_EQ(QApplication::focusWidget(), second);

  // A widget that takes a focus proxy passes the focus on to it.
  auto* box = new QLabel("proxy");
  auto* inner = new QLineEdit(box);
  inner->setGeometry(10, 10, 120, 24);
  box->setFocusProxy(inner);
  dock->addPanel("box", "Box", box, DockPlace::bottom());
  ASSERT_TRUE(dock->showPanel("box"));
  EXPECT_EQ(QApplication::focusWidget(), inner);

  // A click into a widget, or into one inside it, makes its panel the active one.
  const auto clickInto = [](QWidget* w) {
    const QPoint centre = w->mapToGlobal(w->rect().center());
    ui_testing::ClickAt({centre.x(), centre.y()});
  };
  clickInto(other);
  EXPECT_EQ(QApplication::focusWidget(), other);
  EXPECT_TRUE(FrameOf("other")->GetTabWell().IsActive());
  EXPECT_FALSE(FrameOf("first")->GetTabWell().IsActive());
  EXPECT_EQ(focused.last(), "other");
  clickInto(inner);
  EXPECT_EQ(QApplication::focusWidget(), inner);
  EXPECT_TRUE(FrameOf("box")->GetTabWell().IsActive());
  EXPECT_FALSE(FrameOf("other")->GetTabWell().IsActive());
  EXPECT_EQ(focused.last(), "box");
}

// The host's window-context shortcuts, one on the main window and one in its menu bar,
// fire from a key pressed in a floating window's widget.
TEST_F(WidgetPanels, TheHostsShortcutsWorkInAFloatingWindow) {
  auto* edit = new QLineEdit;
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
  dock->addPanel("edit", "Edit", edit, DockPlace::floating({1100, 120, 320, 200}));
  int found = 0;
  auto* find = new QAction("Find", window.get());
  find->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
  window->addAction(find);
  QObject::connect(find, &QAction::triggered, [&] { ++found; });
  QAction* toggleTree = dock->toggleAction("tree");
  toggleTree->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  window->menuBar()->addMenu("Window")->addAction(toggleTree);
  EXPECT_TRUE(toggleTree->isChecked());

  QWidget* floating = edit->window();
  ASSERT_EQ(floating->windowType(), Qt::Tool);
  Activate(floating);
  edit->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), edit);
  QTest::keyClick(edit, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(found, 1);
  QTest::keyClick(edit, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
  ui_testing::ProcessEvents();
  EXPECT_FALSE(dock->isPanelOpen("tree"));
  EXPECT_FALSE(toggleTree->isChecked());
  EXPECT_EQ(edit->text(), "") << "the keys went to the shortcuts, not into the text";
}

}  // namespace
}  // namespace kivtest
