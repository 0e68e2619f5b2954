#include "model/RadioData.h"

#include "model/NumberText.h"

#include <algorithm>

namespace vpr {

namespace {

// Model numbers with a rule of their own in the default image.
constexpr int kModelHx4410M = 4;
constexpr int kModelHx5470 = 6;
constexpr int kModelHx5410M = 9;

constexpr int kDefaultTimeOutUnits = 6; // 180 s
constexpr int kDefaultMoniKey = 3;
constexpr int kDefaultSquelch = 9;
constexpr int kDefaultSquelchMonitorModels = 3;

// Band data the HX-5470/5470M carries for two of its bands.
constexpr std::uint8_t kBandEdgesUhf6[] = {0x00, 0x44, 0x00, 0x46, 0x0C};             // at 0x3B2
constexpr std::uint8_t kBandEdgesUhf7[] = {0x38, 0x8A, 0x00, 0x35, 0x00, 0x37, 0x0C}; // at 0x3B0
constexpr int kBandCodeUhf6 = 15;
constexpr int kBandCodeUhf7 = 14;

} // namespace

RadioData::RadioData()
    : editImage(clearedImage()), transferImage(clearedImage()), savedImage(clearedImage()) {}

// ---- Whole-image operations ----

void RadioData::clearImage() {
  editImage.fill(0xFF);
  transferImage = editImage;
}

void RadioData::commitTransfer() {
  editImage = transferImage;
}

void RadioData::mirrorEdit() {
  transferImage = editImage;
}

void RadioData::markSaved() {
  savedImage = editImage;
}

bool RadioData::isModified() {
  transferImage = editImage;
  return transferImage != savedImage;
}

void RadioData::buildDefaultImage(bool resetModel) {
  if (resetModel) setDefaultModelCode();
  applyBandLimits();
  initNarrowSetting();
  loadDefaultTestFrequencies();
  for (std::size_t i = 0; i < layout::kChannelMapSize; ++i)
    editImage[layout::kChannelMap + i] = static_cast<std::uint8_t>(i + 1);
  editImage[layout::kFeatureFlags] |= layout::kBeepToneBit | layout::kNewImageFlagBit;
  editImage[layout::kTimeOutTimer] = kDefaultTimeOutUnits;
  editImage[layout::kMoniKey] = kDefaultMoniKey;

  const int model = modelNumber();
  if (model < 0) return;
  if (model == kModelHx4410M || model == kModelHx5410M) {
    editImage[layout::kFeatureFlags] &= static_cast<std::uint8_t>(~layout::kBatterySaverBit);
    editImage[layout::kSquelchLevel] = kDefaultSquelchMonitorModels;
  } else {
    editImage[layout::kFeatureFlags] |= layout::kBatterySaverBit;
    editImage[layout::kSquelchLevel] = kDefaultSquelch;
  }
  if (model == kModelHx5470) {
    const int band = bandCode() & 0x0F;
    if (band == kBandCodeUhf6)
      std::copy(std::begin(kBandEdgesUhf6), std::end(kBandEdgesUhf6), &editImage[0x3B2]);
    if (band == kBandCodeUhf7)
      std::copy(std::begin(kBandEdgesUhf7), std::end(kBandEdgesUhf7), &editImage[layout::kBandEdgeBlock]);
  }
}

// ---- Life-cycle steps ----

void RadioData::startUp(const std::optional<ModelCode>& rememberedModel) {
  clearImage();
  if (rememberedModel && ModelCatalogue::isListedModel(*rememberedModel)) {
    writeModelCode(editImage, *rememberedModel);
    buildDefaultImage(false);
  } else {
    buildDefaultImage(true);
  }
  markSaved();
  startFreshHistory();
}

void RadioData::newImage() {
  ModelCode code = modelCode();
  if (!ModelCatalogue::isListedModel(code)) code = ModelCatalogue::defaultModelCode();
  clearImage();
  writeModelCode(editImage, code);
  buildDefaultImage(false);
  markSaved();
  startFreshHistory();
}

void RadioData::resetToModel(const ModelCode& code) {
  clearImage();
  writeModelCode(editImage, ModelCatalogue::isListedModel(code) ? code : ModelCatalogue::defaultModelCode());
  buildDefaultImage(false);
  markSaved();
  clearClipboards();
  startFreshHistory();
}

void RadioData::adoptTransferImage() {
  commitTransfer();
  applyBandLimits();
  deriveNarrowSetting();
  markSaved();
  clearClipboards();
  startFreshHistory();
}

// ---- Undo and redo ----

bool RadioData::recordStep(const std::string& name) {
  return history_.record(currentState(), name);
}

bool RadioData::undoStep() {
  const std::optional<ImageState> state = history_.undo();
  if (state) restoreState(*state);
  return state.has_value();
}

bool RadioData::redoStep() {
  const std::optional<ImageState> state = history_.redo();
  if (state) restoreState(*state);
  return state.has_value();
}

void RadioData::startFreshHistory() {
  history_.reset(currentState());
}

void RadioData::restoreState(const ImageState& state) {
  editImage = state.image;
  narrowSetting_ = state.narrowSetting;
  applyBandLimits();
}

RadioImage RadioData::defaultImage(const ModelCode& code) {
  RadioData scratch;
  scratch.resetToModel(code);
  return scratch.editImage;
}

// ---- Changes of the current model ----

void RadioData::setDefaultModelCode() {
  writeModelCode(editImage, ModelCatalogue::defaultModelCode());
}

void RadioData::setModelNumber(int modelNumber) {
  for (const ModelRow& row : ModelCatalogue::rows()) {
    if (row.modelNumber != modelNumber) continue;
    for (std::size_t i = 0; i < 5; ++i)
      editImage[layout::kModelCode + 3 + i] = static_cast<std::uint8_t>(row.reversedCode[i]);
    return;
  }
}

void RadioData::setBandByte(std::uint8_t bandByte) {
  editImage[layout::kModelCode] = 0x00;
  editImage[layout::kModelCode + 1] = 0x00;
  editImage[layout::kModelCode + 2] = bandByte;
}

void RadioData::applyBandLimits() {
  limits_ = view().bandLimits();
}

// ---- Wide/narrow ----

void RadioData::initNarrowSetting() {
  narrowSetting_ = spacingRestriction() == 2 ? 1 : 0;
}

void RadioData::deriveNarrowSetting() {
  narrowSetting_ = view().derivedNarrowSetting(narrowSetting_);
}

void RadioData::applyNarrowSetting(int value) {
  narrowSetting_ = value & 1;
  for (int n = 1; n <= layout::kChannelSlots; ++n)
    if (channelSlot(n).isProgrammed()) setNarrowBit(layout::channelOffset(n), narrowSetting_);
  for (int k = 1; k <= layout::kTestFreqCount; ++k)
    if (testFrequency(k).isProgrammed()) setNarrowBit(layout::testFreqOffset(k), narrowSetting_);
}

// ---- Record helpers ----

void RadioData::setRecordFrequency(std::size_t offset, std::size_t field, const EncodedFrequency& value) {
  std::copy(value.code.begin(), value.code.end(), &editImage[offset + field]);
  setRecordByte(offset, field == layout::kRxFreq ? layout::kRxStepCode : layout::kTxStepCode, value.stepCode);
}

void RadioData::setRecordByte(std::size_t offset, std::size_t field, std::uint8_t value) {
  editImage[offset + field] = value;
}

void RadioData::setNarrowBit(std::size_t offset, int value) {
  std::uint8_t& flags = editImage[offset + layout::kChFlags];
  flags = static_cast<std::uint8_t>(value ? flags | layout::kNarrowBit : flags & ~layout::kNarrowBit);
}

std::optional<EncodedFrequency> RadioData::encodeChecked(std::string& text, const BandLimits& limits,
                                                         bool& inBand) {
  inBand = checkFrequencyText(text, limits);
  return encodeFrequency(text);
}

// ---- Channels ----

bool RadioData::deleteChannel(int n) {
  if (!channelRecord(n)) return false;
  const std::size_t offset = layout::channelOffset(n);
  std::fill_n(&editImage[offset], kRecordSize, std::uint8_t{0xFF});
  return true;
}

bool RadioData::deleteChannels(int first, int last) {
  bool deleted = false;
  for (int n = std::max(first, 1); n <= std::min(last, channelCount()); ++n)
    deleted = deleteChannel(n) || deleted;
  return deleted;
}

EntryResult RadioData::setChannelFrequency(int n, std::string& text, FrequencyField which) {
  if (!isChannelNumber(n)) return EntryResult::Refused;
  const std::size_t offset = layout::channelOffset(n);
  const ChannelRecord before = channelSlot(n);
  if (which == FrequencyField::Transmit && !before.isProgrammed()) return EntryResult::Refused;

  bool inBand = true;
  const std::optional<EncodedFrequency> value = encodeChecked(text, limits_, inBand);
  const EntryResult stored = inBand ? EntryResult::InBand : EntryResult::OutOfBand;
  if (!value) {
    // Only an empty entry clears; a text the band check could not turn into a frequency
    // (possible only with unusable band limits) changes nothing.
    if (!text.empty()) return EntryResult::Refused;
    if (which == FrequencyField::Receive) {
      deleteChannel(n);
    } else {
      std::fill_n(&editImage[offset + layout::kTxFreq], 4, std::uint8_t{0xFF});
      std::fill_n(&editImage[offset + layout::kTxTone], 2, std::uint8_t{0xFF});
      setRecordByte(offset, layout::kTxStepCode, 0xFF);
    }
    return stored;
  }

  if (which == FrequencyField::Receive) {
    setRecordFrequency(offset, layout::kRxFreq, *value);
    if (!before.isProgrammed()) {
      // A new channel: transmit on the receive frequency, tones off, both options set.
      setRecordFrequency(offset, layout::kTxFreq, *value);
      std::fill_n(&editImage[offset + layout::kRxTone], 4, std::uint8_t{0xFF});
      editImage[offset + layout::kChFlags] |= layout::kOptionABit | layout::kOptionBBit;
      setNarrowBit(offset, narrowSetting_);
    }
  } else {
    if (!before.hasTransmit()) {
      editImage[offset + layout::kTxTone] = editImage[offset + layout::kRxTone];
      editImage[offset + layout::kTxTone + 1] = editImage[offset + layout::kRxTone + 1];
    }
    setRecordFrequency(offset, layout::kTxFreq, *value);
  }
  return stored;
}

bool RadioData::setChannelTone(int n, ToneField which, std::string_view text, bool typed) {
  const std::optional<ChannelRecord> record = channelRecord(n);
  if (!record) return false;
  if (which == ToneField::Transmit && !record->hasTransmit()) return false;
  const std::optional<ToneCode> parsed = parseTone(text);
  if (!parsed) return false;
  const ToneCode code = *parsed;
  const std::size_t offset = layout::channelOffset(n);
  const auto store = [&](std::size_t field) {
    editImage[offset + field] = static_cast<std::uint8_t>(code & 0xFF);
    editImage[offset + field + 1] = static_cast<std::uint8_t>(code >> 8);
  };
  if (which == ToneField::Receive) {
    store(layout::kRxTone);
    if (typed && record->hasTransmit() && record->txTone() == kToneOff) store(layout::kTxTone);
  } else {
    store(layout::kTxTone);
  }
  return true;
}

bool RadioData::setChannelOption(int n, int bit, int value) {
  const std::optional<ChannelRecord> record = channelRecord(n);
  if (!record || (bit != 0 && bit != 1)) return false;
  if (bit == 0 && !record->hasTransmit()) return false;
  std::uint8_t& flags = editImage[layout::channelOffset(n) + layout::kChFlags];
  const auto mask = static_cast<std::uint8_t>(1u << bit);
  flags = static_cast<std::uint8_t>(value & 1 ? flags | mask : flags & ~mask);
  return true;
}

// ---- Test frequencies ----

EntryResult RadioData::setTestFrequency(int k, std::string& text, FrequencyField which) {
  return storeTestFrequency(k, text, which, limits_);
}

EntryResult RadioData::storeTestFrequency(int k, std::string& text, FrequencyField which,
                                          const BandLimits& limits) {
  if (k < 1 || k > layout::kTestFreqCount) return EntryResult::Refused;
  const std::size_t offset = layout::testFreqOffset(k);
  const TestFreqRecord before = testFrequency(k);
  bool inBand = true;
  const std::optional<EncodedFrequency> value = encodeChecked(text, limits, inBand);
  const EntryResult stored = inBand ? EntryResult::InBand : EntryResult::OutOfBand;
  if (!value) {
    if (!text.empty()) return EntryResult::Refused;
    std::fill_n(&editImage[offset], kRecordSize, std::uint8_t{0xFF});
    return stored;
  }
  if (which == FrequencyField::Receive) {
    setRecordFrequency(offset, layout::kRxFreq, *value);
    if (!before.hasTransmit()) setRecordFrequency(offset, layout::kTxFreq, *value);
  } else {
    // A transmit frequency alone would still leave the record empty.
    if (!before.isProgrammed()) return EntryResult::Refused;
    setRecordFrequency(offset, layout::kTxFreq, *value);
  }
  return stored;
}

void RadioData::deleteTestFrequencies(int first, int last) {
  for (int k = std::max(first, 1); k <= std::min(last, layout::kTestFreqCount); ++k)
    std::fill_n(&editImage[layout::testFreqOffset(k)], kRecordSize, std::uint8_t{0xFF});
  ensureTestFrequencies();
}

void RadioData::ensureTestFrequencies() {
  for (int k = 1; k <= layout::kTestFreqCount; ++k)
    if (testFrequency(k).isProgrammed()) return;
  loadDefaultTestFrequencies();
}

void RadioData::loadDefaultTestFrequencies() {
  std::fill_n(&editImage[layout::kTestFreqTable], kRecordSize * layout::kTestFreqCount, std::uint8_t{0xFF});
  // The defaults are checked against the model's own band, whatever limits are set.
  const BandLimits limits = view().bandLimits();
  int k = 1;
  for (const TestFrequencyPair& pair : ModelCatalogue::defaultTestFrequencies(modelCode())) {
    std::string receive = NumberText::localized(pair.receive);
    std::string transmit = NumberText::localized(pair.transmit);
    storeTestFrequency(k, receive, FrequencyField::Receive, limits);
    storeTestFrequency(k, transmit, FrequencyField::Transmit, limits);
    ++k;
  }
}

// ---- Record clipboards ----

void RadioData::copyChannels(int first, int last) {
  std::vector<RecordClipboard::Entry> entries;
  const int from = std::max(first, 1);
  const int to = std::min(last, channelCount());
  for (int n = from; n <= to; ++n) {
    const std::optional<ChannelRecord> record = channelRecord(n);
    entries.push_back(record ? RecordClipboard::Entry(record->bytes) : std::nullopt);
  }
  channelClipboard_.store(std::move(entries), from, to);
}

int RadioData::pasteChannels(int target) {
  int written = 0;
  int n = target;
  for (const RecordClipboard::Entry& entry : channelClipboard_.entries()) {
    if (entry && isChannelNumber(n)) {
      const std::size_t offset = layout::channelOffset(n);
      std::copy(entry->begin(), entry->end(), &editImage[offset]);
      setNarrowBit(offset, narrowSetting_);
      ++written;
    }
    ++n;
  }
  return written;
}

void RadioData::copyTestFrequencies(int first, int last) {
  std::vector<RecordClipboard::Entry> entries;
  const int from = std::max(first, 1);
  const int to = std::min(last, layout::kTestFreqCount);
  for (int k = from; k <= to; ++k)
    entries.emplace_back(testFrequency(k).bytes);
  testFreqClipboard_.store(std::move(entries), from, to);
}

int RadioData::pasteTestFrequencies(int target) {
  int written = 0;
  int k = target;
  for (const RecordClipboard::Entry& entry : testFreqClipboard_.entries()) {
    if (k > layout::kTestFreqCount) break;
    if (entry && k >= 1) {
      const std::size_t offset = layout::testFreqOffset(k);
      std::copy(entry->begin(), entry->end(), &editImage[offset]);
      // An empty record stays all 0xFF.
      if (testFrequency(k).isProgrammed()) setNarrowBit(offset, narrowSetting_);
      ++written;
    }
    ++k;
  }
  return written;
}

void RadioData::clearClipboards() {
  channelClipboard_.clear();
  testFreqClipboard_.clear();
}

// ---- Radio-wide options ----

std::optional<int> RadioData::commitTimeOutText(std::string_view text) {
  if (!NumberText::isIntegerText(text)) return std::nullopt;
  std::string typed(text);
  const int seconds = clampToStep(typed, kTimeOutMaxSeconds, 0, kTimeOutStepSeconds);
  editImage[layout::kTimeOutTimer] = static_cast<std::uint8_t>(seconds / kTimeOutStepSeconds);
  return seconds;
}

std::optional<int> RadioData::commitSquelchText(std::string_view text) {
  if (!NumberText::isIntegerText(text)) return std::nullopt;
  std::string typed(text);
  const int level = clampToStep(typed, kSquelchMax, 0, 1);
  editImage[layout::kSquelchLevel] = static_cast<std::uint8_t>(level);
  return level;
}

void RadioData::spinTimeOut(int direction) {
  const int seconds =
      stepValue(timeOutTimer() * kTimeOutStepSeconds, kTimeOutMaxSeconds, 0, kTimeOutStepSeconds, direction);
  editImage[layout::kTimeOutTimer] =
      static_cast<std::uint8_t>(std::clamp(seconds, 0, kTimeOutMaxSeconds) / kTimeOutStepSeconds);
}

void RadioData::spinSquelch(int direction) {
  const int level = stepValue(squelchLevel(), kSquelchMax, 0, 1, direction);
  editImage[layout::kSquelchLevel] = static_cast<std::uint8_t>(std::clamp(level, 0, kSquelchMax));
}

void RadioData::setBeepTone(int value) {
  std::uint8_t& flags = editImage[layout::kFeatureFlags];
  flags = static_cast<std::uint8_t>(value & 1 ? flags | layout::kBeepToneBit : flags & ~layout::kBeepToneBit);
}

void RadioData::setBatterySaver(int value) {
  std::uint8_t& flags = editImage[layout::kFeatureFlags];
  flags = static_cast<std::uint8_t>(value & 1 ? flags | layout::kBatterySaverBit
                                              : flags & ~layout::kBatterySaverBit);
}

bool RadioData::setMoniKey(int value) {
  if (!lookupText(value, choices::kMoniKey)) return false;
  editImage[layout::kMoniKey] = static_cast<std::uint8_t>(value);
  return true;
}

RadioData& radioData() {
  static RadioData instance;
  return instance;
}

} // namespace vpr
