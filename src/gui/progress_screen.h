#pragma once

#include "core/progress.h"
#include "gui/screen.h"

class QProgressBar;

namespace tarvek {

// frmLoading and frmSending: a line of text and a progress bar while the programming
// travels.
class ProgressScreen : public Screen {
  Q_OBJECT

 public:
  explicit ProgressScreen(ProgressKind kind, QWidget* parent = nullptr);

  QProgressBar* bar() const { return m_bar; }

 private:
  QProgressBar* m_bar;
};

}  // namespace tarvek
