#include "gui/qt_progress.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <cmath>

namespace tarvek {

QtProgress::~QtProgress() { delete m_screen; }

void QtProgress::showProgress(ProgressKind kind) {
  delete m_screen;
  m_screen = new ProgressScreen(kind);
  m_screen->showCentred();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProgress::setProgress(double value) {
  if (!m_screen) return;
  m_screen->bar()->setValue(static_cast<int>(std::lround(value)));
}

void QtProgress::closeProgress() {
  delete m_screen;
  m_screen = nullptr;
}

}  // namespace tarvek
