#pragma once
// Images the tests give radios and files, and the image a data file holds.

#include "lang/PathText.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vpr::test {

// The default image of a model table row.
inline RadioImage rowImage(int row) {
  return RadioData::defaultImage(ModelCatalogue::modelCodeForRow(row));
}

// The default image of a row with some channel bytes changed, so that it differs from every
// other image a test builds.
inline RadioImage markedImage(int row, std::uint8_t mark) {
  RadioImage image = rowImage(row);
  for (std::size_t i = 0x10; i < 0x30; ++i)
    image[i] = static_cast<std::uint8_t>(mark + i);
  return image;
}

// The memory of a radio that holds the image's model but other channels and options.
inline RadioImage staleMemory(const RadioImage& image) {
  RadioImage memory = image;
  for (std::size_t i = 0x10; i < 0x300; ++i)
    memory[i] = static_cast<std::uint8_t>(i * 3 + 1);
  return memory;
}

// The image a data file holds; a file that does not read is a failure of the test. The path is
// UTF-8 text as the program holds it, or a file-system path (which on Windows only PathText turns
// into that text: the implicit conversion would go through the code page).
inline RadioImage fileImage(const std::string& path) {
  RadioImage image{};
  DataFile::Magic magic{};
  EXPECT_EQ(DataFile::readDataFile(path, image, magic), DataFile::Read) << path;
  return image;
}
inline RadioImage fileImage(const std::filesystem::path& path) {
  return fileImage(PathText::toText(path));
}

} // namespace vpr::test
