#include "gui/about_screen.h"

#include <QLabel>

#include "gui/help_desk.h"

namespace tarvek {

QString noticeText() { return QStringLiteral("Tarvek PC Programmer. Copyright (C) 2026."); }

AboutScreen::AboutScreen(QWidget* parent)
    : Screen(QStringLiteral("frmAbout"), QStringLiteral("About"), 4800, 1800, parent) {
  QLabel* name = addLabel(client(), "lblName", QStringLiteral("Tarvek Programmer"), 0, 300, 4800, 330);
  QLabel* notice = addLabel(client(), "lblNotice", noticeText(), 0, 750, 4800, 255);
  QLabel* version = addLabel(client(), "lblVersion", versionText(), 0, 1200, 4800, 255);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  name->setFont(bold);
  for (QLabel* label : {name, notice, version}) label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

}  // namespace tarvek
