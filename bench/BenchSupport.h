#pragma once
// Pieces the benchmarks share: a user-interface seam that answers nothing and shows nothing,
// and a full 16-channel image to measure with.

#include "lang/UserInterface.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"

#include <string>

namespace vpr::bench {

class SilentUserInterface : public UserInterface {
public:
  MessageAnswer showMessage(const MessageRequest&) override { return MessageAnswer::Ok; }
  std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
  void pumpOneMessage() override {}
  void reportProgress(int, int, const std::string&) override {}
};

// A 16-channel model with every channel and test frequency programmed, tones and options varied.
inline RadioData& fullData() {
  static RadioData data = [] {
    RadioData d;
    d.startUp(std::nullopt);
    d.resetToModel(ModelCatalogue::modelCodeForRow(2));
    for (int n = 1; n <= 16; ++n) {
      std::string rx = std::to_string(150 + n) + ".125";
      d.setChannelFrequency(n, rx, FrequencyField::Receive);
      d.setChannelTone(n, ToneField::Receive, n % 2 ? "D023N" : "88.5", true);
      d.setChannelOption(n, 1, n % 2);
    }
    for (int k = 1; k <= 16; ++k) {
      std::string rx = std::to_string(150 + k) + ".5";
      d.setTestFrequency(k, rx, FrequencyField::Receive);
    }
    return d;
  }();
  return data;
}

} // namespace vpr::bench
