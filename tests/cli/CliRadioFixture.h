#pragma once
// The command-line tests that work on radios and data files: the tool runs as a process in a
// folder of the test's own, which is its home too, so that backups, records and settings stay in it.

#include "cli/CliRunner.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vpr::test {

inline bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class CliRadioFixture : public ::testing::Test {
protected:
  void SetUp() override { loadLanguage(false); }
  void TearDown() override { unloadLanguage(); }

  // Runs the tool in the test's folder; input is its standard input (empty unless given).
  CliRun cli(const std::vector<std::string>& arguments, const std::string& input = "") {
    return runCli(dir, arguments, input);
  }

  // A data file in the test's folder holding the image; its path.
  std::string dataFile(const std::string& name, const RadioImage& image) {
    std::error_code error;
    const std::string path = (dir / name).string();
    EXPECT_EQ(DataFile::writeDataFile(path, image, error), DataFile::Written);
    return path;
  }

  std::filesystem::path dir = makeTempDir();
};

} // namespace vpr::test
