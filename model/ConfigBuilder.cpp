#include "model/ConfigBuilder.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/EntryRules.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace vpr {

namespace {

constexpr int kTextUnknownModel = 10066012;
constexpr int kTextUnknownBand = 10066013;
constexpr int kTextModelMissing = 10066014;
constexpr int kTextChannelBeyond = 10066018;
constexpr int kTextListedTwice = 10066019;
constexpr int kTextNotOnOff = 10066023;
constexpr int kTextOnlyOneSpacing = 10066024;
constexpr int kTextNotSpacing = 10066025;
constexpr int kTextBadTimeOut = 10066026;
constexpr int kTextBadSquelch = 10066027;
constexpr int kTextBadMoniKey = 10066028;
constexpr int kTextBadAdjustment = 10066029;
constexpr int kTextOverlap = 10066033;
constexpr int kTextTestFrequencyBeyond = 10066034;
constexpr int kTextWideWord = 10066054;
constexpr int kTextNarrowWord = 10066055;
constexpr int kTextRawDisagrees = 10066057;

std::string offsetText(std::size_t offset) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%03zX", offset);
  return text;
}

} // namespace

ConfigBuilder::ConfigBuilder(const ConfigDocument& doc, std::vector<ImportProblem>& problems)
    : doc_(doc), problems_(problems) {
  data_.editImage = clearedImage();
}

RadioImage ConfigBuilder::build() {
  applyRaw();
  if (!buildModel()) return data_.editImage;
  if (doc_.buildsOnDefaultImage()) {
    const RadioImage base = ConfigDocument::baseImageFor(modelCodeOf(image()));
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

bool ConfigBuilder::covered(const ConfigSection& section) const {
  for (std::size_t i = 0; i < section.size; ++i)
    if (raw_[section.offset + i]) return true;
  return false;
}

void ConfigBuilder::applyRaw() {
  for (const ConfigRawRun& run : doc_.raw) {
    bool overlap = false;
    for (std::size_t i = 0; i < run.bytes.size(); ++i) {
      overlap = overlap || raw_[run.offset + i];
      raw_[run.offset + i] = true;
      image()[run.offset + i] = run.bytes[i];
    }
    if (overlap) problem(run.line, formatText(textOf(kTextOverlap), {offsetText(run.offset)}));
  }
}

void ConfigBuilder::disagrees(int line, const ConfigSection& section) {
  problem(line, formatText(textOf(kTextRawDisagrees), {offsetText(section.offset)}));
}

bool ConfigBuilder::buildModel() {
  const ConfigSection section{layout::kModelCode, kModelCodeSize};
  if (covered(section)) {
    ConfigDocument rawDoc;
    rawDoc.setModelOf(ImageView(image()));
    for (const auto& [given, stored] :
         {std::pair(&doc_.model, &rawDoc.model), std::pair(&doc_.band, &rawDoc.band)})
      if (given->given && given->text != stored->text) disagrees(given->line, section);
    return true;
  }
  if (!doc_.model.given || !doc_.band.given) {
    problem(0, textOf(kTextModelMissing));
    return false;
  }
  bool known = false;
  for (int m = 0; m < ModelCatalogue::kModelCount; ++m)
    known = known || ModelCatalogue::modelName(m) == doc_.model.text;
  if (!known) {
    problem(doc_.model.line, formatText(textOf(kTextUnknownModel), {doc_.model.text}));
    return false;
  }
  const int row = ModelCatalogue::findRowByNames(doc_.model.text, doc_.band.text);
  if (row < 0) {
    problem(doc_.band.line, formatText(textOf(kTextUnknownBand), {doc_.model.text, doc_.band.text}));
    return false;
  }
  writeModelCode(image(), ModelCatalogue::modelCodeForRow(row));
  return true;
}

void ConfigBuilder::chooseNarrowSetting() {
  const auto allowed = choices::narrowChoices(data_.spacingRestriction());
  int value = allowed.front().value;
  if (doc_.wideNarrow.given) {
    const EntryField& field = doc_.wideNarrow;
    if (EntryRules::sameWord(field.text, ConfigDocument::kWide)) {
      value = 0;
    } else if (EntryRules::sameWord(field.text, ConfigDocument::kNarrow)) {
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

void ConfigBuilder::buildOptions() {
  const ConfigSection section{layout::kFeatureFlags, 4};
  const ConfigOptions& options = doc_.options;
  if (covered(section)) {
    const ConfigOptions stored = ConfigOptions::fromImage(ImageView(image()));
    for (const auto member :
         {&ConfigOptions::timeOutTimer, &ConfigOptions::squelchLevel, &ConfigOptions::beepTone,
          &ConfigOptions::batterySaver, &ConfigOptions::moniKey})
      if ((options.*member).given && (options.*member).text != (stored.*member).text)
        disagrees((options.*member).line, section);
    return;
  }
  const std::size_t before = problems_.size();
  const auto number = [&](const EntryField& field, int maximum, int step, int textId) -> std::optional<int> {
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
  const auto timeOut = number(options.timeOutTimer, kTimeOutMaxSeconds, kTimeOutStepSeconds, kTextBadTimeOut);
  const auto squelch = number(options.squelchLevel, kSquelchMax, 1, kTextBadSquelch);
  const auto beep = onOff(options.beepTone);
  const auto saver = onOff(options.batterySaver);
  std::optional<int> moni;
  if (!options.moniKey.text.empty()) {
    const auto word =
        std::find_if(ConfigDocument::kMoniKeyWords.begin(), ConfigDocument::kMoniKeyWords.end(),
                     [&](const char* w) { return EntryRules::sameWord(w, options.moniKey.text); });
    if (word == ConfigDocument::kMoniKeyWords.end())
      problem(options.moniKey.line, formatText(textOf(kTextBadMoniKey), {options.moniKey.text}));
    else
      moni = static_cast<int>(word - ConfigDocument::kMoniKeyWords.begin());
  }
  if (problems_.size() != before) return;
  // Empty fields leave their bytes alone: the views show such a stored value as an empty field.
  if (timeOut) data_.commitTimeOutText(options.timeOutTimer.text);
  if (squelch) data_.commitSquelchText(options.squelchLevel.text);
  if (beep) data_.setBeepTone(*beep);
  if (saver) data_.setBatterySaver(*saver);
  if (moni) data_.setMoniKey(*moni);
}

void ConfigBuilder::buildChannels() {
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
    const ConfigSection section{layout::channelOffset(n), kRecordSize};
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
    if (!wanted.check(data_, problems_)) continue;
    wanted.store(data_);
  }
}

void ConfigBuilder::buildTestFrequencies() {
  std::map<int, const ConfigTestFreqEntry*> byNumber;
  for (const ConfigTestFreqEntry& entry : doc_.testFrequencies) {
    if (entry.number < 1 || entry.number > layout::kTestFreqCount) {
      problem(entry.line, formatText(textOf(kTextTestFrequencyBeyond), {entry.number}));
    } else if (!byNumber.emplace(entry.number, &entry).second) {
      problem(entry.line, formatText(textOf(kTextListedTwice), {entry.number}));
    }
  }
  for (int k = 1; k <= layout::kTestFreqCount; ++k) {
    const ConfigSection section{layout::testFreqOffset(k), kRecordSize};
    ConfigTestFreqEntry wanted;
    wanted.number = k;
    const auto listed = byNumber.find(k);
    if (listed != byNumber.end()) wanted = *listed->second;
    const ChannelRecord base = data_.testFrequency(k);
    ConfigTestFreqEntry shown;
    shown.number = k;
    if (base.isProgrammed()) shown = ConfigTestFreqEntry::fromRecord(k, base);
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
    if (problems_.size() != before) continue;
    data_.setTestFrequency(k, receive, FrequencyField::Receive);
    std::string transmit = wanted.txFrequency.text;
    if (!transmit.empty()) data_.setTestFrequency(k, transmit, FrequencyField::Transmit);
  }
}

void ConfigBuilder::buildAdjustments() {
  for (int item = 0; item < layout::kAdjustItemCount; ++item) {
    const EntryField& field = doc_.adjustments[item];
    const std::size_t offset = layout::kAdjustItemOffsets[item];
    if (!field.given) continue;
    const std::optional<int> value = EntryRules::wholeNumber(field.text);
    if (!value || *value > 255) {
      problem(field.line, formatText(textOf(kTextBadAdjustment), {item, field.text}));
    } else if (*value != image()[offset]) {
      if (raw_[offset])
        disagrees(field.line, {offset, 1});
      else
        image()[offset] = static_cast<std::uint8_t>(*value);
    }
  }
}

} // namespace vpr
