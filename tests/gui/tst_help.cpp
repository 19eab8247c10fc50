#include <sys/stat.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/help_topics.h"
#include "core/programming.h"
#include "gui/about_screen.h"
#include "gui/help_desk.h"
#include "gui/help_viewer.h"
#include "support/app_harness.h"

using namespace tarvek;
using namespace tarvek::test;

namespace fs = std::filesystem;

namespace {

QString qstr(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// The folder the build lays the program out in, with its help files.
fs::path programFolder() { return fs::path(qEnvironmentVariable("TARVEK_PROGRAM_DIR").toStdString()); }
fs::path sourceFolder() { return fs::path(qEnvironmentVariable("TARVEK_SOURCE_DIR").toStdString()); }

QByteArray bytesOf(const fs::path& file) {
  QFile in(QString::fromStdString(file.string()));
  if (!in.open(QIODevice::ReadOnly)) return {};
  return in.readAll();
}

void putHelpFilesInto(const fs::path& folder) {
  for (const HelpTopic& topic : kHelpTopics)
    fs::copy_file(programFolder() / std::string(topic.file), folder / std::string(topic.file),
                  fs::copy_options::overwrite_existing);
}

QPlainTextEdit* textBox(QWidget* viewer) { return child<QPlainTextEdit>(viewer, "txtFileDisplay"); }

QString callerOf(const Session& s) {
  return s.caller == Caller::Select ? QStringLiteral("Select") : QStringLiteral("Main");
}

// Every program-wide value but the help topic, which Instructions is there to set, and
// the state of the document.
QString stateOf(Application& app) {
  const Session& s = app.session();
  const Document& d = app.document();
  return QStringLiteral("port %1, input %2, caller '%3', online %4, reduced %5, length %6, file '%7', grey %8")
      .arg(s.portNumber)
      .arg(s.currentInput)
      .arg(callerOf(s))
      .arg(d.online())
      .arg(s.reducedFeatures)
      .arg(s.expectedAnswerLength)
      .arg(qstr(d.filePath()))
      .arg(d.hookswitchGreyed());
}

int topLevelCount(const char* objectName) {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == QLatin1String(objectName) && widget->isVisible()) ++count;
  return count;
}

void noTarvekAttached(AppHarness& h) {
  h.port.responder = [](const std::string&) { return std::nullopt; };
}

// The working screens with a Help menu: how to bring each one up in a fresh program,
// and the help topic its Instructions must show.
struct ScreenRow {
  const char* objectName;
  const char* topic;
  const char* description;
  std::function<QWidget*(AppHarness&)> open;
};

QWidget* openEditor(AppHarness& h, const char* editButton) {
  click(h.startWithNew(), editButton);
  return h.app->editorScreen();
}

const std::vector<ScreenRow>& screenRows() {
  static const std::vector<ScreenRow> rows{
      {"frmSelect", "Select", "Programming Selection", [](AppHarness& h) -> QWidget* { return h.startAtSelect(); }},
      {"frmMain", "Main", "Main Screen", [](AppHarness& h) -> QWidget* { return h.startWithNew(); }},
      {"frmNotFound", "NotFound", "Tarvek not found",
       [](AppHarness& h) -> QWidget* {
         noTarvekAttached(h);
         click(h.startAtSelect(), "cmdConnect");
         return h.app->notFoundScreen();
       }},
      {"frmCommPort", "CommPort", "Comm Port",
       [](AppHarness& h) -> QWidget* {
         noTarvekAttached(h);
         click(h.startAtSelect(), "cmdConnect");
         click(h.app->notFoundScreen(), "cmdChange");
         return h.app->commPortScreen();
       }},
      {"frmGlobal", "Global", "Global settings editor", [](AppHarness& h) { return openEditor(h, "cmdEditGlobal"); }},
      {"frmInputSpecs", "InputSpecs", "Input specifications editor",
       [](AppHarness& h) { return openEditor(h, "cmdEditInputSpecs"); }},
      {"frmNumbers", "Numbers", "Phone numbers editor",
       [](AppHarness& h) { return openEditor(h, "cmdEditPhoneNumbers"); }},
  };
  return rows;
}

void addScreenRows() {
  QTest::addColumn<int>("row");
  for (std::size_t i = 0; i < screenRows().size(); ++i)
    QTest::newRow(screenRows()[i].objectName) << static_cast<int>(i);
}

// Opens the screen of a row, which must come up under its object name.
#define OPEN_SCREEN(harness, row, screen)    \
  QWidget* screen = (row).open(harness);     \
  if (QTest::currentTestFailed()) return;    \
  QVERIFY2(shown(screen), (row).objectName); \
  QCOMPARE(screen->objectName(), QLatin1String((row).objectName))

// Value labels show data, not a caption: the Global settings' values, the input number,
// the port number.
bool isValueLabel(const QString& name) {
  return name.endsWith(QStringLiteral("Setting")) || name == QStringLiteral("lblNumber") ||
         name == QStringLiteral("lblCommPort");
}

// The captions a user reads on a screen: its title, buttons, option buttons, check boxes,
// frames, caption labels and menus, without their "&" markers.
QStringList captionsOf(QWidget* screen) {
  QStringList captions;
  const auto add = [&captions](QString text) {
    text.remove(QLatin1Char('&'));
    text = text.simplified();
    if (!text.isEmpty() && !captions.contains(text)) captions << text;
  };
  add(screen->windowTitle());
  for (const QAbstractButton* button : screen->findChildren<QAbstractButton*>()) add(button->text());
  for (const QGroupBox* frame : screen->findChildren<QGroupBox*>()) add(frame->title());
  for (const QLabel* label : screen->findChildren<QLabel*>())
    if (!isValueLabel(label->objectName())) add(label->text());
  for (const QMenuBar* bar : screen->findChildren<QMenuBar*>()) {
    for (const QAction* menu : bar->actions()) {
      add(menu->text());
      if (menu->menu())
        for (const QAction* item : menu->menu()->actions())
          if (!item->isSeparator()) add(item->text());
    }
  }
  return captions;
}

// Whether the text names the caption as a whole phrase ("Exit", not "Exiting"), however
// the lines of the text were broken.
bool names(const QString& text, const QString& caption) {
  QString pattern = QRegularExpression::escape(caption);
  pattern.replace(QStringLiteral("\\ "), QStringLiteral("\\s+"));
  const QRegularExpression phrase(QStringLiteral("(?<![A-Za-z0-9])") + pattern + QStringLiteral("(?![A-Za-z0-9])"));
  return phrase.match(text).hasMatch();
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY2(!programFolder().empty(), "TARVEK_PROGRAM_DIR is not set"); }

  // -- The topic table on the real viewer -----------------------------------------------

  void topicTable_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::newRow("CommPort") << "CommPort"
                              << "helpcommport.txt"
                              << "Communications Port Help";
    QTest::newRow("Global") << "Global"
                            << "helpglobal.txt"
                            << "Global Settings Help";
    QTest::newRow("InputSpecs") << "InputSpecs"
                                << "helpinputspecs.txt"
                                << "Input Specs Help";
    QTest::newRow("Main") << "Main"
                          << "helpmain.txt"
                          << "Main Help";
    QTest::newRow("NotFound") << "NotFound"
                              << "helpnotfound.txt"
                              << "Comm Port Not Found Help";
    QTest::newRow("Numbers") << "Numbers"
                             << "helpnumbers.txt"
                             << "Phone Numbers Help";
    QTest::newRow("Select") << "Select"
                            << "helpselect.txt"
                            << "Programming Selection Help";
  }

  void topicTable() {
    QFETCH(QString, key);
    QFETCH(QString, file);
    QFETCH(QString, caption);
    QCOMPARE(kHelpTopics.size(), 7u);
    const HelpTopic* topic = findHelpTopic(key.toStdString());
    QVERIFY(topic);
    QCOMPARE(qstr(topic->file), file);
    QCOMPARE(qstr(topic->caption), caption);

    // Every topic's file holds a different text, so a viewer that read the wrong one shows.
    TempDir folder;
    for (const HelpTopic& each : kHelpTopics)
      writeFile(folder / std::string(each.file), "Help for " + std::string(each.key) + "\n");
    HelpViewer viewer(folder.path(), key.toStdString());
    QCOMPARE(viewer.windowTitle(), caption);
    QCOMPARE(viewer.text(), QStringLiteral("Help for %1\n").arg(key));
  }

  void unknownTopicShowsAnEmptyViewer_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("unknown") << "Editor";
    QTest::newRow("empty") << "";
    QTest::newRow("wrong case") << "main";
    QTest::newRow("file name") << "helpmain.txt";
  }

  void unknownTopicShowsAnEmptyViewer() {
    QFETCH(QString, key);
    TempDir folder;
    for (const HelpTopic& each : kHelpTopics) writeFile(folder / std::string(each.file), "some help\n");
    HelpViewer viewer(folder.path(), key.toStdString());
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Tarvek Help"));
    QCOMPARE(viewer.text(), QString());
  }

  void missingHelpFileShowsAnEmptyViewerAndTheProgramGoesOn_data() {
    QTest::addColumn<QString>("inItsPlace");
    QTest::addColumn<QString>("refusal");  // empty: no message
    QTest::newRow("file absent") << "nothing"
                                 << "";
    QTest::newRow("a folder in its place") << "folder"
                                           << "";
    // Neither may hold the program up or fill its memory; the user is told why.
    QTest::newRow("a named pipe in its place") << "pipe"
                                               << "Is a named pipe, not a regular file";
    QTest::newRow("a link to /dev/zero in its place") << "zero"
                                                      << "Is a character device, not a regular file";
  }

  void missingHelpFileShowsAnEmptyViewerAndTheProgramGoesOn() {
    QFETCH(QString, inItsPlace);
    QFETCH(QString, refusal);
    AppHarness h;
    putHelpFilesInto(h.folder.path());
    const fs::path file = h.folder / "helpselect.txt";
    fs::remove(file);
    if (inItsPlace == QStringLiteral("folder")) fs::create_directory(file);
    if (inItsPlace == QStringLiteral("pipe")) QCOMPARE(::mkfifo(file.c_str(), 0600), 0);
    if (inItsPlace == QStringLiteral("zero")) fs::create_symlink("/dev/zero", file);
    SelectScreen* select = h.startAtSelect();
    trigger(select, "mnuHelpInstructions");
    HelpViewer* viewer = h.app->help().viewer();
    QVERIFY(shown(viewer));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Tarvek Help"));
    QCOMPARE(viewer->text(), QString());
    if (refusal.isEmpty()) {
      QVERIFY(h.prompts.shown.empty());
    } else {
      QCOMPARE(h.prompts.texts(), std::vector<std::string>{"The help file " + file.string() + " cannot be shown."});
      QCOMPARE(qstr(h.prompts.shown[0].detail), refusal);
    }
    QCOMPARE(qstr(h.app->session().helpTopic), QStringLiteral("Select"));
    // The program goes on normally.
    QVERIFY(shown(select) && select->isEnabled());
    click(select, "cmdNew");
    MainScreen* main = h.app->mainScreen();
    QVERIFY(shown(main));
    QCOMPARE(h.app->document().record(), newProgramming());
    QVERIFY(!h.ended);
  }

  // An installed program reads the help texts where the install put them; its program
  // folder, which gets setup.txt, holds none; its settings files are in the documents
  // folder, where the files of an earlier version's Saved folder are moved, once, saying so.
  void anInstalledProgramUsesItsFolders() {
    TempDir programDir;
    TempDir helpDir;
    TempDir documents;
    putHelpFilesInto(helpDir.path());
    fs::create_directory(programDir / "Saved");
    writeFile(programDir / "Saved" / "Site A.txt", "a");
    const ProgramFolders folders{programDir.path(), documents / "Tarvek", helpDir.path(), programDir / "Saved"};
    ScriptedPrompts prompts;
    ScriptedPort port;
    Application app(folders, prompts, port);
    app.startUp();
    QCOMPARE(prompts.shown.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(prompts.shown[0].text).contains(QString::fromStdString(folders.saved.string())));
    QCOMPARE(readFile(folders.saved / "Site A.txt"), std::string("a"));
    click(app.selectScreen(), "cmdExisting");
    QCOMPARE(prompts.fileRequests.at(0).folder, folders.saved.string());
    QCOMPARE(prompts.shown.size(), std::size_t(1));
    app.startUp();
    QCOMPARE(prompts.shown.size(), std::size_t(1));

    trigger(app.selectScreen(), "mnuHelpInstructions");
    HelpViewer* viewer = app.help().viewer();
    QVERIFY(shown(viewer));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Programming Selection Help"));
    const QString expected = fromWindows1252(bytesOf(helpDir / "helpselect.txt").toStdString());
    QVERIFY(!expected.isEmpty());
    QCOMPARE(viewer->text(), expected);
    QVERIFY(fs::is_regular_file(programDir / "setup.txt"));
    QVERIFY(!fs::exists(helpDir / "setup.txt"));
  }

  // -- Instructions and About on every screen ---------------------------------------------

  void instructionsShowTheScreensTopic_data() { addScreenRows(); }

  void instructionsShowTheScreensTopic() {
    QFETCH(int, row);
    const ScreenRow& screenRow = screenRows()[static_cast<std::size_t>(row)];
    AppHarness h;
    putHelpFilesInto(h.folder.path());
    OPEN_SCREEN(h, screenRow, screen);
    const HelpTopic* topic = findHelpTopic(screenRow.topic);
    QVERIFY(topic);
    const QString stateBefore = stateOf(*h.app);
    const Programming recordBefore = h.app->document().record();
    const bool enabledBefore = screen->isEnabled();

    trigger(screen, "mnuHelpInstructions");
    HelpViewer* viewer = h.app->help().viewer();
    QVERIFY(shown(viewer));
    QCOMPARE(viewer->windowTitle(), qstr(topic->caption));
    QCOMPARE(viewer->text(), fromWindows1252(bytesOf(h.folder / std::string(topic->file)).toStdString()));
    QCOMPARE(qstr(h.app->session().helpTopic), QLatin1String(screenRow.topic));

    trigger(screen, "mnuHelpAbout");
    QVERIFY(shown(h.app->help().about()));

    // Neither blocks the screen nor changes anything else.
    QVERIFY(shown(screen));
    QCOMPARE(screen->isEnabled(), enabledBefore);
    QCOMPARE(stateOf(*h.app), stateBefore);
    QCOMPARE(qstr(h.app->session().helpTopic), QLatin1String(screenRow.topic));
    QCOMPARE(h.app->document().record(), recordBefore);
    QVERIFY(h.prompts.shown.empty());
    QVERIFY(!h.ended);
  }

  void anOpenViewerKeepsItsFirstTopic() {
    AppHarness h;
    putHelpFilesInto(h.folder.path());
    MainScreen* main = h.startWithNew();
    trigger(main, "mnuHelpInstructions");
    QPointer<HelpViewer> first = h.app->help().viewer();
    QVERIFY(shown(first));
    const QString mainText = first->text();
    QVERIFY(!mainText.isEmpty());

    // The port-not-found screen's Instructions only bring the open viewer to the front,
    // where the user left it.
    first->move(first->pos() + QPoint(41, 23));
    const QPoint leftAt = first->pos();
    noTarvekAttached(h);
    click(main, "cmdConnect");
    NotFoundScreen* notFound = h.app->notFoundScreen();
    QVERIFY(shown(notFound));
    trigger(notFound, "mnuHelpInstructions");
    QCOMPARE(h.app->help().viewer(), first.data());
    QCOMPARE(topLevelCount("frmHelpFile"), 1);
    QCOMPARE(first->windowTitle(), QStringLiteral("Main Help"));
    QCOMPARE(first->text(), mainText);
    QCOMPARE(first->pos(), leftAt);
    QCOMPARE(qstr(h.app->session().helpTopic), QStringLiteral("NotFound"));
    QCOMPARE(callerOf(h.app->session()), QStringLiteral("Main"));

    // File > Close ends the viewer; the next Instructions open one on their own topic.
    trigger(first, "mnuFileClose");
    QVERIFY(!first->isVisible());
    QTRY_VERIFY(!first);
    trigger(notFound, "mnuHelpInstructions");
    HelpViewer* second = h.app->help().viewer();
    QVERIFY(shown(second));
    QCOMPARE(second->windowTitle(), QStringLiteral("Comm Port Not Found Help"));
    QCOMPARE(second->text(), fromWindows1252(bytesOf(h.folder / "helpnotfound.txt").toStdString()));
  }

  void instructionsRightAfterCloseOpenAViewerThatStays() {
    AppHarness h;
    putHelpFilesInto(h.folder.path());
    MainScreen* main = h.startWithNew();
    trigger(main, "mnuHelpInstructions");
    HelpViewer* first = h.app->help().viewer();
    trigger(first, "mnuFileClose");
    // Before the closed viewer is gone, the user asks for help again.
    trigger(main, "mnuHelpInstructions");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown(h.app->help().viewer()));
    QCOMPARE(h.app->help().viewer()->windowTitle(), QStringLiteral("Main Help"));

    trigger(main, "mnuHelpAbout");
    h.app->help().about()->close();
    trigger(main, "mnuHelpAbout");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown(h.app->help().about()));
  }

  void notFoundInstructionsThenRetryGoBackToTheCaller_data() {
    QTest::addColumn<bool>("fromMain");
    QTest::addColumn<QString>("button");
    QTest::newRow("selection, Retry") << false << "cmdRetry";
    QTest::newRow("selection, Cancel") << false << "cmdCancel";
    QTest::newRow("Main, Retry") << true << "cmdRetry";
    QTest::newRow("Main, Cancel") << true << "cmdCancel";
  }

  void notFoundInstructionsThenRetryGoBackToTheCaller() {
    QFETCH(bool, fromMain);
    QFETCH(QString, button);
    AppHarness h;
    putHelpFilesInto(h.folder.path());
    Screen* caller = fromMain ? static_cast<Screen*>(h.startWithNew()) : h.startAtSelect();
    noTarvekAttached(h);
    click(caller, "cmdConnect");
    NotFoundScreen* notFound = h.app->notFoundScreen();
    QVERIFY(shown(notFound));
    QVERIFY(!caller->isEnabled());
    const QString callerName = fromMain ? QStringLiteral("Main") : QStringLiteral("Select");
    QCOMPARE(callerOf(h.app->session()), callerName);

    trigger(notFound, "mnuHelpInstructions");
    trigger(notFound, "mnuHelpAbout");
    QCOMPARE(h.app->help().viewer()->windowTitle(), QStringLiteral("Comm Port Not Found Help"));
    QCOMPARE(qstr(h.app->session().helpTopic), QStringLiteral("NotFound"));
    QCOMPARE(callerOf(h.app->session()), callerName);

    click(notFound, button.toLatin1().constData());
    QTRY_VERIFY(!h.app->notFoundScreen());
    QVERIFY(shown(caller) && caller->isEnabled());
    if (fromMain)
      QVERIFY(!shown(h.app->selectScreen()));
    else
      QVERIFY(!shown(h.app->mainScreen()));
    QCOMPARE(callerOf(h.app->session()), callerName);
    // The help stays open beside the screen; nothing greeted the Tarvek again.
    QVERIFY(shown(h.app->help().viewer()));
    QCOMPARE(h.port.exchanges.size(), 1u);
  }

  // -- About ------------------------------------------------------------------------------

  void aboutShowsNameNoticeAndVersion() {
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    trigger(select, "mnuHelpAbout");
    QPointer<AboutScreen> about = h.app->help().about();
    QVERIFY(shown(about));
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    auto* name = child<QLabel>(about, "lblName");
    auto* notice = child<QLabel>(about, "lblNotice");
    auto* version = child<QLabel>(about, "lblVersion");
    QCOMPARE(name->text(), QStringLiteral("Tarvek Programmer"));
    QCOMPARE(notice->text(), noticeText());
    QVERIFY(notice->text().contains(QStringLiteral("Tarvek PC Programmer")));
    QCOMPARE(version->text(), QStringLiteral("Version 1.0.0"));
    // Top to bottom, centred, and wide and tall enough for their text.
    QVERIFY(name->y() + name->height() <= notice->y());
    QVERIFY(notice->y() + notice->height() <= version->y());
    for (const QLabel* label : {name, notice, version}) {
      QVERIFY(label->alignment() & Qt::AlignHCenter);
      QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
      QVERIFY2(label->fontMetrics().height() <= label->height(), qPrintable(label->text()));
      QVERIFY(label->geometry().right() < about->client()->width());
      QVERIFY(label->geometry().bottom() < about->client()->height());
    }
    QVERIFY(about->findChildren<QAbstractButton*>().isEmpty());
    savePicture(about, QStringLiteral("frmAbout"));

    // One About screen, however often it is asked for; it stays where the user put it.
    about->move(about->pos() + QPoint(41, 23));
    const QPoint leftAt = about->pos();
    click(select, "cmdNew");
    trigger(h.app->mainScreen(), "mnuHelpAbout");
    QCOMPARE(h.app->help().about(), about.data());
    QCOMPARE(topLevelCount("frmAbout"), 1);
    QCOMPARE(about->pos(), leftAt);
    about->close();
    QTRY_VERIFY(!about);
  }

  // -- The viewer shows a file as it is ---------------------------------------------------

  void viewerShowsTheFileExactly_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("shown");
    QByteArray text("First line\n\n  indented, with trailing blanks   \n\tand a tab\n");
    text += "caf\xe9 and \xb0 in Latin-1 as in Windows-1252\n";
    for (int line = 1; line <= 200; ++line) text += "line " + QByteArray::number(line) + "\n";
    text += "last line without a line end";
    QTest::newRow("line feeds") << text << QString::fromLatin1(text);
    QByteArray windows = text;
    windows.replace("\n", "\r\n");
    QTest::newRow("Windows line ends") << windows << QString::fromLatin1(text);
    QTest::newRow("Windows-1252") << QByteArray("\x93Quoted\x94 \x96 \x80 5\n")
                                  << QStringLiteral("\u201cQuoted\u201d \u2013 \u20ac 5\n");
    QTest::newRow("empty file") << QByteArray() << QString();
    const QByteArray huge = (QByteArray(63, 'h') + '\n').repeated(int(HelpViewer::kReadLimit / 64));
    QTest::newRow("over a MiB: its first MiB") << huge + "past the limit" << QString::fromLatin1(huge);
  }

  void viewerShowsTheFileExactly() {
    QFETCH(QByteArray, content);
    QFETCH(QString, shown);
    TempDir folder;
    writeFile(folder / "helpmain.txt", content.toStdString());
    HelpViewer viewer(folder.path(), "Main");
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Main Help"));
    QCOMPARE(viewer.text(), shown);
    QCOMPARE(textBox(&viewer)->toPlainText(), shown);

    // Read-only: typing changes nothing.
    viewer.showCentred();
    QPlainTextEdit* box = textBox(&viewer);
    QVERIFY(box->isReadOnly());
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("typed"));
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(viewer.text(), shown);
    QCOMPARE(QByteArray::fromStdString(readFile(folder / "helpmain.txt")), content);
  }

  // -- The help files the build lays out --------------------------------------------------

  void helpFileIsBesideTheProgram_data() {
    QTest::addColumn<QString>("key");
    for (const HelpTopic& topic : kHelpTopics) QTest::newRow(topic.file.data()) << qstr(topic.key);
  }

  void helpFileIsBesideTheProgram() {
    QFETCH(QString, key);
    const HelpTopic* topic = findHelpTopic(key.toStdString());
    QVERIFY(topic);
    const fs::path installed = programFolder() / std::string(topic->file);
    QVERIFY2(fs::is_regular_file(installed), installed.c_str());
    const QByteArray text = bytesOf(installed);
    QVERIFY(text.size() > 500);
    // The copy is the current text, not one left from an earlier build.
    if (!sourceFolder().empty())
      QVERIFY2(text == bytesOf(sourceFolder() / "help" / std::string(topic->file)),
               "the program folder holds an old copy of the help file");

    // 8-bit text with short lines, readable in the viewer without a line being broken.
    QVERIFY(text.endsWith('\n'));
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
      const QByteArray& line = lines[i];
      const QByteArray where = topic->file.data() + QByteArray(":") + QByteArray::number(i + 1);
      QVERIFY2(line.size() <= 72, where.constData());
      // No control characters, nor the bytes Windows-1252 leaves undefined (shown as such).
      for (const QChar shown : fromWindows1252(line.toStdString()))
        QVERIFY2(shown.category() != QChar::Other_Control, where.constData());
      for (qsizetype c = 0; c < line.size(); ++c) {
        const auto byte = static_cast<unsigned char>(line[c]);
        // A UTF-8 sequence: the file must be saved as Windows-1252.
        if (byte >= 0xc2 && byte <= 0xf4 && c + 1 < line.size()) {
          const auto next = static_cast<unsigned char>(line[c + 1]);
          QVERIFY2(next < 0x80 || next > 0xbf, where.constData());
        }
      }
    }

    // The program finds it in its own folder, shows it whole, and no line wraps.
    HelpViewer viewer(programFolder(), topic->key.data());
    QCOMPARE(viewer.windowTitle(), qstr(topic->caption));
    QCOMPARE(viewer.text(), fromWindows1252(text.toStdString()));
    viewer.showCentred();
    QPlainTextEdit* box = textBox(&viewer);
    const int room = box->viewport()->width() - 2 * static_cast<int>(box->document()->documentMargin());
    for (const QByteArray& line : lines)
      QVERIFY2(box->fontMetrics().horizontalAdvance(fromWindows1252(line.toStdString())) < room, line.constData());
    if (topic->key == "Main") savePicture(&viewer, QStringLiteral("frmHelpFile"));
  }

  void eachScreensHelpNamesItsControls_data() { addScreenRows(); }

  void eachScreensHelpNamesItsControls() {
    QFETCH(int, row);
    const ScreenRow& screenRow = screenRows()[static_cast<std::size_t>(row)];
    const HelpTopic* topic = findHelpTopic(screenRow.topic);
    QVERIFY(topic);
    const fs::path file = programFolder() / std::string(topic->file);
    const QString help = fromWindows1252(bytesOf(file).toStdString());
    QVERIFY2(!help.isEmpty(), file.c_str());

    AppHarness h;
    OPEN_SCREEN(h, screenRow, screen);
    const QStringList captions = captionsOf(screen);
    // The screen's own title, its Help menu and at least one control of its own.
    QVERIFY2(captions.size() >= 5, qPrintable(captions.join(QStringLiteral(" | "))));
    QStringList missing;
    for (const QString& caption : captions)
      if (!names(help, caption)) missing << caption;
    QVERIFY2(
        missing.isEmpty(),
        qPrintable(QStringLiteral("%1 does not name: %2").arg(qstr(topic->file), missing.join(QStringLiteral(" | ")))));
  }

  void captionMatchingIsByWholePhrase() {
    const QString help = QStringLiteral("Press \"Exit\" to leave.\nThe \"Call Progress\n  Detection\" frame. Exiting");
    QVERIFY(names(help, QStringLiteral("Exit")));
    QVERIFY(names(help, QStringLiteral("Call Progress Detection")));
    QVERIFY(!names(help, QStringLiteral("Exi")));
    QVERIFY(!names(help, QStringLiteral("Progress Detect")));
    QVERIFY(!names(help, QStringLiteral("Normal (120ms)")));
    QVERIFY(names(QStringLiteral("choose \"Normal (120ms)\"."), QStringLiteral("Normal (120ms)")));
  }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
