// Settings files: the reader (Existing File), and the writer against it (Save).
//
// Input: the file's bytes.

#include <optional>
#include <sstream>

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
  return 0;
}
