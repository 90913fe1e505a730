#pragma once
// A host's main window with a DockHost, a watch on the windows a widget passes through, and
// real tab drags.

#include "qtwidgets/DockHost.h"
#include "qtwidgets/WidgetPanel.h"
#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/events/CursorPos.h"
#include "services/ui/testing/Input.h"
#include "workspace/core/Workspace.h"
#include "workspace/drag/TabDragger.h"
#include "workspace/frames/WorkspaceFrame.h"
#include "workspace/windows/TopLevelWindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kivtest {

using kivworkspace::qtwidgets::DockHost;
using kivworkspace::qtwidgets::DockPlace;
using kivworkspace::qtwidgets::WidgetPanel;
using kivworkspace::workspace::DropZone;
using kivworkspace::workspace::TabDragger;
using kivworkspace::workspace::TopLevelWindow;
using kivworkspace::workspace::WorkspaceFrame;
namespace ui_testing = kivui::testing;

// Follows a widget through every reparenting in the application, its own and its
// ancestors'. Each window it is found in must be the host's main window or one of the
// workspace's floating or drag windows (tool windows): never the widget itself, a panel's or
// frame's widget on its own, or any other window. Counts how often that window changed and
// how often the widget itself got another parent.
class WindowWatch : public QObject {
 public:
  WindowWatch(QWidget* widget, QWidget* mainWindow)
      : widget_(widget), main_(mainWindow), window_(widget->window()) {
    qApp->installEventFilter(this);
  }
  ~WindowWatch() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ParentChange || !widget_) return false;
    if (watched == widget_) ++reparented;
    QWidget* window = widget_->window();
    if (window != window_) ++windowChanges;
    window_ = window;
    if (window != main_ && window->windowType() != Qt::Tool) {
      strays.push_back(window == widget_ ? std::string("the widget itself")
                                         : window->metaObject()->className());
    }
    return false;
  }

  int reparented = 0;
  int windowChanges = 0;
  std::vector<std::string> strays;

 private:
  QPointer<QWidget> widget_;
  QWidget* main_;
  QWidget* window_;
};

// A main window 900 x 600 at (100, 80) with a DockHost that saves into a scratch folder,
// shown and active. Every test ends with each window's layout tree sound.
struct DockFixture : ::testing::Test {
  QTemporaryDir dir;
  std::unique_ptr<QMainWindow> window;
  std::unique_ptr<DockHost> dock;

  void SetUp() override { Open(); }
  void TearDown() override { Close(); }

  void Open() {
    window = std::make_unique<QMainWindow>();
    window->setGeometry(100, 80, 900, 600);
    dock = std::make_unique<DockHost>(window.get());
    dock->setLayoutFile(dir.filePath("layout.xml"));
    window->show();
    Activate(window.get());
  }
  void Close() {
    if (dock) {
      for (TopLevelWindow* w : dock->workspace().GetWindows())
        EXPECT_EQ(w->GetLayoutManager().CheckStructure(), "") << "in a window of the workspace";
      EXPECT_EQ(dock->workspace().GetTracker(), nullptr) << "a drag outlived the test";
    }
    dock.reset();
    window.reset();
    ui_testing::ProcessEvents();
  }

  static void Activate(QWidget* w) {
    w->activateWindow();
    // Qt counts a tool window active while its main window is: wait for it to be the one.
    EXPECT_TRUE(QTest::qWaitFor([w] { return QApplication::activeWindow() == w->window(); }));
  }
  TopLevelWindow& Main() const { return *dock->workspace().GetMainTopLevelWindow(); }
  WorkspaceFrame* FrameOf(const QString& id) const {
    WidgetPanel* panel = dock->panel(id);
    return panel ? dynamic_cast<WorkspaceFrame*>(panel->GetFrame()) : nullptr;
  }
  // The global centre of the panel's tab.
  kivcore::Point TabPoint(const QString& id) const {
    WorkspaceFrame* frame = FrameOf(id);
    const int index = frame->IndexOf(dock->panel(id));
    const kivcore::RectF r = frame->GetTabWell().GetTabRect(index);
    return frame->GetTabWell().UI_LocalToGlobal(
        {int(r.left + r.width / 2), int(r.top + r.height / 2)});
  }

  // --- Real tab drags, as a user's mouse makes them.
  TabDragger* Dragger() const { return dynamic_cast<TabDragger*>(dock->workspace().GetTracker()); }
  // Presses the panel's tab and pulls it out of its well, so that the drag has started.
  void Grab(const QString& id) {
    const kivcore::Point at = TabPoint(id);
    ui_testing::MousePressAt(at);
    ui_testing::MouseMoveTo({at.x + 3, at.y + 10});
    ui_testing::MouseMoveTo({at.x + 6, at.y + 50});
    ASSERT_NE(Dragger(), nullptr) << "no drag from the tab of " << id.toStdString();
    ASSERT_TRUE(Dragger()->HasDragStarted());
  }
  // Moves there in a few steps and lets go.
  void DropAt(kivcore::Point to) {
    for (int i = 0; i < 3; ++i) ui_testing::MouseMoveTo({to.x - 2 + i, to.y});
    ui_testing::MouseMoveTo(to);
    ui_testing::MouseReleaseAt(to);
  }
  // The centre of a drop zone of the panel's frame, as its window computes it.
  kivcore::Point ZonePoint(const QString& id, DropZone::DropType type) const {
    WorkspaceFrame* frame = FrameOf(id);
    for (const DropZone& z : frame->GetTopLevelWindow()->GetFrameDropZones(*frame))
      if (z.GetType() == type) return z.GetCentre();
    ADD_FAILURE() << "no zone " << type;
    return {};
  }
};

}  // namespace kivtest
