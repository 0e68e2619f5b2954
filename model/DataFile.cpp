#include "model/DataFile.h"

#include "model/FileContents.h"
#include "model/ModelCatalogue.h"

#include <algorithm>

namespace vpr {

namespace {

constexpr std::size_t kVersionOffset = 10;
constexpr std::size_t kHeaderModelCodeOffset = 15;
constexpr char kVersion[] = "V0420";

} // namespace

const DataFile::Magic& DataFile::magic() {
  static const Magic bytes = {'V', 'P', 'R', '4', '0', 'T', 0xFF, 0xFF, 0xFF, 0xFF};
  return bytes;
}

DataFile::ReadResult DataFile::readDataFile(const std::string& path, RadioImage& target, Magic& magicOut) {
  std::error_code error;
  return readDataFile(path, target, magicOut, error);
}

DataFile::ReadResult DataFile::readDataFile(const std::string& path, RadioImage& target, Magic& magicOut,
                                            std::error_code& error) {
  std::string contents;
  error.clear();
  if (FileContents::read(path, kFileSize, contents, error, FileContents::Prefix) != FileContents::Read)
    return CannotOpen;
  return parseDataFile(contents, target, magicOut);
}

DataFile::ReadResult DataFile::parseDataFile(std::string_view contents, RadioImage& target, Magic& magicOut) {
  std::array<std::uint8_t, kFileSize> bytes{};
  const std::size_t length = std::min(contents.size(), kFileSize);
  std::copy_n(contents.begin(), length, bytes.begin());

  // A file too short for the magic is a short file, whatever its first bytes say.
  if (length < kMagicSize) return TooShort;
  if (!std::equal(magic().begin(), magic().end(), bytes.begin())) {
    magicOut.fill(0xFF);
    std::copy_n(bytes.begin(), std::min(length, kMagicSize), magicOut.begin());
    return WrongMagic;
  }
  if (length < kHeaderSize) return TooShort;

  ModelCode headerCode{};
  std::copy_n(bytes.begin() + kHeaderModelCodeOffset, kModelCodeSize, headerCode.begin());
  const bool checkedVersion = std::equal(kVersion, kVersion + 3, bytes.begin() + kVersionOffset);
  if (checkedVersion && !ModelCatalogue::isListedModel(headerCode)) return UnlistedModel;

  if (length < kFileSize) return TooShort;
  std::copy_n(bytes.begin() + kHeaderSize, kImageSize, target.begin());
  return Read;
}

std::array<std::uint8_t, DataFile::kFileSize> DataFile::fileBytes(const RadioImage& image,
                                                                  std::string_view note) {
  std::array<std::uint8_t, kFileSize> bytes{};
  bytes.fill(0xFF);
  std::copy_n(note.begin(), std::min(note.size(), kNoteSize), bytes.begin() + kNoteOffset);
  std::copy(magic().begin(), magic().end(), bytes.begin());
  std::copy_n(kVersion, 5, bytes.begin() + kVersionOffset);
  std::copy_n(image.begin() + layout::kModelCode, kModelCodeSize, bytes.begin() + kHeaderModelCodeOffset);
  std::copy(image.begin(), image.end(), bytes.begin() + kHeaderSize);
  return bytes;
}

DataFile::WriteResult DataFile::writeDataFile(const std::string& path, const RadioImage& image,
                                              std::error_code& error) {
  const auto bytes = fileBytes(image);
  switch (FileContents::write(path, bytes, error)) {
  case FileContents::Written:
    return Written;
  case FileContents::CannotCreate:
    return CannotCreate;
  case FileContents::NotARegularFile:
    return NotARegularFile;
  case FileContents::WriteFailed:
    break;
  }
  return WriteFailed;
}

std::string DataFile::noteOf(std::string_view bytes) {
  if (bytes.size() <= kNoteOffset) return {};
  const std::string_view filler = bytes.substr(kNoteOffset, kNoteSize);
  return std::string(filler.substr(0, filler.find('\xFF')));
}

std::string DataFile::magicText(const Magic& magic) {
  std::string text;
  for (const std::uint8_t byte : magic) {
    if (byte == 0xFF || byte == 0) break;
    text.push_back(static_cast<char>(byte));
  }
  return text;
}

} // namespace vpr
