#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QPrinter>

#include "core/prompts.h"
#include "core/record_check.h"
#include "core/report.h"
#include "core/settings_file.h"
#include "core/settings_storage.h"
#include "core/setup_file.h"
#include "gui/application.h"
#include "gui/print_dialog.h"
#include "gui/report_printer.h"
#include "port/text_codec.h"

// Settings files and printing: Existing File on the selection screen, Save, Save As and
// Print on the Main screen.
namespace tarvek {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsFilter = "Text documents (*.txt)";

// The report name is the file's name less ".txt": the file system gives it in UTF-8, the
// settings file holds it in Windows-1252.
std::string reportName(const std::string& path) {
  const std::string name = settings::reportName(path);
  return toWindows1252(QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size()))));
}

FileRequest settingsRequest(const fs::path& savedDir, std::string title) {
  return FileRequest{std::move(title), {kSettingsFilter}, savedDir.string()};
}

// A chosen name without extension is saved as a text file.
std::string withTextExtension(const std::string& path) { return fs::path(path).has_extension() ? path : path + ".txt"; }

// The date and time of saving in the user's usual form. Nothing reads it back, so
// characters the file cannot hold simply become blanks.
std::string savedTimeText() {
  return toWindows1252(QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat), ' ');
}

std::string todayText() {
  const QDate today = QDate::currentDate();
  return report::date(today.year(), static_cast<unsigned>(today.month()), static_cast<unsigned>(today.day()));
}

// The question before writing to a file that is there: Yes replaces it, No adds the
// new report after it, Cancel writes nothing.
std::optional<settings::SaveMode> askOverwrite(Prompts& prompts) {
  const Answer answer = prompts.show(Message{
      "Do you want to overwrite the existing file? ", "Existing File", Buttons::YesNoCancel, Icon::Question, {}});
  if (answer == Answer::Yes) return settings::SaveMode::Replace;
  if (answer == Answer::No) return settings::SaveMode::Append;
  return std::nullopt;
}

// A file saved from a record that a read left incomplete would be refused by Send once
// opened again: the user is asked first. True when saving goes ahead.
bool saveIncompleteAnyway(Prompts& prompts, const Programming& record) {
  if (isComplete(record)) return true;
  const Answer answer = prompts.show(Message{
      "The programming on the Main screen is incomplete: the parts listed below are missing. Send will refuse it "
      "when it is opened from the file. Save it anyway?",
      {},
      Buttons::YesNoCancel,
      Icon::Question,
      entry::problemList(entry::checkRecord(record, false))});
  return answer == Answer::Yes;
}

bool saveRecord(Prompts& prompts, const Programming& record, const std::string& path, settings::SaveMode mode) {
  const auto lines = settings::fileLines(record, reportName(path), savedTimeText());
  std::string error;
  if (settings::saveText(path, settings::fileText(lines), mode, error)) return true;
  prompts.show(Message{"The programming could not be saved in " + path + ".", {}, Buttons::Ok, Icon::Warning, error});
  return false;
}

}  // namespace

void Application::selectExisting() {
  if (m_busy) return;
  const auto chosen = m_prompts.openFileName(settingsRequest(m_folders.saved, "Open"));
  if (!chosen) return;
  // Read into a fresh record: nothing changes unless the whole report was read.
  const settings::ReadResult result = settings::load(*chosen);
  if (!result.record) {
    m_prompts.show(Message{
        "The file " + *chosen + " is not a readable settings file.", {}, Buttons::Ok, Icon::Warning, result.problem});
    return;
  }
  m_session.settingsFilePath = *chosen;
  showMain(*result.record);
  // Hand-edited values are loaded as they stand, to be corrected in the editors.
  const auto problems = entry::checkRecord(*result.record, m_session.reducedFeatures);
  if (!problems.empty())
    m_prompts.show(Message{"The file " + *chosen +
                               " was opened, but some of its values are missing or out of range, listed below. Send "
                               "refuses the programming until they are corrected.",
                           {},
                           Buttons::Ok,
                           Icon::Warning,
                           entry::problemList(problems)});
}

void Application::mainSave() {
  if (m_busy || !m_main) return;
  if (m_session.settingsFilePath.empty()) {
    mainSaveAs();
    return;
  }
  if (!saveIncompleteAnyway(m_prompts, m_main->record())) return;
  const auto mode = askOverwrite(m_prompts);
  if (!mode) return;
  saveRecord(m_prompts, m_main->record(), m_session.settingsFilePath, *mode);
}

void Application::mainSaveAs() {
  if (m_busy || !m_main || !saveIncompleteAnyway(m_prompts, m_main->record())) return;
  const auto chosen = m_prompts.saveFileName(settingsRequest(m_folders.saved, {}));
  if (!chosen) return;
  const std::string path = withTextExtension(*chosen);
  std::error_code ignored;
  auto mode = std::optional(settings::SaveMode::Replace);
  if (fs::exists(path, ignored)) mode = askOverwrite(m_prompts);
  if (!mode) return;
  if (saveRecord(m_prompts, m_main->record(), path, *mode)) m_session.settingsFilePath = path;
}

void Application::mainPrint() {
  if (m_busy || !m_main) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Tarvek Programming Settings"));
  const PrintChoice choice = m_setUpPrinter ? m_setUpPrinter(printer) : PrintDialog(&printer, m_main).choose();
  if (choice == PrintChoice::Cancel) return;
  const auto lines = report::lines(m_main->record(), todayText());
  if (choice == PrintChoice::Preview)
    report::preview(printer, lines, m_main);
  else
    report::print(printer, lines);
}

}  // namespace tarvek
