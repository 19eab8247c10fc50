#pragma once

#include <QPointer>

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

// Shows the progress screens for the link operations.
class ProgressWindows : public ProgressDisplay {
 public:
  ~ProgressWindows() override;

  void showProgress(ProgressKind kind) override;
  void setProgress(double value) override;
  void closeProgress() override;

  ProgressScreen* screen() const { return m_screen; }

 private:
  QPointer<ProgressScreen> m_screen;
};

}  // namespace tarvek
