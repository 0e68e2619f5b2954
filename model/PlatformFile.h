#pragma once
// The file-system calls of the data file that differ between platforms: reading a regular file
// without blocking on a pipe or device, and replacing a file whole through a flushed temporary
// file beside it. model/posix and model/win32 implement them; DataFile keeps the format.
// It does not know the data-file format, nor any other file the program keeps.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace vpr {

class PlatformFile {
public:
  // Where replacing a file stopped.
  enum class Outcome {
    Replaced,     // the target holds the new bytes
    CannotCreate, // the temporary file could not be made, or the target may not be written
    WriteFailed,  // writing, flushing or renaming failed; the temporary file is gone again
  };

  // Reads up to size bytes from a regular file into buffer; count tells how many it held.
  // False when the path is no regular file or cannot be opened or read.
  static bool readRegular(const std::string& path, std::uint8_t* buffer, std::size_t size,
                          std::size_t& count);

  // Writes the bytes to a new hidden file in the target's folder, flushes it to the disk and
  // renames it over the target, so that the target is replaced whole or not at all. An existing
  // target keeps its permissions; one the user may not write is left alone (CannotCreate).
  static Outcome replace(const std::filesystem::path& target, const std::uint8_t* data, std::size_t size,
                         std::error_code& error);
};

} // namespace vpr
