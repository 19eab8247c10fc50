#pragma once

#include <QSerialPort>
#include <filesystem>

#include "link/serial_port.h"

namespace tarvek {

// The serial port through QSerialPort. Port N is the device that `ports/comN` in the
// program folder links to, else the platform's own name for port N. While it waits for
// an answer, windows repaint but take no input.
class QtSerialPort : public SerialPort {
 public:
  explicit QtSerialPort(std::filesystem::path programDir);

  bool open(int portNumber) override;
  void transmit(const std::string& bytes) override;
  std::string read(std::size_t length, std::chrono::milliseconds timeout) override;
  void close() override;
  bool isOpen() const override;
  std::string openFailure() const override { return m_openFailure; }

  // The device file port N maps to.
  std::filesystem::path devicePath(int portNumber) const;

 private:
  [[noreturn]] void fail(const std::string& what);
  std::string explainOpenFailure(const std::filesystem::path& device) const;

  std::filesystem::path m_programDir;
  QSerialPort m_port;
  std::string m_openFailure;
};

}  // namespace tarvek
