#pragma once

#include "gui/screen.h"

namespace tarvek {

// frmAbout: the program's name, a notice line and the version.
class AboutScreen : public Screen {
  Q_OBJECT

 public:
  explicit AboutScreen(QWidget* parent = nullptr);
};

// The notice line under the program's name on the sign-on and About screens.
QString noticeText();

}  // namespace tarvek
