#include "support/app_harness.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <stdexcept>

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

void missing(const QWidget* screen, const char* name) {
  const QString what =
      QStringLiteral("%1 is missing from %2")
          .arg(QLatin1String(name), screen ? screen->objectName() : QStringLiteral("a screen not there"));
  QTest::qFail(qPrintable(what), __FILE__, __LINE__);
  throw std::runtime_error(what.toStdString());
}

void click(QWidget* screen, const char* buttonName) {
  auto* button = child<QPushButton>(screen, buttonName);
  QVERIFY2(button->isEnabled(), buttonName);
  QTest::mouseClick(button, Qt::LeftButton);
}

void trigger(QWidget* screen, const char* actionName) {
  auto* action = screen ? screen->findChild<QAction*>(QString::fromLatin1(actionName)) : nullptr;
  if (!action) missing(screen, actionName);
  QVERIFY2(action->isEnabled(), actionName);
  action->trigger();
}

bool shown(QWidget* screen) { return screen && screen->isVisible(); }

QString labelText(QWidget* screen, const char* name) { return child<QLabel>(screen, name)->text(); }

QStringList listLines(QWidget* screen, const char* name) {
  QStringList lines;
  auto* list = child<QListWidget>(screen, name);
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

QStringList toQt(const std::vector<std::string>& lines) {
  QStringList result;
  for (const auto& line : lines) result << fromWindows1252(line);
  return result;
}

}  // namespace tarvek::test
