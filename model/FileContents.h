#pragma once
// Whole files in and out: reading a file of bounded size, and replacing a file whole or not at
// all.
//
// A file is written to a hidden new file beside the target, flushed to the disk and renamed over
// the target only after everything was written, so a failure never leaves a half-written file
// and an existing file is never lost. Reading refuses anything that is not a regular file (a pipe
// or device could block forever) and anything larger than the caller's limit. Standard input and
// output are the caller's business.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace vpr {

class FileContents {
public:
  enum ReadResult { Read = 0, CannotOpen = 1, TooLarge = 2 };
  enum WriteResult { Written = 0, CannotCreate = 1, WriteFailed = 3 };

  // What read does with a file longer than the limit.
  enum Length { Whole, Prefix };

  // Reads the regular file into out: Whole refuses a file of more than limit bytes (TooLarge),
  // Prefix reads its first limit bytes. On CannotOpen the error tells why; out is left alone on
  // any failure.
  static ReadResult read(const std::string& path, std::size_t limit, std::string& out, std::error_code& error,
                         Length length = Whole);

  // Replaces the file at path (the file a link points to) with the bytes. A new file takes the
  // permissions the umask allows, an existing one keeps its own; a file the user may not write
  // and a folder are refused.
  static WriteResult write(const std::string& path, std::span<const std::uint8_t> bytes,
                           std::error_code& error);
  static WriteResult write(const std::string& path, std::string_view text, std::error_code& error);
};

} // namespace vpr
