#pragma once
// The radio data the program works on: the three image buffers, the two record clipboards, the
// radio-wide wide/narrow setting and the band limits of the current model, with every rule by
// which records and fields of the working image are changed.
//
// The program has one instance, radioData(); tests construct their own. Nothing here talks to
// the user: operations report what happened and the caller shows the messages.
//
//  editImage      the working image; every view edits it, Save and Write send it.
//  transferImage  landing area of Open and Read (committed only after a complete transfer) and
//                 working copy of the memory map.
//  savedImage     snapshot of editImage when last created, opened or saved (isModified).
//
// Every change a user makes to editImage ends with recordStep(name), which makes it one step of
// the undo history; New, Open, Read and start-up begin a fresh history.

#include "model/ChannelRecord.h"
#include "model/ImageView.h"
#include "model/ModelCatalogue.h"
#include "model/RadioImage.h"
#include "model/RecordClipboard.h"
#include "model/UndoHistory.h"
#include "model/ValueCodec.h"

#include <optional>
#include <string>

namespace vpr {

// Which frequency of a record an entry is for.
enum class FrequencyField { Receive, Transmit };
// Which tone of a channel an entry is for.
enum class ToneField { Receive, Transmit };

// The outcome of a frequency entry. OutOfBand: the value was stored all the same (after the
// band check's rewriting); the caller warns with text 10026016 (receive) or 10026017 (transmit).
// Refused: nothing was stored (a number outside the channel count or 1..16, or a transmit
// entry into an empty record, which the views never offer).
enum class EntryResult { InBand, OutOfBand, Refused };

class RadioData {
public:
  // Text identifiers of the out-of-band warnings.
  static constexpr int kTextReceiveOutOfBand = 10026016;
  static constexpr int kTextTransmitOutOfBand = 10026017;
  static int outOfBandTextId(FrequencyField which) {
    return which == FrequencyField::Receive ? kTextReceiveOutOfBand : kTextTransmitOutOfBand;
  }

  // All three buffers start cleared (0xFF), narrowSetting 0, band limits 150..174 MHz VHF.
  RadioData();

  RadioImage editImage;
  RadioImage transferImage;
  RadioImage savedImage;

  // ---- Whole-image operations ----
  // Fills editImage with 0xFF, then copies it into transferImage.
  void clearImage();
  // Copies transferImage into editImage.
  void commitTransfer();
  // Copies editImage into transferImage.
  void mirrorEdit();
  // Copies editImage into savedImage.
  void markSaved();
  // Copies editImage into transferImage (a visible side effect), then tells whether any of the
  // 1024 bytes differs from savedImage.
  bool isModified();
  // Fills in a new image's defaults on a freshly cleared image: model code (only with
  // resetModel), band limits, narrowSetting, default test frequencies, channel map, flags,
  // time-out timer, Moni key, squelch and battery saver by model, band data of the HX-5470.
  void buildDefaultImage(bool resetModel);

  // ---- Life-cycle steps built from the above ----
  // Start-up: a listed remembered model code is kept, any other gives the default model.
  void startUp(const std::optional<ModelCode>& rememberedModel);
  // New: the current model code stays (the default when it is not listed); the image is cleared,
  // rebuilt and marked saved.
  void newImage();
  // A new default image for the given model code (the default code when it is not listed);
  // marked saved, both record clipboards emptied.
  void resetToModel(const ModelCode& code);
  // After a successful Open or a complete read: transferImage becomes the working image, band
  // limits and narrowSetting follow it, it is marked saved and both clipboards are emptied.
  void adoptTransferImage();
  // The default image of a model code, built on a scratch instance (used by tools and the
  // virtual radio).
  static RadioImage defaultImage(const ModelCode& code);

  // ---- Undo and redo ----
  // Makes whatever changed in editImage (and narrowSetting) since the last step one undoable step
  // named `name`, the text the Undo item shows ("RX Freq. of channel 3"). Nothing is recorded
  // when nothing changed, so a caller may record after every attempt. Views, clipboard pastes,
  // model changes, the memory map, the test mode and imports all end their changes with this.
  bool recordStep(const std::string& name);
  // Puts back the state before the last step (after the next undone step); the band limits follow
  // the restored model code. False, and nothing changes, when there is nothing to undo (redo).
  bool undoStep();
  bool redoStep();
  // Forgets every step; the current image is where the next one starts.
  void startFreshHistory();
  UndoHistory& history() { return history_; }
  const UndoHistory& history() const { return history_; }

  // ---- Reading the working image ----
  // A read-only view of editImage with the document's wide/narrow setting; it decodes every read
  // below. Anything that only reads (display texts, printing, reports) takes the view, so a
  // RadioData converts to one as a string converts to a string_view.
  ImageView view() const { return ImageView(editImage, narrowSetting_); }
  operator ImageView() const { return view(); } // NOLINT(google-explicit-constructor)

  // ---- The current model (the model code in editImage) ----
  ModelCode modelCode() const { return view().modelCode(); }
  int findModelRow() const { return view().modelRow(); }
  bool isListedModel() const { return view().isListedModel(); }
  int modelNumber() const { return view().modelNumber(); }
  int channelCount() const { return view().channelCount(); }
  int spacingRestriction() const { return view().spacingRestriction(); }
  int bandKind() const { return view().bandKind(); }
  std::uint8_t bandCode() const { return view().bandCode(); }
  double bandLimit(bool upper) const { return view().bandLimit(upper); }
  std::string modelNameText() const { return view().modelNameText(); }
  std::string bandNameText() const { return view().bandNameText(); }
  std::string titleText() const { return view().titleText(); }
  std::string modelNameWithKind() const { return view().modelNameWithKind(); }

  // ---- Changes of the current model ----
  void setDefaultModelCode();
  // Writes the reversed code of model 0..9 into model code bytes 3..7 (other numbers: nothing).
  void setModelNumber(int modelNumber);
  // Model code byte 2 := b; bytes 0 and 1 := 0.
  void setBandByte(std::uint8_t bandByte);
  // Sets the band limits from the current model code.
  void applyBandLimits();
  void setBandLimits(double lower, double upper, int kind) { limits_ = {lower, upper, kind}; }
  const BandLimits& bandLimits() const { return limits_; }

  // ---- The radio-wide wide/narrow setting (0 wide, 1 narrow) ----
  int narrowSetting() const { return narrowSetting_; }
  // 1 when the model allows only narrow, else 0.
  void initNarrowSetting();
  // From the first programmed channel within the channel count; without one, from the
  // spacing restriction (2 gives 1, 1 gives 0, 0 keeps the setting).
  void deriveNarrowSetting();
  // Whether the user may choose between wide and narrow (the model allows both).
  bool isNarrowSettingSelectable() const { return view().isNarrowSettingSelectable(); }
  // Stores the setting and puts it into the narrow bit of every programmed channel and
  // test-frequency record.
  void applyNarrowSetting(int value);

  // ---- Channels (n = 1..channelCount(); other numbers are refused) ----
  // The record, or nothing when it is empty or n is refused.
  std::optional<ChannelRecord> channelRecord(int n) const { return view().channelRecord(n); }
  // The raw record of any slot 1..16, programmed or not (an empty record for other numbers).
  ChannelRecord channelSlot(int n) const { return view().channelSlot(n); }
  bool deleteChannel(int n);
  bool deleteChannels(int first, int last);
  // The text is rewritten by the band check (it is the caller's editor text). An empty receive
  // entry deletes the channel; an empty transmit entry makes the channel receive-only. A
  // receive entry into an empty channel creates it (transmit = receive, both options 1, narrow
  // bit = narrowSetting, tones off); a transmit entry into a receive-only channel first copies
  // the receive tone into the transmit tone.
  EntryResult setChannelFrequency(int n, std::string& text, FrequencyField which);
  // Stores a tone into a programmed channel; the transmit tone only when the channel has
  // transmit. A typed receive tone also becomes the transmit tone when the channel has transmit
  // and its transmit tone is off. Returns whether anything was stored.
  bool setChannelTone(int n, ToneField which, std::string_view text, bool typed);
  // Option A (bit 0, only with transmit) or option B (bit 1) of a programmed channel := the
  // value's lowest bit. Returns whether anything was stored.
  bool setChannelOption(int n, int bit, int value);
  // Whether a cell of the channel grid may be edited (field 1 receive ... 6 option B): every
  // field of a programmed channel, only the receive frequency of an empty one; transmit tone and
  // option A only with transmit.
  bool isChannelFieldEditable(int n, int field) const { return view().isChannelFieldEditable(n, field); }

  // ---- Test frequencies (k = 1..16) ----
  TestFreqRecord testFrequency(int k) const { return view().testFrequency(k); }
  // Receive entry: receive (and transmit, when the record has none); transmit entry: transmit.
  // An empty entry erases the whole record (the caller then runs ensureTestFrequencies, so that
  // the table is never left empty). Out of band is reported, the value stored anyway. A
  // transmit entry into an empty record is refused.
  EntryResult setTestFrequency(int k, std::string& text, FrequencyField which);
  // Erases records first..last, then brings back the defaults when none is left.
  void deleteTestFrequencies(int first, int last);
  // When no test-frequency record is programmed, the band's defaults come back.
  void ensureTestFrequencies();
  // All 16 records 0xFF, then for a listed model records 1..8 from the band's defaults.
  void loadDefaultTestFrequencies();

  // ---- Record clipboards ----
  // Copies channels first..last (clamped to 1..channelCount()); nothing when last < first.
  void copyChannels(int first, int last);
  // Entry i goes to channel target + i when that exists; empty entries leave the target as it
  // is; each written record takes narrowSetting. Returns the number of channels written.
  int pasteChannels(int target);
  // Copies records first..last (clamped to 1..16), programmed or not.
  void copyTestFrequencies(int first, int last);
  // Entry i goes to record target + i while that is at most 16, empty entries included; each
  // written record takes narrowSetting. Returns the number of records written.
  int pasteTestFrequencies(int target);
  const RecordClipboard& channelClipboard() const { return channelClipboard_; }
  const RecordClipboard& testFreqClipboard() const { return testFreqClipboard_; }
  void clearClipboards();

  // ---- Radio-wide options ----
  int timeOutTimer() const { return view().timeOutTimer(); } // units of 30 s
  int squelchLevel() const { return view().squelchLevel(); }
  int moniKey() const { return view().moniKey(); }
  int beepTone() const { return view().beepTone(); }
  int batterySaver() const { return view().batterySaver(); }
  // A typed time-out in seconds: clamped to 0..300 and lowered to a multiple of 30; 0 = off
  // (also for a blank text). Returns the seconds stored; nothing is stored for a text that is
  // not one integer.
  std::optional<int> commitTimeOutText(std::string_view text);
  // A typed squelch level: clamped to 0..9. Returns the level stored; nothing for a text that
  // is not one integer.
  std::optional<int> commitSquelchText(std::string_view text);
  // One spin-button step (+1 up, -1 down) with wrap-around (300 s up gives off, off down 300 s;
  // 9 up gives 0). A stored value outside the range steps as if it were outside the range.
  void spinTimeOut(int direction);
  void spinSquelch(int direction);
  void setBeepTone(int value);     // value & 1
  void setBatterySaver(int value); // value & 1
  // Only the values 0..3 are stored; returns whether the value was stored.
  bool setMoniKey(int value);

private:
  void setRecordFrequency(std::size_t offset, std::size_t field, const EncodedFrequency& value);
  void setRecordByte(std::size_t offset, std::size_t field, std::uint8_t value);
  void setNarrowBit(std::size_t offset, int value);
  bool isChannelNumber(int n) const { return n >= 1 && n <= channelCount(); }
  // Band check and encoding shared by channels and test frequencies.
  static std::optional<EncodedFrequency> encodeChecked(std::string& text, const BandLimits& limits,
                                                       bool& inBand);
  EntryResult storeTestFrequency(int k, std::string& text, FrequencyField which, const BandLimits& limits);

  ImageState currentState() const { return {editImage, narrowSetting_}; }
  void restoreState(const ImageState& state);

  BandLimits limits_;
  int narrowSetting_ = 0;
  UndoHistory history_;
  RecordClipboard channelClipboard_;
  RecordClipboard testFreqClipboard_;
};

// The program's one instance.
RadioData& radioData();

} // namespace vpr
