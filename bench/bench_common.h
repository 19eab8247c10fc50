#pragma once

// What the benchmarks share: the line's arithmetic and their command line.

#include <cstddef>
#include <string>

namespace tarvek::bench {

constexpr double kBaud = 9600.0;

// The time `characters` take on the line: 10 bits each (8N1).
inline double wireMs(std::size_t characters) { return static_cast<double>(characters) * 10.0 * 1000.0 / kBaud; }

// A whole read: the greeting, "MR", 8 input reads and 64 phone reads. A short-layout unit
// answers each phone read with 32 characters, the last a carriage return.
inline std::size_t readCharacters(bool shortLayout) {
  return (2 + 2) + (2 + 20) + 8 * (3 + 10) + 64 * (4 + (shortLayout ? 32 : 33));
}

// --runs N and --gap MS (the unit's end-of-write gap); other arguments are left alone.
struct Options {
  int runs = 3;
  int gapMs = 5;
};

inline Options parseOptions(int argc, char* argv[]) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") options.runs = std::stoi(argv[i + 1]);
    if (option == "--gap") options.gapMs = std::stoi(argv[i + 1]);
  }
  return options;
}

}  // namespace tarvek::bench
