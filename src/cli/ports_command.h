#pragma once

#include <string>

#include "cli/exit_status.h"
#include "core/program_folders.h"

namespace tarvek::cli {

// `ports`: on standard output, a line for each of Comm 1 to 16 (the device it means,
// whether that is there, the ports/comN link that names it) and one for each serial
// adapter the system sees (its device, its stable /dev/serial/by-id name, what it is, the
// Comm ports that reach it), fields separated by tabs.
ExitStatus listPorts(const ProgramFolders& folders);

// `ports --link N DEVICE`: makes ports/comN a link to DEVICE, replacing the link there in
// one step. An adapter is linked by its stable name when it has one. DEVICE must be a
// character device unless `force`; anything at ports/comN but a link is left alone.
ExitStatus linkPort(const ProgramFolders& folders, int portNumber, const std::string& device, bool force);

}  // namespace tarvek::cli
