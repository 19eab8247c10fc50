#include "simulator/server.h"

#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <system_error>

#include "simulator/atomic_file.h"
#include "simulator/memory_file.h"

namespace tarvek::sim {
namespace {

volatile sig_atomic_t g_stopSignal = 0;

void onStopSignal(int signal) { g_stopSignal = signal; }

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

DeviceSettings deviceSettings(const Options& options) {
  return DeviceSettings{options.layout, options.baud, options.idleGap, options.faults};
}

Memory initialMemory(const Options& options) {
  return options.memoryFile.empty() ? Memory::factory() : loadOrCreateMemoryFile(options.memoryFile);
}

timespec timeoutUntil(Instant deadline) {
  const auto left = std::max(deadline - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration::zero());
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

}  // namespace

Server::Server(Options options)
    : m_options(std::move(options)),
      m_device(deviceSettings(m_options), initialMemory(m_options)),
      m_transcript(m_options.transcriptFile),
      m_link(m_options.link) {}

Server::~Server() { closeLine(); }

int Server::run() {
  // Answer bytes are due every 1.04 ms; the default timer slack of 50 us would blur that.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  ::signal(SIGPIPE, SIG_IGN);

  // Stop signals stay blocked except inside ppoll, so none slips between a check and a wait.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  for (const int signal : kStopSignals) sigaddset(&stopSignals, signal);
  sigprocmask(SIG_BLOCK, &stopSignals, &m_waitMask);
  for (const int signal : kStopSignals) {
    sigdelset(&m_waitMask, signal);
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
  // A test or benchmark that started it and ended without stopping it, killed or
  // crashed, takes it along instead of leaving it running.
  if (m_options.parent != 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != m_options.parent) g_stopSignal = SIGTERM;
  }

  openLine();
  while (!g_stopSignal) {
    pollfd fds[2] = {{m_line->masterFd(), static_cast<short>(POLLIN | (m_unsent.empty() ? 0 : POLLOUT)), 0},
                     {m_line->watchFd(), POLLIN, 0}};
    const std::optional<Instant> wakeUp = m_device.nextWakeUp();
    timespec timeout{};
    if (wakeUp) timeout = timeoutUntil(*wakeUp);
    const int ready = ::ppoll(fds, 2, wakeUp ? &timeout : nullptr, &m_waitMask);
    if (ready < 0 && errno != EINTR) throw std::system_error(errno, std::generic_category(), "ppoll");
    if (g_stopSignal) break;

    // Opening and closing are noticed before the bytes a client sent after opening.
    servePortChanges(std::chrono::steady_clock::now());
    if (ready > 0 && (fds[0].revents & POLLIN)) {
      const std::string bytes = m_line->read();
      if (!bytes.empty()) m_device.receive(bytes, std::chrono::steady_clock::now());
    }
    handle(m_device.poll(std::chrono::steady_clock::now()));
  }

  closeLine();
  saveMemory();
  return 0;
}

void Server::handle(DeviceOutput output) {
  for (const TranscriptEntry& entry : output.transcript) m_transcript.append(entry);
  if (output.memoryChanged) saveMemory();

  // The name goes before the answer does, so that no client can open the port again.
  if (output.unplugged) unplug();

  // A client that closed just now must not find our bytes when it, or the next one, opens.
  servePortChanges(std::chrono::steady_clock::now());
  if (m_line->clientPresent()) m_unsent += output.bytes;
  if (!m_unsent.empty()) m_unsent.erase(0, m_line->write(m_unsent));

  if (output.dropLine) dropLine();
}

void Server::servePortChanges(Instant now) {
  for (const bool opened : m_line->takePortChanges()) {
    if (!opened) m_device.portClosed(now);
    m_line->discardUnread();
    m_unsent.clear();
  }
}

void Server::openLine() {
  m_line = std::make_unique<PtyLine>();
  if (!m_options.link.empty()) m_link.pointTo(m_line->devicePath());
  // The count tells a waiting test a new line from the old one: a new pseudo-terminal
  // may well get the number of the one just closed.
  ++m_linesServed;
  if (!m_options.readyFile.empty()) {
    writeFileAtomically(m_options.readyFile, m_line->devicePath() + "\n" + std::to_string(m_linesServed) + "\n");
  }
  std::cout << "ready " << m_line->devicePath() << std::endl;
}

void Server::unplug() {
  if (!m_options.readyFile.empty()) {
    std::error_code ignored;
    std::filesystem::remove(m_options.readyFile, ignored);
  }
  m_link.remove();
}

void Server::closeLine() {
  unplug();
  m_line.reset();
  m_unsent.clear();
}

void Server::dropLine() {
  closeLine();
  std::cout << "dropped; back in " << m_options.replugDelay.count() << " ms" << std::endl;
  if (pause(m_options.replugDelay)) openLine();
}

bool Server::pause(std::chrono::milliseconds length) {
  const Instant end = std::chrono::steady_clock::now() + length;
  while (!g_stopSignal && std::chrono::steady_clock::now() < end) {
    const timespec timeout = timeoutUntil(end);
    ::ppoll(nullptr, 0, &timeout, &m_waitMask);
  }
  return !g_stopSignal;
}

void Server::saveMemory() {
  if (m_options.memoryFile.empty()) return;
  try {
    saveMemoryFile(m_options.memoryFile, m_device.memory());
  } catch (const std::exception& error) {
    std::cerr << "tarvek-sim: " << error.what() << std::endl;
  }
}

}  // namespace tarvek::sim
