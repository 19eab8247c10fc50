#include "gui/application.h"

#include <QApplication>
#include <QTimer>

#include "core/link_operations.h"
#include "core/prompts.h"
#include "core/record_check.h"
#include "core/save_questions.h"
#include "core/setup_file.h"
#include "gui/help_desk.h"

namespace tarvek {

namespace {

constexpr const char* kReadOutOfRange =
    "Some values read from the Tarvek are out of range, listed below. Send refuses the programming until they "
    "are corrected in the editors.";

}  // namespace

Application::Application(ProgramFolders folders, Prompts& prompts, SerialPort& port, QObject* parent)
    : QObject(parent),
      m_folders(std::move(folders)),
      m_endingPrompts(prompts),
      m_prompts(m_endingPrompts),
      m_port(port),
      m_help(std::make_unique<HelpDesk>(m_session, m_prompts, m_folders.help)),
      m_guard([this] { afterExchange(); }),
      m_screens(m_session, m_document, *m_help, m_guard, m_folders.program),
      m_editors(m_document, m_session, m_prompts, *m_help, m_screens),
      m_files(m_document, m_session, m_prompts, m_screens, m_folders.saved) {
  connect(&m_screens, &Navigator::selectMade, this, &Application::wireSelect);
  connect(&m_screens, &Navigator::mainMade, this, &Application::wireMain);
  connect(&m_screens, &Navigator::commPortMade, this, &Application::wireCommPort);
}

Application::Application(const std::filesystem::path& programDir, Prompts& prompts, SerialPort& port, QObject* parent)
    : Application(foldersIn(programDir), prompts, port, parent) {}

Application::~Application() = default;

Link Application::link() { return Link{m_port, m_session, m_prompts, m_progress}; }

void Application::start() { connect(m_screens.showSignOn(), &SignOnScreen::timeUp, this, &Application::startUp); }

void Application::startUp() {
  m_session.reducedFeatures = false;
  m_session.portNumber = 1;
  m_document.setFilePath({});
  if (SignOnScreen* signOn = m_screens.signOnScreen()) signOn->timer()->stop();
  m_session.portNumber = readPortAtStartUp(m_folders.program, m_folders.saved);
  m_screens.showSelect();
  m_screens.unloadSignOn();
  if (!m_folders.earlierSaved.empty()) {
    const std::string moved = moveEarlierSavedFiles(m_folders.earlierSaved, m_folders.saved);
    if (!moved.empty()) m_prompts.inform(moved);
  }
}

void Application::wireSelect(SelectScreen* select) {
  connect(select, &SelectScreen::connectClicked, this, m_guard.command([this] { connectSelect(); }));
  connect(select, &SelectScreen::newClicked, this, m_guard.command([this] { startNew(); }));
  connect(select, &SelectScreen::existingClicked, this, m_guard.command([this] { m_files.openExisting(); }));
  connect(select, &SelectScreen::exitClicked, this, m_guard.command([this] { endProgram(); }));
}

void Application::wireMain(MainScreen* main) {
  connect(main, &MainScreen::editGlobalClicked, this, m_guard.command([this] { m_editors.openGlobal(); }));
  connect(main, &MainScreen::editInputSpecsClicked, this, m_guard.command([this] { m_editors.openInputSpecs(); }));
  connect(main, &MainScreen::editPhoneNumbersClicked, this, m_guard.command([this] { m_editors.openPhoneNumbers(); }));
  connect(main, &MainScreen::connectClicked, this, m_guard.command([this] { connectMain(); }));
  connect(main, &MainScreen::sendClicked, this, m_guard.command([this] { send(); }));
  connect(main, &MainScreen::exitClicked, this, m_guard.command([this] {
    if (mayEnd()) signOffAndEnd();
  }));
  connect(main, &MainScreen::saveTriggered, this, m_guard.command([this] { m_files.save(); }));
  connect(main, &MainScreen::saveAsTriggered, this, m_guard.command([this] { m_files.saveAs(); }));
  connect(main, &MainScreen::printTriggered, this, m_guard.command([this] { m_files.print(); }));
  connect(main, &MainScreen::compareTriggered, this, m_guard.command([this] { m_files.compareWithFile(); }));
}

void Application::wireCommPort(CommPortScreen* commPort) {
  connect(commPort, &CommPortScreen::applyClicked, this, m_guard.command([this] { applyPort(); }));
  connect(commPort, &CommPortScreen::exitClicked, this, m_guard.command([this] {
    if (!mayEnd()) return;
    m_screens.unloadCommPort();
    endProgram();
  }));
}

bool Application::mayEnd() {
  return !m_document.isChanged() || settings::mayLeaveChanged(m_prompts, [this] { return m_files.save(); });
}

void Application::endProgram() {
  if (m_ended) return;
  m_ended = true;
  m_screens.unloadAll();
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
  if (!m_guard.busy()) afterExchange();
}

void Application::afterExchange() {
  // Queued, so that the handler that ran the exchange, or the prompt just closed, has
  // returned first.
  if (m_ending) QTimer::singleShot(0, this, &Application::finishEnding);
}

void Application::finishEnding() {
  if (m_ended || m_guard.busy()) return;
  if (m_document.online()) m_guard.exchange([this] { signOff(m_port, m_session.portNumber); });
  endProgram();
}

void Application::connectSelect() {
  m_guard.exchange([this] {
    // A read that stops part way keeps what was decoded, over what the record held.
    Programming record = m_document.record();
    const ReadResult result = connectAndRead(link(), record);
    if (result.greeted) m_document.setOnline();
    if (result.greyHookswitch) m_document.greyHookswitch();
    m_document.setRecord(record);
    if (result.outcome == ConnectOutcome::Finished) m_document.snapshot();
    m_screens.follow(Caller::Select, afterConnect(result.outcome));
    // A read that stopped part way has said so already; a whole one may still have
    // brought values that Send would refuse.
    const auto problems = entry::checkRecord(record, m_session.reducedFeatures);
    if (result.outcome == ConnectOutcome::Finished && isComplete(record) && !problems.empty())
      m_prompts.show(Message{kReadOutOfRange, {}, Buttons::Ok, Icon::Warning, entry::problemList(problems)});
  });
}

void Application::connectMain() {
  m_guard.exchange([this] {
    const ProbeResult result = connectFromMain(link());
    if (result.greeted) m_document.setOnline();
    m_screens.follow(Caller::Main, afterConnect(result.outcome));
  });
}

void Application::send() {
  m_guard.exchange([this] {
    if (sendProgramming(link(), m_document.record()) == SendOutcome::Sent) m_document.snapshot();
  });
}

void Application::signOffAndEnd() {
  m_guard.exchange([this] { signOff(m_port, m_session.portNumber); });
  endProgram();
}

void Application::startNew() {
  m_document.setRecord(newProgramming());
  m_document.snapshot();
  m_screens.showMain();
}

void Application::applyPort() {
  const int port = m_screens.commPortScreen()->selectedPort();
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
  m_screens.returnToCaller(true);
  m_screens.unloadCommPort();
}

}  // namespace tarvek
