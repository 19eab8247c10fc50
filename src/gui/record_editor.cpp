#include "gui/record_editor.h"

#include <QPushButton>

namespace tarvek {

RecordEditor::RecordEditor(const QString& objectName, const QString& caption, int clientWidthTwips,
                           int clientHeightTwips, const Programming& record, QWidget* parent)
    : Screen(objectName, caption, clientWidthTwips, clientHeightTwips, parent), m_record(record) {
  setClosingAllowed(false);
  connect(this, &Screen::closeRequested, this, [this] { back(); });
}

void RecordEditor::connectBack(QPushButton* button) {
  connect(button, &QPushButton::clicked, this, [this] { back(); });
}

}  // namespace tarvek
