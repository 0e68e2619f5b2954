#include "model/DisplayText.h"

#include "lang/CLanguageTable.h"

#include <array>

namespace vpr {

namespace {

constexpr std::array<int, kChannelFieldCount> kChannelHeaderIds = {10030028, 10030007, 10030008, 10030010,
                                                                   10030009, 10030011, 10030012};
constexpr std::array<int, kFeatureItemCount> kFeatureLabelIds = {10041001, 10041002, 10041003, 10041004,
                                                                 10041005};

} // namespace

std::string FieldText::printed() const {
  return applies ? text : DisplayText::kNotApplicable;
}

FieldText DisplayText::choiceText(int value, std::span<const ChoiceEntry> choices) {
  const std::optional<int> id = lookupText(value, choices);
  if (!id) return {{}, false};
  return {textOf(*id), true};
}

FieldText DisplayText::channelCell(int n, const ChannelRecord& record, ChannelField field) {
  if (field == ChannelField::Number) return {std::to_string(n), true};
  if (!record.isProgrammed()) return {{}, false};
  const bool transmit = record.hasTransmit();
  switch (field) {
  case ChannelField::RxFrequency:
    return {formatFrequency(record.rxFreq()), true};
  case ChannelField::TxFrequency:
    return {transmit ? formatFrequency(record.txFreq()) : std::string(), transmit};
  case ChannelField::RxTone:
    return {formatTone(record.rxTone()), true};
  case ChannelField::TxTone:
    return {formatTone(record.txTone()), transmit};
  case ChannelField::OptionA: {
    FieldText option = choiceText(record.optionA(), choices::kChannelOption);
    option.applies = transmit;
    return option;
  }
  case ChannelField::OptionB:
    return choiceText(record.optionB(), choices::kChannelOption);
  case ChannelField::Number:
    break;
  }
  return {{}, false};
}

FieldText DisplayText::channelCell(const ImageView& data, int n, ChannelField field) {
  return channelCell(n, data.channelSlot(n), field);
}

int DisplayText::channelHeaderId(ChannelField field) {
  return kChannelHeaderIds[static_cast<std::size_t>(field)];
}

std::string DisplayText::channelRowsText(const ImageView& data, int first, int last, bool withTitle) {
  std::string text;
  if (withTitle) {
    for (int column = 0; column < kChannelFieldCount; ++column) {
      if (column > 0) text += '\t';
      text += textOf(kChannelHeaderIds[static_cast<std::size_t>(column)]);
    }
    text += '\n';
  }
  for (int n = first; n <= last; ++n) {
    if (n > first) text += '\n';
    text += std::to_string(n);
    const ChannelRecord record = data.channelSlot(n);
    for (int column = 1; column < kChannelFieldCount; ++column) {
      text += '\t';
      text += channelCell(n, record, static_cast<ChannelField>(column)).text;
    }
  }
  return text;
}

FieldText DisplayText::testFrequencyCell(const TestFreqRecord& record, FrequencyField which) {
  const FrequencyCode code = which == FrequencyField::Receive ? record.rxFreq() : record.txFreq();
  return {formatFrequency(code), true};
}

FieldText DisplayText::timeOutTimerText(int units) {
  const int seconds = units * kTimeOutStepSeconds;
  if (units == 0) return {textOf(kTextTimerOff), true};
  if (seconds < 0 || seconds > kTimeOutMaxSeconds) return {{}, false};
  return {std::to_string(seconds), true};
}

FieldText DisplayText::squelchText(int level) {
  if (level < 0 || level > kSquelchMax) return {{}, false};
  return {std::to_string(level), true};
}

FieldText DisplayText::beepToneText(int bit) {
  return choiceText(bit, choices::kBeepTone);
}

FieldText DisplayText::batterySaverText(int bit) {
  return choiceText(bit, choices::kBatterySaver);
}

FieldText DisplayText::wideNarrowText(int narrowSetting, int spacingRestriction) {
  return choiceText(narrowSetting, choices::narrowChoices(spacingRestriction));
}

FieldText DisplayText::moniKeyText(int value) {
  return choiceText(value, choices::kMoniKey);
}

FieldText DisplayText::featureText(const ImageView& data, FeatureItem item) {
  switch (item) {
  case FeatureItem::TimeOutTimer:
    return timeOutTimerText(data.timeOutTimer());
  case FeatureItem::SquelchLevel:
    return squelchText(data.squelchLevel());
  case FeatureItem::BeepTone:
    return beepToneText(data.beepTone());
  case FeatureItem::BatterySaver:
    return batterySaverText(data.batterySaver());
  case FeatureItem::WideNarrow:
    return wideNarrowText(data.narrowSetting(), data.spacingRestriction());
  }
  return {{}, false};
}

int DisplayText::featureLabelId(FeatureItem item) {
  return kFeatureLabelIds[static_cast<std::size_t>(item)];
}

} // namespace vpr
