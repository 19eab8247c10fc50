#include "gui/not_found_screen.h"

#include <QLabel>
#include <QPushButton>

namespace tarvek {

NotFoundScreen::NotFoundScreen(int port, HelpDesk* help, QWidget* parent)
    : Screen(QStringLiteral("frmNotFound"), QStringLiteral("Tarvek"), 4815, 1560, parent) {
  addLabel(client(), "lblNotFound", QStringLiteral("Tarvek not found on Comm"), 1170, 315, 2310, 255)
      ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  addLabel(client(), "lblCommPort", QString::number(port), 3510, 315, 600, 255);
  QPushButton* retry = addButton(client(), "cmdRetry", QStringLiteral("Retry"), 360, 765, 1095, 375);
  QPushButton* change = addButton(client(), "cmdChange", QStringLiteral("Change Comm Port"), 1560, 765, 1695, 375);
  QPushButton* cancel = addButton(client(), "cmdCancel", QStringLiteral("Cancel"), 3360, 765, 1095, 375);
  connect(retry, &QPushButton::clicked, this, &NotFoundScreen::retryClicked);
  connect(change, &QPushButton::clicked, this, &NotFoundScreen::changeClicked);
  connect(cancel, &QPushButton::clicked, this, &NotFoundScreen::cancelClicked);

  addHelpMenu(help, "NotFound");
  // Closing the window gives the calling screen back, as Cancel does.
  setClosingAllowed(false);
  connect(this, &Screen::closeRequested, this, &NotFoundScreen::cancelClicked);
}

}  // namespace tarvek
