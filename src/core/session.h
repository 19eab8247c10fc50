#pragma once

#include <string>

namespace tarvek {

// The screen whose Connect led to the port screens, and which they give control back to.
enum class Caller { Select, Main };

// The program-wide values every screen shares. Owned by the application and passed
// by reference; there are no globals. The programming and its state are the Document's.
struct Session {
  int portNumber = 1;
  int currentInput = 1;          // 1-8, the input the two list editors show first
  Caller caller = Caller::Main;  // set by a Connect that leads to the port screens
  std::string helpTopic;
  bool reducedFeatures = false;  // the unit uses the short (carriage-return) layouts
  int expectedAnswerLength = 0;  // phone-record read length: 33, or 32 on short units
};

}  // namespace tarvek
