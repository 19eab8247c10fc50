// The real screens and QSerialPort against tarvek-sim on a pseudo-terminal: reading and
// sending in both layouts, what may not interrupt them, and every exchange against every
// way a unit or its line can fail. CTest runs the fault matrix's rows a phase at a time.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <optional>

#include "port/qt_serial_port.h"
#include "port/termination_signals.h"
#include "simulator/memory_file.h"
#include "simulator/memory_text.h"
#include "support/app_harness.h"
#include "support/sample_records.h"
#include "support/simulator_process.h"

using namespace tarvek;
using namespace tarvek::test;

namespace {

const char* const kNotResponding = "The Tarvek is not responding";
const char* const kCommunicationsError = "Communications error";
const char* const kPhoneNumbersError = "Communications error- unable to load phone numbers for display";
const char* const kNotVerified = "The Tarvek did not verify a good transmission";
const char* const kSent = "Successful data transmission";
const char* const kOverwrite = "This will write over what is in the Tarvek's memory now.  Continue? ";
const char* const kReadOutOfRange =
    "Some values read from the Tarvek are out of range, listed below. Send refuses the programming until they are "
    "corrected in the editors.";

// The longest number the layout holds.
std::string longest(bool shortLayout) {
  return shortLayout ? "*70#,12345678901234567890123456" : "*70#,123456789012345678901234567";
}

// The unit of every test: each mode of each field, timers and counts at their edges and
// with a leading zero, pager and ordinary numbers, the longest number, and a pager mark
// on an empty number; all of it within what Send takes.
sim::Memory unit(bool shortLayout) {
  sim::Memory memory = sim::Memory::factory();
  memory.global = {"2", "123456", "654321", "3", "12", "1", "1", "05"};
  memory.input(1) = {"1", "1", "09", "10", 3600, 18 * 3600};
  memory.input(2) = {"2", "0", "01", "99", 330, 18 * 3600 - 1};
  memory.input(8) = {"0", "1", "12", "01", 59, 60};
  memory.number(1, 0) = {"5551234", false};
  memory.number(2, 2) = {"9,555", true};
  memory.number(3, 7) = {longest(shortLayout), false};
  memory.number(4, 1) = {"", true};
  memory.number(8, 7) = {"#", false};
  return memory;
}

// What the Main screen shows after reading that unit.
Programming display(bool shortLayout) {
  Programming record = edited({setGlobal(std::string("Alarm Dialer (No Beeps)|123456|654321|3|12|Fast|Disabled|05|") +
                                         (shortLayout ? "Disabled" : "Enabled")),
                               setInput(1, "Normally Closed|Continuous|Hrs 01 Min 00 Sec 00|Hrs 18 Min 00 Sec 00|9|10"),
                               setInput(2, "Disabled|Momentary|Hrs 00 Min 05 Sec 30|Hrs 17 Min 59 Sec 59|1|99"),
                               setInput(8, "Normally Open|Continuous|Hrs 00 Min 00 Sec 59|Hrs 00 Min 01 Sec 00|12|1")});
  for (int input = 1; input <= 8; ++input)
    for (int slot = 1; slot <= 8; ++slot)
      setPhone(input, slot, "   (" + std::to_string(slot) + ")       Not Programmed")(record);
  const std::string pager = shortLayout ? "   " : " P ";
  all(setPhone(1, 1, "   (1) 5551234"), setPhone(2, 3, pager + "(3) 9,555"),
      setPhone(3, 8, "   (8) " + longest(shortLayout)), setPhone(4, 2, pager + "(2)       Not Programmed"),
      setPhone(8, 8, "   (8) #"))(record);
  return record;
}

// The real application and QSerialPort on a temporary program folder, the unit linked
// as its Comm port.
struct EndToEnd {
  explicit EndToEnd(int portNumber = 1) : portNumber(portNumber) {
    writeFile(folder / "setup.txt", "CommPort=" + std::to_string(portNumber) + "\r\n");
    QObject::connect(app.get(), &Application::ended, [this] { ended = true; });
    app->startUp();
  }
  void startSimulator(const sim::Memory& memory, std::vector<std::string> options = {}) {
    simulator.reset();
    sim::saveMemoryFile(folder / "unit.txt", memory);
    options.insert(options.end(), {"--link", folder / ("ports/com" + std::to_string(portNumber)), "--memory",
                                   folder / "unit.txt", "--transcript", folder / "transcript.txt"});
    simulator = std::make_unique<SimulatorProcess>(options);
  }
  MainScreen* connect() {
    click(app->selectScreen(), "cmdConnect");
    return shown(app->mainScreen()) ? app->mainScreen() : nullptr;
  }
  void send() {
    prompts.answers = {Answer::Yes};
    click(app->mainScreen(), "cmdSend");
  }

  int portNumber;
  TempDir folder;
  std::filesystem::path fallback;  // where a port goes without its link; empty: the platform's name
  ScriptedPrompts prompts;
  QtSerialPort port{
      [this](int n) { return resolvePortDevice(folder.path(), n, fallback.empty() ? platformPortName(n) : fallback); }};
  std::unique_ptr<SimulatorProcess> simulator;
  std::unique_ptr<Application> app = std::make_unique<Application>(folder.path(), prompts, port);
  bool ended = false;
};

QStringList globalLabels(MainScreen* main) {
  QStringList texts;
  for (const char* name : {"lblFunctionSetting", "lblSecurityCodeSetting", "lblAccessCodeSetting",
                           "lblRingDelaySetting", "lblRingbackLimitSetting", "lblDialingSpeedSetting",
                           "lblCallProgressSetting", "lblForcedSetting", "lblHookswitchSetting"})
    texts << labelText(main, name);
  return texts;
}

bool online(MainScreen* main) {
  return !child<QPushButton>(main, "cmdConnect")->isVisible() && child<QPushButton>(main, "cmdSend")->isEnabled();
}

// Runs `act` once, from inside an operation, when its progress screen reaches half way.
class HalfWay : public QObject {
 public:
  explicit HalfWay(std::function<void()> act) : m_act(std::move(act)) { qApp->installEventFilter(this); }
  bool eventFilter(QObject* object, QEvent* event) override {
    if (auto* screen = qobject_cast<ProgressScreen*>(object); screen && event->type() == QEvent::Show)
      connect(screen->bar(), &QProgressBar::valueChanged, this, [this](int value) {
        if (value >= 50 && m_act) std::exchange(m_act, nullptr)();
      });
    return false;
  }
  bool done() const { return !m_act; }

 private:
  std::function<void()> m_act;
};

// A pseudo-terminal where Comm 16 goes when its link is missing, as /dev/ttyS15 would be:
// an operation whose adapter was pulled must fail, and never send a command here.
struct FallbackLine {
  FallbackLine() : master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) throw std::runtime_error("no pty");
    path = ::ptsname(master);
    slave = ::open(path.c_str(), O_RDWR | O_NOCTTY);  // so that what a client wrote stays to be read
  }
  ~FallbackLine() {
    ::close(slave);
    ::close(master);
  }
  std::string heard() const {
    std::string bytes;
    char buffer[256];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) bytes.append(buffer, std::size_t(n));
    return bytes;
  }
  int master;
  int slave = -1;
  std::string path;
};

enum class Outcome {
  NotFound,     // no Main screen made, or it is the caller: the port-not-found screen over the disabled caller
  SelectStays,  // the selection screen usable, no Main screen shown
  Online,       // the Main screen with Connect hidden and Send enabled
  Read,         // Online, with the whole unit read (or kept, after a send)
  Offline,      // the Main screen with Connect shown and Send disabled
};

struct Row {
  std::string fault;  // tarvek-sim's --fault
  Outcome outcome = Outcome::NotFound;
  const char* message = nullptr;  // after the Overwrite question, for a send
  int waitedMs = 0;               // how long the fault makes the operation wait
  bool greeted = false;           // the document is online afterwards
};

// What an operation may take beyond the wait its fault forces: the operation itself, on
// a loaded machine.
constexpr qint64 kMarginMs = 2000;

}  // namespace

Q_DECLARE_METATYPE(Row)

class EndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void readAndSend_data() {
    QTest::addColumn<bool>("shortLayout");
    QTest::addColumn<int>("signal");  // raised half way through the send; none: Exit after it
    QTest::newRow("full layout") << false << 0;
    QTest::newRow("short layout") << true << 0;
    QTest::newRow("SIGTERM during the send") << false << SIGTERM;
    QTest::newRow("SIGINT during the send") << true << SIGINT;
  }

  void readAndSend() {
    QFETCH(bool, shortLayout);
    QFETCH(int, signal);
    EndToEnd e;
    std::vector<std::string> options;
    if (shortLayout) options.push_back("--short");
    e.startSimulator(unit(shortLayout), options);
    QElapsedTimer clock;
    clock.start();
    MainScreen* main = e.connect();
    // A short unit's phone answers end at their carriage return, not at a time-out.
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(main, qPrintable(QString::fromStdString(e.prompts.lastText())));
    QVERIFY(e.prompts.shown.empty());
    const Programming expected = display(shortLayout);
    const GlobalSettings& g = expected.global;
    QCOMPARE(globalLabels(main), toQt({g.function, g.securityCode, g.accessCode, g.ringDelay, g.ringbackLimit,
                                       g.dialingSpeed, g.callProgress, g.forcedPlayTimer, g.hookswitchFlash}));
    QCOMPARE(listLines(main, "lstInputSpecs"), toQt(expected.inputSpecs));
    QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(expected.phoneNumbers));
    QCOMPARE(child<QLabel>(main, "lblHookswitchSetting")->isEnabled(), !shortLayout);
    QVERIFY(online(main));
    QTRY_VERIFY(!e.app->selectScreen());
    QVERIFY(!e.port.isOpen() && !e.app->progress().screen());

    // A unit in its factory state on the same port takes it back, signal or not.
    e.startSimulator(sim::Memory::factory(), options);
    std::optional<TerminationSignals> termination;
    if (signal) connect(&termination.emplace(), &TerminationSignals::received, e.app.get(), &Application::endOnSignal);
    HalfWay raiser([&] {
      if (signal) ::raise(signal);
    });
    e.send();
    QVERIFY(raiser.done());
    QCOMPARE(toQt(e.prompts.texts()), signal ? QStringList{kOverwrite} : (QStringList{kOverwrite, kSent}));
    if (!signal) click(main, "cmdExit");
    QTRY_VERIFY(e.ended);
    e.simulator->stop();
    const std::string transcript = readFile(e.folder / "transcript.txt");
    const std::string lastLine = transcript.substr(transcript.rfind('\n', transcript.size() - 2) + 1);
    QVERIFY2(lastLine.find("\"BY\"") != std::string::npos, transcript.c_str());

    sim::Memory sent = unit(shortLayout);
    // An empty number goes out without its pager mark; a short unit takes neither pager
    // marks nor Hookswitch Flash.
    for (auto& number : sent.numbers) number.pager = number.pager && !number.number.empty() && !shortLayout;
    if (shortLayout) sent.global.hookswitchFlash = sim::Memory::factory().global.hookswitchFlash;
    QCOMPARE(QString::fromStdString(sim::formatMemory(sim::loadMemoryFile(e.folder / "unit.txt"))),
             QString::fromStdString(sim::formatMemory(sent)));
  }

  void nothingElseStartsWhileAReadRuns() {
    EndToEnd e;
    // At the pace of a real line, so that answers come in pieces.
    e.startSimulator(unit(false), {"--baud", "9600"});
    SelectScreen* select = e.app->selectScreen();
    HalfWay meanwhile([&] {
      QMetaObject::invokeMethod(child<QPushButton>(select, "cmdConnect"), "click");
      click(select, "cmdExit");
      select->close();
    });
    QVERIFY(e.connect());
    QVERIFY(meanwhile.done());
    QVERIFY(!e.ended && e.prompts.shown.empty());
    QVERIFY(e.app->document().record() == display(false));
    e.simulator->stop();
    // One greeting and one read, nothing more.
    const std::string transcript = readFile(e.folder / "transcript.txt");
    QCOMPARE(std::count(transcript.begin(), transcript.end(), '\n'), 74);
  }

  void anUnopenablePortLeadsToTheCommPortScreen() {
    EndToEnd e;
    std::filesystem::create_directories(e.folder / "ports");
    std::filesystem::create_symlink("/dev/tarvek-adapter-that-is-not-there", e.folder / "ports/com1");
    QVERIFY(!e.connect());
    QCOMPARE(toQt(e.prompts.texts()), QStringList{kCommunicationsError});
    const QString detail = QString::fromStdString(e.prompts.shown[0].detail);
    QVERIFY2(detail.contains(QStringLiteral("Comm 1")) && detail.contains(QStringLiteral("does not exist")),
             qPrintable(detail));
    QVERIFY(shown(e.app->commPortScreen()) && !e.app->selectScreen()->isEnabled());
    QVERIFY(e.app->session().caller == Caller::Select);
    // Each entry's tooltip names its device: through the link, or the platform's own name.
    const auto* ports = child<QComboBox>(e.app->commPortScreen(), "cmbPort");
    QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(),
             QStringLiteral("Comm 1 is /dev/tarvek-adapter-that-is-not-there (ports/com1)"));
    QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), QStringLiteral("Comm 2 is /dev/ttyS1"));
  }

  // Each phase of Connect (on the selection and on the Main screen) and of Send, by each
  // fault: no answer; an answer late past the time-out (half a second past, so that an
  // operation that waits too long takes it) and one late within it; wrong text; an
  // answer too short (too long where only the first characters are read); the line
  // dropped; the adapter pulled after an answer, so that the next opening fails.
  void faultMatrix_data() {
    using enum Outcome;
    QTest::addColumn<Row>("row");
    const std::pair<const char*, Row> rows[] = {
        // Any answer but "OK" within 2 s is no Tarvek on the port.
        {"greeting/no answer", {"none:HI:1", NotFound, nullptr, 2000, false}},
        {"greeting/late past the time-out", {"late:HI:1:2500", NotFound, nullptr, 2000, false}},
        {"greeting/late within the time-out", {"late:HI:1:1000", Read, nullptr, 1000, true}},
        {"greeting/wrong text", {"text:HI:1:ok", NotFound, nullptr, 0, false}},
        {"greeting/too short", {"length:HI:1:1", NotFound, nullptr, 2000, false}},
        {"greeting/too long", {"length:HI:1:5", Read, nullptr, 0, true}},
        {"greeting/line dropped", {"drop:HI:1", SelectStays, kNotResponding, 0, false}},
        {"greeting/unplugged", {"unplug:HI:1", Online, kCommunicationsError, 0, true}},
        // The Global answer is not checked: what is missing reads as empty.
        {"Global read/no answer", {"none:MR:1", Online, kReadOutOfRange, 4000, true}},
        {"Global read/late past the time-out", {"late:MR:1:4500", Online, kReadOutOfRange, 4000, true}},
        {"Global read/late within the time-out", {"late:MR:1:1500", Read, nullptr, 1500, true}},
        {"Global read/wrong text", {"text:MR:1:2123456654321312105\\r", Online, nullptr, 0, true}},
        {"Global read/too short", {"length:MR:1:19", Online, nullptr, 4000, true}},
        {"Global read/line dropped", {"drop:MR:1", SelectStays, kNotResponding, 0, true}},
        {"Global read/unplugged", {"unplug:MR:1", Online, kCommunicationsError, 0, true}},
        // An input record under 10 characters cannot be decoded.
        {"input read/no answer", {"none:IR:3", SelectStays, kNotResponding, 4000, true}},
        {"input read/late past the time-out", {"late:IR:3:4500", SelectStays, kNotResponding, 4000, true}},
        {"input read/late within the time-out", {"late:IR:3:1500", Read, nullptr, 1500, true}},
        {"input read/wrong text", {"text:IR:3:950700\\x10\\x0E\\xFF\\xFF", Online, kReadOutOfRange, 0, true}},
        {"input read/too short", {"length:IR:3:9", SelectStays, kNotResponding, 4000, true}},
        {"input read/line dropped", {"drop:IR:3", SelectStays, kNotResponding, 0, true}},
        {"input read/unplugged", {"unplug:IR:3", Online, kCommunicationsError, 0, true}},
        // The 12th phone record; any 33 characters are a number.
        {"phone read/no answer", {"none:NR:12", Online, kPhoneNumbersError, 4000, true}},
        {"phone read/late past the time-out", {"late:NR:12:4500", Online, kPhoneNumbersError, 4000, true}},
        {"phone read/late within the time-out", {"late:NR:12:1500", Read, nullptr, 1500, true}},
        {"phone read/wrong text", {"text:NR:12:ABC" + std::string(29, ' ') + "1", Online, kReadOutOfRange, 0, true}},
        {"phone read/too short", {"length:NR:12:32", Online, kPhoneNumbersError, 4000, true}},
        {"phone read/line dropped", {"drop:NR:12", SelectStays, kNotResponding, 0, true}},
        {"phone read/unplugged", {"unplug:NR:12", Online, kCommunicationsError, 0, true}},
        // Connect on the Main screen of a new programming: its greeting waits 4 s.
        {"Main greeting/no answer", {"none:HI:1", NotFound, nullptr, 4000, false}},
        {"Main greeting/late past the time-out", {"late:HI:1:4500", NotFound, nullptr, 4000, false}},
        {"Main greeting/late within the time-out", {"late:HI:1:3000", Online, nullptr, 3000, true}},
        {"Main greeting/wrong text", {"text:HI:1:ok", NotFound, nullptr, 0, false}},
        {"Main greeting/too short", {"length:HI:1:1", NotFound, nullptr, 4000, false}},
        {"Main greeting/line dropped", {"drop:HI:1", Offline, kNotResponding, 0, false}},
        {"Main greeting/unplugged", {"unplug:HI:1", Offline, kCommunicationsError, 0, true}},
        // The format probe waits 2 s and looks only at the length and the last character.
        {"Main probe/no answer", {"none:NR:1", Offline, kPhoneNumbersError, 2000, true}},
        {"Main probe/late past the time-out", {"late:NR:1:2500", Offline, kPhoneNumbersError, 2000, true}},
        {"Main probe/late within the time-out", {"late:NR:1:1000", Online, nullptr, 1000, true}},
        {"Main probe/wrong text", {"text:NR:1:" + std::string(33, '?'), Online, nullptr, 0, true}},
        {"Main probe/too short", {"length:NR:1:32", Offline, kPhoneNumbersError, 2000, true}},
        {"Main probe/line dropped", {"drop:NR:1", Offline, kNotResponding, 0, true}},
        // "OK" and more is an "OK".
        {"send IW/too long", {"length:IW:3:5", Read, kSent, 0, true}},
    };
    for (const auto& [name, row] : rows) QTest::newRow(name) << row;
    // Send after a whole read: anything but "OK" within 4 s stops it.
    for (const std::string at : {"MW:1", "IW:3", "NW:20"}) {
      const auto add = [&](const char* name, const std::string& fault, const char* message, int waitedMs) {
        QTest::addRow("send %s/%s", at.substr(0, 2).c_str(), name) << Row{fault, Read, message, waitedMs, true};
      };
      add("no answer", "none:" + at, kNotVerified, 4000);
      add("late past the time-out", "late:" + at + ":4500", kNotVerified, 4000);
      add("late within the time-out", "late:" + at + ":1500", kSent, 1500);
      add("wrong text", "text:" + at + ":ER", kNotVerified, 0);
      add("too short", "length:" + at + ":1", kNotVerified, 4000);
      add("line dropped", "drop:" + at, kNotResponding, 0);
      add("unplugged", "unplug:" + at, kCommunicationsError, 0);  // the next command finds no port
    }
  }

  void faultMatrix() {
    using enum Outcome;
    QFETCH(Row, row);
    const QString phase = QString::fromLatin1(QTest::currentDataTag());
    const bool sending = phase.startsWith(QStringLiteral("send"));
    const bool fromSelect = !sending && !phase.startsWith(QStringLiteral("Main"));
    EndToEnd e(16);
    FallbackLine fallback;
    e.fallback = fallback.path;
    e.startSimulator(unit(false), {"--fault", row.fault, "--replug-delay", "200"});

    QElapsedTimer clock;
    if (sending) {
      QVERIFY(e.connect() && e.prompts.shown.empty());
      clock.start();
      e.send();
    } else if (fromSelect) {
      clock.start();
      e.connect();
    } else {
      click(e.app->selectScreen(), "cmdNew");
      clock.start();
      click(e.app->mainScreen(), "cmdConnect");
    }
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(QString::fromLatin1(fallback.heard()), QString());
    QStringList messages;
    if (sending) messages << kOverwrite;
    if (row.message) messages << row.message;
    QCOMPARE(toQt(e.prompts.texts()), messages);
    QVERIFY2(elapsed >= row.waitedMs - 20 && elapsed <= row.waitedMs + kMarginMs,
             qPrintable(QStringLiteral("%1 ms, expected %2").arg(elapsed).arg(row.waitedMs)));
    QVERIFY2(!e.port.isOpen() && !e.app->progress().screen(), "the port or the progress screen was left open");
    QCOMPARE(e.app->document().online(), row.greeted);

    MainScreen* main = e.app->mainScreen();
    QCOMPARE(shown(e.app->notFoundScreen()), row.outcome == NotFound);
    QVERIFY(!shown(e.app->commPortScreen()));
    if (row.outcome == NotFound) {  // the screen's wiring is the screen tests'
      QVERIFY(!fromSelect || !main);
      click(e.app->notFoundScreen(), "cmdCancel");
    } else if (row.outcome == SelectStays) {
      QVERIFY(shown(e.app->selectScreen()) && e.app->selectScreen()->isEnabled() && !shown(main));
    } else {
      QVERIFY(shown(main) && main->isEnabled());
      QCOMPARE(online(main), row.outcome != Offline);
      QTRY_VERIFY(!e.app->selectScreen());
      // Connect on the Main screen leaves the record as it was.
      if (!fromSelect && !sending) QVERIFY(e.app->document().record() == newProgramming());
      if (row.outcome == Read) QVERIFY(e.app->document().record() == display(false));
    }

    // The next Connect or Send goes through.
    if (row.fault.starts_with("drop:") || row.fault.starts_with("unplug:")) e.simulator->waitForNewLine();
    e.prompts.shown.clear();
    messages.clear();
    if (shown(e.app->selectScreen())) {
      QVERIFY(e.connect());
      QVERIFY(e.app->document().record() == display(false));
    } else if (!online(main)) {
      click(main, "cmdConnect");
      QVERIFY(online(main));
    } else {
      e.app->document().setRecord(display(false));
      e.send();
      messages = {kOverwrite, kSent};
    }
    QCOMPARE(toQt(e.prompts.texts()), messages);
    QVERIFY(!e.port.isOpen());
  }
};

QTEST_MAIN(EndToEndTest)
#include "tst_e2e.moc"
