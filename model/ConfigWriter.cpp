#include "model/ConfigWriter.h"

#include <algorithm>
#include <cstdio>

namespace vpr {

namespace {

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

} // namespace

std::string ConfigWriter::write(const ConfigDocument& doc) {
  std::string out;
  out += "# VPR-40T radio configuration. Values are written as the program's views show them and\n"
         "# checked as if typed when read back; adjustments are the bytes the image stores. The raw\n"
         "# section holds what no view shows and differs from the model's new image, each byte once.\n";
  writeField(out, "", "format", doc.format, true);
  writeField(out, "", "model", doc.model, true);
  writeField(out, "", "band", doc.band, true);
  writeField(out, "", "wide_narrow", doc.wideNarrow, false);
  const ConfigOptions& o = doc.options;
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
  for (const ConfigTestFreqEntry& entry : doc.testFrequencies) {
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
  for (const ConfigRawRun& run : doc.raw) {
    char offset[16];
    std::snprintf(offset, sizeof offset, "  \"0x%03zX\": ", run.offset);
    out += offset + quoted(hexBytes(run.bytes.data(), run.bytes.size())) + '\n';
  }
  return out;
}

} // namespace vpr
