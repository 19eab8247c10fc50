#include "gui/entry_box.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "core/entry_rules.h"
#include "core/prompts.h"
#include "gui/screen.h"

namespace tarvek {

namespace {

// The code of a key that edits or leaves the box (Backspace, Enter, Escape), whatever
// modifiers it carries; -1 for any other key.
int controlCode(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Backspace:
      return entry::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return entry::kEnter;
    case Qt::Key_Escape:
      return entry::kEscape;
    default:
      return -1;
  }
}

// The text that QLineEdit would insert for a key: the key's text when it starts with a
// character it takes as input. Only Ctrl and Ctrl+Shift keep it from typing; with Alt,
// AltGr (Ctrl+Alt on some systems) or Meta it types the text like any other key.
QString insertedText(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty()) return {};
  const QChar first = text.front();
  if (first.category() == QChar::Other_Format) return text;
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) return {};
  if (first.isPrint() || first.category() == QChar::Other_PrivateUse) return text;
  if (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate()) return text;
  return {};
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
  if (const int code = controlCode(*event); code >= 0) {
    if (!m_keyGate || m_keyGate(code))
      QLineEdit::keyPressEvent(event);
    else
      event->accept();
    return;
  }
  const QString typed = insertedText(*event);
  if (typed.isEmpty() || isReadOnly()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  // Each character is judged as if typed alone, with the box as the ones before it left it.
  event->accept();
  for (const char32_t character : typed.toUcs4()) {
    if (m_keyGate && !m_keyGate(static_cast<int>(character))) return;
    insert(QString::fromUcs4(&character, 1));
  }
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
