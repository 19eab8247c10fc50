// The program's shell on the real screens: start-up, the ways between the screens, the
// Help menus and the viewer, the real message box and the termination signals.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/help_topics.h"
#include "editor_steps.h"
#include "gui/about_screen.h"
#include "gui/help_desk.h"
#include "gui/help_viewer.h"
#include "gui/qt_prompts.h"
#include "port/termination_signals.h"
#include "support/sample_records.h"

extern char** environ;

using namespace tarvek;
using namespace tarvek::test;
namespace fs = std::filesystem;

namespace {

fs::path programFolder() { return qEnvironmentVariable("TARVEK_PROGRAM_DIR").toStdString(); }

void silent(ScriptedPort& port) {
  port.responder = [](const std::string&) { return std::nullopt; };
}

// A unit that answers every read: its Global settings differ from a new programming's.
void answersEveryRead(ScriptedPort& port) {
  port.responder = [](const std::string& sent) -> std::optional<std::string> {
    if (sent == "MR") return "21234566543213121105";
    if (sent.size() == 3 && sent[0] == 'I') return std::string("000201\0\0\0\0", 10);
    if (sent.size() == 4 && sent[0] == 'N') return std::string(32, ' ') + "0";
    return "OK";
  };
}

std::vector<std::string> sent(const ScriptedPort& port) {
  std::vector<std::string> commands;
  for (const auto& exchange : port.exchanges) commands.push_back(exchange.sent);
  return commands;
}

// Clicks the named button of whichever screen shows it and takes input; "Enter:" before the name focuses
// the button and presses Enter instead.
void press(QString name) {
  const bool enter = name.startsWith(QStringLiteral("Enter:"));
  name.remove(QStringLiteral("Enter:"));
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* button = window->isVisible() && window->isEnabled() ? window->findChild<QPushButton*>(name) : nullptr;
    if (!button) continue;
    if (!enter) return click(window, qPrintable(name));
    button->setFocus();
    return QTest::keyClick(button, Qt::Key_Return);
  }
  QFAIL(qPrintable(name + " is on no screen shown"));
}

QWidget* shownWindow(const char* name) {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->objectName() == QLatin1String(name)) return window;
  return nullptr;
}

// Every screen with a Help menu, the buttons that bring it up from the selection screen,
// and its help topic.
struct ScreenRow {
  const char* name;
  const char* path;
  const char* topic;
  const char* caption;  // of the help viewer
};

const ScreenRow kScreens[] = {
    {"frmSelect", "", "Select", "Programming Selection Help"},
    {"frmMain", "cmdNew", "Main", "Main Help"},
    {"frmNotFound", "cmdConnect", "NotFound", "Comm Port Not Found Help"},
    {"frmCommPort", "cmdConnect cmdChange", "CommPort", "Communications Port Help"},
    {"frmGlobal", "cmdNew cmdEditGlobal", "Global", "Global Settings Help"},
    {"frmInputSpecs", "cmdNew cmdEditInputSpecs", "InputSpecs", "Input Specs Help"},
    {"frmNumbers", "cmdNew cmdEditPhoneNumbers", "Numbers", "Phone Numbers Help"},
};

// The captions a user reads on a screen, without their "&" markers: its title, buttons,
// frames, caption labels (not those showing values) and menus.
QStringList captionsOf(QWidget* screen) {
  QStringList texts{screen->windowTitle()};
  for (const auto* button : screen->findChildren<QAbstractButton*>()) texts << button->text();
  for (const auto* frame : screen->findChildren<QGroupBox*>()) texts << frame->title();
  for (const auto* label : screen->findChildren<QLabel*>())
    if (!label->objectName().contains(QRegularExpression(QStringLiteral("Setting$|^lblNumber$|^lblCommPort$"))))
      texts << label->text();
  for (const QAction* menu : screen->findChild<QMenuBar*>()->actions()) {
    texts << menu->text();
    for (const QAction* item : menu->menu()->actions()) texts << item->text();
  }
  texts.replaceInStrings(QStringLiteral("&"), QString());
  texts.removeAll(QString());
  return texts;
}

// Whether the help names the caption as a whole phrase, however its lines were broken.
bool names(const QString& help, const QString& caption) {
  QString phrase = QRegularExpression::escape(caption.simplified());
  phrase.replace(QStringLiteral("\\ "), QStringLiteral("\\s+"));
  return help.contains(QRegularExpression(QStringLiteral("(?<![A-Za-z0-9])%1(?![A-Za-z0-9])").arg(phrase)));
}

// Whether the process has a handler of its own for the signal.
bool catches(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
  return false;
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpShowsTheSelectionAfterTheSignOnWithThePortOfSetup() {
    AppHarness h;
    writeFile(h.folder / "setup.txt", "CommPort=12\n");
    silent(h.port);
    QElapsedTimer clock;
    clock.start();
    h.app->start();
    QVERIFY(shown(h.app->signOnScreen()));
    QCOMPARE(h.app->signOnScreen()->timer()->timerType(), Qt::PreciseTimer);
    QTRY_VERIFY_WITH_TIMEOUT(shown(h.app->selectScreen()), 4000);
    QVERIFY2(clock.elapsed() >= 2000, QByteArray::number(clock.elapsed()).constData());
    QTRY_VERIFY(!h.app->signOnScreen());
    click(h.app->selectScreen(), "cmdConnect");
    QCOMPARE(h.port.calls.front(), std::string("pin 12"));
  }

  void selectionLeadsToTheMainScreenShowingTheDocument_data() {
    QTest::addColumn<QString>("button");
    for (const char* button : {"cmdNew", "cmdExisting", "cmdConnect"}) QTest::newRow(button) << button;
  }

  void selectionLeadsToTheMainScreenShowingTheDocument() {
    QFETCH(QString, button);
    AppHarness h;
    answersEveryRead(h.port);
    SelectScreen* select = h.startAtSelect();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    fs::copy_file(filesDataDir() / "golden_alarm_dialer.txt", file);
    h.prompts.fileNames.push_back(file.string());
    click(select, qPrintable(button));
    QTRY_VERIFY(!h.app->selectScreen());
    verifyMainShowsTheDocument(h);
    const Programming& record = h.app->document().record();
    // Online after Connect: Send offered instead of Connect.
    QCOMPARE(child<QPushButton>(h.app->mainScreen(), "cmdSend")->isEnabled(), button == "cmdConnect");
    if (button == "cmdNew") QCOMPARE(record, newProgramming());
    if (button == "cmdConnect") QCOMPARE(record.global.securityCode, std::string("123456"));
    if (button == "cmdExisting") {
      QCOMPARE(record, siteAAsRead());
      QCOMPARE(h.prompts.fileRequests.at(0).folder, (h.folder / "Saved").string());
      // Loaded as it stands, with a word on the value Send would refuse.
      QVERIFY(h.prompts.lastText().starts_with("The file " + file.string() + " was opened, but some of its values"));
      QCOMPARE(h.prompts.shown.back().detail, std::string("Input 2, Qualifier Timer: \"Hrs 18 Min 59 Sec 59\""));
    }
    h.app->mainScreen()->close();  // as Exit: signs off, then the program ends
    QVERIFY(h.ended);
    QCOMPARE(std::ranges::count(sent(h.port), std::string("BY")), 1);
  }

  // Connect finding no Tarvek: the port-not-found screen before the disabled caller, its
  // buttons, the Comm Port screen's, and Exit of the screen given back.
  void notFoundAndCommPort_data() {
    QTest::addColumn<bool>("fromMain");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<int>("before");  // the port in setup.txt; 17 has no Comm Port entry: Comm 1 stands in
    QTest::addColumn<int>("port");    // in setup.txt afterwards; 0: it cannot be written
    QTest::newRow("selection: Cancel, Exit") << false << "cmdCancel cmdExit" << 17 << 17;
    QTest::newRow("selection: Enter on Retry") << false << "Enter:cmdRetry" << 17 << 17;
    QTest::newRow("Main: Retry, Exit signs off") << true << "cmdRetry cmdExit" << 17 << 17;
    QTest::newRow("Main: Change, Apply") << true << "cmdChange cmdApply" << 16 << 4;
    QTest::newRow("Change, Apply: setup.txt cannot be written") << false << "cmdChange cmdApply" << 17 << 0;
    QTest::newRow("Change, Exit") << false << "cmdChange cmdExit" << 17 << 17;
  }

  void notFoundAndCommPort() {
    QFETCH(bool, fromMain);
    QFETCH(QString, buttons);
    QFETCH(int, before);
    QFETCH(int, port);
    AppHarness h;
    const fs::path setupFile = h.folder / "setup.txt";
    writeFile(setupFile, "CommPort=" + std::to_string(before) + "\n");
    silent(h.port);
    Screen* caller = fromMain ? static_cast<Screen*>(h.startWithNew()) : h.startAtSelect();
    if (!port) {  // a folder in its place: not even root writes it
      fs::remove(setupFile);
      fs::create_directory(setupFile);
    }
    click(caller, "cmdConnect");
    QVERIFY(shown(h.app->notFoundScreen()) && !caller->isEnabled());
    QCOMPARE(labelText(h.app->notFoundScreen(), "lblCommPort"), QString::number(before));
    for (const QString& button : buttons.split(QLatin1Char(' '))) {
      if (button == "cmdApply") {
        auto* ports = child<QComboBox>(h.app->commPortScreen(), "cmbPort");
        QCOMPARE(ports->count(), 16);
        QCOMPARE(ports->currentText(), QStringLiteral("Comm %1").arg(before <= 16 ? before : 1));
        ports->setCurrentIndex(3);
      }
      press(button);
      if (QTest::currentTestFailed() || h.ended) break;
      if (button == "cmdChange") {
        QTRY_VERIFY(!h.app->notFoundScreen());
        QVERIFY(shown(h.app->commPortScreen()) && !caller->isEnabled());
        continue;
      }
      QTRY_VERIFY(!h.app->notFoundScreen() && !h.app->commPortScreen());
      QVERIFY(shown(caller) && caller->isEnabled());
      if (button == "cmdApply") QCOMPARE(focusName(caller), QStringLiteral("cmdConnect"));
    }
    QCOMPARE(h.ended, buttons.endsWith("cmdExit"));
    // Neither button greets the Tarvek again; the Main screen's Exit signs off.
    const bool signedOff = fromMain && h.ended;
    QCOMPARE(sent(h.port), (signedOff ? std::vector<std::string>{"HI", "BY"} : std::vector<std::string>{"HI"}));
    if (port) QCOMPARE(readFile(setupFile), "CommPort=" + std::to_string(port) + "\n");
    const std::string failure =
        "The port setting could not be saved in " + setupFile.string() + ". Comm 4 is used until the program ends.";
    QCOMPARE(h.prompts.texts(), port ? std::vector<std::string>{} : std::vector<std::string>{failure});
    if (!buttons.endsWith("cmdApply")) return;
    h.port.calls.clear();
    click(caller, "cmdConnect");
    QCOMPARE(h.port.calls.front(), std::string("pin 4"));
  }

  // Each screen's Instructions show its topic's file, whose text names every caption of
  // the screen; its About shows the About screen; neither changes the screen.
  void eachScreensHelp_data() { addRows(kScreens); }

  void eachScreensHelp() {
    QFETCH(int, row);
    const ScreenRow& s = kScreens[row];
    AppHarness h;
    const std::string file(findHelpTopic(s.topic)->file);
    fs::copy_file(programFolder() / file, h.folder / file);
    const QString help = fromWindows1252(readFile(h.folder / file));
    silent(h.port);
    h.startAtSelect();
    for (const QString& button : QString::fromLatin1(s.path).split(QLatin1Char(' '), Qt::SkipEmptyParts)) press(button);
    QWidget* screen = shownWindow(s.name);
    QVERIFY(screen);
    trigger(screen, "mnuHelpInstructions");
    HelpViewer* viewer = h.app->help().viewer();
    QVERIFY(shown(viewer));
    QCOMPARE(viewer->windowTitle(), QLatin1String(s.caption));
    QCOMPARE(viewer->text(), help);
    for (const QString& line : help.split(QLatin1Char('\n'))) QVERIFY2(line.size() <= 72, qPrintable(line));
    trigger(screen, "mnuHelpInstructions");  // brings the open viewer to the front
    QCOMPARE(h.app->help().viewer(), viewer);
    // Asked for again before the closed window is gone, a window comes that stays.
    trigger(viewer, "mnuFileClose");
    trigger(screen, "mnuHelpInstructions");
    trigger(screen, "mnuHelpAbout");
    h.app->help().about()->close();
    trigger(screen, "mnuHelpAbout");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown(h.app->help().viewer()) && shown(h.app->help().about()));
    QCOMPARE(labelText(h.app->help().about(), "lblName"), QStringLiteral("Tarvek Programmer"));
    QCOMPARE(labelText(h.app->help().about(), "lblVersion"), QStringLiteral("Version 1.0.0"));
    QVERIFY(shown(screen) && h.prompts.shown.empty());
    QStringList unnamed;
    for (const QString& caption : captionsOf(screen))
      if (!names(help, caption)) unnamed << caption;
    QVERIFY2(unnamed.isEmpty(), qPrintable(QString::fromStdString(file) + " does not name: " + unnamed.join(" | ")));
  }

  void theViewerShowsTheFileAsItIs_data() {
    QTest::addColumn<QByteArray>("content");  // or "missing", "fifo", "zero": what stands in the file's place
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");  // the reason given; empty: no message
    const QByteArray huge = (QByteArray(63, 'h') + '\n').repeated(int(HelpViewer::kReadLimit / 64));
    QTest::newRow("Windows-1252, CR LF") << QByteArray("\x93Quoted\x94 \x96 \x80\r\n\t end ")
                                         << QStringLiteral("\u201cQuoted\u201d \u2013 \u20ac\n\t end ") << "";
    QTest::newRow("over a MiB: its first") << huge + "past the limit" << QString::fromLatin1(huge) << "";
    QTest::newRow("missing") << QByteArray("missing") << ""
                             << "";
    QTest::newRow("named pipe") << QByteArray("fifo") << ""
                                << "Is a named pipe, not a regular file";
    QTest::newRow("link to /dev/zero") << QByteArray("zero") << ""
                                       << "Is a character device, not a regular file";
  }

  void theViewerShowsTheFileAsItIs() {
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    AppHarness h;
    const fs::path file = h.folder / "helpselect.txt";
    if (content == "fifo")
      QCOMPARE(::mkfifo(file.c_str(), 0600), 0);
    else if (content == "zero")
      fs::create_symlink("/dev/zero", file);
    else if (content != "missing")
      writeFile(file, content.toStdString());
    trigger(h.startAtSelect(), "mnuHelpInstructions");
    HelpViewer* viewer = h.app->help().viewer();
    QVERIFY(shown(viewer));
    QCOMPARE(viewer->text(), text);
    QCOMPARE(viewer->windowTitle(), QLatin1String(text.isEmpty() ? "Tarvek Help" : "Programming Selection Help"));
    QVERIFY(child<QPlainTextEdit>(viewer, "txtFileDisplay")->isReadOnly());
    const std::string message = "The help file " + file.string() + " cannot be shown.";
    QCOMPARE(h.prompts.texts(), refusal.isEmpty() ? std::vector<std::string>{} : std::vector<std::string>{message});
    if (!refusal.isEmpty()) QCOMPARE(QString::fromStdString(h.prompts.shown[0].detail), refusal);
    QVERIFY(h.app->selectScreen()->isEnabled());
  }

  // The real message box: each button of each set, Escape and the window's own close.
  void realPromptAnswersWhatItsButtonSays_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");
    const auto row = [](const char* set, Buttons buttons, const char* action, Answer answer) {
      const QByteArray name = QByteArray(set) + ": " + action;
      QTest::newRow(name.constData()) << int(buttons) << QString::fromLatin1(action) << int(answer);
    };
    row("Ok", Buttons::Ok, "Ok", Answer::Ok);
    row("Ok", Buttons::Ok, "Escape", Answer::Ok);
    row("Ok", Buttons::Ok, "close", Answer::Ok);
    row("OkCancel", Buttons::OkCancel, "Ok", Answer::Ok);
    row("OkCancel", Buttons::OkCancel, "Cancel", Answer::Cancel);
    row("OkCancel", Buttons::OkCancel, "Escape", Answer::Cancel);
    row("OkCancel", Buttons::OkCancel, "close", Answer::Cancel);
    row("YesNoCancel", Buttons::YesNoCancel, "Yes", Answer::Yes);
    row("YesNoCancel", Buttons::YesNoCancel, "No", Answer::No);
    row("YesNoCancel", Buttons::YesNoCancel, "Cancel", Answer::Cancel);
    row("YesNoCancel", Buttons::YesNoCancel, "Escape", Answer::Cancel);
    row("YesNoCancel", Buttons::YesNoCancel, "close", Answer::Cancel);
    row("SaveDiscardCancel", Buttons::SaveDiscardCancel, "Save", Answer::Save);
    row("SaveDiscardCancel", Buttons::SaveDiscardCancel, "Discard", Answer::Discard);
    row("SaveDiscardCancel", Buttons::SaveDiscardCancel, "Cancel", Answer::Cancel);
    row("SaveDiscardCancel", Buttons::SaveDiscardCancel, "Escape", Answer::Cancel);
    row("SaveDiscardCancel", Buttons::SaveDiscardCancel, "close", Answer::Cancel);
  }

  void realPromptAnswersWhatItsButtonSays() {
    QFETCH(int, buttons);
    QFETCH(QString, action);
    QFETCH(int, answer);
    const std::map<QString, QMessageBox::StandardButton> named{
        {"Ok", QMessageBox::Ok}, {"Cancel", QMessageBox::Cancel}, {"Yes", QMessageBox::Yes},
        {"No", QMessageBox::No}, {"Save", QMessageBox::Save},     {"Discard", QMessageBox::Discard}};
    // Answers the box once exec() shows it.
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      poll.stop();
      if (action == QLatin1String("Escape"))
        QTest::keyClick(box, Qt::Key_Escape);
      else if (action == QLatin1String("close"))
        box->close();
      else if (QAbstractButton* button = box->button(named.at(action)))
        QTest::mouseClick(button, Qt::LeftButton);
      else
        box->done(QMessageBox::NoButton);  // fails the row: the button is missing
    });
    poll.start();
    Message message;
    message.text = "Clear?";
    message.buttons = Buttons(buttons);
    QCOMPARE(int(QtPrompts().show(message)), answer);
  }

  // A termination signal while a real question is open closes it as its window would be
  // (Cancel): nothing is sent, the unit is signed off and the program ends.
  void aTerminationSignalClosesTheOpenQuestion() {
    TempDir folder;
    QtPrompts prompts;
    ScriptedPort port;
    answersEveryRead(port);
    Application app(folder.path(), prompts, port);
    TerminationSignals termination;
    connect(&termination, &TerminationSignals::received, &app, &Application::endOnSignal);
    QSignalSpy ended(&app, &Application::ended);
    app.startUp();
    click(app.selectScreen(), "cmdNew");
    click(app.mainScreen(), "cmdConnect");
    QTimer raiser;  // raises the signal once the question is open
    connect(&raiser, &QTimer::timeout, [&] {
      if (!qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) return;
      raiser.stop();
      ::raise(SIGTERM);
    });
    raiser.start(10);
    bool stuck = false;  // should the question stay open, the test closes it and fails
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) stuck = box->close();
    });
    watch.start(10000);
    click(app.mainScreen(), "cmdSend");
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(!stuck);
    QCOMPARE(sent(port), (std::vector<std::string>{"HI", "N1R0", "BY"}));
  }

  // The built program, ended by the system: the first SIGTERM or SIGINT ends it cleanly,
  // a second one that comes before it could act ends it at once.
  void terminationSignalsEndTheProgram_data() {
    QTest::addColumn<QList<int>>("sentSignals");
    QTest::newRow("SIGTERM") << QList<int>{SIGTERM};
    QTest::newRow("SIGINT") << QList<int>{SIGINT};
    QTest::newRow("a second signal") << QList<int>{SIGTERM, SIGINT};
  }

  void terminationSignalsEndTheProgram() {
    QFETCH(QList<int>, sentSignals);
    TempDir folder;  // the program folder of a copy of the program
    std::string program = (folder / "tarvek-programmer").string();
    fs::copy_file(programFolder() / "tarvek-programmer", program);
    char* argv[] = {program.data(), nullptr};
    pid_t pid = 0;
    QCOMPARE(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    bool done = false;
    const auto ended = [&] { return done = done || ::waitpid(pid, &status, WNOHANG) == pid; };
    const auto reap = qScopeGuard([&] {  // a failed test leaves no program running
      if (!ended()) ::kill(pid, SIGKILL), ::waitpid(pid, &status, 0);
    });
    QTRY_VERIFY_WITH_TIMEOUT(catches(pid, SIGTERM) && catches(pid, SIGINT), 20000);
    ::kill(pid, SIGSTOP);  // held still, so that every signal comes before it can act on the first
    for (const int signal : sentSignals) ::kill(pid, signal);
    ::kill(pid, SIGCONT);
    QTRY_VERIFY_WITH_TIMEOUT(ended(), 20000);
    if (sentSignals.size() == 1)
      QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));
    else
      QVERIFY2(WIFSIGNALED(status) && sentSignals.contains(WTERMSIG(status)), qPrintable(QString::number(status)));
  }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
