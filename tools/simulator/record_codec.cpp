#include "simulator/record_codec.h"

#include <algorithm>

namespace tarvek::sim {
namespace {

constexpr std::uint32_t kMaxTimerSeconds = 0xffff;

bool isDigits(std::string_view text, std::size_t count) {
  return text.size() == count && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isOneOf(std::string_view field, std::string_view allowed) {
  return field.size() == 1 && allowed.find(field[0]) != std::string_view::npos;
}

int twoDigits(std::string_view text) { return (text[0] - '0') * 10 + (text[1] - '0'); }

std::optional<int> inputIndex(char c) {
  if (c < '1' || c > '8') return std::nullopt;
  return c - '0';
}

std::optional<int> slotIndex(char c) {
  if (c < '0' || c > '7') return std::nullopt;
  return c - '0';
}

std::string padded(std::string_view number, std::size_t width) {
  std::string field(number.substr(0, width));
  field.resize(width, ' ');
  return field;
}

}  // namespace

std::string timerBytes(std::uint16_t seconds) {
  return {static_cast<char>(seconds & 0xff), static_cast<char>(seconds >> 8)};
}

std::string globalAnswer(const GlobalRecord& r, Layout layout) {
  std::string answer = r.function + r.securityCode + r.accessCode + r.ringDelay + r.ringbackLimit + r.dialingSpeed;
  if (layout == Layout::Full) return answer + r.hookswitchFlash + r.forcedPlayTimer;
  return answer + r.forcedPlayTimer + '\r';
}

std::string inputAnswer(const InputRecord& r) {
  return r.normalState + r.duration + r.msgRptCount + r.lapCounter + timerBytes(r.qualifierTimer) +
         timerBytes(r.resumeTimer);
}

std::string numberAnswer(const PhoneRecord& r, Layout layout) {
  const std::string field = padded(r.number, numberWidth(layout));
  if (layout == Layout::Full) return field + (r.pager ? '1' : '0');
  return field + '\r';
}

std::optional<std::uint16_t> secondsFromTimerDigits(std::string_view digits) {
  if (!isDigits(digits, 6)) return std::nullopt;
  const int hours = twoDigits(digits.substr(0, 2));
  const int minutes = twoDigits(digits.substr(2, 2));
  const int seconds = twoDigits(digits.substr(4, 2));
  if (minutes > 59 || seconds > 59) return std::nullopt;
  const auto total = static_cast<std::uint32_t>(hours * 3600 + minutes * 60 + seconds);
  if (total > kMaxTimerSeconds) return std::nullopt;
  return static_cast<std::uint16_t>(total);
}

std::optional<GlobalRecord> parseGlobalWrite(std::string_view command, Layout layout, const GlobalRecord& kept) {
  if (command.size() != globalWriteLength(layout) || command.substr(0, 2) != "MW") return std::nullopt;
  GlobalRecord r;
  std::size_t at = 2;
  const auto take = [&](std::size_t width) {
    std::string field(command.substr(at, width));
    at += width;
    return field;
  };
  r.function = take(1);
  r.securityCode = take(6);
  r.accessCode = take(6);
  r.ringDelay = take(1);
  r.ringbackLimit = take(2);
  r.dialingSpeed = take(1);
  r.hookswitchFlash = layout == Layout::Full ? take(1) : kept.hookswitchFlash;
  r.forcedPlayTimer = take(2);
  const bool valid = isOneOf(r.function, "012") && isDigits(r.securityCode, 6) && isDigits(r.accessCode, 6) &&
                     isDigits(r.ringDelay, 1) && isDigits(r.ringbackLimit, 2) && isOneOf(r.dialingSpeed, "01") &&
                     (layout == Layout::Short || isOneOf(r.hookswitchFlash, "01")) && isDigits(r.forcedPlayTimer, 2);
  if (!valid) return std::nullopt;
  return r;
}

std::optional<InputWrite> parseInputWrite(std::string_view command) {
  if (command.size() != kInputWriteLength || command[0] != 'I' || command[2] != 'W') return std::nullopt;
  const auto input = inputIndex(command[1]);
  const auto qualifier = secondsFromTimerDigits(command.substr(9, 6));
  const auto resume = secondsFromTimerDigits(command.substr(15, 6));
  if (!input || !qualifier || !resume) return std::nullopt;
  InputRecord r{std::string(command.substr(3, 1)),
                std::string(command.substr(4, 1)),
                std::string(command.substr(5, 2)),
                std::string(command.substr(7, 2)),
                *qualifier,
                *resume};
  if (!isOneOf(r.normalState, "012") || !isOneOf(r.duration, "01") || !isDigits(r.msgRptCount, 2) ||
      !isDigits(r.lapCounter, 2)) {
    return std::nullopt;
  }
  return InputWrite{*input, r};
}

std::optional<NumberWrite> parseNumberWrite(std::string_view command, Layout layout) {
  if (command.size() < 4 || command[0] != 'N' || command[2] != 'W') return std::nullopt;
  const auto input = inputIndex(command[1]);
  const auto slot = slotIndex(command[3]);
  if (!input || !slot) return std::nullopt;
  NumberWrite write{*input, *slot, {}, std::nullopt};
  std::string_view number = command.substr(4);
  if (layout == Layout::Full) {
    if (number.empty() || (number[0] != '0' && number[0] != '1')) return std::nullopt;
    write.pager = number[0] == '1';
    number.remove_prefix(1);
  }
  if (number.size() > numberWidth(layout) || !isDialString(number)) return std::nullopt;
  write.number = std::string(number);
  return write;
}

std::optional<int> parseInputRead(std::string_view command) {
  if (command.size() != 3 || command[0] != 'I' || command[2] != 'R') return std::nullopt;
  return inputIndex(command[1]);
}

std::optional<std::pair<int, int>> parseNumberRead(std::string_view command) {
  if (command.size() != 4 || command[0] != 'N' || command[2] != 'R') return std::nullopt;
  const auto input = inputIndex(command[1]);
  const auto slot = slotIndex(command[3]);
  if (!input || !slot) return std::nullopt;
  return std::pair{*input, *slot};
}

bool isDialString(std::string_view number) {
  return std::all_of(number.begin(), number.end(),
                     [](char c) { return (c >= '0' && c <= '9') || c == '*' || c == '#' || c == ','; });
}

}  // namespace tarvek::sim
