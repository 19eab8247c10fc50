#include <QApplication>
#include <QFont>

#include "app/application.h"
#include "app/qt_prompts.h"
#include "link/qt_serial_port.h"

int main(int argc, char* argv[]) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(tarvek::programTitle());
  QApplication::setQuitOnLastWindowClosed(false);

  const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
  tarvek::QtPrompts prompts;
  tarvek::QtSerialPort port(programDir);
  tarvek::Application app(programDir, prompts, port);
  QObject::connect(&app, &tarvek::Application::ended, &qtApp, &QCoreApplication::quit, Qt::QueuedConnection);
  app.start();
  return QApplication::exec();
}
