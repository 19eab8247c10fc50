#pragma once

#include <ostream>

#include "core/programming.h"

// Readable failure output for the record's values.
namespace tarvek {

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

}  // namespace tarvek
