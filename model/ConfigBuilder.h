#pragma once
// Builds an image from a configuration document: the model from its names (or raw bytes), then on
// the image the document builds on, every value checked with the views' entry rules and stored
// through the same record operations, so that a value from a file ends up as if typed. Raw bytes
// are taken as they are; an entry for bytes raw bytes give must say the same as they do.
//
// Every refused value becomes a problem with its line; the caller takes the image only when there
// are none. Reading and writing YAML are not this unit's business.

#include "model/ConfigDocument.h"
#include "model/ImportProblem.h"
#include "model/RadioData.h"

#include <bitset>
#include <string>
#include <vector>

namespace vpr {

class ConfigBuilder {
public:
  ConfigBuilder(const ConfigDocument& doc, std::vector<ImportProblem>& problems);
  // Builds the image. A section that raw bytes cover keeps them; an entry for it must say the
  // same as they do.
  RadioImage build();

private:
  void problem(int line, std::string reason) { problems_.push_back({line, std::move(reason)}); }
  bool covered(const ConfigSection& section) const;
  RadioImage& image() { return data_.editImage; }
  void applyRaw();
  void disagrees(int line, const ConfigSection& section);
  // Without a model nothing else can be checked (channel count, band limits): false stops.
  bool buildModel();
  void chooseNarrowSetting();
  void buildOptions();
  void buildChannels();
  void buildTestFrequencies();
  void buildAdjustments();

  const ConfigDocument& doc_;
  std::vector<ImportProblem>& problems_;
  RadioData data_;
  std::bitset<kImageSize> raw_;
};

} // namespace vpr
