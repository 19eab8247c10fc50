#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "support/app_harness.h"

// Steps shared by the editor tests: open an editor from the real Main screen, type
// into its boxes with real key events, read what the screens show.
namespace tarvek::test {

// Clicks one of the Main screen's Edit buttons and returns the editor it opened.
inline Screen* openEditor(AppHarness& h, const char* editButton) {
  click(h.app->mainScreen(), editButton);
  return h.app->editorScreen();
}

// Clicks an option button or check box with the mouse.
inline void choose(QWidget* screen, const char* name) {
  auto* button = child<QAbstractButton>(screen, name);
  QVERIFY2(button->isEnabled(), name);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

// Runs the screen's Help, Instructions command and returns the help topic it set.
inline QString instructionsTopic(AppHarness& h, QWidget* screen) {
  trigger(screen, "mnuHelpInstructions");
  return QString::fromStdString(h.app->session().helpTopic);
}

inline QLineEdit* box(QWidget* screen, const char* name) { return child<QLineEdit>(screen, name); }

// The text of a box or a label.
inline QString textOf(QWidget* screen, const char* name) {
  QWidget* widget = child<QWidget>(screen, name);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  missing(screen, name);
}

// Empties a box and types the text into it, key by key.
inline void retype(QWidget* screen, const char* name, const QString& text) {
  QLineEdit* edit = box(screen, name);
  edit->clear();
  QTest::keyClicks(edit, text);
}

inline QString focusName(QWidget* screen) {
  QWidget* focus = screen ? screen->focusWidget() : nullptr;
  return focus ? focus->objectName() : QString();
}

// The named widgets in the order the Tab key reaches them, from the first of them.
inline QStringList tabOrder(QWidget* screen, const QStringList& names) {
  QStringList order;
  auto* first = child<QWidget>(screen, qPrintable(names.value(0)));
  for (QWidget* widget = first; widget && order.size() < names.size(); widget = widget->nextInFocusChain()) {
    if (names.contains(widget->objectName()) && !order.contains(widget->objectName())) order << widget->objectName();
    if (widget->nextInFocusChain() == first) break;
  }
  return order;
}

inline QString messages(const ScriptedPrompts& prompts) {
  QStringList texts;
  for (const auto& text : prompts.texts()) texts << QString::fromStdString(text);
  return texts.join(QLatin1Char('|'));
}

}  // namespace tarvek::test
