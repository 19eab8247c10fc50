#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "support/app_harness.h"

// Steps shared by the screen tests: open a screen from the real ones, type into its
// boxes with real key events, read what the screens show.
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

inline QLineEdit* box(QWidget* screen, const char* name) { return child<QLineEdit>(screen, name); }

inline bool enabled(QWidget* screen, const char* name) { return child<QWidget>(screen, name)->isEnabled(); }

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

// The texts of the messages shown, "|" between them.
inline QString messages(const ScriptedPrompts& prompts) {
  QStringList texts;
  for (const auto& text : prompts.texts()) texts << QString::fromStdString(text);
  return texts.join(QLatin1Char('|'));
}

// Fails unless the Main screen shows the document's record: its nine Global settings
// and both lists.
inline void verifyMainShowsTheDocument(AppHarness& h) {
  MainScreen* main = h.app->mainScreen();
  QVERIFY(shown(main));
  const Programming& record = h.app->document().record();
  const GlobalSettings& g = record.global;
  const std::pair<const char*, const std::string&> labels[] = {
      {"lblFunctionSetting", g.function},           {"lblSecurityCodeSetting", g.securityCode},
      {"lblAccessCodeSetting", g.accessCode},       {"lblRingDelaySetting", g.ringDelay},
      {"lblRingbackLimitSetting", g.ringbackLimit}, {"lblDialingSpeedSetting", g.dialingSpeed},
      {"lblCallProgressSetting", g.callProgress},   {"lblForcedSetting", g.forcedPlayTimer},
      {"lblHookswitchSetting", g.hookswitchFlash}};
  for (const auto& [name, value] : labels) QCOMPARE(labelText(main, name), fromWindows1252(value));
  QCOMPARE(listLines(main, "lstInputSpecs"), toQt(record.inputSpecs));
  QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(record.phoneNumbers));
}

// The rows of a table kept in an array of structs with a name: the test fetches its
// row by index.
template <typename Row, std::size_t N>
void addRows(const Row (&rows)[N]) {
  QTest::addColumn<int>("row");
  for (std::size_t i = 0; i < N; ++i) QTest::newRow(rows[i].name) << static_cast<int>(i);
}

}  // namespace tarvek::test
