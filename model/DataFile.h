#pragma once
// The data file: a 50-byte header followed by the 1024-byte radio image (1074 bytes).
//
//   offset  size  content
//        0    10  magic "VPR40T" and four bytes 0xFF
//       10     5  format version "V0420"
//       15     8  copy of the image's model code (image bytes 0x3D0..0x3D7)
//       23    27  0xFF; a note may stand here (ASCII up to the first 0xFF): radio backups say
//                 why they were taken. No reader checks these bytes, so a file with a note
//                 opens everywhere as any data file does.
//       50  1024  the image
//
// Only the first three characters of the version take part in the check: a file whose version
// starts with "V04" must carry a listed model code; any other version loads without that check.

#include "model/RadioImage.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace vpr {

class DataFile {
public:
  static constexpr std::size_t kHeaderSize = 50;
  static constexpr std::size_t kFileSize = kHeaderSize + kImageSize;
  static constexpr std::size_t kMagicSize = 10;
  static constexpr std::size_t kNoteOffset = 23;
  static constexpr std::size_t kNoteSize = 27;
  static_assert(kNoteOffset + kNoteSize == kHeaderSize);
  using Magic = std::array<std::uint8_t, kMagicSize>;

  // Results of readDataFile.
  enum ReadResult {
    Read = 0,          // the image is in the target
    CannotOpen = 1,    // the file cannot be opened
    WrongMagic = 2,    // the first 10 bytes are not the magic; they are handed back
    UnlistedModel = 5, // version "V04..." with a model code the catalogue does not list
    TooShort = 6,      // the file ends before the 1074 bytes of the format
  };
  // Results of writeDataFile.
  enum WriteResult {
    Written = 0,
    CannotCreate = 1,    // the file cannot be created; the error tells why
    WriteFailed = 3,     // writing failed; the error tells why; nothing is left behind
    NotARegularFile = 4, // the path names a pipe, a device or a socket, which is left alone
  };

  static const Magic& magic();

  // Reads a data file. On Read the image part goes into target; on any other result target is
  // untouched. WrongMagic hands the file's first 10 bytes back in magicOut; a file shorter than
  // those 10 bytes is TooShort. Reads at most 1074 bytes, whatever the file holds.
  static ReadResult readDataFile(const std::string& path, RadioImage& target, Magic& magicOut);
  // The same; for CannotOpen the system's error says why.
  static ReadResult readDataFile(const std::string& path, RadioImage& target, Magic& magicOut,
                                 std::error_code& error);

  // The same checks on the bytes of a data file already read (from standard input, say); bytes
  // after the first 1074 do not count, and there is no CannotOpen.
  static ReadResult parseDataFile(std::string_view bytes, RadioImage& target, Magic& magicOut);

  // The 1074 bytes of a data file for an image, with a note in the filler (cut to kNoteSize
  // characters; 0xFF bytes of the note end it early).
  static std::array<std::uint8_t, kFileSize> fileBytes(const RadioImage& image, std::string_view note = {});
  // The note of a data file's bytes: the filler up to its first 0xFF; empty for a file without.
  static std::string noteOf(std::string_view bytes);

  // Writes the image as a data file. The bytes go to a new file beside the target, which is
  // renamed over the target only after everything was written and flushed to the disk: a file
  // already at the path is replaced whole or not at all, and a failed write leaves nothing behind.
  // FileContents::write's rules hold: links are followed, only a regular file is replaced (a
  // pipe or device is NotARegularFile), permissions and a root save's owner are kept.
  static WriteResult writeDataFile(const std::string& path, const RadioImage& image, std::error_code& error);

  // The magic bytes as text, as the open flow shows them: up to the first 0xFF or zero byte.
  static std::string magicText(const Magic& magic);
};

} // namespace vpr
