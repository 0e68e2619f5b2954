#include "model/ConfigReader.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/ConfigInputGuard.h"
#include "model/EntryRules.h"

#include <yaml-cpp/yaml.h>

#include <set>
#include <sstream>

namespace vpr {

namespace {

constexpr int kTextNotConfiguration = 10066004;
constexpr int kTextSyntax = 10066005;
constexpr int kTextUnknownKey = 10066006;
constexpr int kTextNeedsValue = 10066007;
constexpr int kTextNeedsList = 10066008;
constexpr int kTextNeedsMapping = 10066009;
constexpr int kTextNotNumber = 10066020;
constexpr int kTextBadOffset = 10066030;
constexpr int kTextBadHex = 10066031;
constexpr int kTextPastEnd = 10066032;
constexpr int kTextSeveralDocuments = 10066053;
constexpr int kTextKeyTwice = 10066056;

// Walks the loaded nodes into a document: every key known, every value of the expected kind.
class NodeReader {
public:
  explicit NodeReader(std::vector<ImportProblem>& problems) : problems_(problems) {}

  ConfigDocument read(const YAML::Node& root) {
    ConfigDocument doc;
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
    if (!doc.format.given || (doc.format.text != ConfigDocument::kFormatName &&
                              doc.format.text != ConfigDocument::kFormatNameFirst))
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

  void readFeatures(const YAML::Node& node, ConfigOptions& options) {
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

  ConfigTestFreqEntry readTestFreq(const YAML::Node& node) {
    ConfigTestFreqEntry entry;
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

  void readRaw(const YAML::Node& node, std::vector<ConfigRawRun>& runs) {
    if (node.IsNull()) return;
    if (!isMapping(node, "raw")) return;
    forEachKey(node, [&](const std::string& key, const YAML::Node& value) {
      ConfigRawRun run;
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

std::optional<ConfigDocument> ConfigReader::read(const std::string& text,
                                                 std::vector<ImportProblem>& problems) {
  YAML::Node root;
  try {
    {
      std::istringstream stream(text);
      YAML::Parser parser(stream);
      ConfigInputGuard guard;
      parser.HandleNextDocument(guard);
      if (parser.HandleNextDocument(guard)) {
        problems.push_back({0, textOf(kTextSeveralDocuments)});
        return std::nullopt;
      }
    }
    root = YAML::Load(text);
  } catch (const ConfigInputGuard::Stop& stop) {
    problems.push_back({stop.line, stop.reason});
    return std::nullopt;
  } catch (const YAML::Exception& error) {
    problems.push_back({error.mark.line + 1, formatText(textOf(kTextSyntax), {error.msg})});
    return std::nullopt;
  }
  const std::size_t before = problems.size();
  ConfigDocument doc = NodeReader(problems).read(root);
  if (problems.size() != before) return std::nullopt;
  return doc;
}

} // namespace vpr
