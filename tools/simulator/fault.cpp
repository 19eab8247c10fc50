#include "simulator/fault.h"

#include <charconv>
#include <vector>

#include "simulator/byte_escape.h"

namespace tarvek::sim {
namespace {

struct TypeName {
  FaultType type;
  std::string_view name;
  bool takesArgument;
};

constexpr TypeName kTypes[] = {{FaultType::NoAnswer, "none", false}, {FaultType::Late, "late", true},
                               {FaultType::Text, "text", true},      {FaultType::Length, "length", true},
                               {FaultType::Drop, "drop", false},     {FaultType::Unplug, "unplug", false}};

const TypeName& typeName(FaultType type) {
  for (const TypeName& entry : kTypes) {
    if (entry.type == type) return entry;
  }
  return kTypes[0];
}

// A whole non-negative decimal number, nothing else.
std::optional<long> number(std::string_view text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

[[noreturn]] void refuse(std::string_view faultText, const std::string& why) {
  throw FaultSyntaxError("fault \"" + std::string(faultText) + "\": " + why);
}

}  // namespace

bool Fault::hits(CommandKind commandKind, int kindOrdinal, int anyOrdinal) const {
  if (kind && *kind != commandKind) return false;
  if (!ordinal) return true;
  return *ordinal == (kind ? kindOrdinal : anyOrdinal);
}

std::string Fault::describe() const {
  std::string written(typeName(type).name);
  written += ':';
  written += kind ? kindName(*kind) : "any";
  written += ':';
  written += ordinal ? std::to_string(*ordinal) : "all";
  switch (type) {
    case FaultType::Late:
      written += ':' + std::to_string(delay.count());
      break;
    case FaultType::Text:
      written += ':' + escapeBytes(text);
      break;
    case FaultType::Length:
      written += ':' + std::to_string(length);
      break;
    default:
      break;
  }
  return written;
}

Fault parseFault(std::string_view faultText) {
  // TYPE:KIND:WHICH, and for some types :ARGUMENT, which is the whole rest (a text may hold ':').
  std::vector<std::string_view> parts;
  std::string_view rest = faultText;
  while (parts.size() < 3) {
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos) break;
    parts.push_back(rest.substr(0, colon));
    rest.remove_prefix(colon + 1);
  }
  parts.push_back(rest);
  if (parts.size() < 3) refuse(faultText, "expected TYPE:KIND:WHICH[:ARGUMENT]");

  Fault fault;
  const TypeName* type = nullptr;
  for (const TypeName& entry : kTypes) {
    if (entry.name == parts[0]) type = &entry;
  }
  if (!type) refuse(faultText, "unknown type \"" + std::string(parts[0]) + "\"");
  fault.type = type->type;
  if (type->takesArgument && parts.size() != 4) refuse(faultText, std::string(type->name) + " needs an argument");
  if (!type->takesArgument && parts.size() != 3) refuse(faultText, std::string(type->name) + " takes no argument");

  if (parts[1] != "any") {
    fault.kind = kindFromName(parts[1]);
    if (!fault.kind) refuse(faultText, "unknown command kind \"" + std::string(parts[1]) + "\"");
  }
  if (parts[2] != "all") {
    const auto ordinal = number(parts[2]);
    if (!ordinal || *ordinal < 1 || *ordinal > 1'000'000) refuse(faultText, "WHICH must be a number from 1, or all");
    fault.ordinal = static_cast<int>(*ordinal);
  }

  switch (fault.type) {
    case FaultType::Late: {
      const auto delay = number(parts[3]);
      if (!delay || *delay > 3'600'000) refuse(faultText, "the delay must be milliseconds, at most one hour");
      fault.delay = std::chrono::milliseconds(*delay);
      break;
    }
    case FaultType::Text: {
      const auto text = unescapeBytes(parts[3]);
      if (!text) refuse(faultText, "bad escape in the answer text");
      fault.text = *text;
      break;
    }
    case FaultType::Length: {
      const auto length = number(parts[3]);
      if (!length || *length > 4096) refuse(faultText, "the length must be a number of characters, at most 4096");
      fault.length = static_cast<std::size_t>(*length);
      break;
    }
    default:
      break;
  }
  return fault;
}

}  // namespace tarvek::sim
