#include "gui/application.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "core/link_operations.h"
#include "core/prompts.h"
#include "core/record_check.h"
#include "core/serial_port.h"
#include "core/setup_file.h"
#include "gui/comm_port_screen.h"
#include "gui/help_desk.h"
#include "gui/main_screen.h"
#include "gui/not_found_screen.h"
#include "gui/select_screen.h"
#include "gui/sign_on_screen.h"

namespace tarvek {

namespace {

// Marks the application busy for the length of an exchange with the Tarvek, and says
// when it ended.
class BusyGuard {
 public:
  BusyGuard(bool& busy, std::function<void()> ended) : m_busy(busy), m_ended(std::move(ended)) { m_busy = true; }
  ~BusyGuard() {
    m_busy = false;
    m_ended();
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  bool& m_busy;
  std::function<void()> m_ended;
};

constexpr const char* kReadOutOfRange =
    "Some values read from the Tarvek are out of range, listed below. Send refuses the programming until they "
    "are corrected in the editors.";

void unload(QWidget* screen) {
  if (screen) screen->deleteLater();
  if (screen) screen->hide();
}

}  // namespace

Application::Application(ProgramFolders folders, Prompts& prompts, SerialPort& port, QObject* parent)
    : QObject(parent),
      m_folders(std::move(folders)),
      m_endingPrompts(prompts),
      m_prompts(m_endingPrompts),
      m_port(port),
      m_help(std::make_unique<HelpDesk>(m_session, m_prompts, m_folders.help)) {}

Application::Application(const std::filesystem::path& programDir, Prompts& prompts, SerialPort& port, QObject* parent)
    : Application(foldersIn(programDir), prompts, port, parent) {}

Application::~Application() {
  delete m_signOn;
  delete m_select;
  delete m_main;
  delete m_commPort;
  delete m_notFound;
  delete m_editor;
}

Link Application::link() { return Link{m_port, m_session, m_prompts, m_progress}; }

void Application::start() {
  m_signOn = new SignOnScreen;
  connect(m_signOn, &SignOnScreen::timeUp, this, &Application::startUp);
  m_signOn->showCentred();
}

void Application::startUp() {
  m_session.reducedFeatures = false;
  m_session.portNumber = 1;
  m_session.settingsFilePath.clear();
  if (m_signOn) m_signOn->timer()->stop();
  m_session.portNumber = readPortAtStartUp(m_folders.program, m_folders.saved);
  showSelect();
  unload(m_signOn);
  if (!m_folders.earlierSaved.empty()) {
    const std::string moved = moveEarlierSavedFiles(m_folders.earlierSaved, m_folders.saved);
    if (!moved.empty()) m_prompts.inform(moved);
  }
}

SelectScreen* Application::showSelect() {
  if (!m_select) {
    m_select = new SelectScreen(m_help.get());
    connect(m_select, &SelectScreen::connectClicked, this, &Application::selectConnect);
    connect(m_select, &SelectScreen::newClicked, this, &Application::selectNew);
    connect(m_select, &SelectScreen::existingClicked, this, &Application::selectExisting);
    connect(m_select, &SelectScreen::exitClicked, this, [this] {
      if (!m_busy) endProgram();
    });
  }
  m_select->showCentred();
  return m_select;
}

MainScreen* Application::ensureMain() {
  if (!m_main) {
    m_main = new MainScreen(m_help.get());
    m_main->setOnline(m_session.online);
    connect(m_main, &MainScreen::editGlobalClicked, this, &Application::openGlobalEditor);
    connect(m_main, &MainScreen::editInputSpecsClicked, this, &Application::openInputSpecsEditor);
    connect(m_main, &MainScreen::editPhoneNumbersClicked, this, &Application::openPhoneNumbersEditor);
    connect(m_main, &MainScreen::connectClicked, this, &Application::mainConnect);
    connect(m_main, &MainScreen::sendClicked, this, &Application::mainSend);
    connect(m_main, &MainScreen::exitClicked, this, &Application::mainExit);
    connect(m_main, &MainScreen::saveTriggered, this, &Application::mainSave);
    connect(m_main, &MainScreen::saveAsTriggered, this, &Application::mainSaveAs);
    connect(m_main, &MainScreen::printTriggered, this, &Application::mainPrint);
  }
  return m_main;
}

void Application::showMain(const Programming& record) {
  ensureMain()->setRecord(record);
  m_main->showCentred();
  unload(m_select);
}

void Application::showNotFound() {
  delete m_notFound;
  m_notFound = new NotFoundScreen(m_session.portNumber, m_help.get());
  connect(m_notFound, &NotFoundScreen::retryClicked, this, [this] { returnToCaller(false); });
  connect(m_notFound, &NotFoundScreen::cancelClicked, this, [this] { returnToCaller(false); });
  connect(m_notFound, &NotFoundScreen::changeClicked, this, [this] {
    showCommPort();
    unload(m_notFound);
  });
  m_notFound->showCentred();
}

void Application::showCommPort() {
  delete m_commPort;
  m_commPort = new CommPortScreen(m_session.portNumber, m_folders.program, m_help.get());
  connect(m_commPort, &CommPortScreen::applyClicked, this, &Application::commPortApply);
  connect(m_commPort, &CommPortScreen::exitClicked, this, &Application::commPortExit);
  m_commPort->showCentred();
}

void Application::returnToCaller(bool focusConnect) {
  if (m_session.callerName == kCallerSelect) {
    SelectScreen* select = showSelect();
    select->setEnabled(true);
    if (focusConnect) select->connectButton()->setFocus();
  } else {
    MainScreen* main = ensureMain();
    main->showCentred();
    main->setEnabled(true);
    if (focusConnect) main->connectButton()->setFocus();
  }
  unload(m_notFound);
}

void Application::endProgram() {
  if (m_ended) return;
  m_ended = true;
  for (QWidget* screen : std::initializer_list<QWidget*>{m_signOn, m_select, m_main, m_commPort, m_notFound, m_editor})
    unload(screen);
  m_progress.closeProgress();
  emit ended();
}

void Application::endOnSignal() {
  if (m_ended) return;
  m_ending = true;
  m_endingPrompts.setEnding();
  // Open message boxes and dialogs answer as if their windows were closed: a question
  // is cancelled, so nothing new starts.
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->isModal()) window->close();
  // An exchange sequence in progress runs to its end, so that the unit is not left
  // half-written; the program ends after it.
  if (!m_busy) afterOperation();
}

void Application::afterOperation() {
  // Queued, so that the handler that ran the operation, or the prompt just closed, has
  // returned first.
  if (m_ending) QTimer::singleShot(0, this, &Application::finishEnding);
}

void Application::finishEnding() {
  if (m_ended || m_busy) return;
  if (m_session.online) {
    BusyGuard busy(m_busy, [this] { afterOperation(); });
    signOff(m_port, m_session.portNumber);
  }
  endProgram();
}

void Application::selectConnect() {
  if (m_busy) return;
  BusyGuard busy(m_busy, [this] { afterOperation(); });
  Programming record = m_main ? m_main->record() : Programming{};
  Link connection = link();
  const ReadResult result = connectAndRead(connection, record);
  switch (result.outcome) {
    case ConnectOutcome::PortNotOpened:
      m_select->setEnabled(false);
      showCommPort();
      break;
    case ConnectOutcome::NotFound:
      m_select->setEnabled(false);
      showNotFound();
      break;
    case ConnectOutcome::Finished: {
      if (result.greyHookswitch) ensureMain()->setHookswitchGreyed(true);
      showMain(record);
      // A read that stopped part way has said so already; a whole one may still have
      // brought values that Send would refuse.
      const auto problems = entry::checkRecord(record, m_session.reducedFeatures);
      if (isComplete(record) && !problems.empty())
        m_prompts.show(Message{kReadOutOfRange, {}, Buttons::Ok, Icon::Warning, entry::problemList(problems)});
      break;
    }
    case ConnectOutcome::NotResponding:
      // What was decoded stays in the record, but the Main screen is not shown. Before a
      // greeting succeeded nothing was decoded, and a Main screen made then would come up
      // offline after the next, successful Connect.
      if (!m_main && !m_session.online) break;
      if (result.greyHookswitch) ensureMain()->setHookswitchGreyed(true);
      ensureMain()->setRecord(record);
      break;
  }
}

void Application::selectNew() {
  if (m_busy) return;
  showMain(newProgramming());
}

void Application::mainConnect() {
  if (m_busy) return;
  BusyGuard busy(m_busy, [this] { afterOperation(); });
  Link connection = link();
  switch (connectFromMain(connection)) {
    case ProbeOutcome::PortNotOpened:
      m_main->setEnabled(false);
      showCommPort();
      break;
    case ProbeOutcome::NotFound:
      m_main->setEnabled(false);
      showNotFound();
      break;
    case ProbeOutcome::Online:
      m_main->setOnline(true);
      break;
    case ProbeOutcome::Failed:
    case ProbeOutcome::NotResponding:
      break;
  }
}

void Application::mainSend() {
  if (m_busy || !m_main) return;
  BusyGuard busy(m_busy, [this] { afterOperation(); });
  Link connection = link();
  sendProgramming(connection, m_main->record());
}

void Application::mainExit() {
  if (m_busy) return;
  {
    BusyGuard busy(m_busy, [this] { afterOperation(); });
    signOff(m_port, m_session.portNumber);
  }
  endProgram();
}

void Application::commPortApply() {
  const int port = m_commPort->selectedPort();
  m_session.portNumber = port;
  std::string error;
  if (!writeSetup(m_folders.program, port, error)) {
    m_prompts.show(Message{"The port setting could not be saved in " + (m_folders.program / kSetupFileName).string() +
                               ". Comm " + std::to_string(port) + " is used until the program ends.",
                           {},
                           Buttons::Ok,
                           Icon::Warning,
                           error});
  }
  returnToCaller(true);
  unload(m_commPort);
}

void Application::commPortExit() {
  unload(m_commPort);
  endProgram();
}

}  // namespace tarvek
