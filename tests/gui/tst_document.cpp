// What changes or keeps the document, on the real screens: the three editors, the file
// commands, Compare With File and the printed report.
#include <signal.h>
#include <sys/resource.h>

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <optional>
#include <regex>

#include "core/display_lines.h"
#include "core/report.h"
#include "core/settings_file.h"
#include "gui/compare_dialog.h"
#include "gui/help_desk.h"
#include "gui/help_viewer.h"
#include "gui/print_dialog.h"
#include "gui/report_printer.h"
#include "support/app_harness.h"
#include "support/sample_records.h"

using namespace tarvek;
using namespace tarvek::test;
namespace fs = std::filesystem;

namespace {

constexpr const char* kDigits = "This digit entry must be 0 - 9";
constexpr const char* kPhone = "Phone number entries must be 0 - 9, *, #, or comma";
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
    {"digit: letter refused", "cmdEditGlobal", "txtSecurity", "12", 0, 0, "a", "", "12", kDigits},
    {"digit: digit taken", "cmdEditGlobal", "txtSecurity", "12", 0, 0, "5", "", "125", ""},
    {"digit: Enter refused", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_Return, 0, "\r", "", "12", kDigits},
    {"digit: Alt+letter", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_A, Qt::AltModifier, "a", "", "12", kDigits},
    {"digit: AltGr as Ctrl+Alt", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier,
     "@", "", "12", kDigits},
    {"digit: Meta+letter", "cmdEditGlobal", "txtSecurity", "12", Qt::Key_X, Qt::MetaModifier, "x", "", "12", kDigits},
    {"digit: Ctrl+V of letters", "cmdEditGlobal", "txtSecurity", "", Qt::Key_V, Qt::ControlModifier, "v", "12ab", "",
     kDigits},
    {"digit: Shift+Insert of digits", "cmdEditGlobal", "txtSecurity", "", Qt::Key_Insert, Qt::ShiftModifier, "",
     "654321", "654321", ""},
    {"timer: letter refused, emptied", "cmdEditInputSpecs", "txtQMinutes", "4", 0, 0, "a", "", "", kDigits},
    {"timer: digit taken", "cmdEditInputSpecs", "txtQMinutes", "4", 0, 0, "5", "", "45", ""},
    {"phone: letter refused", "cmdEditPhoneNumbers", "txtPhoneNbr3", kPlaceholder, 0, 0, "a", "", "", kPhone},
    {"phone: * taken", "cmdEditPhoneNumbers", "txtPhoneNbr3", kPlaceholder, 0, 0, "*", "", "*", ""},
};

std::vector<std::string> texts(const char* message) {
  return *message ? std::vector<std::string>{message} : std::vector<std::string>{};
}

QString focusName(QWidget* screen) { return screen->focusWidget()->objectName(); }

QString boxText(QWidget* screen, const char* name) { return child<QLineEdit>(screen, name)->text(); }

// Empties a box and types the text into it, key by key.
void retype(QWidget* screen, const char* name, const QString& text) {
  auto* edit = child<QLineEdit>(screen, name);
  edit->clear();
  QTest::keyClicks(edit, text);
}

// Clicks an option button or check box with the mouse.
void choose(QWidget* screen, const char* name) {
  auto* button = child<QAbstractButton>(screen, name);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

bool enabled(QWidget* screen, const char* name) { return child<QWidget>(screen, name)->isEnabled(); }

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

}  // namespace

class DocumentTest : public QObject {
  Q_OBJECT

 private slots:
  // A key that would type goes through the box's key rule, whatever its modifiers; a paste
  // through its paste rule; a refusal says why and puts the focus on the box.
  void keysAndPastesGoThroughTheBoxRules_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kKeys)); ++i) QTest::newRow(kKeys[i].name) << i;
  }

  void keysAndPastesGoThroughTheBoxRules() {
    QFETCH(int, row);
    const KeyRow& r = kKeys[row];
    AppHarness h;
    click(h.startWithNew(), r.editButton);
    Screen* editor = h.app->editorScreen();
    auto* edit = child<QLineEdit>(editor, r.box);
    edit->setText(QString::fromLatin1(r.before));
    child<QWidget>(editor, "cmdBack")->setFocus();
    QGuiApplication::clipboard()->setText(QString::fromLatin1(r.clipboard));
    if (r.key)
      QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(r.key), r.typed, Qt::KeyboardModifiers(r.modifiers));
    else
      QTest::keyClicks(edit, QString::fromLatin1(r.typed));
    QCOMPARE(edit->text(), QString::fromLatin1(r.after));
    QCOMPARE(h.prompts.texts(), texts(r.message));
    QCOMPARE(focusName(editor), QLatin1String(*r.message ? r.box : "cmdBack"));
  }

  // Each editor gives its record back to the document on Back, which refuses an entry out
  // of range; the Phone Numbers editor also clears and steps between inputs.
  void editorsWriteTheDocumentOnBack() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    click(main, "cmdEditGlobal");
    Screen* editor = h.app->editorScreen();
    QVERIFY(shown(editor) && !main->isVisible());
    retype(editor, "txtSecurity", QStringLiteral("12345"));
    click(editor, "cmdBack");
    QCOMPARE(h.prompts.texts(), texts("The security code must be 6 digits"));
    QCOMPARE(boxText(editor, "txtSecurity"), QString());
    QCOMPARE(focusName(editor), QStringLiteral("txtSecurity"));
    QVERIFY(shown(editor) && h.app->document().record() == newProgramming());
    retype(editor, "txtSecurity", QStringLiteral("246810"));
    choose(editor, "optHSEnabled");
    editor->close();  // as Back

    click(main, "cmdEditInputSpecs");
    editor = h.app->editorScreen();
    choose(editor, "optNC");
    retype(editor, "txtQSeconds", QStringLiteral("5"));
    click(editor, "cmdBack");

    click(main, "cmdEditPhoneNumbers");
    editor = h.app->editorScreen();
    retype(editor, "txtPhoneNbr2", QStringLiteral("555"));
    h.prompts.answers = {Answer::Ok};
    click(editor, "cmdClearAll");
    QCOMPARE(boxText(editor, "txtPhoneNbr2"), QLatin1String(kPlaceholder));
    retype(editor, "txtPhoneNbr2", QStringLiteral("555"));
    choose(editor, "chkCheck2");
    click(editor, "cmdPrevious");
    QCOMPARE(labelText(editor, "lblNumber"), QStringLiteral("8"));
    retype(editor, "txtPhoneNbr8", QStringLiteral("9"));
    click(editor, "cmdNext");
    QCOMPARE(boxText(editor, "txtPhoneNbr2"), QStringLiteral("555"));
    click(editor, "cmdBack");

    const Programming& record = h.app->document().record();
    QCOMPARE(record.global, globalOf("Alarm Dialer|246810|390618|1|6|Normal|Enabled|N/A|Enabled"));
    QCOMPARE(record.inputSpecs.at(2), std::string("  Normal State      Normally Closed"));
    QCOMPARE(record.inputSpecs.at(4), std::string("  Qualifier Timer   Hrs 00 Min 00 Sec 05"));
    QCOMPARE(phoneLine(h, 1, 2), std::string(" P (2) 555"));
    QCOMPARE(phoneLine(h, 8, 8), std::string("   (8) 9"));
    QVERIFY(shown(main));
    QCOMPARE(labelText(main, "lblSecurityCodeSetting"), QStringLiteral("246810"));
    QCOMPARE(listLines(main, "lstInputSpecs"), toQt(record.inputSpecs));
    QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(record.phoneNumbers));
  }

  // A short-layout unit has neither Hookswitch Flash nor pager marks.
  void aShortUnitGreysWhatItLacks() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    h.app->session().reducedFeatures = true;
    click(main, "cmdEditGlobal");
    QVERIFY(!enabled(h.app->editorScreen(), "fraHookswitch"));
    click(h.app->editorScreen(), "cmdBack");
    QVERIFY(!enabled(main, "lblHookswitchSetting"));
    click(main, "cmdEditPhoneNumbers");
    QVERIFY(!enabled(h.app->editorScreen(), "chkCheck1"));
  }

  // Save and Save As, by their keys, against an old settings file; Save As is given its
  // name less ".txt".
  void saveWritesAsAnswered_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("incomplete");  // as a read that stopped in input 7's numbers leaves it
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("result");  // the file holds the "old" or the "new" report, or "old+new"; "full"
    const QString save = QStringLiteral("Ctrl+S");
    const int yes = int(Answer::Yes), no = int(Answer::No);
    QTest::newRow("Save, Yes replaces") << save << false << QList{yes} << "new";
    QTest::newRow("Save, No appends") << save << false << QList{no} << "old+new";
    QTest::newRow("Save, Cancel") << save << false << QList{int(Answer::Cancel)} << "old";
    QTest::newRow("Save As adds .txt, Yes") << "Ctrl+Shift+S" << false << QList{yes} << "new";
    QTest::newRow("Save, incomplete, No") << save << true << QList{no} << "old";
    QTest::newRow("Save, Yes, disk full") << save << false << QList{yes} << "full";
  }

  void saveWritesAsAnswered() {
    QFETCH(QString, keys);
    QFETCH(bool, incomplete);
    QFETCH(QList<int>, answers);
    QFETCH(QString, result);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    QVERIFY(QTest::qWaitForWindowActive(main));
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
    const bool saveAs = keys != "Ctrl+S";
    if (!saveAs) h.app->document().setFilePath(file.string());
    h.prompts.fileNames.push_back((h.folder / "Saved" / "B\u00fcro \u20ac").string());
    for (const int answer : answers) h.prompts.answers.push_back(Answer(answer));
    {
      std::optional<FileSizeLimit> full;  // less than one report goes, then the disk is full
      if (result == "full") full.emplace(1024);
      QTest::keySequence(main, QKeySequence(keys));
    }
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(saveAs));
    if (saveAs) QCOMPARE(h.prompts.fileRequests[0].folder, (h.folder / "Saved").string());
    QCOMPARE(h.prompts.shown.size(), std::size_t(answers.size() + (result == "full")));
    const std::string now = settings::fileText(settings::fileLines(record, name, ""));
    const std::string expected = result == "new" ? now : result == "old+new" ? old + now : old;
    QCOMPARE(undated(readFile(file)), undated(expected));
    QCOMPARE(h.app->document().filePath(), !saveAs || result == "new" ? file.string() : std::string());
    if (result != "full") return;
    QCOMPARE(h.prompts.lastText(), "The programming could not be saved in " + file.string() + ".");
    QCOMPARE(h.prompts.shown.back().detail, std::string("File too large"));
    QCOMPARE(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1L);  // no temporary
    QCOMPARE(h.app->document().record(), record);
  }

  // Existing File opens a settings file as it stands, with a word on a value Send would
  // refuse, and refuses one cut short, changing nothing.
  void existingFileOpensOrRefuses_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("message");  // after "The file <name> "
    QTest::addColumn<QString>("detail");
    QTest::newRow("opened") << "golden_alarm_dialer.txt"
                            << "was opened, but some of its values"
                            << "Input 2, Qualifier Timer: \"Hrs 18 Min 59 Sec 59\"";
    QTest::newRow("refused") << "read/ends_in_phone_numbers.txt"
                             << "is not a readable settings file."
                             << "The file ends before the end of input 5 of the Phone Numbers.";
  }

  void existingFileOpensOrRefuses() {
    QFETCH(QString, source);
    QFETCH(QString, message);
    QFETCH(QString, detail);
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    const Programming before = h.app->document().record();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    fs::copy_file(filesDataDir() / source.toStdString(), file);
    h.prompts.fileNames.push_back(file.string());
    click(select, "cmdExisting");
    const bool opened = source.startsWith("golden");
    QCOMPARE(h.prompts.fileRequests.at(0).folder, (h.folder / "Saved").string());
    QVERIFY(h.prompts.lastText().starts_with("The file " + file.string() + " " + message.toStdString()));
    QCOMPARE(h.prompts.shown.at(0).detail, detail.toStdString());
    QCOMPARE(h.app->document().record(), opened ? siteAAsRead() : before);
    QCOMPARE(h.app->document().filePath(), opened ? file.string() : std::string());
    QCOMPARE(shown(h.app->mainScreen()), opened);
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

  // Print, by its key: Cancel prints nothing; a PDF, named and titled as the settings
  // file, holds the report's pages and its bold headings, as poppler reads them back.
  void printWritesTheReport() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    QVERIFY(QTest::qWaitForWindowActive(main));
    h.app->document().setRecord(siteA());
    h.app->document().setFilePath((h.folder / "Saved/Site A.txt").string());
    const QString pdf = QString::fromStdString((h.folder / "Saved/Site A.pdf").string());
    QStringList names;
    int perPage = 0;
    PrintChoice choice = PrintChoice::Cancel;
    h.app->setPrinterSetUp([&](QPrinter& printer) {
      names << printer.docName() << printer.outputFileName();
      printer.setOutputFormat(QPrinter::PdfFormat);  // never a real printer
      printer.setOutputFileName(pdf);
      perPage = report::linesPerPage(printer);
      return choice;
    });
    QTest::keyClick(main, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(perPage > 50 && !QFile::exists(pdf));
    QCOMPARE(names, (QStringList{"Site A", pdf}));
    choice = PrintChoice::Print;
    trigger(main, "mnuFilePrint");
    QProcess reader;
    reader.start(QStringLiteral("pdftohtml"), {"-xml", "-i", "-stdout", "-q", pdf});
    QVERIFY(reader.waitForFinished(60000) && reader.exitCode() == 0);
    const QString xml = QString::fromUtf8(reader.readAllStandardOutput());
    const auto pages = report::paginate(report::lines(siteA(), report::date(2000, 1, 1)), perPage);
    QCOMPARE(xml.count(QStringLiteral("<page number=")), qsizetype(pages.size()));
    QVERIFY(xml.contains(QRegularExpression(QStringLiteral("<b>\\s*Global Settings\\s*</b>"))));
  }

  // The screen's programming against a file: the same, one field apart, or not a settings file.
  void compareWithFile_data() {
    QTest::addColumn<QString>("ringDelay");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("row");  // the one row of differences; empty: none shown
    QTest::addColumn<QString>("message");
    const QString golden = QStringLiteral("golden_alarm_dialer.txt");
    QTest::newRow("same, forms apart") << "3" << golden << QStringList() << "are the same.";
    QTest::newRow("one field") << "8" << golden << QStringList{"Global", "Ring Delay", "8", "3"} << "";
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
    QCOMPARE(dialog->table()->rowCount(), 1);
    QStringList cells;
    for (int column = 0; column < 4; ++column) cells << dialog->table()->item(0, column)->text();
    QCOMPARE(cells, row);
  }

  // Every control of the screens and editors has a name of its own for a screen reader.
  void eachControlHasItsOwnSpokenName() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    QStringList names;
    const auto check = [&names](Screen* screen) {
      QSet<QString> seen;
      for (QWidget* control : screen->client()->findChildren<QWidget*>()) {
        if (!control->inherits("QAbstractButton") && !control->inherits("QLineEdit") && !control->inherits("QComboBox"))
          continue;
        const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
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
    h.port.responder = [](const std::string&) { return std::nullopt; };
    click(main, "cmdConnect");
    click(h.app->notFoundScreen(), "cmdChange");
    check(h.app->commPortScreen());
    for (const char* name :
         {"Pager, Phone Number 3", "Qualifier Timer Hours", "Edit Global Settings", "Hookswitch Flash Enabled"})
      QVERIFY2(names.contains(QLatin1String(name)), name);
  }
};

QTEST_MAIN(DocumentTest)
#include "tst_document.moc"
