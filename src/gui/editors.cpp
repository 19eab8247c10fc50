#include "gui/editors.h"

#include "core/document.h"
#include "core/session.h"
#include "gui/global_editor.h"
#include "gui/input_specs_editor.h"
#include "gui/navigator.h"
#include "gui/phone_numbers_editor.h"

namespace tarvek {

Editors::Editors(Document& document, Session& session, Prompts& prompts, HelpDesk& help, Navigator& screens,
                 QObject* parent)
    : QObject(parent), m_document(document), m_session(session), m_prompts(prompts), m_help(help), m_screens(screens) {}

void Editors::open(const std::function<RecordEditor*()>& make) {
  if (!m_screens.makeRoomForEditor()) return;
  RecordEditor* editor = make();
  connect(editor, &RecordEditor::backAccepted, this, [this](const Programming& record, bool greyHookswitch) {
    m_document.setRecord(record);
    if (greyHookswitch) m_document.greyHookswitch();
    m_screens.leaveEditor();
  });
  m_screens.showEditor(editor);
}

void Editors::openGlobal() {
  open([this] { return new GlobalEditor(m_document.record(), m_session.reducedFeatures, m_prompts, &m_help); });
}

void Editors::openInputSpecs() {
  open([this] {
    m_session.currentInput = 1;
    return new InputSpecsEditor(m_document.record(), m_session, m_prompts, &m_help);
  });
}

void Editors::openPhoneNumbers() {
  open([this] {
    m_session.currentInput = 1;
    return new PhoneNumbersEditor(m_document.record(), m_session, m_prompts, &m_help);
  });
}

}  // namespace tarvek
