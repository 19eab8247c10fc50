#include "gui/file_commands.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QPrinter>

#include "core/compare.h"
#include "core/document.h"
#include "core/prompts.h"
#include "core/record_check.h"
#include "core/report.h"
#include "core/save_questions.h"
#include "core/session.h"
#include "core/settings_file.h"
#include "core/settings_storage.h"
#include "gui/compare_dialog.h"
#include "gui/navigator.h"
#include "gui/print_dialog.h"
#include "gui/report_printer.h"
#include "port/settings_texts.h"

namespace tarvek {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsFilter = "Text documents (*.txt)";

FileRequest settingsRequest(const fs::path& savedDir, std::string title) {
  return FileRequest{std::move(title), {kSettingsFilter}, savedDir.string()};
}

std::string todayText() {
  const QDate today = QDate::currentDate();
  return report::date(today.year(), static_cast<unsigned>(today.month()), static_cast<unsigned>(today.day()));
}

bool saveRecord(Prompts& prompts, const Programming& record, const std::string& path, settings::SaveMode mode) {
  const auto lines = settings::fileLines(record, reportNameOf(path), savedTimeText());
  std::string error;
  if (settings::saveText(path, settings::fileText(lines), mode, error)) return true;
  prompts.show(Message{"The programming could not be saved in " + path + ".", {}, Buttons::Ok, Icon::Warning, error});
  return false;
}

// The file's name as the user reads it (file names are in the system's encoding).
QString shownPath(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

// compare() names the two programmings "first" and "second": here, the screen's and the file's.
std::string problemText(std::string problem) {
  for (const auto& [from, to] :
       {std::pair<std::string, std::string>{"The first programming", "The programming on the Main screen"},
        {"The second programming", "The programming in the file"}})
    if (problem.rfind(from, 0) == 0) problem.replace(0, from.size(), to);
  return problem;
}

bool fileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

}  // namespace

FileCommands::FileCommands(Document& document, Session& session, Prompts& prompts, Navigator& screens,
                           std::filesystem::path savedDir)
    : m_document(document),
      m_session(session),
      m_prompts(prompts),
      m_screens(screens),
      m_savedDir(std::move(savedDir)) {}

std::optional<FileCommands::OpenedFile> FileCommands::chooseSettingsFile(const std::string& title) {
  const auto chosen = m_prompts.openFileName(settingsRequest(m_savedDir, title));
  if (!chosen) return std::nullopt;
  // Read into a fresh record: nothing changes unless the whole report was read.
  settings::ReadResult result = settings::load(*chosen);
  if (!result.record) {
    m_prompts.show(Message{
        "The file " + *chosen + " is not a readable settings file.", {}, Buttons::Ok, Icon::Warning, result.problem});
    return std::nullopt;
  }
  return OpenedFile{*chosen, std::move(*result.record)};
}

void FileCommands::openExisting() {
  const auto opened = chooseSettingsFile("Open");
  if (!opened) return;
  m_document.setRecord(opened->record);
  m_document.setFilePath(opened->path);
  m_document.snapshot();
  m_screens.showMain();
  // Hand-edited values are loaded as they stand, to be corrected in the editors.
  const auto problems = entry::checkRecord(opened->record, m_session.reducedFeatures);
  if (!problems.empty())
    m_prompts.show(Message{"The file " + opened->path +
                               " was opened, but some of its values are missing or out of range, listed below. Send "
                               "refuses the programming until they are corrected.",
                           {},
                           Buttons::Ok,
                           Icon::Warning,
                           entry::problemList(problems)});
}

bool FileCommands::save() {
  if (m_document.filePath().empty()) return saveAs();
  if (!settings::confirmIncomplete(m_prompts, m_document.record())) return false;
  const auto mode = settings::askOverwrite(m_prompts);
  if (!mode || !saveRecord(m_prompts, m_document.record(), m_document.filePath(), *mode)) return false;
  m_document.snapshot();
  return true;
}

bool FileCommands::saveAs() {
  if (!settings::confirmIncomplete(m_prompts, m_document.record())) return false;
  const auto chosen = m_prompts.saveFileName(settingsRequest(m_savedDir, {}));
  if (!chosen) return false;
  const auto target = settings::saveAsTarget(*chosen, fileExists, m_prompts);
  if (!target || !saveRecord(m_prompts, m_document.record(), target->path, target->mode)) return false;
  m_document.setFilePath(target->path);
  m_document.snapshot();
  return true;
}

void FileCommands::print() {
  QPrinter printer(QPrinter::HighResolution);
  // The report's name is the print job's and a PDF's title, and a PDF's file name, beside
  // the settings file; the printed title line stays as it is.
  const std::string& path = m_document.filePath();
  const QString name =
      path.empty() ? QStringLiteral("Tarvek Programming Settings") : shownPath(settings::reportName(path));
  printer.setDocName(name);
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    const fs::path folder = path.empty() ? m_savedDir : fs::path(path).parent_path();
    printer.setOutputFileName(QDir(shownPath(folder.string())).filePath(name + QStringLiteral(".pdf")));
  }
  MainScreen* main = m_screens.mainScreen();
  const PrintChoice choice = m_setUpPrinter ? m_setUpPrinter(printer) : PrintDialog(&printer, main).choose();
  if (choice == PrintChoice::Cancel) return;
  const auto lines = report::lines(m_document.record(), todayText());
  if (choice == PrintChoice::Preview)
    report::preview(printer, lines, main);
  else
    report::print(printer, lines);
}

void FileCommands::compareWithFile() {
  const auto opened = chooseSettingsFile("Compare With File");
  if (!opened) return;
  const comparison::Comparison result =
      comparison::compare(m_document.record(), opened->record, comparison::Layout::Full);
  if (!result.problem.empty()) {
    m_prompts.show(Message{"The programming on the Main screen cannot be compared with the file " + opened->path + ".",
                           {},
                           Buttons::Ok,
                           Icon::Warning,
                           problemText(result.problem)});
    return;
  }
  if (result.differences.empty()) {
    m_prompts.inform("The programming on the Main screen and the file " + opened->path + " are the same.");
    return;
  }
  // One at a time: a new comparison takes the place of the last.
  delete m_compare;
  m_compare = new CompareDialog(shownPath(opened->path), result.differences, m_screens.mainScreen());
  m_compare->show();
}

}  // namespace tarvek
