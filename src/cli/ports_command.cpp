#include "cli/ports_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QSerialPortInfo>
#include <cstdio>
#include <filesystem>
#include <map>

#include "core/port_device.h"

namespace tarvek::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kPortCount = 16;
constexpr const char* kStableNames = "/dev/serial/by-id";
// More adapters than any desk holds; the listing stops there.
constexpr int kMostStableNames = 256;

// The stable names of the adapters that are plugged in, by the device each leads to.
std::map<fs::path, fs::path> stableNames() {
  std::map<fs::path, fs::path> names;
  std::error_code error;
  fs::directory_iterator entries(kStableNames, error);
  for (int count = 0; !error && entries != fs::directory_iterator() && count < kMostStableNames; ++count) {
    std::error_code ignored;
    const fs::path target = fs::canonical(entries->path(), ignored);
    if (!ignored) names.emplace(target, entries->path());
    entries.increment(error);
  }
  return names;
}

bool characterDevice(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

void say(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

}  // namespace

ExitStatus listPorts(const ProgramFolders& folders) {
  std::map<fs::path, std::string> reachedBy;
  for (int port = 1; port <= kPortCount; ++port) {
    const PortDevice device = resolvePortDevice(folders.program, port, platformPortName(port));
    std::error_code ignored;
    const bool there = fs::exists(device.path, ignored);
    std::string line =
        "Comm " + std::to_string(port) + "\t" + device.path.string() + "\t" + (there ? "there" : "absent");
    if (!device.link.empty())
      line += "\t" + device.link.string() + " -> " + fs::read_symlink(device.link, ignored).string();
    std::printf("%s\n", line.c_str());
    std::string& names = reachedBy[device.path];
    names += (names.empty() ? "" : ", ") + ("Comm " + std::to_string(port));
  }

  const auto stable = stableNames();
  const auto adapters = QSerialPortInfo::availablePorts();
  for (const QSerialPortInfo& adapter : adapters) {
    const fs::path location = adapter.systemLocation().toStdString();
    std::error_code ignored;
    const fs::path device = fs::canonical(location, ignored);
    const auto name = stable.find(device);
    QString what = adapter.description();
    if (!adapter.manufacturer().isEmpty()) what += QStringLiteral(" (%1)").arg(adapter.manufacturer());
    if (!adapter.serialNumber().isEmpty()) what += QStringLiteral(" serial %1").arg(adapter.serialNumber());
    const auto reached = reachedBy.find(device);
    std::printf("adapter\t%s\t%s\t%s\t%s\n", location.c_str(), name == stable.end() ? "-" : name->second.c_str(),
                what.isEmpty() ? "-" : what.toUtf8().constData(),
                reached == reachedBy.end() ? "-" : reached->second.c_str());
  }
  std::fflush(stdout);
  if (adapters.isEmpty()) say("No serial adapters found.");
  return ExitStatus::Done;
}

ExitStatus linkPort(const ProgramFolders& folders, int portNumber, const std::string& device, bool force) {
  std::error_code error;
  fs::path target = fs::absolute(device, error);
  if (error) target = device;
  // An adapter's own name (/dev/ttyUSB0) may name another adapter after the next boot.
  if (target.parent_path() != kStableNames) {
    const auto stable = stableNames();
    const auto name = stable.find(fs::canonical(target, error));
    if (!error && name != stable.end()) {
      say("Linking the stable name of " + target.string() + ": " + name->second.string());
      target = name->second;
    }
  }
  if (!force && !characterDevice(target)) {
    say("tarvek-cli ports: " + target.string() +
        (fs::exists(target, error) ? " is no serial device" : " does not exist") +
        "; give --force to link it all the same.");
    return ExitStatus::BadUsage;
  }

  const fs::path folder = folders.program / "ports";
  const fs::path link = folder / ("com" + std::to_string(portNumber));
  const fs::path fresh = folder / (".com" + std::to_string(portNumber) + ".new-" + std::to_string(::getpid()));
  std::error_code ignored;
  const auto status = fs::symlink_status(link, ignored);
  if (fs::exists(status) && !fs::is_symlink(status)) {
    say("tarvek-cli ports: " + link.string() + " is not a link; it is left as it is.");
    return ExitStatus::BadUsage;
  }
  fs::create_directories(folder, error);
  if (!error) fs::create_symlink(target, fresh, error);
  // Renamed over the old link, so that the port always means one device or the other.
  if (!error) fs::rename(fresh, link, error);
  if (error) {
    fs::remove(fresh, ignored);
    say("tarvek-cli ports: " + link.string() + " could not be made: " + error.message() + ".");
    return ExitStatus::BadUsage;
  }
  say("Comm " + std::to_string(portNumber) + " is now " + target.string() + " (" + link.string() + ").");
  return ExitStatus::Done;
}

}  // namespace tarvek::cli
