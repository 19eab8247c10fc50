// The screens on the real application, driven offscreen. The shell: start-up, the ways
// between the screens and out of the program, the Help menus and the viewer, the real
// message box and the termination signals. The document: the three editors, the file
// commands, Compare With File and the printed report.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "core/display_lines.h"
#include "core/help_topics.h"
#include "core/report.h"
#include "core/settings_file.h"
#include "gui/about_screen.h"
#include "gui/compare_dialog.h"
#include "gui/help_desk.h"
#include "gui/help_viewer.h"
#include "gui/print_dialog.h"
#include "gui/qt_prompts.h"
#include "gui/report_printer.h"
#include "port/termination_signals.h"
#include "support/app_harness.h"
#include "support/sample_records.h"

extern char** environ;

using namespace tarvek;
using namespace tarvek::test;
namespace fs = std::filesystem;

namespace {

fs::path programFolder() { return qEnvironmentVariable("TARVEK_PROGRAM_DIR").toStdString(); }

// A port where no Tarvek answers.
void silent(ScriptedPort& port) {
  port.responder = [](const std::string&) { return std::nullopt; };
}

// Main screen -> Connect finds nothing -> Change Comm Port.
CommPortScreen* toCommPort(AppHarness& h) {
  silent(h.port);
  click(h.app->mainScreen(), "cmdConnect");
  click(h.app->notFoundScreen(), "cmdChange");
  return h.app->commPortScreen();
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

constexpr const char* kDigits = "This digit entry must be 0 - 9";
constexpr const char* kPhone = "Phone number entries must be 0 - 9, *, #, or comma";
constexpr const char* kPlaceholder = "                  Not Programmed";

// A key, keys typed or a paste in one box of an editor opened on a new programming.
struct KeyRow {
  const char* name;
  const char* editButton;
  const char* box;
  const char* before;
  int modifiers;  // held while `typed` is typed key by key
  const char* typed;
  const char* clipboard;
  const char* after;
  const char* message;
};

const KeyRow kKeys[] = {
    {"digit: letter refused", "cmdEditGlobal", "txtSecurity", "12", 0, "a", "", "12", kDigits},
    {"digit: digit taken", "cmdEditGlobal", "txtSecurity", "12", 0, "5", "", "125", ""},
    {"digit: Enter refused", "cmdEditGlobal", "txtSecurity", "12", 0, "\r", "", "12", kDigits},
    {"digit: Alt+letter", "cmdEditGlobal", "txtSecurity", "12", Qt::AltModifier, "a", "", "12", kDigits},
    {"digit: AltGr as Ctrl+Alt", "cmdEditGlobal", "txtSecurity", "12", Qt::ControlModifier | Qt::AltModifier, "@", "",
     "12", kDigits},
    {"digit: Meta+letter", "cmdEditGlobal", "txtSecurity", "12", Qt::MetaModifier, "x", "", "12", kDigits},
    {"digit: Ctrl+V of letters", "cmdEditGlobal", "txtSecurity", "", Qt::ControlModifier, "v", "12ab", "", kDigits},
    {"digit: Ctrl+V of digits", "cmdEditGlobal", "txtSecurity", "", Qt::ControlModifier, "v", "654321", "654321", ""},
    {"timer: letter refused, emptied", "cmdEditInputSpecs", "txtQMinutes", "4", 0, "a", "", "", kDigits},
    {"timer: digit taken", "cmdEditInputSpecs", "txtQMinutes", "4", 0, "5", "", "45", ""},
    {"timer: Ctrl+V of a letter", "cmdEditInputSpecs", "txtQMinutes", "", Qt::ControlModifier, "v", "x", "", kDigits},
    {"phone: letter refused", "cmdEditPhoneNumbers", "txtPhoneNbr3", kPlaceholder, 0, "a", "", "", kPhone},
    {"phone: * taken", "cmdEditPhoneNumbers", "txtPhoneNbr3", kPlaceholder, 0, "*", "", "*", ""},
    {"phone: pasted dash", "cmdEditPhoneNumbers", "txtPhoneNbr3", "", Qt::ControlModifier, "v", "5-1", "", kPhone},
};

std::vector<std::string> texts(const char* message) {
  return *message ? std::vector<std::string>{message} : std::vector<std::string>{};
}

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

// A settings file's text with its "Saved" line's date and time left out: the clock's.
std::string undated(const std::string& text) { return std::regex_replace(text, std::regex("Saved [^\r]*"), "Saved"); }

}  // namespace

class ScreensTest : public QObject {
  Q_OBJECT

 private slots:
  // The port of setup.txt is the end-to-end tests' Comm 16.
  void startUpShowsTheSelectionAfterTheSignOn() {
    AppHarness h;
    QElapsedTimer clock;
    clock.start();
    h.app->start();
    QVERIFY(shown(h.app->signOnScreen()));
    QCOMPARE(h.app->signOnScreen()->timer()->timerType(), Qt::PreciseTimer);
    QTRY_VERIFY_WITH_TIMEOUT(shown(h.app->selectScreen()), 4000);
    QVERIFY2(clock.elapsed() >= 2000, QByteArray::number(clock.elapsed()).constData());
    QTRY_VERIFY(!h.app->signOnScreen());
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
    QCOMPARE(h.port.exchanges.size(), 1u);  // the greeting of the Connect; none again
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
    if (way == "Comm Port Exit") screen = toCommPort(h);
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
    QCOMPARE(int(std::ranges::count(h.port.exchanges, "BY", &ScriptedPort::Exchange::sent)),
             ends && way != "Comm Port Exit" ? 1 : 0);
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
      QWidget* screen = nullptr;
      for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->objectName() == QLatin1String(name)) screen = window;
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
    QTest::addColumn<QByteArray>("content");  // or "fifo": a named pipe in the file's place
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");  // the reason given; empty: no message
    const QByteArray huge = (QByteArray(63, 'h') + '\n').repeated(int(HelpViewer::kReadLimit / 64));
    QTest::newRow("Windows-1252, CR LF") << QByteArray("\x93Quoted\x94 \x96 \x80\r\n\t end ")
                                         << QStringLiteral("\u201cQuoted\u201d \u2013 \u20ac\n\t end ") << "";
    QTest::newRow("over a MiB: its first") << huge + "past the limit" << QString::fromLatin1(huge) << "";
    QTest::newRow("named pipe") << QByteArray("fifo") << ""
                                << "Is a named pipe, not a regular file";
  }

  void theViewerShowsTheFileAsItIs() {
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    AppHarness h;
    const fs::path file = h.folder / "helpselect.txt";
    if (content == "fifo")
      QCOMPARE(::mkfifo(file.c_str(), 0600), 0);
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
  // (Cancel), and the program ends.
  void aTerminationSignalClosesTheOpenQuestion() {
    TempDir folder;
    QtPrompts prompts;
    ScriptedPort port;
    Application app(folder.path(), prompts, port);
    TerminationSignals termination;
    connect(&termination, &TerminationSignals::received, &app, &Application::endOnSignal);
    QSignalSpy ended(&app, &Application::ended);
    app.startUp();
    click(app.selectScreen(), "cmdNew");
    app.document().setRecord(siteA());
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
    click(app.mainScreen(), "cmdExit");
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(sinceSignal.isValid() && !sinceSignal.hasExpired(10000));
  }

  // The built program, ended by the system: the first SIGTERM or SIGINT ends it cleanly,
  // a second one that comes before it could act ends it at once.
  void terminationSignalsEndTheProgram() {
    for (const QList<int>& sentSignals : {QList{SIGTERM}, QList{SIGTERM, SIGINT}}) {
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
  }

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
    QTest::keyClicks(edit, QString::fromLatin1(r.typed), Qt::KeyboardModifiers(r.modifiers));
    QCOMPARE(edit->text(), QString::fromLatin1(r.after));
    QCOMPARE(h.prompts.texts(), texts(r.message));
    QCOMPARE(editor->focusWidget()->objectName(), QLatin1String(*r.message ? r.box : "cmdBack"));
  }

  // Each editor gives its record back to the document on Back, which refuses an entry out
  // of range; the Phone Numbers editor also clears and steps between inputs. A short unit's
  // editors grey what it lacks.
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
    QCOMPARE(editor->focusWidget()->objectName(), QStringLiteral("txtSecurity"));
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
    QCOMPARE(record.phoneNumbers.at(std::size_t(lines::phoneLineIndex(1, 2))), std::string(" P (2) 555"));
    QCOMPARE(record.phoneNumbers.at(std::size_t(lines::phoneLineIndex(8, 8))), std::string("   (8) 9"));
    QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(record.phoneNumbers));

    // A short-layout unit has neither Hookswitch Flash nor pager marks.
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
    const std::string name = "B\xfcro \x80";
    const std::string old = settings::fileText(settings::fileLines(newProgramming(), name, "earlier"));
    writeFile(file, old);
    Programming record = siteA();
    if (incomplete) record.phoneNumbers.resize(70);
    h.app->document().setRecord(record);
    const bool saveAs = keys != "Ctrl+S";
    if (!saveAs) h.app->document().setFilePath(file.string());
    h.prompts.fileNames.push_back((h.folder / "Saved" / "B\u00fcro \u20ac").string());
    for (const int answer : answers) h.prompts.answers.push_back(Answer(answer));
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    if (result == "full") {  // less than one report goes, then writes fail as on a full disk
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{1024, unlimited.rlim_max};
      QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
    }
    QTest::keySequence(main, QKeySequence(keys));
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
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

  // Existing File refuses a file cut short, changing nothing, and opens one as it stands,
  // with a word on a value Send would refuse.
  void existingFileRefusesOrOpens() {
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    const Programming before = h.app->document().record();
    const fs::path cut = h.folder / "Saved" / "cut.txt";
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    fs::copy_file(filesDataDir() / "read" / "ends_in_phone_numbers.txt", cut);
    fs::copy_file(filesDataDir() / "golden_alarm_dialer.txt", file);
    h.prompts.fileNames = {cut.string(), file.string()};
    click(select, "cmdExisting");
    QCOMPARE(h.prompts.fileRequests.at(0).folder, (h.folder / "Saved").string());
    QCOMPARE(h.prompts.lastText(), "The file " + cut.string() + " is not a readable settings file.");
    QCOMPARE(h.prompts.shown.back().detail,
             std::string("The file ends before the end of input 5 of the Phone Numbers."));
    QVERIFY(h.app->document().record() == before && h.app->document().filePath().empty() && !h.app->mainScreen());
    click(select, "cmdExisting");
    QVERIFY(h.prompts.lastText().starts_with("The file " + file.string() + " was opened, but some of its values"));
    QCOMPARE(h.prompts.shown.back().detail, std::string("Input 2, Qualifier Timer: \"Hrs 18 Min 59 Sec 59\""));
    QVERIFY(h.app->document().record() == siteAAsRead() && h.app->document().filePath() == file.string() &&
            shown(h.app->mainScreen()));
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

  // Compare With File: a file of the same programming, in other forms, gives a message; one
  // a field apart, that field in the dialog. The record stays as it was.
  void compareWithFile() {
    AppHarness h;
    MainScreen* main = h.startWithNew();
    Programming record = siteA();
    h.app->document().setRecord(record);
    const std::string file = (filesDataDir() / "golden_alarm_dialer.txt").string();
    h.prompts.fileNames = {file, file};
    trigger(main, "mnuCompare");
    QCOMPARE(h.prompts.texts(),
             texts(("The programming on the Main screen and the file " + file + " are the same.").c_str()));
    record.global.ringDelay = "8";
    h.app->document().setRecord(record);
    trigger(main, "mnuCompare");
    auto* table = child<CompareDialog>(main, "dlgCompare")->table();
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Ring Delay"));
    QCOMPARE(h.prompts.shown.size(), 1u);
    QVERIFY(h.app->document().record() == record);
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
    check(toCommPort(h));
    for (const char* name :
         {"Pager, Phone Number 3", "Qualifier Timer Hours", "Edit Global Settings", "Hookswitch Flash Enabled"})
      QVERIFY2(names.contains(QLatin1String(name)), name);
  }
};

QTEST_MAIN(ScreensTest)
#include "tst_screens.moc"
