#pragma once

#include <chrono>
#include <stdexcept>
#include <string>

namespace tarvek {

// The port failing after it was opened: a write error, the device gone. The
// operations end on it with "The Tarvek is not responding".
class LinkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One serial port at 9600 baud, no parity, 8 data bits, 1 stop bit.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens port N; false when it cannot be opened (openFailure() then says why).
  virtual bool open(int portNumber) = 0;
  // Sends exactly these bytes. Throws LinkError when the port fails.
  virtual void transmit(const std::string& bytes) = 0;
  // Waits until `length` bytes have arrived or the time-out has passed and returns
  // what arrived. Throws LinkError when the port fails.
  virtual std::string read(std::size_t length, std::chrono::milliseconds timeout) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Why the last open() failed, for the detail of the message: the device that the
  // port number maps to and the reason.
  virtual std::string openFailure() const { return {}; }
};

// Closes the port when it goes out of scope, on every path.
class PortCloser {
 public:
  explicit PortCloser(SerialPort& port) : m_port(port) {}
  ~PortCloser() { m_port.close(); }
  PortCloser(const PortCloser&) = delete;
  PortCloser& operator=(const PortCloser&) = delete;

 private:
  SerialPort& m_port;
};

}  // namespace tarvek
