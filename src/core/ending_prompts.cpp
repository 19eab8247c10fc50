#include "core/ending_prompts.h"

namespace tarvek {

Answer EndingPrompts::show(const Message& message) {
  if (!m_ending) return m_prompts.show(message);
  return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<std::string> EndingPrompts::openFileName(const FileRequest& request) {
  if (m_ending) return std::nullopt;
  return m_prompts.openFileName(request);
}

std::optional<std::string> EndingPrompts::saveFileName(const FileRequest& request) {
  if (m_ending) return std::nullopt;
  return m_prompts.saveFileName(request);
}

}  // namespace tarvek
