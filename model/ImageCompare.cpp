#include "model/ImageCompare.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/AdjustItem.h"
#include "model/DisplayText.h"
#include "model/ImageView.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>

namespace vpr {

namespace {

constexpr int kTextModel = 10009001;
constexpr int kTextTestFrequency = 10027010;
constexpr int kTextAdjustment = 10010004;
constexpr std::array<int, 2> kTestFrequencyHeaderIds = {10028002, 10028003};
// Longest run of other bytes listed as one difference.
constexpr std::size_t kMaxByteRun = 16;

// Bytes of the image a field is made of: count bytes from offset, the bits of mask in each.
struct Span {
  std::size_t offset;
  std::size_t count;
  std::uint8_t mask = 0xFF;
};

std::string hexBytes(const RadioImage& image, std::size_t from, std::size_t to) {
  std::string text;
  char byte[4];
  for (std::size_t i = from; i < to; ++i) {
    std::snprintf(byte, sizeof byte, i == from ? "%02X" : " %02X", image[i]);
    text += byte;
  }
  return text;
}

std::string hexAddress(std::size_t address) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%03zX", address);
  return text;
}

// A shown value: a field that shows nothing reads as the not-applicable dashes.
std::string shown(const FieldText& field) {
  const std::string text = field.printed();
  return text.empty() ? DisplayText::kNotApplicable : text;
}

class Comparison {
public:
  Comparison(const RadioImage& first, const RadioImage& second) : first_(first), second_(second) {}

  std::vector<ImageDifference> run() {
    compareModel();
    compareChannels();
    compareFeatures();
    compareTestFrequencies();
    compareAdjustValues();
    listOtherBytes();
    return differences_;
  }

private:
  // Lists the field when its texts differ; its bytes then count as explained.
  void field(const std::string& label, const std::string& before, const std::string& after,
             std::initializer_list<Span> spans) {
    if (before == after) return;
    differences_.push_back({label, before, after});
    for (const Span& span : spans)
      for (std::size_t i = span.offset; i < span.offset + span.count; ++i)
        covered_[i] |= span.mask;
  }

  void compareModel() {
    const auto text = [](const ImageView& view) {
      return view.isListedModel()
                 ? view.titleText()
                 : hexBytes(view.image(), layout::kModelCode, layout::kModelCode + kModelCodeSize);
    };
    field(textOf(kTextModel), text(first_), text(second_), {{layout::kModelCode, kModelCodeSize}});
  }

  void compareChannels() {
    const int count = std::max(first_.channelCount(), second_.channelCount());
    const std::string prefix = textOf(DisplayText::channelHeaderId(ChannelField::Number));
    for (int n = 1; n <= count; ++n) {
      const std::size_t at = layout::channelOffset(n);
      const ChannelRecord a = first_.channelSlot(n);
      const ChannelRecord b = second_.channelSlot(n);
      const auto cell = [&](ChannelField which, Span span) {
        field(prefix + " " + std::to_string(n) + " " + textOf(DisplayText::channelHeaderId(which)),
              shown(DisplayText::channelCell(n, a, which)), shown(DisplayText::channelCell(n, b, which)),
              {span});
      };
      cell(ChannelField::RxFrequency, {at + layout::kRxFreq, 4});
      cell(ChannelField::TxFrequency, {at + layout::kTxFreq, 4});
      cell(ChannelField::RxTone, {at + layout::kRxTone, 2});
      cell(ChannelField::TxTone, {at + layout::kTxTone, 2});
      cell(ChannelField::OptionA, {at + layout::kChFlags, 1, layout::kOptionABit});
      cell(ChannelField::OptionB, {at + layout::kChFlags, 1, layout::kOptionBBit});
    }
  }

  void compareFeatures() {
    const auto item = [&](FeatureItem which, std::initializer_list<Span> spans) {
      field(textOf(DisplayText::featureLabelId(which)), shown(DisplayText::featureText(first_, which)),
            shown(DisplayText::featureText(second_, which)), spans);
    };
    item(FeatureItem::TimeOutTimer, {{layout::kTimeOutTimer, 1}});
    item(FeatureItem::SquelchLevel, {{layout::kSquelchLevel, 1}});
    item(FeatureItem::BeepTone, {{layout::kFeatureFlags, 1, layout::kBeepToneBit}});
    item(FeatureItem::BatterySaver, {{layout::kFeatureFlags, 1, layout::kBatterySaverBit}});
    // The wide/narrow setting is kept in the narrow bit of every record.
    const std::size_t before = differences_.size();
    item(FeatureItem::WideNarrow, {});
    if (differences_.size() != before) {
      for (int n = 1; n <= layout::kChannelSlots; ++n)
        covered_[layout::channelOffset(n) + layout::kChFlags] |= layout::kNarrowBit;
      for (int k = 1; k <= layout::kTestFreqCount; ++k)
        covered_[layout::testFreqOffset(k) + layout::kChFlags] |= layout::kNarrowBit;
    }
    field(textOf(DisplayText::kMoniKeyLabelId), shown(DisplayText::moniKeyText(first_.moniKey())),
          shown(DisplayText::moniKeyText(second_.moniKey())), {{layout::kMoniKey, 1}});
  }

  void compareTestFrequencies() {
    const std::string prefix = textOf(kTextTestFrequency);
    for (int k = 1; k <= layout::kTestFreqCount; ++k) {
      const std::size_t at = layout::testFreqOffset(k);
      const TestFreqRecord a = first_.testFrequency(k);
      const TestFreqRecord b = second_.testFrequency(k);
      const auto cell = [&](FrequencyField which, std::size_t offset) {
        const int header = kTestFrequencyHeaderIds[which == FrequencyField::Receive ? 0 : 1];
        field(prefix + " " + std::to_string(k) + " " + textOf(header),
              shown(DisplayText::testFrequencyCell(a, which)),
              shown(DisplayText::testFrequencyCell(b, which)), {{at + offset, 4}});
      };
      cell(FrequencyField::Receive, layout::kRxFreq);
      cell(FrequencyField::Transmit, layout::kTxFreq);
    }
  }

  void compareAdjustValues() {
    const std::string prefix = textOf(kTextAdjustment);
    for (const AdjustItem& item : kAdjustItems) {
      const auto value = [&](const ImageView& view) {
        const std::uint8_t stored = view.image()[item.imageOffset];
        return std::to_string(item.inverted ? static_cast<std::uint8_t>(~stored) : stored);
      };
      field(prefix + " " + textOf(item.nameText), value(first_), value(second_), {{item.imageOffset, 1}});
    }
  }

  // Differing bits that no listed field explains, as runs of whole bytes.
  void listOtherBytes() {
    const RadioImage& a = first_.image();
    const RadioImage& b = second_.image();
    const auto unexplained = [&](std::size_t i) { return ((a[i] ^ b[i]) & ~covered_[i]) != 0; };
    const std::string label = textOf(ImageCompare::kTextBytes);
    std::size_t i = 0;
    while (i < kImageSize) {
      if (!unexplained(i)) {
        ++i;
        continue;
      }
      std::size_t end = i + 1;
      while (end < kImageSize && end - i < kMaxByteRun && unexplained(end))
        ++end;
      const std::string where = end - i == 1 ? hexAddress(i) : hexAddress(i) + ".." + hexAddress(end - 1);
      differences_.push_back({label + " " + where, hexBytes(a, i, end), hexBytes(b, i, end)});
      i = end;
    }
  }

  // The wide/narrow setting of each image as it would be opened.
  const ImageView first_;
  const ImageView second_;
  std::array<std::uint8_t, kImageSize> covered_{};
  std::vector<ImageDifference> differences_;
};

} // namespace

std::string ImageDifference::text() const {
  return formatText(textOf(ImageCompare::kTextDifferenceFormat), {field, before, after});
}

std::vector<ImageDifference> ImageCompare::compare(const RadioImage& first, const RadioImage& second) {
  if (first == second) return {};
  return Comparison(first, second).run();
}

std::string ImageCompare::listText(const std::vector<ImageDifference>& differences) {
  if (differences.empty()) return textOf(kTextNoDifferences) + "\n";
  std::string text;
  for (const ImageDifference& difference : differences)
    text += difference.text() + "\n";
  return text;
}

} // namespace vpr
