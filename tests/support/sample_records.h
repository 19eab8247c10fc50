#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/display_lines.h"
#include "core/programming.h"

namespace tarvek {

// Readable failure output for the record's values.
inline void PrintTo(const GlobalSettings& s, std::ostream* out) {
  *out << "{\"" << s.function << "\", \"" << s.securityCode << "\", \"" << s.accessCode << "\", \"" << s.ringDelay
       << "\", \"" << s.ringbackLimit << "\", \"" << s.dialingSpeed << "\", \"" << s.callProgress << "\", \""
       << s.forcedPlayTimer << "\", \"" << s.hookswitchFlash << "\"}";
}

inline void PrintTo(const Programming& p, std::ostream* out) {
  PrintTo(p.global, out);
  *out << "\ninput specifications:\n";
  for (const auto& line : p.inputSpecs) *out << "  [" << line << "]\n";
  *out << "phone numbers:\n";
  for (const auto& line : p.phoneNumbers) *out << "  [" << line << "]\n";
}

namespace test {

// An Alarm Dialer (No Beeps) record with every kind of display line: a pager number, a
// 32-character number, six- and seven-blank "Not Programmed" lines (one with the pager
// mark a device read keeps), one- and two-digit counts and a "07" count.
// Written as report "Site A" it gives golden_alarm_dialer.txt. Its input 2 Qualifier
// Timer, 18:59:59, is past the 18 hours Send takes, as an old or hand-edited file may be.
Programming siteA();

// siteA() as it comes back from its file: the seven-blank "Not Programmed" lines in the
// six-blank form, and without the pager mark on the empty number.
Programming siteAAsRead();

// An Aislecall record: every dependent Global setting "N/A". Report "Shop Floor" gives
// golden_aislecall.txt.
Programming shopFloor();

// The folder of the settings files the tests read.
std::filesystem::path filesDataDir();

// The texts between the "|" of a table row; throws unless there are `count` of them.
std::vector<std::string> split(std::string_view values, std::size_t count);
// The nine Global settings from one text, "|" between them, in the record's order:
// "Alarm Dialer|507231|390618|1|6|Normal|Enabled|N/A|Disabled".
GlobalSettings globalOf(std::string_view values);
// An input's six field lines from their values, "|" between them, Normal State first.
std::vector<std::string> fieldLines(std::string_view values);

// Changes to a record, so that tables can describe records as edits of a new programming.
using Edit = std::function<void(Programming&)>;
Edit setGlobal(std::string_view values);  // all nine, as globalOf takes them
Edit setGlobal(std::string GlobalSettings::*setting, std::string value);
Edit setField(int input, lines::Field which, std::string value);
Edit setInput(int input, std::string_view values);     // the six field lines, as fieldLines takes them
Edit setPhone(int input, int slot, std::string line);  // slot 1-8, the whole display line
// The list cut or grown to `size` lines.
Edit resizeList(std::vector<std::string> Programming::*list, std::size_t size);
Programming edited(const std::vector<Edit>& edits);  // a new programming with these edits; an empty one is none
// The edits one after the other.
template <typename... Edits>
Edit all(Edits... edits) {
  return [=](Programming& record) { (edits(record), ...); };
}

}  // namespace test
}  // namespace tarvek
