#include "support/folder_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <stdexcept>

namespace tarvek::test {

bool waitInFolder(const std::filesystem::path& folder, const std::function<bool()>& done,
                  std::chrono::milliseconds timeout, int wake) {
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch < 0 ||
      ::inotify_add_watch(watch, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE) < 0) {
    if (watch >= 0) ::close(watch);
    throw std::runtime_error("cannot watch " + folder.string());
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  bool held = done();
  while (!held) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd events[] = {{watch, POLLIN, 0}, {wake, POLLIN, 0}};
    if (::poll(events, wake >= 0 ? 2 : 1, static_cast<int>(left.count())) > 0 && (events[0].revents & POLLIN)) {
      char buffer[4096];
      while (::read(watch, buffer, sizeof buffer) > 0) {
      }
    }
    held = done();
    if (wake >= 0 && (events[1].revents & POLLIN)) break;
  }
  ::close(watch);
  return held;
}

}  // namespace tarvek::test
