// A QOpenGLWidget in a panel on a real X server (Xvfb, Mesa's software OpenGL): floated,
// docked back into another frame, closed and reopened. Its GL state is made once (the
// application shares OpenGL contexts, as the guide tells hosts to), what it draws is on the
// screen after every step (read back from the X server), and it is never a window of its
// own.
#include "qtwidgets/QtWidgetsTestSupport.h"

#include <QGuiApplication>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QScreen>
#include <QTreeView>

namespace kivtest {
namespace {

// Clears to one colour; counts its initializations and paints.
class Viewer : public QOpenGLWidget, protected QOpenGLFunctions {
 public:
  static constexpr QRgb kColour = qRgb(51, 153, 230);
  int initialized = 0;
  int painted = 0;

 protected:
  void initializeGL() override {
    initializeOpenGLFunctions();
    ++initialized;
  }
  void paintGL() override {
    glClearColor(float(qRed(kColour)) / 255, float(qGreen(kColour)) / 255,
                 float(qBlue(kColour)) / 255, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ++painted;
  }
};

using OpenGLPanels = DockFixture;

// The colour the X server shows at the centre of the widget.
QRgb ShownAtCentre(QWidget* w) {
  const QPoint centre = w->mapToGlobal(w->rect().center());
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen->grabWindow(0, centre.x(), centre.y(), 1, 1).toImage().pixel(0, 0) | 0xff000000u;
}

// Waits until the viewer painted again and the screen shows its colour.
::testing::AssertionResult Drawn(Viewer* viewer, const char* step) {
  const int before = viewer->painted;
  viewer->update();
  const bool painted = QTest::qWaitFor([&] { return viewer->painted > before; }, 3000);
  QRgb shown = 0;
  const bool onScreen = QTest::qWaitFor(
      [&] { return (shown = ShownAtCentre(viewer)) == (Viewer::kColour | 0xff000000u); }, 3000);
  if (painted && onScreen && viewer->isVisible()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << step << ": " << (viewer->isVisible() ? "" : "not visible, ") << (painted ? "" : "not painted, ")
         << "the screen shows #" << std::hex << (shown & 0xffffffu) << " at its centre";
}

TEST_F(OpenGLPanels, AViewerKeepsItsContextAndKeepsDrawingThroughEveryMove) {
  ASSERT_TRUE(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
  dock->addPanel("tree", "Tree", new QTreeView, DockPlace::left());
  auto* viewer = new Viewer;
  dock->addPanel("viewer", "Viewer", viewer, DockPlace::rightOf("tree"));
  WindowWatch watch(viewer, window.get());
  ASSERT_TRUE(Drawn(viewer, "docked"));

  dock->movePanel("viewer", DockPlace::floating({1000, 150, 360, 260}));
  ASSERT_EQ(viewer->window()->windowType(), Qt::Tool);
  EXPECT_TRUE(Drawn(viewer, "floated"));

  dock->movePanel("viewer", DockPlace::below("tree"));
  EXPECT_EQ(viewer->window(), window.get());
  EXPECT_TRUE(Drawn(viewer, "docked back below the tree"));

  dock->closePanel("viewer");
  EXPECT_FALSE(viewer->isVisible());
  ASSERT_TRUE(dock->showPanel("viewer"));
  EXPECT_TRUE(Drawn(viewer, "closed and reopened"));

  EXPECT_EQ(viewer->initialized, 1) << "the GL state was made again";
  EXPECT_EQ(watch.strays, std::vector<std::string>{});
  EXPECT_EQ(watch.reparented, 0);
}

}  // namespace
}  // namespace kivtest

// The host's application as the guide has it: contexts shared before the QApplication.
int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
