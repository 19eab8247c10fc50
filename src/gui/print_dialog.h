#pragma once

#include <QPrintDialog>

class QPushButton;

namespace tarvek {

// What the user chose in the print dialog.
enum class PrintChoice { Cancel, Print, Preview };

// The print dialog with a Preview button beside Print, so the report can be checked
// before paper is used. Where the platform's dialog has no buttons of ours to join
// (a native dialog), it offers Print and Cancel only.
class PrintDialog : public QPrintDialog {
  Q_OBJECT

 public:
  explicit PrintDialog(QPrinter* printer, QWidget* parent = nullptr);

  // Shows the dialog and waits for the choice; Preview keeps the settings chosen.
  PrintChoice choose();

  QPushButton* previewButton() const { return m_preview; }

 private:
  QPushButton* m_preview = nullptr;
  bool m_previewChosen = false;
};

}  // namespace tarvek
