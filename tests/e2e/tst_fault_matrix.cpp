// Every exchange of the link against every way a unit or its line can fail, end to end:
// the real screens and QSerialPort against tarvek-sim. Each row starts a simulator with
// one fault, runs the operation from its screen and checks the messages, the screens,
// the flags, the data read or sent so far, that nothing waited past the time-out, that
// the port is closed, and that the next Connect or Send goes through.
#include <fcntl.h>
#include <unistd.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <optional>

#include "core/programming.h"
#include "e2e/e2e_harness.h"
#include "simulator/memory_text.h"

using namespace tarvek;
using namespace tarvek::test;
using namespace std::chrono_literals;

namespace {

// The rows run on Comm 16.
constexpr int kPort = 16;

// A pseudo-terminal where Comm 16 goes when its link is missing, as /dev/ttyS15 would be:
// a port of this machine with something else on it. When an adapter is pulled part way
// through an operation, the operation must fail there and never send a command here.
class FallbackLine {
 public:
  FallbackLine() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return;
    m_path = ::ptsname(m_master);
    // Held open here too, so that what a client wrote stays readable after it closed.
    m_slave = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
  }
  ~FallbackLine() {
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
  }
  FallbackLine(const FallbackLine&) = delete;
  FallbackLine& operator=(const FallbackLine&) = delete;

  bool ready() const { return m_slave >= 0; }
  const std::string& path() const { return m_path; }
  // What reached the line so far.
  std::string heard() const {
    std::string bytes;
    char buffer[256];
    for (ssize_t n; (n = ::read(m_master, buffer, sizeof buffer)) > 0;) bytes.append(buffer, std::size_t(n));
    return bytes;
  }

 private:
  int m_master = -1;
  int m_slave = -1;
  std::string m_path;
};

// What an operation may take beyond the wait a fault forces on it: its own duration
// without the fault (measured once) and this much slack for a loaded machine.
constexpr qint64 kSlackMs = 2000;

const char* const kNotResponding = "The Tarvek is not responding";
const char* const kCommunicationsError = "Communications error";
const char* const kPhoneNumbersError = "Communications error- unable to load phone numbers for display";
const char* const kNotVerified = "The Tarvek did not verify a good transmission";
const char* const kSent = "Successful data transmission";
const char* const kOverwriteQuestion = "This will write over what is in the Tarvek's memory now.  Continue? ";
const char* const kReadOutOfRange =
    "Some values read from the Tarvek are out of range, listed below. Send refuses the programming until they are "
    "corrected in the editors.";

// The unit the rows read: a value of each kind, so that a part read shows which records
// arrived, each within what Send takes back.
sim::Memory unitMemory() {
  sim::Memory memory = sim::Memory::factory();
  memory.global = {"2", "123456", "654321", "3", "12", "1", "1", "05"};
  memory.input(1) = {"1", "1", "09", "10", 3600, 18 * 3600 - 1};
  memory.input(3) = {"2", "0", "01", "99", 330, 18 * 3600};
  memory.input(8) = {"0", "1", "12", "01", 59, 60};
  memory.number(1, 0) = {"5551234", false};
  memory.number(2, 2) = {"9,555", true};
  memory.number(2, 5) = {"12345", false};
  memory.number(3, 7) = {"*70#,123456789012345678901234567", false};
  memory.number(4, 1) = {"", true};
  memory.number(8, 7) = {"#", false};
  return memory;
}

std::string notProgrammedAsRead(int slot) { return "   (" + std::to_string(slot) + ")       Not Programmed"; }

// The Main screen after a whole read of that unit.
Programming unitDisplay() {
  Programming record = newProgramming();
  record.global = {"Alarm Dialer (No Beeps)", "123456", "654321", "3", "12", "Fast", "Disabled", "05", "Enabled"};
  auto& specs = record.inputSpecs;
  specs[2] = "  Normal State      Normally Closed";
  specs[3] = "  Duration          Continuous";
  specs[4] = "  Qualifier Timer   Hrs 01 Min 00 Sec 00";
  specs[5] = "  Resume Timer      Hrs 17 Min 59 Sec 59";
  specs[6] = "  Msg Rpt Count     9";
  specs[7] = "  Lap Counter       10";
  specs[20] = "  Normal State      Disabled";
  specs[21] = "  Duration          Momentary";
  specs[22] = "  Qualifier Timer   Hrs 00 Min 05 Sec 30";
  specs[23] = "  Resume Timer      Hrs 18 Min 00 Sec 00";
  specs[24] = "  Msg Rpt Count     1";
  specs[25] = "  Lap Counter       99";
  specs[65] = "  Normal State      Normally Open";
  specs[66] = "  Duration          Continuous";
  specs[67] = "  Qualifier Timer   Hrs 00 Min 00 Sec 59";
  specs[68] = "  Resume Timer      Hrs 00 Min 01 Sec 00";
  specs[69] = "  Msg Rpt Count     12";
  specs[70] = "  Lap Counter       1";
  auto& numbers = record.phoneNumbers;
  for (int input = 0; input < 8; ++input)
    for (int slot = 1; slot <= 8; ++slot) numbers[std::size_t(11 * input + 1 + slot)] = notProgrammedAsRead(slot);
  numbers[2] = "   (1) 5551234";
  numbers[15] = " P (3) 9,555";
  numbers[18] = "   (6) 12345";
  numbers[31] = "   (8) *70#,123456789012345678901234567";
  numbers[36] = " P (2)       Not Programmed";
  numbers[86] = "   (8) #";
  return record;
}

// A read that stopped part way: the Global settings as decoded, and the first lines of
// each list as a whole read shows them.
Programming partRead(const GlobalSettings& global, std::size_t inputLines, std::size_t phoneLines) {
  const Programming whole = unitDisplay();
  Programming record;
  record.global = global;
  record.inputSpecs.assign(whole.inputSpecs.begin(), whole.inputSpecs.begin() + std::ptrdiff_t(inputLines));
  record.phoneNumbers.assign(whole.phoneNumbers.begin(), whole.phoneNumbers.begin() + std::ptrdiff_t(phoneLines));
  return record;
}

// The programming the send rows write: every field differs from the unit's.
Programming sentRecord() {
  Programming record = newProgramming();
  record.global = {"Alarm Dialer", "111111", "222222", "4", "7", "Normal", "Disabled", "30", "Disabled"};
  auto& specs = record.inputSpecs;
  specs[11] = "  Normal State      Normally Closed";
  specs[12] = "  Duration          Continuous";
  specs[13] = "  Qualifier Timer   Hrs 02 Min 03 Sec 04";
  specs[14] = "  Resume Timer      Hrs 00 Min 00 Sec 09";
  specs[15] = "  Msg Rpt Count     5";
  specs[16] = "  Lap Counter       11";
  specs[38] = "  Normal State      Disabled";
  specs[39] = "  Duration          Momentary";
  specs[40] = "  Qualifier Timer   Hrs 00 Min 00 Sec 01";
  specs[41] = "  Resume Timer      Hrs 00 Min 59 Sec 59";
  specs[42] = "  Msg Rpt Count     3";
  specs[43] = "  Lap Counter       4";
  record.phoneNumbers[2] = "   (1) 8005550100";
  record.phoneNumbers[50] = " P (5) *9,5551212";
  record.phoneNumbers[86] = "   (8) 1";
  return record;
}

// The unit's memory once it has taken the whole of sentRecord().
sim::Memory sentMemory() {
  sim::Memory memory = sim::Memory::factory();
  memory.global = {"0", "111111", "222222", "4", "07", "0", "0", "30"};
  memory.input(2) = {"1", "1", "05", "11", 2 * 3600 + 3 * 60 + 4, 9};
  memory.input(5) = {"2", "0", "03", "04", 1, 3599};
  memory.number(1, 0) = {"8005550100", false};
  memory.number(5, 4) = {"*9,5551212", true};
  memory.number(8, 7) = {"1", false};
  return memory;
}

// The unit's memory once it has taken the first `commands` commands of a send of
// sentRecord(): the Global command, then the 8 input commands, then the 64 phone commands.
sim::Memory afterCommands(int commands) {
  const sim::Memory sent = sentMemory();
  sim::Memory memory = unitMemory();
  if (commands >= 1) memory.global = sent.global;
  for (int input = 1; input <= std::min(commands - 1, 8); ++input) memory.input(input) = sent.input(input);
  for (int i = 0; i < std::min(commands - 9, 64); ++i) memory.numbers[std::size_t(i)] = sent.numbers[std::size_t(i)];
  return memory;
}

enum class Phase {
  SelectGreeting,  // "HI" of Connect on the selection screen, 2 s
  GlobalRead,      // "MR", 4 s
  InputRead,       // "I3R", 4 s
  PhoneRead,       // "N2R3", the 12th phone record, 4 s
  MainGreeting,    // "HI" of Connect on the Main screen, 4 s
  MainProbe,       // "N1R0" of Connect on the Main screen, 2 s
  SendGlobal,      // "MW...", 4 s
  SendInput,       // "I3W...", 4 s
  SendPhone,       // "N3W3...", the 20th phone command, 4 s
};

enum class Operation { SelectConnect, MainConnect, Send };

Operation operationOf(Phase phase) {
  switch (phase) {
    case Phase::SelectGreeting:
    case Phase::GlobalRead:
    case Phase::InputRead:
    case Phase::PhoneRead:
      return Operation::SelectConnect;
    case Phase::MainGreeting:
    case Phase::MainProbe:
      return Operation::MainConnect;
    default:
      return Operation::Send;
  }
}

enum class Outcome {
  NotFound,      // no message; the port-not-found screen over the disabled calling screen
  ReadFinished,  // the Main screen with what was read, online; the selection screen gone
  SelectStays,   // the selection screen usable; the Main screen not shown
  Online,        // the Main screen with Connect hidden and Send enabled
  Offline,       // the Main screen with Connect shown and Send disabled
  Sent,          // the whole record in the unit
  SendStopped,   // the Main screen usable, the send stopped part way
};

// One row of the matrix, written as row(phase, fault, outcome) and what else it expects.
struct Row {
  Phase phase = Phase::SelectGreeting;
  std::string fault;  // tarvek-sim's --fault
  Outcome outcome = Outcome::NotFound;
  std::vector<std::string> messages;  // after the Overwrite question, for a send
  int waitedMs = 0;                   // how long the fault makes the operation wait
  std::optional<Programming> record;  // the Main screen's record afterwards; none: no Main screen
  bool online = false;
  bool greyed = false;    // the Hookswitch Flash row greyed
  int commandsTaken = 0;  // a send: the commands the unit took

  Row& says(std::vector<std::string> texts) {
    messages = std::move(texts);
    return *this;
  }
  Row& waits(int ms) {
    waitedMs = ms;
    return *this;
  }
  Row& shows(Programming shown) {
    record = std::move(shown);
    return *this;
  }
  Row& goesOnline() {
    online = true;
    return *this;
  }
  Row& greysHookswitch() {
    greyed = true;
    return *this;
  }
  Row& takes(int commands) {
    commandsTaken = commands;
    return *this;
  }
};

Row row(Phase phase, std::string fault, Outcome outcome) {
  Row r;
  r.phase = phase;
  r.fault = std::move(fault);
  r.outcome = outcome;
  return r;
}

bool losesTheLine(const Row& row) { return row.fault.rfind("drop:", 0) == 0 || row.fault.rfind("unplug:", 0) == 0; }

QStringList qtTexts(const std::vector<std::string>& texts) { return toQt(texts); }

QStringList globalTexts(const GlobalSettings& g) {
  return toQt({g.function, g.securityCode, g.accessCode, g.ringDelay, g.ringbackLimit, g.dialingSpeed, g.callProgress,
               g.forcedPlayTimer, g.hookswitchFlash});
}

QStringList globalLabels(MainScreen* main) {
  QStringList texts;
  for (const char* name : {"lblFunctionSetting", "lblSecurityCodeSetting", "lblAccessCodeSetting",
                           "lblRingDelaySetting", "lblRingbackLimitSetting", "lblDialingSpeedSetting",
                           "lblCallProgressSetting", "lblForcedSetting", "lblHookswitchSetting"})
    texts << labelText(main, name);
  return texts;
}

void compareDocument(EndToEnd& e, const Programming& expected) {
  const Programming& record = e.app->document().record();
  QCOMPARE(globalTexts(record.global), globalTexts(expected.global));
  QCOMPARE(toQt(record.inputSpecs), toQt(expected.inputSpecs));
  QCOMPARE(toQt(record.phoneNumbers), toQt(expected.phoneNumbers));
}

// The record the document holds, as the Main screen shows it in its labels and lists.
void compareMainScreen(EndToEnd& e, MainScreen* main, const Programming& expected) {
  QVERIFY(main);
  compareDocument(e, expected);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(globalLabels(main), globalTexts(expected.global));
  QCOMPARE(listLines(main, "lstInputSpecs"), toQt(expected.inputSpecs));
  QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(expected.phoneNumbers));
}

void compareUnit(const EndToEnd& e, const sim::Memory& expected) {
  QCOMPARE(QString::fromStdString(sim::formatMemory(e.unitMemory())),
           QString::fromStdString(sim::formatMemory(expected)));
}

// The program folder set to Comm 16, with the simulator's link there.
void useComm16(EndToEnd& e) {
  writeFile(e.folder / "setup.txt", "CommPort=" + std::to_string(kPort) + "\r\n");
  e.link = e.folder / ("ports/com" + std::to_string(kPort));
}

// Send on the Main screen with the Overwrite question answered Yes.
void send(EndToEnd& e) {
  e.prompts.answers = {Answer::Yes};
  click(e.app->mainScreen(), "cmdSend");
}

}  // namespace

Q_DECLARE_METATYPE(Row)

class FaultMatrixTest : public QObject {
  Q_OBJECT

  int m_rowIndex = 0;

 private slots:
  // How long each operation takes with nothing wrong, as the base of the time bounds.
  void initTestCase() {
    EndToEnd e;
    useComm16(e);
    e.startSimulator(unitMemory());
    e.startAtSelect();
    QElapsedTimer clock;
    clock.start();
    MainScreen* main = e.connectFromSelect();
    m_baseMs[int(Operation::SelectConnect)] = clock.elapsed();
    QVERIFY2(main, qPrintable(QString::fromStdString(e.prompts.lastText())));
    compareMainScreen(e, main, unitDisplay());
    QVERIFY(!QTest::currentTestFailed());

    e.app->document().setRecord(sentRecord());
    clock.restart();
    send(e);
    m_baseMs[int(Operation::Send)] = clock.elapsed();
    QCOMPARE(qtTexts(e.prompts.texts()), (QStringList{kOverwriteQuestion, kSent}));
    compareUnit(e, sentMemory());

    EndToEnd fromNew;
    useComm16(fromNew);
    fromNew.startSimulator(unitMemory());
    fromNew.startAtSelect();
    click(fromNew.app->selectScreen(), "cmdNew");
    clock.restart();
    click(fromNew.app->mainScreen(), "cmdConnect");
    m_baseMs[int(Operation::MainConnect)] = clock.elapsed();
    QVERIFY(fromNew.prompts.shown.empty());
    QVERIFY(fromNew.app->mainScreen()->sendButton()->isEnabled());
    qInfo("without faults: Connect and read %lld ms, Send %lld ms, Connect from the Main screen %lld ms",
          m_baseMs[int(Operation::SelectConnect)], m_baseMs[int(Operation::Send)],
          m_baseMs[int(Operation::MainConnect)]);
  }

  // Nine phases by five faults (no answer; an answer late past the time-out and one late
  // within it; wrong text; wrong length; the line dropped), and the adapter pulled after
  // an answer, so that the next opening fails, although another device answers where
  // the port falls back to without its link. A late answer comes half a second after
  // the time-out, so that an operation waiting longer than it should takes it. Left out, as they would repeat a row:
  // - an answer longer than asked for after the greetings and send commands: only the
  //   first characters are read, so it is a clean exchange ("too long" rows show it once
  //   for the greeting and once for the send commands, which share one code path); the
  //   same holds for the Global, input and phone records, whose read length cuts them;
  // - the Main screen's greeting answered "OK" and more: the greeting code of the
  //   selection screen's row, with the other time-out;
  // - the adapter pulled after the probe: the probe was answered, so that Connect
  //   succeeds; the lost line meets the next operation, as the send rows show;
  // - the sign-off "BY": nothing is checked, the program ends whatever comes (tst_e2e_link).
  void faultMatrix_data() {
    QTest::addColumn<Row>("row");
    const GlobalSettings read = unitDisplay().global;
    const Programming whole = unitDisplay();
    const Programming fresh = newProgramming();
    const Programming sent = sentRecord();

    // Greeting of Connect on the selection screen: any answer but "OK" within 2 s leads to
    // the port-not-found screen, without a message, and no Main screen is made.
    const Phase hi = Phase::SelectGreeting;
    QTest::newRow("greeting/no answer") << row(hi, "none:HI:1", Outcome::NotFound).waits(2000);
    QTest::newRow("greeting/late past the time-out") << row(hi, "late:HI:1:2500", Outcome::NotFound).waits(2000);
    QTest::newRow("greeting/late within the time-out")
        << row(hi, "late:HI:1:1000", Outcome::ReadFinished).waits(1000).shows(whole).goesOnline();
    QTest::newRow("greeting/wrong text") << row(hi, "text:HI:1:ok", Outcome::NotFound);
    QTest::newRow("greeting/too short") << row(hi, "length:HI:1:1", Outcome::NotFound).waits(2000);
    // Only the first two characters are read: "OK" and more is a greeting.
    QTest::newRow("greeting/too long") << row(hi, "length:HI:1:5", Outcome::ReadFinished).shows(whole).goesOnline();
    // A run-time error before anything was read: no Main screen is made, so the next
    // Connect opens one online.
    QTest::newRow("greeting/line dropped") << row(hi, "drop:HI:1", Outcome::SelectStays).says({kNotResponding});
    // Answered, then the adapter is gone: the Global read cannot open the port, and the
    // Main screen opens with nothing read.
    QTest::newRow("greeting/unplugged")
        << row(hi, "unplug:HI:1", Outcome::ReadFinished).says({kCommunicationsError}).shows(Programming{}).goesOnline();

    // The Global settings: no check on the answer; what is missing reads as empty, a
    // missing code as one that is not '0'.
    const Phase mr = Phase::GlobalRead;
    Programming nothingGlobal = whole;
    nothingGlobal.global = {"", "", "", "", "", "Fast", "Disabled", "", "Enabled"};
    QTest::newRow("Global read/no answer") << row(mr, "none:MR:1", Outcome::ReadFinished)
                                                  .says({kReadOutOfRange})
                                                  .waits(4000)
                                                  .shows(nothingGlobal)
                                                  .goesOnline();
    QTest::newRow("Global read/late past the time-out") << row(mr, "late:MR:1:4500", Outcome::ReadFinished)
                                                               .says({kReadOutOfRange})
                                                               .waits(4000)
                                                               .shows(nothingGlobal)
                                                               .goesOnline();
    QTest::newRow("Global read/late within the time-out")
        << row(mr, "late:MR:1:1500", Outcome::ReadFinished).waits(1500).shows(whole).goesOnline();
    // A short-layout answer from this full unit: the Global settings in the short layout
    // with Hookswitch Flash greyed; the phone answers then clear the flag again.
    Programming shortGlobal = whole;
    shortGlobal.global = {
        "Alarm Dialer (No Beeps)", "123456", "654321", "3", "12", "Fast", "Disabled", "05", "Disabled"};
    QTest::newRow("Global read/wrong text") << row(mr, "text:MR:1:2123456654321312105\\r", Outcome::ReadFinished)
                                                   .shows(shortGlobal)
                                                   .goesOnline()
                                                   .greysHookswitch();
    // 19 characters: the timer is taken from the last two, the Hookswitch digit and a '0'.
    Programming cutGlobal = whole;
    cutGlobal.global = {"Alarm Dialer (No Beeps)", "123456", "654321", "3", "12", "Fast", "Disabled", "10", "Enabled"};
    QTest::newRow("Global read/too short")
        << row(mr, "length:MR:1:19", Outcome::ReadFinished).waits(4000).shows(cutGlobal).goesOnline();
    QTest::newRow("Global read/line dropped")
        << row(mr, "drop:MR:1", Outcome::SelectStays).says({kNotResponding}).shows(Programming{}).goesOnline();
    QTest::newRow("Global read/unplugged") << row(mr, "unplug:MR:1", Outcome::ReadFinished)
                                                  .says({kCommunicationsError})
                                                  .shows(partRead(read, 0, 0))
                                                  .goesOnline();

    // Input 3: a record under 10 characters cannot be decoded and ends the read with "not
    // responding"; the lines appended so far stay in the hidden Main screen's lists.
    const Phase ir = Phase::InputRead;
    Programming emptyInput3 = partRead(read, 22, 0);
    emptyInput3.inputSpecs[20] = "  Normal State      ";
    emptyInput3.inputSpecs[21] = "  Duration          ";
    QTest::newRow("input read/no answer") << row(ir, "none:IR:3", Outcome::SelectStays)
                                                 .says({kNotResponding})
                                                 .waits(4000)
                                                 .shows(emptyInput3)
                                                 .goesOnline();
    QTest::newRow("input read/late past the time-out") << row(ir, "late:IR:3:4500", Outcome::SelectStays)
                                                              .says({kNotResponding})
                                                              .waits(4000)
                                                              .shows(emptyInput3)
                                                              .goesOnline();
    QTest::newRow("input read/late within the time-out")
        << row(ir, "late:IR:3:1500", Outcome::ReadFinished).waits(1500).shows(whole).goesOnline();
    // Codes without a text of their own show as they came; the timers as their seconds.
    Programming oddInput3 = whole;
    oddInput3.inputSpecs[20] = "  Normal State      9";
    oddInput3.inputSpecs[21] = "  Duration          5";
    oddInput3.inputSpecs[22] = "  Qualifier Timer   Hrs 01 Min 00 Sec 00";
    oddInput3.inputSpecs[23] = "  Resume Timer      Hrs 18 Min 12 Sec 15";
    oddInput3.inputSpecs[24] = "  Msg Rpt Count     7";
    oddInput3.inputSpecs[25] = "  Lap Counter       0";
    QTest::newRow("input read/wrong text") << row(ir, "text:IR:3:950700\\x10\\x0E\\xFF\\xFF", Outcome::ReadFinished)
                                                  .says({kReadOutOfRange})
                                                  .shows(oddInput3)
                                                  .goesOnline();
    // Nine characters: the lines up to the Qualifier Timer are appended before the Resume
    // Timer is missed.
    QTest::newRow("input read/too short") << row(ir, "length:IR:3:9", Outcome::SelectStays)
                                                 .says({kNotResponding})
                                                 .waits(4000)
                                                 .shows(partRead(read, 23, 0))
                                                 .goesOnline();
    QTest::newRow("input read/line dropped")
        << row(ir, "drop:IR:3", Outcome::SelectStays).says({kNotResponding}).shows(partRead(read, 18, 0)).goesOnline();
    QTest::newRow("input read/unplugged") << row(ir, "unplug:IR:3", Outcome::ReadFinished)
                                                 .says({kCommunicationsError})
                                                 .shows(partRead(read, 27, 0))
                                                 .goesOnline();

    // The 12th phone record (input 2, number 4): an answer of the wrong length ends the
    // read with its own message, and the Main screen opens with what was read.
    const Phase nr = Phase::PhoneRead;
    const Programming upToNumber4 = partRead(read, 72, 16);
    QTest::newRow("phone read/no answer") << row(nr, "none:NR:12", Outcome::ReadFinished)
                                                 .says({kPhoneNumbersError})
                                                 .waits(4000)
                                                 .shows(upToNumber4)
                                                 .goesOnline();
    QTest::newRow("phone read/late past the time-out") << row(nr, "late:NR:12:4500", Outcome::ReadFinished)
                                                              .says({kPhoneNumbersError})
                                                              .waits(4000)
                                                              .shows(upToNumber4)
                                                              .goesOnline();
    QTest::newRow("phone read/late within the time-out")
        << row(nr, "late:NR:12:1500", Outcome::ReadFinished).waits(1500).shows(whole).goesOnline();
    // Any 33 characters are a number: shown as they came, the last one the pager mark.
    Programming oddNumber = whole;
    oddNumber.phoneNumbers[16] = " P (4) ABC";
    QTest::newRow("phone read/wrong text")
        << row(nr, "text:NR:12:ABC" + std::string(29, ' ') + "1", Outcome::ReadFinished)
               .says({kReadOutOfRange})
               .shows(oddNumber)
               .goesOnline();
    // 32 characters without a carriage return from a unit that answered 33 so far.
    QTest::newRow("phone read/too short") << row(nr, "length:NR:12:32", Outcome::ReadFinished)
                                                 .says({kPhoneNumbersError})
                                                 .waits(4000)
                                                 .shows(upToNumber4)
                                                 .goesOnline();
    QTest::newRow("phone read/line dropped")
        << row(nr, "drop:NR:12", Outcome::SelectStays).says({kNotResponding}).shows(upToNumber4).goesOnline();
    QTest::newRow("phone read/unplugged") << row(nr, "unplug:NR:12", Outcome::ReadFinished)
                                                 .says({kCommunicationsError})
                                                 .shows(partRead(read, 72, 17))
                                                 .goesOnline();

    // Connect on the Main screen of a new programming: its greeting waits 4 s, and the
    // record on the screen never changes.
    const Phase mainHi = Phase::MainGreeting;
    QTest::newRow("Main greeting/no answer") << row(mainHi, "none:HI:1", Outcome::NotFound).waits(4000).shows(fresh);
    QTest::newRow("Main greeting/late past the time-out")
        << row(mainHi, "late:HI:1:4500", Outcome::NotFound).waits(4000).shows(fresh);
    // Later than the selection screen's greeting would wait.
    QTest::newRow("Main greeting/late within the time-out")
        << row(mainHi, "late:HI:1:3000", Outcome::Online).waits(3000).shows(fresh).goesOnline();
    QTest::newRow("Main greeting/wrong text") << row(mainHi, "text:HI:1:ok", Outcome::NotFound).shows(fresh);
    QTest::newRow("Main greeting/too short")
        << row(mainHi, "length:HI:1:1", Outcome::NotFound).waits(4000).shows(fresh);
    QTest::newRow("Main greeting/line dropped")
        << row(mainHi, "drop:HI:1", Outcome::Offline).says({kNotResponding}).shows(fresh);
    // Greeted, so online, but the probe cannot open the port.
    QTest::newRow("Main greeting/unplugged")
        << row(mainHi, "unplug:HI:1", Outcome::Offline).says({kCommunicationsError}).shows(fresh).goesOnline();

    // The format probe waits 2 s; the greeting before it has set the online flag, which a
    // failed probe leaves set while Send stays disabled.
    const Phase probe = Phase::MainProbe;
    QTest::newRow("Main probe/no answer")
        << row(probe, "none:NR:1", Outcome::Offline).says({kPhoneNumbersError}).waits(2000).shows(fresh).goesOnline();
    // Within the 4 s of a phone read, past the probe's 2 s.
    QTest::newRow("Main probe/late past the time-out") << row(probe, "late:NR:1:2500", Outcome::Offline)
                                                              .says({kPhoneNumbersError})
                                                              .waits(2000)
                                                              .shows(fresh)
                                                              .goesOnline();
    QTest::newRow("Main probe/late within the time-out")
        << row(probe, "late:NR:1:1000", Outcome::Online).waits(1000).shows(fresh).goesOnline();
    // The probe's content is not used, only its length and last character.
    QTest::newRow("Main probe/wrong text")
        << row(probe, "text:NR:1:" + std::string(33, '?'), Outcome::Online).shows(fresh).goesOnline();
    QTest::newRow("Main probe/too short") << row(probe, "length:NR:1:32", Outcome::Offline)
                                                 .says({kPhoneNumbersError})
                                                 .waits(2000)
                                                 .shows(fresh)
                                                 .goesOnline();
    QTest::newRow("Main probe/line dropped")
        << row(probe, "drop:NR:1", Outcome::Offline).says({kNotResponding}).shows(fresh).goesOnline();

    // Send after a whole read, each kind of command: anything but "OK" within 4 s stops the
    // send; the unit keeps the commands it took, the one not answered included (it took
    // effect, only the answer went wrong), but not a command whose line dropped.
    const auto sendRows =
        [&](Phase phase, const std::string& kind, const std::string& which, int ordinalInSend) {
          const std::string at = kind + ":" + which;
          const auto newRow = [&](const char* name) -> QTestData& {
            return QTest::addRow("send %s/%s", kind.c_str(), name);
          };
          const auto stopped = [&](const std::string& fault) {
            return row(phase, fault, Outcome::SendStopped).shows(sent).goesOnline();
          };
          newRow("no answer") << stopped("none:" + at).says({kNotVerified}).waits(4000).takes(ordinalInSend);
          newRow("late past the time-out")
              << stopped("late:" + at + ":4500").says({kNotVerified}).waits(4000).takes(ordinalInSend);
          newRow("late within the time-out")
              << row(phase, "late:" + at + ":1500", Outcome::Sent).says({kSent}).waits(1500).shows(sent).goesOnline();
          newRow("wrong text") << stopped("text:" + at + ":ER").says({kNotVerified}).takes(ordinalInSend);
          newRow("too short") << stopped("length:" + at + ":1").says({kNotVerified}).waits(4000).takes(ordinalInSend);
          newRow("line dropped") << stopped("drop:" + at).says({kNotResponding}).takes(ordinalInSend - 1);
          // Answered "OK"; the next command finds no port.
          newRow("unplugged") << stopped("unplug:" + at).says({kCommunicationsError}).takes(ordinalInSend);
        };
    sendRows(Phase::SendGlobal, "MW", "1", 1);
    sendRows(Phase::SendInput, "IW", "3", 1 + 3);
    sendRows(Phase::SendPhone, "NW", "20", 9 + 20);
    // "OK" and more is an "OK".
    QTest::newRow("send IW/too long")
        << row(Phase::SendInput, "length:IW:3:5", Outcome::Sent).says({kSent}).shows(sent).goesOnline();
  }

  void faultMatrix() {
    QFETCH(Row, row);
    // CTest runs the matrix in shards side by side: most of its time is waiting.
    const int index = m_rowIndex++;
    const QStringList shard = qEnvironmentVariable("TARVEK_MATRIX_SHARD").split(QLatin1Char('/'));
    if (shard.size() == 2 && index % shard[1].toInt() != shard[0].toInt() - 1) QSKIP("a row of another shard");

    EndToEnd e;
    useComm16(e);
    FallbackLine fallback;
    QVERIFY(fallback.ready());
    e.fallbackDevice = fallback.path();
    SimulatorOptions options;
    options.faults = {row.fault};
    options.replugDelay = 200ms;
    e.startSimulator(unitMemory(), options);
    SelectScreen* select = e.startAtSelect();
    QCOMPARE(e.app->session().portNumber, kPort);

    const Operation operation = operationOf(row.phase);
    QElapsedTimer clock;
    switch (operation) {
      case Operation::SelectConnect:
        clock.start();
        click(select, "cmdConnect");
        break;
      case Operation::MainConnect:
        click(select, "cmdNew");
        clock.start();
        click(e.app->mainScreen(), "cmdConnect");
        break;
      case Operation::Send: {
        MainScreen* main = e.connectFromSelect();
        QVERIFY2(main, qPrintable(QString::fromStdString(e.prompts.lastText())));
        QVERIFY(e.prompts.shown.empty());
        e.app->document().setRecord(sentRecord());
        clock.start();
        send(e);
        break;
      }
    }
    const qint64 elapsed = clock.elapsed();
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(QString::fromLatin1(fallback.heard()), QString());

    // The messages, in order.
    QStringList expectedTexts = qtTexts(row.messages);
    if (operation == Operation::Send) expectedTexts.prepend(QString::fromLatin1(kOverwriteQuestion));
    QCOMPARE(qtTexts(e.prompts.texts()), expectedTexts);

    // It waited what the fault forced on it, and not much longer.
    const qint64 bound = row.waitedMs + m_baseMs[int(operation)] + kSlackMs;
    QVERIFY2(elapsed >= row.waitedMs - 20,
             qPrintable(QStringLiteral("%1 ms, expected %2").arg(elapsed).arg(row.waitedMs)));
    QVERIFY2(elapsed <= bound, qPrintable(QStringLiteral("%1 ms, more than %2").arg(elapsed).arg(bound)));

    QVERIFY2(!e.port.isOpen(), "the port was left open");
    QVERIFY2(!e.app->progress().screen(), "the progress screen was left open");
    QCOMPARE(e.app->document().online(), row.online);
    // Only the phone answers leave the flag set, and none of these came in the short layout.
    QVERIFY(!e.app->session().reducedFeatures);

    checkScreens(e, row);
    if (QTest::currentTestFailed()) return;

    if (operation == Operation::Send)
      compareUnit(e, row.outcome == Outcome::Sent ? sentMemory() : afterCommands(row.commandsTaken));

    // The next Connect or Send goes through.
    if (losesTheLine(row)) e.simulator->waitForNewLine();
    e.prompts.shown.clear();
    checkNextOperationWorks(e, row);
    QVERIFY2(!e.port.isOpen(), "the port was left open after the next operation");
  }

 private:
  void checkScreens(EndToEnd& e, const Row& row) {
    const Operation operation = operationOf(row.phase);
    SelectScreen* select = e.app->selectScreen();
    MainScreen* main = e.app->mainScreen();
    const bool fromSelect = operation == Operation::SelectConnect;

    if (row.outcome == Outcome::NotFound) {
      QVERIFY(shown(e.app->notFoundScreen()));
      QCOMPARE(labelText(e.app->notFoundScreen(), "lblCommPort"), QString::number(kPort));
      QVERIFY(e.app->session().caller == (fromSelect ? Caller::Select : Caller::Main));
      QWidget* caller = fromSelect ? static_cast<QWidget*>(select) : main;
      QVERIFY(shown(caller));
      QVERIFY2(!caller->isEnabled(), "the calling screen must wait for the port-not-found screen");
    } else {
      QVERIFY2(!shown(e.app->notFoundScreen()), "the port-not-found screen opened");
    }
    QVERIFY2(!shown(e.app->commPortScreen()), "the Comm Port screen opened");

    switch (row.outcome) {
      case Outcome::NotFound:
      case Outcome::SelectStays:
        if (fromSelect) {
          QVERIFY(shown(select));
          QCOMPARE(select->isEnabled(), row.outcome == Outcome::SelectStays);
          QVERIFY2(!shown(main), "the Main screen opened");
        }
        break;
      case Outcome::ReadFinished:
        QVERIFY(shown(main) && main->isEnabled());
        QTRY_VERIFY2(!e.app->selectScreen(), "the selection screen stayed");
        break;
      default:
        QVERIFY(shown(main) && main->isEnabled());
        break;
    }

    if (!row.record) {
      QVERIFY2(!main, "a Main screen was made");
      return;
    }
    if (!main) {
      // After "not responding" from the selection screen the document keeps what was
      // decoded, for the Main screen that a later New, Existing File or Connect makes.
      QVERIFY(fromSelect && row.outcome == Outcome::SelectStays);
      compareDocument(e, *row.record);
      QCOMPARE(e.app->document().hookswitchGreyed(), row.greyed);
      return;
    }
    compareMainScreen(e, main, *row.record);
    if (QTest::currentTestFailed()) return;
    // As they are, or will be once the disabled Main screen is given back.
    QCOMPARE(child<QLabel>(main, "lblHookswitch")->isEnabledTo(main), !row.greyed);
    QCOMPARE(child<QLabel>(main, "lblHookswitchSetting")->isEnabledTo(main), !row.greyed);

    if (shown(main)) {
      // Connect is offered until the Main screen is online; Send only then.
      const bool sendOffered = row.outcome != Outcome::Offline && row.outcome != Outcome::NotFound;
      QCOMPARE(main->connectButton()->isVisible(), !sendOffered);
      QCOMPARE(main->sendButton()->isEnabled(), sendOffered);
    }
  }

  void checkNextOperationWorks(EndToEnd& e, const Row& row) {
    if (row.outcome == Outcome::NotFound) {
      click(e.app->notFoundScreen(), "cmdCancel");
      QTRY_VERIFY(!e.app->notFoundScreen());
    }
    const bool atSelect = e.app->selectScreen() && shown(e.app->selectScreen());
    MainScreen* main = e.app->mainScreen();
    if (atSelect) {
      QVERIFY(e.app->selectScreen()->isEnabled());
      main = e.connectFromSelect();
      QVERIFY2(main, qPrintable(QString::fromStdString(e.prompts.lastText())));
      QCOMPARE(qtTexts(e.prompts.texts()), QStringList());
      compareMainScreen(e, main, unitDisplay());
      QVERIFY(!main->connectButton()->isVisible());
      QVERIFY(main->sendButton()->isEnabled());
      return;
    }
    QVERIFY(main);
    if (main->connectButton()->isVisible()) {
      QVERIFY(main->isEnabled());
      click(main, "cmdConnect");
      QCOMPARE(qtTexts(e.prompts.texts()), QStringList());
      QVERIFY(!main->connectButton()->isVisible());
      QVERIFY(main->sendButton()->isEnabled());
    } else {
      e.app->document().setRecord(sentRecord());
      send(e);
      QCOMPARE(qtTexts(e.prompts.texts()), (QStringList{kOverwriteQuestion, kSent}));
      compareUnit(e, sentMemory());
    }
  }

  qint64 m_baseMs[3] = {0, 0, 0};
};

QTEST_MAIN(FaultMatrixTest)
#include "tst_fault_matrix.moc"
