#include "support/sample_records.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tarvek::test {

using lines::Field;

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
  return [=](Programming& record) { record.phoneNumbers[lines::phoneLineIndex(input, slot)] = line; };
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
