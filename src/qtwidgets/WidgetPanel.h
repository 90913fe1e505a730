#pragma once

#include "workspace/core/TabPanel.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace kivui {
class UI_NativeControl;
}

namespace kivworkspace::qtwidgets {

// A panel that shows a widget of the host's, filling the panel as it is (no scroll area is
// added; give the panel a QScrollArea to have one).
//
// Ownership: the panel owns its widget and deletes it when the panel goes (on the event
// loop, as QObject::deleteLater does). SetWidget and TakeWidget hand the widget they take
// out back to the caller, parentless and hidden; the caller owns it from then on.
//
// The widget is given its parent once and never changes it while the panel has it: the
// panel moves around it. It is never a window of its own: while the panel is in a frame it
// is in that frame's window; while the panel is out of every window (closed and kept to
// come back, between two places as it moves, or left out by the layout shown) it waits,
// hidden, inside the workspace's own widget, which DockHost keeps inside the host's main
// window. So an OpenGL view keeps its window while its panel is behind another tab, closed
// or left out, and changes it only when the panel goes into another window (a floating
// one, or the one a drag carries it in; see GETTING-STARTED.md for the context sharing
// that keeps its content then).
//
// Keyboard focus given to the panel (a tab click, the focus cycle, reopening) goes to the
// widget, or to the widget's focus proxy; focus the user gives the widget or anything in it
// makes this the workspace's focused panel, and its frame shows as active.
//
// UI thread only, like every widget.
class WidgetPanel : public workspace::TabPanel {
 public:
  // `widget` may be null (nothing shown until SetWidget). The tab shows `title`.
  WidgetPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame,
              std::string tabType, const QString& title, QWidget* widget);
  ~WidgetPanel() override;

  QWidget* GetWidget() const;
  // Shows `widget` (which the panel then owns) instead of the widget shown so far, and
  // returns that one to the caller (null when there was none, or when it is `widget`).
  [[nodiscard]] QWidget* SetWidget(QWidget* widget);
  [[nodiscard]] QWidget* TakeWidget() { return SetWidget(nullptr); }

  QString GetTitle() const;
  void SetTitle(const QString& title);

  // Called after the panel joined a container or left one: it was placed, moved, closed or
  // brought back.
  std::function<void(WidgetPanel&)> onParentChanged;

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_SetParent(kivui::UI_Container* parent) override;

 private:
  std::shared_ptr<kivui::UI_NativeControl> content_;
};

}  // namespace kivworkspace::qtwidgets
