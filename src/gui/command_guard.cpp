#include "gui/command_guard.h"

namespace tarvek {

namespace {

// Busy until it goes out of scope, on every path; then the end is reported.
class Busy {
 public:
  Busy(bool& busy, const std::function<void()>& ended) : m_busy(busy), m_ended(ended) { m_busy = true; }
  ~Busy() {
    m_busy = false;
    m_ended();
  }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  bool& m_busy;
  const std::function<void()>& m_ended;
};

}  // namespace

void CommandGuard::exchange(const std::function<void()>& work) {
  Busy busy(m_busy, m_exchangeEnded);
  work();
}

}  // namespace tarvek
