#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/FileArguments.h"
#include "cli/ImageReport.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "print/PagePainter.h"

#include <QBuffer>
#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <utility>

namespace vpr::cli {

namespace {

constexpr int kTextPdfNotWritten = 10063001;
constexpr int kMostChannels = 16;

struct PrintOptions {
  std::string file;
  std::string pdf;
  std::optional<std::string> sections;
  std::optional<std::string> channels;
  bool landscape = false;
};

struct SectionName {
  const char* name;
  bool PrintSelection::*flag;
};
constexpr std::array<SectionName, 5> kSections = {{{"model", &PrintSelection::model},
                                                   {"features", &PrintSelection::features},
                                                   {"keys", &PrintSelection::keys},
                                                   {"test-frequencies", &PrintSelection::testFrequencies},
                                                   {"channels", &PrintSelection::channels}}};

std::string sectionNames() {
  std::string names;
  for (const SectionName& section : kSections)
    names += (names.empty() ? "" : ", ") + std::string(section.name);
  return names;
}

std::string trimmedLower(std::string_view word) {
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  while (!word.empty() && blank(static_cast<unsigned char>(word.front())))
    word.remove_prefix(1);
  while (!word.empty() && blank(static_cast<unsigned char>(word.back())))
    word.remove_suffix(1);
  std::string text(word);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Sets the sections named in a comma-separated list and clears the others; the first unknown
// name is handed back.
std::optional<std::string> applySections(const std::string& list, PrintSelection& selection) {
  for (const SectionName& section : kSections)
    selection.*section.flag = false;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string word = trimmedLower(std::string_view(list).substr(start, comma - start));
    const auto known = std::find_if(kSections.begin(), kSections.end(),
                                    [&](const SectionName& section) { return word == section.name; });
    if (known == kSections.end()) return word;
    selection.*known->flag = true;
    start = comma + 1;
  }
  return std::nullopt;
}

std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// The channels of "A-B" or "A" with 1 <= A <= B <= the largest channel count of any model.
std::optional<std::pair<int, int>> channelRange(const std::string& range) {
  const std::size_t dash = range.find('-');
  const auto first = wholeNumber(std::string_view(range).substr(0, dash));
  const auto last = dash == std::string::npos ? first : wholeNumber(std::string_view(range).substr(dash + 1));
  if (!first || !last || *first < 1 || *last > kMostChannels || *first > *last) return std::nullopt;
  return std::make_pair(*first, *last);
}

} // namespace

Command addPrintCommand(CLI::App& app) {
  auto options = std::make_shared<PrintOptions>();
  CLI::App* sub = app.add_subcommand("print", "Write the printout of a data file as a PDF file");
  sub->add_option("file", options->file, "The data file")->required();
  sub->add_option("--pdf", options->pdf, "The PDF file to write (- for standard output)")->required();
  sub->add_option("--sections", options->sections,
                  "The sections to print, separated by commas: " + sectionNames() + " (default: all)");
  sub->add_option("--channels", options->channels, "The channel range A-B (default: all channels)");
  sub->add_flag("--landscape", options->landscape, "Print in landscape orientation");

  return {sub, [options](TerminalUserInterface& ui) {
            PrintSelection selection = PrintSelection::everything(kMostChannels);
            if (options->sections) {
              if (const auto unknown = applySections(*options->sections, selection)) {
                ui.fail(formatText(cliText(kTextUnknownSection), {*unknown, sectionNames()}));
                return kExitUsage;
              }
            }
            // The whole command line is checked before the data file is read.
            std::optional<std::pair<int, int>> range;
            if (options->channels && !(range = channelRange(*options->channels))) {
              ui.fail(formatText(cliText(kTextBadChannelRange), {*options->channels, kMostChannels}));
              return kExitUsage;
            }
            RadioData data;
            if (!loadDataFile(options->file, data, ui)) return kExitFailed;
            selection.firstChannel = range ? range->first : 1;
            selection.lastChannel = range ? range->second : data.channelCount();
            if (selection.lastChannel > data.channelCount()) {
              ui.fail(formatText(cliText(kTextBadChannelRange), {*options->channels, data.channelCount()}));
              return kExitUsage;
            }

    // The pages are drawn off screen: no display is needed or used. On Windows the offscreen
    // platform has no fonts; the minimal one has the system's when asked for them. Qt's notes
    // about its surroundings (a missing runtime folder and the like) are not the user's business.
#ifdef _WIN32
            qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
#else
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
              if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
            });
            static int argc = 1;
            static char name[] = "vpr40t-cli";
            static char* argv[] = {name, nullptr};
            const QGuiApplication application(argc, argv);

            const PrintLayout layout(
                data, selection, options->landscape ? PageOrientation::Landscape : PageOrientation::Portrait,
                PagePainter::printedNow());
            QString error;
            if (options->pdf == kStandardStream) {
              // On standard output the document is all there is: the note of what was written stays off it.
              QBuffer pdf;
              pdf.open(QIODevice::WriteOnly);
              if (!writePdf(pdf, layout, error)) {
                ui.fail(formatText(textOf(kTextPdfNotWritten), {options->pdf, error.toStdString()}));
                return kExitFailed;
              }
              const QByteArray& bytes = pdf.data();
              return writeTextArgument(options->pdf, std::string_view(bytes.constData(), bytes.size()), ui)
                         ? kExitDone
                         : kExitFailed;
            }
            if (!writePdf(QString::fromStdString(options->pdf), layout, error)) {
              ui.fail(formatText(textOf(kTextPdfNotWritten), {options->pdf, error.toStdString()}));
              return kExitFailed;
            }
            std::cout << formatText(cliText(kTextPdfWritten), {options->pdf, layout.pageCount()}) << '\n';
            return kExitDone;
          }};
}

} // namespace vpr::cli
