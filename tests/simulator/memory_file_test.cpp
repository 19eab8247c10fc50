#include "simulator/memory_file.h"

#include <gtest/gtest.h>

#include "simulator/memory_text.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

namespace tarvek::sim {
namespace {

using test::TempDir;

TEST(MemoryFile, AMissingFileIsCreatedWithTheFactoryState) {
  TempDir dir;
  EXPECT_EQ(loadOrCreateMemoryFile(dir / "memory.txt"), Memory::factory());
  EXPECT_EQ(test::readFile(dir / "memory.txt"), formatMemory(Memory::factory()));
}

TEST(MemoryFile, AnExistingFileIsLoadedNotReplaced) {
  TempDir dir;
  test::writeFile(dir / "memory.txt", "function 2\n");
  Memory expected = Memory::factory();
  expected.global.function = "2";
  EXPECT_EQ(loadOrCreateMemoryFile(dir / "memory.txt"), expected);
  EXPECT_EQ(test::readFile(dir / "memory.txt"), "function 2\n");
}

TEST(MemoryFile, SavingReplacesTheWholeFileAndLeavesNoTemporaryFile) {
  TempDir dir;
  test::writeFile(dir / "memory.txt", std::string(100000, '#'));
  Memory memory = Memory::factory();
  memory.number(3, 4) = PhoneRecord{"5551234", true};
  test::writeSimulatorMemory(dir / "memory.txt", memory);
  EXPECT_EQ(test::readSimulatorMemory(dir / "memory.txt"), memory);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(MemoryFile, ABadFileIsReportedWithItsNameAndLine) {
  TempDir dir;
  test::writeFile(dir / "memory.txt", "function 0\nfunction 00\n");
  try {
    loadMemoryFile(dir / "memory.txt");
    ADD_FAILURE() << "a bad file was accepted";
  } catch (const MemoryFormatError& error) {
    EXPECT_EQ(std::string(error.what()), (dir / "memory.txt").string() + ", line 2: function must be 1 character");
  }
}

TEST(MemoryFile, AnUnreadableFileIsAnError) {
  TempDir dir;
  EXPECT_THROW(loadMemoryFile(dir / "missing.txt"), std::system_error);
  EXPECT_THROW(saveMemoryFile(dir / "no-such-folder" / "memory.txt", Memory::factory()), std::system_error);
}

}  // namespace
}  // namespace tarvek::sim
