#include "gui/print_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace tarvek {

PrintDialog::PrintDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent) {
  setObjectName(QStringLiteral("dlgPrint"));
  auto* buttons = findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
  if (!buttons) return;
  m_preview = buttons->addButton(QStringLiteral("Pre&view"), QDialogButtonBox::ActionRole);
  m_preview->setObjectName(QStringLiteral("cmdPreview"));
  // Accepting applies the chosen printer and page to the QPrinter, which the preview shows.
  connect(m_preview, &QPushButton::clicked, this, [this] {
    m_previewChosen = true;
    accept();
    // The dialog stays open when it refuses the settings; a later Print is a print.
    if (isVisible()) m_previewChosen = false;
  });
}

PrintChoice PrintDialog::choose() {
  m_previewChosen = false;
  if (exec() != QDialog::Accepted) return PrintChoice::Cancel;
  return m_previewChosen ? PrintChoice::Preview : PrintChoice::Print;
}

}  // namespace tarvek
