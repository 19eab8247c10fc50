#pragma once

#include "gui/screen.h"

class QTimer;

namespace tarvek {

// frmSignOn: shown for two seconds while the program starts.
class SignOnScreen : public Screen {
  Q_OBJECT

 public:
  explicit SignOnScreen(QWidget* parent = nullptr);

  QTimer* timer() const { return m_timer; }

 signals:
  void timeUp();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTimer* m_timer;
};

}  // namespace tarvek
