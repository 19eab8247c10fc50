#include "app/application.h"

// Settings files and printing: Existing File on the selection screen, Save, Save As and
// Print on the Main screen.
namespace tarvek {

void Application::selectExisting() {}
void Application::mainSave() {}
void Application::mainSaveAs() {}
void Application::mainPrint() {}

}  // namespace tarvek
