#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/exit_status.h"

namespace tarvek::cli {

enum class Command { Read, Write, Verify, Diff, Ports };

// What the command line asks for, checked for its form: the right number of files, a port
// number from 1 to 16, options the command takes.
struct Invocation {
  Command command = Command::Ports;
  std::string name;                // the command's word: "read", "write", ...
  std::vector<std::string> files;  // FILE, or FILE FILE for diff; DEVICE for ports --link
  std::optional<int> port;         // --port N
  std::string device;              // --device PATH; empty when not given
  std::string trace;               // --trace FILE; empty when not given
  bool force = false;              // --force
  bool yes = false;                // --yes
  bool verify = true;              // not --no-verify
  std::optional<int> linkPort;     // ports --link N
};

// Either an invocation to run, or what to print and the status to end with: the help
// (on standard output, status 0) or what is wrong (on standard error, status 2).
struct Parsed {
  std::optional<Invocation> invocation;
  std::string output;
  std::string error;
  ExitStatus status = ExitStatus::Done;
};

// `arguments` without the program's own name, as UTF-8.
Parsed parseCommandLine(const std::vector<std::string>& arguments, const std::string& version);

}  // namespace tarvek::cli
