#include "cli/CliText.h"

#include "lang/CLanguageTable.h"

#include <array>
#include <utility>

namespace vpr::cli {

namespace {

constexpr std::array<std::pair<int, const char*>, 35> kBuiltIn = {{
    {kTextChannelCount, "Channels"},
    {kTextModelCode, "Model code"},
    {kTextUnprogrammed, "unprogrammed"},
    {kTextAnswerWithYes, "Answer with --yes to write anyway."},
    {kTextCloseFailed, "The radio holds the data, but the port %s could not be closed: %s"},
    {kTextUnknownCommand, "unknown command: %s"},
    {kTextLineTooLong, "the line is longer than %d characters"},
    {kTextNumberRange, "%s takes a number from %d to %d"},
    {kTextNotProgrammed, "test frequency %d is not programmed"},
    {kTextWhileTransmitting, "not while the transmitter is on"},
    {kTextWhileAdjusting, "not while an adjustment is open: leave it first"},
    {kTextNoAdjustment, "no adjustment is open"},
    {kTextOnOrOff, "transmit takes on or off"},
    {kTextNoArgument, "%s takes nothing after it"},
    {kTextTransmitLimit, "The transmitter was switched off: %d seconds passed without a command."},
    {kTextRadioTrouble, "The radio did not respond."},
    {kTextEmptyLine, "empty line: one command per line"},
    {kTextSaveFailed, "The data file could not be written:"},
    {kTextSessionNeedsInput,
     "The session reads its commands from standard input: give the data file by its name, not as -."},
    {kTextUnknownSection, "Unknown section '%s'. The sections are: %s"},
    {kTextBadChannelRange, "The channel range '%s' is not valid. Give A-B with 1 <= A <= B <= %d."},
    {kTextPdfWritten, "Wrote %s (pages: %d)"},
    {kTextSkippedRows, "%d rows left out; %d channels written."},
    {kTextColumnPort, "Port"},
    {kTextColumnModel, "Model"},
    {kTextColumnResult, "Result"},
    {kTextColumnBackup, "Backup"},
    {kTextColumnFile, "File"},
    {kTextRadioDone, "done"},
    {kTextRadioFailed, "failed: %s"},
    {kTextRecordFailed, "The job record %s cannot be written: %s"},
    {kTextRadiosDone, "%d of %d radios done."},
    {kTextPortNotClosed, "The port could not be closed after the transfer."},
    {kTextRadioFailedShort, "failed"},
    {kTextLanguageFallback, "The language \"%s\" is not available; the texts are in %s."},
}};

} // namespace

std::string cliText(int id) {
  std::string text = textOf(id);
  if (!text.empty()) return text;
  for (const auto& [builtInId, english] : kBuiltIn)
    if (builtInId == id) return english;
  return text;
}

} // namespace vpr::cli
