// The answer to "N" n "R" k turned into the phone line of its slot, in either layout.
//
// Input: one byte for the slot (1 + byte mod 8), then the answer.

#include "core/codec.h"
#include "core/phone_rules.h"
#include "fuzz_checks.h"

using namespace tarvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const int slot = 1 + in.byte() % 8;
  const std::string answer = in.rest();

  const std::string line = codec::phoneLineFromAnswer(slot, answer);
  const std::string detail = "answer " + answer + " gives [" + line + "]";
  TARVEK_FUZZ_CHECK(fuzz::hasPhoneForm(line, slot), detail);

  // The pager mark is the last character "1"; a short-layout answer ends with a carriage
  // return and so never has one.
  const bool pager = !answer.empty() && answer.back() == '1';
  TARVEK_FUZZ_CHECK(lines::hasPagerMark(line) == pager, detail);

  // The number is the answer less its last character and its padding; none shows as
  // "Not Programmed".
  std::string number = answer.empty() ? std::string() : answer.substr(0, answer.size() - 1);
  number.erase(number.find_last_not_of(' ') + 1);
  if (number.empty()) {
    TARVEK_FUZZ_CHECK(line == lines::notProgrammed(slot, 7, pager), detail);
    return 0;
  }
  TARVEK_FUZZ_CHECK(lines::phoneNumber(line) == number, detail);

  // A number the line form can carry (one without "Not") goes back to the unit as read,
  // in both layouts, and the editor shows it as read.
  if (lines::isNotProgrammed(number)) return 0;
  const std::string pagerFlag = pager ? "1" : "0";
  const std::string sentFull = codec::encodePhone(2, slot - 1, line, false);
  const std::string sentShort = codec::encodePhone(2, slot - 1, line, true);
  const std::string command = "N2W" + std::to_string(slot - 1);
  TARVEK_FUZZ_CHECK(sentFull == command + pagerFlag + number, detail + " sent as " + sentFull);
  TARVEK_FUZZ_CHECK(sentShort == command + number, detail + " sent as " + sentShort);

  std::vector<std::string> list = newProgramming().phoneNumbers;
  list[static_cast<std::size_t>(lines::phoneLineIndex(2, slot))] = line;
  const entry::PhoneRow row = entry::phoneRows(list, 2, false)[static_cast<std::size_t>(slot - 1)];
  TARVEK_FUZZ_CHECK(row.text == number && row.pager == pager, detail + " shown as " + row.text);
  return 0;
}
