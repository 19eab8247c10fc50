#include "simulator/memory_text.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "simulator/byte_escape.h"

namespace tarvek::sim {
namespace {

struct GlobalField {
  std::string_view key;
  std::string GlobalRecord::*member;
  std::size_t width;
};

constexpr GlobalField kGlobalFields[] = {
    {"function", &GlobalRecord::function, 1},
    {"security-code", &GlobalRecord::securityCode, 6},
    {"access-code", &GlobalRecord::accessCode, 6},
    {"ring-delay", &GlobalRecord::ringDelay, 1},
    {"ringback-limit", &GlobalRecord::ringbackLimit, 2},
    {"dialing-speed", &GlobalRecord::dialingSpeed, 1},
    {"hookswitch-flash", &GlobalRecord::hookswitchFlash, 1},
    {"forced-play-timer", &GlobalRecord::forcedPlayTimer, 2},
};

struct InputField {
  std::string_view key;
  std::string InputRecord::*member;
  std::size_t width;
};

constexpr InputField kInputFields[] = {
    {"normal-state", &InputRecord::normalState, 1},
    {"duration", &InputRecord::duration, 1},
    {"msg-rpt-count", &InputRecord::msgRptCount, 2},
    {"lap-counter", &InputRecord::lapCounter, 2},
};

struct InputTimer {
  std::string_view key;
  std::uint16_t InputRecord::*member;
};

constexpr InputTimer kInputTimers[] = {
    {"qualifier-timer", &InputRecord::qualifierTimer},
    {"resume-timer", &InputRecord::resumeTimer},
};

constexpr std::string_view kHeader =
    "# Tarvek simulator memory: the Global record, 8 input records (timers in seconds)\n"
    "# and 64 phone records (input 1 to 8, slot 0 to 7, pager 1 or 0, the number).\n"
    "# A line left out keeps the factory value.\n";

bool isPlain(std::string_view value) {
  return !value.empty() &&
         std::all_of(value.begin(), value.end(), [](char c) { return c > ' ' && c < 0x7f && c != '"' && c != '\\'; });
}

std::string quoted(std::string_view value) { return '"' + escapeBytes(value) + '"'; }

std::string token(std::string_view value) { return isPlain(value) ? std::string(value) : quoted(value); }

[[noreturn]] void fail(int line, const std::string& why) {
  throw MemoryFormatError("line " + std::to_string(line) + ": " + why);
}

// Splits a line into words; a word in double quotes may hold spaces and \-escapes.
std::vector<std::string> words(std::string_view text, int line) {
  std::vector<std::string> result;
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r')) ++at;
    if (at == text.size()) break;
    if (text[at] == '"') {
      std::size_t end = at + 1;
      while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
      if (end >= text.size()) fail(line, "unterminated quoted value");
      const auto value = unescapeBytes(text.substr(at + 1, end - at - 1));
      if (!value) fail(line, "bad escape in a quoted value");
      result.push_back(*value);
      at = end + 1;
    } else {
      std::size_t end = at;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r') ++end;
      result.emplace_back(text.substr(at, end - at));
      at = end;
    }
  }
  return result;
}

std::optional<long> number(std::string_view text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

int index(const std::string& text, long low, long high, int line, std::string_view what) {
  const auto value = number(text);
  if (!value || *value < low || *value > high) {
    fail(line, std::string(what) + " must be " + std::to_string(low) + " to " + std::to_string(high));
  }
  return static_cast<int>(*value);
}

std::string fixedWidth(const std::string& value, std::size_t width, int line, std::string_view key) {
  if (value.size() != width) {
    fail(line, std::string(key) + " must be " + std::to_string(width) + " character" + (width == 1 ? "" : "s"));
  }
  return value;
}

void parseInput(const std::vector<std::string>& w, Memory& memory, int line) {
  if (w.size() < 2) fail(line, "input needs its number");
  InputRecord& record = memory.input(index(w[1], 1, kInputCount, line, "the input number"));
  if (w.size() % 2 != 0) fail(line, "input fields come in pairs: name value");
  for (std::size_t i = 2; i < w.size(); i += 2) {
    const std::string& key = w[i];
    const std::string& value = w[i + 1];
    const auto field = std::find_if(std::begin(kInputFields), std::end(kInputFields),
                                    [&](const InputField& f) { return f.key == key; });
    if (field != std::end(kInputFields)) {
      record.*(field->member) = fixedWidth(value, field->width, line, key);
      continue;
    }
    const auto timer = std::find_if(std::begin(kInputTimers), std::end(kInputTimers),
                                    [&](const InputTimer& t) { return t.key == key; });
    if (timer == std::end(kInputTimers)) fail(line, "unknown input field \"" + key + "\"");
    record.*(timer->member) = static_cast<std::uint16_t>(index(value, 0, 0xffff, line, key));
  }
}

void parseNumber(const std::vector<std::string>& w, Memory& memory, int line) {
  if (w.size() != 6 || w[3] != "pager") fail(line, "expected: number INPUT SLOT pager 0|1 \"DIGITS\"");
  PhoneRecord& record = memory.number(index(w[1], 1, kInputCount, line, "the input number"),
                                      index(w[2], 0, kSlotsPerInput - 1, line, "the slot"));
  if (w[4] != "0" && w[4] != "1") fail(line, "pager must be 0 or 1");
  if (w[5].size() > kMaxNumberLength) fail(line, "a number has at most 32 characters");
  record.pager = w[4] == "1";
  record.number = w[5];
}

}  // namespace

std::string formatMemory(const Memory& memory) {
  std::string text(kHeader);
  text += '\n';
  for (const GlobalField& field : kGlobalFields) {
    text += std::string(field.key) + ' ' + token(memory.global.*(field.member)) + '\n';
  }
  text += '\n';
  for (int n = 1; n <= kInputCount; ++n) {
    const InputRecord& record = memory.input(n);
    text += "input " + std::to_string(n);
    for (const InputField& field : kInputFields)
      text += ' ' + std::string(field.key) + ' ' + token(record.*(field.member));
    for (const InputTimer& timer : kInputTimers)
      text += ' ' + std::string(timer.key) + ' ' + std::to_string(record.*(timer.member));
    text += '\n';
  }
  for (int n = 1; n <= kInputCount; ++n) {
    text += '\n';
    for (int slot = 0; slot < kSlotsPerInput; ++slot) {
      const PhoneRecord& record = memory.number(n, slot);
      text += "number " + std::to_string(n) + ' ' + std::to_string(slot) + " pager " + (record.pager ? '1' : '0') +
              ' ' + quoted(record.number) + '\n';
    }
  }
  return text;
}

Memory parseMemory(std::string_view text) {
  Memory memory = Memory::factory();
  int line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view content = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));

    const std::size_t first = content.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || content[first] == '#') continue;
    const std::vector<std::string> w = words(content, line);
    const std::string& key = w[0];
    if (key == "input") {
      parseInput(w, memory, line);
    } else if (key == "number") {
      parseNumber(w, memory, line);
    } else {
      const auto field = std::find_if(std::begin(kGlobalFields), std::end(kGlobalFields),
                                      [&](const GlobalField& f) { return f.key == key; });
      if (field == std::end(kGlobalFields)) fail(line, "unknown name \"" + key + "\"");
      if (w.size() != 2) fail(line, key + " takes one value");
      memory.global.*(field->member) = fixedWidth(w[1], field->width, line, key);
    }
  }
  return memory;
}

}  // namespace tarvek::sim
