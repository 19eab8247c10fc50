#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>

#include "core/display_lines.h"
#include "editor_steps.h"

using namespace tarvek;
using namespace tarvek::test;

namespace {

const QString kPlaceholder = QStringLiteral("                  Not Programmed");
const char* const kNumberBoxes[] = {"txtPhoneNbr1", "txtPhoneNbr2", "txtPhoneNbr3", "txtPhoneNbr4",
                                    "txtPhoneNbr5", "txtPhoneNbr6", "txtPhoneNbr7", "txtPhoneNbr8"};
const char* const kPagerBoxes[] = {"chkCheck1", "chkCheck2", "chkCheck3", "chkCheck4",
                                   "chkCheck5", "chkCheck6", "chkCheck7", "chkCheck8"};

QCheckBox* pager(QWidget* screen, int row) { return child<QCheckBox>(screen, kPagerBoxes[row - 1]); }

std::string line(AppHarness& h, int input, int slot) {
  return h.app->document().record().phoneNumbers.at(static_cast<std::size_t>(lines::phoneLineIndex(input, slot)));
}

// A new programming whose input 1 has a pager number in slot 1 and a number in slot 2.
MainScreen* startWithNumbers(AppHarness& h) {
  MainScreen* main = h.startWithNew();
  Programming record = h.app->document().record();
  record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(1, 1))] = " P (1) *70,555";
  record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(1, 2))] = "   (2) 5551234";
  h.app->document().setRecord(record);
  return main;
}

}  // namespace

class PhoneNumbersEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void opensAtInputOneWithEveryRowFilled() {
    AppHarness h;
    MainScreen* main = startWithNumbers(h);
    h.app->session().currentInput = 6;
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    QVERIFY(shown(editor));
    QCOMPARE(editor->objectName(), QStringLiteral("frmNumbers"));
    QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Phone Numbers"));
    QVERIFY(!main->isVisible());
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));
    QCOMPARE(textOf(editor, "txtPhoneNbr1"), QStringLiteral("*70,555"));
    QVERIFY(pager(editor, 1)->isChecked());
    QCOMPARE(textOf(editor, "txtPhoneNbr2"), QStringLiteral("5551234"));
    QVERIFY(!pager(editor, 2)->isChecked());
    for (int row = 3; row <= 8; ++row) {
      QCOMPARE(textOf(editor, kNumberBoxes[row - 1]), kPlaceholder);
      QVERIFY(!pager(editor, row)->isChecked() && pager(editor, row)->isEnabled());
    }
    savePicture(editor, QStringLiteral("frmNumbers"));
    QCOMPARE(instructionsTopic(h, editor), QStringLiteral("Numbers"));
  }

  void theFirstKeyReplacesThePlaceholder() {
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    QTest::keyClick(box(editor, "txtPhoneNbr1"), '5');
    QCOMPARE(textOf(editor, "txtPhoneNbr1"), QStringLiteral("5"));
    QTest::keyClicks(box(editor, "txtPhoneNbr2"), QStringLiteral("*70,#9"));
    QCOMPARE(textOf(editor, "txtPhoneNbr2"), QStringLiteral("*70,#9"));
    QVERIFY(h.prompts.shown.empty());

    // A refused key clears the placeholder too, but leaves a number alone.
    QTest::keyClick(box(editor, "txtPhoneNbr3"), Qt::Key_A);
    QCOMPARE(textOf(editor, "txtPhoneNbr3"), QString());
    QCOMPARE(messages(h.prompts), QStringLiteral("Phone number entries must be 0 - 9, *, #, or comma"));
    QCOMPARE(focusName(editor), QStringLiteral("txtPhoneNbr3"));
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Minus}) {
      h.prompts.shown.clear();
      QTest::keyClick(box(editor, "txtPhoneNbr2"), key);
      QCOMPARE(textOf(editor, "txtPhoneNbr2"), QStringLiteral("*70,#9"));
      QCOMPARE(messages(h.prompts), QStringLiteral("Phone number entries must be 0 - 9, *, #, or comma"));
    }
    QTest::keyClick(box(editor, "txtPhoneNbr2"), Qt::Key_Backspace);
    QCOMPARE(textOf(editor, "txtPhoneNbr2"), QStringLiteral("*70,#"));

    click(editor, "cmdBack");
    QCOMPARE(line(h, 1, 1), std::string("   (1) 5"));
    QCOMPARE(line(h, 1, 2), std::string("   (2) *70,#"));
    QCOMPARE(line(h, 1, 3), std::string("   (3)      Not Programmed"));
  }

  void numbersAreCutTo32Characters() {
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    QTest::keyClicks(box(editor, "txtPhoneNbr1"), QString(33, QLatin1Char('1')));
    QCOMPARE(textOf(editor, "txtPhoneNbr1"), QString(32, QLatin1Char('1')));
    QCOMPARE(messages(h.prompts), QStringLiteral("The phone number cannot be longer than 32 digits"));

    h.prompts.shown.clear();
    QGuiApplication::clipboard()->setText(QString(40, QLatin1Char('7')));
    QTest::keyClick(box(editor, "txtPhoneNbr2"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(textOf(editor, "txtPhoneNbr2"), QString(32, QLatin1Char('7')));
    QCOMPARE(messages(h.prompts), QStringLiteral("The phone number cannot be longer than 32 digits"));
    QCOMPARE(focusName(editor), QStringLiteral("txtPhoneNbr2"));

    h.prompts.shown.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("555-1234"));
    QTest::keyClick(box(editor, "txtPhoneNbr3"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(textOf(editor, "txtPhoneNbr3"), kPlaceholder);
    QCOMPARE(messages(h.prompts), QStringLiteral("Phone number entries must be 0 - 9, *, #, or comma"));
    QGuiApplication::clipboard()->setText(QStringLiteral("*555"));
    QTest::keyClick(box(editor, "txtPhoneNbr3"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(textOf(editor, "txtPhoneNbr3"), QStringLiteral("*555"));
  }

  void clearNumbersAsksFirst() {
    AppHarness h;
    startWithNumbers(h);
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    h.prompts.answers = {Answer::Cancel};
    click(editor, "cmdClearAll");
    QCOMPARE(messages(h.prompts),
             QStringLiteral("Are you sure you want to clear all the phone numbers for this input?"));
    QVERIFY(h.prompts.shown.back().buttons == Buttons::OkCancel);
    QCOMPARE(textOf(editor, "txtPhoneNbr1"), QStringLiteral("*70,555"));
    QVERIFY(pager(editor, 1)->isChecked());

    h.prompts.answers = {Answer::Ok};
    click(editor, "cmdClearAll");
    for (int row = 1; row <= 8; ++row) {
      QCOMPARE(textOf(editor, kNumberBoxes[row - 1]), kPlaceholder);
      QVERIFY(!pager(editor, row)->isChecked());
    }
    QCOMPARE(line(h, 1, 1), std::string(" P (1) *70,555"));
    click(editor, "cmdBack");
    for (int slot = 1; slot <= 8; ++slot) QVERIFY(lines::notProgrammed(slot) == line(h, 1, slot));
  }

  void stepsKeepEveryInputsEditsUntilBack() {
    AppHarness h;
    MainScreen* main = startWithNumbers(h);
    const Programming before = h.app->document().record();
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    retype(editor, "txtPhoneNbr2", QStringLiteral("555"));
    choose(editor, "chkCheck2");
    click(editor, "cmdPrevious");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("8"));
    QCOMPARE(h.app->session().currentInput, 8);
    retype(editor, "txtPhoneNbr8", QStringLiteral("9"));
    click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));
    QCOMPARE(textOf(editor, "txtPhoneNbr2"), QStringLiteral("555"));
    QVERIFY(pager(editor, 2)->isChecked());
    for (int step = 0; step < 8; ++step) click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));
    // An emptied box counts as not programmed.
    box(editor, "txtPhoneNbr1")->clear();
    QVERIFY(h.app->document().record() == before);

    click(editor, "cmdBack");
    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->editorScreen());
    QCOMPARE(line(h, 1, 1), std::string("   (1)      Not Programmed"));
    QCOMPARE(line(h, 1, 2), std::string(" P (2) 555"));
    QCOMPARE(line(h, 8, 8), std::string("   (8) 9"));
    QCOMPARE(listLines(main, "lstPhoneNumbers").at(lines::phoneLineIndex(8, 8)), QStringLiteral("   (8) 9"));
    QCOMPARE(h.app->session().currentInput, 1);
  }

  void reducedFeaturesTakeNoPagerMarks() {
    AppHarness h;
    startWithNumbers(h);
    h.app->session().reducedFeatures = true;
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    for (int row = 1; row <= 8; ++row) QVERIFY(!pager(editor, row)->isChecked() && !pager(editor, row)->isEnabled());
    click(editor, "cmdNext");
    QVERIFY(!pager(editor, 1)->isEnabled());
    click(editor, "cmdBack");
    QCOMPARE(line(h, 1, 1), std::string("   (1) *70,555"));
  }

  void closingTheWindowActsAsBack() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    Programming record = h.app->document().record();
    record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(2, 4))] = "   (4)   12";
    h.app->document().setRecord(record);
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "txtPhoneNbr4"), QStringLiteral("  12"));
    editor->close();
    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->editorScreen());
    // Leaving trims the leading blanks.
    QCOMPARE(line(h, 2, 4), std::string("   (4) 12"));
  }

  void aShortListIsCompletedNotOverrun() {
    AppHarness h;
    h.startWithNew();
    Programming record = h.app->document().record();
    record.phoneNumbers.resize(3);
    record.phoneNumbers[2] = "   (1) 42";
    h.app->document().setRecord(record);
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    QCOMPARE(textOf(editor, "txtPhoneNbr1"), QStringLiteral("42"));
    QCOMPARE(textOf(editor, "txtPhoneNbr2"), kPlaceholder);
    click(editor, "cmdPrevious");
    click(editor, "cmdBack");
    QTRY_VERIFY(!h.app->editorScreen());
    QCOMPARE(h.app->document().record().phoneNumbers.size(), 88u);
    QCOMPARE(line(h, 1, 1), std::string("   (1) 42"));
  }
};

QTEST_MAIN(PhoneNumbersEditorTest)
#include "tst_phone_numbers_editor.moc"
