#pragma once

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <string>

#include "gui/about_screen.h"
#include "gui/help_viewer.h"

namespace tarvek {

struct Session;
class Prompts;

// Keeps the one help viewer and the one About screen, opened from any screen's Help
// menu without blocking it.
class HelpDesk : public QObject {
  Q_OBJECT

 public:
  // The help texts are read from helpDir; a help file that cannot be shown for what it is
  // (a named pipe, a device) is reported through prompts.
  HelpDesk(Session& session, Prompts& prompts, std::filesystem::path helpDir, QObject* parent = nullptr);
  ~HelpDesk() override;

  // Sets the help topic and shows the viewer; an open viewer only comes to the front.
  void showInstructions(const std::string& topic);
  void showAbout();

  HelpViewer* viewer() const { return m_viewer; }
  AboutScreen* about() const { return m_about; }

 private:
  Session& m_session;
  Prompts& m_prompts;
  std::filesystem::path m_helpDir;
  QPointer<HelpViewer> m_viewer;
  QPointer<AboutScreen> m_about;
};

// "Version 1.0.0": the build's version, as the sign-on and About screens show it.
QString versionText();

}  // namespace tarvek
