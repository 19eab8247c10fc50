#pragma once

#include <string>

namespace tarvek {

// The program-wide values every screen shares. Owned by the application and passed
// by reference; there are no globals.
struct Session {
  int portNumber = 1;
  int currentInput = 1;    // 1-8, the input the two list editors show first
  std::string callerName;  // "Select" or "Main": where the port screens return to
  std::string helpTopic;
  bool online = false;           // a greeting has succeeded in this run
  bool reducedFeatures = false;  // the unit uses the short (carriage-return) layouts
  int expectedAnswerLength = 0;  // phone-record read length: 33, or 32 on short units
  std::string settingsFilePath;  // the settings file last opened or saved
};

inline constexpr const char* kCallerSelect = "Select";
inline constexpr const char* kCallerMain = "Main";

}  // namespace tarvek
