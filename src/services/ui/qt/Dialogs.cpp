#include "services/ui/dialogs/Dialogs.h"

#include "services/ui/dialogs/Prompt.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/NodeImpl.h"
#include "services/ui/window/OS_Window.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kivui {
namespace {

QWidget* ParentWidget(OS_Window* parent) { return parent ? qt::WidgetOf(*parent) : nullptr; }

// The scripted answer when a responder is installed.
std::optional<PromptAnswer> Scripted(Prompt::Kind kind, const std::string& title,
                                     const std::string& message, const std::string& text = {}) {
  auto responder = GetPromptResponder();
  if (!responder) return std::nullopt;
  Prompt prompt;
  prompt.kind = kind;
  prompt.title = title;
  prompt.message = message;
  prompt.defaultText = text;
  return responder->Answer(prompt);
}

void ShowMessage(Prompt::Kind kind, const std::string& title, const std::string& message,
                 OS_Window* parent) {
  if (Scripted(kind, title, message)) return;
  QMessageBox box(kind == Prompt::kCaution ? QMessageBox::Warning : QMessageBox::Information,
                  qt::ToQString(title), qt::ToQString(message), QMessageBox::Ok,
                  ParentWidget(parent));
  box.exec();
}

}  // namespace

std::optional<std::string> SimpleInputBox(const std::string& title, const std::string& prompt,
                                          const std::string& defaultText, OS_Window* parent) {
  if (auto answer = Scripted(Prompt::kInput, title, prompt, defaultText)) {
    if (!answer->accepted) return std::nullopt;
    return answer->text;
  }
  bool ok = false;
  const QString text = QInputDialog::getText(ParentWidget(parent), qt::ToQString(title),
                                             qt::ToQString(prompt), QLineEdit::Normal,
                                             qt::ToQString(defaultText), &ok);
  if (!ok) return std::nullopt;
  return qt::ToUTF8(text);
}

bool SimpleConfirmationBox(const std::string& title, const std::string& message,
                           const std::string& okText, const std::string& cancelText,
                           OS_Window* parent) {
  if (auto answer = Scripted(Prompt::kConfirmation, title, message)) return answer->accepted;
  QMessageBox box(QMessageBox::Question, qt::ToQString(title), qt::ToQString(message),
                  QMessageBox::NoButton, ParentWidget(parent));
  QPushButton* ok = box.addButton(qt::ToQString(okText), QMessageBox::AcceptRole);
  box.addButton(qt::ToQString(cancelText), QMessageBox::RejectRole);
  box.setDefaultButton(ok);
  box.exec();
  return box.clickedButton() == ok;
}

void ShowNote(const std::string& title, const std::string& message, OS_Window* parent) {
  ShowMessage(Prompt::kNote, title, message, parent);
}

void ShowCaution(const std::string& title, const std::string& message, OS_Window* parent) {
  ShowMessage(Prompt::kCaution, title, message, parent);
}

std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& folder,
                                             const std::string& filter, OS_Window* parent) {
  if (auto answer = Scripted(Prompt::kFileOpen, title, folder)) {
    if (!answer->accepted) return std::nullopt;
    return answer->text;
  }
  const QString path = QFileDialog::getOpenFileName(ParentWidget(parent), qt::ToQString(title),
                                                    qt::ToQString(folder), qt::ToQString(filter));
  if (path.isEmpty()) return std::nullopt;
  return qt::ToUTF8(path);
}

}  // namespace kivui
