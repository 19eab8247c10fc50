#include "gui/progress_screen.h"

#include <QLabel>
#include <QProgressBar>

namespace tarvek {

ProgressScreen::ProgressScreen(ProgressKind kind, QWidget* parent)
    : Screen(kind == ProgressKind::Loading ? QStringLiteral("frmLoading") : QStringLiteral("frmSending"),
             kind == ProgressKind::Loading ? QStringLiteral("Loading") : QStringLiteral("Sending"),
             kind == ProgressKind::Loading ? 5610 : 5505, kind == ProgressKind::Loading ? 1815 : 2055, parent),
      m_bar(new QProgressBar(client())) {
  const bool loading = kind == ProgressKind::Loading;
  QLabel* text =
      addLabel(client(), "Label1",
               loading ? QStringLiteral("Loading programming values stored in the Tarvek.  This may take a few minutes")
                       : QStringLiteral("Sending data to the Tarvek.  This may take a few minutes."),
               360, 240, loading ? 4890 : 4785, 615);
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignCenter);
  m_bar->setObjectName(QStringLiteral("ProgressBar1"));
  m_bar->setRange(0, 100);
  m_bar->setValue(0);
  m_bar->setTextVisible(false);
  m_bar->setGeometry(px(360), px(loading ? 1080 : 1320), px(loading ? 4890 : 4785), px(375));
  // The operation ends the screen; the window's own close button does nothing.
  setClosingAllowed(false);
}

}  // namespace tarvek
