#pragma once

#include <QObject>
#include <QPointer>
#include <filesystem>

#include "core/connect_flow.h"
#include "core/session.h"
#include "gui/comm_port_screen.h"
#include "gui/main_screen.h"
#include "gui/not_found_screen.h"
#include "gui/record_editor.h"
#include "gui/select_screen.h"
#include "gui/sign_on_screen.h"

namespace tarvek {

class CommandGuard;
class Document;
class HelpDesk;

// The screens of the program and the ways between them: each screen is made when it is
// first shown, one at a time, and unloaded when it is left. The Main screen shows the
// document and follows its changes; the caller name says where the port screens return.
// The Comm Port screen names the devices the ports mean in the program folder.
class Navigator : public QObject {
  Q_OBJECT

 public:
  Navigator(Session& session, Document& document, HelpDesk& help, CommandGuard& guard, std::filesystem::path programDir,
            QObject* parent = nullptr);
  ~Navigator() override;

  SignOnScreen* showSignOn();
  SelectScreen* showSelect();
  // The Main screen with the document; the selection screen goes.
  MainScreen* showMain();
  // Where a Connect on the caller's screen leads.
  void follow(Caller caller, const ConnectStep& step);
  // Retry, Cancel and Apply: the caller's screen, shown and enabled again.
  void returnToCaller(bool focusConnect);

  // An editor takes the Main screen's place until its Back. None opens while one is on
  // the screen: that one comes to the front, and false is returned.
  bool makeRoomForEditor();
  void showEditor(RecordEditor* editor);
  void leaveEditor();

  void unloadSignOn();
  void unloadCommPort();
  // The program ends: every screen goes.
  void unloadAll();

  SignOnScreen* signOnScreen() const { return m_signOn; }
  SelectScreen* selectScreen() const { return m_select; }
  MainScreen* mainScreen() const { return m_main; }
  CommPortScreen* commPortScreen() const { return m_commPort; }
  NotFoundScreen* notFoundScreen() const { return m_notFound; }
  RecordEditor* editorScreen() const { return m_editor; }

 signals:
  // A screen was made; its commands are to be connected.
  void selectMade(tarvek::SelectScreen* screen);
  void mainMade(tarvek::MainScreen* screen);
  void commPortMade(tarvek::CommPortScreen* screen);

 private:
  MainScreen* ensureMain();
  void showNotFound();
  void showCommPort();

  Session& m_session;
  Document& m_document;
  HelpDesk& m_help;
  CommandGuard& m_guard;
  std::filesystem::path m_programDir;

  QPointer<SignOnScreen> m_signOn;
  QPointer<SelectScreen> m_select;
  QPointer<MainScreen> m_main;
  QPointer<CommPortScreen> m_commPort;
  QPointer<NotFoundScreen> m_notFound;
  QPointer<RecordEditor> m_editor;
};

}  // namespace tarvek
