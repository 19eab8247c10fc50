#pragma once

#include <filesystem>
#include <string>

#include "app/screen.h"

class QPlainTextEdit;

namespace tarvek {

// frmHelpFile: shows one help text file of the help folder as it is, read-only.
class HelpViewer : public Screen {
  Q_OBJECT

 public:
  HelpViewer(const std::filesystem::path& helpDir, const std::string& topic, QWidget* parent = nullptr);

  QString text() const;

 private:
  QPlainTextEdit* m_text;
};

}  // namespace tarvek
