#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/programming.h"
#include "core/prompts.h"
#include "core/settings_storage.h"

// What Save and Save As ask before they write, and what the answers decide.
namespace tarvek::settings {

// The overwrite question before writing into a file that is there: Yes replaces the
// file, No adds the new report after it, Cancel (nullopt) writes nothing.
std::optional<SaveMode> askOverwrite(Prompts& prompts);

// A record that a read left incomplete is saved only when the user says so: Send would
// refuse it once it is opened again. True when saving goes ahead.
bool confirmIncomplete(Prompts& prompts, const Programming& record);

struct SaveTarget {
  std::string path;
  SaveMode mode = SaveMode::Replace;
};

// Save As with the chosen name: a name without extension is saved as a text file; a file
// that is not there is written new, one that is there only as the overwrite question
// says. nullopt when nothing is to be written.
std::optional<SaveTarget> saveAsTarget(const std::string& chosen, const std::function<bool(const std::string&)>& exists,
                                       Prompts& prompts);

// The way out of the program with the programming changed since it was last read,
// opened, saved or sent: asks whether to save it first. True when the program may end:
// Discard, or Save and `save` saved it. Cancel, or a save cancelled or failed, keeps it.
bool mayLeaveChanged(Prompts& prompts, const std::function<bool()>& save);

}  // namespace tarvek::settings
