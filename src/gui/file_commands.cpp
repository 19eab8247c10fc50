#include "gui/file_commands.h"

#include <QDate>
#include <QPrinter>

#include "core/document.h"
#include "core/prompts.h"
#include "core/record_check.h"
#include "core/report.h"
#include "core/save_questions.h"
#include "core/session.h"
#include "core/settings_file.h"
#include "core/settings_storage.h"
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

void FileCommands::openExisting() {
  const auto chosen = m_prompts.openFileName(settingsRequest(m_savedDir, "Open"));
  if (!chosen) return;
  // Read into a fresh record: nothing changes unless the whole report was read.
  const settings::ReadResult result = settings::load(*chosen);
  if (!result.record) {
    m_prompts.show(Message{
        "The file " + *chosen + " is not a readable settings file.", {}, Buttons::Ok, Icon::Warning, result.problem});
    return;
  }
  m_document.setRecord(*result.record);
  m_document.setFilePath(*chosen);
  m_document.snapshot();
  m_screens.showMain();
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

void FileCommands::save() {
  if (m_document.filePath().empty()) {
    saveAs();
    return;
  }
  if (!settings::confirmIncomplete(m_prompts, m_document.record())) return;
  const auto mode = settings::askOverwrite(m_prompts);
  if (!mode) return;
  if (saveRecord(m_prompts, m_document.record(), m_document.filePath(), *mode)) m_document.snapshot();
}

void FileCommands::saveAs() {
  if (!settings::confirmIncomplete(m_prompts, m_document.record())) return;
  const auto chosen = m_prompts.saveFileName(settingsRequest(m_savedDir, {}));
  if (!chosen) return;
  const auto target = settings::saveAsTarget(*chosen, fileExists, m_prompts);
  if (!target || !saveRecord(m_prompts, m_document.record(), target->path, target->mode)) return;
  m_document.setFilePath(target->path);
  m_document.snapshot();
}

void FileCommands::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Tarvek Programming Settings"));
  MainScreen* main = m_screens.mainScreen();
  const PrintChoice choice = m_setUpPrinter ? m_setUpPrinter(printer) : PrintDialog(&printer, main).choose();
  if (choice == PrintChoice::Cancel) return;
  const auto lines = report::lines(m_document.record(), todayText());
  if (choice == PrintChoice::Preview)
    report::preview(printer, lines, main);
  else
    report::print(printer, lines);
}

}  // namespace tarvek
