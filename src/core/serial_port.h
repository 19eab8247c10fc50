#pragma once

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

namespace tarvek {

// The port failing after it was opened: a write error, the device gone. The
// operations end on it with "The Tarvek is not responding".
class LinkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where an answer can end before its read length: it is complete as soon as its byte
// at `position` (counted from 1, at most the read length) is `byte`, and it is then
// those `position` bytes. A short-layout phone answer ends with its carriage return at
// 32, one byte before the end of a full one.
struct AnswerEnd {
  std::size_t position = 0;
  char byte = '\0';
  bool operator==(const AnswerEnd&) const = default;
};

// One serial port at 9600 baud, no parity, 8 data bits, 1 stop bit.
//
// An operation (a Connect, a read, a send, the sign-off) pins the device of its port
// number before its first exchange and releases it at its end. Every opening in
// between reaches that device or fails: a device that goes away part way is a port
// that does not open, never another device that takes its name.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Resolves port N to its device for the operation that starts.
  virtual void pin(int portNumber) = 0;
  // Ends the operation: the next one resolves its port afresh.
  virtual void unpin() = 0;
  // Opens the pinned device; false when it cannot be opened or is gone (openFailure()
  // then says why). Opening with nothing pinned is a programming error (std::logic_error).
  virtual bool open() = 0;
  // Sends exactly these bytes. Throws LinkError when the port fails.
  virtual void transmit(const std::string& bytes) = 0;
  // Waits until `length` bytes have arrived, the answer has reached its `end`, or the
  // time-out has passed, and returns what arrived (cut after its end). Bytes that
  // follow the end stay unread and go with the input at the next opening. Throws
  // LinkError when the port fails.
  virtual std::string read(std::size_t length, std::chrono::milliseconds timeout, std::optional<AnswerEnd> end) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Why the last open() failed, for the detail of the message: the device that the
  // port number maps to and the reason.
  virtual std::string openFailure() const { return {}; }
};

// Holds the device of port N for the length of one operation.
class DevicePin {
 public:
  DevicePin(SerialPort& port, int portNumber) : m_port(port) { m_port.pin(portNumber); }
  ~DevicePin() { m_port.unpin(); }
  DevicePin(const DevicePin&) = delete;
  DevicePin& operator=(const DevicePin&) = delete;

 private:
  SerialPort& m_port;
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
