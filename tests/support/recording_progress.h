#pragma once

#include <string>
#include <vector>

#include "core/progress.h"

namespace tarvek::test {

// Remembers what the progress screens were told: "show Loading", "10", "close".
class RecordingProgress : public Progress {
 public:
  void showProgress(ProgressKind kind) override {
    events.push_back(kind == ProgressKind::Loading ? "show Loading" : "show Sending");
    open = true;
  }
  void setProgress(double value) override { events.push_back(std::to_string(static_cast<int>(value))); }
  void closeProgress() override {
    if (open) events.push_back("close");
    open = false;
  }

  std::vector<std::string> events;
  bool open = false;
};

}  // namespace tarvek::test
