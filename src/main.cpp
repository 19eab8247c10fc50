#include <QApplication>

#include "gui/application.h"
#include "gui/qt_prompts.h"
#include "port/executable_folders.h"
#include "port/qt_serial_port.h"
#include "port/termination_signals.h"

int main(int argc, char* argv[]) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(tarvek::programTitle());
  QApplication::setDesktopFileName(QStringLiteral("tarvek-programmer"));
  QApplication::setQuitOnLastWindowClosed(false);

  const tarvek::ProgramFolders folders = tarvek::executableFolders();

  tarvek::QtPrompts prompts;
  tarvek::QtSerialPort port(folders.program);
  tarvek::Application app(folders, prompts, port);
  QObject::connect(&app, &tarvek::Application::ended, &qtApp, &QCoreApplication::quit, Qt::QueuedConnection);
  tarvek::TerminationSignals termination;
  QObject::connect(&termination, &tarvek::TerminationSignals::received, &app, &tarvek::Application::endOnSignal);
  app.start();
  return QApplication::exec();
}
