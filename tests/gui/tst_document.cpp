// What changes or keeps the document, on the real screens: the three editors, the file
// commands and the printed report.
#include <signal.h>
#include <sys/resource.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <regex>

#include "core/display_lines.h"
#include "core/report.h"
#include "core/settings_file.h"
#include "editor_steps.h"
#include "gui/help_desk.h"
#include "gui/help_viewer.h"
#include "gui/print_dialog.h"
#include "gui/report_printer.h"
#include "support/sample_records.h"

using namespace tarvek;
using namespace tarvek::test;
namespace fs = std::filesystem;

namespace {

constexpr const char* kDigitsOnly = "This digit entry must be 0 - 9";
constexpr const char* kPhoneCharacters = "Phone number entries must be 0 - 9, *, #, or comma";
constexpr const char* kPlaceholder = "                  Not Programmed";

// A key, keys typed or a paste in one box of an editor opened on a new programming.
struct KeyRow {
  const char* name;
  const char* editButton;
  const char* box;
  const char* before;
  int key;  // 0: `typed` typed key by key
  int modifiers;
  const char* typed;
  const char* clipboard;
  const char* after;
  const char* message;
};

const KeyRow kKeys[] = {
    {"digit box refuses a letter", "cmdEditGlobal", "txtSecurity", "12", 0, 0, "a", "", "12", kDigitsOnly},
    {"digit box takes a digit", "cmdEditGlobal", "txtSecurity", "12", 0, 0, "5", "", "125", ""},
    {"digit box refuses Enter", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_Return, 0, "\r", "", "12", kDigitsOnly},
    {"three characters at once: judged one by one", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_5, 0, "5x5", "",
     "125", kDigitsOnly},
    {"digit box emptied by one digit too many", "cmdEditGlobal", "txtSecurity", "123456", 0, 0, "7", "", "",
     "The Security Code cannot be more than 6 digits"},
    {"Alt+letter refused", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_A, Qt::AltModifier, "a", "", "12",
     kDigitsOnly},
    {"AltGr as Ctrl+Alt refused", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_Q,
     Qt::ControlModifier | Qt::AltModifier, "@", "", "12", kDigitsOnly},
    {"Meta+letter refused", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_X, Qt::MetaModifier, "x", "", "12",
     kDigitsOnly},
    {"Ctrl+C types nothing", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_C, Qt::ControlModifier, "c", "", "12", ""},
    {"Ctrl+V of letters refused", "cmdEditGlobal", "txtSecurity", "", Qt::Key_V, Qt::ControlModifier, "v", "12ab", "",
     kDigitsOnly},
    {"Shift+Insert of digits taken", "cmdEditGlobal", "txtSecurity", "", Qt::Key_Insert, Qt::ShiftModifier, "",
     "654321", "654321", ""},
    {"timer box refuses a letter, emptied", "cmdEditInputSpecs", "txtQMinutes", "4", 0, 0, "a", "", "", kDigitsOnly},
    {"timer box takes a digit", "cmdEditInputSpecs", "txtQMinutes", "4", 0, 0, "5", "", "45", ""},
    {"phone box refuses a letter", "cmdEditPhoneNumbers", "txtPhoneNbr3", kPlaceholder, 0, 0, "a", "", "",
     kPhoneCharacters},
    {"phone box takes *", "cmdEditPhoneNumbers", "txtPhoneNbr3", kPlaceholder, 0, 0, "*", "", "*", ""},
    {"phone box cut at 32", "cmdEditPhoneNumbers", "txtPhoneNbr3", "", 0, 0, "111111111111111111111111111111111", "",
     "11111111111111111111111111111111", "The phone number cannot be longer than 32 digits"},
    {"Ctrl+V into a phone box filtered", "cmdEditPhoneNumbers", "txtPhoneNbr3", "", Qt::Key_V, Qt::ControlModifier, "v",
     "555-1234", "", kPhoneCharacters},
};

std::string phoneLine(AppHarness& h, int input, int slot) {
  return h.app->document().record().phoneNumbers.at(static_cast<std::size_t>(lines::phoneLineIndex(input, slot)));
}

// A settings file's text with its "Saved" line's date and time left out: the clock's.
std::string undated(const std::string& text) { return std::regex_replace(text, std::regex("Saved [^\r]*"), "Saved"); }

// Writes that pass `bytes` fail with "File too large", as on a full disk, while it lives.
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = bytes;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old); }
  rlimit old{};
};

// Runs `act` on the named top-level window once it is shown (it runs its own loop).
template <typename Window>
void whenShown(QObject* owner, const char* name, std::function<void(Window*)> act) {
  auto* poll = new QTimer(owner);
  QObject::connect(poll, &QTimer::timeout, owner, [poll, name, act] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* window = qobject_cast<Window*>(widget); window && widget->objectName() == name && window->isVisible()) {
        poll->deleteLater();
        return act(window);
      }
  });
  poll->start(20);
}

}  // namespace

class DocumentTest : public QObject {
  Q_OBJECT

 private slots:
  // A key that would type goes through the box's key rule, whatever its modifiers; a paste
  // through its paste rule; a refusal says why and puts the focus on the box.
  void keysAndPastesGoThroughTheBoxRules_data() { addRows(kKeys); }

  void keysAndPastesGoThroughTheBoxRules() {
    QFETCH(int, row);
    const KeyRow& r = kKeys[row];
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, r.editButton);
    QLineEdit* edit = box(editor, r.box);
    edit->setText(QString::fromLatin1(r.before));
    child<QWidget>(editor, "cmdBack")->setFocus();
    QGuiApplication::clipboard()->setText(QString::fromLatin1(r.clipboard));
    if (r.key)
      QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(r.key), r.typed, Qt::KeyboardModifiers(r.modifiers));
    else
      QTest::keyClicks(edit, QString::fromLatin1(r.typed));
    QCOMPARE(edit->text(), QString::fromLatin1(r.after));
    QCOMPARE(messages(h.prompts), QString::fromLatin1(r.message));
    QCOMPARE(focusName(editor), QLatin1String(*r.message ? r.box : "cmdBack"));
  }

  void globalEditorGreysRefusesAndWrites() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const Programming before = h.app->document().record();
    Screen* editor = openEditor(h, "cmdEditGlobal");
    QVERIFY(shown(editor) && !main->isVisible());
    QVERIFY(!enabled(editor, "txtForced"));  // while Call Progress Detection is on
    choose(editor, "optAislecall");
    for (const char* name : {"txtAccess", "optHSEnabled", "optDisabled"}) QVERIFY2(!enabled(editor, name), name);
    choose(editor, "optAlarmDialer");
    choose(editor, "optDisabled");
    QVERIFY(enabled(editor, "txtAccess") && enabled(editor, "optHSEnabled") && enabled(editor, "txtForced"));

    retype(editor, "txtSecurity", QStringLiteral("12345"));
    click(editor, "cmdBack");
    QCOMPARE(messages(h.prompts), QStringLiteral("The security code must be 6 digits"));
    QCOMPARE(textOf(editor, "txtSecurity"), QString());
    QCOMPARE(focusName(editor), QStringLiteral("txtSecurity"));
    QVERIFY(shown(editor) && h.app->document().record() == before);

    retype(editor, "txtSecurity", QStringLiteral("246810"));
    retype(editor, "txtForced", QStringLiteral("7"));
    choose(editor, "optHSEnabled");
    editor->close();  // as Back
    QTRY_VERIFY(!h.app->editorScreen());
    QCOMPARE(h.app->document().record().global, globalOf("Alarm Dialer|246810|390618|1|6|Normal|Disabled|07|Enabled"));
    verifyMainShowsTheDocument(h);
  }

  void inputSpecsEditorStepsRefusesAndWrites() {
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditInputSpecs");
    click(editor, "cmdPrevious");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("8"));
    click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));
    retype(editor, "txtQSeconds", QStringLiteral("60"));
    click(editor, "cmdNext");
    QCOMPARE(messages(h.prompts), QStringLiteral("Qualifier Timer seconds must be between 0 and 59"));
    QCOMPARE(textOf(editor, "txtQSeconds"), QString());
    QCOMPARE(focusName(editor), QStringLiteral("txtQSeconds"));
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));

    retype(editor, "txtQSeconds", QStringLiteral("5"));
    choose(editor, "optNC");
    click(editor, "cmdNext");
    retype(editor, "txtRepeatCtr", QStringLiteral("7"));
    click(editor, "cmdBack");
    QTRY_VERIFY(!h.app->editorScreen());
    const auto& specs = h.app->document().record().inputSpecs;
    QCOMPARE(specs.at(2), std::string("  Normal State      Normally Closed"));
    QCOMPARE(specs.at(4), std::string("  Qualifier Timer   Hrs 00 Min 00 Sec 05"));
    QCOMPARE(specs.at(15), std::string("  Msg Rpt Count     7"));
    verifyMainShowsTheDocument(h);
  }

  void phoneNumbersEditorClearsStepsAndWrites() {
    AppHarness h;
    h.startWithNew();
    Screen* editor = openEditor(h, "cmdEditPhoneNumbers");
    retype(editor, "txtPhoneNbr2", QStringLiteral("555"));
    choose(editor, "chkCheck2");
    h.prompts.answers = {Answer::Ok};
    click(editor, "cmdClearAll");
    QCOMPARE(textOf(editor, "txtPhoneNbr2"), QLatin1String(kPlaceholder));
    QVERIFY(!child<QCheckBox>(editor, "chkCheck2")->isChecked());

    retype(editor, "txtPhoneNbr2", QStringLiteral("555"));
    choose(editor, "chkCheck2");
    click(editor, "cmdPrevious");
    QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("8"));
    retype(editor, "txtPhoneNbr8", QStringLiteral("9"));
    click(editor, "cmdNext");
    QCOMPARE(textOf(editor, "txtPhoneNbr2"), QStringLiteral("555"));
    QVERIFY(child<QCheckBox>(editor, "chkCheck2")->isChecked());
    click(editor, "cmdBack");
    QTRY_VERIFY(!h.app->editorScreen());
    QCOMPARE(phoneLine(h, 1, 2), std::string(" P (2) 555"));
    QCOMPARE(phoneLine(h, 8, 8), std::string("   (8) 9"));
    verifyMainShowsTheDocument(h);
  }

  // A short-layout unit read part way: no Hookswitch Flash, no pager marks, and lists that
  // the editors complete instead of overrunning.
  void editorsOnAShortUnitsPartRead() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    Programming record = h.app->document().record();
    record.global.hookswitchFlash = "Enabled";
    record.inputSpecs.resize(14);
    record.phoneNumbers.resize(3);
    h.app->document().setRecord(record);
    h.app->session().reducedFeatures = true;
    Screen* editor = openEditor(h, "cmdEditGlobal");
    QVERIFY(!enabled(editor, "fraHookswitch") && !enabled(editor, "optHSEnabled"));
    click(editor, "cmdBack");
    QVERIFY(!enabled(main, "lblHookswitch") && !enabled(main, "lblHookswitchSetting"));
    // The stepping editors open at input 1, whichever was shown last.
    for (const char* button : {"cmdEditInputSpecs", "cmdEditPhoneNumbers"}) {
      h.app->session().currentInput = 6;
      editor = openEditor(h, button);
      QCOMPARE(textOf(editor, "lblNumber"), QStringLiteral("1"));
      click(editor, "cmdBack");
    }
    QVERIFY(!enabled(editor, "chkCheck1"));
    QCOMPARE(h.app->document().record().inputSpecs.size(), 72u);
    QCOMPARE(h.app->document().record().phoneNumbers.size(), 88u);
  }

  // Save and Save As against an old settings file; Save As is given its name less ".txt".
  void saveWritesAsAnswered_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("named");       // the document's file is the old one
    QTest::addColumn<bool>("incomplete");  // as a read that stopped in input 7's numbers leaves it
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("result");  // the file holds the "old" or the "new" report, or "old+new"
    QTest::addColumn<int>("messages");    // the questions and messages shown
    const QString save = QStringLiteral("mnuFileSave");
    const QString saveAs = QStringLiteral("mnuFileSaveAs");
    const int yes = int(Answer::Yes), no = int(Answer::No);
    QTest::newRow("Save, Yes replaces") << save << true << false << QList{yes} << "new" << 1;
    QTest::newRow("Save, No appends") << save << true << false << QList{no} << "old+new" << 1;
    QTest::newRow("Save, Cancel") << save << true << false << QList{int(Answer::Cancel)} << "old" << 1;
    QTest::newRow("Save, no file yet: Save As") << save << false << false << QList{yes} << "new" << 1;
    QTest::newRow("Save As adds .txt, Yes") << saveAs << false << false << QList{yes} << "new" << 1;
    QTest::newRow("Save, incomplete, No") << save << true << true << QList{no} << "old" << 1;
    QTest::newRow("Save As, incomplete, Yes") << saveAs << false << true << QList{yes, yes} << "new" << 2;
    QTest::newRow("Save, Yes, disk full") << save << true << false << QList{yes} << "full" << 2;
  }

  void saveWritesAsAnswered() {
    QFETCH(QString, command);
    QFETCH(bool, named);
    QFETCH(bool, incomplete);
    QFETCH(QList<int>, answers);
    QFETCH(QString, result);
    QFETCH(int, messages);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    // Its name is UTF-8 in the file system, Windows-1252 in the report.
    const fs::path file = h.folder / "Saved" / "B\u00fcro \u20ac.txt";
    const std::string name =
        "B\xfc"
        "ro \x80";
    const std::string old = settings::fileText(settings::fileLines(newProgramming(), name, "earlier"));
    writeFile(file, old);
    Programming record = siteA();
    if (incomplete) record.phoneNumbers.resize(70);
    h.app->document().setRecord(record);
    if (named) h.app->document().setFilePath(file.string());
    h.prompts.fileNames.push_back((h.folder / "Saved" / "B\u00fcro \u20ac").string());
    for (const int answer : answers) h.prompts.answers.push_back(Answer(answer));
    {
      std::optional<FileSizeLimit> full;  // less than one report goes, then the disk is full
      if (result == "full") full.emplace(1024);
      trigger(main, qPrintable(command));
    }
    const bool asked = command == "mnuFileSaveAs" || !named;
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(asked));
    QCOMPARE(int(h.prompts.shown.size()), messages);
    if (asked) QCOMPARE(h.prompts.fileRequests[0].folder, (h.folder / "Saved").string());
    const std::string now = settings::fileText(settings::fileLines(record, name, ""));
    const std::string expected = result == "new" ? now : result == "old+new" ? old + now : old;
    QCOMPARE(undated(readFile(file)), undated(expected));
    QCOMPARE(h.app->document().filePath(), named || result == "new" ? file.string() : std::string());
    if (result != "full") return;
    QCOMPARE(h.prompts.lastText(), "The programming could not be saved in " + file.string() + ".");
    QCOMPARE(h.prompts.shown.back().detail, std::string("File too large"));
    QCOMPARE(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1L);  // no temporary
    QCOMPARE(h.app->document().record(), record);
  }

  void saveAsCancelledWritesNothing() {
    AppHarness h;
    trigger(h.startWithNew(), "mnuFileSaveAs");
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    QVERIFY(fs::is_empty(h.folder / "Saved") && h.app->document().filePath().empty());
  }

  void existingFileRefusedChangesNothing() {
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    h.app->document().setFilePath("before.txt");
    const Programming before = h.app->document().record();
    const fs::path file = h.folder / "Saved" / "cut.txt";
    fs::copy_file(filesDataDir() / "read" / "ends_in_phone_numbers.txt", file);
    click(select, "cmdExisting");  // the dialog cancelled
    QVERIFY(h.prompts.shown.empty() && !h.app->mainScreen());
    h.prompts.fileNames.push_back(file.string());
    click(select, "cmdExisting");
    QCOMPARE(h.prompts.texts(),
             std::vector<std::string>{"The file " + file.string() + " is not a readable settings file."});
    QCOMPARE(h.prompts.shown[0].detail, std::string("The file ends before the end of input 5 of the Phone Numbers."));
    QVERIFY(shown(select) && !h.app->mainScreen());
    QCOMPARE(h.app->document().filePath(), std::string("before.txt"));
    QCOMPARE(h.app->document().record(), before);
  }

  // An installed program reads the help where the install put it, keeps setup.txt in its
  // program folder and the settings files in the documents folder, where an earlier
  // version's Saved files are moved once, saying so.
  void anInstalledProgramUsesItsFolders() {
    TempDir program, help, documents;
    const ProgramFolders folders{program.path(), documents / "Tarvek", help.path(), program / "Saved"};
    fs::create_directory(folders.earlierSaved);
    writeFile(folders.earlierSaved / "Site A.txt", "a");
    writeFile(help / "helpselect.txt", "Help\n");
    ScriptedPrompts prompts;
    ScriptedPort port;
    Application app(folders, prompts, port);
    app.startUp();
    app.startUp();
    QCOMPARE(prompts.shown.size(), std::size_t(1));
    QVERIFY(prompts.shown[0].text.find(folders.saved.string()) != std::string::npos);
    QCOMPARE(readFile(folders.saved / "Site A.txt"), std::string("a"));
    QVERIFY(fs::is_regular_file(program / "setup.txt"));
    click(app.selectScreen(), "cmdExisting");
    QCOMPARE(prompts.fileRequests.at(0).folder, folders.saved.string());
    trigger(app.selectScreen(), "mnuHelpInstructions");
    QCOMPARE(app.help().viewer()->text(), QStringLiteral("Help\n"));
  }

  // The report's pages as poppler reads them back from a PDF: each page's lines, the
  // bold ones, and the empty lines above a page's first text.
  void printPaintsThePagesOfTheReport() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    h.app->document().setRecord(siteA());
    const QString pdf = QString::fromStdString((h.folder / "report.pdf").string());
    int perPage = 0;
    PrintChoice choice = PrintChoice::Cancel;
    h.app->setPrinterSetUp([&](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      printer.setPageSize(QPageSize(QPageSize::A4));
      perPage = report::linesPerPage(printer);
      return choice;
    });
    trigger(main, "mnuFilePrint");
    QVERIFY(perPage > 50 && !QFile::exists(pdf));  // Cancel prints nothing
    choice = PrintChoice::Print;
    trigger(main, "mnuFilePrint");
    QProcess reader;
    reader.start(QStringLiteral("pdftohtml"), {"-xml", "-i", "-stdout", "-q", pdf});
    QVERIFY(reader.waitForFinished(60000) && reader.exitCode() == 0);
    const QString xml = QString::fromUtf8(reader.readAllStandardOutput());
    const QDate day = QDate::currentDate();
    const auto lines = report::lines(siteA(), report::date(day.year(), unsigned(day.month()), unsigned(day.day())));
    QStringList expected, read;  // "page: text", a bold one marked "*"
    std::vector<int> rows;       // of the expected lines on their pages
    std::vector<double> tops;    // of the lines read
    int page = 0;
    for (const auto& each : report::paginate(lines, perPage)) {
      ++page;
      for (std::size_t row = 0; row < each.size(); ++row) {
        if (each[row].text.empty()) continue;
        expected
            << QStringLiteral("%1: %2%3").arg(page).arg(each[row].bold ? "*" : "", fromWindows1252(each[row].text));
        rows.push_back(int(row));
      }
    }
    static const QRegularExpression item(
        QStringLiteral("<page number=\"(\\d+)\"|<text top=\"([\\d.]+)\"[^>]*>(<b>)?(.*?)(</b>)?</text>"));
    for (auto it = item.globalMatch(xml); it.hasNext();) {
      const auto match = it.next();
      if (!match.captured(1).isEmpty()) {
        page = match.captured(1).toInt();
        continue;
      }
      QString text = match.captured(4).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
      while (text.endsWith(QLatin1Char(' '))) text.chop(1);
      read << QStringLiteral("%1: %2%3").arg(page).arg(match.captured(3).isEmpty() ? "" : "*", text);
      tops.push_back(match.captured(2).toDouble());
    }
    QCOMPARE(read, expected);
    // Each line stands on its row, below the empty lines before it.
    std::size_t i = 0;
    while (rows.at(i + 1) != rows[i] + 1) ++i;
    const double height = tops[i + 1] - tops[i];
    for (std::size_t k = 0; k < rows.size(); ++k) QCOMPARE(qRound((tops[k] - tops[0]) / height) + rows[0], rows[k]);
  }

  // The real print dialog offers Preview, which shows the pages.
  void thePrintDialogOffersPreview() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    whenShown<PrintDialog>(this, "dlgPrint", [](PrintDialog* dialog) { dialog->previewButton()->click(); });
    int pages = 0;
    whenShown<QPrintPreviewDialog>(this, "dlgPrintPreview", [&pages](QPrintPreviewDialog* preview) {
      pages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
      preview->reject();
    });
    trigger(main, "mnuFilePrint");
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
  }
};

QTEST_MAIN(DocumentTest)
#include "tst_document.moc"
