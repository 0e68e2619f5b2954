#include "model/MemoryMap.h"
#include "model/RadioData.h"

#include <gtest/gtest.h>

namespace vpr {
namespace {

class MemoryMapTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (std::size_t i = 0; i < kImageSize; ++i)
      data.editImage[i] = static_cast<std::uint8_t>(i * 7);
    MemoryMap::Configuration setup;
    setup.source = data.editImage;
    map.configure(setup);
    ASSERT_TRUE(map.open());
  }

  RadioData data;
  MemoryMap map;
};

TEST_F(MemoryMapTest, RowsRunFromTheHighestAddressAtTheTopToZeroAtTheBottom) {
  EXPECT_EQ(map.rowCount(), 64);
  EXPECT_EQ(map.columnCount(), 34);
  EXPECT_EQ(map.offsetOf(1, 1), 0x3F0u);
  EXPECT_EQ(map.offsetOf(1, 16), 0x3FFu);
  EXPECT_EQ(map.offsetOf(64, 1), 0x000u);
  EXPECT_EQ(map.offsetOf(63, 3), 0x012u);
  EXPECT_EQ(map.offsetOf(64, 18), 0x000u) << "the character block shows the same bytes";
  EXPECT_EQ(map.offsetOf(64, 33), 0x00Fu);
  EXPECT_EQ(map.offsetOf(64, 17), std::nullopt) << "the separator holds no byte";
  EXPECT_EQ(map.offsetOf(0, 1), std::nullopt);
  EXPECT_EQ(map.offsetOf(65, 1), std::nullopt);
  EXPECT_EQ(map.rowHeaderText(1), "   003F_");
  EXPECT_EQ(map.rowHeaderText(64), "   0000_");
  EXPECT_EQ(MemoryMap::columnHeaderText(1), "__0");
  EXPECT_EQ(MemoryMap::columnHeaderText(16), "__F");
  EXPECT_EQ(MemoryMap::columnHeaderText(28), "__A");
  EXPECT_EQ(map.addressText(1, 6), "03F5");
  EXPECT_EQ(map.addressText(64, 17), "");

  map.setShowCharacters(false);
  EXPECT_EQ(map.columnCount(), 17);
  EXPECT_EQ(map.offsetOf(64, 18), std::nullopt) << "hidden characters are no cells";
}

TEST_F(MemoryMapTest, ATypedAddressNamesItsCellAndItsPage) {
  const std::optional<std::size_t> offset = map.offsetOfAddress("3F5");
  ASSERT_EQ(offset, 0x3F5u);
  const MemoryMap::Cell cell = map.byteCellOf(*offset);
  EXPECT_EQ(cell.row, 1);
  EXPECT_EQ(cell.col, 6);
  EXPECT_EQ(map.pageTopRow(0x3F5), 1);
  EXPECT_EQ(map.pageTopRow(0x000), 49);
  EXPECT_EQ(map.pageTopRow(0x1FF), 33);
  EXPECT_EQ(map.offsetOfAddress(""), std::nullopt);
  EXPECT_EQ(map.offsetOfAddress("12345"), std::nullopt);
  EXPECT_EQ(map.offsetOfAddress("3G"), std::nullopt);
}

TEST_F(MemoryMapTest, EntriesGiveTheirBytes) {
  EXPECT_EQ(MemoryMap::byteOfHexEntry("7"), 0x07);
  EXPECT_EQ(MemoryMap::byteOfHexEntry(""), 0xFF);
  EXPECT_EQ(MemoryMap::byteOfHexEntry("A5"), 0xA5);
  EXPECT_EQ(MemoryMap::byteOfHexEntry("X"), std::nullopt);
  EXPECT_EQ(MemoryMap::byteOfCharEntry(U'A'), 0x41);
  EXPECT_EQ(MemoryMap::byteOfCharEntry(std::nullopt), 0x00);
  EXPECT_EQ(MemoryMap::byteOfCharEntry(U'\u00E9'), 0xE9) << "Latin-1 code of the character";
  EXPECT_EQ(MemoryMap::byteOfCharEntry(U'\u20AC'), std::nullopt) << "no Latin-1 byte";
}

TEST_F(MemoryMapTest, BytesWithoutAVisibleCharacterShowACentredDot) {
  const std::string dot = "\u00B7";
  for (std::uint8_t value : {0x00, 0x0A, 0x1F, 0x7F, 0x80, 0x9F, 0xA0, 0xAD, 0xFF})
    EXPECT_EQ(MemoryMap::charText(value), dot) << int(value);
  EXPECT_EQ(MemoryMap::charText(0x41), "A");
  EXPECT_EQ(MemoryMap::charText(0x20), " ");
  EXPECT_EQ(MemoryMap::charText(0xE9), "\u00E9");
  EXPECT_EQ(MemoryMap::byteText(0x00), "00");
  EXPECT_EQ(MemoryMap::byteText(0xFF), "FF");
}

TEST_F(MemoryMapTest, ConfiguringTwiceChangesNothing) {
  RadioImage other = clearedImage();
  MemoryMap::Configuration setup;
  setup.source = other;
  setup.showCharacters = false;
  map.configure(setup);
  ASSERT_TRUE(map.open());
  EXPECT_TRUE(map.showCharacters());
  EXPECT_EQ(map.byteAt(5), data.editImage[5]);
}

TEST(MemoryMapUnconfigured, OpensNothing) {
  MemoryMap map;
  EXPECT_FALSE(map.open());
}

} // namespace
} // namespace vpr
