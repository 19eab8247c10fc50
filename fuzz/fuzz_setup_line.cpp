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

  // The line the Comm Port screen's Apply writes for the port reads back as that port.
  TARVEK_FUZZ_CHECK(portFromSetupLine("CommPort=" + std::to_string(port)) == port);
  return 0;
}
