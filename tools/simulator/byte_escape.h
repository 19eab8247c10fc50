#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvek::sim {

// Bytes as readable text: printable ASCII stays, '\\' and '"' are escaped, CR, LF and
// TAB become \r \n \t, any other byte \xNN. Used by the transcript, the memory file
// and fault answers, so binary timer bytes and carriage returns stay visible.
std::string escapeBytes(std::string_view bytes);

// The inverse of escapeBytes; nullopt on a dangling or unknown escape.
std::optional<std::string> unescapeBytes(std::string_view text);

}  // namespace tarvek::sim
