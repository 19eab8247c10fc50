#include "support/app_harness.h"

#include <QDir>
#include <QPixmap>
#include <QTest>

#include "record/programming.h"

namespace tarvek::test {

AppHarness::AppHarness() : app(std::make_unique<Application>(folder.path(), prompts, port)) {
  QObject::connect(app.get(), &Application::ended, [this] { ended = true; });
}

SelectScreen* AppHarness::startAtSelect() {
  app->startUp();
  return app->selectScreen();
}

MainScreen* AppHarness::startWithNew() {
  startAtSelect();
  click(app->selectScreen(), "cmdNew");
  return app->mainScreen();
}

void click(QWidget* screen, const char* buttonName) {
  auto* button = child<QPushButton>(screen, buttonName);
  QVERIFY2(button, buttonName);
  QVERIFY2(button->isEnabled(), buttonName);
  QTest::mouseClick(button, Qt::LeftButton);
}

void savePicture(QWidget* screen, const QString& name) {
  const QString folder = qEnvironmentVariable("TARVEK_SCREENS_DIR", QStringLiteral("screens"));
  QDir().mkpath(folder);
  screen->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

bool shown(QWidget* screen) { return screen && screen->isVisible(); }

}  // namespace tarvek::test
