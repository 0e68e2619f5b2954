#pragma once
// Fixtures shared by the data-model tests.

#include "model/NumberText.h"
#include "support/TestLanguage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vpr::test {

// Runs a test with the decimal separator given as the test parameter and the language file
// loaded in identifier mode; both are reset afterwards.
class SeparatorTest : public ::testing::TestWithParam<char> {
protected:
  void SetUp() override {
    NumberText::setDecimalSeparator(GetParam());
    loadLanguage(true);
  }
  void TearDown() override {
    NumberText::setDecimalSeparator('.');
    unloadLanguage();
  }
  // A text written with "." in the current locale.
  static std::string local(std::string text) {
    NumberText::localizeDecimal(text);
    return text;
  }
};

// A test with the "." separator and the language file loaded in identifier mode.
class LanguageTest : public ::testing::Test {
protected:
  void SetUp() override {
    NumberText::setDecimalSeparator('.');
    loadLanguage(true);
  }
  void TearDown() override { unloadLanguage(); }
};

inline std::string separatorName(const ::testing::TestParamInfo<char>& info) {
  return info.param == '.' ? "Point" : "Comma";
}

// Image bytes as a vector, for readable comparisons.
template <typename Image>
std::vector<std::uint8_t> bytesAt(const Image& image, std::size_t offset, std::size_t count) {
  return std::vector<std::uint8_t>(image.begin() + static_cast<std::ptrdiff_t>(offset),
                                   image.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

} // namespace vpr::test
