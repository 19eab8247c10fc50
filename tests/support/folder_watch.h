#pragma once

#include <chrono>
#include <filesystem>
#include <functional>

namespace tarvek::test {

// Waits until done() holds, checking it again whenever an entry of the folder changes
// (written, moved in, created or removed) or the descriptor `wake` becomes readable (a
// pidfd: the process ended). False when the time runs out first.
bool waitInFolder(const std::filesystem::path& folder, const std::function<bool()>& done,
                  std::chrono::milliseconds timeout, int wake = -1);

}  // namespace tarvek::test
