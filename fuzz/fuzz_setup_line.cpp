// The port number read from the first line of setup.txt.
//
// Input: the line.

#include "core/setup_file.h"
#include "fuzz_checks.h"

using namespace tarvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const int port = portFromSetupLine(line);

  // At most the last two characters count, so the port is 0 to 99; a line of exactly
  // ten characters ("CommPort=7") gives only its last one.
  TARVEK_FUZZ_CHECK(port >= 0 && port <= 99 && (line.size() != 10 || port <= 9));

  // The key before the number is ignored: any other text of the same length gives the
  // same port.
  std::string otherKey = line;
  const std::size_t taken = line.size() == 10 ? 1 : std::min<std::size_t>(2, line.size());
  std::fill(otherKey.begin(), otherKey.end() - static_cast<std::ptrdiff_t>(taken), 'x');
  TARVEK_FUZZ_CHECK(portFromSetupLine(otherKey) == port);

  // The line the Comm Port screen's Apply writes for the port reads back as that port.
  TARVEK_FUZZ_CHECK(portFromSetupLine("CommPort=" + std::to_string(port)) == port);
  return 0;
}
