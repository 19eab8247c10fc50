#pragma once

#include <cstddef>

namespace tarvek::sim {

// Full: the current units. Short: older units that end their Global and phone-number
// answers with a carriage return and have neither Hookswitch Flash nor pager marks.
enum class Layout { Full, Short };

// Characters of the number field in a phone-number answer.
constexpr std::size_t numberWidth(Layout layout) { return layout == Layout::Full ? 32 : 31; }
// Characters of the whole Global write command, letters included.
constexpr std::size_t globalWriteLength(Layout layout) { return layout == Layout::Full ? 22 : 21; }

inline constexpr std::size_t kInputWriteLength = 21;

}  // namespace tarvek::sim
