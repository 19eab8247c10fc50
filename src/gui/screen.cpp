#include "gui/screen.h"

#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include "gui/help_desk.h"

namespace tarvek {

Screen::Screen(const QString& objectName, const QString& caption, int clientWidthTwips, int clientHeightTwips,
               QWidget* parent)
    : QMainWindow(parent), m_client(new QWidget(this)) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Sized for the layouts' 8-point sans serif; Liberation Sans has its metrics.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  setFont(font);
  m_client->setObjectName(objectName + QStringLiteral("Client"));
  m_client->setFixedSize(px(clientWidthTwips), px(clientHeightTwips));
  setCentralWidget(m_client);
}

void Screen::addHelpMenu(HelpDesk* help, const char* topic) {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("&Help"));
  menu->setObjectName(QStringLiteral("mnuHelp"));
  QAction* about = menu->addAction(QStringLiteral("&About"));
  about->setObjectName(QStringLiteral("mnuHelpAbout"));
  QAction* instructions = menu->addAction(QStringLiteral("&Instructions"));
  instructions->setObjectName(QStringLiteral("mnuHelpInstructions"));
  if (!help) return;
  const std::string key = topic;
  connect(about, &QAction::triggered, this, [help] { help->showAbout(); });
  connect(instructions, &QAction::triggered, this, [help, key] { help->showInstructions(key); });
}

void Screen::showCentred() {
  adjustSize();
  setFixedSize(sizeHint());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
  activateWindow();
}

void Screen::closeEvent(QCloseEvent* event) {
  if (m_closingAllowed) {
    event->accept();
    return;
  }
  // The screen decides what closing means (Exit, Back); the window stays until it does.
  event->ignore();
  emit closeRequested();
}

QPushButton* Screen::addButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                               int height) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  // Enter presses the focused button, as Space does; outside a dialog nothing else changes.
  button->setAutoDefault(true);
  button->setGeometry(px(left), px(top), px(width), px(height));
  return button;
}

QLabel* Screen::addLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                         int height) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(px(left), px(top), px(width), px(height));
  return label;
}

QGroupBox* Screen::addFrame(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                            int height) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setGeometry(px(left), px(top), px(width), px(height));
  return frame;
}

}  // namespace tarvek
