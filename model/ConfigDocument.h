#pragma once
// The configuration document in memory, between its YAML text and the image: the model and band,
// the wide/narrow setting, the optional features and Moni key, the channel and test-frequency
// lists, the adjustment values and the raw bytes, each as the text the document gives and the
// line it stood on. An image is shown as a document the way the editing views show it.
//
// This unit holds no YAML syntax (ConfigReader, ConfigWriter) and no rules for storing values
// (ConfigBuilder); it is what they pass between them.

#include "model/ChannelEntry.h"
#include "model/ImageView.h"
#include "model/RadioImage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vpr {

struct ConfigTestFreqEntry {
  int number = 0;
  int line = 0;
  EntryField rxFrequency;
  EntryField txFrequency;

  // Record k as the test-frequency view shows it.
  static ConfigTestFreqEntry fromRecord(int k, const TestFreqRecord& record);
  bool sameCells(const ConfigTestFreqEntry& other) const {
    return rxFrequency == other.rxFrequency && txFrequency == other.txFrequency;
  }
};

// The optional features and the Moni key.
struct ConfigOptions {
  EntryField timeOutTimer, squelchLevel, beepTone, batterySaver, moniKey;

  // As the views show them: a stored value outside its range gives an empty text.
  static ConfigOptions fromImage(const ImageView& view);
  bool operator==(const ConfigOptions&) const = default;
};

// Bytes given as they are, from offset on.
struct ConfigRawRun {
  std::size_t offset = 0;
  std::vector<std::uint8_t> bytes;
  int line = 0;
};

// A group of image bytes that one part of the document describes.
struct ConfigSection {
  std::size_t offset;
  std::size_t size;
  bool contains(std::size_t at) const { return at >= offset && at < offset + size; }
};

struct ConfigDocument {
  // Version 2 builds on the model's default image; version 1 documents (written before) with a
  // raw section build on a cleared image, as they were written for.
  static constexpr const char* kFormatName = "VPR-40T configuration 2";
  static constexpr const char* kFormatNameFirst = "VPR-40T configuration 1";
  static constexpr const char* kWide = "wide";
  static constexpr const char* kNarrow = "narrow";
  // Moni key functions 0..3, as the document names them.
  static constexpr std::array<const char*, 4> kMoniKeyWords = {"off", "monitor", "squelch_off_momentary",
                                                               "squelch_off"};

  EntryField format, model, band, wideNarrow;
  ConfigOptions options;
  std::vector<ChannelEntry> channels;
  std::vector<ConfigTestFreqEntry> testFrequencies;
  std::array<EntryField, layout::kAdjustItemCount> adjustments;
  std::vector<ConfigRawRun> raw;
  bool rawGiven = false; // the document has a raw section, maybe an empty one
  // A list that is there names every programmed record; without it the records stay as the
  // image the document builds on holds them.
  bool channelsGiven = false;
  bool testFrequenciesGiven = false;

  // Every entry of the image, as the views show it (no raw bytes).
  static ConfigDocument fromImage(const RadioImage& image);
  // The model and band names of a listed model code; nothing for another code.
  void setModelOf(const ImageView& view);

  // Bytes no entry and no raw run mention are those of the model's default image, except in
  // the version 1 documents written so far, which name every byte that is not 0xFF.
  bool buildsOnDefaultImage() const { return format.text != kFormatNameFirst || !rawGiven; }

  // The image a document builds on for a model code: the default image of its model row, or a
  // cleared image for a code no row lists.
  static RadioImage baseImageFor(const ModelCode& code);
  // The parts of the image entries describe, for a model with that many channels: the model
  // code, the option bytes, each channel and test-frequency record, each adjustment value.
  static std::vector<ConfigSection> sectionsFor(int channelCount);
};

} // namespace vpr
