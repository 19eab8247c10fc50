#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "core/report.h"
#include "core/settings_file.h"
#include "core/settings_storage.h"
#include "gui/print_dialog.h"
#include "gui/report_printer.h"
#include "support/app_harness.h"
#include "support/sample_records.h"

using namespace tarvek;
using namespace tarvek::test;
namespace fs = std::filesystem;

namespace {

const std::string kQuestion = "Do you want to overwrite the existing file? ";

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

void verifyOverwriteQuestion(const Message& message) {
  QCOMPARE(message.text, kQuestion);
  QCOMPARE(message.title, std::string("Existing File"));
  QVERIFY(message.buttons == Buttons::YesNoCancel);
  QVERIFY(message.icon == Icon::Question);
}

QString runTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString rightTrimmed(QString text) {
  while (text.endsWith(QLatin1Char(' '))) text.chop(1);
  return text;
}

// One piece of text on a PDF page, as poppler reads it back.
struct PdfText {
  int page;
  double top;
  bool bold;
  QString text;
};

// The texts of a PDF with their pages, heights and weights. poppler keeps a line's
// leading blanks in its text, so columns can be compared exactly.
std::vector<PdfText> pdfTexts(const QString& pdf) {
  const QString xml = runTool(QStringLiteral("pdftohtml"), {"-xml", "-i", "-stdout", "-q", pdf});
  std::vector<PdfText> texts;
  int page = 0;
  static const QRegularExpression item(
      QStringLiteral("<page number=\"(\\d+)\"|<text top=\"([\\d.]+)\"[^>]*>(<b>)?(.*?)(</b>)?</text>"));
  for (auto it = item.globalMatch(xml); it.hasNext();) {
    const auto match = it.next();
    if (!match.captured(1).isEmpty()) {
      page = match.captured(1).toInt();
      continue;
    }
    QString text = match.captured(4);
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    texts.push_back({page, match.captured(2).toDouble(), !match.captured(3).isEmpty(), rightTrimmed(text)});
  }
  return texts;
}

// A copy in the build's screens folder, beside the pictures of the screens.
void keepForPeople(const QString& file, const QString& name) {
  const QString folder = qEnvironmentVariable("TARVEK_SCREENS_DIR", QStringLiteral("screens"));
  QDir().mkpath(folder);
  QFile::remove(folder + QLatin1Char('/') + name);
  QFile::copy(file, folder + QLatin1Char('/') + name);
}

}  // namespace

class FilesTest : public QObject {
  Q_OBJECT

 private slots:
  void saveAsWritesANewFile_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("reportName");
    QTest::newRow("a .txt name") << "Site A.txt"
                                 << "Site A.txt" << QByteArray("Site A");
    QTest::newRow("no extension") << "Backup"
                                  << "Backup.txt" << QByteArray("Backup");
    QTest::newRow("another extension") << "Site.B"
                                       << "Site.B" << QByteArray("Site.B");
    const QString office = QStringLiteral("B\u00fcro \u2013 \u20ac.txt");  // UTF-8 in the file system
    QTest::newRow("a name in Windows-1252") << office << office << QByteArray("B\xfcro \x96 \x80");
  }

  void saveAsWritesANewFile() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QByteArray, reportName);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    h.app->document().setRecord(siteA());
    h.prompts.fileNames.push_back((h.folder / "Saved" / chosen.toStdString()).string());
    trigger(main, "mnuFileSaveAs");

    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    const FileRequest& request = h.prompts.fileRequests[0];
    QCOMPARE(request.filters, std::vector<std::string>{"Text documents (*.txt)"});
    QCOMPARE(request.folder, (h.folder / "Saved").string());
    QVERIFY(h.prompts.shown.empty());
    const fs::path file = h.folder / "Saved" / written.toStdString();
    QCOMPARE(fileWithoutSavedTime(file), reportLines(siteA(), reportName.toStdString()));
    QCOMPARE(std::distance(fs::directory_iterator(h.folder / "Saved"), fs::directory_iterator()), 1);
    QCOMPARE(h.app->document().filePath(), file.string());
    QCOMPARE(h.app->document().record(), siteA());
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
    QVERIFY(other.app->document().filePath().empty());
    QVERIFY(fs::is_empty(other.folder / "Saved"));
  }

  void overwriteQuestion_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("incomplete");  // the answer to the question about an incomplete record; -1: complete
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("reports");  // 1: the new report alone; 2: the old, then the new; 0: the old file as it was
    for (const char* command : {"mnuFileSave", "mnuFileSaveAs"}) {
      QTest::addRow("%s, Yes", command) << command << -1 << int(Answer::Yes) << 1;
      QTest::addRow("%s, No", command) << command << -1 << int(Answer::No) << 2;
      QTest::addRow("%s, Cancel", command) << command << -1 << int(Answer::Cancel) << 0;
      QTest::addRow("%s, incomplete, saved anyway", command) << command << int(Answer::Yes) << int(Answer::Yes) << 1;
      QTest::addRow("%s, incomplete, not saved", command) << command << int(Answer::No) << -1 << 0;
    }
  }

  void overwriteQuestion() {
    QFETCH(QString, command);
    QFETCH(int, incomplete);
    QFETCH(int, answer);
    QFETCH(int, reports);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    const std::string old = settings::fileText(settings::fileLines(newProgramming(), "Site A", "earlier"));
    writeFile(file, old);
    const bool saveAs = command == QStringLiteral("mnuFileSaveAs");
    if (saveAs)
      h.prompts.fileNames.push_back(file.string());
    else
      h.app->document().setFilePath(file.string());
    // As a read that stopped in input 7's phone numbers leaves it.
    Programming record = siteA();
    if (incomplete >= 0) record.phoneNumbers.resize(70);
    h.app->document().setRecord(record);
    for (int given : {incomplete, answer})
      if (given >= 0) h.prompts.answers.push_back(Answer(given));
    trigger(main, command.toLatin1().constData());

    const bool declined = incomplete == int(Answer::No);
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(saveAs && !declined ? 1 : 0));
    QCOMPARE(h.prompts.shown.size(), std::size_t(incomplete >= 0 ? 2 - declined : 1));
    if (incomplete >= 0) {
      const Message& question = h.prompts.shown[0];
      QVERIFY(question.text.starts_with("The programming on the Main screen is incomplete"));
      QCOMPARE(question.detail, std::string("Input 7, Phone Numbers: missing\nInput 8, Phone Numbers: missing"));
      QVERIFY(question.buttons == Buttons::YesNoCancel);
    }
    if (!declined) verifyOverwriteQuestion(h.prompts.shown.back());
    const auto newReport = reportLines(record, "Site A");
    if (reports == 0) QCOMPARE(readFile(file), old);
    if (reports == 1) QCOMPARE(fileWithoutSavedTime(file), newReport);
    if (reports == 2) QCOMPARE(fileWithoutSavedTime(file), concat(withoutSavedTime(crlfLines(old)), newReport));
    QCOMPARE(h.app->document().filePath(), !saveAs || reports > 0 ? file.string() : std::string());
  }

  void aFailedSaveNamesTheFileAndKeepsTheOldOne_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("underAFile");  // else a folder stands where the temporary file goes
    QTest::newRow("Save As, Yes") << "mnuFileSaveAs" << int(Answer::Yes) << false;
    QTest::newRow("Save, Yes") << "mnuFileSave" << int(Answer::Yes) << false;
    QTest::newRow("Save, No") << "mnuFileSave" << int(Answer::No) << false;
    QTest::newRow("Save As, under a file") << "mnuFileSaveAs" << -1 << true;
  }

  // Root writes through permissions, so the saves are made to fail by what stands in the way.
  void aFailedSaveNamesTheFileAndKeepsTheOldOne() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, underAFile);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const fs::path folder = underAFile ? h.folder / "plain" : h.folder / "Saved";
    const fs::path old = underAFile ? folder : folder / "Site A.txt";
    const fs::path file = folder / "Site A.txt";
    writeFile(old, "old report\r\n");
    if (!underAFile) fs::create_directory(settings::temporaryPathFor(file));
    const bool saveAs = command == QStringLiteral("mnuFileSaveAs");
    if (saveAs)
      h.prompts.fileNames.push_back(file.string());
    else
      h.app->document().setFilePath(file.string());
    if (answer >= 0) h.prompts.answers.push_back(Answer(answer));
    trigger(main, command.toLatin1().constData());

    QVERIFY(!h.prompts.shown.empty());
    const Message& failure = h.prompts.shown.back();
    QCOMPARE(failure.text, "The programming could not be saved in " + file.string() + ".");
    QCOMPARE(failure.detail, std::string(underAFile ? "Not a directory" : "Is a directory"));
    QCOMPARE(readFile(old), std::string("old report\r\n"));
    QCOMPARE(h.app->document().filePath(), saveAs ? std::string() : file.string());
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
    // Loaded as it stands, with a word on the value Send would refuse.
    QCOMPARE(h.prompts.texts(),
             std::vector<std::string>{"The file " + file.string() +
                                      " was opened, but some of its values are missing or out of range, listed below. "
                                      "Send refuses the programming until they are corrected."});
    QCOMPARE(h.prompts.shown[0].detail, std::string("Input 2, Qualifier Timer: \"Hrs 18 Min 59 Sec 59\""));

    MainScreen* main = h.app->mainScreen();
    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->selectScreen());
    QCOMPARE(h.app->document().record(), siteAAsRead());
    QCOMPARE(child<QLabel>(main, "lblFunctionSetting")->text(), QStringLiteral("Alarm Dialer (No Beeps)"));
    QCOMPARE(child<QLabel>(main, "lblForcedSetting")->text(), QStringLiteral("07"));
    QCOMPARE(listLines(main, "lstInputSpecs"), toQt(siteAAsRead().inputSpecs));
    QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(siteAAsRead().phoneNumbers));
    QCOMPARE(h.app->document().filePath(), file.string());
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
    QTest::newRow("missing") << QStringLiteral("missing \u2013 \u20ac.txt") << "No such file or directory";
  }

  void existingFileRefusesWhatItCannotRead() {
    QFETCH(QString, name);
    QFETCH(QString, problem);
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    h.app->document().setFilePath("before.txt");
    const fs::path source = filesDataDir() / "read" / name.toStdString();
    const fs::path file = h.folder / "Saved" / name.toStdString();
    if (fs::exists(source)) fs::copy_file(source, file);
    h.prompts.fileNames.push_back(file.string());
    click(select, "cmdExisting");

    QCOMPARE(h.prompts.texts(),
             std::vector<std::string>{"The file " + file.string() + " is not a readable settings file."});
    QCOMPARE(QString::fromStdString(h.prompts.shown[0].detail), problem);
    QVERIFY(shown(h.app->selectScreen()));
    QVERIFY(!h.app->mainScreen());
    QCOMPARE(h.app->document().filePath(), std::string("before.txt"));
  }

  void existingFileCancelledChangesNothing() {
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    click(select, "cmdExisting");
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(1));
    QVERIFY(h.prompts.shown.empty());
    QVERIFY(shown(h.app->selectScreen()));
    QVERIFY(!h.app->mainScreen());
    QVERIFY(h.app->document().filePath().empty());
  }

  void printPaintsThePagesOfTheReport_data() {
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<double>("margin");  // millimetres; negative: the printer's own
    QTest::addColumn<int>("pageCount");
    // Only the forced breaks: the line spilling over the first page is an empty one.
    QTest::newRow("A4") << int(QPageSize::A4) << -1.0 << 3;
    // Pages full before each forced break, too.
    QTest::newRow("Letter, wide margins") << int(QPageSize::Letter) << 25.0 << 6;
  }

  void printPaintsThePagesOfTheReport() {
    QFETCH(int, pageSize);
    QFETCH(double, margin);
    QFETCH(int, pageCount);
    AppHarness h;
    MainScreen* main = h.startWithNew();
    h.app->document().setRecord(siteA());
    const QString pdf = QString::fromStdString((h.folder / "report.pdf").string());
    int perPage = 0;
    h.app->setPrinterSetUp([&](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      printer.setPageSize(QPageSize(QPageSize::PageSizeId(pageSize)));
      if (margin >= 0) printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
      perPage = report::linesPerPage(printer);
      return PrintChoice::Print;
    });
    trigger(main, "mnuFilePrint");
    keepForPeople(pdf, QStringLiteral("report-%1.pdf")
                           .arg(QString::fromLatin1(QTest::currentDataTag()).remove(',').replace(' ', '-')));

    // A 10-point line is about 11.3 points high: 50 to 75 lines fit on a page.
    QVERIFY2(perPage > 50 && perPage < 75, qPrintable(QString::number(perPage)));
    const QDate today = QDate::currentDate();
    const auto lines =
        report::lines(siteA(), report::date(today.year(), unsigned(today.month()), unsigned(today.day())));
    const auto pages = report::paginate(lines, perPage);
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages.size()))), qPrintable(info));
    QCOMPARE(int(pages.size()), pageCount);

    // Each page's lines against the report's: exactly, columns included, as poppler
    // reads the texts back, and word for word in pdftotext's layout of the page.
    const auto texts = pdfTexts(pdf);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const int page = int(i) + 1;
      QStringList expected;
      for (const auto& line : pages[i])
        if (!line.text.empty()) expected << fromWindows1252(line.text);
      QStringList read;
      for (const auto& text : texts)
        if (text.page == page) read << text.text;
      QCOMPARE(read, expected);

      const QString number = QString::number(page);
      const QString layout = runTool(QStringLiteral("pdftotext"), {"-layout", "-f", number, "-l", number, pdf, "-"});
      QStringList laidOut;
      for (const QString& line : layout.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty() && line != QStringLiteral("\f")) laidOut << line.simplified();
      for (QString& line : expected) line = line.simplified();
      QCOMPARE(laidOut, expected);
    }

    // Bold: the title and the three headings, and nothing else.
    QStringList bold;
    for (const auto& text : texts)
      if (text.bold) bold << text.text;
    QCOMPARE(bold, (QStringList{
                       QString(35, QLatin1Char(' ')) + QStringLiteral("Tarvek Programming Settings - ") +
                           fromWindows1252(report::date(today.year(), unsigned(today.month()), unsigned(today.day()))),
                       QStringLiteral("     Global Settings"), QStringLiteral("     Input Specifications"),
                       QStringLiteral("     Phone Numbers")}));

    // A forced break leaves five empty lines at the top of its page; the title stands
    // below two. The line height from two lines that follow each other.
    auto next = [&](std::vector<PdfText>::const_iterator from, const QString& what) {
      return std::find_if(from, texts.cend(), [&](const PdfText& t) { return t.text == what; });
    };
    const auto title = texts.cbegin();
    const auto normalState = next(title, QStringLiteral("               Normal State        Normally Open"));
    const auto input6 = next(title, QStringLiteral("          Input 6"));
    const auto input4 = next(next(title, QStringLiteral("     Phone Numbers")), QStringLiteral("          Input 4"));
    QVERIFY(normalState != texts.cend() && input6 != texts.cend() && input4 != texts.cend());
    const double lineHeight = std::next(normalState)->top - normalState->top;
    for (auto header : {input6, input4}) {
      QVERIFY2(header == texts.cbegin() || std::prev(header)->page != header->page, qPrintable(header->text));
      QCOMPARE(qRound((header->top - title->top) / lineHeight), 3);
    }
  }

  void printCancelledPrintsNothing() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    const QString pdf = QString::fromStdString((h.folder / "report.pdf").string());
    bool asked = false;
    h.app->setPrinterSetUp([&](QPrinter& printer) {
      asked = true;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return PrintChoice::Cancel;
    });
    trigger(main, "mnuFilePrint");
    QVERIFY(asked);
    QVERIFY(!QFile::exists(pdf));
  }

  void previewShowsThePagesBeforePrinting() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    int perPage = 0;
    h.app->setPrinterSetUp([&](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setPageSize(QPageSize(QPageSize::A4));
      perPage = report::linesPerPage(printer);
      return PrintChoice::Preview;
    });
    int previewPages = -1;
    closePreviewWhenShown(previewPages);
    trigger(main, "mnuFilePrint");
    const auto pages = report::paginate(report::lines(newProgramming(), "1/1/2000"), perPage);
    QCOMPARE(previewPages, int(pages.size()));
  }

  void thePrintDialogOffersPreview() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    bool previewOffered = false;
    // The real dialog: its Preview button leads to the preview, which is then closed.
    whenShown<PrintDialog>(QStringLiteral("dlgPrint"), [&](PrintDialog* dialog) {
      savePicture(dialog, QStringLiteral("dlgPrint"));
      previewOffered = dialog->previewButton() != nullptr;
      if (previewOffered)
        dialog->previewButton()->click();
      else
        dialog->reject();
    });
    int previewPages = -1;
    closePreviewWhenShown(previewPages);
    trigger(main, "mnuFilePrint");
    QVERIFY(previewOffered);
    QVERIFY2(previewPages >= 3, qPrintable(QString::number(previewPages)));
  }

 private:
  template <typename T>
  static T* findTopLevel(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* found = qobject_cast<T*>(widget); found && found->objectName() == name && found->isVisible())
        return found;
    return nullptr;
  }

  // Runs `act` on the named top-level dialog once it is shown (it runs its own loop).
  template <typename T, typename Act>
  void whenShown(const QString& name, Act act) {
    auto* poll = new QTimer(this);
    poll->setInterval(20);
    connect(poll, &QTimer::timeout, this, [poll, name, act] {
      auto* dialog = findTopLevel<T>(name);
      if (!dialog) return;
      poll->stop();
      poll->deleteLater();
      act(dialog);
    });
    poll->start();
  }

  // Waits for the preview dialog, counts its pages and closes it.
  void closePreviewWhenShown(int& pages) {
    whenShown<QPrintPreviewDialog>(QStringLiteral("dlgPrintPreview"), [&pages](QPrintPreviewDialog* preview) {
      auto* widget = preview->findChild<QPrintPreviewWidget*>();
      pages = widget ? widget->pageCount() : -2;
      savePicture(preview, QStringLiteral("dlgPrintPreview"));
      preview->reject();
    });
  }
};

QTEST_MAIN(FilesTest)
#include "tst_files.moc"
