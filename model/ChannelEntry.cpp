#include "model/ChannelEntry.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/EntryRules.h"

#include <algorithm>

namespace vpr {

namespace {

constexpr int kTextReceiveMissing = 10066022;
constexpr int kTextNoTransmitFor = 10066021;
constexpr int kTextNotOnOff = 10066023;
constexpr int kTextTransmitToneName = 10066050;
constexpr int kTextOptionAName = 10066051;

int lineOf(const EntryField& field, int fallback) {
  return field.line > 0 ? field.line : fallback;
}

} // namespace

ChannelEntry ChannelEntry::fromRecord(int n, const ChannelRecord& record) {
  ChannelEntry entry;
  entry.number = n;
  entry.rxFrequency.set(formatFrequency(record.rxFreq()), 0);
  entry.txFrequency.set(formatFrequency(record.txFreq()), 0);
  entry.rxTone.set(EntryRules::toneText(record.rxTone()), 0);
  if (record.hasTransmit()) {
    entry.txTone.set(EntryRules::toneText(record.txTone()), 0);
    entry.optionA.set(EntryRules::optionText(record.optionA()), 0);
  }
  entry.optionB.set(EntryRules::optionText(record.optionB()), 0);
  return entry;
}

bool ChannelEntry::sameCells(const ChannelEntry& other) const {
  return rxFrequency == other.rxFrequency && txFrequency == other.txFrequency && rxTone == other.rxTone &&
         txTone == other.txTone && optionA == other.optionA && optionB == other.optionB;
}

bool ChannelEntry::check(const RadioData& data, std::vector<ImportProblem>& problems) const {
  const std::size_t before = problems.size();
  // Two fields with the same wrong value (the tone of a list that sets receive and transmit tone
  // from one cell) have the same problem on the same line: it is named once.
  const auto add = [&](const EntryField& field, std::string reason) {
    ImportProblem problem{lineOf(field, line), std::move(reason)};
    if (std::find(problems.begin() + static_cast<std::ptrdiff_t>(before), problems.end(), problem) ==
        problems.end())
      problems.push_back(std::move(problem));
  };
  if (rxFrequency.text.empty()) {
    add(rxFrequency, textOf(kTextReceiveMissing));
  } else if (auto problem = EntryRules::frequencyProblem(rxFrequency.text, data.bandLimits())) {
    add(rxFrequency, *problem);
  }
  const bool hasTransmit = !txFrequency.text.empty();
  // A transmit frequency equal to the receive one has the same problem, named once.
  if (hasTransmit && txFrequency.text != rxFrequency.text) {
    if (auto problem = EntryRules::frequencyProblem(txFrequency.text, data.bandLimits()))
      add(txFrequency, *problem);
  }
  if (auto problem = EntryRules::toneProblem(rxTone.text)) add(rxTone, *problem);
  if (auto problem = EntryRules::toneProblem(txTone.text)) {
    add(txTone, *problem);
  } else if (!hasTransmit && !EntryRules::toneEntryText(txTone.text).empty()) {
    add(txTone, formatText(textOf(kTextNoTransmitFor), {textOf(kTextTransmitToneName)}));
  }
  for (const EntryField* option : {&optionA, &optionB}) {
    if (option->given && !EntryRules::switchValue(option->text))
      add(*option, formatText(textOf(kTextNotOnOff), {option->text}));
  }
  if (!hasTransmit && optionA.given && EntryRules::switchValue(optionA.text) == 1)
    add(optionA, formatText(textOf(kTextNoTransmitFor), {textOf(kTextOptionAName)}));
  return problems.size() == before;
}

void ChannelEntry::useNarrowSetting(RadioData& data, int value) {
  // applyNarrowSetting also rewrites the records; they are put back as they were.
  const RadioImage records = data.editImage;
  data.applyNarrowSetting(value);
  data.editImage = records;
}

void ChannelEntry::store(RadioData& data) const {
  if (rxFrequency.text.empty()) {
    data.deleteChannel(number);
    return;
  }
  std::string receive = rxFrequency.text;
  data.setChannelFrequency(number, receive, FrequencyField::Receive);
  std::string transmit = txFrequency.text;
  data.setChannelFrequency(number, transmit, FrequencyField::Transmit);
  data.setChannelTone(number, ToneField::Receive, EntryRules::toneEntryText(rxTone.text), false);
  data.setChannelTone(number, ToneField::Transmit, EntryRules::toneEntryText(txTone.text), false);
  // Options are shown as "on" for bit 0.
  if (optionA.given) data.setChannelOption(number, 0, 1 - *EntryRules::switchValue(optionA.text));
  if (optionB.given) data.setChannelOption(number, 1, 1 - *EntryRules::switchValue(optionB.text));
}

} // namespace vpr
