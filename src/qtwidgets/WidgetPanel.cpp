#include "qtwidgets/WidgetPanel.h"

#include "qtwidgets/internal/QtStrings.h"
#include "services/ui/controls/UI_NativeControl.h"
#include "services/ui/qt/NativeControl.h"
#include "services/ui/qt/NodeImpl.h"
#include "workspace/core/Workspace.h"

#include <QWidget>

namespace kivworkspace::qtwidgets {
namespace {

// The node that shows the widget: a native control filling the panel. Focus the user gives
// the widget (or anything inside it) makes the panel the workspace's focused panel.
class WidgetContent : public kivui::UI_NativeControl {
 public:
  explicit WidgetContent(WidgetPanel& panel)
      : UI_NativeControl("WidgetPanelContent", true), panel_(panel) {}

  QWidget* Widget() const { return GetHosted().control; }
  // The widget's one reparenting: into this node's widget, which it then never leaves.
  void Show(QWidget* widget) {
    QWidget* home = kivui::qt::WidgetOf(*this);
    if (widget->parentWidget() != home) widget->setParent(home);
    widget->setGeometry(home->rect());
    widget->show();
    GetHosted().Host(widget);
  }
  QWidget* Take() { return GetHosted().Release(); }

  void UI_FocusChanged(kivui::FocusChangeReason reason) override {
    UI_NativeControl::UI_FocusChanged(reason);
    if (!UI_HasKeyboardFocus()) return;
    panel_.Touch();
    panel_.GetWorkspace()->TabPanelGainedFocus(&panel_);
  }

 private:
  WidgetPanel& panel_;
};

}  // namespace

WidgetPanel::WidgetPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame,
                         std::string tabType, const QString& title, QWidget* widget)
    : TabPanel(workspace, frame, true, std::move(tabType), ToUTF16(title)) {
  // Out of every window the panel waits inside the workspace's widget, never as a window.
  workspace->SetKeepsRemovedNodes(true);
  workspace->KeepRemovedNode(*this);
  auto content = std::make_shared<WidgetContent>(*this);
  content_ = content;
  PushBack(content);
  content->SetFrame(GetLocalBounds());
  // Focus given to the panel goes on to the content node, and from there to the widget.
  kivui::qt::WidgetOf(*this)->setFocusProxy(kivui::qt::WidgetOf(*content));
  if (widget) content->Show(widget);
}

// The content node goes with the panel, and the widget with the content node's widget.
WidgetPanel::~WidgetPanel() = default;

QWidget* WidgetPanel::GetWidget() const { return static_cast<WidgetContent&>(*content_).Widget(); }

QWidget* WidgetPanel::SetWidget(QWidget* widget) {
  auto& content = static_cast<WidgetContent&>(*content_);
  QWidget* old = content.Widget();
  if (old == widget) return nullptr;
  content.Take();
  if (widget) content.Show(widget);
  if (old) {
    old->hide();
    old->setParent(nullptr);
  }
  return old;
}

QString WidgetPanel::GetTitle() const {
  return FromUTF16(GetName());
}

void WidgetPanel::SetTitle(const QString& title) { SetName(ToUTF16(title)); }

void WidgetPanel::UI_SizeChanged(const kivcore::RectF& newBounds) {
  TabPanel::UI_SizeChanged(newBounds);
  content_->SetFrame(newBounds);
}

void WidgetPanel::UI_SetParent(kivui::UI_Container* parent) {
  TabPanel::UI_SetParent(parent);
  if (onParentChanged) onParentChanged(*this);
}

}  // namespace kivworkspace::qtwidgets
