#pragma once

#include <QWidget>

namespace kivui {
class OS_Window;
class UI_Node;
}

namespace kivui::qt {

// The widget behind every node: it paints through the node's UI_Draw and turns Qt's events
// into the node's UI_ hooks, bubbling mouse and key events up the node tree until a node
// handles them.
class NodeWidget : public QWidget {
 public:
  NodeWidget(UI_Node& node, QWidget* parent = nullptr, Qt::WindowFlags flags = {});
  ~NodeWidget() override;

  UI_Node* GetNode() const { return node_; }
  // The node is going away: from now on events are dropped until the widget is deleted.
  void Orphan() { node_ = nullptr; }
  // The node a widget belongs to: the nearest NodeWidget at or above it.
  static UI_Node* NodeOf(QWidget* widget);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void tabletEvent(QTabletEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void DispatchMouse(QMouseEvent* event, int action, int clickCount);
  void UpdateCursor(QPointF local);
  // The window system activated or deactivated the window this node's window is (or is
  // embedded in).
  void WindowActivationChanged(OS_Window& window);

  UI_Node* node_;
};

}  // namespace kivui::qt
