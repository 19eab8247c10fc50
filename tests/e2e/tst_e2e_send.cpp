#include <signal.h>

#include <QElapsedTimer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <optional>

#include "core/link_operations.h"
#include "e2e/e2e_harness.h"
#include "e2e/units.h"
#include "port/termination_signals.h"

using namespace tarvek;
using namespace tarvek::test;
using namespace std::chrono_literals;

namespace {

// Reads `memory` from a unit, then swaps in a unit in its factory state on the same
// port, ready for Send.
MainScreen* readThenSwapUnits(EndToEnd& e, const sim::Memory& memory, SimulatorOptions options) {
  e.startSimulator(memory, options);
  e.startAtSelect();
  MainScreen* main = e.connectFromSelect();
  if (!main) return nullptr;
  e.startSimulator(sim::Memory::factory(), options);
  return main;
}

// The unit of every kind of value, less the two values it holds beyond what Send takes
// (a timer over 18 hours and a count of 0).
sim::Memory sendableValues(bool shortLayout) {
  sim::Memory memory = everyKindOfValue(shortLayout);
  memory.input(1).resumeTimer = 18 * 3600;
  memory.input(2).msgRptCount = "01";
  return memory;
}

bool transcriptHasWrites(const std::string& transcript) {
  for (const char* command : {"MW", "I1W", "N1W"})
    if (transcript.find(command) != std::string::npos) return true;
  return false;
}

}  // namespace

class EndToEndSendTest : public QObject {
  Q_OBJECT

 private slots:
  void readThenSendStoresTheSameMemory_data() {
    QTest::addColumn<bool>("shortLayout");
    QTest::addColumn<int>("signal");  // raised half way through the send; 0: none
    QTest::newRow("full layout") << false << 0;
    QTest::newRow("short layout") << true << 0;
    // The send runs to its end without a message, then the unit is signed off and the
    // program ends.
    QTest::newRow("SIGTERM during the send") << false << SIGTERM;
    QTest::newRow("SIGINT during the send") << true << SIGINT;
  }

  void readThenSendStoresTheSameMemory() {
    QFETCH(bool, shortLayout);
    QFETCH(int, signal);
    EndToEnd e;
    SimulatorOptions options;
    options.shortLayout = shortLayout;
    const sim::Memory original = sendableValues(shortLayout);
    MainScreen* main = readThenSwapUnits(e, original, options);
    QVERIFY(main);
    QVERIFY(e.prompts.shown.empty());

    // As the program itself watches for them.
    std::optional<TerminationSignals> termination;
    QTimer raiser;
    if (signal) {
      termination.emplace();
      connect(&*termination, &TerminationSignals::received, e.app.get(), &Application::endOnSignal);
      QObject::connect(&raiser, &QTimer::timeout, [&] {
        if (e.app->progress().screen() && e.app->progress().screen()->bar()->value() >= 50) {
          raiser.stop();
          ::raise(signal);
        }
      });
      raiser.start(1);
    }

    e.prompts.answers.push_back(Answer::Yes);
    click(main, "cmdSend");
    if (signal) {
      QVERIFY(!raiser.isActive());
      QTRY_VERIFY(e.ended);
      QCOMPARE(e.prompts.texts().size(), 1u);  // the Overwrite question alone
      const std::string transcript = e.transcript();
      const auto signOff = transcript.rfind("\"BY\"");
      QVERIFY2(signOff != std::string::npos && signOff > transcript.rfind("\"N8W7"), transcript.c_str());
    } else {
      QCOMPARE(e.prompts.texts().back(), std::string("Successful data transmission"));
    }
    QVERIFY(!e.app->progress().screen());
    QVERIFY(!e.port.isOpen());

    sim::Memory expected = original;
    for (auto& number : expected.numbers)
      if (number.number.empty()) number.pager = false;  // an empty slot goes out as no pager
    if (shortLayout) {
      // A short-layout unit neither reports nor takes Hookswitch Flash and pager marks:
      // the new unit keeps its own.
      expected.global.hookswitchFlash = sim::Memory::factory().global.hookswitchFlash;
      for (auto& number : expected.numbers) number.pager = false;
    }
    QVERIFY(e.unitMemory() == expected);

    // The record on the screen is unchanged by sending it.
    if (!signal) QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(expectedDisplay(shortLayout).phoneNumbers));
  }

  void noAnswerToTheFirstInputCommandStopsAfterItsTimeout() {
    EndToEnd e;
    SimulatorOptions options;
    options.faults = {"none:IW:1"};
    MainScreen* main = readThenSwapUnits(e, sendableValues(false), options);
    QVERIFY(main);
    e.prompts.answers.push_back(Answer::Yes);
    QElapsedTimer clock;
    clock.start();
    click(main, "cmdSend");
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(e.prompts.texts().back(), std::string("The Tarvek did not verify a good transmission"));
    QVERIFY2(elapsed >= 3900 && elapsed < 8000, qPrintable(QString::number(elapsed)));
    QVERIFY(!e.app->progress().screen());
    QVERIFY(!e.port.isOpen());
    // The Global settings went in before the refusal; nothing after it.
    const std::string transcript = e.transcript();
    QVERIFY(transcript.find("MW") != std::string::npos);
    QVERIFY(transcript.find("I2W") == std::string::npos);
  }

  void cancellingTheQuestionWritesNothing_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Cancel") << static_cast<int>(Answer::Cancel);
    QTest::newRow("No") << static_cast<int>(Answer::No);
  }

  void cancellingTheQuestionWritesNothing() {
    QFETCH(int, answer);
    EndToEnd e;
    MainScreen* main = readThenSwapUnits(e, sendableValues(false), {});
    QVERIFY(main);
    e.prompts.answers.push_back(static_cast<Answer>(answer));
    click(main, "cmdSend");
    QCOMPARE(e.prompts.shown.size(), 1u);
    QCOMPARE(e.prompts.shown[0].title, std::string("Overwrite"));
    QVERIFY(!e.app->progress().screen());
    e.simulator->stop();
    QVERIFY(!transcriptHasWrites(e.transcript()));
    QVERIFY(e.unitMemory() == sim::Memory::factory());
  }
};

QTEST_MAIN(EndToEndSendTest)
#include "tst_e2e_send.moc"
