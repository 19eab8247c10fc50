#include <QRadioButton>

#include "core/display_lines.h"
#include "editor_steps.h"

using namespace tarvek;
using namespace tarvek::test;

namespace {

const char* const kBoxes[] = {"txtQHours",   "txtQMinutes", "txtQSeconds",  "txtRHours",
                              "txtRMinutes", "txtRSeconds", "txtRepeatCtr", "txtLapCtr"};

bool checked(QWidget* screen, const char* name) { return child<QRadioButton>(screen, name)->isChecked(); }

std::string line(AppHarness& h, int index) {
  return h.app->document().record().inputSpecs.at(static_cast<std::size_t>(index));
}

}  // namespace

class InputSpecsEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void opensAtInputOneWithTheFocusInTheHours() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    h.app->session().currentInput = 5;
    Screen* editor = openEditor(h, "cmdEditInputSpecs");
    QVERIFY(shown(editor));
    QCOMPARE(editor->objectName(), QStringLiteral("frmInputSpecs"));
    QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Input Specs"));
    QVERIFY(!main->isVisible());
    QCOMPARE(h.app->session().currentInput, 1);
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));
    QVERIFY(checked(editor, "optNO") && checked(editor, "optMomentary"));
    QCOMPARE(textOf(editor, "txtQHours"), QStringLiteral("00"));
    QCOMPARE(textOf(editor, "txtRepeatCtr"), QStringLiteral("2"));
    QCOMPARE(textOf(editor, "txtLapCtr"), QStringLiteral("1"));
    QCOMPARE(focusName(editor), QStringLiteral("txtQHours"));
    QStringList order;
    for (const char* name : kBoxes) order << QString::fromLatin1(name);
    order << "optNC"
          << "optDisabled"
          << "optNO"
          << "cmdPrevious"
          << "cmdNext"
          << "cmdBack"
          << "optMomentary"
          << "optContinuous";
    QCOMPARE(tabOrder(editor, order), order);
    savePicture(editor, QStringLiteral("frmInputSpecs"));
    QCOMPARE(instructionsTopic(h, editor), QStringLiteral("InputSpecs"));
  }

  void digitFilterRestartsAndRefuses() {
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditInputSpecs");
    for (const char* name : kBoxes) {
      retype(editor, name, QStringLiteral("123"));
      QCOMPARE(textOf(editor, name), QStringLiteral("3"));
    }
    QVERIFY(h.prompts.shown.empty());

    QTest::keyClicks(box(editor, "txtLapCtr"), QStringLiteral("4"));
    QTest::keyClick(box(editor, "txtLapCtr"), Qt::Key_Backspace);
    QCOMPARE(textOf(editor, "txtLapCtr"), QStringLiteral("3"));

    for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Minus}) {
      h.prompts.shown.clear();
      retype(editor, "txtQMinutes", QStringLiteral("4"));
      box(editor, "txtLapCtr")->setFocus();
      QTest::keyClick(box(editor, "txtQMinutes"), key);
      QCOMPARE(textOf(editor, "txtQMinutes"), QString());
      QCOMPARE(messages(h.prompts), QStringLiteral("This digit entry must be 0 - 9"));
      QCOMPARE(focusName(editor), QStringLiteral("txtQMinutes"));
    }
    QVERIFY(shown(editor));
  }

  void stepsWrapRound() {
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditInputSpecs");
    click(editor, "cmdPrevious");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("8"));
    QCOMPARE(h.app->session().currentInput, 8);
    click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));
    for (int input = 2; input <= 8; ++input) click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("8"));
    click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));
    QVERIFY(h.prompts.shown.empty());
  }

  void editsOfSeveralInputsReachTheMainScreenTogether() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const Programming before = h.app->document().record();
    Screen* editor = openEditor(h, "cmdEditInputSpecs");
    choose(editor, "optNC");
    retype(editor, "txtQHours", QStringLiteral("5"));
    click(editor, "cmdNext");
    choose(editor, "optDisabled");
    choose(editor, "optContinuous");
    retype(editor, "txtRepeatCtr", QStringLiteral("7"));
    retype(editor, "txtLapCtr", QStringLiteral("07"));
    click(editor, "cmdNext");
    QVERIFY(h.app->document().record() == before);
    QCOMPARE(listLines(main, "lstInputSpecs").at(4), QStringLiteral("  Qualifier Timer   Hrs 00 Min 00 Sec 00"));

    // Back from input 1 shows what was accepted there.
    click(editor, "cmdPrevious");
    click(editor, "cmdPrevious");
    QCOMPARE(textOf(editor, "txtQHours"), QStringLiteral("05"));
    QVERIFY(checked(editor, "optNC"));
    click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "txtRepeatCtr"), QStringLiteral("7"));
    QCOMPARE(textOf(editor, "txtLapCtr"), QStringLiteral("07"));
    click(editor, "cmdNext");
    retype(editor, "txtRSeconds", QStringLiteral("30"));
    click(editor, "cmdBack");

    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->editorScreen());
    QCOMPARE(line(h, 2), std::string("  Normal State      Normally Closed"));
    QCOMPARE(line(h, 4), std::string("  Qualifier Timer   Hrs 05 Min 00 Sec 00"));
    QCOMPARE(line(h, 11), std::string("  Normal State      Disabled"));
    QCOMPARE(line(h, 12), std::string("  Duration          Continuous"));
    QCOMPARE(line(h, 15), std::string("  Msg Rpt Count     7"));
    QCOMPARE(line(h, 16), std::string("  Lap Counter       07"));
    QCOMPARE(line(h, 23), std::string("  Resume Timer      Hrs 00 Min 00 Sec 30"));
    QCOMPARE(listLines(main, "lstInputSpecs").at(23), QStringLiteral("  Resume Timer      Hrs 00 Min 00 Sec 30"));
    int changed = 0;
    for (std::size_t i = 0; i < before.inputSpecs.size(); ++i) changed += before.inputSpecs[i] != line(h, int(i));
    QCOMPARE(changed, 7);
  }

  void aFailedCheckKeepsTheInputAndTheMainList() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const Programming before = h.app->document().record();
    Screen* editor = openEditor(h, "cmdEditInputSpecs");
    click(editor, "cmdNext");
    retype(editor, "txtQHours", QStringLiteral("18"));
    retype(editor, "txtQSeconds", QStringLiteral("1"));
    click(editor, "cmdNext");
    QCOMPARE(messages(h.prompts), QStringLiteral("The Qualifier Timer cannot be more than 18 hours"));
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("2"));
    QCOMPARE(textOf(editor, "txtQHours"), QStringLiteral("18"));
    QCOMPARE(textOf(editor, "txtQMinutes"), QStringLiteral("00"));
    QCOMPARE(textOf(editor, "txtQSeconds"), QStringLiteral("00"));
    QCOMPARE(focusName(editor), QStringLiteral("txtQMinutes"));

    h.prompts.shown.clear();
    retype(editor, "txtQSeconds", QStringLiteral("60"));
    retype(editor, "txtQHours", QStringLiteral("19"));
    click(editor, "cmdBack");
    QCOMPARE(messages(h.prompts), QStringLiteral("Qualifier Timer seconds must be between 0 and 59"));
    QCOMPARE(textOf(editor, "txtQSeconds"), QString());
    QCOMPARE(focusName(editor), QStringLiteral("txtQSeconds"));
    QVERIFY(shown(editor) && !main->isVisible());
    QVERIFY(h.app->document().record() == before);
  }

  void closingTheWindowActsAsBack() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditInputSpecs");
    retype(editor, "txtRepeatCtr", QStringLiteral("0"));
    editor->close();
    QCOMPARE(messages(h.prompts), QStringLiteral("The Repeat Counter must be between 1 and 99"));
    QVERIFY(shown(editor));
    retype(editor, "txtRepeatCtr", QStringLiteral("9"));
    editor->close();
    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->editorScreen());
    QCOMPARE(line(h, 6), std::string("  Msg Rpt Count     9"));
  }

  void aShortListIsCompletedNotOverrun() {
    AppHarness h;
    h.startWithNew();
    Programming record = h.app->document().record();
    record.inputSpecs.resize(14);  // ends inside input 2's block, after its Qualifier Timer
    record.inputSpecs[13] = "  Qualifier Timer   Hrs 02 Min 03 Sec 04";
    h.app->document().setRecord(record);
    Screen* editor = openEditor(h, "cmdEditInputSpecs");
    retype(editor, "txtQMinutes", QStringLiteral("2"));
    click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "txtQSeconds"), QStringLiteral("04"));
    QCOMPARE(textOf(editor, "txtRHours"), QStringLiteral("00"));
    for (int step = 0; step < 8; ++step) click(editor, "cmdNext");
    QCOMPARE(messages(h.prompts), QString());
    click(editor, "cmdBack");
    QTRY_VERIFY(!h.app->editorScreen());
    QCOMPARE(h.app->document().record().inputSpecs.size(), 72u);
    QCOMPARE(line(h, 4), std::string("  Qualifier Timer   Hrs 00 Min 02 Sec 00"));
    QCOMPARE(line(h, 13), std::string("  Qualifier Timer   Hrs 02 Min 03 Sec 04"));
    QCOMPARE(line(h, 63), std::string("Input 8"));
  }
};

QTEST_MAIN(InputSpecsEditorTest)
#include "tst_input_specs_editor.moc"
