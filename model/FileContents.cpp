#include "model/FileContents.h"

#include "lang/PathText.h"

namespace vpr {

namespace fs = std::filesystem;

FileContents::ReadResult FileContents::read(const std::string& path, std::size_t limit, std::string& out,
                                            std::error_code& error, Length length) {
  error.clear();
  // One byte more than the limit tells a file that is too long.
  const std::size_t wanted = length == Whole ? limit + 1 : limit;
  std::string bytes;
  if (!readRegular(path, wanted, bytes, error)) return CannotOpen;
  if (bytes.size() > limit) return TooLarge;
  out = std::move(bytes);
  return Read;
}

FileContents::WriteResult FileContents::write(const std::string& path, std::span<const std::uint8_t> bytes,
                                              std::error_code& error) {
  error.clear();
  // Save into the file a link points to, not over the link; a dangling link gets its target.
  const std::optional<fs::path> resolved = followLinks(PathText::toPath(path), error);
  if (!resolved) return CannotCreate;
  return replace(*resolved, bytes, error);
}

FileContents::WriteResult FileContents::write(const std::string& path, std::string_view text,
                                              std::error_code& error) {
  return write(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, error);
}

std::optional<fs::path> FileContents::followLinks(const fs::path& path, std::error_code& error) {
  constexpr int kMaxLinks = 40; // the kernel's own limit for one lookup
  fs::path current = path;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec))) return current;
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) {
      error = ec;
      return std::nullopt;
    }
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return std::nullopt;
}

} // namespace vpr
