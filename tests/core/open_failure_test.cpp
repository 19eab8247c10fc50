#include "core/open_failure.h"

#include <gtest/gtest.h>

namespace tarvek {
namespace {

using Kind = OpenFailure::Kind;

TEST(OpenFailure, SaysWhichDeviceAndWhy) {
  const struct {
    const char* name;
    Kind kind;
    std::string reason;
    bool accessDenied;
    std::string owner, group;
    unsigned mode;
    std::string why;
  } cases[] = {
      {"no device", Kind::NoDevice, "No such file or directory", false, "", "", 0,
       "the device does not exist (is the adapter plugged in?)."},
      {"open here", Kind::AlreadyOpen, "", false, "", "", 0, "the port is already open in this program."},
      {"other", Kind::Other, "Unknown error", false, "", "", 0, "Unknown error."},
      {"another program's lock", Kind::Permission, "Permission error while locking the device", false, "", "", 0,
       "the port is busy: another program is using it."},
      {"no access", Kind::Permission, "Permission denied", true, "root", "dialout", 0660,
       "permission denied. The device belongs to root, group dialout, mode rw-rw----. Add your user to the group "
       "'dialout' (sudo adduser $USER dialout) and log in again."},
      {"no access, owners unknown", Kind::Permission, "Permission denied", true, "", "", 0600,
       "permission denied. The device belongs to ?, group ?, mode rw-------."},
      {"refused, though accessible", Kind::Permission, "Permission denied", false, "", "", 0,
       "the port is busy or not accessible (Permission denied)."},
  };
  for (const auto& c : cases) {
    OpenFailure failure;
    failure.portNumber = 3;
    failure.device = "/dev/ttyUSB0";
    failure.kind = c.kind;
    failure.reason = c.reason;
    failure.accessDenied = c.accessDenied;
    failure.owner = c.owner;
    failure.group = c.group;
    failure.mode = c.mode;
    EXPECT_EQ(explain(failure), "Comm 3 is /dev/ttyUSB0: " + c.why) << c.name;
    failure.portNumber = 0;  // the device named on the command line
    EXPECT_EQ(explain(failure), "/dev/ttyUSB0: " + c.why) << c.name;
  }
}

}  // namespace
}  // namespace tarvek
