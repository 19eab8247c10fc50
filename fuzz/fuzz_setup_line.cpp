// The port number read from the first line of setup.txt.
//
// Input: the line.

#include "core/setup_file.h"
#include "fuzz_checks.h"

using namespace tarvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::string line = in.rest();
  const int port = portFromSetupLine(line);
  const std::string detail = "line " + line + " gives " + std::to_string(port);

  // At most the last two characters count, so the port is 0 to 99; a line of exactly
  // ten characters ("CommPort=7") gives only its last one.
  TARVEK_FUZZ_CHECK(port >= 0 && port <= 99, detail);
  if (line.size() == 10) TARVEK_FUZZ_CHECK(port <= 9, detail);

  // The key before the number is ignored: any other text of the same length gives the
  // same port.
  const std::size_t taken = line.size() == 10 ? 1 : std::min<std::size_t>(2, line.size());
  std::string otherKey = line;
  for (std::size_t i = 0; i + taken < otherKey.size(); ++i) otherKey[i] = 'x';
  TARVEK_FUZZ_CHECK(portFromSetupLine(otherKey) == port, detail);

  // The port read survives the Comm Port screen's Apply: the line written for it reads
  // back as the same port.
  const std::string written = "CommPort=" + std::to_string(port);
  TARVEK_FUZZ_CHECK(portFromSetupLine(written) == port, detail + "; " + written);
  return 0;
}
