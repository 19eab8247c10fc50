#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "core/link_operations.h"
#include "core/programming.h"
#include "gui/qt_prompts.h"
#include "port/termination_signals.h"
#include "support/app_harness.h"

extern char** environ;

using namespace tarvek;
using namespace tarvek::test;

namespace {

// Whether the process has a handler of its own for the signal.
bool catches(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
  return false;
}

// A child process, killed if a failed test leaves it running.
struct Child {
  ~Child() {
    if (pid > 0 && !ended()) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
    }
  }
  bool ended() {
    if (!done) done = ::waitpid(pid, &status, WNOHANG) == pid;
    return done;
  }

  pid_t pid = 0;
  int status = 0;
  bool done = false;
};

// A port on which nothing answers.
void silent(ScriptedPort& port) {
  port.responder = [](const std::string&) { return std::nullopt; };
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpShowsTheSelectionAfterTheSignOn() {
    AppHarness h;
    QElapsedTimer clock;
    clock.start();
    h.app->start();
    QVERIFY(shown(h.app->signOnScreen()));
    QCOMPARE(h.app->signOnScreen()->timer()->timerType(), Qt::PreciseTimer);
    savePicture(h.app->signOnScreen(), QStringLiteral("frmSignOn"));
    QCOMPARE(labelText(h.app->signOnScreen(), "lblVersion"), QStringLiteral("Version 1.0.0"));
    QVERIFY(!h.app->selectScreen());
    QTRY_VERIFY_WITH_TIMEOUT(shown(h.app->selectScreen()), 4000);
    QVERIFY2(clock.elapsed() >= 2000, QByteArray::number(clock.elapsed()).constData());
    QTRY_VERIFY(!h.app->signOnScreen());
    QCOMPARE(QString::fromStdString(readFile(h.folder / "setup.txt")), QStringLiteral("CommPort=1\n"));
    QVERIFY(std::filesystem::is_directory(h.folder / "Saved"));
    QCOMPARE(h.app->session().portNumber, 1);
    savePicture(h.app->selectScreen(), QStringLiteral("frmSelect"));
  }

  void startUpTakesThePortFromSetup() {
    AppHarness h;
    writeFile(h.folder / "setup.txt", "CommPort=12\n");
    h.startAtSelect();
    QCOMPARE(h.app->session().portNumber, 12);
    QCOMPARE(QString::fromStdString(readFile(h.folder / "setup.txt")), QStringLiteral("CommPort=12\n"));
  }

  void newShowsTheDefaults() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    QVERIFY(shown(main));
    QTRY_VERIFY(!h.app->selectScreen());
    const Programming defaults = newProgramming();
    QCOMPARE(labelText(main, "lblFunctionSetting"), QStringLiteral("Alarm Dialer"));
    QCOMPARE(labelText(main, "lblSecurityCodeSetting"), QStringLiteral("507231"));
    QCOMPARE(labelText(main, "lblAccessCodeSetting"), QStringLiteral("390618"));
    QCOMPARE(labelText(main, "lblRingDelaySetting"), QStringLiteral("1"));
    QCOMPARE(labelText(main, "lblRingbackLimitSetting"), QStringLiteral("6"));
    QCOMPARE(labelText(main, "lblDialingSpeedSetting"), QStringLiteral("Normal"));
    QCOMPARE(labelText(main, "lblCallProgressSetting"), QStringLiteral("Enabled"));
    QCOMPARE(labelText(main, "lblForcedSetting"), QStringLiteral("N/A"));
    QCOMPARE(labelText(main, "lblHookswitchSetting"), QStringLiteral("Disabled"));
    QCOMPARE(listLines(main, "lstInputSpecs"), toQt(defaults.inputSpecs));
    QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(defaults.phoneNumbers));
    // Offline: Connect offered, Send locked.
    QVERIFY(child<QPushButton>(main, "cmdConnect")->isVisible());
    QVERIFY(!child<QPushButton>(main, "cmdSend")->isEnabled());
    savePicture(main, QStringLiteral("frmMain-new"));
  }

  void selectionExitEndsAtOnce() {
    AppHarness h;
    h.startAtSelect();
    click(h.app->selectScreen(), "cmdExit");
    QVERIFY(h.ended);
    QVERIFY(h.prompts.shown.empty());
    QVERIFY(h.port.calls.empty());
  }

  void noTarvekLeadsToNotFoundAndBack_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");  // 0: clicked with the mouse
    QTest::newRow("Cancel") << QStringLiteral("cmdCancel") << 0;
    QTest::newRow("Retry") << QStringLiteral("cmdRetry") << 0;
    QTest::newRow("Return on Retry") << QStringLiteral("cmdRetry") << int(Qt::Key_Return);
  }

  void noTarvekLeadsToNotFoundAndBack() {
    QFETCH(QString, button);
    QFETCH(int, key);
    AppHarness h;
    writeFile(h.folder / "setup.txt", "CommPort=3\n");
    silent(h.port);
    SelectScreen* select = h.startAtSelect();
    click(select, "cmdConnect");
    NotFoundScreen* notFound = h.app->notFoundScreen();
    QVERIFY(shown(notFound));
    QCOMPARE(labelText(notFound, "lblNotFound"), QStringLiteral("Tarvek not found on Comm"));
    QCOMPARE(labelText(notFound, "lblCommPort"), QStringLiteral("3"));
    QVERIFY(!select->isEnabled());
    QVERIFY(h.app->session().caller == Caller::Select);
    QVERIFY(!h.app->document().online());
    savePicture(notFound, QStringLiteral("frmNotFound"));

    if (key) {
      auto* focused = child<QPushButton>(notFound, button.toLatin1().constData());
      focused->setFocus();
      QTest::keyClick(focused, Qt::Key(key));
    } else {
      click(notFound, button.toLatin1().constData());
    }
    QTRY_VERIFY(!h.app->notFoundScreen());
    QVERIFY(shown(select) && select->isEnabled());
    // Neither button greets again.
    QCOMPARE(h.port.exchanges.size(), 1u);
  }

  void changeCommPortThenApplyUsesTheNewPort() {
    AppHarness h;
    silent(h.port);
    SelectScreen* select = h.startAtSelect();
    click(select, "cmdConnect");
    click(h.app->notFoundScreen(), "cmdChange");
    QTRY_VERIFY(!h.app->notFoundScreen());
    CommPortScreen* commPort = h.app->commPortScreen();
    QVERIFY(shown(commPort));
    QVERIFY(!select->isEnabled());
    auto* ports = child<QComboBox>(commPort, "cmbPort");
    QCOMPARE(ports->count(), 16);
    QCOMPARE(ports->itemText(0), QStringLiteral("Comm 1"));
    QCOMPARE(ports->itemText(15), QStringLiteral("Comm 16"));
    QCOMPARE(ports->currentText(), QStringLiteral("Comm 1"));
    savePicture(commPort, QStringLiteral("frmCommPort"));

    ports->setCurrentIndex(3);
    click(commPort, "cmdApply");
    QTRY_VERIFY(!h.app->commPortScreen());
    QCOMPARE(QString::fromStdString(readFile(h.folder / "setup.txt")), QStringLiteral("CommPort=4\n"));
    QVERIFY(shown(select) && select->isEnabled());
    QCOMPARE(select->focusWidget(), static_cast<QWidget*>(select->connectButton()));

    h.port.calls.clear();
    click(select, "cmdConnect");
    QCOMPARE(h.port.calls.front(), std::string("pin 4"));
  }

  void commPortSelectsTheCurrentPort_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("selected");
    QTest::newRow("16") << QStringLiteral("CommPort=16\n") << QStringLiteral("Comm 16");
    QTest::newRow("7") << QStringLiteral("CommPort=7\n") << QStringLiteral("Comm 7");
    QTest::newRow("0 from garbage") << QStringLiteral("garbage\n") << QStringLiteral("Comm 1");
    QTest::newRow("17") << QStringLiteral("CommPort=17\n") << QStringLiteral("Comm 1");
  }

  void commPortSelectsTheCurrentPort() {
    QFETCH(QString, setup);
    QFETCH(QString, selected);
    AppHarness h;
    writeFile(h.folder / "setup.txt", setup.toStdString());
    silent(h.port);
    h.startAtSelect();
    click(h.app->selectScreen(), "cmdConnect");
    click(h.app->notFoundScreen(), "cmdChange");
    QCOMPARE(child<QComboBox>(h.app->commPortScreen(), "cmbPort")->currentText(), selected);
  }

  void commPortExitEndsAndLeavesSetupAlone() {
    AppHarness h;
    writeFile(h.folder / "setup.txt", "CommPort=2\n");
    silent(h.port);
    h.startAtSelect();
    click(h.app->selectScreen(), "cmdConnect");
    click(h.app->notFoundScreen(), "cmdChange");
    child<QComboBox>(h.app->commPortScreen(), "cmbPort")->setCurrentIndex(9);
    click(h.app->commPortScreen(), "cmdExit");
    QVERIFY(h.ended);
    QCOMPARE(QString::fromStdString(readFile(h.folder / "setup.txt")), QStringLiteral("CommPort=2\n"));
  }

  void applyThatCannotWriteSaysSoAndKeepsThePort() {
    AppHarness h;
    silent(h.port);
    h.startAtSelect();
    // A folder where setup.txt should be: the file cannot be written, even by root.
    std::filesystem::remove(h.folder / "setup.txt");
    std::filesystem::create_directory(h.folder / "setup.txt");
    click(h.app->selectScreen(), "cmdConnect");
    click(h.app->notFoundScreen(), "cmdChange");
    child<QComboBox>(h.app->commPortScreen(), "cmbPort")->setCurrentIndex(5);
    click(h.app->commPortScreen(), "cmdApply");
    QCOMPARE(h.prompts.shown.size(), 1u);
    QVERIFY(QString::fromStdString(h.prompts.lastText()).contains(QStringLiteral("setup.txt")));
    QVERIFY(!h.prompts.shown.back().detail.empty());
    QCOMPARE(h.app->session().portNumber, 6);
    QVERIFY(h.app->selectScreen()->isEnabled());
  }

  void mainExitSignsOffAndEnds() {
    AppHarness h;
    h.port.responder = [](const std::string&) { return std::string("OK"); };
    MainScreen* main = h.startWithNew();
    click(main, "cmdExit");
    QVERIFY(h.ended);
    const std::vector<std::string> expected{"pin 1", "open 1", "transmit BY", "read 10 1000", "close", "unpin"};
    QCOMPARE(h.port.calls, expected);
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

  void closingTheMainWindowSignsOffToo() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    h.port.opens = [](int) { return false; };  // nothing attached: still ends
    main->close();
    QVERIFY(h.ended);
    QCOMPARE(h.port.calls.front(), std::string("pin 1"));
    QVERIFY(h.port.exchanges.empty());
  }

  // A termination signal while a real question is open closes it as its window would be
  // (Cancel): nothing is sent, the unit is signed off and the program ends.
  void aTerminationSignalClosesTheOpenQuestion() {
    TempDir folder;
    QtPrompts prompts;
    ScriptedPort port;
    port.responder = [](const std::string& command) {
      return command == "N1R0" ? std::string(32, ' ') + "0" : std::string("OK");
    };
    Application app(folder.path(), prompts, port);
    TerminationSignals termination;
    connect(&termination, &TerminationSignals::received, &app, &Application::endOnSignal);
    QSignalSpy ended(&app, &Application::ended);
    app.startUp();
    click(app.selectScreen(), "cmdNew");
    click(app.mainScreen(), "cmdConnect");

    bool stuck = false;
    QTimer raiser;
    connect(&raiser, &QTimer::timeout, [&] {
      if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        raiser.stop();
        ::raise(SIGTERM);
        // Should the question stay open, the test closes it and fails.
        QTimer::singleShot(10000, [&] {
          if (QWidget* box = QApplication::activeModalWidget()) {
            stuck = true;
            box->close();
          }
        });
      }
    });
    raiser.start(10);
    click(app.mainScreen(), "cmdSend");
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(!stuck);
    std::vector<std::string> sent;
    for (const auto& exchange : port.exchanges) sent.push_back(exchange.sent);
    QCOMPARE(sent, (std::vector<std::string>{"HI", "N1R0", "BY"}));
  }

  // The built program, ended by the system: the first SIGTERM or SIGINT ends it cleanly,
  // a second one that comes before it could act ends it at once.
  void terminationSignalsEndTheProgram_data() {
    QTest::addColumn<QList<int>>("sent");
    QTest::addColumn<bool>("cleanly");
    QTest::newRow("SIGTERM") << QList<int>{SIGTERM} << true;
    QTest::newRow("SIGINT") << QList<int>{SIGINT} << true;
    QTest::newRow("a second signal") << QList<int>{SIGTERM, SIGINT} << false;
  }

  void terminationSignalsEndTheProgram() {
    QFETCH(QList<int>, sent);
    QFETCH(bool, cleanly);
    TempDir folder;  // the program folder of a copy of the program
    const std::filesystem::path built = qEnvironmentVariable("TARVEK_PROGRAM_DIR").toStdString();
    std::string program = (folder / "tarvek-programmer").string();
    std::error_code error;
    std::filesystem::create_hard_link(built / "tarvek-programmer", program, error);
    if (error) std::filesystem::copy_file(built / "tarvek-programmer", program);
    char* argv[] = {program.data(), nullptr};
    Child child;
    QCOMPARE(::posix_spawn(&child.pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    QTRY_VERIFY_WITH_TIMEOUT(catches(child.pid, SIGTERM) && catches(child.pid, SIGINT), 20000);

    // Held still, so that every signal has come before it can act on the first.
    ::kill(child.pid, SIGSTOP);
    for (const int signal : sent) ::kill(child.pid, signal);
    ::kill(child.pid, SIGCONT);
    QTRY_VERIFY_WITH_TIMEOUT(child.ended(), 20000);
    const int status = child.status;
    if (cleanly)
      QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));
    else
      QVERIFY2(WIFSIGNALED(status) && sent.contains(WTERMSIG(status)), qPrintable(QString::number(status)));
  }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
