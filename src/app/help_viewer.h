#pragma once

#include <filesystem>
#include <string>

#include "app/screen.h"

class QPlainTextEdit;

namespace tarvek {

// frmHelpFile: shows one help text file as it is, read-only.
class HelpViewer : public Screen {
  Q_OBJECT

 public:
  HelpViewer(const std::filesystem::path& programDir, const std::string& topic, QWidget* parent = nullptr);

  QString text() const;

 private:
  QPlainTextEdit* m_text;
};

}  // namespace tarvek
