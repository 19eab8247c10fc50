#pragma once

#include <filesystem>

#include "gui/screen.h"

class QComboBox;

namespace tarvek {

// frmCommPort: chooses the serial port, Comm 1 to Comm 16. Each entry's tooltip names
// the device the port means in the program folder `programDir`.
class CommPortScreen : public Screen {
  Q_OBJECT

 public:
  CommPortScreen(int currentPort, const std::filesystem::path& programDir, HelpDesk* help, QWidget* parent = nullptr);

  // The port chosen in the list, 1 to 16.
  int selectedPort() const;

 signals:
  void applyClicked();
  void exitClicked();
  // The window's own close: the calling screen back, the port unchanged.
  void cancelled();

 private:
  QComboBox* m_ports;
};

}  // namespace tarvek
