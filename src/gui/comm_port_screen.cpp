#include "gui/comm_port_screen.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>

#include "core/port_device.h"

namespace tarvek {

CommPortScreen::CommPortScreen(int currentPort, const std::filesystem::path& programDir, HelpDesk* help,
                               QWidget* parent)
    : Screen(QStringLiteral("frmCommPort"), QStringLiteral("Comm Port"), 2760, 1755, parent),
      m_ports(new QComboBox(client())) {
  m_ports->setObjectName(QStringLiteral("cmbPort"));
  // Where a list is spoken by its name (on Linux it is its entry, after the window's title).
  m_ports->setAccessibleName(QStringLiteral("Comm Port"));
  m_ports->setGeometry(px(840), px(240), px(1215), px(315));
  for (int port = 1; port <= 16; ++port) {
    m_ports->addItem(QStringLiteral("Comm %1").arg(port));
    const PortDevice device = resolvePortDevice(programDir, port, platformPortName(port));
    m_ports->setItemData(port - 1, QFile::decodeName(portDeviceText(port, device).c_str()), Qt::ToolTipRole);
  }
  // There is no entry for a port outside 1 to 16; Comm 1 stands in for it.
  m_ports->setCurrentIndex(currentPort >= 1 && currentPort <= 16 ? currentPort - 1 : 0);
  // The closed list names the device of the entry it shows.
  const auto nameDevice = [this] { m_ports->setToolTip(m_ports->currentData(Qt::ToolTipRole).toString()); };
  nameDevice();
  connect(m_ports, &QComboBox::currentIndexChanged, this, nameDevice);

  QPushButton* apply = addButton(client(), "cmdApply", QStringLiteral("Apply"), 240, 1080, 975, 375);
  apply->setToolTip(QStringLiteral("Enters the Comm Port selection"));
  QPushButton* exit = addButton(client(), "cmdExit", QStringLiteral("Exit"), 1440, 1080, 975, 375);
  exit->setToolTip(QStringLiteral("Does not change the Comm Port setting"));
  connect(apply, &QPushButton::clicked, this, &CommPortScreen::applyClicked);
  connect(exit, &QPushButton::clicked, this, &CommPortScreen::exitClicked);

  addHelpMenu(help, "CommPort");
  // Closing the window changes nothing and ends nothing: it is a Cancel.
  setClosingAllowed(false);
  connect(this, &Screen::closeRequested, this, &CommPortScreen::cancelled);
}

int CommPortScreen::selectedPort() const { return m_ports->currentIndex() + 1; }

}  // namespace tarvek
