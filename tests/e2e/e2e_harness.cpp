#include "e2e/e2e_harness.h"

#include <QTest>

namespace tarvek::test {

EndToEnd::EndToEnd()
    : link(folder / "ports/com1"),
      memoryFile(folder / "unit-memory.txt"),
      transcriptFile(folder / "transcript.txt"),
      port([this](int portNumber) {
        return resolvePortDevice(folder.path(), portNumber,
                                 fallbackDevice.empty() ? platformPortName(portNumber) : fallbackDevice);
      }),
      app(std::make_unique<Application>(folder.path(), prompts, port)) {
  QObject::connect(app.get(), &Application::ended, [this] { ended = true; });
}

EndToEnd::~EndToEnd() {
  app.reset();
  simulator.reset();
}

void EndToEnd::startSimulator(const sim::Memory& memory, SimulatorOptions options) {
  simulator.reset();
  writeSimulatorMemory(memoryFile, memory);
  options.link = link;
  options.memoryFile = memoryFile;
  options.transcriptFile = transcriptFile;
  simulator = std::make_unique<SimulatorProcess>(options);
}

sim::Memory EndToEnd::unitMemory() const { return readSimulatorMemory(memoryFile); }

std::string EndToEnd::transcript() const { return readFile(transcriptFile); }

SelectScreen* EndToEnd::startAtSelect() {
  app->startUp();
  return app->selectScreen();
}

MainScreen* EndToEnd::connectFromSelect() {
  click(app->selectScreen(), "cmdConnect");
  return shown(app->mainScreen()) ? app->mainScreen() : nullptr;
}

}  // namespace tarvek::test
