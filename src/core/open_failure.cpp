#include "core/open_failure.h"

#include <algorithm>
#include <cctype>

namespace tarvek {

namespace {

bool mentionsLock(std::string reason) {
  std::transform(reason.begin(), reason.end(), reason.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return reason.find("lock") != std::string::npos;
}

// "rw-rw----" from the permission bits.
std::string modeText(unsigned mode) {
  std::string text = "rwxrwxrwx";
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(mode & (0400u >> i))) text[i] = '-';
  return text;
}

std::string why(const OpenFailure& failure) {
  switch (failure.kind) {
    case OpenFailure::Kind::NoDevice:
      return "the device does not exist (is the adapter plugged in?).";
    case OpenFailure::Kind::AlreadyOpen:
      return "the port is already open in this program.";
    case OpenFailure::Kind::Other:
      return failure.reason + ".";
    case OpenFailure::Kind::Permission:
      break;
  }
  // Another program's lock on the port is reported as a permission error too.
  if (mentionsLock(failure.reason)) return "the port is busy: another program is using it.";
  if (!failure.accessDenied) return "the port is busy or not accessible (" + failure.reason + ").";
  std::string text = "permission denied. The device belongs to " + (failure.owner.empty() ? "?" : failure.owner) +
                     ", group " + (failure.group.empty() ? "?" : failure.group) + ", mode " + modeText(failure.mode) +
                     ".";
  if (!failure.group.empty())
    text += " Add your user to the group '" + failure.group + "' (sudo adduser $USER " + failure.group +
            ") and log in again.";
  return text;
}

}  // namespace

std::string explain(const OpenFailure& failure) {
  const std::string which =
      failure.portNumber == 0 ? failure.device : "Comm " + std::to_string(failure.portNumber) + " is " + failure.device;
  return which + ": " + why(failure);
}

}  // namespace tarvek
