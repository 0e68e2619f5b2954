#pragma once
// Channel lists as comma-separated text.
//
// Export writes the channel grid's columns (Channel, RxFrequency, TxFrequency, RxTone, TxTone,
// OptionA, OptionB) with the texts the grid shows. Import takes that form back, and also the
// channel lists that widely used amateur channel-list tools write (columns Location, Name,
// Frequency, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, Mode; other
// columns are ignored), mapping row after row onto channels 1, 2, ...
//
// Every row passes the entry rules of the channel grid. Rows that cannot be represented (out of
// band, an unknown tone, a mode the radio lacks, more rows than channels) are listed with their
// line numbers; the import then gives no image, unless the caller asks to skip such rows. The
// imported list replaces all channels of the image; nothing else of the image changes, except
// the wide/narrow setting that a list of only FM (wide) or only NFM (narrow) rows chooses.
// Input: RFC 4180 quoting, CR LF or LF line ends, an optional UTF-8 byte-order mark, at most
// kMaxFileSize bytes. Text only; files are the caller's business.

#include "model/ImportProblem.h"
#include "model/RadioImage.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vpr {

class ChannelCsv {
public:
  static constexpr std::size_t kMaxFileSize = 1024 * 1024;

  // The programmed channels of the image (within the model's channel count).
  static std::string exportChannels(const RadioImage& image);

  enum class Rows { AllOrNothing, SkipInvalid };
  struct Result {
    std::optional<RadioImage> image; // the image with the new channels, when it may be taken
    std::vector<ImportProblem> problems;
    // Whether every problem concerns single rows that SkipInvalid would leave out (a file that
    // cannot be read at all gives no image either way).
    bool rowsOnly = true;
    int channelsStored = 0;
  };
  static Result importText(const RadioImage& image, std::string_view text, Rows rows);
};

} // namespace vpr
