#pragma once

namespace tarvek {

enum class ProgressKind { Loading, Sending };

// The loading and sending screens as the link operations see them.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void showProgress(ProgressKind kind) = 0;
  virtual void setProgress(double value) = 0;  // 0 to 100
  virtual void closeProgress() = 0;
};

}  // namespace tarvek
