#include "services/ui/controls/UI_TextEdit.h"

#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/KeyMap.h"
#include "services/ui/qt/NodeImpl.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace kivui {

// Follows the editor's focus into the node manager and offers it keys it leaves unused.
struct UI_TextEdit::Private : QObject {
  UI_TextEdit& owner;
  QLineEdit* line = nullptr;
  QPlainTextEdit* area = nullptr;

  explicit Private(UI_TextEdit& o) : owner(o) {}
  QWidget* Editor() const { return line ? static_cast<QWidget*>(line) : area; }

  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::FocusIn && !owner.UI_HasKeyboardFocus()) {
      UI_NodeManager::Get().NodeFocused(&owner, FocusChangeReason::kMouse);
    }
    if (e->type() == QEvent::KeyPress && owner.onKey) {
      auto* k = static_cast<QKeyEvent*>(e);
      const int key = qt::KeyFromQtKey(k->key());
      const bool lineKey = key == kKeyUp || key == kKeyDown || key == kKeyEscape;
      if (line && lineKey) {
        KeyboardEvent ke;
        ke.key = key;
        ke.modKeys = qt::ModKeysFromQt(k->modifiers());
        return owner.onKey(ke);
      }
    }
    return false;
  }
};

UI_TextEdit::UI_TextEdit(bool multiLine)
    : UI_Node("UI_TextEdit"), multiLine_(multiLine), d_(std::make_unique<Private>(*this)) {
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
  d_->Editor()->installEventFilter(d_.get());
  host->setFocusProxy(d_->Editor());
}

UI_TextEdit::~UI_TextEdit() {
  if (QWidget* editor = d_->Editor()) editor->removeEventFilter(d_.get());
}

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

void UI_TextEdit::UI_FocusChanged(FocusChangeReason) {
  if (UI_HasKeyboardFocus() && !d_->Editor()->hasFocus()) d_->Editor()->setFocus();
}

void UI_TextEdit::UI_SizeChanged(const kivcore::RectF& b) {
  d_->Editor()->setGeometry(qt::ToQRectF(b).toRect());
}

}  // namespace kivui
