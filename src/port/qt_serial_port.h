#pragma once

#include <QSerialPort>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/open_failure.h"
#include "core/port_device.h"
#include "core/serial_port.h"

namespace tarvek {

// The serial port through QSerialPort. While it waits for an answer, windows repaint
// but take no input.
class QtSerialPort : public SerialPort {
 public:
  // Gives the device of port N.
  using Resolver = std::function<PortDevice(int portNumber)>;

  // Port N is the device that `ports/comN` in the program folder links to, else the
  // platform's own name for port N.
  explicit QtSerialPort(const std::filesystem::path& programDir);
  explicit QtSerialPort(Resolver resolve);

  // Every operation reaches this one device, whatever its port number (the command
  // line's --device); a link is followed at each pin, as ports/comN is (namedDevice).
  struct Fixed {
    std::filesystem::path device;
  };
  explicit QtSerialPort(Fixed fixed);

  void pin(int portNumber) override;
  void unpin() override;
  bool open() override;
  void transmit(const std::string& bytes) override;
  std::string read(std::size_t length, std::chrono::milliseconds timeout, std::optional<AnswerEnd> end) override;
  void close() override;
  bool isOpen() const override;
  std::string openFailure() const override { return m_openFailure; }

 private:
  [[noreturn]] void fail(const std::string& what);
  OpenFailure openFailureFacts(const std::filesystem::path& device) const;

  Resolver m_resolve;
  bool m_fixed = false;                // the device was named, not found by a port number
  std::optional<PortDevice> m_device;  // pinned for the operation that runs
  int m_portNumber = 0;
  QSerialPort m_port;
  std::string m_openFailure;
};

}  // namespace tarvek
