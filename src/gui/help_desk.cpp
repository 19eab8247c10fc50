#include "gui/help_desk.h"

#include "core/prompts.h"
#include "core/session.h"
#include "gui/about_screen.h"
#include "gui/help_viewer.h"

namespace tarvek {

QString versionText() {
  return QStringLiteral("Version %1.%2.%3")
      .arg(TARVEK_VERSION_MAJOR)
      .arg(TARVEK_VERSION_MINOR)
      .arg(TARVEK_VERSION_PATCH);
}

namespace {

// A window closed by the user is deleted later; until then it is gone for the user
// all the same, and must not be shown again only to vanish a moment after.
template <typename Window>
void dropClosed(QPointer<Window>& window) {
  if (window && !window->isVisible()) delete window.data();
}

// An open window comes to the front where the user left it, restored if minimised.
void bringToFront(QWidget* window) {
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->raise();
  window->activateWindow();
}

}  // namespace

HelpDesk::HelpDesk(Session& session, Prompts& prompts, std::filesystem::path helpDir, QObject* parent)
    : QObject(parent), m_session(session), m_prompts(prompts), m_helpDir(std::move(helpDir)) {}

HelpDesk::~HelpDesk() {
  delete m_viewer;
  delete m_about;
}

void HelpDesk::showInstructions(const std::string& topic) {
  m_session.helpTopic = topic;
  dropClosed(m_viewer);
  if (m_viewer) return bringToFront(m_viewer);
  m_viewer = new HelpViewer(m_helpDir, topic);
  m_viewer->setAttribute(Qt::WA_DeleteOnClose);
  m_viewer->showCentred();
  if (const auto& refusal = m_viewer->refusal())
    m_prompts.show(Message{"The help file " + refusal->file.string() + " cannot be shown.",
                           {},
                           Buttons::Ok,
                           Icon::Warning,
                           refusal->reason});
}

void HelpDesk::showAbout() {
  dropClosed(m_about);
  if (m_about) return bringToFront(m_about);
  m_about = new AboutScreen;
  m_about->setAttribute(Qt::WA_DeleteOnClose);
  m_about->showCentred();
}

}  // namespace tarvek
