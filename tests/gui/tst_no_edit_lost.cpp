#include <QAccessible>
#include <QComboBox>
#include <QPrinter>
#include <QTableWidget>
#include <QTest>

#include "gui/compare_dialog.h"
#include "gui/print_dialog.h"
#include "support/app_harness.h"
#include "support/sample_records.h"

using namespace tarvek;
using namespace tarvek::test;

namespace {

// Main screen -> Connect finds nothing -> Change Comm Port.
CommPortScreen* toCommPort(AppHarness& h) {
  h.port.responder = [](const std::string&) { return std::nullopt; };
  click(h.app->mainScreen(), "cmdConnect");
  click(h.app->notFoundScreen(), "cmdChange");
  return h.app->commPortScreen();
}

QString spoken(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); }

}  // namespace

class NoEditLostTest : public QObject {
  Q_OBJECT

 private slots:
  // Every way out: the question only after an edit; only Discard or a Save that saved ends.
  void leavingAsksToSaveAChange_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");  // the Save As name; empty: the dialog cancelled
    QTest::addColumn<bool>("ends");
    for (const char* way : {"Exit", "close", "Comm Port Exit"}) {
      const auto row = [way](const char* name) -> QTestData& {
        return QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(way, name))) << QString::fromLatin1(way);
      };
      row("unchanged") << false << int(Answer::Cancel) << QString() << true;
      row("Cancel") << true << int(Answer::Cancel) << QString() << false;
      row("Discard") << true << int(Answer::Discard) << QString() << true;
      row("Save") << true << int(Answer::Save) << QStringLiteral("Saved/kept.txt") << true;
      row("Save As cancelled") << true << int(Answer::Save) << QString() << false;
      row("Save fails") << true << int(Answer::Save) << QStringLiteral("no folder/kept.txt") << false;
    }
  }

  void leavingAsksToSaveAChange() {
    QFETCH(QString, way);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, ends);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    Screen* screen = way == QLatin1String("Comm Port Exit") ? static_cast<Screen*>(toCommPort(h)) : main;
    h.port.responder = [](const std::string&) { return std::string("OK"); };
    if (edited) h.app->document().setRecord(siteA());
    h.prompts.shown.clear();
    h.prompts.answers = {Answer(answer)};
    if (!saveAs.isEmpty()) h.prompts.fileNames = {(h.folder / saveAs.toStdString()).string()};
    way == QLatin1String("close") ? void(screen->close()) : click(screen, "cmdExit");

    QCOMPARE(h.ended, ends);
    QCOMPARE(!h.prompts.shown.empty(), edited);
    if (edited) QVERIFY(h.prompts.shown.front().buttons == Buttons::SaveDiscardCancel);
    QCOMPARE(std::filesystem::exists(h.folder / "Saved/kept.txt"), ends && answer == int(Answer::Save));
    // Only the Main screen signs off, and only on its way out.
    const bool signedOff = !h.port.exchanges.empty() && h.port.exchanges.back().sent == "BY";
    QCOMPARE(signedOff, ends && screen == main);
    if (!ends) QVERIFY(shown(screen) && h.app->document().record() == siteA());
  }

  // Closing the Comm Port window is its Cancel: the caller back, the port as it was.
  void closingTheCommPortWindowGivesTheCallerBack() {
    AppHarness h;
    writeFile(h.folder / "setup.txt", "CommPort=2\n");
    MainScreen* main = h.startWithNew();
    CommPortScreen* commPort = toCommPort(h);
    child<QComboBox>(commPort, "cmbPort")->setCurrentIndex(9);
    commPort->close();
    QTRY_VERIFY(!h.app->commPortScreen());
    QVERIFY(!h.ended);
    QVERIFY(shown(main) && main->isEnabled());
    QCOMPARE(main->focusWidget(), static_cast<QWidget*>(main->connectButton()));
    QCOMPARE(h.app->session().portNumber, 2);
    QCOMPARE(readFile(h.folder / "setup.txt"), std::string("CommPort=2\n"));
  }

  // The screen's programming against a file: the same, one field apart, or not a settings file.
  void compareWithFile_data() {
    QTest::addColumn<QString>("ringDelay");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("row");  // the one row of differences; empty: none shown
    QTest::addColumn<QString>("message");
    QTest::newRow("same, forms apart") << "3"
                                       << "golden_alarm_dialer.txt" << QStringList() << "are the same.";
    QTest::newRow("one field") << "8"
                               << "golden_alarm_dialer.txt" << QStringList{"Global", "Ring Delay", "8", "3"} << "";
    QTest::newRow("not a settings file") << "3"
                                         << "read" << QStringList() << "is not a readable settings file.";
  }

  void compareWithFile() {
    QFETCH(QString, ringDelay);
    QFETCH(QString, file);
    QFETCH(QStringList, row);
    QFETCH(QString, message);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    Programming record = siteA();
    record.global.ringDelay = ringDelay.toStdString();
    h.app->document().setRecord(record);
    h.prompts.fileNames = {(filesDataDir() / file.toStdString()).string()};
    trigger(main, "mnuCompare");
    auto* dialog = main->findChild<CompareDialog*>(QStringLiteral("dlgCompare"));
    QCOMPARE(h.prompts.shown.size(), message.isEmpty() ? 0u : 1u);
    QVERIFY(QString::fromStdString(h.prompts.lastText()).endsWith(message));
    QCOMPARE(dialog != nullptr, !row.isEmpty());
    QVERIFY(h.app->document().record() == record);
    if (!dialog) return;
    savePicture(dialog, QStringLiteral("dlgCompare"));
    QCOMPARE(dialog->table()->rowCount(), 1);
    QStringList cells;
    for (int column = 0; column < 4; ++column) cells << dialog->table()->item(0, column)->text();
    QCOMPARE(cells, row);
  }

  // The desktop's keys, the names a screen reader speaks, a PDF's name and title.
  void desktopConventions() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    QVERIFY(QTest::qWaitForWindowActive(main));
    h.app->document().setFilePath((h.folder / "Saved/Site A.txt").string());
    QStringList printed;
    h.app->setPrinterSetUp([&](QPrinter& printer) {
      printed << printer.docName() << printer.outputFileName();
      return PrintChoice::Cancel;
    });
    QTest::keyClick(main, Qt::Key_P, Qt::ControlModifier);
    const QString pdf = QString::fromStdString((h.folder / "Saved/Site A.pdf").string());
    QCOMPARE(printed, (QStringList{"Site A", pdf}));
    QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);  // Save As: a name asked
    QCOMPARE(h.prompts.fileRequests.size(), 1u);
    QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier);  // Save: the file's question
    QCOMPARE(h.prompts.lastText(), std::string("Do you want to overwrite the existing file? "));

    // Every control of every screen has a name of its own.
    QStringList names;
    const auto check = [&names](Screen* screen) {
      QSet<QString> seen;
      for (QWidget* control : screen->client()->findChildren<QWidget*>()) {
        if (!control->inherits("QAbstractButton") && !control->inherits("QLineEdit") && !control->inherits("QComboBox"))
          continue;
        const QString name = spoken(control);
        QVERIFY2(!name.isEmpty() && !seen.contains(name), qPrintable(control->objectName()));
        seen << name;
        names << name;
      }
    };
    check(main);
    for (const char* edit : {"cmdEditGlobal", "cmdEditInputSpecs", "cmdEditPhoneNumbers"}) {
      click(main, edit);
      check(h.app->editorScreen());
      click(h.app->editorScreen(), "cmdBack");
    }
    check(toCommPort(h));
    for (const char* name :
         {"Pager, Phone Number 3", "Qualifier Timer Hours", "Edit Global Settings", "Hookswitch Flash Enabled"})
      QVERIFY2(names.contains(QLatin1String(name)), name);
  }
};

QTEST_MAIN(NoEditLostTest)
#include "tst_no_edit_lost.moc"
