#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <system_error>

#include "app/application.h"
#include "app/program_folders.h"
#include "app/qt_prompts.h"
#include "app/termination_signals.h"
#include "link/qt_serial_port.h"

int main(int argc, char* argv[]) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(tarvek::programTitle());
  QApplication::setDesktopFileName(QStringLiteral("tarvek-programmer"));
  QApplication::setQuitOnLastWindowClosed(false);

  // Built in place, the executable's folder is the program folder; installed, the
  // program keeps its files in a per-user folder (see chooseProgramFolders). The build
  // sets TARVEK_INSTALLED_HELP_DIR: the install's help folder seen from its bin folder.
  const std::filesystem::path executableDir = QCoreApplication::applicationDirPath().toStdString();
  const tarvek::ProgramFolders folders = tarvek::chooseProgramFolders(
      {executableDir, executableDir / TARVEK_INSTALLED_HELP_DIR,
       tarvek::userProgramFolder(qgetenv("XDG_DATA_HOME").constData(), qgetenv("HOME").constData())},
      [](const std::filesystem::path& folder) {
        return QFileInfo(QString::fromStdString(folder.string())).isWritable();
      });
  std::error_code ignored;  // a folder that cannot be made shows when a file in it cannot be saved
  std::filesystem::create_directories(folders.program, ignored);

  tarvek::QtPrompts prompts;
  tarvek::QtSerialPort port(folders.program);
  tarvek::Application app(folders.program, folders.help, prompts, port);
  QObject::connect(&app, &tarvek::Application::ended, &qtApp, &QCoreApplication::quit, Qt::QueuedConnection);
  tarvek::TerminationSignals termination;
  QObject::connect(&termination, &tarvek::TerminationSignals::received, &app, &tarvek::Application::endOnSignal);
  app.start();
  return QApplication::exec();
}
