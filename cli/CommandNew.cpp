#include "cli/Commands.h"
#include "cli/FileArguments.h"
#include "cli/ImageReport.h"
#include "model/EntryRules.h"
#include "model/ModelCatalogue.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <memory>

namespace vpr::cli {

namespace {

struct NewOptions {
  int row = -1;
  std::string model;
  std::string band;
  std::string output;
};

// A band given by its full name ("VHF 1:150-174 MHz") or its short name ("VHF 1").
bool bandMatches(const std::string& given, int bandCode) {
  const std::string name = ModelCatalogue::bandName(bandCode);
  return !name.empty() &&
         (EntryRules::sameWord(given, name) || EntryRules::sameWord(given, name.substr(0, name.find(':'))));
}

// The model row for a model and band name; -1 when no row has both, with the reason printed.
int rowOf(const std::string& model, const std::string& band, std::ostream& errors) {
  int modelNumber = -1;
  for (int m = 0; m < ModelCatalogue::kModelCount; ++m)
    if (EntryRules::sameWord(model, ModelCatalogue::modelName(m))) modelNumber = m;
  if (modelNumber < 0) {
    errors << "vpr40t-cli new: unknown model \"" << model << "\"; the models are:\n";
    for (const auto& entry : ModelCatalogue::modelList())
      errors << "  " << entry.text << '\n';
    return -1;
  }
  const auto rows = ModelCatalogue::rows();
  for (std::size_t r = 0; r < rows.size(); ++r)
    if (rows[r].modelNumber == modelNumber && bandMatches(band, rows[r].bandCode()))
      return static_cast<int>(r);
  errors << "vpr40t-cli new: " << ModelCatalogue::modelName(modelNumber) << " has no band \"" << band
         << "\"; its bands are:\n";
  for (const auto& entry : ModelCatalogue::bandList(modelNumber))
    errors << "  " << entry.text << '\n';
  return -1;
}

} // namespace

Command addNewCommand(CLI::App& app) {
  auto options = std::make_shared<NewOptions>();
  CLI::App* sub = app.add_subcommand("new", "Write the default image of a model and band to a data file");
  auto* row = sub->add_option("--row", options->row, "Row of the model table (0..24)")
                  ->check(CLI::Range(0, ModelCatalogue::kRowCount - 1));
  auto* model = sub->add_option("--model", options->model, "Model name, e.g. HX-4410");
  auto* band = sub->add_option("--band", options->band, "Band name, e.g. \"VHF 1\" or \"VHF 1:150-174 MHz\"");
  row->excludes(model)->excludes(band);
  model->needs(band);
  band->needs(model);
  sub->add_option("-o,--output", options->output, "The data file to write (- for standard output)")
      ->required();

  return {sub, [options, row](TerminalUserInterface& ui) {
            int rowNumber = options->row;
            if (row->count() == 0) {
              if (options->model.empty()) {
                std::cerr << "vpr40t-cli new: give --row N, or --model NAME with --band NAME\n";
                return kExitUsage;
              }
              rowNumber = rowOf(options->model, options->band, std::cerr);
              if (rowNumber < 0) return kExitUsage;
            }
            const RadioImage image = RadioData::defaultImage(ModelCatalogue::modelCodeForRow(rowNumber));
            if (!writeImageArgument(options->output, image, ui)) return kExitFailed;
            // With the image on standard output the summary goes beside it, to standard error.
            printSummary(options->output == kStandardStream ? std::cerr : std::cout, ImageView(image));
            return kExitDone;
          }};
}

} // namespace vpr::cli
