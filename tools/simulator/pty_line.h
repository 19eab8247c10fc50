#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvek::sim {

// The serial line: a pseudo-terminal whose slave side the programmer opens as its port.
// The simulator keeps a slave descriptor of its own, so the line stays usable while the
// programmer opens and closes the port around every exchange, and it watches the slave
// device file to know whether a client has the port open.
class PtyLine {
 public:
  // Throws std::system_error.
  PtyLine();
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  // The slave device, e.g. /dev/pts/3.
  const std::string& devicePath() const { return m_devicePath; }
  int masterFd() const { return m_master; }
  // Readable when a client opened or closed the port; -1 when that cannot be watched,
  // in which case a client counts as always present.
  int watchFd() const { return m_watch; }

  // Takes the pending open/close notices and returns, in order, each change of
  // "some client has the port open": true opened, false closed.
  std::vector<bool> takePortChanges();
  bool clientPresent() const { return m_watch < 0 || m_clientOpens > 0; }

  // Throws away bytes sent toward the client that it never read, and an exclusive
  // mode a client may have left behind, so the next opening starts clean.
  void discardUnread();

  // What the client sent; empty when nothing is waiting. Throws std::system_error.
  std::string read();
  // Writes what the line takes without blocking; returns how many bytes it took.
  std::size_t write(std::string_view bytes);

 private:
  int m_master = -1;
  int m_slave = -1;
  int m_watch = -1;
  int m_clientOpens = 0;
  std::string m_devicePath;
};

}  // namespace tarvek::sim
