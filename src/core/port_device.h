#pragma once

#include <filesystem>
#include <string>

namespace tarvek {

// The device behind a port number, as an operation pins it.
struct PortDevice {
  std::filesystem::path path;  // the device file that is opened
  std::filesystem::path link;  // the ports/comN link that named it; empty for the platform's own name

  bool operator==(const PortDevice&) const = default;
};

// The platform's own name for serial port N: /dev/ttyS<N-1> (COMN on Windows).
std::filesystem::path platformPortName(int portNumber);

// Port N of the program folder: the device that `ports/comN` leads to when that link
// exists (the real device, so that its lock file is the one other programs use), else
// `fallback`. A link that leads nowhere gives its own path, which does not open.
PortDevice resolvePortDevice(const std::filesystem::path& programDir, int portNumber,
                             const std::filesystem::path& fallback);

// A device named by its path (the command line's --device): a link, such as an adapter's
// /dev/serial/by-id name, is followed as a ports/comN link is, and kept to check that it
// still leads there.
PortDevice namedDevice(const std::filesystem::path& device);

// "Comm 3 is /dev/ttyUSB0 (ports/com3)": which device port N means, and the link that says so.
std::string portDeviceText(int portNumber, const PortDevice& device);

// Whether the device can still be the one pinned: its link, if it came through one,
// still leads to it. An adapter's link goes when the adapter is unplugged, and a link
// made again may lead to another device.
bool stillLinked(const PortDevice& device);

}  // namespace tarvek
