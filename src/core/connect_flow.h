#pragma once

namespace tarvek {

enum class ConnectOutcome;
enum class ProbeOutcome;

// The screen a Connect leads to.
enum class NextScreen {
  Same,  // the calling screen stays as it is
  Main,  // the Main screen with the record read; the selection screen goes
  // The port screens: the caller name is set and the calling screen waits, disabled,
  // until they give it back.
  NotFound,  // the port-not-found screen
  CommPort,  // the Comm Port screen
};

struct ConnectStep {
  NextScreen next = NextScreen::Same;
  // The Main screen hides Connect and offers Send.
  bool sendOffered = false;
};

// After Connect on the selection screen.
ConnectStep afterConnect(ConnectOutcome outcome);
// After Connect on the Main screen.
ConnectStep afterConnect(ProbeOutcome outcome);

}  // namespace tarvek
