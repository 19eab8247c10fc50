#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "e2e/e2e_harness.h"
#include "record/display_lines.h"
#include "record/programming.h"

using namespace tarvek;
using namespace tarvek::test;
using namespace std::chrono_literals;

namespace {

// A unit holding a value of every kind: each mode of each field, timers at their
// edges, counts with and without a leading zero, pager and ordinary numbers, the
// longest number, and a pager mark on an empty number.
sim::Memory everyKindOfValue(bool shortLayout) {
  sim::Memory memory = sim::Memory::factory();
  memory.global = {"2", "123456", "654321", "3", "12", "1", "1", "05"};
  memory.input(1) = {"1", "1", "09", "10", 3600, 65535};
  memory.input(2) = {"2", "0", "00", "99", 330, 18 * 3600};
  memory.input(8) = {"0", "1", "12", "01", 59, 60};
  memory.number(1, 0) = {"5551234", false};
  memory.number(2, 2) = {"9,555", true};
  memory.number(3, 7) = {shortLayout ? "*70#,12345678901234567890123456" : "*70#,123456789012345678901234567", false};
  memory.number(4, 1) = {"", true};
  memory.number(8, 7) = {"#", false};
  return memory;
}

// What the Main screen must show for that unit, written out line by line.
Programming expectedDisplay(bool shortLayout) {
  Programming record = newProgramming();
  record.global = {"Alarm Dialer (No Beeps)",           "123456", "654321", "3", "12", "Fast", "Disabled", "05",
                   shortLayout ? "Disabled" : "Enabled"};
  auto& specs = record.inputSpecs;
  specs[2] = "  Normal State      Normally Closed";
  specs[3] = "  Duration          Continuous";
  specs[4] = "  Qualifier Timer   Hrs 01 Min 00 Sec 00";
  specs[5] = "  Resume Timer      Hrs 18 Min 12 Sec 15";
  specs[6] = "  Msg Rpt Count     9";
  specs[7] = "  Lap Counter       10";
  specs[11] = "  Normal State      Disabled";
  specs[12] = "  Duration          Momentary";
  specs[13] = "  Qualifier Timer   Hrs 00 Min 05 Sec 30";
  specs[14] = "  Resume Timer      Hrs 18 Min 00 Sec 00";
  specs[15] = "  Msg Rpt Count     0";
  specs[16] = "  Lap Counter       99";
  specs[65] = "  Normal State      Normally Open";
  specs[66] = "  Duration          Continuous";
  specs[67] = "  Qualifier Timer   Hrs 00 Min 00 Sec 59";
  specs[68] = "  Resume Timer      Hrs 00 Min 01 Sec 00";
  specs[69] = "  Msg Rpt Count     12";
  specs[70] = "  Lap Counter       1";

  auto& numbers = record.phoneNumbers;
  for (int input = 1; input <= 8; ++input)
    for (int slot = 1; slot <= 8; ++slot)
      numbers[lines::phoneLineIndex(input, slot)] = "   (" + std::to_string(slot) + ")       Not Programmed";
  numbers[2] = "   (1) 5551234";
  numbers[11 + 4] = shortLayout ? "   (3) 9,555" : " P (3) 9,555";
  numbers[22 + 9] = shortLayout ? "   (8) *70#,12345678901234567890123456" : "   (8) *70#,123456789012345678901234567";
  numbers[33 + 3] = shortLayout ? "   (2)       Not Programmed" : " P (2)       Not Programmed";
  numbers[77 + 9] = "   (8) #";
  return record;
}

void compareWithMainScreen(MainScreen* main, const Programming& expected) {
  QVERIFY(main);
  const GlobalSettings& g = expected.global;
  const std::pair<const char*, std::string> labels[] = {
      {"lblFunctionSetting", g.function},           {"lblSecurityCodeSetting", g.securityCode},
      {"lblAccessCodeSetting", g.accessCode},       {"lblRingDelaySetting", g.ringDelay},
      {"lblRingbackLimitSetting", g.ringbackLimit}, {"lblDialingSpeedSetting", g.dialingSpeed},
      {"lblCallProgressSetting", g.callProgress},   {"lblForcedSetting", g.forcedPlayTimer},
      {"lblHookswitchSetting", g.hookswitchFlash}};
  for (const auto& [name, value] : labels) QCOMPARE(labelText(main, name), QString::fromStdString(value));
  QCOMPARE(listLines(main, "lstInputSpecs"), toQt(expected.inputSpecs));
  QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(expected.phoneNumbers));
}

}  // namespace

class EndToEndLinkTest : public QObject {
  Q_OBJECT

 private slots:
  void connectReadsEveryKindOfValue_data() {
    QTest::addColumn<bool>("shortLayout");
    QTest::newRow("full layout") << false;
    QTest::newRow("short layout") << true;
  }

  void connectReadsEveryKindOfValue() {
    QFETCH(bool, shortLayout);
    EndToEnd e;
    SimulatorOptions options;
    options.shortLayout = shortLayout;
    e.startSimulator(everyKindOfValue(shortLayout), options);
    e.startAtSelect();
    MainScreen* main = e.connectFromSelect();
    QVERIFY2(main, qPrintable(QString::fromStdString(e.prompts.lastText())));
    QVERIFY(e.prompts.shown.empty());
    compareWithMainScreen(main, expectedDisplay(shortLayout));
    QTRY_VERIFY(!e.app->selectScreen());
    QVERIFY(!child<QPushButton>(main, "cmdConnect")->isVisible());
    QVERIFY(child<QPushButton>(main, "cmdSend")->isEnabled());
    QCOMPARE(e.app->session().reducedFeatures, shortLayout);
    QCOMPARE(child<QLabel>(main, "lblHookswitch")->isEnabled(), !shortLayout);
    QCOMPARE(child<QLabel>(main, "lblHookswitchSetting")->isEnabled(), !shortLayout);
    QVERIFY(!e.app->progress().screen());
    QVERIFY(!e.port.isOpen());
    savePicture(main, shortLayout ? QStringLiteral("frmMain-read-short") : QStringLiteral("frmMain-read"));
  }

  void noTarvekLeadsToNotFoundAndBack() {
    EndToEnd e;
    SimulatorOptions options;
    options.faults = {"none:HI:all"};
    e.startSimulator(sim::Memory::factory(), options);
    SelectScreen* select = e.startAtSelect();
    QElapsedTimer clock;
    clock.start();
    click(select, "cmdConnect");
    QVERIFY(clock.elapsed() >= 1900);  // the greeting waited its time-out
    QVERIFY(shown(e.app->notFoundScreen()));
    QVERIFY(!select->isEnabled());
    click(e.app->notFoundScreen(), "cmdCancel");
    QVERIFY(select->isEnabled());
    QVERIFY(!e.port.isOpen());
  }

  void anUnopenablePortLeadsToTheCommPortScreen() {
    EndToEnd e;
    std::filesystem::create_directories(e.folder / "ports");
    std::filesystem::create_symlink("/dev/tarvek-adapter-that-is-not-there", e.folder / "ports/com1");
    e.startAtSelect();
    click(e.app->selectScreen(), "cmdConnect");
    QCOMPARE(e.prompts.texts(), std::vector<std::string>{"Communications error"});
    const QString detail = QString::fromStdString(e.prompts.shown[0].detail);
    QVERIFY2(detail.contains(QStringLiteral("Comm 1")) && detail.contains(QStringLiteral("does not exist")),
             qPrintable(detail));
    QVERIFY(shown(e.app->commPortScreen()));
    QVERIFY(!e.app->selectScreen()->isEnabled());
    QCOMPARE(QString::fromStdString(e.app->session().callerName), QStringLiteral("Select"));
  }

  void aLineDroppedDuringThePhoneNumbersIsNotRespondingThenConnectWorks() {
    EndToEnd e;
    SimulatorOptions options;
    options.faults = {"drop:NR:10"};
    options.replugDelay = 200ms;
    e.startSimulator(everyKindOfValue(false), options);
    SelectScreen* select = e.startAtSelect();
    click(select, "cmdConnect");
    QCOMPARE(e.prompts.texts(), std::vector<std::string>{"The Tarvek is not responding"});
    QVERIFY(!shown(e.app->mainScreen()));
    QVERIFY(shown(select) && select->isEnabled());
    QVERIFY(!e.app->progress().screen());
    QVERIFY(!e.port.isOpen());

    e.simulator->waitForNewLine();
    e.prompts.shown.clear();
    MainScreen* main = e.connectFromSelect();
    QVERIFY2(main, qPrintable(QString::fromStdString(e.prompts.lastText())));
    compareWithMainScreen(main, expectedDisplay(false));
  }

  void mainScreenConnectThenExitSignsOff() {
    EndToEnd e;
    e.startSimulator(sim::Memory::factory());
    e.startAtSelect();
    click(e.app->selectScreen(), "cmdNew");
    MainScreen* main = e.app->mainScreen();
    QVERIFY(!child<QPushButton>(main, "cmdSend")->isEnabled());
    click(main, "cmdConnect");
    QVERIFY(e.prompts.shown.empty());
    QVERIFY(!child<QPushButton>(main, "cmdConnect")->isVisible());
    QVERIFY(child<QPushButton>(main, "cmdSend")->isEnabled());
    click(main, "cmdExit");
    QVERIFY(e.ended);
    e.simulator->stop();
    const std::string transcript = e.transcript();
    QVERIFY2(transcript.find("HI") != std::string::npos, transcript.c_str());
    QVERIFY2(transcript.find("N1R0") != std::string::npos, transcript.c_str());
    QVERIFY2(transcript.find("BY") != std::string::npos, transcript.c_str());
  }
};

QTEST_MAIN(EndToEndLinkTest)
#include "tst_e2e_link.moc"
