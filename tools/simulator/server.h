#pragma once

#include <signal.h>

#include <memory>
#include <string>

#include "simulator/device.h"
#include "simulator/options.h"
#include "simulator/pty_line.h"
#include "simulator/symbolic_link.h"
#include "simulator/transcript_log.h"

namespace tarvek::sim {

// tarvek-sim at work: the device served on a pseudo-terminal, with its memory file,
// link, ready file and transcript, until SIGINT, SIGTERM or SIGHUP.
class Server {
 public:
  // Loads or creates the memory file and opens the transcript; throws on failure.
  explicit Server(Options options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Returns the exit status: 0 after a stop signal.
  int run();

 private:
  void openLine();
  void unplug();
  void closeLine();
  void dropLine();
  bool pause(std::chrono::milliseconds length);
  void servePortChanges(Instant now);
  void handle(DeviceOutput output);
  void saveMemory();

  Options m_options;
  Device m_device;
  TranscriptLog m_transcript;
  SymbolicLink m_link;
  std::unique_ptr<PtyLine> m_line;
  std::string m_unsent;
  int m_linesServed = 0;
  sigset_t m_waitMask{};  // the signal mask while waiting: stop signals let through
};

}  // namespace tarvek::sim
