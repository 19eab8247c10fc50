#include "core/open_failure.h"

#include <gtest/gtest.h>

namespace tarvek {
namespace {

using Kind = OpenFailure::Kind;

TEST(OpenFailure, SaysWhichDeviceAndWhy) {
  const auto failed = [](Kind kind, const char* reason, bool accessDenied = false, const char* owner = "",
                         const char* group = "", unsigned mode = 0) {
    return OpenFailure{3, "/dev/ttyUSB0", kind, reason, accessDenied, owner, group, mode};
  };
  const std::pair<OpenFailure, std::string> rows[] = {
      {failed(Kind::NoDevice, "No such file or directory"), "the device does not exist (is the adapter plugged in?)."},
      {failed(Kind::AlreadyOpen, ""), "the port is already open in this program."},
      {failed(Kind::Other, "Unknown error"), "Unknown error."},
      {failed(Kind::Permission, "Permission error while locking the device"),
       "the port is busy: another program is using it."},
      {failed(Kind::Permission, "Permission denied", true, "root", "dialout", 0660),
       "permission denied. The device belongs to root, group dialout, mode rw-rw----. Add your user to the group "
       "'dialout' (sudo adduser $USER dialout) and log in again."},
      {failed(Kind::Permission, "Permission denied", true, "", "", 0600),
       "permission denied. The device belongs to ?, group ?, mode rw-------."},
      // Refused, though this user may read and write it.
      {failed(Kind::Permission, "Permission denied"), "the port is busy or not accessible (Permission denied)."},
  };
  for (auto [failure, why] : rows) {
    EXPECT_EQ(explain(failure), "Comm 3 is /dev/ttyUSB0: " + why);
    failure.portNumber = 0;  // the device named on the command line
    EXPECT_EQ(explain(failure), "/dev/ttyUSB0: " + why);
  }
}

}  // namespace
}  // namespace tarvek
