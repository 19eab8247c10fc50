#include "gui/application.h"
#include "gui/global_editor.h"
#include "gui/input_specs_editor.h"
#include "gui/phone_numbers_editor.h"

// The three editors open from the Main screen's Edit buttons. Each works on a copy of
// its group of the record; only its Back writes the group back, after which the Main
// screen returns and the editor is unloaded.
namespace tarvek {

namespace {

// Whether a new editor may open: none is on screen, and an old one that is only
// waiting to be deleted goes now.
bool makeRoomForEditor(QPointer<Screen>& editor) {
  if (editor && editor->isVisible()) {
    editor->raise();
    editor->activateWindow();
    return false;
  }
  delete editor;
  return true;
}

void returnToMain(MainScreen* main, Screen* editor) {
  main->showCentred();
  editor->hide();
  editor->deleteLater();
}

}  // namespace

void Application::openGlobalEditor() {
  if (m_busy || !m_main || !makeRoomForEditor(m_editor)) return;
  auto* editor = new GlobalEditor(m_main->record().global, m_session.reducedFeatures, m_prompts, m_help.get());
  m_editor = editor;
  connect(editor, &GlobalEditor::backAccepted, this,
          [this, editor](const GlobalSettings& settings, bool greyHookswitch) {
            Programming record = m_main->record();
            record.global = settings;
            m_main->setRecord(record);
            if (greyHookswitch) m_main->setHookswitchGreyed(true);
            returnToMain(m_main, editor);
          });
  m_main->hide();
  editor->showCentred();
}

void Application::openInputSpecsEditor() {
  if (m_busy || !m_main || !makeRoomForEditor(m_editor)) return;
  m_session.currentInput = 1;
  auto* editor = new InputSpecsEditor(m_main->record().inputSpecs, m_session, m_prompts, m_help.get());
  m_editor = editor;
  connect(editor, &InputSpecsEditor::backAccepted, this, [this, editor](const std::vector<std::string>& lines) {
    Programming record = m_main->record();
    record.inputSpecs = lines;
    m_main->setRecord(record);
    returnToMain(m_main, editor);
  });
  editor->showCentred();
  m_main->hide();
}

void Application::openPhoneNumbersEditor() {
  if (m_busy || !m_main || !makeRoomForEditor(m_editor)) return;
  m_session.currentInput = 1;
  auto* editor = new PhoneNumbersEditor(m_main->record().phoneNumbers, m_session, m_prompts, m_help.get());
  m_editor = editor;
  connect(editor, &PhoneNumbersEditor::backAccepted, this, [this, editor](const std::vector<std::string>& lines) {
    Programming record = m_main->record();
    record.phoneNumbers = lines;
    m_main->setRecord(record);
    returnToMain(m_main, editor);
  });
  editor->showCentred();
  m_main->hide();
}

}  // namespace tarvek
