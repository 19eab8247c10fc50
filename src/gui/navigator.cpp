#include "gui/navigator.h"

#include <QPushButton>

#include "core/document.h"
#include "core/session.h"
#include "gui/command_guard.h"

namespace tarvek {

namespace {

void unload(QWidget* screen) {
  if (!screen) return;
  screen->deleteLater();
  screen->hide();
}

}  // namespace

Navigator::Navigator(Session& session, Document& document, HelpDesk& help, CommandGuard& guard,
                     std::filesystem::path programDir, QObject* parent)
    : QObject(parent),
      m_session(session),
      m_document(document),
      m_help(help),
      m_guard(guard),
      m_programDir(std::move(programDir)) {
  m_document.setObserver([this] {
    if (m_main) m_main->display(m_document);
  });
}

Navigator::~Navigator() {
  m_document.setObserver(nullptr);
  delete m_signOn;
  delete m_select;
  delete m_main;
  delete m_commPort;
  delete m_notFound;
  delete m_editor;
}

SignOnScreen* Navigator::showSignOn() {
  m_signOn = new SignOnScreen;
  m_signOn->showCentred();
  return m_signOn;
}

SelectScreen* Navigator::showSelect() {
  if (!m_select) {
    m_select = new SelectScreen(&m_help);
    emit selectMade(m_select);
  }
  m_select->showCentred();
  return m_select;
}

MainScreen* Navigator::ensureMain() {
  if (!m_main) {
    m_main = new MainScreen(&m_help);
    m_main->setOnline(m_document.online());
    m_main->display(m_document);
    emit mainMade(m_main);
  }
  return m_main;
}

MainScreen* Navigator::showMain() {
  ensureMain()->showCentred();
  unload(m_select);
  return m_main;
}

void Navigator::follow(Caller caller, const ConnectStep& step) {
  Screen* callerScreen = caller == Caller::Select ? static_cast<Screen*>(m_select) : m_main;
  switch (step.next) {
    case NextScreen::Same:
      break;
    case NextScreen::Main:
      showMain();
      break;
    case NextScreen::NotFound:
    case NextScreen::CommPort:
      m_session.caller = caller;
      if (callerScreen) callerScreen->setEnabled(false);
      step.next == NextScreen::NotFound ? showNotFound() : showCommPort();
      break;
  }
  if (step.sendOffered && m_main) m_main->setOnline(true);
}

void Navigator::returnToCaller(bool focusConnect) {
  if (m_session.caller == Caller::Select) {
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

void Navigator::showNotFound() {
  delete m_notFound;
  m_notFound = new NotFoundScreen(m_session.portNumber, &m_help);
  connect(m_notFound, &NotFoundScreen::retryClicked, this, m_guard.command([this] { returnToCaller(false); }));
  connect(m_notFound, &NotFoundScreen::cancelClicked, this, m_guard.command([this] { returnToCaller(false); }));
  connect(m_notFound, &NotFoundScreen::changeClicked, this, m_guard.command([this] {
    showCommPort();
    unload(m_notFound);
  }));
  m_notFound->showCentred();
}

void Navigator::showCommPort() {
  delete m_commPort;
  m_commPort = new CommPortScreen(m_session.portNumber, m_programDir, &m_help);
  connect(m_commPort, &CommPortScreen::cancelled, this, m_guard.command([this] {
    returnToCaller(true);
    unloadCommPort();
  }));
  emit commPortMade(m_commPort);
  m_commPort->showCentred();
}

bool Navigator::makeRoomForEditor() {
  if (m_editor && m_editor->isVisible()) {
    m_editor->raise();
    m_editor->activateWindow();
    return false;
  }
  // One that is only waiting to be deleted goes now.
  delete m_editor;
  return true;
}

void Navigator::showEditor(RecordEditor* editor) {
  m_editor = editor;
  editor->showCentred();
  if (m_main) m_main->hide();
}

void Navigator::leaveEditor() {
  showMain();
  unload(m_editor);
}

void Navigator::unloadSignOn() { unload(m_signOn); }

void Navigator::unloadCommPort() { unload(m_commPort); }

void Navigator::unloadAll() {
  for (QWidget* screen : std::initializer_list<QWidget*>{m_signOn, m_select, m_main, m_commPort, m_notFound, m_editor})
    unload(screen);
}

}  // namespace tarvek
