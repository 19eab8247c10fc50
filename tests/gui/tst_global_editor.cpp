#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QRadioButton>

#include "core/entry_rules.h"
#include "editor_steps.h"

using namespace tarvek;
using namespace tarvek::test;

namespace {

bool checked(QWidget* screen, const char* name) { return child<QRadioButton>(screen, name)->isChecked(); }

bool enabled(QWidget* screen, const char* name) { return child<QWidget>(screen, name)->isEnabled(); }

const char* const kLockedInAislecall[] = {"txtAccess",       "txtRingbackLimit", "lblAccessCode", "lblRingbackLimit",
                                          "lblDialingSpeed", "optNormal",        "optFast",       "optHSEnabled",
                                          "optHSDisabled",   "optEnabled",       "optDisabled",   "txtForced",
                                          "lblForced",       "lblSeconds"};

GlobalSettings aislecallSettings() { return {"Aislecall", "123456", "N/A", "3", "N/A", "N/A", "N/A", "N/A", "N/A"}; }

MainScreen* startWith(AppHarness& h, const GlobalSettings& settings) {
  MainScreen* main = h.startWithNew();
  Programming record = h.app->document().record();
  record.global = settings;
  h.app->document().setRecord(record);
  return main;
}

}  // namespace

class GlobalEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void opensInPlaceOfTheMainScreenFilledFromItsLabels() {
    AppHarness h;
    MainScreen* main =
        startWith(h, {"Alarm Dialer (No Beeps)", "111111", "222222", "0", "12", "Fast", "Disabled", "07", "Enabled"});
    Screen* editor = openEditor(h, "cmdEditGlobal");
    QVERIFY(shown(editor));
    QCOMPARE(editor->objectName(), QStringLiteral("frmGlobal"));
    QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Global Settings"));
    QVERIFY(!main->isVisible());
    QVERIFY(checked(editor, "OptPager"));
    QCOMPARE(textOf(editor, "txtSecurity"), QStringLiteral("111111"));
    QCOMPARE(textOf(editor, "txtAccess"), QStringLiteral("222222"));
    QCOMPARE(textOf(editor, "txtRingDelay"), QStringLiteral("0"));
    QCOMPARE(textOf(editor, "txtRingbackLimit"), QStringLiteral("12"));
    QVERIFY(checked(editor, "optFast"));
    QVERIFY(checked(editor, "optHSEnabled"));
    QVERIFY(checked(editor, "optDisabled"));
    QCOMPARE(textOf(editor, "txtForced"), QStringLiteral("07"));
    QVERIFY(enabled(editor, "txtForced") && enabled(editor, "lblSeconds") && enabled(editor, "optHSEnabled"));
    QCOMPARE(focusName(editor), QStringLiteral("txtSecurity"));
    const QStringList order{"txtSecurity",  "txtAccess", "txtRingDelay", "txtRingbackLimit", "optEnabled",
                            "optDisabled",  "optNormal", "optFast",      "txtForced",        "optAlarmDialer",
                            "optAislecall", "cmdBack",   "optHSEnabled", "optHSDisabled",    "OptPager"};
    QCOMPARE(tabOrder(editor, order), order);
    QVERIFY(h.prompts.shown.empty());
    savePicture(editor, QStringLiteral("frmGlobal"));
    QCOMPARE(instructionsTopic(h, editor), QStringLiteral("Global"));
  }

  void aislecallLocksAllButSecurityCodeAndRingDelay() {
    AppHarness h;
    startWith(h, aislecallSettings());
    Screen* editor = openEditor(h, "cmdEditGlobal");
    QVERIFY(checked(editor, "optAislecall"));
    QCOMPARE(textOf(editor, "txtAccess"), QStringLiteral("390618"));
    QCOMPARE(textOf(editor, "txtRingbackLimit"), QStringLiteral("6"));
    QCOMPARE(textOf(editor, "txtForced"), QStringLiteral("00"));
    QVERIFY(checked(editor, "optNormal") && checked(editor, "optHSDisabled") && checked(editor, "optEnabled"));
    for (const char* name : kLockedInAislecall) QVERIFY2(!enabled(editor, name), name);
    for (const char* name : {"txtSecurity", "txtRingDelay", "optAlarmDialer", "OptPager", "optAislecall"})
      QVERIFY2(enabled(editor, name), name);
    savePicture(editor, QStringLiteral("frmGlobal-aislecall"));
  }

  void optionsLockAndUnlockTheirControls() {
    AppHarness h;
    startWith(h, {"Alarm Dialer", "507231", "390618", "1", "6", "Fast", "Disabled", "09", "Enabled"});
    Screen* editor = openEditor(h, "cmdEditGlobal");

    choose(editor, "optAislecall");
    for (const char* name : kLockedInAislecall) QVERIFY2(!enabled(editor, name), name);
    QVERIFY(checked(editor, "optEnabled"));
    QCOMPARE(textOf(editor, "txtForced"), QStringLiteral("00"));
    QVERIFY(checked(editor, "optFast"));  // the choices stay as they were

    choose(editor, "optAlarmDialer");
    QVERIFY(!checked(editor, "optHSEnabled"));
    QVERIFY(checked(editor, "optHSDisabled"));
    QVERIFY(enabled(editor, "txtAccess") && enabled(editor, "optHSEnabled") && enabled(editor, "optDisabled"));
    QVERIFY(!enabled(editor, "txtForced"));

    choose(editor, "optDisabled");
    QVERIFY(enabled(editor, "txtForced") && enabled(editor, "lblForced") && enabled(editor, "lblSeconds"));
    QCOMPARE(textOf(editor, "txtForced"), QStringLiteral("00"));
    retype(editor, "txtForced", QStringLiteral("45"));
    choose(editor, "optEnabled");
    QCOMPARE(textOf(editor, "txtForced"), QStringLiteral("00"));
    QVERIFY(!enabled(editor, "txtForced"));
  }

  void digitFilterRefusesOtherKeys() {
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditGlobal");
    box(editor, "txtRingbackLimit")->setFocus();

    QTest::keyClick(box(editor, "txtSecurity"), Qt::Key_A);
    QCOMPARE(textOf(editor, "txtSecurity"), QStringLiteral("507231"));
    QCOMPARE(h.prompts.lastText(), std::string("This digit entry must be 0 - 9"));
    QCOMPARE(focusName(editor), QStringLiteral("txtSecurity"));

    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
      h.prompts.shown.clear();
      QTest::keyClick(box(editor, "txtAccess"), key);
      QCOMPARE(textOf(editor, "txtAccess"), QStringLiteral("390618"));
      QCOMPARE(messages(h.prompts), QStringLiteral("This digit entry must be 0 - 9"));
    }
    QVERIFY(shown(editor));

    // The Ring Delay box alone is emptied by a refused key.
    QTest::keyClick(box(editor, "txtRingDelay"), Qt::Key_X);
    QCOMPARE(textOf(editor, "txtRingDelay"), QString());
    QCOMPARE(focusName(editor), QStringLiteral("txtRingDelay"));

    h.prompts.shown.clear();
    QTest::keyClick(box(editor, "txtRingbackLimit"), Qt::Key_End);
    QTest::keyClick(box(editor, "txtRingbackLimit"), Qt::Key_Backspace);
    QTest::keyClicks(box(editor, "txtRingbackLimit"), QStringLiteral("12"));
    QCOMPARE(textOf(editor, "txtRingbackLimit"), QStringLiteral("12"));
    QVERIFY(h.prompts.shown.empty());
  }

  void oneDigitTooManyEmptiesTheBox_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("security") << "txtSecurity"
                              << "1234567"
                              << "The Security Code cannot be more than 6 digits";
    QTest::newRow("access") << "txtAccess"
                            << "1234567"
                            << "The Access Code cannot be more than 6 digits";
    QTest::newRow("ring delay") << "txtRingDelay"
                                << "12"
                                << "The Ring Delay cannot be more than 1 digit";
    QTest::newRow("ringback") << "txtRingbackLimit"
                              << "123"
                              << "The Ringback Limit cannot be more than 2 digits";
    QTest::newRow("forced") << "txtForced"
                            << "123"
                            << "The Forced Play Timer cannot be more than 2 digits";
  }

  void oneDigitTooManyEmptiesTheBox() {
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    AppHarness h;
    startWith(h, {"Alarm Dialer", "507231", "390618", "1", "6", "Normal", "Disabled", "10", "Disabled"});
    Screen* editor = openEditor(h, "cmdEditGlobal");
    const QByteArray boxName = name.toLatin1();
    retype(editor, boxName.constData(), typed);
    QCOMPARE(textOf(editor, boxName.constData()), QString());
    QCOMPARE(messages(h.prompts), message);
    QCOMPARE(focusName(editor), name);
  }

  // Every editor's boxes are EntryBoxes: a key that would insert text goes through the
  // box's key rule whatever its modifiers; a paste through its paste rule.
  void keysAndPastesGoThroughTheBoxRules_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("clipboardAfter");
    const auto row = [](const char* name, Qt::Key key, Qt::KeyboardModifiers modifiers, const char* text,
                        const char* clipboard, const char* result, const char* message, const char* clipboardAfter) {
      QTest::newRow(name) << int(key) << int(modifiers) << QString::fromLatin1(text) << QString::fromLatin1(clipboard)
                          << QString::fromLatin1(result) << QString::fromLatin1(message)
                          << QString::fromLatin1(clipboardAfter);
    };
    const char* const digitOnly = entry::kDigitEntryMessage;
    row("Alt+letter", Qt::Key_A, Qt::AltModifier, "a", "", "12", digitOnly, "");
    row("AltGr as Ctrl+Alt", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "@", "", "12", digitOnly, "");
    row("Meta+letter", Qt::Key_X, Qt::MetaModifier, "x", "", "12", digitOnly, "");
    row("two characters", Qt::Key_5, Qt::NoModifier, "5x", "", "5", digitOnly, "");
    row("Ctrl+C copies", Qt::Key_C, Qt::ControlModifier, "c", "", "12", "", "12");
    row("Ctrl+V letters", Qt::Key_V, Qt::ControlModifier, "v", "12ab", "12", digitOnly, "12ab");
    row("Ctrl+V too long", Qt::Key_V, Qt::ControlModifier, "v", "1234567", "12",
        "The Security Code cannot be more than 6 digits", "1234567");
    row("Shift+Insert letters", Qt::Key_Insert, Qt::ShiftModifier, "", "9x", "12", digitOnly, "9x");
    row("Ctrl+V digits", Qt::Key_V, Qt::ControlModifier, "v", "654321", "654321", "", "654321");
  }

  void keysAndPastesGoThroughTheBoxRules() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    QFETCH(QString, result);
    QFETCH(QString, message);
    QFETCH(QString, clipboardAfter);
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditGlobal");
    QLineEdit* security = box(editor, "txtSecurity");
    security->setText(QStringLiteral("12"));
    security->selectAll();
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::sendKeyEvent(QTest::Click, security, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(security->text(), result);
    QCOMPARE(messages(h.prompts), message);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboardAfter);
  }

  void backChecksFirstThenWritesTheNineLabels() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const Programming before = h.app->document().record();
    Screen* editor = openEditor(h, "cmdEditGlobal");
    retype(editor, "txtSecurity", QStringLiteral("12345"));
    retype(editor, "txtRingDelay", QString());
    click(editor, "cmdBack");
    // Only the first failing check speaks; the record stays as it was.
    QCOMPARE(messages(h.prompts), QStringLiteral("The security code must be 6 digits"));
    QCOMPARE(textOf(editor, "txtSecurity"), QString());
    QCOMPARE(focusName(editor), QStringLiteral("txtSecurity"));
    QVERIFY(shown(editor) && !main->isVisible());
    QVERIFY(h.app->document().record() == before);

    retype(editor, "txtSecurity", QStringLiteral("246810"));
    retype(editor, "txtRingDelay", QStringLiteral("0"));
    retype(editor, "txtRingbackLimit", QStringLiteral("01"));
    choose(editor, "optFast");
    choose(editor, "optHSEnabled");
    choose(editor, "optDisabled");
    retype(editor, "txtForced", QStringLiteral("7"));
    h.prompts.shown.clear();
    click(editor, "cmdBack");
    QVERIFY(h.prompts.shown.empty());
    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->editorScreen());
    const GlobalSettings written{"Alarm Dialer", "246810", "390618", "0", "01", "Fast", "Disabled", "07", "Enabled"};
    QVERIFY(h.app->document().record().global == written);
    QCOMPARE(textOf(main, "lblForcedSetting"), QStringLiteral("07"));
    QCOMPARE(textOf(main, "lblHookswitchSetting"), QStringLiteral("Enabled"));
    QVERIFY(h.app->document().record().inputSpecs == before.inputSpecs);
  }

  void aislecallBackSkipsTheLockedBoxes() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditGlobal");
    retype(editor, "txtAccess", QString());
    retype(editor, "txtRingbackLimit", QString());
    retype(editor, "txtSecurity", QStringLiteral("123456"));
    retype(editor, "txtRingDelay", QStringLiteral("3"));
    choose(editor, "optAislecall");
    click(editor, "cmdBack");
    QCOMPARE(messages(h.prompts), QString());
    QVERIFY(h.app->document().record().global == aislecallSettings());
    QCOMPARE(textOf(main, "lblAccessCodeSetting"), QStringLiteral("N/A"));
  }

  void reducedFeaturesLockHookswitchAndGreyTheMainRow() {
    AppHarness h;
    MainScreen* main =
        startWith(h, {"Alarm Dialer", "507231", "390618", "1", "6", "Normal", "Enabled", "N/A", "Enabled"});
    h.app->session().reducedFeatures = true;
    Screen* editor = openEditor(h, "cmdEditGlobal");
    QVERIFY(checked(editor, "optHSDisabled"));
    for (const char* name : {"fraHookswitch", "optHSEnabled", "optHSDisabled"}) QVERIFY2(!enabled(editor, name), name);
    choose(editor, "OptPager");
    QVERIFY(!enabled(editor, "optHSEnabled"));
    click(editor, "cmdBack");
    QCOMPARE(QString::fromStdString(h.app->document().record().global.hookswitchFlash), QStringLiteral("Disabled"));
    QVERIFY(!enabled(main, "lblHookswitch"));
    QVERIFY(!enabled(main, "lblHookswitchSetting"));
  }

  void aTooLongLabelIsEmptiedWhileFilling() {
    AppHarness h;
    startWith(h, {"Alarm Dialer", "5072311", "390618", "1", "6", "Normal", "Enabled", "N/A", "Disabled"});
    Screen* editor = openEditor(h, "cmdEditGlobal");
    QCOMPARE(messages(h.prompts), QStringLiteral("The Security Code cannot be more than 6 digits"));
    QCOMPARE(textOf(editor, "txtSecurity"), QString());
  }

  void closingTheWindowActsAsBack() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditGlobal");
    retype(editor, "txtRingDelay", QString());
    editor->close();
    QCOMPARE(messages(h.prompts), QStringLiteral("The ring delay must be 1 digit"));
    QVERIFY(shown(editor) && !main->isVisible());

    retype(editor, "txtRingDelay", QStringLiteral("4"));
    editor->close();
    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->editorScreen());
    QCOMPARE(textOf(main, "lblRingDelaySetting"), QStringLiteral("4"));
  }
};

QTEST_MAIN(GlobalEditorTest)
#include "tst_global_editor.moc"
