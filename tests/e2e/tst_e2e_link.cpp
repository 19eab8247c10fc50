#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "core/display_lines.h"
#include "core/programming.h"
#include "e2e/e2e_harness.h"
#include "e2e/units.h"

using namespace tarvek;
using namespace tarvek::test;
using namespace std::chrono_literals;

namespace {

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
    // The unit holds two values the editors would refuse: the read says so, once.
    QCOMPARE(e.prompts.texts(), std::vector<std::string>{"Some values read from the Tarvek are out of range, listed "
                                                         "below. Send refuses the programming until they are "
                                                         "corrected in the editors."});
    QCOMPARE(e.prompts.shown[0].detail,
             std::string("Input 1, Resume Timer: \"Hrs 18 Min 12 Sec 15\"\nInput 2, Msg Rpt Count: \"0\""));
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

  void nothingElseStartsWhileAnExchangeWaits() {
    EndToEnd e;
    SimulatorOptions options;
    options.baud = 9600;  // a read that takes a few seconds
    e.startSimulator(sim::Memory::factory(), options);
    SelectScreen* select = e.startAtSelect();
    int attempts = 0;
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] {
      ++attempts;
      // A second Connect, Exit and closing the window, all while the read runs.
      QMetaObject::invokeMethod(select->connectButton(), "click");
      if (attempts == 2) click(select, "cmdExit");
      if (attempts == 3) select->close();
    });
    again.start(300);
    MainScreen* main = e.connectFromSelect();
    again.stop();
    QVERIFY(attempts >= 3);
    QVERIFY(main);
    QVERIFY(!e.ended);
    QVERIFY(e.prompts.shown.empty());
    e.simulator->stop();
    // One greeting and one read, nothing more.
    const std::string transcript = e.transcript();
    QCOMPARE(std::count(transcript.begin(), transcript.end(), '\n'), 74);
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
    // Each entry's tooltip names its device: through the link, or the platform's own name.
    const auto* ports = child<QComboBox>(e.app->commPortScreen(), "cmbPort");
    QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(),
             QStringLiteral("Comm 1 is /dev/tarvek-adapter-that-is-not-there (ports/com1)"));
    QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), QStringLiteral("Comm 2 is /dev/ttyS1"));
    QVERIFY(!e.app->selectScreen()->isEnabled());
    QVERIFY(e.app->session().caller == Caller::Select);
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
