// The File menu's export and import commands: what reaches the image, the files and the user.

#include "model/InterchangeFlows.h"
#include "model/ChannelCsv.h"
#include "model/ConfigYaml.h"
#include "model/DataFileFlows.h"
#include "model/ModelCatalogue.h"
#include "model/ModelTestSupport.h"
#include "support/FakeUserInterface.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vpr::test {
namespace {

namespace fs = std::filesystem;

class InterchangeFlowsTest : public LanguageTest {
protected:
  void SetUp() override {
    LanguageTest::SetUp();
    data.transferImage = test::rowImage(13);
    data.adoptTransferImage();
    file.setFolder(dir.string());
    flows.setChannelsChanged([this] { ++channelsChanged; });
    flows.setBeforeReplace([this] { ++replaced; });
  }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  fs::path dir = makeTempDir();
  RadioData data;
  CurrentFile file;
  FakeUserInterface ui;
  InterchangeFlows flows{data, file, ui};
  int channelsChanged = 0;
  int replaced = 0;
};

TEST_F(InterchangeFlowsTest, ExportedConfigurationImportsAsTheSameImageUnnamedAndUnsaved) {
  std::string rx = "462.5625";
  data.setChannelFrequency(1, rx, FrequencyField::Receive);
  const RadioImage image = data.editImage;
  ui.saveChoices.push_back((dir / "radio.yaml").string());
  ASSERT_TRUE(flows.exportConfiguration());
  EXPECT_EQ(ui.saveRequests.at(0).extension, "yaml");

  data.resetToModel(ModelCatalogue::modelCodeForRow(0));
  file.setFileName("old.dat");
  ui.openChoices.push_back((dir / "radio.yaml").string());
  ASSERT_TRUE(flows.importConfiguration());
  EXPECT_EQ(data.editImage, image);
  EXPECT_EQ(replaced, 1);
  EXPECT_TRUE(ui.messages.empty());
  // Saved nowhere yet: the default name, and the next New, Open or Close asks to save it.
  EXPECT_EQ(file.fileName(), CurrentFile::kDefaultFileName);
  EXPECT_TRUE(data.isModified());
  DataFileFlows files(data, file, ui);
  ui.answers.push_back(MessageAnswer::Cancel);
  EXPECT_TRUE(files.promptSaveChanges());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind(idText(DataFileFlows::kTextSaveChanges), 0), 0u) << ui.messages[0].text;
}

TEST_F(InterchangeFlowsTest, AConfigurationWithProblemsIsRefusedAndTheImageStays) {
  const std::string path = write("bad.yaml", ConfigYaml::exportImage(data.editImage) + "colour: red\n");
  const RadioImage before = data.editImage;
  ui.openChoices.push_back(path);
  EXPECT_FALSE(flows.importConfiguration());
  EXPECT_EQ(data.editImage, before);
  EXPECT_EQ(replaced, 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
  // The refusal, then each problem with its line.
  EXPECT_EQ(ui.messages[0].text.rfind(idText(InterchangeFlows::kTextYamlRefused), 0), 0u)
      << ui.messages[0].text;
  EXPECT_NE(ui.messages[0].text.find(idText(10066001)), std::string::npos) << ui.messages[0].text;
}

TEST_F(InterchangeFlowsTest, ChannelRowsThatCannotBeChannelsAreListedAndLeftOutOnlyWhenTheUserAgrees) {
  const std::string path = write("list.csv", "Location,Frequency\n1,462.5625\n2,146.52\n3,463.000\n");
  const RadioImage before = data.editImage;
  ui.openChoices.push_back(path);
  ui.answers.push_back(MessageAnswer::Cancel);
  EXPECT_FALSE(flows.importChannels());
  EXPECT_EQ(data.editImage, before);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind(idText(InterchangeFlows::kTextSkipRows), 0), 0u) << ui.messages[0].text;
  EXPECT_NE(ui.messages[0].text.find(idText(10066001)), std::string::npos) << ui.messages[0].text;

  ui.openChoices.push_back(path);
  ui.answers.push_back(MessageAnswer::Ok);
  ASSERT_TRUE(flows.importChannels());
  EXPECT_EQ(channelsChanged, 1);
  EXPECT_TRUE(data.channelRecord(1) && data.channelRecord(2));
  EXPECT_FALSE(data.channelRecord(3));
  EXPECT_TRUE(data.isModified());

  // The whole import is one step: one Undo gives back the channels as they were.
  EXPECT_EQ(data.history().undoCount(), 1u);
  EXPECT_EQ(data.history().undoName(), idText(InterchangeFlows::kTextImportStep));
  ASSERT_TRUE(data.undoStep());
  EXPECT_EQ(data.editImage, before);
}

TEST_F(InterchangeFlowsTest, AnUnreadableFileIsReportedWithItsName) {
  ui.openChoices.push_back((dir / "missing.csv").string());
  EXPECT_FALSE(flows.importChannels());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(idText(10066106)), std::string::npos);
  EXPECT_EQ(channelsChanged, 0);
}

TEST_F(InterchangeFlowsTest, ALongListOfProblemsIsCutShort) {
  std::vector<ImportProblem> problems(InterchangeFlows::kListedProblems + 5, ImportProblem{3, "x"});
  const std::string text = InterchangeFlows::problemList(problems);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
            static_cast<long>(InterchangeFlows::kListedProblems + 1));
}

} // namespace
} // namespace vpr::test
