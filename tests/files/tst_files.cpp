#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <filesystem>

#include "files/sample_records.h"
#include "files/settings_file.h"
#include "files/settings_storage.h"
#include "support/app_harness.h"

using namespace tarvek;
using namespace tarvek::test;
namespace fs = std::filesystem;

namespace {

const std::string kQuestion = "Do you want to overwrite the existing file? ";

void trigger(QWidget* screen, const char* actionName) {
  auto* action = screen ? screen->findChild<QAction*>(QString::fromLatin1(actionName)) : nullptr;
  QVERIFY2(action, actionName);
  action->trigger();
}

std::vector<std::string> crlfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start != text.size()) lines.push_back("<no CR LF at the end>" + text.substr(start));
  return lines;
}

// The lines a report of `record` named `name` has, with every "Saved" line's date and
// time cut off: it is the clock's, not ours to compare.
std::vector<std::string> reportLines(const Programming& record, const std::string& name) {
  return settings::fileLines(record, name, "");
}

std::vector<std::string> withoutSavedTime(std::vector<std::string> lines) {
  const std::string saved = std::string(15, ' ') + "Saved ";
  for (auto& line : lines)
    if (line.rfind(saved, 0) == 0) line = saved;
  return lines;
}

std::vector<std::string> fileWithoutSavedTime(const fs::path& file) {
  return withoutSavedTime(crlfLines(readFile(file)));
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

QStringList listLines(QWidget* screen, const char* name) {
  QStringList lines;
  auto* list = child<QListWidget>(screen, name);
  if (!list) return lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

QStringList toQt(const std::vector<std::string>& lines) {
  QStringList result;
  for (const auto& line : lines) result << qt(line);
  return result;
}

void verifyOverwriteQuestion(const Message& message) {
  QCOMPARE(message.text, kQuestion);
  QCOMPARE(message.title, std::string("Existing File"));
  QVERIFY(message.buttons == Buttons::YesNoCancel);
  QVERIFY(message.icon == Icon::Question);
}

}  // namespace

class FilesTest : public QObject {
  Q_OBJECT

 private slots:
  void saveAsWritesTheReportAndRemembersTheFile() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    main->setRecord(siteA());
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    h.prompts.fileNames.push_back(file.string());
    trigger(main, "mnuFileSaveAs");

    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    const FileRequest& request = h.prompts.fileRequests[0];
    QCOMPARE(request.filters, std::vector<std::string>{"Text documents (*.txt)"});
    QCOMPARE(request.folder, (h.folder / "Saved").string());
    QVERIFY(h.prompts.shown.empty());
    QCOMPARE(fileWithoutSavedTime(file), reportLines(siteA(), "Site A"));
    QCOMPARE(h.app->session().settingsFilePath, file.string());
    // The record and the screen stay as they were.
    QCOMPARE(main->record(), siteA());
  }

  void saveAsAddsTxtToANameWithoutExtension() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    h.prompts.fileNames.push_back((h.folder / "Saved" / "Backup").string());
    trigger(main, "mnuFileSaveAs");
    const fs::path file = h.folder / "Saved" / "Backup.txt";
    QCOMPARE(fileWithoutSavedTime(file), reportLines(newProgramming(), "Backup"));
    QVERIFY(!fs::exists(h.folder / "Saved" / "Backup"));
    QCOMPARE(h.app->session().settingsFilePath, file.string());
  }

  void saveAsAsksBeforeReplacing_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("appended");
    QTest::newRow("Yes replaces") << int(Answer::Yes) << true << false;
    QTest::newRow("No appends") << int(Answer::No) << true << true;
    QTest::newRow("Cancel writes nothing") << int(Answer::Cancel) << false << false;
  }

  void saveAsAsksBeforeReplacing() {
    QFETCH(int, answer);
    QFETCH(bool, written);
    QFETCH(bool, appended);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    writeFile(file, "old\r\n");
    h.prompts.fileNames.push_back((h.folder / "Saved" / "Site A").string());
    h.prompts.answers.push_back(Answer(answer));
    trigger(main, "mnuFileSaveAs");

    QCOMPARE(h.prompts.shown.size(), std::size_t(1));
    verifyOverwriteQuestion(h.prompts.shown[0]);
    const auto report = reportLines(newProgramming(), "Site A");
    const auto expected = !written ? std::vector<std::string>{"old"} : appended ? concat({"old"}, report) : report;
    QCOMPARE(fileWithoutSavedTime(file), expected);
    QCOMPARE(h.app->session().settingsFilePath, written ? file.string() : std::string());
  }

  void saveWithoutAFileIsSaveAs() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const fs::path file = h.folder / "Saved" / "First.txt";
    h.prompts.fileNames.push_back(file.string());
    trigger(main, "mnuFileSave");
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    QVERIFY(h.prompts.shown.empty());
    QCOMPARE(fileWithoutSavedTime(file), reportLines(newProgramming(), "First"));

    // Cancelling the dialog writes nothing and leaves no file to save to.
    AppHarness other;
    trigger(other.startWithNew(), "mnuFileSave");
    QCOMPARE(other.prompts.fileRequests.size(), std::size_t(1));
    QVERIFY(other.app->session().settingsFilePath.empty());
    QVERIFY(fs::is_empty(other.folder / "Saved"));
  }

  void saveAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("reports");  // reports of the new record in the file; -1: the old file as it was
    QTest::newRow("Yes") << int(Answer::Yes) << 1;
    QTest::newRow("No") << int(Answer::No) << 2;
    QTest::newRow("Cancel") << int(Answer::Cancel) << -1;
  }

  void saveAnswers() {
    QFETCH(int, answer);
    QFETCH(int, reports);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    h.prompts.fileNames.push_back(file.string());
    trigger(main, "mnuFileSaveAs");
    const std::string first = readFile(file);

    main->setRecord(siteA());
    h.prompts.answers.push_back(Answer(answer));
    trigger(main, "mnuFileSave");
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    QCOMPARE(h.prompts.shown.size(), std::size_t(1));
    verifyOverwriteQuestion(h.prompts.shown[0]);

    const auto oldReport = reportLines(newProgramming(), "Site A");
    const auto newReport = reportLines(siteA(), "Site A");
    if (reports < 0) QCOMPARE(readFile(file), first);
    if (reports == 1) QCOMPARE(fileWithoutSavedTime(file), newReport);
    if (reports == 2) {
      QCOMPARE(fileWithoutSavedTime(file), concat(oldReport, newReport));
      QCOMPARE(crlfLines(readFile(file)).size(), std::size_t(382));
    }
  }

  void aFailedSaveNamesTheFileAndKeepsTheOldOne_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    QTest::newRow("Save As, Yes") << "mnuFileSaveAs" << int(Answer::Yes);
    QTest::newRow("Save, Yes") << "mnuFileSave" << int(Answer::Yes);
    QTest::newRow("Save, No") << "mnuFileSave" << int(Answer::No);
  }

  void aFailedSaveNamesTheFileAndKeepsTheOldOne() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    writeFile(file, "old report\r\n");
    const bool saveAs = command == QStringLiteral("mnuFileSaveAs");
    if (saveAs)
      h.prompts.fileNames.push_back(file.string());
    else
      h.app->session().settingsFilePath = file.string();
    // Root writes through permissions: a folder where the temporary file goes stops the save.
    fs::create_directory(settings::temporaryPathFor(file));
    h.prompts.answers.push_back(Answer(answer));
    trigger(main, command.toLatin1().constData());

    QCOMPARE(h.prompts.shown.size(), std::size_t(2));
    const Message& failure = h.prompts.shown[1];
    QCOMPARE(failure.text, "The programming could not be saved in " + file.string() + ".");
    QCOMPARE(failure.detail, std::string("Is a directory"));
    QVERIFY(failure.buttons == Buttons::Ok);
    QCOMPARE(readFile(file), std::string("old report\r\n"));
    QCOMPARE(h.app->session().settingsFilePath, saveAs ? std::string() : file.string());
  }

  void aPathUnderAPlainFileCannotBeSaved() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    writeFile(h.folder / "plain", "x");
    const fs::path file = h.folder / "plain" / "Site A.txt";
    h.prompts.fileNames.push_back(file.string());
    trigger(main, "mnuFileSaveAs");
    QCOMPARE(h.prompts.texts(),
             std::vector<std::string>{"The programming could not be saved in " + file.string() + "."});
    QCOMPARE(h.prompts.shown[0].detail, std::string("Not a directory"));
    QVERIFY(h.app->session().settingsFilePath.empty());
    QCOMPARE(readFile(h.folder / "plain"), std::string("x"));
  }

  void existingFileOpensTheRecordAndSaveWritesBackToIt() {
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    fs::copy_file(filesDataDir() / "golden_alarm_dialer.txt", file);
    h.prompts.fileNames.push_back(file.string());
    click(select, "cmdExisting");

    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    const FileRequest& request = h.prompts.fileRequests[0];
    QCOMPARE(request.title, std::string("Open"));
    QCOMPARE(request.filters, std::vector<std::string>{"Text documents (*.txt)"});
    QCOMPARE(request.folder, (h.folder / "Saved").string());
    QVERIFY(h.prompts.shown.empty());

    MainScreen* main = h.app->mainScreen();
    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->selectScreen());
    QCOMPARE(main->record(), siteAAsRead());
    QCOMPARE(child<QLabel>(main, "lblFunctionSetting")->text(), QStringLiteral("Alarm Dialer (No Beeps)"));
    QCOMPARE(child<QLabel>(main, "lblForcedSetting")->text(), QStringLiteral("07"));
    QCOMPARE(listLines(main, "lstInputSpecs"), toQt(siteAAsRead().inputSpecs));
    QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(siteAAsRead().phoneNumbers));
    QCOMPARE(h.app->session().settingsFilePath, file.string());
    QVERIFY(child<QPushButton>(main, "cmdConnect")->isVisible());

    h.prompts.answers.push_back(Answer::Yes);
    trigger(main, "mnuFileSave");
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    QCOMPARE(fileWithoutSavedTime(file), reportLines(siteAAsRead(), "Site A"));
  }

  void existingFileRefusesWhatItCannotRead_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    QTest::newRow("no heading") << "no_global_heading.txt"
                                << "The file ends before the Global Settings heading.";
    QTest::newRow("cut short") << "ends_in_phone_numbers.txt"
                               << "The file ends before the end of input 5 of the Phone Numbers.";
    QTest::newRow("short number") << "number_line_too_short.txt"
                                  << "Number 2 of input 1 in the Phone Numbers is cut short.";
    QTest::newRow("garbage") << "binary_garbage.txt"
                             << "The file ends before the Global Settings heading.";
    QTest::newRow("missing") << "missing.txt"
                             << "No such file or directory";
  }

  void existingFileRefusesWhatItCannotRead() {
    QFETCH(QString, name);
    QFETCH(QString, problem);
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    h.app->session().settingsFilePath = "before.txt";
    const fs::path source = filesDataDir() / "read" / name.toStdString();
    const fs::path file = h.folder / "Saved" / name.toStdString();
    if (fs::exists(source)) fs::copy_file(source, file);
    h.prompts.fileNames.push_back(file.string());
    click(select, "cmdExisting");

    QCOMPARE(h.prompts.texts(),
             std::vector<std::string>{"The file " + file.string() + " is not a readable settings file."});
    QCOMPARE(qt(h.prompts.shown[0].detail), problem);
    QVERIFY(shown(h.app->selectScreen()));
    QVERIFY(!h.app->mainScreen());
    QCOMPARE(h.app->session().settingsFilePath, std::string("before.txt"));
  }

  void existingFileCancelledChangesNothing() {
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    click(select, "cmdExisting");
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    QVERIFY(h.prompts.shown.empty());
    QVERIFY(shown(h.app->selectScreen()));
    QVERIFY(!h.app->mainScreen());
    QVERIFY(h.app->session().settingsFilePath.empty());
  }
};

QTEST_MAIN(FilesTest)
#include "tst_files.moc"
