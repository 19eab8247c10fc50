#pragma once

#include "gui/screen.h"

class QPushButton;

namespace tarvek {

// frmSelect: online (Connect) or offline (New, Existing File) programming.
class SelectScreen : public Screen {
  Q_OBJECT

 public:
  explicit SelectScreen(HelpDesk* help, QWidget* parent = nullptr);

  QPushButton* connectButton() const { return m_connect; }

 signals:
  void connectClicked();
  void newClicked();
  void existingClicked();
  void exitClicked();

 private:
  QPushButton* m_connect;
};

}  // namespace tarvek
