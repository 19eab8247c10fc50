#pragma once

#include <QElapsedTimer>
#include <memory>

#include "port/qt_serial_port.h"
#include "support/app_harness.h"
#include "support/simulator_process.h"

namespace tarvek::test {

// The real application with the real serial port, against tarvek-sim linked as Comm 1
// of a temporary program folder.
struct EndToEnd {
  EndToEnd();
  ~EndToEnd();

  // Starts a simulator holding `memory` on Comm 1, stopping any earlier one.
  void startSimulator(const sim::Memory& memory, SimulatorOptions options = {});
  // The unit's memory as its file holds it now.
  sim::Memory unitMemory() const;
  std::string transcript() const;

  SelectScreen* startAtSelect();
  // Connect on the selection screen; returns the Main screen when it was shown.
  MainScreen* connectFromSelect();

  TempDir folder;
  // Where a port goes when its link is missing; empty: the platform's own name for it.
  std::filesystem::path fallbackDevice;
  std::filesystem::path link;
  std::filesystem::path memoryFile;
  std::filesystem::path transcriptFile;
  ScriptedPrompts prompts;
  QtSerialPort port;
  std::unique_ptr<Application> app;
  std::unique_ptr<SimulatorProcess> simulator;
  bool ended = false;
};

}  // namespace tarvek::test
