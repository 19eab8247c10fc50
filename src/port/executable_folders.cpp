#include "port/executable_folders.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <system_error>

namespace tarvek {

ProgramFolders executableFolders() {
  // Built in place or copied, the executable's folder is the program folder; installed or
  // read-only, the program keeps its files in the user's folders (see chooseProgramFolders).
  // The build sets TARVEK_INSTALLED_HELP_DIR: the install's help folder seen from its bin folder.
  const std::filesystem::path executableDir = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  const ProgramFolders folders = chooseProgramFolders(
      {executableDir, executableDir / TARVEK_INSTALLED_HELP_DIR,
       userProgramFolder(qgetenv("XDG_DATA_HOME").constData(), qgetenv("HOME").constData()),
       QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).toStdString()},
      [](const std::filesystem::path& folder) { return QFileInfo(QFile::decodeName(folder.c_str())).isWritable(); });
  std::error_code ignored;  // a folder that cannot be made shows when a file in it cannot be saved
  std::filesystem::create_directories(folders.program, ignored);
  std::filesystem::create_directories(folders.saved, ignored);
  return folders;
}

}  // namespace tarvek
