// Settings files: the reader (Existing File), the writer against it (Save), and the
// three editors opened on what was read and left with Back.
//
// Input: the file's bytes.

#include <algorithm>
#include <optional>
#include <sstream>

#include "core/codec.h"
#include "core/global_rules.h"
#include "core/input_spec_rules.h"
#include "core/phone_rules.h"
#include "core/record_check.h"
#include "core/settings_file.h"
#include "fuzz_checks.h"

using namespace tarvek;

namespace {

// Save, then Existing File on what was saved; nullopt when the file was refused.
std::optional<Programming> savedAndOpened(const Programming& record) {
  std::istringstream file(settings::fileText(settings::fileLines(record, "Fuzz", "5/7/2024 3:04:05 PM")));
  return settings::read(file).record;
}

// Whether Send takes a new programming given these Global settings, or these lines of a list.
bool passes(const GlobalSettings& global, bool reduced) {
  Programming record = newProgramming();
  record.global = global;
  return entry::checkRecord(record, reduced).empty();
}
bool passes(std::vector<std::string> Programming::*list, const std::vector<std::string>& lines, int first, int count) {
  Programming record = newProgramming();
  std::copy_n(lines.begin() + first, count, (record.*list).begin() + first);
  return entry::checkRecord(record, false).empty();
}

// Each editor opened on the record and left with Back: what Back writes passes Send's
// check, but for what a file brought and the editor writes back as it stands (Global
// values of other characters than digits, numbers of other characters). The inputs'
// editor refuses any box that is not digits. The editor lets 32
// characters into a number on any unit; Send holds a reduced-feature unit to its 31.
void checkEditorsBack(const Programming& record, bool reduced) {
  entry::GlobalEntries entries = entry::globalEntries(record.global, reduced);
  bool brought = false;
  for (int box = 0; box < 5; ++box) {
    std::string& text = entry::textOf(entries, static_cast<entry::GlobalBox>(box));
    brought = brought || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (entry::tooLong(static_cast<entry::GlobalBox>(box), text)) text.clear();  // the box's length limit
  }
  if (!entry::checkGlobalEntries(entries)) {
    const GlobalSettings written = entry::globalSettings(entries, reduced);
    TARVEK_FUZZ_CHECK(brought || passes(written, reduced));
    TARVEK_FUZZ_CHECK(codec::encodeGlobal(written, reduced).value_or("").size() == (reduced ? 21u : 22u));
  }
  for (int input = 1; input <= kInputCount; ++input) {
    entry::InputSpecEntries boxes = entry::inputSpecEntries(record.inputSpecs, input);
    if (!entry::checkInputSpecEntries(boxes)) {
      const auto rebuilt = entry::rebuildInputSpecs(record.inputSpecs, input, boxes);
      TARVEK_FUZZ_CHECK(rebuilt.size() == record.inputSpecs.size());
      TARVEK_FUZZ_CHECK(passes(&Programming::inputSpecs, rebuilt, lines::inputFieldIndex(input), 6));
    }
    entry::PhoneRows rows = entry::phoneRows(record.phoneNumbers, input, reduced);
    for (entry::PhoneRow& row : rows) row.text = entry::cutToLongest(row.text).value_or(row.text);
    const auto rebuilt = entry::rebuildPhoneNumbers(record.phoneNumbers, input, rows);
    const int first = lines::phoneLineIndex(input, 1);
    TARVEK_FUZZ_CHECK(rebuilt.size() == record.phoneNumbers.size());
    TARVEK_FUZZ_CHECK(passes(&Programming::phoneNumbers, rebuilt, first, 8) ||
                      !passes(&Programming::phoneNumbers, record.phoneNumbers, first, 8));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  const settings::ReadResult first = settings::read(file);

  // Refused with a reason, or read whole into the forms every reader relies on.
  TARVEK_FUZZ_CHECK(first.record.has_value() == first.problem.empty());
  if (!first.record) return 0;
  const Programming& record = *first.record;
  TARVEK_FUZZ_CHECK(fuzz::wellFormed(record));

  // What the reader took, the writer writes so that it reads back. A record Send would
  // take comes back exactly; values a hand-edited file gave in other shapes may be
  // reshaped by the first save, and from then on the file reads back as saved.
  const auto opened = savedAndOpened(record);
  TARVEK_FUZZ_CHECK(opened.has_value() && fuzz::wellFormed(*opened));
  if (entry::checkRecord(record, false).empty()) TARVEK_FUZZ_CHECK(*opened == record);
  TARVEK_FUZZ_CHECK(savedAndOpened(*opened) == opened);

  for (const bool reduced : {false, true}) checkEditorsBack(record, reduced);
  return 0;
}
