#include "simulator/symbolic_link.h"

#include <stdexcept>
#include <string>

#include "simulator/atomic_file.h"

namespace tarvek::sim {

void SymbolicLink::pointTo(const std::filesystem::path& target) {
  const auto status = std::filesystem::symlink_status(m_path);
  if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
    throw std::runtime_error(m_path.string() + " exists and is not a symbolic link; not replacing it");
  }
  if (m_path.has_parent_path()) std::filesystem::create_directories(m_path.parent_path());
  const std::filesystem::path temporary = temporaryBeside(m_path);
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  std::filesystem::create_symlink(target, temporary);
  std::filesystem::rename(temporary, m_path);
  m_target = target;
}

void SymbolicLink::remove() {
  if (m_target.empty()) return;
  std::error_code error;
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(m_path, error)) &&
      std::filesystem::read_symlink(m_path, error) == m_target) {
    std::filesystem::remove(m_path, error);
  }
  m_target.clear();
}

}  // namespace tarvek::sim
