#include "simulator/memory_file.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include "simulator/atomic_file.h"
#include "simulator/memory_text.h"

namespace tarvek::sim {

Memory loadMemoryFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::system_error(errno, std::generic_category(), "cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return parseMemory(text.str());
  } catch (const MemoryFormatError& error) {
    throw MemoryFormatError(file.string() + ", " + error.what());
  }
}

void saveMemoryFile(const std::filesystem::path& file, const Memory& memory) {
  writeFileAtomically(file, formatMemory(memory));
}

Memory loadOrCreateMemoryFile(const std::filesystem::path& file) {
  if (std::filesystem::exists(file)) return loadMemoryFile(file);
  const Memory memory = Memory::factory();
  saveMemoryFile(file, memory);
  return memory;
}

}  // namespace tarvek::sim
