#pragma once

#include <filesystem>

#include "simulator/memory.h"

namespace tarvek::sim {

// The memory kept in a text file (the form of formatMemory). These throw
// MemoryFormatError for a file that does not parse (the message names the file and
// line) and std::system_error when the file cannot be read or written.
Memory loadMemoryFile(const std::filesystem::path& file);
// Written atomically: a reader never sees half a memory.
void saveMemoryFile(const std::filesystem::path& file, const Memory& memory);
// Loads the file, or writes the factory state into it when it does not exist.
Memory loadOrCreateMemoryFile(const std::filesystem::path& file);

}  // namespace tarvek::sim
