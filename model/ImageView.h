#pragma once
// A read-only view of one image: its model, channels, test frequencies and radio-wide options,
// decoded the way the editing views show them. Exporting, comparing, reporting and printing read an
// image through it; RadioData (undo history, clipboards, the rules by which fields change) is for
// editing and answers its own read questions through a view of its working image, so the image is
// decoded in this one place.
//
// A view holds a reference to the image, never a copy: it sees later changes and must not outlive
// the image. The wide/narrow setting is not stored in the image as such; a view either carries the
// setting its document keeps or derives it from the records as a freshly opened file gets it.

#include "model/ChannelRecord.h"
#include "model/ModelCatalogue.h"
#include "model/RadioImage.h"
#include "model/ValueCodec.h"

#include <optional>
#include <string>

namespace vpr {

class ImageView {
public:
  // The wide/narrow setting derived from the records.
  explicit ImageView(const RadioImage& image) : image_(&image) {}
  // The wide/narrow setting a document keeps for the image.
  ImageView(const RadioImage& image, int narrowSetting) : image_(&image), narrowSetting_(narrowSetting) {}
  // A view of a temporary would dangle.
  explicit ImageView(const RadioImage&&) = delete;
  ImageView(const RadioImage&&, int) = delete;

  const RadioImage& image() const { return *image_; }

  // ---- The model (the model code in the image) ----
  ModelCode modelCode() const { return modelCodeOf(*image_); }
  // Row 0..24 of the model table; -1 when the code is unlisted.
  int modelRow() const { return ModelCatalogue::findModelRow(modelCode()); }
  bool isListedModel() const { return modelRow() >= 0; }
  int modelNumber() const { return ModelCatalogue::modelNumber(modelCode()); }
  int channelCount() const { return ModelCatalogue::channelCount(modelCode()); }
  int spacingRestriction() const { return ModelCatalogue::spacingRestriction(modelCode()); }
  int bandKind() const { return ModelCatalogue::bandKind(modelCode()); }
  std::uint8_t bandCode() const { return ModelCatalogue::bandByte(modelCode()); }
  double bandLimit(bool upper) const { return ModelCatalogue::bandLimit(modelCode(), upper); }
  BandLimits bandLimits() const { return {bandLimit(false), bandLimit(true), bandKind()}; }
  std::string modelNameText() const { return ModelCatalogue::modelNameText(modelCode()); }
  std::string bandNameText() const { return ModelCatalogue::bandNameText(modelCode()); }
  std::string titleText() const { return ModelCatalogue::titleText(modelCode()); }
  std::string modelNameWithKind() const { return ModelCatalogue::modelNameWithKind(modelCode()); }

  // ---- The radio-wide wide/narrow setting (0 wide, 1 narrow) ----
  int narrowSetting() const { return narrowSetting_ ? *narrowSetting_ : derivedNarrowSetting(0); }
  // From the first programmed channel within the channel count; without one, from the spacing
  // restriction (2 gives 1, 1 gives 0, 0 gives `otherwise`).
  int derivedNarrowSetting(int otherwise) const;
  // Whether the user may choose between wide and narrow (the model allows both).
  bool isNarrowSettingSelectable() const { return spacingRestriction() == 0; }

  // ---- Channels ----
  // The record of channel n, or nothing when it is empty or n is outside 1..channelCount().
  std::optional<ChannelRecord> channelRecord(int n) const;
  // The raw record of any slot 1..16, programmed or not (an empty record for other numbers).
  ChannelRecord channelSlot(int n) const;
  // Whether a cell of the channel grid may be edited (field 1 receive ... 6 option B): every
  // field of a programmed channel, only the receive frequency of an empty one; transmit tone and
  // option A only with transmit.
  bool isChannelFieldEditable(int n, int field) const;

  // ---- Test frequencies (k = 1..16; an empty record for other numbers) ----
  TestFreqRecord testFrequency(int k) const;

  // ---- Radio-wide options, as stored ----
  int timeOutTimer() const { return (*image_)[layout::kTimeOutTimer]; } // units of 30 s
  int squelchLevel() const { return (*image_)[layout::kSquelchLevel]; }
  int moniKey() const { return (*image_)[layout::kMoniKey]; }
  int beepTone() const { return (*image_)[layout::kFeatureFlags] & layout::kBeepToneBit ? 1 : 0; }
  int batterySaver() const { return (*image_)[layout::kFeatureFlags] & layout::kBatterySaverBit ? 1 : 0; }

private:
  const RadioImage* image_;
  std::optional<int> narrowSetting_;
};

} // namespace vpr
