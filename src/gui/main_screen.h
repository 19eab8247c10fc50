#pragma once

#include "gui/screen.h"

class QAction;
class QListWidget;

namespace tarvek {

class Document;

// frmMain: shows the whole record and starts every other action.
class MainScreen : public Screen {
  Q_OBJECT

 public:
  explicit MainScreen(HelpDesk* help, QWidget* parent = nullptr);

  // Shows the document's record, with the Hookswitch Flash row greyed when the unit
  // takes no such setting.
  void display(const Document& document);

  // Connect shown and Send disabled while offline; the reverse once online.
  void setOnline(bool online);

  QPushButton* connectButton() const { return m_connect; }
  QPushButton* sendButton() const { return m_send; }

 signals:
  void editGlobalClicked();
  void editInputSpecsClicked();
  void editPhoneNumbersClicked();
  void connectClicked();
  void sendClicked();
  void exitClicked();
  void saveTriggered();
  void saveAsTriggered();
  void printTriggered();
  void compareTriggered();

 private:
  QLabel* addSettingRow(QWidget* frame, const char* captionName, const QString& caption, const char* valueName, int top,
                        int valueHeight = 255);

  QListWidget* m_inputSpecs;
  QListWidget* m_phoneNumbers;
  QLabel* m_function;
  QLabel* m_securityCode;
  QLabel* m_accessCode;
  QLabel* m_ringDelay;
  QLabel* m_ringbackLimit;
  QLabel* m_dialingSpeed;
  QLabel* m_callProgress;
  QLabel* m_forced;
  QLabel* m_hookswitchCaption;
  QLabel* m_hookswitch;
  QPushButton* m_connect;
  QPushButton* m_send;
};

}  // namespace tarvek
