#pragma once

#include <QString>

#include "core/prompts.h"

class QWidget;

namespace tarvek {

// Real message boxes and file dialogs, over the active window.
class QtPrompts : public Prompts {
 public:
  Answer show(const Message& message) override;
  std::optional<std::string> openFileName(const FileRequest& request) override;
  std::optional<std::string> saveFileName(const FileRequest& request) override;
};

// The program's name: the default title of every message box.
QString programTitle();

}  // namespace tarvek
