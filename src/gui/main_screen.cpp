#include "gui/main_screen.h"

#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

#include "core/document.h"
#include "port/text_codec.h"

namespace tarvek {

namespace {

QListWidget* addList(QWidget* frame, const char* name, int left, int top, int width, int height) {
  auto* list = new QListWidget(frame);
  list->setObjectName(QString::fromLatin1(name));
  list->setGeometry(px(left), px(top), px(width), px(height));
  list->setSortingEnabled(false);
  list->setUniformItemSizes(true);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The columns of the display lines only line up in a fixed-pitch font.
  QFont courier(QStringLiteral("Liberation Mono"));
  courier.setStyleHint(QFont::Monospace);
  courier.setFixedPitch(true);
  courier.setPointSizeF(9.75);
  list->setFont(courier);
  return list;
}

void fill(QListWidget* list, const std::vector<std::string>& lines) {
  list->clear();
  for (const auto& line : lines) list->addItem(fromWindows1252(line));
}

}  // namespace

MainScreen::MainScreen(HelpDesk* help, QWidget* parent)
    : Screen(QStringLiteral("frmMain"), QStringLiteral("Main Screen"), 10470, 7440, parent) {
  QGroupBox* inputs = addFrame(client(), "fraInputSpecs", QStringLiteral("Input Specifications"), 360, 0, 5415, 3495);
  m_inputSpecs = addList(inputs, "lstInputSpecs", 120, 240, 5175, 2595);
  QPushButton* editInputs = addButton(inputs, "cmdEditInputSpecs", QStringLiteral("Edit"), 2040, 2950);

  QGroupBox* numbers = addFrame(client(), "fraNumbers", QStringLiteral("Phone Numbers"), 360, 3600, 5415, 3615);
  m_phoneNumbers = addList(numbers, "lstPhoneNumbers", 120, 240, 5175, 2790);
  QPushButton* editNumbers = addButton(numbers, "cmdEditPhoneNumbers", QStringLiteral("Edit"), 2040, 3120);

  QGroupBox* global = addFrame(client(), "fraMain", QStringLiteral("Global Settings"), 6000, 0, 4095, 4455);
  // "Alarm Dialer (No Beeps)" takes two lines; the Function row has the room for it.
  m_function = addSettingRow(global, "lblFunction", QStringLiteral("Function"), "lblFunctionSetting", 360, 450);
  m_securityCode = addSettingRow(global, "lblSecurity", QStringLiteral("Security Code"), "lblSecurityCodeSetting", 840);
  m_accessCode = addSettingRow(global, "lblAccess", QStringLiteral("Access Code"), "lblAccessCodeSetting", 1200);
  m_ringDelay = addSettingRow(global, "lblRingDelay", QStringLiteral("Ring Delay"), "lblRingDelaySetting", 1560);
  m_ringbackLimit =
      addSettingRow(global, "lblRingbackLimit", QStringLiteral("Ringback Limit"), "lblRingbackLimitSetting", 1920);
  m_dialingSpeed =
      addSettingRow(global, "lblDialingSpeed", QStringLiteral("Dialing Speed"), "lblDialingSpeedSetting", 2280);
  m_callProgress = addSettingRow(global, "lblCallProgress", QStringLiteral("Call Progress Detection"),
                                 "lblCallProgressSetting", 2640);
  m_forced = addSettingRow(global, "lblForced", QStringLiteral("Forced Play Timer"), "lblForcedSetting", 3000);
  m_hookswitch =
      addSettingRow(global, "lblHookswitch", QStringLiteral("Hookswitch Flash"), "lblHookswitchSetting", 3360);
  m_hookswitchCaption = global->findChild<QLabel*>(QStringLiteral("lblHookswitch"));
  QPushButton* editGlobal = addButton(global, "cmdEditGlobal", QStringLiteral("Edit"), 1440, 3840);

  QGroupBox* commands = addFrame(client(), "fraCommands", QStringLiteral("Commands"), 6720, 4680, 2655, 2415);
  m_connect = addButton(commands, "cmdConnect", QStringLiteral("Connect"), 720, 480);
  m_send = addButton(commands, "cmdSend", QStringLiteral("Send"), 720, 1080);
  QPushButton* exit = addButton(commands, "cmdExit", QStringLiteral("Exit"), 720, 1680);

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  // The usual desktop keys beside the menus' own letters.
  QAction* save = file->addAction(QStringLiteral("&Save"));
  save->setObjectName(QStringLiteral("mnuFileSave"));
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  QAction* saveAs = file->addAction(QStringLiteral("&Save As"));
  saveAs->setObjectName(QStringLiteral("mnuFileSaveAs"));
  saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  file->addSeparator();
  QAction* print = file->addAction(QStringLiteral("&Print"));
  print->setObjectName(QStringLiteral("mnuFilePrint"));
  print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  file->addSeparator();
  QAction* compare = file->addAction(QStringLiteral("&Compare With File..."));
  compare->setObjectName(QStringLiteral("mnuCompare"));
  addHelpMenu(help, "Main");

  connect(editGlobal, &QPushButton::clicked, this, &MainScreen::editGlobalClicked);
  connect(editInputs, &QPushButton::clicked, this, &MainScreen::editInputSpecsClicked);
  connect(editNumbers, &QPushButton::clicked, this, &MainScreen::editPhoneNumbersClicked);
  connect(m_connect, &QPushButton::clicked, this, &MainScreen::connectClicked);
  connect(m_send, &QPushButton::clicked, this, &MainScreen::sendClicked);
  connect(exit, &QPushButton::clicked, this, &MainScreen::exitClicked);
  connect(save, &QAction::triggered, this, &MainScreen::saveTriggered);
  connect(saveAs, &QAction::triggered, this, &MainScreen::saveAsTriggered);
  connect(print, &QAction::triggered, this, &MainScreen::printTriggered);
  connect(compare, &QAction::triggered, this, &MainScreen::compareTriggered);

  // The three Edit buttons are told apart by their frames, the lists by their captions.
  editInputs->setAccessibleName(QStringLiteral("Edit Input Specifications"));
  editNumbers->setAccessibleName(QStringLiteral("Edit Phone Numbers"));
  editGlobal->setAccessibleName(QStringLiteral("Edit Global Settings"));
  m_inputSpecs->setAccessibleName(inputs->title());
  m_phoneNumbers->setAccessibleName(numbers->title());

  // Closing the window signs off like Exit.
  setClosingAllowed(false);
  connect(this, &Screen::closeRequested, this, &MainScreen::exitClicked);
  setOnline(false);
}

QLabel* MainScreen::addSettingRow(QWidget* frame, const char* captionName, const QString& caption,
                                  const char* valueName, int top, int valueHeight) {
  addLabel(frame, captionName, caption, 480, top, 2200)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QLabel* value = addLabel(frame, valueName, QString(), 2760, top, 1275, valueHeight);
  value->setWordWrap(true);
  value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return value;
}

void MainScreen::display(const Document& document) {
  const Programming& record = document.record();
  const GlobalSettings& global = record.global;
  m_function->setText(fromWindows1252(global.function));
  m_securityCode->setText(fromWindows1252(global.securityCode));
  m_accessCode->setText(fromWindows1252(global.accessCode));
  m_ringDelay->setText(fromWindows1252(global.ringDelay));
  m_ringbackLimit->setText(fromWindows1252(global.ringbackLimit));
  m_dialingSpeed->setText(fromWindows1252(global.dialingSpeed));
  m_callProgress->setText(fromWindows1252(global.callProgress));
  m_forced->setText(fromWindows1252(global.forcedPlayTimer));
  m_hookswitch->setText(fromWindows1252(global.hookswitchFlash));
  fill(m_inputSpecs, record.inputSpecs);
  fill(m_phoneNumbers, record.phoneNumbers);
  m_hookswitchCaption->setEnabled(!document.hookswitchGreyed());
  m_hookswitch->setEnabled(!document.hookswitchGreyed());
}

void MainScreen::setOnline(bool online) {
  m_connect->setVisible(!online);
  m_connect->setEnabled(!online);
  m_send->setEnabled(online);
}

}  // namespace tarvek
