#include "editors/entry_box.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "app/prompts.h"
#include "app/screen.h"
#include "editors/entry_rules.h"

namespace tarvek {

namespace {

// The character a key types, or -1 for a key that types none.
int typedCode(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Backspace:
      return entry::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return entry::kEnter;
    case Qt::Key_Escape:
      return entry::kEscape;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return -1;
    default:
      break;
  }
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return -1;
  const QString text = event.text();
  if (text.isEmpty()) return -1;
  return text.at(0).unicode();
}

}  // namespace

EntryBox::EntryBox(QWidget* parent) : QLineEdit(parent) {
  // Every character must come through the key gate; text dropped in is not filtered.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setAcceptDrops(false);
}

QString EntryBox::textWith(const QString& pasted) const {
  QString result = text();
  if (hasSelectedText())
    result.replace(selectionStart(), selectedText().size(), pasted);
  else
    result.insert(cursorPosition(), pasted);
  return result;
}

bool EntryBox::apply(const entry::KeyVerdict& verdict, Prompts& prompts) {
  if (verdict.empty) clear();
  if (!verdict.message.empty()) {
    prompts.inform(verdict.message);
    setFocus();
  }
  return verdict.take;
}

bool EntryBox::apply(const entry::PasteVerdict& verdict, Prompts& prompts) {
  return apply(entry::KeyVerdict{verdict.take, verdict.empty, verdict.message}, prompts);
}

void EntryBox::setTextQuietly(const QString& text) {
  if (this->text() != text) setText(text);
}

void EntryBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    event->accept();
    pasteFrom(QClipboard::Clipboard);
    return;
  }
  const int code = typedCode(*event);
  if (code < 0 || !m_keyGate || m_keyGate(code)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  event->accept();
}

void EntryBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The standard Paste entry would bypass the paste gate: route it through it.
  const QString pasteCaption = QCoreApplication::translate("QLineEdit", "&Paste");
  for (QAction* action : menu->actions()) {
    if (action->text().section(QLatin1Char('\t'), 0, 0) != pasteCaption) continue;
    disconnect(action, nullptr, this, nullptr);
    connect(action, &QAction::triggered, this, [this] { pasteFrom(QClipboard::Clipboard); });
  }
  menu->popup(event->globalPos());
}

void EntryBox::mouseReleaseEvent(QMouseEvent* event) {
  // A middle click pastes the selection on some systems: it goes through the gate too.
  if (event->button() == Qt::MiddleButton) {
    if (QApplication::clipboard()->supportsSelection() && !isReadOnly()) pasteFrom(QClipboard::Selection);
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void EntryBox::pasteFrom(QClipboard::Mode mode) {
  if (isReadOnly()) return;
  const QString pasted = QApplication::clipboard()->text(mode);
  if (pasted.isEmpty()) return;
  if (m_pasteGate && !m_pasteGate(pasted)) return;
  insert(pasted);
}

}  // namespace tarvek
