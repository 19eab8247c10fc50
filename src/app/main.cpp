#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QStandardPaths>
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

  // Built in place or copied, the executable's folder is the program folder; installed or
  // read-only, the program keeps its files in the user's folders (see chooseProgramFolders).
  // The build sets TARVEK_INSTALLED_HELP_DIR: the install's help folder seen from its bin folder.
  const std::filesystem::path executableDir = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  const tarvek::ProgramFolders folders = tarvek::chooseProgramFolders(
      {executableDir, executableDir / TARVEK_INSTALLED_HELP_DIR,
       tarvek::userProgramFolder(qgetenv("XDG_DATA_HOME").constData(), qgetenv("HOME").constData()),
       QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).toStdString()},
      [](const std::filesystem::path& folder) { return QFileInfo(QFile::decodeName(folder.c_str())).isWritable(); });
  std::error_code ignored;  // a folder that cannot be made shows when a file in it cannot be saved
  std::filesystem::create_directories(folders.program, ignored);
  std::filesystem::create_directories(folders.saved, ignored);

  tarvek::QtPrompts prompts;
  tarvek::QtSerialPort port(folders.program);
  tarvek::Application app(folders, prompts, port);
  QObject::connect(&app, &tarvek::Application::ended, &qtApp, &QCoreApplication::quit, Qt::QueuedConnection);
  tarvek::TerminationSignals termination;
  QObject::connect(&termination, &tarvek::TerminationSignals::received, &app, &tarvek::Application::endOnSignal);
  app.start();
  return QApplication::exec();
}
