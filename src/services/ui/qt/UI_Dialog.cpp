#include "services/ui/dialogs/UI_Dialog.h"

#include "services/ui/controls/UI_Button.h"
#include "services/ui/dialogs/Prompt.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/NodeImpl.h"
#include "services/ui/window/OS_MonitorInfo.h"

#include <QEventLoop>

namespace kivui {
namespace {
constexpr float kButtonWidth = 88, kButtonHeight = 26, kPadding = 12;
}

struct UI_Dialog::Loop {
  QEventLoop loop;
};

UI_Dialog::UI_Dialog(std::string title, float width, float height)
    : OS_Window("UI_Dialog"),
      title_(std::move(title)),
      content_(std::make_shared<UI_Container>("content")),
      ok_(std::make_shared<UI_Button>("OK")),
      cancel_(std::make_shared<UI_Button>("Cancel")) {
  const MonitorInfo monitor = OS_MonitorInfo::FromPoint({0, 0});
  const kivcore::Rect screen = monitor.workRect.IsEmpty() ? kivcore::Rect{0, 0, 1280, 800} : monitor.workRect;
  const kivcore::Rect rect{screen.left + (screen.width - int(width)) / 2,
                           screen.top + (screen.height - int(height)) / 2, int(width), int(height)};
  UI_CreateWindow(title_, nullptr, rect, kToolWindow);
  ok_->SetDefault(true);
  ok_->onClick = [this] { EndModal(kOK); };
  cancel_->onClick = [this] { EndModal(kCancel); };
  PushBack(content_);
  PushBack(cancel_);
  PushBack(ok_);
  UI_SizeChanged(GetLocalBounds());
}

UI_Dialog::~UI_Dialog() = default;

UI_Dialog::Result UI_Dialog::RunModal(OS_Window* parent) {
  if (auto responder = GetPromptResponder()) {
    Prompt prompt;
    prompt.kind = Prompt::kDialog;
    prompt.title = title_;
    prompt.dialog = this;
    const PromptAnswer answer = responder->Answer(prompt);
    if (answer.interact) answer.interact(*this);
    return answer.accepted && CanAccept() ? kOK : kCancel;
  }
  if (parent) Reattach(parent);
  auto& manager = UI_NodeManager::Get();
  OS_Window* previousModal = manager.GetModalWindow();
  manager.SetModalWindow(this);
  qt::WidgetOf(*this)->setWindowModality(Qt::ApplicationModal);
  running_ = true;
  result_ = kCancel;
  UI_Show(true);
  Activate();
  loop_ = std::make_unique<Loop>();
  loop_->loop.exec();
  loop_.reset();
  running_ = false;
  UI_Show(false);
  manager.SetModalWindow(previousModal);
  return result_;
}

void UI_Dialog::EndModal(Result result) {
  if (result == kOK && !CanAccept()) return;
  result_ = result;
  if (loop_) loop_->loop.quit();
}

bool UI_Dialog::UI_DoKeyboardEvent(const KeyboardEvent& event) {
  if (event.action != KeyboardEvent::kDown) return false;
  if (event.key == kKeyReturn) {
    EndModal(kOK);
    return true;
  }
  if (event.key == kKeyEscape) {
    EndModal(kCancel);
    return true;
  }
  return false;
}

bool UI_Dialog::UI_DuringClose() {
  EndModal(kCancel);
  return !running_;
}

void UI_Dialog::UI_SizeChanged(const kivcore::RectF& b) {
  const float buttonsTop = b.height - kPadding - kButtonHeight;
  ok_->SetFrame({b.width - kPadding - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight});
  cancel_->SetFrame({b.width - 2 * (kPadding + kButtonWidth) + kPadding / 2, buttonsTop,
                     kButtonWidth, kButtonHeight});
  content_->SetFrame({kPadding, kPadding, b.width - 2 * kPadding, buttonsTop - 2 * kPadding});
}

void UI_Dialog::UI_Draw(Drawbot& drawbot, const kivcore::RectF&) {
  const ThemeColors& theme = ThemeColors::Current();
  const kivcore::RectF b = GetLocalBounds();
  drawbot.FillRect(b, theme.panel);
  const float line = b.height - 2 * kPadding - kButtonHeight + kPadding / 2;
  drawbot.FillRect({0, line, b.width, 1}, theme.border);
}

}  // namespace kivui
