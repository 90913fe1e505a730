#include "services/ui/controls/UI_ScrollBar.h"

#include "services/ui/qt/Convert.h"
#include "services/ui/qt/NativeControl.h"
#include "services/ui/qt/NodeImpl.h"

#include "services/ui/menu/OSMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

namespace kivui {
namespace {

// A scroll bar whose context menu goes through the library's menus rather than Qt's own.
class MenuScrollBar : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override {
    e->accept();
    const bool vertical = orientation() == Qt::Vertical;
    OSMenu menu;
    menu.AddItem(UI_ScrollBar::kScrollHere, "Scroll Here");
    menu.AddSeparator();
    menu.AddItem(UI_ScrollBar::kToStart, vertical ? "Top" : "Left Edge");
    menu.AddItem(UI_ScrollBar::kToEnd, vertical ? "Bottom" : "Right Edge");
    menu.AddSeparator();
    menu.AddItem(UI_ScrollBar::kPageBack, vertical ? "Page Up" : "Page Left");
    menu.AddItem(UI_ScrollBar::kPageForward, vertical ? "Page Down" : "Page Right");
    menu.AddSeparator();
    menu.AddItem(UI_ScrollBar::kStepBack, vertical ? "Scroll Up" : "Scroll Left");
    menu.AddItem(UI_ScrollBar::kStepForward, vertical ? "Scroll Down" : "Scroll Right");
    const QPoint local = e->pos();
    const QPointer<QScrollBar> alive(this);  // the menu's loop may see the bar go
    const int command = ContextMenu(menu, qt::ToPoint(e->globalPos()));
    if (alive) Perform(command, local);
  }

 private:
  void Perform(int command, QPoint local) {
    switch (command) {
      case UI_ScrollBar::kScrollHere: return setValue(ValueAt(local));
      case UI_ScrollBar::kToStart: return triggerAction(SliderToMinimum);
      case UI_ScrollBar::kToEnd: return triggerAction(SliderToMaximum);
      case UI_ScrollBar::kPageBack: return triggerAction(SliderPageStepSub);
      case UI_ScrollBar::kPageForward: return triggerAction(SliderPageStepAdd);
      case UI_ScrollBar::kStepBack: return triggerAction(SliderSingleStepSub);
      case UI_ScrollBar::kStepForward: return triggerAction(SliderSingleStepAdd);
      default: return;
    }
  }

  // The value that puts the middle of the slider at the local point.
  int ValueAt(QPoint local) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, this);
    const QRect slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    const bool vertical = orientation() == Qt::Vertical;
    const int length = vertical ? slider.height() : slider.width();
    const int start = vertical ? groove.top() : groove.left();
    const int span = (vertical ? groove.height() : groove.width()) - length;
    const int at = (vertical ? local.y() : local.x()) - start - length / 2;
    return QStyle::sliderValueFromPosition(minimum(), maximum(), at, span, option.upsideDown);
  }
};

}  // namespace

struct UI_ScrollBar::Private {
  QScrollBar* bar = nullptr;
};

UI_ScrollBar::UI_ScrollBar(bool vertical)
    : UI_NativeControl("UI_ScrollBar", false), d_(std::make_unique<Private>()) {
  d_->bar = new MenuScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, qt::WidgetOf(*this));
  GetHosted().Host(d_->bar);
  QObject::connect(d_->bar, &QScrollBar::valueChanged, [this](int value) {
    if (onValueChanged) onValueChanged(value);
  });
}

UI_ScrollBar::~UI_ScrollBar() = default;

int UI_ScrollBar::GetDefaultSize() {
  if (!QApplication::instance()) return 14;
  return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void UI_ScrollBar::SetRange(int minimum, int maximum) { d_->bar->setRange(minimum, maximum); }
void UI_ScrollBar::SetPageStep(int step) { d_->bar->setPageStep(step); }
void UI_ScrollBar::SetValue(int value) { d_->bar->setValue(value); }
int UI_ScrollBar::GetValue() const { return d_->bar->value(); }
int UI_ScrollBar::GetMinimum() const { return d_->bar->minimum(); }
int UI_ScrollBar::GetMaximum() const { return d_->bar->maximum(); }

}  // namespace kivui
