#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/command.h"
#include "simulator/fault.h"
#include "simulator/layout.h"
#include "simulator/memory.h"

namespace tarvek::sim {

using Instant = std::chrono::steady_clock::time_point;

struct DeviceSettings {
  Layout layout = Layout::Full;
  // Line speed, 8N1 (10 bits a character). 0: characters take no time on the line.
  int baud = 9600;
  // Silence after the last received character that ends a phone-number write (and
  // throws away a half-received command or noise).
  std::chrono::nanoseconds idleGap = std::chrono::milliseconds(5);
  std::vector<Fault> faults;
};

// One command as the device took it, for the transcript.
struct TranscriptEntry {
  Instant time;                       // when its last character had arrived
  std::string received;               // the bytes, or the noise thrown away
  std::optional<std::string> answer;  // nullopt: no answer
  std::string note;                   // what else happened: refused, faults applied
};

// What the device does by a given time.
struct DeviceOutput {
  std::string bytes;       // to put on the line now
  bool dropLine = false;   // the line goes dead now
  bool unplugged = false;  // the adapter is being pulled: its name goes now, the line at the next close
  std::vector<TranscriptEntry> transcript;
  bool memoryChanged = false;  // an accepted write changed the memory
};

// The Tarvek's behaviour on its serial line, without any I/O: bytes come in with the
// time they were received, bytes go out when their time has come. Received characters
// count as arriving one character time after another, and the answer is paced at the
// same rate, so a client sees the timing of a real line.
class Device {
 public:
  Device(DeviceSettings settings, Memory memory);

  // Bytes read from the line at `now`.
  void receive(std::string_view bytes, Instant now);
  // Advances to `now`: takes the characters that have arrived, runs complete commands,
  // and returns what is due.
  DeviceOutput poll(Instant now);
  // When poll() next has something to do; nullopt when it waits for input only.
  std::optional<Instant> nextWakeUp() const;
  // The client closed the port: answers still on their way are lost, and a pending
  // unplug fault pulls the line.
  void portClosed(Instant now);

  const Memory& memory() const { return m_memory; }
  const DeviceSettings& settings() const { return m_settings; }
  // One character (start bit, 8 data bits, stop bit) on the line.
  std::chrono::nanoseconds characterTime() const { return m_characterTime; }

 private:
  struct TimedByte {
    char byte;
    Instant at;
  };

  void endFrameIfIdle(Instant now);
  void execute(const std::string& command, Instant at);
  std::optional<std::string> respond(CommandKind kind, std::string_view command, std::string& note);
  void transmit(const std::string& answer, Instant earliest);
  void lineDead();

  DeviceSettings m_settings;
  Memory m_memory;
  std::chrono::nanoseconds m_characterTime;

  std::deque<TimedByte> m_received;
  Instant m_receiveLineFree = Instant::min();
  std::string m_frame;
  Instant m_frameEnd = Instant::min();

  std::deque<TimedByte> m_sending;
  Instant m_transmitLineFree = Instant::min();

  std::optional<Instant> m_dropAt;
  bool m_unplugPending = false;
  bool m_unplugAnnounced = false;

  std::array<int, kAllCommandKinds.size()> m_kindCounts{};
  int m_commandCount = 0;

  std::vector<TranscriptEntry> m_transcript;
  bool m_memoryChanged = false;
};

}  // namespace tarvek::sim
