#include "core/settings_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/display_lines.h"

namespace tarvek::settings {

namespace {

using lines::contains;
using lines::Field;
using lines::lastChars;

std::string blanks(std::size_t n) { return std::string(n, ' '); }

// `indent` blanks and the name, padded with blanks so the value starts in column 36.
std::string valueLine(std::size_t indent, std::string_view name, std::string_view value) {
  std::string line = blanks(indent);
  line += name;
  if (line.size() < kValueColumn - 1) line.resize(kValueColumn - 1, ' ');
  line += value;
  return line;
}

// A display line by index; a record cut short reads as empty lines rather than failing.
std::string_view lineAt(const std::vector<std::string>& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return {};
  return list[static_cast<std::size_t>(index)];
}

std::string blockHeader(std::string_view displayHeader) {
  return blanks(10) + std::string(displayHeader.substr(0, std::min<std::size_t>(7, displayHeader.size())));
}

// The reader's count: the last two characters, or the last alone when the first of
// them is a blank.
std::string countFromFile(std::string_view line) {
  const std::string lastTwo = lastChars(line, 2);
  if (lastTwo.size() == 2 && lastTwo[0] == ' ') return lastTwo.substr(1);
  return lastTwo;
}

struct Unreadable {
  std::string problem;
};

// The file's lines one at a time, without their line ends.
class LineSource {
 public:
  explicit LineSource(std::istream& in) : m_in(in) {}

  std::string next(std::string_view expected) {
    std::string line;
    if (!std::getline(m_in, line)) throw Unreadable{"The file ends before " + std::string(expected) + "."};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

  void skip(std::string_view expected) { next(expected); }

  // Passes over lines up to and including the first that contains `key`, then the empty
  // line after it. A hand-edited heading may have lost its blanks or gained a tab.
  void skipPastHeading(std::string_view title, std::string_view key) {
    const std::string where = "the " + std::string(title) + " heading";
    while (!contains(next(where), key)) {
    }
    skip("the " + std::string(title));
  }

 private:
  std::istream& m_in;
};

GlobalSettings readGlobal(LineSource& source) {
  // The empty line, the report name and the "Saved" line: a report named "Global Corp"
  // must not be taken for the heading.
  for (int line = 0; line < 3; ++line) source.skip("the Global Settings heading");
  source.skipPastHeading(kGlobalHeading, "Global");
  const std::string where = "the end of the Global Settings";
  GlobalSettings global;

  const std::string function = source.next(where);
  if (contains(function, text::kAlarmDialerNoBeeps))
    global.function = text::kAlarmDialerNoBeeps;
  else if (contains(function, text::kAlarmDialer))
    global.function = text::kAlarmDialer;
  else
    global.function = text::kAislecall;
  const bool aislecall = global.function == text::kAislecall;

  // Every further value line follows an empty line.
  auto value = [&] {
    source.skip(where);
    return source.next(where);
  };
  auto notApplicable = [](std::string_view line) { return contains(line, text::kNotApplicable); };

  global.securityCode = lastChars(value(), 6);
  const std::string access = value();
  global.accessCode = aislecall ? text::kNotApplicable : lastChars(access, 6);
  global.ringDelay = lastChars(value(), 1);
  const std::string ringback = value();
  global.ringbackLimit = notApplicable(ringback) ? text::kNotApplicable : lines::count(ringback);
  const std::string speed = value();
  global.dialingSpeed = notApplicable(speed)             ? text::kNotApplicable
                        : contains(speed, text::kNormal) ? text::kNormal
                                                         : text::kFast;
  const std::string progress = value();
  global.callProgress = aislecall                            ? text::kNotApplicable
                        : contains(progress, text::kEnabled) ? text::kEnabled
                                                             : text::kDisabled;
  // A one-digit timer would come back with a blank in front, which the device refuses.
  const std::string forced = value();
  global.forcedPlayTimer =
      notApplicable(forced) ? text::kNotApplicable : lines::withLeadingZero(lines::trimmed(lastChars(forced, 2)));
  const std::string hookswitch = value();
  global.hookswitchFlash = notApplicable(hookswitch)               ? text::kNotApplicable
                           : contains(hookswitch, text::kDisabled) ? text::kDisabled
                                                                   : text::kEnabled;
  return global;
}

std::vector<std::string> readInputSpecs(LineSource& source) {
  source.skipPastHeading(kInputsHeading, kInputsHeading);
  std::vector<std::string> specs;
  for (int input = 1; input <= kInputCount; ++input) {
    const std::string where = "the end of input " + std::to_string(input) + " of the Input Specifications";
    specs.push_back("Input " + lastChars(source.next(where), 1));
    source.skip(where);
    specs.emplace_back();
    specs.push_back(lines::field(Field::NormalState, lines::normalStateValue(source.next(where))));
    specs.push_back(lines::field(Field::Duration, lines::durationValue(source.next(where))));
    specs.push_back(lines::field(Field::QualifierTimer, lastChars(source.next(where), 20)));
    specs.push_back(lines::field(Field::ResumeTimer, lastChars(source.next(where), 20)));
    specs.push_back(lines::field(Field::MsgRptCount, countFromFile(source.next(where))));
    specs.push_back(lines::field(Field::LapCounter, countFromFile(source.next(where))));
    source.skip(where);
    specs.emplace_back();
  }
  return specs;
}

std::vector<std::string> readPhoneNumbers(LineSource& source) {
  source.skipPastHeading(kNumbersHeading, kNumbersHeading);
  std::vector<std::string> numbers;
  for (int input = 1; input <= kInputCount; ++input) {
    const std::string where = "the end of input " + std::to_string(input) + " of the Phone Numbers";
    numbers.push_back("Input " + lastChars(source.next(where), 1));
    source.skip(where);
    numbers.emplace_back();
    for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
      const std::string line = source.next(where);
      if (lines::isNotProgrammed(line)) {
        numbers.push_back(lines::notProgrammed(slot));
        continue;
      }
      if (line.size() < 19)
        throw Unreadable{"Number " + std::to_string(slot) + " of input " + std::to_string(input) +
                         " in the Phone Numbers is cut short."};
      numbers.push_back(lines::phone(slot, std::string_view(line).substr(19), line[13] == 'P'));
    }
    source.skip(where);
    numbers.emplace_back();
  }
  return numbers;
}

}  // namespace

std::string heading(std::string_view title) { return blanks(5) + std::string(title); }

std::vector<std::string> globalLines(const GlobalSettings& global) {
  const std::pair<std::string_view, const std::string*> rows[] = {
      {"Function", &global.function},
      {"Security Code", &global.securityCode},
      {"Access Code", &global.accessCode},
      {"Ring Delay", &global.ringDelay},
      {"Ringback Limit", &global.ringbackLimit},
      {"Dialing Speed", &global.dialingSpeed},
      {"Call Progress Detect", &global.callProgress},
      {"Forced Play Timer", &global.forcedPlayTimer},
      {"Hookswitch Flash", &global.hookswitchFlash},
  };
  std::vector<std::string> result;
  for (const auto& [name, value] : rows) {
    if (!result.empty()) result.emplace_back();
    result.push_back(valueLine(10, name, *value));
  }
  return result;
}

std::vector<std::string> inputBlock(const Programming& record, int input) {
  const auto& specs = record.inputSpecs;
  const int first = lines::inputBlockIndex(input);
  auto field = [&](Field which, std::string_view value) { return valueLine(15, lines::fieldLabel(which), value); };
  auto at = [&](int offset) { return lineAt(specs, first + offset); };
  return {
      blockHeader(at(0)),
      "",
      field(Field::NormalState, lines::normalStateValue(at(2))),
      field(Field::Duration, lines::durationValue(at(3))),
      field(Field::QualifierTimer, lastChars(at(4), 20)),
      field(Field::ResumeTimer, lastChars(at(5), 20)),
      field(Field::MsgRptCount, lines::count(at(6))),
      field(Field::LapCounter, lines::count(at(7))),
      "",
  };
}

std::vector<std::string> phoneBlock(const Programming& record, int input) {
  const auto& numbers = record.phoneNumbers;
  std::vector<std::string> block{blockHeader(lineAt(numbers, lines::phoneBlockIndex(input))), ""};
  for (int slot = 1; slot <= kNumbersPerInput; ++slot) {
    const std::string_view display = lineAt(numbers, lines::phoneLineIndex(input, slot));
    std::string line = lines::hasPagerMark(display) ? blanks(13) + "P " : blanks(15);
    line += "(" + std::to_string(slot) + ") ";
    line += lines::isNotProgrammed(display) ? std::string(lines::kNotProgrammed) : lines::phoneNumber(display);
    block.push_back(std::move(line));
  }
  block.emplace_back();
  return block;
}

std::vector<std::string> fileLines(const Programming& record, std::string_view reportName, std::string_view savedText) {
  std::vector<std::string> result{"",
                                  blanks(15) + std::string(reportName),
                                  blanks(15) + "Saved " + std::string(savedText),
                                  "",
                                  "",
                                  heading(kGlobalHeading),
                                  ""};
  auto append = [&](const std::vector<std::string>& more) { result.insert(result.end(), more.begin(), more.end()); };
  append(globalLines(record.global));
  append({"", "", heading(kInputsHeading), ""});
  for (int input = 1; input <= kInputCount; ++input) append(inputBlock(record, input));
  append({"", heading(kNumbersHeading), ""});
  for (int input = 1; input <= kInputCount; ++input) append(phoneBlock(record, input));
  return result;
}

std::string fileText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string reportName(std::string_view path) {
  std::string name = std::filesystem::path(path).filename().string();
  if (name.size() > 4) {
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".txt") name.resize(name.size() - 4);
  }
  return name;
}

ReadResult read(std::istream& in) {
  LineSource source(in);
  try {
    Programming record;
    record.global = readGlobal(source);
    record.inputSpecs = readInputSpecs(source);
    record.phoneNumbers = readPhoneNumbers(source);
    return {std::move(record), {}};
  } catch (const Unreadable& unreadable) {
    return {std::nullopt, unreadable.problem};
  }
}

}  // namespace tarvek::settings
