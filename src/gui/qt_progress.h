#pragma once

#include <QPointer>

#include "core/progress.h"
#include "gui/progress_screen.h"

namespace tarvek {

// The progress of the link operations on the progress screens.
class QtProgress : public Progress {
 public:
  ~QtProgress() override;

  void showProgress(ProgressKind kind) override;
  void setProgress(double value) override;
  void closeProgress() override;

  ProgressScreen* screen() const { return m_screen; }

 private:
  QPointer<ProgressScreen> m_screen;
};

}  // namespace tarvek
