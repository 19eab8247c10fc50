#pragma once

#include "core/program_folders.h"

namespace tarvek {

// The folders of the running executable: chosen by chooseProgramFolders from the
// executable's folder and the user's folders, and made where they are missing. Every
// executable of the program chooses its folders here, so they all work in the same ones.
// Call it once the QCoreApplication (or QApplication) exists: its folder is read from it.
ProgramFolders executableFolders();

}  // namespace tarvek
