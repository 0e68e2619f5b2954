// The data file reader on any bytes: a file that loads is exactly its header and image, the
// failure message of one that does not is never empty, and an image of a listed model that
// loads saves and reads back byte for byte.

#include "fuzz/FuzzSupport.h"
#include "model/DataFile.h"
#include "model/DataFileFlows.h"
#include "model/ModelCatalogue.h"

#include <algorithm>
#include <cstring>

using namespace vpr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::require(fuzz::loadShippedLanguage(), "the language file does not load");
  const std::string input = fuzz::scratchPath("input.dat");
  fuzz::writeScratch(input, std::string_view(reinterpret_cast<const char*>(data), size));

  RadioImage image;
  image.fill(0xA5);
  const RadioImage untouched = image;
  DataFile::Magic magic{};
  const DataFile::ReadResult result = DataFile::readDataFile(input, image, magic);
  if (result != DataFile::Read) {
    fuzz::require(image == untouched, "a file that did not load changed the target");
    fuzz::require(!DataFileFlows::readFailureText(result, "x.dat", magic).empty(),
                  "a failure without a message");
    if (result == DataFile::WrongMagic)
      fuzz::require(size >= DataFile::kMagicSize &&
                        std::memcmp(magic.data(), data, DataFile::kMagicSize) == 0,
                    "the magic handed back is not the file's first bytes");
    return 0;
  }
  fuzz::require(size >= DataFile::kFileSize, "a short file loaded");
  fuzz::require(std::equal(DataFile::magic().begin(), DataFile::magic().end(), data), "a wrong magic loaded");
  fuzz::require(std::equal(image.begin(), image.end(), data + DataFile::kHeaderSize),
                "the image is not the file's");

  // Saved and read again, the image comes back unchanged. A save stamps the current version,
  // under which only listed models load: an older file with an unlisted model code loads once.
  if (!ModelCatalogue::isListedModel(modelCodeOf(image))) return 0;
  // The bytes a save writes go to the scratch file directly: the durable write itself (fsync
  // of file and folder) has its own tests and would slow fuzzing a hundredfold.
  const std::string saved = fuzz::scratchPath("saved.dat");
  const auto bytes = DataFile::fileBytes(image);
  fuzz::writeScratch(saved, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  RadioImage again;
  fuzz::require(DataFile::readDataFile(saved, again, magic) == DataFile::Read, "a saved image did not load");
  fuzz::require(again == image, "save-then-read changed the image");
  return 0;
}
