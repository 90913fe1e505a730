#include "services/ui/app/Application.h"

#include "services/core/MainThread.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"

#include <QApplication>
#include <QPalette>
#include <QPointer>
#include <QStyleFactory>
#include <QTimer>

#include <cstdlib>
#include <stdexcept>

namespace kivui {
namespace {

// Work for the main thread posted into Qt's event loop; callable from any thread.
class QtMainThreadQueue : public kivcore::threads::MainThreadQueue {
 public:
  void Post(boost::function<void()> f) override {
    // Nothing runs once the application is gone.
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(
          app, [f = std::move(f)] { f(); }, Qt::QueuedConnection);
  }
};

// What the library needs of a running application, whoever made it: the main thread, its
// queue in the event loop, and the end of input captures when another program is activated.
void AttachServices(QApplication& app) {
  kivcore::threads::RegisterMainThread();
  kivcore::threads::SetMainThreadQueue(std::make_shared<QtMainThreadQueue>());
  static QPointer<QApplication> attached;
  if (attached == &app) return;
  attached = &app;
  // Switching to another application takes any input capture away.
  QObject::connect(&app, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState s) {
    if (s != Qt::ApplicationActive) UI_NodeManager::Get().LoseCapture();
  });
}

// The native controls (text fields, trees, scroll bars, message boxes) in the same theme
// as the controls the library draws.
void ApplyThemePalette(QApplication& app) {
  const ThemeColors& t = ThemeColors::Current();
  QPalette p;
  p.setColor(QPalette::Window, qt::ToQColor(t.panel));
  p.setColor(QPalette::WindowText, qt::ToQColor(t.text));
  p.setColor(QPalette::Base, qt::ToQColor(t.field));
  p.setColor(QPalette::AlternateBase, qt::ToQColor(t.panelAlt));
  p.setColor(QPalette::ToolTipBase, qt::ToQColor(t.header));
  p.setColor(QPalette::ToolTipText, qt::ToQColor(t.text));
  p.setColor(QPalette::PlaceholderText, qt::ToQColor(t.textDim));
  p.setColor(QPalette::Text, qt::ToQColor(t.text));
  p.setColor(QPalette::Button, qt::ToQColor(t.button));
  p.setColor(QPalette::ButtonText, qt::ToQColor(t.text));
  p.setColor(QPalette::BrightText, qt::ToQColor(t.accentText));
  p.setColor(QPalette::Highlight, qt::ToQColor(t.selection));
  p.setColor(QPalette::HighlightedText, qt::ToQColor(t.accentText));
  p.setColor(QPalette::Link, qt::ToQColor(t.accent));
  p.setColor(QPalette::Mid, qt::ToQColor(t.border));
  p.setColor(QPalette::Dark, qt::ToQColor(t.border));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, qt::ToQColor(t.textDisabled));
  }
  app.setPalette(p);
  app.setFont(qt::ToQFont(Font::UI(12)));
}

}  // namespace

void Application::ApplyTheme() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) ApplyThemePalette(*app);
}

struct Application::Impl {
  std::unique_ptr<QApplication> app;
};

Application::Application(int& argc, char** argv, const char* platform)
    : impl_(std::make_unique<Impl>()) {
  if (platform && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", platform, 1);
  if (!QApplication::instance()) impl_->app = std::make_unique<QApplication>(argc, argv);
  QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  app->setStyle(QStyleFactory::create("Fusion"));
  ApplyThemePalette(*app);
  AttachServices(*app);
}

void Application::AttachToHostApplication() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app)
    throw std::logic_error("the host's QApplication must be made before the library's UI is used");
  AttachServices(*app);
}

Application::~Application() {
  kivcore::threads::SetMainThreadQueue(nullptr);
  // Widgets of nodes that went away are deleted later; let that happen before Qt goes.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int Application::Run() { return QApplication::exec(); }

void Application::Quit(int code) { QCoreApplication::exit(code); }

void Application::ProcessEvents(int maxMs) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (maxMs > 0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, maxMs);
  } else {
    QCoreApplication::processEvents();
  }
}

namespace {
int beeps = 0;
}

void MessageBeep(int) {
  ++beeps;
  if (QApplication::instance()) QApplication::beep();
}

int GetMessageBeepCount() { return beeps; }

bool Application::Exists() { return QCoreApplication::instance() != nullptr; }

}  // namespace kivui
