// The configuration as YAML: byte-exact round trips for every image, edits checked like typed
// values, and hostile input refused with a line and a reason.

#include "model/ConfigYaml.h"
#include "model/ChannelEntry.h"
#include "model/ConfigBuilder.h"
#include "model/ConfigRawBytes.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/ModelTestSupport.h"
#include "model/RadioData.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <bitset>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

namespace vpr::test {
namespace {

class ConfigYamlTest : public LanguageTest {};

// A frequency inside the band on the 5 kHz raster.
std::string randomFrequency(std::mt19937& rng, const BandLimits& limits) {
  const int steps = static_cast<int>((limits.upper - limits.lower) * 200);
  const double mhz = limits.lower + std::uniform_int_distribution<int>(0, steps)(rng) / 200.0;
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", mhz);
  return text;
}

// Random bytes wherever no view reads; valid values, entered through the record operations as a
// user would, wherever one does.
RadioImage randomValidImage(std::mt19937& rng) {
  std::uniform_int_distribution<int> byte(0, 255);
  RadioData data;
  for (auto& b : data.editImage)
    b = static_cast<std::uint8_t>(byte(rng));
  writeModelCode(data.editImage,
                 ModelCatalogue::modelCodeForRow(std::uniform_int_distribution<int>(0, 24)(rng)));
  data.applyBandLimits();
  const auto allowed = choices::narrowChoices(data.spacingRestriction());
  ChannelEntry::useNarrowSetting(data, allowed[byte(rng) % allowed.size()].value);
  for (int n = 1; n <= data.channelCount(); ++n) {
    std::fill_n(&data.editImage[layout::channelOffset(n)], layout::kTxFreq, std::uint8_t{0xFF});
    if (byte(rng) % 3 == 0) continue;
    std::string rx = randomFrequency(rng, data.bandLimits());
    data.setChannelFrequency(n, rx, FrequencyField::Receive);
    std::string tx = byte(rng) % 4 == 0 ? std::string() : randomFrequency(rng, data.bandLimits());
    data.setChannelFrequency(n, tx, FrequencyField::Transmit);
    data.setChannelTone(n, ToneField::Receive, toneListText(byte(rng) % kToneListSize), false);
    data.setChannelTone(n, ToneField::Transmit, toneListText(byte(rng) % kToneListSize), false);
    data.setChannelOption(n, 0, byte(rng));
    data.setChannelOption(n, 1, byte(rng));
  }
  for (int k = 1; k <= layout::kTestFreqCount; ++k) {
    std::fill_n(&data.editImage[layout::testFreqOffset(k)], layout::kTxFreq, std::uint8_t{0xFF});
    if (byte(rng) % 2 == 0) continue;
    std::string rx = randomFrequency(rng, data.bandLimits());
    data.setTestFrequency(k, rx, FrequencyField::Receive);
    std::string tx = randomFrequency(rng, data.bandLimits());
    data.setTestFrequency(k, tx, FrequencyField::Transmit);
  }
  data.editImage[layout::kTimeOutTimer] = static_cast<std::uint8_t>(byte(rng) % 11);
  data.editImage[layout::kSquelchLevel] = static_cast<std::uint8_t>(byte(rng) % 10);
  data.editImage[layout::kMoniKey] = static_cast<std::uint8_t>(byte(rng) % 4);
  return data.editImage;
}

void expectRoundTrip(const RadioImage& image) {
  const std::string text = ConfigYaml::exportImage(image);
  const ConfigYaml::Result result = ConfigYaml::importText(text);
  ASSERT_TRUE(result.image) << problemsText(result.problems) << text;
  EXPECT_EQ(*result.image, image) << text;
}

TEST_F(ConfigYamlTest, ADocumentBuildsOnTheModelsNewImage) {
  RadioData expected;
  expected.transferImage = test::rowImage(16);
  expected.adoptTransferImage();
  std::string rx = "451.000", receiveOnly;
  expected.setChannelFrequency(3, rx, FrequencyField::Receive);
  expected.setChannelFrequency(3, receiveOnly, FrequencyField::Transmit);
  // Written by hand: no raw section, features or test frequencies (they stay as New makes them),
  // one channel and one adjustment.
  expected.editImage[layout::kAdjustItemOffsets[4]] = 17;
  for (const char* format : {"VPR-40T configuration 2", "VPR-40T configuration 1"}) {
    SCOPED_TRACE(format);
    const auto result = ConfigYaml::importText(std::string("format: \"") + format +
                                               "\"\nmodel: HX-5470/5470M\nband: \"UHF 6:440-460 MHz\"\n"
                                               "channels:\n  - {number: 3, rx: \"451.000\"}\n"
                                               "adjustments: {4: 17}\n");
    ASSERT_TRUE(result.image) << problemsText(result.problems);
    EXPECT_EQ(*result.image, expected.editImage);
  }
}

// Documents written before each byte was given in one place, and before the import built on the
// model's new image, with the images they were written from.
TEST_F(ConfigYamlTest, DocumentsOfTheFirstFormatImportToTheImagesTheyWereWrittenFrom) {
  const std::string folder = std::string(VPR_SOURCE_DIR) + "/tests/model/fixtures/";
  for (const char* name : {"config1-edited", "config1-out-of-band", "config1-no-channel-map", "config1-noise",
                           "config1-noise-unlisted"}) {
    SCOPED_TRACE(name);
    const RadioImage image = test::fileImage(folder + name + ".dat");
    std::ifstream in(folder + name + ".yaml", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_NE(text.find("configuration 1"), std::string::npos);
    const auto result = ConfigYaml::importText(text);
    ASSERT_TRUE(result.image) << problemsText(result.problems);
    EXPECT_EQ(*result.image, image);
  }
}

// Channel 4 of a 440-460 MHz radio set to 470 MHz in the memory map: no view can show it.
class OutOfBandChannelTest : public ConfigYamlTest {
protected:
  void SetUp() override {
    ConfigYamlTest::SetUp();
    data.transferImage = test::rowImage(16);
    data.adoptTransferImage();
    std::string rx = "450.000";
    data.setChannelFrequency(4, rx, FrequencyField::Receive);
    data.editImage[layout::channelOffset(4) + layout::kRxFreq + 3] = 0x47;
    text = ConfigYaml::exportImage(data.editImage);
  }
  RadioData data;
  std::string text;
};

TEST_F(OutOfBandChannelTest, TravelsOnceAsRawBytes) {
  EXPECT_NE(text.find("channels: []"), std::string::npos) << text;
  EXPECT_NE(text.find("\"0x040\": \"00 00 00 47"), std::string::npos) << text;
  expectRoundTrip(data.editImage);
}

TEST_F(OutOfBandChannelTest, AnEntryForTheSameBytesMustSayWhatTheyHold) {
  const std::size_t channels = text.find("channels: []\n");
  ASSERT_NE(channels, std::string::npos) << text;
  const int line =
      static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(channels), '\n')) + 2;
  const std::string same =
      "  - {number: 4, rx: \"470.00000\", tx: \"450.00000\", rx_tone: \"off\", tx_tone: \"off\", "
      "option_a: \"off\", option_b: \"off\"}\n";
  const struct {
    std::string entry;
    bool taken;
  } cases[] = {
      // What documents written so far held beside the raw bytes: the same image.
      {same, true},
      {"  - {number: 4, rx: \"450.00000\", tx: \"450.00000\"}\n", false},
      {"  - {number: 4, rx: \"470.00000\", tx: \"450.00000\", rx_tone: \"88.5\"}\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    std::string edited = text;
    edited.replace(channels, std::string("channels: []\n").size(), std::string("channels:\n") + c.entry);
    const auto result = ConfigYaml::importText(edited);
    if (c.taken) {
      ASSERT_TRUE(result.image) << problemsText(result.problems);
      EXPECT_EQ(*result.image, data.editImage);
      continue;
    }
    EXPECT_FALSE(result.image);
    ASSERT_EQ(result.problems.size(), 1u) << problemsText(result.problems);
    EXPECT_EQ(result.problems[0].line, line);
    EXPECT_EQ(result.problems[0].reason, idText(10066057));
  }
}

// The sections an import cannot give back from their entries, found by building every entry on
// the image the import builds on and comparing.
std::bitset<kImageSize> sectionsNotRebuilt(const RadioImage& image, const ConfigDocument& doc) {
  const ModelCode code = modelCodeOf(image);
  // A model code the names do not give exactly comes raw; the entries are built for it.
  ConfigDocument entries = doc;
  const int row = ModelCatalogue::findModelRow(code);
  const bool modelRaw = row < 0 || ModelCatalogue::modelCodeForRow(row) != code;
  if (modelRaw) entries.raw = {{layout::kModelCode, bytesAt(image, layout::kModelCode, kModelCodeSize), 0}};
  std::vector<ImportProblem> problems;
  const RadioImage rebuilt = ConfigBuilder(entries, problems).build();
  std::bitset<kImageSize> notRebuilt;
  for (const ConfigSection& section : ConfigDocument::sectionsFor(ModelCatalogue::channelCount(code))) {
    if ((modelRaw && section.offset == layout::kModelCode) ||
        bytesAt(image, section.offset, section.size) != bytesAt(rebuilt, section.offset, section.size))
      for (std::size_t i = 0; i < section.size; ++i)
        notRebuilt[section.offset + i] = true;
  }
  return notRebuilt;
}

// Every image comes back byte for byte, and its raw section holds exactly the sections whose
// entries cannot give them back: nothing for a default image.
TEST_F(ConfigYamlTest, EveryImageComesBackByteForByteWithRawBytesOnlyWhereNoEntryCanSayThem) {
  // Valid images, some with a few bytes of the records and option bytes spoilt as a memory-map
  // edit or a radio's own bytes leave them, and pure noise, as a radio with unusual bytes might
  // deliver it, half of it with a listed model.
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<RadioImage> images;
  for (int row = 0; row < ModelCatalogue::kRowCount; ++row)
    images.push_back(test::rowImage(row));
  for (int i = 0; i < 1000; ++i) {
    RadioImage image = randomValidImage(rng);
    for (int spoilt = i % 2 ? byte(rng) % 4 : 0; spoilt > 0; --spoilt) {
      const std::size_t at = byte(rng) % 5 == 0 ? layout::kFeatureFlags + byte(rng) % 4
                                                : layout::kChannelTable + byte(rng) * 2 + byte(rng) % 2;
      image[at] = byte(rng) % 2 ? static_cast<std::uint8_t>(byte(rng)) : image[at] ^ (1u << byte(rng) % 8);
    }
    if (i % 10 == 0) {
      for (auto& b : image)
        b = static_cast<std::uint8_t>(byte(rng));
      if (i % 20) writeModelCode(image, ModelCatalogue::modelCodeForRow(i % ModelCatalogue::kRowCount));
    }
    images.push_back(image);
  }
  int raw = 0;
  for (std::size_t i = 0; i < images.size(); ++i) {
    SCOPED_TRACE(i);
    const RadioImage& image = images[i];
    expectRoundTrip(image);
    const ConfigDocument doc = ConfigDocument::fromImage(image);
    const std::bitset<kImageSize> sections = sectionsNotRebuilt(image, doc);
    const std::bitset<kImageSize> chosen = ConfigRawBytes::choose(image, doc);
    for (const ConfigSection& section :
         ConfigDocument::sectionsFor(ModelCatalogue::channelCount(modelCodeOf(image))))
      ASSERT_EQ(chosen[section.offset], sections[section.offset]) << std::hex << section.offset << "\n"
                                                                  << ConfigYaml::exportImage(image);
    if (i < ModelCatalogue::kRowCount) {
      EXPECT_NE(ConfigYaml::exportImage(image).find("\nraw: {}\n"), std::string::npos);
    }
    raw += static_cast<int>(sections.count());
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(raw, 0);
}

TEST_F(ConfigYamlTest, TheDocumentIsTheSameWhateverTheLocaleSeparator) {
  const RadioImage image = test::rowImage(13);
  const std::string withPoint = ConfigYaml::exportImage(image);
  NumberText::setDecimalSeparator(',');
  EXPECT_EQ(ConfigYaml::exportImage(image), withPoint);
  ASSERT_TRUE(ConfigYaml::importText(withPoint).image);
  EXPECT_EQ(*ConfigYaml::importText(withPoint).image, image);
  EXPECT_EQ(NumberText::decimalSeparator(), ',');
}

// A 16-channel UHF image with two channels, exported; tests edit the text.
class EditedDocumentTest : public ConfigYamlTest {
protected:
  void SetUp() override {
    ConfigYamlTest::SetUp();
    data.transferImage = test::rowImage(13); // UHF 1:450-470
    data.adoptTransferImage();
    std::string rx = "462.5625";
    data.setChannelFrequency(1, rx, FrequencyField::Receive);
    rx = "451.000";
    data.setChannelFrequency(2, rx, FrequencyField::Receive);
    data.setChannelTone(2, ToneField::Receive, "88.5", false);
    text = ConfigYaml::exportImage(data.editImage);
  }
  // Replaces the first occurrence of `from` and states on which line it was.
  int replace(const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n')) +
           1;
  }
  ConfigYaml::Result import() const { return ConfigYaml::importText(text); }
  RadioData data;
  std::string text;
};

TEST_F(EditedDocumentTest, AnEditedToneChangesThatToneAndNothingElse) {
  replace("rx_tone: \"88.5\"", "rx_tone: \"D754I\"");
  const auto result = import();
  ASSERT_TRUE(result.image) << problemsText(result.problems);
  RadioImage expected = data.editImage;
  expected[layout::channelOffset(2) + layout::kRxTone] = 0x54;
  expected[layout::channelOffset(2) + layout::kRxTone + 1] = 0xC7;
  EXPECT_EQ(*result.image, expected);
}

TEST_F(EditedDocumentTest, AnAddedChannelIsCreatedAsTheGridCreatesIt) {
  replace("test_frequencies:", "  - {number: 9, rx: \"460.0125\", tx: \"465.0125\", rx_tone: \"D023N\"}\n"
                               "test_frequencies:");
  const auto result = import();
  ASSERT_TRUE(result.image) << problemsText(result.problems);
  std::string rx = "460.0125", tx = "465.0125";
  data.setChannelFrequency(9, rx, FrequencyField::Receive);
  data.setChannelFrequency(9, tx, FrequencyField::Transmit);
  data.setChannelTone(9, ToneField::Receive, "D023N", false);
  EXPECT_EQ(*result.image, data.editImage);
}

TEST_F(EditedDocumentTest, ValuesTheViewsWouldRefuseAreNamedWithTheirLineAndNothingIsBuilt) {
  struct Case {
    const char* from;
    const char* to;
    int reason;
  };
  const Case cases[] = {
      {"rx: \"462.56250\"", "rx: \"500.000\"", 10066016},           // out of band
      {"rx_tone: \"88.5\"", "rx_tone: \"88.6x\"", 10066017},        // unknown tone
      {"rx_tone: \"88.5\"", "rx_tone: \"D089N\"", 10066017},        // not octal
      {"{number: 2", "{number: 17", 10066018},                      // more channels than the model has
      {"option_b: \"off\"", "option_b: \"maybe\"", 10066023},       // not a switch
      {"squelch_level: 9", "squelch_level: 12", 10066027},          // beyond the range
      {"time_out_timer: 180", "time_out_timer: 45", 10066026},      // not on the 30 s step
      {"wide_narrow: wide", "wide_narrow: medium", 10066025},       // no such setting
      {"model: \"HX-5470/5470M\"", "model: \"HX-9999\"", 10066012}, // unknown model
      {"band: \"UHF 1:450-470 MHz\"", "band: \"VHF 1:150-174 MHz\"", 10066013},
      {"moni_key: squelch_off", "moni_key: lamp", 10066028},
      {"  0: 255", "  0: 256", 10066029},
      {"raw:", "flavour: mild\nraw:", 10066006}, // unknown key
  };
  const std::string original = text;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    text = original;
    const int line = replace(c.from, c.to);
    const auto result = import();
    EXPECT_FALSE(result.image);
    ASSERT_EQ(result.problems.size(), 1u) << problemsText(result.problems);
    EXPECT_EQ(result.problems[0].line, line);
    EXPECT_EQ(result.problems[0].reason, idText(c.reason));
  }
}

TEST_F(EditedDocumentTest, EveryProblemIsReportedNotOnlyTheFirst) {
  const int first = replace("rx: \"462.56250\"", "rx: \"1e3\"");
  const int second = replace("rx_tone: \"88.5\"", "rx_tone: \"300.0\"");
  const auto result = import();
  ASSERT_EQ(result.problems.size(), 2u);
  EXPECT_EQ(result.problems[0].line, first);
  EXPECT_EQ(result.problems[1].line, second);
}

TEST_F(ConfigYamlTest, HostileOrBrokenInputGivesAReasonNeverACrash) {
  const std::string valid = ConfigYaml::exportImage(test::rowImage(0));
  std::string deep = "format: \"VPR-40T configuration 1\"\nchannels: " + std::string(100000, '[');
  std::string laughs = "a: &a [x, x, x, x, x, x, x, x, x, x]\nb: &b [*a, *a, *a, *a, *a, *a, *a, *a]\n"
                       "c: &c [*b, *b, *b, *b, *b, *b, *b, *b]\nd: [*c, *c, *c, *c, *c, *c, *c, *c]\n";
  const struct {
    std::string input;
    int reason;
  } cases[] = {
      {"", 10066035},
      {"   \r\n\n", 10066035},
      {std::string("\x7f"
                   "ELF\0\0\x01\x02",
                   8),
       10066003},
      {std::string(ConfigYaml::kMaxDocumentSize + 1, 'a'), 10066002},
      {deep, 10066010},
      {laughs, 10066011},
      {"- just\n- a list\n", 10066004},
      {"format: [unclosed\n", 0},
      {valid + "---\n" + valid, 10066053},
      {"format: \"VPR-40T configuration 1\"\nchannels: {a: 1}\n", 10066008},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input.substr(0, 60));
    const auto result = ConfigYaml::importText(c.input);
    EXPECT_FALSE(result.image);
    ASSERT_FALSE(result.problems.empty());
    if (c.reason) {
      EXPECT_EQ(result.problems[0].reason, idText(c.reason));
    }
  }
}

TEST_F(ConfigYamlTest, ByteOrderMarkAndWindowsLineEndsAreRead) {
  const RadioImage image = test::rowImage(16);
  std::string text = "\xEF\xBB\xBF";
  for (const char c : ConfigYaml::exportImage(image))
    text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const auto result = ConfigYaml::importText(text);
  ASSERT_TRUE(result.image) << problemsText(result.problems);
  EXPECT_EQ(*result.image, image);
}

} // namespace
} // namespace vpr::test
