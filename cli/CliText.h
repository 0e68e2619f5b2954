#pragma once
// The texts only the command-line tool shows. They come from the language file like every other
// text; a language file that lacks them (one written before the tool had them, or a
// translation that left them out) gets the tool's built-in English instead, so that no label or
// message is ever printed empty. Texts the desktop program shares are not handled here.

#include <string>

namespace vpr::cli {

inline constexpr int kTextChannelCount = 10050001;
inline constexpr int kTextModelCode = 10050101;
inline constexpr int kTextUnprogrammed = 10050104;
inline constexpr int kTextAnswerWithYes = 10050105;
inline constexpr int kTextCloseFailed = 10050106;
inline constexpr int kTextUnknownCommand = 10062101;
inline constexpr int kTextLineTooLong = 10062102;
inline constexpr int kTextNumberRange = 10062103;
inline constexpr int kTextNotProgrammed = 10062104;
inline constexpr int kTextWhileTransmitting = 10062105;
inline constexpr int kTextWhileAdjusting = 10062106;
inline constexpr int kTextNoAdjustment = 10062107;
inline constexpr int kTextOnOrOff = 10062108;
inline constexpr int kTextNoArgument = 10062109;
inline constexpr int kTextTransmitLimit = 10062110;
inline constexpr int kTextRadioTrouble = 10062111;
inline constexpr int kTextEmptyLine = 10062112;
inline constexpr int kTextSaveFailed = 10062113;
inline constexpr int kTextSessionNeedsInput = 10062114;
inline constexpr int kTextUnknownSection = 10063002;
inline constexpr int kTextBadChannelRange = 10063003;
inline constexpr int kTextPdfWritten = 10063009;
inline constexpr int kTextSkippedRows = 10066060;
inline constexpr int kTextColumnPort = 10068101;
inline constexpr int kTextColumnModel = 10068102;
inline constexpr int kTextColumnResult = 10068103;
inline constexpr int kTextColumnBackup = 10068104;
inline constexpr int kTextColumnFile = 10068105;
inline constexpr int kTextRadioDone = 10068106;
inline constexpr int kTextRadioFailed = 10068107;
inline constexpr int kTextRecordFailed = 10068108;
inline constexpr int kTextRadiosDone = 10068109;
inline constexpr int kTextPortNotClosed = 10068110;
inline constexpr int kTextRadioFailedShort = 10068111;
inline constexpr int kTextLanguageFallback = 19000006;

// The text of one of the identifiers above from the language file, or the built-in English
// when the file gives none; the empty text for any other identifier the file lacks.
std::string cliText(int id);

} // namespace vpr::cli
