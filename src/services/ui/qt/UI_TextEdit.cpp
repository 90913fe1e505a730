#include "services/ui/controls/UI_TextEdit.h"

#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/KeyMap.h"
#include "services/ui/qt/NativeControl.h"
#include "services/ui/qt/NodeImpl.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace kivui {

struct UI_TextEdit::Private {
  QLineEdit* line = nullptr;
  QPlainTextEdit* area = nullptr;
  QWidget* Editor() const { return line ? static_cast<QWidget*>(line) : area; }
};

UI_TextEdit::UI_TextEdit(bool multiLine)
    : UI_NativeControl("UI_TextEdit", true), multiLine_(multiLine), d_(std::make_unique<Private>()) {
  QWidget* host = qt::WidgetOf(*this);
  if (multiLine) {
    d_->area = new QPlainTextEdit(host);
    QObject::connect(d_->area, &QPlainTextEdit::textChanged, [this] {
      if (onTextChanged) onTextChanged(GetText());
    });
  } else {
    d_->line = new QLineEdit(host);
    QObject::connect(d_->line, &QLineEdit::textEdited, [this](const QString& text) {
      if (onTextChanged) onTextChanged(qt::ToUTF8(text));
    });
    QObject::connect(d_->line, &QLineEdit::returnPressed, [this] {
      if (onReturnPressed) onReturnPressed();
    });
  }
  GetHosted().Host(d_->Editor());
  if (!multiLine) {
    GetHosted().offersKey = [](int key) { return key == kKeyUp || key == kKeyDown || key == kKeyEscape; };
  } else {
    GetHosted().offersKey = [](int) { return false; };
  }
}

UI_TextEdit::~UI_TextEdit() = default;

void UI_TextEdit::SetText(const std::string& utf8) {
  if (d_->line) {
    d_->line->setText(qt::ToQString(utf8));
  } else {
    d_->area->setPlainText(qt::ToQString(utf8));
  }
}

std::string UI_TextEdit::GetText() const {
  return qt::ToUTF8(d_->line ? d_->line->text() : d_->area->toPlainText());
}

void UI_TextEdit::AppendText(const std::string& utf8) {
  if (d_->line) {
    d_->line->setText(d_->line->text() + qt::ToQString(utf8));
    return;
  }
  QTextCursor cursor = d_->area->textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(qt::ToQString(utf8));
  d_->area->verticalScrollBar()->setValue(d_->area->verticalScrollBar()->maximum());
}

void UI_TextEdit::SetPlaceholder(const std::string& utf8) {
  if (d_->line) {
    d_->line->setPlaceholderText(qt::ToQString(utf8));
  } else {
    d_->area->setPlaceholderText(qt::ToQString(utf8));
  }
}

void UI_TextEdit::SetReadOnly(bool readOnly) {
  if (d_->line) {
    d_->line->setReadOnly(readOnly);
  } else {
    d_->area->setReadOnly(readOnly);
  }
}

void UI_TextEdit::SetMonospace(bool monospace) {
  d_->Editor()->setFont(qt::ToQFont(monospace ? Font::Mono(12) : Font::UI(12)));
}

void UI_TextEdit::SelectAll() {
  if (d_->line) {
    d_->line->selectAll();
  } else {
    d_->area->selectAll();
  }
}

}  // namespace kivui
