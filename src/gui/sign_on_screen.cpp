#include "gui/sign_on_screen.h"

#include <QLabel>
#include <QShowEvent>
#include <QTimer>

#include "gui/about_screen.h"
#include "gui/help_desk.h"

namespace tarvek {

namespace {

QLabel* centred(QLabel* label, int pointSize, bool bold, bool italic) {
  QFont font(QStringLiteral("Times New Roman"));
  font.setStyleHint(QFont::Serif);
  font.setPointSize(pointSize);
  font.setBold(bold);
  font.setItalic(italic);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

SignOnScreen::SignOnScreen(QWidget* parent)
    : Screen(QStringLiteral("frmSignOn"), QStringLiteral("Tarvek PC Programmer"), 6000, 3900, parent),
      m_timer(new QTimer(this)) {
  client()->setAutoFillBackground(true);
  QPalette palette = client()->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  client()->setPalette(palette);

  centred(addLabel(client(), "lblTitle", QStringLiteral("PC Programmer"), 0, 360, 6000, 600), 22, true, false);
  centred(addLabel(client(), "lblFor", QStringLiteral("for "), 0, 1080, 6000, 330), 10, true, true);
  centred(addLabel(client(), "lblType", QStringLiteral("Tarvek"), 0, 1440, 6000, 450), 14, false, false);
  centred(addLabel(client(), "lblNotice", noticeText(), 0, 2400, 6000, 300), 9, false, false);
  centred(addLabel(client(), "lblVersion", versionText(), 0, 2820, 6000, 300), 9, false, false);

  m_timer->setObjectName(QStringLiteral("tmrSignOn"));
  // A coarse timer may end up to 5% early: the screen stays its full two seconds.
  m_timer->setTimerType(Qt::PreciseTimer);
  m_timer->setInterval(2000);
  m_timer->setSingleShot(true);
  connect(m_timer, &QTimer::timeout, this, &SignOnScreen::timeUp);
}

void SignOnScreen::showEvent(QShowEvent* event) {
  Screen::showEvent(event);
  // The two seconds count from the moment the screen appears.
  if (!event->spontaneous()) m_timer->start();
}

}  // namespace tarvek
