#include "model/ChannelCsv.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/ChannelEntry.h"
#include "model/DecimalSeparatorScope.h"
#include "model/EntryRules.h"
#include "model/NumberText.h"
#include "model/RadioData.h"

#include <algorithm>
#include <map>

namespace vpr {

namespace {

constexpr int kTextTooLarge = 10066002;
constexpr int kTextNotText = 10066003;
constexpr int kTextChannelBeyond = 10066018;
constexpr int kTextListedTwice = 10066019;
constexpr int kTextNotNumber = 10066020;
constexpr int kTextEmpty = 10066035;
constexpr int kTextUnknownColumns = 10066036;
constexpr int kTextTooManyFields = 10066037;
constexpr int kTextOpenQuote = 10066038;
constexpr int kTextBadDuplex = 10066039;
constexpr int kTextBadToneMode = 10066040;
constexpr int kTextBadMode = 10066041;
constexpr int kTextMixedModes = 10066042;
constexpr int kTextNoSuchSpacing = 10066043;
constexpr int kTextMoreRows = 10066044;
constexpr int kTextBadPolarity = 10066045;
constexpr int kTextNotFrequency = 10066015;
constexpr int kTextWideWord = 10066054;
constexpr int kTextNarrowWord = 10066055;

// Our columns, in the channel grid's order.
constexpr const char* kOwnColumns[] = {"Channel", "RxFrequency", "TxFrequency", "RxTone",
                                       "TxTone",  "OptionA",     "OptionB"};

struct Record {
  int line = 0;
  std::vector<std::string> fields;
};

// Splits the text into records (RFC 4180): quoted fields may hold commas, doubled quotes and line
// ends; CR LF and LF both end a record; empty lines are skipped. Returns false with a problem
// for a quote that is never closed.
bool splitRecords(std::string_view text, std::vector<Record>& records, std::vector<ImportProblem>& problems) {
  int line = 1;
  std::size_t i = 0;
  while (i < text.size()) {
    Record record;
    record.line = line;
    std::string field;
    bool quotedField = false;
    for (;;) {
      if (i < text.size() && text[i] == '"' && field.empty() && !quotedField) {
        quotedField = true;
        const int openedAt = line;
        ++i;
        for (;;) {
          if (i >= text.size()) {
            problems.push_back({openedAt, textOf(kTextOpenQuote)});
            return false;
          }
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n') ++line;
          field += text[i++];
        }
        continue;
      }
      if (i >= text.size() || text[i] == ',' || text[i] == '\n' || text[i] == '\r') {
        record.fields.push_back(std::move(field));
        field.clear();
        quotedField = false;
        if (i < text.size() && text[i] == ',') {
          ++i;
          continue;
        }
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
        ++line;
        break;
      }
      field += text[i++];
    }
    const bool blank = record.fields.size() == 1 && record.fields[0].empty();
    if (!blank) records.push_back(std::move(record));
  }
  return true;
}

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// The column positions of a header, by name (case ignored).
class Columns {
public:
  explicit Columns(const std::vector<std::string>& header) : count_(header.size()) {
    for (std::size_t i = 0; i < header.size(); ++i) {
      std::string name = trimmed(header[i]);
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
      positions_.emplace(name, i);
    }
  }
  bool has(std::string name) const { return positions_.count(lower(std::move(name))) != 0; }
  // The trimmed cell of the named column; empty when the row is short or there is no such column.
  std::string cell(const Record& record, std::string name) const {
    const auto it = positions_.find(lower(std::move(name)));
    if (it == positions_.end() || it->second >= record.fields.size()) return {};
    return trimmed(record.fields[it->second]);
  }
  std::size_t count() const { return count_; }

private:
  static std::string lower(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
  }
  std::map<std::string, std::size_t> positions_;
  std::size_t count_;
};

// A frequency in MHz with at most six decimals, in Hz.
std::optional<long long> hertzOf(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const std::optional<int> mhz = EntryRules::wholeNumber(whole);
  if (!mhz || fraction.size() > 6 || (point != std::string_view::npos && fraction.empty()))
    return std::nullopt;
  std::string digits(fraction);
  digits.resize(6, '0');
  const std::optional<int> hz = EntryRules::wholeNumber(digits);
  if (!hz) return std::nullopt;
  return static_cast<long long>(*mhz) * 1000000 + *hz;
}

std::string mhzText(long long hertz) {
  return NumberText::formatFixed(static_cast<double>(hertz) / 1e6, 6);
}

// One row of a list, turned into a channel entry; problems are added for what cannot be.
struct Row {
  int line = 0;
  ChannelEntry entry;
  int narrow = -1; // 0 FM, 1 NFM, -1 the row says nothing
  bool valid = true;
};

void convertAmateurRow(const Columns& columns, const Record& record, Row& row,
                       std::vector<ImportProblem>& problems) {
  const auto problem = [&](std::string reason) {
    problems.push_back({record.line, std::move(reason)});
    row.valid = false;
  };
  ChannelEntry& entry = row.entry;
  const std::string frequency = columns.cell(record, "Frequency");
  entry.rxFrequency.set(frequency, record.line);

  const std::string duplex = columns.cell(record, "Duplex");
  const std::string offset = columns.cell(record, "Offset");
  if (duplex.empty()) {
    entry.txFrequency.set(frequency, record.line);
  } else if (duplex == "off") {
    entry.txFrequency.set("", record.line);
  } else if (duplex == "split") {
    entry.txFrequency.set(offset, record.line);
  } else if (duplex == "+" || duplex == "-") {
    const auto rx = hertzOf(frequency);
    const auto shift = hertzOf(offset);
    if (!shift) return problem(formatText(textOf(kTextNotFrequency), {offset}));
    // The receive frequency is checked with the entry rules below.
    if (rx) entry.txFrequency.set(mhzText(duplex == "+" ? *rx + *shift : *rx - *shift), record.line);
  } else {
    return problem(formatText(textOf(kTextBadDuplex), {duplex}));
  }

  const std::string tone = columns.cell(record, "Tone");
  std::string rxTone = EntryRules::kToneOffWord;
  std::string txTone = EntryRules::kToneOffWord;
  if (tone == "Tone") {
    txTone = columns.cell(record, "rToneFreq");
  } else if (tone == "TSQL") {
    rxTone = txTone = columns.cell(record, "cToneFreq");
  } else if (tone == "DTCS") {
    std::string code = columns.cell(record, "DtcsCode");
    if (code.size() < 3) code.insert(0, 3 - code.size(), '0');
    std::string polarity = columns.cell(record, "DtcsPolarity");
    if (polarity.empty()) polarity = "NN";
    const auto letter = [](char p) { return p == 'R' ? 'I' : 'N'; };
    if (polarity.size() != 2 || polarity.find_first_not_of("NR") != std::string::npos)
      return problem(formatText(textOf(kTextBadPolarity), {polarity}));
    txTone = "D" + code + letter(polarity[0]);
    rxTone = "D" + code + letter(polarity[1]);
  } else if (!tone.empty()) {
    return problem(formatText(textOf(kTextBadToneMode), {tone}));
  }
  entry.rxTone.set(rxTone, record.line);
  if (!entry.txFrequency.text.empty()) entry.txTone.set(txTone, record.line);

  const std::string mode = columns.cell(record, "Mode");
  if (mode == "FM") {
    row.narrow = 0;
  } else if (mode == "NFM") {
    row.narrow = 1;
  } else if (!mode.empty()) {
    problem(formatText(textOf(kTextBadMode), {mode}));
  }
}

void convertOwnRow(const Columns& columns, const Record& record, Row& row,
                   std::vector<ImportProblem>& problems) {
  ChannelEntry& entry = row.entry;
  const std::string number = columns.cell(record, "Channel");
  const std::optional<int> n = EntryRules::wholeNumber(number);
  if (!n) {
    problems.push_back({record.line, formatText(textOf(kTextNotNumber), {number})});
    row.valid = false;
  }
  entry.number = n.value_or(0);
  const auto take = [&](const char* column, EntryField& field) {
    if (columns.has(column)) field.set(columns.cell(record, column), record.line);
  };
  take("RxFrequency", entry.rxFrequency);
  take("TxFrequency", entry.txFrequency);
  take("RxTone", entry.rxTone);
  take("TxTone", entry.txTone);
  take("OptionA", entry.optionA);
  take("OptionB", entry.optionB);
  // An empty option cell leaves the option as a new channel has it.
  if (entry.optionA.text.empty()) entry.optionA.given = false;
  if (entry.optionB.text.empty()) entry.optionB.given = false;
}

} // namespace

std::string ChannelCsv::exportChannels(const RadioImage& image) {
  const DecimalSeparatorScope dot('.');
  const ImageView view(image);
  std::string out;
  for (const char* column : kOwnColumns) {
    if (!out.empty()) out += ',';
    out += column;
  }
  out += '\n';
  for (int n = 1; n <= view.channelCount(); ++n) {
    const ChannelRecord record = view.channelSlot(n);
    if (!record.isProgrammed()) continue;
    const ChannelEntry entry = ChannelEntry::fromRecord(n, record);
    out += std::to_string(n);
    for (const EntryField* field : {&entry.rxFrequency, &entry.txFrequency, &entry.rxTone, &entry.txTone,
                                    &entry.optionA, &entry.optionB})
      out += "," + field->text;
    out += '\n';
  }
  return out;
}

ChannelCsv::Result ChannelCsv::importText(const RadioImage& image, std::string_view text, Rows rows) {
  const DecimalSeparatorScope dot('.');
  Result result;
  auto& problems = result.problems;
  const auto fileProblem = [&](int line, std::string reason) {
    problems.push_back({line, std::move(reason)});
    result.rowsOnly = false;
    return result;
  };
  if (text.size() > kMaxFileSize)
    return fileProblem(0, formatText(textOf(kTextTooLarge), {int(kMaxFileSize)}));
  if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos)
    return fileProblem(int(std::count(text.begin(), text.begin() + zero, '\n')) + 1, textOf(kTextNotText));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  std::vector<Record> records;
  if (!splitRecords(text, records, problems)) {
    result.rowsOnly = false;
    return result;
  }
  if (records.empty()) return fileProblem(0, textOf(kTextEmpty));

  const Columns columns(records.front().fields);
  const bool own = columns.has("Channel") && columns.has("RxFrequency");
  const bool amateur = columns.has("Location") && columns.has("Frequency");
  if (!own && !amateur) return fileProblem(records.front().line, textOf(kTextUnknownColumns));

  RadioData data;
  data.transferImage = image;
  data.adoptTransferImage();
  const int count = data.channelCount();

  // Turn the rows into entries and check each one as the grid would.
  std::vector<Row> list;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const Record& record = records[r];
    Row row;
    row.line = record.line;
    row.entry.line = record.line;
    if (record.fields.size() > columns.count()) {
      problems.push_back({record.line, formatText(textOf(kTextTooManyFields),
                                                  {int(record.fields.size()), int(columns.count())})});
      row.valid = false;
    } else if (own) {
      convertOwnRow(columns, record, row, problems);
    } else {
      convertAmateurRow(columns, record, row, problems);
    }
    list.push_back(std::move(row));
  }

  // One wide/narrow setting for the whole radio: the first row that names a mode decides, and the
  // model must offer it.
  int narrow = -1;
  const int narrowBefore = data.narrowSetting();
  const auto allowed = choices::narrowChoices(data.spacingRestriction());
  for (Row& row : list) {
    if (!row.valid || row.narrow < 0) continue;
    const auto wordOf = [](int value) { return textOf(value ? kTextNarrowWord : kTextWideWord); };
    if (std::none_of(allowed.begin(), allowed.end(),
                     [&](const ChoiceEntry& c) { return c.value == row.narrow; })) {
      problems.push_back({row.line, formatText(textOf(kTextNoSuchSpacing), {wordOf(row.narrow)})});
      row.valid = false;
    } else if (narrow < 0) {
      narrow = row.narrow;
    } else if (row.narrow != narrow) {
      problems.push_back(
          {row.line, formatText(textOf(kTextMixedModes), {wordOf(row.narrow), wordOf(narrow)})});
      row.valid = false;
    }
  }
  if (narrow >= 0) ChannelEntry::useNarrowSetting(data, narrow);

  // Channel numbers: our rows name theirs, the other lists fill channels in row order.
  std::map<int, int> lineOfChannel;
  int next = 1;
  for (Row& row : list) {
    if (!row.valid) continue;
    if (amateur && !own) row.entry.number = next;
    if (row.entry.number < 1 || row.entry.number > count) {
      problems.push_back({row.line, own ? formatText(textOf(kTextChannelBeyond), {row.entry.number, count})
                                        : formatText(textOf(kTextMoreRows), {count})});
      row.valid = false;
      continue;
    }
    if (!lineOfChannel.emplace(row.entry.number, row.line).second) {
      problems.push_back({row.line, formatText(textOf(kTextListedTwice), {row.entry.number})});
      row.valid = false;
      continue;
    }
    if (!row.entry.check(data, problems)) {
      row.valid = false;
      lineOfChannel.erase(row.entry.number);
      continue;
    }
    ++next;
  }

  std::stable_sort(problems.begin(), problems.end(),
                   [](const ImportProblem& a, const ImportProblem& b) { return a.line < b.line; });
  if (!problems.empty() && rows == Rows::AllOrNothing) return result;

  data.deleteChannels(1, count);
  for (const Row& row : list) {
    if (!row.valid) continue;
    row.entry.store(data);
    ++result.channelsStored;
  }
  // A changed setting reaches every record, as when chosen in the optional features.
  if (narrow >= 0 && narrow != narrowBefore) data.applyNarrowSetting(narrow);
  result.image = data.editImage;
  return result;
}

} // namespace vpr
