#include "core/port_device.h"

#include <string>

namespace tarvek {

namespace fs = std::filesystem;

fs::path platformPortName(int portNumber) {
#ifdef _WIN32
  return "COM" + std::to_string(portNumber);
#else
  return "/dev/ttyS" + std::to_string(portNumber - 1);
#endif
}

PortDevice resolvePortDevice(const fs::path& programDir, int portNumber, const fs::path& fallback) {
  const fs::path link = programDir / "ports" / ("com" + std::to_string(portNumber));
  std::error_code error;
  if (!fs::exists(fs::symlink_status(link, error))) return PortDevice{fallback, {}};
  const fs::path target = fs::canonical(link, error);
  return PortDevice{error ? link : target, link};
}

PortDevice namedDevice(const fs::path& device) {
  std::error_code error;
  if (!fs::is_symlink(device, error)) return PortDevice{device, {}};
  const fs::path target = fs::canonical(device, error);
  return PortDevice{error ? device : target, device};
}

std::string portDeviceText(int portNumber, const PortDevice& device) {
  fs::path shown = device.path;
  std::error_code error;
  // A link that leads nowhere is named by where it leads.
  if (!device.link.empty() && device.path == device.link) shown = fs::read_symlink(device.link, error);
  std::string text = "Comm " + std::to_string(portNumber) + " is " + shown.string();
  if (!device.link.empty()) text += " (ports/" + device.link.filename().string() + ")";
  return text;
}

bool stillLinked(const PortDevice& device) {
  if (device.link.empty()) return true;
  std::error_code error;
  const fs::path target = fs::canonical(device.link, error);
  return !error && target == device.path;
}

}  // namespace tarvek
