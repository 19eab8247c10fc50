#pragma once

#include <QPointer>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/programming.h"

class QPrinter;

namespace tarvek {

enum class PrintChoice;
class CompareDialog;
class Document;
class Navigator;
class Prompts;
struct Session;

// The settings files and printing: Existing File on the selection screen, Save, Save As,
// Print and Compare With File on the Main screen. They read and write the document.
class FileCommands {
 public:
  FileCommands(Document& document, Session& session, Prompts& prompts, Navigator& screens,
               std::filesystem::path savedDir);

  // The print dialog of Print: sets the printer up and says whether to print, preview or
  // stop. Unset, it is the real dialog; tests set it to print into a PDF file.
  using PrinterSetUp = std::function<PrintChoice(QPrinter&)>;
  void setPrinterSetUp(PrinterSetUp setUp) { m_setUpPrinter = std::move(setUp); }

  void openExisting();
  // True when the programming was saved.
  bool save();
  bool saveAs();
  void print();
  // Shows the fields in which the document and a chosen settings file differ.
  void compareWithFile();

 private:
  struct OpenedFile {
    std::string path;
    Programming record;
  };
  // A settings file chosen and read as Existing File reads it; one that is not a whole
  // report is refused with Existing File's message.
  std::optional<OpenedFile> chooseSettingsFile(const std::string& title);

  Document& m_document;
  Session& m_session;
  Prompts& m_prompts;
  Navigator& m_screens;
  std::filesystem::path m_savedDir;
  PrinterSetUp m_setUpPrinter;
  QPointer<CompareDialog> m_compare;
};

}  // namespace tarvek
