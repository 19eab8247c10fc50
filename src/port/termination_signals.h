#pragma once

#include <signal.h>

#include <QObject>

class QSocketNotifier;

namespace tarvek {

// SIGTERM and SIGINT brought into the main loop: the handler only writes a byte into a
// pipe, and a socket notifier reads it there and emits received(). The first signal is
// left to the program to act on; a second one ends the process at once, as the signal
// itself would. One instance at a time; it restores the earlier handling when it goes.
class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 signals:
  void received(int signal);

 private:
  void readPipe();

  QSocketNotifier* m_notifier = nullptr;
  struct sigaction m_previousTerm {};
  struct sigaction m_previousInt {};
};

}  // namespace tarvek
