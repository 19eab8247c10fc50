#include "files/settings_storage.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace tarvek::settings {

namespace fs = std::filesystem;

namespace {

std::string lastSystemError(const char* fallback) { return errno != 0 ? std::strerror(errno) : fallback; }

bool readWhole(const fs::path& file, std::string& content, std::string& error) {
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  std::ostringstream buffer;
  if (in) buffer << in.rdbuf();
  if (!in || in.bad()) {
    error = lastSystemError("The file could not be read.");
    return false;
  }
  content = buffer.str();
  return true;
}

// Whether the file may be written, asked of the file itself: opened for writing, neither
// created nor cut.
bool writable(const fs::path& file, std::string& error) {
  errno = 0;
  std::fstream probe(file, std::ios::in | std::ios::out | std::ios::binary);
  if (probe.is_open()) return true;
  error = lastSystemError("The file cannot be written.");
  return false;
}

// Replacing a link would cut it off from what it points to: write where it points.
fs::path resolvedTarget(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_symlink(file, ec)) return file;
  const fs::path target = fs::weakly_canonical(file, ec);
  return ec ? file : target;
}

}  // namespace

fs::path temporaryPathFor(const fs::path& file) {
  return file.parent_path() / ("." + file.filename().string() + ".tmp");
}

bool saveText(const fs::path& file, std::string_view text, SaveMode mode, std::string& error) {
  const fs::path target = resolvedTarget(file);
  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  const bool exists = fs::exists(old);

  // A file its owner made read-only stays as it is, even where its folder would let the
  // new file take its place.
  if (exists && !writable(target, error)) return false;

  std::string content;
  if (mode == SaveMode::Append && exists && !readWhole(target, content, error)) return false;
  content += text;

  const fs::path temporary = temporaryPathFor(target);
  // A link left where the temporary file goes would lead the new report into the file it
  // points to, and then take the settings file's place: the link goes, not what it names.
  if (fs::is_symlink(fs::symlink_status(temporary, ec))) fs::remove(temporary, ec);
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  const bool created = out.is_open();
  if (out) out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (out) out.close();
  if (!out) {
    error = lastSystemError("The file could not be written.");
    if (created) fs::remove(temporary, ec);
    return false;
  }
  // The new file keeps the permissions the old one had.
  if (exists) fs::permissions(temporary, old.permissions(), ec);
  fs::rename(temporary, target, ec);
  if (ec) {
    error = ec.message();
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

ReadResult load(const fs::path& file) {
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) return {std::nullopt, lastSystemError("The file could not be opened.")};
  ReadResult result = read(in);
  if (in.bad()) return {std::nullopt, lastSystemError("The file could not be read.")};
  return result;
}

}  // namespace tarvek::settings
