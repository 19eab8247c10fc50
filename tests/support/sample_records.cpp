#include "support/sample_records.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tarvek::test {

namespace {

using lines::Field;

std::string& phoneAt(Programming& record, int input, int slot) {
  return record.phoneNumbers[static_cast<std::size_t>(lines::phoneLineIndex(input, slot))];
}

int between(std::mt19937& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

std::string digits(std::mt19937& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += static_cast<char>('0' + between(random, 0, 9));
  return text;
}

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

Programming siteA() {
  return edited({setGlobal("Alarm Dialer (No Beeps)|123456|654321|3|12|Fast|Disabled|07|Enabled"),
                 setInput(1, "Normally Open|Momentary|Hrs 00 Min 00 Sec 05|Hrs 01 Min 02 Sec 03|2|1"),
                 setInput(2, "Normally Closed|Continuous|Hrs 18 Min 59 Sec 59|Hrs 00 Min 00 Sec 00|12|99"),
                 setInput(3, "Disabled|Momentary|Hrs 00 Min 00 Sec 00|Hrs 00 Min 30 Sec 00|07|5"),
                 setInput(4, "Normally Closed|Momentary|Hrs 00 Min 00 Sec 00|Hrs 00 Min 00 Sec 00|9|10"),
                 setPhone(1, 1, "   (1) 5551234"), setPhone(1, 2, " P (2) *70,555"),
                 setPhone(1, 4, lines::notProgrammed(4, 7)), setPhone(1, 5, lines::notProgrammed(5, 7, true)),
                 setPhone(1, 6, "   (6) 0123456789*#,0123456789*#,012345"), setPhone(1, 7, "   (7) #"),
                 setPhone(2, 1, " P (1) 18005550100")});
}

Programming siteAAsRead() {
  Programming record = siteA();
  all(setPhone(1, 4, lines::notProgrammed(4)), setPhone(1, 5, lines::notProgrammed(5)))(record);
  return record;
}

Programming shopFloor() {
  return edited({setGlobal("Aislecall|000000|N/A|9|N/A|N/A|N/A|N/A|N/A"), setPhone(1, 1, "   (1) 911")});
}

Programming randomRecord(std::mt19937& random) {
  Programming record = newProgramming();
  GlobalSettings& global = record.global;
  const char* functions[] = {text::kAlarmDialer, text::kAislecall, text::kAlarmDialerNoBeeps};
  global.function = functions[between(random, 0, 2)];
  global.securityCode = digits(random, 6);
  global.ringDelay = digits(random, 1);
  if (global.function == text::kAislecall) {
    for (std::string* value : {&global.accessCode, &global.ringbackLimit, &global.dialingSpeed, &global.callProgress,
                               &global.forcedPlayTimer, &global.hookswitchFlash})
      *value = text::kNotApplicable;
    // A unit with the short layouts shows Hookswitch Flash "Disabled" in every mode.
    if (between(random, 0, 3) == 0) global.hookswitchFlash = text::kDisabled;
  } else {
    global.accessCode = digits(random, 6);
    global.ringbackLimit = std::to_string(between(random, 1, 99));
    global.dialingSpeed = between(random, 0, 1) ? text::kNormal : text::kFast;
    const bool detect = between(random, 0, 1);
    global.callProgress = detect ? text::kEnabled : text::kDisabled;
    global.forcedPlayTimer = detect ? text::kNotApplicable : twoDigits(between(random, 1, 99));
    global.hookswitchFlash = between(random, 0, 1) ? text::kEnabled : text::kDisabled;
  }

  const char* states[] = {lines::kNormallyOpen, lines::kNormallyClosed, text::kDisabled};
  auto timer = [&] {
    return lines::timer(twoDigits(between(random, 0, 18)), twoDigits(between(random, 0, 59)),
                        twoDigits(between(random, 0, 59)));
  };
  // Counts read from a device have no leading zero; an editor may leave one ("07").
  auto count = [&] {
    const int value = between(random, 1, 99);
    return between(random, 0, 4) == 0 ? twoDigits(value) : std::to_string(value);
  };
  for (int input = 1; input <= kInputCount; ++input) {
    std::string values = states[between(random, 0, 2)];
    values += between(random, 0, 1) ? "|Momentary|" : "|Continuous|";
    values += timer() + "|";
    values += timer() + "|";
    values += count() + "|";
    values += count();
    setInput(input, values)(record);
  }

  const std::string symbols = "0123456789*#,";
  for (int input = 1; input <= kInputCount; ++input) {
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      std::string& line = phoneAt(record, input, slot);
      switch (between(random, 0, 4)) {
        case 0:
          line = lines::notProgrammed(slot);
          break;
        case 1:
          line = lines::notProgrammed(slot, 7, between(random, 0, 1));
          break;
        default: {
          std::string number;
          const int length = between(random, 1, 32);
          for (int i = 0; i < length; ++i) number += symbols[static_cast<std::size_t>(between(random, 0, 12))];
          line = lines::phone(slot, number, between(random, 0, 1));
        }
      }
    }
  }
  return record;
}

std::filesystem::path filesDataDir() { return TARVEK_FILES_DATA_DIR; }

std::vector<std::string> split(std::string_view values, std::size_t count) {
  std::vector<std::string> parts(1);
  for (const char c : values) {
    if (c == '|')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() != count)
    throw std::invalid_argument(std::to_string(count) + " values wanted: \"" + std::string(values) + "\"");
  return parts;
}

GlobalSettings globalOf(std::string_view values) {
  const auto v = split(values, 9);
  return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
}

std::vector<std::string> fieldLines(std::string_view values) {
  auto lines = split(values, 6);
  for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = lines::field(static_cast<Field>(i), lines[i]);
  return lines;
}

Edit setGlobal(std::string_view values) {
  return [global = globalOf(values)](Programming& record) { record.global = global; };
}

Edit setGlobal(std::string GlobalSettings::*setting, std::string value) {
  return [=](Programming& record) { record.global.*setting = value; };
}

Edit setField(int input, Field which, std::string value) {
  return [=](Programming& record) {
    record.inputSpecs[static_cast<std::size_t>(lines::inputFieldIndex(input) + static_cast<int>(which))] =
        lines::field(which, value);
  };
}

Edit setInput(int input, std::string_view values) {
  return [=, fields = fieldLines(values)](Programming& record) {
    std::copy(fields.begin(), fields.end(), record.inputSpecs.begin() + lines::inputFieldIndex(input));
  };
}

Edit setPhone(int input, int slot, std::string line) {
  return [=](Programming& record) { phoneAt(record, input, slot) = line; };
}

Edit setLine(std::vector<std::string> Programming::*list, std::size_t index, std::string line) {
  return [=](Programming& record) {
    auto& lines = record.*list;
    if (lines.size() <= index) lines.resize(index + 1);
    lines[index] = line;
  };
}

Edit resizeList(std::vector<std::string> Programming::*list, std::size_t size) {
  return [=](Programming& record) { (record.*list).resize(size); };
}

Programming edited(const std::vector<Edit>& edits) {
  Programming record = newProgramming();
  for (const Edit& edit : edits)
    if (edit) edit(record);
  return record;
}

}  // namespace tarvek::test
