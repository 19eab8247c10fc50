#pragma once

#include <string>

namespace tarvek {

// What is known about a serial port that did not open, gathered by the port adapter.
struct OpenFailure {
  enum class Kind {
    NoDevice,     // the device file is not there (the adapter unplugged, its link gone)
    AlreadyOpen,  // this program holds it open already
    Permission,   // the system refused: no access, or another program's lock
    Other,
  };

  int portNumber = 0;  // 0: the device was named, not found by its port number
  std::string device;  // the device file port N maps to
  Kind kind = Kind::Other;
  std::string reason;  // the port's own words for the failure
  // Known when the device is there but this user may neither read nor write it.
  bool accessDenied = false;
  std::string owner;  // user and group owning the device; empty when unknown
  std::string group;
  unsigned mode = 0;  // its permission bits
};

// One line for the detail of "Communications error": which device port N is (or the
// device alone, when it was named) and why it did not open, with what to do about it
// where there is something to do.
std::string explain(const OpenFailure& failure);

}  // namespace tarvek
