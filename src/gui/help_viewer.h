#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "gui/screen.h"

class QPlainTextEdit;

namespace tarvek {

// frmHelpFile: shows one help text file of the help folder as it is, read-only, up to
// its first kReadLimit bytes.
class HelpViewer : public Screen {
  Q_OBJECT

 public:
  static constexpr std::size_t kReadLimit = 1024 * 1024;

  // A help file that is there but is a named pipe or a device, which is not read.
  struct Refusal {
    std::filesystem::path file;
    std::string reason;
  };

  HelpViewer(const std::filesystem::path& helpDir, const std::string& topic, QWidget* parent = nullptr);

  QString text() const;
  const std::optional<Refusal>& refusal() const { return m_refusal; }

 private:
  QPlainTextEdit* m_text;
  std::optional<Refusal> m_refusal;
};

}  // namespace tarvek
