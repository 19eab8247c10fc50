#include "support/app_harness.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTest>

#include "core/programming.h"

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

void trigger(QWidget* screen, const char* actionName) {
  auto* action = screen ? screen->findChild<QAction*>(QString::fromLatin1(actionName)) : nullptr;
  QVERIFY2(action, actionName);
  QVERIFY2(action->isEnabled(), actionName);
  action->trigger();
}

void savePicture(QWidget* screen, const QString& name) {
  const QString folder = qEnvironmentVariable("TARVEK_SCREENS_DIR", QStringLiteral("screens"));
  QDir().mkpath(folder);
  screen->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

bool shown(QWidget* screen) { return screen && screen->isVisible(); }

QString labelText(QWidget* screen, const char* name) {
  auto* label = child<QLabel>(screen, name);
  return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

QStringList listLines(QWidget* screen, const char* name) {
  QStringList lines;
  auto* list = child<QListWidget>(screen, name);
  if (!list) return {QStringLiteral("<missing %1>").arg(QLatin1String(name))};
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

QStringList toQt(const std::vector<std::string>& lines) {
  QStringList result;
  for (const auto& line : lines) result << fromWindows1252(line);
  return result;
}

}  // namespace tarvek::test
