#pragma once
// Whole files in and out: reading a file of bounded size, and replacing a file whole or not at
// all.
//
// A file is written to a hidden new file beside the target, flushed to the disk and renamed over
// the target only after everything was written, so a failure never leaves a half-written file
// and an existing file is never lost. Reading refuses anything that is not a regular file (a pipe
// or device could block forever) and anything larger than the caller's limit. Standard input and
// output are the caller's business.
//
// model/posix and model/win32 hold the platform's file calls; this file's own source the parts
// that are the same everywhere.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace vpr {

class FileContents {
public:
  enum ReadResult { Read = 0, CannotOpen = 1, TooLarge = 2 };
  enum WriteResult {
    Written = 0,
    CannotCreate = 1,    // the file cannot be created; the error tells why
    WriteFailed = 3,     // writing failed; the error tells why; nothing is left behind
    NotARegularFile = 4, // the path names a pipe, a device or a socket, which is left alone
  };

  // What read does with a file longer than the limit.
  enum Length { Whole, Prefix };

  // Reads the regular file into out: Whole refuses a file of more than limit bytes (TooLarge),
  // Prefix reads its first limit bytes. On CannotOpen the error tells why; out is left alone on
  // any failure.
  static ReadResult read(const std::string& path, std::size_t limit, std::string& out, std::error_code& error,
                         Length length = Whole);

  // Replaces the file at path with the bytes. Links are followed (a dangling link gets its target
  // created; a loop is refused with ELOOP); only a regular file is ever replaced. A new file takes
  // the permissions the umask allows, an existing one keeps its own and, when root saves, its
  // owner; a file the user may not write and a folder are refused. Where the folder takes no new
  // file but the file itself is writable, the file is overwritten in place, its old contents held
  // in memory and put back if the write fails.
  static WriteResult write(const std::string& path, std::span<const std::uint8_t> bytes,
                           std::error_code& error);
  static WriteResult write(const std::string& path, std::string_view text, std::error_code& error);

private:
  // The platform's part of read: up to wanted bytes of a regular file into bytes. False, with the
  // error, for what is no regular file or cannot be read.
  static bool readRegular(const std::string& path, std::size_t wanted, std::string& bytes,
                          std::error_code& error);
  // The platform's part of write: replaces target, which is no link, with the bytes.
  static WriteResult replace(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                             std::error_code& error);

  // The path a save goes to: links followed to their end, also when the last one dangles (its
  // target is what gets created). Nothing, with ELOOP, for a loop or a chain too long to follow.
  static std::optional<std::filesystem::path> followLinks(const std::filesystem::path& path,
                                                          std::error_code& error);
};

} // namespace vpr
