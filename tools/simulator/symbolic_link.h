#pragma once

#include <filesystem>
#include <utility>

namespace tarvek::sim {

// A symbolic link that this process makes and takes away again: the port name under
// which the programmer finds the simulated line.
class SymbolicLink {
 public:
  explicit SymbolicLink(std::filesystem::path path) : m_path(std::move(path)) {}
  ~SymbolicLink() { remove(); }
  SymbolicLink(const SymbolicLink&) = delete;
  SymbolicLink& operator=(const SymbolicLink&) = delete;

  // Makes the link point to `target`, replacing an earlier link in one step; creates
  // missing parent folders. Refuses (std::runtime_error) to replace anything but a link.
  void pointTo(const std::filesystem::path& target);
  // Removes the link if it still points where this object made it point.
  void remove();

 private:
  std::filesystem::path m_path;
  std::filesystem::path m_target;
};

}  // namespace tarvek::sim
