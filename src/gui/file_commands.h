#pragma once

#include <filesystem>
#include <functional>

class QPrinter;

namespace tarvek {

enum class PrintChoice;
class Document;
class Navigator;
class Prompts;
struct Session;

// The settings files and printing: Existing File on the selection screen, Save, Save As
// and Print on the Main screen. They read and write the document.
class FileCommands {
 public:
  FileCommands(Document& document, Session& session, Prompts& prompts, Navigator& screens,
               std::filesystem::path savedDir);

  // The print dialog of Print: sets the printer up and says whether to print, preview or
  // stop. Unset, it is the real dialog; tests set it to print into a PDF file.
  using PrinterSetUp = std::function<PrintChoice(QPrinter&)>;
  void setPrinterSetUp(PrinterSetUp setUp) { m_setUpPrinter = std::move(setUp); }

  void openExisting();
  void save();
  void saveAs();
  void print();

 private:
  Document& m_document;
  Session& m_session;
  Prompts& m_prompts;
  Navigator& m_screens;
  std::filesystem::path m_savedDir;
  PrinterSetUp m_setUpPrinter;
};

}  // namespace tarvek
