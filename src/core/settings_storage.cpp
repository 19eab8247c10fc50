#include "core/settings_storage.h"

#include <cstdint>
#include <sstream>
#include <system_error>

#include "core/regular_file.h"

namespace tarvek::settings {

namespace fs = std::filesystem;

namespace {

using files::FileError;
using files::RegularFile;

// The longest file name most file systems take, in bytes.
constexpr std::size_t kNameMax = 255;

// Replacing a link would cut it off from what it points to: write where it points.
fs::path resolvedTarget(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_symlink(file, ec)) return file;
  const fs::path target = fs::weakly_canonical(file, ec);
  return ec ? file : target;
}

// FNV-1a: a short fingerprint of a name, nothing more is asked of it.
std::string fingerprint(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (auto digit = hex.rbegin(); digit != hex.rend(); ++digit, hash >>= 4) *digit = kDigits[hash & 0xf];
  return hex;
}

bool copyAll(RegularFile& from, RegularFile& to, FileError& error) {
  std::string chunk;
  do {
    if (!from.read(64 * 1024, chunk, error) || !to.write(chunk, error)) return false;
  } while (!chunk.empty());
  return true;
}

}  // namespace

fs::path temporaryPathFor(const fs::path& file) {
  const std::string name = file.filename().string();
  const std::string temporary = "." + name + ".tmp";
  if (temporary.size() <= kNameMax) return file.parent_path() / temporary;
  // A name near the limit is cut short and marked with a fingerprint of the whole, so two
  // long names that begin alike still get temporary files of their own. The cut never
  // splits a character of more than one byte.
  const std::string mark = "~" + fingerprint(name);
  std::size_t keep = kNameMax - std::string_view(".").size() - mark.size() - std::string_view(".tmp").size();
  while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  return file.parent_path() / ("." + name.substr(0, keep) + mark + ".tmp");
}

bool saveText(const fs::path& file, std::string_view text, SaveMode mode, std::string& error) {
  const fs::path target = resolvedTarget(file);
  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  const bool exists = fs::exists(old);

  // The file there is opened for writing, neither created nor cut: a file its owner made
  // read-only stays as it is, even where its folder would let the new file take its
  // place, and a named pipe or a device is never replaced by a file.
  FileError problem;
  RegularFile current;
  if (exists) {
    current = RegularFile::open(target, RegularFile::Mode::ReadWrite, problem);
    if (!current.isOpen()) {
      error = problem.reason;
      return false;
    }
  }

  const fs::path temporary = temporaryPathFor(target);
  // A link left where the temporary file goes would lead the new report into the file it
  // points to, and then take the settings file's place: the link goes, not what it names.
  if (fs::is_symlink(fs::symlink_status(temporary, ec))) fs::remove(temporary, ec);
  RegularFile out = RegularFile::open(temporary, RegularFile::Mode::Write, problem);
  const bool created = out.isOpen();
  const bool written = created && out.truncate(problem) &&
                       (mode == SaveMode::Replace || !current.isOpen() || copyAll(current, out, problem)) &&
                       out.write(text, problem) && out.close(problem);
  if (!written) {
    error = problem.reason;
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
  std::string content;
  FileError problem;
  if (!files::readStart(file, kReadLimit, content, problem)) return {std::nullopt, problem.reason};
  std::istringstream in(content);
  return read(in);
}

}  // namespace tarvek::settings
