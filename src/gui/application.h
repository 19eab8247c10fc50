#pragma once

#include <QObject>
#include <filesystem>
#include <memory>

#include "core/document.h"
#include "core/ending_prompts.h"
#include "core/program_folders.h"
#include "core/session.h"
#include "gui/command_guard.h"
#include "gui/editors.h"
#include "gui/file_commands.h"
#include "gui/navigator.h"
#include "gui/qt_progress.h"

namespace tarvek {

class HelpDesk;
class Prompts;
class SerialPort;
struct Link;

// The program: owns the program-wide state, the document and the pieces that work on
// them (the screens and the ways between them, the editors, the file commands), and
// runs the commands that talk to the Tarvek. Every command of a screen goes through
// one guard.
class Application : public QObject {
  Q_OBJECT

 public:
  Application(ProgramFolders folders, Prompts& prompts, SerialPort& port, QObject* parent = nullptr);
  // Everything in one program folder (foldersIn).
  Application(const std::filesystem::path& programDir, Prompts& prompts, SerialPort& port, QObject* parent = nullptr);
  ~Application() override;

  // Shows the sign-on screen; its timer runs the start-up two seconds later.
  void start();
  // The start-up: the port from setup.txt, then the selection screen.
  void startUp();

  Session& session() { return m_session; }
  Document& document() { return m_document; }
  HelpDesk& help() { return *m_help; }
  QtProgress& progress() { return m_progress; }

  SignOnScreen* signOnScreen() const { return m_screens.signOnScreen(); }
  SelectScreen* selectScreen() const { return m_screens.selectScreen(); }
  MainScreen* mainScreen() const { return m_screens.mainScreen(); }
  CommPortScreen* commPortScreen() const { return m_screens.commPortScreen(); }
  NotFoundScreen* notFoundScreen() const { return m_screens.notFoundScreen(); }
  Screen* editorScreen() const { return m_screens.editorScreen(); }

  void setPrinterSetUp(FileCommands::PrinterSetUp setUp) { m_files.setPrinterSetUp(std::move(setUp)); }

  // Ends the program when the system asks (SIGTERM, SIGINT): without a question, after
  // the exchanges of a Connect, read or send in progress, with open prompts closed and
  // the Tarvek signed off if it is online.
  void endOnSignal();

 signals:
  // The program ends: every screen is gone.
  void ended();

 private:
  void wireSelect(SelectScreen* select);
  void wireMain(MainScreen* main);
  void wireCommPort(CommPortScreen* commPort);

  // The commands that talk to the Tarvek.
  void connectSelect();
  void connectMain();
  void send();
  void signOffAndEnd();

  // Exit and closing the Main screen's window, and Exit on the Comm Port screen: a
  // programming changed since it was last read, opened, saved or sent is offered for
  // saving first. False: the program goes on as it was. A signal never asks.
  bool mayEnd();

  void startNew();
  void applyPort();
  void endProgram();
  void afterExchange();
  void finishEnding();

  Link link();

  ProgramFolders m_folders;
  EndingPrompts m_endingPrompts;
  Prompts& m_prompts;  // m_endingPrompts
  SerialPort& m_port;
  Session m_session;
  Document m_document;
  std::unique_ptr<HelpDesk> m_help;
  QtProgress m_progress;
  CommandGuard m_guard;
  Navigator m_screens;
  Editors m_editors;
  FileCommands m_files;

  bool m_ended = false;
  bool m_ending = false;  // a signal asked the program to end
};

}  // namespace tarvek
