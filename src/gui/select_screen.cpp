#include "gui/select_screen.h"

#include <QGroupBox>
#include <QPushButton>

namespace tarvek {

SelectScreen::SelectScreen(HelpDesk* help, QWidget* parent)
    : Screen(QStringLiteral("frmSelect"), QStringLiteral("Programming Selection"), 4680, 4710, parent) {
  QGroupBox* online = addFrame(client(), "fraOnline", QStringLiteral("Online Programming"), 1200, 480, 2295, 975);
  m_connect = addButton(online, "cmdConnect", QStringLiteral("Connect"), 480, 360, 1335, 375);
  QGroupBox* offline = addFrame(client(), "fraOffline", QStringLiteral("Offline Programming"), 1200, 1800, 2295, 1695);
  QPushButton* newButton = addButton(offline, "cmdNew", QStringLiteral("New"), 480, 360, 1335, 375);
  QPushButton* existing = addButton(offline, "cmdExisting", QStringLiteral("Existing File"), 480, 960, 1335, 375);
  QPushButton* exit = addButton(client(), "cmdExit", QStringLiteral("Exit"), 1680, 3840, 1335, 375);

  connect(m_connect, &QPushButton::clicked, this, &SelectScreen::connectClicked);
  connect(newButton, &QPushButton::clicked, this, &SelectScreen::newClicked);
  connect(existing, &QPushButton::clicked, this, &SelectScreen::existingClicked);
  connect(exit, &QPushButton::clicked, this, &SelectScreen::exitClicked);

  addHelpMenu(help, "Select");
  setClosingAllowed(false);
  connect(this, &Screen::closeRequested, this, &SelectScreen::exitClicked);
}

}  // namespace tarvek
