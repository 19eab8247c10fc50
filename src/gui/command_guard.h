#pragma once

#include <functional>

namespace tarvek {

// The one gate of the screens' commands. While an exchange with the Tarvek runs, the
// screens take no input, but a command can still arrive (a queued signal, a window's
// close button): it is ignored. The end of each exchange is reported, so that a program
// told to end meanwhile can end after it.
class CommandGuard {
 public:
  explicit CommandGuard(std::function<void()> exchangeEnded) : m_exchangeEnded(std::move(exchangeEnded)) {}

  bool busy() const { return m_busy; }

  // A command as a screen's signal runs it: ignored while an exchange runs.
  template <typename Command>
  auto command(Command work) {
    return [this, work](auto&&...) {
      if (!m_busy) work();
    };
  }

  // Runs an exchange with the Tarvek: busy for its length, then the end reported.
  void exchange(const std::function<void()>& work);

 private:
  std::function<void()> m_exchangeEnded;
  bool m_busy = false;
};

}  // namespace tarvek
