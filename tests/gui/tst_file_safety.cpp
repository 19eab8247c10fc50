// Settings files when the disk is against us: saves into a full or read-only place or
// into a file or folder that goes away while a dialog is open, and Existing File on a
// file cut off anywhere. The old file stays whole, the user is told which file, and the
// Main screen's record is never left half-written.
#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QAction>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/settings_file.h"
#include "core/settings_storage.h"
#include "support/app_harness.h"
#include "support/sample_records.h"

using namespace tarvek;
using namespace tarvek::test;
namespace fs = std::filesystem;

namespace {

const std::string kQuestion = "Do you want to overwrite the existing file? ";

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Writes that pass `bytes` fail with "File too large", as on a full disk, while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_old);
    m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_old);
    ::signal(SIGXFSZ, m_oldHandler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool set() const { return m_set; }

 private:
  rlimit m_old{};
  sighandler_t m_oldHandler = nullptr;
  bool m_set = false;
};

// Root writes through permissions: while this lives, the process is held to them, as a
// user is. The powers stay permitted, so they come back at the end.
class HeldToPermissions {
 public:
  HeldToPermissions() {
    if (::syscall(SYS_capget, &m_header, m_saved) != 0) return;
    __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
    for (int power : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) lowered[0].effective &= ~(1u << power);
    m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
  }
  ~HeldToPermissions() {
    if (m_lowered) ::syscall(SYS_capset, &m_header, m_saved);
  }
  HeldToPermissions(const HeldToPermissions&) = delete;
  HeldToPermissions& operator=(const HeldToPermissions&) = delete;

 private:
  __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct m_saved[2]{};
  bool m_lowered = false;
};

// Whether a file can be made in this folder, or this file written, right now.
bool writableNow(const fs::path& place) {
  if (!fs::is_directory(place)) return std::fstream(place, std::ios::in | std::ios::out).is_open();
  const fs::path probe = place / "probe";
  const bool made = std::ofstream(probe).is_open();
  std::error_code ignored;
  fs::remove(probe, ignored);
  return made;
}

enum class Command { SaveAsYes, SaveAsNo, SaveYes, SaveNo };

const char* actionOf(Command command) {
  return command == Command::SaveAsYes || command == Command::SaveAsNo ? "mnuFileSaveAs" : "mnuFileSave";
}

Answer answerOf(Command command) {
  return command == Command::SaveAsYes || command == Command::SaveYes ? Answer::Yes : Answer::No;
}

bool isSaveAs(Command command) { return std::string(actionOf(command)) == "mnuFileSaveAs"; }

// The program folder with the Main screen of siteA() on it, and an old settings file,
// Saved/Site A.txt, that Save writes to and Save As chooses.
struct SaveSetUp {
  explicit SaveSetUp(Command command) : m_command(command) {
    main = h.startWithNew();
    h.app->document().setRecord(siteA());
    writeFile(file, old);
    if (isSaveAs(command)) {
      h.prompts.fileNames.push_back(file.string());
      h.app->document().setFilePath((h.folder / "Saved" / "Other.txt").string());
    } else {
      h.app->document().setFilePath(file.string());
    }
    h.prompts.answers.push_back(answerOf(command));
  }

  void save() { trigger(main, actionOf(m_command)); }

  // What the dialogs asked and said, less the failure message itself.
  void verifyAsked() {
    QCOMPARE(h.prompts.fileRequests.size(), std::size_t(isSaveAs(m_command) ? 1 : 0));
    QVERIFY(!h.prompts.shown.empty());
    QCOMPARE(h.prompts.shown[0].text, kQuestion);
  }

  std::string pathBefore() const {
    return isSaveAs(m_command) ? (h.folder / "Saved" / "Other.txt").string() : file.string();
  }

  AppHarness h;
  MainScreen* main = nullptr;
  const fs::path file = h.folder / "Saved" / "Site A.txt";
  const std::string old = settings::fileText(settings::fileLines(newProgramming(), "Site A", "1/2/2003 4:05 AM"));

 private:
  Command m_command;
};

void addCommandRows(const char* place) {
  const std::pair<const char*, Command> commands[] = {{"Save As, Yes", Command::SaveAsYes},
                                                      {"Save As, No", Command::SaveAsNo},
                                                      {"Save, Yes", Command::SaveYes},
                                                      {"Save, No", Command::SaveNo}};
  for (const auto& [name, command] : commands)
    QTest::addRow("%s, %s", place, name) << QString::fromLatin1(place) << int(command);
}

// A record part read into the document: the Tarvek stopped answering during input 2, so
// the selection screen is still usable.
Programming leavePartRead(AppHarness& h) {
  h.port.responder = [](const std::string& sent) -> std::optional<std::string> {
    if (sent == "HI") return "OK";
    if (sent == "MR") return "21234566543213121105";
    if (sent == "I1R") return std::string("1109100\x0e\xff\xff", 10);
    return std::nullopt;
  };
  click(h.app->selectScreen(), "cmdConnect");
  return h.app->document().record();
}

std::vector<std::string> crlfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

}  // namespace

class FileSafetyTest : public QObject {
  Q_OBJECT

 private slots:
  void aSaveThatCannotWriteKeepsTheOldFile_data() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("command");
    addCommandRows("full");
    addCommandRows("read-only folder");
    addCommandRows("read-only file");
  }

  // The failure is reported with the file's name and the system's reason; the old file
  // keeps every byte, no temporary file is left, and the file to save to is unchanged.
  void aSaveThatCannotWriteKeepsTheOldFile() {
    QFETCH(QString, place);
    QFETCH(int, command);
    SaveSetUp s{Command(command)};
    const fs::path saved = s.h.folder / "Saved";
    std::string reason;
    if (place == QStringLiteral("full")) {
      // Less than one report: the first kilobyte goes, then the disk is full.
      FileSizeLimit limit(1024);
      if (!limit.set()) QSKIP("the file size limit cannot be set here");
      s.save();
      reason = "File too large";
    } else {
      const fs::path readOnly = place == QStringLiteral("read-only folder") ? saved : s.file;
      const auto perms = fs::status(readOnly).permissions();
      fs::permissions(readOnly, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
      {
        HeldToPermissions asAUser;
        if (writableNow(readOnly)) QSKIP("this process writes through permissions and cannot give that up");
        s.save();
      }
      fs::permissions(readOnly, perms);
      reason = "Permission denied";
    }
    if (QTest::currentTestFailed()) return;

    s.verifyAsked();
    QCOMPARE(s.h.prompts.shown.size(), std::size_t(2));
    QCOMPARE(QString::fromStdString(s.h.prompts.shown[1].text),
             QString::fromStdString("The programming could not be saved in " + s.file.string() + "."));
    QCOMPARE(QString::fromStdString(s.h.prompts.shown[1].detail), QString::fromStdString(reason));
    QVERIFY(readFile(s.file) == s.old);
    QCOMPARE(filesIn(saved), std::vector<std::string>{"Site A.txt"});
    QCOMPARE(s.h.app->document().filePath(), s.pathBefore());
    QCOMPARE(s.h.app->document().record(), siteA());
  }

  void aFileOrFolderThatGoesWhileADialogIsOpen_data() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("command");
    addCommandRows("file deleted");
    addCommandRows("folder deleted");
    addCommandRows("file replaced by a folder");
  }

  // While Save As's file dialog or the overwrite question is open, another program deletes
  // the file or its folder, or puts a folder in the file's place. A file that went is
  // written anew, whole; where nothing can be written, the user is told, and nothing is
  // left behind.
  void aFileOrFolderThatGoesWhileADialogIsOpen() {
    QFETCH(QString, place);
    QFETCH(int, command);
    SaveSetUp s{Command(command)};
    const fs::path saved = s.h.folder / "Saved";
    bool happened = false;
    const auto meanwhile = [&] {
      if (happened) return;
      happened = true;
      if (place == QStringLiteral("folder deleted")) {
        fs::remove_all(saved);
        return;
      }
      fs::remove(s.file);
      if (place == QStringLiteral("file replaced by a folder")) {
        fs::create_directory(s.file);
        writeFile(s.file / "inside.txt", "kept");
      }
    };
    // Save As meets the change in its file dialog, Save in its question.
    if (isSaveAs(Command(command)))
      s.h.prompts.whileChoosing = [&](const FileRequest&) { meanwhile(); };
    else
      s.h.prompts.whileShown = [&](const Message&) { meanwhile(); };
    s.save();
    QVERIFY(happened);

    const bool saveAs = isSaveAs(Command(command));
    std::vector<std::string> texts = s.h.prompts.texts();
    if (place == QStringLiteral("file deleted")) {
      // Save As finds no file to ask about; Save asked before the file went.
      QCOMPARE(texts, saveAs ? std::vector<std::string>{} : std::vector<std::string>{kQuestion});
      QCOMPARE(crlfLines(readFile(s.file)).size(), std::size_t(settings::kFileLineCount));
      const settings::ReadResult back = settings::load(s.file);
      QVERIFY2(back.record, back.problem.c_str());
      QCOMPARE(*back.record, siteAAsRead());
      QCOMPARE(filesIn(saved), std::vector<std::string>{"Site A.txt"});
      QCOMPARE(s.h.app->document().filePath(), s.file.string());
      return;
    }

    const std::string failure = "The programming could not be saved in " + s.file.string() + ".";
    if (place == QStringLiteral("folder deleted")) {
      QCOMPARE(texts, (saveAs ? std::vector<std::string>{failure} : std::vector<std::string>{kQuestion, failure}));
      QCOMPARE(QString::fromStdString(s.h.prompts.shown.back().detail), QStringLiteral("No such file or directory"));
      QVERIFY2(!fs::exists(saved), "the folder came back");
    } else {
      // Save As asks about the folder as about a file, and then cannot replace it.
      QCOMPARE(texts, (std::vector<std::string>{kQuestion, failure}));
      QCOMPARE(QString::fromStdString(s.h.prompts.shown.back().detail), QStringLiteral("Is a directory"));
      QCOMPARE(readFile(s.file / "inside.txt"), std::string("kept"));
      QCOMPARE(filesIn(saved), std::vector<std::string>{"Site A.txt"});
    }
    QCOMPARE(s.h.app->document().filePath(), s.pathBefore());
    QCOMPARE(s.h.app->document().record(), siteA());
  }

  void existingFileRefusesACutFile_data() {
    QTest::addColumn<int>("lines");  // whole lines kept
    QTest::addColumn<int>("chars");  // characters of the next line kept after them
    const auto golden = crlfLines(readFile(filesDataDir() / "golden_alarm_dialer.txt"));
    QCOMPARE(int(golden.size()), settings::kFileLineCount);
    for (int lines = 0; lines < settings::kFileLineCount; ++lines) {
      QTest::addRow("after %d lines", lines) << lines << 0;
      const int length = int(golden[std::size_t(lines)].size());
      if (length >= 2) QTest::addRow("in line %d", lines + 1) << lines << length / 2;
    }
  }

  // Cut after any line or inside one, the file is refused with its name; the Main screen,
  // its record and the file to save to stay as they were, and the selection screen stays.
  void existingFileRefusesACutFile() {
    QFETCH(int, lines);
    QFETCH(int, chars);
    const auto golden = crlfLines(readFile(filesDataDir() / "golden_alarm_dialer.txt"));
    std::string cut;
    for (int i = 0; i < lines; ++i) cut += golden[std::size_t(i)] + "\r\n";
    cut += golden[std::size_t(lines)].substr(0, std::size_t(chars));

    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    const Programming before = leavePartRead(h);
    QCOMPARE(h.prompts.texts(), std::vector<std::string>{"The Tarvek is not responding"});
    QVERIFY(!before.global.function.empty() && !before.inputSpecs.empty());
    h.prompts.shown.clear();
    h.app->document().setFilePath("before.txt");
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    writeFile(file, cut);
    h.prompts.fileNames.push_back(file.string());
    click(select, "cmdExisting");

    QCOMPARE(h.prompts.texts(),
             std::vector<std::string>{"The file " + file.string() + " is not a readable settings file."});
    QVERIFY(!h.prompts.shown[0].detail.empty());
    QVERIFY(shown(h.app->selectScreen()) && h.app->selectScreen()->isEnabled());
    // The part read stays in the document; no Main screen holds it.
    QVERIFY(!h.app->mainScreen());
    QCOMPARE(h.app->document().record(), before);
    QCOMPARE(h.app->document().filePath(), std::string("before.txt"));
  }

  // The whole file replaces a part read: the refusals above are of the cut alone.
  void existingFileTakesTheWholeFileOverAPartRead() {
    AppHarness h;
    h.startAtSelect();
    const Programming before = leavePartRead(h);
    QVERIFY(!before.inputSpecs.empty());
    h.prompts.shown.clear();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    fs::copy_file(filesDataDir() / "golden_alarm_dialer.txt", file);
    h.prompts.fileNames.push_back(file.string());
    click(h.app->selectScreen(), "cmdExisting");
    QCOMPARE(h.prompts.shown.size(), std::size_t(1));  // its 18:59:59 timer is out of range
    MainScreen* main = h.app->mainScreen();
    QVERIFY(shown(main));
    QCOMPARE(h.app->document().record(), siteAAsRead());
    QCOMPARE(listLines(main, "lstInputSpecs"), toQt(siteAAsRead().inputSpecs));
    QCOMPARE(listLines(main, "lstPhoneNumbers"), toQt(siteAAsRead().phoneNumbers));
    QCOMPARE(h.app->document().filePath(), file.string());
  }

  // The file chosen in the open dialog is deleted before it is read.
  void existingFileWhoseFileGoesWhileTheDialogIsOpen() {
    AppHarness h;
    SelectScreen* select = h.startAtSelect();
    const fs::path file = h.folder / "Saved" / "Site A.txt";
    fs::copy_file(filesDataDir() / "golden_alarm_dialer.txt", file);
    h.prompts.fileNames.push_back(file.string());
    h.prompts.whileChoosing = [&](const FileRequest&) { fs::remove(file); };
    click(select, "cmdExisting");
    QCOMPARE(h.prompts.texts(),
             std::vector<std::string>{"The file " + file.string() + " is not a readable settings file."});
    QCOMPARE(QString::fromStdString(h.prompts.shown[0].detail), QStringLiteral("No such file or directory"));
    QVERIFY(shown(h.app->selectScreen()));
    QVERIFY(!h.app->mainScreen());
    QVERIFY(h.app->document().filePath().empty());
  }
};

QTEST_MAIN(FileSafetyTest)
#include "tst_file_safety.moc"
