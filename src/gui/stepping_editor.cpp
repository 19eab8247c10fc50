#include "gui/stepping_editor.h"

#include <QPushButton>

#include "core/entry_rules.h"
#include "core/session.h"

namespace tarvek {

SteppingEditor::SteppingEditor(const QString& objectName, const QString& caption, int clientWidthTwips,
                               int clientHeightTwips, const Programming& record, Session& session, QWidget* parent)
    : RecordEditor(objectName, caption, clientWidthTwips, clientHeightTwips, record, parent), m_session(session) {}

void SteppingEditor::connectSteps(QPushButton* previous, QPushButton* back, QPushButton* next) {
  connect(next, &QPushButton::clicked, this, [this] { step(entry::nextInput); });
  connect(previous, &QPushButton::clicked, this, [this] { step(entry::previousInput); });
  connectBack(back);
}

void SteppingEditor::showFirstInput() {
  m_session.currentInput = entry::validInput(m_session.currentInput);
  showInput();
}

int SteppingEditor::input() const { return m_session.currentInput; }

void SteppingEditor::step(int (*next)(int)) {
  if (!takeInput()) return;
  m_session.currentInput = next(m_session.currentInput);
  showInput();
}

void SteppingEditor::back() {
  if (takeInput()) emit backAccepted(m_record, false);
}

}  // namespace tarvek
