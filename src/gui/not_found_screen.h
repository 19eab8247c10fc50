#pragma once

#include "gui/screen.h"

namespace tarvek {

// frmNotFound: no Tarvek answered on the port.
class NotFoundScreen : public Screen {
  Q_OBJECT

 public:
  NotFoundScreen(int port, HelpDesk* help, QWidget* parent = nullptr);

 signals:
  void retryClicked();
  void changeClicked();
  void cancelClicked();
};

}  // namespace tarvek
