#pragma once
// The display texts of the image's values, shared by the editing views, printing and the
// command-line tool, so that a value reads the same everywhere.
//
// Every formatter returns a FieldText: the text an editing view shows (possibly empty), and
// whether the field applies at all. Printing shows "--------------" for a field that does not
// apply: the data fields of an empty channel, the transmit fields (transmit frequency, transmit
// tone, option A) of a receive-only channel, and an option or key value that is outside its
// range or choice list (which a view shows as an empty field).

#include "model/ChannelRecord.h"
#include "model/ImageView.h"
#include "model/RadioData.h"

#include <string>

namespace vpr {

struct FieldText {
  std::string text;
  bool applies = true;

  // The text as printed.
  std::string printed() const;
  bool operator==(const FieldText&) const = default;
};

// The columns of the channel grid; the number doubles as the field code.
enum class ChannelField { Number = 0, RxFrequency, TxFrequency, RxTone, TxTone, OptionA, OptionB };
inline constexpr int kChannelFieldCount = 7;

// The items of the optional features, in their display order.
enum class FeatureItem { TimeOutTimer = 0, SquelchLevel, BeepTone, BatterySaver, WideNarrow };
inline constexpr int kFeatureItemCount = 5;

class DisplayText {
public:
  static constexpr const char* kNotApplicable = "--------------";

  // ---- Channels ----
  // The text of one cell of channel n (1-based). The number column always shows "%d" of n.
  static FieldText channelCell(int n, const ChannelRecord& record, ChannelField field);
  static FieldText channelCell(const ImageView& data, int n, ChannelField field);
  // Text identifier of a column header.
  static int channelHeaderId(ChannelField field);
  // Channels first..last as tab-separated text for the system clipboard: optionally the seven
  // headers and "\n" first, then per channel its number and the six cell texts separated by
  // "\t"; rows are separated by "\n", with no line end after the last one.
  static std::string channelRowsText(const ImageView& data, int first, int last, bool withTitle);

  // ---- Test frequencies ----
  // A frequency of a test-frequency record; empty when it is not set (printed empty, too).
  static FieldText testFrequencyCell(const TestFreqRecord& record, FrequencyField which);
  // Text identifiers of the column headers: number, receive, transmit.
  static constexpr int kTestFrequencyHeaderIds[3] = {10028001, 10028002, 10028003};

  // ---- Optional features and the Moni key ----
  // Time-out timer from its stored units: text 10029010 for 0, the seconds 30..300, else empty.
  static FieldText timeOutTimerText(int units);
  // Squelch level 0..9, else empty.
  static FieldText squelchText(int level);
  static FieldText beepToneText(int bit);
  static FieldText batterySaverText(int bit);
  // The wide/narrow setting, among the choices the spacing restriction allows.
  static FieldText wideNarrowText(int narrowSetting, int spacingRestriction);
  static FieldText moniKeyText(int value);
  static FieldText featureText(const ImageView& data, FeatureItem item);
  // Text identifier of a feature's label.
  static int featureLabelId(FeatureItem item);
  static constexpr int kMoniKeyLabelId = 10101001;

private:
  static FieldText choiceText(int value, std::span<const ChoiceEntry> choices);
};

} // namespace vpr
