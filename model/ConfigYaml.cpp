#include "model/ConfigYaml.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/ChannelEntry.h"
#include "model/DecimalSeparatorScope.h"
#include "model/EntryRules.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"

#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace vpr {

namespace {

// Texts of the problems.
constexpr int kTextTooLarge = 10066002;
constexpr int kTextNotText = 10066003;
constexpr int kTextNotConfiguration = 10066004;
constexpr int kTextSyntax = 10066005;
constexpr int kTextUnknownKey = 10066006;
constexpr int kTextNeedsValue = 10066007;
constexpr int kTextNeedsList = 10066008;
constexpr int kTextNeedsMapping = 10066009;
constexpr int kTextTooDeep = 10066010;
constexpr int kTextNoAliases = 10066011;
constexpr int kTextUnknownModel = 10066012;
constexpr int kTextUnknownBand = 10066013;
constexpr int kTextModelMissing = 10066014;
constexpr int kTextChannelBeyond = 10066018;
constexpr int kTextListedTwice = 10066019;
constexpr int kTextNotNumber = 10066020;
constexpr int kTextNotOnOff = 10066023;
constexpr int kTextOnlyOneSpacing = 10066024;
constexpr int kTextNotSpacing = 10066025;
constexpr int kTextBadTimeOut = 10066026;
constexpr int kTextBadSquelch = 10066027;
constexpr int kTextBadMoniKey = 10066028;
constexpr int kTextBadAdjustment = 10066029;
constexpr int kTextBadOffset = 10066030;
constexpr int kTextBadHex = 10066031;
constexpr int kTextPastEnd = 10066032;
constexpr int kTextOverlap = 10066033;
constexpr int kTextTestFrequencyBeyond = 10066034;
constexpr int kTextEmpty = 10066035;
constexpr int kTextTooManyNodes = 10066052;
constexpr int kTextSeveralDocuments = 10066053;
constexpr int kTextWideWord = 10066054;
constexpr int kTextNarrowWord = 10066055;
constexpr int kTextKeyTwice = 10066056;
constexpr int kTextRawDisagrees = 10066057;

// Version 2 builds on the model's default image; version 1 documents (written before) with a raw
// section build on a cleared image, as they were written for.
constexpr const char* kFormatName = "VPR-40T configuration 2";
constexpr const char* kFormatNameFirst = "VPR-40T configuration 1";
constexpr int kMaxDepth = 8;
constexpr std::size_t kMaxNodes = 20000;
constexpr std::size_t kRawLine = 16;

constexpr const char* kWide = "wide";
constexpr const char* kNarrow = "narrow";
// Moni key functions 0..3, as the document names them.
constexpr std::array<const char*, 4> kMoniKeyWords = {"off", "monitor", "squelch_off_momentary",
                                                      "squelch_off"};

// ---- The document in memory ----

struct TestFreqEntry {
  int number = 0;
  int line = 0;
  EntryField rxFrequency;
  EntryField txFrequency;
  bool sameCells(const TestFreqEntry& other) const {
    return rxFrequency == other.rxFrequency && txFrequency == other.txFrequency;
  }
};

struct Options {
  EntryField timeOutTimer, squelchLevel, beepTone, batterySaver, moniKey;
  bool operator==(const Options&) const = default;
};

struct RawRun {
  std::size_t offset = 0;
  std::vector<std::uint8_t> bytes;
  int line = 0;
};

struct Document {
  EntryField format, model, band, wideNarrow;
  Options options;
  std::vector<ChannelEntry> channels;
  std::vector<TestFreqEntry> testFrequencies;
  std::array<EntryField, layout::kAdjustItemCount> adjustments;
  std::vector<RawRun> raw;
  bool rawGiven = false; // the document has a raw section, maybe an empty one
  // A list that is there names every programmed record; without it the records stay as the
  // image the document builds on holds them.
  bool channelsGiven = false;
  bool testFrequenciesGiven = false;

  // Bytes no entry and no raw run mention are those of the model's default image, except in
  // the version 1 documents written so far, which name every byte that is not 0xFF.
  bool buildsOnDefaultImage() const { return format.text != kFormatNameFirst || !rawGiven; }
};

// A group of image bytes that one part of the document describes.
struct Section {
  std::size_t offset;
  std::size_t size;
};

// The image a document builds on for a model code: the default image of its model row, or a
// cleared image for a code no row lists.
RadioImage baseImageFor(const ModelCode& code) {
  const int row = ModelCatalogue::findModelRow(code);
  return row < 0 ? clearedImage() : RadioData::defaultImage(ModelCatalogue::modelCodeForRow(row));
}

bool inSection(const Section& section, std::size_t offset) {
  return offset >= section.offset && offset < section.offset + section.size;
}

std::vector<Section> sectionsFor(int channelCount) {
  std::vector<Section> sections = {{layout::kModelCode, kModelCodeSize}, {layout::kFeatureFlags, 4}};
  for (int n = 1; n <= channelCount; ++n)
    sections.push_back({layout::channelOffset(n), kRecordSize});
  for (int k = 1; k <= layout::kTestFreqCount; ++k)
    sections.push_back({layout::testFreqOffset(k), kRecordSize});
  for (const std::size_t offset : layout::kAdjustItemOffsets)
    sections.push_back({offset, 1});
  return sections;
}

// ---- Reading the document from an image, as the views show it ----

void readModel(const RadioImage& image, Document& doc) {
  const ModelCode code = modelCodeOf(image);
  if (!ModelCatalogue::isListedModel(code)) return;
  doc.model.set(ModelCatalogue::modelNameText(code), 0);
  doc.band.set(ModelCatalogue::bandNameText(code), 0);
}

Options readOptions(const RadioImage& image) {
  Options options;
  const int units = image[layout::kTimeOutTimer];
  const int seconds = units * kTimeOutStepSeconds;
  options.timeOutTimer.set(seconds <= kTimeOutMaxSeconds ? std::to_string(seconds) : "", 0);
  const int squelch = image[layout::kSquelchLevel];
  options.squelchLevel.set(squelch <= kSquelchMax ? std::to_string(squelch) : "", 0);
  const std::uint8_t flags = image[layout::kFeatureFlags];
  options.beepTone.set(EntryRules::featureText(flags & layout::kBeepToneBit ? 1 : 0), 0);
  options.batterySaver.set(EntryRules::featureText(flags & layout::kBatterySaverBit ? 1 : 0), 0);
  const int moni = image[layout::kMoniKey];
  options.moniKey.set(moni < static_cast<int>(kMoniKeyWords.size()) ? kMoniKeyWords[moni] : "", 0);
  return options;
}

TestFreqEntry readTestFrequency(int k, const ChannelRecord& record) {
  TestFreqEntry entry;
  entry.number = k;
  entry.rxFrequency.set(formatFrequency(record.rxFreq()), 0);
  entry.txFrequency.set(formatFrequency(record.txFreq()), 0);
  return entry;
}

Document readDocument(const RadioImage& image) {
  Document doc;
  doc.format.set(kFormatName, 0);
  doc.channelsGiven = doc.testFrequenciesGiven = true;
  readModel(image, doc);
  RadioData data;
  data.transferImage = image;
  data.adoptTransferImage();
  // A setting the model does not allow (an image from a radio) is written as the allowed one;
  // the channels that carry the other value keep their bytes through the raw section.
  const auto allowed = choices::narrowChoices(data.spacingRestriction());
  int narrow = data.narrowSetting();
  if (std::none_of(allowed.begin(), allowed.end(), [&](const ChoiceEntry& c) { return c.value == narrow; }))
    narrow = allowed.front().value;
  doc.wideNarrow.set(narrow ? kNarrow : kWide, 0);
  doc.options = readOptions(image);
  for (int n = 1; n <= data.channelCount(); ++n) {
    const ChannelRecord record = data.channelSlot(n);
    if (record.isProgrammed()) doc.channels.push_back(ChannelEntry::fromRecord(n, record));
  }
  for (int k = 1; k <= layout::kTestFreqCount; ++k) {
    const ChannelRecord record = data.testFrequency(k);
    if (record.isProgrammed()) doc.testFrequencies.push_back(readTestFrequency(k, record));
  }
  for (int item = 0; item < layout::kAdjustItemCount; ++item)
    doc.adjustments[item].set(std::to_string(image[layout::kAdjustItemOffsets[item]]), 0);
  return doc;
}

// ---- Building an image from the document ----

class Builder {
public:
  Builder(const Document& doc, std::vector<ImportProblem>& problems) : doc_(doc), problems_(problems) {
    data_.editImage = clearedImage();
  }

  // Builds the image. Sections that could not be built are left as their raw bytes and listed in
  // failed() (the export uses this to decide what must travel as raw bytes). A section that raw
  // bytes cover keeps them; an entry for it must say the same as they do.
  RadioImage build() {
    applyRaw();
    if (!buildModel()) return data_.editImage;
    if (doc_.buildsOnDefaultImage()) {
      const RadioImage base = baseImageFor(modelCodeOf(image()));
      for (std::size_t i = 0; i < kImageSize; ++i)
        if (!raw_[i]) image()[i] = base[i];
    }
    data_.applyBandLimits();
    chooseNarrowSetting();
    buildOptions();
    if (doc_.channelsGiven) buildChannels();
    if (doc_.testFrequenciesGiven) buildTestFrequencies();
    buildAdjustments();
    return data_.editImage;
  }
  const std::vector<Section>& failed() const { return failed_; }

private:
  void problem(int line, std::string reason) { problems_.push_back({line, std::move(reason)}); }
  void fail(const Section& section) { failed_.push_back(section); }
  bool covered(const Section& section) const {
    for (std::size_t i = 0; i < section.size; ++i)
      if (raw_[section.offset + i]) return true;
    return false;
  }
  RadioImage& image() { return data_.editImage; }

  void applyRaw() {
    for (const RawRun& run : doc_.raw) {
      bool overlap = false;
      for (std::size_t i = 0; i < run.bytes.size(); ++i) {
        overlap = overlap || raw_[run.offset + i];
        raw_[run.offset + i] = true;
        image()[run.offset + i] = run.bytes[i];
      }
      if (overlap) problem(run.line, formatText(textOf(kTextOverlap), {offsetText(run.offset)}));
    }
  }

  static std::string offsetText(std::size_t offset) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%03zX", offset);
    return text;
  }
  void disagrees(int line, const Section& section) {
    problem(line, formatText(textOf(kTextRawDisagrees), {offsetText(section.offset)}));
  }

  // Without a model nothing else can be checked (channel count, band limits): false stops.
  bool buildModel() {
    const Section section{layout::kModelCode, kModelCodeSize};
    if (covered(section)) {
      Document rawDoc;
      readModel(image(), rawDoc);
      for (const auto& [given, stored] :
           {std::pair(&doc_.model, &rawDoc.model), std::pair(&doc_.band, &rawDoc.band)})
        if (given->given && given->text != stored->text) disagrees(given->line, section);
      return true;
    }
    if (!doc_.model.given || !doc_.band.given) {
      problem(0, textOf(kTextModelMissing));
      fail(section);
      return false;
    }
    bool known = false;
    for (int m = 0; m < ModelCatalogue::kModelCount; ++m)
      known = known || ModelCatalogue::modelName(m) == doc_.model.text;
    if (!known) {
      problem(doc_.model.line, formatText(textOf(kTextUnknownModel), {doc_.model.text}));
      fail(section);
      return false;
    }
    const int row = ModelCatalogue::findRowByNames(doc_.model.text, doc_.band.text);
    if (row < 0) {
      problem(doc_.band.line, formatText(textOf(kTextUnknownBand), {doc_.model.text, doc_.band.text}));
      fail(section);
      return false;
    }
    writeModelCode(image(), ModelCatalogue::modelCodeForRow(row));
    return true;
  }

  void chooseNarrowSetting() {
    const auto allowed = choices::narrowChoices(data_.spacingRestriction());
    int value = allowed.front().value;
    if (doc_.wideNarrow.given) {
      const EntryField& field = doc_.wideNarrow;
      if (EntryRules::sameWord(field.text, kWide)) {
        value = 0;
      } else if (EntryRules::sameWord(field.text, kNarrow)) {
        value = 1;
      } else {
        problem(field.line, formatText(textOf(kTextNotSpacing), {field.text}));
      }
      if (std::none_of(allowed.begin(), allowed.end(),
                       [&](const ChoiceEntry& c) { return c.value == value; })) {
        problem(field.line, formatText(textOf(kTextOnlyOneSpacing),
                                       {textOf(allowed.front().value ? kTextNarrowWord : kTextWideWord)}));
        value = allowed.front().value;
      }
    }
    ChannelEntry::useNarrowSetting(data_, value);
  }

  void buildOptions() {
    const Section section{layout::kFeatureFlags, 4};
    const Options& options = doc_.options;
    if (covered(section)) {
      const Options stored = readOptions(image());
      for (const auto member : {&Options::timeOutTimer, &Options::squelchLevel, &Options::beepTone,
                                &Options::batterySaver, &Options::moniKey})
        if ((options.*member).given && (options.*member).text != (stored.*member).text)
          disagrees((options.*member).line, section);
      return;
    }
    const std::size_t before = problems_.size();
    const auto number = [&](const EntryField& field, int maximum, int step,
                            int textId) -> std::optional<int> {
      if (field.text.empty()) return std::nullopt;
      const std::optional<int> value = EntryRules::wholeNumber(field.text);
      if (!value || *value > maximum || *value % step != 0) {
        problem(field.line, formatText(textOf(textId), {field.text}));
        return std::nullopt;
      }
      return value;
    };
    const auto onOff = [&](const EntryField& field) -> std::optional<int> {
      if (field.text.empty()) return std::nullopt;
      const std::optional<int> value = EntryRules::switchValue(field.text);
      if (!value) problem(field.line, formatText(textOf(kTextNotOnOff), {field.text}));
      return value;
    };
    const auto timeOut =
        number(options.timeOutTimer, kTimeOutMaxSeconds, kTimeOutStepSeconds, kTextBadTimeOut);
    const auto squelch = number(options.squelchLevel, kSquelchMax, 1, kTextBadSquelch);
    const auto beep = onOff(options.beepTone);
    const auto saver = onOff(options.batterySaver);
    std::optional<int> moni;
    if (!options.moniKey.text.empty()) {
      const auto word = std::find_if(kMoniKeyWords.begin(), kMoniKeyWords.end(), [&](const char* w) {
        return EntryRules::sameWord(w, options.moniKey.text);
      });
      if (word == kMoniKeyWords.end())
        problem(options.moniKey.line, formatText(textOf(kTextBadMoniKey), {options.moniKey.text}));
      else
        moni = static_cast<int>(word - kMoniKeyWords.begin());
    }
    if (problems_.size() != before) return fail(section);
    // Empty fields leave their bytes alone: the views show such a stored value as an empty field.
    if (timeOut) data_.commitTimeOutText(options.timeOutTimer.text);
    if (squelch) data_.commitSquelchText(options.squelchLevel.text);
    if (beep) data_.setBeepTone(*beep);
    if (saver) data_.setBatterySaver(*saver);
    if (moni) data_.setMoniKey(*moni);
  }

  void buildChannels() {
    const int count = data_.channelCount();
    std::map<int, const ChannelEntry*> byNumber;
    for (const ChannelEntry& entry : doc_.channels) {
      if (entry.number < 1 || entry.number > count) {
        problem(entry.line, formatText(textOf(kTextChannelBeyond), {entry.number, count}));
      } else if (!byNumber.emplace(entry.number, &entry).second) {
        problem(entry.line, formatText(textOf(kTextListedTwice), {entry.number}));
      }
    }
    for (int n = 1; n <= count; ++n) {
      const Section section{layout::channelOffset(n), kRecordSize};
      ChannelEntry wanted;
      wanted.number = n;
      const auto listed = byNumber.find(n);
      if (listed != byNumber.end()) wanted = *listed->second;
      const ChannelRecord base = data_.channelSlot(n);
      ChannelEntry shown;
      shown.number = n;
      if (base.isProgrammed()) shown = ChannelEntry::fromRecord(n, base);
      if (covered(section)) {
        if (listed != byNumber.end() && !wanted.sameCells(shown)) disagrees(wanted.line, section);
        continue;
      }
      if (wanted.sameCells(shown)) continue;
      if (wanted.rxFrequency.text.empty()) {
        // Not listed: no channel, as a cleared receive frequency leaves it.
        wanted.store(data_);
        continue;
      }
      if (!wanted.check(data_, problems_)) {
        fail(section);
        continue;
      }
      wanted.store(data_);
    }
  }

  void buildTestFrequencies() {
    std::map<int, const TestFreqEntry*> byNumber;
    for (const TestFreqEntry& entry : doc_.testFrequencies) {
      if (entry.number < 1 || entry.number > layout::kTestFreqCount) {
        problem(entry.line, formatText(textOf(kTextTestFrequencyBeyond), {entry.number}));
      } else if (!byNumber.emplace(entry.number, &entry).second) {
        problem(entry.line, formatText(textOf(kTextListedTwice), {entry.number}));
      }
    }
    for (int k = 1; k <= layout::kTestFreqCount; ++k) {
      const Section section{layout::testFreqOffset(k), kRecordSize};
      TestFreqEntry wanted;
      wanted.number = k;
      const auto listed = byNumber.find(k);
      if (listed != byNumber.end()) wanted = *listed->second;
      const ChannelRecord base = data_.testFrequency(k);
      TestFreqEntry shown;
      shown.number = k;
      if (base.isProgrammed()) shown = readTestFrequency(k, base);
      if (covered(section)) {
        if (listed != byNumber.end() && !wanted.sameCells(shown)) disagrees(wanted.line, section);
        continue;
      }
      if (wanted.sameCells(shown)) continue;
      std::string receive = wanted.rxFrequency.text;
      if (receive.empty()) {
        data_.setTestFrequency(k, receive, FrequencyField::Receive);
        continue;
      }
      const std::size_t before = problems_.size();
      for (const EntryField* field : {&wanted.rxFrequency, &wanted.txFrequency}) {
        if (field->text.empty()) continue;
        if (auto reason = EntryRules::frequencyProblem(field->text, data_.bandLimits()))
          problem(field->line > 0 ? field->line : wanted.line, *reason);
      }
      if (problems_.size() != before) {
        fail(section);
        continue;
      }
      data_.setTestFrequency(k, receive, FrequencyField::Receive);
      std::string transmit = wanted.txFrequency.text;
      if (!transmit.empty()) data_.setTestFrequency(k, transmit, FrequencyField::Transmit);
    }
  }

  void buildAdjustments() {
    for (int item = 0; item < layout::kAdjustItemCount; ++item) {
      const EntryField& field = doc_.adjustments[item];
      const std::size_t offset = layout::kAdjustItemOffsets[item];
      if (!field.given) continue;
      const std::optional<int> value = EntryRules::wholeNumber(field.text);
      if (!value || *value > 255) {
        problem(field.line, formatText(textOf(kTextBadAdjustment), {item, field.text}));
        fail({offset, 1});
      } else if (*value != image()[offset]) {
        if (raw_[offset])
          disagrees(field.line, {offset, 1});
        else
          image()[offset] = static_cast<std::uint8_t>(*value);
      }
    }
  }

  const Document& doc_;
  std::vector<ImportProblem>& problems_;
  RadioData data_;
  std::bitset<kImageSize> raw_;
  std::vector<Section> failed_;
};

// ---- Writing the document ----

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  char byte[4];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(byte, sizeof byte, i ? " %02X" : "%02X", bytes[i]);
    text += byte;
  }
  return text;
}

// The raw runs of the bytes in the mask: one run per stretch, split where 16-byte lines begin.
std::vector<RawRun> rawRuns(const RadioImage& image, const std::bitset<kImageSize>& mask) {
  std::vector<RawRun> runs;
  for (std::size_t i = 0; i < kImageSize; ++i) {
    if (!mask[i]) continue;
    if (runs.empty() || runs.back().offset + runs.back().bytes.size() != i || i % kRawLine == 0)
      runs.push_back({i, {}, 0});
    runs.back().bytes.push_back(image[i]);
  }
  return runs;
}

void writeField(std::string& out, const char* indent, const char* key, const EntryField& field, bool quote) {
  if (!field.given) return;
  out += indent;
  out += key;
  out += ": ";
  out += quote || field.text.empty() ? quoted(field.text) : field.text;
  out += '\n';
}

void writeCell(std::string& out, const char* key, const EntryField& field) {
  if (!field.given) return;
  out += ", ";
  out += key;
  out += ": ";
  out += quoted(field.text);
}

std::string writeDocument(const Document& doc) {
  std::string out;
  out += "# VPR-40T radio configuration. Values are written as the program's views show them and\n"
         "# checked as if typed when read back; adjustments are the bytes the image stores. The raw\n"
         "# section holds what no view shows and differs from the model's new image, each byte once.\n";
  writeField(out, "", "format", doc.format, true);
  writeField(out, "", "model", doc.model, true);
  writeField(out, "", "band", doc.band, true);
  writeField(out, "", "wide_narrow", doc.wideNarrow, false);
  const Options& o = doc.options;
  const bool anyFeature =
      o.timeOutTimer.given || o.squelchLevel.given || o.beepTone.given || o.batterySaver.given;
  out += anyFeature ? "features:\n" : "features: {}\n";
  writeField(out, "  ", "time_out_timer", doc.options.timeOutTimer, false);
  writeField(out, "  ", "squelch_level", doc.options.squelchLevel, false);
  writeField(out, "  ", "beep_tone", doc.options.beepTone, false);
  writeField(out, "  ", "battery_saver", doc.options.batterySaver, false);
  writeField(out, "", "moni_key", doc.options.moniKey, false);
  out += doc.channels.empty() ? "channels: []\n" : "channels:\n";
  for (const ChannelEntry& channel : doc.channels) {
    out += "  - {number: " + std::to_string(channel.number);
    writeCell(out, "rx", channel.rxFrequency);
    writeCell(out, "tx", channel.txFrequency);
    writeCell(out, "rx_tone", channel.rxTone);
    writeCell(out, "tx_tone", channel.txTone);
    writeCell(out, "option_a", channel.optionA);
    writeCell(out, "option_b", channel.optionB);
    out += "}\n";
  }
  out += doc.testFrequencies.empty() ? "test_frequencies: []\n" : "test_frequencies:\n";
  for (const TestFreqEntry& entry : doc.testFrequencies) {
    out += "  - {number: " + std::to_string(entry.number);
    writeCell(out, "rx", entry.rxFrequency);
    writeCell(out, "tx", entry.txFrequency);
    out += "}\n";
  }
  const bool anyAdjustment = std::any_of(doc.adjustments.begin(), doc.adjustments.end(),
                                         [](const EntryField& field) { return field.given; });
  out += anyAdjustment ? "adjustments:\n" : "adjustments: {}\n";
  for (int item = 0; item < layout::kAdjustItemCount; ++item)
    if (doc.adjustments[item].given)
      out += "  " + std::to_string(item) + ": " + doc.adjustments[item].text + '\n';
  out += doc.raw.empty() ? "raw: {}\n" : "raw:\n";
  for (const RawRun& run : doc.raw) {
    char offset[16];
    std::snprintf(offset, sizeof offset, "  \"0x%03zX\": ", run.offset);
    out += offset + quoted(hexBytes(run.bytes.data(), run.bytes.size())) + '\n';
  }
  return out;
}

// ---- Reading the document from YAML ----

// Stops the parser at nesting, node counts and aliases that no configuration needs (a document
// built to exhaust memory or the stack).
class InputGuard : public YAML::EventHandler {
public:
  struct Stop {
    int line;
    std::string reason;
  };
  void OnDocumentStart(const YAML::Mark&) override {}
  void OnDocumentEnd() override {}
  void OnNull(const YAML::Mark& mark, YAML::anchor_t anchor) override { node(mark, anchor); }
  void OnAlias(const YAML::Mark& mark, YAML::anchor_t) override {
    throw Stop{mark.line + 1, textOf(kTextNoAliases)};
  }
  void OnScalar(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                const std::string&) override {
    node(mark, anchor);
  }
  void OnSequenceStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                       YAML::EmitterStyle::value) override {
    open(mark, anchor);
  }
  void OnSequenceEnd() override { --depth_; }
  void OnMapStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t anchor,
                  YAML::EmitterStyle::value) override {
    open(mark, anchor);
  }
  void OnMapEnd() override { --depth_; }

private:
  void node(const YAML::Mark& mark, YAML::anchor_t anchor) {
    if (anchor != YAML::NullAnchor) throw Stop{mark.line + 1, textOf(kTextNoAliases)};
    if (++nodes_ > kMaxNodes)
      throw Stop{mark.line + 1, formatText(textOf(kTextTooManyNodes), {int(kMaxNodes)})};
  }
  void open(const YAML::Mark& mark, YAML::anchor_t anchor) {
    node(mark, anchor);
    if (++depth_ > kMaxDepth) throw Stop{mark.line + 1, formatText(textOf(kTextTooDeep), {kMaxDepth})};
  }
  int depth_ = 0;
  std::size_t nodes_ = 0;
};

class DocumentReader {
public:
  explicit DocumentReader(std::vector<ImportProblem>& problems) : problems_(problems) {}

  Document read(const YAML::Node& root) {
    Document doc;
    if (!root.IsMap()) {
      problem(root, textOf(kTextNotConfiguration));
      return doc;
    }
    forEachKey(root, [&](const std::string& key, const YAML::Node& value) {
      if (key == "format") {
        scalar(value, key, doc.format);
      } else if (key == "model") {
        scalar(value, key, doc.model);
      } else if (key == "band") {
        scalar(value, key, doc.band);
      } else if (key == "wide_narrow") {
        scalar(value, key, doc.wideNarrow);
      } else if (key == "moni_key") {
        scalar(value, key, doc.options.moniKey);
      } else if (key == "features") {
        readFeatures(value, doc.options);
      } else if (key == "channels") {
        doc.channelsGiven = true;
        readList(value, key, [&](const YAML::Node& item) { doc.channels.push_back(readChannel(item)); });
      } else if (key == "test_frequencies") {
        doc.testFrequenciesGiven = true;
        readList(value, key,
                 [&](const YAML::Node& item) { doc.testFrequencies.push_back(readTestFreq(item)); });
      } else if (key == "adjustments") {
        readAdjustments(value, doc.adjustments);
      } else if (key == "raw") {
        doc.rawGiven = true;
        readRaw(value, doc.raw);
      } else {
        return false;
      }
      return true;
    });
    if (!doc.format.given || (doc.format.text != kFormatName && doc.format.text != kFormatNameFirst))
      problem(root, textOf(kTextNotConfiguration));
    return doc;
  }

private:
  static int lineOf(const YAML::Node& node) { return node.Mark().line + 1; }
  void problem(const YAML::Node& node, std::string reason) {
    problems_.push_back({lineOf(node), std::move(reason)});
  }

  // Calls handle(key, value) for each entry of a mapping; an unknown key (handle returns false) or
  // a key given twice is a problem.
  template <typename Handle> void forEachKey(const YAML::Node& map, Handle handle) {
    std::set<std::string> seen;
    for (const auto& entry : map) {
      const std::string key = entry.first.IsScalar() ? entry.first.Scalar() : std::string();
      if (!seen.insert(key).second) {
        problem(entry.first, formatText(textOf(kTextKeyTwice), {key}));
        continue;
      }
      if (!handle(key, entry.second)) problem(entry.first, formatText(textOf(kTextUnknownKey), {key}));
    }
  }

  void scalar(const YAML::Node& node, const std::string& key, EntryField& field) {
    if (node.IsNull()) return field.set("", lineOf(node));
    if (!node.IsScalar()) return problem(node, formatText(textOf(kTextNeedsValue), {key}));
    field.set(node.Scalar(), lineOf(node));
  }

  template <typename Each> void readList(const YAML::Node& node, const std::string& key, Each each) {
    if (node.IsNull()) return;
    if (!node.IsSequence()) return problem(node, formatText(textOf(kTextNeedsList), {key}));
    for (const auto& item : node)
      each(item);
  }

  bool isMapping(const YAML::Node& node, const std::string& key) {
    if (node.IsMap()) return true;
    problem(node, formatText(textOf(kTextNeedsMapping), {key}));
    return false;
  }

  void readFeatures(const YAML::Node& node, Options& options) {
    if (!isMapping(node, "features")) return;
    forEachKey(node, [&](const std::string& key, const YAML::Node& value) {
      EntryField* field = key == "time_out_timer"  ? &options.timeOutTimer
                          : key == "squelch_level" ? &options.squelchLevel
                          : key == "beep_tone"     ? &options.beepTone
                          : key == "battery_saver" ? &options.batterySaver
                                                   : nullptr;
      if (field) scalar(value, key, *field);
      return field != nullptr;
    });
  }

  int number(const YAML::Node& node, const std::string& key) {
    EntryField field;
    scalar(node, key, field);
    const std::optional<int> value = EntryRules::wholeNumber(field.text);
    if (!value && node.IsScalar()) problem(node, formatText(textOf(kTextNotNumber), {field.text}));
    return value.value_or(-1);
  }

  ChannelEntry readChannel(const YAML::Node& node) {
    ChannelEntry entry;
    entry.line = lineOf(node);
    entry.number = -1;
    if (!isMapping(node, "channels")) return entry;
    forEachKey(node, [&](const std::string& key, const YAML::Node& value) {
      if (key == "number") {
        entry.number = number(value, key);
        return true;
      }
      EntryField* field = key == "rx"         ? &entry.rxFrequency
                          : key == "tx"       ? &entry.txFrequency
                          : key == "rx_tone"  ? &entry.rxTone
                          : key == "tx_tone"  ? &entry.txTone
                          : key == "option_a" ? &entry.optionA
                          : key == "option_b" ? &entry.optionB
                                              : nullptr;
      if (field) scalar(value, key, *field);
      return field != nullptr;
    });
    return entry;
  }

  TestFreqEntry readTestFreq(const YAML::Node& node) {
    TestFreqEntry entry;
    entry.line = lineOf(node);
    entry.number = -1;
    if (!isMapping(node, "test_frequencies")) return entry;
    forEachKey(node, [&](const std::string& key, const YAML::Node& value) {
      if (key == "number") {
        entry.number = number(value, key);
        return true;
      }
      EntryField* field = key == "rx" ? &entry.rxFrequency : key == "tx" ? &entry.txFrequency : nullptr;
      if (field) scalar(value, key, *field);
      return field != nullptr;
    });
    return entry;
  }

  void readAdjustments(const YAML::Node& node, std::array<EntryField, layout::kAdjustItemCount>& items) {
    if (!isMapping(node, "adjustments")) return;
    forEachKey(node, [&](const std::string& key, const YAML::Node& value) {
      const std::optional<int> item = EntryRules::wholeNumber(key);
      if (!item || *item >= layout::kAdjustItemCount) return false;
      scalar(value, key, items[*item]);
      return true;
    });
  }

  void readRaw(const YAML::Node& node, std::vector<RawRun>& runs) {
    if (node.IsNull()) return;
    if (!isMapping(node, "raw")) return;
    forEachKey(node, [&](const std::string& key, const YAML::Node& value) {
      RawRun run;
      run.line = lineOf(value);
      const bool hexKey = key.size() >= 3 && key.size() <= 5 && key[0] == '0' &&
                          (key[1] == 'x' || key[1] == 'X') &&
                          key.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string::npos;
      run.offset = hexKey ? std::stoul(key.substr(2), nullptr, 16) : kImageSize;
      if (run.offset >= kImageSize) {
        problem(value, formatText(textOf(kTextBadOffset), {key}));
        return true;
      }
      EntryField bytes;
      scalar(value, key, bytes);
      if (!parseHex(bytes.text, run.bytes)) {
        problem(value, formatText(textOf(kTextBadHex), {key}));
      } else if (run.offset + run.bytes.size() > kImageSize) {
        problem(value, formatText(textOf(kTextPastEnd), {key}));
      } else {
        runs.push_back(std::move(run));
      }
      return true;
    });
  }

  static bool parseHex(std::string_view text, std::vector<std::uint8_t>& bytes) {
    const auto nibble = [](char c) {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      return -1;
    };
    std::size_t i = 0;
    while (i < text.size()) {
      if (text[i] == ' ') {
        ++i;
        continue;
      }
      if (i + 1 >= text.size() || nibble(text[i]) < 0 || nibble(text[i + 1]) < 0) return false;
      bytes.push_back(static_cast<std::uint8_t>(nibble(text[i]) << 4 | nibble(text[i + 1])));
      i += 2;
    }
    return !bytes.empty();
  }

  std::vector<ImportProblem>& problems_;
};

} // namespace

std::string ConfigYaml::exportImage(const RadioImage& image) {
  const DecimalSeparatorScope dot('.');
  Document doc = readDocument(image);
  const ModelCode code = modelCodeOf(image);
  const std::vector<Section> sections = sectionsFor(ModelCatalogue::channelCount(code));

  // Bytes no part of the document describes travel as raw bytes where they differ from the
  // image the import builds on.
  const RadioImage base = baseImageFor(code);
  std::bitset<kImageSize> mask;
  for (std::size_t i = 0; i < kImageSize; ++i)
    mask[i] = image[i] != base[i] && std::none_of(sections.begin(), sections.end(),
                                                  [&](const Section& s) { return inSection(s, i); });
  // So does a model code that the model and band names do not give exactly: everything else is
  // built for the model it names, whether from raw bytes or from the names.
  const Section modelSection = sections.front();
  const int row = ModelCatalogue::findModelRow(code);
  if (row < 0 || ModelCatalogue::modelCodeForRow(row) != code)
    for (std::size_t i = 0; i < modelSection.size; ++i)
      mask[modelSection.offset + i] = true;

  // With the model settled the other sections do not depend on one another: one build shows
  // which of them the document's values do not give back exactly, and those travel whole.
  doc.raw = rawRuns(image, mask);
  std::vector<ImportProblem> ignored;
  Builder builder(doc, ignored);
  const RadioImage rebuilt = builder.build();
  for (const Section& section : sections) {
    const bool same =
        std::equal(image.begin() + section.offset, image.begin() + section.offset + section.size,
                   rebuilt.begin() + section.offset);
    const bool failed = std::any_of(builder.failed().begin(), builder.failed().end(),
                                    [&](const Section& f) { return f.offset == section.offset; });
    if (same && !failed) continue;
    for (std::size_t i = 0; i < section.size; ++i)
      mask[section.offset + i] = true;
  }
  doc.raw = rawRuns(image, mask);

  // Each byte in one place: what travels raw has no entry.
  if (mask[modelSection.offset]) doc.model = doc.band = EntryField{};
  if (mask[layout::kFeatureFlags]) doc.options = Options{};
  std::erase_if(doc.channels, [&](const ChannelEntry& e) { return mask[layout::channelOffset(e.number)]; });
  std::erase_if(doc.testFrequencies,
                [&](const TestFreqEntry& e) { return mask[layout::testFreqOffset(e.number)]; });
  for (int item = 0; item < layout::kAdjustItemCount; ++item)
    if (mask[layout::kAdjustItemOffsets[item]]) doc.adjustments[item] = EntryField{};
  return writeDocument(doc);
}

ConfigYaml::Result ConfigYaml::importText(std::string_view text) {
  const DecimalSeparatorScope dot('.');
  Result result;
  auto& problems = result.problems;
  if (text.size() > kMaxDocumentSize) {
    problems.push_back({0, formatText(textOf(kTextTooLarge), {int(kMaxDocumentSize)})});
    return result;
  }
  if (text.find('\0') != std::string_view::npos) {
    const auto line = std::count(text.begin(), text.begin() + text.find('\0'), '\n') + 1;
    problems.push_back({int(line), textOf(kTextNotText)});
    return result;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    problems.push_back({0, textOf(kTextEmpty)});
    return result;
  }

  const std::string input(text);
  YAML::Node root;
  try {
    {
      std::istringstream stream(input);
      YAML::Parser parser(stream);
      InputGuard guard;
      parser.HandleNextDocument(guard);
      if (parser.HandleNextDocument(guard)) {
        problems.push_back({0, textOf(kTextSeveralDocuments)});
        return result;
      }
    }
    root = YAML::Load(input);
  } catch (const InputGuard::Stop& stop) {
    problems.push_back({stop.line, stop.reason});
    return result;
  } catch (const YAML::Exception& error) {
    problems.push_back({error.mark.line + 1, formatText(textOf(kTextSyntax), {error.msg})});
    return result;
  }

  DocumentReader reader(problems);
  const Document doc = reader.read(root);
  if (!problems.empty()) return result;
  Builder builder(doc, problems);
  const RadioImage image = builder.build();
  if (problems.empty()) result.image = image;
  return result;
}

} // namespace vpr
