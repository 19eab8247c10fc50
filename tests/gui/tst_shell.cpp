// The program's shell on the real screens: start-up, the ways between the screens and out
// of the program, the Help menus and the viewer, the real message box and the
// termination signals.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/help_topics.h"
#include "gui/about_screen.h"
#include "gui/help_desk.h"
#include "gui/help_viewer.h"
#include "gui/qt_prompts.h"
#include "port/termination_signals.h"
#include "support/app_harness.h"
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

std::vector<std::string> sent(const ScriptedPort& port) {
  std::vector<std::string> commands;
  for (const auto& exchange : port.exchanges) commands.push_back(exchange.sent);
  return commands;
}

// Clicks the named button of whichever window shows it; "Enter:" before the name focuses
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

  // Connect finding no Tarvek: the port-not-found screen over the disabled caller, its
  // buttons and the Comm Port screen's, and the port the next Connect opens.
  void notFoundAndCommPort_data() {
    QTest::addColumn<bool>("fromMain");
    QTest::addColumn<QString>("buttons");  // "close": the Comm Port window's own close
    QTest::addColumn<int>("before");       // the port in setup.txt; 17 has no Comm Port entry: Comm 1 stands in
    QTest::addColumn<int>("port");         // in setup.txt afterwards; 0: it cannot be written
    QTest::newRow("Cancel") << false << "cmdCancel" << 17 << 17;
    QTest::newRow("Enter on Retry") << false << "Enter:cmdRetry" << 17 << 17;
    QTest::newRow("Main: Change, Apply") << true << "cmdChange cmdApply" << 16 << 4;
    QTest::newRow("Change, Apply: setup.txt cannot be written") << false << "cmdChange cmdApply" << 17 << 0;
    QTest::newRow("Main: Change, close the window") << true << "cmdChange close" << 2 << 2;
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
        QCOMPARE(ports->currentText(), QStringLiteral("Comm %1").arg(before <= 16 ? before : 1));
        ports->setCurrentIndex(3);
      }
      button == "close" ? void(h.app->commPortScreen()->close()) : press(button);
      if (button == "cmdChange") QVERIFY(shown(h.app->commPortScreen()) && !caller->isEnabled());
    }
    QTRY_VERIFY(!h.app->notFoundScreen() && !h.app->commPortScreen());
    QVERIFY(shown(caller) && caller->isEnabled() && !h.ended);
    if (buttons.contains("cmdChange")) QCOMPARE(caller->focusWidget()->objectName(), QStringLiteral("cmdConnect"));
    QCOMPARE(sent(h.port), std::vector<std::string>{"HI"});  // not greeted again
    if (port) QCOMPARE(readFile(setupFile), "CommPort=" + std::to_string(port) + "\n");
    const std::string failure =
        "The port setting could not be saved in " + setupFile.string() + ". Comm 4 is used until the program ends.";
    QCOMPARE(h.prompts.texts(), port ? std::vector<std::string>{} : std::vector<std::string>{failure});
    h.port.calls.clear();
    click(caller, "cmdConnect");
    QCOMPARE(h.port.calls.front(), "pin " + std::to_string(port ? port : 4));
  }

  // Each way out of a changed programming asks to save it; only Discard or a Save that
  // saved ends the program. Each answer once, the ways out in turn.
  void leavingAsksToSaveAChange_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");  // the Save As name; empty: the dialog cancelled
    QTest::addColumn<bool>("ends");
    const int save = int(Answer::Save), cancel = int(Answer::Cancel);
    QTest::newRow("Exit, unchanged") << "Exit" << false << cancel << QString() << true;
    QTest::newRow("close, Cancel") << "close" << true << cancel << QString() << false;
    QTest::newRow("Comm Port Exit, Discard") << "Comm Port Exit" << true << int(Answer::Discard) << QString() << true;
    QTest::newRow("Exit, Save") << "Exit" << true << save << "Saved/kept.txt" << true;
    QTest::newRow("close, Save As cancelled") << "close" << true << save << QString() << false;
    QTest::newRow("Comm Port Exit, Save fails") << "Comm Port Exit" << true << save << "no folder/kept.txt" << false;
  }

  void leavingAsksToSaveAChange() {
    QFETCH(QString, way);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, ends);
    AppHarness h;
    Screen* screen = h.startWithNew();
    if (way == "Comm Port Exit") {
      silent(h.port);
      click(screen, "cmdConnect");
      click(h.app->notFoundScreen(), "cmdChange");
      screen = h.app->commPortScreen();
    }
    h.port.responder = [](const std::string&) { return std::string("OK"); };
    if (edited) h.app->document().setRecord(siteA());
    h.prompts.answers = {Answer(answer)};
    if (!saveAs.isEmpty()) h.prompts.fileNames = {(h.folder / saveAs.toStdString()).string()};
    way == "close" ? void(screen->close()) : click(screen, "cmdExit");
    QCOMPARE(h.ended, ends);
    QCOMPARE(!h.prompts.shown.empty(), edited);
    if (edited) QVERIFY(h.prompts.shown.front().buttons == Buttons::SaveDiscardCancel);
    QCOMPARE(fs::exists(h.folder / "Saved/kept.txt"), ends && answer == int(Answer::Save));
    // Only the Main screen signs off, and only on its way out.
    QCOMPARE(std::ranges::count(sent(h.port), std::string("BY")), ends && way != "Comm Port Exit" ? 1 : 0);
    if (!ends) QVERIFY(shown(screen) && h.app->document().record() == siteA());
  }

  // Each screen's Instructions show its topic's file, which names every caption of the
  // screen; its About shows the version. Neither changes the screen.
  void eachScreensHelp() {
    const std::array<std::array<const char*, 3>, 7> screens{{
        // the screen, the buttons that bring it up from the selection, its help topic
        {"frmSelect", "", "Select"},
        {"frmMain", "cmdNew", "Main"},
        {"frmNotFound", "cmdConnect", "NotFound"},
        {"frmCommPort", "cmdConnect cmdChange", "CommPort"},
        {"frmGlobal", "cmdNew cmdEditGlobal", "Global"},
        {"frmInputSpecs", "cmdNew cmdEditInputSpecs", "InputSpecs"},
        {"frmNumbers", "cmdNew cmdEditPhoneNumbers", "Numbers"},
    }};
    for (const auto& [name, path, topicKey] : screens) {
      AppHarness h;
      const HelpTopic* topic = findHelpTopic(topicKey);
      const std::string file(topic->file);
      fs::copy_file(programFolder() / file, h.folder / file);
      const QString help = fromWindows1252(readFile(h.folder / file));
      silent(h.port);
      h.startAtSelect();
      for (const QString& button : QString::fromLatin1(path).split(QLatin1Char(' '), Qt::SkipEmptyParts)) press(button);
      QWidget* screen = shownWindow(name);
      QVERIFY2(screen, name);
      trigger(screen, "mnuHelpInstructions");
      HelpViewer* viewer = h.app->help().viewer();
      QVERIFY(shown(viewer));
      QCOMPARE(viewer->windowTitle(), QString::fromLatin1(topic->caption));
      QCOMPARE(viewer->text(), help);
      trigger(screen, "mnuHelpAbout");
      QCOMPARE(labelText(h.app->help().about(), "lblVersion"), QStringLiteral("Version 1.0.0"));
      QVERIFY(shown(screen) && h.prompts.shown.empty());
      QStringList unnamed;
      for (const QString& caption : captionsOf(screen))
        if (!names(help, caption)) unnamed << caption;
      QVERIFY2(unnamed.isEmpty(), qPrintable(QString::fromStdString(file) + " does not name: " + unnamed.join(" | ")));
    }
  }

  void theViewerShowsTheFileAsItIs_data() {
    QTest::addColumn<QByteArray>("content");  // or "fifo", "zero": what stands in the file's place
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");  // the reason given; empty: no message
    const QByteArray huge = (QByteArray(63, 'h') + '\n').repeated(int(HelpViewer::kReadLimit / 64));
    QTest::newRow("Windows-1252, CR LF") << QByteArray("\x93Quoted\x94 \x96 \x80\r\n\t end ")
                                         << QStringLiteral("\u201cQuoted\u201d \u2013 \u20ac\n\t end ") << "";
    QTest::newRow("over a MiB: its first") << huge + "past the limit" << QString::fromLatin1(huge) << "";
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
    else
      writeFile(file, content.toStdString());
    trigger(h.startAtSelect(), "mnuHelpInstructions");
    QCOMPARE(h.app->help().viewer()->text(), text);
    const std::string message = "The help file " + file.string() + " cannot be shown.";
    QCOMPARE(h.prompts.texts(), refusal.isEmpty() ? std::vector<std::string>{} : std::vector<std::string>{message});
    if (!refusal.isEmpty()) QCOMPARE(QString::fromStdString(h.prompts.shown[0].detail), refusal);
  }

  // The real message box: each button of each set; Escape and the window's own close
  // answer the set's last button.
  void realPromptAnswersWhatItsButtonSays_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("answer");
    const std::pair<Buttons, QStringList> sets[] = {{Buttons::Ok, {"Ok"}},
                                                    {Buttons::OkCancel, {"Ok", "Cancel"}},
                                                    {Buttons::YesNoCancel, {"Yes", "No", "Cancel"}},
                                                    {Buttons::SaveDiscardCancel, {"Save", "Discard", "Cancel"}}};
    for (const auto& [buttons, captions] : sets)
      for (const QString& action : captions + QStringList{"Escape", "close"})
        QTest::addRow("%s: %s", qPrintable(captions.join(QString())), qPrintable(action))
            << int(buttons) << action << (captions.contains(action) ? action : captions.back());
  }

  void realPromptAnswersWhatItsButtonSays() {
    QFETCH(int, buttons);
    QFETCH(QString, action);
    QFETCH(QString, answer);
    const std::map<QString, std::pair<QMessageBox::StandardButton, Answer>> named{
        {"Ok", {QMessageBox::Ok, Answer::Ok}},       {"Cancel", {QMessageBox::Cancel, Answer::Cancel}},
        {"Yes", {QMessageBox::Yes, Answer::Yes}},    {"No", {QMessageBox::No, Answer::No}},
        {"Save", {QMessageBox::Save, Answer::Save}}, {"Discard", {QMessageBox::Discard, Answer::Discard}}};
    // Answers the box once exec() shows it.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      poll.stop();
      if (action == "Escape")
        QTest::keyClick(box, Qt::Key_Escape);
      else if (action == "close")
        box->close();
      else if (QAbstractButton* button = box->button(named.at(action).first))
        QTest::mouseClick(button, Qt::LeftButton);
      else
        box->done(QMessageBox::NoButton);  // fails the row: the button is missing
    });
    poll.start(10);
    Message message;
    message.text = "Clear?";
    message.buttons = Buttons(buttons);
    QCOMPARE(int(QtPrompts().show(message)), int(named.at(answer).second));
  }

  // A termination signal while a real question is open closes it as its window would be
  // (Cancel): nothing is sent, the unit is signed off and the program ends.
  void aTerminationSignalClosesTheOpenQuestion() {
    TempDir folder;
    QtPrompts prompts;
    ScriptedPort port;
    port.responder = [](const std::string& sent) -> std::optional<std::string> {
      if (sent == "MR") return "21234566543213121105";
      if (sent.size() == 3 && sent[0] == 'I') return std::string("000201\0\0\0\0", 10);
      if (sent.size() == 4 && sent[0] == 'N') return std::string(32, ' ') + "0";
      return "OK";
    };
    Application app(folder.path(), prompts, port);
    TerminationSignals termination;
    connect(&termination, &TerminationSignals::received, &app, &Application::endOnSignal);
    QSignalSpy ended(&app, &Application::ended);
    app.startUp();
    click(app.selectScreen(), "cmdNew");
    click(app.mainScreen(), "cmdConnect");
    // Raises the signal once the question is open; should the question stay open, closes
    // it ten seconds later, which fails the test.
    QElapsedTimer sinceSignal;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
      QWidget* box = QApplication::activeModalWidget();
      if (!box) return;
      if (!sinceSignal.isValid()) {
        sinceSignal.start();
        ::raise(SIGTERM);
      } else if (sinceSignal.hasExpired(10000)) {
        box->close();
      }
    });
    poll.start(10);
    click(app.mainScreen(), "cmdSend");
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(!sinceSignal.hasExpired(10000));
    QCOMPARE(sent(port), (std::vector<std::string>{"HI", "N1R0", "BY"}));
  }

  // The built program, ended by the system: the first SIGTERM or SIGINT ends it cleanly,
  // a second one that comes before it could act ends it at once.
  void terminationSignalsEndTheProgram_data() {
    QTest::addColumn<QList<int>>("sentSignals");
    QTest::newRow("SIGTERM") << QList<int>{SIGTERM};
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
