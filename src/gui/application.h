#pragma once

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/ending_prompts.h"
#include "core/program_folders.h"
#include "core/programming.h"
#include "core/session.h"
#include "gui/comm_port_screen.h"
#include "gui/main_screen.h"
#include "gui/not_found_screen.h"
#include "gui/qt_progress.h"
#include "gui/select_screen.h"
#include "gui/sign_on_screen.h"

class QPrinter;

namespace tarvek {

enum class PrintChoice;
class HelpDesk;
class Prompts;
class SerialPort;
struct Link;

// The program: owns the program-wide state and the screens, creates each screen on
// first use, and moves between them.
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
  Prompts& prompts() { return m_prompts; }
  HelpDesk& help() { return *m_help; }
  QtProgress& progress() { return m_progress; }
  const ProgramFolders& folders() const { return m_folders; }

  SignOnScreen* signOnScreen() const { return m_signOn; }
  SelectScreen* selectScreen() const { return m_select; }
  MainScreen* mainScreen() const { return m_main; }
  CommPortScreen* commPortScreen() const { return m_commPort; }
  NotFoundScreen* notFoundScreen() const { return m_notFound; }
  Screen* editorScreen() const { return m_editor; }

  // The print dialog of Print: sets the printer up and says whether to print, preview or
  // stop. Unset, it is the real dialog; tests set it to print into a PDF file.
  using PrinterSetUp = std::function<PrintChoice(QPrinter&)>;
  void setPrinterSetUp(PrinterSetUp setUp) { m_setUpPrinter = std::move(setUp); }

  bool hasEnded() const { return m_ended; }
  // True while an exchange with the Tarvek runs; screens take no commands meanwhile.
  bool busy() const { return m_busy; }

  // Ends the program when the system asks (SIGTERM, SIGINT): without a question, after
  // the exchanges of a Connect, read or send in progress, with open prompts closed and
  // the Tarvek signed off if it is online.
  void endOnSignal();

 signals:
  // The program ends: every screen is gone.
  void ended();

 private:
  // Screens of the shell.
  SelectScreen* showSelect();
  MainScreen* ensureMain();
  void showMain(const Programming& record);
  void showNotFound();
  void showCommPort();
  void returnToCaller(bool focusConnect);
  void endProgram();
  void afterOperation();
  void finishEnding();

  // Commands of the selection screen.
  void selectConnect();
  void selectNew();
  void selectExisting();

  // Commands of the Main screen.
  void mainConnect();
  void mainSend();
  void mainExit();
  void openGlobalEditor();
  void openInputSpecsEditor();
  void openPhoneNumbersEditor();
  void mainSave();
  void mainSaveAs();
  void mainPrint();

  // Commands of the Comm Port screen.
  void commPortApply();
  void commPortExit();

  Link link();

  ProgramFolders m_folders;
  EndingPrompts m_endingPrompts;
  Prompts& m_prompts;  // m_endingPrompts
  SerialPort& m_port;
  Session m_session;
  std::unique_ptr<HelpDesk> m_help;
  QtProgress m_progress;

  QPointer<SignOnScreen> m_signOn;
  QPointer<SelectScreen> m_select;
  QPointer<MainScreen> m_main;
  QPointer<CommPortScreen> m_commPort;
  QPointer<NotFoundScreen> m_notFound;
  QPointer<Screen> m_editor;

  PrinterSetUp m_setUpPrinter;

  bool m_ended = false;
  bool m_busy = false;
  bool m_ending = false;  // a signal asked the program to end
};

}  // namespace tarvek
