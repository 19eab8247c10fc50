#include "port/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <stdexcept>

namespace tarvek {

namespace {

// What the handler may touch: a lock-free flag and the pipe's descriptors.
int g_pipe[2] = {-1, -1};
std::atomic<bool> g_received{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onTerminationSignal(int signal) {
  if (g_received.exchange(true)) {
    // The second one: the signal's own action, at once.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    return;
  }
  const int savedErrno = errno;
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (g_pipe[0] >= 0) throw std::logic_error("termination signals are watched already");
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("no pipe for the termination signals");
  g_received = false;
  m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);

  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, &m_previousTerm);
  ::sigaction(SIGINT, &action, &m_previousInt);
}

TerminationSignals::~TerminationSignals() {
  ::sigaction(SIGTERM, &m_previousTerm, nullptr);
  ::sigaction(SIGINT, &m_previousInt, nullptr);
  delete m_notifier;
  for (int& end : g_pipe) {
    ::close(end);
    end = -1;
  }
}

void TerminationSignals::readPipe() {
  char bytes[16];
  ssize_t count = 0;
  while ((count = ::read(g_pipe[0], bytes, sizeof bytes)) > 0)
    for (ssize_t i = 0; i < count; ++i) emit received(bytes[i]);
}

}  // namespace tarvek
