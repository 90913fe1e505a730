#pragma once

#include "services/ui/node/UI_Node.h"
#include "services/ui/qt/NodeWidget.h"

#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>

namespace kivui {

// What a node keeps of the window system: its widget (owned) and its timers.
struct UI_Node::Impl {
  QPointer<qt::NodeWidget> widget;
  std::map<int, std::unique_ptr<QTimer>> timers;
  bool shown = true;
  float opacity = 1;
  // The container this node waits in while it is in no container (see
  // UI_Container::SetKeepsRemovedNodes); expired when it waits nowhere.
  std::weak_ptr<UI_Node> keeper;
};

namespace qt {
inline QWidget* WidgetOf(const UI_Node& node) { return node.GetImpl().widget.data(); }
}  // namespace qt

}  // namespace kivui
