#include "port/qt_serial_port.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QEventLoop>
#include <QTimer>

namespace tarvek {

namespace fs = std::filesystem;

QtSerialPort::QtSerialPort(const fs::path& programDir)
    : QtSerialPort([programDir](int portNumber) {
        return resolvePortDevice(programDir, portNumber, platformPortName(portNumber));
      }) {}

QtSerialPort::QtSerialPort(Resolver resolve) : m_resolve(std::move(resolve)) {}

QtSerialPort::QtSerialPort(Fixed fixed)
    : QtSerialPort([device = std::move(fixed.device)](int) { return namedDevice(device); }) {
  m_fixed = true;
}

void QtSerialPort::pin(int portNumber) {
  close();
  m_portNumber = portNumber;
  m_device = m_resolve(portNumber);
}

void QtSerialPort::unpin() {
  close();
  m_device.reset();
}

bool QtSerialPort::open() {
  if (!m_device) throw std::logic_error("the serial port was opened outside an operation");
  if (m_port.isOpen()) m_port.close();
  m_openFailure.clear();
  const fs::path& device = m_device->path;
  if (!stillLinked(*m_device)) {
    OpenFailure gone;
    gone.portNumber = m_fixed ? 0 : m_portNumber;
    gone.device = device.string();
    gone.kind = OpenFailure::Kind::NoDevice;
    m_openFailure = explain(gone);
    return false;
  }
  m_port.setPortName(QString::fromStdString(device.string()));
  m_port.setBaudRate(QSerialPort::Baud9600);
  m_port.setParity(QSerialPort::NoParity);
  m_port.setDataBits(QSerialPort::Data8);
  m_port.setStopBits(QSerialPort::OneStop);
  m_port.setFlowControl(QSerialPort::NoFlowControl);
  if (!m_port.open(QIODevice::ReadWrite)) {
    m_openFailure = explain(openFailureFacts(device));
    m_port.clearError();
    return false;
  }
  // Bytes that arrived before the opening (a late answer to an earlier command) must
  // never be taken for the answer to the next one.
  m_port.clear(QSerialPort::AllDirections);
  m_port.readAll();
  return true;
}

OpenFailure QtSerialPort::openFailureFacts(const fs::path& device) const {
  OpenFailure facts;
  facts.portNumber = m_fixed ? 0 : m_portNumber;
  facts.device = device.string();
  facts.reason = m_port.errorString().toStdString();
  switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
      facts.kind = OpenFailure::Kind::NoDevice;
      return facts;
    case QSerialPort::OpenError:
      facts.kind = OpenFailure::Kind::AlreadyOpen;
      return facts;
    case QSerialPort::PermissionError:
      facts.kind = OpenFailure::Kind::Permission;
      break;
    default:
      return facts;
  }
#ifndef _WIN32
  struct stat info {};
  if (::stat(device.c_str(), &info) == 0 && ::access(device.c_str(), R_OK | W_OK) != 0) {
    facts.accessDenied = true;
    if (const passwd* owner = ::getpwuid(info.st_uid)) facts.owner = owner->pw_name;
    if (const group* owningGroup = ::getgrgid(info.st_gid)) facts.group = owningGroup->gr_name;
    facts.mode = static_cast<unsigned>(info.st_mode & 0777);
  }
#endif
  return facts;
}

void QtSerialPort::fail(const std::string& what) {
  const std::string reason = what + ": " + m_port.errorString().toStdString();
  // A port whose device went away keeps reporting errors while it stays open.
  m_port.close();
  throw LinkError(reason);
}

void QtSerialPort::transmit(const std::string& bytes) {
  if (!m_port.isOpen()) throw LinkError("the port is not open");
  if (m_port.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
    fail("writing to the port failed");
  // Wait until the bytes have left, repainting but taking no input meanwhile.
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  bool failed = false;
  auto written = QObject::connect(&m_port, &QSerialPort::bytesWritten, &loop, [&] {
    if (m_port.bytesToWrite() == 0) loop.quit();
  });
  auto error = QObject::connect(&m_port, &QSerialPort::errorOccurred, &loop, [&](QSerialPort::SerialPortError e) {
    if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError) {
      failed = true;
      loop.quit();
    }
  });
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  // Generous: the bytes take about a millisecond each at 9600 baud.
  deadline.start(static_cast<int>(1000 + 2 * bytes.size()));
  if (m_port.bytesToWrite() > 0) loop.exec(QEventLoop::ExcludeUserInputEvents);
  QObject::disconnect(written);
  QObject::disconnect(error);
  if (failed || m_port.bytesToWrite() > 0) fail("writing to the port failed");
}

std::string QtSerialPort::read(std::size_t length, std::chrono::milliseconds timeout, std::optional<AnswerEnd> end) {
  if (!m_port.isOpen()) throw LinkError("the port is not open");
  std::string answer;
  bool complete = length == 0;
  bool failed = false;
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);

  const auto take = [&] {
    if (complete) return;
    const qint64 wanted = static_cast<qint64>(length - answer.size());
    const QByteArray chunk = m_port.read(wanted);
    answer.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    // A chunk may bring bytes past the end; they are not part of the answer.
    if (end && end->position > 0 && answer.size() >= end->position && answer[end->position - 1] == end->byte) {
      answer.resize(end->position);
      complete = true;
    }
    if (answer.size() >= length) complete = true;
    if (complete) loop.quit();
  };
  auto ready = QObject::connect(&m_port, &QSerialPort::readyRead, &loop, take);
  auto error = QObject::connect(&m_port, &QSerialPort::errorOccurred, &loop, [&](QSerialPort::SerialPortError e) {
    if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError || e == QSerialPort::WriteError) {
      failed = true;
      loop.quit();
    }
  });
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);

  if (m_port.bytesAvailable() > 0) take();
  if (!complete && !failed) {
    deadline.start(static_cast<int>(timeout.count()));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  QObject::disconnect(ready);
  QObject::disconnect(error);
  if (failed) fail("reading from the port failed");
  return answer;
}

void QtSerialPort::close() {
  if (m_port.isOpen()) m_port.close();
}

bool QtSerialPort::isOpen() const { return m_port.isOpen(); }

}  // namespace tarvek
