#include "model/ValueCodec.h"

#include "lang/CLanguageTable.h"
#include "model/NumberText.h"
#include "support/CodeChecks.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace vpr {
namespace {

using test::SeparatorTest;

constexpr BandLimits kVhf1{150.0, 174.0, kBandVhf};
constexpr BandLimits kUhf1{450.0, 470.0, kBandUhf};

using test::hertzOf;
using test::isBcd;
using test::isValidTone;

class FrequencyCodecTest : public SeparatorTest {};

TEST_P(FrequencyCodecTest, AFrequencyTakesTheStepOfItsRasterOrIsRoundedDownOntoTheRasterOfItsRange) {
  struct Case {
    const char* text;
    std::uint8_t step;
    const char* shown;
  };
  // Where both rasters fit, 5 kHz below 300 MHz; where neither fits, the raster of the range.
  const Case cases[] = {{"145.125", kStep5kHz, "145.12500"},    {"145.00625", kStep6250Hz, "145.00625"},
                        {"462.5625", kStep6250Hz, "462.56250"}, {"145.0031", kStep5kHz, "145.00000"},
                        {"450.0031", kStep6250Hz, "450.00000"}, {"450.005", kStep5kHz, "450.00500"}};
  for (const Case& c : cases) {
    const auto encoded = encodeFrequency(local(c.text));
    ASSERT_TRUE(encoded) << c.text;
    EXPECT_EQ(encoded->stepCode, c.step) << c.text;
    EXPECT_EQ(formatFrequency(encoded->code), local(c.shown)) << c.text;
  }
  EXPECT_EQ(encodeFrequency(local("145.125"))->code, (FrequencyCode{0x00, 0x25, 0x51, 0x14}));

  // The boundary is taken on the rounded value: a text that rounds to 300 MHz gets the step
  // of the text it formats to.
  const auto rounded = encodeFrequency(local("299.9999999999"));
  ASSERT_TRUE(rounded);
  EXPECT_EQ(rounded->stepCode, kStep6250Hz);
  EXPECT_EQ(encodeFrequency(formatFrequency(rounded->code)), rounded);
}

TEST_P(FrequencyCodecTest, FormattingShowsEightDigitsWithoutLeadingZeros) {
  EXPECT_EQ(formatFrequency(kNoFrequency), "");
  EXPECT_EQ(formatFrequency({0x00, 0x00, 0x50, 0x09}), local("95.00000"));
  EXPECT_EQ(formatFrequency({0x50, 0x97, 0x99, 0x51}), local("519.99750"));
}

TEST_P(FrequencyCodecTest, EmptyZeroAndNonNumbersEncodeToNoValue) {
  for (const char* text : {"", "0", "abc", "inf", "nan", "-nan", "infinity", "-145", "1e999", "1000",
                           "1e-999", ".", "244.6E-23", "0.003", "999.9999999999999"})
    EXPECT_FALSE(encodeFrequency(text)) << text;
  EXPECT_FALSE(encodeFrequency(std::string(5000, '9')));
}

TEST_P(FrequencyCodecTest, TheBandCheckRewritesTheTextWithSixDecimalsAndHugeNumbersAsABandEdge) {
  struct Case {
    std::string text;
    BandLimits limits;
    bool inBand;
    std::string rewritten;
  };
  const Case cases[] = {{"200", kVhf1, false, "200.000000"},
                        {"12", kUhf1, false, "450.000000"},
                        {"1000", kVhf1, false, "174.000000"},
                        {"1e999", kVhf1, false, "174.000000"},
                        {std::string(400, '9'), kVhf1, false, "174.000000"},
                        {"160.1234567", kVhf1, true, "160.123457"},
                        {"", kVhf1, true, ""}};
  for (const Case& c : cases) {
    std::string entry = local(c.text);
    EXPECT_EQ(checkFrequencyText(entry, c.limits), c.inBand) << c.text;
    EXPECT_EQ(entry, local(c.rewritten)) << c.text;
  }
}

TEST_P(FrequencyCodecTest, TheBandCheckLeavesNonNumbersForTheEncoderToRefuse) {
  for (const char* text :
       {"abc", "nan", "-inf", "145.125.5", "145,125,5", "145.125MHz", "1e", "--5", "+-5"}) {
    std::string entry = text;
    EXPECT_FALSE(checkFrequencyText(entry, kVhf1)) << text;
    EXPECT_EQ(entry, text);
    EXPECT_FALSE(encodeFrequency(entry)) << text;
  }
}

TEST_P(FrequencyCodecTest, APointAndTheLocaleSeparatorBothStartTheDecimals) {
  for (const char* text : {"145.125", " 145.125 ", "+145.125"}) {
    const auto encoded = encodeFrequency(local(text));
    ASSERT_TRUE(encoded) << text;
    EXPECT_EQ(formatFrequency(encoded->code), local("145.12500"));
    const auto pointed = encodeFrequency(text);
    ASSERT_TRUE(pointed) << text;
    EXPECT_EQ(pointed->code, encoded->code);
  }
  // Under "." a comma is no separator at all: the text is refused, not read as 145.
  if (GetParam() == '.') {
    EXPECT_FALSE(encodeFrequency("145,125"));
  }
}

TEST_P(FrequencyCodecTest, AnyTextThroughTheBandCheckEncodesToAValidCode) {
  std::mt19937 random(GetParam());
  const std::string alphabet = "0123456789.,-+eE DInaf\xff";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 14);
    for (int i = 0; i < length; ++i)
      text += alphabet[random() % alphabet.size()];
    const BandLimits& limits = round % 2 ? kVhf1 : kUhf1;
    std::string checked = text;
    checkFrequencyText(checked, limits);
    const auto encoded = encodeFrequency(checked);
    if (checked.empty() || !NumberText::parseNumber(text)) {
      EXPECT_FALSE(encoded) << "'" << text << "'";
      EXPECT_EQ(checked, text);
      continue;
    }
    ASSERT_TRUE(encoded) << "'" << text << "' -> '" << checked << "'";
    EXPECT_TRUE(isBcd(encoded->code)) << text;
    const std::uint64_t hz = hertzOf(encoded->code);
    EXPECT_EQ(hz % (encoded->stepCode == kStep5kHz ? 5000 : 6250), 0u) << text;
    EXPECT_GE(hz, 100000000u) << text;
    EXPECT_LE(hz, 550000000u) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Separators, FrequencyCodecTest, ::testing::Values('.', ','), test::separatorName);

class ToneCodecTest : public SeparatorTest {};

TEST_P(ToneCodecTest, ToneCodesFormatAsCtcssOrDcsText) {
  EXPECT_EQ(formatTone(kToneOff), textOf(kTextToneOff));
  EXPECT_EQ(formatTone(0x0670), local("67.0"));
  EXPECT_EQ(formatTone(0x2503), local("250.3"));
  EXPECT_EQ(formatTone(0x8023), "D023N");
  EXPECT_EQ(formatTone(0xC754), "D754I");
}

TEST_P(ToneCodecTest, TypedTonesAreNormalised) {
  const auto normal = [](std::string text) {
    normalizeToneText(text);
    return text;
  };
  EXPECT_EQ(normal(local("250.4")), local("250.3"));
  EXPECT_EQ(normal("66"), local("67.0"));
  EXPECT_EQ(normal(local("88.59")), local("88.5"));
  EXPECT_EQ(normal("D8A9X"), "D777N");
  EXPECT_EQ(normal("D023I7"), "D023I");
  EXPECT_EQ(normal("D"), "D000N");
  EXPECT_EQ(normal("1e999"), local("250.3"));
  EXPECT_EQ(normal("88.5"), local("88.5"));
  EXPECT_EQ(normal(""), "");
}

TEST_P(ToneCodecTest, TextsThatAreNeitherACodeNorOneNumberAreRefusedUntouched) {
  for (const char* text : {"d023", "hello", "88.5Hz", "88.5.1", "-", "."}) {
    std::string entry = text;
    EXPECT_FALSE(normalizeToneText(entry)) << text;
    EXPECT_EQ(entry, text);
    EXPECT_FALSE(parseTone(text)) << text;
  }
}

TEST_P(ToneCodecTest, ToneTextsParseToCodes) {
  EXPECT_EQ(parseTone("D023I"), 0xC023);
  EXPECT_EQ(parseTone("D754N"), 0x8754);
  EXPECT_EQ(parseTone(local("67.0")), 0x0670);
  EXPECT_EQ(parseTone(local("123.45")), 0x1234);
  EXPECT_EQ(parseTone(""), kToneOff);
  EXPECT_EQ(parseTone(textOf(kTextToneOff)), kToneOff);
}

TEST_P(ToneCodecTest, EveryToneListEntryRoundTrips) {
  EXPECT_EQ(toneListText(0), textOf(kTextToneOff));
  EXPECT_EQ(toneListText(1), local("67.0"));
  EXPECT_EQ(toneListText(38), local("250.3"));
  EXPECT_EQ(toneListText(39), "D023N");
  EXPECT_EQ(toneListText(121), "D754N");
  EXPECT_EQ(toneListText(122), "D023I");
  EXPECT_EQ(toneListText(204), "D754I");
  EXPECT_EQ(toneListText(205), "");
  EXPECT_EQ(toneListText(-1), "");
  for (int i = 0; i < kToneListSize; ++i) {
    const std::string text = toneListText(i);
    EXPECT_EQ(parseTone(text), toneListCode(i)) << text;
    EXPECT_EQ(formatTone(toneListCode(i)), text);
  }
}

TEST_P(ToneCodecTest, AnyTextParsesToAValidTone) {
  std::mt19937 random(GetParam() + 1);
  const std::string alphabet = "0123456789.,-+eE DINXnaif\x01\xff";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 9);
    for (int i = 0; i < length; ++i)
      text += alphabet[random() % alphabet.size()];
    const std::optional<ToneCode> code = parseTone(text);
    EXPECT_EQ(code.has_value(),
              text.empty() || text.front() == 'D' || NumberText::parseNumber(text).has_value());
    if (code) {
      EXPECT_TRUE(isValidTone(*code)) << "'" << text << "'";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Separators, ToneCodecTest, ::testing::Values('.', ','), test::separatorName);

TEST(ClampToStep, ClampsLowersToTheStepAndRewritesTheText) {
  struct Case {
    std::string text;
    int max;
    int min;
    int step;
    int value;
  };
  const Case cases[] = {
      {"45", 300, 0, 30, 30}, {"999", 300, 0, 30, 300}, {"-5", 300, 0, 30, 0},
      {"abc", 300, 0, 30, 0}, {" 60s", 300, 0, 30, 60}, {"99999999999999999999", 300, 0, 30, 300},
      {"-5", -5, -10, 3, -6}, {"7", 25, 5, 10, 10},     {"7", 9, 5, 10, 7}, // no multiple of the step inside
      {"45", 300, 0, 0, 45},  {"45", 300, 0, -30, 45}, // a step of zero or less does not round
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(clampToStep(text, c.max, c.min, c.step), c.value) << c.text;
    EXPECT_EQ(text, std::to_string(c.value)) << c.text;
  }
  std::string inverted = "77x"; // a range with its ends swapped leaves the text alone
  EXPECT_EQ(clampToStep(inverted, 0, 10, 3), 77);
  EXPECT_EQ(inverted, "77x");
}

TEST(ClampToStep, TheResultStaysInsideTheRangeForAnyRangeAndStep) {
  std::mt19937 random(11);
  for (int round = 0; round < 20000; ++round) {
    const int a = static_cast<int>(random()) / (round % 2 ? 1 : 65536);
    const int b = static_cast<int>(random()) / (round % 2 ? 1 : 65536);
    const int step = static_cast<int>(random() % 5000) - 100;
    std::string text = std::to_string(static_cast<int>(random()));
    const int value = clampToStep(text, std::max(a, b), std::min(a, b), step);
    ASSERT_GE(value, std::min(a, b));
    ASSERT_LE(value, std::max(a, b));
    EXPECT_EQ(text, std::to_string(value));
  }
}

TEST(StepValue, WrapsAroundAtBothEnds) {
  EXPECT_EQ(stepValue(300, 300, 0, 30, +1), 0);
  EXPECT_EQ(stepValue(0, 300, 0, 30, -1), 300);
  EXPECT_EQ(stepValue(30, 300, 0, 30, +1), 60);
  EXPECT_EQ(stepValue(30, 300, 0, 30, -1), 0);
  EXPECT_EQ(stepValue(9, 9, 0, 1, +1), 0);
  EXPECT_EQ(stepValue(330, 300, 0, 30, +1), 0);
  EXPECT_EQ(stepValue(330, 300, 0, 30, -1), 300);
  EXPECT_EQ(stepValue(42, 300, 0, 30, 0), 42);
  EXPECT_EQ(stepValue(2147483600, 2147483647, 0, 1000, +1), 2147483647);
}

TEST(LookupText, FindsTheFirstEntryWithTheValue) {
  constexpr ChoiceEntry entries[] = {{100, 1}, {200, 2}, {300, 1}};
  EXPECT_EQ(lookupText(1, entries), 100);
  EXPECT_EQ(lookupText(2, entries), 200);
  EXPECT_FALSE(lookupText(3, entries));
  EXPECT_EQ(lookupText(2, choices::kMoniKey), 10101502);
  EXPECT_FALSE(lookupText(1, choices::narrowChoices(1)));
  EXPECT_FALSE(lookupText(0, choices::narrowChoices(2)));
}

TEST(ReplaceByte, ReplacesWithinTheLengthCountedModulo256) {
  std::vector<std::uint8_t> buffer(8, 0x20);
  replaceByte(buffer, 258, 0x20, 0x00);
  EXPECT_EQ(buffer, (std::vector<std::uint8_t>{0, 0, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}));
  replaceByte(buffer, 255, 0x20, 0x41);
  EXPECT_EQ(buffer, (std::vector<std::uint8_t>{0, 0, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41}));
}

TEST(NumberText, ReadsATextThatIsOneNumberWithEitherDecimalPoint) {
  NumberText::setDecimalSeparator(',');
  EXPECT_EQ(NumberText::parseNumber(" +12,5e1 "), 125.0);
  EXPECT_EQ(NumberText::parseNumber("-,5"), -0.5);
  EXPECT_EQ(NumberText::parseNumber("145.125"), 145.125);
  EXPECT_EQ(NumberText::parseNumber("5,"), 5.0);
  EXPECT_EQ(NumberText::formatFixed(160.1234567, 6), "160,123457");
  NumberText::setDecimalSeparator('.');
  EXPECT_EQ(NumberText::parseNumber("1e-999"), 0.0);
  EXPECT_EQ(NumberText::parseNumber("-1e999"), -std::numeric_limits<double>::max());
  EXPECT_EQ(NumberText::parseLeadingInteger("-99999999999"), std::numeric_limits<int>::min());
}

TEST(NumberText, RefusesATextThatIsNotReadToItsEnd) {
  NumberText::setDecimalSeparator(',');
  for (const char* text : {"", " ", "12,5MHz", "1,2,3", "1.2,3", ",e5", "e5", "1e", "1e+", "--1", "-+1", "1-",
                           "inf", "nan", "0x10", "1 2", "."})
    EXPECT_FALSE(NumberText::parseNumber(text)) << text;
  NumberText::setDecimalSeparator('.');
  EXPECT_FALSE(NumberText::parseNumber("145,125"));
  EXPECT_TRUE(NumberText::isIntegerText(" 42 "));
  EXPECT_TRUE(NumberText::isIntegerText(""));
  EXPECT_TRUE(NumberText::isIntegerText("-7"));
  EXPECT_FALSE(NumberText::isIntegerText("4 2"));
  EXPECT_FALSE(NumberText::isIntegerText("12.5"));
  EXPECT_FALSE(NumberText::isIntegerText("-"));
  EXPECT_FALSE(NumberText::isIntegerText("60s"));
}

} // namespace
} // namespace vpr
