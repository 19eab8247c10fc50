#include "app/application.h"

// The three editors open from the Main screen's Edit buttons.
namespace tarvek {

void Application::openGlobalEditor() {}
void Application::openInputSpecsEditor() {}
void Application::openPhoneNumbersEditor() {}

}  // namespace tarvek
