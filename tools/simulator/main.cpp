#include <iostream>
#include <string>
#include <vector>

#include "simulator/options.h"
#include "simulator/server.h"

int main(int argc, char** argv) {
  using namespace tarvek::sim;
  Options options;
  try {
    options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::cerr << "tarvek-sim: " << error.what() << std::endl;
    return 2;
  }
  if (options.help) {
    std::cout << helpText();
    return 0;
  }
  try {
    Server server(std::move(options));
    return server.run();
  } catch (const std::exception& error) {
    std::cerr << "tarvek-sim: " << error.what() << std::endl;
    return 1;
  }
}
