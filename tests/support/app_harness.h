#pragma once

#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "gui/application.h"
#include "port/text_codec.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tarvek::test {

// The real application on a temporary program folder, with scripted prompts and a
// scripted serial port.
struct AppHarness {
  AppHarness();

  // Runs the start-up at once instead of after the sign-on's two seconds.
  SelectScreen* startAtSelect();
  MainScreen* startWithNew();

  TempDir folder;
  ScriptedPrompts prompts;
  ScriptedPort port;
  std::unique_ptr<Application> app;
  bool ended = false;
};

// Fails the test, naming what is missing, and ends it: nothing after could use it.
[[noreturn]] void missing(const QWidget* screen, const char* name);

// The named child of a screen; a missing one (or screen) fails the test.
template <typename T>
T* child(QWidget* screen, const char* name) {
  T* found = screen ? screen->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  if (!found) missing(screen, name);
  return found;
}

void click(QWidget* screen, const char* buttonName);
// Chooses a menu command of the screen.
void trigger(QWidget* screen, const char* actionName);

// True when a screen exists and is shown.
bool shown(QWidget* screen);

QString labelText(QWidget* screen, const char* name);
// The lines of a list box.
QStringList listLines(QWidget* screen, const char* name);
QStringList toQt(const std::vector<std::string>& lines);

}  // namespace tarvek::test
