#include "services/ui/controls/UI_ScrollBar.h"

#include "services/ui/qt/Convert.h"
#include "services/ui/qt/NativeControl.h"
#include "services/ui/qt/NodeImpl.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

namespace kivui {

struct UI_ScrollBar::Private {
  QScrollBar* bar = nullptr;
};

UI_ScrollBar::UI_ScrollBar(bool vertical)
    : UI_NativeControl("UI_ScrollBar", false), d_(std::make_unique<Private>()) {
  d_->bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, qt::WidgetOf(*this));
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
