#pragma once

#include "core/prompts.h"

namespace tarvek {

// The program's prompts, passed on to the real ones until the program is ending: from
// then on none is shown, and each gets the answer that closing its window gives (OK for a
// plain message, Cancel for a question, no file for a file dialog). A program told to end
// by the system asks nothing and waits for nobody.
class EndingPrompts : public Prompts {
 public:
  explicit EndingPrompts(Prompts& prompts) : m_prompts(prompts) {}

  void setEnding() { m_ending = true; }

  Answer show(const Message& message) override;
  std::optional<std::string> openFileName(const FileRequest& request) override;
  std::optional<std::string> saveFileName(const FileRequest& request) override;

 private:
  Prompts& m_prompts;
  bool m_ending = false;
};

}  // namespace tarvek
